// Splitting a loop over 0 ... count - 1 into fixed blocks that run in
// parallel. Block b always covers the same indices, whatever the number of
// threads, so results kept per block and combined in block order are the
// same on every machine and thread count.
#pragma once

#include <tbb/blocked_range.h>
#include <tbb/parallel_for.h>
#include <tbb/partitioner.h>

namespace vek {

// In:  count >= 0 indices, grain >= 1 indices per block.
// Out: the number of blocks of ForEachBlock (0 when count is 0).
inline int BlockCount(int count, int grain)
{
    return count <= 0 ? 0 : 1 + (count - 1) / grain;
}

// In:  count, grain as for BlockCount; body(first, last, block) handles
//      indices first ... last - 1 of block `block`.
// Out: body called once per block, in parallel, blocks in any order.
template <class Body>
void ForEachBlock(int count, int grain, const Body& body)
{
    const int blocks = BlockCount(count, grain);
    tbb::parallel_for(
        tbb::blocked_range<int>(0, blocks, 1),
        [&](const tbb::blocked_range<int>& range) {
            for (int b = range.begin(); b < range.end(); ++b) {
                const int first = b * grain;
                body(first, first + grain < count ? first + grain : count, b);
            }
        },
        tbb::simple_partitioner());
}

}  // namespace vek
