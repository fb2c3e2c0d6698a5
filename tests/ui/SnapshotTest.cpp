#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QImage>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include "dialogs/Prompter.h"
#include "tests/ui/UiTestSupport.h"
#include "ui/NuvDlg.h"

namespace {

class Snapshot : public testing::Test {
protected:
    Snapshot() {
        dlg.show();
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&dlg));
        for (int i = 0; i < 9; ++i) dlg.m_shoe.RecordHand(i % 3 ? SIDE_BANKER : SIDE_PLAYER);
    }

    // Runs Save with the dialog answered by `answer` and waits for the capture.
    void Save(const QString& answer) {
        prompter.m_strSavePath = answer;
        dlg.OnSave();
        // The capture happens when the one-shot timer fires; wait for it however busy the
        // machine is.
        if (auto* timer = dlg.findChild<QTimer*>(QStringLiteral("snapshotTimer"))) {
            EXPECT_TRUE(QTest::qWaitFor([timer] { return !timer->isActive(); }, 10000));
        }
    }

    QTemporaryDir dir;
    CRecordingPrompter prompter;
    CnuvDlg dlg{nullptr, &prompter};
};

// The file is a bitmap any reader opens, and it shows exactly what the window shows.
TEST_F(Snapshot, FileMatchesTheWindowPixelForPixel) {
    const QString path = dir.filePath(QStringLiteral("shoe.bmp"));
    Save(path);
    ASSERT_TRUE(QFile::exists(path));
    EXPECT_EQ(dlg.m_strSnapshotPath, path);
    EXPECT_EQ(prompter.Count(), 0u);

    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    ASSERT_GE(bytes.size(), 54);
    EXPECT_EQ(bytes.left(2), QByteArray("BM"));
    const int bpp = static_cast<unsigned char>(bytes[28]) | static_cast<unsigned char>(bytes[29])
                                                                << 8;
    EXPECT_EQ(bpp, dlg.depth());
    EXPECT_EQ(bytes.size(), 54 + ((dlg.width() * bpp + 31) / 32) * 4 * dlg.height());

    const QImage saved(path, "BMP");
    ASSERT_FALSE(saved.isNull());
    const QImage shown = dlg.grab(dlg.rect()).toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(saved.size(), shown.size());
    EXPECT_TRUE(saved.convertToFormat(QImage::Format_RGB32) == shown);
}

TEST_F(Snapshot, CancelWritesNothing) {
    Save(QString());
    EXPECT_EQ(prompter.m_nSaveAsked, 1);
    EXPECT_TRUE(dlg.m_strSnapshotPath.isEmpty());
    EXPECT_TRUE(QDir(dir.path()).isEmpty());
    EXPECT_EQ(prompter.Count(), 0u);
}

// Two Saves before the capture: one file, at the second path.
TEST_F(Snapshot, SecondSaveBeforeCaptureWins) {
    const QString first = dir.filePath(QStringLiteral("first.bmp"));
    const QString second = dir.filePath(QStringLiteral("second.bmp"));
    prompter.m_strSavePath = first;
    dlg.OnSave();
    Save(second);
    EXPECT_FALSE(QFile::exists(first));
    EXPECT_TRUE(QFile::exists(second));
}

// A file that cannot be written is reported with its path and reason, and an existing picture
// at that path is not damaged by a failed write.
TEST_F(Snapshot, UnwritablePathIsReported) {
    const QString path = dir.filePath(QStringLiteral("no-such-folder/shoe.bmp"));
    Save(path);
    ASSERT_EQ(prompter.Count(), 1u);
    EXPECT_TRUE(prompter.Last().text.contains(path)) << prompter.Last().text;
    EXPECT_TRUE(prompter.Last().text.contains(QStringLiteral("No such file")))
        << prompter.Last().text;
    EXPECT_EQ(prompter.Last().icon, CPrompter::Icon::Warning);
}

TEST(SaveDialog, AsksForABitmapFile) {
    QFileDialog dialog;
    ConfigureBitmapSaveDialog(dialog);
    EXPECT_EQ(dialog.acceptMode(), QFileDialog::AcceptSave);
    EXPECT_EQ(dialog.defaultSuffix(), QStringLiteral("bmp"));
    EXPECT_EQ(dialog.nameFilters(), QStringList{QStringLiteral("位图文件 (*.bmp)")});
    EXPECT_FALSE(dialog.testOption(QFileDialog::DontConfirmOverwrite));
}

}  // namespace
