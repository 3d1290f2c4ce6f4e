// Runs of consecutive curve points that share one walk of a box hierarchy:
// a search from a group's box visits the nodes near any of its points once
// for all of them.
#pragma once

#include <algorithm>
#include <vector>

#include "curve/double_array.h"
#include "geom/segment_tree.h"

namespace vek {

// The runs g0 ... g1 of up to kGroup consecutive points of begin ... end - 1
// that have a candidate each (fwd[k] + bwd[k] <= n), in order.
template <class Take>
void ForEachCandidateGroup(int begin, int end, int n, const std::vector<int>& fwd, const std::vector<int>& bwd,
                           const Take& take)
{
    constexpr int kGroup = 8;
    const auto hasCandidate = [&](int k) { return static_cast<long long>(fwd[k]) + bwd[k] <= n; };
    for (int g0 = begin; g0 < end;) {
        if (!hasCandidate(g0)) {
            ++g0;
            continue;
        }
        int g1 = g0;
        while (g1 + 1 < std::min(end, g0 + kGroup) && hasCandidate(g1 + 1))
            ++g1;
        take(g0, g1);
        g0 = g1 + 1;
    }
}

// Whether the run first ... last lies inside the exclusion window of every
// point g0 ... g1 (fwd, bwd: their window counts), so that none of them can
// have a candidate there.
inline bool RunInsideEveryWindow(int first, int last, int g0, int g1, int n, const std::vector<int>& fwd,
                                 const std::vector<int>& bwd)
{
    for (int i = g0; i <= g1; ++i)
        if (!RunInsideCyclicRange(first, last, i, n, bwd[i] - 1, fwd[i] - 1))
            return false;
    return true;
}

// The box of points g0 ... g1.
inline Box3 PointsBox(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int g0, int g1)
{
    Box3 box{{x[g0], y[g0], z[g0]}, {x[g0], y[g0], z[g0]}};
    for (int k = g0 + 1; k <= g1; ++k) {
        const double p[3] = {x[k], y[k], z[k]};
        for (int a = 0; a < 3; ++a) {
            box.lo[a] = std::min(box.lo[a], p[a]);
            box.hi[a] = std::max(box.hi[a], p[a]);
        }
    }
    return box;
}

}  // namespace vek
