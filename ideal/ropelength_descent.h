// Constrained gradient descent of the ropelength of a closed polygon: each
// step projects the negative length gradient onto the cone of the active
// thickness constraints (struts and curvature at tube radius 1; the
// multipliers from a non-negative least-squares problem), in the metric of
// the length's own Hessian (LengthMetricDirection), moves along it,
// corrects back onto the constraints by the shortest linearised move, and
// rescales so that the certified thickness is 1 again. A step is taken only
// when the certified ropelength falls.
#pragma once

#include <functional>
#include <vector>

#include "geom/polygon.h"
#include "ideal/cone_projection.h"

namespace vek {

struct DescentOptions {
    long long maxSteps = 20000;
    // Stop when the certified ropelength fell by less than this fraction of
    // itself over the last kDescentWindow steps.
    double stallFraction = 2e-7;
    // Told every step: step, certified ropelength, largest violation
    // (relative to the radius) that the correction had to remove.
    std::function<void(long long, double, double)> progress;
    // Asked every checkEvery steps (and at the end) whether the polygon
    // still has its knot type; on false the descent ends with the last
    // polygon that had it. May be empty.
    std::function<bool(PolygonView)> keepsType;
    int checkEvery = 200;
    // Asked every step, and before every factorisation inside a step,
    // whether to stop (a time limit, the user); may be empty. Nothing else
    // the descent decides depends on anything but its input, so that the
    // same start and options give the same polygon on every machine.
    std::function<bool()> stop;
    ConeOrdering ordering = ConeOrdering::MinimumDegree;
};

inline constexpr int kDescentWindow = 100;

// Why a descent ended: the ropelength settled (the stall rule, or no step
// shortens any more), the step count ran out, `stop` said yes, or the knot
// type was lost.
enum class DescentEnd { Settled, Steps, Stopped, TypeLost };

struct DescentResult {
    // Interleaved vertices with certified thickness 1 (tube radius 1).
    std::vector<double> points;
    double ropelength = 0.0;  // length / 2, certified
    long long steps = 0;
    // Constraints with positive multipliers at the last step.
    int activeStruts = 0;
    int activeCurvature = 0;
    // keepsType said no once: points are the last polygon it accepted.
    bool typeLost = false;
    DescentEnd end = DescentEnd::Settled;
};

// In:  points: n >= 4 interleaved vertices with certified thickness > 0;
//      options.
// Out: the shortest polygon the descent reached, scaled to certified
//      thickness 1 (never longer than the start scaled the same way).
DescentResult DescendRopelength(std::vector<double> points, const DescentOptions& options);

}  // namespace vek
