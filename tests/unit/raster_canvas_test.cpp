#include "sketch/raster_canvas.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "sketch/paint_sketch.h"

namespace {

constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kWhite = 0xFFFFFF;

// The canvas as rows of '#' (black) and '.' (white).
std::vector<std::string> Picture(const RasterCanvas& c)
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

int CountBlack(const RasterCanvas& c)
{
    int n = 0;
    for (int y = 0; y < c.Height(); ++y)
        for (int x = 0; x < c.Width(); ++x)
            n += c.PixelAt(x, y) == kBlack;
    return n;
}

TEST(RasterCanvasRectangle, FrameOnTheInnerEdgesRightAndBottomExcluded)
{
    RasterCanvas c(7, 5);
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
    RasterCanvas c(6, 6);
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
    RasterCanvas c(9, 3);
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

// Lines that leave the buffer and the clip on every side: the clipped walk
// writes exactly the reference pixels that fall inside the clip.
TEST(RasterCanvasLine, ClippedWalkMatchesTheFullLine)
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
        RasterCanvas c(40, 30);
        c.SetClip({cl, ct, cr, cb});
        const CPixelRect clip = c.Clip();
        c.MoveTo(x0, y0);
        c.LineTo(x1, y1);

        RasterCanvas expected(40, 30);
        for (const auto& [x, y] : ReferenceLine(x0, y0, x1, y1))
            if (x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom)
                expected.Rectangle({static_cast<int>(x), static_cast<int>(y), static_cast<int>(x) + 1,
                                    static_cast<int>(y) + 1});
        ASSERT_EQ(Picture(c), Picture(expected))
            << "line " << x0 << "," << y0 << " -> " << x1 << "," << y1 << " clip " << cl << "," << ct << ","
            << cr << "," << cb;
    }
}

TEST(RasterCanvasLine, EndPointsAtTheLimitsAreClippedWithoutWalkingThem)
{
    const int32_t big = int32_t{1} << 30;
    RasterCanvas c(64, 48);
    c.MoveTo(-big, 10);
    c.LineTo(big, 10);  // exact range: walks 64 of 2^31 steps
    for (int x = 0; x < 64; ++x)
        ASSERT_EQ(c.PixelAt(x, 10), kBlack) << x;
    EXPECT_EQ(CountBlack(c), 64);

    RasterCanvas d(64, 48);
    d.MoveTo(std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::min());
    d.LineTo(std::numeric_limits<int32_t>::max(), std::numeric_limits<int32_t>::max());  // cut first
    for (int x = 0; x < 48; ++x)
        EXPECT_EQ(d.PixelAt(x, x), kBlack) << x;
    EXPECT_EQ(CountBlack(d), 48);

    RasterCanvas e(64, 48);
    e.MoveTo(20, std::numeric_limits<int32_t>::max());
    e.LineTo(20, std::numeric_limits<int32_t>::min());
    EXPECT_EQ(CountBlack(e), 48);
}

TEST(RasterCanvasEllipse, SmallCirclesAreWhiteDiscsWithOnePixelOutline)
{
    RasterCanvas c(13, 8);
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
        RasterCanvas c(size, size);
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
        RasterCanvas whole(40, 40);
        whole.Ellipse({20 - r, 20 - r, 20 + r, 20 + r});
        for (const auto& [cx, cy] : {std::pair{0, 0}, std::pair{2, 1}, std::pair{-3, 5}, std::pair{37, 39}}) {
            RasterCanvas cut(40, 40);
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
    RasterCanvas a(30, 30), b(30, 30);
    a.Ellipse({10, 11, 18, 19});
    b.Ellipse({18, 19, 10, 11});  // a negative radius
    EXPECT_EQ(Picture(a), Picture(b));
    EXPECT_GT(CountBlack(a), 0);
}

TEST(RasterCanvasEllipse, ZeroSizeBoxIsOneBlackPixel)
{
    RasterCanvas c(5, 5);
    c.Ellipse({2, 3, 2, 3});
    EXPECT_EQ(CountBlack(c), 1);
    EXPECT_EQ(c.PixelAt(2, 3), kBlack);
}

TEST(RasterCanvasEllipse, HugeBoxesCostOnlyTheClippedArea)
{
    const int32_t big = int32_t{1} << 30;
    RasterCanvas c(200, 100);
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

// A repaint clipped to a rectangle writes there exactly what a full paint
// writes, and nothing elsewhere.
TEST(RasterCanvasClip, ClippedPaintMatchesTheFullPaintInsideAndLeavesTheRest)
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
    RasterCanvas full(w, h);
    PaintSketch(full, w, h, x, y, z, CPixelRect{70, 50, 92, 72});

    for (const CPixelRect clip : {CPixelRect{10, 20, 50, 45}, CPixelRect{-30, -30, 20, 200},
                                  CPixelRect{100, 90, 400, 400}, CPixelRect{60, 60, 61, 61}}) {
        RasterCanvas part(w, h);
        // Make untouched pixels recognisable: black everywhere first.
        for (int row = 0; row < h; ++row) {
            part.MoveTo(0, row);
            part.LineTo(w, row);
        }
        part.SetClip(clip);
        PaintSketch(part, w, h, x, y, z, CPixelRect{70, 50, 92, 72});
        for (int py = 0; py < h; ++py)
            for (int px = 0; px < w; ++px) {
                const bool inside = px >= clip.left && px < clip.right && py >= clip.top && py < clip.bottom;
                ASSERT_EQ(part.PixelAt(px, py), inside ? full.PixelAt(px, py) : kBlack)
                    << px << "," << py;
            }
    }
}

TEST(RasterCanvasClip, ClipIsCutToTheBufferAndEmptyWhenExchanged)
{
    RasterCanvas c(10, 8);
    EXPECT_EQ(c.Clip(), (CPixelRect{0, 0, 10, 8}));
    c.SetClip({-5, 2, 50, 6});
    EXPECT_EQ(c.Clip(), (CPixelRect{0, 2, 10, 6}));
    c.SetClip({6, 6, 2, 2});
    c.Rectangle({0, 0, 10, 8});
    c.Ellipse({0, 0, 0, 0});
    EXPECT_EQ(CountBlack(c), 0);
    c.ResetClip();
    EXPECT_EQ(c.Clip(), (CPixelRect{0, 0, 10, 8}));
}

TEST(RasterCanvasBuffer, RowsTopDownAndFlippedCopyForGl)
{
    RasterCanvas c(3, 2);
    ASSERT_EQ(c.Pixels().size(), 18u);
    c.MoveTo(0, 0);
    c.LineTo(3, 0);  // top row black
    const std::vector<uint8_t>& top = c.Pixels();
    EXPECT_EQ(std::vector<uint8_t>(top.begin(), top.begin() + 9), std::vector<uint8_t>(9, 0));
    EXPECT_EQ(std::vector<uint8_t>(top.begin() + 9, top.end()), std::vector<uint8_t>(9, 255));
    const std::vector<uint8_t> flipped = c.PixelsBottomUp();
    EXPECT_EQ(std::vector<uint8_t>(flipped.begin(), flipped.begin() + 9), std::vector<uint8_t>(9, 255));
    EXPECT_EQ(std::vector<uint8_t>(flipped.begin() + 9, flipped.end()), std::vector<uint8_t>(9, 0));

    c.Resize(-4, 5);
    EXPECT_EQ(c.Width(), 0);
    EXPECT_TRUE(c.Pixels().empty());
    c.Ellipse({0, 0, 10, 10});  // nothing to draw into, nothing breaks
}

}  // namespace
