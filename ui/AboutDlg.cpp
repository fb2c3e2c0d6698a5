#include "ui/AboutDlg.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>

#include "dialogs/Product.h"
#include "ui/Artwork.h"
#include "ui_AboutDlg.h"

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CAboutDlg>()) {
    m_ui->setupUi(this);
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    setFixedSize(size());
    setWindowTitle(QStringLiteral("关于 ") + kProductName);
    m_ui->stcIcon->setPixmap(QPixmap::fromImage(DrawIcon(32)));
    m_ui->stcProduct->setText(kProductName + QStringLiteral(" ") + kProductVersion +
                              QStringLiteral(" 版"));
    m_ui->stcRights->setText(QStringLiteral("版权所有 (C) 2024 nuv 开发组，保留所有权利。"));
    m_ui->stcReadme->setText(QStringLiteral("使用说明：") + ReadmePath());
}

CAboutDlg::~CAboutDlg() = default;

QString CAboutDlg::ReadmePath() {
    // Installed beside the program under any prefix: <prefix>/bin/nuv, <prefix>/<docdir>/README.md.
    const QDir prefix(QCoreApplication::applicationDirPath() + QStringLiteral("/.."));
    const QString installed =
        QDir::cleanPath(prefix.filePath(QStringLiteral(NUV_DOCDIR "/README.md")));
    if (QFileInfo::exists(installed)) return installed;
    // Not installed (run from the build tree): where `cmake --install` puts it, never a path of
    // the build tree, which means nothing to a player.
    return QStringLiteral(NUV_INSTALLED_README);
}
