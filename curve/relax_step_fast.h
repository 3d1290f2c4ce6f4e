// RelaxStepFast: the relaxation iteration of RelaxStep, computed in close to
// linear time and on several threads, with results equal to RelaxStep's to
// the last bit for every input.
//
// How it stays identical:
//   - every segment length is computed once, with RelaxStep's expression;
//   - a window end is read off prefix sums of those lengths only where an
//     error bound proves that RelaxStep's own sequential sum, started at the
//     point, lands on the same side of the window length; otherwise the
//     window is walked exactly as RelaxStep walks it;
//   - the nearest-candidate search only looks for candidates whose distance
//     lies below the thickness (a farther one never pushes), through a
//     hierarchy of bounding capsules over runs of consecutive points; runs
//     inside the exclusion windows are skipped whole, and a run is dropped
//     only when a bound with a wide safety margin proves that none of its
//     points can come as close as the best one found; the 8 points of a
//     leaf walk the hierarchy together and then search the leaves they
//     collected; among equal squared distances the lowest index wins, as in
//     the index-order scan;
//   - whether a point has a candidate at all follows from the window counts
//     (fwd + bwd <= n), once the extent of the curve shows that no squared
//     distance can overflow;
//   - the recentring sums run in index order on one thread.
// Curves the bounds do not cover (a coordinate that is infinite or not a
// number, a curve so large that squared distances overflow, a thickness or
// window that is not finite) go to RelaxStep itself.
#pragma once

#include <atomic>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <thread>
#include <vector>

#include "curve/double_array.h"

// The reusable state of RelaxStepFast: buffers sized to the curve and a small
// pool of worker threads that live as long as the workspace. One workspace
// serves one run; several may exist at once (nested runs), each with its own
// threads. A workspace is used by one calling thread at a time.
class CRelaxWorkspace {
public:
    // The hardware's thread count (at least 1).
    CRelaxWorkspace();
    // `threads` threads in all, the caller's included (clamped to at least 1).
    explicit CRelaxWorkspace(int threads);
    ~CRelaxWorkspace();
    CRelaxWorkspace(const CRelaxWorkspace&) = delete;
    CRelaxWorkspace& operator=(const CRelaxWorkspace&) = delete;

    // Changes the thread count (the caller's thread included; values below 1
    // act as 1). Stops and joins the old workers, starts the new ones.
    void SetThreadCount(int threads);
    int GetThreadCount() const { return m_nThreads; }

    // Curves with fewer points than this run on the calling thread only,
    // where waking the workers would cost more than it saves.
    void SetParallelThreshold(int points) { m_nParallelThreshold = points < 0 ? 0 : points; }
    int GetParallelThreshold() const { return m_nParallelThreshold; }

    // The point count from which threads pay on a tight knot (measured).
    static constexpr int kDefaultParallelThreshold = 500;

    // The most leaves of the hierarchy (runs of 8 points) that a group of
    // points collects before its points search the hierarchy one by one:
    // more means points piled up in a small space. A small value lets tests
    // reach that path on ordinary curves.
    void SetGroupLeafLimit(int leaves) { m_nGroupLeafLimit = leaves < 1 ? 1 : leaves; }
    static constexpr int kDefaultGroupLeafLimit = 1024;

    // One node of the capsule hierarchy: the points first ... last (indices)
    // lie within r of the segment from A to A + U (or of A alone when inv,
    // 1 / |U|^2, is 0).
    struct SNode {
        double ax, ay, az;
        double ux, uy, uz;
        double inv;
        double r;
        int first, last;
    };

private:
    friend void RelaxStepFast(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double window,
                              CDoubleArray& nx, CDoubleArray& ny, CDoubleArray& nz, CRelaxWorkspace& workspace);

    using Job = void (*)(void* context, int part, int parts);

    // Runs job(context, part, parts) for part = 0 ... parts - 1, part 0 on
    // the calling thread, and returns when all are done. parts <= threads.
    void Run(Job job, void* context, int parts);
    void StartWorkers();
    void StopWorkers();
    void WorkerLoop(int part, std::uint64_t seen);

    int m_nThreads = 1;
    int m_nParallelThreshold = kDefaultParallelThreshold;
    int m_nGroupLeafLimit = kDefaultGroupLeafLimit;

    std::vector<std::thread> m_workers;
    std::mutex m_mutex;
    std::condition_variable m_cvStart;
    std::condition_variable m_cvDone;
    // Written under m_mutex, read without it while spinning.
    std::atomic<std::uint64_t> m_nGeneration{0};
    std::atomic<int> m_nPending{0};
    std::atomic<bool> m_bStop{false};
    Job m_job = nullptr;
    void* m_pContext = nullptr;
    int m_nParts = 0;

    // Buffers of the step, reused while the point count stays the same.
    std::vector<double> m_arrSegment;    // n segment lengths, |P[k+1] - P[k]|
    std::vector<double> m_arrPrefix;     // 2n prefix sums of the lengths, twice round the curve
    std::vector<SNode> m_arrNodes;       // 2 * leaves rounded up to a power of 2
    std::vector<double> m_arrPartStats;  // per part: bounding box, largest |coordinate|, finiteness
    std::vector<int> m_arrLeafLists;     // per part: the leaves a group of points searches
};

// One relaxation iteration, equal bit for bit to RelaxStep with the same
// arguments (see curve/relax_step.h for the rule):
//   x, y, z     in/out: the n curve points in model units; replaced by the
//               new, recentred points, n unchanged (n = 0 allowed).
//   thickness   the tube thickness T; pushes act below it.
//   window      the exclusion window length L along the curve.
//   nx, ny, nz  set to size n; afterwards they hold the new points before
//               recentring, as RelaxStep leaves them.
//   workspace   buffers and threads; the result does not depend on its
//               thread count. Once n is stable, a step allocates nothing.
void RelaxStepFast(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, double thickness, double window,
                   CDoubleArray& nx, CDoubleArray& ny, CDoubleArray& nz, CRelaxWorkspace& workspace);
