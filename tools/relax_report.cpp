#include "tools/relax_report.h"

#include <charconv>
#include <cmath>
#include <cstdio>

#include "curve/curve_metrics.h"
#include "curve/relax_step.h"

namespace vek {

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

}  // namespace vek
