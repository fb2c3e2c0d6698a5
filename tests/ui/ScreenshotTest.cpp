// Writes pictures of the main states of the window into the build folder, for a look by eye.
#include <gtest/gtest.h>

#include <string_view>

#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "engine/Side.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/AboutDlg.h"
#include "ui/Artwork.h"
#include "ui/NuvDlg.h"

namespace {

// What the screen shows of the window; the widget's own rendering where the platform cannot
// read a window back.
QImage Screenshot(QWidget& window) {
    QCoreApplication::processEvents();
    QImage image;
    if (QScreen* screen = window.screen()) image = screen->grabWindow(window.winId()).toImage();
    if (image.isNull()) image = window.grab().toImage();
    return image;
}

void Save(const QImage& image, const char* name) {
    const QDir dir(QStringLiteral(NUV_SCREENSHOT_DIR));
    ASSERT_TRUE(dir.mkpath(QStringLiteral(".")));
    const QString path = dir.filePath(QString::fromLatin1(name) + QStringLiteral(".png"));
    ASSERT_TRUE(image.save(path)) << path.toStdString();
}

void ClickHands(CnuvDlg& dlg, std::string_view hands) {
    for (const char h : hands) {
        const char* name = h == 'B' ? "btnBanker" : h == 'P' ? "btnPlayer" : "btnTie";
        QTest::mouseClick(dlg.findChild<QPushButton*>(QString::fromLatin1(name)), Qt::LeftButton);
    }
}

}  // namespace

TEST(Screenshots, MainStates) {
    CRecordingPrompter prompter;
    CnuvDlg dlg(nullptr, &prompter);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));
    Save(Screenshot(dlg), "1-empty");

    // Eleven hands; the twelfth is advised banker 1, below the table minimum, so split.
    ClickHands(dlg, "BPBPBPPBBPB");
    Save(Screenshot(dlg), "2-running-split-bet");

    // The rest of a shoe that ends on its fourth won cycle; hand 20 is a tie.
    ClickHands(dlg, "BBPPPPBBTPPPPPPBBPBBP");
    EXPECT_EQ(prompter.Count(), 1u);
    Save(Screenshot(dlg), "3-ended");

    QImage about;
    QTimer::singleShot(0, [&] {
        if (auto* box = qobject_cast<CAboutDlg*>(QApplication::activeModalWidget())) {
            about = Screenshot(*box);
            box->accept();
        }
    });
    dlg.OnAbout();
    Save(about, "4-about");
    Save(DrawIcon(128), "5-icon");
}

TEST(Screenshots, FullShoeAndLargeFigures) {
    CRecordingPrompter prompter;
    CnuvDlg dlg(nullptr, &prompter);
    dlg.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&dlg));

    // No stop rule in reach: the shoe runs to its 66th hand.
    ShoeSettings& s = dlg.m_settings;
    s.m_nWinStopMoney = s.m_nLossStopMoney = 100000;
    s.m_nWinStopNum = s.m_nDangerous1 = s.m_nDangerous2 = 1000;
    ClickHands(dlg, "BPPBBPBPPPBBPBPPBPBBBPPBPBPBBPPBPBBPPPBPBBPBPBBPBPPBBPBPBPBBPPBBPB");
    Save(Screenshot(dlg), "6-full-shoe-ended");

    // Large table limits, a settled +120 and -300, and the advice of the largest stake, written
    // straight into the record.
    dlg.OnClear();
    s = ShoeSettings{};
    s.m_nXXLimitMoney = 10000;
    s.m_nSXLimitMoney = 2000000;
    ClickHands(dlg, "BPBPBPBPBPB");
    CShoeEngine& shoe = dlg.m_shoe;
    shoe.m_AdviceCell[4] = CCellRecord{1, 120, SIDE_BANKER};
    shoe.m_AdviceCell[5] = CCellRecord{1, -300, SIDE_PLAYER};
    shoe.m_AdviceCell[11] = CCellRecord{1, 0, SIDE_BANKER};
    shoe.m_nStake[11] = 300;
    shoe.RebuildDerivedState();
    dlg.update();
    Save(Screenshot(dlg), "7-large-values-long-advice");
}
