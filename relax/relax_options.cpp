#include "relax/relax_options.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <functional>

#include "curve/tube_scale.h"
#include "ideal/optimise_ideal.h"
#include "io/file_bytes.h"
#include "io/mesh_export.h"
#include "text/number_words.h"

namespace vek {

namespace {

// The value checks throw CLI11's ValidationError, which the parser reports
// as the error of the option.
long long CountValue(const std::string& name, const std::string& text)
{
    long long parsed = 0;
    const WordNumber read = ReadWordInteger(text, parsed);
    if (read == WordNumber::NotANumber || text[0] == '-')
        throw CLI::ValidationError(name + " needs a whole number of 0 or more, not \"" + text + "\"");
    if (read == WordNumber::OutOfRange || parsed > kMaxRelaxIterations)
        throw CLI::ValidationError(name + " " + text + " is too large (at most " +
                                   std::to_string(kMaxRelaxIterations) + ")");
    return parsed;
}

double PositiveValue(const std::string& name, const std::string& text)
{
    double parsed = 0.0;
    if (!ReadWordFinite(text, parsed) || !(parsed > 0.0))
        throw CLI::ValidationError(name + " needs a finite number above 0, not \"" + text + "\"");
    return parsed;
}

// The precision takes what the precision dialog takes: any finite number;
// the resampling treats 0.01 or less as 0.01.
double FiniteValue(const std::string& name, const std::string& text)
{
    double parsed = 0.0;
    if (!ReadWordFinite(text, parsed))
        throw CLI::ValidationError(name + " needs a finite number, not \"" + text + "\"");
    return parsed;
}

int IdealVertexValue(const std::string& text)
{
    const long long count = CountValue("--vertices", text);
    if (count < kMinIdealVertices || count > kMaxIdealVertices)
        throw CLI::ValidationError("--vertices needs a whole number from " + std::to_string(kMinIdealVertices) +
                                   " to " + std::to_string(kMaxIdealVertices) + ", not \"" + text + "\"");
    return static_cast<int>(count);
}

std::string FileValue(const std::string& name, const std::string& text)
{
    if (text.empty())
        throw CLI::ValidationError(name + " needs a file name");
    return text;
}

// Each option: its name, its value's name in the usage, what it does, and
// the store of its checked value. A new option is one more line here.
void AddRelaxOptions(CLI::App& app, RelaxOptions& o)
{
    const auto count = [&app](const char* name, long long& to, const char* help) {
        app.add_option_function<std::string>(
               name, [name, &to](const std::string& v) { to = CountValue(name, v); }, help)
            ->type_name("N");
    };
    const auto positive = [&app](const char* name, const char* type, std::function<void(double)> to,
                                 const char* help) {
        app.add_option_function<std::string>(
               name, [name, to](const std::string& v) { to(PositiveValue(name, v)); }, help)
            ->type_name(type);
    };
    const auto file = [&app](const char* name, std::string& to, const char* help) {
        app.add_option_function<std::string>(
               name, [name, &to](const std::string& v) { to = FileValue(name, v); }, help)
            ->type_name("FILE");
    };
    app.add_option("INPUT", o.input, "position data file (a VECT polyline when its name ends in .vect)")
        ->type_name("");
    app.add_option("--knot", o.knot,
                   "instead of INPUT, a closed curve of the knot of this name from the built-in table (0_1, 3_1 "
                   "... 10_165, 11a_1 ... 11n_185, 12a_1 ... 12n_888; NAME* for the mirror image), made to "
                   "relax at the thickness 0.03")
        ->type_name("NAME");
    app.add_option("--pd", o.pd,
                   "instead of INPUT, a closed curve of the knot of this planar diagram code, such as "
                   "[[1,5,2,4],[3,1,4,6],[5,3,6,2]] (arcs numbered along the knot, each crossing's arcs "
                   "counterclockwise from the one entering below)")
        ->type_name("CODE");
    count("--iterations", o.iterations,
          "iterations to run (default 0: the points are written as read); the curve is resampled before "
          "iterations 1, 31, 61, ...");
    app.add_flag("--until-tight", o.untilTight,
                 "run in blocks of 30 iterations until the mean length of the last 300 iterations differs from "
                 "that of the 300 before by less than 1e-5 of itself or than its trembling from block to block "
                 "(two standard errors)")
        ->disable_flag_override();
    count("--max-iterations", o.maxIterations,
          "stop --until-tight, each --refine stage or the relaxation before --ideal after N iterations at the most "
          "(default 1000000)");
    app.add_option_function<std::string>(
           "--precision", [&o](const std::string& v) { o.precision = FiniteValue("--precision", v); },
           "resampling precision, any finite number as in the precision dialog (default 1); the spacing is "
           "0.0075 / P, and P at or below 0.01 acts as 0.01")
        ->type_name("P");
    file("--output", o.output, "write the points to FILE (a VECT polyline when it ends in .vect) instead of "
                               "standard output");
    file("--mesh", o.mesh, "write the tube of the final curve as a closed triangle mesh, as the desktop program "
                           "draws it (30 vertices per ring): Wavefront OBJ, binary STL or PLY by the name's "
                           "extension (.obj, .stl, .ply)");
    positive(
        "--scale", "S", [&o](double v) { o.scale = v; },
        "tube radius factor of the mesh and of the --frames pictures, as the display thickness setting "
        "(default 1)");
    positive(
        "--units-mm", "W", [&o](double v) { o.unitsMm = v; },
        "scale the mesh so the tube is W millimetres thick (one mesh unit = 1 mm), for printing");
    app.add_flag("--ideal", o.ideal,
                 "relax until tight, then shorten the knot towards its ideal shape under the exact polygon "
                 "thickness, keeping its knot type; the points written are certified for the tube thickness 0.03. "
                 "A curve from --knot or --pd is searched from two layouts of its diagram, and the shorter result "
                 "is kept")
        ->disable_flag_override();
    app.add_option_function<std::string>(
           "--vertices", [&o](const std::string& v) { o.vertices = IdealVertexValue(v); },
           "vertices of the --ideal polygon (default: 8 per unit of length / certified radius)")
        ->type_name("V");
    positive(
        "--time-limit", "S", [&o](double v) { o.timeLimit = v; },
        "stop the optimiser of --ideal after S seconds with the best certified polygon found so far, and say so "
        "(default 3600); without it a run ends by its convergence rule alone and gives the same polygon on "
        "every machine");
    app.add_option_function<std::string>(
           "--threads",
           [&o](const std::string& v) {
               const long long count = CountValue("--threads", v);
               if (count < 1 || count > kMaxThreads)
                   throw CLI::ValidationError("--threads needs a whole number from 1 to " +
                                              std::to_string(kMaxThreads) + ", not \"" + v + "\"");
               o.threads = static_cast<int>(count);
           },
           "use at most N threads (default: one per core); the results are the same for every N")
        ->type_name("N");
    app.add_flag("--version", o.version, "print the version of vek-relax and stop");
    app.add_flag("--json", o.json, "print the summary as one JSON object on standard output (needs --output)")
        ->disable_flag_override();
}

// "3,10" -> {3, 10}; each item a finite number above 0.
std::vector<double> PrecisionList(const std::string& name, const std::string& text)
{
    std::vector<double> list;
    size_t first = 0;
    while (true) {
        const size_t comma = text.find(',', first);
        list.push_back(PositiveValue(name, text.substr(first, comma == std::string::npos ? comma : comma - first)));
        if (comma == std::string::npos)
            return list;
        first = comma + 1;
    }
}

// The strand-passage guard's options.
void AddKnotGuardOptions(CLI::App& app, RelaxOptions& o)
{
    app.add_flag_callback(
           "--check-knot", [&o] { o.checkKnot = true; },
           "identify the knot after every block of 30 iterations and say in which block the curve passed "
           "through itself (default: on while the curve has fewer than 100000 points)")
        ->disable_flag_override();
    app.add_flag_callback(
           "--no-check-knot", [&o] { o.checkKnot = false; }, "do not identify the knot after the blocks")
        ->disable_flag_override();
    app.add_flag("--keep-knot", o.keepKnot,
                 "when the knot type changes, stop and write the last curve that still had the starting type "
                 "(exit status 3); turns --check-knot on")
        ->disable_flag_override();
    app.add_option_function<std::string>(
           "--refine", [&o](const std::string& v) { o.refine = PrecisionList("--refine", v); },
           "after the run, tighten again until tight at each precision P, P2, ... in turn (each stage at most "
           "--max-iterations); coarse first, then fine, is far faster than starting fine")
        ->type_name("P[,P2,...]");
}

// The records of a run beside its result: the log and the frames.
void AddRecordOptions(CLI::App& app, RelaxOptions& o)
{
    app.add_option_function<std::string>(
           "--log", [&o](const std::string& v) { o.log = FileValue("--log", v); },
           "write a CSV table to FILE: a header, then one row for the curve as read and one after every "
           "block of 30 iterations (and after a last shorter one): iteration, points, length, nominal "
           "(length / thickness), ropelength (length / (2 * certified thickness); empty where there is "
           "none), min_nonlocal_distance_over_thickness, contacts")
        ->type_name("FILE");
    app.add_option_function<std::string>(
           "--frames",
           [&o](const std::string& v) {
               if (v.empty())
                   throw CLI::ValidationError("--frames needs a folder name");
               o.frames = v;
           },
           "write the tube as PNG pictures into the folder DIR: 00000.png for the curve as read, then one after "
           "every block of 30 iterations, for a movie (ffmpeg -i DIR/%05d.png tightening.mp4). The folder is made "
           "when missing (not its parents) and must hold no frames of an earlier run. The picture options below "
           "apply, with one camera for all frames (--fit: fitted to the curve as read). A frame that cannot be "
           "written stops the run, which still writes its curve (exit status 1)")
        ->type_name("DIR");
    AddPictureOptions(app, o.pictureText, PictureScaleOption::Leave);
}

void MakeRelaxApp(CLI::App& app, RelaxOptions& options)
{
    app.description("Relaxes the closed curve of INPUT into a tight tube of thickness 0.03, as the desktop "
                    "program's Start command does, and writes its points.");
    app.footer("A summary (points, length, the knot at the start and at the end, nominal length / thickness, "
               "the certified thickness of the polygon, ropelength = length / (2 * certified thickness), the "
               "overlap of the nominal tube, smallest non-local distance / thickness, contacts closer than 1.01 "
               "thickness and the nearest of them, iterations, time) goes to standard error.\nExit status: 0 done, "
               "1 input or output failed or the curve grew too large, 2 bad arguments, 3 --keep-knot stopped at a "
               "change of knot type.");
    app.get_formatter()->column_width(24);
    AddRelaxOptions(app, options);
    AddKnotGuardOptions(app, options);
    AddRecordOptions(app, options);
}

// The combinations that would silently do something else than asked;
// empty when there is none.
std::string CombinationError(const CLI::App& app, const RelaxOptions& o)
{
    const auto given = [&app](const char* name) { return app.count(name) > 0; };
    if ((given("INPUT") ? 1 : 0) + (given("--knot") ? 1 : 0) + (given("--pd") ? 1 : 0) != 1)
        return "give one curve: INPUT, --knot NAME or --pd CODE";
    if (o.untilTight && given("--iterations"))
        return "--iterations and --until-tight exclude each other (use --max-iterations to bound --until-tight)";
    if (given("--max-iterations") && !o.untilTight && o.refine.empty() && !o.ideal)
        return "--max-iterations only bounds --until-tight, --refine and --ideal; use --iterations for a fixed run";
    if (o.unitsMm && o.mesh.empty())
        return "--units-mm only acts on the tube of --mesh FILE";
    if (given("--scale") && o.mesh.empty() && o.frames.empty())
        return "--scale only acts on the tube of --mesh FILE or of --frames DIR";
    for (const char* name : kPictureOptionNames)
        if (given(name) && o.frames.empty() && std::string(name) != "--scale")
            return std::string(name) + " only acts on the pictures of --frames DIR";
    if (!o.mesh.empty() && MeshFormatFromPath(o.mesh) == MeshFormat::Unknown)
        return "--mesh \"" + o.mesh + "\": the name must end in .obj, .stl or .ply";
    if (o.ideal && (o.untilTight || given("--iterations") || !o.refine.empty()))
        return "--ideal relaxes until tight itself: leave out --iterations, --until-tight and --refine";
    if (o.ideal && (!o.log.empty() || !o.frames.empty()))
        return std::string(o.log.empty() ? "--frames" : "--log") +
               " records the relaxation's blocks, which --ideal does not run: leave out " +
               (o.log.empty() ? "--frames" : "--log");
    if (o.ideal && (given("--check-knot") || given("--no-check-knot") || o.keepKnot))
        return "--ideal always checks that the knot type is kept: leave out the knot-check options";
    if (given("--vertices") && !o.ideal)
        return "--vertices only sets the polygon of --ideal";
    if (given("--time-limit") && !o.ideal)
        return "--time-limit only bounds the optimiser of --ideal";
    if (o.json && o.output.empty())
        return "--json prints to standard output: give --output FILE for the points";
    if (given("--no-check-knot") && (given("--check-knot") || o.keepKnot))
        return std::string(o.keepKnot ? "--keep-knot" : "--check-knot") + " and --no-check-knot exclude each other";
    // Compared as files: "./a.txt", "dir/../a.txt" and a link to it are one.
    const auto same = [](const std::string& a, const std::string& b) {
        return !a.empty() && !b.empty() && (a == b || SameFile(a, b));
    };
    if (same(o.log, o.input) || same(o.log, o.output))
        return "--log \"" + o.log + "\" would overwrite the " + (same(o.log, o.input) ? "input" : "--output") +
               " file";
    if (same(o.mesh, o.input) || same(o.mesh, o.output) || same(o.mesh, o.log))
        return "--mesh \"" + o.mesh + "\" would overwrite the " +
               (same(o.mesh, o.input) ? "input" : same(o.mesh, o.output) ? "--output" : "--log") + " file";
    for (const std::string* other : {&o.input, &o.output, &o.mesh, &o.log})
        if (same(o.frames, *other))
            return "--frames \"" + o.frames + "\" is also the name of a file of the run";
    return {};
}

// With --frames: the picture options into options.picture.
std::string PictureError(RelaxOptions& o)
{
    if (o.frames.empty())
        return {};
    std::string error;
    if (!ParsePictureOptions(o.pictureText, o.picture, error))
        return error;
    if (!TubeScaleInRange(o.scale))
        return "--scale: the pictures of --frames take a factor of at most " + std::to_string(kMaxTubeScale);
    o.picture.tubeScale = o.scale;
    return {};
}

}  // namespace

bool ParseRelaxArguments(const std::vector<std::string>& args, RelaxOptions& options, std::string& error)
{
    // --help wins over everything, a bad value before it included.
    if (std::any_of(args.begin(), args.end(), [](const std::string& a) { return a == "--help" || a == "-h"; })) {
        options.help = true;
        return true;
    }
    if (std::find(args.begin(), args.end(), "--version") != args.end()) {
        options.version = true;
        return true;
    }
    CLI::App app("", "vek-relax");
    MakeRelaxApp(app, options);
    // CLI11 takes the arguments last first.
    std::vector<std::string> reversed(args.rbegin(), args.rend());
    try {
        app.parse(reversed);
    } catch (const CLI::ParseError& e) {
        error = e.what();
        return false;
    }
    error = CombinationError(app, options);
    if (error.empty())
        error = PictureError(options);
    return error.empty();
}

std::string RelaxVersionLine()
{
    return std::string("vek-relax ") + VEK_VERSION + "\n";
}

std::string RelaxUsage()
{
    RelaxOptions options;
    CLI::App app("", "vek-relax");
    MakeRelaxApp(app, options);
    return app.help();
}

}  // namespace vek
