// One run of vek-relax, from its options and the curve as read to what it
// writes: the relaxation (a fixed count or until tight, the --refine stages,
// the knot guard, the records) or the --ideal optimisation, then the curve,
// the summary, the mesh and the JSON.
#pragma once

#include <memory>
#include <optional>
#include <string>

#include "curve/double_array.h"
#include "relax/ideal_run.h"
#include "relax/relax_options.h"
#include "relax/relax_records.h"
#include "relax/relax_report.h"

namespace vek {

// The exit statuses of vek-relax.
inline constexpr int kRelaxExitDone = 0;
inline constexpr int kRelaxExitFailed = 1;
inline constexpr int kRelaxExitBadArguments = 2;
inline constexpr int kRelaxExitKeptKnot = 3;

struct RelaxOutcome {
    // False when nothing is to be written; `error` (one line) says why: a
    // record could not be started, a resampling refused, --ideal found no
    // certified polygon.
    bool ok = false;
    std::string error;
    // The exit status once everything is written: kRelaxExitKeptKnot after
    // a --keep-knot stop, kRelaxExitDone otherwise.
    int status = kRelaxExitDone;
    // Told on standard error before the summary (the guard's line of a
    // passage, with its new line); empty: nothing.
    std::string notice;
    // The summary lines (standard error) and, with --json, the JSON object
    // (standard output).
    std::string summary;
    std::string json;
    // The tube diameter of --mesh: the nominal thickness, or twice the
    // certified thickness of an --ideal polygon.
    double meshThickness = 0.0;
    // The measures: `report` of a relaxation that wrote its summary,
    // `ideal` of an --ideal run.
    std::optional<RelaxReport> report;
    std::optional<IdealRun> ideal;
    // The curve's --output file of a relaxation, written while the summary
    // was measured: empty when that worked, the error otherwise; unset when
    // the curve is still to be written.
    std::optional<std::string> curveWrite;
    // The records of a relaxation (--log, --frames): still open, they are
    // finished after the outputs.
    std::unique_ptr<RelaxRecords> records;
};

// In:  options, as ParseRelaxArguments made them (no --help); x, y, z, the
//      curve as read (model units), which must outlive the outcome.
// Out: x, y, z hold the curve to write (the relaxed one, the one --keep-knot
//      kept, or the certified --ideal polygon); the outcome says what to
//      write. Before anything runs, a curve whose points lie on one
//      straight line (LiesOnOneLine) and an --output or --mesh that cannot
//      be written (CheckWritable) are refused (not ok, `error` says why).
//      A resampling refused in any stage names that stage's
//      precision and the limit it broke. Messages of the records during the
//      run, and the progress of --ideal on a terminal, go to standard error
//      as they happen. The --output file of a relaxation is written while
//      its summary is measured (outcome.curveWrite).
RelaxOutcome RunRelax(const RelaxOptions& options, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z);

// Writes what `outcome` holds, in this order: its notice, then either its
// error (and stops) or the summary, the curve (options.output, or standard
// output), the --mesh file, the --json object, and finishes the records.
// Each failure is told on standard error ("vek-relax: ..."). Returns the
// exit status: outcome.status, or kRelaxExitFailed when anything failed.
int WriteRelaxOutcome(const RelaxOptions& options, const CDoubleArray& x, const CDoubleArray& y,
                      const CDoubleArray& z, RelaxOutcome& outcome);

}  // namespace vek
