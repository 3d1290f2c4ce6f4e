// The program's one way of sharing work between threads (oneTBB stays
// behind parallel.cpp):
//   - blocks: a loop over 0 ... count - 1 cut into fixed blocks that run in
//     parallel. Block b always covers the same indices, whatever the number
//     of threads, so results kept per block and combined in block order are
//     the same on every machine and thread count;
//   - parts: a fixed number of parts on a team of a fixed number of threads,
//     each part writing its own share of the results;
//   - side by side: two long jobs at once, each on a thread of its own;
//   - on the calling thread: a job whose blocks all run on the caller's;
//   - both: two jobs of one result at once, on the pool.
// How many threads all of these use at most is the process's thread limit.
#pragma once

#include <memory>

namespace vek {

// In:  threads >= 1: the most threads the program's parallel work uses from
//      now on, the calling thread included; 0: as many as the hardware has.
// Out: blocks and parts run on at most that many threads, and side by side
//      jobs one after the other when it is 1. Results do not change with it
//      (every split is fixed); only the time does.
void SetThreadLimit(int threads);
// The limit in force: the hardware's thread count (at least 1) unless
// SetThreadLimit chose fewer or more.
int ThreadLimit();

// In:  count >= 0 indices, grain >= 1 indices per block.
// Out: the number of blocks of ForEachBlock (0 when count is 0).
inline int BlockCount(int count, int grain)
{
    return count <= 0 ? 0 : 1 + (count - 1) / grain;
}

void ForEachBlockOf(int count, int grain, void (*body)(const void*, int, int, int), const void* context);

// In:  count, grain as for BlockCount; body(first, last, block) handles
//      indices first ... last - 1 of block `block`.
// Out: body called once per block, in parallel, blocks in any order.
template <class Body>
void ForEachBlock(int count, int grain, const Body& body)
{
    ForEachBlockOf(
        count, grain,
        [](const void* context, int first, int last, int block) {
            (*static_cast<const Body*>(context))(first, last, block);
        },
        &body);
}

// A team of threads for parts. One team is used by one calling thread at a
// time; several may exist at once.
class ThreadTeam {
public:
    // `threads` threads in all, the caller's included (clamped to at least 1).
    explicit ThreadTeam(int threads);
    ~ThreadTeam();
    ThreadTeam(const ThreadTeam&) = delete;
    ThreadTeam& operator=(const ThreadTeam&) = delete;

    int Threads() const { return m_threads; }

    // In:  job(part, parts) for part = 0 ... parts - 1, parts <= Threads();
    //      each part writes only its own share of the results.
    // Out: every part has run, on the team's threads, when it returns.
    template <class Job>
    void RunParts(int parts, const Job& job) const
    {
        RunPartsOf(
            parts, [](const void* context, int part, int count) { (*static_cast<const Job*>(context))(part, count); },
            &job);
    }

private:
    void RunPartsOf(int parts, void (*job)(const void*, int, int), const void* context) const;

    int m_threads = 1;
    struct Arena;
    std::unique_ptr<Arena> m_arena;  // none for one thread
};

void RunOnCallingThreadOf(void (*job)(const void*), const void* context);

// In:  job(), work that may share itself out by blocks.
// Out: job has run, its blocks one after the other on the calling thread
//      only. Work of low priority runs so: the pool's threads run at the
//      priority of the process, so blocks handed to them would take their
//      time from the work the priority was lowered for.
template <class Job>
void RunOnCallingThread(const Job& job)
{
    RunOnCallingThreadOf([](const void* context) { (*static_cast<const Job*>(context))(); }, &job);
}

void RunBothOf(void (*job)(const void*, int), const void* context);

// In:  job(0) and job(1), two parts of one piece of work that share nothing
//      but what they only read; each may share itself out by blocks.
// Out: both have run, at once where the pool has a thread free, else one
//      after the other. An exception from either is passed on once neither
//      runs any more (the other may then not have started).
template <class Job>
void RunBoth(const Job& job)
{
    RunBothOf([](const void* context, int which) { (*static_cast<const Job*>(context))(which); }, &job);
}

void RunSideBySideOf(void (*job)(const void*, int), const void* context);

// In:  job(0) and job(1), two jobs that each run long (a time budget of
//      their own, say) and share nothing but what they only read.
// Out: job(1) has run on a thread of its own while job(0) ran on the
//      caller's. Tasks could run one after the other on a busy or a
//      single-core machine, which would leave the second one no time.
//      When no thread can be started, job(1) does not run at all; under a
//      thread limit of 1 it runs after job(0) on the caller's thread. An
//      exception from job(0) is passed on once job(1) has ended; one from
//      job(1) is the job's to catch (it would end the program).
template <class Job>
void RunSideBySide(const Job& job)
{
    RunSideBySideOf([](const void* context, int which) { (*static_cast<const Job*>(context))(which); }, &job);
}

}  // namespace vek
