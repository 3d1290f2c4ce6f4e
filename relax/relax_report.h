// The summary of a vek-relax run: its measures, as text lines or as JSON.
#pragma once

#include <optional>
#include <span>
#include <string>

#include "curve/curve_contacts.h"
#include "curve/double_array.h"
#include "knot/knot_type.h"

namespace vek {

// The measures of a relaxed curve and its run, for the summary.
struct RelaxReport {
    int points = 0;
    double length = 0.0;  // model units
    // The nominal thickness the run used (a diameter, model units).
    double thickness = 0.0;
    // The knot of the curve as read and as written.
    KnotType knotStart;
    KnotType knot;
    // The certified thickness of the written polygon (a radius, model
    // units; 0 for a degenerate polygon).
    double certifiedThickness = 0.0;
    // Smallest non-local distance (model units); +infinity for none.
    double nearest = 0.0;
    CurveContacts contacts;
    long long iterations = 0;
    double seconds = 0.0;
    // Set for --until-tight runs only.
    std::optional<bool> converged;
    // The strand-passage guard: whether it compared the knot type after
    // blocks, the block of the first change (0: none), whether the run
    // stopped there and kept the last curve of the starting type, and its
    // summary line (empty: no line).
    bool knotChecked = false;
    long long passageBlock = 0;
    bool keptKnot = false;
    std::string knotCheckText;
};

// Measures the curve x, y, z: length, knot type, certified thickness,
// smallest non-local distance and the contacts (kContactFactor *
// thickness), with the run's figures; knotStart is the knot the run began
// with (IdentifyKnot of the curve as read); knotEnd, when given, is
// IdentifyKnot of x, y, z already made.
RelaxReport MeasureRelaxation(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                              const KnotType& knotStart, long long iterations, double seconds,
                              std::optional<bool> converged = std::nullopt, const KnotType* knotEnd = nullptr);

// The elements of a, as the knot and thickness code reads coordinates.
std::span<const double> CurveCoordinates(const CDoubleArray& a);

// IdentifyKnot of the curve x, y, z.
KnotType IdentifyCurveKnot(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z);

// length / (2 * certified thickness): the certified ropelength; +infinity
// for no certified thickness.
double ReportRopelength(const RelaxReport& report);

// thickness / (2 * certified thickness) - 1: how far the nominal tube
// overlaps itself (0.02 = its diameter is 2 % more than any tube around the
// polygon can have); +infinity for no certified thickness.
double ReportOverlap(const RelaxReport& report);

// The summary lines: points, length, the knot at the start and at the end
// (name or "unknown", Alexander coefficients, determinant, v2), the nominal
// length / thickness, the certified thickness, the ropelength (length /
// (2 * certified thickness)), the overlap, the smallest non-local distance
// / thickness, the contact count and the smallest contact distance /
// thickness ("none" where there is none), the iterations and their time,
// for --until-tight whether it converged, and the guard's line.
std::string FormatRelaxSummary(const RelaxReport& report);

// The same as one JSON object on one line: keys points, length, thickness,
// knot_start, alexander_start, determinant_start, v2_start, knot,
// alexander, determinant, v2, nominal_ropelength (length / thickness),
// certified_thickness, ropelength (the certified one), overlap,
// min_nonlocal_distance_over_thickness, contacts,
// min_contact_distance_over_thickness, iterations, seconds, converged,
// knot_checked, passage_block (null for none), kept_knot. The knot names are strings, the Alexander coefficients lists of integers
// (lowest degree first). Numbers with 17 significant digits (they read back
// exactly); null for a distance or figure that does not exist, for the
// knot of a polygon that could not be projected (or its polynomial, when
// the diagram was too large to evaluate) and for converged in a fixed run.
std::string FormatRelaxJson(const RelaxReport& report);

// A number for JSON: 17 significant digits whatever the locale, null
// when not finite.
std::string JsonNumber(double value);

// "3_1 (Alexander 1 -1 1, determinant 3, v2 1)", or why there is no name.
std::string KnotText(const KnotType& knot);

// The JSON keys of one knot (name, alexander, determinant, v2, each with
// `suffix`), each after ", "; null where the knot or its polynomial is
// missing.
std::string KnotJson(const KnotType& knot, const std::string& suffix);

}  // namespace vek
