// Sketching with the mouse and the position data file commands, through the
// real view and the real command route.
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/uiaction.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "gui_test_support.h"
#include "res/resource_ids.h"
#include "io/points_file.h"

namespace {

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

using SketchInputTest = FrameTest;

TEST_F(SketchInputTest, PressAtTheCentrePixelAppendsTheOriginAtPenDepth)
{
    const wxSize size = View().GetClientSize();
    SendMouse(View(), wxEVT_LEFT_DOWN, size.x / 2, size.y / 2);
    ASSERT_EQ(View().PointCount(), 1);
    EXPECT_EQ(View().m_arrX[0], 0.0);
    EXPECT_EQ(View().m_arrY[0], 0.0);
    EXPECT_EQ(View().m_arrZ[0], 0.1);
}

TEST_F(SketchInputTest, PressAtTheTopLeftCornerUsesTheShorterSideAsOneUnit)
{
    frame->SetClientSize(wxSize(640, 480) + View().GetSize() - View().GetClientSize());
    PumpEvents(100);
    ASSERT_EQ(View().GetClientSize(), wxSize(640, 480));
    SendMouse(View(), wxEVT_LEFT_DOWN, 0, 0);
    ASSERT_EQ(View().PointCount(), 1);
    EXPECT_EQ(View().m_arrX[0], -0.6666666666666666);
    EXPECT_EQ(View().m_arrY[0], 0.5);
}

TEST_F(SketchInputTest, RealClicksAndADoubleClickAddOnePointEach)
{
    wxUIActionSimulator sim;
    const wxPoint centre = View().ClientToScreen(wxPoint(320, 240));
    sim.MouseMove(centre);
    PumpEvents(50);
    sim.MouseClick();
    PumpEvents(100);
    EXPECT_EQ(View().PointCount(), 1);
    sim.MouseMove(centre + wxPoint(40, 0));
    PumpEvents(50);
    sim.MouseDblClick();
    PumpEvents(200);
    EXPECT_EQ(View().PointCount(), 2);
}

TEST_F(SketchInputTest, RightPressInSketchAddsNothingButTakesTheCapture)
{
    SendMouse(View(), wxEVT_RIGHT_DOWN, 100, 100);
    EXPECT_EQ(View().PointCount(), 0);
    EXPECT_EQ(View().m_bRightDown, 1);
    SendMouse(View(), wxEVT_RIGHT_UP, 100, 100);
    EXPECT_EQ(View().m_bRightDown, 0);
    EXPECT_FALSE(View().HasCapture());
}

TEST_F(SketchInputTest, WheelChangesPenDepthInEveryStateAndResetKeepsIt)
{
    SendMouse(View(), wxEVT_MOUSEWHEEL, 10, 10, 120);
    EXPECT_DOUBLE_EQ(View().m_dPenDepth, 0.11);
    View().m_nState = Suspended;
    SendMouse(View(), wxEVT_MOUSEWHEEL, 10, 10, -240);
    EXPECT_NEAR(View().m_dPenDepth, 0.09, 1e-15);
    SendCommand(frame, ID_CALC_RESET);
    EXPECT_NEAR(View().m_dPenDepth, 0.09, 1e-15);
    for (int i = 0; i < 12; ++i)
        SendMouse(View(), wxEVT_MOUSEWHEEL, 10, 10, -120);
    EXPECT_EQ(View().m_dPenDepth, 0.0);
}

TEST_F(SketchInputTest, MouseMoveInvalidatesOnlyTheOldAndNewRingBoxes)
{
    SendMouse(View(), wxEVT_MOTION, 50, 60);
    const CPixelRect first = View().m_rcCursor;
    EXPECT_EQ(first.right - first.left, 22);  // radius 11 at depth 0.1
    SendMouse(View(), wxEVT_MOTION, 70, 80);
    const auto& boxes = Probe().Invalidations();
    ASSERT_GE(boxes.size(), 2u);
    EXPECT_EQ(boxes[boxes.size() - 2], first);
    EXPECT_EQ(boxes.back(), View().m_rcCursor);
    EXPECT_EQ(View().m_rcCursorPrev, first);
}

TEST_F(SketchInputTest, SketchPaintShowsTheClickedPointsAsCircles)
{
    const wxSize size = View().GetClientSize();
    SendMouse(View(), wxEVT_LEFT_DOWN, size.x / 2, size.y / 2);
    SendMouse(View(), wxEVT_LEFT_DOWN, size.x / 2, size.y / 4);
    int w = 0, h = 0;
    const std::vector<uint8_t> rgb = Probe().Picture(w, h);
    ASSERT_EQ(rgb.size(), static_cast<size_t>(w) * h * 3);
    // Rows come from the bottom. The circle of radius 11 has a black outline
    // 11 pixels right of the centre and a white inside.
    auto pixel = [&](int x, int yFromTop) { return rgb[(static_cast<size_t>(h - 1 - yFromTop) * w + x) * 3]; };
    EXPECT_EQ(pixel(w / 2, h / 2), 255);
    EXPECT_EQ(pixel(w / 2 + 10, h / 2), 0);
    EXPECT_EQ(pixel(w / 2 + 30, h / 2), 255);
    EXPECT_EQ(pixel(0, h / 3), 0);  // the frame along the left edge
    // The sketch is shown the right way up: the upper point's circle is in
    // the upper half, nothing at its mirror image in the lower half.
    EXPECT_EQ(pixel(w / 2 + 10, h / 4), 0);
    EXPECT_EQ(pixel(w / 2 + 10, h - 1 - h / 4), 255);
}

using PointsFileCommandTest = FrameTest;

TEST_F(PointsFileCommandTest, SaveThenLoadThroughTheDialogs)
{
    SetCurve({{1.0, -0.25, 0.1}, {0.5, 0.5, 0.2}, {-0.5, 0.25, 0.05}});
    const std::string path = TempPath("saved.txt");
    std::remove(path.c_str());
    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(path));
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "file");
    EXPECT_EQ(dialogs.shown[0].wildcard, "txtファイル(*.txt)|*.txt|全てのファイル(*.*)|*.*");
    EXPECT_TRUE(dialogs.shown[0].style & wxFD_SAVE);
    // The program asks before replacing a file itself, about the file it
    // will write (the toolkit would ask about the name as typed).
    EXPECT_FALSE(dialogs.shown[0].style & wxFD_OVERWRITE_PROMPT);
    const std::string text = ReadAll(path);
    EXPECT_EQ(text.size(), 156u);
    EXPECT_EQ(text.substr(0, 52), "   1.000000e+000   -2.500000e-001    1.000000e-001\r\n");

    SendCommand(frame, ID_CALC_RESET);
    View().m_dPrecision = 5.0;
    View().m_dPenDepth = 0.3;
    dialogs.Then(ChooseFile(path));
    SendCommand(frame, ID_FILE_LOAD_POINTS);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_TRUE(dialogs.shown[1].style & wxFD_FILE_MUST_EXIST);
    ASSERT_EQ(View().PointCount(), 3);
    EXPECT_EQ(View().m_arrX[1], 0.5);
    EXPECT_EQ(View().m_arrZ[2], 0.05);
    EXPECT_EQ(View().m_dPrecision, 1.0);
    EXPECT_EQ(View().m_dPenDepth, 0.3);
    EXPECT_EQ(View().m_nState, Sketch);
    EXPECT_EQ(dialogs.unexpected, 0);
}

TEST_F(PointsFileCommandTest, ATypedNameWithoutExtensionIsSavedAsTxt)
{
    SetCurve({{0.1, 0.2, 0.3}});
    const std::string base = TempPath("no-extension");
    std::remove((base + ".txt").c_str());
    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(base));
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    EXPECT_TRUE(std::filesystem::exists(base + ".txt"));
    EXPECT_FALSE(std::filesystem::exists(base));

    // The added extension names an existing file: the user is asked first.
    dialogs.Then(ChooseFile(base)).ThenReturn(wxID_NO);
    View().AppendPoint(1, 2, 3);
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    ASSERT_EQ(dialogs.shown.size(), 3u);
    EXPECT_EQ(dialogs.shown[2].kind, "message");
    EXPECT_EQ(ReadAll(base + ".txt").size(), 52u);  // not replaced
}

TEST_F(PointsFileCommandTest, ReplacingAFileIsAskedOnceAboutTheFileWritten)
{
    SetCurve({{0.1, 0.2, 0.3}});
    const std::string path = TempPath("replace-me.txt");
    {
        std::ofstream out(path, std::ios::binary);
        out << "old";
    }
    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(path)).ThenReturn(wxID_NO);
    dialogs.Then(ChooseFile(path)).ThenReturn(wxID_YES);
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    EXPECT_EQ(ReadAll(path), "old");
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    EXPECT_EQ(ReadAll(path).size(), 52u);
    ASSERT_EQ(dialogs.shown.size(), 4u);
    for (int k : {1, 3}) {
        EXPECT_EQ(dialogs.shown[k].kind, "message");
        EXPECT_NE(dialogs.shown[k].message.find("replace-me.txt は既に存在します。"), std::string::npos);
    }
    EXPECT_EQ(dialogs.unexpected, 0);
}

TEST_F(PointsFileCommandTest, SavingAsAnExistingNameWithoutExtensionWritesAndNamesTheTxtFile)
{
    // "/proc/version" exists, "/proc/version.txt" does not: nothing is asked,
    // and the failure names the file that was really tried.
    SetCurve({{0.1, 0.2, 0.3}});
    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile("/proc/version")).ThenReturn(wxID_OK);
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_NE(dialogs.shown[1].message.find("保存できませんでした"), std::string::npos);
    EXPECT_NE(dialogs.shown[1].message.find("/proc/version.txt"), std::string::npos);
}

TEST_F(PointsFileCommandTest, FileDialogsHaveJapaneseTitles)
{
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_CANCEL).ThenReturn(wxID_CANCEL);
    SendCommand(frame, ID_FILE_LOAD_POINTS);
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[0].caption, "開く");
    EXPECT_EQ(dialogs.shown[1].caption, "名前を付けて保存");
}

TEST_F(PointsFileCommandTest, CancelChangesNothing)
{
    SetCurve({{0.1, 0.2, 0.3}});
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_CANCEL).ThenReturn(wxID_CANCEL);
    SendCommand(frame, ID_FILE_LOAD_POINTS);
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    EXPECT_EQ(View().PointCount(), 1);
    EXPECT_EQ(dialogs.shown.size(), 2u);
}

TEST_F(PointsFileCommandTest, AFailedSaveTellsTheUser)
{
    SetCurve({{0.1, 0.2, 0.3}});
    // A folder where the file should be: the write cannot even start.
    const std::string folder = TempPath("a-folder.txt");
    std::filesystem::create_directories(folder);
    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(folder)).ThenReturn(wxID_OK);
    SendCommand(frame, ID_FILE_SAVE_POINTS);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].kind, "message");
    EXPECT_NE(dialogs.shown[1].message.find("保存できませんでした"), std::string::npos);
    EXPECT_TRUE(dialogs.shown[1].style & wxICON_EXCLAMATION);
    EXPECT_EQ(View().PointCount(), 1);
}

TEST_F(PointsFileCommandTest, AFileThatCannotBeReadKeepsThePointsAndTellsTheUser)
{
    SetCurve({{0.1, 0.2, 0.3}});
    View().m_nState = Suspended;
    const std::string path = TempPath("gone.txt");
    std::remove(path.c_str());
    // The dialog only offers existing files; this one went away after it.
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    EXPECT_FALSE(View().LoadPointsFrom(path));
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].message.find("読み込めませんでした"), std::string::npos);
    EXPECT_EQ(View().PointCount(), 1);
    EXPECT_EQ(View().m_nState, Suspended);
}

TEST_F(PointsFileCommandTest, LoadDuringARunEndsItWithTheLoadedPointsInTheSketch)
{
    const std::string path = TempPath("load-during-run.txt");
    {
        std::ofstream out(path, std::ios::binary);
        out << "1 2 3\n4 5 6\n7 8\n";
    }
    SetCurve(CirclePoints(60, 0.3));
    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(path));
    int drains = 0;
    View().SetDrain([&] {
        if (++drains == 2)
            SendCommand(frame, ID_FILE_LOAD_POINTS);
    });
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(drains, 2);
    EXPECT_EQ(View().m_nState, Sketch);
    ASSERT_EQ(View().PointCount(), 3);
    EXPECT_EQ(View().m_arrX[2], 7.0);
    EXPECT_EQ(View().m_arrZ[2], 6.0);
}

TEST_F(PointsFileCommandTest, SaveDuringARunWritesThePointsAfterWholeBlocks)
{
    SetCurve(CirclePoints(60, 0.3));
    const std::string path = TempPath("save-during-run.txt");
    ScriptedDialogs dialogs;
    dialogs.Then(ChooseFile(path));
    std::string expected;
    View().SetDrain([&] {
        SendCommand(frame, ID_FILE_SAVE_POINTS);
        expected = FormatPointsText(View().m_arrX, View().m_arrY, View().m_arrZ);
        SendCommand(frame, ID_CALC_STOP);
    });
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(ReadAll(path), expected);
    EXPECT_EQ(View().m_nState, Suspended);
}
