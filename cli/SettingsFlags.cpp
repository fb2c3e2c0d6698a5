#include "cli/SettingsFlags.h"

#include <cstdint>
#include <iostream>
#include <string>

#include "cli/StrictNumber.h"
#include "settings/SettingsStore.h"

namespace {

// --user-settings: the settings start from the desktop program's saved ones, read without touching
// its hive; the settings flags given on the command line are then applied again on top. A hive
// that exists but cannot be read is said on standard error, and the defaults are used.
void AddUserSettingsFlag(CLI::App& command, ShoeSettings& s, const std::string& group) {
    command
        .add_flag_callback(
            "--user-settings",
            [&command, &s, group] {
                FileResult error;
                s = PeekUserSettings(&error);
                if (!error.ok()) {
                    std::cerr << "nuv-sim: cannot read the saved settings " << error.path << ": "
                              << error.reason << "; starting from the defaults\n";
                }
                for (CLI::Option* option : command.get_options()) {
                    if (option->get_group() == group && option->count() > 0 &&
                        option->get_name() != "--user-settings") {
                        option->run_callback();
                    }
                }
            },
            "start from the settings the desktop program saved (read only); flags still override")
        ->group(group);
}

}  // namespace

void AddSettingsFlags(CLI::App& command, ShoeSettings& s, bool withStops) {
    const char* group = "Settings";
    const auto setting = [&](const char* name, std::int32_t& member, const char* description,
                             CLI::Validator range) {
        command.add_option(name, member, description)
            ->capture_default_str()
            ->transform(std::move(range))
            ->group(group);
    };
    const CLI::Validator any = StrictInteger<std::int32_t>();
    setting("--table-min", s.m_nXXLimitMoney, "table minimum stake, yuan", any);
    setting("--table-max", s.m_nSXLimitMoney, "table maximum stake, yuan", any);
    if (withStops) {
        setting("--win-stop", s.m_nWinStopMoney, "win-stop, units", any);
        setting("--stop-loss", s.m_nLossStopMoney, "stop-loss, units", any);
    }
    setting("--win-cycles", s.m_nWinStopNum, "won cycles that end the shoe", any);
    setting("--alarm", s.m_nDangerous1, "alarm hand count", any);
    setting("--danger", s.m_nDangerous2, "danger hand count that ends the shoe", any);
    setting("--after-stop", s.m_nAfterWinStop,
            "after a stop rule fires: 0 stop, 1 follow long runs, 2 follow all",
            StrictInteger(0, 2));
    AddUserSettingsFlag(command, s, group);
}

void AddGameFlag(CLI::App& command, Game& game) {
    command
        .add_option_function<std::string>(
            "--game", [&game](const std::string& word) { game = ParseGame(word).value(); },
            "the game of the shoes: coin (banker or player, half and half) or cards (8-deck "
            "shoes dealt by the punto banco rules, with commission)")
        ->default_str("coin")
        ->check(CLI::Validator(
            [](std::string& word) -> std::string {
                return ParseGame(word) ? std::string()
                                       : "'" + word + "' is not a game; give coin or cards";
            },
            "coin|cards", "Game"));
}
