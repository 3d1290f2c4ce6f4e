#include "knot/pd_code.h"

#include <cctype>

namespace vek {

namespace {

// Codes larger than this are refused before any work on them.
constexpr int kMaxPdCrossings = 5000;

class PdParser {
public:
    explicit PdParser(std::string_view text) : text_(text) {}

    bool Parse(PdCode& code, std::string& error)
    {
        code.crossings.clear();
        if (!Expect('['))
            return Fail(error);
        SkipSpace();
        if (Peek() == ']') {
            ++pos_;
            return AtEnd() || Fail(error);
        }
        while (true) {
            PdCrossing q{};
            if (!Expect('['))
                return Fail(error);
            for (int k = 0; k < 4; ++k) {
                if (k > 0 && !Expect(','))
                    return Fail(error);
                if (!Number(q[k]))
                    return Fail(error);
            }
            if (!Expect(']'))
                return Fail(error);
            code.crossings.push_back(q);
            if (code.crossings.size() > static_cast<size_t>(kMaxPdCrossings)) {
                error = "the diagram code has more than " + std::to_string(kMaxPdCrossings) + " crossings";
                return false;
            }
            SkipSpace();
            if (Peek() == ',') {
                ++pos_;
                continue;
            }
            if (!Expect(']'))
                return Fail(error);
            return AtEnd() || Fail(error);
        }
    }

private:
    char Peek() const { return pos_ < text_.size() ? text_[pos_] : '\0'; }
    void SkipSpace()
    {
        while (pos_ < text_.size() && std::isspace(static_cast<unsigned char>(text_[pos_])))
            ++pos_;
    }
    bool Expect(char c)
    {
        SkipSpace();
        if (Peek() != c)
            return false;
        ++pos_;
        return true;
    }
    bool Number(int& value)
    {
        SkipSpace();
        long long v = 0;
        size_t start = pos_;
        while (pos_ < text_.size() && std::isdigit(static_cast<unsigned char>(text_[pos_]))) {
            v = v * 10 + (text_[pos_] - '0');
            if (v > 1000000)
                return false;
            ++pos_;
        }
        value = static_cast<int>(v);
        return pos_ > start;
    }
    bool AtEnd()
    {
        SkipSpace();
        return pos_ == text_.size();
    }
    bool Fail(std::string& error) const
    {
        error = "not a diagram code: expected a list of crossings [a,b,c,d] of positive integers, such as "
                "[[1,5,2,4],[3,1,4,6],[5,3,6,2]] (at character " +
                std::to_string(pos_ + 1) + ")";
        return false;
    }

    std::string_view text_;
    size_t pos_ = 0;
};

std::string CrossingText(const PdCode& code, size_t i)
{
    const PdCrossing& q = code.crossings[i];
    return "crossing " + std::to_string(i + 1) + " [" + std::to_string(q[0]) + "," + std::to_string(q[1]) + "," +
           std::to_string(q[2]) + "," + std::to_string(q[3]) + "]";
}

// Where each arc ends: the crossing and whether it passes over there.
struct ArcEnd {
    int crossing = -1;
    bool over = false;
};

// Checks the code and finds the passage at the end of every arc, and each
// crossing's sign.
bool ReadArcs(const PdCode& code, std::vector<ArcEnd>& ends, std::vector<int>& sign, std::string& error)
{
    const int n = static_cast<int>(code.crossings.size());
    const int arcs = 2 * n;
    ends.assign(arcs + 1, ArcEnd{});
    sign.assign(n, 0);
    if (n == 0)
        return true;
    std::vector<int> seen(arcs + 1, 0);
    for (int i = 0; i < n; ++i) {
        for (int v : code.crossings[i]) {
            if (v < 1 || v > arcs) {
                error = CrossingText(code, i) + ": the arcs of a diagram with " + std::to_string(n) +
                        " crossings are numbered 1 ... " + std::to_string(arcs);
                return false;
            }
            ++seen[v];
        }
    }
    for (int v = 1; v <= arcs; ++v) {
        if (seen[v] != 2) {
            error = "arc " + std::to_string(v) + " appears " + std::to_string(seen[v]) +
                    " times: every arc must join two crossing passages";
            return false;
        }
    }
    auto succ = [arcs](int v) { return v == arcs ? 1 : v + 1; };
    for (int i = 0; i < n; ++i) {
        const PdCrossing& q = code.crossings[i];
        if (q[2] != succ(q[0])) {
            error = CrossingText(code, i) + ": the lower strand enters on the first arc a and must leave on a+1";
            return false;
        }
        int in = -1;
        if (q[3] == succ(q[1]) && q[1] != q[0])
            in = 1;
        else if (q[1] == succ(q[3]) && q[3] != q[0])
            in = 3;
        if (in < 0) {
            error = CrossingText(code, i) + ": the upper strand's arcs b and d must be consecutive";
            return false;
        }
        for (const auto& [arc, over] : {std::pair{q[0], false}, std::pair{q[in], true}}) {
            if (ends[arc].crossing >= 0) {
                error = "arc " + std::to_string(arc) + " ends at two crossings: not one closed oriented component";
                return false;
            }
            ends[arc] = {i, over};
        }
        // The upper strand running from d to b crosses the lower one from
        // right to left: a positive crossing.
        sign[i] = in == 3 ? 1 : -1;
    }
    // Planar: a connected diagram on the sphere with n crossings has n + 2
    // faces. The faces are the orbits of "along the arc, then the next slot
    // counterclockwise".
    std::vector<std::array<int, 2>> darts(arcs + 1, {-1, -1});
    for (int i = 0; i < n; ++i)
        for (int s = 0; s < 4; ++s) {
            auto& d = darts[code.crossings[i][s]];
            d[d[0] < 0 ? 0 : 1] = 4 * i + s;
        }
    std::vector<char> visited(4 * n, 0);
    int faces = 0;
    for (int start = 0; start < 4 * n; ++start) {
        if (visited[start])
            continue;
        ++faces;
        int d = start;
        while (!visited[d]) {
            visited[d] = 1;
            const auto& pair = darts[code.crossings[d / 4][d % 4]];
            const int other = pair[0] == d ? pair[1] : pair[0];
            d = (other / 4) * 4 + (other % 4 + 1) % 4;
        }
    }
    if (faces != n + 2) {
        error = "the diagram code is not planar: " + std::to_string(faces) + " faces where a diagram with " +
                std::to_string(n) + " crossings has " + std::to_string(n + 2);
        return false;
    }
    return true;
}

}  // namespace

bool ParsePdCode(std::string_view text, PdCode& code, std::string& error)
{
    PdParser parser(text);
    if (!parser.Parse(code, error))
        return false;
    std::vector<ArcEnd> ends;
    std::vector<int> sign;
    return ReadArcs(code, ends, sign, error);
}

bool PdToDiagram(const PdCode& code, LinkDiagram& diagram, std::string& error)
{
    std::vector<ArcEnd> ends;
    diagram.components.assign(1, {});
    if (!ReadArcs(code, ends, diagram.sign, error))
        return false;
    for (size_t arc = 1; arc < ends.size(); ++arc)
        diagram.components[0].push_back({ends[arc].crossing, ends[arc].over});
    return true;
}

PdCode MirrorPd(const PdCode& code)
{
    const int arcs = 2 * static_cast<int>(code.crossings.size());
    PdCode out;
    for (const PdCrossing& q : code.crossings) {
        // The upper strand's entering arc becomes the lower one's.
        const bool fromB = q[3] == (q[1] == arcs ? 1 : q[1] + 1) && q[1] != q[0];
        out.crossings.push_back(fromB ? PdCrossing{q[1], q[2], q[3], q[0]} : PdCrossing{q[3], q[0], q[1], q[2]});
    }
    return out;
}

std::string FormatPdCode(const PdCode& code)
{
    std::string s = "[";
    for (size_t i = 0; i < code.crossings.size(); ++i) {
        const PdCrossing& q = code.crossings[i];
        s += (i ? ",[" : "[") + std::to_string(q[0]) + "," + std::to_string(q[1]) + "," + std::to_string(q[2]) + "," +
             std::to_string(q[3]) + "]";
    }
    return s + "]";
}

}  // namespace vek
