#include "app/figures_worker.h"

#if defined(__linux__)
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace {

void CopyOut(const CDoubleArray& from, std::vector<double>& to)
{
    to.assign(from.GetData(), from.GetData() + from.GetSize());
}

void CopyIn(const std::vector<double>& from, CDoubleArray& to)
{
    to.SetSize(static_cast<int>(from.size()));
    for (size_t k = 0; k < from.size(); ++k)
        to[static_cast<int>(k)] = from[k];
}

}  // namespace

CFiguresWorker::CFiguresWorker(Done done) : m_done(std::move(done)), m_thread([this] { Loop(); }) {}

CFiguresWorker::~CFiguresWorker()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_quit = true;
        m_waiting.reset();
    }
    m_wake.notify_all();
    m_thread.join();
}

void CFiguresWorker::Request(const CDoubleArray& x, const CDoubleArray& y, const CDoubleArray& z, double thickness,
                             uint64_t ticket)
{
    Job job;
    if (x.GetSize() > 0) {
        CopyOut(x, job.x);
        CopyOut(y, job.y);
        CopyOut(z, job.z);
    }
    job.thickness = thickness;
    job.ticket = ticket;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting = std::move(job);
    }
    m_wake.notify_all();
}

void CFiguresWorker::WaitIdle()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_waiting; });
}

void CFiguresWorker::Loop()
{
#if defined(__linux__)
    // The figures give way to the run: on a machine whose cores the
    // relaxation keeps busy, they take what it leaves.
    setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
#endif
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || m_waiting; });
        if (m_quit)
            break;
        Job job = std::move(*m_waiting);
        m_waiting.reset();
        m_busy = true;
        lock.unlock();
        vek::CurveFigures figures;
        try {
            CDoubleArray x, y, z;
            CopyIn(job.x, x);
            CopyIn(job.y, y);
            CopyIn(job.z, z);
            figures = vek::MeasureCurveFigures(x, y, z, job.thickness);
        } catch (...) {
            // Out of storage: the figures stay unmeasured (no knot, no
            // certificate), with the count of points.
            figures = vek::CurveFigures();
            figures.points = static_cast<int>(job.x.size());
        }
        m_done(job.ticket, figures);
        lock.lock();
        m_busy = false;
        m_idle.notify_all();
    }
    m_busy = false;
    m_idle.notify_all();
}
