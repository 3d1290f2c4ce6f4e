#include "curve/relax_step_fast.h"

#include <algorithm>
#include <cmath>
#include <initializer_list>
#include <limits>
#include <vector>

#include "curve/capsule_tree.h"
#include "curve/constants.h"
#include "curve/nearest_candidate.h"
#include "curve/relax_step.h"
#include "curve/vec_math.h"
#include "curve/window_ends.h"

// How the step is tuned. Almost all of its time goes into the per-point work
// of the second pass: the window ends, the start of each point's query and
// the walks of the capsule tree. What keeps that work fast (each measured by
// one process that steps the same curve with the step before and after the
// change in turn):
//   - One unit. This file, capsule_tree.cpp, nearest_candidate.cpp and
//     window_ends.cpp are compiled as one unit (curve/CMakeLists.txt) and
//     SecondPass is flattened, so the walks, the searches and the window
//     ends inline into its loop over points. The small per-point helpers
//     of the searches and of the tree's build are forced inline, where the
//     compiler's own heuristics leave calls.
//   - Local copies. The passes and the searches work on local copies of
//     the tree's description and of the query: stores into the segment
//     lengths, the new points, the query or the leaf list could otherwise
//     alias the coordinates and the tree's fields, which would then be read
//     again from memory for every node and point.
//   - No store-forwarding stalls. StartQuery writes every field of the
//     caller's query where it lies: a query returned by value is built on
//     the stack by narrow stores and then copied in wide words, which the
//     processor cannot forward from those stores, and every point would
//     wait for them to reach the cache. WalkCapsules pops its stack entries
//     field by field for the same reason (copying a whole entry reads the
//     int and its padding as one word).
//   - Predictable branches. WalkCapsules decides on one flag at a time:
//     both children (and then which is nearer), or one child.

namespace {

using vek::kLeafPoints;

// Sizes a workspace buffer to `count` elements, reusing its storage unless
// that holds more than twice as many: a run whose curve is resampled much
// shorter then gives the longer curve's buffers back.
template <class T>
void FitBuffer(std::vector<T>& buffer, size_t count)
{
    if (buffer.capacity() / 2 > count)
        std::vector<T>().swap(buffer);
    buffer.resize(count);
}

// Per-part statistics gathered in the first pass.
enum Stat { kMinX, kMaxX, kMinY, kMaxY, kMinZ, kMaxZ, kMaxAbs, kFinite, kStatCount };

struct StepContext {
    double* nx;
    double* ny;
    double* nz;
    double thickness;
    CapsuleTree tree;
    double* segment;
    double* stats;
    int* leafLists;    // per part: room for listCapacity leaf nodes
    int listCapacity;
    WindowSums sums;   // set between the passes
    double bestStart;  // squared distances at or above this never push
};

// The leaves of a part: a share of whole leaves.
void PartLeaves(const StepContext& s, int part, int parts, int& leaf0, int& leaf1)
{
    leaf0 = static_cast<int>(static_cast<long long>(s.tree.leaves) * part / parts);
    leaf1 = static_cast<int>(static_cast<long long>(s.tree.leaves) * (part + 1) / parts);
}

// First pass, over whole leaves: segment lengths, the part's bounding box
// and finiteness, and, for finite curves, the leaf capsules.
void FirstPass(const StepContext& s, int part, int parts)
{
    const CapsuleTree& t = s.tree;
    int leaf0, leaf1;
    PartLeaves(s, part, parts, leaf0, leaf1);
    const int k0 = leaf0 * kLeafPoints;
    const int k1 = std::min(t.n, leaf1 * kLeafPoints);

    // Local copies (see the tuning note above).
    const double* x = t.x;
    const double* y = t.y;
    const double* z = t.z;
    const int n = t.n;
    double* segment = s.segment;
    double box[kStatCount] = {x[k0], x[k0], y[k0], y[k0], z[k0], z[k0], 0.0, 1.0};
    bool finite = true;
    for (int k = k0; k < k1; ++k) {
        // RelaxStep's expression for the length, so the same double.
        segment[k] = Distance(x, y, z, k + 1 == n ? 0 : k + 1, k);
        const double px = x[k], py = y[k], pz = z[k];
        finite = finite && std::isfinite(px) && std::isfinite(py) && std::isfinite(pz);
        box[kMinX] = std::min(box[kMinX], px);
        box[kMaxX] = std::max(box[kMaxX], px);
        box[kMinY] = std::min(box[kMinY], py);
        box[kMaxY] = std::max(box[kMaxY], py);
        box[kMinZ] = std::min(box[kMinZ], pz);
        box[kMaxZ] = std::max(box[kMaxZ], pz);
        box[kMaxAbs] = std::max({box[kMaxAbs], std::fabs(px), std::fabs(py), std::fabs(pz)});
    }
    box[kFinite] = finite ? 1.0 : 0.0;
    std::copy(box, box + kStatCount, s.stats + part * kStatCount);
    if (finite)  // otherwise the step falls back to RelaxStep
        BuildLeafCapsules(t, leaf0, leaf1);
}

// The parts' statistics merged into box.
void MergeStats(const double* stats, int parts, double box[kStatCount])
{
    std::copy(stats, stats + kStatCount, box);
    for (int part = 1; part < parts; ++part) {
        const double* p = stats + part * kStatCount;
        for (int k = kMinX; k <= kMinZ; k += 2) {
            box[k] = std::min(box[k], p[k]);
            box[k + 1] = std::max(box[k + 1], p[k + 1]);
        }
        box[kMaxAbs] = std::max(box[kMaxAbs], p[kMaxAbs]);
        box[kFinite] = std::min(box[kFinite], p[kFinite]);
    }
}

// The smallest squared distance whose square root is not below the
// thickness: sqrt(d2) < thickness exactly when d2 is below it.
double PushLimit2(double thickness)
{
    if (!(thickness > 0.0))
        return 0.0;
    const double inf = std::numeric_limits<double>::infinity();
    double limit = thickness * thickness;
    while (std::sqrt(limit) < thickness)
        limit = std::nextafter(limit, inf);
    while (limit > 0.0 && !(std::sqrt(std::nextafter(limit, 0.0)) < thickness))
        limit = std::nextafter(limit, 0.0);
    return limit;
}

// Moves point i by its pull and, when its nearest candidate q.m is closer
// than the thickness (and not on top of it), its push.
void MovePoint(const StepContext& s, const CandidateQuery& q, double sx, double sy, double sz)
{
    const CapsuleTree& t = s.tree;
    const int i = q.i;
    if (q.m >= 0) {
        const double d = std::sqrt(q.best);
        if (d < s.thickness && d > 0.0)
            PushAway(t.x, t.y, t.z, i, q.m, d, s.thickness, sx, sy, sz);
    }
    s.nx[i] = t.x[i] + sx;
    s.ny[i] = t.y[i] + sy;
    s.nz[i] = t.z[i] + sz;
}

// Second pass, over whole leaves: every leaf's points form one group that
// shares a walk of the hierarchy. The walk collects the leaves that may hold
// the nearest candidate of any point of the group: those not excluded for
// all of them and within the group's farthest reach (the ball around the
// group's middle holding all its points makes one bound serve all). Each
// point then searches only the collected leaves, or the whole tree when
// they do not fit the list. The starting reach of a point comes from the
// previous point's nearest candidate, carried along.
[[gnu::flatten]] void SecondPass(const StepContext& s, int part, int parts)
{
    const CapsuleTree t = s.tree;  // a local copy (see the tuning note above)
    const int n = t.n;
    int leaf0, leaf1;
    PartLeaves(s, part, parts, leaf0, leaf1);
    int* list = s.leafLists + static_cast<size_t>(part) * s.listCapacity;
    WindowEnds ends(s.sums, leaf0 * kLeafPoints);
    int lastI = -1;
    int lastM = -1;
    CandidateQuery group[kLeafPoints];
    double pull[kLeafPoints][3];

    for (int leaf = leaf0; leaf < leaf1; ++leaf) {
        const int g0 = leaf * kLeafPoints;
        const int g1 = std::min(n, g0 + kLeafPoints);
        int count = 0;
        double groupReach = 0.0;
        for (int i = g0; i < g1; ++i) {
            double sx, sy, sz;
            NeighbourPull(t.x, t.y, t.z, i, n, sx, sy, sz);
            int fwd, bwd;
            ends.Next(i, fwd, bwd);
            if (static_cast<long long>(fwd) + bwd > n) {
                // No candidate: the point stays, without pull or push.
                s.nx[i] = t.x[i];
                s.ny[i] = t.y[i];
                s.nz[i] = t.z[i];
                continue;
            }
            // The previous point's nearest candidate, moved along by the
            // distance in index, starts the search.
            CandidateQuery& q = group[count];
            StartQuery(t, i, fwd, bwd, s.bestStart, lastI, lastM, q);
            groupReach = std::max(groupReach, q.reach);
            pull[count][0] = sx;
            pull[count][1] = sy;
            pull[count][2] = sz;
            ++count;
        }
        if (count == 0)
            continue;

        // The ball around the middle of the group that holds all its points.
        const double cx = 0.5 * (t.x[g0] + t.x[g1 - 1]);
        const double cy = 0.5 * (t.y[g0] + t.y[g1 - 1]);
        const double cz = 0.5 * (t.z[g0] + t.z[g1 - 1]);
        double rho = 0.0;
        for (int k = g0; k < g1; ++k)
            rho = std::max(rho, Norm(t.x[k] - cx, t.y[k] - cy, t.z[k] - cz));
        const double groupBound = groupReach + rho + t.margin;

        const int collected = CollectLeaves(t, group, count, cx, cy, cz, groupBound, list, s.listCapacity);
        for (int a = 0; a < count; ++a) {
            if (collected < 0)
                SearchTree(t, group[a]);
            else
                SearchLeaves(t, group[a], list, collected);
            MovePoint(s, group[a], pull[a][0], pull[a][1], pull[a][2]);
        }
        lastI = group[count - 1].i;
        lastM = group[count - 1].m;
    }
}

}  // namespace

void RelaxStepFast(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double window,
                   CDoubleArray& nx, CDoubleArray& ny, CDoubleArray& nz, CRelaxWorkspace& w)
{
    const int n = x.GetSize();
    if (n == 0 || !std::isfinite(thickness) || !std::isfinite(window)) {
        RelaxStep(x, y, z, thickness, window, nx, ny, nz);
        return;
    }
    // Sized for overwriting: a curve resampled much shorter during a run
    // gives the work arrays of the longer one back.
    // Every element is written below, so arrays of the right size and a
    // fitting capacity (every step but the first after a resampling) are
    // left as they are rather than cleared for nothing.
    for (CDoubleArray* a : {&nx, &ny, &nz})
        if (a->GetSize() != n || a->GetCapacity() / 2 > n)
            a->SetSizeForOverwrite(n);

    StepContext s{};
    CapsuleTree& t = s.tree;
    t.x = x.GetData();
    t.y = y.GetData();
    t.z = z.GetData();
    t.n = n;
    t.leaves = (n + kLeafPoints - 1) / kLeafPoints;
    while (t.leafBase < t.leaves)
        t.leafBase *= 2;
    const int threads = w.GetThreadCount();
    const int parts = std::min(n >= w.GetParallelThreshold() ? threads : 1, t.leaves);

    FitBuffer(w.segment, n);
    FitBuffer(w.prefix, 4 * static_cast<size_t>(n));
    FitBuffer(w.nodes, 2 * static_cast<size_t>(t.leafBase));
    if (w.partStats.size() < static_cast<size_t>(parts) * kStatCount)
        w.partStats.resize(static_cast<size_t>(threads) * kStatCount);
    s.listCapacity = std::min(t.leaves, w.GetGroupLeafLimit());
    FitBuffer(w.leafLists, static_cast<size_t>(parts) * s.listCapacity);
    t.nodes = w.nodes.data();
    s.nx = nx.GetData();
    s.ny = ny.GetData();
    s.nz = nz.GetData();
    s.thickness = thickness;
    s.segment = w.segment.data();
    s.stats = w.partStats.data();
    s.leafLists = w.leafLists.data();

    w.RunParts(parts, [&s](int part, int count) { FirstPass(s, part, count); });

    double box[kStatCount];
    MergeStats(s.stats, parts, box);
    // Every difference of two coordinates is at most the extent, after
    // rounding too, so this bounds every squared distance of the step. Below
    // the largest double, a point has a nearest candidate exactly when it
    // has a candidate; the bounds also rely on nothing overflowing.
    const double ex = box[kMaxX] - box[kMinX];
    const double ey = box[kMaxY] - box[kMinY];
    const double ez = box[kMaxZ] - box[kMinZ];
    const double extent2 = ex * ex + ey * ey + ez * ez;
    if (box[kFinite] == 0.0 || !(extent2 < vek::kLargestDouble)) {
        RelaxStep(x, y, z, thickness, window, nx, ny, nz);
        return;
    }
    t.margin = box[kMaxAbs] * vek::kBoundRelative + vek::kBoundFloor;
    s.sums = MakeWindowSums(s.segment, w.prefix.data(), n, window);
    s.bestStart = std::min(PushLimit2(thickness), vek::kLargestDouble);
    BuildInnerCapsules(t);

    w.RunParts(parts, [&s](int part, int count) { SecondPass(s, part, count); });

    // The centroid, summed in index order on one thread as RelaxStep sums it.
    RecentreCurve(nx, ny, nz, x, y, z);
}
