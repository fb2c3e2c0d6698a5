// What the journal adds to a hand: one append that waits for the disk.
#include <benchmark/benchmark.h>
#include <stdlib.h>

#include <filesystem>
#include <string>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "history/Journal.h"
#include "history/LiveShoe.h"

namespace {

// A fresh folder under the temporary folder (TMPDIR picks the disk), removed at the end.
class BenchFolder {
public:
    BenchFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "nuv-bench-XXXXXX").string();
        if (::mkdtemp(pattern.data())) m_path = pattern;
    }
    ~BenchFolder() {
        std::error_code ec;
        std::filesystem::remove_all(m_path, ec);
    }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// One letter appended and on the disk.
void BM_JournalAppend(benchmark::State& state) {
    BenchFolder folder;
    CShoeJournal journal;
    if (!journal.Open(folder.path() / "shoe.journal")) {
        state.SkipWithError("cannot open the journal");
        return;
    }
    int appended = 0;
    for (auto _ : state) {
        if (!journal.Append("Z")) {
            state.SkipWithError("append failed");
            break;
        }
        if (++appended == CShoeEngine::kHands) {
            state.PauseTiming();
            (void)journal.Rewrite("");
            appended = 0;
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_JournalAppend)->Unit(benchmark::kMicrosecond);

// A hand as the window enters it: the pipeline, then the journal. The clear after each shoe (its
// history row) is left out of the time.
void BM_HandWithJournal(benchmark::State& state) {
    BenchFolder folder;
    CLiveShoe live(folder.path());
    if (!live.Open()) {
        state.SkipWithError("cannot open the journal");
        return;
    }
    const ShoeSettings settings;
    CShoeEngine shoe(settings);
    shoe.ResetShoe();
    unsigned pick = 1;
    for (auto _ : state) {
        pick = pick * 1103515245u + 12345u;
        const int side = (pick >> 16) & 1 ? SIDE_BANKER : SIDE_PLAYER;
        if (shoe.RecordHand(side)) (void)live.HandEntered(shoe, side);
        if (shoe.IsShoeOver()) {
            state.PauseTiming();
            (void)live.Leaving(shoe);
            shoe.ResetShoe();
            state.ResumeTiming();
        }
    }
}
BENCHMARK(BM_HandWithJournal)->Unit(benchmark::kMicrosecond);

}  // namespace
