#include "relax/relax_report.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

#include "curve/curve_metrics.h"
#include "curve/curve_polygon.h"
#include "curve/relax_step.h"
#include "geom/parallel.h"
#include "knot/polygon_thickness.h"

namespace vek {

KnotType IdentifyCurveKnot(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    return IdentifyKnot(CurvePolygon(x, y, z));
}

RelaxReport MeasureRelaxation(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                              const KnotType& knotStart, long long iterations, double seconds,
                              std::optional<bool> converged, const KnotType* knotEnd)
{
    RelaxReport report;
    report.points = x.GetSize();
    report.length = CurveLength(x, y, z);
    report.thickness = thickness;
    report.knotStart = knotStart;
    // The knot and the certificate are measured while the contacts are
    // counted: the knot's search runs on one thread, and each result
    // depends on the curve alone.
    RunBoth([&](int part) {
        if (part == 0) {
            report.knot = knotEnd ? *knotEnd : IdentifyCurveKnot(x, y, z);
            report.certifiedThickness =
                ComputePolygonThickness(CurvePolygon(x, y, z), DcsdSearch::ThicknessOnly).thickness;
        } else {
            report.contacts = CountCurveContacts(x, y, z, ExclusionWindow(thickness), kContactFactor * thickness);
        }
    });
    report.nearest = report.contacts.nonLocal;
    report.iterations = iterations;
    report.seconds = seconds;
    report.converged = converged;
    return report;
}

double ReportRopelength(const RelaxReport& report)
{
    return CertifiedRopelength(report.length, report.certifiedThickness);
}

double ReportOverlap(const RelaxReport& report)
{
    if (!(report.certifiedThickness > 0.0))
        return std::numeric_limits<double>::infinity();
    return report.thickness / (2.0 * report.certifiedThickness) - 1.0;
}

namespace {

std::string FixedText(double value, const char* format)
{
    if (!std::isfinite(value))
        return "none";
    char text[48];
    std::snprintf(text, sizeof text, format, value);
    return text;
}

std::string RatioText(double distance, double thickness) { return FixedText(distance / thickness, "%.4f"); }

}  // namespace

std::string JsonNumber(double value)
{
    if (!std::isfinite(value))
        return "null";
    char text[40];
    // "%.17g" follows the locale's decimal point; to_chars does not.
    const auto result = std::to_chars(text, text + sizeof text, value, std::chars_format::general, 17);
    return std::string(text, result.ptr);
}

// "3_1 (Alexander 1 -1 1, determinant 3, v2 1)", or why there is no name.
std::string KnotText(const KnotType& knot)
{
    if (!knot.known)
        return "not identified (no usable projection of the polygon)";
    if (knot.alexander.empty())
        return knot.name + " (diagram too large to evaluate)";
    std::string text = knot.name;
    if (!knot.candidates.empty()) {
        text += " (one of";
        for (size_t k = 0; k < knot.candidates.size(); ++k)
            text += (k ? ", " : " ") + knot.candidates[k];
        text += ": the invariants are equal)";
    }
    text += " (Alexander";
    for (const long long c : knot.alexander)
        text += " " + std::to_string(c);
    text += ", determinant " + std::to_string(knot.determinant) + ", v2 " + std::to_string(knot.v2);
    if (knot.homflyKnown)
        text += ", HOMFLY-PT " + knot.homfly.Text();
    return text + ")";
}

// The JSON keys of one knot: name, candidates, alexander, determinant, v2,
// homfly, each with `suffix`; null where the knot or its polynomial is
// missing (candidates: [] when the name is certain).
std::string KnotJson(const KnotType& knot, const std::string& suffix)
{
    const bool evaluated = knot.known && !knot.alexander.empty();
    std::string text = ", \"knot" + suffix + "\": " + (knot.known ? "\"" + knot.name + "\"" : std::string("null"));
    text += ", \"knot_candidates" + suffix + "\": ";
    if (knot.known) {
        text += "[";
        for (size_t k = 0; k < knot.candidates.size(); ++k)
            text += (k ? ", \"" : "\"") + knot.candidates[k] + "\"";
        text += "]";
    } else {
        text += "null";
    }
    text += ", \"alexander" + suffix + "\": ";
    if (evaluated) {
        text += "[";
        for (size_t k = 0; k < knot.alexander.size(); ++k)
            text += (k ? ", " : "") + std::to_string(knot.alexander[k]);
        text += "]";
    } else {
        text += "null";
    }
    text += ", \"determinant" + suffix + "\": " + (evaluated ? std::to_string(knot.determinant) : "null");
    text += ", \"v2" + suffix + "\": " + (evaluated ? std::to_string(knot.v2) : "null");
    text += ", \"homfly" + suffix + "\": " + (knot.homflyKnown ? "\"" + knot.homfly.Text() + "\"" : "null");
    return text;
}

std::string FormatRelaxSummary(const RelaxReport& report)
{
    char line[160];
    std::string text;
    std::snprintf(line, sizeof line, "points: %d\n", report.points);
    text += line;
    std::snprintf(line, sizeof line, "length: %.6f\n", report.length);
    text += line;
    text += "knot at start: " + KnotText(report.knotStart) + "\n";
    text += "knot at end: " + KnotText(report.knot) + "\n";
    std::snprintf(line, sizeof line, "nominal length / thickness: %.4f\n", report.length / report.thickness);
    text += line;
    text += "certified thickness (tube radius): " + FixedText(report.certifiedThickness, "%.6f") + "\n";
    text += "ropelength (length / (2 * certified thickness)): " + FixedText(ReportRopelength(report), "%.4f") + "\n";
    text += "overlap (thickness / (2 * certified thickness) - 1): " + FixedText(ReportOverlap(report), "%.4f") + "\n";
    text += "min non-local distance / thickness: " + RatioText(report.nearest, report.thickness) + "\n";
    std::snprintf(line, sizeof line, "contacts (closer than %.2f thickness): %lld\n", kContactFactor,
                  report.contacts.count);
    text += line;
    text += "min contact distance / thickness: " + RatioText(report.contacts.nearest, report.thickness) + "\n";
    std::snprintf(line, sizeof line, "iterations: %lld in %.3f s\n", report.iterations, report.seconds);
    text += line;
    if (report.converged)
        text += *report.converged ? "converged: yes\n" : "converged: no (stopped at --max-iterations)\n";
    return text + report.knotCheckText;
}

std::string FormatRelaxJson(const RelaxReport& report)
{
    const double t = report.thickness;
    std::string text = "{";
    text += "\"points\": " + std::to_string(report.points);
    text += ", \"length\": " + JsonNumber(report.length);
    text += ", \"thickness\": " + JsonNumber(t);
    text += KnotJson(report.knotStart, "_start");
    text += KnotJson(report.knot, "");
    text += ", \"nominal_ropelength\": " + JsonNumber(report.length / t);
    text += ", \"certified_thickness\": " + JsonNumber(report.certifiedThickness);
    text += ", \"ropelength\": " + JsonNumber(ReportRopelength(report));
    text += ", \"overlap\": " + JsonNumber(ReportOverlap(report));
    text += ", \"min_nonlocal_distance_over_thickness\": " + JsonNumber(report.nearest / t);
    text += ", \"contacts\": " + std::to_string(report.contacts.count);
    text += ", \"min_contact_distance_over_thickness\": " + JsonNumber(report.contacts.nearest / t);
    text += ", \"iterations\": " + std::to_string(report.iterations);
    text += ", \"seconds\": " + JsonNumber(report.seconds);
    text += ", \"converged\": ";
    text += report.converged ? (*report.converged ? "true" : "false") : "null";
    text += std::string(", \"knot_checked\": ") + (report.knotChecked ? "true" : "false");
    text += ", \"passage_block\": " + (report.passageBlock > 0 ? std::to_string(report.passageBlock) : "null");
    text += std::string(", \"kept_knot\": ") + (report.keptKnot ? "true" : "false");
    text += "}\n";
    return text;
}

}  // namespace vek
