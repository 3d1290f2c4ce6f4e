// The list of the knot table dialog, without the toolkit: the knots whose
// name begins with what was typed, grouped by crossing number.
#pragma once

#include <string>
#include <vector>

struct KnotChoice {
    std::string name;  // "8_19"
    int crossings = 0;
    bool mirrorDiffers = false;  // false for an amphicheiral knot
};

struct KnotGroup {
    int crossings = 0;
    std::vector<int> rows;  // indices into the choices, in their order
};

// In:  choices, in the table's order; typed, the filter text (surrounding
//      spaces and a trailing "*" ignored, letters in any case).
// Out: the groups by crossing number (increasing) of the choices whose
//      name begins with the filter; only groups with a row.
std::vector<KnotGroup> FilterKnots(const std::vector<KnotChoice>& choices, const std::string& typed);

// The name to make: choice's name, with "*" when the mirror image is asked
// for and differs from the knot.
std::string ChosenKnotName(const KnotChoice& choice, bool mirror);
