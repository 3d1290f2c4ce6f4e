#include "curve/relax_workspace.h"

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/partitioner.h>
#include <tbb/task_arena.h>

#include <thread>

struct CRelaxWorkspace::Arena {
    explicit Arena(int threads) : arena(threads) {}
    tbb::task_arena arena;
};

CRelaxWorkspace::CRelaxWorkspace() : CRelaxWorkspace(static_cast<int>(std::thread::hardware_concurrency())) {}

CRelaxWorkspace::CRelaxWorkspace(int threads)
{
    SetThreadCount(threads);
}

CRelaxWorkspace::~CRelaxWorkspace() = default;

void CRelaxWorkspace::SetThreadCount(int threads)
{
    if (threads < 1)
        threads = 1;
    if (threads == m_nThreads && (m_arena || threads == 1))
        return;
    m_nThreads = threads;
    m_arena.reset();
    if (threads > 1)
        m_arena = std::make_unique<Arena>(threads);
}

void CRelaxWorkspace::RunPartsOf(int parts, void (*job)(const void*, int, int), const void* context)
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
