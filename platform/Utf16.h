#pragma once

#include <optional>
#include <string>
#include <string_view>

// Conversions between the UTF-8 of files and the UTF-16 of registry strings and name buffers.
// Both refuse malformed input (overlong forms, surrogates encoded in UTF-8, lone surrogates in
// UTF-16, code points above U+10FFFF) rather than guess at it.
std::optional<std::u16string> Utf8ToUtf16(std::string_view text);
std::optional<std::string> Utf16ToUtf8(std::u16string_view text);
