// vek-relax: relaxes the curve of a position data file from the command
// line, with the same engine and schedule as the desktop program.
#include <chrono>
#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/resample_curve.h"
#include "io/curve_file.h"
#include "io/points_file.h"
#include "tools/relax_cli.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;

bool WriteToStandardOutput(const std::string& text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    const std::vector<std::string> args(argv + 1, argv + argc);
    vek::RelaxOptions options;
    std::string error;
    if (!vek::ParseRelaxArguments(args, options, error)) {
        std::fprintf(stderr, "vek-relax: %s\nTry 'vek-relax --help'.\n", error.c_str());
        return kExitBadArguments;
    }
    if (options.help) {
        std::fputs(vek::RelaxUsage().c_str(), stdout);
        return 0;
    }

    CDoubleArray x, y, z;
    if (!ReadCurveFile(options.input, x, y, z, error)) {
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
        return kExitFailed;
    }

    const vek::KnotType knotStart = vek::IdentifyCurveKnot(x, y, z);
    const auto start = std::chrono::steady_clock::now();
    long long done = 0;
    bool refused = false;
    std::optional<bool> converged;
    if (options.untilTight) {
        const vek::TightRun run =
            vek::RelaxUntilTight(x, y, z, options.maxIterations, vek::kThickness, options.precision);
        done = run.iterations;
        refused = run.refused;
        converged = run.converged;
    } else {
        done = vek::RelaxCurve(x, y, z, options.iterations, vek::kThickness, options.precision);
        refused = done < options.iterations;
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    if (refused) {
        if (JudgeRunResample(x, y, z, vek::kThickness, options.precision) == RunResample::TooFewPoints)
            std::fprintf(stderr,
                         "vek-relax: resampling before iteration %lld refused: the curve of %d points would keep "
                         "fewer than %d at precision %g (its spacing is more than the relaxation holds up); "
                         "raise the precision\n",
                         done + 1, x.GetSize(), vek::kMinRunPoints, options.precision);
        else
            std::fprintf(stderr,
                         "vek-relax: resampling before iteration %lld refused: the curve would need more than %d "
                         "points at precision %g, or its length is not finite; lower the precision\n",
                         done + 1, vek::kMaxCurvePoints, options.precision);
        return kExitFailed;
    }

    const vek::RelaxReport report = vek::MeasureRelaxation(x, y, z, vek::kThickness, knotStart, done, seconds, converged);
    std::fputs(vek::FormatRelaxSummary(report).c_str(), stderr);

    if (options.output.empty()) {
        if (!WriteToStandardOutput(FormatPointsText(x, y, z))) {
            std::fprintf(stderr, "vek-relax: cannot write to standard output\n");
            return kExitFailed;
        }
    } else {
        if (!WriteCurveFile(options.output, x, y, z, error)) {
            std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
            return kExitFailed;
        }
    }
    if (!options.mesh.empty() &&
        !vek::ExportTubeMesh(x, y, z, vek::kThickness, options.scale, options.unitsMm, options.mesh, error)) {
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
        return kExitFailed;
    }
    if (options.json && !WriteToStandardOutput(vek::FormatRelaxJson(report))) {
        std::fprintf(stderr, "vek-relax: cannot write to standard output\n");
        return kExitFailed;
    }
    return 0;
}
