#include "curve/window_ends.h"

#include <cmath>

#include "curve/capsule_tree.h"
#include "curve/relax_step.h"

WindowSums MakeWindowSums(const double* segment, double* prefix, int n, double window)
{
    double* q = prefix;
    q[0] = 0.0;
    for (long long k = 0; k + 1 < 2LL * n; ++k)
        q[k + 1] = q[k] + segment[k < n ? k : k - n];
    // Any sum of these non-negative lengths, in any order, is within
    // about (number of terms) * roundoff * total of the exact sum: both the
    // difference of two prefix sums and the sequential sum of a window are
    // within `error` of the exact window length.
    const double total = q[2LL * n - 1];
    const double error = total * vek::kRoundoff * (6.0 * n + 2.0);
    const double spread = 2.0 * error + 4.0 * vek::kRoundoff * std::fabs(window);
    WindowSums sums;
    sums.segment = segment;
    sums.prefix = prefix;
    sums.n = n;
    sums.window = window;
    sums.surelyAbove = window + spread;
    sums.surelyBelow = window - spread;
    return sums;
}

WindowEnds::WindowEnds(const WindowSums& sums, int i0) : m_sums(sums), m_ahead(i0 + 1LL), m_behind(i0 + 1LL) {}

void WindowEnds::Next(int i, int& fwd, int& bwd)
{
    const WindowSums& s = m_sums;
    const double* q = s.prefix;
    const int n = s.n;
    const auto segment = [&s](int k) { return s.segment[k]; };

    // Forward window. The sequential sums only grow with the count, so the
    // count is the first one surely above, provided the one before is
    // surely below; otherwise the walk decides.
    const long long lastEnd = static_cast<long long>(i) + n - 1;
    if (m_ahead < i + 1)
        m_ahead = i + 1;
    while (m_ahead <= lastEnd && !(q[m_ahead] - q[i] > s.surelyAbove))
        ++m_ahead;
    fwd = static_cast<int>(m_ahead - i);
    if (fwd > 1 && !(q[i + fwd - 1] - q[i] < s.surelyBelow))
        fwd = WindowStepsBy(n, i, +1, s.window, segment);

    // Backward window, the same over the lengths before i.
    const long long home = static_cast<long long>(i) + n;
    if (m_behind < i + 1)
        m_behind = i + 1;
    while (m_behind <= lastEnd && q[home] - q[m_behind] > s.surelyAbove)
        ++m_behind;
    bwd = static_cast<int>(home - m_behind + 1);
    if (bwd > 1 && !(q[home] - q[home - bwd + 1] < s.surelyBelow))
        bwd = WindowStepsBy(n, i, -1, s.window, segment);
}
