#include "curve/curve_metrics.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/curve_polygon.h"
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
    const int n = x.GetSize();
    if (n < 2)
        return std::numeric_limits<double>::infinity();
    std::vector<int> fwd, bwd;
    WindowCounts(x, y, z, window, fwd, bwd);
    const vek::SegmentTree tree(CurvePolygon(x, y, z));
    // Blocks of points side by side, each with the squared distance of its
    // best pair, so that a box is passed over exactly when none of its
    // points can come closer (see below). The smallest of the blocks is the
    // curve's, whatever order they ran in. Every block starts from the
    // known pair, which is one of the pairs that the minimum is taken over.
    constexpr int kGrain = 512;
    std::vector<double> found(static_cast<size_t>(vek::BlockCount(n, kGrain)), known2);
    vek::ForEachBlock(n, kGrain, [&](int begin, int end, int block) {
        double best2 = known2;
        for (int i = begin; i < end; ++i) {
            if (static_cast<long long>(fwd[i]) + bwd[i] > n)
                continue;  // no candidate
            const double p[3] = {x[i], y[i], z[i]};
            tree.Search(
                [&](const vek::Box3& box, int first, int last) {
                    // The rounded distance to a box never exceeds the
                    // rounded distance to a point in it: same terms, each
                    // no larger.
                    return !(vek::BoxDistanceSquared(box, p) > best2) &&
                           !vek::RunInsideCyclicRange(first, last, i, n, bwd[i] - 1, fwd[i] - 1);
                },
                [&](int j) {
                    if (!IsWindowCandidate(i, j, n, fwd[i], bwd[i]))
                        return;
                    const double d2 = Distance2(x, y, z, j, i);
                    if (d2 < best2)
                        best2 = d2;
                });
        }
        found[static_cast<size_t>(block)] = best2;
    });
    double best2 = std::numeric_limits<double>::infinity();
    for (const double d2 : found)
        best2 = std::min(best2, d2);
    return std::sqrt(best2);
}
