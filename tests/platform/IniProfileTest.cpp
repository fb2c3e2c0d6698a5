#include "platform/IniProfile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <vector>

#include "tests/platform/TempDir.h"

namespace {

class IniProfileFile : public ::testing::Test {
protected:
    TempDir m_dir;
    std::filesystem::path m_path = m_dir / "最优参数记录表_292_29.ini";

    void Write(std::string_view section, std::string_view key, std::string_view value) {
        const FileResult result = WriteProfileString(m_path, section, key, value);
        ASSERT_TRUE(result.ok()) << result.path << ": " << result.reason;
    }
    std::string Read(std::string_view section, std::string_view key) {
        return ReadProfileString(m_path, section, key, "*");
    }
};

TEST_F(IniProfileFile, AbsentFileSectionOrKeyReadsAsTheDefault) {
    EXPECT_EQ(Read("Record", "1"), "*");
    EXPECT_FALSE(std::filesystem::exists(m_path)) << "a read never creates the file";

    WriteBytes(m_path, "[Record]\ncomment=\n1=row\n");
    EXPECT_EQ(Read("Other", "1"), "*");
    EXPECT_EQ(Read("Record", "2"), "*");
    EXPECT_EQ(Read("Record", "1"), "row");
    EXPECT_EQ(Read("Record", "comment"), "") << "an empty value is present, not absent";
}

TEST_F(IniProfileFile, WritingCreatesTheFileAndKeysKeepTheirFirstPlace) {
    Write("Record", "comment", "");
    Write("Record", "0", "heads");
    Write("Record", "1", "first");
    Write("Record", "2", "second");
    Write("Record", "1", "moved");  // a rewrite keeps the key where it was
    Write("Other", "x", "y");
    Write("Record", "3", "third");  // a new key goes to the end of its own section

    EXPECT_EQ(ReadBytes(m_path),
              "[Record]\ncomment=\n0=heads\n1=moved\n2=second\n3=third\n\n[Other]\nx=y\n");
    EXPECT_EQ(IniProfile::Parse(ReadBytes(m_path)).Keys("Record"),
              (std::vector<std::string>{"comment", "0", "1", "2", "3"}));
    EXPECT_EQ(m_dir.Names(), std::vector<std::string>{m_path.filename().string()});
}

TEST_F(IniProfileFile, NamesMatchWithoutAsciiCaseOrSurroundingBlanks) {
    Write("Record", "WinStop", "1");
    Write("RECORD", " winstop ", "2");

    EXPECT_EQ(ReadBytes(m_path), "[Record]\nWinStop=2\n") << "one key, first spelling kept";
    EXPECT_EQ(Read("record", "WINSTOP"), "2");
    // Only ASCII letters fold: Ä and ä are different names.
    Write("Record", "Ä", "upper");
    EXPECT_EQ(Read("Record", "ä"), "*");
}

TEST_F(IniProfileFile, ChineseKeysTabsAndPercentSignsRoundTrip) {
    const std::string comment =
        "本次测试范围为：盈利点 29 ± 10 和 止损点 292 ± 10， 测试了 1次 1靴";
    const std::string heads = "盈利点\t止损点\t平均每靴赢\t收益率％\t开始输的次数";
    Write("Record", comment, "");
    Write("Record", "0", heads);
    Write("Record", "1", "29\t292\t1.25\t0.43\t0");
    Write("Record", "%d %s", "100% of %d");

    EXPECT_EQ(Read("Record", comment), "");
    EXPECT_EQ(Read("Record", "0"), heads);
    EXPECT_EQ(Read("Record", "1"), "29\t292\t1.25\t0.43\t0");
    EXPECT_EQ(Read("Record", "%d %s"), "100% of %d");
    EXPECT_EQ(ReadBytes(m_path), "[Record]\n" + comment + "=\n0=" + heads +
                                     "\n1=29\t292\t1.25\t0.43\t0\n%d %s=100% of %d\n");
}

TEST_F(IniProfileFile, ValuesTheReaderWouldAlterAreQuotedAndReadBackExactly) {
    const std::string values[] = {
        " leading blank", "trailing tab\t",  "\"quoted\"",      "'single'", "\"",
        "a=b=c",          "[not a section]", "; not a comment", "",         "\t"};
    for (const std::string& value : values) {
        SCOPED_TRACE(value);
        Write("Record", "v", value);
        EXPECT_EQ(Read("Record", "v"), value);
    }
}

TEST_F(IniProfileFile, NamesAndValuesThatCannotBeReadBackAreRefused) {
    Write("Record", "1", "kept");
    const std::string before = ReadBytes(m_path);
    const struct {
        const char* name;
        std::string section, key, value;
    } cases[] = {
        {"key with '='", "Record", "a=b", "v"},
        {"key with a line break", "Record", "a\nb", "v"},
        {"key that opens a section", "Record", "[x", "v"},
        {"key that opens a comment", "Record", ";x", "v"},
        {"empty key", "Record", " ", "v"},
        {"section with ']'", "a]b", "k", "v"},
        {"empty section", "", "k", "v"},
        {"value with a line break", "Record", "1", "x\r\n[Evil]"},
        {"value with NUL", "Record", "1", std::string("x\0y", 3)},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileResult result = WriteProfileString(m_path, c.section, c.key, c.value);
        EXPECT_EQ(result.error, EINVAL);
        EXPECT_FALSE(result.reason.empty());
        EXPECT_EQ(ReadBytes(m_path), before);
    }
}

TEST_F(IniProfileFile, BufferSizeCutsTheResultLikeAWindowsProfileRead) {
    Write("Record", "row", "29\t292\t1.25\t0.43\t0");
    Write("Record", "cjk", "盈利点");
    Write("Record", "emoji", "a😀b");  // 😀 is two UTF-16 characters
    const struct {
        const char* key;
        std::size_t size;
        std::string expected;
    } cases[] = {
        {"row", 50, "29\t292\t1.25\t0.43\t0"},
        {"row", 5, "29\t2"},
        {"row", 1, ""},
        {"row", 0, ""},
        {"cjk", 3, "盈利"},
        {"emoji", 3, "a"},
        {"emoji", 4, "a😀"},
        {"absent", 3, "**"},  // the default is cut the same way
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.key) + " in " + std::to_string(c.size));
        EXPECT_EQ(ReadProfileString(m_path, "Record", c.key, "*****", c.size), c.expected);
    }
}

TEST_F(IniProfileFile, AFileThatCannotBeReadIsReportedNotOverwritten) {
    const auto folder = m_dir / "folder.ini";
    std::filesystem::create_directory(folder);
    const auto loop = m_dir / "loop.ini";  // a link to itself: present, but every open fails
    std::filesystem::create_symlink("loop.ini", loop);
    const struct {
        const char* name;
        std::filesystem::path path;
        int error;
    } cases[] = {
        {"a folder in the file's place", folder, EISDIR},
        {"a link that leads nowhere", loop, ELOOP},
        {"a folder that does not exist", m_dir / "missing" / "ranking.ini", ENOENT},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const FileResult result = WriteProfileString(c.path, "Record", "0", "x");
        EXPECT_EQ(result.error, c.error);
        EXPECT_EQ(result.path, c.path.string());
        EXPECT_EQ(ReadProfileString(c.path, "Record", "0", "*"), "*");
    }
    EXPECT_TRUE(std::filesystem::is_directory(folder));
    EXPECT_TRUE(std::filesystem::is_symlink(loop));
    EXPECT_EQ(m_dir.Names(), (std::vector<std::string>{"folder.ini", "loop.ini"}));
}

TEST(IniProfile, ParseWriteParseKeepsWhatItDidNotChange) {
    const std::string text =
        "\xEF\xBB\xBF; written by hand\r\n"
        "loose=before any section\r\n"
        "[Record]\r\n"
        "  Key One  =  spaced value  \r\n"
        "quoted=\"  kept  \"\r\n"
        "dup=first\r\n"
        "dup=second\r\n"
        "no equals sign\r\n"
        "; comment\r\n"
        "\r\n"
        "[ Other ]\r\n"
        "x=1\r\n";
    IniProfile profile = IniProfile::Parse(text);
    const auto check = [](const IniProfile& p) {
        EXPECT_EQ(p.Get("Record", "key one"), "spaced value");
        EXPECT_EQ(p.Get("Record", "quoted"), "  kept  ");
        EXPECT_EQ(p.Get("Record", "dup"), "first");
        EXPECT_EQ(p.Get("Record", "no equals sign"), std::nullopt);
        EXPECT_EQ(p.Get("Record", "loose"), std::nullopt);
        EXPECT_EQ(p.Get("other", "x"), "1");
    };
    check(profile);

    std::string plain = text.substr(3);  // without the byte order mark and the CRs
    std::erase(plain, '\r');
    EXPECT_EQ(profile.Text(), plain);
    check(IniProfile::Parse(profile.Text()));

    ASSERT_TRUE(profile.Set("Record", "dup", "third"));
    ASSERT_TRUE(profile.Set("Record", "new", "after the comment"));
    ASSERT_TRUE(profile.Set("Third", "k", "v"));
    EXPECT_EQ(profile.Text(),
              "; written by hand\n"
              "loose=before any section\n"
              "[Record]\n"
              "  Key One  =  spaced value  \n"
              "quoted=\"  kept  \"\n"
              "dup=third\n"
              "dup=second\n"
              "no equals sign\n"
              "; comment\n"
              "new=after the comment\n"
              "\n"
              "[ Other ]\n"
              "x=1\n"
              "\n"
              "[Third]\n"
              "k=v\n");
    const IniProfile again = IniProfile::Parse(profile.Text());
    EXPECT_EQ(again.Get("Record", "dup"), "third");
    EXPECT_EQ(again.Get("Record", "new"), "after the comment");
    EXPECT_EQ(again.Get("Third", "k"), "v");
    EXPECT_EQ(again.Text(), profile.Text());
}

// Found by fuzzing: a line ending in several CRs, or a doubled byte order mark, read back
// differently once written out.
TEST(IniProfileText, WrittenTextReadsBackTheSame) {
    for (const char* text : {"[a]\r\nk \r\r\n", "[a]\nk=v\r\r\r", "[a]\nk=a\rb\n", "\r\n\r\r\n[a]",
                             "\xEF\xBB\xBF\xEF\xBB\xBF; c\n"}) {
        SCOPED_TRACE(text);
        const std::string written = IniProfile::Parse(text).Text();
        EXPECT_EQ(IniProfile::Parse(written).Text(), written);
    }
}

}  // namespace
