// A closed polygon in space of the knot of a diagram code: the diagram's
// plane graph, with every face fanned from a centre and one of the largest
// faces outside fixed on a circle, laid out as weighted means of
// neighbours (the weights refined until the drawing is even), then spread
// by springs that never fold a triangle over; each crossing passed along a
// straight line through it,
// the upper strand lifted above the plane and the lower one below, then
// scaled so that strands that are not neighbours along the curve keep a
// given clearance.
#pragma once

#include <string>
#include <vector>

#include "knot/pd_code.h"

namespace vek {

struct KnotLayoutOptions {
    // The smallest distance between points of the polygon further apart
    // along it than a few clearances.
    double clearance = 0.036;
    // Distance between consecutive vertices of the polygon written.
    double spacing = 0.015;
    // Which of the layouts with the largest faces outside: 0 the one whose
    // strands keep the largest gap for their length, 1 the next, ... Each
    // is another start for a search that may end in a local optimum.
    int outerRank = 0;
};

// Diagram codes with more crossings than this are not laid out.
inline constexpr int kMaxLayoutCrossings = 400;

// In:  a code accepted by ParsePdCode.
// Out: true with the vertices of a closed polygon (not repeating the first)
//      of the diagram's knot with its chirality, or false with a message
//      (too many crossings, a diagram whose layout degenerates, which a
//      diagram without kinks does not, or fewer layouts than outerRank + 1).
bool LayOutKnot(const PdCode& code, const KnotLayoutOptions& options, std::vector<double>& x, std::vector<double>& y,
                std::vector<double>& z, std::string& error);

}  // namespace vek
