#pragma once

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <functional>
#include <mutex>
#include <vector>

// Plays numbered blocks of work on worker threads and hands them on in block order.
//
// Workers take the blocks in order, but none starts more than Window() blocks ahead of the
// oldest block not yet merged: the results in flight need Window() slots (block b uses slot
// Slot(b)), whatever the amount of work and however uneven the blocks. The calling thread merges
// each finished block in block order and, after each merge and at least every kPollPeriod, asks
// whether to go on; so the work stops within one block of a stop found in it or of a cancel, and
// a cancel asked after block b was merged keeps exactly the blocks up to b.
class CBlockScheduler {
public:
    static constexpr std::chrono::milliseconds kPollPeriod{20};
    static constexpr int kMaxWorkers = 1024;  // the most worker threads a scheduler starts

    // The worker threads for a request: `requested` (at most kMaxWorkers), or one per core for 0.
    static int WorkerCount(int requested);

    // `blocks` blocks on `workers` threads: at least one, and no more than there are blocks.
    // Run it once.
    CBlockScheduler(std::int64_t blocks, int workers);
    CBlockScheduler(const CBlockScheduler&) = delete;
    CBlockScheduler& operator=(const CBlockScheduler&) = delete;

    int Workers() const { return m_nWorkers; }
    std::size_t Window() const { return m_finished.size(); }
    std::size_t Slot(std::int64_t block) const {
        return static_cast<std::size_t>(block) % m_finished.size();
    }

    // For the work of a block, between its steps (it is cheap): true once the block is no longer
    // wanted, because an earlier block ended the work or it was cancelled. The work should then
    // return at once; it will not be merged.
    bool Abandoned(std::int64_t block) const {
        return block > m_last.load(std::memory_order_relaxed);
    }
    // For the work of a block: nothing after `block` is wanted (the work ends in it). The blocks
    // before it are still played and merged.
    void EndAfter(std::int64_t block);

    // Plays every block with `play(block)` on the workers and merges each with `merge(block)` on
    // the calling thread, in block order; `merge` returns false to end the work with that block.
    // `goOn()` is asked on the calling thread after every merge but the last, and every
    // kPollPeriod while none comes; false cancels, and no block after the last one merged is
    // merged. Returns the number of blocks merged. An exception thrown by `play` or `merge` ends
    // the work and is thrown again here once every worker has stopped.
    std::int64_t Run(const std::function<void(std::int64_t block)>& play,
                     const std::function<bool(std::int64_t block)>& merge,
                     const std::function<bool()>& goOn);

private:
    void Work(const std::function<void(std::int64_t)>& play);
    void Fail(std::exception_ptr failure);

    const std::int64_t m_nBlocks;
    const int m_nWorkers;
    std::atomic<std::int64_t> m_last;  // the last block still wanted

    std::mutex m_mutex;
    std::condition_variable m_workerWait;  // a block can be taken, or the work ended
    std::condition_variable m_mergeWait;   // the next block to merge finished, or a failure
    std::int64_t m_nNext = 0;              // the next block to hand out
    std::int64_t m_nMerged = 0;            // blocks merged so far
    std::vector<std::int64_t> m_finished;  // per slot: the block finished in it, or -1
    std::exception_ptr m_failure;
};
