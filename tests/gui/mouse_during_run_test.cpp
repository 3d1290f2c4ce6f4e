// Mouse navigation while the relaxation runs: a press, moves and a release
// that arrive between two message drains are handled inside the next drain,
// when the pointer has already moved on. They must turn (or zoom) the view
// exactly as far as the same drag does when nothing runs.
#include <cmath>
#include <string>

#include "curve/run_relaxation.h"
#include "gui_test_support.h"
#include "render/camera.h"
#include "res/resource_ids.h"

namespace {

struct DragCase {
    const char* name;
    wxEventType down, up;
    int dx, dy;
    int leftDown, rightDown;
};

// The view after the drag of case c from `before`: the two halves of the
// drag, one after the other, as when nothing runs.
void ExpectWholeDrag(const DragCase& c, const Matrix4& before, const Matrix4& after, int width)
{
    const Matrix4 half = NavigationStep(c.leftDown, c.rightDown, c.dx / 2, c.dy / 2, width, before);
    const Matrix4 expected = NavigationStep(c.leftDown, c.rightDown, c.dx - c.dx / 2, c.dy - c.dy / 2, width, half);
    double change = 0.0;
    for (int k = 0; k < 16; ++k) {
        EXPECT_NEAR(after[k], expected[k], 1e-12) << c.name << " element " << k;
        change += std::fabs(after[k] - before[k]);
    }
    EXPECT_GT(change, 0.1) << c.name << ": the drag left the view as it was";
}

}  // namespace

class MouseDuringRunTest : public FrameTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(MouseDuringRunTest, ADragHandledAtADrainCountsWhole)
{
    const DragCase c = GetParam();
    SetCurve(CirclePoints(80, 0.35));
    PumpEvents(200);
    // The pointer itself rests far from where the drag happened.
    const wxPoint away = View().ClientToScreen(wxPoint(30, 400));
    Shell("xdotool mousemove " + std::to_string(away.x) + " " + std::to_string(away.y));
    PumpEvents(100);
    const Matrix4 before = View().ViewMatrix();

    int drains = 0;
    View().SetDrain([&] {
        if (++drains == 1) {
            SendMouse(View(), c.down, 200, 200);
            SendMouse(View(), wxEVT_MOTION, 200 + c.dx / 2, 200 + c.dy / 2);
            SendMouse(View(), wxEVT_MOTION, 200 + c.dx, 200 + c.dy);
            SendMouse(View(), c.up, 200 + c.dx, 200 + c.dy);
        }
        if (drains == 2)
            StopRelaxation(View());
    });
    SendCommand(frame, ID_CALC_START);
    View().SetDrain({});
    ASSERT_EQ(drains, 2);

    ExpectWholeDrag(c, before, View().ViewMatrix(), View().GetClientSize().x);
}

INSTANTIATE_TEST_SUITE_P(Drags, MouseDuringRunTest,
                         ::testing::Values(DragCase{"turn", wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, 60, 0, 1, 0},
                                           DragCase{"zoom in", wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, 0, -60, 0, 1}),
                         [](const auto& info) { return info.index == 0 ? "Turn" : "ZoomIn"; });

// The same through the X server: XTest events (xdotool) queued while the
// program is busy between two drains, then handled by the program's own
// drain in one go.
class RealDragDuringRunTest : public FrameTest, public ::testing::WithParamInterface<DragCase> {};

TEST_P(RealDragDuringRunTest, CountsWholeAtTheNextDrain)
{
    const DragCase c = GetParam();
    SetCurve(CirclePoints(80, 0.35));
    PumpEvents(200);
    const wxPoint at = View().ClientToScreen(wxPoint(200, 200));
    auto move = [&](int dx, int dy) {
        Shell("xdotool mousemove --sync " + std::to_string(at.x + dx) + " " + std::to_string(at.y + dy));
    };
    move(0, 0);
    PumpEvents(100);
    const Matrix4 before = View().ViewMatrix();
    const std::string button = c.leftDown ? "1" : "3";
    int drains = 0;
    View().SetDrain([&] {
        ++drains;
        if (drains == 1) {
            // Nothing is dispatched here: the events wait in the queue.
            Shell("xdotool mousedown " + button);
            move(c.dx / 2, c.dy / 2);
            move(c.dx, c.dy);
            Shell("xdotool mouseup " + button);
            Shell("sleep 0.2");
        }
        if (drains == 2)
            View().DrainMessages();
        if (drains == 3)
            StopRelaxation(View());
    });
    SendCommand(frame, ID_CALC_START);
    View().SetDrain({});
    ASSERT_EQ(drains, 3);

    ExpectWholeDrag(c, before, View().ViewMatrix(), View().GetClientSize().x);
}

INSTANTIATE_TEST_SUITE_P(Drags, RealDragDuringRunTest,
                         ::testing::Values(DragCase{"turn", wxEVT_LEFT_DOWN, wxEVT_LEFT_UP, 60, 0, 1, 0},
                                           DragCase{"zoom in", wxEVT_RIGHT_DOWN, wxEVT_RIGHT_UP, 0, -60, 0, 1}),
                         [](const auto& info) { return info.index == 0 ? "Turn" : "ZoomIn"; });
