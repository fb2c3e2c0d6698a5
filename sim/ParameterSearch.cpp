#include "sim/ParameterSearch.h"

#include <fmt/format.h>

#include <algorithm>
#include <chrono>
#include <limits>
#include <vector>

#include "platform/IniProfile.h"
#include "sim/BlockScheduler.h"

namespace {

constexpr const char* kSection = "Record";
// A row moving down a rank is read back with room for 49 characters (a buffer of 50 with its
// terminator); anything longer is cut there.
constexpr std::size_t kRowBuffer = 50;
// Shoes in one block of grid points. The points are handed to the workers a block at a time, and
// the results of a block wait in memory only until the blocks before it are ranked.
constexpr std::int64_t kBlockShoes = 1024;
// While the search runs the ranking file is rewritten at most this often; once more at the end.
constexpr std::chrono::milliseconds kFlushPeriod{500};

std::string Decimal(unsigned __int128 value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

// The ranking file's text as the search has written it so far. Until the search has tested every
// point, the value of the range comment says how far it got, so that a file left by a search
// that was cancelled or killed never passes for a complete one; at the end the value is empty.
class CRankingFile {
public:
    CRankingFile(std::filesystem::path path, std::string comment, SearchResult& result)
        : m_path(std::move(path)), m_strComment(std::move(comment)), m_result(result) {}

    void Set(const std::string& key, const std::string& value) {
        m_profile.Set(kSection, key, value);
        m_dirty = true;
    }
    void SetProgress(std::int64_t done, std::int64_t points) {
        Set(m_strComment,
            done < points ? fmt::format("未完成：已测试 {} 组，共 {} 组", done, points) : "");
    }
    // Writes the file if anything changed since the last write and, unless `now`, the last write
    // is kFlushPeriod old. Remembers the first failure.
    void Flush(bool now) {
        const auto time = std::chrono::steady_clock::now();
        if (!m_dirty || (!now && time - m_lastWrite < kFlushPeriod)) return;
        m_dirty = false;
        m_lastWrite = time;
        const FileResult written = m_profile.Save(m_path);
        if (!written && m_result.fileError.ok()) m_result.fileError = written;
    }

private:
    std::filesystem::path m_path;
    std::string m_strComment;
    SearchResult& m_result;
    IniProfile m_profile;
    bool m_dirty = false;
    std::chrono::steady_clock::time_point m_lastWrite;
};

}  // namespace

float SearchAverage(std::int64_t totalWin, std::int64_t runs, std::int64_t shoes) {
    return static_cast<float>(static_cast<double>(totalWin) /
                              (static_cast<double>(runs) * static_cast<double>(shoes)));
}

float SearchYield(float average, std::int32_t loss) {
    // A stop-loss of 0 ends every shoe at once, so its average is 0: no yield, rather than 0/0.
    if (loss == 0) return 0.0f;
    return static_cast<float>(static_cast<double>(average) * 100.0 / loss);
}

int CRanking::Offer(std::int32_t win, std::int32_t loss, float average, float yield,
                    std::int64_t firstLossRun) {
    if (firstLossRun != 0) return 0;
    int rank = 0;
    for (int r = 1; r <= kRows; ++r) {
        if (yield > m_yield[r - 1]) {
            rank = r;
            break;
        }
    }
    if (rank == 0) return 0;
    for (int r = kRows - 1; r >= rank; --r) {
        if (m_rows[r - 1]) m_rows[r] = TruncateToBuffer(*m_rows[r - 1], kRowBuffer);
        m_yield[r] = m_yield[r - 1];
    }
    m_yield[rank - 1] = yield;
    m_rows[rank - 1] =
        fmt::format("{}\t{}\t{:.2f}\t{:.2f}\t{}", win, loss, average, yield, firstLossRun);
    return rank;
}

SearchEstimate EstimateSearch(const SearchOptions& o, double secondsPerShoe) {
    SearchEstimate e;
    const std::int64_t winValues = 2 * static_cast<std::int64_t>(o.winRadius) + 1;
    const std::int64_t lossValues = 2 * static_cast<std::int64_t>(o.lossRadius) + 1;
    // With the largest radii and counts these products pass 64 bits: the shoe count is shown in
    // full, and a grid beyond 2^63 points (which no search could finish) is cut to that.
    const unsigned __int128 points =
        (winValues > 0 && lossValues > 0)
            ? static_cast<unsigned __int128>(winValues) * static_cast<std::uint64_t>(lossValues)
            : 0;
    e.gridPoints = static_cast<std::int64_t>(
        std::min<unsigned __int128>(points, std::numeric_limits<std::int64_t>::max()));
    const unsigned __int128 shoes =
        (o.runs > 0 && o.shoes > 0)
            ? points * static_cast<std::uint64_t>(o.runs) * static_cast<std::uint64_t>(o.shoes)
            : 0;
    e.shoes = Decimal(shoes);
    e.minutes = static_cast<float>(static_cast<double>(o.runs) * static_cast<double>(o.shoes) *
                                   secondsPerShoe * static_cast<double>(winValues) *
                                   static_cast<double>(lossValues) / 60.0);
    if (e.gridPoints == 0) e.minutes = 0;
    return e;
}

std::filesystem::path RankingFilePath(const SearchOptions& o) {
    const std::string name = fmt::format("最优参数记录表_{}_{}.ini", o.loss, o.win);
    return o.folder / std::filesystem::path(std::u8string(name.begin(), name.end()));
}

SearchResult RunSearch(const ShoeSettings& base, const SearchOptions& o,
                       const SearchProgress& progress) {
    SearchResult result;
    result.file = RankingFilePath(o);
    result.gridPoints = EstimateSearch(o).gridPoints;

    // Start afresh: the old file goes, then the range comment and the column heads.
    (void)RemoveFile(result.file);
    CRankingFile file(
        result.file,
        fmt::format("本次测试范围为：盈利点 {} ± {} 和 止损点 {} ± {}， 测试了 {}次 {}靴", o.win,
                    o.winRadius, o.loss, o.lossRadius, o.runs, o.shoes),
        result);
    file.SetProgress(0, result.gridPoints);
    file.Set("0", "盈利点\t止损点\t平均每靴赢\t收益率％\t开始输的次数");
    file.Flush(true);

    const std::int64_t winValues = 2 * static_cast<std::int64_t>(o.winRadius) + 1;
    auto pointWin = [&](std::int64_t p) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(o.win) - o.winRadius +
                                         p % winValues);
    };
    auto pointLoss = [&](std::int64_t p) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(o.loss) + o.lossRadius -
                                         p / winValues);
    };

    // Blocks of about kBlockShoes shoes; a point with more shoes than that is a block of its own.
    const std::int64_t shoesPerPoint =
        (o.runs > 0 && o.shoes > 0)
            ? (o.runs > kBlockShoes / o.shoes ? kBlockShoes : o.runs * o.shoes)
            : 1;
    const std::int64_t pointsPerBlock = std::max<std::int64_t>(1, kBlockShoes / shoesPerPoint);
    const std::int64_t blocks =
        result.gridPoints == 0 ? 0 : (result.gridPoints - 1) / pointsPerBlock + 1;
    CBlockScheduler scheduler(blocks, CBlockScheduler::WorkerCount(o.threads));
    std::vector<std::vector<RandomTestResult>> slots(scheduler.Window());
    const RandomTestOptions test{o.runs, o.shoes, o.seed, 1, o.game};
    auto pointsIn = [&](std::int64_t block) {
        return std::min(pointsPerBlock, result.gridPoints - block * pointsPerBlock);
    };

    CRanking ranking;
    scheduler.Run(
        // Tests the points of the block on a copy of the settings of its own.
        [&](std::int64_t block) {
            std::vector<RandomTestResult>& tests = slots[scheduler.Slot(block)];
            tests.assign(static_cast<std::size_t>(pointsIn(block)), {});
            const std::function<bool()> abandoned = [&] { return scheduler.Abandoned(block); };
            ShoeSettings settings = base;
            for (std::size_t i = 0; i < tests.size() && !abandoned(); ++i) {
                const std::int64_t p = block * pointsPerBlock + static_cast<std::int64_t>(i);
                settings.m_nWinStopMoney = pointWin(p);
                settings.m_nLossStopMoney = pointLoss(p);
                tests[i] = RunRandomTestSequential(settings, test, abandoned);
            }
        },
        // Ranks them in grid order, so the file is what a one-point-at-a-time search writes.
        [&](std::int64_t block) {
            const std::vector<RandomTestResult>& tests = slots[scheduler.Slot(block)];
            for (std::size_t i = 0; i < tests.size(); ++i) {
                const std::int64_t p = block * pointsPerBlock + static_cast<std::int64_t>(i);
                const RandomTestResult& t = tests[i];
                const std::int32_t win = pointWin(p), loss = pointLoss(p);
                const float average = SearchAverage(t.totalWin, o.runs, o.shoes);
                const float yield = SearchYield(average, loss);
                const int rank = t.shoesPlayed > 0
                                     ? ranking.Offer(win, loss, average, yield, t.firstLossRun)
                                     : 0;
                if (rank == 0) continue;
                for (int r = rank; r <= CRanking::kRows; ++r) {
                    if (ranking.Row(r)) file.Set(std::to_string(r), *ranking.Row(r));
                }
                if (rank == 1) {
                    result.bestWin = win;
                    result.bestLoss = loss;
                    result.bestAverage = average;
                }
            }
            result.pointsDone += static_cast<std::int64_t>(tests.size());
            result.lastWin = pointWin(result.pointsDone - 1);
            result.lastLoss = pointLoss(result.pointsDone - 1);
            result.lastTest = tests.back();
            file.SetProgress(result.pointsDone, result.gridPoints);
            file.Flush(false);
            return true;
        },
        [&] {
            return !progress || progress(static_cast<double>(result.pointsDone) /
                                         static_cast<double>(result.gridPoints));
        });
    result.cancelled = result.pointsDone < result.gridPoints;
    result.bestYield = ranking.Threshold(1);
    file.Flush(true);
    return result;
}

std::string SearchQuestionText(const SearchOptions& o, const SearchEstimate& e) {
    return fmt::format(
        "    本次测试的参数为：盈利点{}±{}，止损点{}±{}，\n\n将测试{}次 {}靴，总靴数为 "
        "{}靴，预计耗时{:.2f}分钟。"
        "\n\n    测试结果将保存到“{}”中。\n\n    现在开始测试吗？",
        o.win, o.winRadius, o.loss, o.lossRadius, o.runs, o.shoes, e.shoes, e.minutes,
        RankingFilePath(o).string());
}

std::string SearchReportText(const SearchOptions& o, const SearchResult& r) {
    return fmt::format(
        "以下是本轮对 {} 次  {} 靴的最优测试结果，该结果的准确程度取决于总的测试靴数。\n\n"
        "盈利点:{}\t止损点:{}\t平均每靴赢分{:.2f}\t收益率:{:.2f}",
        o.runs, o.shoes, r.bestWin, r.bestLoss, r.bestAverage, r.bestYield);
}
