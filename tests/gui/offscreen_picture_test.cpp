// vek-tube-picture draws what the view shows: the same file, colour,
// thickness and turn in the real view (under the virtual X server) and in
// the tool's offscreen context give the same picture.
#include <cstdio>
#include <cstdlib>
#include <sstream>

#include "gui_test_support.h"
#include "picture_compare.h"

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
    const PictureDifference d = ComparePictures(FlipRows(shown, width, height), drawn, width, height, 2);
    EXPECT_GT(d.lit, static_cast<size_t>(width) * height / 100) << "the view shows a tube";
    EXPECT_TRUE(SameRendering(d, width, height))
        << d.differing << " pixels differ, by up to " << d.largest;
    std::printf("view and offscreen picture: %zu of %d pixels differ by more than 2, largest difference %d\n",
                d.differing, width * height, d.largest);
}
