// Storage running out in each place a command or a paint allocates: the
// points stay as they were and the user is told in a message box. The
// failures are injected with FailLargeAllocations, which makes every large
// allocation fail as a full memory would.
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "app/curve_app.h"
#include "gui_test_support.h"
#include "res/resource_ids.h"
#include "res/string_table.h"
#include "io/points_file.h"
#include "tests/support/fail_allocations.h"

namespace {

std::vector<double> Points(const CCurveView& view)
{
    std::vector<double> values;
    for (int i = 0; i < view.PointCount(); ++i)
        values.insert(values.end(), {view.m_arrX[i], view.m_arrY[i], view.m_arrZ[i]});
    // Unequal arrays would show here as a count that is not a multiple of 3.
    EXPECT_EQ(view.m_arrY.GetSize(), view.PointCount());
    EXPECT_EQ(view.m_arrZ.GetSize(), view.PointCount());
    return values;
}

// Presses OK in a settings dialog without changing anything.
int PressOk(wxDialog* dialog)
{
    dialog->TransferDataToWindow();
    return dialog->TransferDataFromWindow() ? wxID_OK : wxID_CANCEL;
}

constexpr size_t kLimit = 100 * 1024;

}  // namespace

using OutOfStorageTest = FrameTest;

TEST_F(OutOfStorageTest, SettingsRebuildOfTheTube)
{
    // 2,000 points: 480 KB per tube array.
    SetCurve(CirclePoints(2000, 0.3));
    const std::vector<double> before = Points(View());
    for (int command : {ID_SETTINGS_COLOR_WIDTH, ID_SETTINGS_PRECISION}) {
        SCOPED_TRACE(command);
        ScriptedDialogs dialogs;
        dialogs.Then(PressOk).ThenReturn(wxID_OK);
        {
            FailLargeAllocations full(kLimit);
            SendCommand(frame, command);
            EXPECT_GE(full.Refused(), 1);
        }
        ASSERT_EQ(dialogs.shown.size(), 2u);
        EXPECT_EQ(dialogs.shown[1].message, vek::text::kTubeOutOfMemory);
        EXPECT_EQ(Points(View()), before);
        EXPECT_EQ(View().m_arrTubeX.GetSize(), 0);
        PumpEvents(50);  // the repaint draws nothing, and asks nothing
        EXPECT_EQ(dialogs.unexpected, 0);
    }
    // With storage back, the same command builds the tube.
    ScriptedDialogs dialogs;
    dialogs.Then(PressOk);
    SendCommand(frame, ID_SETTINGS_PRECISION);
    EXPECT_EQ(View().m_arrTubeX.GetSize(), 2000 * 30);
}

TEST_F(OutOfStorageTest, DrawListOfThePaint)
{
    SetCurve(CirclePoints(4000, 0.3));
    View().BuildTube();  // tube arrays of 960 KB; the draw list's vertices need 1.4 MB
    const std::vector<double> before = Points(View());
    for (RunState state : {Suspended, Running}) {
        SCOPED_TRACE(state);
        View().m_nState = state;
        View().BuildTube();
        ScriptedDialogs dialogs;
        dialogs.ThenReturn(wxID_OK);
        int w = 0, h = 0;
        {
            FailLargeAllocations full(1024 * 1024);
            Probe().Picture(w, h);
            EXPECT_GE(full.Refused(), 1);
        }
        PumpEvents(100);  // the message is shown after the paint
        ASSERT_EQ(dialogs.shown.size(), 1u);
        EXPECT_EQ(dialogs.shown[0].message,
                  state == Running ? vek::text::kDrawOutOfMemoryStopped : vek::text::kTubeOutOfMemory);
        // A run is stopped; the points are unchanged.
        EXPECT_EQ(View().m_nState, Suspended);
        EXPECT_EQ(Points(View()), before);
        // Until the tube changes, further paints draw nothing and ask nothing.
        Probe().Picture(w, h);
        PumpEvents(50);
        EXPECT_EQ(dialogs.shown.size(), 1u);
    }
}

TEST_F(OutOfStorageTest, LoadingAFile)
{
    // 20,000 points: a file of about 1 MB.
    CDoubleArray x, y, z;
    for (int i = 0; i < 20000; ++i) {
        x.Add(i * 1e-4);
        y.Add(0.5);
        z.Add(-0.5);
    }
    const std::string path = TempPath("out-of-storage.txt");
    std::string error;
    ASSERT_TRUE(WritePointsFile(path, x, y, z, error)) << error;
    SetCurve(CirclePoints(5, 0.3));
    View().m_nState = Suspended;
    const std::vector<double> before = Points(View());
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    {
        FailLargeAllocations full(kLimit);
        EXPECT_FALSE(View().LoadPointsFrom(path));
        EXPECT_GE(full.Refused(), 1);
    }
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].message.find(vek::text::kOutOfMemory), std::string::npos);
    EXPECT_EQ(Points(View()), before);
    EXPECT_EQ(View().m_nState, Suspended);
    EXPECT_TRUE(View().LoadPointsFrom(path));
    EXPECT_EQ(View().PointCount(), 20000);
    std::remove(path.c_str());
}

TEST_F(OutOfStorageTest, AFileOfMorePointsThanARunMayHoldIsNotLoaded)
{
    const std::string path = TempPath("too-many-points.txt");
    {
        std::ofstream out(path, std::ios::binary);
        for (int i = 0; i <= vek::kMaxCurvePoints; ++i)
            out << "0 1 " << i % 10 << "\n";
    }
    SetCurve(CirclePoints(5, 0.3));
    const std::vector<double> before = Points(View());
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    EXPECT_FALSE(View().LoadPointsFrom(path));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].message.find("（1000001 点）が上限（1000000 点）"), std::string::npos)
        << dialogs.shown[0].message;
    EXPECT_EQ(Points(View()), before);
    std::remove(path.c_str());
}

TEST_F(OutOfStorageTest, ResamplingAtStart)
{
    // Precision 100 turns 10 points on a circle into about 25,000.
    SetCurve(CirclePoints(10, 0.3));
    View().m_dPrecision = 100.0;
    const std::vector<double> before = Points(View());
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    {
        FailLargeAllocations full(64 * 1024);
        SendCommand(frame, ID_CALC_START);
        EXPECT_GE(full.Refused(), 1);
    }
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].message.find("メモリが足りない"), std::string::npos);
    EXPECT_EQ(View().m_nState, Suspended);
    EXPECT_EQ(Points(View()), before);
}

TEST_F(OutOfStorageTest, AFailureNoHandlerCaughtIsToldAndTheProgramGoesOn)
{
    auto* app = dynamic_cast<CCurveApp*>(wxTheApp);
    ASSERT_NE(app, nullptr);
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK).ThenReturn(wxID_OK);
    try {
        throw std::bad_alloc();
    } catch (...) {
        EXPECT_TRUE(app->OnExceptionInMainLoop());
    }
    try {
        throw std::runtime_error("broken pipe");
    } catch (...) {
        EXPECT_TRUE(app->OnExceptionInMainLoop());
    }
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[0].message.find(vek::text::kOutOfMemory), std::string::npos);
    EXPECT_NE(dialogs.shown[1].message.find("broken pipe"), std::string::npos);
    EXPECT_EQ(dialogs.shown[1].caption, "Vek");
}
