// Save: a picture of the window's client area written to a bitmap file (button "保存(&S)").
#include <QImage>
#include <QPixmap>
#include <QTimer>
#include <span>

#include "dialogs/Product.h"
#include "dialogs/Prompter.h"
#include "dialogs/WaitCursor.h"
#include "platform/BmpWriter.h"
#include "ui/NuvDlg.h"

namespace {

// The capture waits this long after the Save As dialog has closed, so the picture shows the
// window and not the dialog's last frame.
constexpr int kSnapshotDelayMs = 100;

// The client area as an image in the layout of a bitmap of `depth` bits per pixel (32, 24, 16 or
// 8; other depths are written at the nearest of these), with its depth.
std::pair<QImage, int> CaptureClientArea(QWidget& window) {
    const QImage shot = window.grab(window.rect()).toImage();
    const int depth = window.depth();
    if (depth >= 32) return {shot.convertToFormat(QImage::Format_RGB32), 32};
    if (depth >= 24) return {shot.convertToFormat(QImage::Format_BGR888), 24};
    if (depth >= 15) return {shot.convertToFormat(QImage::Format_RGB555), 16};
    return {shot.convertToFormat(QImage::Format_Indexed8), 8};
}

}  // namespace

void CnuvDlg::OnSave() {
    const QString path = Prompter().SaveBitmapFileName(this);
    if (path.isEmpty()) return;
    m_strSnapshotPath = path;
    if (!m_pSnapshotTimer) {
        m_pSnapshotTimer = new QTimer(this);
        m_pSnapshotTimer->setObjectName(QStringLiteral("snapshotTimer"));
        m_pSnapshotTimer->setSingleShot(true);
        m_pSnapshotTimer->setInterval(kSnapshotDelayMs);
        connect(m_pSnapshotTimer, &QTimer::timeout, this, &CnuvDlg::OnTimer);
    }
    // A second Save before the first capture restarts the delay: one file, at the latest path.
    m_pSnapshotTimer->start();
}

void CnuvDlg::OnTimer() {
    WriteSnapshot();
}

void CnuvDlg::WriteSnapshot() {
    CWaitCursor wait;
    const auto [image, bpp] = CaptureClientArea(*this);
    const QList<QRgb> table = image.colorTable();
    BmpImage bmp;
    bmp.width = image.width();
    bmp.height = image.height();
    bmp.bpp = bpp;
    bmp.rowOrder = BmpRowOrder::TopDown;
    bmp.pixels = std::span(image.constBits(), static_cast<std::size_t>(image.sizeInBytes()));
    bmp.colourTable = std::span(table.constData(), static_cast<std::size_t>(table.size()));
    const FileResult written = WriteBmpFile(m_strSnapshotPath.toStdString(), bmp);
    if (!written) {
        Prompter().Message(this, ProductTitle(),
                           QStringLiteral("图片没有保存到“%1”：%2")
                               .arg(m_strSnapshotPath, QString::fromStdString(written.reason)),
                           CPrompter::Icon::Warning);
    }
}
