// The live shoe kept on disk as the window feeds it: the journal, the offer to resume it after a
// restart, the history, copy and paste, and the keys that enter hands.
#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <string>

#include <QAbstractButton>
#include <QClipboard>
#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>

#include "engine/ShoeEngine.h"
#include "history/LiveShoe.h"
#include "platform/UserFolders.h"
#include "sim/RandomTest.h"
#include "tests/platform/TempDir.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/NuvDlg.h"

namespace {

namespace fs = std::filesystem;

// A shoe of 32 hands that ends on its fourth won cycle under the default settings.
constexpr const char* kEndingShoe = "ZXZXZXXZZXZZZXXXXZZHXXXXXXZZXZZX";

fs::path JournalPath() {
    return UserDataFolder() / CLiveShoe::kJournalName;
}

std::string Journal() {
    return ReadBytes(JournalPath());
}

HistoryText History() {
    return ParseHistory(ReadBytes(UserDataFolder() / CLiveShoe::kHistoryName));
}

void WriteJournal(const std::string& bytes) {
    fs::create_directories(UserDataFolder());
    WriteBytes(JournalPath(), bytes);
}

CShoeEngine Rebuilt(const ShoeSettings& settings, std::string_view commands) {
    CShoeEngine shoe(settings);
    shoe.ResetShoe();
    ApplyCommands(shoe, commands);
    return shoe;
}

// Runs the event loop until `done` holds or five seconds have passed.
template <typename F>
void WaitFor(F done) {
    QElapsedTimer clock;
    clock.start();
    while (!done() && clock.elapsed() < 5000) QTest::qWait(20);
}

// A window started on a journal written beforehand, shown, its first events run.
class LiveShoeWindow : public testing::Test {
protected:
    void Start(const std::string& journal) {
        WriteJournal(journal);
        dlg = std::make_unique<CnuvDlg>(nullptr, &prompter);
        dlg->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(dlg.get()));
        // Shortcuts and mnemonics reach the active window only.
        dlg->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
        QCoreApplication::processEvents();
    }

    template <typename W>
    W* Find(const char* name) {
        W* w = dlg->findChild<W*>(QString::fromLatin1(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    void Click(const char* button) { QTest::mouseClick(Find<QPushButton>(button), Qt::LeftButton); }
    void ClickHands(std::string_view letters) {
        for (const char c : letters)
            Click(c == 'Z' ? "btnBanker" : c == 'X' ? "btnPlayer" : "btnTie");
    }
    // A key pressed where the focus is, as the keyboard would.
    void Key(Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : dlg.get();
        QTest::keyClick(target, key, modifiers);
    }
    std::string Letters() const { return dlg->m_shoe.ResultLetters(dlg->m_shoe.m_nHandCount); }

    CRecordingPrompter prompter;
    std::unique_ptr<CnuvDlg> dlg;
};

TEST_F(LiveShoeWindow, TheJournalGetsEveryCommandThatChangedTheRecord) {
    Start("");
    ClickHands("ZXH");
    Click("m_btnBack");
    ClickHands("Z");
    EXPECT_EQ(Journal(), "ZXH-Z");
    Click("btnClear");
    EXPECT_EQ(Journal(), "");
    ASSERT_EQ(History().rows.size(), 1u);
    EXPECT_EQ(History().rows[0].hands, "ZXZ");

    // A shoe that ends is in the history at once; the hand refused after it changes nothing,
    // and the Clear that follows writes no second row.
    ClickHands(kEndingShoe);
    ASSERT_TRUE(dlg->m_shoe.IsShoeOver());
    EXPECT_EQ(History().rows.size(), 2u);
    ClickHands("Z");
    EXPECT_EQ(Journal(), kEndingShoe);
    const HistoryRow row = History().rows[1];
    EXPECT_EQ(row.hands, kEndingShoe);
    EXPECT_EQ(row.settings, dlg->m_settings);
    EXPECT_EQ(row.score, dlg->m_shoe.m_nScore);
    EXPECT_EQ(row.yuan, dlg->m_shoe.WonAmount());
    EXPECT_GT(row.yuan, 0);
    Click("btnClear");
    EXPECT_EQ(History().rows.size(), 2u);
    EXPECT_EQ(Journal(), "");
}

TEST_F(LiveShoeWindow, YesBringsTheShoeBackExactly) {
    struct Case {
        const char* name;
        std::string journal;
    };
    const Case cases[] = {
        {"advice pending", "ZX/ZZXZXXZXZ-ZH"},
        {"ended", std::string("XX/") + kEndingShoe},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        prompter.Clear();
        Start(c.journal);
        const CShoeEngine expected = Rebuilt(dlg->m_settings, c.journal);
        ASSERT_EQ(prompter.Count(), 1u) << "only the question, no end-of-shoe message";
        EXPECT_TRUE(prompter.Last().question);
        EXPECT_EQ(prompter.Last().text,
                  QString::asprintf("上次的牌靴还有%d手记录，是否恢复？", expected.m_nHandCount));
        ExpectSameRecord(dlg->m_shoe, expected);
        EXPECT_EQ(dlg->m_shoe.IsShoeOver(), CShoeEngine(expected).IsShoeOver());
        // The journal goes on from the resumed shoe.
        Click("m_btnBack");
        EXPECT_EQ(Rebuilt(dlg->m_settings, ParseJournal(Journal()).commands).m_nHandCount,
                  expected.m_nHandCount - 1);
        dlg.reset();
    }
}

TEST_F(LiveShoeWindow, NoStartsEmptyAndMovesTheShoeToTheHistory) {
    prompter.m_bYes = false;
    Start("ZXZZX-H");
    EXPECT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(dlg->m_shoe.m_nHandCount, 0);
    EXPECT_EQ(Journal(), "");
    ASSERT_EQ(History().rows.size(), 1u);
    EXPECT_EQ(History().rows[0].hands, "ZXZZH");
    dlg.reset();
    prompter.Clear();
    Start(Journal());
    EXPECT_EQ(prompter.Count(), 0u) << "asked once, never again";
}

TEST_F(LiveShoeWindow, NothingIsAskedWithoutAShoeOfHands) {
    for (const char* journal : {"", "ZZX/", "Z-", "ZX/Z-"}) {
        SCOPED_TRACE(journal);
        Start(journal);
        EXPECT_EQ(prompter.Count(), 0u);
        EXPECT_EQ(dlg->m_shoe.m_nHandCount, 0);
        dlg.reset();
    }
}

TEST_F(LiveShoeWindow, ADamagedJournalIsReportedSetAsideAndReadUpToTheDamage) {
    Start(std::string("ZXZ\0\0\0", 6));
    ASSERT_EQ(prompter.Count(), 2u);
    EXPECT_TRUE(prompter.At(0).text.startsWith(QStringLiteral("牌靴记录已损坏")));
    EXPECT_EQ(prompter.At(1).text, QStringLiteral("上次的牌靴还有3手记录，是否恢复？"));
    EXPECT_EQ(Letters(), "ZXZ");
    int copies = 0;
    for (const auto& entry : fs::directory_iterator(UserDataFolder())) {
        if (entry.path().filename().string().starts_with("shoe.journal.damaged-")) {
            ++copies;
            EXPECT_EQ(ReadBytes(entry.path()), std::string("ZXZ\0\0\0", 6));
        }
    }
    EXPECT_EQ(copies, 1);
}

TEST_F(LiveShoeWindow, ASecondWindowSaysItKeepsNothingAndWritesNothing) {
    Start("");
    ClickHands("ZX");
    CRecordingPrompter secondPrompter;
    CnuvDlg second(nullptr, &secondPrompter);
    second.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&second));
    QCoreApplication::processEvents();
    ASSERT_EQ(secondPrompter.Count(), 1u);
    EXPECT_EQ(secondPrompter.Last().text,
              QStringLiteral("另一个窗口正在记录牌靴，这个窗口不保存牌靴记录。"));
    QTest::mouseClick(second.findChild<QPushButton*>(QStringLiteral("btnTie")), Qt::LeftButton);
    QTest::mouseClick(second.findChild<QPushButton*>(QStringLiteral("btnClear")), Qt::LeftButton);
    EXPECT_EQ(Journal(), "ZX");
}

TEST_F(LiveShoeWindow, KeysEnterHandsAndBackWhileNoEditHasTheFocus) {
    Start("");
    struct Case {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        const char* letters;  // the record after the key, from "Z"
    };
    const Case cases[] = {
        {Qt::Key_Z, Qt::NoModifier, "ZZ"},
        {Qt::Key_B, Qt::NoModifier, "ZZ"},
        {Qt::Key_1, Qt::NoModifier, "ZZ"},
        {Qt::Key_1, Qt::KeypadModifier, "ZZ"},
        {Qt::Key_X, Qt::NoModifier, "ZX"},
        {Qt::Key_P, Qt::NoModifier, "ZX"},
        {Qt::Key_2, Qt::NoModifier, "ZX"},
        {Qt::Key_H, Qt::NoModifier, "ZH"},
        {Qt::Key_T, Qt::NoModifier, "ZH"},
        {Qt::Key_3, Qt::KeypadModifier, "ZH"},
        {Qt::Key_Backspace, Qt::NoModifier, ""},
        {Qt::Key_B, Qt::AltModifier, ""},  // the mnemonic of 回退(&B)
        {Qt::Key_C, Qt::AltModifier, ""},  // the mnemonic of 清除(&C)
        {Qt::Key_Z, Qt::ControlModifier, "Z"},
        {Qt::Key_Q, Qt::NoModifier, "Z"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(QKeySequence(c.key | c.modifiers).toString().toStdString() + " " +
                     std::to_string(static_cast<int>(c.modifiers)));
        Click("btnClear");
        ClickHands("Z");
        Key(c.key, c.modifiers);
        // A mnemonic animates its button's click, which lands a moment later.
        if (c.modifiers & Qt::AltModifier) WaitFor([&] { return Letters() == c.letters; });
        EXPECT_EQ(Letters(), c.letters);
        EXPECT_EQ(Journal(), ParseJournal(Journal()).commands);
        EXPECT_EQ(Rebuilt(dlg->m_settings, Journal()).m_nHandCount, dlg->m_shoe.m_nHandCount);
    }

    // In an edit the keys are typing.
    Click("btnClear");
    auto* runs = Find<QLineEdit>("m_editTestTimes");
    runs->setFocus();
    runs->selectAll();
    Key(Qt::Key_2);
    Key(Qt::Key_Backspace);
    Key(Qt::Key_3);
    EXPECT_EQ(runs->text(), QStringLiteral("3"));
    EXPECT_EQ(dlg->m_shoe.m_nHandCount, 0);

    // A held key enters one hand.
    Find<QPushButton>("btnBanker")->setFocus();
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_Z, Qt::NoModifier, QStringLiteral("z"), true);
    QApplication::sendEvent(QApplication::focusWidget(), &repeat);
    EXPECT_EQ(dlg->m_shoe.m_nHandCount, 0);

    EXPECT_TRUE(Find<QPushButton>("btnBanker")->toolTip().contains(QStringLiteral("Z、B 或 1")));
    EXPECT_TRUE(Find<QPushButton>("btnPlayer")->toolTip().contains(QStringLiteral("X、P 或 2")));
    EXPECT_TRUE(Find<QPushButton>("btnTie")->toolTip().contains(QStringLiteral("H、T 或 3")));
}

TEST_F(LiveShoeWindow, CopyAndPasteCarryAShoeAsLetters) {
    Start("");
    QClipboard* clipboard = QGuiApplication::clipboard();
    ClickHands("ZXHZ");
    Key(Qt::Key_C, Qt::ControlModifier);
    EXPECT_EQ(clipboard->text(), QStringLiteral("ZXHZ"));

    // A bad character: named, and nothing changes.
    clipboard->setText(QStringLiteral("BPQT"));
    Key(Qt::Key_V, Qt::ControlModifier);
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_TRUE(prompter.Last().text.contains(QStringLiteral("第3个字符“Q”")))
        << prompter.Last().text;
    EXPECT_EQ(Letters(), "ZXHZ");

    // A shoe with hands is replaced only when the user agrees.
    clipboard->setText(QStringLiteral("bp T\nzxh"));
    prompter.m_bYes = false;
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(prompter.Last().text,
              QStringLiteral("当前牌靴已有4手记录，要用剪贴板里的6手替换它吗？"));
    EXPECT_EQ(Letters(), "ZXHZ");
    prompter.m_bYes = true;
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Letters(), "ZXHZXH");
    EXPECT_EQ(Journal(), "ZXHZXH");
    ASSERT_EQ(History().rows.size(), 1u);
    EXPECT_EQ(History().rows[0].hands, "ZXHZ");

    // Letters past the end of the shoe are dropped and said so.
    prompter.Clear();
    clipboard->setText(QString::fromLatin1(kEndingShoe) + QStringLiteral("ZZ"));
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(Letters(), kEndingShoe);
    ASSERT_EQ(prompter.Count(), 3u);  // the question, the end of the shoe, the dropped hands
    EXPECT_EQ(prompter.At(1).text, kEndOfShoeText);
    EXPECT_EQ(prompter.At(2).text, QStringLiteral("这一靴已经结束，剪贴板里还有2手没有输入。"));
    EXPECT_EQ(Journal(), kEndingShoe);

    // In an edit, Ctrl+V pastes text into the edit.
    Click("btnClear");
    clipboard->setText(QStringLiteral("5"));
    auto* shoes = Find<QLineEdit>("m_editTestShoes");
    shoes->setFocus();
    shoes->selectAll();
    Key(Qt::Key_V, Qt::ControlModifier);
    EXPECT_EQ(shoes->text(), QStringLiteral("5"));
    EXPECT_EQ(dlg->m_shoe.m_nHandCount, 0);
}

// A test's last shoe replaces the record: the player's shoe goes to the history, and the test's
// shoe is neither journaled nor written to the history.
TEST_F(LiveShoeWindow, ATestShoeIsShownButNotKept) {
    Start("");
    dlg->m_fnSeed = [] { return std::uint64_t{7}; };
    ClickHands("ZXZZX");
    Click("m_btnRandomTest");
    ASSERT_GT(dlg->m_shoe.m_nHandCount, 0);
    ASSERT_NE(Letters(), "ZXZZX");
    EXPECT_EQ(Journal(), "");
    ASSERT_EQ(History().rows.size(), 1u);
    EXPECT_EQ(History().rows[0].hands, "ZXZZX");
    Click("m_btnBack");
    Click("btnClear");
    EXPECT_EQ(Journal(), "");
    EXPECT_EQ(History().rows.size(), 1u);
    ClickHands("X");
    EXPECT_EQ(Journal(), "X") << "after Clear the player's shoe is kept again";
}

// The real question box, pictured for a look by eye.
TEST(LiveShoeScreenshot, TheResumeQuestion) {
    WriteJournal("ZXZZXXZXZ");
    CnuvDlg dlg;
    QImage picture;
    QString text;
    QStringList buttons;
    CModalAnswer<QMessageBox> answer([&](QMessageBox& box) {
        picture = box.grab().toImage();
        text = box.text();
        for (QAbstractButton* b : box.buttons()) buttons << b->text();
        box.button(QMessageBox::Yes)->click();
    });
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    QTRY_VERIFY_WITH_TIMEOUT(answer.Answered(), 20000);
    EXPECT_EQ(text, QStringLiteral("上次的牌靴还有9手记录，是否恢复？"));
    EXPECT_EQ(buttons.size(), 2);
    EXPECT_EQ(dlg.m_shoe.m_nHandCount, 9);
    const QDir dir(QStringLiteral(NUV_SCREENSHOT_DIR));
    ASSERT_TRUE(dir.mkpath(QStringLiteral(".")));
    ASSERT_FALSE(picture.isNull());
    EXPECT_TRUE(picture.save(dir.filePath(QStringLiteral("8-resume-question.png"))));
}

}  // namespace
