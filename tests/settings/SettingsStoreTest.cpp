#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cmath>
#include <cstdlib>
#include <limits>
#include <optional>

#include "settings/SettingsStore.h"
#include "tests/platform/TempConfigHome.h"

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kHead = "Windows Registry Editor Version 5.00\n\n";

// The key as a first start leaves it: nine REG_DWORDs in the order of reading.
constexpr std::string_view kFreshKey =
    "[HKEY_CURRENT_USER\\Darozova]\n"
    "\"Version\"=dword:00000138\n"
    "\"XXLimitMoney\"=dword:000000c8\n"
    "\"SXLimitMoney\"=dword:00004e20\n"
    "\"WinStopMoney\"=dword:0000001d\n"
    "\"LossStopMoney\"=dword:00000124\n"
    "\"WinStopNum\"=dword:00000004\n"
    "\"Dangerous1\"=dword:00000009\n"
    "\"Dangerous2\"=dword:00000028\n"
    "\"AfterWinStop\"=dword:00000000\n"
    "\n";

std::string Hive(std::string_view body) {
    return std::string(kHead) + std::string(body);
}

// A key at version 312 holding `lines` after "Version".
std::string Current(std::string_view lines) {
    return Hive("[HKEY_CURRENT_USER\\Darozova]\n\"Version\"=dword:00000138\n" + std::string(lines) +
                "\n");
}

class SettingsStoreTest : public testing::Test, protected TempConfigHome {
protected:
    void SetUp() override { ASSERT_EQ(CRegistryHive::UserHivePath(), File()); }
};

ShoeSettings Garbage() {
    return {-7, -7, -7, -7, -7, -7, -7, -7};
}

TEST_F(SettingsStoreTest, FirstStartWritesTheDefaults) {
    ShoeSettings settings = Garbage();
    testing::internal::CaptureStdout();
    LoadSettings(settings);
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "Key not found.\nKey not found.\n");
    EXPECT_EQ(settings, ShoeSettings{});
    EXPECT_EQ(HiveText(), Hive(kFreshKey));
}

TEST_F(SettingsStoreTest, StartFromEachKindOfStoredKey) {
    struct Case {
        const char* name;
        std::string before;
        std::string after;
        ShoeSettings settings;
        const char* printed;
    };
    const std::string tuned =
        "\"XXLimitMoney\"=dword:00000064\n\"SXLimitMoney\"=dword:00002710\n"
        "\"WinStopMoney\"=dword:00000032\n\"LossStopMoney\"=dword:000000c8\n"
        "\"WinStopNum\"=dword:00000003\n\"Dangerous1\"=dword:00000008\n";
    const Case cases[] = {
        {"version 311: the key is rebuilt and the tuned win-stop is lost",
         Hive("[HKEY_CURRENT_USER\\Darozova]\n\"Version\"=dword:00000137\n"
              "\"WinStopMoney\"=dword:00000032\n\n"),
         Hive(kFreshKey), ShoeSettings{}, "Key not found.\nKey not found.\n"},
        {"version missing from an existing key: rebuilt",
         Hive("[HKEY_CURRENT_USER\\Darozova]\n\"WinStopMoney\"=dword:00000032\n\n"),
         Hive(kFreshKey), ShoeSettings{}, "Key not found.\nKey not found.\n"},
        {"obsolete keys two levels deep go entirely; other keys stay",
         Hive("[HKEY_CURRENT_USER\\Vevududu]\n\"a\"=dword:00000001\n\n"
              "[HKEY_CURRENT_USER\\Vevududu\\One]\n\n"
              "[HKEY_CURRENT_USER\\Vevududu\\One\\Two]\n\"b\"=\"deep\"\n\n"
              "[HKEY_CURRENT_USER\\Vevududu\\Other]\n\n"
              "[HKEY_CURRENT_USER\\Devevivu]\n\n"
              "[HKEY_CURRENT_USER\\Devevivu\\X]\n\n"
              "[HKEY_CURRENT_USER\\Devevivu\\X\\Y]\n\n"
              "[HKEY_CURRENT_USER\\DevevivuKeep]\n\"k\"=dword:00000001\n\n"
              "[HKEY_CURRENT_USER\\Darozova]\n\"Version\"=dword:00000005\n\n"
              "[HKEY_CURRENT_USER\\Darozova\\Stale]\n\n"),
         Hive("[HKEY_CURRENT_USER\\DevevivuKeep]\n\"k\"=dword:00000001\n\n" +
              std::string(kFreshKey)),
         ShoeSettings{}, ""},
        {"version 312 with only Dangerous2 missing: only that is added",
         Current(tuned + "\"AfterWinStop\"=dword:00000002\n"),
         Current(tuned + "\"AfterWinStop\"=dword:00000002\n\"Dangerous2\"=dword:00000028\n"),
         ShoeSettings{100, 10000, 50, 200, 3, 8, 40, 2}, ""},
        {"a string of more than 4 bytes is replaced in place by the default",
         Current("\"LossStopMoney\"=\"abcd\"\n\"WinStopMoney\"=dword:00000007\n"),
         Current("\"LossStopMoney\"=dword:00000124\n\"WinStopMoney\"=dword:00000007\n"
                 "\"XXLimitMoney\"=dword:000000c8\n\"SXLimitMoney\"=dword:00004e20\n"
                 "\"WinStopNum\"=dword:00000004\n\"Dangerous1\"=dword:00000009\n"
                 "\"Dangerous2\"=dword:00000028\n\"AfterWinStop\"=dword:00000000\n"),
         ShoeSettings{200, 20000, 7, 292, 4, 9, 40, 0}, ""},
        {"short values and values of other types are read as their bytes and kept",
         Current(tuned + "\"WinStopNum\"=hex:05,01\n\"Dangerous2\"=\"a\"\n"
                         "\"AfterWinStop\"=hex(0):\n"),
         Current(tuned + "\"WinStopNum\"=hex:05,01\n\"Dangerous2\"=\"a\"\n"
                         "\"AfterWinStop\"=hex(0):\n"),
         ShoeSettings{100, 10000, 50, 200, 261, 8, 'a', 0}, ""},
        {"stored negative numbers come back negative",
         Current("\"XXLimitMoney\"=dword:80000000\n\"SXLimitMoney\"=dword:7fffffff\n"
                 "\"WinStopMoney\"=dword:ffffffff\n\"LossStopMoney\"=dword:fffffed4\n"
                 "\"WinStopNum\"=dword:00000000\n\"Dangerous1\"=dword:00000000\n"
                 "\"Dangerous2\"=dword:00000000\n\"AfterWinStop\"=dword:00000000\n"),
         Current("\"XXLimitMoney\"=dword:80000000\n\"SXLimitMoney\"=dword:7fffffff\n"
                 "\"WinStopMoney\"=dword:ffffffff\n\"LossStopMoney\"=dword:fffffed4\n"
                 "\"WinStopNum\"=dword:00000000\n\"Dangerous1\"=dword:00000000\n"
                 "\"Dangerous2\"=dword:00000000\n\"AfterWinStop\"=dword:00000000\n"),
         ShoeSettings{std::numeric_limits<std::int32_t>::min(),
                      std::numeric_limits<std::int32_t>::max(), -1, -300, 0, 0, 0, 0},
         ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteHive(c.before);
        ShoeSettings settings = Garbage();
        testing::internal::CaptureStdout();
        LoadSettings(settings);
        EXPECT_EQ(testing::internal::GetCapturedStdout(), c.printed);
        EXPECT_EQ(settings, c.settings);
        EXPECT_EQ(HiveText(), c.after);
        // What was loaded is what the next start loads, read only.
        EXPECT_EQ(PeekUserSettings(), c.settings);
    }
}

TEST_F(SettingsStoreTest, WriteKeepsTheLow32BitsOfTheTruncatedValue) {
    struct Case {
        double value;
        const char* stored;
        double readBack;
    };
    const double inf = std::numeric_limits<double>::infinity();
    const Case cases[] = {
        {29.0, "0000001d", 29.0},
        {2.9, "00000002", 2.0},
        {-2.9, "fffffffe", 4294967294.0},
        {-1.0, "ffffffff", 4294967295.0},
        {-0.5, "00000000", 0.0},
        {4294967296.0 + 7, "00000007", 7.0},
        {-2147483648.0, "80000000", 2147483648.0},
        {std::nan(""), "00000000", 0.0},
        {1e300, "ffffffff", 4294967295.0},  // saturates at the largest 64-bit integer
        {-inf, "00000000", 0.0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.value);
        WriteSetting("WinStopMoney", c.value);
        EXPECT_EQ(HiveText(), Hive("[HKEY_CURRENT_USER\\Darozova]\n\"WinStopMoney\"=dword:" +
                                   std::string(c.stored) + "\n\n"));
        EXPECT_EQ(ReadSetting("WinStopMoney", 5.0), c.readBack);
    }
}

TEST_F(SettingsStoreTest, ReadFallsBackToTheDefaultAndStoresIt) {
    struct Case {
        const char* name;
        const char* stored;  // the value's line, or "" for no value
        double result;
        const char* after;  // the value's line afterwards
    };
    const Case cases[] = {
        {"a dword", "\"V\"=dword:00000138", 312.0, "\"V\"=dword:00000138"},
        {"two bytes", "\"V\"=hex:05,01", 261.0, "\"V\"=hex:05,01"},
        {"no bytes", "\"V\"=hex:", 0.0, "\"V\"=hex:"},
        {"a short string", "\"V\"=\"a\"", 97.0, "\"V\"=\"a\""},
        {"eight bytes", "\"V\"=hex(b):01,00,00,00,00,00,00,00", 42.0, "\"V\"=dword:0000002a"},
        {"a longer string", "\"V\"=\"abc\"", 42.0, "\"V\"=dword:0000002a"},
        {"missing", "", 42.0, "\"V\"=dword:0000002a"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const std::string lines = *c.stored ? std::string(c.stored) + "\n" : "";
        WriteHive(Hive("[HKEY_CURRENT_USER\\Darozova]\n" + lines + "\n"));
        EXPECT_EQ(ReadSetting("V", 42.0), c.result);
        EXPECT_EQ(HiveText(),
                  Hive("[HKEY_CURRENT_USER\\Darozova]\n" + std::string(c.after) + "\n\n"));
    }
    fs::remove(File());
    EXPECT_EQ(ReadSetting("V", 42.0), 42.0);
    EXPECT_EQ(HiveText(), Hive("[HKEY_CURRENT_USER\\Darozova]\n\"V\"=dword:0000002a\n\n"));
}

TEST_F(SettingsStoreTest, NegativeSettingsSurviveARestart) {
    ShoeSettings saved{-1, 20000, std::numeric_limits<std::int32_t>::min(), -292, 4, 9, 40, 2};
    ShoeSettings loaded;
    testing::internal::CaptureStdout();
    LoadSettings(loaded);
    testing::internal::GetCapturedStdout();
    // As the configuration dialog saves them: each member as a double.
    WriteSetting("XXLimitMoney", saved.m_nXXLimitMoney);
    WriteSetting("SXLimitMoney", saved.m_nSXLimitMoney);
    WriteSetting("WinStopMoney", saved.m_nWinStopMoney);
    WriteSetting("LossStopMoney", saved.m_nLossStopMoney);
    WriteSetting("WinStopNum", saved.m_nWinStopNum);
    WriteSetting("Dangerous1", saved.m_nDangerous1);
    WriteSetting("Dangerous2", saved.m_nDangerous2);
    WriteSetting("AfterWinStop", saved.m_nAfterWinStop);
    LoadSettings(loaded);
    EXPECT_EQ(loaded, saved);
}

class DeleteKeyTreeTest : public SettingsStoreTest {
protected:
    // Runs DeleteKeyTree on `path` in a buffer of `size` characters; gives the result, what it
    // printed and what the buffer holds afterwards.
    std::tuple<bool, std::string, std::u16string> Delete(std::u16string_view path,
                                                         std::size_t size = 520) {
        std::vector<char16_t> buffer(size, u'\0');
        std::copy(path.begin(), path.end(), buffer.begin());
        CRegistryHive hive(File());
        testing::internal::CaptureStdout();
        const bool gone = DeleteKeyTree(hive, buffer);
        return {gone, testing::internal::GetCapturedStdout(), buffer.data()};
    }
};

TEST_F(DeleteKeyTreeTest, RemovesOnlyTheNamedTree) {
    const std::string keep = "[HKEY_CURRENT_USER\\DevevivuX]\n\n[HKEY_CURRENT_USER\\Other]\n\n";
    const std::string tree =
        "[HKEY_CURRENT_USER\\Devevivu]\n\"v\"=dword:00000001\n\n"
        "[HKEY_CURRENT_USER\\Devevivu\\A]\n\n[HKEY_CURRENT_USER\\Devevivu\\A\\B]\n\n"
        "[HKEY_CURRENT_USER\\Devevivu\\C]\n\n";
    struct Case {
        const char* name;
        std::u16string path;
        bool exists;
        const char* printed;
    };
    const Case cases[] = {
        {"a tree", u"Devevivu", true, ""},
        {"a tree, named with a trailing backslash", u"Devevivu\\", true, ""},
        {"a subtree", u"Devevivu\\A", true, ""},
        {"a missing key", u"Nothing", false, "Key not found.\n"},
        {"a missing key with a trailing backslash", u"Devevivu\\", false, "Key not found.\n"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WriteHive(Hive(keep + (c.exists ? tree : "")));
        const auto [gone, printed, path] = Delete(c.path);
        EXPECT_TRUE(gone);
        EXPECT_EQ(printed, c.printed);
        std::u16string expected = c.path;
        if (expected.ends_with(u'\\')) expected.pop_back();
        EXPECT_EQ(path, expected);
        CRegKey key;
        EXPECT_EQ(CRegistryHive(File()).OpenKeyForRead(
                      std::string(expected.begin(), expected.end()), key),
                  RegStatus::kNotFound);
    }
    // The subtree case left the rest of the tree.
    WriteHive(Hive(keep + tree));
    Delete(u"Devevivu\\A");
    EXPECT_EQ(HiveText(), Hive(keep + "[HKEY_CURRENT_USER\\Devevivu]\n\"v\"=dword:00000001\n\n"
                                      "[HKEY_CURRENT_USER\\Devevivu\\C]\n\n"));
}

TEST_F(DeleteKeyTreeTest, StopsWhereItCannotGoOn) {
    const std::string longName(300, 'n');
    const std::string deep = Hive(
        "[HKEY_CURRENT_USER\\Devevivu]\n\n[HKEY_CURRENT_USER\\Devevivu\\Sub]\n\n"
        "[HKEY_CURRENT_USER\\Devevivu\\Sub\\Deeper]\n\n");
    // "Devevivu\Sub\Deeper" needs 20 characters with its terminator.
    WriteHive(deep);
    auto [gone, printed, path] = Delete(u"Devevivu", 19);
    EXPECT_FALSE(gone) << "the path buffer bounds the descent";
    EXPECT_EQ(path, u"Devevivu");
    EXPECT_EQ(HiveText(), deep);
    std::tie(gone, printed, path) = Delete(u"Devevivu", 20);
    EXPECT_TRUE(gone);

    // A subkey name longer than the 260-character name buffer cannot be enumerated.
    const std::string tooLong = Hive("[HKEY_CURRENT_USER\\Devevivu\\" + longName + "]\n\n");
    WriteHive(tooLong);
    std::tie(gone, printed, path) = Delete(u"Devevivu");
    EXPECT_FALSE(gone);
    EXPECT_EQ(printed, "");
    EXPECT_EQ(HiveText(), tooLong);

    // The root itself is never deleted.
    WriteHive(Hive("[HKEY_CURRENT_USER\\Keep]\n\n"));
    std::tie(gone, printed, path) = Delete(u"");
    EXPECT_FALSE(gone);
    EXPECT_EQ(HiveText(), Hive("[HKEY_CURRENT_USER\\Keep]\n\n"));

    // A hive that cannot be read is not "not found".
    fs::remove(File());
    fs::create_directories(File());
    std::tie(gone, printed, path) = Delete(u"Devevivu");
    EXPECT_FALSE(gone);
    EXPECT_EQ(printed, "Error opening key.\n");
}

TEST_F(SettingsStoreTest, UnparsableHiveIsKeptAsideAndDefaultsUsed) {
    const std::string bad = Hive("[HKEY_CURRENT_USER\\Darozova]\n\"WinStopMoney\"=dword:zz\n");
    WriteHive(bad);
    ShoeSettings settings = Garbage();
    testing::internal::CaptureStdout();
    testing::internal::CaptureStderr();
    LoadSettings(settings);
    LoadSettings(settings);
    const std::string said = testing::internal::GetCapturedStderr();
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(settings, ShoeSettings{});
    EXPECT_EQ(HiveText(), Hive(kFreshKey));
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    const auto names = Names();
    const auto aside = std::find_if(names.begin(), names.end(), [](const std::string& n) {
        return n.starts_with("registry.reg.bad-");
    });
    ASSERT_NE(aside, names.end());
    EXPECT_EQ(ReadBytes(Folder() / *aside), bad);
}

TEST_F(SettingsStoreTest, NoWritableFolderMeansDefaults) {
    // XDG_CONFIG_HOME names a plain file: the hive's folder cannot exist.
    WriteBytes(Root() / "plain", "x");
    ::setenv("XDG_CONFIG_HOME", (Root() / "plain").c_str(), 1);
    ShoeSettings settings = Garbage();
    testing::internal::CaptureStdout();
    LoadSettings(settings);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(settings, ShoeSettings{});
    EXPECT_EQ(ReadSetting("WinStopMoney", 5.0), 5.0);
    EXPECT_EQ(NamesIn(Root()), std::vector<std::string>{"plain"});
}

TEST_F(SettingsStoreTest, PeekChangesNothing) {
    // No hive: defaults, and no folder made.
    EXPECT_EQ(PeekUserSettings(), ShoeSettings{});
    EXPECT_FALSE(fs::exists(Folder()));

    const struct {
        const char* name;
        std::string text;
        ShoeSettings expected;
    } cases[] = {
        {"missing values are defaults", Current("\"WinStopNum\"=hex:05,01\n"),
         ShoeSettings{200, 20000, 29, 292, 261, 9, 40, 0}},
        {"another version would be wiped",
         Hive("[HKEY_CURRENT_USER\\Darozova]\n"
              "\"Version\"=dword:00000137\n"
              "\"WinStopMoney\"=dword:00000007\n\n"),
         ShoeSettings{}},
        {"an unparsable hive is left where it is", Hive("[HKEY_CURRENT_USER\\Darozova\n"),
         ShoeSettings{}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        WriteHive(c.text);
        struct stat before {};
        ::stat(File().c_str(), &before);
        testing::internal::CaptureStderr();
        EXPECT_EQ(PeekUserSettings(), c.expected);
        testing::internal::GetCapturedStderr();
        struct stat after {};
        ::stat(File().c_str(), &after);
        EXPECT_EQ(HiveText(), c.text);
        EXPECT_EQ(std::tie(before.st_mtim.tv_sec, before.st_mtim.tv_nsec),
                  std::tie(after.st_mtim.tv_sec, after.st_mtim.tv_nsec));
        EXPECT_EQ(Names(), std::vector<std::string>{"registry.reg"});
    }
}

// Extra state sits beside the nine values: never written as a default, written only when it
// changes, read back with its sign, and only as a 4-byte REG_DWORD.
TEST_F(SettingsStoreTest, ExtraValuesAreWrittenOnlyWhenTheyChange) {
    EXPECT_EQ(ReadExtraValue("RoadWndOpen"), std::nullopt);
    EXPECT_FALSE(fs::exists(Folder()));
    ShoeSettings settings;
    testing::internal::CaptureStdout();
    LoadSettings(settings);
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(ReadExtraValue("RoadWndOpen"), std::nullopt);
    EXPECT_EQ(HiveText(), Hive(kFreshKey));

    WriteExtraValue("RoadWndX", -5);
    const std::string withExtra = Hive(std::string(kFreshKey.substr(0, kFreshKey.size() - 1)) +
                                       "\"RoadWndX\"=dword:fffffffb\n\n");
    EXPECT_EQ(HiveText(), withExtra);
    EXPECT_EQ(ReadExtraValue("RoadWndX"), -5);
    struct stat before {};
    ::stat(File().c_str(), &before);
    WriteExtraValue("RoadWndX", -5);  // unchanged: the file is not replaced
    struct stat after {};
    ::stat(File().c_str(), &after);
    EXPECT_EQ(before.st_ino, after.st_ino);

    for (const char* stored : {"\"RoadWndX\"=hex:05,00,00\n", "\"RoadWndX\"=\"5\"\n"}) {
        SCOPED_TRACE(stored);
        WriteHive(Current(stored));
        EXPECT_EQ(ReadExtraValue("RoadWndX"), std::nullopt);
        WriteExtraValue("RoadWndX", 5);
        EXPECT_EQ(HiveText(), Current("\"RoadWndX\"=dword:00000005\n"));
    }
}

}  // namespace
