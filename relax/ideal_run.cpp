#include "relax/ideal_run.h"

#include <chrono>
#include <cmath>
#include <cstdio>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "curve/relax_step.h"
#include "curve/curve_polygon.h"
#include "io/curve_file.h"
#include "knot/polygon_thickness.h"
#include "relax/relax_report.h"
#include "relax/relax_run.h"

namespace vek {

namespace {

// A relaxed (or optimised) knot at the desktop program's thickness.
bool IsTight(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    const double nearest = MinNonLocalDistance(x, y, z, ExclusionWindow(kThickness));
    if (!(std::abs(nearest - kThickness) <= kTightDistanceTolerance * kThickness))
        return false;
    const PolygonThickness t = ComputePolygonThickness(CurvePolygon(x, y, z));
    const double length = CurveLength(x, y, z);
    return t.thickness > 0.0 &&
           CertifiedRopelength(length, t.thickness) <= kTightRopelengthFactor * length / kThickness;
}

}  // namespace

IdealRun RunIdeal(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, const IdealRunOptions& options)
{
    const auto start = std::chrono::steady_clock::now();
    IdealRun run;
    run.inputKnot = IdentifyCurveKnot(x, y, z);
    if (!run.inputKnot.known || run.inputKnot.alexander.empty()) {
        run.error = "the knot type of the input cannot be told (too few points, points that repeat, or too many "
                    "crossings), so the result could not be checked against it";
        return run;
    }
    if (!IsTight(x, y, z)) {
        const TightRun tight = RelaxUntilTight(x, y, z, options.maxRelaxIterations, kThickness, options.precision);
        run.relaxed = true;
        run.relaxIterations = tight.iterations;
        if (tight.refused) {
            run.error = "the relaxation before the optimiser stopped: the curve would need too many points at this "
                        "precision";
            return run;
        }
    }
    IdealOptions ideal;
    ideal.vertices = options.vertices;
    ideal.tubeThickness = kThickness;
    ideal.maxSeconds = options.timeLimit;
    ideal.progress = options.progress;
    ideal.cancelled = options.cancelled;
    ideal.asWritten = [&options](PolygonPoints& polygon) {
        CDoubleArray px, py, pz;
        SetCurvePoints(polygon.View(), px, py, pz);
        RoundLikeCurveFile(options.output, px, py, pz);
        polygon = PolygonPoints(CurvePolygon(px, py, pz));
    };
    run.result = OptimiseIdeal(CurvePolygon(x, y, z), run.inputKnot, ideal);
    run.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (!run.result.ok) {
        run.error = "no certified polygon of the input's knot type: " + run.result.error;
        return run;
    }
    SetCurvePoints(run.result.polygon.View(), x, y, z);
    run.ok = true;
    return run;
}

std::string FormatIdealSummary(const IdealRun& run)
{
    const IdealResult& r = run.result;
    char line[200];
    std::string text;
    std::snprintf(line, sizeof line, "knot: %s\n", r.knot.name.c_str());
    text += line;
    std::snprintf(line, sizeof line, "vertices: %d\n", r.polygon.Size());
    text += line;
    std::snprintf(line, sizeof line, "length: %.6f\n", r.length);
    text += line;
    std::snprintf(line, sizeof line, "certified thickness (radius): %.9f\n", r.thickness.thickness);
    text += line;
    std::snprintf(line, sizeof line, "certified ropelength (length / (2 thickness)): %.4f\n", r.ropelength);
    text += line;
    std::snprintf(line, sizeof line, "active struts: %d, active curvature constraints: %d\n", r.activeStruts,
                  r.activeCurvature);
    text += line;
    std::snprintf(line, sizeof line, "iterations: %lld relaxation, %lld optimiser over %d vertex counts, %.3f s\n",
                  run.relaxIterations, r.iterations, r.levels, run.seconds);
    text += line;
    std::snprintf(line, sizeof line, "stopped by: %s\n", IdealStopName(r.stoppedBy));
    text += line;
    if (run.starts > 1) {
        std::snprintf(line, sizeof line, "starts: %d layouts of the diagram, the shortest from layout %d\n",
                      run.starts, run.start);
        text += line;
    }
    if (r.fellBack)
        text += "the optimiser found nothing shorter: the certified start is written\n";
    return text;
}

std::string FormatIdealJson(const IdealRun& run)
{
    const IdealResult& r = run.result;
    std::string text = "{";
    text += "\"knot\": \"" + r.knot.name + "\"";
    text += ", \"vertices\": " + std::to_string(r.polygon.Size());
    text += ", \"length\": " + JsonNumber(r.length);
    text += ", \"thickness\": " + JsonNumber(r.thickness.thickness);
    text += ", \"ropelength\": " + JsonNumber(r.ropelength);
    text += ", \"struts\": " + std::to_string(r.activeStruts);
    text += ", \"curvature_constraints\": " + std::to_string(r.activeCurvature);
    text += ", \"relax_iterations\": " + std::to_string(run.relaxIterations);
    text += ", \"iterations\": " + std::to_string(r.iterations);
    text += ", \"levels\": " + std::to_string(r.levels);
    text += std::string(", \"fell_back\": ") + (r.fellBack ? "true" : "false");
    text += std::string(", \"stopped_by\": \"") + IdealStopName(r.stoppedBy) + "\"";
    text += ", \"start\": " + std::to_string(run.start);
    text += ", \"starts\": " + std::to_string(run.starts);
    text += ", \"seconds\": " + JsonNumber(run.seconds);
    text += "}\n";
    return text;
}

std::string FormatIdealProgress(const IdealProgress& p)
{
    char line[160];
    std::snprintf(line, sizeof line, "\rlevel %d, iteration %lld: ropelength %.5f, largest violation %.2e   ",
                  p.level, p.iteration, p.ropelength, p.violation);
    return line;
}

}  // namespace vek
