// CCurveView: construction, the command table, the tube and the camera, and
// the message box every command tells its failures with. The handlers of
// the other concerns live beside it: curve_view_run.cpp (the 計算 menu and
// the run loop's drain), curve_view_files.cpp (the ﾌｧｲﾙ menu),
// curve_view_settings.cpp (the 設定 menu), curve_view_paint.cpp (painting
// and invalidation) and curve_view_mouse.cpp (sketching and navigation).
#include "app/curve_view.h"

#include <wx/msgdlg.h>

#include <stdexcept>

#include "relax/figures_worker.h"
#include "app/view_observer.h"
#include "curve/constants.h"
#include "relax/ideal_run.h"
#include "render/build_tube.h"
#include "render/camera.h"
#include "res/resource_ids.h"
#include "res/string_table.h"

namespace {

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
    Bind(wxEVT_KEY_DOWN, &CCurveView::OnKeyDown, this);

    ResetInitialCamera();
}

// The context is released with the view (it is made not current first).
// The worker threads end before anything they use goes.
CCurveView::~CCurveView()
{
    JoinIdeal(true);
    m_pFigures.reset();
}

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
    case ID_CALC_IDEAL: OnCalcIdeal(); return true;
    case ID_FILE_OPEN_KNOT: OnFileOpenKnot(); return true;
    case ID_FILE_SAVE_PICTURE: OnFileSavePicture(); return true;
    case ID_FILE_SAVE_SHAPE: OnFileSaveShape(); return true;
    case ID_VIEW_FIT: OnViewFit(); return true;
    default: return false;
    }
}

// ---- tube and camera -------------------------------------------------------

void CCurveView::BuildTube()
{
    // Whether it is built or fails half-way, the tube is not the one drawn.
    CurveChanged();
    const bool thinned = ThinForDrawing(m_arrX, m_arrY, m_arrZ, kMaxDrawnRings, m_arrDrawnX, m_arrDrawnY, m_arrDrawnZ);
    ::BuildTube(thinned ? m_arrDrawnX : m_arrX, thinned ? m_arrDrawnY : m_arrY, thinned ? m_arrDrawnZ : m_arrZ,
                m_nRingSegments, m_dThickness, m_dTubeScale, m_arrTubeX, m_arrTubeY, m_arrTubeZ);
    if (m_pObserver)
        m_pObserver->OnTubeBuilt();
}

void CCurveView::RebuildTubeOrTell()
{
    try {
        BuildTube();
    } catch (const std::exception&) {
        // BuildTube leaves no half-built tube: the arrays are empty, nothing
        // is drawn until the next rebuild, and the points are untouched.
        ShowError(wxString::FromUTF8(vek::text::kTubeOutOfMemory));
    }
}

void CCurveView::ResetCamera(Vec3 eye, Vec3 centre)
{
    m_viewMatrix = ResetCameraMatrix(eye, centre);
}

void CCurveView::ResetInitialCamera()
{
    ResetCamera(vek::kInitialEye, vek::kInitialCentre);
}

void CCurveView::CurveChanged()
{
    m_bDrawListValid = false;
    // A thinned copy belongs to the curve it was taken from.
    m_arrDrawnX.SetSize(0);
    m_arrDrawnY.SetSize(0);
    m_arrDrawnZ.SetSize(0);
    InvalidateAll();
    RequestFigures();
}

void CCurveView::CurveReplaced()
{
    ++m_nCurveTicket;
    m_nIterations = 0;
    // An ideal shape under way belongs to the curve that was there: it is
    // asked to stop, and its outcome is dropped when it comes.
    if (IsMakingIdeal())
        m_bIdealCancel = true;
}

void CCurveView::EnterSketch()
{
    m_nState = Sketch;
    m_dPrecision = vek::kDefaultPrecision;
    CurveReplaced();
    ResetInitialCamera();
    CurveChanged();
}

bool ThinForDrawing(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, int maxPoints,
                    CDoubleArray& outX, CDoubleArray& outY, CDoubleArray& outZ)
{
    const int n = x.GetSize();
    if (n <= maxPoints || maxPoints < 1)
        return false;
    const int step = (n + maxPoints - 1) / maxPoints;
    const int count = (n + step - 1) / step;
    outX.SetSize(count);
    outY.SetSize(count);
    outZ.SetSize(count);
    for (int k = 0; k < count; ++k) {
        outX[k] = x[k * step];
        outY[k] = y[k * step];
        outZ[k] = z[k * step];
    }
    return true;
}

void CCurveView::ShowError(const wxString& text)
{
    wxMessageBox(text, wxString::FromUTF8(vek::text::kAppTitle), wxOK | wxICON_EXCLAMATION, wxGetTopLevelParent(this));
}
