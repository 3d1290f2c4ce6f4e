// CCurveView's 計算 menu: Start runs the relaxation in the window's own
// thread, draining the message queue between steps; Stop asks the run to
// end; Reset returns to an empty sketch.
#include "app/curve_view.h"

#include <wx/app.h>
#include <wx/evtloop.h>

#include <new>
#include <stdexcept>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "curve/constants.h"
#include "curve/resample_curve.h"
#include "curve/run_relaxation.h"
#include "render/tube_draw_list.h"
#include "res/string_table.h"

namespace {

// How long one drain may wait for the repaint it asked for, in milliseconds,
// and how often. The compositor serves repaints at its own pace; without the
// wait a fast run could go many drains without showing a picture.
constexpr int kRepaintWaitMs = 5;
constexpr int kRepaintWaitRounds = 8;

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
            ShowError(wxString::Format(wxString::FromUTF8(vek::text::kRunTooFewPoints), vek::kMinRunPoints));
        else
            ShowError(wxString::Format(wxString::FromUTF8(vek::text::kRunTooManyPoints),
                                       vek::kMaxCurvePoints));
    };

    ++m_nRunDepth;
    try {
        RunRelaxation(*this, hooks);
    } catch (const std::bad_alloc&) {
        m_nState = Suspended;
        ShowError(wxString::FromUTF8(vek::text::kRunOutOfMemory));
    } catch (const std::length_error&) {
        m_nState = Suspended;
        ShowError(wxString::FromUTF8(vek::text::kRunTooLong));
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
    ResetInitialCamera();
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
