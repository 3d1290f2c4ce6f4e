#include "render/tube_seam.h"

#include "curve/constants.h"
#include "geom/vec3.h"

int SeamOffset(const CDoubleArray& tubeX, const CDoubleArray& tubeY, const CDoubleArray& tubeZ, int ringCount,
               int ringSegments)
{
    const int n = ringSegments;
    if (ringCount < 1 || n < 1)
        return 0;
    const long long needed = static_cast<long long>(ringCount) * n;
    if (tubeX.GetSize() < needed || tubeY.GetSize() < needed || tubeZ.GetSize() < needed)
        return 0;

    const int last = (ringCount - 1) * n;
    const Vec3 q = {tubeX[last], tubeY[last], tubeZ[last]};
    double best = vek::kLargestDouble;
    int offset = 0;
    for (int m = 0; m < n; ++m) {
        const Vec3 candidate = {tubeX[m], tubeY[m], tubeZ[m]};
        const double distance = Length(candidate - q);
        if (distance < best) {
            best = distance;
            offset = m;
        }
    }
    return offset;
}
