#include "render/tube_draw_list.h"

#include <cmath>
#include <cstddef>

#include "render/tube_seam.h"
#include "render/vec3.h"

namespace {

Vec3 VertexNormal(Vec3 vertex, Vec3 centre)
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

}  // namespace

void BuildTubeDrawList(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, const CDoubleArray& tubeX,
                       const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int ringSegments, TubeDrawList& out)
{
    out.vertices.clear();
    out.normals.clear();

    const int ringCount = x.GetSize();
    const int n = ringSegments;
    if (ringCount == 0 || n < 1 || y.GetSize() != ringCount || z.GetSize() != ringCount)
        return;
    const long long tubeSize = static_cast<long long>(ringCount) * n;
    if (tubeX.GetSize() != tubeSize || tubeY.GetSize() != tubeSize || tubeZ.GetSize() != tubeSize)
        return;

    const std::size_t valueCount = static_cast<std::size_t>(tubeSize) * 4 * 3;
    out.vertices.resize(valueCount);
    out.normals.resize(valueCount);
    double* vertexOut = out.vertices.data();
    double* normalOut = out.normals.data();

    const auto emit = [&](int ring, long long position) {
        const int index = static_cast<int>(static_cast<long long>(ring) * n + position);
        const Vec3 vertex = {tubeX[index], tubeY[index], tubeZ[index]};
        const Vec3 centre = {x[ring], y[ring], z[ring]};
        const Vec3 normal = VertexNormal(vertex, centre);
        *vertexOut++ = vertex.x;
        *vertexOut++ = vertex.y;
        *vertexOut++ = vertex.z;
        *normalOut++ = normal.x;
        *normalOut++ = normal.y;
        *normalOut++ = normal.z;
    };

    for (int i = 0; i < ringCount; ++i) {
        const int a = i;
        const int b = i + 1 == ringCount ? 0 : i + 1;
        const int k = i == ringCount - 1 ? SeamOffset(tubeX, tubeY, tubeZ, ringCount, n) : 0;
        // Positions in 64 bits: j + k reaches 2n - 1.
        for (long long j = 1; j <= n; ++j) {
            emit(a, j - 1);
            emit(a, j % n);
            emit(b, (j + k) % n);
            emit(b, (j - 1 + k) % n);
        }
    }
}
