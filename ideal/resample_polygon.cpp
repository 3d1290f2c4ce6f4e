#include "ideal/resample_polygon.h"

#include <cmath>

#include "geom/polygon_measures.h"

namespace vek {

std::vector<double> ResampleByArcLength(PolygonView polygon, int count)
{
    const int n = polygon.Size();
    std::vector<double> cumulative(static_cast<size_t>(n) + 1, 0.0);
    for (int i = 0; i < n; ++i)
        cumulative[i + 1] = cumulative[i] + EdgeLength(polygon, i);
    const double total = cumulative[n];
    if (n < 3 || count < 3 || !std::isfinite(total) || !(total > 0.0))
        return {};
    std::vector<double> out;
    out.reserve(static_cast<size_t>(count) * 3);
    int segment = 0;
    for (int k = 0; k < count; ++k) {
        const double at = total * k / count;
        while (segment + 1 < n && cumulative[segment + 1] <= at)
            ++segment;
        const double span = cumulative[segment + 1] - cumulative[segment];
        const double f = span > 0.0 ? (at - cumulative[segment]) / span : 0.0;
        const Vec3 p = polygon.Point(segment);
        const Vec3 q = polygon.Point(polygon.Next(segment));
        out.push_back(p.x + f * (q.x - p.x));
        out.push_back(p.y + f * (q.y - p.y));
        out.push_back(p.z + f * (q.z - p.z));
    }
    return out;
}

std::vector<double> RefinePolygon(PolygonView polygon, int count)
{
    std::vector<double> fine = PolygonPoints(polygon).Coordinates();
    while (static_cast<int>(fine.size() / 3) < 4 * count) {
        const int n = static_cast<int>(fine.size() / 3);
        std::vector<double> next(6 * static_cast<size_t>(n));
        for (int i = 0; i < n; ++i) {
            const int h = (i + n - 1) % n, j = (i + 1) % n, l = (i + 2) % n;
            for (int k = 0; k < 3; ++k) {
                next[6 * i + k] = fine[3 * i + k];
                next[6 * i + 3 + k] =
                    (-fine[3 * h + k] + 9.0 * fine[3 * i + k] + 9.0 * fine[3 * j + k] - fine[3 * l + k]) / 16.0;
            }
        }
        fine = std::move(next);
    }
    return ResampleByArcLength(PolygonView::Interleaved(fine), count);
}

}  // namespace vek
