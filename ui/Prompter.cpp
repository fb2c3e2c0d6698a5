#include "Prompter.h"

#include <QFileDialog>
#include <QMessageBox>

void CQtPrompter::Message(QWidget* parent, const QString& caption, const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
                    text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

void ConfigureBitmapSaveDialog(QFileDialog& dialog) {
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QStringLiteral("位图文件 (*.bmp)"));
    dialog.setDefaultSuffix(QStringLiteral("bmp"));
    dialog.setOption(QFileDialog::DontConfirmOverwrite, false);
}

QString CQtPrompter::SaveBitmapFileName(QWidget* parent) {
    QFileDialog dialog(parent);
    dialog.setObjectName(QStringLiteral("saveDialog"));
    ConfigureBitmapSaveDialog(dialog);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
    return dialog.selectedFiles().constFirst();
}

CPrompter& DefaultPrompter() {
    static CQtPrompter prompter;
    return prompter;
}
