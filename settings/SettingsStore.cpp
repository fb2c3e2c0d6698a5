#include "settings/SettingsStore.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <limits>
#include <optional>

#include "platform/Utf16.h"

namespace {

constexpr std::string_view kKey = "Darozova";
constexpr std::string_view kVersionName = "Version";
constexpr double kVersion = 312.0;
// Deleted, in this order, when the layout version differs; the last is the current key itself.
constexpr std::array<std::u16string_view, 3> kKeysToWipe = {u"Vevududu", u"Devevivu", u"Darozova"};
constexpr std::size_t kWipeBufferSize = 520;  // wide characters, terminator included
constexpr std::size_t kNameBufferSize = 260;  // the longest subkey name DeleteKeyTree takes, + NUL

// Truncation toward zero to a signed 64-bit integer, low 32 bits kept. NaN gives 0 and values
// beyond the 64-bit range saturate, where a plain conversion would be undefined.
std::uint32_t Low32Bits(double value) {
    if (std::isnan(value)) return 0;
    constexpr double kTwo63 = 9223372036854775808.0;
    if (value >= kTwo63)
        return static_cast<std::uint32_t>(std::numeric_limits<std::int64_t>::max());
    if (value < -kTwo63)
        return static_cast<std::uint32_t>(std::numeric_limits<std::int64_t>::min());
    return static_cast<std::uint32_t>(static_cast<std::int64_t>(value));
}

// A stored value becomes a member keeping its 32-bit pattern, so a negative setting written as
// 2^32 - n comes back as -n.
std::int32_t ToMember(double value) {
    return static_cast<std::int32_t>(Low32Bits(value));
}

// The value's data as a little-endian number, when it is at most 4 bytes long.
std::optional<std::uint32_t> QuerySmall(const CRegistryHive& hive, const CRegKey& key,
                                        std::string_view name) {
    std::array<std::uint8_t, 4> data{};
    std::size_t length = data.size();
    if (hive.QueryValue(key, name, data, length) != RegStatus::kOk) return std::nullopt;
    return static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16) |
           static_cast<std::uint32_t>(data[3]) << 24;
}

std::size_t PathLength(std::span<const char16_t> path) {
    return std::u16string_view(path.data(), path.size()).find(u'\0');
}

// The UTF-8 form of the NUL-terminated path, or "\\" (a name every operation refuses) when the
// path is not valid UTF-16.
std::string PathText(std::span<const char16_t> path) {
    return Utf16ToUtf8({path.data(), PathLength(path)}).value_or("\\");
}

// Removes one trailing backslash, so the buffer holds the path without it.
void CutTrailingBackslash(std::span<char16_t> path) {
    const std::size_t length = PathLength(path);
    if (length > 0 && path[length - 1] == u'\\') path[length - 1] = u'\0';
}

CRegistryHive UserHive(bool readOnly = false) {
    return CRegistryHive(CRegistryHive::UserHivePath(), readOnly);
}

}  // namespace

void WriteSetting(CRegistryHive& hive, std::string_view name, double value) {
    CRegKey key;
    if (hive.OpenKey(kKey, key) != RegStatus::kOk && hive.CreateKey(kKey, key) != RegStatus::kOk) {
        return;
    }
    hive.SetDword(key, name, Low32Bits(value));
}

double ReadSetting(CRegistryHive& hive, std::string_view name, double defaultValue) {
    CRegKey key;
    std::optional<std::uint32_t> stored;
    if (hive.OpenKey(kKey, key) == RegStatus::kOk) stored = QuerySmall(hive, key, name);
    if (!stored) {
        WriteSetting(hive, name, defaultValue);
        return defaultValue;
    }
    return static_cast<double>(*stored);
}

bool DeleteKeyTree(CRegistryHive& root, std::span<char16_t> path) {
    const std::size_t length = PathLength(path);
    if (length == std::u16string_view::npos || length == 0) return false;

    if (root.DeleteKey(PathText(path)) == RegStatus::kOk) {
        CutTrailingBackslash(path);
        return true;
    }
    CRegKey key;
    const RegStatus opened = root.OpenKeyForRead(PathText(path), key);
    if (opened == RegStatus::kNotFound) {
        std::printf("Key not found.\n");
        CutTrailingBackslash(path);
        return true;
    }
    if (opened != RegStatus::kOk) {
        std::printf("Error opening key.\n");
        CutTrailingBackslash(path);
        return false;
    }

    // `end` is where a subkey's name goes, just after the backslash.
    std::size_t end = length;
    if (path[length - 1] != u'\\') {
        if (length + 2 > path.size()) return false;  // no room for the backslash
        path[end++] = u'\\';
        path[end] = u'\0';
    }
    while (true) {
        std::array<char16_t, kNameBufferSize> name{};
        std::size_t nameLength = name.size();
        if (root.EnumKey(key, 0, name, nameLength) != RegStatus::kOk) break;
        if (end + nameLength + 1 > path.size()) break;  // the subkey's path would not fit
        std::copy_n(name.begin(), nameLength + 1, path.begin() + static_cast<std::ptrdiff_t>(end));
        if (!DeleteKeyTree(root, path)) break;
    }
    path[end - 1] = u'\0';
    return root.DeleteKey(PathText(path)) == RegStatus::kOk;
}

void LoadSettings(CRegistryHive& hive, ShoeSettings& settings) {
    if (ReadSetting(hive, kVersionName, 0.0) != kVersion) {
        for (const std::u16string_view name : kKeysToWipe) {
            std::array<char16_t, kWipeBufferSize> buffer{};
            std::copy(name.begin(), name.end(), buffer.begin());
            DeleteKeyTree(hive, buffer);
        }
        WriteSetting(hive, kVersionName, kVersion);
    }
    const ShoeSettings defaults;
    for (const SettingSlot& slot : kSettingSlots) {
        settings.*slot.member = ToMember(ReadSetting(hive, slot.name, defaults.*slot.member));
    }
}

ShoeSettings PeekSettings(const CRegistryHive& hive) {
    ShoeSettings settings;
    CRegKey key;
    if (hive.OpenKeyForRead(kKey, key) != RegStatus::kOk) return settings;
    // Any other version would be wiped at the next start, leaving the defaults.
    if (QuerySmall(hive, key, kVersionName) != Low32Bits(kVersion)) return settings;
    for (const SettingSlot& slot : kSettingSlots) {
        if (const auto stored = QuerySmall(hive, key, slot.name)) {
            settings.*slot.member = ToMember(*stored);
        }
    }
    return settings;
}

void WriteSetting(std::string_view name, double value) {
    CRegistryHive hive = UserHive();
    WriteSetting(hive, name, value);
}

double ReadSetting(std::string_view name, double defaultValue) {
    CRegistryHive hive = UserHive();
    return ReadSetting(hive, name, defaultValue);
}

void LoadSettings(ShoeSettings& settings) {
    CRegistryHive hive = UserHive();
    LoadSettings(hive, settings);
}

ShoeSettings PeekUserSettings() {
    return PeekSettings(UserHive(true));
}

std::optional<std::int32_t> ReadExtraValue(const CRegistryHive& hive, std::string_view name) {
    CRegKey key;
    if (hive.OpenKeyForRead(kKey, key) != RegStatus::kOk) return std::nullopt;
    std::array<std::uint8_t, 4> data{};
    std::size_t length = data.size();
    std::uint32_t type = REG_NONE;
    if (hive.QueryValue(key, name, data, length, &type) != RegStatus::kOk) return std::nullopt;
    if (type != REG_DWORD || length != data.size()) return std::nullopt;
    const std::uint32_t bits = static_cast<std::uint32_t>(data[0] | data[1] << 8 | data[2] << 16) |
                               static_cast<std::uint32_t>(data[3]) << 24;
    return static_cast<std::int32_t>(bits);
}

void WriteExtraValue(CRegistryHive& hive, std::string_view name, std::int32_t value) {
    if (ReadExtraValue(hive, name) == value) return;
    CRegKey key;
    if (hive.OpenKey(kKey, key) != RegStatus::kOk && hive.CreateKey(kKey, key) != RegStatus::kOk) {
        return;
    }
    hive.SetDword(key, name, static_cast<std::uint32_t>(value));
}

std::optional<std::int32_t> ReadExtraValue(std::string_view name) {
    return ReadExtraValue(UserHive(true), name);
}

void WriteExtraValue(std::string_view name, std::int32_t value) {
    CRegistryHive hive = UserHive();
    WriteExtraValue(hive, name, value);
}
