#include <gtest/gtest.h>

#include <stdlib.h>
#include <time.h>

#include <optional>
#include <string>

#include "engine/ShoeEngine.h"
#include "history/ShoeHistory.h"
#include "tests/platform/TempDir.h"

namespace {

// Sets TZ while it lives.
class ScopedTimeZone {
public:
    explicit ScopedTimeZone(const char* zone) {
        if (const char* old = ::getenv("TZ")) m_saved = old;
        ::setenv("TZ", zone, 1);
        ::tzset();
    }
    ~ScopedTimeZone() {
        m_saved ? ::setenv("TZ", m_saved->c_str(), 1) : ::unsetenv("TZ");
        ::tzset();
    }

private:
    std::optional<std::string> m_saved;
};

HistoryRow SampleRow() {
    HistoryRow row;
    row.start = "2026-03-01T21:07:45+08:00";
    row.end = "2026-03-01T22:10:03+08:00";
    row.hands = "ZZXHZXZZ";
    row.settings.m_nWinStopMoney = 31;
    row.settings.m_nAfterWinStop = 2;
    row.score = -7;
    row.yield = -12;
    row.cycles = 1;
    row.yuan = 0;
    return row;
}

TEST(IsoLocalTime, GivesLocalTimeWithTheOffsetInExtendedForm) {
    struct Case {
        const char* zone;  // POSIX zone strings: no time-zone database needed
        const char* text;
    };
    const std::time_t t = 1772370465;  // 2026-03-01 13:07:45 UTC
    for (const Case& c :
         {Case{"UTC0", "2026-03-01T13:07:45+00:00"}, Case{"CST-8", "2026-03-01T21:07:45+08:00"},
          Case{"NST+3:30", "2026-03-01T09:37:45-03:30"}}) {
        SCOPED_TRACE(c.zone);
        ScopedTimeZone zone(c.zone);
        EXPECT_EQ(IsoLocalTime(t), c.text);
    }
}

TEST(HistoryRow, IsWrittenAsOneLineAndReadBack) {
    const HistoryRow row = SampleRow();
    const std::string line = FormatHistoryRow(row);
    EXPECT_EQ(line,
              "2026-03-01T21:07:45+08:00,2026-03-01T22:10:03+08:00,ZZXHZXZZ,200,20000,31,292,4,9,"
              "40,2,-7,-12,1,0");
    EXPECT_EQ(ParseHistoryRow(line), row);
    HistoryRow unknownStart = row;
    unknownStart.start.clear();
    EXPECT_EQ(ParseHistoryRow(FormatHistoryRow(unknownStart)), unknownStart);
}

TEST(HistoryRow, ALineThatIsNoRowIsRefused) {
    const std::string good = FormatHistoryRow(SampleRow());
    for (const std::string& line : {
             good.substr(0, good.size() - 2),                        // cut short
             good + ",5",                                            // a field too many
             std::string("x") + good,                                // a start that is no time
             std::string(",,ZZ,200,20000,29,292,4,9,40,0,0,0,0,0"),  // no end
             good.substr(0, 52) + "Q" + good.substr(53),             // a hand that is no letter
             std::string(kHistoryHeader),
         }) {
        SCOPED_TRACE(line);
        EXPECT_FALSE(ParseHistoryRow(line));
    }
}

TEST(ParseHistory, IgnoresAHalfWrittenLastRowAndCountsBadLines) {
    const std::string row = FormatHistoryRow(SampleRow());
    const std::string text =
        std::string(kHistoryHeader) + "\n" + row + "\nnot a row\n" + row + "\n" + row.substr(0, 30);
    const HistoryText history = ParseHistory(text);
    EXPECT_EQ(history.rows.size(), 2u);
    EXPECT_EQ(history.badLines, 1);
    EXPECT_TRUE(history.halfRow);
}

TEST(HistoryShoes, ALaterRowOfTheSameShoeReplacesTheEarlierOne) {
    HistoryRow first = SampleRow();
    HistoryRow reopened = first;  // Back after the end, then ended again
    reopened.hands += "X";
    HistoryRow other = first;
    other.start = "2026-03-02T10:00:00+08:00";
    HistoryRow unknownA = first, unknownB = first;
    unknownA.start.clear();
    unknownB.start.clear();
    unknownB.hands = "XX";
    const auto shoes = HistoryShoes({first, other, unknownA, reopened, unknownB});
    ASSERT_EQ(shoes.size(), 4u);
    EXPECT_EQ(shoes[0], other);
    EXPECT_EQ(shoes[1], unknownA);
    EXPECT_EQ(shoes[2], reopened);
    EXPECT_EQ(shoes[3], unknownB);
}

TEST(AppendHistoryRow, StartsANewFileWithTheHeader) {
    TempDir dir;
    const HistoryRow row = SampleRow();
    ASSERT_TRUE(AppendHistoryRow(dir / "h.csv", row));
    ASSERT_TRUE(AppendHistoryRow(dir / "h.csv", row));
    const std::string line = FormatHistoryRow(row);
    EXPECT_EQ(ReadBytes(dir / "h.csv"),
              std::string(kHistoryHeader) + "\n" + line + "\n" + line + "\n");
}

TEST(AppendHistoryRow, CutsAHalfWrittenLastLineBeforeItWrites) {
    const HistoryRow row = SampleRow();
    const std::string header = std::string(kHistoryHeader) + "\n";
    const std::string line = FormatHistoryRow(row) + "\n";
    struct Case {
        const char* name;
        std::string before;
        std::string after;
    };
    const Case cases[] = {
        {"half a row after whole ones", header + line + line.substr(0, 20), header + line + line},
        {"half the header", header.substr(0, 10), header + line},
        {"a row without its newline", header + line.substr(0, line.size() - 1), header + line},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TempDir dir;
        WriteBytes(dir / "h.csv", c.before);
        ASSERT_TRUE(AppendHistoryRow(dir / "h.csv", row));
        const std::string text = ReadBytes(dir / "h.csv");
        EXPECT_EQ(text, c.after);
        const HistoryText history = ParseHistory(text);
        EXPECT_FALSE(history.halfRow);
        EXPECT_EQ(history.badLines, 0);
    }
}

TEST(RowOfShoe, TakesTheFiguresTheWindowShows) {
    ShoeSettings settings;
    settings.m_nWinStopMoney = 3;
    CShoeEngine shoe(settings);
    shoe.ResetShoe();
    shoe.Replay("ZZZZZZZZZZZZ");
    ASSERT_TRUE(shoe.IsShoeOver());
    ASSERT_GT(shoe.m_nScore, 0);
    const HistoryRow row = RowOfShoe(shoe, "s", "e");
    EXPECT_EQ(row.hands, shoe.ResultLetters(shoe.m_nHandCount));
    EXPECT_EQ(row.settings, settings);
    EXPECT_EQ(row.score, shoe.m_nScore);
    EXPECT_EQ(row.yield, shoe.m_nYield);
    EXPECT_EQ(row.cycles, shoe.m_nWinCycles);
    EXPECT_EQ(row.yuan, shoe.m_nScore * shoe.BaseUnit() - shoe.ComputeCommission());
}

}  // namespace
