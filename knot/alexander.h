// Knot invariants from a Gauss code: diagram reduction and the Alexander
// polynomial by exact modular arithmetic.
#pragma once

#include <vector>

#include "knot/crossings.h"

namespace vek {

// Removes the crossings that Reidemeister moves I and II take away: a
// crossing whose two passages follow each other (a kink), and two crossings
// passed one after the other by one strand over both and by another strand
// under both (a bigon). Both moves leave the knot type unchanged; repeated
// until neither applies. Crossings are renumbered 0 ... c - 1.
void ReduceGaussCode(GaussCode& code);

// Diagrams with more crossings than this (after reduction) are not
// evaluated: the exact determinant would cost too much time.
inline constexpr int kMaxAlexanderCrossings = 150;

// In:  the Gauss code of a knot diagram (two passages per crossing, each
//      crossing passed once over and once under).
// Out: true with the Alexander polynomial, normalised (symmetric, positive
//      leading coefficient, lowest degree first), or false when the code is
//      not a knot diagram, has more than kMaxAlexanderCrossings crossings, or
//      its polynomial is not that of a knot (a projection error).
bool AlexanderPolynomial(const GaussCode& code, std::vector<long long>& alexander);

// |Delta(-1)| of a normalised Alexander polynomial.
long long KnotDeterminant(const std::vector<long long>& alexander);

// The z^2 coefficient of the Conway polynomial: Delta''(1) / 2 for Delta
// scaled so that Delta(1) = 1.
long long ConwayV2(const std::vector<long long>& alexander);

}  // namespace vek
