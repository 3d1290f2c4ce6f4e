#include "relax/knot_guard.h"

#include <algorithm>
#include <utility>

#include "curve/constants.h"

namespace vek {

namespace {

bool Evaluated(const KnotType& knot) { return knot.known && !knot.alexander.empty(); }

void CopyOut(const CDoubleArray& a, std::vector<double>& to) { to.assign(a.GetData(), a.GetData() + a.GetSize()); }

void CopyIn(const std::vector<double>& from, CDoubleArray& a)
{
    a.SetSize(static_cast<int>(from.size()));
    std::copy(from.begin(), from.end(), a.GetData());
}

}  // namespace

KnotGuard::KnotGuard(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, KnotType start, KnotCheck check, bool keep)
    : m_x(x), m_y(y), m_z(z), m_start(std::move(start)), m_check(check), m_keep(keep),
      m_active(check != KnotCheck::Off && Evaluated(m_start))
{
    if (m_active && m_keep) {
        CopyOut(x, m_goodX);
        CopyOut(y, m_goodY);
        CopyOut(z, m_goodZ);
    }
}

std::function<long long(long long)> KnotGuard::Wrap(std::function<long long(long long)> runBlock)
{
    return [this, runBlock = std::move(runBlock)](long long count) -> long long {
        if (m_stopped)
            return 0;
        m_blockFirstIteration = m_iterations;
        m_currentKnown = false;  // the block may change the curve
        const long long done = runBlock(count);
        ++m_block;
        m_iterations += done;
        const bool bigCurve = m_check == KnotCheck::Auto && m_x.GetSize() >= kKnotCheckAutoLimit;
        if (m_active && done == count && !bigCurve)
            Check();
        return m_stopped ? 0 : done;
    };
}

void KnotGuard::Check()
{
    const KnotType now = IdentifyKnot({m_x.GetData(), static_cast<size_t>(m_x.GetSize())},
                                      {m_y.GetData(), static_cast<size_t>(m_y.GetSize())},
                                      {m_z.GetData(), static_cast<size_t>(m_z.GetSize())});
    if (!Evaluated(now))
        return;
    ++m_checks;
    m_current = now;
    m_currentKnown = true;
    if (SameKnotType(m_start, now)) {
        m_goodIterations = m_iterations;
        if (m_keep) {
            CopyOut(m_x, m_goodX);
            CopyOut(m_y, m_goodY);
            CopyOut(m_z, m_goodZ);
        }
        return;
    }
    if (m_passageBlock == 0) {
        m_passageBlock = m_block;
        m_passageFirstIteration = m_blockFirstIteration;
        m_passageLastIteration = m_iterations;
        m_passedTo = now;
    }
    if (m_keep) {
        CopyIn(m_goodX, m_x);
        CopyIn(m_goodY, m_y);
        CopyIn(m_goodZ, m_z);
        m_currentKnown = false;
        m_stopped = true;
    }
}

long long RunBlocks(long long iterations, const std::function<long long(long long)>& runBlock)
{
    long long done = 0;
    while (done < iterations) {
        const long long asked = std::min<long long>(kRunPeriod, iterations - done);
        const long long did = runBlock(asked);
        done += did;
        if (did < asked)
            break;
    }
    return done;
}

std::string KnotGuardText(const KnotGuard& guard)
{
    if (guard.Mode() == KnotCheck::Off)
        return "knot check: off\n";
    if (!guard.Active())
        return "knot check: off (the starting curve's knot could not be identified)\n";
    if (guard.PassageBlock() == 0)
        return "knot check: no change in " + std::to_string(guard.Checks()) + " checks\n";
    std::string text = "knot check: the curve passed through itself in block " +
                       std::to_string(guard.PassageBlock()) + " (iterations " +
                       std::to_string(guard.PassageFirstIteration() + 1) + " ... " +
                       std::to_string(guard.PassageLastIteration()) + "), becoming " +
                       guard.PassedTo().name;
    if (guard.Stopped())
        text += "; stopped, the curve after iteration " + std::to_string(guard.KeptIterations()) + " kept";
    return text + "\n";
}

}  // namespace vek
