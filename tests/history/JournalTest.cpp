#include <gtest/gtest.h>

#include <string>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "history/Journal.h"
#include "tests/platform/TempDir.h"

namespace {

TEST(ParseJournal, KeepsTheCommandsUpToTheFirstDamagedByte) {
    struct Case {
        const char* name;
        std::string bytes;
        std::string commands;
        std::size_t goodBytes;
        bool damaged;
    };
    const Case cases[] = {
        {"empty", "", "", 0, false},
        {"clean", "ZZX-H/XZ", "ZZX-H/XZ", 8, false},
        {"whitespace is no damage", "ZZ\nX \r\n", "ZZX", 7, false},
        {"zeros at the end, as a crash leaves them", std::string("ZXH\0\0\0", 6), "ZXH", 3, true},
        {"a stray byte in the middle ends the good part", "ZXqZZ", "ZX", 2, true},
        {"lower case is not written by the program", "Zz", "Z", 1, true},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const JournalText text = ParseJournal(c.bytes);
        EXPECT_EQ(text.commands, c.commands);
        EXPECT_EQ(text.goodBytes, c.goodBytes);
        EXPECT_EQ(text.damaged, c.damaged);
    }
}

TEST(CurrentShoeCommands, AreThoseAfterTheLastClear) {
    EXPECT_EQ(CurrentShoeCommands("ZZX"), "ZZX");
    EXPECT_EQ(CurrentShoeCommands("ZZ/X-/HZ"), "HZ");
    EXPECT_EQ(CurrentShoeCommands("ZZ/"), "");
}

// The journal's commands rebuild exactly what the same commands did to the shoe, Back and
// refused hands included.
TEST(ApplyCommands, RebuildsTheShoeTheCommandsMade) {
    ShoeSettings settings;
    settings.m_nWinStopMoney =
        3;  // ends shoes early, so that refused hands and Back after the end occur
    const std::string script = "ZZXZXXZZXZZZXXZZZXZZ-ZXHZXZZZZXZ/XXZZH-ZZXZXZXZZZXXXZ--ZX";
    CShoeEngine direct(settings);
    direct.ResetShoe();
    std::string journal;
    for (const char c : script) {
        if (c == '-') {
            if (direct.Back()) journal += c;
        } else if (c == '/') {
            direct.ResetShoe();
            journal += c;
        } else if (direct.RecordHand(SideOfReplayLetter(c))) {
            journal += c;
        }
    }
    ASSERT_NE(journal, script) << "the script should include refused hands";
    CShoeEngine rebuilt(settings);
    rebuilt.ResetShoe();
    ApplyCommands(rebuilt, journal);
    EXPECT_EQ(rebuilt, direct);
    CShoeEngine fromScript(settings);
    fromScript.ResetShoe();
    ApplyCommands(fromScript, script);
    EXPECT_EQ(fromScript, direct) << "refused hands in a replay change nothing either";
}

TEST(ShoeJournal, AppendsAreReadBackByTheNextOpen) {
    TempDir dir;
    {
        CShoeJournal journal;
        ASSERT_TRUE(journal.Open(dir / "j"));
        EXPECT_EQ(journal.Text().commands, "");
        ASSERT_TRUE(journal.Append("ZX"));
        ASSERT_TRUE(journal.Append("-"));
    }
    CShoeJournal journal;
    ASSERT_TRUE(journal.Open(dir / "j"));
    EXPECT_EQ(journal.Text().commands, "ZX-");
    ASSERT_TRUE(journal.Rewrite("H"));
    EXPECT_EQ(ReadBytes(dir / "j"), "H");
}

TEST(ShoeJournal, ADamagedJournalIsSetAsideWholeAndCutBackToItsLastWholeCommand) {
    TempDir dir;
    const std::string damaged("ZZX-H\0\0\x7f", 8);
    WriteBytes(dir / "j", damaged);
    CShoeJournal journal;
    ASSERT_TRUE(journal.Open(dir / "j"));
    EXPECT_EQ(journal.Text().commands, "ZZX-H");
    ASSERT_FALSE(journal.DamagedCopy().empty());
    EXPECT_EQ(ReadBytes(journal.DamagedCopy()), damaged);
    EXPECT_EQ(journal.DamagedCopy().parent_path(), dir.path());
    ASSERT_TRUE(journal.Append("Z"));
    EXPECT_EQ(ReadBytes(dir / "j"), "ZZX-HZ");
}

TEST(ShoeJournal, ASecondDamageDoesNotOverwriteTheFirstCopy) {
    TempDir dir;
    WriteBytes(dir / "j", "Z?");
    std::filesystem::path first;
    {
        CShoeJournal journal;
        ASSERT_TRUE(journal.Open(dir / "j"));
        first = journal.DamagedCopy();
    }
    WriteBytes(dir / "j", "X!");
    CShoeJournal journal;
    ASSERT_TRUE(journal.Open(dir / "j"));
    EXPECT_NE(journal.DamagedCopy(), first);
    EXPECT_EQ(ReadBytes(first), "Z?");
    EXPECT_EQ(ReadBytes(journal.DamagedCopy()), "X!");
}

TEST(ShoeJournal, IsHeldByOneOwnerAtATime) {
    TempDir dir;
    CShoeJournal first;
    ASSERT_TRUE(first.Open(dir / "j"));
    CShoeJournal second;
    const FileResult busy = second.Open(dir / "j");
    EXPECT_EQ(busy.error, EWOULDBLOCK);
    EXPECT_FALSE(second.IsOpen());
}

}  // namespace
