#include "sim/BlockScheduler.h"

#include <algorithm>
#include <system_error>
#include <thread>

int CBlockScheduler::WorkerCount(int requested) {
    if (requested > 0) return std::min(requested, kMaxWorkers);
    const unsigned cores = std::thread::hardware_concurrency();
    return static_cast<int>(std::clamp<unsigned>(cores, 1, kMaxWorkers));
}

CBlockScheduler::CBlockScheduler(std::int64_t blocks, int workers)
    : m_nBlocks(std::max<std::int64_t>(blocks, 0)),
      m_nWorkers(static_cast<int>(
          std::clamp<std::int64_t>(workers, 1, std::max<std::int64_t>(m_nBlocks, 1)))),
      m_last(m_nBlocks - 1),
      // Two blocks per worker: a worker that finishes early goes on while the oldest block is
      // still being played.
      m_finished(
          static_cast<std::size_t>(std::min<std::int64_t>(2 * static_cast<std::int64_t>(m_nWorkers),
                                                          std::max<std::int64_t>(m_nBlocks, 1))),
          -1) {}

void CBlockScheduler::EndAfter(std::int64_t block) {
    {
        const std::lock_guard lock(m_mutex);
        if (block < m_last.load(std::memory_order_relaxed)) {
            m_last.store(block, std::memory_order_relaxed);
        }
    }
    m_workerWait.notify_all();
    m_mergeWait.notify_all();
}

void CBlockScheduler::Fail(std::exception_ptr failure) {
    {
        const std::lock_guard lock(m_mutex);
        if (!m_failure) m_failure = std::move(failure);
    }
    EndAfter(-1);
}

void CBlockScheduler::Work(const std::function<void(std::int64_t)>& play) {
    const auto window = static_cast<std::int64_t>(Window());
    for (;;) {
        std::int64_t block = 0;
        {
            std::unique_lock lock(m_mutex);
            m_workerWait.wait(lock, [&] {
                return m_nNext >= m_nBlocks || Abandoned(m_nNext) || m_nNext < m_nMerged + window;
            });
            if (m_nNext >= m_nBlocks || Abandoned(m_nNext)) return;
            block = m_nNext++;
        }
        try {
            play(block);
        } catch (...) {
            Fail(std::current_exception());
            return;
        }
        {
            const std::lock_guard lock(m_mutex);
            m_finished[Slot(block)] = block;
        }
        m_mergeWait.notify_one();
    }
}

std::int64_t CBlockScheduler::Run(const std::function<void(std::int64_t)>& play,
                                  const std::function<bool(std::int64_t)>& merge,
                                  const std::function<bool()>& goOn) {
    if (m_nBlocks == 0) return 0;
    {
        std::vector<std::jthread> threads;
        // However the loop below ends, nothing more is wanted once it has; the workers see that
        // before they are joined (the threads are joined after this guard has run).
        struct CEnd {
            CBlockScheduler& scheduler;
            ~CEnd() { scheduler.EndAfter(scheduler.m_nMerged - 1); }
        } end{*this};

        threads.reserve(static_cast<std::size_t>(m_nWorkers));
        for (int i = 0; i < m_nWorkers; ++i) {
            try {
                threads.emplace_back([this, &play] { Work(play); });
            } catch (const std::system_error&) {
                if (threads.empty()) throw;
                break;  // the system gives no more threads: go on with those it gave
            }
        }

        while (m_nMerged < m_nBlocks && !Abandoned(m_nMerged)) {
            bool ready = false;
            {
                std::unique_lock lock(m_mutex);
                m_mergeWait.wait_for(lock, kPollPeriod, [&] {
                    return m_failure || m_finished[Slot(m_nMerged)] == m_nMerged ||
                           Abandoned(m_nMerged);
                });
                if (m_failure) break;
                ready = m_finished[Slot(m_nMerged)] == m_nMerged && !Abandoned(m_nMerged);
            }
            if (ready) {
                // A finished block's slot is not handed out again before the block is merged, so
                // it is read without the lock.
                const std::int64_t block = m_nMerged;
                const bool more = merge(block);
                {
                    const std::lock_guard lock(m_mutex);
                    ++m_nMerged;
                }
                m_workerWait.notify_all();
                if (!more) EndAfter(block);
            }
            if (m_nMerged >= m_nBlocks || Abandoned(m_nMerged)) break;
            if (goOn && !goOn()) break;  // the guard abandons every block not merged
        }
    }
    if (m_failure) std::rethrow_exception(m_failure);
    return m_nMerged;
}
