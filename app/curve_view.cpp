#include "app/curve_view.h"

#include <wx/dcclient.h>
#include <wx/evtloop.h>
#include <wx/filedlg.h>
#include <wx/filename.h>
#include <wx/msgdlg.h>
#include <wx/utils.h>

#include <GL/gl.h>

#include <new>
#include <vector>
#include <stdexcept>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "app/command_ids.h"
#include "curve/relax_step.h"
#include "curve/replace_points.h"
#include "curve/resample_curve.h"
#include "curve/run_relaxation.h"
#include "dialogs/color_table.h"
#include "dialogs/color_width_dlg.h"
#include "dialogs/precision_dlg.h"
#include "render/build_tube.h"
#include "render/camera.h"
#include "render/gl_scene.h"
#include "res/resource_ids.h"
#include "res/string_table.h"
#include "sketch/paint_sketch.h"
#include "io/points_file.h"
#include "io/points_file_paths.h"
#include "sketch/sketch_mapping.h"

namespace {

// The eye point and centre of the initial view: the sketch plane z = 0 seen
// from the front, tilted back by 45 degrees.
constexpr Vec3 kInitialEye{0.0, -1.0, 1.0};
constexpr Vec3 kInitialCentre{0.0, 0.0, 0.0};

// How long one drain may wait for the repaint it asked for, in milliseconds,
// and how often. The compositor serves repaints at its own pace; without the
// wait a fast run could go many drains without showing a picture.
constexpr int kRepaintWaitMs = 5;
constexpr int kRepaintWaitRounds = 8;

wxGLAttributes CanvasAttributes()
{
    // A 32-bit depth buffer is asked for first; most drivers offer 24.
    for (int depth : {32, 24, 16}) {
        wxGLAttributes attributes;
        attributes.PlatformDefaults().RGBA().DoubleBuffer().Depth(depth).EndList();
        if (wxGLCanvas::IsDisplaySupported(attributes))
            return attributes;
    }
    wxGLAttributes attributes;
    attributes.PlatformDefaults().RGBA().DoubleBuffer().EndList();
    return attributes;
}

wxString FromUtf8(const char* text)
{
    return wxString::FromUTF8(text);
}

// Hands freed heap pages back to the system. glibc keeps freed blocks below
// its mapping threshold (which rises to 32 MB as large blocks come and go)
// inside the heap, so after a large run the program would go on holding
// gigabytes it no longer uses.
void GiveBackFreedMemory()
{
#if defined(__GLIBC__)
    malloc_trim(0);
#endif
}

}  // namespace

// Full repaint on every size change and a sunken edge.
CCurveView::CCurveView(wxWindow* parent, wxWindowID id)
    : wxGLCanvas(parent, CanvasAttributes(), id, wxDefaultPosition, wxDefaultSize,
                 wxFULL_REPAINT_ON_RESIZE | wxBORDER_SUNKEN)
{
    SetBackgroundStyle(wxBG_STYLE_PAINT);
    SetCursor(wxCursor(wxCURSOR_ARROW));
    m_pContext = std::make_unique<wxGLContext>(this);

    Bind(wxEVT_PAINT, &CCurveView::OnPaint, this);
    Bind(wxEVT_ERASE_BACKGROUND, &CCurveView::OnEraseBkgnd, this);
    Bind(wxEVT_SIZE, &CCurveView::OnSize, this);
    Bind(wxEVT_LEFT_DOWN, &CCurveView::OnLButtonDown, this);
    Bind(wxEVT_LEFT_DCLICK, &CCurveView::OnLButtonDblClk, this);
    Bind(wxEVT_LEFT_UP, &CCurveView::OnLButtonUp, this);
    Bind(wxEVT_RIGHT_DOWN, &CCurveView::OnRButtonDown, this);
    Bind(wxEVT_RIGHT_DCLICK, &CCurveView::OnRButtonDown, this);
    Bind(wxEVT_RIGHT_UP, &CCurveView::OnRButtonUp, this);
    Bind(wxEVT_MOTION, &CCurveView::OnMouseMove, this);
    Bind(wxEVT_MOUSEWHEEL, &CCurveView::OnMouseWheel, this);
    Bind(wxEVT_MOUSE_CAPTURE_LOST, &CCurveView::OnMouseCaptureLost, this);

    ResetCamera(kInitialEye, kInitialCentre);
}

// The context is released with the view (it is made not current first).
CCurveView::~CCurveView() = default;

// ---- command table -------------------------------------------------------

bool CCurveView::OnCmdMsg(int programId)
{
    switch (programId) {
    case ID_FILE_LOAD_POINTS: OnFileLoadPoints(); return true;
    case ID_FILE_SAVE_POINTS: OnFileSavePoints(); return true;
    case ID_SETTINGS_COLOR_WIDTH: OnSettingsColorWidth(); return true;
    case ID_SETTINGS_PRECISION: OnSettingsPrecision(); return true;
    case ID_CALC_START: OnCalcStart(); return true;
    case ID_CALC_STOP: OnCalcStop(); return true;
    case ID_CALC_RESET: OnCalcReset(); return true;
    default: return false;
    }
}


// ---- run loop ----------------------------------------------------------------

void CCurveView::OnCalcStart()
{
    RunHooks hooks = EngineRunHooks(*this);
    hooks.rebuildTube = [this] { BuildTube(); };
    hooks.requestRepaint = [this] { InvalidateAll(); };
    hooks.drain = [this] {
        if (m_drain)
            m_drain();
        else
            DrainMessages();
    };
    hooks.refused = [this] {
        if (JudgeRunResample(m_arrX, m_arrY, m_arrZ, m_dThickness, m_dPrecision) == RunResample::TooFewPoints)
            ShowError(wxString::Format(FromUtf8(vek::text::kRunTooFewPoints), vek::kMinRunPoints));
        else
            ShowError(wxString::Format(FromUtf8("点の数が上限（%d 点）を超えるため、計算を中断しました。\n精度を小さくしてください。"),
                                       vek::kMaxCurvePoints));
    };

    ++m_nRunDepth;
    try {
        RunRelaxation(*this, hooks);
    } catch (const std::bad_alloc&) {
        m_nState = Suspended;
        ShowError(FromUtf8("メモリが足りないため、計算を中断しました。"));
    } catch (const std::length_error&) {
        m_nState = Suspended;
        ShowError(FromUtf8("点の数が多すぎるため、計算を中断しました。"));
    }
    --m_nRunDepth;
    if (m_nRunDepth == 0) {
        // The run's work arrays are gone; a smaller curve's are smaller.
        GiveBackFreedMemory();
        if (m_runsEnded)
            m_runsEnded();
    }
}

void CCurveView::OnCalcStop()
{
    StopRelaxation(*this);
}

void CCurveView::OnCalcReset()
{
    ResetCurve(*this);
    ReleaseTubeDrawList(m_drawList);
    m_bDrawListValid = false;
    GiveBackFreedMemory();
    ResetCamera(kInitialEye, kInitialCentre);
    InvalidateAll();
}

void CCurveView::DrainMessages()
{
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    if (!loop)
        return;
    auto drainQueued = [loop] {
        while (loop->Pending())
            loop->Dispatch();
        if (wxTheApp)
            wxTheApp->ProcessPendingEvents();
    };
    drainQueued();
    // The repaint asked for before the drain belongs to it: wait briefly
    // for it while the window is on screen.
    for (int round = 0; round < kRepaintWaitRounds && m_bRepaintPending && IsShownOnScreen(); ++round) {
        loop->DispatchTimeout(kRepaintWaitMs);
        drainQueued();
    }
}

// ---- file commands ---------------------------------------------------------

namespace {

// The dialogs take the filter without the closing "||".
wxString FileDialogFilter()
{
    wxString filter = FromUtf8(vek::text::kPointsFileFilter);
    while (filter.EndsWith("|"))
        filter.RemoveLast();
    return filter;
}

}  // namespace

void CCurveView::OnFileLoadPoints()
{
    wxFileDialog dialog(wxGetTopLevelParent(this), FromUtf8(vek::text::kOpenDialogTitle), wxEmptyString,
                        wxEmptyString, FileDialogFilter(), wxFD_OPEN | wxFD_FILE_MUST_EXIST);
    if (dialog.ShowModal() != wxID_OK)
        return;
    LoadPointsFrom(OpenDialogPath(dialog.GetPath().utf8_string(), vek::text::kPointsFileExtension));
}

void CCurveView::OnFileSavePoints()
{
    // The toolkit's own replace question would name the file as typed, before
    // the default extension is added: the question is asked here, once, about
    // the file that will really be written.
    wxFileDialog dialog(wxGetTopLevelParent(this), FromUtf8(vek::text::kSaveDialogTitle), wxEmptyString,
                        wxEmptyString, FileDialogFilter(), wxFD_SAVE);
    if (dialog.ShowModal() != wxID_OK)
        return;
    const std::string path = SaveDialogPath(dialog.GetPath().utf8_string(), vek::text::kPointsFileExtension);
    if (wxFileName::FileExists(wxString::FromUTF8(path))) {
        const wxString question = wxString::Format(FromUtf8(vek::text::kReplaceQuestion),
                                                   wxFileName(wxString::FromUTF8(path)).GetFullName());
        if (wxMessageBox(question, FromUtf8(vek::text::kAppTitle), wxYES_NO | wxNO_DEFAULT | wxICON_EXCLAMATION,
                         wxGetTopLevelParent(this)) != wxYES)
            return;
    }
    SavePointsTo(path);
}

bool CCurveView::LoadPointsFrom(const std::string& path)
{
    // The points are replaced only once the whole file has been read: a file
    // that cannot be read leaves the curve and a run as they are, and the
    // user is told. Nothing is handled between reading and the state change,
    // so a run in progress still ends with the loaded points in the sketch.
    // A file is held to the limit of a run, so that what loads can be run.
    std::string error;
    bool read = false;
    try {
        std::vector<double> xyz;
        read = GatherPointsFile(path, xyz, error);
        const size_t count = xyz.size() / 3;
        if (read && count > static_cast<size_t>(vek::kMaxCurvePoints)) {
            ShowError(wxString::Format(FromUtf8(vek::text::kLoadTooManyPoints), static_cast<unsigned long long>(count),
                                       vek::kMaxCurvePoints));
            return false;
        }
        if (read)
            ReplacePoints(xyz, m_arrX, m_arrY, m_arrZ);
    } catch (const std::exception&) {
        read = false;
        error = vek::text::kOutOfMemory;
    }
    if (!read) {
        ShowError(wxString::Format(FromUtf8("位置データを読み込めませんでした。\n%s\n%s"), wxString::FromUTF8(path),
                                   wxString::FromUTF8(error)));
        return false;
    }
    m_nState = Sketch;
    m_bDrawListValid = false;
    m_dPrecision = vek::kDefaultPrecision;
    ResetCamera(kInitialEye, kInitialCentre);
    InvalidateAll();
    return true;
}

bool CCurveView::SavePointsTo(const std::string& path)
{
    std::string error;
    if (WritePointsFile(path, m_arrX, m_arrY, m_arrZ, error))
        return true;
    ShowError(wxString::Format(FromUtf8("位置データを保存できませんでした。\n%s\n%s"), wxString::FromUTF8(path),
                               wxString::FromUTF8(error)));
    return false;
}

// ---- settings commands -----------------------------------------------------

void CCurveView::OnSettingsColorWidth()
{
    CColorWidthDlg dialog(wxGetTopLevelParent(this));
    dialog.m_nColorIndex = ColorIndexFromTube(m_crTube);
    dialog.m_dValue = m_dTubeScale;
    if (dialog.DoModal() != 1)
        return;
    m_crTube = TubeFromColorIndex(dialog.m_nColorIndex, m_crTube);
    m_dTubeScale = dialog.m_dValue;
    RebuildTubeOrTell();
    InvalidateAll();
}

void CCurveView::OnSettingsPrecision()
{
    CPrecisionDlg dialog(wxGetTopLevelParent(this));
    dialog.m_dValue = m_dPrecision;
    dialog.m_pointCountAt = [this](double precision) {
        return ResampleCount(m_arrX, m_arrY, m_arrZ, m_dThickness, precision);
    };
    if (dialog.DoModal() != 1)
        return;
    m_dPrecision = dialog.m_dValue;
    RebuildTubeOrTell();
    InvalidateAll();
}

// ---- tube and camera -------------------------------------------------------

void CCurveView::BuildTube()
{
    ::BuildTube(m_arrX, m_arrY, m_arrZ, m_nRingSegments, m_dThickness, m_dTubeScale, m_arrTubeX, m_arrTubeY,
                m_arrTubeZ);
    ++m_nTubeBuilds;
    m_bDrawListValid = false;
}

void CCurveView::RebuildTubeOrTell()
{
    try {
        BuildTube();
    } catch (const std::exception&) {
        // BuildTube leaves no half-built tube: the arrays are empty, nothing
        // is drawn until the next rebuild, and the points are untouched.
        m_bDrawListValid = false;
        ShowError(FromUtf8(vek::text::kTubeOutOfMemory));
    }
}

void CCurveView::ResetCamera(Vec3 eye, Vec3 centre)
{
    m_viewMatrix = ResetCameraMatrix(eye, centre);
}

// ---- painting ------------------------------------------------------------------

bool CCurveView::MakeCurrent()
{
    if (!m_pContext || !IsShownOnScreen())
        return false;
    if (!m_pContext->SetCurrent(*this))
        return false;
    if (!m_bGLInitialised) {
        InitGL();
        m_bGLInitialised = true;
    }
    return true;
}

void CCurveView::OnPaint(wxPaintEvent&)
{
    wxPaintDC dc(this);  // validates the update region
    m_bRepaintPending = false;
    if (!MakeCurrent())
        return;
    if (m_nState == Sketch)
        PaintSketchView();
    else
        PaintTubeView();
    glFlush();
    SwapBuffers();
}

void CCurveView::PaintSketchView()
{
    ++m_nSketchPaints;
    const wxSize size = GetClientSize();
    if (size.x <= 0 || size.y <= 0)
        return;
    // The whole picture is drawn at every paint: the back buffer keeps
    // nothing from the previous frame.
    m_sketchCanvas.Resize(size.x, size.y);
    PaintSketch(m_sketchCanvas, size.x, size.y, m_arrX, m_arrY, m_arrZ, m_rcCursor);
    DrawPixelsTopDown(m_sketchCanvas.Pixels().data(), size.x, size.y);
    if (m_nViewportWidth > 0 && m_nViewportHeight > 0)
        ApplyViewport(m_nViewportWidth, m_nViewportHeight);
}

void CCurveView::PaintTubeView(bool immediate)
{
    ++m_nTubePaints;
    if (m_nViewportWidth > 0 && m_nViewportHeight > 0)
        ApplyViewport(m_nViewportWidth, m_nViewportHeight);
    LoadViewMatrix(m_viewMatrix);
    // A tube built for another number of points (Stop while sketching) is
    // not drawn: the list comes out empty and only the clear shows. The list
    // is kept while neither the tube nor the curve changes, so turning the
    // tube with the mouse only sends it again.
    if (!m_bDrawListValid) {
        try {
            BuildTubeDrawList(m_arrX, m_arrY, m_arrZ, m_arrTubeX, m_arrTubeY, m_arrTubeZ, m_nRingSegments,
                              m_drawList);
        } catch (const std::exception&) {
            // Nothing is drawn until the tube changes, and a run stops, so
            // that the next rebuild does not fail and tell it again. The
            // message waits until the paint is over.
            m_drawList = TubeDrawList();
            const bool stopped = m_nState == Running;
            if (stopped)
                StopRelaxation(*this);
            CallAfter([this, stopped] {
                ShowError(FromUtf8(stopped ? vek::text::kDrawOutOfMemoryStopped : vek::text::kTubeOutOfMemory));
            });
        }
        m_bDrawListValid = true;
    }
    if (immediate)
        DrawTubeImmediate(m_arrX, m_arrY, m_arrZ, m_arrTubeX, m_arrTubeY, m_arrTubeZ, m_nRingSegments, m_crTube);
    else
        DrawTube(m_drawList, m_crTube);
}

std::vector<uint8_t> CCurveView::RenderPicture(int& width, int& height, bool immediateTube)
{
    const wxSize size = GetClientSize();
    width = size.x;
    height = size.y;
    if (width <= 0 || height <= 0 || !MakeCurrent())
        return {};
    if (m_nState == Sketch)
        PaintSketchView();
    else
        PaintTubeView(immediateTube);
    glFinish();
    std::vector<uint8_t> rgb(static_cast<size_t>(width) * height * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, width, height, GL_RGB, GL_UNSIGNED_BYTE, rgb.data());
    return rgb;
}

void CCurveView::OnEraseBkgnd(wxEraseEvent&)
{
    // Nothing: both paints cover the whole client area themselves.
}

void CCurveView::OnSize(wxSizeEvent& event)
{
    event.Skip();
    const wxSize size = GetClientSize();
    // A minimised window keeps the previous viewport and projection.
    if (!SizeChangesProjection(size.x, size.y))
        return;
    m_nViewportWidth = size.x;
    m_nViewportHeight = size.y;
    InvalidateAll();
}

void CCurveView::InvalidateAll()
{
    m_bRepaintPending = true;
    Refresh(true);
}

void CCurveView::InvalidateRect(const CPixelRect& box)
{
    m_recentInvalidations.push_back(box);
    if (m_recentInvalidations.size() > 16)
        m_recentInvalidations.erase(m_recentInvalidations.begin());
    const int left = std::min(box.left, box.right), right = std::max(box.left, box.right);
    const int top = std::min(box.top, box.bottom), bottom = std::max(box.top, box.bottom);
    if (right > left && bottom > top)
        RefreshRect(wxRect(left, top, right - left, bottom - top), true);
}

// ---- mouse -------------------------------------------------------------------------

wxPoint CCurveView::CursorClientPosition() const
{
    return ScreenToClient(wxGetMousePosition());
}

void CCurveView::StartDrag(int32_t& flag, const wxPoint& pressedAt)
{
    flag = 1;
    if (!HasCapture())
        CaptureMouse();
    // Where the button went down, not where the pointer is now: during a run
    // the press is handled at the next drain, after the moves that followed it.
    m_ptLast = {pressedAt.x, pressedAt.y};
}

void CCurveView::EndDrag(int32_t& flag, int32_t other)
{
    flag = 0;
    if (!other && HasCapture())
        ReleaseMouse();
}

void CCurveView::OnLButtonDown(wxMouseEvent& event)
{
    if (m_nState == Sketch) {
        const wxSize size = GetClientSize();
        double x = 0.0, y = 0.0;
        if (PixelToModel(event.GetX(), event.GetY(), size.x, size.y, x, y)) {
            try {
                AppendPoint(x, y, m_dPenDepth);
                m_bDrawListValid = false;
            } catch (const std::exception&) {
                ShowError(FromUtf8("メモリが足りないため、点を追加できませんでした。"));
            }
            InvalidateAll();
        }
    } else {
        StartDrag(m_bLeftDown, event.GetPosition());
    }
    event.Skip();
}

void CCurveView::OnLButtonDblClk(wxMouseEvent& event)
{
    // The second press of a double click adds no point.
    event.Skip();
}

void CCurveView::OnLButtonUp(wxMouseEvent& event)
{
    if (m_nState != Sketch)
        EndDrag(m_bLeftDown, m_bRightDown);
    event.Skip();
}

void CCurveView::OnRButtonDown(wxMouseEvent& event)
{
    StartDrag(m_bRightDown, event.GetPosition());
    event.Skip();
}

void CCurveView::OnRButtonUp(wxMouseEvent& event)
{
    EndDrag(m_bRightDown, m_bLeftDown);
    event.Skip();
}

void CCurveView::OnMouseCaptureLost(wxMouseCaptureLostEvent&)
{
    // Another window took the mouse: no drag goes on without its release.
    m_bLeftDown = 0;
    m_bRightDown = 0;
}

void CCurveView::OnMouseMove(wxMouseEvent& event)
{
    if (m_nState == Sketch) {
        UpdateCursorRing();
    } else if (m_bLeftDown || m_bRightDown) {
        const int dx = event.GetX() - m_ptLast.x;
        const int dy = event.GetY() - m_ptLast.y;
        m_ptLast = {event.GetX(), event.GetY()};
        m_viewMatrix = NavigationStep(m_bLeftDown, m_bRightDown, dx, dy, GetClientSize().x, m_viewMatrix);
        InvalidateAll();
    }
    event.Skip();
}

void CCurveView::OnMouseWheel(wxMouseEvent& event)
{
    if (event.GetWheelAxis() == wxMOUSE_WHEEL_VERTICAL) {
        m_dPenDepth = WheelDepth(m_dPenDepth, event.GetWheelRotation());
        UpdateCursorRing();
    }
    event.Skip();
}

void CCurveView::UpdateCursorRing()
{
    const wxPoint p = CursorClientPosition();
    m_rcCursorPrev = m_rcCursor;
    m_rcCursor = CursorRingBox(p.x, p.y, m_dPenDepth);
    InvalidateRect(m_rcCursorPrev);
    InvalidateRect(m_rcCursor);
}

void CCurveView::ShowError(const wxString& text)
{
    wxMessageBox(text, FromUtf8(vek::text::kAppTitle), wxOK | wxICON_EXCLAMATION, wxGetTopLevelParent(this));
}
