#include "sim/ParameterSearch.h"

#include <fmt/format.h>

#include <algorithm>
#include <limits>
#include <thread>
#include <vector>

#include "platform/IniProfile.h"

namespace {

constexpr const char* kSection = "Record";
// A row moving down a rank is read back with room for 49 characters (a buffer of 50 with its
// terminator); anything longer is cut there.
constexpr std::size_t kRowBuffer = 50;
// Shoes one worker plays between two progress reports.
constexpr std::int64_t kShoesPerWorkerBlock = 16384;

std::string Decimal(unsigned __int128 value) {
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(value % 10)));
        value /= 10;
    } while (value != 0);
    return digits;
}

int WorkerCount(int requested) {
    if (requested > 0) return requested;
    const unsigned cores = std::thread::hardware_concurrency();
    return cores == 0 ? 1 : static_cast<int>(cores);
}

// Outcome of the random test at one grid point: all the ranking needs.
struct PointTest {
    RandomTestResult test;
};

// The ranking file's text as the search has written it so far.
class CRankingFile {
public:
    CRankingFile(std::filesystem::path path, SearchResult& result)
        : m_path(std::move(path)), m_result(result) {}

    void Set(const std::string& key, const std::string& value) {
        m_profile.Set(kSection, key, value);
        m_dirty = true;
    }
    // Writes the file if anything changed since the last write; remembers the first failure.
    void Flush() {
        if (!m_dirty) return;
        m_dirty = false;
        const FileResult written = m_profile.Save(m_path);
        if (!written && m_result.fileError.ok()) m_result.fileError = written;
    }

private:
    std::filesystem::path m_path;
    SearchResult& m_result;
    IniProfile m_profile;
    bool m_dirty = false;
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
    CRankingFile file(result.file, result);
    file.Set(fmt::format("本次测试范围为：盈利点 {} ± {} 和 止损点 {} ± {}， 测试了 {}次 {}靴",
                         o.win, o.winRadius, o.loss, o.lossRadius, o.runs, o.shoes),
             "");
    file.Set("0", "盈利点\t止损点\t平均每靴赢\t收益率％\t开始输的次数");
    file.Flush();

    const std::int64_t winValues = 2 * static_cast<std::int64_t>(o.winRadius) + 1;
    auto pointWin = [&](std::int64_t p) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(o.win) - o.winRadius +
                                         p % winValues);
    };
    auto pointLoss = [&](std::int64_t p) {
        return static_cast<std::int32_t>(static_cast<std::int64_t>(o.loss) + o.lossRadius -
                                         p / winValues);
    };

    const int workers = WorkerCount(o.threads);
    const std::int64_t shoesPerPoint =
        (o.runs > 0 && o.shoes > 0)
            ? std::max<std::int64_t>(1,
                                     std::min<std::int64_t>(o.runs * o.shoes, kShoesPerWorkerBlock))
            : 1;
    const std::int64_t block =
        std::max<std::int64_t>(1, kShoesPerWorkerBlock / shoesPerPoint) * workers;
    const RandomTestOptions test{o.runs, o.shoes, o.seed, 1};

    CRanking ranking;
    std::vector<RandomTestResult> tests;
    while (result.pointsDone < result.gridPoints) {
        const std::int64_t first = result.pointsDone;
        const std::int64_t count = std::min(block, result.gridPoints - first);
        tests.assign(static_cast<std::size_t>(count), {});
        // Each worker tests every workers-th point of the block, on its own copy of the settings.
        auto work = [&](int w) {
            ShoeSettings settings = base;
            for (std::int64_t i = w; i < count; i += workers) {
                settings.m_nWinStopMoney = pointWin(first + i);
                settings.m_nLossStopMoney = pointLoss(first + i);
                tests[static_cast<std::size_t>(i)] = RunRandomTestSequential(settings, test);
            }
        };
        {
            std::vector<std::jthread> threads;
            for (int w = 1; w < workers && w < count; ++w) threads.emplace_back(work, w);
            work(0);
        }
        // Rank in grid order, so the file is what a one-point-at-a-time search writes.
        for (std::int64_t i = 0; i < count; ++i) {
            const std::int64_t p = first + i;
            const RandomTestResult& t = tests[static_cast<std::size_t>(i)];
            const std::int32_t win = pointWin(p), loss = pointLoss(p);
            const float average = SearchAverage(t.totalWin, o.runs, o.shoes);
            const float yield = SearchYield(average, loss);
            const int rank =
                t.shoesPlayed > 0 ? ranking.Offer(win, loss, average, yield, t.firstLossRun) : 0;
            if (rank != 0) {
                for (int r = rank; r <= CRanking::kRows; ++r) {
                    if (ranking.Row(r)) file.Set(std::to_string(r), *ranking.Row(r));
                }
                if (rank == 1) {
                    result.bestWin = win;
                    result.bestLoss = loss;
                    result.bestAverage = average;
                }
            }
        }
        result.pointsDone += count;
        result.lastWin = pointWin(result.pointsDone - 1);
        result.lastLoss = pointLoss(result.pointsDone - 1);
        result.lastTest = tests.back();
        file.Flush();
        if (result.pointsDone < result.gridPoints && progress &&
            !progress(static_cast<double>(result.pointsDone) /
                      static_cast<double>(result.gridPoints))) {
            result.cancelled = true;
            break;
        }
    }
    result.bestYield = ranking.Threshold(1);
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
