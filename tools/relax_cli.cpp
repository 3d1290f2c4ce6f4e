#include "tools/relax_cli.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdio>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "curve/relax_step.h"
#include "curve/relax_step_fast.h"
#include "curve/resample_curve.h"
#include "render/build_tube.h"
#include "io/mesh_export.h"
#include "render/tube_mesh.h"

namespace vek {

namespace {

bool ParseCount(const std::string& name, const std::string& text, long long& value, std::string& error)
{
    const char* first = text.data();
    const char* last = first + text.size();
    long long parsed = 0;
    const auto result = std::from_chars(first, last, parsed);
    const bool digitsOnly = !text.empty() && text[0] != '-';
    if (!digitsOnly || result.ptr != last ||
        (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
        error = name + " needs a whole number of 0 or more, not \"" + text + "\"";
        return false;
    }
    if (result.ec == std::errc::result_out_of_range || parsed > kMaxRelaxIterations) {
        error = name + " " + text + " is too large (at most " + std::to_string(kMaxRelaxIterations) + ")";
        return false;
    }
    value = parsed;
    return true;
}

bool ParsePositive(const std::string& name, const std::string& text, double& value, std::string& error)
{
    const char* first = text.data();
    const char* last = first + text.size();
    double parsed = 0.0;
    const auto result = std::from_chars(first, last, parsed, std::chars_format::general);
    if (text.empty() || result.ptr != last || result.ec != std::errc() || !std::isfinite(parsed) || !(parsed > 0.0)) {
        error = name + " needs a finite number above 0, not \"" + text + "\"";
        return false;
    }
    value = parsed;
    return true;
}

bool IsValueOption(const std::string& name)
{
    return name == "--iterations" || name == "--precision" || name == "--output" || name == "--mesh" ||
           name == "--scale" || name == "--units-mm" || name == "--max-iterations";
}

bool IsFlagOption(const std::string& name)
{
    return name == "--until-tight" || name == "--json";
}

}  // namespace

bool ParseRelaxArguments(const std::vector<std::string>& args, RelaxOptions& options, std::string& error)
{
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") {
            options.help = true;
            return true;
        }
    }

    bool haveInput = false;
    bool optionsEnded = false;
    bool haveIterations = false, haveMaxIterations = false, haveScale = false;
    for (size_t k = 0; k < args.size(); ++k) {
        const std::string& arg = args[k];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            if (haveInput) {
                error = "only one INPUT file may be given (\"" + options.input + "\" and \"" + arg + "\")";
                return false;
            }
            options.input = arg;
            haveInput = true;
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }

        std::string name = arg;
        std::string value;
        bool haveValue = false;
        const size_t equals = arg.find('=');
        if (equals != std::string::npos) {
            name = arg.substr(0, equals);
            value = arg.substr(equals + 1);
            haveValue = true;
        }
        if (IsFlagOption(name)) {
            if (haveValue) {
                error = name + " takes no value";
                return false;
            }
            if (name == "--until-tight")
                options.untilTight = true;
            else
                options.json = true;
            continue;
        }
        if (!IsValueOption(name)) {
            error = "unknown option \"" + arg + "\"";
            return false;
        }
        if (!haveValue) {
            if (k + 1 == args.size()) {
                error = name + " needs a value";
                return false;
            }
            value = args[++k];
        }
        if (name == "--iterations") {
            if (!ParseCount(name, value, options.iterations, error))
                return false;
            haveIterations = true;
        } else if (name == "--max-iterations") {
            if (!ParseCount(name, value, options.maxIterations, error))
                return false;
            haveMaxIterations = true;
        } else if (name == "--precision") {
            if (!ParsePositive(name, value, options.precision, error))
                return false;
        } else if (name == "--scale") {
            if (!ParsePositive(name, value, options.scale, error))
                return false;
            haveScale = true;
        } else if (name == "--units-mm") {
            double millimetres = 0.0;
            if (!ParsePositive(name, value, millimetres, error))
                return false;
            options.unitsMm = millimetres;
        } else {
            if (value.empty()) {
                error = name + " needs a file name";
                return false;
            }
            (name == "--output" ? options.output : options.mesh) = value;
        }
    }
    if (!haveInput) {
        error = "no INPUT file given";
        return false;
    }
    if (options.untilTight && haveIterations) {
        error = "--iterations and --until-tight exclude each other (use --max-iterations to bound --until-tight)";
        return false;
    }
    if (haveMaxIterations && !options.untilTight) {
        error = "--max-iterations only bounds --until-tight; use --iterations for a fixed run";
        return false;
    }
    if ((haveScale || options.unitsMm) && options.mesh.empty()) {
        error = std::string(haveScale ? "--scale" : "--units-mm") + " only acts on the tube of --mesh FILE";
        return false;
    }
    if (!options.mesh.empty() && MeshFormatFromPath(options.mesh) == MeshFormat::Unknown) {
        error = "--mesh \"" + options.mesh + "\": the name must end in .obj, .stl or .ply";
        return false;
    }
    if (options.json && options.output.empty()) {
        error = "--json prints to standard output: give --output FILE for the points";
        return false;
    }
    return true;
}

std::string RelaxUsage()
{
    return "Usage: vek-relax INPUT [--iterations N | --until-tight [--max-iterations M]]\n"
           "                 [--precision P] [--output FILE] [--mesh FILE [--scale S] [--units-mm W]]\n"
           "                 [--json]\n"
           "\n"
           "Relaxes the closed curve of INPUT into a tight tube of thickness 0.03, as\n"
           "the desktop program's Start command does, and writes its points. INPUT and\n"
           "the --output FILE are VECT polylines when their names end in .vect, and\n"
           "position data files otherwise.\n"
           "\n"
           "  --iterations N      iterations to run (default 0: the points are written\n"
           "                      as read). The curve is resampled before iterations\n"
           "                      1, 31, 61, ...\n"
           "  --until-tight       run in blocks of 30 iterations until the mean length\n"
           "                      of the last 300 iterations differs from that of the\n"
           "                      300 before by less than 1e-5 of itself or than its\n"
           "                      trembling from block to block (two standard errors)\n"
           "  --max-iterations M  stop --until-tight after M iterations at the most\n"
           "                      (default 1000000)\n"
           "  --precision P       resampling precision, a number above 0 (default 1);\n"
           "                      the spacing is 0.0075 / P, and P at or below 0.01\n"
           "                      acts as 0.01\n"
           "  --output FILE       write to FILE instead of standard output\n"
           "  --mesh FILE         write the tube of the final curve as a closed triangle\n"
           "                      mesh, as the desktop program draws it (30 vertices per\n"
           "                      ring): Wavefront OBJ, binary STL or PLY by the name's\n"
           "                      extension (.obj, .stl, .ply)\n"
           "  --scale S           tube radius factor of the mesh, as the display\n"
           "                      thickness setting (default 1)\n"
           "  --units-mm W        scale the mesh so the tube is W millimetres thick\n"
           "                      (one mesh unit = 1 mm), for printing\n"
           "  --json              print the summary as one JSON object on standard\n"
           "                      output (needs --output)\n"
           "  --help              show this text\n"
           "\n"
           "A summary (points, length, ropelength = length / thickness, smallest\n"
           "non-local distance / thickness, contacts closer than 1.01 thickness and\n"
           "the nearest of them, iterations, time) goes to standard error.\n"
           "Exit status: 0 done, 1 input or output failed or the curve grew too\n"
           "large, 2 bad arguments.\n";
}

long long RunRelaxSchedule(long long iterations, const std::function<bool()>& resample,
                           const std::function<void()>& step)
{
    long long counter = 0;
    while (counter < iterations) {
        if (counter % kRunPeriod == 0 && !resample())
            break;
        step();
        ++counter;
    }
    return counter;
}

long long RelaxCurve(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long iterations, double thickness,
                     double precision)
{
    CDoubleArray nx, ny, nz;
    CRelaxWorkspace workspace;
    const double window = ExclusionWindow(thickness);
    return RunRelaxSchedule(
        iterations, [&] { return ResampleCurve(x, y, z, thickness, precision); },
        // The one place the iteration is called: the fast form, equal to
        // RelaxStep bit for bit, on all the machine's cores.
        [&] { RelaxStepFast(x, y, z, thickness, window, nx, ny, nz, workspace); });
}

TightRun RunUntilSteady(long long maxIterations, const std::function<long long(long long)>& runBlock,
                        const std::function<double()>& length)
{
    constexpr size_t kGroup = kTightSpan / kRunPeriod;
    static_assert(kGroup * kRunPeriod == kTightSpan && kGroup >= 2, "the span is whole run periods");
    // The lengths after the last 2 * kGroup blocks, oldest first.
    std::vector<double> lengths;
    const auto meanAndVariance = [&](size_t first, double& mean, double& variance) {
        double sum = 0.0;
        for (size_t k = first; k < first + kGroup; ++k)
            sum += lengths[k];
        mean = sum / static_cast<double>(kGroup);
        double squares = 0.0;
        for (size_t k = first; k < first + kGroup; ++k)
            squares += (lengths[k] - mean) * (lengths[k] - mean);
        variance = squares / static_cast<double>(kGroup - 1);
    };

    TightRun run;
    while (run.iterations < maxIterations) {
        const long long asked = std::min<long long>(kRunPeriod, maxIterations - run.iterations);
        const long long done = runBlock(asked);
        run.iterations += done;
        if (done < asked) {
            run.refused = true;
            return run;
        }
        if (lengths.size() == 2 * kGroup)
            lengths.erase(lengths.begin());
        lengths.push_back(length());
        if (asked != kRunPeriod || lengths.size() < 2 * kGroup)
            continue;
        double before = 0.0, beforeVariance = 0.0, now = 0.0, nowVariance = 0.0;
        meanAndVariance(0, before, beforeVariance);
        meanAndVariance(kGroup, now, nowVariance);
        const double change = std::fabs(now - before);
        const double standardError = std::sqrt((beforeVariance + nowVariance) / static_cast<double>(kGroup));
        if (change == 0.0 || change < kTightTolerance * now || change <= kTightNoiseFactor * standardError) {
            run.converged = true;
            return run;
        }
    }
    return run;
}

TightRun RelaxUntilTight(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, long long maxIterations, double thickness,
                         double precision)
{
    // Each block is a RelaxCurve run of its own: it resamples before its
    // first iteration, which is where the uninterrupted schedule resamples.
    return RunUntilSteady(
        maxIterations, [&](long long count) { return RelaxCurve(x, y, z, count, thickness, precision); },
        [&] { return CurveLength(x, y, z); });
}

RelaxReport MeasureRelaxation(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                              long long iterations, double seconds, std::optional<bool> converged)
{
    RelaxReport report;
    report.points = x.GetSize();
    report.length = CurveLength(x, y, z);
    report.thickness = thickness;
    const double window = ExclusionWindow(thickness);
    report.nearest = MinNonLocalDistance(x, y, z, window);
    report.contacts = CountCurveContacts(x, y, z, window, kContactFactor * thickness);
    report.iterations = iterations;
    report.seconds = seconds;
    report.converged = converged;
    return report;
}

namespace {

std::string RatioText(double distance, double thickness)
{
    if (!std::isfinite(distance))
        return "none";
    char text[32];
    std::snprintf(text, sizeof text, "%.4f", distance / thickness);
    return text;
}

std::string JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[40];
    // "%.17g" follows the locale's decimal point; to_chars does not.
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}

}  // namespace

std::string FormatRelaxSummary(const RelaxReport& report)
{
    char line[160];
    std::string text;
    std::snprintf(line, sizeof line, "points: %d\n", report.points);
    text += line;
    std::snprintf(line, sizeof line, "length: %.6f\n", report.length);
    text += line;
    std::snprintf(line, sizeof line, "ropelength (length / thickness): %.4f\n", report.length / report.thickness);
    text += line;
    text += "min non-local distance / thickness: " + RatioText(report.nearest, report.thickness) + "\n";
    std::snprintf(line, sizeof line, "contacts (closer than %.2f thickness): %lld\n", kContactFactor,
                  report.contacts.count);
    text += line;
    text += "min contact distance / thickness: " + RatioText(report.contacts.nearest, report.thickness) + "\n";
    std::snprintf(line, sizeof line, "iterations: %lld in %.3f s\n", report.iterations, report.seconds);
    text += line;
    if (report.converged)
        text += *report.converged ? "converged: yes\n" : "converged: no (stopped at --max-iterations)\n";
    return text;
}

std::string FormatRelaxJson(const RelaxReport& report)
{
    const double t = report.thickness;
    std::string text = "{";
    text += "\"points\": " + std::to_string(report.points);
    text += ", \"length\": " + JsonNumber(report.length);
    text += ", \"thickness\": " + JsonNumber(t);
    text += ", \"ropelength\": " + JsonNumber(report.length / t);
    text += ", \"min_nonlocal_distance_over_thickness\": " + JsonNumber(report.nearest / t);
    text += ", \"contacts\": " + std::to_string(report.contacts.count);
    text += ", \"min_contact_distance_over_thickness\": " + JsonNumber(report.contacts.nearest / t);
    text += ", \"iterations\": " + std::to_string(report.iterations);
    text += ", \"seconds\": " + JsonNumber(report.seconds);
    text += ", \"converged\": ";
    text += report.converged ? (*report.converged ? "true" : "false") : "null";
    text += "}\n";
    return text;
}

std::string RelaxSummary(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                         long long iterations, double seconds)
{
    return FormatRelaxSummary(MeasureRelaxation(x, y, z, thickness, iterations, seconds));
}

bool ExportTubeMesh(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                    double scale, std::optional<double> unitsMm, const std::string& path, std::string& error)
{
    const MeshFormat format = MeshFormatFromPath(path);
    if (format == MeshFormat::Unknown) {
        error = "\"" + path + "\": the mesh file name must end in .obj, .stl or .ply";
        return false;
    }
    CDoubleArray tubeX, tubeY, tubeZ;
    BuildTube(x, y, z, kRingSegments, thickness, scale, tubeX, tubeY, tubeZ);
    TubeMesh mesh;
    if (!BuildTubeMesh(x, y, z, tubeX, tubeY, tubeZ, kRingSegments, mesh)) {
        error = "no tube mesh for a curve of " + std::to_string(x.GetSize()) +
                " points: a closed tube needs at least 3 finite points, and a radius above 0";
        return false;
    }
    if (unitsMm)
        ScaleTubeMesh(mesh, *unitsMm / (scale * thickness));
    return WriteMeshFile(path, format, mesh, error);
}

}  // namespace vek
