#include "tools/relax_cli.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "curve/relax_step.h"
#include "curve/resample_curve.h"

namespace vek {

namespace {

bool ParseIterations(const std::string& text, long long& value, std::string& error)
{
    const char* first = text.data();
    const char* last = first + text.size();
    long long parsed = 0;
    const auto result = std::from_chars(first, last, parsed);
    const bool digitsOnly = !text.empty() && text[0] != '-';
    if (!digitsOnly || result.ptr != last ||
        (result.ec != std::errc() && result.ec != std::errc::result_out_of_range)) {
        error = "--iterations needs a whole number of 0 or more, not \"" + text + "\"";
        return false;
    }
    if (result.ec == std::errc::result_out_of_range || parsed > kMaxRelaxIterations) {
        error = "--iterations " + text + " is too large (at most " + std::to_string(kMaxRelaxIterations) + ")";
        return false;
    }
    value = parsed;
    return true;
}

bool ParsePrecision(const std::string& text, double& value, std::string& error)
{
    const char* first = text.data();
    const char* last = first + text.size();
    double parsed = 0.0;
    const auto result = std::from_chars(first, last, parsed, std::chars_format::general);
    if (text.empty() || result.ptr != last || result.ec != std::errc() || !std::isfinite(parsed) || !(parsed > 0.0)) {
        error = "--precision needs a finite number above 0, not \"" + text + "\"";
        return false;
    }
    value = parsed;
    return true;
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
        if (name != "--iterations" && name != "--precision" && name != "--output") {
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
            if (!ParseIterations(value, options.iterations, error))
                return false;
        } else if (name == "--precision") {
            if (!ParsePrecision(value, options.precision, error))
                return false;
        } else {
            if (value.empty()) {
                error = "--output needs a file name";
                return false;
            }
            options.output = value;
        }
    }
    if (!haveInput) {
        error = "no INPUT file given";
        return false;
    }
    return true;
}

std::string RelaxUsage()
{
    return "Usage: vek-relax INPUT [--iterations N] [--precision P] [--output FILE]\n"
           "\n"
           "Relaxes the closed curve of the position data file INPUT into a tight\n"
           "tube of thickness 0.03, as the desktop program's Start command does, and\n"
           "writes the points in the same file format.\n"
           "\n"
           "  --iterations N  iterations to run (default 0: the points are written\n"
           "                  as read). The curve is resampled before iterations\n"
           "                  1, 31, 61, ...\n"
           "  --precision P   resampling precision, a number above 0 (default 1);\n"
           "                  the spacing is 0.0075 / P, and P at or below 0.01\n"
           "                  acts as 0.01\n"
           "  --output FILE   write to FILE instead of standard output\n"
           "  --help          show this text\n"
           "\n"
           "A summary (points, length, length / thickness, smallest non-local\n"
           "distance / thickness, time) goes to standard error.\n"
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
    const double window = ExclusionWindow(thickness);
    return RunRelaxSchedule(
        iterations, [&] { return ResampleCurve(x, y, z, thickness, precision); },
        // The one place the iteration is called; a faster identical form
        // replaces it here.
        [&] { RelaxStep(x, y, z, thickness, window, nx, ny, nz); });
}

std::string RelaxSummary(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                         long long iterations, double seconds)
{
    const double length = CurveLength(x, y, z);
    const double nearest = MinNonLocalDistance(x, y, z, ExclusionWindow(thickness));
    char line[160];
    std::string text;
    std::snprintf(line, sizeof line, "points: %d\n", x.GetSize());
    text += line;
    std::snprintf(line, sizeof line, "length: %.6f\n", length);
    text += line;
    std::snprintf(line, sizeof line, "length / thickness: %.4f\n", length / thickness);
    text += line;
    if (std::isinf(nearest))
        std::snprintf(line, sizeof line, "min non-local distance / thickness: none\n");
    else
        std::snprintf(line, sizeof line, "min non-local distance / thickness: %.4f\n", nearest / thickness);
    text += line;
    std::snprintf(line, sizeof line, "iterations: %lld in %.3f s\n", iterations, seconds);
    text += line;
    return text;
}

}  // namespace vek
