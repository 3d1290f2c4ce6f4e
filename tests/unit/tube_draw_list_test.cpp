#include "render/tube_draw_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <limits>
#include <utility>

#include "curve/constants.h"
#include "render/build_tube.h"
#include "render/tube_seam.h"
#include "geom/vec3.h"

namespace {

struct Scene {
    CDoubleArray x, y, z, tx, ty, tz;
    int n = 8;
    TubeDrawList list;

    void AddPoint(Vec3 p) { x.Add(p.x); y.Add(p.y); z.Add(p.z); }
    void AddVertex(Vec3 p) { tx.Add(p.x); ty.Add(p.y); tz.Add(p.z); }
    double tubeScale = 1.0;
    void Build(double scale = 1.0)
    {
        tubeScale = scale;
        BuildTube(x, y, z, n, vek::kThickness, scale, tx, ty, tz);
    }
    // The quad corners as the draw calls send them, in drawing order.
    std::vector<Vec3> corners, cornerNormals;
    void MakeList()
    {
        BuildTubeDrawList(x, y, z, tx, ty, tz, n, vek::kThickness, tubeScale, list);
        corners.clear();
        cornerNormals.clear();
        for (const TubeDrawPiece& piece : TubeDrawPieces(list)) {
            ASSERT_EQ(piece.indexCount % 6, 0);
            // Each quad c0 c1 c2 c3 as the triangles c0 c1 c2 and c0 c2 c3.
            for (int t = 0; t < piece.indexCount; t += 6) {
                const std::uint32_t* q = piece.indices + t;
                ASSERT_TRUE(q[3] == q[0] && q[4] == q[2]) << "quad " << t / 6;
                for (std::uint32_t v : {q[0], q[1], q[2], q[5]}) {
                    corners.push_back({piece.vertices[3 * v], piece.vertices[3 * v + 1], piece.vertices[3 * v + 2]});
                    cornerNormals.push_back({piece.normals[3 * v], piece.normals[3 * v + 1], piece.normals[3 * v + 2]});
                }
            }
        }
    }
    Vec3 Vertex(int ring, int position) const
    {
        const int e = ring * n + position;
        return {tx[e], ty[e], tz[e]};
    }
    Vec3 Listed(int k) const { return corners[k]; }
    Vec3 Normal(int k) const { return cornerNormals[k]; }
    int VertexCount() const { return static_cast<int>(corners.size()); }
};

Vec3 Single(Vec3 v)
{
    return {static_cast<float>(v.x), static_cast<float>(v.y), static_cast<float>(v.z)};
}

// Rings on unit circles about (0, 0, 0.1 i); the last is the first turned by `turn`.
void TurnedScene(Scene& s, int rings, int turn)
{
    for (int i = 0; i < rings; ++i) {
        s.AddPoint({0, 0, 0.1 * i});
        for (int j = 0; j < s.n; ++j) {
            const int m = i == rings - 1 && i > 0 ? (j + turn) % s.n : j;
            s.AddVertex({std::cos(vek::kTwoPi * m / s.n), std::sin(vek::kTwoPi * m / s.n), 0.1 * i});
        }
    }
}

// The whole list in drawing order: (a, j-1), (a, j), (b, j+k), (b, j-1+k),
// with k = seam for the closing pair only.
void ExpectQuads(const Scene& s, int seam)
{
    const int rings = s.x.GetSize(), n = s.n;
    ASSERT_EQ(s.VertexCount(), rings * n * 4);
    ASSERT_EQ(static_cast<long long>(s.list.ringCount) * s.list.ringSegments, rings * n);  // n quads a ring pair
    ASSERT_EQ(s.list.normals.size(), s.list.vertices.size());
    ASSERT_EQ(s.list.vertices.size(), static_cast<size_t>(rings) * n * 3);  // each vertex once
    for (int i = 0, k = 0; i < rings; ++i) {
        const int b = (i + 1) % rings, offset = i == rings - 1 ? seam : 0;
        for (int j = 1; j <= n; ++j)
            for (Vec3 e : {s.Vertex(i, j - 1), s.Vertex(i, j % n), s.Vertex(b, (j + offset) % n), s.Vertex(b, (j - 1 + offset) % n)}) {
                e = Single(e);  // the renderer's precision
                const Vec3 got = s.Listed(k);
                ASSERT_TRUE(got.x == e.x && got.y == e.y && got.z == e.z) << "quad " << k / 4 << " corner " << k % 4;
                ++k;
            }
    }
}

class TubeDrawListSeam : public ::testing::TestWithParam<std::pair<int, int>> {};

// Five rings turned by 3: the closing quads join (4, j-1), (4, j) to
// (0, j+3), (0, j+2). Two rings: drawn there and back, the second time with
// the seam. One ring: joined to itself.
TEST_P(TubeDrawListSeam, ClosingQuadsMeetTheFirstRingAtTheSeam)
{
    const auto [rings, turn] = GetParam();
    Scene s;
    TurnedScene(s, rings, turn);
    s.MakeList();
    ExpectQuads(s, turn);
}

INSTANTIATE_TEST_SUITE_P(Table, TubeDrawListSeam, ::testing::Values(std::pair{5, 3}, std::pair{2, 6}, std::pair{1, 0}));

class TubeDrawListBuilt : public ::testing::TestWithParam<double> {};

// On a real tube, normals are unit vectors from the ring centre to the
// vertex, for any sign of the radius; radius 0 gives the zero normal.
TEST_P(TubeDrawListBuilt, NormalsPointFromTheRingCentre)
{
    Scene s;
    s.n = 30;
    for (int i = 0; i < 17; ++i)
        s.AddPoint({std::cos(0.4 * i), std::sin(0.4 * i), 0.05 * i});
    s.Build(GetParam());
    s.MakeList();
    ExpectQuads(s, SeamOffset(s.tx, s.ty, s.tz, 17, 30));
    for (int k = 0; k < s.VertexCount(); ++k) {
        const int ring = (k / 4 / 30 + (k % 4 < 2 ? 0 : 1)) % 17;
        const Vec3 fromCentre = s.Listed(k) - Vec3{s.x[ring], s.y[ring], s.z[ring]}, normal = s.Normal(k);
        if (GetParam() == 0) {
            ASSERT_TRUE(normal.x == 0 && normal.y == 0 && normal.z == 0) << k;
        } else {
            // Stored in single precision.
            EXPECT_NEAR(Length(normal), 1.0, 2e-7);
            EXPECT_NEAR(normal.x * fromCentre.x + normal.y * fromCentre.y + normal.z * fromCentre.z, Length(fromCentre), 2e-7 * Length(fromCentre));
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Table, TubeDrawListBuilt, ::testing::Values(1.0, -1.0, 0.0));

TEST(TubeDrawList, NonFiniteLengthKeepsAFiniteDirectionOrGivesZero)
{
    Scene s;
    s.n = 2;
    s.AddPoint({0, 0, 0});
    s.AddVertex({1e300, 1e300, 0});  // its squared length overflows
    s.AddVertex({std::numeric_limits<double>::quiet_NaN(), 0, 0});
    s.MakeList();
    ASSERT_EQ(s.VertexCount(), 8);
    EXPECT_NEAR(Length(s.Normal(0) - Vec3{std::sqrt(0.5), std::sqrt(0.5), 0}), 0.0, 1e-7);  // vertex (0, 0)
    EXPECT_TRUE(s.Normal(1).x == 0 && s.Normal(1).y == 0 && s.Normal(1).z == 0);           // vertex (0, 1)
}

// After Stop while sketching the curve may not match the tube: nothing is
// drawn, nothing is read past the end, and an old list is emptied.
TEST(TubeDrawList, StaleOrUnevenArraysGiveAnEmptyList)
{
    const auto listAfter = [](void (*spoil)(Scene&)) {
        Scene s;
        TurnedScene(s, 4, 0);
        s.MakeList();
        EXPECT_FALSE(s.list.vertices.empty());
        spoil(s);
        s.MakeList();
        EXPECT_TRUE(s.list.Empty());
        EXPECT_TRUE(TubeDrawPieces(s.list).empty());
        return s.list.vertices.size() + s.list.normals.size();
    };
    EXPECT_EQ(listAfter([](Scene& s) { s.AddPoint({1, 1, 1}); }), 0u);
    EXPECT_EQ(listAfter([](Scene& s) { s.x.SetSize(3); s.y.SetSize(3); s.z.SetSize(3); }), 0u);
    EXPECT_EQ(listAfter([](Scene& s) { s.tz.SetSize(31); }), 0u);
    EXPECT_EQ(listAfter([](Scene& s) { s.y.SetSize(3); }), 0u);
    EXPECT_EQ(listAfter([](Scene& s) { s.n = 0; }), 0u);
    EXPECT_EQ(listAfter([](Scene& s) { s.x.SetSize(0); s.y.SetSize(0); s.z.SetSize(0); }), 0u);
}

TEST(TubeDrawList, RebuildingReusesTheVectorsStorage)
{
    Scene big, small;
    TurnedScene(big, 6, 2);
    TurnedScene(small, 3, 2);
    big.MakeList();
    const float* vertices = big.list.vertices.data();
    const float* normals = big.list.normals.data();
    std::swap(small.list, big.list);
    small.MakeList();
    EXPECT_EQ(small.list.vertices.data(), vertices);
    EXPECT_EQ(small.list.normals.data(), normals);
    ExpectQuads(small, 2);
}

}  // namespace

namespace {

// Longer than one draw piece, by a whole piece and a part of one: the pieces
// together draw every quad in order, each piece spans at most
// kDrawPieceRings + 1 rings, and the closing pair comes last on its own.
TEST(TubeDrawList, ALongTubeIsDrawnInPiecesInTheSameOrder)
{
    for (int rings : {kDrawPieceRings, kDrawPieceRings + 1, 2 * kDrawPieceRings + 7}) {
        Scene s;
        s.n = 3;
        TurnedScene(s, rings, 1);
        s.MakeList();
        ExpectQuads(s, 1);
        const std::vector<TubeDrawPiece> pieces = TubeDrawPieces(s.list);
        ASSERT_EQ(pieces.size(), static_cast<size_t>((rings - 1 + kDrawPieceRings - 1) / kDrawPieceRings + 1)) << rings;
        for (const TubeDrawPiece& piece : pieces) {
            const std::uint32_t largest = *std::max_element(piece.indices, piece.indices + piece.indexCount);
            EXPECT_LT(largest, static_cast<std::uint32_t>((kDrawPieceRings + 1) * s.n));
        }
        EXPECT_EQ(pieces.back().vertices, s.list.closingVertices.data());
    }
}

// A tube far smaller than the last one gives the storage back; Release
// empties everything.
TEST(TubeDrawList, ShrinkingFarGivesTheStorageBack)
{
    Scene big, small;
    TurnedScene(big, 40, 0);
    TurnedScene(small, 3, 0);
    big.MakeList();
    std::swap(small.list, big.list);
    small.MakeList();
    ExpectQuads(small, 0);
    EXPECT_EQ(small.list.vertices.capacity(), small.list.vertices.size());
    EXPECT_EQ(small.list.normals.capacity(), small.list.normals.size());
    ReleaseTubeDrawList(small.list);
    EXPECT_TRUE(small.list.Empty());
    EXPECT_EQ(small.list.vertices.capacity() + small.list.normals.capacity() + small.list.pairIndices.capacity(), 0u);
}

// A circle whose points stray by up to `jitter` from it, as a relaxed curve's
// do at a fine spacing: every quad of the drawn tube must face outwards (a
// folded quad shows its back and is lit with the reversed normal, a dark
// speckle). A coarse curve is drawn ring for ring; a dense one from fewer
// points, whose rings no longer cross.
struct FoldCase {
    int points;
    double jitter;
    bool thinned;
};
class TubeDrawListFolds : public ::testing::TestWithParam<FoldCase> {};

TEST_P(TubeDrawListFolds, NoQuadFacesInwards)
{
    const FoldCase c = GetParam();
    Scene s;
    s.n = 30;
    for (int i = 0; i < c.points; ++i) {
        const double t = 6.283185307179586 * i / c.points, r = 0.35 + c.jitter * std::sin(2.4 * i);
        s.AddPoint({r * std::cos(t), r * std::sin(t), c.jitter * std::cos(1.7 * i)});
    }
    s.Build();
    s.MakeList();
    EXPECT_EQ(s.list.ringCount < c.points, c.thinned);
    int folded = 0;
    for (int k = 0; k + 3 < s.VertexCount(); k += 4) {
        const Vec3 facet = Cross(s.Listed(k + 2) - s.Listed(k), s.Listed(k + 3) - s.Listed(k + 1));
        const Vec3 outward = s.Normal(k) + s.Normal(k + 1) + s.Normal(k + 2) + s.Normal(k + 3);
        folded += facet.x * outward.x + facet.y * outward.y + facet.z * outward.z < 0.0;
    }
    EXPECT_EQ(folded, 0) << "of " << s.VertexCount() / 4 << " quads";
}

// 200,000 points are 1.1e-5 apart, under a hundredth of the ring radius.
INSTANTIATE_TEST_SUITE_P(Table, TubeDrawListFolds,
                         ::testing::Values(FoldCase{400, 1e-5, false}, FoldCase{200'000, 3e-8, true},
                                           FoldCase{200'000, 0.0, true}));

}  // namespace
