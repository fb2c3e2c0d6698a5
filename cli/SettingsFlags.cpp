#include "SettingsFlags.h"

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
}
