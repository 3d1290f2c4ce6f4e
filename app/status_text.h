// The texts of the status bar's fields, without the toolkit.
#pragma once

#include <array>
#include <string>

#include "ideal/optimise_ideal.h"
#include "relax/curve_figures.h"

// The fields in their order under the view.
enum StatusField { kFieldKnot, kFieldRopelength, kFieldNominal, kFieldPoints, kFieldIterations, kStatusFieldCount };

using StatusTexts = std::array<std::string, kStatusFieldCount>;

// In:  the figures of the curve; the relaxation iterations done on it.
// Out: the labelled texts of every field.
StatusTexts FormatStatusTexts(const vek::CurveFigures& figures, long long iterations);

// The widest text each figure field shows in use (the knot field's is
// empty: it takes the room the figures leave), so that the bar can give
// every figure room enough and never cut one short.
StatusTexts WidestStatusTexts();

// While the ideal shape is made: the certified ropelength of the
// optimiser's current polygon in the ropelength field ("ロープ長: -" until
// the first level reports) and its level in the iterations field, each as
// narrow as the field's widest text; the other fields are empty (kept).
StatusTexts FormatIdealProgressTexts(const vek::IdealProgress& progress);
