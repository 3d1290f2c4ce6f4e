// The options of vek-relax and their parsing.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "ideal/optimise_ideal.h"
#include "picture/picture_options.h"

namespace vek {

// Iteration counts above this are refused as a mistake: at the usual point
// counts they would run for weeks.
inline constexpr long long kMaxRelaxIterations = 1000000000;
// Where --until-tight gives up when no --max-iterations is given.
inline constexpr long long kDefaultMaxIterations = 1000000;
// The most threads --threads takes.
inline constexpr int kMaxThreads = 256;

struct RelaxOptions {
    // The curve: a file, or made from a knot's name (--knot) or diagram
    // code (--pd); exactly one is given.
    std::string input;
    std::string knot;
    std::string pd;
    // Empty: write to standard output.
    std::string output;
    long long iterations = 0;
    double precision = 1.0;
    bool help = false;
    // --version: print the program's version and nothing else.
    bool version = false;
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
    // Optimise towards the ideal knot (RunIdeal) after relaxing until tight.
    bool ideal = false;
    // Its vertex count; 0: the default for the knot.
    int vertices = 0;
    // --time-limit S: the optimiser of --ideal stops after S seconds with
    // the best certified polygon it has, and says so.
    double timeLimit = kDefaultIdealSeconds;
    // --threads N: the most threads the run uses; 0: the hardware's count.
    // The results are the same for every N.
    int threads = 0;
    // --check-knot (true) / --no-check-knot (false); unset: check while the
    // curve has fewer than 100,000 points.
    std::optional<bool> checkKnot;
    // --keep-knot: stop at a change of knot type and write the last curve
    // of the starting type (exit status 3); turns the check on.
    bool keepKnot = false;
    // --refine P[,P2,...]: after the run, tighten again until tight at each
    // precision in turn (each stage bounded by maxIterations).
    std::vector<double> refine;
    // --log FILE.csv: the convergence log (one row for the curve as read,
    // one after every block); empty: none.
    std::string log;
    // --frames DIR: a numbered PNG of the tube for the curve as read and
    // after every block; empty: none.
    std::string frames;
    // The picture options as typed (--scale is `scale` above) and, with
    // --frames, checked into `picture` (its tubeScale is `scale`).
    PictureOptionText pictureText;
    TubePictureOptions picture;
};

// Parses the arguments after the program name:
//   INPUT [--iterations N | --until-tight [--max-iterations M]]
//         [--precision P] [--output FILE] [--mesh FILE [--scale S]
//         [--units-mm W]] [--json] [--check-knot | --no-check-knot]
//         [--keep-knot] [--refine P[,P2,...]] [--log FILE.csv]
//         [--frames DIR [--size W[xH]] [--colour C] [--scale S] [--fit]
//         [--turn X,Y] [--background B]] [--ideal [--vertices V] [--time-limit S]]
//         [--threads N] | --help | --version
// Options also take the form --name=value; "--" ends the options. N and M
// are whole numbers 0 ... kMaxRelaxIterations, P, S and W finite numbers
// above 0. Returns false with a one-line `error` for anything else (unknown
// option, missing value, no INPUT or more than one) and for combinations
// that would silently do something else than asked: --iterations with
// --until-tight, --max-iterations without it, --scale or --units-mm without
// --mesh, a --mesh name whose extension is not .obj, .stl or .ply (checked
// here so that a long run does not end without its mesh), and --json
// without --output (the JSON goes to standard output, where the points
// would otherwise go too), --check-knot with --no-check-knot, and
// --keep-knot with --no-check-knot, a --log name that is also the INPUT
// or --output file (the log would overwrite it), a --mesh name that is
// the INPUT, --output or --log file; a --frames name that is the INPUT,
// --output, --mesh or --log file (names compared as files: SameFile), the
// picture options without
// --frames (--scale without --mesh or --frames), their values as
// ParsePictureOptions refuses them, a --scale above the display thickness
// dialog's bound with --frames; --ideal with
// --iterations, --until-tight, --refine, --log, --frames or the knot-check
// options (it relaxes as far as it needs and checks the knot type itself),
// --vertices without --ideal or outside kMinIdealVertices ...
// kMaxIdealVertices, --time-limit without --ideal or not a finite number
// above 0, --threads not a whole number 1 ... kMaxThreads. The --refine precisions are finite numbers above 0,
// separated by commas, at least one. With --help (or -h) anywhere, returns true with
// options.help set and nothing else checked.
bool ParseRelaxArguments(const std::vector<std::string>& args, RelaxOptions& options, std::string& error);

// "vek-relax VERSION", the line --version prints.
std::string RelaxVersionLine();

// The usage text for --help.
std::string RelaxUsage();

}  // namespace vek
