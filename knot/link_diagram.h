// A diagram of an oriented link as its signed Gauss code: per component the
// crossings in the order the component passes them, each passage over or
// under, and per crossing its sign. The sign is +1 for a positive
// (right-handed) crossing: the over strand's direction turned
// counterclockwise by less than a half turn is the under strand's.
#pragma once

#include <vector>

namespace vek {

struct LinkPassage {
    int crossing = 0;
    bool over = false;
    bool operator==(const LinkPassage&) const = default;
};

struct LinkDiagram {
    // A component without passages is a circle crossing nothing.
    std::vector<std::vector<LinkPassage>> components;
    // Per crossing: +1 or -1.
    std::vector<int> sign;
};

}  // namespace vek
