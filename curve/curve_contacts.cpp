#include "curve/curve_contacts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/block_split.h"
#include "curve/curve_metrics.h"
#include "curve/relax_step.h"
#include "curve/segment_tree.h"
#include "curve/vec_math.h"
#include "curve/window_counts.h"

namespace {

constexpr double kInfinity = std::numeric_limits<double>::infinity();

// One block's share: the contact pairs, and the squared distances of its
// nearest contact pair and of its nearest non-local pair.
struct Part {
    long long count = 0;
    double contact2 = kInfinity;
    double nonLocal2 = kInfinity;
};

// The squared distance from p to the farthest corner of the box. The terms
// are those of Distance2 for a point in the box, each no smaller after
// rounding, so no point of the box lies farther.
double FarthestSquared(const vek::Box3& box, const double p[3])
{
    double sum = 0.0;
    for (int a = 0; a < 3; ++a) {
        const double d = std::max(p[a] - box.lo[a], box.hi[a] - p[a]);
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
    const LongestWindows longest = LongestOf(fwd, bwd);
    const size_t count = static_cast<size_t>(n);
    const vek::SegmentTree tree({x.GetData(), count}, {y.GetData(), count}, {z.GetData(), count});
    // Blocks of points side by side; a count and a minimum do not depend
    // on the order in which the blocks are added up.
    constexpr int kGrain = 512;
    const double reach2 = reach * reach * (1.0 + 1e-12);
    // Below this every square root is below the reach, with room for the
    // rounding of the squares.
    const double reach2Inside = reach * reach * (1.0 - 1e-12);
    std::vector<Part> found(static_cast<size_t>(vek::BlockCount(n, kGrain)));
    vek::ForEachBlock(n, kGrain, [&](int begin, int end, int block) {
        Part& part = found[static_cast<size_t>(block)];
        // A pair of points that are candidates of each other: a contact
        // below the reach, and a non-local pair in any case.
        const auto both = [&](double d2) {
            if (std::sqrt(d2) < reach) {
                ++part.count;
                part.contact2 = std::min(part.contact2, d2);
            }
            part.nonLocal2 = std::min(part.nonLocal2, d2);
        };
        for (int i = begin; i < end; ++i) {
            if (static_cast<long long>(fwd[i]) + bwd[i] > n)
                continue;  // no candidate
            const double p[3] = {x[i], y[i], z[i]};
            tree.Search(
                [&](const vek::Box3& box, int first, int last) {
                    // A box whose (rounded) squared distance is not below
                    // the slightly widened reach squared holds no point
                    // closer than reach: that distance is never larger than
                    // the one to a point inside, and the widening covers
                    // the rounding of the squares.
                    const int a = std::max(first, i + 1);
                    if (last < a)
                        return false;
                    const double near2 = vek::BoxDistanceSquared(box, p);
                    if (!(near2 < reach2) || vek::RunInsideCyclicRange(a, last, i, n, bwd[i] - 1, fwd[i] - 1))
                        return false;
                    // Offsets a - i ... last - i: all of them outside i's
                    // window, and i outside the window of each (no window
                    // is longer than the largest), and every point nearer
                    // than the reach: all are contacts.
                    const bool allCandidates = a - i >= fwd[i] && last - i <= n - bwd[i] && a - i >= longest.bwd &&
                                               last - i <= n - longest.fwd;
                    if (!allCandidates)
                        return true;
                    const double far2 = FarthestSquared(box, p);
                    if (!(far2 < reach2Inside) && !(far2 < reach2 && std::sqrt(far2) < reach))
                        return true;
                    part.count += last - a + 1;
                    if (near2 < part.contact2) {
                        for (int j = a; j <= last; ++j) {
                            const double d2 = Distance2(x, y, z, j, i);
                            part.contact2 = std::min(part.contact2, d2);
                            part.nonLocal2 = std::min(part.nonLocal2, d2);
                        }
                    }
                    return false;
                },
                [&](int j) {
                    if (j <= i || !IsWindowCandidate(i, j, n, fwd[i], bwd[i]))
                        return;
                    const double d2 = Distance2(x, y, z, j, i);
                    if (IsWindowCandidate(j, i, n, fwd[j], bwd[j]))
                        both(d2);
                    else
                        part.nonLocal2 = std::min(part.nonLocal2, d2);
                });
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
