// SegmentTree: a box hierarchy over the segments of a closed polyline, built
// once and searched many times. Segment k runs from point k to point
// k + 1 (mod n). The tree follows the curve's own order: a node holds a run
// of consecutive segments and the axis-aligned box around them, so runs
// that a search excludes by index (an exclusion window, the neighbours of a
// segment) are skipped whole, and boxes stay tight along a smooth curve.
//
// One structure serves every proximity question about a curve: the
// crossings of a projection, the certified thickness, the nearest
// non-neighbouring points and the contact count.
#pragma once

#include <vector>

#include "geom/polygon.h"

namespace vek {

struct Box3 {
    double lo[3];
    double hi[3];
};

class SegmentTree {
public:
    // In:  the n points of the closed polyline (n >= 0); what the view
    //      views must stay valid while the tree is searched.
    // Out: the tree over its n segments (a single point gives one
    //      degenerate segment).
    explicit SegmentTree(PolygonView polygon);

    int Size() const { return m_n; }

    // Depth-first search. For every node the tree asks
    //   enter(box, first, last)  -> whether any segment first ... last
    //                               (inclusive) may matter;
    // and for each segment k of an entered leaf it calls visit(k), in
    // increasing k within the leaf. Children are tried in index order.
    template <class Enter, class Visit>
    void Search(Enter&& enter, Visit&& visit) const
    {
        if (m_n == 0)
            return;
        int stack[64];
        int top = 0;
        stack[top++] = 1;
        while (top > 0) {
            const int node = stack[--top];
            const int first = m_first[node];
            const int last = m_last[node];
            if (first > last || !enter(m_box[node], first, last))
                continue;
            if (node >= m_leafBase) {
                for (int k = first; k <= last; ++k)
                    visit(k);
                continue;
            }
            stack[top++] = 2 * node + 1;
            stack[top++] = 2 * node;
        }
    }

    // The box of segment k's two end points.
    Box3 SegmentBox(int k) const;

private:
    int m_n = 0;
    int m_leafBase = 1;  // index of the first leaf node (a power of two)
    std::vector<Box3> m_box;
    std::vector<int> m_first;
    std::vector<int> m_last;
    PolygonView m_polygon;
};

// The squared distance from point p to the box (0 inside it). Inline: the
// searches ask it at every node they enter.
inline double BoxDistanceSquared(const Box3& box, const double p[3])
{
    double sum = 0.0;
    for (int a = 0; a < 3; ++a) {
        double d = 0.0;
        if (p[a] < box.lo[a])
            d = box.lo[a] - p[a];
        else if (p[a] > box.hi[a])
            d = p[a] - box.hi[a];
        sum += d * d;
    }
    return sum;
}

// The squared gap between two boxes (0 where they overlap): no pair of
// points, one in each, comes nearer, also after rounding (the same terms,
// each no larger).
inline double BoxGapSquared(const Box3& a, const Box3& b)
{
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        double d = 0.0;
        if (b.lo[k] > a.hi[k])
            d = b.lo[k] - a.hi[k];
        else if (a.lo[k] > b.hi[k])
            d = a.lo[k] - b.hi[k];
        sum += d * d;
    }
    return sum;
}

// Whether a box and the box [lo - r, hi + r] of another overlap.
bool BoxesWithin(const Box3& a, const Box3& b, double r);

// Whether offset t = (j - i) mod n of index j from i lies in the cyclic
// range of offsets [-before, after] (0 <= before, after; before + after < n
// assumed). For a run first ... last of indices (0 <= first <= last < n,
// 0 <= i < n): whether all of it does.
inline bool RunInsideCyclicRange(int first, int last, int i, int n, int before, int after)
{
    // Offsets of the run's ends from i, counted from -before; the first one
    // lies in (-n, 2n), one turn from its remainder at most. The searches
    // ask this at every node, where a division would cost more than the
    // rest of the test.
    int a = first - i + before;
    if (a >= n)
        a -= n;
    else if (a < 0)
        a += n;
    const int len = last - first;
    return a + len <= before + after;
}

}  // namespace vek
