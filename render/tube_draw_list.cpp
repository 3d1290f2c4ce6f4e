#include "render/tube_draw_list.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

#include "render/build_tube.h"
#include "render/ring_quads.h"
#include "render/tube_seam.h"
#include "geom/vec3.h"

namespace {

// A list that shrinks below half its storage gives it back, as the tube
// arrays do: after a large run a small one should not keep gigabytes.
constexpr std::size_t kShrinkFactor = 2;
// Two triangles a quad.
constexpr int kCornersPerQuad = 6;

}  // namespace

Vec3 TubeVertexNormal(Vec3 vertex, Vec3 centre)
{
    const Vec3 difference = vertex - centre;
    const double length = Length(difference);
    if (length == 0.0)
        return difference;
    if (std::isfinite(length))
        return difference / length;
    Vec3 direction;
    if (UnitDirection(difference, direction))
        return direction;
    return {0.0, 0.0, 0.0};
}

namespace {

// Sizes `v` to `count` elements whose values the caller overwrites. Storage
// too small is released before the new one is taken, so the old and the new
// list never exist together.
template <class T>
void Resize(std::vector<T>& v, std::size_t count)
{
    v.clear();
    if (v.capacity() < count || v.capacity() / kShrinkFactor > count)
        std::vector<T>().swap(v);
    v.resize(count);
}

void StoreFloats(float* out, Vec3 v)
{
    out[0] = static_cast<float>(v.x);
    out[1] = static_cast<float>(v.y);
    out[2] = static_cast<float>(v.z);
}

// The triangle corners of `pairs` ring pairs from ring 0 on, ring b turned
// by `seam`: each quad as (c0, c1, c2) and (c0, c2, c3).
void PairCorners(int pairs, int n, int seam, std::uint32_t* out)
{
    for (int p = 0; p < pairs; ++p) {
        const std::uint32_t a = static_cast<std::uint32_t>(p) * n;
        ForEachRingQuad(a, a + n, n, seam, [&](std::uint32_t c0, std::uint32_t c1, std::uint32_t c2, std::uint32_t c3) {
            for (std::uint32_t corner : {c0, c1, c2, c0, c2, c3})
                *out++ = corner;
        });
    }
}


// The number of points to draw the closed curve with: K of the header when
// the mean spacing is below the share of the ring radius, else N.
int DrawnRingCount(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double ringRadius)
{
    const int count = x.GetSize();
    const double spacing = std::fabs(ringRadius) * kDrawnRingSpacingShare;
    if (count <= 3 || !(spacing > 0.0) || !std::isfinite(spacing))
        return count;
    double length = 0.0;
    for (int i = 0; i < count; ++i) {
        const int next = i + 1 == count ? 0 : i + 1;
        length += Length(Vec3{x[next] - x[i], y[next] - y[i], z[next] - z[i]});
    }
    if (!std::isfinite(length) || length >= count * spacing)
        return count;
    return std::max(3, static_cast<int>(length / spacing));
}

void FillDrawList(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& tubeX,
                  const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int n, TubeDrawList& out);

}  // namespace

void BuildTubeDrawList(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& tubeX,
                       const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int ringSegments, double thickness,
                       double tubeScale, TubeDrawList& out)
{
    out.ringCount = 0;
    out.ringSegments = 0;
    const int ringCount = x.GetSize();
    const int n = ringSegments;
    const long long tubeSize = static_cast<long long>(ringCount) * n;
    if (ringCount == 0 || n < 1 || y.GetSize() != ringCount || z.GetSize() != ringCount ||
        tubeX.GetSize() != tubeSize || tubeY.GetSize() != tubeSize || tubeZ.GetSize() != tubeSize) {
        ReleaseTubeDrawList(out);
        return;
    }
    const int drawn = DrawnRingCount(x, y, z, tubeScale * thickness * 0.5);
    if (drawn == ringCount) {
        FillDrawList(x, y, z, tubeX, tubeY, tubeZ, n, out);
        return;
    }
    CDoubleArray px, py, pz, rx, ry, rz;
    px.SetSizeForOverwrite(drawn);
    py.SetSizeForOverwrite(drawn);
    pz.SetSizeForOverwrite(drawn);
    for (int m = 0; m < drawn; ++m) {
        const int i = static_cast<int>(static_cast<long long>(m) * ringCount / drawn);
        px[m] = x[i];
        py[m] = y[i];
        pz[m] = z[i];
    }
    BuildTube(px, py, pz, n, thickness, tubeScale, rx, ry, rz);
    FillDrawList(px, py, pz, rx, ry, rz, n, out);
}

namespace {

void FillDrawList(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& tubeX,
                  const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int n, TubeDrawList& out)
{
    const int ringCount = x.GetSize();
    const long long tubeSize = static_cast<long long>(ringCount) * n;

    const std::size_t valueCount = static_cast<std::size_t>(tubeSize) * 3;
    Resize(out.vertices, valueCount);
    Resize(out.normals, valueCount);
    for (int i = 0; i < ringCount; ++i) {
        const Vec3 centre = {x[i], y[i], z[i]};
        for (int j = 0; j < n; ++j) {
            const int index = i * n + j;
            const Vec3 vertex = {tubeX[index], tubeY[index], tubeZ[index]};
            StoreFloats(&out.vertices[3 * static_cast<std::size_t>(index)], vertex);
            StoreFloats(&out.normals[3 * static_cast<std::size_t>(index)], TubeVertexNormal(vertex, centre));
        }
    }

    const int pieceRings = std::min(kDrawPieceRings, ringCount - 1);
    Resize(out.pairIndices, static_cast<std::size_t>(pieceRings) * n * kCornersPerQuad);
    PairCorners(pieceRings, n, 0, out.pairIndices.data());

    // The closing pair on its own copy of the two rings, so that its draw
    // call does not span the whole tube.
    const std::size_t ringValues = static_cast<std::size_t>(n) * 3;
    const std::size_t last = static_cast<std::size_t>(ringCount - 1) * ringValues;
    Resize(out.closingVertices, 2 * ringValues);
    Resize(out.closingNormals, 2 * ringValues);
    std::copy_n(out.vertices.begin() + last, ringValues, out.closingVertices.begin());
    std::copy_n(out.vertices.begin(), ringValues, out.closingVertices.begin() + ringValues);
    std::copy_n(out.normals.begin() + last, ringValues, out.closingNormals.begin());
    std::copy_n(out.normals.begin(), ringValues, out.closingNormals.begin() + ringValues);
    Resize(out.closingIndices, static_cast<std::size_t>(n) * kCornersPerQuad);
    PairCorners(1, n, SeamOffset(tubeX, tubeY, tubeZ, ringCount, n), out.closingIndices.data());

    out.ringCount = ringCount;
    out.ringSegments = n;
}

}  // namespace

void ReleaseTubeDrawList(TubeDrawList& list)
{
    list = TubeDrawList{};
}

std::vector<TubeDrawPiece> TubeDrawPieces(const TubeDrawList& list)
{
    std::vector<TubeDrawPiece> pieces;
    if (list.Empty())
        return pieces;
    const int n = list.ringSegments;
    const int pairs = list.ringCount - 1;
    for (int first = 0; first < pairs; first += kDrawPieceRings) {
        const int count = std::min(kDrawPieceRings, pairs - first);
        const std::size_t offset = static_cast<std::size_t>(first) * n * 3;
        pieces.push_back({list.vertices.data() + offset, list.normals.data() + offset, list.pairIndices.data(),
                          count * n * kCornersPerQuad});
    }
    pieces.push_back(
        {list.closingVertices.data(), list.closingNormals.data(), list.closingIndices.data(), n * kCornersPerQuad});
    return pieces;
}
