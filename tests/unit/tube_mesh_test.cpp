#include "render/tube_mesh.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <string>
#include <utility>

#include "curve/constants.h"
#include "curve/curve_metrics.h"
#include "render/build_tube.h"
#include "render/mesh_volume.h"
#include "render/vec3.h"
#include "relax/relax_cli.h"
#include "test_support.h"

namespace {

constexpr double kPi = 3.141592653589793;

Vec3 At(const TubeMesh& mesh, int index)
{
    return {mesh.vertices[3 * index], mesh.vertices[3 * index + 1], mesh.vertices[3 * index + 2]};
}

// Undirected edge -> number of triangles using it, and directed edge ->
// number of uses (a consistently oriented closed surface uses each once).
struct EdgeCounts {
    std::map<std::pair<int, int>, int> undirected;
    std::map<std::pair<int, int>, int> directed;
};

EdgeCounts CountEdges(const TubeMesh& mesh)
{
    EdgeCounts counts;
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
        for (int c = 0; c < 3; ++c) {
            const int a = mesh.triangles[3 * t + c];
            const int b = mesh.triangles[3 * t + (c + 1) % 3];
            ++counts.undirected[{std::min(a, b), std::max(a, b)}];
            ++counts.directed[{a, b}];
        }
    }
    return counts;
}

struct TubeFixture {
    CDoubleArray x, y, z, tx, ty, tz;
    TubeMesh mesh;
    bool Build(double scale = 1.0)
    {
        BuildTube(x, y, z, vek::kRingSegments, vek::kThickness, scale, tx, ty, tz);
        return BuildTubeMesh(x, y, z, tx, ty, tz, vek::kRingSegments, mesh);
    }
};

void ExpectClosedOutwardMesh(const TubeMesh& mesh, int rings)
{
    const int n = vek::kRingSegments;
    ASSERT_EQ(mesh.VertexCount(), rings * n);
    ASSERT_EQ(mesh.TriangleCount(), 2 * rings * n);
    ASSERT_EQ(mesh.normals.size(), mesh.vertices.size());
    const EdgeCounts edges = CountEdges(mesh);
    for (const auto& [edge, uses] : edges.undirected)
        ASSERT_EQ(uses, 2) << "edge " << edge.first << "-" << edge.second;
    for (const auto& [edge, uses] : edges.directed)
        ASSERT_EQ(uses, 1) << "edge " << edge.first << "->" << edge.second << " runs the same way twice";
    // Euler characteristic of a torus: V - E + F = 0.
    EXPECT_EQ(mesh.VertexCount() - static_cast<int>(edges.undirected.size()) + mesh.TriangleCount(), 0);
    EXPECT_GT(MeshSignedVolume(mesh.vertices, mesh.triangles), 0.0);
    // Each triangle faces the way its vertices' normals point.
    for (int t = 0; t < mesh.TriangleCount(); ++t) {
        const int i0 = mesh.triangles[3 * t], i1 = mesh.triangles[3 * t + 1], i2 = mesh.triangles[3 * t + 2];
        const Vec3 facet = Cross(At(mesh, i1) - At(mesh, i0), At(mesh, i2) - At(mesh, i0));
        const Vec3 normal = {mesh.normals[3 * i0], mesh.normals[3 * i0 + 1], mesh.normals[3 * i0 + 2]};
        ASSERT_GT(facet.x * normal.x + facet.y * normal.y + facet.z * normal.z, 0.0) << "triangle " << t;
    }
}

}  // namespace

TEST(TubeMesh, TightTrefoilIsClosedOutwardAndEnclosesItsTube)
{
    TubeFixture f;
    ReadTightTrefoil(f.x, f.y, f.z);
    ASSERT_FALSE(HasFatalFailure());
    ASSERT_TRUE(f.Build());
    ExpectClosedOutwardMesh(f.mesh, f.x.GetSize());

    // No triangle without area: the smallest is compared with a typical one.
    double smallest = 1e300, largest = 0.0;
    for (int t = 0; t < f.mesh.TriangleCount(); ++t) {
        const Vec3 a = At(f.mesh, f.mesh.triangles[3 * t]);
        const Vec3 b = At(f.mesh, f.mesh.triangles[3 * t + 1]);
        const Vec3 c = At(f.mesh, f.mesh.triangles[3 * t + 2]);
        const double area = 0.5 * Length(Cross(b - a, c - a));
        smallest = std::min(smallest, area);
        largest = std::max(largest, area);
    }
    EXPECT_GT(smallest, 0.05 * largest) << "smallest " << smallest << ", largest " << largest;

    const double r = vek::kThickness / 2;
    const double expected = kPi * r * r * CurveLength(f.x, f.y, f.z);
    const double volume = MeshSignedVolume(f.mesh.vertices, f.mesh.triangles);
    EXPECT_NEAR(volume / expected, 1.0, 0.03) << "volume " << volume << ", pi r^2 L " << expected;
}

TEST(TubeMesh, SeamClosesAFrameThatCameRoundTurned)
{
    // A helix-like closed curve whose carried frames come back turned: the
    // seam offset must still close the surface.
    TubeFixture f;
    const int points = 120;
    for (int i = 0; i < points; ++i) {
        const double t = 2 * kPi * i / points;
        f.x.Add(0.3 * std::cos(t) + 0.1 * std::cos(3 * t));
        f.y.Add(0.3 * std::sin(t) + 0.1 * std::sin(3 * t));
        f.z.Add(0.1 * std::sin(2 * t));
    }
    ASSERT_TRUE(f.Build());
    ExpectClosedOutwardMesh(f.mesh, points);
}

TEST(TubeMesh, ScaleChangesTheRadiusAndUnitScalingTheSize)
{
    TubeFixture f;
    const int points = 90;
    for (int i = 0; i < points; ++i) {
        const double t = 2 * kPi * i / points;
        f.x.Add(0.4 * std::cos(t));
        f.y.Add(0.4 * std::sin(t));
        f.z.Add(0.0);
    }
    ASSERT_TRUE(f.Build(2.0));
    ExpectClosedOutwardMesh(f.mesh, points);
    // A torus: 2 pi^2 R r^2, less the polygon's shortfall (under 1 %).
    const double r = vek::kThickness;
    const double torus = 2 * kPi * kPi * 0.4 * r * r;
    const double volume = MeshSignedVolume(f.mesh.vertices, f.mesh.triangles);
    EXPECT_NEAR(volume / torus, 1.0, 0.01);
    ScaleTubeMesh(f.mesh, 10.0);
    EXPECT_NEAR(MeshSignedVolume(f.mesh.vertices, f.mesh.triangles) / volume, 1000.0, 1e-9);
}

TEST(TubeMesh, CurvesThatCannotCloseATubeGiveNoMesh)
{
    struct Case {
        const char* name;
        int points;
        double scale;
    };
    for (const Case c : {Case{"no point", 0, 1.0}, Case{"one point", 1, 1.0}, Case{"two points", 2, 1.0},
                         Case{"zero radius", 5, 0.0}}) {
        TubeFixture f;
        for (int i = 0; i < c.points; ++i) {
            f.x.Add(std::cos(i));
            f.y.Add(std::sin(i));
            f.z.Add(0.0);
        }
        EXPECT_FALSE(f.Build(c.scale)) << c.name;
        EXPECT_TRUE(f.mesh.vertices.empty() && f.mesh.triangles.empty()) << c.name;
    }
    // A tube built for another curve is not meshed.
    TubeFixture f;
    for (int i = 0; i < 5; ++i) {
        f.x.Add(std::cos(i));
        f.y.Add(std::sin(i));
        f.z.Add(0.0);
    }
    ASSERT_TRUE(f.Build());
    f.x.Add(0.0);
    f.y.Add(0.0);
    f.z.Add(1.0);
    EXPECT_FALSE(BuildTubeMesh(f.x, f.y, f.z, f.tx, f.ty, f.tz, vek::kRingSegments, f.mesh));
}

TEST(MeshVolume, UnitCubeBothWaysRound)
{
    const std::vector<double> v = {0, 0, 0, 1, 0, 0, 1, 1, 0, 0, 1, 0, 0, 0, 1, 1, 0, 1, 1, 1, 1, 0, 1, 1};
    // Outward, counter-clockwise from outside; the origin a corner.
    std::vector<int> t = {0, 2, 1, 0, 3, 2, 4, 5, 6, 4, 6, 7, 0, 1, 5, 0, 5, 4,
                          1, 2, 6, 1, 6, 5, 2, 3, 7, 2, 7, 6, 3, 0, 4, 3, 4, 7};
    EXPECT_DOUBLE_EQ(MeshSignedVolume(v, t), 1.0);
    for (size_t k = 0; k < t.size(); k += 3)
        std::swap(t[k + 1], t[k + 2]);
    EXPECT_DOUBLE_EQ(MeshSignedVolume(v, t), -1.0);
}
