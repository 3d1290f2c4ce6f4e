#include "app/main_frame.h"

#include <wx/accel.h>
#include <wx/display.h>
#include <wx/gdicmn.h>
#include <wx/menu.h>
#include <wx/msgdlg.h>
#include <wx/statusbr.h>
#include <wx/xrc/xmlres.h>

#include <algorithm>
#include <string>

#include "app/command_ids.h"
#include "app/status_text.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

namespace {

// Room around a status field's text for the bar's borders and spacing,
// in pixels.
constexpr int kStatusFieldMargin = 10;

// The standard edit and pane keys. None of their commands has a handler on
// the command route, so the keys do nothing; no menu command has a key.
wxAcceleratorTable MainAccelerators()
{
    const struct {
        int flags;
        int key;
        int command;
    } keys[] = {
        {wxACCEL_CTRL, 'C', ID_EDIT_COPY},       {wxACCEL_CTRL, WXK_INSERT, ID_EDIT_COPY},
        {wxACCEL_CTRL, 'V', ID_EDIT_PASTE},      {wxACCEL_SHIFT, WXK_INSERT, ID_EDIT_PASTE},
        {wxACCEL_CTRL, 'X', ID_EDIT_CUT},        {wxACCEL_SHIFT, WXK_DELETE, ID_EDIT_CUT},
        {wxACCEL_CTRL, 'Z', ID_EDIT_UNDO},       {wxACCEL_ALT, WXK_BACK, ID_EDIT_UNDO},
        {wxACCEL_NORMAL, WXK_F6, ID_NEXT_PANE},  {wxACCEL_SHIFT, WXK_F6, ID_PREV_PANE},
    };
    std::vector<wxAcceleratorEntry> entries;
    for (const auto& k : keys)
        entries.emplace_back(k.flags, k.key, ToolkitCommandId(k.command));
    return wxAcceleratorTable(static_cast<int>(entries.size()), entries.data());
}

}  // namespace

// The frame window exists before the view is constructed, so the view's
// window is created as its child right away.
CMainFrame::CMainFrame()
    : wxFrame(nullptr, wxID_ANY, wxString::FromUTF8(LoadResString(IDS_FRAME_TITLE)), wxDefaultPosition,
              wxDefaultSize, wxDEFAULT_FRAME_STYLE),
      m_wndCurveView(this, wxID_ANY)
{
    SetMenuBar(wxXmlResource::Get()->LoadMenuBar("IDR_MAINFRAME"));
    // The toolkit's default size for a new window is tiny; like a system
    // default, take a good part of the screen.
    const wxRect area = wxGetClientDisplayRect();
    SetSize(area.width * 3 / 5, area.height * 3 / 4);
    SetAcceleratorTable(MainAccelerators());
    CreateStatusBar(kStatusFieldCount);
    // Each figure gets the width of its widest text; the knot's name (or
    // its candidates) takes the rest.
    wxStatusBar* bar = GetStatusBar();
    const StatusTexts widest = WidestStatusTexts();
    int widths[kStatusFieldCount];
    for (int field = 0; field < kStatusFieldCount; ++field)
        widths[field] = widest[field].empty()
                            ? -1
                            : bar->GetTextExtent(wxString::FromUTF8(widest[field])).GetWidth() + kStatusFieldMargin;
    // The size grip, a square of the bar's height, takes the end of the last
    // field: its text is drawn only beside it.
    if (bar->HasFlag(wxSTB_SIZEGRIP))
        widths[kStatusFieldCount - 1] += std::max(0, bar->GetClientSize().y);
    bar->SetStatusWidths(kStatusFieldCount, widths);
    // The menu items have no help texts: highlighting one leaves the
    // figures in place.
    SetStatusBarPane(-1);
    m_wndCurveView.SetStatusHandler(
        [this](int field, const std::string& text) { SetStatusText(wxString::FromUTF8(text), field); });
    m_wndCurveView.RequestFigures();
    Bind(wxEVT_CLOSE_WINDOW, &CMainFrame::OnClose, this);
    Bind(wxEVT_SET_FOCUS, &CMainFrame::OnSetFocus, this);
    Bind(wxEVT_ACTIVATE, &CMainFrame::OnActivate, this);
    m_wndCurveView.SetRunsEndedHandler([this] { OnRunsEnded(); });
}

// The view is a member: it is destroyed (and leaves the frame's children)
// before the frame window itself.
CMainFrame::~CMainFrame() = default;

bool CMainFrame::TryBefore(wxEvent& event)
{
    if (event.GetEventType() == wxEVT_MENU && m_wndCurveView.OnCmdMsg(ProgramCommandId(event.GetId())))
        return true;
    return wxFrame::TryBefore(event);
}

void CMainFrame::OnClose(wxCloseEvent& event)
{
    if (m_wndCurveView.IsBusy()) {
        if (event.CanVeto()) {
            const std::string text = std::string(vek::text::kBusyClosing) + "\n" + vek::text::kBusyClosingHint;
            wxMessageBox(wxString::FromUTF8(text), wxString::FromUTF8(vek::text::kAppTitle),
                         wxOK | wxICON_EXCLAMATION, this);
            event.Veto();
            return;
        }
        // A close that cannot be refused (the session ends) stops the run.
        m_wndCurveView.OnCalcStop();
    }
    if (m_wndCurveView.RunDepth() > 0) {
        // A Stop and this close were handled in the same drain: the run loop
        // still refers to the view, so the window only disappears now and is
        // destroyed when the run has returned.
        m_bCloseWhenRunsEnd = true;
        Hide();
        return;
    }
    Destroy();
}

void CMainFrame::OnRunsEnded()
{
    if (m_bCloseWhenRunsEnd)
        Destroy();
}

void CMainFrame::OnSetFocus(wxFocusEvent&)
{
    m_wndCurveView.SetFocus();
}

void CMainFrame::OnActivate(wxActivateEvent& event)
{
    // Activating the window (a click on its title bar) gives the view the
    // keyboard focus, so the wheel acts on it without a click into it.
    if (event.GetActive())
        m_wndCurveView.SetFocus();
    event.Skip();
}

void CMainFrame::SetFocus()
{
    m_wndCurveView.SetFocus();
}
