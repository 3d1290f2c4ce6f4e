#include "curve/curve_contacts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/curve_metrics.h"
#include "curve/point_groups.h"
#include "curve/relax_step.h"
#include "curve/vec_math.h"
#include "curve/window_counts.h"
#include "geom/parallel.h"
#include "geom/segment_tree.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int kLeafPoints = 8;

// One block's share: the contacts seen from its points (each pair is seen
// from both of its points) and the squared distance of the nearest contact
// among those it measured.
struct Part {
    long long ordered = 0;
    double measured2 = kInfinity;
};

// A box hierarchy over runs of consecutive points (not segments): node k
// holds points first ... last, their box and the longest windows among
// them, so that a run is known to hold only mutual candidates of a point
// without visiting it. Node 1 is the root, the children of k are 2k and
// 2k + 1, leaf l is node leafBase + l.
class PointTree {
public:
    PointTree(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const std::vector<int>& fwd,
              const std::vector<int>& bwd)
        : m_x(x), m_y(y), m_z(z), m_fwd(fwd), m_bwd(bwd), m_n(x.GetSize())
    {
        const int leaves = (m_n + kLeafPoints - 1) / kLeafPoints;
        while (m_leafBase < leaves)
            m_leafBase *= 2;
        m_nodes.resize(2 * static_cast<size_t>(m_leafBase));
        for (int leaf = 0; leaf < leaves; ++leaf) {
            Node& c = m_nodes[m_leafBase + leaf];
            c.first = leaf * kLeafPoints;
            c.last = std::min(m_n, c.first + kLeafPoints) - 1;
            for (int a = 0; a < 3; ++a) {
                const CDoubleArray& v = Axis(a);
                c.box.lo[a] = c.box.hi[a] = v[c.first];
                for (int k = c.first + 1; k <= c.last; ++k) {
                    c.box.lo[a] = std::min(c.box.lo[a], v[k]);
                    c.box.hi[a] = std::max(c.box.hi[a], v[k]);
                }
            }
            for (int k = c.first; k <= c.last; ++k) {
                c.maxFwd = std::max(c.maxFwd, fwd[k]);
                c.maxBwd = std::max(c.maxBwd, bwd[k]);
            }
        }
        for (int k = m_leafBase - 1; k >= 1; --k) {
            Node& c = m_nodes[k];
            const Node& l = m_nodes[2 * k];
            const Node& r = m_nodes[2 * k + 1];
            if (r.first > r.last) {
                c = l;
                continue;
            }
            c.first = l.first;
            c.last = r.last;
            for (int a = 0; a < 3; ++a) {
                c.box.lo[a] = std::min(l.box.lo[a], r.box.lo[a]);
                c.box.hi[a] = std::max(l.box.hi[a], r.box.hi[a]);
            }
            c.maxFwd = std::max(l.maxFwd, r.maxFwd);
            c.maxBwd = std::max(l.maxBwd, r.maxBwd);
        }
    }

    // The pairs (i, j), i in the group g0 ... g1 of consecutive points with
    // a candidate each, j != i any point, that are candidates of each other
    // (both windows) and lie closer than reach. A run that holds only such
    // points for every point of the group is counted by its length; the
    // rest is walked down to pairs. measured2 falls to the squared distance
    // of each pair measured on the way, all of them contacts.
    long long CountNear(int g0, int g1, double within2, double& measured2) const
    {
        const vek::Box3 group = GroupBox(g0, g1);
        int groupFwd = 0, groupBwd = 0;
        for (int i = g0; i <= g1; ++i) {
            groupFwd = std::max(groupFwd, m_fwd[i]);
            groupBwd = std::max(groupBwd, m_bwd[i]);
        }
        long long count = 0;
        Walk(g0, g1, group, within2, [&](const Node& c) {
            if (!(SpanSquared(group, c.box) <= within2))
                return true;
            if (!RunMutualToGroup(c, g0, g1, groupFwd, groupBwd))
                return true;
            count += static_cast<long long>(c.last - c.first + 1) * (g1 - g0 + 1);
            // One of the run's pairs, for a bound on the nearest that is
            // close to it: the runs nearest to the group are counted whole.
            measured2 = std::min(measured2, Distance2(m_x, m_y, m_z, c.first, g0));
            return false;
        }, [&](int j) {
            // A point of a run the walk could not decide: against the
            // group's box first, which decides most of them; the pairs of
            // the rest one by one.
            const vek::Box3 point = PointBox(j);
            if (!(GapSquared(group, point) <= within2))
                return;
            const bool mutual = RunMutualToGroup(LeafOf(j), g0, g1, groupFwd, groupBwd);
            if (mutual && SpanSquared(group, point) <= within2) {
                count += g1 - g0 + 1;
                measured2 = std::min(measured2, Distance2(m_x, m_y, m_z, j, g0));
                return;
            }
            for (int i = g0; i <= g1; ++i) {
                const double d2 = Distance2(m_x, m_y, m_z, j, i);
                if (d2 <= within2 && (mutual || IsMutual(i, j))) {
                    ++count;
                    measured2 = std::min(measured2, d2);
                }
            }
        });
        return count;
    }

    // The smallest squared distance below best2 from a point of the group
    // to a mutual candidate within within2; best2 when there is none.
    double Nearest(int g0, int g1, double within2, double best2) const
    {
        const vek::Box3 group = GroupBox(g0, g1);
        Walk(g0, g1, group, within2, [&](const Node& c) { return !(GapSquared(group, c.box) > best2); },
             [&](int j) {
                 for (int i = g0; i <= g1; ++i) {
                     const double d2 = Distance2(m_x, m_y, m_z, j, i);
                     if (d2 < best2 && d2 <= within2 && IsMutual(i, j))
                         best2 = d2;
                 }
             });
        return best2;
    }

    // Whether i and j are candidates of each other.
    bool IsMutual(int i, int j) const
    {
        return j != i && IsWindowCandidate(i, j, m_n, m_fwd[i], m_bwd[i]) &&
               IsWindowCandidate(j, i, m_n, m_fwd[j], m_bwd[j]);
    }

private:
    struct Node {
        vek::Box3 box{};
        int first = 1, last = 0;  // empty
        int maxFwd = 0, maxBwd = 0;
    };

    const CDoubleArray& Axis(int a) const { return a == 0 ? m_x : a == 1 ? m_y : m_z; }

    vek::Box3 PointBox(int j) const { return {{m_x[j], m_y[j], m_z[j]}, {m_x[j], m_y[j], m_z[j]}}; }

    // Point j as a run of its own, with its windows.
    Node LeafOf(int j) const
    {
        Node c;
        c.first = c.last = j;
        c.maxFwd = m_fwd[j];
        c.maxBwd = m_bwd[j];
        return c;
    }

    // Whether every point j of the run has every point i of the group as a
    // candidate and the other way round: the offset t of j from i keeps i
    // beyond both of j's windows, bwd[j] <= t <= n - fwd[j], and j beyond
    // i's. Where the group's offsets to the run's start do not wrap round
    // the curve, the group's longest windows decide for all its points at
    // once when they let the run through; otherwise point by point.
    bool RunMutualToGroup(const Node& c, int g0, int g1, int groupFwd, int groupBwd) const
    {
        const long long span = c.last - c.first;
        const auto offset = [&](int i) {
            long long a = static_cast<long long>(c.first) - i;
            return a < 0 ? a + m_n : a;
        };
        const long long high = offset(g0), low = offset(g1);
        if (high - low == g1 - g0 && high + span < m_n && low >= std::max(groupFwd, c.maxBwd) &&
            high + span <= m_n - std::max(groupBwd, c.maxFwd))
            return true;
        for (int i = g0; i <= g1; ++i) {
            const long long a = offset(i);
            if (!(a + span < m_n && a >= std::max(m_fwd[i], c.maxBwd) &&
                  a + span <= m_n - std::max(m_bwd[i], c.maxFwd)))
                return false;
        }
        return true;
    }

    vek::Box3 GroupBox(int g0, int g1) const { return vek::PointsBox(m_x, m_y, m_z, g0, g1); }

    // Squared distances between a point of box a and a point of box b: no
    // pair comes nearer than GapSquared (vek::BoxGapSquared) or lies
    // farther than SpanSquared. The terms are those of Distance2 for such a
    // pair, each, after rounding, no larger (no smaller).
    static double GapSquared(const vek::Box3& a, const vek::Box3& b) { return vek::BoxGapSquared(a, b); }

    static double SpanSquared(const vek::Box3& a, const vek::Box3& b)
    {
        double sum = 0.0;
        for (int k = 0; k < 3; ++k) {
            const double d = std::max(b.hi[k] - a.lo[k], a.hi[k] - b.lo[k]);
            sum += d * d;
        }
        return sum;
    }

    // A depth-first walk of the nodes that may hold a mutual candidate of a
    // point of the group closer than reach: not inside the windows of every
    // point of the group, the boxes' gap below the reach. inner(node) says
    // whether to go on into a node; visit(j) takes the points of the leaves
    // reached.
    template <class Inner, class Visit>
    void Walk(int g0, int g1, const vek::Box3& group, double within2, const Inner& inner, const Visit& visit) const
    {
        int stack[64];
        int top = 0;
        stack[top++] = 1;
        while (top > 0) {
            const int node = stack[--top];
            const Node& c = m_nodes[node];
            if (c.first > c.last || !(GapSquared(group, c.box) <= within2))
                continue;
            if (vek::RunInsideEveryWindow(c.first, c.last, g0, g1, m_n, m_fwd, m_bwd) || !inner(c))
                continue;
            if (node >= m_leafBase) {
                for (int j = c.first; j <= c.last; ++j)
                    visit(j);
                continue;
            }
            stack[top++] = 2 * node + 1;
            stack[top++] = 2 * node;
        }
    }

    const CDoubleArray &m_x, &m_y, &m_z;
    const std::vector<int>&m_fwd, &m_bwd;
    const int m_n;
    int m_leafBase = 1;
    std::vector<Node> m_nodes;
};

}  // namespace

CurveContacts CountCurveContacts(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                                 double reach)
{
    const int n = x.GetSize();
    CurveContacts contacts;
    contacts.nearest = kInfinity;
    contacts.nonLocal = kInfinity;
    if (n < 2)
        return contacts;
    // The windows of every point: the pair test needs both.
    std::vector<int> fwd, bwd;
    WindowCounts(x, y, z, window, fwd, bwd);
    const PointTree tree(x, y, z, fwd, bwd);
    const double within2 = SquaredWithin(reach);
    // Blocks of points side by side; a count and a minimum do not depend on
    // the order in which the blocks are added up.
    constexpr int kGrain = 512;
    std::vector<Part> found(static_cast<size_t>(vek::BlockCount(n, kGrain)));
    vek::ForEachBlock(n, kGrain, [&](int begin, int end, int block) {
        Part& part = found[static_cast<size_t>(block)];
        // Runs of up to 8 consecutive points that have candidates share a
        // walk.
        vek::ForEachCandidateGroup(begin, end, n, fwd, bwd, [&](int g0, int g1) {
            part.ordered += tree.CountNear(g0, g1, within2, part.measured2);
        });
    });
    long long ordered = 0;
    double measured2 = kInfinity;
    for (const Part& part : found) {
        ordered += part.ordered;
        measured2 = std::min(measured2, part.measured2);
    }
    // Each pair was counted from both of its points.
    contacts.count = ordered / 2;
    // The curve's nearest non-local pair, searched from the nearest contact
    // measured. Every contact is such a pair: when the nearest of all is a
    // contact it is the nearest contact too, and when it lies beyond the
    // reach there is none; only otherwise are the contacts searched for
    // their nearest.
    const NonLocalPair nonLocal = NearestNonLocalPair(x, y, z, fwd, bwd, measured2);
    contacts.nonLocal = std::sqrt(nonLocal.d2);
    double contact2 = kInfinity;
    if (contacts.nonLocal < reach && nonLocal.i >= 0 && tree.IsMutual(nonLocal.i, nonLocal.j)) {
        contact2 = nonLocal.d2;
    } else if (contacts.nonLocal < reach) {
        std::vector<double> nearest(found.size(), measured2);
        vek::ForEachBlock(n, kGrain, [&](int begin, int end, int block) {
            double& best2 = nearest[static_cast<size_t>(block)];
            vek::ForEachCandidateGroup(begin, end, n, fwd, bwd,
                                       [&](int g0, int g1) { best2 = tree.Nearest(g0, g1, within2, best2); });
        });
        for (const double d2 : nearest)
            contact2 = std::min(contact2, d2);
    }
    contacts.nearest = std::sqrt(contact2);
    return contacts;
}
