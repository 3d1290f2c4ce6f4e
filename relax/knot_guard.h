// The guard of vek-relax against strands passing through each other: the
// knot type checked after every block of iterations, and the last curve
// that still had the starting type kept to fall back on.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "curve/double_array.h"
#include "knot/knot_type.h"

namespace vek {

// --check-knot / --no-check-knot, or neither: check while the curve has
// fewer than kKnotCheckAutoLimit points.
enum class KnotCheck { Auto, On, Off };
inline constexpr int kKnotCheckAutoLimit = 100000;

class KnotGuard {
public:
    // x, y, z: the curve the run relaxes (it must outlive the guard);
    // start: its knot type before the run; keep: stop at a change and go
    // back to the last curve of the starting type (--keep-knot).
    KnotGuard(CDoubleArray& x, CDoubleArray& y, CDoubleArray& z, KnotType start, KnotCheck check, bool keep);
    KnotGuard(const KnotGuard&) = delete;
    KnotGuard& operator=(const KnotGuard&) = delete;

    // Whether the start can be compared with at all: false when its type
    // was not identified or its polynomial could not be evaluated (then no
    // block is checked), or when the check is off.
    bool Active() const { return m_active; }

    // Wraps a block runner (count -> iterations done, as RunUntilSteady
    // takes): after each whole block, when active and (for Auto) the curve
    // has fewer than kKnotCheckAutoLimit points, identifies the knot; a
    // check that cannot identify the curve is skipped, not taken for a
    // change. At the first change the block number is kept; with keep the
    // curve is set back to the last one that passed a check (the start
    // when none has) and this and every later call return 0, so that a run
    // stops as after a refusal. Blocks are counted over every runner the
    // guard wraps, so runs one after another number on.
    std::function<long long(long long)> Wrap(std::function<long long(long long)> runBlock);

    // The block (1, 2, ...) in which the type first changed; 0 for none.
    long long PassageBlock() const { return m_passageBlock; }
    // The iterations before that block: the block covers iterations
    // PassageFirstIteration() + 1 ... + its length.
    long long PassageFirstIteration() const { return m_passageFirstIteration; }
    long long PassageLastIteration() const { return m_passageLastIteration; }
    KnotCheck Mode() const { return m_check; }
    // The type found after the passage.
    const KnotType& PassedTo() const { return m_passedTo; }
    // Stopped by keep; the curve is the kept one, after KeptIterations().
    bool Stopped() const { return m_stopped; }
    long long KeptIterations() const { return m_goodIterations; }
    long long Checks() const { return m_checks; }
    // The type of the curve as it is now when the last block's check
    // identified it (so nobody need identify it again); null otherwise.
    const KnotType* CurrentType() const { return m_currentKnown ? &m_current : nullptr; }

private:
    void Check();

    CDoubleArray& m_x;
    CDoubleArray& m_y;
    CDoubleArray& m_z;
    KnotType m_start;
    KnotCheck m_check;
    bool m_keep;
    bool m_active;
    // The last curve that passed a check (kept only with keep).
    std::vector<double> m_goodX, m_goodY, m_goodZ;
    long long m_goodIterations = 0;
    long long m_iterations = 0;
    long long m_block = 0;
    long long m_blockFirstIteration = 0;
    long long m_checks = 0;
    long long m_passageBlock = 0;
    long long m_passageFirstIteration = 0;
    long long m_passageLastIteration = 0;
    KnotType m_passedTo;
    KnotType m_current;
    bool m_currentKnown = false;
    bool m_stopped = false;
};

// Runs `iterations` iterations as blocks of kRunPeriod (the last one
// shorter) through runBlock; stops at a block that did fewer than asked.
// Returns the iterations done.
long long RunBlocks(long long iterations, const std::function<long long(long long)>& runBlock);

// The summary line of the guard: "knot check: ..." with the block of a
// passage, "none found in N checks", or why it did not check.
std::string KnotGuardText(const KnotGuard& guard);

}  // namespace vek
