// vek-relax: relaxes the curve of a position data file from the command
// line, with the same engine and schedule as the desktop program.
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "curve/relax_workspace.h"
#include "curve/run_limits.h"
#include "io/curve_file.h"
#include "io/points_file.h"
#include "tools/relax_cli.h"
#include "tools/relax_records.h"

namespace {

constexpr int kExitFailed = 1;
constexpr int kExitBadArguments = 2;
constexpr int kExitKnotChanged = 3;

bool WriteToStandardOutput(const std::string& text)
{
    const bool written = std::fwrite(text.data(), 1, text.size(), stdout) == text.size();
    return std::fflush(stdout) == 0 && written && !std::ferror(stdout);
}

bool WriteCurve(const vek::RelaxOptions& options, const CDoubleArray& x, const CDoubleArray& y,
                const CDoubleArray& z)
{
    std::string error;
    if (options.output.empty()) {
        if (WriteToStandardOutput(FormatPointsText(x, y, z)))
            return true;
        error = "cannot write to standard output";
    } else if (WriteCurveFile(options.output, x, y, z, error)) {
        return true;
    }
    std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
    return false;
}

// --ideal: relax when needed, optimise, certify; the mesh gets the certified
// radius. Progress goes to a terminal's standard error after one second.
int IdealMain(const vek::RelaxOptions& options, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    vek::IdealRunOptions run;
    run.vertices = options.vertices;
    run.precision = options.precision;
    run.maxRelaxIterations = options.maxIterations;
    run.output = options.output;
    const bool showProgress = !options.json && isatty(fileno(stderr));
    const auto start = std::chrono::steady_clock::now();
    bool shown = false;
    auto lastShown = start;
    if (showProgress)
        run.progress = [&](const vek::IdealProgress& p) {
            // From the first second on, ten lines a second at the most.
            const auto now = std::chrono::steady_clock::now();
            if (now - start < std::chrono::seconds(1) || (shown && now - lastShown < std::chrono::milliseconds(100)))
                return;
            std::fputs(vek::FormatIdealProgress(p).c_str(), stderr);
            shown = true;
            lastShown = now;
        };
    const vek::IdealRun result = vek::RunIdeal(x, y, z, run);
    if (shown)
        std::fputs("\n", stderr);
    if (!result.ok) {
        std::fprintf(stderr, "vek-relax: %s\n", result.error.c_str());
        return kExitFailed;
    }
    std::fputs(vek::FormatIdealSummary(result).c_str(), stderr);
    if (!WriteCurve(options, x, y, z))
        return kExitFailed;
    std::string error;
    if (!options.mesh.empty() && !vek::ExportTubeMesh(x, y, z, 2.0 * result.result.thickness.thickness,
                                                      options.scale, options.unitsMm, options.mesh, error)) {
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
        return kExitFailed;
    }
    if (options.json && !WriteToStandardOutput(vek::FormatIdealJson(result))) {
        std::fprintf(stderr, "vek-relax: cannot write to standard output\n");
        return kExitFailed;
    }
    return 0;
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

    if (options.ideal)
        return IdealMain(options, x, y, z);

    vek::RelaxRecords records(x, y, z, vek::kThickness);
    if (!records.Start(options, error)) {
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
        return kExitFailed;
    }

    const vek::KnotType knotStart = vek::IdentifyCurveKnot(x, y, z);
    const vek::KnotCheck check = options.keepKnot || options.checkKnot.value_or(false) ? vek::KnotCheck::On
                                 : options.checkKnot                                 ? vek::KnotCheck::Off
                                                                                     : vek::KnotCheck::Auto;
    vek::KnotGuard guard(x, y, z, knotStart, check, options.keepKnot);
    const auto start = std::chrono::steady_clock::now();
    // Blocks of one run period with one workspace: each block resamples
    // first, where the uninterrupted schedule resamples.
    const auto workspace = std::make_shared<CRelaxWorkspace>();
    double precision = options.precision;
    const auto relaxBlock = guard.Wrap([&](long long count) {
        return vek::RelaxCurve(x, y, z, count, vek::kThickness, precision, workspace);
    });
    // The curve after every block that did iterations is recorded; a block
    // the guard undid (--keep-knot) did none. A frame that cannot be
    // written stops the run as a refusal would: the next block does none.
    long long recorded = 0;
    const auto runBlock = [&](long long count) -> long long {
        if (records.Stopped())
            return 0;
        const long long did = relaxBlock(count);
        recorded += did;
        if (did > 0)
            records.AfterBlock(recorded);
        return did;
    };
    long long done = 0;
    bool refused = false;
    std::optional<bool> converged;
    if (options.untilTight) {
        const vek::TightRun run =
            vek::RunUntilSteady(options.maxIterations, runBlock, [&] { return CurveLength(x, y, z); });
        done = run.iterations;
        refused = run.refused;
        converged = run.converged;
    } else {
        done = vek::RunBlocks(options.iterations, runBlock);
        refused = done < options.iterations;
    }
    // --refine: until tight again at each precision; converged only when
    // every stage settled.
    for (size_t k = 0; k < options.refine.size() && !refused && !guard.Stopped(); ++k) {
        precision = options.refine[k];
        const vek::TightRun stage =
            vek::RunUntilSteady(options.maxIterations, runBlock, [&] { return CurveLength(x, y, z); });
        done += stage.iterations;
        refused = stage.refused;
        converged = converged.value_or(true) && stage.converged;
    }
    if (guard.Stopped()) {
        refused = false;
        converged.reset();
        done = guard.KeptIterations();
        records.AfterKeep(done);
    }
    if (records.Stopped()) {
        refused = false;
        converged.reset();
    }
    if (guard.PassageBlock() > 0)
        std::fprintf(stderr, "vek-relax: %s", vek::KnotGuardText(guard).c_str());
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    if (refused) {
        if (ResampleLimit(x, y, z, vek::kThickness, options.precision) == RunLimit::TooFewPoints)
            std::fprintf(stderr,
                         "vek-relax: resampling before iteration %lld refused: the curve of %d points would keep "
                         "fewer than %d at precision %g (its spacing is more than the relaxation holds up); "
                         "raise the precision\n",
                         done + 1, x.GetSize(), vek::kMinRunPoints, precision);
        else
            std::fprintf(stderr,
                         "vek-relax: resampling before iteration %lld refused: the curve would need more than %d "
                         "points at precision %g, or its length is not finite; lower the precision\n",
                         done + 1, vek::kMaxCurvePoints, precision);
        return kExitFailed;
    }

    // The guard's last check may have identified the final curve already.
    vek::RelaxReport report =
        vek::MeasureRelaxation(x, y, z, vek::kThickness, knotStart, done, seconds, converged, guard.CurrentType());
    report.knotChecked = guard.Active();
    report.passageBlock = guard.PassageBlock();
    report.keptKnot = guard.Stopped();
    report.knotCheckText = vek::KnotGuardText(guard);
    std::fputs(vek::FormatRelaxSummary(report).c_str(), stderr);

    if (!WriteCurve(options, x, y, z))
        return kExitFailed;
    if (!options.mesh.empty() &&
        !vek::ExportTubeMesh(x, y, z, vek::kThickness, options.scale, options.unitsMm, options.mesh, error)) {
        std::fprintf(stderr, "vek-relax: %s\n", error.c_str());
        return kExitFailed;
    }
    if (options.json && !WriteToStandardOutput(vek::FormatRelaxJson(report))) {
        std::fprintf(stderr, "vek-relax: cannot write to standard output\n");
        return kExitFailed;
    }
    if (!records.Finish())
        return kExitFailed;
    return guard.Stopped() ? kExitKnotChanged : 0;
}
