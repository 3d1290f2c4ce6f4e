// CMainFrame: the program's one top-level window. Its whole client area is
// the curve view; it routes every menu command to the view first, and its
// close guard refuses to close while the relaxation runs.
#pragma once

#include <wx/frame.h>

#include "app/curve_view.h"

class CMainFrame : public wxFrame {
public:
    // Creates the frame window with the title, menu and accelerator table,
    // and the view inside it.
    CMainFrame();
    ~CMainFrame() override;

    CCurveView m_wndCurveView;

    // The frame passes the keyboard focus on to the view.
    void SetFocus() override;

protected:
    // Menu commands go to the view's table first, then to the frame's own
    // table, then to the application.
    bool TryBefore(wxEvent& event) override;

private:
    void OnClose(wxCloseEvent& event);
    void OnSetFocus(wxFocusEvent& event);
    void OnActivate(wxActivateEvent& event);
    void OnRunsEnded();

    // A close passed the guard while a run was still on the call stack; the
    // window is hidden and destroyed once the outermost run has returned.
    bool m_bCloseWhenRunsEnd = false;
};
