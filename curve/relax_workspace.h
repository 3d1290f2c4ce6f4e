// CRelaxWorkspace: the reusable state of RelaxStepFast, that is the buffers
// sized to the curve and the threads that share a step's work (a team of
// the workspace's thread count). One workspace serves one
// run; several may exist at once (nested runs). A workspace is used by one
// calling thread at a time.
#pragma once

#include <memory>
#include <vector>

#include "curve/capsule_tree.h"
#include "geom/parallel.h"

class CRelaxWorkspace {
public:
    // The process's thread limit (vek::ThreadLimit: the hardware's thread
    // count unless the program chose another).
    CRelaxWorkspace();
    // `threads` threads in all, the caller's included (clamped to at least 1).
    explicit CRelaxWorkspace(int threads);
    ~CRelaxWorkspace();
    CRelaxWorkspace(const CRelaxWorkspace&) = delete;
    CRelaxWorkspace& operator=(const CRelaxWorkspace&) = delete;

    // Changes the thread count (the caller's thread included; values below 1
    // act as 1).
    void SetThreadCount(int threads);
    int GetThreadCount() const { return m_nThreads; }

    // Curves with fewer points than this run on the calling thread only,
    // where sharing the work would cost more than it saves.
    void SetParallelThreshold(int points) { m_nParallelThreshold = points < 0 ? 0 : points; }
    int GetParallelThreshold() const { return m_nParallelThreshold; }

    // The point count from which threads pay on a tight knot (measured).
    static constexpr int kDefaultParallelThreshold = 500;

    // The most leaves of the hierarchy (runs of 8 points) that a group of
    // points collects before its points search the hierarchy one by one:
    // more means points piled up in a small space. A small value lets tests
    // reach that path on ordinary curves.
    void SetGroupLeafLimit(int leaves) { m_nGroupLeafLimit = leaves < 1 ? 1 : leaves; }
    int GetGroupLeafLimit() const { return m_nGroupLeafLimit; }
    static constexpr int kDefaultGroupLeafLimit = 1024;

    // In:  job(part, parts) for part = 0 ... parts - 1, parts <= the thread
    //      count; each part writes only its own share of the results.
    // Out: every part has run, on the workspace's threads, when it returns.
    template <class Job>
    void RunParts(int parts, const Job& job)
    {
        m_team->RunParts(parts, job);
    }

    // Buffers of the step, reused while the point count stays the same.
    std::vector<double> segment;    // n segment lengths, |P[k+1] - P[k]|
    std::vector<double> prefix;     // 2n prefix sums of the lengths, twice round the curve
    std::vector<CapsuleNode> nodes;  // 2 * leaves rounded up to a power of 2
    std::vector<double> partStats;  // per part: bounding box, largest |coordinate|, finiteness
    std::vector<int> leafLists;     // per part: the leaves a group of points searches

private:
    int m_nThreads = 1;
    int m_nParallelThreshold = kDefaultParallelThreshold;
    int m_nGroupLeafLimit = kDefaultGroupLeafLimit;
    std::unique_ptr<vek::ThreadTeam> m_team;
};
