#include "curve/curve_contacts.h"

#include <cmath>
#include <limits>
#include <vector>

#include "curve/relax_step.h"
#include "curve/vec_math.h"

CurveContacts CountCurveContacts(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                                 double reach)
{
    const int n = x.GetSize();
    CurveContacts contacts;
    contacts.nearest = std::numeric_limits<double>::infinity();

    // The windows of every point, walked once: the pair test needs both.
    std::vector<int> fwd(static_cast<size_t>(n)), bwd(static_cast<size_t>(n));
    for (int i = 0; i < n; ++i) {
        fwd[i] = WindowSteps(x, y, z, i, +1, window);
        bwd[i] = WindowSteps(x, y, z, i, -1, window);
    }
    for (int i = 0; i < n; ++i) {
        for (int j = i + 1; j < n; ++j) {
            if (!IsWindowCandidate(i, j, n, fwd[i], bwd[i]) || !IsWindowCandidate(j, i, n, fwd[j], bwd[j]))
                continue;
            const double d = Distance(x, y, z, j, i);
            if (d < reach) {
                ++contacts.count;
                if (d < contacts.nearest)
                    contacts.nearest = d;
            }
        }
    }
    return contacts;
}
