#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <string_view>

#include "platform/Utf16.h"

namespace {

struct Utf8Case {
    const char* name;
    std::string_view utf8;
    std::optional<std::u16string> utf16;  // nullopt: refused
};

TEST(Utf8ToUtf16, Table) {
    using namespace std::string_view_literals;
    const Utf8Case cases[] = {
        {"empty", ""sv, u""},
        {"ASCII", "Key 1"sv, u"Key 1"},
        {"embedded NUL", "a\0b"sv, std::u16string(u"a\0b", 3)},
        {"two bytes, smallest", "\xC2\x80"sv, u"\u0080"},
        {"two bytes, largest", "\xDF\xBF"sv, u"\u07FF"},
        {"three bytes, smallest", "\xE0\xA0\x80"sv, u"\u0800"},
        {"Chinese", "\xE5\xA4\xA7\xE8\xB7\xAF"sv, u"\u5927\u8DEF"},
        {"last before the surrogates", "\xED\x9F\xBF"sv, u"\uD7FF"},
        {"first after the surrogates", "\xEE\x80\x80"sv, u"\uE000"},
        {"U+FFFF", "\xEF\xBF\xBF"sv, u"\uFFFF"},
        {"four bytes, smallest", "\xF0\x90\x80\x80"sv, u"\U00010000"},
        {"four bytes, U+1F0A1", "\xF0\x9F\x82\xA1"sv, u"\U0001F0A1"},
        {"U+10FFFF", "\xF4\x8F\xBF\xBF"sv, u"\U0010FFFF"},
        {"overlong NUL", "\xC0\x80"sv, std::nullopt},
        {"overlong two bytes", "\xC1\xBF"sv, std::nullopt},
        {"overlong three bytes", "\xE0\x9F\xBF"sv, std::nullopt},
        {"overlong slash", "\xE0\x80\xAF"sv, std::nullopt},
        {"overlong four bytes", "\xF0\x8F\xBF\xBF"sv, std::nullopt},
        {"high surrogate", "\xED\xA0\x80"sv, std::nullopt},
        {"low surrogate", "\xED\xBF\xBF"sv, std::nullopt},
        {"surrogate pair in three-byte forms", "\xED\xA0\xBC\xED\xB2\xA1"sv, std::nullopt},
        {"U+110000", "\xF4\x90\x80\x80"sv, std::nullopt},
        {"lead F5", "\xF5\x80\x80\x80"sv, std::nullopt},
        {"largest four-byte form", "\xF7\xBF\xBF\xBF"sv, std::nullopt},
        {"five-byte form", "\xF8\x88\x80\x80\x80"sv, std::nullopt},
        {"six-byte form", "\xFC\x84\x80\x80\x80\x80"sv, std::nullopt},
        {"byte FE", "\xFE"sv, std::nullopt},
        {"byte FF", "\xFF"sv, std::nullopt},
        {"lone continuation byte", "a\x80"sv, std::nullopt},
        {"cut short at the end", "\xE5\xA4"sv, std::nullopt},
        {"four-byte form cut short", "\xF0\x9F\x82"sv, std::nullopt},
        {"lead before ASCII", "\xC2\x41"sv, std::nullopt},
        {"lead before another lead", "\xE5\xE5\xA4\xA7"sv, std::nullopt},
    };
    for (const Utf8Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf8ToUtf16(c.utf8), c.utf16);
    }
}

struct Utf16Case {
    const char* name;
    std::u16string_view utf16;
    std::optional<std::string> utf8;  // nullopt: refused
};

TEST(Utf16ToUtf8, Table) {
    using namespace std::string_view_literals;
    const Utf16Case cases[] = {
        {"empty", u""sv, ""},
        {"ASCII", u"Key 1"sv, "Key 1"},
        {"embedded NUL", u"a\0b"sv, std::string("a\0b", 3)},
        {"U+007F", u"\u007F"sv, "\x7F"},
        {"U+0080", u"\u0080"sv, "\xC2\x80"},
        {"U+07FF", u"\u07FF"sv, "\xDF\xBF"},
        {"U+0800", u"\u0800"sv, "\xE0\xA0\x80"},
        {"Chinese", u"\u5927\u8DEF"sv, "\xE5\xA4\xA7\xE8\xB7\xAF"},
        {"U+FFFF", u"\uFFFF"sv, "\xEF\xBF\xBF"},
        {"smallest pair", u"\xD800\xDC00"sv, "\xF0\x90\x80\x80"},
        {"U+1F0A1", u"\xD83C\xDCA1"sv, "\xF0\x9F\x82\xA1"},
        {"largest pair", u"\xDBFF\xDFFF"sv, "\xF4\x8F\xBF\xBF"},
        {"high surrogate at the end", u"a\xD800"sv, std::nullopt},
        {"high surrogate before ASCII", u"\xD800\x0041"sv, std::nullopt},
        {"two high surrogates", u"\xD800\xD800\xDC00"sv, std::nullopt},
        {"lone low surrogate", u"\xDC00"sv, std::nullopt},
        {"pair the wrong way round", u"\xDC00\xD800"sv, std::nullopt},
    };
    for (const Utf16Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(Utf16ToUtf8(c.utf16), c.utf8);
    }
}

// Every code point that is not a surrogate survives the trip to UTF-8 and back, and takes as
// many bytes as its size calls for.
TEST(Utf16, EveryCodePointRoundTrips) {
    for (char32_t cp = 0; cp <= 0x10FFFF; ++cp) {
        if (cp >= 0xD800 && cp <= 0xDFFF) continue;
        std::u16string units;
        if (cp < 0x10000) {
            units.push_back(static_cast<char16_t>(cp));
        } else {
            units.push_back(static_cast<char16_t>(0xD800 + ((cp - 0x10000) >> 10)));
            units.push_back(static_cast<char16_t>(0xDC00 + ((cp - 0x10000) & 0x3FF)));
        }
        const std::optional<std::string> utf8 = Utf16ToUtf8(units);
        ASSERT_TRUE(utf8) << std::hex << static_cast<unsigned>(cp);
        const std::size_t size = cp < 0x80 ? 1 : cp < 0x800 ? 2 : cp < 0x10000 ? 3 : 4;
        ASSERT_EQ(utf8->size(), size) << std::hex << static_cast<unsigned>(cp);
        ASSERT_EQ(Utf8ToUtf16(*utf8), units) << std::hex << static_cast<unsigned>(cp);
    }
}

}  // namespace
