// Support for the in-process GUI tests: a real main frame under the virtual
// X server, a message pump, menu commands sent the way the menu sends them,
// and a modal-dialog hook that answers dialogs from a script.
#pragma once

#include <wx/dialog.h>
#include <wx/modalhook.h>

#include <gtest/gtest.h>

#include <deque>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "app/main_frame.h"
#include "view_probe.h"

// Handles queued events for about `ms` milliseconds (and idle processing,
// which deletes destroyed windows).
void PumpEvents(int ms = 30);

// Sends a program command (res/resource_ids.h) to the frame like the menu.
void SendCommand(wxWindow* frame, int programId);

// Answers modal dialogs (message boxes, file dialogs, the settings dialogs)
// in the order they appear, and records what was shown. A dialog with no
// answer left is recorded as unexpected and cancelled.
class ScriptedDialogs : public wxModalDialogHook {
public:
    struct Shown {
        std::string kind;     // "message", "file", or the dialog's title
        std::string message;  // message box text
        std::string caption;  // message box caption, file dialog title
        long style = 0;       // message box or file dialog style flags
        std::string wildcard; // file dialog filter
    };
    using Answer = std::function<int(wxDialog*)>;

    ScriptedDialogs() { Register(); }
    ~ScriptedDialogs() override { Unregister(); }

    ScriptedDialogs& Then(Answer answer)
    {
        m_answers.push_back(std::move(answer));
        return *this;
    }
    ScriptedDialogs& ThenReturn(int id)
    {
        return Then([id](wxDialog*) { return id; });
    }

    std::vector<Shown> shown;
    int unexpected = 0;

protected:
    int Enter(wxDialog* dialog) override;
    void Exit(wxDialog*) override {}

private:
    std::deque<Answer> m_answers;
};

// A fresh main frame with a 640 x 480 client area, destroyed after the test,
// its view watched by a probe from the start.
class FrameTest : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    CCurveView& View() { return frame->m_wndCurveView; }
    ViewProbe& Probe() { return *probe; }
    // Adds the points to the curve directly.
    void SetCurve(const std::vector<std::array<double, 3>>& points);

    CMainFrame* frame = nullptr;
    std::unique_ptr<ViewProbe> probe;
};

// Runs a shell command (xdotool, for real input events) and returns what it
// printed on standard output.
std::string Shell(const std::string& command);

// A path in the tests' own temporary folder.
std::string TempPath(const std::string& name);

// Sends a synthetic mouse event at client pixel (x, y) to the view; for the
// wheel, `wheel` is the rotation (120 per notch away from the user).
void SendMouse(CCurveView& view, wxEventType type, int x, int y, int wheel = 0);

// An answer for a file dialog: chooses `path` and presses OK.
ScriptedDialogs::Answer ChooseFile(const std::string& path);

// Points on a circle of radius `radius` in the plane z = 0.
std::vector<std::array<double, 3>> CirclePoints(int count, double radius);
