#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>

#include "engine/Settings.h"
#include "platform/RegistryHive.h"

// The eight settings kept between runs in the per-user registry hive, under the key
// HKEY_CURRENT_USER\Darozova, one REG_DWORD value per setting.
//
// The store keeps nothing in memory: every call opens the key, does its work and lets it go, so a
// change made by another running copy is seen by the next call. The functions without a hive use
// the user's hive (CRegistryHive::UserHivePath()); the others serve tests and tools.

// A setting's value name and its member.
struct SettingSlot {
    std::string_view name;
    std::int32_t ShoeSettings::*member;
};

// The eight settings in the order LoadSettings reads them, a fresh key receives them and the
// configuration dialog writes them back.
inline constexpr std::array<SettingSlot, 8> kSettingSlots = {{
    {"XXLimitMoney", &ShoeSettings::m_nXXLimitMoney},
    {"SXLimitMoney", &ShoeSettings::m_nSXLimitMoney},
    {"WinStopMoney", &ShoeSettings::m_nWinStopMoney},
    {"LossStopMoney", &ShoeSettings::m_nLossStopMoney},
    {"WinStopNum", &ShoeSettings::m_nWinStopNum},
    {"Dangerous1", &ShoeSettings::m_nDangerous1},
    {"Dangerous2", &ShoeSettings::m_nDangerous2},
    {"AfterWinStop", &ShoeSettings::m_nAfterWinStop},
}};

// Stores `value`, truncated toward zero to 64 bits, as the low 32 bits of a REG_DWORD. Silent on
// failure.
void WriteSetting(std::string_view name, double value);
void WriteSetting(CRegistryHive& hive, std::string_view name, double value);

// The stored value as an unsigned 32-bit number, or `defaultValue` (then written back) when the
// key or the value is missing or its data is longer than 4 bytes.
double ReadSetting(std::string_view name, double defaultValue);
double ReadSetting(CRegistryHive& hive, std::string_view name, double defaultValue);

// Deletes the key named by the NUL-terminated UTF-16 `path` (below the hive's root) with all its
// subkeys. True when the key is gone afterwards (also when it was never there), false when it
// stays. `path` is working space: the path of each subkey is built in it, never past its end (a
// subkey that would not fit stops the descent, and the result is false). On return it holds the
// path it was given without a trailing backslash. Prints "Key not found." or "Error opening key."
// on standard output when the key cannot be opened. An empty path (the root) is never deleted.
bool DeleteKeyTree(CRegistryHive& root, std::span<char16_t> path);

// Checks the layout version (wiping old keys when it differs) and fills the eight settings.
void LoadSettings(ShoeSettings& settings);
void LoadSettings(CRegistryHive& hive, ShoeSettings& settings);

// The eight settings as LoadSettings would give them at the next start, read without creating,
// changing, locking or moving anything (for tools that must leave the user's hive alone).
ShoeSettings PeekSettings(const CRegistryHive& hive);
ShoeSettings PeekUserSettings();

// State that is not one of the eight settings (which extra windows are open, and where) is kept
// as more REG_DWORD values with English names in the same key. A missing value is never written
// back with a default, so a first start still writes only the nine values above; the version
// clean-up may wipe them, which only brings back the defaults.

// The stored 32-bit pattern, or nullopt when the key or the value is missing or the value is not
// a 4-byte REG_DWORD. Writes nothing.
std::optional<std::int32_t> ReadExtraValue(std::string_view name);
std::optional<std::int32_t> ReadExtraValue(const CRegistryHive& hive, std::string_view name);

// Stores `value` as a REG_DWORD unless exactly that is stored already, so that an unchanged
// state never rewrites the hive. Silent on failure.
void WriteExtraValue(std::string_view name, std::int32_t value);
void WriteExtraValue(CRegistryHive& hive, std::string_view name, std::int32_t value);
