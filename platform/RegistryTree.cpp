#include "platform/RegistryTree.h"

#include <algorithm>
#include <cstdio>

#include "platform/Utf16.h"

namespace {

constexpr std::size_t kHexLineWidth = 78;  // a hex list wraps before this column, as exports do

char LowerAscii(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

std::string_view Trim(std::string_view s) {
    const auto first = s.find_first_not_of(" \t");
    if (first == std::string_view::npos) return {};
    return s.substr(first, s.find_last_not_of(" \t") - first + 1);
}

bool StartsWithNoCase(std::string_view s, std::string_view prefix) {
    return s.size() >= prefix.size() && RegNamesEqual(s.substr(0, prefix.size()), prefix);
}

bool HasControlChar(std::string_view s) {
    for (const char c : s) {
        if (static_cast<unsigned char>(c) < 0x20) return true;
    }
    return false;
}

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    c = LowerAscii(c);
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    return -1;
}

// 1 to `maxDigits` hex digits, nothing else.
std::optional<std::uint32_t> ParseHex(std::string_view s, std::size_t maxDigits) {
    if (s.empty() || s.size() > maxDigits) return std::nullopt;
    std::uint32_t n = 0;
    for (const char c : s) {
        const int d = HexDigit(c);
        if (d < 0) return std::nullopt;
        n = (n << 4) | static_cast<std::uint32_t>(d);
    }
    return n;
}

// A comma-separated byte list such as "05, 01,ff"; "" is no bytes.
std::optional<std::vector<std::uint8_t>> ParseByteList(std::string_view list) {
    std::vector<std::uint8_t> bytes;
    if (Trim(list).empty()) return bytes;
    while (true) {
        const auto comma = list.find(',');
        const auto byte = ParseHex(Trim(list.substr(0, comma)), 2);
        if (!byte) return std::nullopt;
        bytes.push_back(static_cast<std::uint8_t>(*byte));
        if (comma == std::string_view::npos) return bytes;
        list.remove_prefix(comma + 1);
    }
}

// Reads a quoted name or string starting at s[pos] == '"'; only \\ and \" are escapes. Leaves
// `pos` after the closing quote.
std::optional<std::string> ParseQuoted(std::string_view s, std::size_t& pos) {
    std::string out;
    for (++pos; pos < s.size(); ++pos) {
        const char c = s[pos];
        if (c == '"') {
            ++pos;
            return out;
        }
        if (c == '\\') {
            if (++pos == s.size() || (s[pos] != '\\' && s[pos] != '"')) return std::nullopt;
        }
        out.push_back(s[pos]);
    }
    return std::nullopt;
}

std::string Quote(std::string_view s) {
    std::string out = "\"";
    for (const char c : s) {
        if (c == '\\' || c == '"') out.push_back('\\');
        out.push_back(c);
    }
    out.push_back('"');
    return out;
}

std::vector<std::uint8_t> StringData(std::u16string_view text) {
    std::vector<std::uint8_t> data;
    data.reserve(text.size() * 2 + 2);
    for (const char16_t u : text) {
        data.push_back(static_cast<std::uint8_t>(u & 0xFF));
        data.push_back(static_cast<std::uint8_t>(u >> 8));
    }
    data.insert(data.end(), {0, 0});
    return data;
}

// The text of a REG_SZ value when writing it as a quoted string gives back exactly its bytes:
// UTF-16LE ending in the one terminator, no other NUL, no control characters.
std::optional<std::string> PlainString(const CRegValue& v) {
    const auto& d = v.m_data;
    if (v.m_nType != REG_SZ || d.size() < 2 || d.size() % 2 != 0) return std::nullopt;
    std::u16string units;
    for (std::size_t i = 0; i < d.size(); i += 2) {
        units.push_back(static_cast<char16_t>(d[i] | (d[i + 1] << 8)));
    }
    if (units.back() != 0) return std::nullopt;
    units.pop_back();
    auto text = Utf16ToUtf8(units);
    if (!text || text->find('\0') != std::string::npos || HasControlChar(*text)) {
        return std::nullopt;
    }
    return text;
}

void AppendValue(std::string& out, const CRegValue& v) {
    std::string line = v.m_strName.empty() ? std::string("@") : Quote(v.m_strName);
    line += '=';
    char buffer[32];
    if (v.m_nType == REG_DWORD && v.m_data.size() == 4) {
        const auto& d = v.m_data;
        std::snprintf(buffer, sizeof buffer, "dword:%02x%02x%02x%02x", d[3], d[2], d[1], d[0]);
        out += line + buffer + '\n';
        return;
    }
    if (const auto text = PlainString(v)) {
        out += line + Quote(*text) + '\n';
        return;
    }
    if (v.m_nType == REG_BINARY) {
        line += "hex:";
    } else {
        std::snprintf(buffer, sizeof buffer, "hex(%x):", static_cast<unsigned>(v.m_nType));
        line += buffer;
    }
    std::size_t column = line.size();
    out += line;
    for (std::size_t i = 0; i < v.m_data.size(); ++i) {
        const bool last = i + 1 == v.m_data.size();
        std::snprintf(buffer, sizeof buffer, last ? "%02x" : "%02x,", v.m_data[i]);
        const std::string_view piece = buffer;
        if (column + piece.size() > kHexLineWidth && column > 2) {
            out += "\\\n  ";
            column = 2;
        }
        out += piece;
        column += piece.size();
    }
    out += '\n';
}

void AppendKey(std::string& out, const std::string& path, const CRegKeyNode& key) {
    out += '[' + path + "]\n";
    for (const CRegValue& v : key.m_values) AppendValue(out, v);
    out += '\n';
    for (const CRegKeyNode& sub : key.m_subkeys) AppendKey(out, path + '\\' + sub.m_strName, sub);
}

template <typename Nodes>
auto* FindIn(Nodes& nodes, std::string_view name) {
    for (auto& n : nodes) {
        if (RegNamesEqual(n.m_strName, name)) return &n;
    }
    return static_cast<decltype(&nodes.front())>(nullptr);
}

}  // namespace

bool RegNamesEqual(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
    }
    return true;
}

const CRegValue* CRegKeyNode::FindValue(std::string_view name) const {
    return FindIn(m_values, name);
}
CRegValue* CRegKeyNode::FindValue(std::string_view name) {
    return FindIn(m_values, name);
}
const CRegKeyNode* CRegKeyNode::FindSubkey(std::string_view name) const {
    return FindIn(m_subkeys, name);
}
CRegKeyNode* CRegKeyNode::FindSubkey(std::string_view name) {
    return FindIn(m_subkeys, name);
}

void CRegKeyNode::SetValue(std::string_view name, std::uint32_t type,
                           std::vector<std::uint8_t> data) {
    if (CRegValue* v = FindValue(name)) {
        v->m_nType = type;
        v->m_data = std::move(data);
    } else {
        m_values.push_back({std::string(name), type, std::move(data)});
    }
}

bool CRegistryTree::IsValidValueName(std::string_view name) {
    return !HasControlChar(name) && Utf8ToUtf16(name).has_value();
}

std::optional<std::vector<std::string_view>> CRegistryTree::SplitPath(std::string_view path) {
    std::vector<std::string_view> parts;
    if (path.empty()) return parts;
    if (path.back() == '\\') path.remove_suffix(1);
    while (true) {
        const auto slash = path.find('\\');
        const std::string_view part = path.substr(0, slash);
        if (part.empty() || !IsValidValueName(part)) return std::nullopt;
        parts.push_back(part);
        if (slash == std::string_view::npos) return parts;
        path.remove_prefix(slash + 1);
    }
}

const CRegKeyNode* CRegistryTree::Find(const std::vector<std::string_view>& path) const {
    return const_cast<CRegistryTree*>(this)->Find(path);
}

CRegKeyNode* CRegistryTree::Find(const std::vector<std::string_view>& path) {
    CRegKeyNode* key = &m_root;
    for (const std::string_view part : path) {
        key = key->FindSubkey(part);
        if (!key) return nullptr;
    }
    return key;
}

CRegKeyNode& CRegistryTree::Create(const std::vector<std::string_view>& path) {
    CRegKeyNode* key = &m_root;
    for (const std::string_view part : path) {
        CRegKeyNode* sub = key->FindSubkey(part);
        if (!sub) {
            key->m_subkeys.push_back({std::string(part), {}, {}});
            sub = &key->m_subkeys.back();
        }
        key = sub;
    }
    return *key;
}

std::optional<CRegistryTree> CRegistryTree::Parse(std::string_view text, std::string* error) {
    std::size_t lineNumber = 0;
    auto fail = [&](const char* why) -> std::optional<CRegistryTree> {
        if (error) *error = "line " + std::to_string(lineNumber) + ": " + why;
        return std::nullopt;
    };
    if (!Utf8ToUtf16(text)) return fail("not UTF-8 text");
    if (text.starts_with("\xEF\xBB\xBF")) text.remove_prefix(3);

    std::vector<std::string_view> lines;
    for (std::size_t start = 0; start < text.size();) {
        const auto end = std::min(text.find('\n', start), text.size());
        std::string_view line = text.substr(start, end - start);
        if (line.ends_with('\r')) line.remove_suffix(1);
        lines.push_back(line);
        start = end + 1;
    }

    CRegistryTree tree;
    CRegKeyNode* key = nullptr;
    bool seenHeader = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        lineNumber = i + 1;
        const std::string_view line = Trim(lines[i]);
        if (line.empty()) continue;
        if (!seenHeader) {
            if (line != kHeader) return fail("the first line is not the registry export header");
            seenHeader = true;
            continue;
        }
        if (line.front() == ';') continue;

        if (line.front() == '[') {
            if (line.back() != ']') return fail("a key line must end with ]");
            const std::string_view path = line.substr(1, line.size() - 2);
            if (RegNamesEqual(path, kRootName)) {
                key = &tree.m_root;
                continue;
            }
            if (!StartsWithNoCase(path, kRootName) || path.size() <= kRootName.size() + 1 ||
                path[kRootName.size()] != '\\' || path.back() == '\\') {
                return fail("a key must lie below HKEY_CURRENT_USER");
            }
            const auto parts = SplitPath(path.substr(kRootName.size() + 1));
            if (!parts) return fail("malformed key name");
            key = &tree.Create(*parts);
            continue;
        }

        if (line.front() != '"' && line.front() != '@') return fail("not a key, value or comment");
        if (!key) return fail("a value before the first key");
        std::size_t pos = 0;
        std::string name;
        if (line.front() == '"') {
            auto quoted = ParseQuoted(line, pos);
            if (!quoted || !IsValidValueName(*quoted)) return fail("malformed value name");
            name = std::move(*quoted);
        } else {
            pos = 1;
        }
        std::string_view data = Trim(line.substr(pos));
        if (!data.starts_with('=')) return fail("= expected after the value name");
        data = Trim(data.substr(1));

        if (data.starts_with('"')) {
            std::size_t end = 0;
            const auto quoted = ParseQuoted(data, end);
            if (!quoted || end != data.size()) return fail("malformed string");
            key->SetValue(name, REG_SZ, StringData(*Utf8ToUtf16(*quoted)));
        } else if (StartsWithNoCase(data, "dword:")) {
            const auto n = ParseHex(Trim(data.substr(6)), 8);
            if (!n) return fail("a dword takes 1 to 8 hex digits");
            key->SetValue(
                name, REG_DWORD,
                {static_cast<std::uint8_t>(*n), static_cast<std::uint8_t>(*n >> 8),
                 static_cast<std::uint8_t>(*n >> 16), static_cast<std::uint8_t>(*n >> 24)});
        } else if (StartsWithNoCase(data, "hex")) {
            std::uint32_t type = REG_BINARY;
            std::string_view rest = data.substr(3);
            if (rest.starts_with('(')) {
                const auto close = rest.find(')');
                const auto n = ParseHex(rest.substr(1, close == rest.npos ? 0 : close - 1), 8);
                if (!n) return fail("hex(N) takes 1 to 8 hex digits");
                type = *n;
                rest.remove_prefix(close + 1);
            }
            if (!rest.starts_with(':')) return fail("malformed hex value");
            // A list that ends in a backslash goes on in the next line.
            std::string list(Trim(rest.substr(1)));
            while (list.ends_with('\\')) {
                list.pop_back();
                if (++i == lines.size()) return fail("the hex list goes on past the end");
                list += Trim(lines[i]);
            }
            auto bytes = ParseByteList(list);
            if (!bytes) return fail("malformed hex byte list");
            key->SetValue(name, type, std::move(*bytes));
        } else {
            return fail("unknown value type");
        }
    }
    return tree;  // with no header, every line was blank: an empty hive
}

std::string CRegistryTree::Format() const {
    std::string out(kHeader);
    out += "\n\n";
    const std::string root(kRootName);
    if (!m_root.m_values.empty()) {
        out += '[' + root + "]\n";
        for (const CRegValue& v : m_root.m_values) AppendValue(out, v);
        out += '\n';
    }
    for (const CRegKeyNode& sub : m_root.m_subkeys)
        AppendKey(out, root + '\\' + sub.m_strName, sub);
    return out;
}
