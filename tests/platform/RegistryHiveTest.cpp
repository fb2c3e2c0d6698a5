#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <optional>

#include "platform/RegistryHive.h"
#include "platform/Utf16.h"
#include "tests/platform/TempConfigHome.h"

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

constexpr std::string_view kHead = "Windows Registry Editor Version 5.00\n\n";

Bytes DwordBytes(std::uint32_t n) {
    return {static_cast<std::uint8_t>(n), static_cast<std::uint8_t>(n >> 8),
            static_cast<std::uint8_t>(n >> 16), static_cast<std::uint8_t>(n >> 24)};
}

// The hive lives in a temporary folder; nothing here reads XDG_CONFIG_HOME but the path test.
class RegistryHiveTest : public testing::Test, protected TempConfigHome {
protected:
    // The hive as it is on disk now.
    CRegistryTree OnDisk() const {
        std::string error;
        auto tree = CRegistryTree::Parse(ReadBytes(File()), &error);
        EXPECT_TRUE(tree) << error;
        return tree.value_or(CRegistryTree{});
    }
    Bytes Query(const CRegKey& key, std::string_view name, RegStatus expected = RegStatus::kOk,
                std::uint32_t* type = nullptr) const {
        Bytes buffer(64);
        std::size_t length = 0;
        EXPECT_EQ(m_hive.QueryValue(key, name, buffer, length, type), expected);
        buffer.resize(expected == RegStatus::kOk ? length : 0);
        return buffer;
    }

    CRegistryHive m_hive{File()};
};

TEST_F(RegistryHiveTest, KeysOpenCreateAndDeleteAsRegistryKeysDo) {
    CRegKey key;
    EXPECT_EQ(m_hive.OpenKey("A", key), RegStatus::kNotFound);
    EXPECT_EQ(m_hive.OpenKeyForRead("A", key), RegStatus::kNotFound);
    EXPECT_EQ(m_hive.DeleteKey("A"), RegStatus::kNotFound);
    EXPECT_FALSE(fs::exists(Folder())) << "looking must not create anything";

    // Creating makes every missing key above; names then match in any case.
    ASSERT_EQ(m_hive.CreateKey("A\\B\\C", key), RegStatus::kOk);
    EXPECT_TRUE(key.m_bWritable);
    EXPECT_EQ(m_hive.OpenKey("a\\b", key), RegStatus::kOk);
    EXPECT_EQ(m_hive.OpenKeyForRead("A\\B\\C\\", key), RegStatus::kOk);
    EXPECT_FALSE(key.m_bWritable);
    EXPECT_EQ(ReadBytes(File()), std::string(kHead) +
                                     "[HKEY_CURRENT_USER\\A]\n\n"
                                     "[HKEY_CURRENT_USER\\A\\B]\n\n"
                                     "[HKEY_CURRENT_USER\\A\\B\\C]\n\n");

    // A key goes only once it has no subkeys; its values go with it.
    ASSERT_EQ(m_hive.OpenKey("A\\B", key), RegStatus::kOk);
    ASSERT_EQ(m_hive.SetDword(key, "v", 1), RegStatus::kOk);
    EXPECT_EQ(m_hive.DeleteKey("A\\B"), RegStatus::kAccessDenied);
    EXPECT_EQ(m_hive.DeleteKey("a\\b\\c"), RegStatus::kOk);
    EXPECT_EQ(m_hive.DeleteKey("A\\B\\C"), RegStatus::kNotFound);
    EXPECT_EQ(m_hive.DeleteKey("A\\B\\"), RegStatus::kOk);
    EXPECT_EQ(ReadBytes(File()), std::string(kHead) + "[HKEY_CURRENT_USER\\A]\n\n");

    for (const char* bad : {"", "\\A", "A\\\\B"}) {
        SCOPED_TRACE(bad);
        EXPECT_EQ(m_hive.DeleteKey(bad), RegStatus::kInvalidName);
    }
    EXPECT_EQ(m_hive.CreateKey("A\nB", key), RegStatus::kInvalidName);
}

TEST_F(RegistryHiveTest, ValuesKeepTheirTypeAndBytes) {
    WriteHive(std::string(kHead) +
              "[HKEY_CURRENT_USER\\Darozova]\n"
              "\"WinStopNum\"=hex:05,01\n"
              "\"LossStopMoney\"=\"some text\"\n");
    CRegKey key;
    ASSERT_EQ(m_hive.OpenKey("Darozova", key), RegStatus::kOk);
    std::uint32_t type = 0;
    EXPECT_EQ(Query(key, "winstopnum", RegStatus::kOk, &type), (Bytes{5, 1}));
    EXPECT_EQ(type, REG_BINARY);
    EXPECT_EQ(Query(key, "Missing", RegStatus::kNotFound), Bytes{});

    // Longer than the buffer: nothing copied, the size told.
    std::array<std::uint8_t, 4> small{};
    std::size_t length = 0;
    EXPECT_EQ(m_hive.QueryValue(key, "LossStopMoney", small, length), RegStatus::kMoreData);
    EXPECT_EQ(length, 20u);
    EXPECT_EQ(small, (std::array<std::uint8_t, 4>{}));

    // A value is replaced in place whatever its type was; a new one is appended.
    ASSERT_EQ(m_hive.SetDword(key, "LossStopMoney", 292), RegStatus::kOk);
    const Bytes odd = {0xFF, 0, 0x0A};
    ASSERT_EQ(m_hive.SetValue(key, "Odd", 0x99, odd), RegStatus::kOk);
    EXPECT_EQ(Query(key, "LossStopMoney", RegStatus::kOk, &type), (Bytes{0x24, 1, 0, 0}));
    EXPECT_EQ(type, REG_DWORD);
    EXPECT_EQ(ReadBytes(File()), std::string(kHead) +
                                     "[HKEY_CURRENT_USER\\Darozova]\n"
                                     "\"WinStopNum\"=hex:05,01\n"
                                     "\"LossStopMoney\"=dword:00000124\n"
                                     "\"Odd\"=hex(99):ff,00,0a\n\n");

    EXPECT_EQ(m_hive.SetDword(key, "a\nb", 1), RegStatus::kInvalidName);
}

TEST_F(RegistryHiveTest, HandlesFollowTheirKey) {
    CRegKey key;
    ASSERT_EQ(m_hive.CreateKey("K", key), RegStatus::kOk);
    CRegKey readOnly;
    ASSERT_EQ(m_hive.OpenKeyForRead("K", readOnly), RegStatus::kOk);
    EXPECT_EQ(m_hive.SetDword(readOnly, "v", 1), RegStatus::kAccessDenied);

    // Another handle (or process) deletes the key: this one now fails as deleted.
    ASSERT_EQ(m_hive.DeleteKey("K"), RegStatus::kOk);
    std::array<char16_t, 8> name{};
    std::size_t length = 0;
    EXPECT_EQ(m_hive.SetDword(key, "v", 1), RegStatus::kKeyDeleted);
    EXPECT_EQ(Query(key, "v", RegStatus::kKeyDeleted), Bytes{});
    EXPECT_EQ(m_hive.EnumKey(key, 0, name, length), RegStatus::kKeyDeleted);
}

TEST_F(RegistryHiveTest, EnumeratesSubkeysIntoABoundedBuffer) {
    CRegKey key;
    ASSERT_EQ(m_hive.CreateKey("K\\Zeta", key), RegStatus::kOk);
    ASSERT_EQ(m_hive.CreateKey("K\\\xE7\x99\xBE\xE5\xAE\xB6\xE4\xB9\x90", key), RegStatus::kOk);
    ASSERT_EQ(m_hive.OpenKeyForRead("K", key), RegStatus::kOk);

    std::array<char16_t, 5> name{};
    std::size_t length = 0;
    ASSERT_EQ(m_hive.EnumKey(key, 0, name, length), RegStatus::kOk);
    EXPECT_EQ(std::u16string(name.data()), u"Zeta");
    EXPECT_EQ(length, 4u);
    // Three characters of UTF-16, nine bytes of UTF-8: the buffer counts characters.
    ASSERT_EQ(m_hive.EnumKey(key, 1, std::span(name).first(4), length), RegStatus::kOk);
    EXPECT_EQ(std::u16string(name.data()), u"百家乐");
    EXPECT_EQ(m_hive.EnumKey(key, 1, std::span(name).first(3), length), RegStatus::kMoreData);
    EXPECT_EQ(length, 3u);
    EXPECT_EQ(m_hive.EnumKey(key, 2, name, length), RegStatus::kNoMoreItems);
}

TEST_F(RegistryHiveTest, OpenForReadTellsMissingFromBroken) {
    CRegKey key;
    EXPECT_EQ(m_hive.OpenKeyForRead("K", key), RegStatus::kNotFound);
    fs::create_directories(File());  // the hive's name taken by a folder
    EXPECT_EQ(m_hive.OpenKeyForRead("K", key), RegStatus::kIoError);
    EXPECT_EQ(m_hive.CreateKey("K", key), RegStatus::kIoError);

    WriteBytes(Root() / "file", "x");  // the hive's folder below a plain file
    CRegistryHive underFile(Root() / "file" / "registry.reg");
    EXPECT_EQ(underFile.OpenKeyForRead("K", key), RegStatus::kIoError);
    EXPECT_EQ(underFile.CreateKey("K", key), RegStatus::kIoError);
}

TEST_F(RegistryHiveTest, UnparsableHiveIsMovedAsideNeverLost) {
    const std::string first = std::string(kHead) + "[HKEY_CURRENT_USER\\K]\n\"v\"=dword:\n";
    const std::string second = "\x01\x02 not a hive at all";
    testing::internal::CaptureStderr();
    WriteHive(first);
    CRegKey key;
    EXPECT_EQ(m_hive.OpenKeyForRead("K", key), RegStatus::kNotFound);  // read as empty
    WriteHive(second);
    ASSERT_EQ(m_hive.CreateKey("New", key), RegStatus::kOk);
    EXPECT_EQ(m_hive.OpenKeyForRead("New", key), RegStatus::kOk);
    const std::string said = testing::internal::GetCapturedStderr();

    // Both bad files kept beside the hive, byte for byte, the second not over the first.
    std::vector<std::string> kept;
    for (const std::string& name : Names()) {
        if (name.starts_with("registry.reg.bad-")) kept.push_back(ReadBytes(Folder() / name));
    }
    EXPECT_EQ(kept, (std::vector<std::string>{first, second}));
    EXPECT_EQ(ReadBytes(File()), std::string(kHead) + "[HKEY_CURRENT_USER\\New]\n\n");
    // Each said once, naming the file.
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 2) << said;
    EXPECT_NE(said.find(File().string()), std::string::npos) << said;
}

TEST_F(RegistryHiveTest, ReadOnlyHiveTouchesNothing) {
    CRegistryHive readOnly(File(), true);
    CRegKey key;
    EXPECT_EQ(readOnly.CreateKey("K", key), RegStatus::kAccessDenied);
    EXPECT_EQ(readOnly.OpenKey("K", key), RegStatus::kAccessDenied);
    EXPECT_EQ(readOnly.DeleteKey("K"), RegStatus::kAccessDenied);
    EXPECT_FALSE(fs::exists(Folder()));

    const std::string bad = std::string(kHead) + "[HKEY_CURRENT_USER\\K]\n\"v\"=oops\n";
    WriteHive(bad);
    testing::internal::CaptureStderr();
    EXPECT_EQ(readOnly.OpenKeyForRead("K", key), RegStatus::kNotFound);
    EXPECT_EQ(readOnly.OpenKeyForRead("K", key), RegStatus::kNotFound);
    const std::string said = testing::internal::GetCapturedStderr();
    EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
    EXPECT_EQ(Names(), std::vector<std::string>{"registry.reg"});
    EXPECT_EQ(ReadBytes(File()), bad);
}

TEST_F(RegistryHiveTest, UnwritableFolderFailsTheChangeOnly) {
    if (::geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    WriteHive(std::string(kHead) + "[HKEY_CURRENT_USER\\K]\n\"v\"=dword:00000007\n");
    ::chmod(Folder().c_str(), 0500);
    CRegKey key;
    ASSERT_EQ(m_hive.OpenKey("K", key), RegStatus::kOk);
    EXPECT_EQ(Query(key, "v"), (Bytes{7, 0, 0, 0}));
    EXPECT_EQ(m_hive.SetDword(key, "w", 1), RegStatus::kIoError);
    ::chmod(Folder().c_str(), 0700);
}

TEST(RegistryHivePath, FollowsXdgConfigHome) {
    struct Case {
        const char* xdg;
        const char* home;
        const char* expected;
    } const cases[] = {
        {"/cfg", "/home/u", "/cfg/nuv/registry.reg"},
        {nullptr, "/home/u", "/home/u/.config/nuv/registry.reg"},
        {"", "/home/u", "/home/u/.config/nuv/registry.reg"},
        {"relative/cfg", "/home/u", "/home/u/.config/nuv/registry.reg"},
    };
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const std::optional<std::string> savedXdg =
        xdg ? std::optional<std::string>(xdg) : std::nullopt;
    const std::string savedHome = std::getenv("HOME") ? std::getenv("HOME") : "";
    for (const Case& c : cases) {
        SCOPED_TRACE(c.xdg ? c.xdg : "(unset)");
        c.xdg ? ::setenv("XDG_CONFIG_HOME", c.xdg, 1) : ::unsetenv("XDG_CONFIG_HOME");
        ::setenv("HOME", c.home, 1);
        EXPECT_EQ(CRegistryHive::UserHivePath(), fs::path(c.expected));
    }
    savedXdg ? ::setenv("XDG_CONFIG_HOME", savedXdg->c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    ::setenv("HOME", savedHome.c_str(), 1);
}

// Runs `work` in a child process; returns its pid.
template <typename Work>
pid_t Spawn(Work work) {
    const pid_t pid = ::fork();
    if (pid == 0) ::_exit(work() ? 0 : 1);
    return pid;
}

std::string ValueName(int writer, int i) {
    return "w" + std::to_string(writer) + "_" + std::to_string(i);
}

// Two processes write at once, each its own values and one value both write; meanwhile every
// state of the file that a reader sees is a whole hive.
TEST_F(RegistryHiveTest, TwoProcessesWritingAtOnceLoseNothing) {
    constexpr int kWrites = 60;
    auto writer = [&](int id) {
        return [this, id] {
            CRegistryHive hive(File());
            for (int i = 0; i < kWrites; ++i) {
                CRegKey key;
                if (hive.CreateKey("Shared", key) != RegStatus::kOk ||
                    hive.SetDword(key, ValueName(id, i), static_cast<std::uint32_t>(i)) !=
                        RegStatus::kOk ||
                    hive.SetDword(key, "Both", static_cast<std::uint32_t>(id)) != RegStatus::kOk) {
                    return false;
                }
            }
            return true;
        };
    };
    const pid_t first = Spawn(writer(1));
    const pid_t second = Spawn(writer(2));
    // Values are only ever added, so a torn or half-written file shows as one that does not
    // parse or that holds fewer values than a read before it.
    int reads = 0;
    int badReads = 0;
    std::size_t mostValues = 0;
    for (auto& pid : {first, second}) {
        int status = 0;
        while (::waitpid(pid, &status, WNOHANG) == 0) {
            const auto tree = CRegistryTree::Parse(ReadBytes(File()));
            const CRegKeyNode* shared = tree ? tree->Find({"Shared"}) : nullptr;
            const std::size_t values = shared ? shared->m_values.size() : 0;
            if (!tree || values < mostValues) ++badReads;
            mostValues = std::max(mostValues, values);
            ++reads;
        }
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    }
    EXPECT_EQ(badReads, 0) << "of " << reads << " reads";

    const CRegistryTree tree = OnDisk();
    const CRegKeyNode* shared = tree.Find({"Shared"});
    ASSERT_NE(shared, nullptr);
    EXPECT_EQ(shared->m_values.size(), 2u * kWrites + 1);
    for (int id : {1, 2}) {
        for (int i = 0; i < kWrites; ++i) {
            const CRegValue* v = shared->FindValue(ValueName(id, i));
            ASSERT_NE(v, nullptr) << ValueName(id, i);
            EXPECT_EQ(v->m_data, DwordBytes(static_cast<std::uint32_t>(i)));
        }
    }
    const CRegValue* both = shared->FindValue("Both");
    ASSERT_NE(both, nullptr);
    EXPECT_TRUE(both->m_data == DwordBytes(1) || both->m_data == DwordBytes(2));
}

// A writer killed at any moment leaves the hive as after some whole number of its writes, and
// the lock it held does not outlive it.
TEST_F(RegistryHiveTest, KilledWriterLeavesAWholeHive) {
    for (const int minimum : {1, 7, 20}) {
        SCOPED_TRACE(minimum);
        fs::remove_all(Folder());
        const pid_t child = Spawn([this] {
            CRegistryHive hive(File());
            CRegKey key;
            for (std::uint32_t i = 0;; ++i) {
                if (hive.CreateKey("K", key) != RegStatus::kOk ||
                    hive.SetDword(key, "n" + std::to_string(i), i) != RegStatus::kOk) {
                    return false;
                }
            }
        });
        // Let it get some writes done, then kill it wherever it is.
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        std::size_t seen = 0;
        while (seen < static_cast<std::size_t>(minimum) &&
               std::chrono::steady_clock::now() < deadline) {
            const auto tree = CRegistryTree::Parse(ReadBytes(File()));
            const CRegKeyNode* k = tree ? tree->Find({"K"}) : nullptr;
            seen = k ? k->m_values.size() : 0;
        }
        ::kill(child, SIGKILL);
        ::waitpid(child, nullptr, 0);

        const CRegistryTree tree = OnDisk();
        const CRegKeyNode* k = tree.Find({"K"});
        ASSERT_NE(k, nullptr);
        ASSERT_GE(k->m_values.size(), seen);
        for (std::uint32_t i = 0; i < k->m_values.size(); ++i) {
            EXPECT_EQ(k->m_values[i],
                      (CRegValue{"n" + std::to_string(i), REG_DWORD, DwordBytes(i)}));
        }
        CRegKey key;
        ASSERT_EQ(m_hive.OpenKey("K", key), RegStatus::kOk);
        EXPECT_EQ(m_hive.SetDword(key, "after", 1), RegStatus::kOk);
    }
}

}  // namespace
