#include "curve/curve_polygon.h"

#include <cstddef>

namespace {

std::span<const double> Coordinates(const CDoubleArray& a)
{
    return {a.GetData(), static_cast<std::size_t>(a.GetSize())};
}

}  // namespace

vek::PolygonView CurvePolygon(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z)
{
    return {Coordinates(x), Coordinates(y), Coordinates(z)};
}

void SetCurvePoints(vek::PolygonView polygon, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    const int n = polygon.Size();
    x.SetSize(n);
    y.SetSize(n);
    z.SetSize(n);
    for (int i = 0; i < n; ++i) {
        x[i] = polygon.X(i);
        y[i] = polygon.Y(i);
        z[i] = polygon.Z(i);
    }
}
