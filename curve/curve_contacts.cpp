#include "curve/curve_contacts.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <vector>

#include "curve/block_split.h"
#include "curve/relax_step.h"
#include "curve/segment_tree.h"
#include "curve/vec_math.h"
#include "curve/window_counts.h"

CurveContacts CountCurveContacts(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                                 double reach)
{
    const int n = x.GetSize();
    CurveContacts contacts;
    contacts.nearest = std::numeric_limits<double>::infinity();
    if (n < 2)
        return contacts;
    // The windows of every point: the pair test needs both.
    std::vector<int> fwd, bwd;
    WindowCounts(x, y, z, window, fwd, bwd);
    const size_t count = static_cast<size_t>(n);
    const vek::SegmentTree tree({x.GetData(), count}, {y.GetData(), count}, {z.GetData(), count});
    // Blocks of points side by side; a count and a minimum do not depend
    // on the order in which the blocks are added up.
    constexpr int kGrain = 512;
    const double reach2 = reach * reach * (1.0 + 1e-12);
    std::vector<CurveContacts> found(static_cast<size_t>(vek::BlockCount(n, kGrain)));
    vek::ForEachBlock(n, kGrain, [&](int begin, int end, int block) {
        CurveContacts& part = found[static_cast<size_t>(block)];
        part.nearest = std::numeric_limits<double>::infinity();
        for (int i = begin; i < end; ++i) {
            if (static_cast<long long>(fwd[i]) + bwd[i] > n)
                continue;  // no candidate
            const double p[3] = {x[i], y[i], z[i]};
            tree.Search(
                [&](const vek::Box3& box, int first, int last) {
                    // A box whose (rounded) squared distance is not below
                    // the slightly widened reach squared holds no point
                    // closer than reach: that distance is never larger than
                    // the one to a point inside, and the widening covers
                    // the rounding of the squares.
                    return last > i && vek::BoxDistanceSquared(box, p) < reach2 &&
                           !vek::RunInsideCyclicRange(std::max(first, i + 1), last, i, n, bwd[i] - 1, fwd[i] - 1);
                },
                [&](int j) {
                    if (j <= i || !IsWindowCandidate(i, j, n, fwd[i], bwd[i]) ||
                        !IsWindowCandidate(j, i, n, fwd[j], bwd[j]))
                        return;
                    const double d = Distance(x, y, z, j, i);
                    if (d < reach) {
                        ++part.count;
                        if (d < part.nearest)
                            part.nearest = d;
                    }
                });
        }
    });
    for (const CurveContacts& part : found) {
        contacts.count += part.count;
        contacts.nearest = std::min(contacts.nearest, part.nearest);
    }
    return contacts;
}
