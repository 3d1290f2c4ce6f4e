// CCurveView's mouse: in Sketch a left click adds a point at the pen depth
// and the wheel changes that depth; otherwise dragging with the left and
// right buttons turns, moves and zooms the tube.
#include "app/curve_view.h"

#include <wx/utils.h>

#include <stdexcept>

#include "render/camera.h"
#include "res/string_table.h"
#include "sketch/sketch_mapping.h"

wxPoint CCurveView::CursorClientPosition() const
{
    return ScreenToClient(wxGetMousePosition());
}

void CCurveView::StartDrag(int32_t& flag, const wxPoint& pressedAt)
{
    flag = 1;
    m_zoomDrag.active = false;
    if (!HasCapture())
        CaptureMouse();
    // Where the button went down, not where the pointer is now: during a run
    // the press is handled at the next drain, after the moves that followed it.
    m_ptLast = {pressedAt.x, pressedAt.y};
}

void CCurveView::EndDrag(int32_t& flag, int32_t other)
{
    flag = 0;
    // Releasing left with right held goes on as a zoom from here.
    m_zoomDrag.active = false;
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
                ++m_nCurveTicket;
                CurveChanged();
            } catch (const std::exception&) {
                ShowError(wxString::FromUTF8(vek::text::kAddPointOutOfMemory));
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
    if (m_nState != Sketch) {
        DragTo(event.GetPosition());
        EndDrag(m_bLeftDown, m_bRightDown);
    }
    event.Skip();
}

void CCurveView::OnRButtonDown(wxMouseEvent& event)
{
    StartDrag(m_bRightDown, event.GetPosition());
    event.Skip();
}

void CCurveView::OnRButtonUp(wxMouseEvent& event)
{
    DragTo(event.GetPosition());
    EndDrag(m_bRightDown, m_bLeftDown);
    event.Skip();
}

void CCurveView::OnMouseCaptureLost(wxMouseCaptureLostEvent&)
{
    // Another window took the mouse: no drag goes on without its release.
    m_bLeftDown = 0;
    m_bRightDown = 0;
    m_zoomDrag.active = false;
}

void CCurveView::OnMouseMove(wxMouseEvent& event)
{
    if (m_nState == Sketch) {
        UpdateCursorRing();
    } else {
        DragTo(event.GetPosition());
    }
    event.Skip();
}

void CCurveView::DragTo(const wxPoint& at)
{
    // The release counts as the drag's last move: the toolkit merges
    // motion events that queue up while a run is busy, and the last one
    // before the release can be lost with them.
    if (!(m_bLeftDown || m_bRightDown) || (at.x == m_ptLast.x && at.y == m_ptLast.y))
        return;
    const int width = GetClientSize().x;
    if (m_bRightDown && !m_bLeftDown) {
        // The zoom is that of the whole drag so far, bounded so that the
        // tube is never cut open by the depth range nor shrinks to a dot.
        const double ringRadius = m_dTubeScale * m_dThickness * 0.5;
        m_viewMatrix = ZoomDragTo(m_zoomDrag, m_viewMatrix, m_ptLast.x, m_ptLast.y, at.x, at.y, width,
                                  TubeBoundRadius(m_arrX, m_arrY, m_arrZ, ringRadius));
    } else {
        m_viewMatrix = NavigationStep(m_bLeftDown, m_bRightDown, at.x - m_ptLast.x, at.y - m_ptLast.y, width,
                                      m_viewMatrix);
    }
    m_ptLast = {at.x, at.y};
    InvalidateAll();
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
