#include "curve/window_ends.h"

#include <cmath>

#include "curve/capsule_tree.h"
#include "curve/relax_step.h"

WindowSums MakeWindowSums(const double* segment, double* prefix, int n, double window)
{
    // The prefix sums as unevaluated pairs hi + lo (lo at most a roundoff
    // of hi), so that their own rounding stays far below one roundoff of
    // the total: with plain sums it grows with the number of points, and at
    // a million points it would leave so many window ends in doubt that
    // walking them took most of the step.
    const long long count = 2LL * n;
    double* hi = prefix;
    double* lo = prefix + count;
    hi[0] = 0.0;
    lo[0] = 0.0;
    for (long long k = 0; k + 1 < count; ++k) {
        const double add = segment[k < n ? k : k - n];
        const double s = hi[k] + add;  // two-sum: s + e = hi[k] + add exactly
        const double b = s - hi[k];
        const double e = (hi[k] - (s - b)) + (add - b) + lo[k];
        hi[k + 1] = s + e;  // fast two-sum, |s| >= |e|
        lo[k + 1] = e - (hi[k + 1] - s);
    }
    // Bounds, u the roundoff and S the exact sum of a window's lengths:
    //   - each pair is within 4 u^2 of the running total of the exact
    //     prefix sum per step, so a difference of two within 16 n u^2 total;
    //   - the difference D of two pairs, as Span computes it, is within
    //     2 u |D| + 6 u^2 total of the difference of the pairs;
    //   - the sequential sum of at most n lengths, in any order, is within
    //     n u S / (1 - n u) of S.
    // surelyAbove and surelyBelow leave room for all three with a factor
    // of two to spare, and a floor for totals in the subnormal range.
    const double total = hi[count - 1];
    const double u = vek::kRoundoff;
    const double absolute = 2.0 * (16.0 * n + 6.0) * u * u * total + 0x1p-1000;
    const double relative = 3.0 * (n + 4.0) * u;
    WindowSums sums;
    sums.segment = segment;
    sums.prefix = hi;
    sums.prefixLow = lo;
    sums.n = n;
    sums.window = window;
    sums.surelyAbove = window + relative * std::fabs(window) + absolute;
    // A negative window (no sum stays at or below it) is always walked.
    sums.surelyBelow = window < 0.0 ? -INFINITY : window - relative * window - absolute;
    return sums;
}

WindowEnds::WindowEnds(const WindowSums& sums, int i0) : m_sums(sums), m_ahead(i0 + 1LL), m_behind(i0 + 1LL) {}

void WindowEnds::Next(int i, int& fwd, int& bwd)
{
    const WindowSums& s = m_sums;
    const int n = s.n;
    const auto span = [&s](long long a, long long b) { return Span(s, a, b); };
    const auto segment = [&s](int k) { return s.segment[k]; };

    // Forward window. The sequential sums only grow with the count, so the
    // count is the first one surely above, provided the one before is
    // surely below; otherwise the walk decides.
    const long long lastEnd = static_cast<long long>(i) + n - 1;
    if (m_ahead < i + 1)
        m_ahead = i + 1;
    while (m_ahead <= lastEnd && !(span(i, m_ahead) > s.surelyAbove))
        ++m_ahead;
    fwd = static_cast<int>(m_ahead - i);
    if (fwd > 1 && !(span(i, i + fwd - 1) < s.surelyBelow))
        fwd = WindowStepsBy(n, i, +1, s.window, segment);

    // Backward window, the same over the lengths before i.
    const long long home = static_cast<long long>(i) + n;
    if (m_behind < i + 1)
        m_behind = i + 1;
    while (m_behind <= lastEnd && span(m_behind, home) > s.surelyAbove)
        ++m_behind;
    bwd = static_cast<int>(home - m_behind + 1);
    if (bwd > 1 && !(span(home - bwd + 1, home) < s.surelyBelow))
        bwd = WindowStepsBy(n, i, -1, s.window, segment);
}
