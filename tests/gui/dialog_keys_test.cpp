// The dialogs driven with real key events, as a person at the keyboard
// drives them: each dialog is shown modally, given the keyboard focus the
// way a window manager gives it (XSetInputFocus through xdotool; the virtual
// X server has no window manager), and keys are sent through XTest.
#include <wx/radiobut.h>
#include <wx/textctrl.h>
#include <wx/xrc/xmlres.h>

#include <dlfcn.h>
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <functional>
#include <set>
#include <sstream>
#include <string>
#include <thread>

#include "dialogs/about_dlg.h"
#include "dialogs/color_width_dlg.h"
#include "dialogs/picture_size_dlg.h"
#include "dialogs/precision_dlg.h"
#include "gui_test_support.h"

namespace {

// The mapped X windows of this process titled `title`, but those in
// `except`; waits up to 5 s for one, calling `wait` between looks.
std::string WindowTitled(const std::string& title, const std::set<std::string>& except,
                         const std::function<void()>& wait)
{
    for (int round = 0; round < 100; ++round) {
        std::istringstream ids(Shell("xdotool search --onlyvisible --pid " + std::to_string(getpid()) + " 2>/dev/null"));
        for (std::string id; ids >> id;)
            if (!except.count(id) && Shell("xdotool getwindowname " + id + " 2>/dev/null") == title + "\n")
                return id;
        wait();
    }
    return {};
}

void Key(const std::string& keys)
{
    Shell("xdotool key " + keys);
    PumpEvents(150);
}

void Focus(const std::string& window)
{
    Shell("xdotool windowfocus --sync " + window);
    PumpEvents(200);
}

std::string FocusName(wxDialog& dialog)
{
    wxWindow* focus = wxWindow::FindFocus();
    if (!focus)
        return "none";
    if (focus->GetId() == wxID_OK)
        return "OK";
    if (focus->GetId() == wxID_CANCEL)
        return "Cancel";
    if (dynamic_cast<wxTextCtrl*>(focus))
        return "edit";
    if (dynamic_cast<wxRadioButton*>(focus))
        return "radio";
    return focus == &dialog ? "dialog" : "other";
}

// Whether GTK draws the focus in the dialog's window (looked up at run time:
// the tests link no GTK headers or library of their own).
bool FocusVisible(wxDialog& dialog)
{
    using Getter = int (*)(void*);
    auto get = reinterpret_cast<Getter>(dlsym(RTLD_DEFAULT, "gtk_window_get_focus_visible"));
    return get && get(dialog.GetHandle());
}

// Shows `dialog` modally, focuses it like a window manager, checks that
// the focus starts on OK, then runs `keys`. Returns what ShowModal returned;
// -5 when the keys left the dialog open (it is then closed).
int ShowWithKeys(wxDialog& dialog, const std::function<void()>& keys)
{
    dialog.CallAfter([&dialog, keys] {
        const std::string window = WindowTitled(dialog.GetTitle().utf8_string(), {}, [] { PumpEvents(50); });
        EXPECT_FALSE(window.empty()) << "the dialog's window was not found";
        Focus(window);
        EXPECT_EQ(FocusName(dialog), "OK") << "on opening";
        keys();
        if (dialog.IsModal())
            dialog.EndModal(-5);
    });
    return dialog.ShowModal();
}

// The Tab round of the settings dialogs, forwards and back, from OK.
void TabRound(wxDialog& dialog)
{
    std::string forwards, backwards;
    for (int i = 0; i < 3; ++i) {
        Key("Tab");
        forwards += FocusName(dialog) + " ";
    }
    EXPECT_EQ(forwards, "Cancel edit OK ");
    for (int i = 0; i < 3; ++i) {
        Key("shift+Tab");
        backwards += FocusName(dialog) + " ";
    }
    EXPECT_EQ(backwards, "edit Cancel OK ");
    EXPECT_TRUE(FocusVisible(dialog));
}

wxTextCtrl* Edit(wxDialog& dialog)
{
    return XRCCTRL(dialog, "IDC_VALUE_EDIT", wxTextCtrl);
}

}  // namespace

using DialogKeysTest = FrameTest;

TEST_F(DialogKeysTest, ColourDialogTabOrderAndEscapeFromEveryStop)
{
    for (int tabs = 0; tabs < 3; ++tabs) {
        SCOPED_TRACE(tabs);
        CColorWidthDlg dialog(frame);
        dialog.m_dValue = 1.0;
        dialog.m_nColorIndex = 0;
        const int result = ShowWithKeys(dialog, [&] {
            if (tabs == 0)
                TabRound(dialog);
            for (int i = 0; i < tabs; ++i)
                Key("Tab");
            Key("Escape");
        });
        EXPECT_EQ(result, wxID_CANCEL);
    }
}

TEST_F(DialogKeysTest, ReturnPressesOkFromTheEditAndTheFocusedButtonOtherwise)
{
    struct Case {
        const char* keys;
        int result;
    };
    for (const Case& c : {Case{"Tab Tab 2 period 5 Return", wxID_OK}, Case{"Tab Return", wxID_CANCEL},
                          Case{"Return", wxID_OK}, Case{"Tab space", wxID_CANCEL}, Case{"space", wxID_OK}}) {
        SCOPED_TRACE(c.keys);
        CColorWidthDlg dialog(frame);
        dialog.m_dValue = 1.0;
        dialog.m_nColorIndex = 1;
        EXPECT_EQ(ShowWithKeys(dialog, [&] { Key(c.keys); }), c.result);
        // Tab into the edit selects its text: typing replaces it.
        EXPECT_EQ(dialog.m_dValue, c.result == wxID_OK && std::string(c.keys).find('5') != std::string::npos ? 2.5
                                                                                                            : 1.0);
    }
}

TEST_F(DialogKeysTest, PrecisionDialogKeysAndTheRefusalMessage)
{
    {
        CPrecisionDlg dialog(frame);
        dialog.m_dValue = 1.0;
        EXPECT_EQ(ShowWithKeys(dialog, [&] { TabRound(dialog); Key("Tab Tab Escape"); }), wxID_CANCEL);
    }
    // A text that is no number: Return shows the message box; once it is
    // dismissed and the dialog has the focus back, the focus is in the edit
    // with its whole text selected.
    CPrecisionDlg dialog(frame);
    dialog.m_dValue = 1.0;
    const std::string frameWindow = WindowTitled("Vek", {}, [] { PumpEvents(50); });
    std::string boxWindow;
    const int result = ShowWithKeys(dialog, [&] {
        Key("Tab Tab");
        ASSERT_EQ(FocusName(dialog), "edit");
        Key("a b c");
        // The box is modal: it is answered from beside the program, as a
        // person would answer it.
        std::thread person([&] {
            boxWindow = WindowTitled("Vek", {frameWindow}, [] { std::this_thread::sleep_for(std::chrono::milliseconds(50)); });
            if (!boxWindow.empty())
                Shell("xdotool windowfocus --sync " + boxWindow + " key Return");
        });
        Key("Return");
        PumpEvents(300);
        person.join();
        EXPECT_FALSE(boxWindow.empty()) << "no message box";
        ASSERT_TRUE(dialog.IsModal()) << "a refused text closed the dialog";
        Focus(WindowTitled("精度", {}, [] { PumpEvents(50); }));
        EXPECT_EQ(FocusName(dialog), "edit");
        long from = -1, to = -1;
        Edit(dialog)->GetSelection(&from, &to);
        EXPECT_EQ(Edit(dialog)->GetValue(), "abc");
        EXPECT_EQ(from, 0);
        EXPECT_EQ(to, 3);
        // Typed over, the number is taken.
        Key("7 Return");
    });
    EXPECT_EQ(result, wxID_OK);
    EXPECT_EQ(dialog.m_dValue, 7.0);
}

TEST_F(DialogKeysTest, AboutBoxClosesWithEscapeAndReturn)
{
    for (const char* keys : {"Escape", "Tab Escape", "Return", "space"}) {
        SCOPED_TRACE(keys);
        CAboutDlg dialog(frame);
        int result = ShowWithKeys(dialog, [&] {
            Key("Tab");
            EXPECT_EQ(FocusName(dialog), "OK");  // its one tab stop
            Key(keys);
        });
        EXPECT_EQ(result, std::string(keys).find("Escape") != std::string::npos ? wxID_CANCEL : wxID_OK);
    }
}

TEST_F(DialogKeysTest, PictureSizeDialogTabsThroughBothSidesAndReturnTakesThem)
{
    {
        CPictureSizeDlg dialog(frame);
        dialog.m_nWidth = 640;
        dialog.m_nHeight = 480;
        EXPECT_EQ(ShowWithKeys(dialog, [&] {
                      std::string round;
                      for (int i = 0; i < 4; ++i) {
                          Key("Tab");
                          round += FocusName(dialog) + " ";
                      }
                      EXPECT_EQ(round, "Cancel edit edit OK ");
                      Key("Tab Tab Escape");
                  }),
                  wxID_CANCEL);
        EXPECT_EQ(dialog.m_nWidth, 640);
    }
    // The width typed over in its edit, the height in its own; Return from
    // the height takes both.
    CPictureSizeDlg dialog(frame);
    dialog.m_nWidth = 640;
    dialog.m_nHeight = 480;
    EXPECT_EQ(ShowWithKeys(dialog, [&] {
                  Key("Tab Tab ctrl+a 1 2 0 0 Tab ctrl+a 9 0 0 Return");
              }),
              wxID_OK);
    EXPECT_EQ(dialog.m_nWidth, 1200);
    EXPECT_EQ(dialog.m_nHeight, 900);
}
