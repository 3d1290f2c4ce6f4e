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
#include <atomic>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "curve/curve_state.h"
#include "curve/run_limits.h"
#include "render/camera.h"
#include "render/tube_draw_list.h"
#include "geom/vec3.h"
#include "sketch/raster_canvas.h"

class CViewObserver;
class CFiguresWorker;
namespace vek {
struct CurveFigures;
struct IdealProgress;
struct IdealRun;
}  // namespace vek

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
    // 理想形: the ideal shape of the current curve, made on a worker thread
    // (Stop ends it with the best certified polygon found so far).
    void OnCalcIdeal();
    // Commands of the "ﾌｧｲﾙ" menu.
    void OnFileLoadPoints();
    void OnFileSavePoints();
    void OnFileOpenKnot();
    void OnFileSavePicture();
    void OnFileSaveShape();
    // 全体表示 (and the F key): the camera fitted to the tube.
    void OnViewFit();
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
    // The curve of a knot of the table ("8_19", "8_19*"), made as vek-relax
    // --knot makes it, loaded into the sketch as a file would be; false
    // (and told) when it cannot be made.
    bool LoadKnot(const std::string& name);
    // The tube as the view draws it into a PNG file of the view's size, or
    // of width x height pixels as the view would draw it at that size (the
    // same camera; the width spans the same part of the scene); false (and
    // told) when it cannot be drawn, read or written.
    bool SavePictureTo(const std::string& path);
    bool SavePictureTo(const std::string& path, int width, int height);
    // The tube as a mesh (STL, OBJ or PLY by the extension), at the
    // certified radius when the curve has one; false (and told) otherwise.
    bool SaveShapeTo(const std::string& path);
    // Reads the view's picture: the paint of the moment drawn into the back
    // buffer, RGB rows from the top; false without a context on screen.
    bool ReadViewPicture(std::vector<uint8_t>& rgb, int& width, int& height);
    // The picture the view would show at width x height pixels, RGB rows
    // from the top: the sketch painted at that size, or the tube drawn tile
    // by tile into the back buffer, each tile at most tileWidth x
    // tileHeight and at most the view's size (0: the view's size). False
    // without a context on screen.
    bool ReadPictureAt(int width, int height, std::vector<uint8_t>& rgb, int tileWidth = 0, int tileHeight = 0);

    // Where the status bar's texts go (field, text); empty: nowhere.
    void SetStatusHandler(std::function<void(int, const std::string&)> handler)
    {
        m_statusShown = std::move(handler);
    }
    // Asks for the status bar's figures of the curve as it is now.
    void RequestFigures();
    // Waits until the figures asked for so far have been measured and shown.
    void FlushStatus();
    // Relaxation iterations done on the curve since it was loaded or made.
    long long Iterations() const { return m_nIterations; }
    // Whether the ideal shape is being made; waits until it has been
    // applied (tests).
    bool IsMakingIdeal() const { return m_idealThread.joinable(); }
    // The ideal polygon's vertex count (0: the optimiser's default, as
    // vek-relax --ideal without --vertices).
    void SetIdealVertices(int vertices) { m_nIdealVertices = vertices; }
    void WaitForIdeal();

    // Whether the relaxation is running (the close guard asks).
    bool IsRunning() const { return m_nState == Running; }
    // A run or the ideal shape is under way (the close guard asks).
    bool IsBusy() const { return IsRunning() || IsMakingIdeal(); }
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
    // The curve was replaced (load, knot table, reset, ideal shape): the
    // iterations start again, an ideal shape under way is dropped.
    void CurveReplaced();
    // A new curve (a file's points, a knot of the table) is in the arrays:
    // the sketch state at the default precision, counted as replaced, seen
    // from the initial camera, and drawn again.
    void EnterSketch();
    void ShowFigures(uint64_t ticket, const vek::CurveFigures& figures);
    void ShowStatus(int field, const std::string& text);
    // Builds the tube's draw list when the tube or the curve changed.
    void EnsureDrawList();
    // Reads the back buffer's lower-left tileWidth x tileHeight pixels into
    // the tile of `rgb` (width x height, rows from the top) whose lower-left
    // corner is pixel (left, bottom), counted from the bottom.
    void ReadBackBuffer(int width, int height, int left, int bottom, int tileWidth, int tileHeight,
                        std::vector<uint8_t>& rgb);
    // The optimiser's progress in the ropelength and iterations fields.
    void ShowIdealProgress(const vek::IdealProgress& progress);
    // Ends the ideal shape's thread (asked to stop first when `cancel`).
    void JoinIdeal(bool cancel);
    void ApplyIdeal(uint64_t ticket);
    void OnKeyDown(wxKeyEvent& event);

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

    long long m_nIterations = 0;
    std::function<void(int, const std::string&)> m_statusShown;
    uint64_t m_nFiguresTicket = 0;
    std::unique_ptr<CFiguresWorker> m_pFigures;

    // The ideal shape: its thread, the curve it works on and its outcome,
    // the stop flag, and the ticket of the curve it started from (a curve
    // replaced meanwhile drops its outcome).
    std::thread m_idealThread;
    std::unique_ptr<vek::IdealRun> m_pIdealRun;
    CDoubleArray m_arrIdealX, m_arrIdealY, m_arrIdealZ;
    std::atomic<bool> m_bIdealCancel{false};
    std::atomic<bool> m_bIdealProgressPosted{false};
    std::atomic<int> m_nIdealLevel{0};
    std::atomic<double> m_dIdealRopelength{0.0};
    uint64_t m_nCurveTicket = 0;
    uint64_t m_nIdealTicket = 0;
    int m_nIdealVertices = 0;
};
