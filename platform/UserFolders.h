#pragma once

#include <filesystem>

// The program's data folder: $XDG_DATA_HOME/nuv, or ~/.local/share/nuv when XDG_DATA_HOME is unset
// or not absolute. Empty when there is no home folder either. The folder may not exist yet.
std::filesystem::path UserDataFolder();
