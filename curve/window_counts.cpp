#include "curve/window_counts.h"

#include <cmath>
#include <limits>

#include "curve/relax_step.h"

void WindowCounts(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double window,
                  std::vector<int>& fwd, std::vector<int>& bwd)
{
    const int n = x.GetSize();
    fwd.assign(static_cast<size_t>(n), 0);
    bwd.assign(static_cast<size_t>(n), 0);
    if (n == 0)
        return;
    // Segment lengths with the walk's expression; prefix sums twice round.
    std::vector<double> q(2 * static_cast<size_t>(n), 0.0);
    bool finite = std::isfinite(window);
    for (long long k = 0; k + 1 < 2LL * n; ++k) {
        const int a = static_cast<int>(k % n);
        const int b = a + 1 == n ? 0 : a + 1;
        const double dx = x[b] - x[a];
        const double dy = y[b] - y[a];
        const double dz = z[b] - z[a];
        q[k + 1] = q[k] + std::sqrt(dx * dx + dy * dy + dz * dz);
    }
    const double total = q[2 * static_cast<size_t>(n) - 1];
    finite = finite && std::isfinite(total);
    if (!finite) {
        for (int i = 0; i < n; ++i) {
            fwd[i] = WindowSteps(x, y, z, i, +1, window);
            bwd[i] = WindowSteps(x, y, z, i, -1, window);
        }
        return;
    }
    // Any sum of up to 2n of these lengths, in any order, lies within
    // `error` of the exact sum.
    constexpr double kRoundoff = std::numeric_limits<double>::epsilon();
    const double error = total * kRoundoff * (6.0 * n + 2.0);
    const double spread = 2.0 * error + 4.0 * kRoundoff * std::fabs(window);
    const double above = window + spread, below = window - spread;
    long long ahead = 1, behind = 1;
    for (int i = 0; i < n; ++i) {
        const long long lastEnd = static_cast<long long>(i) + n - 1;
        // Forward: the first count whose sum is surely above the window,
        // when the count before is surely below it.
        if (ahead < i + 1)
            ahead = i + 1;
        while (ahead <= lastEnd && !(q[ahead] - q[i] > above))
            ++ahead;
        int f = static_cast<int>(ahead - i);
        if (f > n || (f > 1 && !(q[i + f - 1] - q[i] < below)) || !(q[i + f] - q[i] > above))
            f = WindowSteps(x, y, z, i, +1, window);
        fwd[i] = f;
        // Backward: the lengths before i, read at i + n.
        const long long home = static_cast<long long>(i) + n;
        if (behind < i + 1)
            behind = i + 1;
        while (behind <= lastEnd && q[home] - q[behind] > above)
            ++behind;
        int b = static_cast<int>(home - behind + 1);
        if (b > n || (b > 1 && !(q[home] - q[home - b + 1] < below)) || !(q[home] - q[home - b] > above))
            b = WindowSteps(x, y, z, i, -1, window);
        bwd[i] = b;
    }
}
