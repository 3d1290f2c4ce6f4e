#include "curve/relax_step_fast.h"

#include <algorithm>
#include <chrono>
#include <cmath>
#include <limits>
#include <system_error>

#include "curve/constants.h"
#include "curve/relax_step.h"

namespace {

using SNode = CRelaxWorkspace::SNode;

// Consecutive points per leaf of the capsule hierarchy.
constexpr int kLeafPoints = 8;
// The unit roundoff of a double.
constexpr double kRoundoff = 0x1p-53;
// Safety margins of the capsule bounds. Their own rounding errors are a few
// dozen roundoffs of the largest coordinate; the margins are some thousand
// times that, so a run is never dropped when one of its points could still
// be the nearest. The floor covers results in the subnormal range.
constexpr double kBoundRelative = 0x1p-36;
constexpr double kBoundFloor = 0x1p-500;
// Tree depth is at most 31, and a depth-first walk that pushes two children
// per level keeps at most depth + 2 entries.
constexpr int kStackSize = 64;

// Per-part statistics gathered in the first pass.
enum Stat { kMinX, kMaxX, kMinY, kMaxY, kMinZ, kMaxZ, kMaxAbs, kFinite, kStatCount };

struct StepContext {
    const double* x;
    const double* y;
    const double* z;
    double* nx;
    double* ny;
    double* nz;
    int n;
    double thickness;
    double window;

    double* segment;
    double* prefix;
    SNode* nodes;
    int leaves;
    int leafBase;  // node index of leaf 0: a power of 2
    double* stats;
    int* leafLists;    // per part: room for listCapacity leaf nodes
    int listCapacity;

    // Set between the passes.
    double surelyAbove;  // a prefix-sum window length above this: the sequential sum exceeds the window
    double surelyBelow;  // below this: the sequential sum does not
    double bestStart;    // squared distances at or above this never push
    double margin;       // absolute safety margin of the capsule bounds
};

// The squared distance from q to the node's segment (or to A alone when
// inv is 0). Any parameter in [0, 1] gives a point of the segment, so a
// rounded parameter only makes the result a little larger, by far less than
// the margin added to every bound.
inline double CapsuleDistance2(const SNode& c, double qx, double qy, double qz)
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

// Sets the node's segment to run from point first to point last.
inline void SetSegment(SNode& c, const StepContext& s)
{
    c.ax = s.x[c.first];
    c.ay = s.y[c.first];
    c.az = s.z[c.first];
    c.ux = s.x[c.last] - c.ax;
    c.uy = s.y[c.last] - c.ay;
    c.uz = s.z[c.last] - c.az;
    const double uu = c.ux * c.ux + c.uy * c.uy + c.uz * c.uz;
    // A segment too short to divide by is treated as its start point; the
    // radius is then measured from that point, so the bound stays sound.
    c.inv = uu > 0x1p-1000 ? 1.0 / uu : 0.0;
}

inline double PointToNode(const SNode& c, const StepContext& s, int k)
{
    return std::sqrt(CapsuleDistance2(c, s.x[k], s.y[k], s.z[k]));
}

// The window count by RelaxStep's own walk over the stored segment lengths:
// the same additions in the same order, so the same count.
int WalkWindow(const double* segment, int n, int i, bool forward, double window)
{
    double sum = 0.0;
    int k = i;
    int count = 0;
    for (;;) {
        ++count;
        if (forward) {
            sum += segment[k];
            k = k + 1 == n ? 0 : k + 1;
        } else {
            k = k == 0 ? n - 1 : k - 1;
            sum += segment[k];
        }
        if (!(sum <= window))
            break;
        if (count == n)
            break;
    }
    return count;
}

// First pass, over whole leaves: segment lengths, leaf capsules (radius
// without the margin, which needs the largest coordinate of all parts) and
// the part's bounding box.
void FirstPass(void* context, int part, int parts)
{
    StepContext& s = *static_cast<StepContext*>(context);
    const int n = s.n;
    const int leaf0 = static_cast<int>(static_cast<long long>(s.leaves) * part / parts);
    const int leaf1 = static_cast<int>(static_cast<long long>(s.leaves) * (part + 1) / parts);
    const int k0 = leaf0 * kLeafPoints;
    const int k1 = std::min(n, leaf1 * kLeafPoints);

    double box[kStatCount] = {s.x[k0], s.x[k0], s.y[k0], s.y[k0], s.z[k0], s.z[k0], 0.0, 1.0};
    bool finite = true;
    for (int k = k0; k < k1; ++k) {
        const int next = k + 1 == n ? 0 : k + 1;
        // RelaxStep's expression for the length, so the same double.
        const double dx = s.x[next] - s.x[k];
        const double dy = s.y[next] - s.y[k];
        const double dz = s.z[next] - s.z[k];
        s.segment[k] = std::sqrt(dx * dx + dy * dy + dz * dz);
        const double px = s.x[k], py = s.y[k], pz = s.z[k];
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
    if (!finite)
        return;  // the step falls back to RelaxStep

    for (int leaf = leaf0; leaf < leaf1; ++leaf) {
        SNode& c = s.nodes[s.leafBase + leaf];
        c.first = leaf * kLeafPoints;
        c.last = std::min(n, c.first + kLeafPoints) - 1;
        SetSegment(c, s);
        double r = 0.0;
        for (int k = c.first; k <= c.last; ++k)
            r = std::max(r, PointToNode(c, s, k));
        c.r = r;
    }
}

// The inner nodes, bottom up. A node's points lie within its children's
// radii of the children's segments, and every point of a child's segment
// lies no farther from the node's segment than the farther of its two ends.
void BuildInnerNodes(StepContext& s)
{
    SNode* nodes = s.nodes;
    for (int leaf = 0; leaf < s.leafBase; ++leaf) {
        SNode& c = nodes[s.leafBase + leaf];
        if (leaf < s.leaves) {
            c.r += s.margin;
        } else {
            c.first = 1;  // empty
            c.last = 0;
        }
    }
    for (int k = s.leafBase - 1; k >= 1; --k) {
        SNode& c = nodes[k];
        const SNode& left = nodes[2 * k];
        const SNode& right = nodes[2 * k + 1];
        if (right.first > right.last) {
            c = left;
            continue;
        }
        c.first = left.first;
        c.last = right.last;
        SetSegment(c, s);
        const double rl = std::max(PointToNode(c, s, left.first), PointToNode(c, s, left.last)) + left.r;
        const double rr = std::max(PointToNode(c, s, right.first), PointToNode(c, s, right.last)) + right.r;
        c.r = std::max(rl, rr) + s.margin;
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

struct StackEntry {
    int node;
    double distance2;
};

// The nearest candidate of point i closer than the thickness: the lowest
// index among the smallest squared distances below s.bestStart, or -1.
// `seed` is a likely answer (the previous point's) or -1; it only speeds up
// the search.
int NearestCandidate(const StepContext& s, int i, int fwd, int bwd, int seed, double& best)
{
    const int n = s.n;
    const double qx = s.x[i], qy = s.y[i], qz = s.z[i];
    // Excluded offsets from the window's first point x0: 0 ... excluded - 1.
    const long long excluded = static_cast<long long>(fwd) + bwd - 1;
    int x0 = i - bwd + 1;
    if (x0 < 0)
        x0 += n;
    const long long lastCandidate = static_cast<long long>(n) - bwd;  // largest candidate offset from i

    best = s.bestStart;
    int m = -1;
    auto consider = [&](int j) {
        const double dx = s.x[j] - qx;
        const double dy = s.y[j] - qy;
        const double dz = s.z[j] - qz;
        const double d2 = dx * dx + dy * dy + dz * dz;
        // The index-order scan keeps the first of equal distances.
        if (d2 < best || (d2 == best && j < m)) {
            best = d2;
            m = j;
        }
    };
    auto isCandidate = [&](int j) {
        long long t = j - i;
        if (t < 0)
            t += n;
        return fwd <= t && t <= lastCandidate;
    };

    if (seed >= 0) {
        for (int j : {seed - 1, seed, seed + 1}) {
            if (j < 0)
                j += n;
            else if (j >= n)
                j -= n;
            if (isCandidate(j))
                consider(j);
        }
    }
    double reach = std::sqrt(best) * (1.0 + kBoundRelative) + s.margin;

    StackEntry stack[kStackSize];
    int top = 0;
    auto offset = [&](const SNode& c) {
        long long o = static_cast<long long>(c.first) - x0;
        if (o < 0)
            o += n;
        return o;
    };
    // Whether node k may hold a candidate as near as the best so far: not
    // when all its points are excluded or provably farther. d2 gets its
    // squared capsule distance.
    auto visible = [&](int k, double& d2) {
        const SNode& c = s.nodes[k];
        if (c.first > c.last)
            return false;
        if (offset(c) + (c.last - c.first) < excluded)
            return false;
        d2 = CapsuleDistance2(c, qx, qy, qz);
        const double limit = reach + c.r;
        return !(d2 > limit * limit);
    };

    double rootD2 = 0.0;
    if (visible(1, rootD2))
        stack[top++] = {1, rootD2};
    while (top > 0) {
        const StackEntry e = stack[--top];
        const SNode& c = s.nodes[e.node];
        const double limit = reach + c.r;
        if (e.distance2 > limit * limit)
            continue;  // the best has improved since it was pushed
        if (e.node >= s.leafBase) {
            const long long o = offset(c);
            const bool allCandidates = o >= excluded && o + (c.last - c.first) < n;
            const double before = best;
            if (allCandidates) {
                for (int j = c.first; j <= c.last; ++j)
                    consider(j);
            } else {
                for (int j = c.first; j <= c.last; ++j)
                    if (isCandidate(j))
                        consider(j);
            }
            if (best != before)
                reach = std::sqrt(best) * (1.0 + kBoundRelative) + s.margin;
            continue;
        }
        double dl = 0.0, dr = 0.0;
        const bool l = visible(2 * e.node, dl);
        const bool r = visible(2 * e.node + 1, dr);
        // The nearer child goes on top, to be searched first.
        if (l && r) {
            if (dl <= dr) {
                stack[top++] = {2 * e.node + 1, dr};
                stack[top++] = {2 * e.node, dl};
            } else {
                stack[top++] = {2 * e.node, dl};
                stack[top++] = {2 * e.node + 1, dr};
            }
        } else if (l) {
            stack[top++] = {2 * e.node, dl};
        } else if (r) {
            stack[top++] = {2 * e.node + 1, dr};
        }
    }
    return m;
}


// One point of a group while it is searched.
struct GroupPoint {
    int i;
    int fwd, bwd;
    int x0;             // first excluded index
    long long excluded;  // number of excluded indices from x0 on
    double sx, sy, sz;   // the pull, then the push
    double best;
    int m;
    double reach;
};

// Whether j is a candidate of the group point g (IsWindowCandidate).
inline bool IsCandidate(const StepContext& s, const GroupPoint& g, int j)
{
    int t = j - g.i;
    if (t < 0)
        t += s.n;
    return g.fwd <= t && t <= s.n - g.bwd;
}

// Takes j if it is nearer than g's best, or as near with a lower index: the
// index-order scan keeps the first of equal distances.
inline void Consider(const StepContext& s, GroupPoint& g, int j)
{
    const double dx = s.x[j] - s.x[g.i];
    const double dy = s.y[j] - s.y[g.i];
    const double dz = s.z[j] - s.z[g.i];
    const double d2 = dx * dx + dy * dy + dz * dz;
    if (d2 < g.best || (d2 == g.best && j < g.m)) {
        g.best = d2;
        g.m = j;
    }
}

// The offset of the node's first index from the first excluded index x0.
inline long long Offset(const SNode& c, int x0, int n)
{
    long long o = static_cast<long long>(c.first) - x0;
    if (o < 0)
        o += n;
    return o;
}

// Collects into `list` the leaf nodes that are not excluded for every point
// of the group and come within `bound` of the group's middle c, nearest
// first. Returns their number, or -1 when they do not fit the list.
int CollectLeaves(const StepContext& s, const GroupPoint* group, int count, double cx, double cy, double cz,
                  double bound, int* list)
{
    const int n = s.n;
    auto visible = [&](int k, double& d2) {
        const SNode& c = s.nodes[k];
        if (c.first > c.last)
            return false;
        bool excludedForAll = true;
        for (int a = 0; a < count && excludedForAll; ++a)
            excludedForAll = Offset(c, group[a].x0, n) + (c.last - c.first) < group[a].excluded;
        if (excludedForAll)
            return false;
        d2 = CapsuleDistance2(c, cx, cy, cz);
        const double limit = bound + c.r;
        return !(d2 > limit * limit);
    };

    StackEntry stack[kStackSize];
    int top = 0;
    int collected = 0;
    double d2 = 0.0;
    if (visible(1, d2))
        stack[top++] = {1, d2};
    while (top > 0) {
        const int k = stack[--top].node;
        if (k >= s.leafBase) {
            if (collected == s.listCapacity)
                return -1;
            list[collected++] = k;
            continue;
        }
        double dl = 0.0, dr = 0.0;
        const bool l = visible(2 * k, dl);
        const bool r = visible(2 * k + 1, dr);
        if (l && r) {
            if (dl <= dr) {
                stack[top++] = {2 * k + 1, dr};
                stack[top++] = {2 * k, dl};
            } else {
                stack[top++] = {2 * k, dl};
                stack[top++] = {2 * k + 1, dr};
            }
        } else if (l) {
            stack[top++] = {2 * k, dl};
        } else if (r) {
            stack[top++] = {2 * k + 1, dr};
        }
    }
    return collected;
}

// Searches the collected leaves for g's nearest candidate below its best.
void SearchLeaves(const StepContext& s, GroupPoint& g, const int* list, int collected)
{
    const int n = s.n;
    const double qx = s.x[g.i], qy = s.y[g.i], qz = s.z[g.i];
    double reach = g.reach;
    for (int k = 0; k < collected; ++k) {
        const SNode& c = s.nodes[list[k]];
        const long long o = Offset(c, g.x0, n);
        const int span = c.last - c.first;
        if (o + span < g.excluded)
            continue;
        const double d2 = CapsuleDistance2(c, qx, qy, qz);
        const double limit = reach + c.r;
        if (d2 > limit * limit)
            continue;
        const double before = g.best;
        if (o >= g.excluded && o + span < n) {
            for (int j = c.first; j <= c.last; ++j)
                Consider(s, g, j);
        } else {
            for (int j = c.first; j <= c.last; ++j)
                if (IsCandidate(s, g, j))
                    Consider(s, g, j);
        }
        if (g.best != before)
            reach = std::sqrt(g.best) * (1.0 + kBoundRelative) + s.margin;
    }
}

// Second pass, over whole leaves: every leaf's points form one group that
// shares a walk of the hierarchy. The walk collects the leaves that may hold
// the nearest candidate of any point of the group: those not excluded for
// all of them and within the group's farthest reach (the ball around the
// group's middle holding all its points makes one bound serve all). Each
// point then searches only the collected leaves. The starting reach of a
// point comes from the previous point's nearest candidate, carried along.
void SecondPass(void* context, int part, int parts)
{
    const StepContext& s = *static_cast<StepContext*>(context);
    const int n = s.n;
    const int leaf0 = static_cast<int>(static_cast<long long>(s.leaves) * part / parts);
    const int leaf1 = static_cast<int>(static_cast<long long>(s.leaves) * (part + 1) / parts);
    const double* x = s.x;
    const double* y = s.y;
    const double* z = s.z;
    const double* q = s.prefix;
    int* list = s.leafLists + static_cast<size_t>(part) * s.listCapacity;

    // Window ends as indices into the prefix sums; both only move forwards
    // as i grows, so the whole pass costs O(n) for them.
    long long ahead = static_cast<long long>(leaf0) * kLeafPoints + 1;   // first b with q[b] - q[i] surely above
    long long behind = ahead;  // first a with q[i + n] - q[a] not surely above
    int lastI = -1;
    int lastM = -1;
    GroupPoint group[kLeafPoints];

    for (int leaf = leaf0; leaf < leaf1; ++leaf) {
        const int g0 = leaf * kLeafPoints;
        const int g1 = std::min(n, g0 + kLeafPoints);
        int count = 0;
        for (int i = g0; i < g1; ++i) {
            double sx, sy, sz;
            NeighbourPull(x, y, z, i, n, sx, sy, sz);

            // Forward window. The sequential sums only grow with the count,
            // so the count is the first one surely above, provided the one
            // before is surely below; otherwise the walk decides.
            const long long lastEnd = static_cast<long long>(i) + n - 1;
            if (ahead < i + 1)
                ahead = i + 1;
            while (ahead <= lastEnd && !(q[ahead] - q[i] > s.surelyAbove))
                ++ahead;
            int fwd = static_cast<int>(ahead - i);
            if (fwd > 1 && !(q[i + fwd - 1] - q[i] < s.surelyBelow))
                fwd = WalkWindow(s.segment, n, i, true, s.window);

            // Backward window, the same over the lengths before i.
            const long long home = static_cast<long long>(i) + n;
            if (behind < i + 1)
                behind = i + 1;
            while (behind <= lastEnd && q[home] - q[behind] > s.surelyAbove)
                ++behind;
            int bwd = static_cast<int>(home - behind + 1);
            if (bwd > 1 && !(q[home] - q[home - bwd + 1] < s.surelyBelow))
                bwd = WalkWindow(s.segment, n, i, false, s.window);

            if (static_cast<long long>(fwd) + bwd > n) {
                // No candidate: the point stays, without pull or push.
                s.nx[i] = x[i];
                s.ny[i] = y[i];
                s.nz[i] = z[i];
                continue;
            }
            GroupPoint& g = group[count++];
            g.i = i;
            g.fwd = fwd;
            g.bwd = bwd;
            g.x0 = i - bwd + 1 < 0 ? i - bwd + 1 + n : i - bwd + 1;
            g.excluded = static_cast<long long>(fwd) + bwd - 1;
            g.sx = sx;
            g.sy = sy;
            g.sz = sz;
        }
        if (count == 0)
            continue;

        // Starting reach of each point: the previous point's nearest
        // candidate, moved along by the distance in index, either way.
        double groupReach = 0.0;
        for (int a = 0; a < count; ++a) {
            GroupPoint& g = group[a];
            g.best = s.bestStart;
            g.m = -1;
            if (lastM >= 0) {
                const int step = g.i - lastI;
                for (int j : {lastM + step, lastM - step}) {
                    j %= n;
                    if (j < 0)
                        j += n;
                    if (IsCandidate(s, g, j))
                        Consider(s, g, j);
                }
            }
            g.reach = std::sqrt(g.best) * (1.0 + kBoundRelative) + s.margin;
            groupReach = std::max(groupReach, g.reach);
        }

        // The ball around the middle of the group that holds all its points.
        const double cx = 0.5 * (x[g0] + x[g1 - 1]);
        const double cy = 0.5 * (y[g0] + y[g1 - 1]);
        const double cz = 0.5 * (z[g0] + z[g1 - 1]);
        double rho = 0.0;
        for (int k = g0; k < g1; ++k) {
            const double dx = x[k] - cx;
            const double dy = y[k] - cy;
            const double dz = z[k] - cz;
            rho = std::max(rho, std::sqrt(dx * dx + dy * dy + dz * dz));
        }
        const double groupBound = groupReach + rho + s.margin;

        const int collected = CollectLeaves(s, group, count, cx, cy, cz, groupBound, list);
        for (int a = 0; a < count; ++a) {
            GroupPoint& g = group[a];
            if (collected < 0)
                g.m = NearestCandidate(s, g.i, g.fwd, g.bwd, g.m, g.best);
            else
                SearchLeaves(s, g, list, collected);
            const int i = g.i;
            const int m = g.m;
            double sx = g.sx, sy = g.sy, sz = g.sz;
            if (m >= 0) {
                const double d = std::sqrt(g.best);
                if (d < s.thickness && d > 0.0) {
                    PushAway(x, y, z, i, m, d, s.thickness, sx, sy, sz);
                }
            }
            s.nx[i] = x[i] + sx;
            s.ny[i] = y[i] + sy;
            s.nz[i] = z[i] + sz;
        }
        lastI = group[count - 1].i;
        lastM = group[count - 1].m;
    }
}

}  // namespace

CRelaxWorkspace::CRelaxWorkspace() : CRelaxWorkspace(static_cast<int>(std::thread::hardware_concurrency())) {}

CRelaxWorkspace::CRelaxWorkspace(int threads)
{
    SetThreadCount(threads);
}

CRelaxWorkspace::~CRelaxWorkspace()
{
    StopWorkers();
}

void CRelaxWorkspace::SetThreadCount(int threads)
{
    if (threads < 1)
        threads = 1;
    if (threads == m_nThreads && static_cast<int>(m_workers.size()) == threads - 1)
        return;
    StopWorkers();
    m_nThreads = threads;
    StartWorkers();
}

void CRelaxWorkspace::StartWorkers()
{
    m_bStop = false;
    m_workers.reserve(m_nThreads - 1);
    for (int part = 1; part < m_nThreads; ++part) {
        try {
            m_workers.emplace_back(&CRelaxWorkspace::WorkerLoop, this, part, m_nGeneration.load());
        } catch (const std::system_error&) {
            break;  // the system gives no more threads: work with those there are
        }
    }
    m_nThreads = static_cast<int>(m_workers.size()) + 1;
}

void CRelaxWorkspace::StopWorkers()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_bStop = true;
    }
    m_cvStart.notify_all();
    for (std::thread& worker : m_workers)
        worker.join();
    m_workers.clear();
    m_bStop = false;
}

namespace {

// How long a thread keeps polling before it sleeps on a condition variable.
// A step hands out two jobs a few dozen microseconds apart, and the steps
// of a run follow each other at once; waking a sleeping thread costs about
// as long as the serial work between the jobs, so the workers poll across
// it. Between two blocks of a run (while the program handles its messages)
// they sleep.
constexpr auto kSpinTime = std::chrono::microseconds(200);

inline void CpuRelax()
{
#if defined(__x86_64__) || defined(__i386__)
    __builtin_ia32_pause();
#endif
}

// Polls `done` for up to kSpinTime; true if it came true.
template <class Done>
bool SpinUntil(const Done& done)
{
    const auto until = std::chrono::steady_clock::now() + kSpinTime;
    for (int k = 0;; ++k) {
        if (done())
            return true;
        CpuRelax();
        if (k % 64 == 63 && std::chrono::steady_clock::now() > until)
            return false;
    }
}

}  // namespace

void CRelaxWorkspace::WorkerLoop(int part, std::uint64_t seen)
{
    // `seen` is the generation when the worker was started, not when it
    // first runs: a job handed out in between must not be missed.
    for (;;) {
        auto handedOut = [&] { return m_bStop.load() || m_nGeneration.load() != seen; };
        if (!SpinUntil(handedOut)) {
            std::unique_lock<std::mutex> lock(m_mutex);
            m_cvStart.wait(lock, handedOut);
        }
        if (m_bStop.load())
            return;
        seen = m_nGeneration.load();
        // Every worker reports back, also one without a part in this job, so
        // none can still be looking at this job when the next one is set up.
        if (part < m_nParts)
            m_job(m_pContext, part, m_nParts);
        if (m_nPending.fetch_sub(1) == 1) {
            // Taking the lock orders this after the caller's check of the
            // count, should it be about to sleep.
            { std::lock_guard<std::mutex> lock(m_mutex); }
            m_cvDone.notify_one();
        }
    }
}

void CRelaxWorkspace::Run(Job job, void* context, int parts)
{
    parts = std::min(parts, m_nThreads);
    if (parts <= 1 || m_workers.empty()) {
        for (int part = 0; part < parts; ++part)
            job(context, part, parts);
        return;
    }
    m_job = job;
    m_pContext = context;
    m_nParts = parts;
    m_nPending = static_cast<int>(m_workers.size());
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        ++m_nGeneration;
    }
    m_cvStart.notify_all();
    job(context, 0, parts);
    auto finished = [&] { return m_nPending.load() == 0; };
    if (!SpinUntil(finished)) {
        std::unique_lock<std::mutex> lock(m_mutex);
        m_cvDone.wait(lock, finished);
    }
}

void RelaxStepFast(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double window,
                   CDoubleArray& nx, CDoubleArray& ny, CDoubleArray& nz, CRelaxWorkspace& workspace)
{
    const int n = x.GetSize();
    if (n == 0 || !std::isfinite(thickness) || !std::isfinite(window)) {
        RelaxStep(x, y, z, thickness, window, nx, ny, nz);
        return;
    }
    nx.SetSize(n);
    ny.SetSize(n);
    nz.SetSize(n);

    const int leaves = (n + kLeafPoints - 1) / kLeafPoints;
    int leafBase = 1;
    while (leafBase < leaves)
        leafBase *= 2;
    int parts = n >= workspace.m_nParallelThreshold ? workspace.m_nThreads : 1;
    parts = std::min(parts, leaves);

    CRelaxWorkspace& w = workspace;
    w.m_arrSegment.resize(n);
    w.m_arrPrefix.resize(2 * static_cast<size_t>(n));
    w.m_arrNodes.resize(2 * static_cast<size_t>(leafBase));
    if (w.m_arrPartStats.size() < static_cast<size_t>(parts) * kStatCount)
        w.m_arrPartStats.resize(static_cast<size_t>(w.m_nThreads) * kStatCount);

    StepContext s{};
    s.x = x.GetData();
    s.y = y.GetData();
    s.z = z.GetData();
    s.nx = nx.GetData();
    s.ny = ny.GetData();
    s.nz = nz.GetData();
    s.n = n;
    s.thickness = thickness;
    s.window = window;
    s.segment = w.m_arrSegment.data();
    s.prefix = w.m_arrPrefix.data();
    s.nodes = w.m_arrNodes.data();
    s.leaves = leaves;
    s.leafBase = leafBase;
    s.stats = w.m_arrPartStats.data();
    s.listCapacity = std::min(leaves, w.m_nGroupLeafLimit);
    w.m_arrLeafLists.resize(static_cast<size_t>(parts) * s.listCapacity);
    s.leafLists = w.m_arrLeafLists.data();

    w.Run(&FirstPass, &s, parts);

    double box[kStatCount];
    std::copy(s.stats, s.stats + kStatCount, box);
    for (int part = 1; part < parts; ++part) {
        const double* p = s.stats + part * kStatCount;
        box[kMinX] = std::min(box[kMinX], p[kMinX]);
        box[kMaxX] = std::max(box[kMaxX], p[kMaxX]);
        box[kMinY] = std::min(box[kMinY], p[kMinY]);
        box[kMaxY] = std::max(box[kMaxY], p[kMaxY]);
        box[kMinZ] = std::min(box[kMinZ], p[kMinZ]);
        box[kMaxZ] = std::max(box[kMaxZ], p[kMaxZ]);
        box[kMaxAbs] = std::max(box[kMaxAbs], p[kMaxAbs]);
        box[kFinite] = std::min(box[kFinite], p[kFinite]);
    }
    // Every difference of two coordinates is at most the extent, after
    // rounding too, so this bounds every squared distance of the step. Below
    // the largest double, a point has a nearest candidate exactly when it
    // has a candidate; the bounds above also rely on nothing overflowing.
    const double ex = box[kMaxX] - box[kMinX];
    const double ey = box[kMaxY] - box[kMinY];
    const double ez = box[kMaxZ] - box[kMinZ];
    const double extent2 = ex * ex + ey * ey + ez * ez;
    if (box[kFinite] == 0.0 || !(extent2 < vek::kLargestDouble)) {
        RelaxStep(x, y, z, thickness, window, nx, ny, nz);
        return;
    }
    s.margin = std::ldexp(box[kMaxAbs], -36) + kBoundFloor;

    // Prefix sums twice round the curve, so that every window, forwards or
    // backwards, is the difference of two of them.
    double* q = s.prefix;
    q[0] = 0.0;
    for (long long k = 0; k + 1 < 2LL * n; ++k)
        q[k + 1] = q[k] + s.segment[k < n ? k : k - n];
    // Any sum of these non-negative lengths, in any order, is within
    // about (number of terms) * roundoff * total of the exact sum: both the
    // difference of two prefix sums and the sequential sum of a window are
    // within `error` of the exact window length.
    const double total = q[2LL * n - 1];
    const double error = total * kRoundoff * (6.0 * n + 2.0);
    const double spread = 2.0 * error + 4.0 * kRoundoff * std::fabs(window);
    s.surelyAbove = window + spread;
    s.surelyBelow = window - spread;
    s.bestStart = std::min(PushLimit2(thickness), vek::kLargestDouble);

    BuildInnerNodes(s);

    w.Run(&SecondPass, &s, parts);

    // The centroid, summed in index order on one thread as RelaxStep sums it.
    RecentreCurve(nx, ny, nz, x, y, z);
}
