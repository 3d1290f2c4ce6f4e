// The main frame: menu, command route, close guard and the run states as
// the user reaches them through the menu.
#include <wx/menu.h>
#include <wx/msgdlg.h>

#include "app/command_ids.h"
#include "gui_test_support.h"
#include "res/resource_ids.h"

namespace {

struct MenuItemCase {
    int menu;
    int item;
    const char* text;
    int command;
};

const MenuItemCase kMenuItems[] = {
    {0, 0, "位置データ読み込み(&O)", ID_FILE_LOAD_POINTS},
    {0, 1, "位置データ保存(&S)", ID_FILE_SAVE_POINTS},
    {0, 2, "終了(&X)", ID_APP_EXIT},
    {1, 0, "色と太さ...(&C)", ID_SETTINGS_COLOR_WIDTH},
    {1, 1, "精度...(&D)", ID_SETTINGS_PRECISION},
    {2, 0, "開始(&S)", ID_CALC_START},
    {2, 1, "中断(&T)", ID_CALC_STOP},
    {2, 2, "初期化(&I)", ID_CALC_RESET},
    {3, 0, "Vek のﾊﾞｰｼﾞｮﾝ情報(&A)...", ID_APP_ABOUT},
    // After the first items, past a separator in ﾌｧｲﾙ: the knot table, the
    // picture and shape files, the ideal shape, the fitted view.
    {0, 4, "結び目表から開く...(&K)", ID_FILE_OPEN_KNOT},
    {0, 5, "画像保存...(&G)", ID_FILE_SAVE_PICTURE},
    {0, 6, "形状保存...(&M)", ID_FILE_SAVE_SHAPE},
    {2, 3, "理想形(&L)", ID_CALC_IDEAL},
    {4, 0, "全体表示(&F)", ID_VIEW_FIT},
};

// Destroy() of a top-level window deletes it at the next idle time.
bool Closed(wxWindow* frame)
{
    return wxTheApp->IsScheduledForDestruction(frame);
}

}  // namespace

using MainFrameTest = FrameTest;

// The close guard's message: the design's text, then what to do.
const std::string kBusyClosingText = "計算中です\n「計算」メニューの「中断」で計算を止めてから閉じてください。";

TEST_F(MainFrameTest, TitleIsVekAndTheViewFillsTheClientArea)
{
    EXPECT_EQ(frame->GetTitle().utf8_string(), "Vek");
    EXPECT_FALSE(frame->GetIcon().IsOk());
    EXPECT_EQ(View().GetSize(), frame->GetClientSize());
    frame->SetClientSize(500, 300);
    PumpEvents(100);
    EXPECT_EQ(View().GetSize(), wxSize(500, 300));
}

TEST_F(MainFrameTest, MenuBarHasTheFourPopupsWithTheProgramTextsThenTheView)
{
    wxMenuBar* bar = frame->GetMenuBar();
    ASSERT_NE(bar, nullptr);
    ASSERT_EQ(bar->GetMenuCount(), 5u);
    const char* titles[] = {"ﾌｧｲﾙ(&F)", "設定(&P)", "計算(&C)", "ﾍﾙﾌﾟ(&H)", "表示(&V)"};
    const size_t counts[] = {7, 2, 4, 1, 1};
    EXPECT_TRUE(bar->GetMenu(0)->FindItemByPosition(3)->IsSeparator());
    for (size_t m = 0; m < 5; ++m) {
        EXPECT_EQ(bar->GetMenuLabel(m).utf8_string(), titles[m]);
        EXPECT_EQ(bar->GetMenu(m)->GetMenuItemCount(), counts[m]);
    }
    for (const MenuItemCase& c : kMenuItems) {
        wxMenuItem* item = bar->GetMenu(c.menu)->FindItemByPosition(c.item);
        ASSERT_NE(item, nullptr);
        EXPECT_EQ(item->GetItemLabel().utf8_string(), c.text);
        EXPECT_EQ(ProgramCommandId(item->GetId()), c.command) << c.text;
        EXPECT_FALSE(item->IsSeparator());
        EXPECT_FALSE(item->IsCheckable());
    }
}

TEST_F(MainFrameTest, EveryItemIsEnabledInEveryState)
{
    wxMenuBar* bar = frame->GetMenuBar();
    for (int state : {Sketch, Running, Suspended}) {
        View().m_nState = state;
        frame->UpdateWindowUI();
        for (const MenuItemCase& c : kMenuItems) {
            wxMenuItem* item = bar->GetMenu(c.menu)->FindItemByPosition(c.item);
            EXPECT_TRUE(item->IsEnabled()) << c.text << " in state " << state;
            EXPECT_FALSE(item->IsCheckable());
        }
    }
    View().m_nState = Sketch;
}

TEST_F(MainFrameTest, AcceleratorCommandsDoNothing)
{
    SetCurve(CirclePoints(12, 0.3));
    for (int command : {ID_EDIT_COPY, ID_EDIT_CUT, ID_EDIT_PASTE, ID_EDIT_UNDO, ID_NEXT_PANE, ID_PREV_PANE})
        SendCommand(frame, command);
    EXPECT_EQ(View().PointCount(), 12);
    EXPECT_EQ(View().m_nState, Sketch);
}

TEST_F(MainFrameTest, StopInSketchSwitchesToTheTubeViewAndResetBack)
{
    SetCurve(CirclePoints(12, 0.3));
    SendCommand(frame, ID_CALC_STOP);
    EXPECT_EQ(View().m_nState, Suspended);
    EXPECT_EQ(View().PointCount(), 12);
    SendCommand(frame, ID_CALC_RESET);
    EXPECT_EQ(View().m_nState, Sketch);
    EXPECT_EQ(View().PointCount(), 0);
    EXPECT_EQ(View().m_dPrecision, 1.0);
}

TEST_F(MainFrameTest, StartOnAnEmptyCurveSaysSoAndStaysInTheSketch)
{
    int drains = 0;
    View().SetDrain([&] {
        ++drains;
        SendCommand(frame, ID_CALC_STOP);
    });
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(drains, 0);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].message,
              "計算する曲線がありません（点がないか、曲線が短すぎます）。\nスケッチに点を打ってから開始してください。");
    EXPECT_EQ(View().m_nState, Sketch);
    EXPECT_EQ(View().PointCount(), 0);
    EXPECT_EQ(View().m_arrTubeX.GetSize(), 0);
}

TEST_F(MainFrameTest, CloseWhileRunningIsRefusedWithAMessage)
{
    SetCurve(CirclePoints(24, 0.3));
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    int drains = 0;
    View().SetDrain([&] {
        if (++drains == 1) {
            frame->Close();
            EXPECT_FALSE(Closed(frame));
            EXPECT_EQ(View().m_nState, Running);
        } else {
            SendCommand(frame, ID_CALC_STOP);
        }
    });
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(drains, 2);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].kind, "message");
    EXPECT_EQ(dialogs.shown[0].message, kBusyClosingText);
    EXPECT_EQ(dialogs.shown[0].caption, "Vek");
    EXPECT_TRUE(dialogs.shown[0].style & wxICON_EXCLAMATION);
    EXPECT_TRUE(dialogs.shown[0].style & wxOK);
    EXPECT_FALSE(dialogs.shown[0].style & wxCANCEL);

    // After Stop the same request closes, without a question.
    frame->Close();
    EXPECT_TRUE(Closed(frame));
    EXPECT_EQ(dialogs.shown.size(), 1u);
    frame = nullptr;
}

TEST_F(MainFrameTest, ExitCommandGoesThroughTheCloseGuard)
{
    SetCurve(CirclePoints(24, 0.3));
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_OK);
    View().SetDrain([&] {
        static int round = 0;
        if (++round == 1) {
            SendCommand(frame, ID_APP_EXIT);
            EXPECT_FALSE(Closed(frame));
        } else {
            round = 0;
            SendCommand(frame, ID_CALC_STOP);
        }
    });
    SendCommand(frame, ID_CALC_START);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_EQ(dialogs.shown[0].message, kBusyClosingText);
    SendCommand(frame, ID_APP_EXIT);
    EXPECT_TRUE(Closed(frame));
    frame = nullptr;
}

TEST_F(MainFrameTest, CloseInTheSameDrainAsStopEndsAfterTheRunReturns)
{
    SetCurve(CirclePoints(24, 0.3));
    bool viewStillThereAfterClose = false;
    View().SetDrain([&] {
        SendCommand(frame, ID_CALC_STOP);
        frame->Close();
        // The window is gone from the screen but not yet destroyed: the run
        // loop still reads the view's state after this drain.
        viewStillThereAfterClose = !Closed(frame) && !frame->IsShown();
    });
    SendCommand(frame, ID_CALC_START);
    EXPECT_TRUE(viewStillThereAfterClose);
    EXPECT_TRUE(Closed(frame));
    frame = nullptr;
}

TEST_F(MainFrameTest, NestedStartRestartsTheCycleAndOneStopEndsAllRuns)
{
    SetCurve(CirclePoints(40, 0.3));
    int drains = 0;
    std::vector<int> depths;
    View().SetDrain([&] {
        ++drains;
        depths.push_back(View().RunDepth());
        if (drains == 1 || drains == 2)
            SendCommand(frame, ID_CALC_START);
        else if (drains == 4)
            SendCommand(frame, ID_CALC_STOP);
    });
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(drains, 4);
    EXPECT_EQ(depths, (std::vector<int>{1, 2, 3, 3}));
    EXPECT_EQ(View().RunDepth(), 0);
    EXPECT_EQ(View().m_nState, Suspended);
}

TEST_F(MainFrameTest, FocusOfTheFrameGoesToTheView)
{
    frame->SetFocus();
    PumpEvents(100);
    wxWindow* focus = wxWindow::FindFocus();
    EXPECT_EQ(focus, &View()) << (focus ? focus->GetClassInfo()->GetClassName() : L"none");
}
