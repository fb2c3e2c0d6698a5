#include "cli/SettingsFlags.h"

#include <string>

#include "settings/SettingsStore.h"

namespace {

// --user-settings: the settings start from the desktop program's saved ones, read without touching
// its hive; the settings flags given on the command line are then applied again on top.
void AddUserSettingsFlag(CLI::App& command, ShoeSettings& s, const std::string& group) {
    command
        .add_flag_callback(
            "--user-settings",
            [&command, &s, group] {
                s = PeekUserSettings();
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
    command.add_option("--table-min", s.m_nXXLimitMoney, "table minimum stake, yuan")
        ->capture_default_str()
        ->group(group);
    command.add_option("--table-max", s.m_nSXLimitMoney, "table maximum stake, yuan")
        ->capture_default_str()
        ->group(group);
    if (withStops) {
        command.add_option("--win-stop", s.m_nWinStopMoney, "win-stop, units")
            ->capture_default_str()
            ->group(group);
        command.add_option("--stop-loss", s.m_nLossStopMoney, "stop-loss, units")
            ->capture_default_str()
            ->group(group);
    }
    command.add_option("--win-cycles", s.m_nWinStopNum, "won cycles that end the shoe")
        ->capture_default_str()
        ->group(group);
    command.add_option("--alarm", s.m_nDangerous1, "alarm hand count")
        ->capture_default_str()
        ->group(group);
    command.add_option("--danger", s.m_nDangerous2, "danger hand count that ends the shoe")
        ->capture_default_str()
        ->group(group);
    command
        .add_option("--after-stop", s.m_nAfterWinStop,
                    "after a stop rule fires: 0 stop, 1 follow long runs, 2 follow all")
        ->capture_default_str()
        ->group(group);
    AddUserSettingsFlag(command, s, group);
}
