#include "render/build_tube.h"

#include <cmath>
#include <stdexcept>

#include "render/make_frame.h"
#include "geom/vec3.h"

void BuildTube(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int ringSegments,
               double thickness, double tubeScale, CDoubleArray& tubeX, CDoubleArray& tubeY, CDoubleArray& tubeZ)
{
    const int pointCount = x.GetSize();
    const int n = ringSegments;
    if (y.GetSize() != pointCount || z.GetSize() != pointCount)
        throw std::invalid_argument("BuildTube: curve arrays differ in size");
    if (n < 0)
        throw std::invalid_argument("BuildTube: negative ring segment count");
    // Checked in 64 bits: the product must not wrap around into a size that
    // SetSize would accept.
    const long long total = static_cast<long long>(pointCount) * n;
    if (total > CDoubleArray::kMaxSize)
        throw std::length_error("BuildTube: tube too large");
    const int size = static_cast<int>(total);

    // Every vertex is written below: the old tube need not be kept while
    // the new one is taken, and a much smaller tube gives the storage of a
    // larger one back.
    try {
        tubeX.SetSizeForOverwrite(size);
        tubeY.SetSizeForOverwrite(size);
        tubeZ.SetSizeForOverwrite(size);
    } catch (...) {
        // A half-resized set would pair new x with old y and z.
        tubeX.SetSize(0);
        tubeY.SetSize(0);
        tubeZ.SetSize(0);
        throw;
    }
    if (size == 0)
        return;

    const double radius = tubeScale * thickness * 0.5;
    Vec3 reference = {0.0, 0.0, 1.0};
    for (int i = 0; i < pointCount; ++i) {
        const int prev = i == 0 ? pointCount - 1 : i - 1;
        const int next = i + 1 == pointCount ? 0 : i + 1;
        Vec3 tangent = {x[next] - x[prev], y[next] - y[prev], z[next] - z[prev]};
        const double length = Length(tangent);
        // An overflowing length would turn a good tangent into 0 or NaN;
        // MakeFrame normalises such a tangent itself.
        if (length != 0.0 && std::isfinite(length))
            tangent = tangent / length;

        Vec3 v;
        Vec3 w;
        MakeFrame(tangent, reference, v, w);
        reference = w;

        const Vec3 centre = {x[i], y[i], z[i]};
        const int base = i * n;
        for (int j = 0; j < n; ++j) {
            // Fresh cos and sin for every vertex: the angles are not tabled.
            const double theta = (static_cast<double>(j) / static_cast<double>(n)) * vek::kTwoPi;
            const double c = std::cos(theta);
            const double s = std::sin(theta);
            tubeX[base + j] = centre.x + radius * (c * v.x + s * w.x);
            tubeY[base + j] = centre.y + radius * (c * v.y + s * w.y);
            tubeZ[base + j] = centre.z + radius * (c * v.z + s * w.z);
        }
    }
}
