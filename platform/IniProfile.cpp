#include "platform/IniProfile.h"

#include <cerrno>

namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t';
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && IsBlank(text.front())) text.remove_prefix(1);
    while (!text.empty() && IsBlank(text.back())) text.remove_suffix(1);
    return text;
}

char AsciiLower(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// Name comparison of the profile functions: blanks around the names do not count, and ASCII
// letters match either case. Other characters must match exactly.
bool SameName(std::string_view a, std::string_view b) {
    a = Trim(a);
    b = Trim(b);
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
    }
    return true;
}

bool IsQuote(char c) {
    return c == '"' || c == '\'';
}

bool IsQuoted(std::string_view value) {
    return value.size() >= 2 && IsQuote(value.front()) && value.back() == value.front();
}

// A value as the reader returns it: without surrounding blanks and one pair of matching quotes.
std::string ReadValue(std::string_view raw) {
    raw = Trim(raw);
    if (IsQuoted(raw)) raw = raw.substr(1, raw.size() - 2);
    return std::string(raw);
}

// A value as the writer stores it, so that ReadValue gives it back unchanged.
std::string StoredValue(std::string_view value) {
    const bool needsQuotes =
        !value.empty() && (IsBlank(value.front()) || IsBlank(value.back()) || IsQuoted(value));
    return needsQuotes ? "\"" + std::string(value) + "\"" : std::string(value);
}

bool HasLineBreakOrNul(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

// Length in bytes of the UTF-8 sequence that starts with `lead`; 1 for a stray byte.
std::size_t SequenceLength(unsigned char lead) {
    if (lead >= 0xF0 && lead <= 0xF7) return 4;
    if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
    if (lead >= 0xC0) return 2;
    return 1;
}

}  // namespace

IniProfile IniProfile::Parse(std::string_view text) {
    IniProfile profile;
    // Byte order marks at the start are not text; all of them go, or a second would come back
    // as the first when the text is written out and read again.
    while (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        std::string_view line = text.substr(0, end);
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        // Every CR before the LF goes, so that the text written back reads the same again.
        while (line.ends_with('\r')) line.remove_suffix(1);

        const std::string_view trimmed = Trim(line);
        if (trimmed.starts_with('[')) {
            std::string_view name = trimmed.substr(1);
            name = name.substr(0, name.find(']'));
            profile.m_sections.push_back({std::string(line), std::string(Trim(name)), {}});
            continue;
        }
        Line parsed;
        parsed.text = std::string(line);
        const std::size_t equals = trimmed.find('=');
        if (!trimmed.starts_with(';') && equals != std::string_view::npos) {
            parsed.entry = true;
            parsed.key = std::string(Trim(trimmed.substr(0, equals)));
            parsed.value = ReadValue(trimmed.substr(equals + 1));
        }
        profile.m_sections.back().lines.push_back(std::move(parsed));
    }
    return profile;
}

FileResult IniProfile::Load(const std::filesystem::path& path, IniProfile& profile) {
    profile = IniProfile{};
    std::string text;
    FileResult read = ReadWholeFile(path, text);
    if (!read.ok()) return read.error == ENOENT ? FileResult::Success() : read;
    profile = Parse(text);
    return FileResult::Success();
}

std::string IniProfile::Text() const {
    std::string text;
    for (std::size_t s = 0; s < m_sections.size(); ++s) {
        if (s > 0) text += m_sections[s].header + '\n';
        for (const Line& line : m_sections[s].lines) text += line.text + '\n';
    }
    return text;
}

FileResult IniProfile::Save(const std::filesystem::path& path) const {
    return WriteFileAtomically(path, Text());
}

std::size_t IniProfile::FindSection(std::string_view name) const {
    for (std::size_t s = 1; s < m_sections.size(); ++s) {
        if (SameName(m_sections[s].name, name)) return s;
    }
    return 0;
}

std::optional<std::string> IniProfile::Get(std::string_view section, std::string_view key) const {
    const std::size_t found = FindSection(section);
    if (found == 0) return std::nullopt;
    for (const Line& line : m_sections[found].lines) {
        if (line.entry && SameName(line.key, key)) return line.value;
    }
    return std::nullopt;
}

std::vector<std::string> IniProfile::Keys(std::string_view section) const {
    std::vector<std::string> keys;
    if (const std::size_t found = FindSection(section)) {
        for (const Line& line : m_sections[found].lines) {
            if (line.entry) keys.push_back(line.key);
        }
    }
    return keys;
}

std::string IniProfile::SetProblem(std::string_view section, std::string_view key,
                                   std::string_view value) {
    const std::string_view sectionName = Trim(section);
    const std::string_view keyName = Trim(key);
    if (sectionName.empty()) return "empty section name";
    if (HasLineBreakOrNul(sectionName) || sectionName.find(']') != std::string_view::npos) {
        return "section name holds a line break, NUL or ']'";
    }
    if (keyName.empty()) return "empty key name";
    if (HasLineBreakOrNul(keyName) || keyName.find('=') != std::string_view::npos ||
        keyName.starts_with('[') || keyName.starts_with(';')) {
        return "key name holds a line break, NUL or '=', or starts with '[' or ';'";
    }
    if (HasLineBreakOrNul(value)) return "value holds a line break or NUL";
    return {};
}

bool IniProfile::Set(std::string_view section, std::string_view key, std::string_view value) {
    if (!SetProblem(section, key, value).empty()) return false;

    std::size_t found = FindSection(section);
    if (found == 0) {
        // A blank line before a new section when the file already has text.
        Section& last = m_sections.back();
        const bool fileHasText = m_sections.size() > 1 || !last.lines.empty();
        const bool endsBlank = !last.lines.empty() && Trim(last.lines.back().text).empty();
        if (fileHasText && !endsBlank) last.lines.push_back(Line{});
        const std::string name(Trim(section));
        m_sections.push_back({"[" + name + "]", name, {}});
        found = m_sections.size() - 1;
    }
    Section* target = &m_sections[found];

    for (Line& line : target->lines) {
        if (line.entry && SameName(line.key, key)) {
            line.value = std::string(value);
            line.text = line.key + "=" + StoredValue(value);
            return true;
        }
    }

    // After the section's last non-blank line, so blank lines that end a section stay there.
    std::size_t at = target->lines.size();
    while (at > 0 && Trim(target->lines[at - 1].text).empty()) --at;
    Line added{"", true, std::string(Trim(key)), std::string(value)};
    added.text = added.key + "=" + StoredValue(value);
    target->lines.insert(target->lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(added));
    return true;
}

std::string TruncateToBuffer(std::string_view text, std::size_t bufferSize) {
    const std::size_t room = bufferSize == 0 ? 0 : bufferSize - 1;
    std::size_t units = 0;
    std::size_t bytes = 0;
    while (bytes < text.size()) {
        std::size_t length = SequenceLength(static_cast<unsigned char>(text[bytes]));
        if (bytes + length > text.size()) length = text.size() - bytes;
        const std::size_t needed = length == 4 ? 2 : 1;  // beyond U+FFFF: a surrogate pair
        if (units + needed > room) break;
        units += needed;
        bytes += length;
    }
    return std::string(text.substr(0, bytes));
}

std::string ReadProfileString(const std::filesystem::path& path, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::optional<std::size_t> bufferSize) {
    IniProfile profile;
    std::optional<std::string> value;
    if (IniProfile::Load(path, profile).ok()) value = profile.Get(section, key);
    std::string result = value ? std::move(*value) : std::string(defaultValue);
    return bufferSize ? TruncateToBuffer(result, *bufferSize) : result;
}

FileResult WriteProfileString(const std::filesystem::path& path, std::string_view section,
                              std::string_view key, std::string_view value) {
    std::string problem = IniProfile::SetProblem(section, key, value);
    if (!problem.empty()) return FileResult::Failure(path, EINVAL, std::move(problem));
    IniProfile profile;
    FileResult loaded = IniProfile::Load(path, profile);
    if (!loaded.ok()) return loaded;
    profile.Set(section, key, value);
    return profile.Save(path);
}
