// The toolkit-free part of vek-relax, the command-line companion: argument
// parsing, the relaxation schedule of a run and the summary it prints.
#pragma once

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "curve/curve_contacts.h"
#include "curve/double_array.h"

namespace vek {

// Iteration counts above this are refused as a mistake: at the usual point
// counts they would run for weeks.
inline constexpr long long kMaxRelaxIterations = 1000000000;
// Where --until-tight gives up when no --max-iterations is given.
inline constexpr long long kDefaultMaxIterations = 1000000;
// --until-tight compares the mean length of the last kTightSpan iterations
// (ten run periods, one length per period) with the mean of the kTightSpan
// before. A tight knot's length does not settle to a point: the resampling
// every period and the pushes at contact keep it trembling by about 0.1 %
// from one period to the next, far above kTightTolerance, so two single
// lengths agree within it only by chance. The run is therefore tight when
// the two means differ by less than kTightTolerance of the length, or by no
// more than kTightNoiseFactor standard errors of their difference: no trend
// is left that the trembling does not hide.
inline constexpr double kTightTolerance = 1e-5;
inline constexpr long long kTightSpan = 300;
inline constexpr double kTightNoiseFactor = 2.0;

struct RelaxOptions {
    std::string input;
    // Empty: write to standard output.
    std::string output;
    long long iterations = 0;
    double precision = 1.0;
    bool help = false;
    // Run until the length settles (RelaxUntilTight) instead of a fixed count.
    bool untilTight = false;
    long long maxIterations = kDefaultMaxIterations;
    // Tube mesh file (.obj, .stl or .ply); empty: none.
    std::string mesh;
    // Display factor of the exported tube's radius (thickness * scale / 2).
    double scale = 1.0;
    // When set, the mesh is scaled so that the tube is this many millimetres
    // thick (one mesh unit = 1 mm).
    std::optional<double> unitsMm;
    // The summary as one JSON object on standard output.
    bool json = false;
};

// Parses the arguments after the program name:
//   INPUT [--iterations N | --until-tight [--max-iterations M]]
//         [--precision P] [--output FILE] [--mesh FILE [--scale S]
//         [--units-mm W]] [--json] | --help
// Options also take the form --name=value; "--" ends the options. N and M
// are whole numbers 0 ... kMaxRelaxIterations, P, S and W finite numbers
// above 0. Returns false with a one-line `error` for anything else (unknown
// option, missing value, no INPUT or more than one) and for combinations
// that would silently do something else than asked: --iterations with
// --until-tight, --max-iterations without it, --scale or --units-mm without
// --mesh, a --mesh name whose extension is not .obj, .stl or .ply (checked
// here so that a long run does not end without its mesh), and --json
// without --output (the JSON goes to standard output, where the points
// would otherwise go too). With --help (or -h) anywhere, returns true with
// options.help set and nothing else checked.
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

struct TightRun {
    long long iterations = 0;
    // The length settled before the iteration limit.
    bool converged = false;
    // A block stopped short (a refused resampling).
    bool refused = false;
};

// The stopping rule of --until-tight, on any run: calls runBlock(count) for
// blocks of kRunPeriod iterations (the last one shorter if maxIterations is
// not a multiple), which returns the iterations it did, and length() after
// every block b = 1, 2, ... With k = kTightSpan / kRunPeriod (10), once
// b >= 2k: A = mean of L(b - 2k + 1 ... b - k), C = mean of L(b - k + 1 ... b),
// se = sqrt(var / k + var' / k) with the sample variances of both groups;
// stops (converged) when |C - A| < kTightTolerance * C, |C - A| <=
// kTightNoiseFactor * se, or C = A. Also stops when maxIterations are done,
// or when a block did fewer iterations than asked (refused set).
TightRun RunUntilSteady(long long maxIterations, const std::function<long long(long long)>& runBlock,
                        const std::function<double()>& length);

// Relaxes the curve as RelaxCurve does, block after block, until its length
// settles by RunUntilSteady's rule or maxIterations are done. The curve is
// the one a RelaxCurve run of the returned iteration count gives: every
// block starts with the resampling that RelaxCurve does before iterations
// 1, 31, 61, ...
TightRun RelaxUntilTight(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long maxIterations, double thickness,
                         double precision);

// The measures of a relaxed curve and its run, for the summary.
struct RelaxReport {
    int points = 0;
    double length = 0.0;  // model units
    double thickness = 0.0;
    // Smallest non-local distance (model units); +infinity for none.
    double nearest = 0.0;
    CurveContacts contacts;
    long long iterations = 0;
    double seconds = 0.0;
    // Set for --until-tight runs only.
    std::optional<bool> converged;
};

// Measures the curve x, y, z: length, smallest non-local distance and the
// contacts (kContactFactor * thickness), with the run's figures.
RelaxReport MeasureRelaxation(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                              long long iterations, double seconds, std::optional<bool> converged = std::nullopt);

// The summary lines: points, length, ropelength (length / thickness), the
// smallest non-local distance / thickness, the contact count and the
// smallest contact distance / thickness ("none" where there is none), the
// iterations and their time, and for --until-tight whether it converged.
std::string FormatRelaxSummary(const RelaxReport& report);

// The same as one JSON object on one line: keys points, length, thickness,
// ropelength, min_nonlocal_distance_over_thickness, contacts,
// min_contact_distance_over_thickness, iterations, seconds, converged.
// Numbers with 17 significant digits (they read back exactly); null for a
// distance that does not exist and for converged in a fixed run.
std::string FormatRelaxJson(const RelaxReport& report);

// FormatRelaxSummary(MeasureRelaxation(...)) of a fixed run.
std::string RelaxSummary(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                         long long iterations, double seconds);

// Builds the tube of the curve as the desktop view does (kRingSegments per
// ring, radius scale * thickness / 2, seam matched), scales it so the tube
// is unitsMm thick when given, and writes it to `path` in the format of its
// extension. Returns false with a readable `error` when the curve has too
// few points for a closed tube (fewer than 3) or the file cannot be written.
bool ExportTubeMesh(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                    double scale, std::optional<double> unitsMm, const std::string& path, std::string& error);

}  // namespace vek
