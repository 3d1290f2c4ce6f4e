// The fixed constants of the relaxation and the tube. None of them is a
// setting: the program never changes them.
#pragma once

namespace vek {

// Tube thickness (diameter) in model units.
inline constexpr double kThickness = 0.03;
// Each neighbour pulls a point by this fraction of the difference.
inline constexpr double kPull = 0.2;
// Exclusion window along the curve, as a multiple of the thickness
// (1.57 exactly, not pi / 2).
inline constexpr double kWindowFactor = 1.57;
// Resampling spacing as a fraction of the thickness, before the precision.
inline constexpr double kSpacingFactor = 0.25;
// Thickness and precision are clamped below at this value when resampling.
inline constexpr double kSpacingClamp = 0.01;
// The most points a resampling may produce. Beyond it the curve and tube
// arrays would take gigabytes (30 tube vertices of three doubles per point)
// and every n-squared iteration would take minutes, so the resampling
// refuses and leaves the curve as it is.
inline constexpr int kMaxCurvePoints = 1000000;
// The fewest points a run's resampling may leave of a curve that has at
// least as many: below it the curve has collapsed (the spacing exceeds what
// the relaxation can hold up) and the run stops, keeping the points it had.
inline constexpr int kMinRunPoints = 4;
// The fewest points a curve file must yield for the tools to take it as a
// closed space curve; fewer (a point, a segment, a triangle) are refused.
inline constexpr int kMinCurveFilePoints = 4;
// Iterations between resampling, tube rebuild, repaint and message drain.
inline constexpr int kRunPeriod = 30;
// Vertices per tube ring.
inline constexpr int kRingSegments = 30;
// The largest finite double: the start of every nearest-point search.
inline constexpr double kLargestDouble = 1.7976931348623157e308;
// The precision at start-up, after Reset and after loading a file.
inline constexpr double kDefaultPrecision = 1.0;
// Depth given to sketched points at start-up.
inline constexpr double kDefaultPenDepth = 0.1;
// Display thickness factor at start-up.
inline constexpr double kDefaultTubeScale = 1.0;
// Tube colours, 0x00BBGGRR (red in the low byte).
inline constexpr unsigned kColorWhite = 0x00FFFFFF;
inline constexpr unsigned kColorPink = 0x00CCAAFF;
inline constexpr unsigned kColorCyan = 0x00FFCCAA;

}  // namespace vek
