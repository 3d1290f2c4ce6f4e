// The exclusion window ends of RelaxStepFast: the window step counts of
// every point (WindowSteps of relax_step.h), read off prefix sums of the
// segment lengths where an error bound proves that RelaxStep's own
// sequential sum lands on the same side of the window length, and walked
// exactly as RelaxStep walks them otherwise.
#pragma once

// The prefix sums and their bounds, shared by all points of a step.
struct WindowSums {
    const double* segment = nullptr;  // n segment lengths, |P[k+1] - P[k]|
    const double* prefix = nullptr;   // 2n prefix sums, twice round the curve: prefix + prefixLow
    const double* prefixLow = nullptr;
    int n = 0;
    double window = 0.0;
    double surelyAbove = 0.0;  // a prefix-sum window length above this: the sequential sum exceeds the window
    double surelyBelow = 0.0;  // below this: the sequential sum does not
};

// In:  segment: the n >= 1 finite segment lengths; prefix: room for 4n
//      doubles; the window length.
// Out: prefix filled with the sums of segment[0 ... k - 1 mod n], k < 2n,
//      each as a pair of doubles (the second 2n hold the low parts), and
//      the sums with their bounds.
WindowSums MakeWindowSums(const double* segment, double* prefix, int n, double window);

// The length from prefix sum a to prefix sum b (a <= b), as the bounds of
// the sums allow for.
inline double Span(const WindowSums& s, long long a, long long b)
{
    return (s.prefix[b] - s.prefix[a]) + (s.prefixLow[b] - s.prefixLow[a]);
}

// The window ends of the points i = i0, i0 + 1, ... in turn: both ends only
// move forwards as i grows, so a run of points costs O(n) for them.
class WindowEnds {
public:
    // In:  the sums and the first point i0 that will be asked.
    WindowEnds(const WindowSums& sums, int i0);

    // In:  point i, not below the previous one asked.
    // Out: fwd and bwd, equal to WindowSteps(x, y, z, i, +1 / -1, window).
    void Next(int i, int& fwd, int& bwd);

private:
    const WindowSums& m_sums;
    long long m_ahead;   // first b with q[b] - q[i] surely above
    long long m_behind;  // first a with q[i + n] - q[a] not surely above
};
