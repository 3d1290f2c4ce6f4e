// The limits of a relaxation run: what the resampling before a run's
// iterations may make of a curve, and what a run may be started on. One
// verdict names the limit that was broken, so that whoever tells the user
// tells what was decided.
#pragma once

#include "curve/double_array.h"

namespace vek {

// The fewest points of a closed curve that a file may load as the sketch:
// with one or two points there is no loop to relax.
inline constexpr int kMinClosedCurvePoints = 3;

// The lowest precision at which a guarded run keeps the strands of a knot
// apart. The relaxation pushes a point only away from another point closer
// than the thickness, so the strands hold each other only while the points
// stand close enough along them; at a coarse spacing a strand pulled
// through a tight bend moves past another between two of its points.
// Relaxing every example (and the trefoil tightened at precision 1) for
// 6,000 iterations with the knot identified
// after every block of 30, the knot changed at every precision up to 0.4
// (the spacing 0.019, 0.625 thickness) in one example or another, and was
// kept in all of them from 0.45 on; the limit leaves that margin once more.
inline constexpr double kMinGuardedPrecision = 0.5;

// A run's curve grows while the pushes open up contacts: the tightened
// trefoil (length 0.4884) grows by 0.9 % in 3,000 iterations at precision
// 10, and by 3.7 % in the first 30 iterations at precision 10,000. Start
// refuses a curve whose point count at its present length, times this
// factor, exceeds kMaxCurvePoints, so that a run does not reach the limit
// (and the size at which every block takes seconds) part-way.
inline constexpr double kRunGrowthMargin = 1.1;

}  // namespace vek

// Which limit a run broke.
enum class RunLimit {
    None,           // within every limit
    NoCurve,        // (Start) no points, or a curve that resamples to none
    TooCoarse,      // (guarded run) the precision is below vek::kMinGuardedPrecision
    TooFewPoints,   // a curve of at least vek::kMinRunPoints points would keep fewer
    TooManyPoints,  // more than vek::kMaxCurvePoints (at Start: with the growth
                    // margin), or a length that is not finite
};

// The verdict for the resampling before a run's next iterations, from
// ResampleCount: TooManyPoints, TooFewPoints or None. A curve that has fewer
// than vek::kMinRunPoints points to begin with (a sketch of one or two
// clicks) is not held to TooFewPoints.
RunLimit ResampleLimit(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                       double precision);

// When a guarded run (the desktop program's) is judged.
enum class RunMoment {
    Start,     // before the run begins
    Resample,  // before each resampling of the run
};

// The verdict for a guarded run, in this order: at Start NoCurve when the
// curve has no points; TooCoarse; at Start NoCurve when ResampleCount gives
// no points, and TooManyPoints when ResampleCount times
// vek::kRunGrowthMargin exceeds vek::kMaxCurvePoints; then ResampleLimit.
RunLimit GuardedRunLimit(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                         double precision, RunMoment moment);
