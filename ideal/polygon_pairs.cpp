#include "ideal/polygon_pairs.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <unordered_map>

#include "ideal/segment_distance.h"

namespace vek {

std::vector<double> ResampleByArcLength(const std::vector<double>& x, const std::vector<double>& y,
                                        const std::vector<double>& z, int count)
{
    const size_t n = x.size();
    std::vector<double> cumulative(n + 1, 0.0);
    for (size_t i = 0; i < n; ++i) {
        const size_t j = (i + 1) % n;
        cumulative[i + 1] = cumulative[i] + std::hypot(x[j] - x[i], y[j] - y[i], z[j] - z[i]);
    }
    const double total = cumulative[n];
    if (n < 3 || count < 3 || !std::isfinite(total) || !(total > 0.0))
        return {};
    std::vector<double> out;
    out.reserve(static_cast<size_t>(count) * 3);
    size_t segment = 0;
    for (int k = 0; k < count; ++k) {
        const double at = total * k / count;
        while (segment + 1 < n && cumulative[segment + 1] <= at)
            ++segment;
        const double span = cumulative[segment + 1] - cumulative[segment];
        const double f = span > 0.0 ? (at - cumulative[segment]) / span : 0.0;
        const size_t j = (segment + 1) % n;
        out.push_back(x[segment] + f * (x[j] - x[segment]));
        out.push_back(y[segment] + f * (y[j] - y[segment]));
        out.push_back(z[segment] + f * (z[j] - z[segment]));
    }
    return out;
}

int LocalGap(double radius, double edge)
{
    return static_cast<int>(std::ceil(std::numbers::pi * radius / edge));
}

std::vector<EdgePair> CloseEdgePairs(const std::vector<double>& points, int minGap, double maxDistance)
{
    const int n = static_cast<int>(points.size() / 3);
    std::vector<EdgePair> pairs;
    if (n < 4)
        return pairs;
    // Cells as wide as the longest edge plus maxDistance: two edges closer
    // than maxDistance have midpoints in the same or neighbouring cells.
    double longest = 0.0;
    for (int i = 0; i < n; ++i) {
        const double* p = &points[3 * i];
        const double* q = &points[3 * ((i + 1) % n)];
        longest = std::max(longest, std::hypot(q[0] - p[0], q[1] - p[1], q[2] - p[2]));
    }
    const double cell = longest + maxDistance;
    if (!(cell > 0.0) || !std::isfinite(cell))
        return pairs;
    auto key = [](long long i, long long j, long long k) {
        return (i * 73856093LL) ^ (j * 19349663LL) ^ (k * 83492791LL);
    };
    std::unordered_multimap<long long, int> grid;
    std::vector<long long> cellOf(3 * n);
    for (int i = 0; i < n; ++i) {
        const double* p = &points[3 * i];
        const double* q = &points[3 * ((i + 1) % n)];
        for (int c = 0; c < 3; ++c)
            cellOf[3 * i + c] = static_cast<long long>(std::floor(0.5 * (p[c] + q[c]) / cell));
        grid.emplace(key(cellOf[3 * i], cellOf[3 * i + 1], cellOf[3 * i + 2]), i);
    }
    const double limit = maxDistance * maxDistance;
    for (int a = 0; a < n; ++a) {
        for (int di = -1; di <= 1; ++di)
            for (int dj = -1; dj <= 1; ++dj)
                for (int dk = -1; dk <= 1; ++dk) {
                    const auto range =
                        grid.equal_range(key(cellOf[3 * a] + di, cellOf[3 * a + 1] + dj, cellOf[3 * a + 2] + dk));
                    for (auto it = range.first; it != range.second; ++it) {
                        const int b = it->second;
                        const int gap = std::min(std::abs(b - a), n - std::abs(b - a));
                        if (b <= a || gap < minGap)
                            continue;
                        const SegmentPair pair =
                            ClosestSegmentPoints(&points[3 * a], &points[3 * ((a + 1) % n)], &points[3 * b],
                                                 &points[3 * ((b + 1) % n)]);
                        if (pair.squared < limit)
                            pairs.push_back({a, b, std::sqrt(pair.squared)});
                    }
                }
    }
    // Hash collisions may list one cell's edges twice.
    std::sort(pairs.begin(), pairs.end(), [](const EdgePair& l, const EdgePair& r) {
        return l.a != r.a ? l.a < r.a : l.b < r.b;
    });
    pairs.erase(std::unique(pairs.begin(), pairs.end(),
                            [](const EdgePair& l, const EdgePair& r) { return l.a == r.a && l.b == r.b; }),
                pairs.end());
    return pairs;
}

}  // namespace vek

namespace vek {

std::vector<EdgePair> StrutCandidates(const std::vector<EdgePair>& pairs, int n)
{
    // Distance of every listed pair, to compare a pair with its neighbours
    // along either edge.
    std::unordered_map<long long, double> distance;
    auto key = [n](int a, int b) {
        a = (a % n + n) % n;
        b = (b % n + n) % n;
        if (a > b)
            std::swap(a, b);
        return static_cast<long long>(a) * n + b;
    };
    for (const EdgePair& pair : pairs)
        distance.emplace(key(pair.a, pair.b), pair.distance);
    auto at = [&](int a, int b) {
        const auto it = distance.find(key(a, b));
        return it == distance.end() ? std::numeric_limits<double>::infinity() : it->second;
    };
    std::vector<EdgePair> kept;
    for (const EdgePair& pair : pairs) {
        bool nearMinimum = false;
        // The pair or one of its neighbours along the second edge is a
        // local minimum over the second edge, seen from the first or the
        // other way round.
        for (int shift = -1; shift <= 1 && !nearMinimum; ++shift) {
            const int b = pair.b + shift, a = pair.a + shift;
            const double db = at(pair.a, b), da = at(a, pair.b);
            nearMinimum = (db <= at(pair.a, b - 1) && db <= at(pair.a, b + 1) && std::isfinite(db)) ||
                          (da <= at(a - 1, pair.b) && da <= at(a + 1, pair.b) && std::isfinite(da));
        }
        if (nearMinimum)
            kept.push_back(pair);
    }
    return kept;
}

}  // namespace vek
