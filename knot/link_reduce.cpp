#include "knot/link_reduce.h"

#include <array>

namespace vek {

namespace {

struct Where {
    int component = -1;
    int index = -1;
};

// Per crossing, the places of its two passages.
std::vector<std::array<Where, 2>> Places(const LinkDiagram& d)
{
    std::vector<std::array<Where, 2>> at(d.sign.size());
    for (int c = 0; c < static_cast<int>(d.components.size()); ++c) {
        const auto& comp = d.components[c];
        for (int i = 0; i < static_cast<int>(comp.size()); ++i) {
            auto& w = at[comp[i].crossing];
            w[w[0].component < 0 ? 0 : 1] = {c, i};
        }
    }
    return at;
}

bool Adjacent(const Where& a, const Where& b, int length)
{
    if (a.component != b.component)
        return false;
    return (a.index + 1) % length == b.index || (b.index + 1) % length == a.index;
}

// One removable kink or bigon: its crossings, or false.
bool FindMove(const LinkDiagram& d, int& x, int& y)
{
    const auto at = Places(d);
    for (const auto& comp : d.components) {
        const int m = static_cast<int>(comp.size());
        for (int i = 0; i < m && m >= 2; ++i) {
            const LinkPassage& p = comp[i];
            const LinkPassage& q = comp[(i + 1) % m];
            if (p.crossing == q.crossing) {
                x = y = p.crossing;
                return true;
            }
        }
    }
    for (const auto& comp : d.components) {
        const int m = static_cast<int>(comp.size());
        for (int i = 0; i < m && m >= 2; ++i) {
            const LinkPassage& p = comp[i];
            const LinkPassage& q = comp[(i + 1) % m];
            if (p.over != q.over || d.sign[p.crossing] == d.sign[q.crossing])
                continue;
            // The other passages of the two crossings.
            const auto& ap = at[p.crossing];
            const auto& aq = at[q.crossing];
            const Where op = d.components[ap[0].component][ap[0].index] == p ? ap[1] : ap[0];
            const Where oq = d.components[aq[0].component][aq[0].index] == q ? aq[1] : aq[0];
            if (Adjacent(op, oq, static_cast<int>(d.components[op.component].size()))) {
                x = p.crossing;
                y = q.crossing;
                return true;
            }
        }
    }
    return false;
}

}  // namespace

void CompactLinkDiagram(LinkDiagram& d)
{
    std::vector<int> id(d.sign.size(), -1);
    std::vector<int> sign;
    for (auto& comp : d.components)
        for (LinkPassage& p : comp) {
            if (id[p.crossing] < 0) {
                id[p.crossing] = static_cast<int>(sign.size());
                sign.push_back(d.sign[p.crossing]);
            }
            p.crossing = id[p.crossing];
        }
    d.sign = std::move(sign);
}

void ReduceLinkDiagram(LinkDiagram& d)
{
    CompactLinkDiagram(d);
    int x, y;
    while (FindMove(d, x, y)) {
        for (auto& comp : d.components)
            std::erase_if(comp, [&](const LinkPassage& p) { return p.crossing == x || p.crossing == y; });
        CompactLinkDiagram(d);
    }
}

}  // namespace vek
