#include "ideal/length_metric.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

#include "geom/polygon_measures.h"

namespace {

// A wobbly closed curve of n vertices, its length gradient, and random
// constraints on its vertices: the direction must not turn any constraint
// negative, must shorten the curve, and must hold the constraints with a
// positive multiplier exactly.
class LengthMetricDirections : public ::testing::TestWithParam<int> {};

TEST_P(LengthMetricDirections, AreFeasibleShorteningAndComplementary)
{
    const int n = 40, m = GetParam();
    std::vector<double> points;
    for (int i = 0; i < n; ++i) {
        const double t = 2.0 * 3.141592653589793 * i / n;
        points.insert(points.end(), {10.0 * std::cos(t), 7.0 * std::sin(t), 2.0 * std::sin(3.0 * t)});
    }
    const std::vector<double> g = vek::PolygonLengthGradient(vek::PolygonView::Interleaved(points));
    std::mt19937 random(17);
    std::normal_distribution<double> normal;
    std::vector<vek::Constraint> constraints(m);
    for (vek::Constraint& c : constraints) {
        c.count = 4;
        for (int v = 0; v < 4; ++v) {
            c.vertex[v] = static_cast<int>(random() % n);
            for (double& x : c.gradient[v])
                x = normal(random);
        }
    }
    const vek::MetricDirection d = vek::LengthMetricDirection(points, constraints, g, {}, vek::ConeOrdering::MinimumDegree, {});
    ASSERT_TRUE(d.cone.converged);
    double slope = 0.0, size = 0.0;
    for (size_t k = 0; k < g.size(); ++k) {
        slope += g[k] * d.direction[k];
        size = std::max(size, std::abs(d.direction[k]));
    }
    EXPECT_LT(slope, 0.0);
    const std::vector<double> rates = vek::ConstraintRates(constraints, d.direction);
    for (int k = 0; k < m; ++k) {
        EXPECT_GE(rates[k], -1e-8 * size) << "constraint " << k;
        if (d.cone.multipliers[k] > 0.0) {
            EXPECT_NEAR(rates[k], 0.0, 1e-8 * size) << "constraint " << k;
        }
    }
}

// None, a few, and more constraints than coordinates.
INSTANTIATE_TEST_SUITE_P(Table, LengthMetricDirections, ::testing::Values(0, 12, 200));

}  // namespace
