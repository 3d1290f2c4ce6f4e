#include "sketch/raster_canvas.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sketch/paint_sketch.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

// A canvas that knows its size, to read its pixels back by position.
class TestCanvas : public RasterCanvas {
public:
    TestCanvas(int w, int h) : RasterCanvas(w, h) { Remember(w, h); }
    void Resize(int w, int h)
    {
        RasterCanvas::Resize(w, h);
        Remember(w, h);
    }
    int Width() const { return m_width; }
    int Height() const { return m_height; }
    // The pixel at (x, y) as 0xRRGGBB.
    uint32_t PixelAt(int x, int y) const
    {
        const size_t i = (static_cast<size_t>(y) * m_width + x) * 3;
        return (uint32_t{Pixels()[i]} << 16) | (uint32_t{Pixels()[i + 1]} << 8) | Pixels()[i + 2];
    }

private:
    void Remember(int w, int h)
    {
        m_width = std::max(0, w);
        m_height = std::max(0, h);
    }
    int m_width = 0;
    int m_height = 0;
};

// Draws into `target` what a canvas reaching from (left, top) would get:
// the window of a larger picture whose edges cut through its shapes.
class WindowCanvas : public SketchCanvas {
public:
    WindowCanvas(SketchCanvas& target, int left, int top) : m_target(target), m_left(left), m_top(top) {}
    void Rectangle(const CPixelRect& box) override { m_target.Rectangle(Moved(box)); }
    void MoveTo(int x, int y) override { m_target.MoveTo(x - m_left, y - m_top); }
    void LineTo(int x, int y) override { m_target.LineTo(x - m_left, y - m_top); }
    void Ellipse(const CPixelRect& box) override { m_target.Ellipse(Moved(box)); }

private:
    CPixelRect Moved(const CPixelRect& b) const
    {
        return {b.left - m_left, b.top - m_top, b.right - m_left, b.bottom - m_top};
    }
    SketchCanvas& m_target;
    int m_left, m_top;
};

// The part of the w x h buffer that `box` covers (right and bottom
// excluded), empty when its corners are exchanged.
CPixelRect CutToBuffer(const CPixelRect& box, int w, int h)
{
    const int left = std::clamp(box.left, 0, w), top = std::clamp(box.top, 0, h);
    return {left, top, std::clamp(box.right, left, w), std::clamp(box.bottom, top, h)};
}

// The canvas as rows of '#' (black) and '.' (white).
std::vector<std::string> Picture(const TestCanvas& c)
{
    std::vector<std::string> rows;
    for (int y = 0; y < c.Height(); ++y) {
        std::string row;
        for (int x = 0; x < c.Width(); ++x) {
            const uint32_t p = c.PixelAt(x, y);
            row += p == kBlack ? '#' : p == kWhite ? '.' : '?';
        }
        rows.push_back(row);
    }
    return rows;
}

int CountBlack(const TestCanvas& c)
{
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            n += c.PixelAt(x, y) == kBlack;
    return n;
}

TEST(RasterCanvasRectangle, FrameOnTheInnerEdgesRightAndBottomExcluded)
{
    TestCanvas c(7, 5);
    c.Rectangle({0, 0, 7, 5});
    c.Rectangle({2, 1, 5, 4});
    EXPECT_EQ(Picture(c), (std::vector<std::string>{
                              "#######",
                              "#.###.#",
                              "#.#.#.#",
                              "#.###.#",
                              "#######",
                          }));
}

TEST(RasterCanvasLine, EndPixelIsExcluded)
{
    TestCanvas c(6, 6);
    c.MoveTo(0, 0);
    c.LineTo(4, 0);  // horizontal
    c.MoveTo(5, 5);
    c.LineTo(5, 1);  // vertical, upwards
    c.MoveTo(0, 5);
    c.LineTo(3, 2);  // diagonal
    EXPECT_EQ(Picture(c), (std::vector<std::string>{
                              "####..",
                              "......",
                              ".....#",
                              "..#..#",
                              ".#...#",
                              "#....#",
                          }));
}

TEST(RasterCanvasLine, ShallowLineStepsOncePerColumn)
{
    TestCanvas c(9, 3);
    c.MoveTo(0, 0);
    c.LineTo(8, 2);
    // i * 2 / 8 rounded, halves away from the start: rows 0 0 1 1 1 1 2 2.
    EXPECT_EQ(Picture(c), (std::vector<std::string>{"##.......", "..####...", "......##."}));
}

// The pixels of a line as defined, one step at a time, without clipping.
std::vector<std::pair<int64_t, int64_t>> ReferenceLine(int64_t x0, int64_t y0, int64_t x1, int64_t y1)
{
    std::vector<std::pair<int64_t, int64_t>> pixels;
    const int64_t dx = x1 - x0, dy = y1 - y0;
    const bool xMajor = std::llabs(dx) >= std::llabs(dy);
    const int64_t n = xMajor ? std::llabs(dx) : std::llabs(dy);
    const int64_t m = xMajor ? std::llabs(dy) : std::llabs(dx);
    for (int64_t i = 0; i < n; ++i) {
        const int64_t k = (2 * i * m + n) / (2 * n);
        const int64_t major = i, minor = k;
        const int64_t sx = dx < 0 ? -1 : 1, sy = dy < 0 ? -1 : 1;
        if (xMajor)
            pixels.push_back({x0 + sx * major, y0 + sy * minor});
        else
            pixels.push_back({x0 + sx * minor, y0 + sy * major});
    }
    return pixels;
}

// Lines that leave the buffer on every side: the walk cut to the buffer
// writes exactly the reference pixels that fall inside it. The buffer is a
// window of a larger plane, reaching from (cl, ct) to (cr, cb) of it.
TEST(RasterCanvasLine, WalkCutToTheBufferMatchesTheFullLine)
{
    std::mt19937 rng(11);
    std::uniform_int_distribution<int> coord(-40, 80);
    std::uniform_int_distribution<int> clipPick(-5, 45);
    for (int trial = 0; trial < 3000; ++trial) {
        const int x0 = coord(rng), y0 = coord(rng), x1 = coord(rng), y1 = coord(rng);
        int cl = clipPick(rng), cr = clipPick(rng), ct = clipPick(rng), cb = clipPick(rng);
        if (cl > cr)
            std::swap(cl, cr);
        if (ct > cb)
            std::swap(ct, cb);
        const CPixelRect window = CutToBuffer({cl, ct, cr, cb}, 40, 30);
        const int w = window.right - window.left, h = window.bottom - window.top;
        TestCanvas c(w, h);
        c.MoveTo(x0 - window.left, y0 - window.top);
        c.LineTo(x1 - window.left, y1 - window.top);

        TestCanvas expected(w, h);
        for (const auto& [x, y] : ReferenceLine(x0, y0, x1, y1))
            if (x >= window.left && x < window.right && y >= window.top && y < window.bottom) {
                const int px = static_cast<int>(x) - window.left, py = static_cast<int>(y) - window.top;
                expected.Rectangle({px, py, px + 1, py + 1});
            }
        ASSERT_EQ(Picture(c), Picture(expected))
            << "line " << x0 << "," << y0 << " -> " << x1 << "," << y1 << " window " << cl << "," << ct << ","
            << cr << "," << cb;
    }
}

TEST(RasterCanvasLine, EndPointsAtTheLimitsAreClippedWithoutWalkingThem)
{
    const int32_t big = int32_t{1} << 30;
    TestCanvas c(64, 48);
    c.MoveTo(-big, 10);
    c.LineTo(big, 10);  // exact range: walks 64 of 2^31 steps
    for (int x = 0; x < 64; ++x)
        ASSERT_EQ(c.PixelAt(x, 10), kBlack) << x;
    EXPECT_EQ(CountBlack(c), 64);

    TestCanvas d(64, 48);
    d.MoveTo(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min());
    d.LineTo(std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max());  // cut first
    for (int x = 0; x < 48; ++x)
        EXPECT_EQ(d.PixelAt(x, x), kBlack) << x;
    EXPECT_EQ(CountBlack(d), 48);

    TestCanvas e(64, 48);
    e.MoveTo(20, std::numeric_limits<int32_t>::max());
    e.LineTo(20, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(CountBlack(e), 48);
}

TEST(RasterCanvasEllipse, SmallCirclesAreWhiteDiscsWithOnePixelOutline)
{
    TestCanvas c(13, 8);
    c.Ellipse({0, 0, 2, 2});    // r = 1
    c.Ellipse({2, 0, 6, 4});    // r = 2
    c.Ellipse({6, 0, 12, 6});   // r = 3
    EXPECT_EQ(Picture(c), (std::vector<std::string>{
                              "##.##..####..",
                              "###..##....#.",
                              "..#..##....#.",
                              "...##.#....#.",
                              "......#....#.",
                              ".......####..",
                              ".............",
                              ".............",
                          }));
}

TEST(RasterCanvasEllipse, FillsItsBoxTouchingAllFourSidesAndIsSymmetric)
{
    for (int r = 1; r <= 40; ++r) {
        const int size = 2 * r + 4;
        TestCanvas c(size, size);
        c.Rectangle({0, 0, size, size});  // frame on the border only
        const CPixelRect box{2, 2, 2 + 2 * r, 2 + 2 * r};
        c.Ellipse(box);
        const std::vector<std::string> p = Picture(c);
        bool left = false, right = false, top = false, bottom = false;
        for (int k = 2; k < 2 + 2 * r; ++k) {
            left |= p[k][2] == '#';
            right |= p[k][1 + 2 * r] == '#';
            top |= p[2][k] == '#';
            bottom |= p[1 + 2 * r][k] == '#';
            // Nothing outside the box, right and bottom excluded.
            ASSERT_EQ(p[k][1], '.');
            ASSERT_EQ(p[k][2 + 2 * r], '.');
            ASSERT_EQ(p[1][k], '.');
            ASSERT_EQ(p[2 + 2 * r][k], '.');
        }
        EXPECT_TRUE(left && right && top && bottom) << "r " << r;
        for (int y = 0; y < size; ++y)
            for (int x = 0; x < size; ++x) {
                ASSERT_EQ(p[y][x], p[y][size - 1 - x]) << "r " << r;
                ASSERT_EQ(p[y][x], p[x][y]) << "r " << r;
            }
        // The centre is white from r = 2 on; every row of the box has ink.
        if (r >= 2) {
            EXPECT_EQ(p[1 + r][1 + r], '.') << "r " << r;
        }
        for (int y = 2; y < 2 + 2 * r; ++y)
            EXPECT_NE(p[y].find('#', 2), std::string::npos);
    }
}

// A disc cut by the buffer's edges shows exactly the matching part of the
// same disc drawn whole: the shape does not depend on where it lies.
TEST(RasterCanvasEllipse, ShapeDoesNotDependOnPosition)
{
    for (int r = 1; r <= 12; ++r) {
        TestCanvas whole(40, 40);
        whole.Ellipse({20 - r, 20 - r, 20 + r, 20 + r});
        for (const auto& [cx, cy] : {std::pair{0, 0}, std::pair{2, 1}, std::pair{-3, 5}, std::pair{37, 39}}) {
            TestCanvas cut(40, 40);
            cut.Ellipse({cx - r, cy - r, cx + r, cy + r});
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) {
                    const int sx = x - cx + 20, sy = y - cy + 20;
                    if (sx >= 0 && sx < 40 && sy >= 0 && sy < 40) {
                        ASSERT_EQ(cut.PixelAt(x, y), whole.PixelAt(sx, sy))
                            << "r " << r << " centre " << cx << "," << cy << " at " << x << "," << y;
                    }
                }
        }
    }
}

TEST(RasterCanvasEllipse, ExchangedCornersDrawLikeTheNormalBox)
{
    TestCanvas a(30, 30), b(30, 30);
    a.Ellipse({10, 11, 18, 19});
    b.Ellipse({18, 19, 10, 11});  // a negative radius
    EXPECT_EQ(Picture(a), Picture(b));
    EXPECT_GT(CountBlack(a), 0);
}

TEST(RasterCanvasEllipse, ZeroSizeBoxIsOneBlackPixel)
{
    TestCanvas c(5, 5);
    c.Ellipse({2, 3, 2, 3});
    EXPECT_EQ(CountBlack(c), 1);
    EXPECT_EQ(c.PixelAt(2, 3), kBlack);
}

TEST(RasterCanvasEllipse, HugeBoxesCostOnlyTheClippedArea)
{
    const int32_t big = int32_t{1} << 30;
    TestCanvas c(200, 100);
    c.Ellipse({-big, -big, big, big});  // the buffer lies deep inside
    EXPECT_EQ(CountBlack(c), 0);

    // Centre 2^29 to the right: the outline crosses the buffer as a column
    // close to x = 100.
    const int32_t r = int32_t{1} << 29;
    c.Ellipse({100, 50 - r, 100 + 2 * r, 50 + r});
    for (int y = 0; y < 100; ++y) {
        EXPECT_EQ(c.PixelAt(100, y), kBlack) << y;
        EXPECT_EQ(c.PixelAt(99, y), kWhite) << y;
        EXPECT_EQ(c.PixelAt(102, y), kWhite) << y;
    }
}

// A buffer showing a window of the sketch, its edges cutting through the
// shapes, holds there exactly what the whole sketch's buffer holds.
TEST(RasterCanvasEdges, AWindowOfTheSketchMatchesTheWholeSketchThere)
{
    CDoubleArray x, y, z;
    std::mt19937 rng(3);
    std::uniform_real_distribution<double> pos(-0.9, 0.9), depth(-0.1, 0.3);
    for (int i = 0; i < 60; ++i) {
        x.Add(pos(rng));
        y.Add(pos(rng));
        z.Add(depth(rng));
    }
    const int w = 160, h = 120;
    TestCanvas full(w, h);
    PaintSketch(full, w, h, x, y, z, CPixelRect{70, 50, 92, 72});

    for (const CPixelRect box : {CPixelRect{10, 20, 50, 45}, CPixelRect{-30, -30, 20, 200},
                                 CPixelRect{100, 90, 400, 400}, CPixelRect{60, 60, 61, 61}}) {
        const CPixelRect window = CutToBuffer(box, w, h);
        TestCanvas part(window.right - window.left, window.bottom - window.top);
        // Make unwritten pixels recognisable: black everywhere first.
        for (int row = 0; row < part.Height(); ++row) {
            part.MoveTo(0, row);
            part.LineTo(part.Width(), row);
        }
        WindowCanvas shifted(part, window.left, window.top);
        PaintSketch(shifted, w, h, x, y, z, CPixelRect{70, 50, 92, 72});
        for (int py = 0; py < part.Height(); ++py)
            for (int px = 0; px < part.Width(); ++px)
                ASSERT_EQ(part.PixelAt(px, py), full.PixelAt(window.left + px, window.top + py))
                    << window.left + px << "," << window.top + py;
    }
}

TEST(RasterCanvasEdges, ShapesAreCutToTheBuffer)
{
    TestCanvas c(10, 8);
    c.Rectangle({-5, 2, 50, 6});  // its left and right sides lie outside
    EXPECT_EQ(Picture(c), (std::vector<std::string>{
                              "..........",
                              "..........",
                              "##########",
                              "..........",
                              "..........",
                              "##########",
                              "..........",
                              "..........",
                          }));
    c.Resize(10, 8);
    c.Rectangle({0, 0, 10, 8});  // the frame reaches all four edges
    EXPECT_EQ(CountBlack(c), 2 * 10 + 2 * 6);
    // A buffer without pixels takes every shape and keeps none.
    c.Resize(10, 0);
    c.Rectangle({0, 0, 10, 8});
    c.Ellipse({0, 0, 0, 0});
    c.MoveTo(-3, -3);
    c.LineTo(20, 20);
    EXPECT_TRUE(c.Pixels().empty());
}

TEST(RasterCanvasBuffer, RowsTopDown)
{
    TestCanvas c(3, 2);
    ASSERT_EQ(c.Pixels().size(), 18u);
    c.MoveTo(0, 0);
    c.LineTo(3, 0);  // top row black
    const std::vector<uint8_t>& top = c.Pixels();
    EXPECT_EQ(std::vector<uint8_t>(top.begin(), top.begin() + 9), std::vector<uint8_t>(9, 0));
    EXPECT_EQ(std::vector<uint8_t>(top.begin() + 9, top.end()), std::vector<uint8_t>(9, 255));

    c.Resize(-4, 5);
    EXPECT_EQ(c.Width(), 0);
    EXPECT_TRUE(c.Pixels().empty());
    c.Ellipse({0, 0, 10, 10});  // nothing to draw into, nothing breaks
}

}  // namespace
