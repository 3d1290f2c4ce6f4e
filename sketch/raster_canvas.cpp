#include "sketch/raster_canvas.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <utility>

namespace {

constexpr uint8_t kBlack = 0;
constexpr uint8_t kWhite = 255;

// Lines whose end points all lie within +/- 2^30 are walked exactly in
// 64-bit integers; longer ones are first cut to that square.
constexpr int64_t kExactLineLimit = int64_t{1} << 30;

int64_t FloorDiv2(int64_t v) { return v >= 0 ? v / 2 : -((-v + 1) / 2); }
int64_t CeilDiv2(int64_t v) { return -FloorDiv2(-v); }

struct Box64 {
    int64_t left, top, right, bottom;
};

Box64 Normalised(const CPixelRect& box)
{
    Box64 b{box.left, box.top, box.right, box.bottom};
    if (b.left > b.right)
        std::swap(b.left, b.right);
    if (b.top > b.bottom)
        std::swap(b.top, b.bottom);
    return b;
}

// The pixels of row y whose centres lie inside the ellipse inscribed in the
// box (sides W, H > 0): u = 2x + 1 - (l + r), v = 2y + 1 - (t + b), inside
// when (u / W)^2 + (v / H)^2 <= 1. Returns false for an empty row. For a
// circle (W = H, both even as every sketch circle is) the square root is of
// an exact integer and the test is exact; no pixel centre lies on the
// boundary there.
bool EllipseRowSpan(const Box64& b, int64_t y, int64_t& xa, int64_t& xb)
{
    const int64_t w = b.right - b.left;
    const int64_t h = b.bottom - b.top;
    const int64_t v = std::llabs(2 * y + 1 - (b.top + b.bottom));
    if (v > h)
        return false;
    const double across = std::sqrt(static_cast<double>(h - v) * static_cast<double>(h + v));
    const double halfWidth = (w == h) ? across : across * static_cast<double>(w) / static_cast<double>(h);
    const int64_t u = static_cast<int64_t>(std::floor(halfWidth));
    xa = CeilDiv2(b.left + b.right - 1 - u);
    xb = FloorDiv2(b.left + b.right - 1 + u);
    return xa <= xb;
}

}  // namespace

RasterCanvas::RasterCanvas(int w, int h) { Resize(w, h); }

void RasterCanvas::Resize(int w, int h)
{
    m_nWidth = std::max(0, w);
    m_nHeight = std::max(0, h);
    m_pixels.assign(static_cast<size_t>(m_nWidth) * static_cast<size_t>(m_nHeight) * 3, kWhite);
}

void RasterCanvas::PutPixel(int64_t x, int64_t y, uint8_t value)
{
    if (x < 0 || x >= m_nWidth || y < 0 || y >= m_nHeight)
        return;
    const size_t i = (static_cast<size_t>(y) * m_nWidth + static_cast<size_t>(x)) * 3;
    m_pixels[i] = m_pixels[i + 1] = m_pixels[i + 2] = value;
}

// Pixels x0 .. x1 (both included) of row y, cut to the buffer.
void RasterCanvas::FillSpan(int64_t y, int64_t x0, int64_t x1, uint8_t value)
{
    if (y < 0 || y >= m_nHeight)
        return;
    x0 = std::max<int64_t>(x0, 0);
    x1 = std::min<int64_t>(x1, m_nWidth - 1);
    if (x0 > x1)
        return;
    const auto first = m_pixels.begin() +
                       static_cast<ptrdiff_t>((static_cast<size_t>(y) * m_nWidth + static_cast<size_t>(x0)) * 3);
    std::fill_n(first, static_cast<size_t>(x1 - x0 + 1) * 3, value);
}

void RasterCanvas::Rectangle(const CPixelRect& box)
{
    const Box64 b = Normalised(box);
    if (b.left == b.right || b.top == b.bottom)
        return;
    const int64_t y0 = std::max<int64_t>(b.top, 0);
    const int64_t y1 = std::min<int64_t>(b.bottom, m_nHeight);
    for (int64_t y = y0; y < y1; ++y) {
        if (y == b.top || y == b.bottom - 1) {
            FillSpan(y, b.left, b.right - 1, kBlack);
        } else {
            FillSpan(y, b.left + 1, b.right - 2, kWhite);
            PutPixel(b.left, y, kBlack);
            PutPixel(b.right - 1, y, kBlack);
        }
    }
}

void RasterCanvas::MoveTo(int x, int y)
{
    m_curX = x;
    m_curY = y;
}

void RasterCanvas::LineTo(int x, int y)
{
    DrawLine(m_curX, m_curY, x, y);
    m_curX = x;
    m_curY = y;
}

// A line longer than the exact range is cut to the square +/- 2^30 in
// double (Liang-Barsky), the cut ends rounded to the nearest pixel. The
// buffer lies far inside that square, so the visible pixels can differ from
// an exact walk only by the rounding of a direction over 2^30 pixels.
void RasterCanvas::DrawLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    const int64_t lim = kExactLineLimit;
    auto inside = [lim](int64_t v) { return v >= -lim && v <= lim; };
    if (inside(x0) && inside(y0) && inside(x1) && inside(y1)) {
        DrawLineInRange(x0, y0, x1, y1);
        return;
    }
    const double dx = static_cast<double>(x1 - x0);
    const double dy = static_cast<double>(y1 - y0);
    const double p[4] = {-dx, dx, -dy, dy};
    const double q[4] = {static_cast<double>(x0 + lim), static_cast<double>(lim - x0),
                         static_cast<double>(y0 + lim), static_cast<double>(lim - y0)};
    double t0 = 0.0, t1 = 1.0;
    for (int k = 0; k < 4; ++k) {
        if (p[k] == 0.0) {
            if (q[k] < 0.0)
                return;
            continue;
        }
        const double t = q[k] / p[k];
        if (p[k] < 0.0)
            t0 = std::max(t0, t);
        else
            t1 = std::min(t1, t);
    }
    if (t0 > t1)
        return;
    auto at = [&](double t, int64_t a, double d) {
        return std::clamp<int64_t>(std::llround(static_cast<double>(a) + t * d), -lim, lim);
    };
    const int64_t cx0 = t0 > 0.0 ? at(t0, x0, dx) : x0;
    const int64_t cy0 = t0 > 0.0 ? at(t0, y0, dy) : y0;
    const int64_t cx1 = t1 < 1.0 ? at(t1, x0, dx) : x1;
    const int64_t cy1 = t1 < 1.0 ? at(t1, y0, dy) : y1;
    DrawLineInRange(cx0, cy0, cx1, cy1);
}

// Bresenham's line from (x0, y0) towards (x1, y1), end pixel excluded.
// Along the major axis (the longer of |dx|, |dy|; x on a tie) step i = 0 ..
// N-1 sits at a0 + i, the minor coordinate at b0 + m(i) with
// m(i) = floor((2 i M + N) / (2 N)) -- i * M / N rounded, halves away from
// the start -- where N and M are the major and minor lengths. Because m is
// monotone, the steps whose pixel lies inside the buffer form one run, found
// in closed form; only that run is walked. With all coordinates within
// +/- 2^30, N and M are at most 2^31 and every product fits 64 bits.
void RasterCanvas::DrawLineInRange(int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    const int64_t dx = x1 - x0;
    const int64_t dy = y1 - y0;
    if (dx == 0 && dy == 0)
        return;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t a0 = xMajor ? x0 : y0;
    const int64_t b0 = xMajor ? y0 : x0;
    const int64_t da = xMajor ? dx : dy;
    const int64_t db = xMajor ? dy : dx;
    const int64_t sa = da < 0 ? -1 : 1;
    const int64_t sb = db < 0 ? -1 : 1;
    const uint64_t n = static_cast<uint64_t>(std::llabs(da));
    const uint64_t m = static_cast<uint64_t>(std::llabs(db));

    const int64_t aLo = 0;
    const int64_t aHi = int64_t{xMajor ? m_nWidth : m_nHeight} - 1;
    const int64_t bLo = 0;
    const int64_t bHi = int64_t{xMajor ? m_nHeight : m_nWidth} - 1;
    if (aLo > aHi || bLo > bHi)
        return;

    // Steps i (0 <= i < n) whose major coordinate is inside the buffer.
    int64_t iLo = sa > 0 ? aLo - a0 : a0 - aHi;
    int64_t iHi = sa > 0 ? aHi - a0 : a0 - aLo;  // inclusive
    // Minor offsets k = m(i) whose coordinate is inside the buffer.
    const int64_t kLo = sb > 0 ? bLo - b0 : b0 - bHi;
    const int64_t kHi = sb > 0 ? bHi - b0 : b0 - bLo;  // inclusive
    if (kHi < 0 || kLo > static_cast<int64_t>(m))
        return;
    // The first step with m(i) >= k: m(i) >= k <=> 2 i M >= (2k - 1) N.
    auto firstStepReaching = [n, m](int64_t k) -> int64_t {
        if (k <= 0)
            return 0;
        if (k > static_cast<int64_t>(m))
            return static_cast<int64_t>(n);
        const uint64_t num = (2 * static_cast<uint64_t>(k) - 1) * n;
        const uint64_t den = 2 * m;
        return static_cast<int64_t>((num + den - 1) / den);
    };
    iLo = std::max({iLo, int64_t{0}, firstStepReaching(kLo)});
    iHi = std::min({iHi, static_cast<int64_t>(n) - 1, firstStepReaching(kHi + 1) - 1});
    if (iLo > iHi)
        return;

    const uint64_t twoN = 2 * n;
    const uint64_t twoM = 2 * m;
    const uint64_t num = 2 * static_cast<uint64_t>(iLo) * m + n;
    int64_t k = static_cast<int64_t>(num / twoN);
    uint64_t rem = num % twoN;
    for (int64_t i = iLo; i <= iHi; ++i) {
        const int64_t a = a0 + sa * i;
        const int64_t b = b0 + sb * k;
        if (xMajor)
            PutPixel(a, b, kBlack);
        else
            PutPixel(b, a, kBlack);
        rem += twoM;
        if (rem >= twoN) {
            rem -= twoN;
            ++k;
        }
    }
}

void RasterCanvas::Ellipse(const CPixelRect& box)
{
    const Box64 b = Normalised(box);
    if (b.left == b.right || b.top == b.bottom) {
        PutPixel(b.left, b.top, kBlack);
        return;
    }
    const int64_t y0 = std::max<int64_t>(b.top, 0);
    const int64_t y1 = std::min<int64_t>(b.bottom, m_nHeight);
    for (int64_t y = y0; y < y1; ++y) {
        int64_t xa = 0, xb = 0;
        if (!EllipseRowSpan(b, y, xa, xb))
            continue;
        // A pixel is outline when a 4-neighbour lies outside the ellipse:
        // the interior is the part of the row that both neighbouring rows
        // also cover, less the row's own two ends.
        int64_t aa = 0, ab = 0, ba = 0, bb = 0;
        const bool above = EllipseRowSpan(b, y - 1, aa, ab);
        const bool below = EllipseRowSpan(b, y + 1, ba, bb);
        FillSpan(y, xa, xb, kBlack);
        if (above && below)
            FillSpan(y, std::max({xa + 1, aa, ba}), std::min({xb - 1, ab, bb}), kWhite);
    }
}
