#include "curve/capsule_tree.h"

#include <algorithm>

namespace {

// Sets the node's segment to run from point first to point last.
// Inlined into the builds' loops, as PointToNode below.
[[gnu::always_inline]] inline void SetSegment(CapsuleNode& c, const CapsuleTree& t)
{
    c.ax = t.x[c.first];
    c.ay = t.y[c.first];
    c.az = t.z[c.first];
    c.ux = t.x[c.last] - c.ax;
    c.uy = t.y[c.last] - c.ay;
    c.uz = t.z[c.last] - c.az;
    const double uu = c.ux * c.ux + c.uy * c.uy + c.uz * c.uz;
    // A segment too short to divide by is treated as its start point; the
    // radius is then measured from that point, so the bound stays sound.
    c.inv = uu > 0x1p-1000 ? 1.0 / uu : 0.0;
}

// Inlined into the builds' loops (left to itself the compiler calls it).
[[gnu::always_inline]] inline double PointToNode(const CapsuleNode& c, const CapsuleTree& t, int k)
{
    return std::sqrt(CapsuleDistance2(c, t.x[k], t.y[k], t.z[k]));
}

}  // namespace

void BuildLeafCapsules(const CapsuleTree& tree, int leaf0, int leaf1)
{
    for (int leaf = leaf0; leaf < leaf1; ++leaf) {
        CapsuleNode& c = tree.nodes[tree.leafBase + leaf];
        c.first = leaf * vek::kLeafPoints;
        c.last = std::min(tree.n, c.first + vek::kLeafPoints) - 1;
        SetSegment(c, tree);
        double r = 0.0;
        for (int k = c.first; k <= c.last; ++k)
            r = std::max(r, PointToNode(c, tree, k));
        c.r = r;
    }
}

// A node's points lie within its children's radii of the children's
// segments, and every point of a child's segment lies no farther from the
// node's segment than the farther of its two ends.
void BuildInnerCapsules(CapsuleTree& tree)
{
    CapsuleNode* nodes = tree.nodes;
    for (int leaf = 0; leaf < tree.leafBase; ++leaf) {
        CapsuleNode& c = nodes[tree.leafBase + leaf];
        if (leaf < tree.leaves) {
            c.r += tree.margin;
        } else {
            c.first = 1;  // empty
            c.last = 0;
        }
    }
    for (int k = tree.leafBase - 1; k >= 1; --k) {
        CapsuleNode& c = nodes[k];
        const CapsuleNode& left = nodes[2 * k];
        const CapsuleNode& right = nodes[2 * k + 1];
        if (right.first > right.last) {
            c = left;
            continue;
        }
        c.first = left.first;
        c.last = right.last;
        SetSegment(c, tree);
        const double rl = std::max(PointToNode(c, tree, left.first), PointToNode(c, tree, left.last)) + left.r;
        const double rr = std::max(PointToNode(c, tree, right.first), PointToNode(c, tree, right.last)) + right.r;
        c.r = std::max(rl, rr) + tree.margin;
    }
}
