// The parallel helper: blocks cover every index once, parts run once each
// on any team, and two side-by-side jobs, or both parts of one piece of
// work, run.
#include "geom/parallel.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <stdexcept>
#include <vector>

namespace {

TEST(ForEachBlock, CoversEveryIndexOnceInFixedBlocks)
{
    for (const int count : {0, 1, 511, 512, 513, 5000}) {
        SCOPED_TRACE(count);
        constexpr int kGrain = 512;
        std::vector<std::atomic<int>> seen(static_cast<size_t>(count));
        std::vector<int> blockOf(static_cast<size_t>(count), -1);
        vek::ForEachBlock(count, kGrain, [&](int first, int last, int block) {
            for (int i = first; i < last; ++i) {
                ++seen[static_cast<size_t>(i)];
                blockOf[static_cast<size_t>(i)] = block;
            }
        });
        for (int i = 0; i < count; ++i) {
            EXPECT_EQ(seen[static_cast<size_t>(i)].load(), 1) << i;
            EXPECT_EQ(blockOf[static_cast<size_t>(i)], i / kGrain) << i;
        }
        EXPECT_EQ(vek::BlockCount(count, kGrain), (count + kGrain - 1) / kGrain);
    }
}

TEST(ThreadTeam, RunsEveryPartOnceWhateverItsSize)
{
    for (const int threads : {0, 1, 2, 4}) {
        const vek::ThreadTeam team(threads);
        EXPECT_EQ(team.Threads(), threads < 1 ? 1 : threads);
        for (int parts = 0; parts <= team.Threads(); ++parts) {
            std::vector<int> ran(static_cast<size_t>(parts), 0);
            team.RunParts(parts, [&](int part, int count) {
                EXPECT_EQ(count, parts);
                ++ran[static_cast<size_t>(part)];
            });
            for (int part = 0; part < parts; ++part)
                EXPECT_EQ(ran[static_cast<size_t>(part)], 1) << threads << " threads, part " << part;
        }
    }
}

TEST(RunSideBySide, RunsBothJobsAndPassesTheFirstOnesFailureOnAfterTheSecondEnds)
{
    std::atomic<int> ran{0};
    std::atomic<bool> secondDone{false};
    vek::RunSideBySide([&](int which) {
        ran += which == 0 ? 1 : 10;
        if (which == 1)
            secondDone = true;
    });
    EXPECT_EQ(ran.load(), 11);
    EXPECT_TRUE(secondDone.load());

    secondDone = false;
    EXPECT_THROW(vek::RunSideBySide([&](int which) {
                     if (which == 0)
                         throw std::runtime_error("first failed");
                     secondDone = true;
                 }),
                 std::runtime_error);
    EXPECT_TRUE(secondDone.load());
}

class RunBothAtLimit : public ::testing::TestWithParam<int> {};

TEST_P(RunBothAtLimit, RunsBothPartsWithTheirBlocksOnceAndPassesAFailureOn)
{
    vek::SetThreadLimit(GetParam());
    std::vector<int> covered(5000, 0);
    std::atomic<int> ran{0};
    vek::RunBoth([&](int part) {
        ran += part == 0 ? 1 : 10;
        // Each part shares out its own half by blocks.
        vek::ForEachBlock(2500, 64, [&](int first, int last, int) {
            for (int k = first; k < last; ++k)
                ++covered[static_cast<size_t>(part * 2500 + k)];
        });
    });
    EXPECT_EQ(ran.load(), 11);
    EXPECT_EQ(std::count(covered.begin(), covered.end(), 1), 5000);
    EXPECT_THROW(vek::RunBoth([&](int part) {
                     if (part == 1)
                         throw std::runtime_error("second failed");
                 }),
                 std::runtime_error);
    vek::SetThreadLimit(0);
}

INSTANTIATE_TEST_SUITE_P(Threads, RunBothAtLimit, ::testing::Values(1, 2));

}  // namespace
