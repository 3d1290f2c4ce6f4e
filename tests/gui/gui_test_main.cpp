// Runs the GUI tests inside one toolkit instance with an active event loop.
#include <wx/app.h>
#include <wx/evtloop.h>
#include <wx/init.h>

#include <gtest/gtest.h>

#include "app/curve_app.h"

namespace {

// The application object of the tests: resources loaded, no frame of its
// own (each test makes one), the program's About and Exit handlers.
class TestApp : public CCurveApp {
public:
    bool OnInit() override
    {
        LoadVekResources();
        return true;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    wxApp::SetInstance(new TestApp);
    if (!wxEntryStart(argc, argv)) {
        fprintf(stderr, "The GUI tests need a display (run them under xvfb-run).\n");
        return 1;
    }
    wxTheApp->CallOnInit();
    // Failed toolkit assertions count as test failures.
    wxSetAssertHandler([](const wxString& file, int line, const wxString& func, const wxString& cond,
                          const wxString& msg) {
        ADD_FAILURE_AT(file.utf8_str(), line) << "toolkit assertion in " << func << ": " << cond << " " << msg;
    });
    int result = 0;
    {
        wxGUIEventLoop loop;
        wxEventLoopActivator activate(&loop);
        result = RUN_ALL_TESTS();
    }
    wxTheApp->OnExit();
    wxEntryCleanup();
    return result;
}
