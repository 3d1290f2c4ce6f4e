// CCurveApp: the application object. It creates the main frame at start-up;
// it handles the About and Exit commands, the last stop of the command route.
#pragma once

#include <wx/app.h>

class CMainFrame;

class CCurveApp : public wxApp {
public:
    CCurveApp();

    // Start-up: names the settings location (nothing is stored there), loads
    // the resources, creates, shows and paints the main frame. Command-line
    // arguments are ignored.
    bool OnInit() override;

    void OnAppAbout(wxCommandEvent& event);
    void OnAppExit(wxCommandEvent& event);

    CMainFrame* MainFrame() const { return m_pMainFrame; }

private:
    CMainFrame* m_pMainFrame = nullptr;  // owned by the toolkit's window list
};

// Loads the program's resources once (menu, dialogs, icon images).
void LoadVekResources();
