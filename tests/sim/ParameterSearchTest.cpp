#include <gtest/gtest.h>

#include <fmt/format.h>
#include <algorithm>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <vector>

#include "sim/ParameterSearch.h"

namespace {

namespace fs = std::filesystem;

class TempFolder {
public:
    TempFolder() {
        m_path = fs::temp_directory_path() /
                 fmt::format("nuv-search-{}-{}", ::testing::UnitTest::GetInstance()->random_seed(),
                             reinterpret_cast<std::uintptr_t>(this));
        fs::create_directories(m_path);
    }
    ~TempFolder() { fs::remove_all(m_path); }
    const fs::path& path() const { return m_path; }

private:
    fs::path m_path;
};

std::string ReadText(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

// A scripted sequence of offers and the rows (by win-stop) after each.
TEST(Ranking, InsertMoveAndDrop) {
    CRanking ranking;
    struct Step {
        int win;
        float yield;
        std::int64_t firstLoss;
        int rank;
        std::vector<int> order;  // win-stop of the rows 1.. after the offer
    };
    const Step steps[] = {
        {1, 5.0f, 0, 1, {1}},           // first pair lands at 1
        {2, 3.0f, 0, 2, {1, 2}},        // lower yield lands below
        {3, 9.0f, 0, 1, {3, 1, 2}},     // higher yield takes 1, the rest move down
        {4, 50.0f, 2, 0, {3, 1, 2}},    // went negative: never ranked
        {5, 0.0f, 0, 0, {3, 1, 2}},     // no yield above an empty rank's 0
        {6, 5.0f, 0, 3, {3, 1, 6, 2}},  // equal yield: the earlier pair stays above
        {7, 4.0f, 0, 4, {3, 1, 6, 7, 2}},
        {8, 1.0f, 0, 6, {3, 1, 6, 7, 2, 8}},    // table full
        {9, 1.0f, 0, 0, {3, 1, 6, 7, 2, 8}},    // not above the sixth: not written
        {10, 8.0f, 0, 2, {3, 10, 1, 6, 7, 2}},  // pushes the sixth row out
    };
    for (const Step& s : steps) {
        SCOPED_TRACE(s.win);
        EXPECT_EQ(ranking.Offer(s.win, 100, s.yield, s.yield, s.firstLoss), s.rank);
        std::vector<int> order;
        for (int r = 1; r <= CRanking::kRows && ranking.Row(r); ++r)
            order.push_back(std::stoi(*ranking.Row(r)));
        EXPECT_EQ(order, s.order);
    }
    EXPECT_EQ(*ranking.Row(1), "3\t100\t9.00\t9.00\t0");
    EXPECT_FLOAT_EQ(ranking.Threshold(6), 3.0f);
}

TEST(Search, Estimate) {
    SearchOptions o;
    o.winRadius = o.lossRadius = 10;
    SearchEstimate e = EstimateSearch(o);
    EXPECT_EQ(e.gridPoints, 441);
    EXPECT_EQ(e.shoes, "441");
    EXPECT_EQ(fmt::format("{:.2f}", e.minutes), "0.37");

    o.winRadius = 200;
    o.lossRadius = 20000;
    e = EstimateSearch(o);
    EXPECT_EQ(e.shoes, "16040401");
    EXPECT_EQ(fmt::format("{:.2f}", e.minutes), "13367.00");

    o.runs = o.shoes = INT32_MAX;
    o.winRadius = o.lossRadius = INT32_MAX;  // far beyond 64 bits, still shown in full
    EXPECT_EQ(EstimateSearch(o).shoes.size(), 38u);

    o.winRadius = -1;
    e = EstimateSearch(o);
    EXPECT_EQ(e.gridPoints, 0);
    EXPECT_EQ(e.shoes, "0");
}

// The file of a small grid equals the six best pairs by yield, ties in grid order, computed
// point by point here with the plain test.
TEST(Search, FileOfSmallGridMatchesPointByPointRanking) {
    TempFolder folder;
    SearchOptions o;
    o.winRadius = 2;
    o.lossRadius = 3;
    o.runs = 1;
    o.shoes = 2;
    o.seed = 99;
    o.folder = folder.path();
    const ShoeSettings base;

    struct Point {
        int win, loss;
        float average, yield;
    };
    std::vector<Point> ranked;
    for (int loss = o.loss + o.lossRadius; loss >= o.loss - o.lossRadius; --loss) {
        for (int win = o.win - o.winRadius; win <= o.win + o.winRadius; ++win) {
            ShoeSettings s = base;
            s.m_nWinStopMoney = win;
            s.m_nLossStopMoney = loss;
            const RandomTestResult t = RunRandomTestSequential(s, {o.runs, o.shoes, o.seed, 1});
            const float average = SearchAverage(t.totalWin, o.runs, o.shoes);
            const float yield = SearchYield(average, loss);
            if (t.firstLossRun == 0 && yield > 0) ranked.push_back({win, loss, average, yield});
        }
    }
    std::stable_sort(ranked.begin(), ranked.end(),
                     [](const Point& a, const Point& b) { return a.yield > b.yield; });
    ASSERT_GE(ranked.size(), 7u);  // the table fills and drops rows

    std::string expected =
        "[Record]\n"
        "本次测试范围为：盈利点 29 ± 2 和 止损点 292 ± 3， 测试了 1次 2靴=\n"
        "0=盈利点\t止损点\t平均每靴赢\t收益率％\t开始输的次数\n";
    for (std::size_t r = 0; r < std::min<std::size_t>(6, ranked.size()); ++r) {
        const Point& p = ranked[r];
        expected +=
            fmt::format("{}={}\t{}\t{:.2f}\t{:.2f}\t0\n", r + 1, p.win, p.loss, p.average, p.yield);
    }

    for (const int threads : {1, 2}) {
        o.threads = threads;
        const SearchResult result = RunSearch(base, o);
        EXPECT_EQ(result.file, folder.path() / "最优参数记录表_292_29.ini");
        EXPECT_EQ(ReadText(result.file), expected) << threads << " threads";
        EXPECT_EQ(result.gridPoints, 35);
        EXPECT_EQ(result.pointsDone, 35);
        EXPECT_EQ(result.bestWin, ranked[0].win);
        EXPECT_EQ(result.bestLoss, ranked[0].loss);
        EXPECT_FLOAT_EQ(result.bestYield, ranked[0].yield);
        EXPECT_EQ(result.lastWin, 31);
        EXPECT_EQ(result.lastLoss, 289);
        EXPECT_TRUE(result.fileError.ok());
    }
}

TEST(Search, EmptyGridWritesOnlyTheStartKeys) {
    TempFolder folder;
    SearchOptions o;
    o.lossRadius = -1;
    o.folder = folder.path();
    std::ofstream(RankingFilePath(o)) << "[Record]\n1=old row\n";  // replaced, not kept
    const SearchResult r = RunSearch(ShoeSettings{}, o);
    EXPECT_EQ(r.pointsDone, 0);
    EXPECT_EQ(r.bestWin, 0);
    EXPECT_EQ(r.bestLoss, 0);
    EXPECT_EQ(ReadText(r.file),
              "[Record]\n本次测试范围为：盈利点 29 ± 10 和 止损点 292 ± -1， 测试了 1次 1靴=\n"
              "0=盈利点\t止损点\t平均每靴赢\t收益率％\t开始输的次数\n");
    EXPECT_EQ(SearchReportText(o, r),
              "以下是本轮对 1 次  1 靴的最优测试结果，该结果的准确程度取决于总的测试靴数。\n\n"
              "盈利点:0\t止损点:0\t平均每靴赢分0.00\t收益率:0.00");
}

TEST(Search, CancelKeepsFileAsFarAsItGot) {
    TempFolder folder;
    SearchOptions o;
    o.winRadius = 200;
    o.lossRadius = 200;
    o.threads = 1;
    o.folder = folder.path();
    int calls = 0;
    const SearchResult r = RunSearch(ShoeSettings{}, o, [&](double) { return ++calls < 2; });
    EXPECT_TRUE(r.cancelled);
    EXPECT_GT(r.pointsDone, 0);
    EXPECT_LT(r.pointsDone, r.gridPoints);
    EXPECT_NE(ReadText(r.file).find("\n1="), std::string::npos);
}

TEST(Search, UnwritableFolderStillSearchesAndReports) {
    SearchOptions o;
    o.winRadius = o.lossRadius = 1;
    o.folder = "/proc/nuv-no-such-folder";
    const SearchResult r = RunSearch(ShoeSettings{}, o);
    EXPECT_EQ(r.pointsDone, 9);
    EXPECT_FALSE(r.fileError.ok());
}

TEST(Search, QuestionText) {
    SearchOptions o;
    o.folder = "/home/u/.local/share/nuv";
    EXPECT_EQ(SearchQuestionText(o, EstimateSearch(o)),
              "    本次测试的参数为：盈利点29±10，止损点292±10，\n\n将测试1次 1靴，总靴数为 441靴，"
              "预计耗时0.37分钟。\n\n    测试结果将保存到“/home/u/.local/share/nuv/"
              "最优参数记录表_292_29.ini”中。\n\n    现在开始测试吗？");
}

}  // namespace
