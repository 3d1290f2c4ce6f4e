// The name of a knot from a diagram: its HOMFLY-PT polynomial looked up in
// the built-in table.
#pragma once

#include <string>
#include <vector>

#include "knot/crossings.h"
#include "knot/laurent.h"
#include "knot/link_diagram.h"

namespace vek {

// Diagrams with more crossings than this (after reduction) are not
// evaluated: the skein tree would grow too large.
inline constexpr int kMaxHomflyCrossings = 40;
// The most skein tree nodes one polynomial may take.
inline constexpr long long kHomflyNodeBudget = 2000000;

struct KnotName {
    // False when the polynomial could not be evaluated (too many crossings
    // or nodes): nothing else is set.
    bool evaluated = false;
    Laurent2 homfly;
    // A table name ("8_19", "8_19*" for the mirror image), or "unknown"
    // when no knot of the table has the polynomial.
    std::string name;
    // Every name of the table with the same polynomial when there is more
    // than one (name is the first of them); empty when the name is certain.
    std::vector<std::string> candidates;
};

// The one-component diagram of a knot's Gauss code (same signs).
LinkDiagram GaussToDiagram(const GaussCode& code);

// In:  the diagram of a knot (one component), best already reduced.
// Out: its polynomial and name (see KnotName).
KnotName NameKnotDiagram(const LinkDiagram& diagram);

}  // namespace vek
