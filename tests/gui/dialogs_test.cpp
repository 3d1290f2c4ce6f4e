// The settings dialogs as the commands run them: what they show on opening,
// what OK and Cancel do, and the refusal of texts that are not numbers.
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include "dialogs/about_dlg.h"
#include "dialogs/color_width_dlg.h"
#include "dialogs/precision_dlg.h"
#include "gui_test_support.h"
#include "res/resource_ids.h"

namespace {

wxTextCtrl* Edit(wxDialog* dialog)
{
    return XRCCTRL(*dialog, "IDC_VALUE_EDIT", wxTextCtrl);
}

wxRadioButton* Radio(wxDialog* dialog, const char* name)
{
    return wxDynamicCast(dialog->FindWindow(wxXmlResource::GetXRCID(name)), wxRadioButton);
}

// What the dialog showed when it opened.
struct Opening {
    std::string title;
    std::string text;
    int selectedColor = -2;
};

// Opens the dialog's controls (the hook replaces showing it), records what
// they show, types `typed` (unless null), selects `color` (unless -1) and
// presses OK; a refused text keeps the dialog open, which the answer reports
// as Cancel after typing `retyped` if given.
ScriptedDialogs::Answer Type(Opening& seen, const char* typed, int color = -1, const char* retyped = nullptr)
{
    return [&seen, typed, color, retyped](wxDialog* dialog) {
        dialog->TransferDataToWindow();
        seen.title = dialog->GetTitle().utf8_string();
        seen.text = Edit(dialog)->GetValue().utf8_string();
        const char* names[] = {"IDC_COLOR_WHITE", "IDC_COLOR_PINK", "IDC_COLOR_CYAN"};
        for (int i = 0; i < 3; ++i)
            if (Radio(dialog, names[i]) && Radio(dialog, names[i])->GetValue())
                seen.selectedColor = i;
        if (typed)
            Edit(dialog)->SetValue(wxString::FromUTF8(typed));
        if (color >= 0) {
            Radio(dialog, names[color])->SetValue(true);
            wxCommandEvent clicked(wxEVT_RADIOBUTTON, Radio(dialog, names[color])->GetId());
            clicked.SetEventObject(Radio(dialog, names[color]));
            Radio(dialog, names[color])->ProcessWindowEvent(clicked);
        }
        if (dialog->TransferDataFromWindow())
            return wxID_OK;
        if (retyped) {
            Edit(dialog)->SetValue(wxString::FromUTF8(retyped));
            if (dialog->TransferDataFromWindow())
                return wxID_OK;
        }
        return wxID_CANCEL;
    };
}

}  // namespace

using SettingsDialogTest = FrameTest;

TEST_F(SettingsDialogTest, FirstOpeningShowsWhiteAndOne)
{
    ScriptedDialogs dialogs;
    Opening color, precision;
    dialogs.Then(Type(color, nullptr)).Then(Type(precision, nullptr));
    SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
    SendCommand(frame, ID_SETTINGS_PRECISION);
    EXPECT_EQ(color.title, "色と太さ");
    EXPECT_EQ(color.text, "1");
    EXPECT_EQ(color.selectedColor, 0);
    EXPECT_EQ(precision.title, "精度");
    EXPECT_EQ(precision.text, "1");
}

TEST_F(SettingsDialogTest, CancelChangesNothingAndRepaintsNothing)
{
    ScriptedDialogs dialogs;
    Opening seen;
    dialogs.Then([&](wxDialog* dialog) {
        dialog->TransferDataToWindow();
        Edit(dialog)->SetValue("3");
        Radio(dialog, "IDC_COLOR_CYAN")->SetValue(true);
        return wxID_CANCEL;
    });
    dialogs.ThenReturn(wxID_CANCEL);
    const int builds = Probe().TubeBuilds();
    SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
    SendCommand(frame, ID_SETTINGS_PRECISION);
    EXPECT_EQ(View().m_crTube, 0xFFFFFFu);
    EXPECT_EQ(View().m_dTubeScale, 1.0);
    EXPECT_EQ(View().m_dPrecision, 1.0);
    EXPECT_EQ(Probe().TubeBuilds(), builds);
}

TEST_F(SettingsDialogTest, OkWithoutChangeRebuildsAndRepaints)
{
    SetCurve(CirclePoints(10, 0.2));
    PumpEvents(50);
    ScriptedDialogs dialogs;
    Opening seen;
    dialogs.Then(Type(seen, nullptr));
    const int builds = Probe().TubeBuilds();
    const int paints = Probe().SketchPaints();
    SendCommand(frame, ID_SETTINGS_PRECISION);
    PumpEvents(100);
    EXPECT_EQ(Probe().TubeBuilds(), builds + 1);
    EXPECT_EQ(View().m_arrTubeX.GetSize(), 10 * 30);
    EXPECT_GT(Probe().SketchPaints(), paints);
}

TEST_F(SettingsDialogTest, NewColourAndFactorAreStored)
{
    ScriptedDialogs dialogs;
    Opening seen;
    dialogs.Then(Type(seen, "2.5", 1));
    SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
    EXPECT_EQ(View().m_crTube, 0xCCAAFFu);
    EXPECT_EQ(View().m_dTubeScale, 2.5);
}

TEST_F(SettingsDialogTest, RefusedTextShowsTheMessageAndKeepsTheDialogOpen)
{
    ScriptedDialogs dialogs;
    Opening seen;
    wxTextCtrl* edit = nullptr;
    bool stillShownAfterRefusal = false;
    dialogs.Then([&](wxDialog* dialog) {
        dialog->TransferDataToWindow();
        edit = Edit(dialog);
        edit->SetValue("1,5");
        const bool accepted = dialog->TransferDataFromWindow();
        stillShownAfterRefusal = !accepted;
        EXPECT_EQ(edit->GetStringSelection(), "1,5");
        edit->SetValue("4");
        return dialog->TransferDataFromWindow() ? wxID_OK : wxID_CANCEL;
    });
    dialogs.ThenReturn(wxID_OK);  // the message box
    SendCommand(frame, ID_SETTINGS_PRECISION);
    EXPECT_TRUE(stillShownAfterRefusal);
    ASSERT_EQ(dialogs.shown.size(), 2u);
    EXPECT_EQ(dialogs.shown[1].message, "数字を入力してください。");
    EXPECT_EQ(dialogs.shown[1].caption, "Vek");
    EXPECT_TRUE(dialogs.shown[1].style & wxICON_EXCLAMATION);
    EXPECT_EQ(View().m_dPrecision, 4.0);
}

TEST_F(SettingsDialogTest, ValuesThatWouldBreakTheProgramAreRefused)
{
    // A long curve at an enormous precision would need far too many points;
    // an infinite factor has no tube. A negative precision and a negative
    // factor (the same tube) are taken.
    SetCurve(CirclePoints(40, 0.4));
    ScriptedDialogs dialogs;
    Opening a, b, c;
    dialogs.Then(Type(a, "1e9", -1, "-2")).ThenReturn(wxID_OK);
    dialogs.Then(Type(b, "1e400", -1, "-2.5")).ThenReturn(wxID_OK);
    SendCommand(frame, ID_SETTINGS_PRECISION);
    SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
    ASSERT_EQ(dialogs.shown.size(), 4u);
    EXPECT_NE(dialogs.shown[1].message.find("点の数が多すぎます"), std::string::npos);
    EXPECT_EQ(View().m_dPrecision, -2.0);
    EXPECT_EQ(View().m_dTubeScale, -2.5);
}

struct TypedCase {
    int command;
    const char* typed;
    double stored;        // when taken
    const char* refusal;  // when refused: the message
};

class TypedValueTest : public FrameTest, public ::testing::WithParamInterface<TypedCase> {};

// Full-width digits count as their ASCII digits; a display factor that
// would show no tube and a precision too large to count are refused with a
// message that says why (no count of 9223372036854775807 points).
TEST_P(TypedValueTest, IsTakenOrRefusedWithItsMessage)
{
    const TypedCase& c = GetParam();
    SetCurve(CirclePoints(40, 0.4));
    View().m_dPrecision = 3.0;
    View().m_dTubeScale = 3.0;
    ScriptedDialogs dialogs;
    Opening seen;
    dialogs.Then(Type(seen, c.typed));
    if (c.refusal)
        dialogs.ThenReturn(wxID_OK);
    SendCommand(frame, c.command);
    const double stored = c.command == ID_SETTINGS_PRECISION ? View().m_dPrecision : View().m_dTubeScale;
    if (c.refusal) {
        ASSERT_EQ(dialogs.shown.size(), 2u) << c.typed;
        EXPECT_EQ(dialogs.shown[1].message, c.refusal) << c.typed;
        EXPECT_EQ(stored, 3.0) << c.typed;
    } else {
        EXPECT_EQ(dialogs.shown.size(), 1u) << c.typed;
        EXPECT_EQ(stored, c.stored) << c.typed;
    }
}

const char* const kScaleRefusal =
    "太さには絶対値が 0.1 から 50 までの数を入力してください。\n"
    "（0 に近いと管が細すぎて見えず、50 を超えると管が画面を覆います。）";

INSTANTIATE_TEST_SUITE_P(
    Texts, TypedValueTest,
    ::testing::Values(
        TypedCase{ID_SETTINGS_PRECISION, "２", 2.0, nullptr},
        TypedCase{ID_SETTINGS_PRECISION, "　１．５　", 1.5, nullptr},
        TypedCase{ID_SETTINGS_PRECISION, "１ｅ２", 100.0, nullptr},
        TypedCase{ID_SETTINGS_COLOR_WIDTH, "－２", -2.0, nullptr},
        TypedCase{ID_SETTINGS_COLOR_WIDTH, "50", 50.0, nullptr},
        TypedCase{ID_SETTINGS_COLOR_WIDTH, "0.1", 0.1, nullptr},
        TypedCase{ID_SETTINGS_PRECISION, "２，５", 0.0, "数字を入力してください。"},
        TypedCase{ID_SETTINGS_COLOR_WIDTH, "0", 0.0, kScaleRefusal},
        TypedCase{ID_SETTINGS_COLOR_WIDTH, "0.09", 0.0, kScaleRefusal},
        TypedCase{ID_SETTINGS_COLOR_WIDTH, "1e6", 0.0, kScaleRefusal},
        TypedCase{ID_SETTINGS_PRECISION, "1234567890123456789012345678901234567890", 0.0,
                  "この精度では点の数が多すぎます（上限 1000000 点をはるかに超えます）。\nもっと小さい値を入力してください。"}),
    [](const auto& info) { return "Case" + std::to_string(info.index); });

TEST_F(SettingsDialogTest, ResetAndLoadBringPrecisionBackButKeepColourAndFactor)
{
    ScriptedDialogs dialogs;
    Opening first, second, after;
    dialogs.Then(Type(first, "3", 2)).Then(Type(second, "7"));
    SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
    SendCommand(frame, ID_SETTINGS_PRECISION);
    SendCommand(frame, ID_CALC_RESET);
    Opening precisionAfter, colorAfter;
    dialogs.Then(Type(precisionAfter, nullptr)).Then(Type(colorAfter, nullptr));
    SendCommand(frame, ID_SETTINGS_PRECISION);
    SendCommand(frame, ID_SETTINGS_COLOR_WIDTH);
    EXPECT_EQ(precisionAfter.text, "1");
    EXPECT_EQ(colorAfter.text, "3");
    EXPECT_EQ(colorAfter.selectedColor, 2);
}

TEST_F(SettingsDialogTest, DialogsLoadTheirTemplatesWithTheProgramTexts)
{
    CColorWidthDlg color(frame);
    CPrecisionDlg precision(frame);
    CAboutDlg about(frame);
    // Loaded: the controls of each template are there.
    ASSERT_FALSE(color.GetChildren().IsEmpty() || precision.GetChildren().IsEmpty() || about.GetChildren().IsEmpty());
    EXPECT_EQ(wxWindow::FindWindowById(wxID_CANCEL, &color)->GetLabel().utf8_string(), "ｷｬﾝｾﾙ");
    EXPECT_EQ(Radio(&color, "IDC_COLOR_PINK")->GetLabel().utf8_string(), "ピンク");
    EXPECT_EQ(Radio(&color, "IDC_COLOR_CYAN")->GetLabel().utf8_string(), "水色");
    EXPECT_EQ(color.GetClientSize(), color.ConvertDialogToPixels(wxSize(219, 139)));
    EXPECT_EQ(precision.GetClientSize(), precision.ConvertDialogToPixels(wxSize(187, 93)));
    const std::string aboutTitle = about.GetTitle().utf8_string();
    EXPECT_NE(aboutTitle.find("　Vekのﾊﾞｰｼﾞｮﾝ情報"), std::string::npos);
    // Tab order is template order: OK, ｷｬﾝｾﾙ, then the edit.
    const wxWindowList& children = precision.GetChildren();
    ASSERT_EQ(children.size(), 3u);
    EXPECT_EQ(children[0]->GetId(), wxID_OK);
    EXPECT_EQ(children[1]->GetId(), wxID_CANCEL);
    EXPECT_EQ(children[2], Edit(&precision));
}

TEST_F(SettingsDialogTest, AboutIsHandledByTheApplication)
{
    ScriptedDialogs dialogs;
    dialogs.ThenReturn(wxID_CANCEL);
    SendCommand(frame, ID_APP_ABOUT);
    ASSERT_EQ(dialogs.shown.size(), 1u);
    EXPECT_NE(dialogs.shown[0].kind.find("Vekのﾊﾞｰｼﾞｮﾝ情報"), std::string::npos);
}

TEST_F(SettingsDialogTest, ADialogOpenedDuringARunHoldsIt)
{
    SetCurve(CirclePoints(60, 0.3));
    ScriptedDialogs dialogs;
    int drainsWhileOpen = -1;
    int drains = 0;
    dialogs.Then([&](wxDialog* dialog) {
        drainsWhileOpen = drains;
        PumpEvents(50);
        EXPECT_EQ(drains, drainsWhileOpen);  // no iteration while it is open
        dialog->TransferDataToWindow();
        Edit(dialog)->SetValue("2");
        return dialog->TransferDataFromWindow() ? wxID_OK : wxID_CANCEL;
    });
    View().SetDrain([&] {
        ++drains;
        if (drains == 1)
            SendCommand(frame, ID_SETTINGS_PRECISION);
        if (drains == 2)
            SendCommand(frame, ID_CALC_STOP);
    });
    SendCommand(frame, ID_CALC_START);
    EXPECT_EQ(drainsWhileOpen, 1);
    EXPECT_EQ(View().m_dPrecision, 2.0);
    // Precision 2 took effect at the resampling right after the first drain.
    EXPECT_GT(View().PointCount(), 60);
}
