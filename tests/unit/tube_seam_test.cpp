#include "render/tube_seam.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "geom/vec3.h"

namespace {

struct TubeArrays {
    CDoubleArray x, y, z;
    void Add(Vec3 p)
    {
        x.Add(p.x);
        y.Add(p.y);
        z.Add(p.z);
    }
    int Seam(int rings, int n) const { return SeamOffset(x, y, z, rings, n); }
};

// Rings on unit circles; the last is the first turned by `turn` positions.
void TurnedTube(TubeArrays& t, int rings, int n, int turn)
{
    for (int i = 0; i < rings; ++i)
        for (int j = 0; j < n; ++j) {
            const int m = i == rings - 1 && i > 0 ? (j + turn) % n : j;
            t.Add({std::cos(6.283185307179586 * m / n), std::sin(6.283185307179586 * m / n), 0.01 * i});
        }
}

TEST(SeamOffset, FindsHowFarTheLastRingIsTurned)
{
    for (int turn = 0; turn < 8; ++turn) {
        TubeArrays t;
        TurnedTube(t, 5, 8, turn);
        EXPECT_EQ(t.Seam(5, 8), turn);
    }
}

struct SeamCase {
    const char* name;
    Vec3 q;  // vertex 0 of the last ring; the first ring is (1,0,0), (0,1,0), (-1,0,0), (0,-1,0)
    int expected;
};
class SeamOffsetSquare : public ::testing::TestWithParam<SeamCase> {};

TEST_P(SeamOffsetSquare, TakesTheStrictlyNearestLowestPosition)
{
    TubeArrays t;
    for (Vec3 p : {Vec3{1, 0, 0}, Vec3{0, 1, 0}, Vec3{-1, 0, 0}, Vec3{0, -1, 0}, GetParam().q, Vec3{}, Vec3{}, Vec3{}})
        t.Add(p);
    EXPECT_EQ(t.Seam(2, 4), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Table, SeamOffsetSquare,
                         ::testing::Values(SeamCase{"Nearest3", {0, -0.9, 0}, 3}, SeamCase{"TieOf2And3", {-1, -1, 0}, 2},
                                           SeamCase{"TieOf1And2", {-0.5, 0.5, 0}, 1}, SeamCase{"AllEqual", {0, 0, 5}, 0},
                                           SeamCase{"AllNaN", {std::numeric_limits<double>::quiet_NaN(), 0, 0}, 0},
                                           SeamCase{"AllInfinitelyFar", {1e308, 1e308, 0}, 0}),
                         [](const ::testing::TestParamInfo<SeamCase>& info) { return std::string(info.param.name); });

TEST(SeamOffset, ReadsNothingBeyondTheArrays)
{
    TubeArrays t;
    TurnedTube(t, 3, 8, 5);
    EXPECT_EQ(t.Seam(3, 8), 5);
    for (auto [rings, n] : {std::pair{4, 8}, std::pair{2, 16}, std::pair{0, 8}, std::pair{3, 0}, std::pair{-1, 8}})
        EXPECT_EQ(t.Seam(rings, n), 0) << rings << " x " << n;
}

}  // namespace
