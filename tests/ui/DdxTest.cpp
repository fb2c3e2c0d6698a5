#include <gtest/gtest.h>

#include <QDialog>
#include <QLineEdit>

#include "dialogs/Ddx.h"
#include "dialogs/Product.h"
#include "tests/ui/UiTestSupport.h"

namespace {

struct ParseCase {
    const char* text;
    std::optional<std::int64_t> asSigned;
    std::optional<std::int64_t> asUnsigned;
};

// Blanks around the number are allowed; a sign only where the member can hold it; anything
// outside 32 bits is a bad entry rather than a clamped or wrapped number.
const ParseCase kParseCases[] = {
    {"0", 0, 0},
    {"  42\t", 42, 42},
    {"+7", 7, 7},
    {"-5", -5, std::nullopt},
    {" -0 ", 0, std::nullopt},
    {"2147483647", 2147483647, 2147483647},
    {"2147483648", std::nullopt, 2147483648},
    {"-2147483648", -2147483648LL, std::nullopt},
    {"-2147483649", std::nullopt, std::nullopt},
    {"4294967295", std::nullopt, 4294967295LL},
    {"4294967296", std::nullopt, std::nullopt},
    {"99999999999999999999999", std::nullopt, std::nullopt},
    {"", std::nullopt, std::nullopt},
    {"   ", std::nullopt, std::nullopt},
    {"-", std::nullopt, std::nullopt},
    {"12x", std::nullopt, std::nullopt},
    {"1 2", std::nullopt, std::nullopt},
    {"0x10", std::nullopt, std::nullopt},
    {"1e3", std::nullopt, std::nullopt},
    {"١٢", std::nullopt, std::nullopt},  // digits of another script
};

}  // namespace

TEST(DdxParse, AcceptsWholeNumbersInRangeOnly) {
    for (const ParseCase& c : kParseCases) {
        SCOPED_TRACE(c.text);
        const QString text = QString::fromUtf8(c.text);
        const auto s = ParseInt32(text);
        const auto u = ParseUInt32(text);
        EXPECT_EQ(s.has_value(), c.asSigned.has_value());
        if (s && c.asSigned) {
            EXPECT_EQ(*s, *c.asSigned);
        }
        EXPECT_EQ(u.has_value(), c.asUnsigned.has_value());
        if (u && c.asUnsigned) {
            EXPECT_EQ(*u, *c.asUnsigned);
        }
    }
}

TEST(DdxRead, BadEntryIsReportedAndGetsTheFocusBack) {
    QDialog dialog;
    auto* first = new QLineEdit(&dialog);
    auto* edit = new QLineEdit(&dialog);
    first->setFocus();
    CRecordingPrompter prompter;

    edit->setText(QStringLiteral("12x"));
    std::int32_t signedValue = 9;
    EXPECT_FALSE(DdxReadInt(*edit, signedValue, prompter));
    EXPECT_EQ(signedValue, 9);
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().text, QStringLiteral("Please enter an integer."));
    EXPECT_EQ(prompter.Last().caption, kProductName);
    EXPECT_EQ(dialog.focusWidget(), edit);
    EXPECT_EQ(edit->selectedText(), QStringLiteral("12x"));

    edit->setText(QStringLiteral("-5"));
    std::uint32_t unsignedValue = 9;
    EXPECT_FALSE(DdxReadUInt(*edit, unsignedValue, prompter));
    EXPECT_EQ(unsignedValue, 9u);
    EXPECT_EQ(prompter.Last().text, QStringLiteral("Please enter a positive integer."));

    edit->setText(QStringLiteral(" 4294967295 "));
    EXPECT_TRUE(DdxReadUInt(*edit, unsignedValue, prompter));
    EXPECT_EQ(unsignedValue, 4294967295u);
    EXPECT_EQ(prompter.Count(), 2u);
}
