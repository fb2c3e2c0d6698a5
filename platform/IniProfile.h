#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/FileAccess.h"

// The text of a UTF-8 INI file: "[section]" headers followed by "key=value" lines.
//
// Follows the private profile functions of Windows where callers rely on them: section and key
// names are compared without regard to ASCII case and without their surrounding blanks; the
// first section and the first key of a name win; a key keeps the place where it was first
// written, and a new key goes after the last line of its section; a value is read without its
// surrounding blanks and without one pair of matching quotes around it. Lines that are not
// entries (comments starting with ';', blank lines, anything without '=') are kept as they are.
class IniProfile {
public:
    // Reads `text`; never fails. A UTF-8 byte order mark and CR before LF are dropped.
    static IniProfile Parse(std::string_view text);

    // Loads the file at `path`. A missing file loads as an empty profile; any other failure to
    // read it is returned and leaves `profile` empty.
    [[nodiscard]] static FileResult Load(const std::filesystem::path& path, IniProfile& profile);

    // The file's text, one LF after every line. Lines that were not changed come out as read.
    std::string Text() const;

    // Replaces the file at `path` with Text(), atomically (see WriteFileAtomically).
    [[nodiscard]] FileResult Save(const std::filesystem::path& path) const;

    // The value of `key` in `section`, or nothing when either is absent.
    std::optional<std::string> Get(std::string_view section, std::string_view key) const;

    // Sets `key` in `section` to `value`, creating the section at the end when absent. Values
    // that would not read back as given (surrounding blanks, surrounding quotes) are written in
    // double quotes. Returns false, changing nothing, when SetProblem names a problem.
    bool Set(std::string_view section, std::string_view key, std::string_view value);

    // Why Set would refuse these names or this value, or an empty string: names that are empty,
    // or hold a line break or NUL; a section name with ']'; a key with '=' or starting with '['
    // or ';'; a value with a line break or NUL. Such text could not be read back as written.
    static std::string SetProblem(std::string_view section, std::string_view key,
                                  std::string_view value);

    // The names of the keys in `section`, in file order.
    std::vector<std::string> Keys(std::string_view section) const;

private:
    struct Line {
        std::string text;    // the line as it stands in the file
        bool entry = false;  // a "key=value" line
        std::string key;     // entry only: the name, without surrounding blanks
        std::string value;   // entry only: the value as read
    };
    struct Section {
        std::string header;  // the "[name]" line; empty for the lines before the first header
        std::string name;    // the name, without surrounding blanks
        std::vector<Line> lines;
    };

    // Index of the first section called `name`; 0 (the lines before any header) when none is.
    std::size_t FindSection(std::string_view name) const;

    std::vector<Section> m_sections{Section{}};  // [0]: the lines before the first header
};

// The value of `key` in `section` of the file at `path`, or `defaultValue` when the file, the
// section or the key is absent or the file cannot be read. With a `bufferSize`, the result is cut
// to at most bufferSize - 1 UTF-16 characters (never inside a character), as a Windows profile
// read into a buffer of that many characters would return it.
std::string ReadProfileString(const std::filesystem::path& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::optional<std::size_t> bufferSize = std::nullopt);

// Sets `key` in `section` of the file at `path` to `value`, creating the file and the section
// when absent, and replaces the file atomically. A file that exists but cannot be read is left
// alone and reported, never overwritten.
[[nodiscard]] FileResult WriteProfileString(const std::filesystem::path& path,
                                            std::string_view section, std::string_view key,
                                            std::string_view value);

// `text` cut to at most bufferSize - 1 UTF-16 characters, at a character boundary.
std::string TruncateToBuffer(std::string_view text, std::size_t bufferSize);
