// Writes pictures of the main states of the window into the build folder, for a look by eye.
#include <gtest/gtest.h>

#include <string_view>

#include <QDir>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTimer>

#include "AboutDlg.h"
#include "Artwork.h"
#include "NuvDlg.h"
#include "Side.h"
#include "UiTestSupport.h"

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
