// nuv-sim replay --file and nuv-sim history, run as the user runs them.
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

#include "engine/ShoeEngine.h"
#include "history/ShoeHistory.h"
#include "tests/cli/SimRunner.h"
#include "tests/platform/TempDir.h"

namespace {

TEST(ReplayFile, ReadsLettersFromAFileWithWhitespaceIgnored) {
    TempDir dir;
    WriteBytes(dir / "shoe.txt", "BBB\nPB -\r\n\tpz/ T\n");
    const Output fromFile = RunSim("replay --json --file " + (dir / "shoe.txt").string());
    ASSERT_EQ(fromFile.status, 0);
    EXPECT_EQ(fromFile.out, RunSim("replay --json BBBPB-pz/T").out);

    WriteBytes(dir / "bad.txt", "BB\nQ");
    const Output bad = RunSim("replay --file " + (dir / "bad.txt").string(), true);
    EXPECT_EQ(bad.status, 2);
    EXPECT_NE(bad.out.find("bad.txt: unknown hand letter 'Q' at position 4"), std::string::npos)
        << bad.out;
    for (const std::string& args : {"replay --file " + (dir / "missing").string(),
                                    "replay BB --file " + (dir / "shoe.txt").string()}) {
        SCOPED_TRACE(args);
        const Output refused = RunSim(args);
        EXPECT_EQ(refused.status, 2);
        EXPECT_EQ(refused.out, "");
    }
}

// A history of three rows, the second shoe written twice (reopened with Back after its end), and
// a half-written row at the end, as a crash leaves it.
class HistoryCommand : public testing::Test {
protected:
    HistoryCommand() {
        ShoeSettings strict;
        strict.m_nWinStopMoney = 3;
        first = Row(ShoeSettings{}, "ZXZXZXXZZXZ", "2026-03-01T21:00:00+08:00");
        second = Row(strict, "ZZZZZZZZZZZZ", "2026-03-02T21:00:00+08:00");
        HistoryRow earlier = second;
        earlier.hands = "ZZZZX";
        const std::string path = (dir / "history.csv").string();
        for (const HistoryRow& row : {first, earlier, second})
            EXPECT_TRUE(AppendHistoryRow(path, row));
        WriteBytes(dir / "history.csv",
                   ReadBytes(dir / "history.csv") + FormatHistoryRow(first).substr(0, 40));
    }

    static HistoryRow Row(const ShoeSettings& settings, const char* hands, const char* start) {
        CShoeEngine shoe(settings);
        shoe.ResetShoe();
        shoe.Replay(hands);
        return RowOfShoe(shoe, start, "2026-03-03T08:00:00+08:00");
    }

    std::string DataDir() const { return " --data-dir " + dir.path().string(); }

    TempDir dir;
    HistoryRow first;
    HistoryRow second;
};

TEST_F(HistoryCommand, ListsTheShoesWithTheirFiguresAndTheTotals) {
    const Output r = RunSim("history --json" + DataDir());
    ASSERT_EQ(r.status, 0);
    const std::vector<nlohmann::json> lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0]["shoe"], 1);
    EXPECT_EQ(lines[0]["hands"], first.hands);
    EXPECT_EQ(lines[0]["start"], first.start);
    EXPECT_EQ(lines[1]["hands"], second.hands) << "the later row of the same shoe replaces it";
    EXPECT_EQ(lines[1]["settings"]["win_stop"], 3);
    EXPECT_EQ(lines[1]["score"], second.score);
    EXPECT_EQ(lines[1]["yuan"], second.yuan);
    const nlohmann::json& total = lines[2]["total"];
    EXPECT_EQ(total["shoes"], 2);
    EXPECT_EQ(total["hands"], first.hands.size() + second.hands.size());
    EXPECT_EQ(total["score"], first.score + second.score);
    EXPECT_EQ(total["yuan"], first.yuan + second.yuan);
    EXPECT_EQ(total["cycles"], first.cycles + second.cycles);
    // Both shoes staked something; the total yield lies between the two shoes' yields.
    EXPECT_GT(total["staked"].get<int>(), 0);
    EXPECT_GE(total["yield"].get<int>(), std::min(first.yield, second.yield));
    EXPECT_LE(total["yield"].get<int>(), std::max(first.yield, second.yield));

    const Output table = RunSim("history" + DataDir(), true);
    EXPECT_NE(table.out.find("half-written last row is left out"), std::string::npos) << table.out;
    EXPECT_NE(table.out.find("total: 2 shoes"), std::string::npos) << table.out;
}

TEST_F(HistoryCommand, ReplaysOneShoeUnderItsOwnSettings) {
    const Output r = RunSim("history --json --shoe 2" + DataDir());
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(r.out, RunSim("replay --json --win-stop 3 " + second.hands).out);
    EXPECT_EQ(RunSim("history --shoe 3" + DataDir()).status, 2);
}

TEST_F(HistoryCommand, FindsTheHistoryInTheDataFolder) {
    std::filesystem::create_directories(dir / "home/nuv");
    std::filesystem::copy_file(dir / "history.csv", dir / "home/nuv/history.csv");
    const Output r =
        RunSim("history --json", false, "XDG_DATA_HOME='" + (dir / "home").string() + "' ");
    ASSERT_EQ(r.status, 0);
    EXPECT_EQ(JsonLines(r.out).back()["total"]["shoes"], 2);
    const Output none =
        RunSim("history --json", false, "XDG_DATA_HOME='" + (dir / "none").string() + "' ");
    ASSERT_EQ(none.status, 0);
    EXPECT_EQ(JsonLines(none.out).back()["total"]["shoes"], 0);
}

}  // namespace
