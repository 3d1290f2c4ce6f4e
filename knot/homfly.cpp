#include "knot/homfly.h"

#include <stdexcept>
#include <string>
#include <unordered_map>

#include "knot/link_reduce.h"

namespace vek {

namespace {

// The skein tree down to descending diagrams. A diagram is descending when,
// walking its components one after another from their first passage, every
// crossing is met first on the upper strand: it is then an unlink of k
// components, P = delta^(k-1) with delta = (v^-1 - v) / z. Otherwise the
// first crossing met first from below is changed (the diagram stays
// descending up to it) and smoothed:
//     L = L+:  P(L) = v^2 P(L-) + v z P(L0)
//     L = L-:  P(L) = v^-2 P(L+) - v^-1 z P(L0)
// Every diagram is first reduced by moves I and II; circles without
// crossings are split off (each a factor delta); results are remembered by
// the diagram's code.
class Skein {
public:
    explicit Skein(std::int64_t budget) : budget_(budget) {}

    Laurent2 Evaluate(LinkDiagram d)
    {
        ReduceLinkDiagram(d);
        int circles = 0;
        std::erase_if(d.components, [&](const auto& comp) {
            if (!comp.empty())
                return false;
            ++circles;
            return true;
        });
        Laurent2 p;
        if (d.components.empty()) {
            p = Laurent2::Constant(1);
            --circles;
        } else {
            p = Lookup(d);
        }
        for (int k = 0; k < circles; ++k)
            p = Delta(p);
        return p;
    }

    std::int64_t nodes = 0;

private:
    // (v^-1 - v) / z times p.
    static Laurent2 Delta(const Laurent2& p)
    {
        Laurent2 r;
        r.AddScaled(p, 1, -1, -1);
        r.AddScaled(p, -1, 1, -1);
        return r;
    }

    static std::string Key(const LinkDiagram& d)
    {
        std::string key;
        for (const auto& comp : d.components) {
            for (const LinkPassage& p : comp) {
                key += static_cast<char>(p.crossing & 0x7f);
                key += static_cast<char>((p.crossing >> 7) * 2 + (p.over ? 1 : 0));
            }
            key += '\xff';
        }
        for (int s : d.sign)
            key += s > 0 ? '+' : '-';
        return key;
    }

    Laurent2 Lookup(const LinkDiagram& d)
    {
        const std::string key = Key(d);
        if (auto it = memo_.find(key); it != memo_.end())
            return it->second;
        Laurent2 p = Descend(d);
        memo_.emplace(key, p);
        return p;
    }

    Laurent2 Descend(const LinkDiagram& d)
    {
        if (budget_ > 0 && nodes >= budget_)
            throw std::length_error("skein budget");
        ++nodes;
        std::vector<char> seen(d.sign.size(), 0);
        int comp = -1, index = -1;
        for (int c = 0; c < static_cast<int>(d.components.size()) && comp < 0; ++c) {
            const auto& list = d.components[c];
            for (int i = 0; i < static_cast<int>(list.size()); ++i) {
                const LinkPassage& p = list[i];
                if (seen[p.crossing])
                    continue;
                seen[p.crossing] = 1;
                if (!p.over) {
                    comp = c;
                    index = i;
                    break;
                }
            }
        }
        if (comp < 0) {
            Laurent2 p = Laurent2::Constant(1);
            for (size_t k = 1; k < d.components.size(); ++k)
                p = Delta(p);
            return p;
        }
        const int x = d.components[comp][index].crossing;
        const int sign = d.sign[x];

        LinkDiagram changed = d;
        changed.sign[x] = -sign;
        for (auto& list : changed.components)
            for (LinkPassage& p : list)
                if (p.crossing == x)
                    p.over = !p.over;

        Laurent2 result;
        result.AddScaled(Evaluate(std::move(changed)), 1, 2 * sign, 0);
        result.AddScaled(Evaluate(Smooth(d, x)), sign, sign, 1);
        return result;
    }

    // The oriented smoothing at crossing x.
    static LinkDiagram Smooth(const LinkDiagram& d, int x)
    {
        LinkDiagram out;
        out.sign = d.sign;
        int c1 = -1, i1 = -1, c2 = -1, i2 = -1;
        for (int c = 0; c < static_cast<int>(d.components.size()); ++c)
            for (int i = 0; i < static_cast<int>(d.components[c].size()); ++i)
                if (d.components[c][i].crossing == x) {
                    if (c1 < 0) {
                        c1 = c;
                        i1 = i;
                    } else {
                        c2 = c;
                        i2 = i;
                    }
                }
        for (int c = 0; c < static_cast<int>(d.components.size()); ++c) {
            if (c == c1 || c == c2)
                continue;
            out.components.push_back(d.components[c]);
        }
        if (c1 == c2) {
            // One component splits into the loop between the two passages
            // and the rest.
            const auto& list = d.components[c1];
            std::vector<LinkPassage> inner(list.begin() + i1 + 1, list.begin() + i2);
            std::vector<LinkPassage> outer(list.begin() + i2 + 1, list.end());
            outer.insert(outer.end(), list.begin(), list.begin() + i1);
            out.components.insert(out.components.begin(), std::move(outer));
            out.components.insert(out.components.begin() + 1, std::move(inner));
        } else {
            // Two components join: after the passage on the first, the
            // second's way on, then the first's.
            const auto& a = d.components[c1];
            const auto& b = d.components[c2];
            std::vector<LinkPassage> joined(b.begin() + i2 + 1, b.end());
            joined.insert(joined.end(), b.begin(), b.begin() + i2);
            joined.insert(joined.end(), a.begin() + i1 + 1, a.end());
            joined.insert(joined.end(), a.begin(), a.begin() + i1);
            out.components.insert(out.components.begin(), std::move(joined));
        }
        return out;
    }

    std::int64_t budget_;
    std::unordered_map<std::string, Laurent2> memo_;
};

}  // namespace

bool HomflyPolynomial(const LinkDiagram& diagram, Laurent2& p, std::int64_t nodeBudget, HomflyStats* stats)
{
    Skein skein(nodeBudget);
    bool ok = true;
    try {
        p = skein.Evaluate(diagram);
    } catch (const std::length_error&) {
        ok = false;
    } catch (const std::overflow_error&) {
        ok = false;
    }
    if (stats)
        stats->nodes = skein.nodes;
    if (!ok)
        p = Laurent2();
    return ok;
}

}  // namespace vek
