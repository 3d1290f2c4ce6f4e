#include "relax/relax_session.h"

#include <pthread.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <exception>
#include <functional>
#include <memory>

#include "curve/constants.h"
#include "curve/degenerate_curve.h"
#include "curve/relax_workspace.h"
#include "curve/resample_curve.h"
#include "curve/run_limits.h"
#include "io/curve_file.h"
#include "io/file_bytes.h"
#include "relax/ideal_starts.h"
#include "relax/knot_guard.h"
#include "relax/relax_run.h"

namespace vek {

namespace {

using Clock = std::chrono::steady_clock;

KnotCheck KnotCheckOf(const RelaxOptions& options)
{
    if (options.keepKnot || options.checkKnot.value_or(false))
        return KnotCheck::On;
    return options.checkKnot ? KnotCheck::Off : KnotCheck::Auto;
}

// The message of a resampling that refused before iteration `iteration` at
// `precision`, naming the limit it broke there.
std::string RefusalText(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, long long iteration,
                        double precision)
{
    char text[512];
    if (ResampleLimit(x, y, z, kThickness, precision) == RunLimit::TooFewPoints)
        std::snprintf(text, sizeof text,
                      "resampling before iteration %lld refused: the curve of %d points would keep fewer than %d at "
                      "precision %g (its spacing is more than the relaxation holds up); raise the precision",
                      iteration, x.GetSize(), kMinRunPoints, precision);
    else
        std::snprintf(text, sizeof text,
                      "resampling before iteration %lld refused: the curve would need more than %d points at "
                      "precision %g, or its length is not finite; lower the precision",
                      iteration, kMaxCurvePoints, precision);
    return text;
}

// The stages of a relaxation: the run (a fixed count, or until tight) at
// options.precision, then until tight at each --refine precision.
struct StagesRun {
    long long iterations = 0;
    // A block stopped short: a refused resampling, at `precision`.
    bool refused = false;
    double precision = 0.0;
    // Until tight: whether every stage settled; unset for a fixed run.
    std::optional<bool> converged;
};

// runBlock(count, precision) relaxes one block; stops at the first stage
// that refused, or once stopped() holds.
StagesRun RunStages(const RelaxOptions& options, const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z,
                    const std::function<long long(long long, double)>& runBlock,
                    const std::function<bool()>& stopped)
{
    StagesRun run;
    run.precision = options.precision;
    const BlockRunner block = [&](long long count) { return runBlock(count, run.precision); };
    if (options.untilTight) {
        const TightRun stage = RelaxUntilTight(x, y, z, options.maxIterations, block);
        run.iterations = stage.iterations;
        run.refused = stage.refused;
        run.converged = stage.converged;
    } else {
        run.iterations = RunBlocks(options.iterations, block);
        run.refused = run.iterations < options.iterations;
    }
    // --refine: until tight again at each precision; converged only when
    // every stage settled.
    for (size_t k = 0; k < options.refine.size() && !run.refused && !stopped(); ++k) {
        run.precision = options.refine[k];
        const TightRun stage = RelaxUntilTight(x, y, z, options.maxIterations, block);
        run.iterations += stage.iterations;
        run.refused = stage.refused;
        run.converged = run.converged.value_or(true) && stage.converged;
    }
    return run;
}

// --ideal: relax when needed, optimise, certify; the mesh gets the certified
// radius. Progress goes to a terminal's standard error after one second.
RelaxOutcome RunIdealOutcome(const RelaxOptions& options, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    IdealRunOptions run;
    run.vertices = options.vertices;
    run.precision = options.precision;
    run.maxRelaxIterations = options.maxIterations;
    run.timeLimit = options.timeLimit;
    run.output = options.output;
    const bool showProgress = !options.json && isatty(fileno(stderr));
    const auto start = Clock::now();
    bool shown = false;
    auto lastShown = start;
    if (showProgress)
        run.progress = [&](const IdealProgress& p) {
            // From the first second on, ten lines a second at the most.
            const auto now = Clock::now();
            if (now - start < std::chrono::seconds(1) || (shown && now - lastShown < std::chrono::milliseconds(100)))
                return;
            std::fputs(FormatIdealProgress(p).c_str(), stderr);
            shown = true;
            lastShown = now;
        };
    RelaxOutcome outcome;
    // A curve made from a name or a code has other layouts to start from.
    outcome.ideal = options.knot.empty() && options.pd.empty()
                        ? RunIdeal(x, y, z, run)
                        : RunIdealFromLayouts(options.knot, options.pd, x, y, z, run);
    if (shown)
        std::fputs("\n", stderr);
    outcome.ok = outcome.ideal->ok;
    outcome.error = outcome.ideal->error;
    if (!outcome.ok)
        return outcome;
    // The one result that depends on the clock says so, also with --json.
    if (outcome.ideal->result.stoppedBy == IdealStop::Time)
        std::fprintf(stderr,
                     "vek-relax: the time limit of %g s stopped the optimiser before it converged; the best "
                     "certified polygon found so far is written\n",
                     options.timeLimit);
    outcome.summary = FormatIdealSummary(*outcome.ideal);
    if (options.json)
        outcome.json = FormatIdealJson(*outcome.ideal);
    outcome.meshThickness = 2.0 * outcome.ideal->result.thickness.thickness;
    return outcome;
}

// What stops a run before it starts, so that a long run does not end
// without its result: a curve with no tube, an output that cannot be
// written. Empty when the run can go.
std::string StartRefusal(const RelaxOptions& options, const CDoubleArray& x, const CDoubleArray& y,
                         const CDoubleArray& z)
{
    if (LiesOnOneLine(x, y, z))
        return "the curve's " + std::to_string(x.GetSize()) +
               " points lie on one straight line: a closed curve there doubles back on itself and has no tube "
               "(the relaxation would push its strands apart without end)";
    std::string error;
    if (!options.output.empty() && !CheckWritable(options.output, error))
        return "--output: " + error;
    if (!options.mesh.empty() && !CheckWritable(options.mesh, error))
        return "--mesh: " + error;
    return {};
}

// The curve's file, written by a thread of its own.
struct CurveWriter {
    CurveWriter(const std::string& p, const CDoubleArray& cx, const CDoubleArray& cy, const CDoubleArray& cz)
        : path(&p), x(&cx), y(&cy), z(&cz)
    {
    }

    const std::string* path;
    const CDoubleArray *x, *y, *z;
    bool written = false;
    std::string error;
    std::exception_ptr failure;  // what the writing threw, for the caller

    void Write()
    {
        try {
            written = WriteCurveFile(*path, *x, *y, *z, error);
        } catch (...) {
            failure = std::current_exception();
        }
    }
};

// Writes the curve to `path` while work() runs, on a thread with a small
// stack (the formatting is shallow), or after work() when no thread can be
// had; the error, or empty when the file was written. What either throws
// reaches the caller once both are done.
std::string BesideWriting(const std::string& path, const CDoubleArray& x, const CDoubleArray& y,
                          const CDoubleArray& z, const std::function<void()>& work)
{
    CurveWriter writer(path, x, y, z);
    constexpr size_t kWriterStack = 512 * 1024;
    pthread_attr_t attributes;
    pthread_t thread;
    bool started = false;
    if (pthread_attr_init(&attributes) == 0) {
        started = pthread_attr_setstacksize(&attributes, kWriterStack) == 0 &&
                  pthread_create(
                      &thread, &attributes,
                      [](void* w) -> void* {
                          static_cast<CurveWriter*>(w)->Write();
                          return nullptr;
                      },
                      &writer) == 0;
        pthread_attr_destroy(&attributes);
    }
    std::exception_ptr workFailure;
    try {
        work();
    } catch (...) {
        workFailure = std::current_exception();
    }
    if (started)
        pthread_join(thread, nullptr);
    else if (!workFailure)
        writer.Write();
    if (workFailure)
        std::rethrow_exception(workFailure);
    if (writer.failure)
        std::rethrow_exception(writer.failure);
    return writer.written ? std::string() : writer.error;
}

}  // namespace

RelaxOutcome RunRelax(const RelaxOptions& options, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    const std::string refusal = StartRefusal(options, x, y, z);
    if (!refusal.empty()) {
        RelaxOutcome outcome;
        outcome.error = refusal;
        return outcome;
    }
    if (options.ideal)
        return RunIdealOutcome(options, x, y, z);

    RelaxOutcome outcome;
    outcome.meshThickness = kThickness;
    outcome.records = std::make_unique<RelaxRecords>(x, y, z, kThickness);
    RelaxRecords& records = *outcome.records;
    if (!records.Start(options, outcome.error))
        return outcome;

    const KnotType knotStart = IdentifyCurveKnot(x, y, z);
    KnotGuard guard(x, y, z, knotStart, KnotCheckOf(options), options.keepKnot);
    const auto start = Clock::now();
    // Blocks of one run period with one workspace: each block resamples
    // first, where the uninterrupted schedule resamples.
    const auto workspace = std::make_shared<CRelaxWorkspace>();
    double precision = options.precision;
    const BlockRunner relaxBlock =
        guard.Wrap([&](long long count) { return RelaxCurve(x, y, z, count, kThickness, precision, workspace); });
    // The curve after every block that did iterations is recorded; a block
    // the guard undid (--keep-knot) did none. A frame that cannot be
    // written stops the run as a refusal would: the next block does none.
    long long recorded = 0;
    const auto runBlock = [&](long long count, double stagePrecision) -> long long {
        if (records.Stopped())
            return 0;
        precision = stagePrecision;
        const long long did = relaxBlock(count);
        recorded += did;
        if (did > 0)
            records.AfterBlock(recorded);
        return did;
    };
    StagesRun run = RunStages(options, x, y, z, runBlock, [&] { return guard.Stopped(); });
    // A stop of the guard or of the frames is no refusal: the curve is
    // written, the run's convergence is not told.
    if (guard.Stopped()) {
        run.refused = false;
        run.converged.reset();
        run.iterations = guard.KeptIterations();
        records.AfterKeep(run.iterations);
    }
    if (records.Stopped()) {
        run.refused = false;
        run.converged.reset();
    }
    if (guard.PassageBlock() > 0)
        outcome.notice = KnotGuardText(guard);
    const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
    if (run.refused) {
        outcome.error = RefusalText(x, y, z, run.iterations + 1, run.precision);
        return outcome;
    }

    // The guard's last check may have identified the final curve already.
    // The file is written meanwhile: its time goes mostly to the disk.
    RelaxReport report;
    const auto measure = [&] {
        report = MeasureRelaxation(x, y, z, kThickness, knotStart, run.iterations, seconds, run.converged,
                                   guard.CurrentType());
    };
    if (options.output.empty())
        measure();
    else
        outcome.curveWrite = BesideWriting(options.output, x, y, z, measure);
    report.knotChecked = guard.Active();
    report.passageBlock = guard.PassageBlock();
    report.keptKnot = guard.Stopped();
    report.knotCheckText = KnotGuardText(guard);
    outcome.ok = true;
    outcome.status = guard.Stopped() ? kRelaxExitKeptKnot : kRelaxExitDone;
    outcome.summary = FormatRelaxSummary(report);
    if (options.json)
        outcome.json = FormatRelaxJson(report);
    outcome.report = report;
    return outcome;
}

}  // namespace vek
