#pragma once

#include <CLI/CLI.hpp>

#include "engine/Settings.h"

// Adds the eight settings flags (--table-min ... --after-stop) to a subcommand, writing into
// `settings`, whose current values are the defaults shown in --help. Without `withStops` the
// win-stop and stop-loss flags are left out (for a command that sets them itself).
// With --user-settings, the settings start from those the desktop program saved (read only),
// and the flags given explicitly still override them.
void AddSettingsFlags(CLI::App& command, ShoeSettings& settings, bool withStops = true);
