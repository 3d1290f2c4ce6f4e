#include "curve/nearest_candidate.h"

#include <initializer_list>

#include "curve/vec_math.h"

namespace {

// The per-point work of the searches, forced inline (see the tuning note in
// relax_step_fast.cpp).
#define VEK_HOT_INLINE [[gnu::always_inline]] inline

// The offset of the node's first index from the first excluded index x0.
VEK_HOT_INLINE long long Offset(const CapsuleNode& c, int x0, int n)
{
    long long o = static_cast<long long>(c.first) - x0;
    if (o < 0)
        o += n;
    return o;
}

// Whether every point of the node is excluded for q.
VEK_HOT_INLINE bool AllExcluded(const CapsuleNode& c, const CandidateQuery& q, int n)
{
    return Offset(c, q.x0, n) + (c.last - c.first) < q.excluded;
}

VEK_HOT_INLINE bool IsCandidate(const CandidateQuery& q, int j, int n)
{
    int t = j - q.i;
    if (t < 0)
        t += n;
    return q.fwd <= t && t <= n - q.bwd;
}

VEK_HOT_INLINE void SetReach(const CapsuleTree& tree, CandidateQuery& q)
{
    q.reach = std::sqrt(q.best) * (1.0 + vek::kBoundRelative) + tree.margin;
}

// Takes j if it is nearer than q's best, or as near with a lower index:
// the index-order scan keeps the first of equal distances.
VEK_HOT_INLINE void Consider(const CapsuleTree& t, CandidateQuery& q, int j)
{
    const double d2 = Distance2(t.x, t.y, t.z, j, q.i);
    if (d2 < q.best || (d2 == q.best && j < q.m)) {
        q.best = d2;
        q.m = j;
    }
}

// Whether node c may hold a candidate of q as near as its best: not when
// all its points are excluded or provably farther.
VEK_HOT_INLINE bool MayHold(const CapsuleTree& tree, const CapsuleNode& c, const CandidateQuery& q, double& d2)
{
    if (c.first > c.last || AllExcluded(c, q, tree.n))
        return false;
    d2 = CapsuleDistance2(c, tree.x[q.i], tree.y[q.i], tree.z[q.i]);
    const double limit = q.reach + c.r;
    return !(d2 > limit * limit);
}

// The points of leaf c, o = Offset(c, q.x0, n): all of them when none is
// excluded, else the candidates among them. Whether q's best improved.
VEK_HOT_INLINE bool ScanPoints(const CapsuleTree& tree, CandidateQuery& q, const CapsuleNode& c, long long o)
{
    const double before = q.best;
    if (o >= q.excluded && o + (c.last - c.first) < tree.n) {
        for (int j = c.first; j <= c.last; ++j)
            Consider(tree, q, j);
    } else {
        for (int j = c.first; j <= c.last; ++j)
            if (IsCandidate(q, j, tree.n))
                Consider(tree, q, j);
    }
    return q.best != before;
}

VEK_HOT_INLINE void ScanLeaf(const CapsuleTree& tree, CandidateQuery& q, const CapsuleNode& c)
{
    if (ScanPoints(tree, q, c, Offset(c, q.x0, tree.n)))
        SetReach(tree, q);
}

#undef VEK_HOT_INLINE

}  // namespace

void StartQuery(const CapsuleTree& tree, int i, int fwd, int bwd, double best, int lastI, int lastM,
                CandidateQuery& q)
{
    q.i = i;
    q.fwd = fwd;
    q.bwd = bwd;
    q.x0 = i - bwd + 1 < 0 ? i - bwd + 1 + tree.n : i - bwd + 1;
    q.excluded = static_cast<long long>(fwd) + bwd - 1;
    q.best = best;
    q.m = -1;
    if (lastM >= 0) {
        for (int j : {lastM + (i - lastI), lastM - (i - lastI)}) {
            j %= tree.n;
            if (j < 0)
                j += tree.n;
            if (IsCandidate(q, j, tree.n))
                Consider(tree, q, j);
        }
    }
    SetReach(tree, q);
}

// The searches below work on local copies of the tree's description and of
// the query (see the tuning note in relax_step_fast.cpp).
void SearchTree(const CapsuleTree& shared, CandidateQuery& query)
{
    const CapsuleTree tree = shared;
    CandidateQuery q = query;
    const auto near = [&](int k, double& d2) { return MayHold(tree, tree.nodes[k], q, d2); };
    // The best may have improved since the node was pushed.
    const auto still = [&](int k, double d2) {
        const double limit = q.reach + tree.nodes[k].r;
        return !(d2 > limit * limit);
    };
    WalkCapsules(tree, near, still, [&](int k) {
        ScanLeaf(tree, q, tree.nodes[k]);
        return true;
    });
    query = q;
}

int CollectLeaves(const CapsuleTree& shared, const CandidateQuery* group, int count, double cx, double cy, double cz,
                  double bound, int* list, int capacity)
{
    const CapsuleTree tree = shared;
    const auto near = [&](int k, double& d2) {
        const CapsuleNode& c = tree.nodes[k];
        if (c.first > c.last)
            return false;
        bool excludedForAll = true;
        for (int a = 0; a < count && excludedForAll; ++a)
            excludedForAll = AllExcluded(c, group[a], tree.n);
        if (excludedForAll)
            return false;
        d2 = CapsuleDistance2(c, cx, cy, cz);
        const double limit = bound + c.r;
        return !(d2 > limit * limit);
    };
    int collected = 0;
    const bool fits = WalkCapsules(
        tree, near, [](int, double) { return true; },
        [&](int k) {
            if (collected == capacity)
                return false;
            list[collected++] = k;
            return true;
        });
    return fits ? collected : -1;
}

void SearchLeaves(const CapsuleTree& shared, CandidateQuery& query, const int* list, int collected)
{
    const CapsuleTree tree = shared;
    CandidateQuery q = query;
    // The listed leaves are never empty; the query point and the reach stay
    // in registers across the list.
    const double qx = tree.x[q.i], qy = tree.y[q.i], qz = tree.z[q.i];
    double reach = q.reach;
    for (int k = 0; k < collected; ++k) {
        const CapsuleNode& c = tree.nodes[list[k]];
        const long long o = Offset(c, q.x0, tree.n);
        const int span = c.last - c.first;
        if (o + span < q.excluded)
            continue;
        const double d2 = CapsuleDistance2(c, qx, qy, qz);
        const double limit = reach + c.r;
        if (d2 > limit * limit)
            continue;
        if (ScanPoints(tree, q, c, o))
            reach = std::sqrt(q.best) * (1.0 + vek::kBoundRelative) + tree.margin;
    }
    q.reach = reach;
    query = q;
}
