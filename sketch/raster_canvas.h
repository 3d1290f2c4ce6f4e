// RasterCanvas: a SketchCanvas that draws into an RGB pixel buffer, which
// the view then shows in its OpenGL window.
//
// Buffer: width x height pixels, 3 bytes per pixel (red, green, blue), rows
// top to bottom, no row padding. Only black (0, 0, 0) and white (255, 255,
// 255) are ever drawn. glDrawPixels wants rows bottom to top and, for rows
// of 3 * width bytes, GL_UNPACK_ALIGNMENT 1: PixelsBottomUp gives the flipped
// copy; the caller sets the alignment.
//
// Drawing is clipped to the clip rectangle (the update region of a paint),
// the whole buffer unless set. An update region of several rectangles is
// painted once per rectangle. Clipping never changes which pixels a shape
// covers, only which of them are written, so a partial repaint matches a
// full one pixel for pixel. Work is proportional to the clipped area, even
// for shapes whose corners lie near the ends of the 32-bit range.
#pragma once

#include <cstdint>
#include <vector>

#include "sketch/sketch_canvas.h"

class RasterCanvas : public SketchCanvas {
public:
    // A white buffer of w x h pixels (sizes below 0 count as 0).
    explicit RasterCanvas(int w = 0, int h = 0);

    // Reallocates to w x h white pixels and resets the clip to the whole
    // buffer. The current position stays.
    void Resize(int w, int h);

    int Width() const { return m_nWidth; }
    int Height() const { return m_nHeight; }

    // Rows top to bottom, 3 bytes per pixel.
    const std::vector<uint8_t>& Pixels() const { return m_pixels; }
    // The same pixels with rows bottom to top, for glDrawPixels.
    std::vector<uint8_t> PixelsBottomUp() const;
    // The pixel at (x, y) as 0xRRGGBB; callers keep 0 <= x < w, 0 <= y < h.
    uint32_t PixelAt(int x, int y) const;

    // Limits drawing to clip (right and bottom excluded) intersected with
    // the buffer. A box with exchanged corners is an empty clip.
    void SetClip(const CPixelRect& clip);
    void ResetClip();
    CPixelRect Clip() const;

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
    // Clip, already inside the buffer: left, top inclusive; right, bottom
    // exclusive.
    int64_t m_clipLeft = 0;
    int64_t m_clipTop = 0;
    int64_t m_clipRight = 0;
    int64_t m_clipBottom = 0;
    int32_t m_curX = 0;
    int32_t m_curY = 0;
};
