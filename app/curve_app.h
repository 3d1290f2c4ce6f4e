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

    // The last resort for a failure that no handler caught (storage running
    // out where nothing expected it, for one): the user is told what it was
    // in a message box, instead of the program vanishing, and the program
    // goes on so that the points can still be saved. Returns true (go on).
    bool OnExceptionInMainLoop() override;
    // The same for a failure outside the message loop; the program ends
    // after the message.
    void OnUnhandledException() override;

    void OnAppAbout(wxCommandEvent& event);
    void OnAppExit(wxCommandEvent& event);

private:
    CMainFrame* m_pMainFrame = nullptr;  // owned by the toolkit's window list
};

// Loads the program's resources once (menu, dialogs, icon images).
void LoadVekResources();
