#include "curve/curve_contacts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/curve_metrics.h"
#include "curve/relax_step.h"
#include "curve/vec_math.h"
#include "curve/window_counts.h"
#include "geom/parallel.h"
#include "geom/segment_tree.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();
constexpr int kLeafPoints = 8;

// One block's share: the contacts seen from its points (each pair is seen
// from both of its points) and the squared distance of its nearest contact.
struct Part {
    long long ordered = 0;
    double contact2 = kInfinity;
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
    // rest is walked down to pairs.
    long long CountNear(int g0, int g1, double reach) const
    {
        const vek::Box3 group = GroupBox(g0, g1);
        long long count = 0;
        Walk(g0, g1, group, reach, [&](const Node& c) {
            // Every point j of the run has i as a candidate when its offset
            // t from i keeps i beyond both of j's windows: bwd[j] <= t <=
            // n - fwd[j]; i's own windows likewise.
            const long long span = c.last - c.first;
            for (int i = g0; i <= g1; ++i) {
                long long a = static_cast<long long>(c.first) - i;
                if (a < 0)
                    a += m_n;
                if (!(a + span < m_n && a >= std::max(m_fwd[i], c.maxBwd) &&
                      a + span <= m_n - std::max(m_bwd[i], c.maxFwd)))
                    return true;
            }
            if (!(std::sqrt(SpanSquared(group, c.box)) < reach))
                return true;
            count += (span + 1) * (g1 - g0 + 1);
            return false;
        }, [&](int j) {
            for (int i = g0; i <= g1; ++i)
                if (IsMutual(i, j) && std::sqrt(Distance2(m_x, m_y, m_z, j, i)) < reach)
                    ++count;
        });
        return count;
    }

    // The smallest squared distance below best2 from a point of the group
    // to a mutual candidate closer than reach; best2 when there is none.
    double Nearest(int g0, int g1, double reach, double best2) const
    {
        const vek::Box3 group = GroupBox(g0, g1);
        Walk(g0, g1, group, reach, [&](const Node& c) { return !(GapSquared(group, c.box) > best2); },
             [&](int j) {
                 for (int i = g0; i <= g1; ++i) {
                     const double d2 = Distance2(m_x, m_y, m_z, j, i);
                     if (d2 < best2 && IsMutual(i, j) && std::sqrt(d2) < reach)
                         best2 = d2;
                 }
             });
        return best2;
    }

private:
    struct Node {
        vek::Box3 box{};
        int first = 1, last = 0;  // empty
        int maxFwd = 0, maxBwd = 0;
    };

    const CDoubleArray& Axis(int a) const { return a == 0 ? m_x : a == 1 ? m_y : m_z; }

    bool IsMutual(int i, int j) const
    {
        return j != i && IsWindowCandidate(i, j, m_n, m_fwd[i], m_bwd[i]) &&
               IsWindowCandidate(j, i, m_n, m_fwd[j], m_bwd[j]);
    }

    vek::Box3 GroupBox(int g0, int g1) const
    {
        vek::Box3 box{};
        for (int a = 0; a < 3; ++a) {
            const CDoubleArray& v = Axis(a);
            box.lo[a] = box.hi[a] = v[g0];
            for (int k = g0 + 1; k <= g1; ++k) {
                box.lo[a] = std::min(box.lo[a], v[k]);
                box.hi[a] = std::max(box.hi[a], v[k]);
            }
        }
        return box;
    }

    // Squared distances between a point of box a and a point of box b: no
    // pair comes nearer than GapSquared or lies farther than SpanSquared.
    // The terms are those of Distance2 for such a pair, each, after
    // rounding, no smaller (no larger).
    static double GapSquared(const vek::Box3& a, const vek::Box3& b)
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
    void Walk(int g0, int g1, const vek::Box3& group, double reach, const Inner& inner, const Visit& visit) const
    {
        int stack[64];
        int top = 0;
        stack[top++] = 1;
        while (top > 0) {
            const int node = stack[--top];
            const Node& c = m_nodes[node];
            if (c.first > c.last || !(std::sqrt(GapSquared(group, c.box)) < reach))
                continue;
            bool excluded = true;
            for (int i = g0; i <= g1 && excluded; ++i)
                excluded = vek::RunInsideCyclicRange(c.first, c.last, i, m_n, m_bwd[i] - 1, m_fwd[i] - 1);
            if (excluded || !inner(c))
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
    // Blocks of points side by side; a count and a minimum do not depend on
    // the order in which the blocks are added up.
    constexpr int kGrain = 512;
    std::vector<Part> found(static_cast<size_t>(vek::BlockCount(n, kGrain)));
    vek::ForEachBlock(n, kGrain, [&](int begin, int end, int block) {
        Part& part = found[static_cast<size_t>(block)];
        // Runs of up to 8 consecutive points that have candidates share a
        // walk.
        constexpr int kGroup = 8;
        for (int g0 = begin; g0 < end;) {
            if (static_cast<long long>(fwd[g0]) + bwd[g0] > n) {
                ++g0;  // no candidate
                continue;
            }
            int g1 = g0;
            while (g1 + 1 < std::min(end, g0 + kGroup) && static_cast<long long>(fwd[g1 + 1]) + bwd[g1 + 1] <= n)
                ++g1;
            part.ordered += tree.CountNear(g0, g1, reach);
            part.contact2 = tree.Nearest(g0, g1, reach, part.contact2);
            g0 = g1 + 1;
        }
    });
    long long ordered = 0;
    double contact2 = kInfinity;
    for (const Part& part : found) {
        ordered += part.ordered;
        contact2 = std::min(contact2, part.contact2);
    }
    // Each pair was counted from both of its points.
    contacts.count = ordered / 2;
    contacts.nearest = std::sqrt(contact2);
    // The nearest contact is a non-local pair of the curve: the search for
    // the curve's nearest starts from it.
    contacts.nonLocal = MinNonLocalDistance(x, y, z, window, contact2);
    return contacts;
}
