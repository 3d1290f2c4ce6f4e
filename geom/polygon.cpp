#include "geom/polygon.h"

#include <algorithm>
#include <climits>
#include <cmath>

namespace vek {

namespace {

int ClampedCount(std::size_t count)
{
    return static_cast<int>(std::min<std::size_t>(count, INT_MAX));
}

}  // namespace

PolygonView::PolygonView(std::span<const double> x, std::span<const double> y, std::span<const double> z)
    : m_x(x.data()), m_y(y.data()), m_z(z.data()), m_n(ClampedCount(std::min({x.size(), y.size(), z.size()})))
{
}

PolygonView PolygonView::Interleaved(std::span<const double> xyz)
{
    PolygonView view;
    view.m_n = ClampedCount(xyz.size() / 3);
    if (view.m_n > 0) {
        view.m_x = xyz.data();
        view.m_y = xyz.data() + 1;
        view.m_z = xyz.data() + 2;
    }
    view.m_stride = 3;
    return view;
}

bool PolygonView::AllFinite() const
{
    for (int i = 0; i < m_n; ++i)
        if (!std::isfinite(X(i)) || !std::isfinite(Y(i)) || !std::isfinite(Z(i)))
            return false;
    return true;
}

PolygonPoints::PolygonPoints(PolygonView polygon)
{
    m_xyz.reserve(3 * static_cast<std::size_t>(polygon.Size()));
    for (int i = 0; i < polygon.Size(); ++i) {
        m_xyz.push_back(polygon.X(i));
        m_xyz.push_back(polygon.Y(i));
        m_xyz.push_back(polygon.Z(i));
    }
}

}  // namespace vek
