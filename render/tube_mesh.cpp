#include "render/tube_mesh.h"

#include <cstddef>
#include <utility>

#include "render/mesh_volume.h"
#include "render/ring_quads.h"
#include "render/tube_seam.h"
#include "geom/vec3.h"

bool BuildTubeMesh(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& tubeX,
                   const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int ringSegments, TubeMesh& out)
{
    out.vertices.clear();
    out.normals.clear();
    out.triangles.clear();

    const int ringCount = x.GetSize();
    const int n = ringSegments;
    if (ringCount < 3 || n < 3 || y.GetSize() != ringCount || z.GetSize() != ringCount)
        return false;
    const long long vertexCount = static_cast<long long>(ringCount) * n;
    if (tubeX.GetSize() != vertexCount || tubeY.GetSize() != vertexCount || tubeZ.GetSize() != vertexCount)
        return false;
    // Triangle indices are ints: 2 * N * n triangles of 3 indices each.
    if (vertexCount * 6 > CDoubleArray::kMaxSize)
        return false;

    out.vertices.resize(static_cast<std::size_t>(vertexCount) * 3);
    out.normals.resize(static_cast<std::size_t>(vertexCount) * 3);
    for (int i = 0; i < ringCount; ++i) {
        const Vec3 centre = {x[i], y[i], z[i]};
        for (int j = 0; j < n; ++j) {
            const int index = i * n + j;
            const Vec3 vertex = {tubeX[index], tubeY[index], tubeZ[index]};
            Vec3 normal = {0.0, 0.0, 0.0};
            if (!IsFinite(vertex) || !UnitDirection(vertex - centre, normal)) {
                // A vertex on its own centre (a zero radius) bounds nothing.
                out.vertices.clear();
                out.normals.clear();
                return false;
            }
            const std::size_t at = static_cast<std::size_t>(index) * 3;
            out.vertices[at] = vertex.x;
            out.vertices[at + 1] = vertex.y;
            out.vertices[at + 2] = vertex.z;
            out.normals[at] = normal.x;
            out.normals[at + 1] = normal.y;
            out.normals[at + 2] = normal.z;
        }
    }

    const auto position = [&](int index) {
        return Vec3{tubeX[index], tubeY[index], tubeZ[index]};
    };
    out.triangles.reserve(static_cast<std::size_t>(vertexCount) * 6);
    const int seam = SeamOffset(tubeX, tubeY, tubeZ, ringCount, n);
    for (int i = 0; i < ringCount; ++i) {
        const int a = i;
        const int b = i + 1 == ringCount ? 0 : i + 1;
        const int k = i == ringCount - 1 ? seam : 0;
        ForEachRingQuad(a * n, b * n, n, k, [&](int q0, int q1, int q2, int q3) {
            // The shorter diagonal keeps both triangles well shaped where a
            // ring is turned against its neighbour.
            const double d02 = SquaredLength(position(q2) - position(q0));
            const double d13 = SquaredLength(position(q3) - position(q1));
            if (d02 <= d13)
                out.triangles.insert(out.triangles.end(), {q0, q1, q2, q0, q2, q3});
            else
                out.triangles.insert(out.triangles.end(), {q0, q1, q3, q1, q2, q3});
        });
    }

    if (MeshSignedVolume(out.vertices, out.triangles) < 0.0) {
        for (std::size_t t = 0; t < out.triangles.size(); t += 3)
            std::swap(out.triangles[t + 1], out.triangles[t + 2]);
    }
    return true;
}

void ScaleTubeMesh(TubeMesh& mesh, double factor)
{
    for (double& coordinate : mesh.vertices)
        coordinate *= factor;
}
