#include "view_probe.h"

#include <wx/app.h>
#include <wx/evtloop.h>

#include <GL/gl.h>

#include "reference_tube.h"

namespace {

// How long Picture waits for a paint that the toolkit delivers late.
constexpr int kPaintWaitRounds = 200;
constexpr int kPaintWaitMs = 5;

}  // namespace

ViewProbe::ViewProbe(CCurveView& view) : m_view(&view)
{
    view.SetObserver(this);
    // A test may close the frame; the view then goes before the probe.
    view.Bind(wxEVT_DESTROY, [this, &view](wxWindowDestroyEvent& event) {
        event.Skip();
        if (event.GetEventObject() == &view)
            m_view = nullptr;
    });
}

ViewProbe::~ViewProbe()
{
    if (m_view)
        m_view->SetObserver(nullptr);
}

std::vector<uint8_t> ViewProbe::Picture(int& width, int& height, Tube tube)
{
    width = height = 0;
    if (!m_view)
        return {};
    const wxSize size = m_view->GetClientSize();
    width = size.x;
    height = size.y;
    m_picture.clear();
    m_capturing = true;
    m_captureTube = tube;
    m_view->Refresh(false);
    m_view->Update();
    wxEventLoopBase* loop = wxEventLoopBase::GetActive();
    for (int round = 0; round < kPaintWaitRounds && m_capturing && loop; ++round)
        loop->DispatchTimeout(kPaintWaitMs);
    m_capturing = false;
    return std::move(m_picture);
}

void ViewProbe::ReadBack()
{
    if (!m_capturing || !m_view)
        return;
    m_capturing = false;
    const wxSize size = m_view->GetClientSize();
    if (size.x <= 0 || size.y <= 0)
        return;
    glFinish();
    m_picture.assign(static_cast<size_t>(size.x) * size.y * 3, 0);
    glReadBuffer(GL_BACK);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(0, 0, size.x, size.y, GL_RGB, GL_UNSIGNED_BYTE, m_picture.data());
}

void ViewProbe::OnSketchPainted()
{
    ++m_sketchPaints;
    ReadBack();
}

void ViewProbe::OnTubePainted(const TubeDrawList& drawn)
{
    ++m_tubePaints;
    m_drawnList = &drawn;
    if (m_capturing && m_captureTube == Tube::QuadByQuad)
        DrawReferenceTube(*m_view);
    ReadBack();
}

void ViewProbe::OnInvalidate(const CPixelRect& box)
{
    m_invalidations.push_back(box);
}

void ViewProbe::OnTubeBuilt()
{
    ++m_tubeBuilds;
}
