// CCurveView's painting: the sketch in Sketch, the lit tube otherwise, both
// into the back buffer of the one OpenGL context; and the invalidation that
// asks for the next paint.
#include "app/curve_view.h"

#include <wx/dcclient.h>

#include <GL/gl.h>

#include <algorithm>
#include <stdexcept>

#include "app/view_observer.h"
#include "curve/run_relaxation.h"
#include "render/camera.h"
#include "render/gl_scene.h"
#include "res/string_table.h"
#include "sketch/paint_sketch.h"
#include "sketch/raster_canvas.h"

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
    if (m_nState == Sketch) {
        PaintSketchView();
        if (m_pObserver)
            m_pObserver->OnSketchPainted();
    } else {
        PaintTubeView();
        if (m_pObserver)
            m_pObserver->OnTubePainted(m_drawList);
    }
    glFlush();
    SwapBuffers();
}

void CCurveView::PaintSketchView()
{
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

void CCurveView::PaintTubeView()
{
    if (m_nViewportWidth > 0 && m_nViewportHeight > 0)
        ApplyViewport(m_nViewportWidth, m_nViewportHeight);
    LoadViewMatrix(m_viewMatrix);
    EnsureDrawList();
    DrawTube(m_drawList, m_crTube);
}

void CCurveView::EnsureDrawList()
{
    if (m_bDrawListValid)
        return;
    // A tube built for another number of points (Stop while sketching) is
    // not drawn: the list comes out empty and only the clear shows. The list
    // is kept while neither the tube nor the curve changes, so turning the
    // tube with the mouse only sends it again.
    try {
        const bool thinned = m_arrDrawnX.GetSize() > 0;
        BuildTubeDrawList(thinned ? m_arrDrawnX : m_arrX, thinned ? m_arrDrawnY : m_arrY,
                          thinned ? m_arrDrawnZ : m_arrZ, m_arrTubeX, m_arrTubeY, m_arrTubeZ, m_nRingSegments,
                          m_dThickness, m_dTubeScale, m_drawList);
    } catch (const std::exception&) {
        // Nothing is drawn until the tube changes, and a run stops, so
        // that the next rebuild does not fail and tell it again. The
        // message waits until the paint is over.
        m_drawList = TubeDrawList();
        const bool stopped = m_nState == Running;
        if (stopped)
            StopRelaxation(*this);
        CallAfter([this, stopped] {
            ShowError(wxString::FromUTF8(stopped ? vek::text::kDrawOutOfMemoryStopped : vek::text::kTubeOutOfMemory));
        });
    }
    m_bDrawListValid = true;
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
    if (m_pObserver)
        m_pObserver->OnInvalidate(box);
    const int left = std::min(box.left, box.right), right = std::max(box.left, box.right);
    const int top = std::min(box.top, box.bottom), bottom = std::max(box.top, box.bottom);
    if (right > left && bottom > top)
        RefreshRect(wxRect(left, top, right - left, bottom - top), true);
}

void CCurveView::ReadBackBuffer(int width, int height, int left, int bottom, int tileWidth, int tileHeight,
                                 std::vector<uint8_t>& rgb)
{
    glFinish();
    std::vector<uint8_t> tile(static_cast<size_t>(tileWidth) * tileHeight * 3);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, tileWidth, tileHeight, GL_RGB, GL_UNSIGNED_BYTE, tile.data());
    // The buffer's rows come from the bottom; the picture's from the top.
    const size_t row = static_cast<size_t>(width) * 3, tileRow = static_cast<size_t>(tileWidth) * 3;
    for (int y = 0; y < tileHeight; ++y)
        std::copy_n(tile.data() + y * tileRow, tileRow,
                    rgb.data() + static_cast<size_t>(height - 1 - bottom - y) * row + static_cast<size_t>(left) * 3);
}

bool CCurveView::ReadViewPicture(std::vector<uint8_t>& rgb, int& width, int& height)
{
    const wxSize size = GetClientSize();
    width = size.x;
    height = size.y;
    if (width <= 0 || height <= 0 || !MakeCurrent())
        return false;
    // The paint of the moment, into the back buffer, read before any swap:
    // exactly the pixels the next paint puts on screen.
    if (m_nState == Sketch)
        PaintSketchView();
    else
        PaintTubeView();
    rgb.resize(static_cast<size_t>(width) * height * 3);
    ReadBackBuffer(width, height, 0, 0, width, height, rgb);
    InvalidateAll();
    return true;
}

bool CCurveView::ReadPictureAt(int width, int height, std::vector<uint8_t>& rgb, int tileWidth, int tileHeight)
{
    const wxSize size = GetClientSize();
    if (width <= 0 || height <= 0 || size.x <= 0 || size.y <= 0)
        return false;
    if (m_nState == Sketch) {
        // The sketch is a picture in memory: painted at the asked size.
        RasterCanvas canvas;
        canvas.Resize(width, height);
        PaintSketch(canvas, width, height, m_arrX, m_arrY, m_arrZ, m_rcCursor);
        rgb = canvas.Pixels();
        return rgb.size() == static_cast<size_t>(width) * height * 3;
    }
    if (!MakeCurrent())
        return false;
    EnsureDrawList();
    // The back buffer holds at most the view's pixels: a larger picture is
    // drawn in tiles, each with its part of the whole picture's box.
    tileWidth = tileWidth > 0 ? std::min(tileWidth, size.x) : size.x;
    tileHeight = tileHeight > 0 ? std::min(tileHeight, size.y) : size.y;
    rgb.assign(static_cast<size_t>(width) * height * 3, 0);
    for (int bottom = 0; bottom < height; bottom += tileHeight)
        for (int left = 0; left < width; left += tileWidth) {
            const int w = std::min(tileWidth, width - left), h = std::min(tileHeight, height - bottom);
            ApplyTileViewport(OrthoTileBox(width, height, left, bottom, w, h), w, h);
            LoadViewMatrix(m_viewMatrix);
            DrawTube(m_drawList, m_crTube);
            ReadBackBuffer(width, height, left, bottom, w, h, rgb);
        }
    if (m_nViewportWidth > 0 && m_nViewportHeight > 0)
        ApplyViewport(m_nViewportWidth, m_nViewportHeight);
    InvalidateAll();
    return true;
}
