#include <gtest/gtest.h>

#include <array>
#include <climits>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>

#include <QCheckBox>
#include <QDir>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include "platform/RegistryHive.h"
#include "settings/ConfigDlg.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/NuvDlg.h"

namespace {

// The seven edits in the order OK reads them.
const char* const kEditsInExchangeOrder[] = {
    "m_editWinStopMoney", "m_editLossStopMoney", "m_editWinStopNum",   "m_editDangerous1",
    "m_editDangerous2",   "m_editXXLimitMoney",  "m_editSXLimitMoney",
};

template <typename W>
W* Find(QWidget& parent, const char* name) {
    W* w = parent.findChild<W*>(QString::fromLatin1(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

void Click(QWidget& dlg, const char* button) {
    QTest::mouseClick(Find<QPushButton>(dlg, button), Qt::LeftButton);
}

void Type(QWidget& dlg, const char* edit, const QString& text) {
    Find<QLineEdit>(dlg, edit)->setText(text);
}

QString Text(QWidget& dlg, const char* edit) {
    return Find<QLineEdit>(dlg, edit)->text();
}

// The seven edits, as minimum, maximum, win-stop, stop-loss, won cycles, alarm, danger.
QStringList Fields(QWidget& dlg) {
    QStringList texts;
    for (const char* name :
         {"m_editXXLimitMoney", "m_editSXLimitMoney", "m_editWinStopMoney", "m_editLossStopMoney",
          "m_editWinStopNum", "m_editDangerous1", "m_editDangerous2"}) {
        texts << Text(dlg, name);
    }
    return texts;
}

std::array<std::uint32_t, 8> Members(const CConfigDlg& d) {
    return {d.m_nXXLimitMoney, d.m_nSXLimitMoney, d.m_nWinStopMoney, d.m_nLossStopMoney,
            d.m_nWinStopNum,   d.m_nDangerous1,   d.m_nDangerous2,   d.m_nAfterWinStop};
}

// A dialog on its own, shown as exec() would show it.
class ConfigDialog : public testing::Test {
protected:
    void Open() {
        dlg.show();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&dlg));
    }
    QCheckBox* Mode() { return Find<QCheckBox>(dlg, "m_chkAfterWinStop"); }
    QPushButton* Plan() { return Find<QPushButton>(dlg, "m_btnPlan"); }

    CRecordingPrompter prompter;
    CConfigDlg dlg{nullptr, &prompter};
};

TEST_F(ConfigDialog, TemplateLayoutTabOrderAndInitialState) {
    Open();
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("配置信息"));
    EXPECT_EQ(dlg.size(), QSize(321, 228));  // 214 x 140 dialog units
    EXPECT_EQ(dlg.minimumSize(), dlg.maximumSize());
    EXPECT_EQ(dlg.font().pointSize(), 8);

    struct Control {
        const char* name;
        QRect rect;  // dialog units x 1.5 across, x 1.625 down, edges rounded
    };
    const Control controls[] = {
        {"m_btnPlan", {9, 202, 68, 22}},
        {"btnDefault", {87, 202, 68, 22}},
        {"btnOk", {165, 202, 68, 22}},
        {"btnCancel", {243, 202, 68, 22}},
        {"m_editXXLimitMoney", {84, 21, 39, 23}},
        {"m_editSXLimitMoney", {209, 21, 51, 23}},
        {"m_editWinStopMoney", {83, 52, 39, 23}},
        {"m_editLossStopMoney", {83, 80, 39, 22}},
        {"m_editWinStopNum", {83, 107, 39, 23}},
        {"m_editDangerous1", {83, 137, 39, 22}},
        {"m_editDangerous2", {83, 166, 39, 23}},
        {"stcDangerous1Note", {125, 135, 178, 29}},
        {"grpConfig", {11, 5, 300, 192}},
        {"stcSXLimitMoneyLabel", {125, 26, 82, 13}},
        {"m_chkAfterWinStop", {171, 55, 132, 17}},
        {"m_chkMaxStake", {171, 83, 126, 16}},
    };
    for (const Control& c : controls) {
        if (QWidget* w = Find<QWidget>(dlg, c.name)) {
            EXPECT_EQ(w->geometry(), c.rect) << c.name;
        }
    }

    // Tab order of the template; the plan button holds the focus when the dialog opens.
    EXPECT_EQ(dlg.focusWidget(), Plan());
    QStringList order;
    QWidget* w = Plan();
    for (int i = 0; i < 40 && order.size() < 13; ++i, w = w->nextInFocusChain()) {
        if (w->focusPolicy() & Qt::TabFocus) order << w->objectName();
    }
    EXPECT_EQ(order, (QStringList{"m_btnPlan", "btnDefault", "btnOk", "btnCancel",
                                  "m_editXXLimitMoney", "m_editSXLimitMoney", "m_editWinStopMoney",
                                  "m_editLossStopMoney", "m_editWinStopNum", "m_editDangerous1",
                                  "m_editDangerous2", "m_chkAfterWinStop", "m_chkMaxStake"}));

    for (const char* name : {"m_chkAfterWinStop", "m_chkMaxStake"}) {
        QCheckBox* box = Find<QCheckBox>(dlg, name);
        EXPECT_FALSE(box->isEnabled()) << name;
        EXPECT_TRUE(box->isTristate()) << name;
    }
    EXPECT_EQ(Find<QCheckBox>(dlg, "m_chkMaxStake")->text(), QStringLiteral("单手最大可押160倍"));
    EXPECT_EQ(Plan()->text(), QStringLiteral("备用方案1"));
    EXPECT_EQ(Find<QLabel>(dlg, "stcSXLimitMoneyLabel")->text(), QStringLiteral("元   上限金额："));
    EXPECT_EQ(Fields(dlg), (QStringList{"200", "20000", "29", "292", "4", "9", "40"}));
    EXPECT_EQ(Mode()->checkState(), Qt::Unchecked);
    EXPECT_EQ(Mode()->text(), QStringLiteral("赢停后立即停止"));
}

// Every text fits the box the template gives it, and no two controls share pixels (the frame
// aside), so nothing overlaps or is cut off in the font the dialog really uses.
TEST_F(ConfigDialog, TextsFitTheirControls) {
    Open();
    for (QLabel* label : dlg.findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString() + " " + label->text().toStdString());
        const QFontMetrics fm(label->font());
        if (label->wordWrap()) {
            EXPECT_LE(label->heightForWidth(label->width()), label->height());
        } else {
            // Ink, not advance: the blank side of a full-width colon may pass the edge.
            EXPECT_LT(fm.tightBoundingRect(label->text()).right(), label->width());
            EXPECT_LE(fm.height(), label->height() + 1);
        }
    }
    for (QCheckBox* box : dlg.findChildren<QCheckBox*>()) {
        SCOPED_TRACE(box->objectName().toStdString());
        for (const char* caption :
             {"赢停后仅仅追押长龙", "赢停后追押所有路数", "单手最大可押160倍"}) {
            box->setText(QString::fromUtf8(caption));
            EXPECT_LE(box->sizeHint().width(), box->width()) << caption;
        }
    }
    for (QPushButton* button : dlg.findChildren<QPushButton*>()) {
        EXPECT_LE(button->fontMetrics().horizontalAdvance(button->text()) + 12, button->width())
            << button->objectName().toStdString();
    }
    QList<QWidget*> controls;
    for (QWidget* w : dlg.findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (!qobject_cast<QGroupBox*>(w)) controls << w;
    }
    for (int i = 0; i < controls.size(); ++i) {
        for (int j = i + 1; j < controls.size(); ++j) {
            EXPECT_FALSE(controls[i]->geometry().intersects(controls[j]->geometry()))
                << controls[i]->objectName().toStdString() << " and "
                << controls[j]->objectName().toStdString();
        }
    }
}

TEST_F(ConfigDialog, PlanButtonCyclesFromTheMembersNotTheEdits) {
    // From the defaults: three presses go round the three plans.
    Open();
    const struct {
        const char* winStop;
        const char* lossStop;
        const char* caption;
    } cycle[] = {
        {"26", "200", "备用方案2"}, {"30", "107", "备用方案3"}, {"29", "292", "备用方案1"}};
    for (const auto& step : cycle) {
        SCOPED_TRACE(step.caption);
        Click(dlg, "m_btnPlan");
        EXPECT_EQ(Text(dlg, "m_editWinStopMoney"), QString::fromLatin1(step.winStop));
        EXPECT_EQ(Text(dlg, "m_editLossStopMoney"), QString::fromLatin1(step.lossStop));
        EXPECT_EQ(Plan()->text(), QString::fromUtf8(step.caption));
    }
    EXPECT_EQ(prompter.Count(), 0u);
}

TEST_F(ConfigDialog, PlanButtonIgnoresTypedTextAndReplacesIt) {
    // The members hold a pair of no plan; the plan 2 pair typed into the edits is not read, so
    // the press gives plan 1 (not plan 3), and the text typed into every edit is replaced.
    dlg.m_nWinStopMoney = 50;
    dlg.m_nLossStopMoney = 100;
    Open();
    Type(dlg, "m_editWinStopMoney", QStringLiteral("26"));
    Type(dlg, "m_editLossStopMoney", QStringLiteral("200"));
    Type(dlg, "m_editWinStopNum", QStringLiteral("77"));
    Type(dlg, "m_editXXLimitMoney", QStringLiteral("abc"));
    Click(dlg, "m_btnPlan");
    EXPECT_EQ(Fields(dlg), (QStringList{"200", "20000", "29", "292", "4", "9", "40"}));
    EXPECT_EQ(Plan()->text(), QStringLiteral("备用方案1"));
    EXPECT_EQ(dlg.m_nWinStopNum, 4u);
}

TEST_F(ConfigDialog, DefaultButtonRestoresEverySettingAndTheCaptions) {
    dlg.m_nXXLimitMoney = 50;
    dlg.m_nSXLimitMoney = 5000;
    dlg.m_nWinStopNum = 2;
    dlg.m_nDangerous1 = 1;
    dlg.m_nDangerous2 = 0xFFFFFFFF;
    dlg.m_nAfterWinStop = 2;
    Open();
    Click(dlg, "m_btnPlan");  // 29/292 -> plan 2
    Type(dlg, "m_editDangerous1", QStringLiteral("oops"));
    Click(dlg, "btnDefault");
    EXPECT_EQ(Fields(dlg), (QStringList{"200", "20000", "29", "292", "4", "9", "40"}));
    EXPECT_EQ(Plan()->text(), QStringLiteral("备用方案1"));
    EXPECT_EQ(Mode()->checkState(), Qt::Unchecked);
    EXPECT_EQ(Mode()->text(), QStringLiteral("赢停后立即停止"));
    EXPECT_EQ(Members(dlg), (std::array<std::uint32_t, 8>{200, 20000, 29, 292, 4, 9, 40, 0}));
}

TEST_F(ConfigDialog, ModeIsShownInTheThreeStateBox) {
    const struct {
        std::uint32_t mode;
        Qt::CheckState state;
        const char* caption;
        std::uint32_t readBack;
    } cases[] = {
        {0, Qt::Unchecked, "赢停后立即停止", 0},
        {1, Qt::Checked, "赢停后仅仅追押长龙", 1},
        {2, Qt::PartiallyChecked, "赢停后追押所有路数", 2},
        // Not a mode: the engine stops at once for it, and the box says so.
        {7, Qt::Unchecked, "赢停后立即停止", 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.mode);
        CConfigDlg d(nullptr, &prompter);
        d.m_nAfterWinStop = c.mode;
        d.show();
        EXPECT_EQ(Find<QCheckBox>(d, "m_chkAfterWinStop")->checkState(), c.state);
        EXPECT_EQ(Find<QCheckBox>(d, "m_chkAfterWinStop")->text(), QString::fromUtf8(c.caption));
        EXPECT_EQ(d.m_nAfterWinStop, c.readBack);
        Click(d, "btnOk");
        EXPECT_EQ(d.result(), QDialog::Accepted);
        EXPECT_EQ(d.m_nAfterWinStop, c.readBack);
    }
}

// A refused OK keeps the dialog open with the focus in the first bad edit in exchange order;
// the edits read before it are already stored, it and those after it are not.
TEST_F(ConfigDialog, BadEntryRefusesOkWithFocusInTheFirstBadEdit) {
    const struct {
        const char* name;
        int badIndex;  // in exchange order
        const char* text;
    } cases[] = {
        {"minus sign in won cycles", 2, "-5"},
        {"empty win-stop", 0, ""},
        {"letters in the alarm count", 3, "9a"},
        {"above 32 bits in the maximum", 6, "4294967296"},
        {"decimal point in the minimum", 5, "2.5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        CConfigDlg d(nullptr, &prompter);
        d.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&d));
        const std::array<std::uint32_t, 8> before = Members(d);
        for (const char* edit : kEditsInExchangeOrder) Type(d, edit, QStringLiteral("4294967295"));
        Type(d, kEditsInExchangeOrder[c.badIndex], QString::fromLatin1(c.text));
        // Also a second bad edit after it: only the first is reported.
        if (c.badIndex < 6) Type(d, kEditsInExchangeOrder[6], QStringLiteral("x"));

        Click(d, "btnOk");
        EXPECT_TRUE(d.isVisible());
        ASSERT_EQ(prompter.Count(), 1u);
        EXPECT_EQ(prompter.Last().text, QStringLiteral("Please enter a positive integer."));
        EXPECT_EQ(d.focusWidget(), Find<QLineEdit>(d, kEditsInExchangeOrder[c.badIndex]));

        // Members in exchange order: win-stop, stop-loss, cycles, alarm, danger, min, max.
        const std::array<std::uint32_t, 8> after = Members(d);
        const int memberOf[] = {2, 3, 4, 5, 6, 0, 1};
        for (int i = 0; i < 7; ++i) {
            const std::uint32_t expected = i < c.badIndex ? 4294967295u : before[memberOf[i]];
            EXPECT_EQ(after[memberOf[i]], expected) << kEditsInExchangeOrder[i];
        }
        d.reject();
    }
}

TEST_F(ConfigDialog, EnterPressesTheFocusedButtonAndFromAnEditOk) {
    Open();
    // The plan button has the focus when the dialog opens: Enter moves to the next plan.
    ASSERT_EQ(QApplication::focusWidget(), Plan());
    QTest::keyClick(Plan(), Qt::Key_Return);
    EXPECT_EQ(Plan()->text(), QStringLiteral("备用方案2"));
    EXPECT_TRUE(dlg.isVisible());

    // From an edit with a bad entry, Enter tries OK and is refused.
    QLineEdit* cycles = Find<QLineEdit>(dlg, "m_editWinStopNum");
    cycles->setFocus();
    cycles->setText(QStringLiteral("-1"));
    QTest::keyClick(cycles, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(prompter.Count(), 1u);

    cycles->setText(QStringLiteral("6"));
    QTest::keyClick(cycles, Qt::Key_Return);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    EXPECT_EQ(dlg.m_nWinStopNum, 6u);
    EXPECT_EQ(dlg.m_nWinStopMoney, 26u);
}

TEST_F(ConfigDialog, CancelEscapeAndCloseReadNothing) {
    const std::array<std::uint32_t, 8> before = Members(dlg);
    const std::function<void(CConfigDlg&)> ways[] = {
        [](CConfigDlg& d) { Click(d, "btnCancel"); },
        [](CConfigDlg& d) { QTest::keyClick(&d, Qt::Key_Escape); },
        [](CConfigDlg& d) { d.close(); },
    };
    for (const auto& end : ways) {
        CConfigDlg d(nullptr, &prompter);
        d.show();
        for (const char* edit : kEditsInExchangeOrder) Type(d, edit, QStringLiteral("7"));
        Type(d, "m_editWinStopNum", QStringLiteral("bad"));
        end(d);
        EXPECT_FALSE(d.isVisible());
        EXPECT_EQ(d.result(), QDialog::Rejected);
        EXPECT_EQ(Members(d), before);
    }
    EXPECT_EQ(prompter.Count(), 0u);
}

// --- through the main window ---

std::filesystem::path HivePath() {
    return CRegistryHive::UserHivePath();
}

std::string HiveText() {
    QFile file(QString::fromStdString(HivePath().string()));
    if (!file.open(QIODevice::ReadOnly)) return {};
    return file.readAll().toStdString();
}

// The REG_DWORD `name` of the settings key; nullopt when missing or of another type or size.
std::optional<std::uint32_t> StoredDword(const char* name) {
    const CRegistryHive hive(HivePath(), true);
    CRegKey key;
    if (hive.OpenKeyForRead("Darozova", key) != RegStatus::kOk) return std::nullopt;
    std::array<std::uint8_t, 8> data{};
    std::size_t length = 0;
    std::uint32_t type = 0;
    if (hive.QueryValue(key, name, data, length, &type) != RegStatus::kOk || type != REG_DWORD ||
        length != 4) {
        return std::nullopt;
    }
    return data[0] | data[1] << 8 | data[2] << 16 | static_cast<std::uint32_t>(data[3]) << 24;
}

constexpr const char* kValueNames[] = {"XXLimitMoney",  "SXLimitMoney", "WinStopMoney",
                                       "LossStopMoney", "WinStopNum",   "Dangerous1",
                                       "Dangerous2",    "AfterWinStop"};

std::array<std::int32_t, 8> SettingsOf(const ShoeSettings& s) {
    return {s.m_nXXLimitMoney, s.m_nSXLimitMoney, s.m_nWinStopMoney, s.m_nLossStopMoney,
            s.m_nWinStopNum,   s.m_nDangerous1,   s.m_nDangerous2,   s.m_nAfterWinStop};
}

// The main window on a fresh hive (the test program shares one hive between its tests, so it is
// removed before and after).
class ConfigureCommand : public testing::Test {
protected:
    ConfigureCommand() {
        std::filesystem::remove(HivePath());
        dlg = std::make_unique<CnuvDlg>(nullptr, &prompter);
        dlg->show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
    }
    ~ConfigureCommand() override {
        dlg.reset();
        std::filesystem::remove(HivePath());
    }

    // Clicks "配置(&A)" and runs `act` on the configuration dialog while it is up; the dialog is
    // cancelled afterwards if `act` left it open. False if no dialog came up.
    bool Configure(const std::function<void(CConfigDlg&)>& act) {
        bool opened = false;
        QTimer::singleShot(0, [&] {
            auto* config = qobject_cast<CConfigDlg*>(QApplication::activeModalWidget());
            if (!config) return;
            opened = true;
            act(*config);
            if (config->isVisible()) config->reject();
        });
        QTest::mouseClick(Find<QPushButton>(*dlg, "m_btnConfigure"), Qt::LeftButton);
        return opened;
    }

    CRecordingPrompter prompter;
    std::unique_ptr<CnuvDlg> dlg;
};

TEST_F(ConfigureCommand, OkWithNothingChangedWritesAllEightInOrder) {
    // With the hive gone while the dialog is up, the key is made anew by the writes, so its text
    // shows which values were written and in which order.
    ASSERT_TRUE(Configure([](CConfigDlg& d) {
        std::filesystem::remove(HivePath());
        Click(d, "btnOk");
    }));
    EXPECT_EQ(HiveText(),
              "Windows Registry Editor Version 5.00\n\n"
              "[HKEY_CURRENT_USER\\Darozova]\n"
              "\"XXLimitMoney\"=dword:000000c8\n"
              "\"SXLimitMoney\"=dword:00004e20\n"
              "\"WinStopMoney\"=dword:0000001d\n"
              "\"LossStopMoney\"=dword:00000124\n"
              "\"WinStopNum\"=dword:00000004\n"
              "\"Dangerous1\"=dword:00000009\n"
              "\"Dangerous2\"=dword:00000028\n"
              "\"AfterWinStop\"=dword:00000000\n\n");
    EXPECT_EQ(dlg->m_settings, ShoeSettings{});
}

TEST_F(ConfigureCommand, OkCopiesEditsBackAndWritesThem) {
    ASSERT_TRUE(Configure([](CConfigDlg& d) {
        const char* texts[] = {"31", "150", "3", "8", "35", "100", "10000"};
        for (int i = 0; i < 7; ++i)
            Type(d, kEditsInExchangeOrder[i], QString::fromLatin1(texts[i]));
        Click(d, "btnOk");
    }));
    const std::array<std::int32_t, 8> expected{100, 10000, 31, 150, 3, 8, 35, 0};
    EXPECT_EQ(SettingsOf(dlg->m_settings), expected);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(StoredDword(kValueNames[i]), static_cast<std::uint32_t>(expected[i]))
            << kValueNames[i];
    }
    // The engine reads the window's own copy, so it sees the new values at their next use.
    EXPECT_EQ(&dlg->m_shoe.Settings(), &dlg->m_settings);
}

TEST_F(ConfigureCommand, RefusedOkKeepsTheDialogOpenAndWritesNothingYet) {
    ASSERT_TRUE(Configure([this](CConfigDlg& d) {
        const std::string before = HiveText();
        Type(d, "m_editWinStopMoney", QStringLiteral("33"));
        Type(d, "m_editWinStopNum", QStringLiteral("-5"));
        Click(d, "btnOk");
        EXPECT_TRUE(d.isVisible());
        EXPECT_EQ(d.focusWidget(), Find<QLineEdit>(d, "m_editWinStopNum"));
        EXPECT_EQ(HiveText(), before);
        EXPECT_EQ(dlg->m_settings, ShoeSettings{});
        // Mended, OK goes through with both edits.
        Type(d, "m_editWinStopNum", QStringLiteral("5"));
        Click(d, "btnOk");
    }));
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().text, QStringLiteral("Please enter a positive integer."));
    EXPECT_EQ(dlg->m_settings.m_nWinStopMoney, 33);
    EXPECT_EQ(dlg->m_settings.m_nWinStopNum, 5);
    EXPECT_EQ(StoredDword("WinStopNum"), 5u);
}

TEST_F(ConfigureCommand, CancelAfterEditingChangesNothing) {
    const std::string before = HiveText();
    ASSERT_FALSE(before.empty());
    ASSERT_TRUE(Configure([](CConfigDlg& d) {
        for (const char* edit : kEditsInExchangeOrder) Type(d, edit, QStringLiteral("1"));
        Click(d, "btnDefault");
        Click(d, "m_btnPlan");
        Click(d, "btnCancel");
    }));
    EXPECT_EQ(dlg->m_settings, ShoeSettings{});
    EXPECT_EQ(HiveText(), before);
}

// Settings that do not fit the unsigned fields cross as their 32-bit patterns, both ways; mode 2
// opens indeterminate and goes back as 2.
TEST_F(ConfigureCommand, NegativeSettingsAndModeTwoGoBackWithTheSameBits) {
    dlg->m_settings.m_nXXLimitMoney = INT_MIN;
    dlg->m_settings.m_nLossStopMoney = -292;
    dlg->m_settings.m_nDangerous2 = -1;
    dlg->m_settings.m_nAfterWinStop = 2;
    const std::array<std::int32_t, 8> held = SettingsOf(dlg->m_settings);
    QStringList shown;
    Qt::CheckState state = Qt::Unchecked;
    QString caption;
    ASSERT_TRUE(Configure([&](CConfigDlg& d) {
        shown = Fields(d);
        state = Find<QCheckBox>(d, "m_chkAfterWinStop")->checkState();
        caption = Find<QCheckBox>(d, "m_chkAfterWinStop")->text();
        Click(d, "btnOk");
    }));
    EXPECT_EQ(shown,
              (QStringList{"2147483648", "20000", "29", "4294967004", "4", "9", "4294967295"}));
    EXPECT_EQ(state, Qt::PartiallyChecked);
    EXPECT_EQ(caption, QStringLiteral("赢停后追押所有路数"));
    EXPECT_EQ(SettingsOf(dlg->m_settings), held);
    for (int i = 0; i < 8; ++i) {
        EXPECT_EQ(StoredDword(kValueNames[i]), static_cast<std::uint32_t>(held[i]))
            << kValueNames[i];
    }
}

// A picture of the dialog as it opens from the main window, in the build folder.
TEST_F(ConfigureCommand, Screenshot) {
    dlg->m_settings.m_nAfterWinStop = 1;
    QImage image;
    ASSERT_TRUE(Configure([&](CConfigDlg& d) {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&d));
        QCoreApplication::processEvents();
        image = d.grab().toImage();
    }));
    const QDir dir(QStringLiteral(NUV_SCREENSHOT_DIR));
    ASSERT_TRUE(dir.mkpath(QStringLiteral(".")));
    const QString path = dir.filePath(QStringLiteral("config-dialog.png"));
    ASSERT_TRUE(image.save(path)) << path.toStdString();
}

}  // namespace
