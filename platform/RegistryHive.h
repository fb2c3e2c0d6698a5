#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

#include "platform/RegistryTree.h"

// Outcome of a hive operation, after the registry's own error codes.
enum class RegStatus {
    kOk,
    kNotFound,      // no such key or value (ERROR_FILE_NOT_FOUND)
    kMoreData,      // the caller's buffer is too small (ERROR_MORE_DATA)
    kNoMoreItems,   // enumeration index past the last subkey (ERROR_NO_MORE_ITEMS)
    kAccessDenied,  // a key with subkeys, a write through a read-only handle or hive
    kKeyDeleted,    // the key of the handle was deleted since it was opened
    kInvalidName,   // malformed path or name
    kIoError,       // the hive file or its folder could not be read or written
};

// An open key: its path below the root and the access it was opened with. Holds no resource, so
// closing it is letting it go; every operation through it sees the hive as it is then.
struct CRegKey {
    std::string m_strPath;
    bool m_bWritable = false;
};

// The current user's registry, kept in one text file (see CRegistryTree for its form).
//
// Nothing is cached: every operation reads the file, and every change rewrites it whole, under
// an exclusive flock() on "<file>.lock", through a temporary file beside it that is flushed to
// disk and renamed over the file. So a crash or a second process never leaves a half-written or
// mixed hive, and no change made by another process is lost. A file that cannot be parsed is
// renamed aside to
// "<file>.bad-<time>" (never deleted, never overwritten) and the hive starts empty; that is said
// once on standard error.
class CRegistryHive {
public:
    // `file` should be an absolute path. A read-only hive never creates, changes, locks or renames
    // anything: its changes fail with kAccessDenied and an unparsable file reads as an empty hive,
    // left where it is.
    explicit CRegistryHive(std::filesystem::path file, bool readOnly = false)
        : m_file(std::move(file)), m_bReadOnly(readOnly) {}

    // $XDG_CONFIG_HOME/nuv/registry.reg; ~/.config when XDG_CONFIG_HOME is unset or not absolute.
    static std::filesystem::path UserHivePath();

    const std::filesystem::path& File() const { return m_file; }
    bool IsReadOnly() const { return m_bReadOnly; }

    // Opens an existing key for reading and writing; kNotFound when it is missing. "" is the root.
    RegStatus OpenKey(std::string_view path, CRegKey& key) const;
    // Opens an existing key for reading only; kNotFound only when the key is missing, any other
    // failure (unreadable hive, bad name) is reported as such.
    RegStatus OpenKeyForRead(std::string_view path, CRegKey& key) const;
    // Opens the key for reading and writing, creating it and any missing key above it.
    RegStatus CreateKey(std::string_view path, CRegKey& key);
    // Stores `data` with `type` under `name`, replacing any value of that name whatever its type.
    RegStatus SetValue(const CRegKey& key, std::string_view name, std::uint32_t type,
                       std::span<const std::uint8_t> data);
    // Stores a 4-byte little-endian REG_DWORD.
    RegStatus SetDword(const CRegKey& key, std::string_view name, std::uint32_t value);
    // Copies the data of `name` into `buffer`. `length` receives the data's size; kMoreData (and
    // nothing copied) when that is more than the buffer holds. `type`, if given, receives the type.
    RegStatus QueryValue(const CRegKey& key, std::string_view name, std::span<std::uint8_t> buffer,
                         std::size_t& length, std::uint32_t* type = nullptr) const;
    // Deletes a key with its values; kAccessDenied while it has subkeys, kNotFound when missing.
    RegStatus DeleteKey(std::string_view path);
    // The name of subkey number `index` (creation order) as NUL-terminated UTF-16 in `name`,
    // whose size counts the terminator; `length` receives the name's length without it.
    // kMoreData when it does not fit, kNoMoreItems past the last subkey.
    RegStatus EnumKey(const CRegKey& key, std::size_t index, std::span<char16_t> name,
                      std::size_t& length) const;

private:
    // Reads the hive; without the lock (`locked` false) that is safe as the file is only ever
    // replaced whole. An unparsable file is set aside under the lock; when that fails, a caller
    // holding the lock gets kIoError (so it writes nothing over it) and others an empty hive.
    RegStatus Load(CRegistryTree& tree, bool locked = false) const;
    // Runs `change` on the hive under the lock and writes the result back when `change` returns
    // kOk and sets its flag to say it changed something.
    template <typename Change>
    RegStatus Modify(Change&& change);
    bool Save(const CRegistryTree& tree) const;
    // Tells on standard error that the file could not be parsed; `movedTo` is where it went.
    void ReportUnparsable(const std::filesystem::path* movedTo) const;

    std::filesystem::path m_file;
    bool m_bReadOnly;
};
