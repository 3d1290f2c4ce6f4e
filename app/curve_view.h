// CCurveView: the one child window of the main frame and the owner of all
// program state (the curve, the tube, the parameters, the run state, the
// OpenGL context). In Sketch it is the 2D editor; in Running and Suspended
// it shows the lit tube and the mouse turns, moves and zooms it.
//
// The handlers are thin: the work is done by the toolkit-free code in
// curve/, render/, sketch/ and dialogs/.
#pragma once

#include <wx/glcanvas.h>

#include <array>
#include <functional>
#include <memory>
#include <string>

#include "curve/curve_state.h"
#include "curve/run_limits.h"
#include "render/camera.h"
#include "render/tube_draw_list.h"
#include "geom/vec3.h"
#include "sketch/raster_canvas.h"

class CViewObserver;

// The most rings the view draws. A curve with more points is drawn through
// every k-th point (the fewest k that keeps within it): at such counts
// neighbouring rings lie far less than a pixel apart even zoomed in, while
// drawing every one would take the software renderer seconds per picture.
// The relaxation and the saved points always use every point.
inline constexpr int kMaxDrawnRings = 5000;

// Copies every k-th point of x, y, z into outX, outY, outZ, with the
// fewest k that leaves at most maxPoints points, and returns true; returns
// false and leaves the out arrays alone when the curve has no more than
// maxPoints points.
bool ThinForDrawing(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int maxPoints,
                    CDoubleArray& outX, CDoubleArray& outY, CDoubleArray& outZ);

class CCurveView : public wxGLCanvas, public CCurveState {
public:
    // Creates the window as a child of `parent`, with its OpenGL context.
    CCurveView(wxWindow* parent, wxWindowID id);
    ~CCurveView() override;

    // The view's command table: runs the handler of a program command id
    // (res/resource_ids.h) and returns true, or returns false when the view
    // has no entry for it.
    bool OnCmdMsg(int programId);

    // Commands of the "計算" menu.
    void OnCalcStart();
    void OnCalcStop();
    void OnCalcReset();
    // Commands of the "ﾌｧｲﾙ" menu.
    void OnFileLoadPoints();
    void OnFileSavePoints();
    // Commands of the "設定" menu.
    void OnSettingsColorWidth();
    void OnSettingsPrecision();

    // Loads the view matrix for eye point `eye` looking at `centre`.
    void ResetCamera(Vec3 eye, Vec3 centre);
    const std::array<double, 16>& ViewMatrix() const { return m_viewMatrix; }

    // Rebuilds the tube vertices from the curve (thinned past
    // kMaxDrawnRings points). Should storage run out,
    // std::bad_alloc propagates and the tube arrays are left empty.
    void BuildTube();
    // BuildTube for the settings commands: a failure is told to the user
    // (message box) instead; the points are never changed.
    void RebuildTubeOrTell();

    // Position data file operations behind the menu commands, without the
    // file dialogs. Both tell the user (message box) when the file cannot be
    // read or written and return false; nothing is changed then.
    bool LoadPointsFrom(const std::string& path);
    bool SavePointsTo(const std::string& path);

    // Whether the relaxation is running (the close guard asks).
    bool IsRunning() const { return m_nState == Running; }
    // How many runs are on the call stack (nested Starts count each).
    int RunDepth() const { return m_nRunDepth; }
    // Called when the outermost run has returned.
    void SetRunsEndedHandler(std::function<void()> handler) { m_runsEnded = std::move(handler); }
    // Replaces the run loop's message drain (tests act at a chosen drain).
    void SetDrain(std::function<void()> drain) { m_drain = std::move(drain); }
    // Runs the message drain of the run loop: every queued message is handled.
    void DrainMessages();

    // Whether the view has a working OpenGL context.
    bool HasGLContext() const { return m_pContext && m_pContext->IsOK(); }

    // Installs the one observer of paints, invalidations and tube builds
    // (app/view_observer.h), or removes it with nullptr. The view does not
    // own it.
    void SetObserver(CViewObserver* observer) { m_pObserver = observer; }

private:
    void OnPaint(wxPaintEvent& event);
    void OnEraseBkgnd(wxEraseEvent& event);
    void OnSize(wxSizeEvent& event);
    void OnLButtonDown(wxMouseEvent& event);
    void OnLButtonDblClk(wxMouseEvent& event);
    void OnLButtonUp(wxMouseEvent& event);
    void OnRButtonDown(wxMouseEvent& event);
    void OnRButtonUp(wxMouseEvent& event);
    void OnMouseMove(wxMouseEvent& event);
    void OnMouseWheel(wxMouseEvent& event);
    void OnMouseCaptureLost(wxMouseCaptureLostEvent& event);

    void PaintSketchView();
    void PaintTubeView();
    bool MakeCurrent();
    void UpdateCursorRing();
    void InvalidateAll();
    void InvalidateRect(const CPixelRect& box);
    void StartDrag(int32_t& flag, const wxPoint& pressedAt);
    // One step of the drag going on (none when no button is down) from the
    // last position to `at`.
    void DragTo(const wxPoint& at);
    void EndDrag(int32_t& flag, int32_t other);
    wxPoint CursorClientPosition() const;
    // Loads the initial view: the sketch plane seen from the front, tilted back.
    void ResetInitialCamera();
    // Tells the user `text` in a message box over the frame.
    void ShowError(const wxString& text);
    // The curve or its tube changed: the draw list is made again at the next
    // paint, which is requested.
    void CurveChanged();
    // Tells the user why a run did not start (at Start) or stopped (at a
    // resampling), for the limit it broke.
    void TellRunLimit(RunLimit limit, RunMoment moment);

    std::unique_ptr<wxGLContext> m_pContext;  // the rendering context
    bool m_bGLInitialised = false;
    std::array<double, 16> m_viewMatrix{};
    ZoomDrag m_zoomDrag;  // the right drag going on, measured from its start
    int m_nViewportWidth = 0;
    int m_nViewportHeight = 0;
    TubeDrawList m_drawList;
    // The thinned curve the tube was built around (see kMaxDrawnRings);
    // empty when the tube follows every point.
    CDoubleArray m_arrDrawnX, m_arrDrawnY, m_arrDrawnZ;
    bool m_bDrawListValid = false;  // m_drawList matches the tube and curve; see CurveChanged
    RasterCanvas m_sketchCanvas;

    int m_nRunDepth = 0;
    bool m_bRepaintPending = false;
    std::function<void()> m_runsEnded;
    std::function<void()> m_drain;

    CViewObserver* m_pObserver = nullptr;
};
