#include "geom/segment_tree.h"

#include <algorithm>

namespace vek {

namespace {

// Segments per leaf: enough to keep the tree shallow, few enough that a
// leaf's box stays close to its segments.
constexpr int kLeafSize = 8;

void Extend(Box3& box, const Box3& other)
{
    for (int a = 0; a < 3; ++a) {
        box.lo[a] = std::min(box.lo[a], other.lo[a]);
        box.hi[a] = std::max(box.hi[a], other.hi[a]);
    }
}

}  // namespace

SegmentTree::SegmentTree(PolygonView polygon) : m_n(polygon.Size()), m_polygon(polygon)
{
    if (m_n == 0)
        return;
    const int leaves = (m_n + kLeafSize - 1) / kLeafSize;
    while (m_leafBase < leaves)
        m_leafBase *= 2;
    const int nodes = 2 * m_leafBase;
    m_box.resize(static_cast<size_t>(nodes));
    m_first.assign(static_cast<size_t>(nodes), 1);
    m_last.assign(static_cast<size_t>(nodes), 0);  // empty run
    for (int leaf = 0; leaf < leaves; ++leaf) {
        const int node = m_leafBase + leaf;
        m_first[node] = leaf * kLeafSize;
        m_last[node] = std::min(m_n, (leaf + 1) * kLeafSize) - 1;
        m_box[node] = SegmentBox(m_first[node]);
        for (int k = m_first[node] + 1; k <= m_last[node]; ++k)
            Extend(m_box[node], SegmentBox(k));
    }
    for (int node = m_leafBase - 1; node >= 1; --node) {
        const int l = 2 * node, r = 2 * node + 1;
        if (m_first[l] > m_last[l])
            continue;  // both children empty
        m_first[node] = m_first[l];
        m_box[node] = m_box[l];
        m_last[node] = m_last[l];
        if (m_first[r] <= m_last[r]) {
            m_last[node] = m_last[r];
            Extend(m_box[node], m_box[r]);
        }
    }
}

Box3 SegmentTree::SegmentBox(int k) const
{
    const int next = k + 1 == m_n ? 0 : k + 1;
    Box3 box;
    const PolygonView& p = m_polygon;
    const double a[3] = {p.X(k), p.Y(k), p.Z(k)};
    const double b[3] = {p.X(next), p.Y(next), p.Z(next)};
    for (int c = 0; c < 3; ++c) {
        box.lo[c] = std::min(a[c], b[c]);
        box.hi[c] = std::max(a[c], b[c]);
    }
    return box;
}

bool BoxesWithin(const Box3& a, const Box3& b, double r)
{
    for (int c = 0; c < 3; ++c) {
        if (a.hi[c] < b.lo[c] - r || a.lo[c] > b.hi[c] + r)
            return false;
    }
    return true;
}

}  // namespace vek
