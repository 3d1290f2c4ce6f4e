#include "sketch/paint_sketch.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <new>
#include <vector>

#include "sketch/sketch_mapping.h"

namespace {

// Ascending depth, equal depths by ascending index. NaN depths sort after
// every number (and among themselves by index), which keeps this a strict
// weak ordering; such points are not drawn anyway.
struct DepthOrder {
    const double* depth;
    bool operator()(int32_t a, int32_t b) const
    {
        const double za = depth[a];
        const double zb = depth[b];
        const bool nanA = std::isnan(za);
        const bool nanB = std::isnan(zb);
        if (nanA != nanB)
            return nanB;
        if (!nanA && za != zb)
            return za < zb;
        return a < b;
    }
};

}  // namespace

void PaintSketch(SketchCanvas& canvas, int w, int h, const CDoubleArray& x,
                 const CDoubleArray& y, const CDoubleArray& z, const CPixelRect& cursor)
{
    const int n = std::max(0, std::min({x.GetSize(), y.GetSize(), z.GetSize()}));

    // Both buffers are taken before anything is drawn, so that a failed
    // allocation leaves a clean background rather than a partial sketch.
    std::vector<int32_t> order;
    std::vector<double> depth;
    bool haveBuffers = true;
    try {
        order.resize(static_cast<size_t>(n));
        depth.resize(static_cast<size_t>(n));
    } catch (const std::bad_alloc&) {
        haveBuffers = false;
    }

    canvas.Rectangle(CPixelRect{0, 0, w, h});

    if (haveBuffers) {
        auto project = [&](int i, int32_t& px, int32_t& py) {
            return std::isfinite(z[i]) && ModelToPixel(x[i], y[i], w, h, px, py);
        };

        // The segments i -> i + 1, and from three points on the closing
        // segment n - 1 -> 0 (with two points it would retrace the one
        // segment), so that a closed curve looks closed.
        int32_t pxFirst = 0, pyFirst = 0;
        const bool visibleFirst = n > 0 && project(0, pxFirst, pyFirst);
        int32_t px0 = pxFirst, py0 = pyFirst;
        bool visible0 = visibleFirst;
        const int segments = n >= 3 ? n : std::max(0, n - 1);
        for (int i = 0; i < segments; ++i) {
            const int next = i + 1 == n ? 0 : i + 1;
            int32_t px1 = pxFirst, py1 = pyFirst;
            const bool visible1 = next == 0 ? visibleFirst : project(next, px1, py1);
            if (visible0 && visible1) {
                canvas.MoveTo(px0, py0);
                canvas.LineTo(px1, py1);
            }
            px0 = px1;
            py0 = py1;
            visible0 = visible1;
        }

        for (int i = 0; i < n; ++i) {
            order[i] = i;
            depth[i] = z[i];
        }
        std::sort(order.begin(), order.end(), DepthOrder{depth.data()});

        for (const int32_t d : order) {
            int32_t px = 0, py = 0;
            if (!project(d, px, py))
                continue;
            const int32_t r = RingRadius(depth[d]);
            canvas.Ellipse(CPixelRect{px - r, py - r, px + r, py + r});
        }

        order.clear();
        order.shrink_to_fit();
        depth.clear();
        depth.shrink_to_fit();
    }

    canvas.Ellipse(cursor);
}
