// RelaxStepFast against RelaxStep: the same curve stepped by both must give
// the same doubles, bit for bit, in the curve and in the work arrays, after
// every step, on one thread and on several.
#include "curve/relax_step_fast.h"

#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <memory>
#include <ostream>
#include <random>
#include <string>
#include <vector>

#include "curve/constants.h"
#include "curve/relax_step.h"
#include "curve/resample_curve.h"
#include "test_support.h"

namespace {

struct Arrays {
    CDoubleArray x, y, z;
    CDoubleArray nx, ny, nz;

    void Assign(const std::vector<Point>& points) { SetArrays(x, y, z, points); }
    void CopyCurve(const Arrays& from)
    {
        const int n = from.x.GetSize();
        x.SetSize(n);
        y.SetSize(n);
        z.SetSize(n);
        for (int k = 0; k < n; ++k) {
            x[k] = from.x[k];
            y[k] = from.y[k];
            z[k] = from.z[k];
        }
    }
};

// The first difference between two arrays, bit for bit, or "" if none.
std::string FirstDifference(const char* name, const CDoubleArray& expected, const CDoubleArray& actual)
{
    if (expected.GetSize() != actual.GetSize())
        return std::string(name) + ": size " + std::to_string(actual.GetSize()) + " instead of " +
               std::to_string(expected.GetSize());
    for (int k = 0; k < expected.GetSize(); ++k) {
        if (std::bit_cast<std::uint64_t>(expected[k]) != std::bit_cast<std::uint64_t>(actual[k])) {
            char text[160];
            std::snprintf(text, sizeof text, "%s[%d]: %.17g instead of %.17g", name, k, actual[k], expected[k]);
            return text;
        }
    }
    return "";
}

std::string FirstDifference(const Arrays& expected, const Arrays& actual)
{
    const char* names[6] = {"x", "y", "z", "nx", "ny", "nz"};
    const CDoubleArray* e[6] = {&expected.x, &expected.y, &expected.z, &expected.nx, &expected.ny, &expected.nz};
    const CDoubleArray* a[6] = {&actual.x, &actual.y, &actual.z, &actual.nx, &actual.ny, &actual.nz};
    for (int k = 0; k < 6; ++k) {
        const std::string difference = FirstDifference(names[k], *e[k], *a[k]);
        if (!difference.empty())
            return difference;
    }
    return "";
}

struct RunSetup {
    int iterations = 60;
    double precision = 0.0;  // 0: no resampling
    double thickness = vek::kThickness;
    double window = ExclusionWindow(vek::kThickness);
    std::vector<int> threads = {1, 2, 4};
    bool alsoPointByPoint = true;
};

// Steps the curve with RelaxStep and, beside it, with RelaxStepFast on one
// workspace per thread count (all forced to use their threads whatever the
// point count), resampling every run period when a precision is given.
// Returns "" when all agreed after every step, else where they first parted.
std::string CompareRuns(const std::vector<Point>& points, const RunSetup& setup)
{
    Arrays reference;
    reference.Assign(points);
    std::vector<std::unique_ptr<Arrays>> fast;
    std::vector<std::unique_ptr<CRelaxWorkspace>> workspaces;
    for (int threads : setup.threads) {
        fast.push_back(std::make_unique<Arrays>());
        fast.back()->Assign(points);
        workspaces.push_back(std::make_unique<CRelaxWorkspace>(threads));
        workspaces.back()->SetParallelThreshold(0);
    }
    // One more that leaves the shared search of a group at once and
    // searches every point on its own, as crowded groups do.
    std::vector<int> threads = setup.threads;
    if (setup.alsoPointByPoint) {
        fast.push_back(std::make_unique<Arrays>());
        fast.back()->Assign(points);
        workspaces.push_back(std::make_unique<CRelaxWorkspace>(2));
        workspaces.back()->SetParallelThreshold(0);
        workspaces.back()->SetGroupLeafLimit(1);
        threads.push_back(-2);  // shown as "-2 threads": point by point
    }
    for (int step = 0; step < setup.iterations; ++step) {
        if (setup.precision > 0.0 && step % vek::kRunPeriod == 0) {
            if (!ResampleCurve(reference.x, reference.y, reference.z, setup.thickness, setup.precision))
                return "";  // too many points: nothing more to compare
            for (auto& f : fast)
                f->CopyCurve(reference);
        }
        RelaxStep(reference.x, reference.y, reference.z, setup.thickness, setup.window, reference.nx, reference.ny,
                  reference.nz);
        for (size_t k = 0; k < fast.size(); ++k) {
            Arrays& f = *fast[k];
            RelaxStepFast(f.x, f.y, f.z, setup.thickness, setup.window, f.nx, f.ny, f.nz, *workspaces[k]);
            const std::string difference = FirstDifference(reference, f);
            if (!difference.empty())
                return "step " + std::to_string(step) + ", " + std::to_string(threads[k]) +
                       " threads, n = " + std::to_string(reference.x.GetSize()) + ": " + difference;
        }
    }
    return "";
}

std::vector<Point> ExamplePoints(const std::string& name)
{
    CDoubleArray x, y, z;
    ReadExample(name, x, y, z);
    return PointsOf(x, y, z);
}

std::vector<Point> Scaled(std::vector<Point> points, double factor)
{
    for (Point& p : points)
        p = {p.x * factor, p.y * factor, p.z * factor};
    return points;
}

// A random walk of n steps of about `step`, closed by its last segment.
std::vector<Point> RandomWalk(unsigned seed, int n, double step)
{
    std::mt19937 rng(seed);
    std::normal_distribution<double> g(0.0, step);
    std::vector<Point> points;
    Point p{0, 0, 0};
    for (int k = 0; k < n; ++k) {
        points.push_back(p);
        p = {p.x + g(rng), p.y + g(rng), p.z + g(rng)};
    }
    return points;
}

// Points of a line walked out and back again, so that every point but the
// two ends has a twin on the way back at exactly the same place.
std::vector<Point> BackAndForth(int half, double spacing)
{
    std::vector<Point> points;
    for (int k = 0; k <= half; ++k)
        points.push_back({k * spacing, 0.0, 0.0});
    for (int k = half - 1; k >= 1; --k)
        points.push_back({k * spacing, 0.0, 0.0});
    return points;
}

// A closed zig-zag of unit steps on an integer lattice (scaled), with many
// exactly equal distances.
std::vector<Point> LatticeLoop(int side, double spacing)
{
    std::vector<Point> points;
    for (int row = 0; row < side; ++row) {
        for (int k = 0; k < side; ++k) {
            const int col = row % 2 == 0 ? k : side - 1 - k;
            points.push_back({col * spacing, row * spacing, 0.0});
        }
    }
    for (int row = side - 1; row >= 1; --row)
        points.push_back({-spacing, row * spacing, 0.0});
    return points;
}

struct ExampleCase {
    const char* file;
    double scale;      // shrinks the sketch so that precision 10 stays small
    double precision;
    int iterations;
};

void PrintTo(const ExampleCase& c, std::ostream* os)
{
    *os << c.file << " x" << c.scale << " precision " << c.precision;
}

class RelaxFastExamples : public ::testing::TestWithParam<ExampleCase> {};

TEST_P(RelaxFastExamples, MatchesTheDirectStepOverARunWithResampling)
{
    const ExampleCase c = GetParam();
    RunSetup setup;
    setup.iterations = c.iterations;
    setup.precision = c.precision;
    EXPECT_EQ(CompareRuns(Scaled(ExamplePoints(c.file), c.scale), setup), "");
}

INSTANTIATE_TEST_SUITE_P(Knots, RelaxFastExamples,
                         ::testing::Values(ExampleCase{"trefoil.txt", 1.0, 1.0, 300},
                                           ExampleCase{"figure-eight.txt", 1.0, 1.0, 300},
                                           ExampleCase{"cinquefoil.txt", 1.0, 1.0, 240},
                                           ExampleCase{"circle.txt", 1.0, 1.0, 240},
                                           ExampleCase{"trefoil.txt", 0.5, 3.0, 210},
                                           ExampleCase{"figure-eight.txt", 0.5, 3.0, 150},
                                           ExampleCase{"trefoil.txt", 0.2, 10.0, 120},
                                           ExampleCase{"cinquefoil.txt", 0.4, 10.0, 90}));

struct GeneratedCase {
    const char* name;
    std::vector<Point> points;
    double precision;
    int iterations;
};

void PrintTo(const GeneratedCase& c, std::ostream* os)
{
    *os << c.name;
}

class RelaxFastGenerated : public ::testing::TestWithParam<GeneratedCase> {};

TEST_P(RelaxFastGenerated, MatchesTheDirectStep)
{
    const GeneratedCase& c = GetParam();
    RunSetup setup;
    setup.iterations = c.iterations;
    setup.precision = c.precision;
    EXPECT_EQ(CompareRuns(c.points, setup), "");
}

std::vector<GeneratedCase> GeneratedCases()
{
    std::vector<GeneratedCase> cases;
    for (unsigned seed : {1u, 2u, 3u}) {
        cases.push_back({"cloud_small", RandomCurve(seed, 40, 0.03), 0.0, 60});
        cases.push_back({"cloud_wide", RandomCurve(seed + 10, 300, 0.3), 0.0, 20});
        cases.push_back({"cloud_resampled", RandomCurve(seed + 20, 30, 0.08), 1.0, 150});
        cases.push_back({"walk", RandomWalk(seed + 30, 500, 0.004), 0.0, 40});
        cases.push_back({"walk_resampled", RandomWalk(seed + 40, 60, 0.01), 2.0, 150});
    }
    cases.push_back({"trefoil_torus", PointsOf(knotcurves::TorusKnot(2, 3, 400, 0.06, 0.03)), 0.0, 60});
    cases.push_back({"tight_torus_resampled", PointsOf(knotcurves::TorusKnot(2, 5, 120, 0.05, 0.025)), 1.5, 150});
    cases.push_back({"circle_far_from_origin", [] {
                         auto c = PointsOf(knotcurves::RegularPolygon(200, 0.05));
                         for (Point& p : c)
                             p.x += 1e6;
                         return c;
                     }(),
                     0.0, 5});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Curves, RelaxFastGenerated, ::testing::ValuesIn(GeneratedCases()),
                         [](const auto& info) { return std::string(info.param.name) + "_" + std::to_string(info.index); });

struct DegenerateCase {
    const char* name;
    std::vector<Point> points;
    double thickness;
    double window;
};

void PrintTo(const DegenerateCase& c, std::ostream* os)
{
    *os << c.name;
}

class RelaxFastDegenerate : public ::testing::TestWithParam<DegenerateCase> {};

TEST_P(RelaxFastDegenerate, MatchesTheDirectStep)
{
    const DegenerateCase& c = GetParam();
    RunSetup setup;
    setup.iterations = 20;
    setup.thickness = c.thickness;
    setup.window = c.window;
    EXPECT_EQ(CompareRuns(c.points, setup), "");
}

std::vector<DegenerateCase> DegenerateCases()
{
    const double t = vek::kThickness;
    const double w = ExclusionWindow(t);
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    std::vector<DegenerateCase> cases = {
        {"empty", {}, t, w},
        {"one_point", {{0.3, -0.2, 0.1}}, t, w},
        {"two_points_far", {{0.3, 0.1, -0.2}, {0.9, -0.5, 0.6}}, t, w},
        {"two_points_near", {{0.0, 0.0, 0.0}, {0.01, 0.0, 0.0}}, t, w},
        {"two_identical_points", {{0.5, 0.5, 0.5}, {0.5, 0.5, 0.5}}, t, w},
        {"all_at_one_place", std::vector<Point>(100, Point{0.1, 0.2, 0.3}), t, w},
        {"shorter_than_window", PointsOf(knotcurves::RegularPolygon(12, 0.004)), t, w},
        {"back_and_forth", BackAndForth(40, 0.0075), t, w},
        {"lattice_ties", LatticeLoop(8, 0.01), t, w},
        {"lattice_at_thickness", LatticeLoop(6, t), t, w},
        // Segments of 1/64 and a window of 3/64: the sums hit the window
        // exactly, where only the sequential walk can decide.
        {"window_sums_exact", LatticeLoop(10, 1.0 / 64), 0.05, 3.0 / 64},
        {"window_one_segment", LatticeLoop(10, 1.0 / 64), 0.05, 1.0 / 64},
        {"regular_polygon_ties", PointsOf(knotcurves::RegularPolygon(64, 0.02)), t, w},
        {"huge_extent_few_points", {{-1e6, 0, 0}, {0, 1e6, 0}, {1e6, 0, 0}, {0, -1e6, 5}, {3, 3, 3}}, t, w},
        {"extent_overflows_squares", {{-1e160, 0, 0}, {0, 1e160, 0}, {1e160, 0, 0}, {0, -1e160, 0}, {0, 0, 0}}, t, w},
        {"tiny_coordinates", Scaled(RandomCurve(7, 30, 1.0), 1e-160), 1e-160, 1.57e-160},
        {"not_a_number", {{0, 0, 0}, {0.01, 0, 0}, {nan, 0.01, 0}, {0, 0.01, 0}, {0.005, 0.005, 0.02}}, t, w},
        {"infinite", {{0, 0, 0}, {0.1, 0, 0}, {0.1, inf, 0}, {0, 0.1, 0}}, t, w},
        {"zero_thickness", RandomCurve(8, 30, 0.05), 0.0, 0.0},
        {"negative_window", RandomCurve(9, 30, 0.05), t, -w},
        {"infinite_window", RandomCurve(10, 30, 0.05), t, inf},
    };
    // Every point twice in a row.
    std::vector<Point> doubled;
    for (const Point& p : PointsOf(knotcurves::TorusKnot(2, 3, 60, 0.05, 0.02))) {
        doubled.push_back(p);
        doubled.push_back(p);
    }
    cases.push_back({"consecutive_duplicates", doubled, t, w});
    // A figure of eight whose two lobes pass through the same point.
    std::vector<Point> eight;
    for (int k = 0; k < 40; ++k) {
        const double a = 2.0 * M_PI * k / 40;
        eight.push_back({0.05 * std::sin(a), 0.05 * std::sin(a) * std::cos(a), 0.0});
    }
    cases.push_back({"repeated_crossing_point", eight, t, w});
    // Points at exactly the thickness from their facing points.
    std::vector<Point> rails;
    for (int k = 0; k < 20; ++k)
        rails.push_back({k * 0.0075, 0.0, 0.0});
    for (int k = 19; k >= 0; --k)
        rails.push_back({k * 0.0075, t, 0.0});
    cases.push_back({"rails_at_thickness", rails, t, w});
    return cases;
}

INSTANTIATE_TEST_SUITE_P(Curves, RelaxFastDegenerate, ::testing::ValuesIn(DegenerateCases()),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(RelaxFastCluster, PointsPiledUpOnTwoSpotsMatchTheDirectStep)
{
    // The curve jumps back and forth between two places: every point has
    // thousands of candidates at distance 0, spread over every leaf, more
    // than a group of points collects at the default limit.
    std::vector<Point> points;
    for (int k = 0; k < 8400; ++k)
        points.push_back(k % 2 == 0 ? Point{0.01, 0.02, 0.0} : Point{0.01, -0.02, 0.0});
    RunSetup setup;
    setup.iterations = 1;
    setup.threads = {2};
    setup.alsoPointByPoint = false;
    EXPECT_EQ(CompareRuns(points, setup), "");
}

TEST(RelaxFastWorkspace, ThreadCountIsAtLeastOneAndCanChange)
{
    CRelaxWorkspace defaults;
    EXPECT_GE(defaults.GetThreadCount(), 1);
    CRelaxWorkspace w(0);
    EXPECT_EQ(w.GetThreadCount(), 1);
    w.SetThreadCount(3);
    EXPECT_EQ(w.GetThreadCount(), 3);
    w.SetThreadCount(-5);
    EXPECT_EQ(w.GetThreadCount(), 1);
}

TEST(RelaxFastWorkspace, TwoWorkspacesInterleavedGiveTheirOwnCurvesResults)
{
    // Two runs at once, as nested runs of the desktop program have them,
    // each with its own threads and buffers, and a thread count changed in
    // the middle of one.
    const std::vector<Point> first = PointsOf(knotcurves::TorusKnot(2, 3, 300, 0.05, 0.02));
    const std::vector<Point> second = RandomWalk(4, 200, 0.005);
    Arrays refA, refB, fastA, fastB;
    refA.Assign(first);
    fastA.Assign(first);
    refB.Assign(second);
    fastB.Assign(second);
    CRelaxWorkspace wa(2), wb(2);
    wa.SetParallelThreshold(0);
    wb.SetParallelThreshold(0);
    const double t = vek::kThickness;
    const double window = ExclusionWindow(t);
    for (int step = 0; step < 20; ++step) {
        if (step == 10)
            wa.SetThreadCount(3);
        RelaxStep(refA.x, refA.y, refA.z, t, window, refA.nx, refA.ny, refA.nz);
        RelaxStep(refB.x, refB.y, refB.z, t, window, refB.nx, refB.ny, refB.nz);
        RelaxStepFast(fastA.x, fastA.y, fastA.z, t, window, fastA.nx, fastA.ny, fastA.nz, wa);
        RelaxStepFast(fastB.x, fastB.y, fastB.z, t, window, fastB.nx, fastB.ny, fastB.nz, wb);
        ASSERT_EQ(FirstDifference(refA, fastA), "") << "step " << step;
        ASSERT_EQ(FirstDifference(refB, fastB), "") << "step " << step;
    }
}

TEST(RelaxFastWorkspace, StaleWorkArraysAndAShrinkingCurveDoNotMatter)
{
    Arrays ref, fast;
    CRelaxWorkspace w(2);
    w.SetParallelThreshold(0);
    const double t = vek::kThickness;
    const double window = ExclusionWindow(t);
    // From a large curve to a small one and back, on the same workspace.
    for (int n : {500, 20, 1, 0, 300}) {
        const std::vector<Point> points = RandomWalk(static_cast<unsigned>(n) + 1, n, 0.006);
        ref.Assign(points);
        fast.Assign(points);
        for (int k = 0; k < 50; ++k) {
            fast.nx.Add(1e9);
            fast.ny.Add(-1e9);
        }
        for (int step = 0; step < 3; ++step) {
            RelaxStep(ref.x, ref.y, ref.z, t, window, ref.nx, ref.ny, ref.nz);
            RelaxStepFast(fast.x, fast.y, fast.z, t, window, fast.nx, fast.ny, fast.nz, w);
            ASSERT_EQ(FirstDifference(ref, fast), "") << "n " << n << " step " << step;
        }
    }
}

// A curve resampled much shorter in the middle of a run: the work arrays and
// the workspace's buffers of the long curve are given back, and the steps
// still match the direct step.
TEST(RelaxFastWorkspace, AMuchShorterCurveGivesTheLongCurvesBuffersBack)
{
    Arrays ref, fast;
    CRelaxWorkspace w(2);
    w.SetParallelThreshold(0);
    const double t = vek::kThickness;
    const double window = ExclusionWindow(t);
    for (int n : {4000, 3000, 100}) {
        const std::vector<Point> points = PointsOf(knotcurves::TorusKnot(2, 3, n, 0.05, 0.02));
        ref.Assign(points);
        fast.Assign(points);
        RelaxStep(ref.x, ref.y, ref.z, t, window, ref.nx, ref.ny, ref.nz);
        RelaxStepFast(fast.x, fast.y, fast.z, t, window, fast.nx, fast.ny, fast.nz, w);
        ASSERT_EQ(FirstDifference(ref, fast), "") << "n " << n;
        const size_t limit = 2 * static_cast<size_t>(n);
        EXPECT_LE(w.segment.capacity(), limit) << n;
        // The prefix sums are pairs of doubles, twice round the curve.
        EXPECT_LE(w.prefix.capacity(), 4 * limit) << n;
        // Fewer than four nodes a leaf of 8 points are needed.
        EXPECT_LE(w.nodes.capacity(), 2 * 4 * static_cast<size_t>((n + 7) / 8)) << n;
        EXPECT_LE(static_cast<size_t>(fast.nx.GetCapacity()), limit) << n;
        // 3000 after 4000 reuses the storage.
        if (n == 3000) {
            EXPECT_EQ(w.segment.capacity(), 4000u);
        }
    }
}

}  // namespace
