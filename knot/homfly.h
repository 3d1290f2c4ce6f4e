// The HOMFLY-PT polynomial of an oriented link diagram, exactly, in the
// skein convention
//
//     v^-1 P(L+) - v P(L-) = z P(L0),     P(unknot) = 1,
//
// where L+, L-, L0 differ at one crossing: positive, negative, smoothed
// along the orientation. In this convention the positive (right-handed)
// trefoil has P = 2 v^2 - v^4 + v^2 z^2, and the mirror image of a link
// has P(-1/v, z).
#pragma once

#include <cstdint>

#include "knot/laurent.h"
#include "knot/link_diagram.h"

namespace vek {

struct HomflyStats {
    // Diagrams evaluated (skein tree nodes not found in the memo).
    std::int64_t nodes = 0;
};

// In:  a link diagram (any number of components, none needs crossings);
//      nodeBudget: the most skein tree nodes to evaluate (0: no bound).
// Out: true with P, or false when the budget ran out or a coefficient left
//      the 64-bit range.
bool HomflyPolynomial(const LinkDiagram& diagram, Laurent2& p, std::int64_t nodeBudget = 0,
                      HomflyStats* stats = nullptr);

}  // namespace vek
