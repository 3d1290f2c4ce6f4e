// Reidemeister moves that lower the crossing count of a link diagram.
#pragma once

#include "knot/link_diagram.h"

namespace vek {

// Removes, until none is left, every kink (a crossing whose two passages
// follow each other on one component: move I) and every bigon (two
// crossings of opposite signs passed one after the other over both by one
// strand and under both by another: move II). The link type is unchanged.
// Crossings are renumbered 0 ... c - 1 in the order of their first passage.
void ReduceLinkDiagram(LinkDiagram& d);

// Renumbers the crossings 0 ... c - 1 in the order of their first passage
// and drops the signs of crossings no longer passed.
void CompactLinkDiagram(LinkDiagram& d);

}  // namespace vek
