#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>

#include <string>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "history/LiveShoe.h"
#include "tests/platform/TempDir.h"

namespace {

// A window's worth of commands over a CLiveShoe in a temporary folder, with a clock that ticks a
// minute per reading.
class LiveShoeTest : public testing::Test {
protected:
    LiveShoeTest() {
        settings.m_nWinStopMoney = 3;  // short shoes
        shoe.ResetShoe();
    }

    std::unique_ptr<CLiveShoe> OpenLive() {
        auto live =
            std::make_unique<CLiveShoe>(dir.path() / "data", [this] { return m_time += 60; });
        EXPECT_TRUE(live->Open());
        return live;
    }

    // Carries out `commands` on `shoe` as the window does and reports each to `live`.
    void Run(CLiveShoe& live, std::string_view commands) {
        for (const char c : commands) {
            if (c == '-') {
                if (shoe.Back()) {
                    EXPECT_TRUE(live.BackDone(shoe));
                }
            } else if (c == '/') {
                EXPECT_TRUE(live.Leaving(shoe));
                shoe.ResetShoe();
            } else if (const int side = SideOfReplayLetter(c); shoe.RecordHand(side)) {
                EXPECT_TRUE(live.HandEntered(shoe, side));
            }
        }
    }

    std::string Journal() { return ReadBytes(dir / "data/shoe.journal"); }
    HistoryText History() { return ParseHistory(ReadBytes(dir / "data/history.csv")); }

    TempDir dir;
    ShoeSettings settings;
    CShoeEngine shoe{settings};
    std::time_t m_time = 1772370000;
};

TEST_F(LiveShoeTest, TheJournalRebuildsTheRecordAfterEveryCommand) {
    auto live = OpenLive();
    const std::string script = "ZXZZH-XZ--ZZX";
    for (std::size_t i = 0; i < script.size(); ++i) {
        Run(*live, script.substr(i, 1));
        CShoeEngine rebuilt(settings);
        rebuilt.ResetShoe();
        ApplyCommands(rebuilt, ParseJournal(Journal()).commands);
        EXPECT_EQ(rebuilt, shoe) << "after command " << i << " of " << script;
    }
}

TEST_F(LiveShoeTest, ClearWritesTheShoeToTheHistoryAndEmptiesTheJournal) {
    auto live = OpenLive();
    Run(*live, "ZXZX");
    const std::string hands = shoe.ResultLetters(shoe.m_nHandCount);
    Run(*live, "/");
    EXPECT_EQ(Journal(), "");
    const HistoryText history = History();
    ASSERT_EQ(history.rows.size(), 1u);
    EXPECT_EQ(history.rows[0].hands, hands);
    EXPECT_EQ(history.rows[0].start, IsoLocalTime(1772370060));  // the first hand's time
    EXPECT_EQ(history.rows[0].end, IsoLocalTime(1772370120));
    Run(*live, "/");  // an empty shoe leaves no row
    EXPECT_EQ(History().rows.size(), 1u);
}

TEST_F(LiveShoeTest, AShoeThatEndsIsWrittenOnceEvenWhenClearedLater) {
    auto live = OpenLive();
    Run(*live, "ZZZZZZZZZZZZZZZZZZZZ");
    ASSERT_TRUE(shoe.IsShoeOver());
    EXPECT_EQ(History().rows.size(), 1u);
    live.reset();
    live = OpenLive();  // a restart does not forget that the shoe is in the history
    Run(*live, "/");
    EXPECT_EQ(History().rows.size(), 1u);
}

TEST_F(LiveShoeTest, AShoeReopenedWithBackAndEndedAgainReplacesItsRow) {
    auto live = OpenLive();
    Run(*live, "ZZZZZZZZZZZZZZZZZZZZ");
    ASSERT_TRUE(shoe.IsShoeOver());
    Run(*live, "-X");
    Run(*live, "ZZZZZZZZZZZZZZZZZZZZ");
    ASSERT_TRUE(shoe.IsShoeOver());
    const std::string hands = shoe.ResultLetters(shoe.m_nHandCount);
    Run(*live, "/");
    const HistoryText history = History();
    EXPECT_EQ(history.rows.size(), 2u);
    const auto shoes = HistoryShoes(history.rows);
    ASSERT_EQ(shoes.size(), 1u);
    EXPECT_EQ(shoes[0].hands, hands);
}

TEST_F(LiveShoeTest, AReopenedJournalOffersItsShoeWithItsStartTime) {
    auto live = OpenLive();
    Run(*live, "ZX/XZH-");
    live.reset();
    live = OpenLive();
    EXPECT_EQ(live->OpenedShoe(), "XZH-");
    CShoeEngine rebuilt(settings);
    rebuilt.ResetShoe();
    ApplyCommands(rebuilt, live->OpenedShoe());
    EXPECT_EQ(rebuilt, shoe);
    // Declined: into the history, with the start time of its first hand and the journal's time.
    ASSERT_TRUE(live->Declined(rebuilt));
    EXPECT_EQ(Journal(), "");
    const HistoryText history = History();
    ASSERT_EQ(history.rows.size(), 2u);
    EXPECT_EQ(history.rows[1].hands, "XZ");
    EXPECT_EQ(history.rows[1].start, IsoLocalTime(1772370000 + 3 * 60));
    EXPECT_FALSE(history.rows[1].end.empty());
}

TEST_F(LiveShoeTest, ASecondOwnerKeepsNothing) {
    auto live = OpenLive();
    CLiveShoe second(dir.path() / "data");
    EXPECT_EQ(second.Open().error, EWOULDBLOCK);
    Run(*live, "ZX");
    CShoeEngine other(settings);
    other.ResetShoe();
    other.RecordHand(SIDE_TIE);
    EXPECT_TRUE(second.HandEntered(other, SIDE_TIE));
    EXPECT_EQ(Journal(), "ZX");
}

// A write that fails (here: the file may grow no more) leaves the journal behind the record; the
// next command that can be written brings it back in step.
TEST_F(LiveShoeTest, AFailedWriteIsMadeGoodByTheNextCommand) {
    auto live = OpenLive();
    Run(*live, "ZX");
    rlimit saved{};
    ASSERT_EQ(::getrlimit(RLIMIT_FSIZE, &saved), 0);
    const auto oldHandler = ::signal(SIGXFSZ, SIG_IGN);
    rlimit tight = saved;
    tight.rlim_cur = 2;
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &tight), 0);
    shoe.RecordHand(SIDE_TIE);
    EXPECT_FALSE(live->HandEntered(shoe, SIDE_TIE));
    ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &saved), 0);
    ::signal(SIGXFSZ, oldHandler);
    EXPECT_EQ(Journal(), "ZX");
    Run(*live, "Z");
    EXPECT_EQ(Journal(), "ZXHZ");
    Run(*live, "-");
    EXPECT_EQ(Journal(), "ZXHZ-");
}

}  // namespace
