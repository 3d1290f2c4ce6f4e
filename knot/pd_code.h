// The planar diagram code of a knot: its crossings as quadruples of arc
// labels. The arcs are numbered 1 ... 2n along the orientation; a crossing
// [a, b, c, d] lists the arcs around it counterclockwise seen from above,
// starting with the arc a that enters it as the lower strand (so c = a + 1
// modulo 2n leaves it), b and d being the upper strand (d = b + 1 or
// b = d + 1). The unknot's code is the empty list.
#pragma once

#include <array>
#include <string>
#include <string_view>
#include <vector>

#include "knot/link_diagram.h"

namespace vek {

using PdCrossing = std::array<int, 4>;

struct PdCode {
    std::vector<PdCrossing> crossings;
};

// In:  text such as "[[1,5,2,4],[3,1,4,6],[5,3,6,2]]" (spaces allowed).
// Out: true with the code, or false with a message saying what is wrong
//      when the text is not a list of integer quadruples or the code is not
//      one closed, oriented, planar component in the convention above.
bool ParsePdCode(std::string_view text, PdCode& code, std::string& error);

// In:  a code accepted by ParsePdCode (checked again).
// Out: true with its knot as a one-component diagram, or false with a
//      message.
bool PdToDiagram(const PdCode& code, LinkDiagram& diagram, std::string& error);

// The code of the mirror image: every crossing's upper and lower strand
// exchanged.
PdCode MirrorPd(const PdCode& code);

// The code written back in the text form ParsePdCode reads.
std::string FormatPdCode(const PdCode& code);

}  // namespace vek
