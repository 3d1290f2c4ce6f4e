// vek-tube-picture draws what the view shows: the same file, colour,
// thickness and turn in the real view (under the virtual X server) and in
// the tool's offscreen context give the same picture.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <sstream>

#include "gui_test_support.h"

namespace {

// Reads a binary PPM written by vek-tube-picture; rows from the top.
std::vector<uint8_t> ReadPpm(const std::string& path, int& width, int& height)
{
    std::ifstream in(path, std::ios::binary);
    std::string magic;
    int maxval = 0;
    in >> magic >> width >> height >> maxval;
    in.get();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    in.read(reinterpret_cast<char*>(rgb.data()), static_cast<std::streamsize>(rgb.size()));
    if (magic != "P6" || maxval != 255 || !in)
        return {};
    return rgb;
}

struct PictureDifference {
    size_t differing = 0;  // pixels with a channel apart by more than the tolerance
    int largest = 0;       // largest channel difference seen
    size_t lit = 0;        // pixels not black in the view's picture
};

// viewRgb has rows from the bottom (as OpenGL reads them), toolRgb from the top.
PictureDifference Compare(const std::vector<uint8_t>& viewRgb, const std::vector<uint8_t>& toolRgb, int width,
                          int height, int tolerance)
{
    PictureDifference d;
    for (int row = 0; row < height; ++row) {
        for (int col = 0; col < width; ++col) {
            const size_t v = (static_cast<size_t>(height - 1 - row) * width + col) * 3;
            const size_t t = (static_cast<size_t>(row) * width + col) * 3;
            int worst = 0;
            for (int c = 0; c < 3; ++c)
                worst = std::max(worst, std::abs(viewRgb[v + c] - toolRgb[t + c]));
            d.largest = std::max(d.largest, worst);
            d.differing += worst > tolerance;
            d.lit += viewRgb[v] || viewRgb[v + 1] || viewRgb[v + 2];
        }
    }
    return d;
}

}  // namespace

class OffscreenPictureTest : public FrameTest {};

TEST_F(OffscreenPictureTest, TheToolDrawsTheTurnedTubeAsTheViewShowsIt)
{
    const std::string points = std::string(VEK_SOURCE_DIR) + "/examples/trefoil.txt";
    ASSERT_TRUE(View().LoadPointsFrom(points));
    View().m_crTube = 0x00CCAAFF;  // pink
    View().m_dTubeScale = 2.0;
    View().BuildTube();
    View().m_nState = Suspended;
    // A left drag of (40, 25) pixels turns by 16 degrees about the eye y
    // axis and by 10 degrees about the eye x axis.
    wxMouseEvent press(wxEVT_LEFT_DOWN), move(wxEVT_MOTION), release(wxEVT_LEFT_UP);
    View().ProcessWindowEvent(press);
    move.m_x = View().m_ptLast.x + 40;
    move.m_y = View().m_ptLast.y + 25;
    View().ProcessWindowEvent(move);
    // The button comes up where the pointer is.
    release.m_x = move.m_x;
    release.m_y = move.m_y;
    View().ProcessWindowEvent(release);

    int width = 0, height = 0;
    const std::vector<uint8_t> shown = Probe().Picture(width, height);
    ASSERT_FALSE(shown.empty());

    const std::string out = TempPath("offscreen_turned.ppm");
    std::remove(out.c_str());
    std::ostringstream command;
    command << "'" << VEK_TUBE_PICTURE << "' '" << points << "' '" << out << "' --size " << width << "x" << height
            << " --colour pink --scale 2 --turn 10,16";
    ASSERT_EQ(std::system(command.str().c_str()), 0) << command.str();
    int toolWidth = 0, toolHeight = 0;
    const std::vector<uint8_t> drawn = ReadPpm(out, toolWidth, toolHeight);
    ASSERT_EQ(toolWidth, width);
    ASSERT_EQ(toolHeight, height);
    ASSERT_FALSE(drawn.empty());

    // Both are Mesa's software rasteriser fed the same calls; allowed: a
    // channel difference of 2 (rounding), and 0.1 % of the pixels beyond
    // it (a depth buffer of other precision may decide a few edge pixels
    // of the crossings the other way).
    const PictureDifference d = Compare(shown, drawn, width, height, 2);
    EXPECT_GT(d.lit, static_cast<size_t>(width) * height / 100) << "the view shows a tube";
    EXPECT_LE(d.differing, static_cast<size_t>(width) * height / 1000)
        << d.differing << " pixels differ, by up to " << d.largest;
    std::printf("view and offscreen picture: %zu of %d pixels differ by more than 2, largest difference %d\n",
                d.differing, width * height, d.largest);
}
