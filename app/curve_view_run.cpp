// CCurveView's 計算 menu: Start runs the relaxation in the window's own
// thread, draining the message queue between steps; Stop asks the run to
// end; Reset returns to an empty sketch.
#include "app/curve_view.h"

#include <wx/app.h>
#include <wx/evtloop.h>

#include <chrono>
#include <new>
#include <stdexcept>

#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "curve/constants.h"
#include "curve/resample_curve.h"
#include "curve/run_limits.h"
#include "curve/run_relaxation.h"
#include "relax/figures_worker.h"
#include "render/tube_draw_list.h"
#include "res/string_table.h"

namespace {

// How long one drain may wait for the repaint it asked for, in milliseconds,
// and how often. The compositor serves repaints at its own pace; without the
// wait a fast run could go many drains without showing a picture.
constexpr int kRepaintWaitMs = 5;
constexpr int kRepaintWaitRounds = 8;
// The longest a run goes without handling the user's input, in
// milliseconds, when its blocks take longer.
constexpr int kInputWaitMs = 200;

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
    // What the run would break is decided here once, before it starts, and
    // at each resampling by the resampling hook; the message tells that
    // decision. A refused Start leaves the state and the points as they are
    // (a run in progress goes on).
    const RunLimit atStart = GuardedRunLimit(m_arrX, m_arrY, m_arrZ, m_dThickness, m_dPrecision, RunMoment::Start);
    if (atStart != RunLimit::None) {
        TellRunLimit(atStart, RunMoment::Start);
        return;
    }

    // The run changes the curve an ideal shape under way started from.
    if (IsMakingIdeal()) {
        ++m_nCurveTicket;
        m_bIdealCancel = true;
    }
    RunHooks hooks = EngineRunHooks(*this);
    // A block of a large curve takes seconds: in the program (not under a
    // test's drain) the messages are also handled between two iterations
    // once kInputWaitMs have passed, so that the menu opens and Stop acts
    // at once. Stopped there, the run ends after that iteration, and the
    // tube is built for the curve it leaves.
    int sinceRebuild = 0;
    auto lastDrain = std::chrono::steady_clock::now();
    hooks.relax = [this, &sinceRebuild, &lastDrain, relax = hooks.relax](double window, CDoubleArray& nx,
                                                                          CDoubleArray& ny, CDoubleArray& nz) {
        relax(window, nx, ny, nz);
        ++sinceRebuild;
        ++m_nIterations;
        const auto now = std::chrono::steady_clock::now();
        if (!m_drain && now - lastDrain > std::chrono::milliseconds(kInputWaitMs)) {
            DrainMessages();
            lastDrain = std::chrono::steady_clock::now();
        }
    };
    RunLimit broken = RunLimit::None;
    hooks.resample = [this, &broken] {
        broken = GuardedRunLimit(m_arrX, m_arrY, m_arrZ, m_dThickness, m_dPrecision, RunMoment::Resample);
        return broken == RunLimit::None && ResampleCurve(m_arrX, m_arrY, m_arrZ, m_dThickness, m_dPrecision);
    };
    hooks.rebuildTube = [this, &sinceRebuild] {
        sinceRebuild = 0;
        BuildTube();
    };
    hooks.requestRepaint = [this] { InvalidateAll(); };
    hooks.drain = [this, &lastDrain] {
        if (m_drain)
            m_drain();
        else
            DrainMessages();
        lastDrain = std::chrono::steady_clock::now();
    };
    hooks.refused = [this, &broken] {
        // ResampleCurve refuses only what the limit refuses.
        TellRunLimit(broken == RunLimit::None ? RunLimit::TooManyPoints : broken, RunMoment::Resample);
    };

    ++m_nRunDepth;
    try {
        RunRelaxation(*this, hooks);
        // Stopped between two drains: the tube of the last block does not
        // match the curve any more. (A Load or Reset has its own curve.)
        if (sinceRebuild > 0 && m_nState == Suspended)
            RebuildTubeOrTell();
    } catch (const std::bad_alloc&) {
        m_nState = Suspended;
        ShowError(wxString::FromUTF8(vek::text::kRunOutOfMemory));
    } catch (const std::length_error&) {
        m_nState = Suspended;
        ShowError(wxString::FromUTF8(vek::text::kRunTooLong));
    }
    --m_nRunDepth;
    // The figures of the curve the run leaves are shown without a rest.
    if (m_pFigures)
        m_pFigures->Hurry();
    if (m_nRunDepth == 0) {
        // The run's work arrays are gone; a smaller curve's are smaller.
        GiveBackFreedMemory();
        if (m_runsEnded)
            m_runsEnded();
    }
}

void CCurveView::TellRunLimit(RunLimit limit, RunMoment moment)
{
    const bool start = moment == RunMoment::Start;
    switch (limit) {
    case RunLimit::None: return;
    case RunLimit::NoCurve: ShowError(wxString::FromUTF8(vek::text::kRunNoCurve)); return;
    case RunLimit::TooCoarse:
        ShowError(wxString::Format(
            wxString::FromUTF8(start ? vek::text::kRunTooCoarseNotStarted : vek::text::kRunTooCoarseStopped),
            m_dPrecision, vek::kMinGuardedPrecision));
        return;
    case RunLimit::TooFewPoints:
        ShowError(wxString::Format(wxString::FromUTF8(vek::text::kRunTooFewPoints), vek::kMinRunPoints));
        return;
    case RunLimit::TooManyPoints:
        if (start)
            ShowError(wxString::Format(wxString::FromUTF8(vek::text::kRunTooManyPointsNotStarted), m_dPrecision,
                                       vek::kMaxCurvePoints));
        else
            ShowError(wxString::Format(wxString::FromUTF8(vek::text::kRunTooManyPoints), vek::kMaxCurvePoints));
        return;
    }
}

void CCurveView::OnCalcStop()
{
    StopRelaxation(*this);
    // The ideal shape stops at its next solver iteration and keeps the
    // best certified polygon it found.
    if (IsMakingIdeal())
        m_bIdealCancel = true;
}

void CCurveView::OnCalcReset()
{
    ResetCurve(*this);
    CurveReplaced();
    ReleaseTubeDrawList(m_drawList);
    GiveBackFreedMemory();
    ResetInitialCamera();
    CurveChanged();
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
