#include <gtest/gtest.h>

#include <string_view>

#include <QAction>
#include <QContextMenuEvent>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "dialogs/Product.h"
#include "engine/Side.h"
#include "tests/ui/UiTestSupport.h"
#include "tests/ui/WindowFixture.h"
#include "ui/AboutDlg.h"
#include "ui/Artwork.h"
#include "ui/Layout.h"
#include "ui/NuvDlg.h"
#include "ui/RecordWnd.h"
#include "ui/ShoeLines.h"

namespace {

// A 32-hand shoe that ends on its fourth won cycle with 22 units won; hand 20 is a tie.
constexpr std::string_view kEndingShoe = "BPBPBPPBBPBBBPPPPBBTPPPPPPBBPBBP";

class MainWindow : public WindowFixture {
protected:
    QString AdviceText() { return AdviceLine(dlg.m_shoe).text; }
    QString StatusText() { return StatusLine(dlg.m_shoe).text; }
};

// The same hands entered into an engine of its own, for comparison with the window's record.
CShoeEngine Reference(const ShoeSettings& settings, std::string_view hands) {
    CShoeEngine shoe(settings);
    shoe.ResetShoe();
    for (const char h : hands)
        shoe.RecordHand(h == 'B' ? SIDE_BANKER : h == 'P' ? SIDE_PLAYER : SIDE_TIE);
    return shoe;
}

}  // namespace

TEST_F(MainWindow, StartUpState) {
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("百家乐投注顾问 3.1.2"));
    EXPECT_EQ(dlg.size(), QSize(544, 639));
    EXPECT_EQ(dlg.m_settings, ShoeSettings{});  // an empty hive gives the defaults
    EXPECT_EQ(Edits(), (QStringList{"1", "1", "0", "0"}));
    EXPECT_TRUE(Find<QPushButton>("m_btnConfigure")->isEnabled());
    EXPECT_FALSE(Find<QPushButton>("m_btnSearch")->isVisible());
    EXPECT_TRUE(Find<QLineEdit>("m_editTotalWin")->isReadOnly());
    EXPECT_TRUE(Find<QLineEdit>("m_editFirstLossRun")->isReadOnly());
    EXPECT_EQ(AdviceText(), QStringLiteral("请输入前四手"));
    EXPECT_EQ(StatusText(), QStringLiteral("0分 正常 收益率0％ ++0"));

    // 66 result cells with ids 10001..10066; advice slots 0..3 empty and 62 cells 20001..20062.
    for (int i = 0; i < CShoeEngine::kHands; ++i) {
        SCOPED_TRACE(i);
        ASSERT_NE(dlg.m_pResultCell[i], nullptr);
        EXPECT_EQ(dlg.m_pResultCell[i]->property("controlId").toInt(), 10001 + i);
        EXPECT_EQ(&dlg.m_pResultCell[i]->Cell(), &dlg.m_shoe.m_ResultCell[i]);
        EXPECT_EQ(dlg.m_pResultCell[i]->Cell(), CCellRecord{});
        if (i < 4) {
            EXPECT_EQ(dlg.m_pAdviceCell[i], nullptr);
        } else {
            ASSERT_NE(dlg.m_pAdviceCell[i], nullptr);
            EXPECT_EQ(dlg.m_pAdviceCell[i]->property("controlId").toInt(), 19997 + i);
            EXPECT_EQ(&dlg.m_pAdviceCell[i]->Cell(), &dlg.m_shoe.m_AdviceCell[i]);
        }
    }
    EXPECT_EQ(dlg.findChildren<CRecordWnd*>().size(), 128);

    struct Place {
        CRecordWnd* cell;
        QRect rect;
    };
    const Place places[] = {
        {dlg.m_pResultCell[0], {85, 114, 30, 25}},   {dlg.m_pResultCell[6], {126, 114, 30, 25}},
        {dlg.m_pResultCell[65], {495, 274, 30, 25}}, {dlg.m_pAdviceCell[4], {85, 477, 30, 25}},
        {dlg.m_pAdviceCell[6], {126, 345, 30, 25}},  {dlg.m_pAdviceCell[65], {495, 510, 30, 25}},
    };
    for (const Place& p : places) EXPECT_EQ(p.cell->geometry(), p.rect) << p.cell->objectName();
}

TEST_F(MainWindow, ControlsAreWhereTheTemplateSaysAndInTabOrder) {
    struct Control {
        const char* name;
        QRect rect;  // dialog units x 1.5, edges rounded
    };
    const Control controls[] = {
        {"btnBanker", {137, 71, 40, 28}},        {"btnPlayer", {183, 71, 41, 28}},
        {"btnTie", {230, 71, 40, 28}},           {"m_btnBack", {279, 71, 57, 28}},
        {"btnClear", {341, 71, 57, 28}},         {"m_btnSave", {402, 71, 57, 28}},
        {"m_btnConfigure", {464, 71, 57, 28}},   {"m_btnRandomTest", {18, 573, 57, 24}},
        {"m_editTestTimes", {75, 575, 38, 21}},  {"m_editTestShoes", {131, 575, 48, 21}},
        {"m_editTotalWin", {257, 575, 58, 21}},  {"m_editFirstLossRun", {413, 575, 28, 21}},
        {"m_stcTimesLabel", {116, 578, 13, 12}}, {"m_stcShoesLabel", {182, 578, 73, 21}},
        {"m_stcLossLabel", {320, 578, 91, 12}},  {"btnNotes", {473, 30, 57, 29}},
        {"m_btnSearch", {449, 573, 78, 24}},
    };
    for (const Control& c : controls) {
        QWidget* w = Find<QWidget>(c.name);
        if (w) {
            EXPECT_EQ(w->geometry(), c.rect) << c.name;
        }
    }
    // Tab order follows the template: the result buttons first, the Notes button last shown.
    QStringList order;
    QWidget* w = Find<QWidget>("btnBanker");
    for (int i = 0; i < 20 && w; ++i) {
        order << w->objectName();
        w = w->nextInFocusChain();
        if (w && w->objectName() == QLatin1String("btnBanker")) break;
    }
    EXPECT_EQ(order.mid(0, 8),
              (QStringList{"btnBanker", "btnPlayer", "btnTie", "m_btnBack", "btnClear", "m_btnSave",
                           "m_btnConfigure", "m_btnRandomTest"}));
    EXPECT_EQ(Find<QLabel>("m_stcShoesLabel")->text(), QStringLiteral("靴  累计赢分"));
    EXPECT_EQ(Find<QLabel>("m_stcLossLabel")->text(), QStringLiteral("分 开始输的次数"));
    EXPECT_EQ(Find<QLabel>("m_stcTimesLabel")->text(), QStringLiteral("次"));
    EXPECT_EQ(Find<QPushButton>("m_btnBack")->text(), QStringLiteral("回退(&B)"));
    EXPECT_EQ(Find<QPushButton>("btnClear")->text(), QStringLiteral("清除(&C)"));
    EXPECT_EQ(Find<QPushButton>("btnBanker")->accessibleName(), QStringLiteral("庄"));
}

TEST_F(MainWindow, BackgroundGridLinesFallBetweenTheCells) {
    const QImage back = DrawBackground();
    ASSERT_EQ(back.size(), QSize(layout::kClientWidth, layout::kClientHeight));
    const QRgb line = GridLineColour().rgb();
    // Column lines at x = 75 + 41 c and row lines at 110 + 32 r / 340 + 33 r, across each grid.
    for (int c = 0; c <= layout::kColumns; ++c) {
        const int x = 75 + 41 * c;
        EXPECT_EQ(back.pixel(x, 125), line) << "result column line " << c;
        EXPECT_EQ(back.pixel(x, 355), line) << "advice column line " << c;
    }
    for (int r = 0; r <= layout::kRows; ++r) {
        EXPECT_EQ(back.pixel(95, 110 + 32 * r), line) << "result row line " << r;
        EXPECT_EQ(back.pixel(95, 340 + 33 * r), line) << "advice row line " << r;
    }
    // No cell lies across a grid line.
    for (CRecordWnd* cell : dlg.findChildren<CRecordWnd*>()) {
        const QRect r = cell->geometry();
        int crossings = 0;
        for (int y = r.top(); y <= r.bottom(); ++y)
            for (int x = r.left(); x <= r.right(); ++x) crossings += back.pixel(x, y) == line;
        EXPECT_EQ(crossings, 0) << cell->objectName().toStdString();
    }
}

TEST_F(MainWindow, StatusFrameClosesAboveTheTestBandAndHandNumbersRead) {
    const QImage back = DrawBackground();
    // Down the middle of the status line: the frame's lower edge (a pixel darker than the well)
    // lies between the text and the test band.
    const int x = layout::kStatusRect.center().x();
    const QRgb well = back.pixel(x, layout::kStatusRect.top() + 10);
    int edge = -1;
    for (int y = layout::kStatusRect.top() + 10; y < layout::kTestBandTop; ++y) {
        if (qGray(back.pixel(x, y)) < qGray(well) - 40) edge = y;
    }
    EXPECT_GT(edge, layout::kStatusRect.top() + 15);
    // The small hand numbers: their darkest stroke stands well off the square's ground.
    for (const int i : {0, 37, 65}) {
        const QRect corner(layout::ResultSquare(i).topLeft() + QPoint(1, 1), QSize(14, 10));
        int darkest = 255;
        for (int y = corner.top(); y <= corner.bottom(); ++y)
            for (int xx = corner.left(); xx <= corner.right(); ++xx)
                darkest = std::min(darkest, qGray(back.pixel(xx, y)));
        EXPECT_LT(darkest, 100) << "hand " << i + 1;
    }
}

TEST_F(MainWindow, FontsMapToInstalledChineseFaces) {
    for (const char* face : {"隶书", "楷体_GB2312", "宋体"}) {
        SCOPED_TRACE(face);
        const QFont font(QString::fromUtf8(face));
        EXPECT_TRUE(QFontInfo(font).family().startsWith(QLatin1String("AR PL")))
            << QFontInfo(font).family().toStdString();
        const QFontMetrics metrics(font);
        for (const QChar ch : QStringLiteral("庄闲和停百家乐投注顾问胜负显示区％"))
            EXPECT_TRUE(metrics.inFont(ch)) << QString(ch).toStdString();
    }
}

TEST_F(MainWindow, ClickedShoeShowsCellsAdviceAndStatus) {
    ClickHands("BBBPBBBPBBBT");
    const CShoeEngine expected = Reference(dlg.m_settings, "BBBPBBBPBBBT");
    ExpectSameRecord(dlg.m_shoe, expected);
    const int results[] = {1, 1, 1, 2, 1, 1, 1, 2, 1, 1, 1, 3};
    for (int i = 0; i < 12; ++i) {
        EXPECT_EQ(dlg.m_pResultCell[i]->Cell(), (CCellRecord{1, 0, results[i]})) << i;
    }
    EXPECT_EQ(dlg.m_pResultCell[12]->Cell(), CCellRecord{});
    // Hand 5 was advised as a pause, hand 6 banker 1 (won), hand 7 player 2 (lost).
    EXPECT_EQ(dlg.m_pAdviceCell[4]->Cell(), (CCellRecord{1, 0, SIDE_PAUSE}));
    EXPECT_EQ(dlg.m_pAdviceCell[5]->Cell(), (CCellRecord{1, 1, SIDE_BANKER}));
    EXPECT_EQ(dlg.m_pAdviceCell[6]->Cell(), (CCellRecord{1, -2, SIDE_PLAYER}));
    // The tie settles to 0 and keeps its glyph; the next hand repeats the tie hand's advice.
    EXPECT_EQ(dlg.m_pAdviceCell[11]->Cell().m_nValue, 0);
    EXPECT_EQ(dlg.m_pAdviceCell[12]->Cell().m_nSide, dlg.m_pAdviceCell[11]->Cell().m_nSide);
    EXPECT_EQ(prompter.Count(), 0u);
    EXPECT_EQ(StatusText(), QStringLiteral("%1分 正常 收益率%2％ ++%3")
                                .arg(expected.m_nScore)
                                .arg(expected.m_nYield)
                                .arg(expected.m_nWinCycles));

    Click("btnClear");
    ClickHands("BBBPB");
    EXPECT_EQ(AdviceText(), QStringLiteral("第6手请下注 庄1 (庄:300元 闲:200元)"));
    ClickHands("B");
    EXPECT_EQ(AdviceText(), QStringLiteral("第7手请下注 闲2 (闲:200元)"));
    EXPECT_EQ(StatusText(), QStringLiteral("1分 正常 收益率100％ ++0"));
}

TEST_F(MainWindow, EndOfShoeMessageOnceThenOnEveryRefusedClick) {
    ClickHands(kEndingShoe);
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().caption, kProductName);
    EXPECT_EQ(prompter.Last().text, kEndOfShoeText);
    EXPECT_EQ(prompter.Last().icon, CPrompter::Icon::None);
    EXPECT_EQ(dlg.m_shoe.m_nHandCount, 32);
    EXPECT_EQ(AdviceText(),
              QStringLiteral("本局结束,总计赢%1元").arg(22 * 100 - dlg.m_shoe.ComputeCommission()));

    const CShoeEngine before = dlg.m_shoe;
    Click("btnPlayer");
    EXPECT_EQ(prompter.Count(), 2u);
    ExpectSameRecord(dlg.m_shoe, before);
    EXPECT_TRUE(Find<QPushButton>("m_btnConfigure")->isEnabled());
}

TEST_F(MainWindow, BackReplaysAllButTheLastHand) {
    ClickHands("BBBPB");
    Click("m_btnBack");
    ExpectSameRecord(dlg.m_shoe, Reference(dlg.m_settings, "BBBP"));
    EXPECT_EQ(AdviceText(), QStringLiteral("第5手请暂停下注"));

    // Back removes one hand per click down to an empty shoe; one more does nothing.
    for (int n = 3; n >= 0; --n) {
        Click("m_btnBack");
        EXPECT_EQ(dlg.m_shoe.m_nHandCount, n);
    }
    Click("m_btnBack");
    ExpectSameRecord(dlg.m_shoe, Reference(dlg.m_settings, ""));

    // Back on an ended shoe reopens it without a message: the last hand's advice is pending again.
    ClickHands(kEndingShoe);
    prompter.Clear();
    Click("m_btnBack");
    EXPECT_EQ(prompter.Count(), 0u);
    ExpectSameRecord(dlg.m_shoe, Reference(dlg.m_settings, kEndingShoe.substr(0, 31)));
    EXPECT_EQ(AdviceText(), QStringLiteral("第32手请下注 闲2 (闲:200元)"));
}

TEST_F(MainWindow, BackUnderStricterSettingsStopsTheReplayWithOneMessage) {
    ClickHands(kEndingShoe.substr(0, 12));  // score 6 after twelve hands, 5 after eleven
    dlg.m_settings.m_nWinStopMoney = 5;
    Click("m_btnBack");
    EXPECT_EQ(dlg.m_shoe.m_nHandCount, 11);
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().text, kEndOfShoeText);
    EXPECT_TRUE(prompter.Last().waitCursor);  // the replay runs under the wait cursor
    EXPECT_EQ(QApplication::overrideCursor(), nullptr);
}

TEST_F(MainWindow, BadEntryInTheTestRowStopsBack) {
    ClickHands("BBBPB");
    const CShoeEngine before = dlg.m_shoe;
    QLineEdit* shoes = Find<QLineEdit>("m_editTestShoes");
    shoes->setText(QStringLiteral("3x"));
    Find<QLineEdit>("m_editTestTimes")->setText(QStringLiteral("7"));
    Click("m_btnBack");
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().text, QStringLiteral("Please enter an integer."));
    EXPECT_EQ(dlg.focusWidget(), shoes);
    ExpectSameRecord(dlg.m_shoe, before);
    EXPECT_EQ(dlg.m_nTestTimes, 7);  // read before the bad edit
    EXPECT_EQ(dlg.m_nTestShoes, 1);

    // Out of the 32-bit range is a bad entry too.
    shoes->setText(QStringLiteral("2147483648"));
    Click("m_btnBack");
    EXPECT_EQ(prompter.Count(), 2u);
    EXPECT_EQ(dlg.m_shoe.m_nHandCount, 5);

    shoes->setText(QStringLiteral(" 12 "));
    Click("m_btnBack");
    EXPECT_EQ(prompter.Count(), 2u);
    EXPECT_EQ(dlg.m_shoe.m_nHandCount, 4);
    EXPECT_EQ(Edits(), (QStringList{"7", "12", "0", "0"}));
}

TEST_F(MainWindow, ClearStartsANewShoe) {
    dlg.m_settings.m_nWinStopMoney = 3;
    ClickHands(kEndingShoe.substr(0, 11));  // five units up after eleven hands: over
    ASSERT_EQ(prompter.Count(), 1u);
    Find<QLineEdit>("m_editTestTimes")->setText(QStringLiteral("junk"));
    Click("btnClear");
    ExpectSameRecord(dlg.m_shoe, Reference(dlg.m_settings, ""));
    EXPECT_EQ(Edits(), (QStringList{"1", "1", "0", "0"}));  // the members are written back
    EXPECT_EQ(dlg.m_settings.m_nWinStopMoney, 3);
    EXPECT_EQ(AdviceText(), QStringLiteral("请输入前四手"));
    for (int i = 0; i < CShoeEngine::kHands; ++i) {
        EXPECT_EQ(dlg.m_pResultCell[i]->Cell(), CCellRecord{});
        if (i >= 4) {
            EXPECT_EQ(dlg.m_pAdviceCell[i]->Cell(), CCellRecord{});
        }
    }
}

TEST_F(MainWindow, EnterDoesNotCloseEscapeAndCloseBoxDo) {
    QLineEdit* edit = Find<QLineEdit>("m_editTestTimes");
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_Return);
    QTest::keyClick(edit, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_TRUE(dlg.isVisible());
    EXPECT_EQ(dlg.m_shoe.m_nHandCount, 0);
    EXPECT_EQ(prompter.Count(), 0u);

    // On a focused push button Enter presses that button.
    QPushButton* banker = Find<QPushButton>("btnBanker");
    banker->setFocus();
    QTest::keyClick(banker, Qt::Key_Return);
    EXPECT_EQ(dlg.m_shoe.m_nHandCount, 1);
    EXPECT_TRUE(dlg.isVisible());

    QTest::keyClick(&dlg, Qt::Key_Escape);
    EXPECT_FALSE(dlg.isVisible());
    EXPECT_EQ(dlg.result(), QDialog::Rejected);

    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    EXPECT_TRUE(dlg.close());
    EXPECT_FALSE(dlg.isVisible());
}

TEST_F(MainWindow, NotesShowsItsMessage) {
    Click("btnNotes");
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_EQ(prompter.Last().caption, QStringLiteral("注意事项   战胜自我就是赢的开始！"));
    EXPECT_EQ(prompter.Last().icon, CPrompter::Icon::Warning);
    EXPECT_EQ(prompter.Last().text,
              QStringLiteral(
                  "1、必须从一靴牌的第一铺开始，不得中途进入。\n\n2、你所选择的上限与下限之间的"
                  "倍数越大越好，至少要达到100倍，\n\n   比如20下限，2000上限。\n\n3、你必须至少"
                  "拥有2倍上限的本金才可以去玩。\n\n4、如果你充分理解各个配置参数的重要含义，"
                  "那么你可以自己改\n\n   变这些设置，否则，请使用默认值（先点默认方案，再点确"
                  "认）。\n\n5、一定要制定并严格执行事前方案。\n\n6、本软件升级频繁，请大家经常"
                  "去下载最新版本，或者与我联系。\n\n7、欢迎大家群策群力，集思广益，大家有什么"
                  "好的想法可与我联\n\n   系，我可以把它写成软件。"));
}

TEST_F(MainWindow, ContextMenuOffersAboutWhichNamesProductVersionAndReadme) {
    QStringList menuEntries;
    QTimer::singleShot(0, [&] {
        if (auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget())) {
            for (QAction* a : menu->actions()) menuEntries << a->objectName();
            menu->close();
        }
    });
    QContextMenuEvent event(QContextMenuEvent::Mouse, QPoint(300, 200),
                            dlg.mapToGlobal(QPoint(300, 200)));
    QApplication::sendEvent(&dlg, &event);
    EXPECT_EQ(menuEntries, (QStringList{"actSearch", "actCardsGame", "actRoads", "", "actCopy",
                                        "actPaste", "", "actAbout"}))
        << "\"\" is a separator";

    QString aboutTexts;
    QTimer::singleShot(0, [&] {
        if (auto* about = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            aboutTexts = about->windowTitle();
            for (QLabel* label : about->findChildren<QLabel*>()) aboutTexts += label->text();
            about->accept();
        }
    });
    Find<QAction>("actAbout")->trigger();
    EXPECT_TRUE(aboutTexts.contains(QStringLiteral("百家乐投注顾问 3.1.2")));
    EXPECT_TRUE(aboutTexts.contains(QStringLiteral("版权所有")));
    EXPECT_TRUE(aboutTexts.contains(CAboutDlg::ReadmePath()));
    EXPECT_TRUE(CAboutDlg::ReadmePath().endsWith(QStringLiteral("/doc/nuv/README.md")));
    // Nothing of the build tree (this test runs from it) shows.
    const QString tree =
        QDir(QCoreApplication::applicationDirPath() + QStringLiteral("/../../..")).canonicalPath();
    EXPECT_FALSE(aboutTexts.contains(tree)) << aboutTexts;
}

TEST_F(MainWindow, ScreenShowsNoRemainsOfReplacedText) {
    // What is on screen after a run of partial repaints must equal a full repaint of the same
    // state: every changed cell and line took its old text away.
    QScreen* screen = dlg.screen();
    ASSERT_NE(screen, nullptr);
    auto onScreen = [&] {
        QCoreApplication::processEvents();
        return screen->grabWindow(dlg.winId()).toImage().convertToFormat(QImage::Format_RGB32);
    };
    if (onScreen().isNull()) GTEST_SKIP() << "this platform cannot read the window back";
    for (const std::string_view hands : {"BBBPB", "B", "BP", "T", "P"}) {
        ClickHands(hands);
        onScreen();
    }
    Click("m_btnBack");
    const QImage shown = onScreen();
    const QImage full = dlg.grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), full.size());
    EXPECT_TRUE(shown == full);
}

TEST(QtPrompter, ShowsARealMessageBox) {
    QString seen;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
            seen = box->windowTitle() + u'|' + box->text();
            box->accept();
        }
    });
    CQtPrompter().Message(nullptr, QStringLiteral("标题"), QStringLiteral("正文"),
                          CPrompter::Icon::None);
    EXPECT_EQ(seen, QStringLiteral("标题|正文"));
}

TEST(QtPrompter, QuestionButtonsReadInChineseAndCaptionsStandAsGiven) {
    // Qt appends the application's display name to every caption once one is set; the program
    // sets none, so each caption reads exactly as given.
    EXPECT_EQ(QGuiApplication::applicationDisplayName(), QCoreApplication::applicationName());
    QStringList buttons;
    QString caption;
    CModalAnswer<QMessageBox> answer([&](QMessageBox& box) {
        caption = box.windowTitle();
        for (QAbstractButton* b : box.buttons()) buttons << b->text();
    });
    CQtPrompter().Confirm(nullptr, QStringLiteral("寻找最优参数"),
                          QStringLiteral("现在开始测试吗？"));
    EXPECT_EQ(caption, QStringLiteral("寻找最优参数"));
    buttons.sort();
    QStringList expected{QStringLiteral("确定"), QStringLiteral("取消")};
    expected.sort();
    EXPECT_EQ(buttons, expected);

    CnuvDlg dlg;
    EXPECT_EQ(dlg.windowTitle(), QStringLiteral("百家乐投注顾问 3.1.2"));
}
