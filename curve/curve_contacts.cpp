#include "curve/curve_contacts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/curve_metrics.h"
#include "curve/curve_polygon.h"
#include "curve/relax_step.h"
#include "curve/vec_math.h"
#include "curve/window_counts.h"
#include "geom/parallel.h"
#include "geom/segment_tree.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// One block's share: the contact pairs, and the squared distances of its
// nearest contact pair and of its nearest non-local pair.
struct Part {
    long long count = 0;
    double contact2 = kInfinity;
    double nonLocal2 = kInfinity;
};

// Squared distances between a point of box a and a point of box b: no pair
// comes nearer than BoxGapSquared or lies farther than BoxSpanSquared. The
// terms are those of Distance2 for such a pair, each no smaller (no larger)
// after rounding.
double BoxGapSquared(const vek::Box3& a, const vek::Box3& b)
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

double BoxSpanSquared(const vek::Box3& a, const vek::Box3& b)
{
    double sum = 0.0;
    for (int k = 0; k < 3; ++k) {
        const double d = std::max(b.hi[k] - a.lo[k], a.hi[k] - b.lo[k]);
        sum += d * d;
    }
    return sum;
}

// The longest windows of the curve, in points.
struct LongestWindows {
    int fwd, bwd;
};

LongestWindows LongestOf(const std::vector<int>& fwd, const std::vector<int>& bwd)
{
    return {*std::max_element(fwd.begin(), fwd.end()), *std::max_element(bwd.begin(), bwd.end())};
}

// The count's search from a group of consecutive points g0 ... g1 (a
// single point where the group's windows have no common part): every pair
// (i, j) of a point i of the group and a later point j of the curve.
class GroupSearch {
public:
    GroupSearch(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const std::vector<int>& fwd,
                const std::vector<int>& bwd, double reach, Part& part)
        : m_x(x), m_y(y), m_z(z), m_fwd(fwd), m_bwd(bwd), m_n(x.GetSize()), m_reach(reach), m_part(part),
          m_longest(LongestOf(fwd, bwd))
    {
    }

    // Whether g0 ... g1 can be searched as one: the windows of its points
    // share a part around g0 (then kept as m_before, m_after).
    bool Start(int g0, int g1)
    {
        m_g0 = g0;
        m_g1 = g1;
        int lo = g0 - m_n, hi = g0 + m_n;
        for (int i = g0; i <= g1; ++i) {
            if (static_cast<long long>(m_fwd[i]) + m_bwd[i] > m_n)
                return false;  // i has no candidate
            lo = std::max(lo, i - (m_bwd[i] - 1));
            hi = std::min(hi, i + m_fwd[i] - 1);
        }
        m_before = g0 - lo;
        m_after = hi - g0;
        if (m_before < 0 || m_after < 0 || m_before + m_after >= m_n)
            return false;
        for (int k = 0; k < 3; ++k) {
            const CDoubleArray& c = k == 0 ? m_x : k == 1 ? m_y : m_z;
            m_box.lo[k] = m_box.hi[k] = c[g0];
            for (int i = g0 + 1; i <= g1; ++i) {
                m_box.lo[k] = std::min(m_box.lo[k], c[i]);
                m_box.hi[k] = std::max(m_box.hi[k], c[i]);
            }
        }
        return true;
    }

    void Run(const vek::SegmentTree& tree)
    {
        tree.Search([this](const vek::Box3& box, int first, int last) { return Enter(box, first, last); },
                    [this](int j) { Visit(j); });
    }

private:
    bool Enter(const vek::Box3& box, int first, int last)
    {
        // A box whose (rounded) squared gap is not below the slightly
        // widened reach squared holds no point closer than reach: that gap
        // is never larger than the distance of a pair, and the widening
        // covers the rounding of the squares. A run inside the windows of
        // every point of the group holds no candidate.
        const int a = std::max(first, m_g0 + 1);
        if (last < a)
            return false;
        const double near2 = BoxGapSquared(m_box, box);
        if (!(near2 < m_reach2) || vek::RunInsideCyclicRange(a, last, m_g0, m_n, m_before, m_after))
            return false;
        // Offsets first - g1 ... last - g0: all outside the window of every
        // point of the group and every point of the run (no window is longer
        // than the longest), and every pair nearer than the reach: all are
        // contacts.
        const bool allCandidates = first > m_g1 && first - m_g1 >= std::max(m_longest.fwd, m_longest.bwd) &&
                                   last - m_g0 <= m_n - std::max(m_longest.fwd, m_longest.bwd);
        if (!allCandidates)
            return true;
        const double far2 = BoxSpanSquared(m_box, box);
        if (!(far2 < m_reach2Inside) && !(far2 < m_reach2 && std::sqrt(far2) < m_reach))
            return true;
        m_part.count += static_cast<long long>(m_g1 - m_g0 + 1) * (last - first + 1);
        if (near2 < m_part.contact2) {
            for (int i = m_g0; i <= m_g1; ++i)
                for (int j = first; j <= last; ++j) {
                    const double d2 = Distance2(m_x, m_y, m_z, j, i);
                    m_part.contact2 = std::min(m_part.contact2, d2);
                    m_part.nonLocal2 = std::min(m_part.nonLocal2, d2);
                }
        }
        return false;
    }

    void Visit(int j)
    {
        for (int i = m_g0; i <= m_g1 && i < j; ++i) {
            if (!IsWindowCandidate(i, j, m_n, m_fwd[i], m_bwd[i]))
                continue;
            const double d2 = Distance2(m_x, m_y, m_z, j, i);
            // A pair of points that are candidates of each other: a contact
            // below the reach, and a non-local pair in any case.
            if (IsWindowCandidate(j, i, m_n, m_fwd[j], m_bwd[j]) && std::sqrt(d2) < m_reach) {
                ++m_part.count;
                m_part.contact2 = std::min(m_part.contact2, d2);
            }
            m_part.nonLocal2 = std::min(m_part.nonLocal2, d2);
        }
    }

    const CDoubleArray &m_x, &m_y, &m_z;
    const std::vector<int>&m_fwd, &m_bwd;
    const int m_n;
    const double m_reach;
    const double m_reach2 = m_reach * m_reach * (1.0 + 1e-12);
    // Below this every square root is below the reach, with room for the
    // rounding of the squares.
    const double m_reach2Inside = m_reach * m_reach * (1.0 - 1e-12);
    Part& m_part;
    const LongestWindows m_longest;
    int m_g0 = 0, m_g1 = 0, m_before = 0, m_after = 0;
    vek::Box3 m_box{};
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
    const vek::SegmentTree tree(CurvePolygon(x, y, z));
    // Blocks of points side by side, searched in groups of a few points; a
    // count and a minimum do not depend on the order in which the blocks
    // are added up.
    constexpr int kGrain = 512;
    constexpr int kGroup = 8;
    std::vector<Part> found(static_cast<size_t>(vek::BlockCount(n, kGrain)));
    vek::ForEachBlock(n, kGrain, [&](int begin, int end, int block) {
        GroupSearch search(x, y, z, fwd, bwd, reach, found[static_cast<size_t>(block)]);
        for (int g0 = begin; g0 < end; g0 += kGroup) {
            const int g1 = std::min(end, g0 + kGroup) - 1;
            if (search.Start(g0, g1)) {
                search.Run(tree);
                continue;
            }
            for (int i = g0; i <= g1; ++i)
                if (search.Start(i, i))
                    search.Run(tree);
        }
    });
    double contact2 = kInfinity, nonLocal2 = kInfinity;
    for (const Part& part : found) {
        contacts.count += part.count;
        contact2 = std::min(contact2, part.contact2);
        nonLocal2 = std::min(nonLocal2, part.nonLocal2);
    }
    contacts.nearest = std::sqrt(contact2);
    // The nearest pair seen here is a non-local pair of the curve: the
    // search for the curve's nearest starts from it.
    contacts.nonLocal = MinNonLocalDistance(x, y, z, window, nonLocal2);
    return contacts;
}
