#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

// Registry value types, numbered as the registry numbers them.
inline constexpr std::uint32_t REG_NONE = 0;
inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;
inline constexpr std::uint32_t REG_MULTI_SZ = 7;
inline constexpr std::uint32_t REG_QWORD = 11;

// One value: its type and its data exactly as stored (REG_SZ data is UTF-16LE with its
// terminator, REG_DWORD data is 4 bytes little-endian).
struct CRegValue {
    std::string m_strName;  // "" is the key's default value, written @
    std::uint32_t m_nType = REG_NONE;
    std::vector<std::uint8_t> m_data;

    friend bool operator==(const CRegValue&, const CRegValue&) = default;
};

// One key with its values and subkeys, both in the order they were created.
struct CRegKeyNode {
    std::string m_strName;
    std::vector<CRegValue> m_values;
    std::vector<CRegKeyNode> m_subkeys;

    const CRegValue* FindValue(std::string_view name) const;
    CRegValue* FindValue(std::string_view name);
    const CRegKeyNode* FindSubkey(std::string_view name) const;
    CRegKeyNode* FindSubkey(std::string_view name);
    // Replaces the value of that name (keeping its place) or appends a new one.
    void SetValue(std::string_view name, std::uint32_t type, std::vector<std::uint8_t> data);

    friend bool operator==(const CRegKeyNode&, const CRegKeyNode&) = default;
};

// The keys of one user's registry below HKEY_CURRENT_USER, and their text form: the syntax of
// registry export files, UTF-8. Key and value names compare ignoring ASCII case, as the registry's
// do. Paths are relative to the root, components separated by backslashes.
class CRegistryTree {
public:
    static constexpr std::string_view kHeader = "Windows Registry Editor Version 5.00";
    static constexpr std::string_view kRootName = "HKEY_CURRENT_USER";
    // The deepest key below the root, as in the registry: deeper paths are refused, so that no
    // text can build a tree too deep to copy, compare or free without running out of stack.
    static constexpr std::size_t kMaxDepth = 512;

    // The tree that `text` describes, or nothing when any line is malformed (`error`, if given,
    // then says which line and why). Text with nothing but white space is an empty tree. Takes
    // time in proportion to the length of the text.
    static std::optional<CRegistryTree> Parse(std::string_view text, std::string* error = nullptr);
    // The text form: header, then every key in tree order, each value in the form that keeps its
    // type and bytes (a string only where the string gives back the very same bytes).
    std::string Format() const;

    // The components of `path`; "" is the root. One trailing backslash is allowed. Nothing for an
    // empty component (leading or doubled backslash), a name with control characters or bytes
    // that are not UTF-8 (such names could not be written back as text), or more than kMaxDepth
    // components.
    static std::optional<std::vector<std::string_view>> SplitPath(std::string_view path);
    // Whether `name` can be a value name (any UTF-8 text without control characters).
    static bool IsValidValueName(std::string_view name);

    CRegKeyNode& Root() { return m_root; }
    const CRegKeyNode& Root() const { return m_root; }
    // The key at a path from SplitPath, or nullptr.
    const CRegKeyNode* Find(const std::vector<std::string_view>& path) const;
    CRegKeyNode* Find(const std::vector<std::string_view>& path);
    // The key at `path`, created with every missing key above it.
    CRegKeyNode& Create(const std::vector<std::string_view>& path);

    friend bool operator==(const CRegistryTree&, const CRegistryTree&) = default;

private:
    CRegKeyNode m_root;
};

// ASCII case-insensitive equality, the registry's rule for names.
bool RegNamesEqual(std::string_view a, std::string_view b);
