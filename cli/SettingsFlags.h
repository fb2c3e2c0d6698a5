#pragma once

#include <CLI/CLI.hpp>

#include "Settings.h"

// Adds the eight settings flags (--table-min ... --after-stop) to a subcommand, writing into
// `settings`, whose current values are the defaults shown in --help.
void AddSettingsFlags(CLI::App& command, ShoeSettings& settings);
