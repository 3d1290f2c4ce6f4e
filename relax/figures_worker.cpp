#include "relax/figures_worker.h"

#if defined(__linux__)
#include <pthread.h>
#include <sched.h>
#include <sys/resource.h>
#include <unistd.h>
#endif

#include <time.h>

#include "geom/parallel.h"

namespace {

// The processor time this thread has used. The rest after a measurement
// follows what the measurement cost the cores, not how long it waited for
// them: on a busy machine a measurement takes long on the clock while
// costing little.
std::chrono::nanoseconds ThreadTime()
{
#if defined(CLOCK_THREAD_CPUTIME_ID)
    timespec now{};
    if (clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now) == 0)
        return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
#endif
    return std::chrono::steady_clock::now().time_since_epoch();
}

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
                             uint64_t ticket, Pace pace)
{
    Job job;
    if (x.GetSize() > 0) {
        CopyOut(x, job.x);
        CopyOut(y, job.y);
        CopyOut(z, job.z);
    }
    job.thickness = thickness;
    job.ticket = ticket;
    job.pace = pace;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_waiting = std::move(job);
    }
    m_wake.notify_all();
}

void CFiguresWorker::Hurry()
{
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        if (!m_waiting)
            return;
        m_waiting->pace = Pace::Now;
    }
    m_wake.notify_all();
}

void CFiguresWorker::WaitIdle()
{
    Hurry();
    std::unique_lock<std::mutex> lock(m_mutex);
    m_idle.wait(lock, [this] { return !m_busy && !m_waiting; });
}

bool CFiguresWorker::MayStart(std::chrono::steady_clock::time_point now) const
{
    return m_waiting && (m_waiting->pace == Pace::Now || now >= m_restUntil);
}

void CFiguresWorker::Loop()
{
#if defined(__linux__)
    // The figures give way to the run: on a machine whose cores the
    // relaxation keeps busy, they take what it leaves. The idle class also
    // lets a waking thread of the run take the core at once; where it is
    // refused, the lowest nice value does most of that.
    sched_param none{};
    if (pthread_setschedparam(pthread_self(), SCHED_IDLE, &none) != 0)
        setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), 19);
#endif
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_quit || m_waiting; });
        if (m_quit)
            break;
        // A rested request waits out its rest, unless it is hurried or a
        // request to measure at once replaces it.
        if (!MayStart(std::chrono::steady_clock::now())) {
            m_wake.wait_until(lock, m_restUntil, [this] {
                return m_quit || !m_waiting || MayStart(std::chrono::steady_clock::now());
            });
            continue;
        }
        Job job = std::move(*m_waiting);
        m_waiting.reset();
        m_busy = true;
        lock.unlock();
        const auto started = ThreadTime();
        vek::CurveFigures figures;
        try {
            CDoubleArray x, y, z;
            CopyIn(job.x, x);
            CopyIn(job.y, y);
            CopyIn(job.z, z);
            // All of it on this low-priority thread: the pool's threads
            // would give the figures the run's priority.
            vek::RunOnCallingThread([&] { figures = vek::MeasureCurveFigures(x, y, z, job.thickness); });
        } catch (...) {
            // Out of storage: the figures stay unmeasured (no knot, no
            // certificate), with the count of points.
            figures = vek::CurveFigures();
            figures.points = static_cast<int>(job.x.size());
        }
        m_done(job.ticket, figures);
        const auto used = ThreadTime() - started;
        lock.lock();
        m_restUntil = std::chrono::steady_clock::now() +
                      kRestFactor * std::chrono::duration_cast<std::chrono::steady_clock::duration>(used);
        m_busy = false;
        m_idle.notify_all();
    }
    m_busy = false;
    m_idle.notify_all();
}
