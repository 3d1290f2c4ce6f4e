// Zooming with the right button through the X server: the same drag zooms
// the same whether the program handles every motion event (idle) or gets
// them merged into a few (busy), a drag back undoes it, and no number of
// drags cuts the tube open at the depth range.
#include <cmath>
#include <string>

#include "gui_test_support.h"
#include "render/camera.h"

namespace {

constexpr double kCircleRadius = 0.35;

class ZoomDragTest : public FrameTest {
protected:
    void SetUp() override
    {
        FrameTest::SetUp();
        SetCurve(CirclePoints(80, kCircleRadius));
        View().BuildTube();
        View().m_nState = Suspended;
        PumpEvents(200);
        at = View().ClientToScreen(wxPoint(320, 240));
        Move(0, 0);
        PumpEvents(100);
    }

    void Move(int dx, int dy)
    {
        Shell("xdotool mousemove --sync " + std::to_string(at.x + dx) + " " + std::to_string(at.y + dy));
    }

    // A right drag by (dx, dy) pixels in `steps` moves. Idle: every move is
    // handled before the next; busy: nothing is handled until the release,
    // so that the toolkit merges the queued moves.
    Matrix4 Drag(int dx, int dy, int steps, bool busy)
    {
        Move(0, 0);
        PumpEvents(50);
        Shell("xdotool mousedown 3");
        for (int s = 1; s <= steps; ++s) {
            Move(dx * s / steps, dy * s / steps);
            if (!busy)
                PumpEvents(5);
        }
        Shell("xdotool mouseup 3");
        Shell("sleep 0.2");
        PumpEvents(200);
        return View().ViewMatrix();
    }

    wxPoint at;
};

double EyeScale(const Matrix4& v) { return std::sqrt(v[0] * v[0] + v[4] * v[4] + v[8] * v[8]); }

void ExpectSameView(const Matrix4& a, const Matrix4& b, const char* what)
{
    for (int k = 0; k < 16; ++k)
        EXPECT_NEAR(a[k], b[k], 1e-12) << what << ", element " << k;
}

}  // namespace

TEST_F(ZoomDragTest, TheSameDragZoomsTheSameIdleOrBusyAndBackReturns)
{
    const Matrix4 start = View().ViewMatrix();
    const Matrix4 idle = Drag(240, -60, 8, false);
    // 300 of the view's 640 pixels: 3 ^ (300 / 640) times as large.
    EXPECT_NEAR(EyeScale(idle), EyeScale(start) * std::pow(3.0, 300.0 / View().GetClientSize().x), 1e-12);
    ExpectSameView(Drag(-240, 60, 12, false), start, "in and back out");
    ExpectSameView(Drag(240, -60, 8, true), idle, "busy as idle");
}

TEST_F(ZoomDragTest, ManyDragsInNeverReachPastTheDepthRange)
{
    for (int drag = 0; drag < 4; ++drag)
        Drag(500, -300, 4, drag % 2 == 1);
    // The ball that holds the tube, drawn at the eye scale, stays inside
    // the eye depths -10 ... 10: no part of the tube is cut away.
    const double reach = EyeScale(View().ViewMatrix()) * (kCircleRadius + View().m_dThickness / 2);
    EXPECT_GT(reach, 5.0);
    EXPECT_LE(reach, vek::kOrthoHalfDepth);
}
