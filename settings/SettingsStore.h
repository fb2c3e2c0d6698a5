#pragma once

#include <string_view>

#include "Settings.h"

// The eight settings kept between runs in the per-user registry hive, under the key
// HKEY_CURRENT_USER\Darozova, one REG_DWORD value per setting.

// Stores `value`, truncated toward zero to 64 bits, as the low 32 bits of a REG_DWORD. Silent on
// failure.
void WriteSetting(std::string_view name, double value);

// The stored value as an unsigned 32-bit number, or `defaultValue` (then written back) when the
// key or the value is missing or its data is longer than 4 bytes.
double ReadSetting(std::string_view name, double defaultValue);

// Checks the layout version (wiping old keys when it differs) and fills the eight settings.
void LoadSettings(ShoeSettings& settings);
