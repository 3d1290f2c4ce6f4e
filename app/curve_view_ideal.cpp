// CCurveView's 計算 → 理想形: the ideal-knot optimiser on a copy of the
// curve, on a thread of its own, as vek-relax --ideal runs it. Its progress
// goes to the status bar; 中断 asks it to stop, and it then gives the best
// certified polygon found so far. The outcome replaces the curve only if
// the curve was not replaced meanwhile.
#include "app/curve_view.h"

#include <wx/app.h>

#include "app/status_text.h"
#include "curve/run_relaxation.h"
#include "relax/ideal_run.h"
#include "res/string_table.h"

namespace {

void CopyCurve(const CDoubleArray& from, CDoubleArray& to)
{
    to.SetSize(from.GetSize());
    for (int k = 0; k < from.GetSize(); ++k)
        to[k] = from[k];
}

}  // namespace

void CCurveView::OnCalcIdeal()
{
    if (IsMakingIdeal())
        return;
    // A run going on stops after the drain this command came from; the
    // ideal shape starts from the curve of its last block.
    if (IsRunning())
        StopRelaxation(*this);
    CopyCurve(m_arrX, m_arrIdealX);
    CopyCurve(m_arrY, m_arrIdealY);
    CopyCurve(m_arrZ, m_arrIdealZ);
    m_pIdealRun = std::make_unique<vek::IdealRun>();
    m_bIdealCancel = false;
    m_bIdealProgressPosted = false;
    m_nIdealTicket = m_nCurveTicket;
    const double precision = m_dPrecision;
    const int vertices = m_nIdealVertices;
    const uint64_t ticket = m_nIdealTicket;
    m_idealThread = std::thread([this, precision, vertices, ticket] {
        vek::IdealRunOptions options;
        options.precision = precision;
        options.vertices = vertices;
        options.cancelled = [this] { return m_bIdealCancel.load(); };
        options.progress = [this](const vek::IdealProgress& p) {
            m_nIdealLevel = p.level;
            m_dIdealRopelength = p.ropelength;
            // One progress message waits at a time; it shows the newest.
            if (!m_bIdealProgressPosted.exchange(true))
                CallAfter([this] {
                    m_bIdealProgressPosted = false;
                    vek::IdealProgress shown;
                    shown.level = m_nIdealLevel;
                    shown.ropelength = m_dIdealRopelength;
                    if (IsMakingIdeal())
                        ShowIdealProgress(shown);
                });
        };
        try {
            *m_pIdealRun = vek::RunIdeal(m_arrIdealX, m_arrIdealY, m_arrIdealZ, options);
        } catch (const std::exception& e) {
            m_pIdealRun->ok = false;
            m_pIdealRun->error = e.what();
        }
        CallAfter([this, ticket] { ApplyIdeal(ticket); });
    });
    ShowIdealProgress({});
}

void CCurveView::ShowIdealProgress(const vek::IdealProgress& progress)
{
    const StatusTexts texts = FormatIdealProgressTexts(progress);
    ShowStatus(kFieldRopelength, texts[kFieldRopelength]);
    ShowStatus(kFieldIterations, texts[kFieldIterations]);
}

void CCurveView::ApplyIdeal(uint64_t ticket)
{
    if (!m_idealThread.joinable() || ticket != m_nIdealTicket)
        return;
    m_idealThread.join();
    const std::unique_ptr<vek::IdealRun> run = std::move(m_pIdealRun);
    if (m_nCurveTicket != ticket) {
        // The curve was replaced while the shape was made: it is kept.
        RequestFigures();
        return;
    }
    if (!run || !run->ok) {
        RequestFigures();
        ShowError(wxString::Format(wxString::FromUTF8(vek::text::kIdealFailed),
                                   wxString::FromUTF8(run ? run->error : std::string())));
        return;
    }
    CopyCurve(m_arrIdealX, m_arrX);
    CopyCurve(m_arrIdealY, m_arrY);
    CopyCurve(m_arrIdealZ, m_arrZ);
    CurveReplaced();
    // The tube is the view's at the nominal thickness, which the certified
    // polygon's tube reaches or exceeds: it does not overlap itself.
    m_nState = Suspended;
    RebuildTubeOrTell();
    CurveChanged();
}

void CCurveView::JoinIdeal(bool cancel)
{
    if (!m_idealThread.joinable())
        return;
    if (cancel)
        m_bIdealCancel = true;
    m_idealThread.join();
    // Its outcome message, already queued, finds no thread and does nothing.
    m_pIdealRun.reset();
}

void CCurveView::WaitForIdeal()
{
    while (m_idealThread.joinable()) {
        wxMilliSleep(10);
        if (wxTheApp)
            wxTheApp->ProcessPendingEvents();
    }
}
