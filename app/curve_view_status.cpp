// CCurveView's status bar figures, measured on the figures worker's thread
// after every change of the curve and shown when they arrive; and the
// fitted view of 表示 → 全体表示.
#include "app/curve_view.h"

#include <vector>

#include "relax/figures_worker.h"
#include "app/status_text.h"
#include "render/picture_camera.h"
#include "render/tube_picture_options.h"

void CCurveView::RequestFigures()
{
    if (!m_pFigures) {
        // Figures arrive on the worker's thread and are shown from the
        // window's own; a result that a newer request overtook is dropped.
        m_pFigures = std::make_unique<CFiguresWorker>([this](uint64_t ticket, const vek::CurveFigures& figures) {
            CallAfter([this, ticket, figures] { ShowFigures(ticket, figures); });
        });
    }
    // The count is cheap and shown at once; the rest follows.
    vek::CurveFigures count;
    count.points = PointCount();
    ShowStatus(kFieldPoints, FormatStatusTexts(count, 0)[kFieldPoints]);
    if (!IsMakingIdeal())
        ShowStatus(kFieldIterations, FormatStatusTexts({}, m_nIterations)[kFieldIterations]);
    // A run's blocks come faster than the figures of a large curve are
    // measured: theirs rest in between, so that they cost the run little.
    m_pFigures->Request(m_arrX, m_arrY, m_arrZ, m_dThickness, ++m_nFiguresTicket,
                        m_nState == Running ? CFiguresWorker::Pace::Rested : CFiguresWorker::Pace::Now);
}

void CCurveView::ShowFigures(uint64_t ticket, const vek::CurveFigures& figures)
{
    if (ticket != m_nFiguresTicket)
        return;
    const StatusTexts texts = FormatStatusTexts(figures, m_nIterations);
    for (int field = 0; field < kStatusFieldCount; ++field)
        if (field != kFieldIterations || !IsMakingIdeal())
            ShowStatus(field, texts[field]);
}

void CCurveView::ShowStatus(int field, const std::string& text)
{
    if (m_statusShown)
        m_statusShown(field, text);
}

void CCurveView::FlushStatus()
{
    if (m_pFigures)
        m_pFigures->WaitIdle();
    if (wxTheApp)
        wxTheApp->ProcessPendingEvents();
}

void CCurveView::OnViewFit()
{
    // The sketch is flat and has its own fixed mapping; only the tube's
    // camera is fitted, to the tube's surface as drawn.
    const int count = m_arrTubeX.GetSize();
    if (m_nState == Sketch || count == 0)
        return;
    std::vector<double> vertices;
    vertices.reserve(static_cast<size_t>(count) * 3);
    for (int k = 0; k < count; ++k) {
        vertices.push_back(m_arrTubeX[k]);
        vertices.push_back(m_arrTubeY[k]);
        vertices.push_back(m_arrTubeZ[k]);
    }
    const wxSize size = GetClientSize();
    m_viewMatrix = FitView(m_viewMatrix, vertices, size.x, size.y, vek::kPictureFill);
    InvalidateAll();
}

void CCurveView::OnKeyDown(wxKeyEvent& event)
{
    if ((event.GetKeyCode() == 'F' || event.GetKeyCode() == 'f') && event.GetModifiers() == wxMOD_NONE) {
        OnViewFit();
        return;
    }
    event.Skip();
}
