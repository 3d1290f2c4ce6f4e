// Small measures of a closed polygon held as interleaved vertices
// (x0, y0, z0, x1, ...), model units.
#pragma once

#include <vector>

namespace vek {

struct Coordinates {
    std::vector<double> x, y, z;
};

// Interleaves three coordinate arrays of equal size, and splits them again.
std::vector<double> Interleave(const std::vector<double>& x, const std::vector<double>& y,
                               const std::vector<double>& z);
Coordinates SplitCoordinates(const std::vector<double>& points);

// Sum of the edge lengths, the closing edge included.
double PolygonLength(const std::vector<double>& points);

// min(|e_{i-1}|, |e_i|) / (2 tan(theta_i / 2)) at vertex i, theta_i the
// turning angle; +infinity where the polygon does not turn, 0 where it turns
// back on itself or an edge has no length.
double VertexMinRad(const std::vector<double>& points, int i);

// The same for the corner p1 between p0 and p2 (three coordinates each).
double CornerMinRad(const double* p0, const double* p1, const double* p2);

// One side of that minimum: |p1 - p0| / (2 tan(theta / 2)) for the edge
// before the corner, |p2 - p1| / (2 tan(theta / 2)) for the edge after it.
// Each side is smooth where it is finite; MinRad is not where the two edges
// have equal length.
enum class CornerEdge { Before, After };
double CornerEdgeRad(const double* p0, const double* p1, const double* p2, CornerEdge edge);

// The smallest VertexMinRad, and how many vertices have one at most `bound`.
double MinRadius(const std::vector<double>& points);
int CountMinRadBelow(const std::vector<double>& points, double bound);

}  // namespace vek
