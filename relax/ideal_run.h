// vek-relax --ideal: the tight start, the ideal-knot optimiser and the
// certificate of what is written, with its summary.
#pragma once

#include <functional>
#include <string>

#include "curve/double_array.h"
#include "ideal/optimise_ideal.h"

namespace vek {

// The input counts as tight when its smallest non-local distance lies within
// this fraction of the tube thickness 0.03 and its certified ropelength is
// at most kTightRopelengthFactor times length / 0.03: a relaxed or optimised
// knot at the desktop program's thickness. Anything else is relaxed until
// tight first.
inline constexpr double kTightDistanceTolerance = 0.03;
inline constexpr double kTightRopelengthFactor = 1.05;

struct IdealRunOptions {
    // 0: the default count (DefaultIdealVertices).
    int vertices = 0;
    double precision = 1.0;
    long long maxRelaxIterations = 1000000;
    // The optimiser's time limit in seconds (IdealOptions::maxSeconds).
    double timeLimit = kDefaultIdealSeconds;
    // Told after every solver iteration; may be empty.
    std::function<void(const IdealProgress&)> progress;
    // Asked between solver iterations (IdealOptions::cancelled); may be empty.
    std::function<bool()> cancelled;
    // Where the polygon goes (empty: standard output); its format's
    // rounding is applied before the certificate.
    std::string output;
};

struct IdealRun {
    // False with `error` set when the input's knot type cannot be told or
    // no certified polygon of it was found (x, y, z then hold what the
    // relaxation left and are not to be written).
    bool ok = false;
    std::string error;
    KnotType inputKnot;
    // The ordinary relaxation ran first, for this many iterations.
    bool relaxed = false;
    long long relaxIterations = 0;
    IdealResult result;
    double seconds = 0.0;
    // Which of how many starts gave the result (RunIdealFromLayouts; one
    // start otherwise).
    int start = 1;
    int starts = 1;
};

// In:  x, y, z: the curve as read (model units); options.
// Out: the run; when ok, x, y, z hold the certified polygon (2 * thickness
//      >= 0.03, the input's knot type).
IdealRun RunIdeal(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, const IdealRunOptions& options);

// The summary lines: knot, vertices, length, certified thickness,
// ropelength, the active struts and curvature constraints, iterations
// (relaxation and solver) and time, and what stopped the optimiser; the
// starts when there were more than one.
std::string FormatIdealSummary(const IdealRun& run);

// The same as one JSON object on one line: keys knot, vertices, length,
// thickness (certified radius), ropelength, struts, curvature_constraints,
// relax_iterations, iterations, levels, fell_back, stopped_by (IdealStopName),
// start, starts, seconds.
std::string FormatIdealJson(const IdealRun& run);

// A progress line for standard error ("\r" first, no new line).
std::string FormatIdealProgress(const IdealProgress& progress);

}  // namespace vek
