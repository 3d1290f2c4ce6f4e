// The descent direction of the ropelength descent in the metric of the
// length itself: the length's Hessian H penalises the zigzag of
// neighbouring vertices far more than a bend of the whole strand, so a
// plain gradient step is limited by the fastest zigzag and crawls along
// the slow bends; a step measured by H (plus a floor mu, for the moves
// along the polygon that do not change its length) moves all of them at
// one pace.
//   minimise 1/2 d' M d + g' d  over J d >= 0,  M = H + mu I,
// gives d = M^-1 (J' lambda - g), with the multipliers lambda >= 0 of the
// cone problem for the Gram matrix J M^-1 J'.
#pragma once

#include <functional>
#include <vector>

#include "ideal/cone_projection.h"
#include "ideal/thickness_constraints.h"

namespace vek {

// mu, in units of 1 / tube radius (the descent's scale).
inline constexpr double kLengthMetricFloor = 0.1;
// The metric's matrices are dense: m x m for the Gram matrix, 3 n x m for
// M^-1 J'. Beyond these sizes (thousands of vertices and constraints,
// hundreds of megabytes) the direction is the plain projection of
// SolveNonNegative instead, slower to converge but sparse.
inline constexpr int kLengthMetricConstraints = 3000;
inline constexpr double kLengthMetricEntries = 1.5e7;

struct MetricDirection {
    // 3 n coordinates; all zero when the polygon has an edge of length 0.
    std::vector<double> direction;
    // The multipliers (one per constraint) and what the solve took.
    ConeSolve cone;
};

// In:  points: n interleaved vertices (tube radius 1); constraints (m) and
//      gradient g (3 n) of the length at them; start, ordering, stop as for
//      SolveNonNegative.
// Out: the direction d and the multipliers (within the sizes above; beyond
//      them, d = J' lambda - g of the plain projection).
MetricDirection LengthMetricDirection(const std::vector<double>& points, const std::vector<Constraint>& constraints,
                                      const std::vector<double>& gradient, const std::vector<char>& start,
                                      ConeOrdering ordering, const std::function<bool()>& stop);

}  // namespace vek
