#include "ideal/polygon_pairs.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <unordered_map>

#include "geom/segment_pair.h"
#include "geom/segment_tree.h"

namespace vek {

int LocalGap(double radius, double edge)
{
    return static_cast<int>(std::ceil(std::numbers::pi * radius / edge));
}

std::vector<EdgePair> CloseEdgePairs(PolygonView polygon, int minGap, double maxDistance)
{
    const int n = polygon.Size();
    std::vector<EdgePair> pairs;
    if (n < 4 || !(maxDistance > 0.0) || !std::isfinite(maxDistance) || !polygon.AllFinite())
        return pairs;
    // Boxes are compared with a reach a little beyond maxDistance, so that
    // no pair whose rounded distance falls below it is passed over.
    double scale = maxDistance;
    for (int i = 0; i < n; ++i)
        scale = std::max({scale, std::fabs(polygon.X(i)), std::fabs(polygon.Y(i)), std::fabs(polygon.Z(i))});
    const double reach = maxDistance + 1e-9 * scale;
    const double limit = maxDistance * maxDistance;
    const SegmentTree tree(polygon);
    for (int a = 0; a < n; ++a) {
        // Edges b > a at least minGap away both ways round.
        const long long first = static_cast<long long>(a) + std::max(minGap, 1);
        const long long last = std::min<long long>(n - 1, static_cast<long long>(a) + n - std::max(minGap, 1));
        if (first > last)
            continue;
        const Box3 box = tree.SegmentBox(a);
        const Vec3 a0 = polygon.Point(a), a1 = polygon.Point(polygon.Next(a));
        tree.Search(
            [&](const Box3& b, int from, int to) { return to >= first && from <= last && BoxesWithin(b, box, reach); },
            [&](int b) {
                if (b < first || b > last)
                    return;
                const SegmentPair pair =
                    ClosestSegmentPoints(a0, a1, polygon.Point(b), polygon.Point(polygon.Next(b)));
                if (pair.squared < limit)
                    pairs.push_back({a, b, std::sqrt(pair.squared)});
            });
    }
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
    // Only the pair at the minimum: its neighbours along either edge are
    // nearly parallel constraints of the same contact, which make the cone
    // solve's block singular but for rounding and cost it hundreds of
    // extra rounds a step, while the correction of every step (and the
    // certificate) sees the contact through its minimum alone.
    std::vector<EdgePair> kept;
    for (const EdgePair& pair : pairs) {
        const double d = pair.distance;
        const bool minimumOverB = d <= at(pair.a, pair.b - 1) && d <= at(pair.a, pair.b + 1);
        const bool minimumOverA = d <= at(pair.a - 1, pair.b) && d <= at(pair.a + 1, pair.b);
        if (std::isfinite(d) && (minimumOverB || minimumOverA))
            kept.push_back(pair);
    }
    return kept;
}

}  // namespace vek
