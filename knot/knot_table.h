// The table of knots by name: the unknot and every prime knot through 12
// crossings (data/knots.csv), each with a diagram and its HOMFLY-PT
// polynomial computed from that diagram when the program was built.
#pragma once

#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "knot/laurent.h"
#include "knot/pd_code.h"

namespace vek {

struct KnotTableRow {
    std::string name;
    int crossings = 0;
    // "reversible", "chiral", "fully amphicheiral", ...
    std::string symmetry;
    std::string pd;
    // Of the knot of the diagram (the plain name).
    Laurent2 homfly;
    // False for amphicheiral knots: the mirror image is the knot itself.
    bool mirrorDiffers = false;
};

// Every row, in the table's order (0_1, 3_1, ..., 12n_888).
const std::vector<KnotTableRow>& KnotTable();

// In:  a name of the table, or such a name with "*" for the mirror image
//      (an amphicheiral knot's "NAME*" is the knot itself).
// Out: the row and whether the mirror image is meant, or nullptr.
const KnotTableRow* FindKnot(std::string_view name, bool& mirror);

// The diagram code of a named knot (mirrored for "NAME*"); false with a
// message for a name not in the table.
bool KnotPdByName(std::string_view name, PdCode& code, std::string& error);

// The names whose polynomial is p: "NAME" for a row's knot, "NAME*" for a
// chiral row's mirror image, in the table's order (a knot before its
// mirror image).
std::vector<std::string> KnotsWithHomfly(const Laurent2& p);

}  // namespace vek
