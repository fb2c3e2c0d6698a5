#include <gtest/gtest.h>

#include <atomic>
#include <stdexcept>
#include <vector>

#include "sim/BlockScheduler.h"

namespace {

TEST(BlockScheduler, SizesItsWorkersAndWindow) {
    EXPECT_EQ(CBlockScheduler(100, 0).Workers(), 1);
    EXPECT_EQ(CBlockScheduler(3, 8).Workers(), 3);
    EXPECT_EQ(CBlockScheduler(3, 8).Window(), 3u);
    EXPECT_EQ(CBlockScheduler(100, 8).Window(), 16u);
    EXPECT_EQ(CBlockScheduler::WorkerCount(5000), CBlockScheduler::kMaxWorkers);
    EXPECT_GE(CBlockScheduler::WorkerCount(0), 1);
    CBlockScheduler none(0, 4);
    EXPECT_EQ(none.Run([](std::int64_t) { FAIL(); }, [](std::int64_t) { return true; }, {}), 0);
}

// Every block is merged once, in order, on the calling thread; no block starts more than the
// window ahead of the oldest one not merged.
TEST(BlockScheduler, MergesInOrderWithinTheWindow) {
    for (const int workers : {1, 3, 8}) {
        SCOPED_TRACE(workers);
        constexpr std::int64_t kBlocks = 500;
        CBlockScheduler scheduler(kBlocks, workers);
        std::atomic<std::int64_t> merged{0};
        std::atomic<std::int64_t> furthestAhead{0};
        std::vector<std::int64_t> slots(scheduler.Window(), -1);
        std::vector<std::int64_t> order;
        const std::int64_t done = scheduler.Run(
            [&](std::int64_t block) {
                const std::int64_t ahead = block - merged.load();
                std::int64_t seen = furthestAhead.load();
                while (ahead > seen && !furthestAhead.compare_exchange_weak(seen, ahead)) {
                }
                slots[scheduler.Slot(block)] = block * block;
            },
            [&](std::int64_t block) {
                EXPECT_EQ(slots[scheduler.Slot(block)], block * block);
                order.push_back(block);
                merged = block + 1;
                return true;
            },
            [] { return true; });
        EXPECT_EQ(done, kBlocks);
        ASSERT_EQ(order.size(), static_cast<std::size_t>(kBlocks));
        for (std::int64_t i = 0; i < kBlocks; ++i) EXPECT_EQ(order[i], i);
        EXPECT_LT(furthestAhead.load(), static_cast<std::int64_t>(scheduler.Window()));
    }
}

// A stop found in a block or when merging it, and a cancel, end the work there: nothing after is
// merged, and the blocks before a stop found by a worker still are.
TEST(BlockScheduler, EndsAtAStopOrACancel) {
    {
        CBlockScheduler scheduler(1000, 4);
        std::vector<std::int64_t> order;
        const std::int64_t done = scheduler.Run(
            [&](std::int64_t block) {
                if (block == 37) scheduler.EndAfter(block);
            },
            [&](std::int64_t block) {
                order.push_back(block);
                return true;
            },
            {});
        EXPECT_EQ(done, 38);
        EXPECT_EQ(order.size(), 38u);
        EXPECT_EQ(order.back(), 37);
    }
    {
        CBlockScheduler scheduler(1000, 4);
        EXPECT_EQ(
            scheduler.Run([](std::int64_t) {}, [](std::int64_t block) { return block != 12; }, {}),
            13);
    }
    {
        // A cancel while a block would go on for ever: it sees that it is abandoned.
        CBlockScheduler scheduler(1000, 2);
        int asked = 0;
        const std::int64_t done = scheduler.Run(
            [&](std::int64_t block) {
                while (block >= 5 && !scheduler.Abandoned(block)) {
                }
            },
            [](std::int64_t) { return true; }, [&] { return ++asked < 3; });
        EXPECT_LE(done, 5);
        EXPECT_EQ(asked, 3);
    }
}

TEST(BlockScheduler, PassesOnAFailure) {
    CBlockScheduler scheduler(1000, 3);
    EXPECT_THROW(scheduler.Run(
                     [](std::int64_t block) {
                         if (block == 40) throw std::runtime_error("block 40");
                     },
                     [](std::int64_t) { return true; }, {}),
                 std::runtime_error);
    CBlockScheduler merging(1000, 3);
    EXPECT_THROW(merging.Run([](std::int64_t) {},
                             [](std::int64_t block) -> bool {
                                 if (block == 3) throw std::runtime_error("merge 3");
                                 return true;
                             },
                             {}),
                 std::runtime_error);
}

}  // namespace
