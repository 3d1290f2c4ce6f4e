#include "curve/curve_metrics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/curve_polygon.h"
#include "curve/point_groups.h"
#include "curve/relax_step.h"
#include "curve/vec_math.h"
#include "curve/window_counts.h"
#include "geom/parallel.h"
#include "geom/polygon_measures.h"
#include "geom/segment_tree.h"

double CurveLength(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    return vek::PolygonLength(CurvePolygon(x, y, z));
}

double MinNonLocalDistance(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                           double known2)
{
    if (x.GetSize() < 2)
        return std::numeric_limits<double>::infinity();
    std::vector<int> fwd, bwd;
    WindowCounts(x, y, z, window, fwd, bwd);
    return std::sqrt(NearestNonLocalPair(x, y, z, fwd, bwd, known2).d2);
}

NonLocalPair NearestNonLocalPair(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                                 const std::vector<int>& fwd, const std::vector<int>& bwd, double known2)
{
    const int n = x.GetSize();
    if (n < 2)
        return {};
    const vek::SegmentTree tree(CurvePolygon(x, y, z));
    // Blocks of points side by side, each with its best pair, so that a box
    // is passed over exactly when none of its points can come closer (see
    // below). The smallest of the blocks, the first of equals, is the
    // curve's, whatever order they ran in. Every block starts from the
    // known distance, which is that of one of the pairs the minimum is taken
    // over; a pair as near as it is still taken, so that its points are
    // known.
    constexpr int kGrain = 512;
    std::vector<NonLocalPair> found(static_cast<size_t>(vek::BlockCount(n, kGrain)));
    vek::ForEachBlock(n, kGrain, [&](int begin, int end, int block) {
        NonLocalPair best;
        best.d2 = known2;
        // Runs of up to 8 consecutive points with candidates share a walk:
        // a box is entered when the group's box comes near enough and some
        // point of the group lets it through its window.
        vek::ForEachCandidateGroup(begin, end, n, fwd, bwd, [&](int g0, int g1) {
            const vek::Box3 group = vek::PointsBox(x, y, z, g0, g1);
            tree.Search(
                [&](const vek::Box3& box, int first, int last) {
                    // The rounded gap between the boxes never exceeds the
                    // rounded distance of a pair in them: same terms, each
                    // no larger.
                    return !(vek::BoxGapSquared(group, box) > best.d2) &&
                           !vek::RunInsideEveryWindow(first, last, g0, g1, n, fwd, bwd);
                },
                [&](int j) {
                    for (int i = g0; i <= g1; ++i) {
                        if (!IsWindowCandidate(i, j, n, fwd[i], bwd[i]))
                            continue;
                        const double d2 = Distance2(x, y, z, j, i);
                        if (d2 < best.d2 || (d2 == best.d2 && best.i < 0))
                            best = {d2, i, j};
                    }
                });
        });
        found[static_cast<size_t>(block)] = best;
    });
    NonLocalPair best;
    for (const NonLocalPair& part : found)
        if (part.d2 < best.d2 || (part.d2 == best.d2 && best.i < 0))
            best = part;
    return best;
}
