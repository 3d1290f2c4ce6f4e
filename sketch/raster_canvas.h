// RasterCanvas: a SketchCanvas that draws into an RGB pixel buffer, which
// the view then shows in its OpenGL window.
//
// Buffer: width x height pixels, 3 bytes per pixel (red, green, blue), rows
// top to bottom, no row padding. Only black (0, 0, 0) and white (255, 255,
// 255) are ever drawn.
//
// Drawing is cut to the buffer. Cutting never changes which pixels a shape
// covers, only which of them are written, so a shape crossing an edge shows
// exactly the part of it that lies inside. Work is proportional to the
// visible area, even for shapes whose corners lie near the ends of the
// 32-bit range.
#pragma once

#include <cstdint>
#include <vector>

#include "sketch/sketch_canvas.h"

class RasterCanvas : public SketchCanvas {
public:
    // A white buffer of w x h pixels (sizes below 0 count as 0).
    explicit RasterCanvas(int w = 0, int h = 0);

    // Reallocates to w x h white pixels (sizes below 0 count as 0). The
    // current position stays.
    void Resize(int w, int h);

    // Rows top to bottom, 3 bytes per pixel.
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }

    // White inside the box, black along its four inner edges; a box with
    // exchanged corners is normalised first, a box of zero width or height
    // draws nothing.
    void Rectangle(const CPixelRect& box) override;
    void MoveTo(int x, int y) override;
    // Bresenham line, end pixel excluded; see DrawLine in the source.
    void LineTo(int x, int y) override;
    // The box is normalised first, so a negative radius draws like the
    // positive one. A box of zero width or height (a radius of 0) draws a
    // single black pixel at its normalised (left, top), so that such a point
    // stays visible.
    void Ellipse(const CPixelRect& box) override;

private:
    void FillSpan(int64_t y, int64_t x0, int64_t x1, uint8_t value);
    void PutPixel(int64_t x, int64_t y, uint8_t value);
    void DrawLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1);
    void DrawLineInRange(int64_t x0, int64_t y0, int64_t x1, int64_t y1);

    int m_nWidth = 0;
    int m_nHeight = 0;
    std::vector<uint8_t> m_pixels;
    int32_t m_curX = 0;
    int32_t m_curY = 0;
};
