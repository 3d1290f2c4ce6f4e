// The capsule tree of RelaxStepFast: a complete binary tree over runs of
// kLeafPoints consecutive curve points, each node a capsule (a segment with a
// radius) that holds all the points of its run. The bounds are inflated by
// a safety margin far above their rounding errors, so a node is only ruled
// out when none of its points can be as near as a given distance.
#pragma once

#include <cmath>

namespace vek {

// Consecutive points per leaf.
inline constexpr int kLeafPoints = 8;
// The unit roundoff of a double.
inline constexpr double kRoundoff = 0x1p-53;
// Safety margins of the capsule bounds. Their own rounding errors are a few
// dozen roundoffs of the largest coordinate; the margins are some thousand
// times that. The floor covers results in the subnormal range.
inline constexpr double kBoundRelative = 0x1p-36;
inline constexpr double kBoundFloor = 0x1p-500;
// Tree depth is at most 31, and a depth-first walk that pushes two children
// per level keeps at most depth + 2 entries.
inline constexpr int kTreeStackSize = 64;

}  // namespace vek

// One node: the points first ... last (indices) lie within r of the segment
// from A to A + U (or of A alone when inv, 1 / |U|^2, is 0). A node with
// first > last is empty.
struct CapsuleNode {
    double ax, ay, az;
    double ux, uy, uz;
    double inv;
    double r;
    int first, last;
};

// The tree over the n points x, y, z. Node 1 is the root, the children of
// node k are 2k and 2k + 1, and leaf l is node leafBase + l (leafBase a
// power of 2 not below the number of leaves).
struct CapsuleTree {
    const double* x = nullptr;
    const double* y = nullptr;
    const double* z = nullptr;
    int n = 0;
    CapsuleNode* nodes = nullptr;
    int leaves = 0;
    int leafBase = 1;
    // Absolute safety margin of the bounds (from the largest coordinate).
    double margin = 0.0;
};

// The squared distance from q to the node's segment (or to A alone when inv
// is 0). Any parameter in [0, 1] gives a point of the segment, so a rounded
// parameter only makes the result a little larger, by far less than the
// margin added to every bound.
inline double CapsuleDistance2(const CapsuleNode& c, double qx, double qy, double qz)
{
    const double wx = qx - c.ax;
    const double wy = qy - c.ay;
    const double wz = qz - c.az;
    double t = (wx * c.ux + wy * c.uy + wz * c.uz) * c.inv;
    if (!(t > 0.0))
        t = 0.0;
    else if (t > 1.0)
        t = 1.0;
    const double cx = wx - t * c.ux;
    const double cy = wy - t * c.uy;
    const double cz = wz - t * c.uz;
    return cx * cx + cy * cy + cz * cz;
}

// In:  the tree's points; leaves leaf0 ... leaf1 - 1.
// Out: those leaves' runs, segments and radii (without the margin, which
//      needs the largest coordinate of all points).
void BuildLeafCapsules(const CapsuleTree& tree, int leaf0, int leaf1);

// In:  every leaf built, tree.margin set.
// Out: the margin added to the leaves' radii, the leaves beyond the last
//      made empty, and the inner nodes built bottom up.
void BuildInnerCapsules(CapsuleTree& tree);

// A depth-first walk of the tree, nearer child first:
//   near(k, d2)   whether node k may hold what is sought; d2 gets the
//                 squared capsule distance it was judged by;
//   still(k, d2)  asked again when node k is taken from the stack, as the
//                 bound may have shrunk since;
//   leaf(k)       handles leaf node k; false ends the walk.
// Returns false when leaf() ended it.
template <class Near, class Still, class Leaf>
bool WalkCapsules(const CapsuleTree& tree, const Near& near, const Still& still, const Leaf& leaf)
{
    struct Entry {
        int node;
        double distance2;
    };
    Entry stack[vek::kTreeStackSize];
    int top = 0;
    double d2 = 0.0;
    if (near(1, d2))
        stack[top++] = {1, d2};
    while (top > 0) {
        --top;
        const int node = stack[top].node;
        if (!still(node, stack[top].distance2))
            continue;
        if (node >= tree.leafBase) {
            if (!leaf(node))
                return false;
            continue;
        }
        double dl = 0.0, dr = 0.0;
        const bool l = near(2 * node, dl);
        const bool r = near(2 * node + 1, dr);
        // The nearer child goes on top, to be searched first.
        if (l && r) {
            if (dl <= dr) {
                stack[top++] = {2 * node + 1, dr};
                stack[top++] = {2 * node, dl};
            } else {
                stack[top++] = {2 * node, dl};
                stack[top++] = {2 * node + 1, dr};
            }
        } else if (l) {
            stack[top++] = {2 * node, dl};
        } else if (r) {
            stack[top++] = {2 * node + 1, dr};
        }
    }
    return true;
}
