// The toolkit-free part of vek-relax, the command-line companion: argument
// parsing, the relaxation schedule of a run and the summary it prints.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "curve/double_array.h"

namespace vek {

// Iteration counts above this are refused as a mistake: at the usual point
// counts they would run for weeks.
inline constexpr long long kMaxRelaxIterations = 1000000000;

struct RelaxOptions {
    std::string input;
    // Empty: write to standard output.
    std::string output;
    long long iterations = 0;
    double precision = 1.0;
    bool help = false;
};

// Parses the arguments after the program name:
//   INPUT [--iterations N] [--precision P] [--output FILE] | --help
// Options also take the form --name=value; "--" ends the options. N is a
// whole number 0 ... kMaxRelaxIterations, P a finite number above 0. Returns
// false with a one-line `error` for anything else (unknown option, missing
// value, no INPUT or more than one). With --help (or -h) anywhere, returns
// true with options.help set and nothing else checked.
bool ParseRelaxArguments(const std::vector<std::string>& args, RelaxOptions& options, std::string& error);

// The usage text for --help.
std::string RelaxUsage();

// Runs `iterations` iterations with the schedule of the desktop program's
// run loop: resample() when the iteration counter (0 at the start) is a
// multiple of the run period, that is before iterations 1, 31, 61, ...,
// then step(). Stops early when resample() returns false. Returns the number
// of iterations done (less than `iterations` only after such a refusal).
long long RunRelaxSchedule(long long iterations, const std::function<bool()>& resample,
                           const std::function<void()>& step);

// Relaxes the curve x, y, z (model units) for `iterations` iterations with
// the given tube thickness and resampling precision; the exclusion window
// is computed once. Returns the number of iterations done: less than
// `iterations` when a resampling refused because the curve would have more
// than vek::kMaxCurvePoints points (the curve is then left as it was after
// the last completed iteration).
long long RelaxCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long iterations, double thickness,
                     double precision);

// The summary lines: point count, curve length, length / thickness, the
// smallest non-local distance / thickness ("none" when no two points are
// outside each other's window) and the time the iterations took.
std::string RelaxSummary(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                         long long iterations, double seconds);

}  // namespace vek
