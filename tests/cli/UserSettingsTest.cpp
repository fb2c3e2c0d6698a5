#include <gtest/gtest.h>
#include <sys/wait.h>

#include <array>
#include <cstdio>
#include <cstdlib>
#include <optional>
#include <string>

#include "cli/SettingsFlags.h"
#include "tests/platform/TempConfigHome.h"

namespace {

namespace fs = std::filesystem;

// A saved hive with every setting away from its default.
constexpr std::string_view kSaved =
    "Windows Registry Editor Version 5.00\n\n"
    "[HKEY_CURRENT_USER\\Darozova]\n"
    "\"Version\"=dword:00000138\n"
    "\"XXLimitMoney\"=dword:00000064\n"
    "\"SXLimitMoney\"=dword:00002710\n"
    "\"WinStopMoney\"=dword:00000032\n"
    "\"LossStopMoney\"=dword:ffffff9c\n"
    "\"WinStopNum\"=dword:00000003\n"
    "\"Dangerous1\"=dword:00000008\n"
    "\"Dangerous2\"=dword:00000001\n"
    "\"AfterWinStop\"=dword:00000002\n\n";
const ShoeSettings kSavedSettings{100, 10000, 50, -100, 3, 8, 1, 2};

class UserSettingsFlag : public testing::Test, protected TempConfigHome {
protected:
    // The settings a subcommand ends up with after parsing `args`.
    static ShoeSettings Parse(const std::string& args, bool withStops = true) {
        CLI::App app;
        CLI::App* command = app.add_subcommand("run");
        ShoeSettings settings;
        AddSettingsFlags(*command, settings, withStops);
        app.parse("run " + args, false);
        return settings;
    }
};

TEST_F(UserSettingsFlag, SavedSettingsUnderExplicitFlags) {
    WriteHive(kSaved);
    ShoeSettings overridden = kSavedSettings;
    overridden.m_nWinStopMoney = 7;
    overridden.m_nAfterWinStop = 0;
    const struct {
        const char* args;
        ShoeSettings expected;
    } cases[] = {
        {"", ShoeSettings{}},
        {"--win-stop 7 --after-stop 0", ShoeSettings{200, 20000, 7, 292, 4, 9, 40, 0}},
        {"--user-settings", kSavedSettings},
        {"--user-settings --win-stop 7 --after-stop 0", overridden},
        {"--win-stop 7 --after-stop 0 --user-settings", overridden},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args);
        EXPECT_EQ(Parse(c.args), c.expected);
    }
    // A command without the stop flags still takes the saved stops; it sets its own later.
    EXPECT_EQ(Parse("--user-settings", false), kSavedSettings);
    EXPECT_EQ(ReadBytes(Folder() / "registry.reg"), kSaved);
    EXPECT_EQ(NamesIn(Root()), std::vector<std::string>{"nuv"});
    EXPECT_EQ(Names(), std::vector<std::string>{"registry.reg"});
}

std::string RunSim(const fs::path& config, const std::string& args) {
    const std::string command =
        "XDG_CONFIG_HOME='" + config.string() + "' " NUV_SIM_PATH " " + args + " 2>/dev/null";
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out;
    std::array<char, 4096> buffer;
    std::size_t n = 0;
    while (pipe && (n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.append(buffer.data(), n);
    }
    if (pipe) {
        EXPECT_EQ(::pclose(pipe), 0) << args;
    }
    return out;
}

// The saved stop-loss of -100 is met by an empty shoe: the first hand is refused.
TEST_F(UserSettingsFlag, NuvSimReadsTheHiveAndLeavesItAlone) {
    const auto refused = [this](const std::string& flags) {
        return RunSim(Root(), "replay --json " + flags + " BBBBB").find("refused") !=
               std::string::npos;
    };
    EXPECT_FALSE(refused("--user-settings"));
    EXPECT_FALSE(fs::exists(Folder())) << "no hive: nothing may be created";

    WriteHive(kSaved);
    EXPECT_FALSE(refused(""));
    EXPECT_TRUE(refused("--user-settings"));
    EXPECT_FALSE(refused("--user-settings --stop-loss 292"));
    EXPECT_EQ(ReadBytes(Folder() / "registry.reg"), kSaved);
    EXPECT_EQ(Names(), std::vector<std::string>{"registry.reg"});
}

}  // namespace
