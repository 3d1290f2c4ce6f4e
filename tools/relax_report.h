// The summary of a vek-relax run: its measures, as text lines or as JSON.
#pragma once

#include <optional>
#include <string>

#include "curve/curve_contacts.h"
#include "curve/double_array.h"

namespace vek {

// The measures of a relaxed curve and its run, for the summary.
struct RelaxReport {
    int points = 0;
    double length = 0.0;  // model units
    double thickness = 0.0;
    // Smallest non-local distance (model units); +infinity for none.
    double nearest = 0.0;
    CurveContacts contacts;
    long long iterations = 0;
    double seconds = 0.0;
    // Set for --until-tight runs only.
    std::optional<bool> converged;
};

// Measures the curve x, y, z: length, smallest non-local distance and the
// contacts (kContactFactor * thickness), with the run's figures.
RelaxReport MeasureRelaxation(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                              long long iterations, double seconds, std::optional<bool> converged = std::nullopt);

// The summary lines: points, length, ropelength (length / thickness), the
// smallest non-local distance / thickness, the contact count and the
// smallest contact distance / thickness ("none" where there is none), the
// iterations and their time, and for --until-tight whether it converged.
std::string FormatRelaxSummary(const RelaxReport& report);

// The same as one JSON object on one line: keys points, length, thickness,
// ropelength, min_nonlocal_distance_over_thickness, contacts,
// min_contact_distance_over_thickness, iterations, seconds, converged.
// Numbers with 17 significant digits (they read back exactly); null for a
// distance that does not exist and for converged in a fixed run.
std::string FormatRelaxJson(const RelaxReport& report);

// A number for JSON: 17 significant digits whatever the locale, null
// when not finite.
std::string JsonNumber(double value);

// FormatRelaxSummary(MeasureRelaxation(...)) of a fixed run.
std::string RelaxSummary(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                         long long iterations, double seconds);

}  // namespace vek
