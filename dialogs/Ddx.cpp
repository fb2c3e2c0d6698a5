#include "dialogs/Ddx.h"

#include <limits>

#include <QLineEdit>

#include "dialogs/Product.h"
#include "dialogs/Prompter.h"

namespace {

bool IsBlank(QChar c) {
    return c == u' ' || c == u'\t';
}

// The magnitude and sign of a decimal number; nullopt when the text is not one. Digits beyond
// what 64 bits hold are refused as well, so the caller's range check is never fooled by a wrap.
struct Number {
    bool negative;
    std::uint64_t magnitude;
};

std::optional<Number> ParseDecimal(QStringView text, bool allowMinus) {
    qsizetype i = 0, end = text.size();
    while (i < end && IsBlank(text[i])) ++i;
    while (end > i && IsBlank(text[end - 1])) --end;
    bool negative = false;
    if (i < end && (text[i] == u'+' || (allowMinus && text[i] == u'-'))) {
        negative = text[i] == u'-';
        ++i;
    }
    if (i == end) return std::nullopt;
    std::uint64_t magnitude = 0;
    for (; i < end; ++i) {
        const char16_t c = text[i].unicode();
        if (c < u'0' || c > u'9') return std::nullopt;
        if (magnitude > (std::numeric_limits<std::uint64_t>::max() - 9) / 10) return std::nullopt;
        magnitude = magnitude * 10 + (c - u'0');
    }
    return Number{negative, magnitude};
}

void RefuseEntry(QLineEdit& edit, CPrompter& prompter, const QString& text) {
    prompter.Message(edit.window(), kProductName, text, CPrompter::Icon::Warning);
    edit.setFocus(Qt::OtherFocusReason);
    edit.selectAll();
}

}  // namespace

std::optional<std::int32_t> ParseInt32(QStringView text) {
    const auto number = ParseDecimal(text, true);
    if (!number) return std::nullopt;
    constexpr std::uint64_t kMaxPositive = std::numeric_limits<std::int32_t>::max();
    if (number->magnitude > kMaxPositive + (number->negative ? 1 : 0)) return std::nullopt;
    const auto magnitude = static_cast<std::int64_t>(number->magnitude);
    return static_cast<std::int32_t>(number->negative ? -magnitude : magnitude);
}

std::optional<std::uint32_t> ParseUInt32(QStringView text) {
    const auto number = ParseDecimal(text, false);
    if (!number || number->magnitude > std::numeric_limits<std::uint32_t>::max()) {
        return std::nullopt;
    }
    return static_cast<std::uint32_t>(number->magnitude);
}

bool DdxReadInt(QLineEdit& edit, std::int32_t& value, CPrompter& prompter) {
    const auto parsed = ParseInt32(edit.text());
    if (!parsed) {
        RefuseEntry(edit, prompter, QStringLiteral("Please enter an integer."));
        return false;
    }
    value = *parsed;
    return true;
}

bool DdxReadUInt(QLineEdit& edit, std::uint32_t& value, CPrompter& prompter) {
    const auto parsed = ParseUInt32(edit.text());
    if (!parsed) {
        RefuseEntry(edit, prompter, QStringLiteral("Please enter a positive integer."));
        return false;
    }
    value = *parsed;
    return true;
}

void DdxWriteInt(QLineEdit& edit, std::int32_t value) {
    edit.setText(QString::number(value));
}

void DdxWriteUInt(QLineEdit& edit, std::uint32_t value) {
    edit.setText(QString::number(value));
}
