#include "render/picture_camera.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

Matrix4 FitView(const Matrix4& view, const std::vector<double>& vertices, int width, int height, double fill)
{
    if (vertices.size() < 3 || width <= 0 || height <= 0 || !(fill > 0.0 && fill <= 1.0))
        return view;
    double lo[3] = {HUGE_VAL, HUGE_VAL, HUGE_VAL};
    double hi[3] = {-HUGE_VAL, -HUGE_VAL, -HUGE_VAL};
    for (std::size_t k = 0; k + 2 < vertices.size(); k += 3) {
        const double p[3] = {vertices[k], vertices[k + 1], vertices[k + 2]};
        for (int row = 0; row < 3; ++row) {
            const double e = view[row] * p[0] + view[4 + row] * p[1] + view[8 + row] * p[2] + view[12 + row];
            lo[row] = std::min(lo[row], e);
            hi[row] = std::max(hi[row], e);
        }
    }
    double half[3], centre[3];
    for (int row = 0; row < 3; ++row) {
        half[row] = 0.5 * (hi[row] - lo[row]);
        centre[row] = 0.5 * (lo[row] + hi[row]);
        if (!std::isfinite(half[row]) || !std::isfinite(centre[row]))
            return view;
    }
    const OrthoBoxValues box = OrthoBox(width, height);
    // The largest scale that keeps each extent inside its share of the box;
    // an extent of zero sets no bound.
    double scale = HUGE_VAL;
    const double room[3] = {fill * box.right, fill * box.top, fill * box.farVal};
    for (int row = 0; row < 3; ++row)
        if (half[row] > 0.0)
            scale = std::min(scale, room[row] / half[row]);
    if (!std::isfinite(scale) || !(half[0] > 0.0 || half[1] > 0.0))
        return view;
    const Matrix4 centred = MultiplyMatrix(TranslationMatrix(-centre[0], -centre[1], -centre[2]), view);
    return MultiplyMatrix(ScaleMatrix(scale), centred);
}
