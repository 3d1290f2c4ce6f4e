#include "gui_test_support.h"

#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <cmath>

#include <unistd.h>

#include "app/command_ids.h"

void PumpEvents(int ms)
{
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
    do {
        if (loop)
            while (loop->Pending())
                loop->Dispatch();
        wxTheApp->ProcessPendingEvents();
        wxTheApp->ProcessIdle();
        wxMilliSleep(2);
    } while (std::chrono::steady_clock::now() < end);
}

void SendCommand(wxWindow* frame, int programId)
{
    wxCommandEvent event(wxEVT_MENU, ToolkitCommandId(programId));
    event.SetEventObject(frame);
    frame->ProcessWindowEvent(event);
}

int ScriptedDialogs::Enter(wxDialog* dialog)
{
    Shown s;
    if (auto* box = dynamic_cast<wxMessageDialog*>(dialog)) {
        s.kind = "message";
        s.message = box->GetMessage().utf8_string();
        s.caption = box->GetTitle().utf8_string();
        s.style = box->GetMessageDialogStyle();
    } else if (auto* files = dynamic_cast<wxFileDialog*>(dialog)) {
        s.kind = "file";
        // The title: GTK's dialog keeps it as its window title only.
        s.caption = (files->GetMessage().empty() ? files->GetTitle() : files->GetMessage()).utf8_string();
        s.wildcard = files->GetWildcard().utf8_string();
        s.style = files->GetWindowStyle();
    } else {
        s.kind = dialog->GetTitle().utf8_string();
    }
    shown.push_back(s);
    if (m_answers.empty()) {
        ++unexpected;
        return wxID_CANCEL;
    }
    Answer answer = std::move(m_answers.front());
    m_answers.pop_front();
    return answer(dialog);
}

void FrameTest::SetUp()
{
    frame = new CMainFrame;
    probe = std::make_unique<ViewProbe>(View());
    frame->SetClientSize(640, 480);
    frame->Show();
    frame->Raise();
    PumpEvents(100);
}

void FrameTest::TearDown()
{
    if (frame && !wxTheApp->IsScheduledForDestruction(frame)) {
        View().m_nState = Sketch;  // a test may leave it Running
        frame->Destroy();
    }
    PumpEvents(30);
    probe.reset();
}

void FrameTest::SetCurve(const std::vector<std::array<double, 3>>& points)
{
    View().ClearCurve();
    for (const auto& p : points)
        View().AppendPoint(p[0], p[1], p[2]);
}

std::vector<std::array<double, 3>> CirclePoints(int count, double radius)
{
    std::vector<std::array<double, 3>> points;
    for (int i = 0; i < count; ++i) {
        const double angle = 2.0 * M_PI * i / count;
        points.push_back({radius * std::cos(angle), radius * std::sin(angle), 0.0});
    }
    return points;
}

std::string TempPath(const std::string& name)
{
    // A folder of this run's own: a file left by an earlier run would make
    // a save ask before it replaces it.
    static const auto dir = std::filesystem::temp_directory_path() /
                            ("vek-gui-tests-" + std::to_string(static_cast<long>(getpid())));
    std::filesystem::create_directories(dir);
    return (dir / name).string();
}

void SendMouse(CCurveView& view, wxEventType type, int x, int y, int wheel)
{
    wxMouseEvent event(type);
    event.SetEventObject(&view);
    event.m_x = x;
    event.m_y = y;
    if (type == wxEVT_MOUSEWHEEL) {
        event.m_wheelRotation = wheel;
        event.m_wheelDelta = 120;
        event.m_wheelAxis = wxMOUSE_WHEEL_VERTICAL;
    }
    view.ProcessWindowEvent(event);
}

ScriptedDialogs::Answer ChooseFile(const std::string& path)
{
    return [path](wxDialog* dialog) -> int {
        auto* files = dynamic_cast<wxFileDialog*>(dialog);
        if (files == nullptr) {
            ADD_FAILURE() << "a file dialog was expected, not \"" << dialog->GetTitle().utf8_string() << "\"";
            return wxID_CANCEL;
        }
        files->SetPath(wxString::FromUTF8(path));
        // The file chooser takes the folder in the background.
        for (int i = 0; i < 200 && files->GetPath().utf8_string() != path; ++i)
            PumpEvents(5);
        EXPECT_EQ(files->GetPath().utf8_string(), path);
        return wxID_OK;
    };
}

std::string Shell(const std::string& command)
{
    std::string out;
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[256];
        while (fgets(buffer, sizeof buffer, pipe))
            out += buffer;
        pclose(pipe);
    }
    return out;
}
