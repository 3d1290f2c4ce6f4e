#include "curve/window_counts.h"

#include <cmath>

#include "curve/curve_polygon.h"
#include "curve/relax_step.h"
#include "curve/window_ends.h"
#include "geom/polygon_measures.h"

void WindowCounts(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                  std::vector<int>& fwd, std::vector<int>& bwd)
{
    const int n = x.GetSize();
    fwd.assign(static_cast<size_t>(n), 0);
    bwd.assign(static_cast<size_t>(n), 0);
    if (n == 0)
        return;
    // The segment lengths of the walk, then the window ends of every point
    // in turn, as the fast step reads them off the same prefix sums.
    const vek::PolygonView polygon = CurvePolygon(x, y, z);
    std::vector<double> segment(static_cast<size_t>(n));
    bool finite = std::isfinite(window);
    for (int k = 0; k < n; ++k) {
        segment[k] = vek::EdgeLength(polygon, k);
        finite = finite && std::isfinite(segment[k]);
    }
    if (!finite) {
        for (int i = 0; i < n; ++i) {
            fwd[i] = WindowSteps(x, y, z, i, +1, window);
            bwd[i] = WindowSteps(x, y, z, i, -1, window);
        }
        return;
    }
    std::vector<double> prefix(4 * static_cast<size_t>(n));
    const WindowSums sums = MakeWindowSums(segment.data(), prefix.data(), n, window);
    WindowEnds ends(sums, 0);
    for (int i = 0; i < n; ++i)
        ends.Next(i, fwd[i], bwd[i]);
}
