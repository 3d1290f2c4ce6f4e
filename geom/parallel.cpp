#include "geom/parallel.h"

#include <tbb/blocked_range.h>
#include <tbb/global_control.h>
#include <tbb/parallel_for.h>
#include <tbb/parallel_invoke.h>
#include <tbb/partitioner.h>
#include <tbb/task_arena.h>

#include <exception>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace vek {

namespace {

std::mutex g_limitMutex;
int g_limit = 0;
std::unique_ptr<tbb::global_control> g_control;

int HardwareThreads()
{
    const unsigned count = std::thread::hardware_concurrency();
    return count < 1 ? 1 : static_cast<int>(count);
}

}  // namespace

void SetThreadLimit(int threads)
{
    const std::lock_guard<std::mutex> lock(g_limitMutex);
    g_control.reset();
    g_limit = threads < 1 ? 0 : threads;
    if (g_limit > 0)
        g_control = std::make_unique<tbb::global_control>(tbb::global_control::max_allowed_parallelism,
                                                          static_cast<size_t>(g_limit));
}

int ThreadLimit()
{
    const std::lock_guard<std::mutex> lock(g_limitMutex);
    return g_limit > 0 ? g_limit : HardwareThreads();
}

void ForEachBlockOf(int count, int grain, void (*body)(const void*, int, int, int), const void* context)
{
    const int blocks = BlockCount(count, grain);
    tbb::parallel_for(
        tbb::blocked_range<int>(0, blocks, 1),
        [&](const tbb::blocked_range<int>& range) {
            for (int b = range.begin(); b < range.end(); ++b) {
                const int first = b * grain;
                body(context, first, first + grain < count ? first + grain : count, b);
            }
        },
        tbb::simple_partitioner());
}

struct ThreadTeam::Arena {
    explicit Arena(int threads) : arena(threads) {}
    tbb::task_arena arena;
};

ThreadTeam::ThreadTeam(int threads) : m_threads(threads < 1 ? 1 : threads)
{
    if (m_threads > 1)
        m_arena = std::make_unique<Arena>(m_threads);
}

ThreadTeam::~ThreadTeam() = default;

void ThreadTeam::RunPartsOf(int parts, void (*job)(const void*, int, int), const void* context) const
{
    if (parts <= 1 || !m_arena) {
        for (int part = 0; part < parts; ++part)
            job(context, part, parts);
        return;
    }
    // One task per part: the parts are the unit of the work's split, so the
    // results do not depend on which thread runs which part.
    m_arena->arena.execute([&] {
        tbb::parallel_for(
            tbb::blocked_range<int>(0, parts, 1),
            [&](const tbb::blocked_range<int>& range) {
                for (int part = range.begin(); part < range.end(); ++part)
                    job(context, part, parts);
            },
            tbb::simple_partitioner());
    });
}

void RunOnCallingThreadOf(void (*job)(const void*), const void* context)
{
    // An arena of one slot, kept for the caller: no worker joins it.
    tbb::task_arena alone(1, 1);
    alone.execute([&] { job(context); });
}

void RunBothOf(void (*job)(const void*, int), const void* context)
{
    tbb::parallel_invoke([&] { job(context, 0); }, [&] { job(context, 1); });
}

void RunSideBySideOf(void (*job)(const void*, int), const void* context)
{
    if (ThreadLimit() < 2) {
        job(context, 0);
        job(context, 1);
        return;
    }
    std::thread other;
    try {
        other = std::thread([job, context] { job(context, 1); });
    } catch (const std::system_error&) {
    }
    // The other thread is joined whatever job(0) does.
    std::exception_ptr failure;
    try {
        job(context, 0);
    } catch (...) {
        failure = std::current_exception();
    }
    if (other.joinable())
        other.join();
    if (failure)
        std::rethrow_exception(failure);
}

}  // namespace vek
