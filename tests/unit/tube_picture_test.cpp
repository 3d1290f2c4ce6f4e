// Offscreen pictures of the tube (Mesa's OSMesa, no display needed).
#include "render/tube_picture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

void Circle(int count, double radius, CDoubleArray& x, CDoubleArray& y, CDoubleArray& z)
{
    for (int i = 0; i < count; ++i) {
        const double t = 2.0 * 3.141592653589793 * i / count;
        x.SetAtGrow(i, radius * std::cos(t));
        y.SetAtGrow(i, radius * std::sin(t));
        z.SetAtGrow(i, 0.0);
    }
}

struct Coverage {
    size_t background = 0;  // pixels exactly the background colour
    size_t tube = 0;
    double meanRed = 0, meanBlue = 0;  // over tube pixels
};

Coverage Measure(const RgbPicture& p, const std::array<uint8_t, 3>& background)
{
    Coverage c;
    for (size_t i = 0; i + 2 < p.rgb.size(); i += 3) {
        if (p.rgb[i] == background[0] && p.rgb[i + 1] == background[1] && p.rgb[i + 2] == background[2]) {
            ++c.background;
            continue;
        }
        ++c.tube;
        c.meanRed += p.rgb[i];
        c.meanBlue += p.rgb[i + 2];
    }
    if (c.tube) {
        c.meanRed /= c.tube;
        c.meanBlue /= c.tube;
    }
    return c;
}

class TubePictureTest : public ::testing::Test {
protected:
    void SetUp() override { Circle(60, 0.3, x, y, z); }
    RgbPicture Render(const TubePictureOptions& options)
    {
        RgbPicture picture;
        std::string error;
        EXPECT_TRUE(RenderTubePicture(x, y, z, options, picture, error)) << error;
        return picture;
    }
    CDoubleArray x, y, z;
};

TEST_F(TubePictureTest, DrawsALitTubeOfTheAskedSize)
{
    TubePictureOptions options;
    options.width = 200;
    options.height = 120;
    const RgbPicture p = Render(options);
    ASSERT_EQ(p.width, 200);
    ASSERT_EQ(p.height, 120);
    ASSERT_EQ(p.rgb.size(), 200u * 120u * 3u);
    const Coverage c = Measure(p, {0, 0, 0});
    EXPECT_GT(c.tube, 200u * 120u / 200);
    EXPECT_GT(c.background, 200u * 120u / 2);
}

TEST_F(TubePictureTest, FittingFillsThePictureAndBackgroundPaintsOnlyTheRest)
{
    TubePictureOptions options;
    options.width = options.height = 160;
    const Coverage plain = Measure(Render(options), {0, 0, 0});
    options.fit = true;
    const Coverage fitted = Measure(Render(options), {0, 0, 0});
    EXPECT_GT(fitted.tube, 2 * plain.tube);
    // A green no lit white tube pixel can have: the tube keeps every pixel
    // it had on black, and all the others turn green.
    options.background = {10, 200, 30};
    const Coverage green = Measure(Render(options), {10, 200, 30});
    EXPECT_EQ(green.tube + green.background, 160u * 160u);
    EXPECT_EQ(green.tube, fitted.tube);
}

TEST_F(TubePictureTest, ColourAndThicknessChangeThePicture)
{
    TubePictureOptions options;
    options.width = options.height = 160;
    const Coverage white = Measure(Render(options), {0, 0, 0});
    options.colour = vek::kColorCyan;
    const Coverage cyan = Measure(Render(options), {0, 0, 0});
    EXPECT_LT(cyan.meanRed, white.meanRed - 5.0);
    EXPECT_EQ(cyan.tube, white.tube);
    options.tubeScale = 3.0;
    const Coverage thick = Measure(Render(options), {0, 0, 0});
    EXPECT_GT(thick.tube, 2 * cyan.tube);
}

TEST_F(TubePictureTest, RefusesASizeMesaCannotDraw)
{
    TubePictureOptions options;
    options.width = 0;
    RgbPicture picture;
    std::string error;
    EXPECT_FALSE(RenderTubePicture(x, y, z, options, picture, error));
    EXPECT_FALSE(error.empty());
}

}  // namespace
