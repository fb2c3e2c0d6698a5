#include "Prompter.h"

#include <QMessageBox>

void CQtPrompter::Message(QWidget* parent, const QString& caption, const QString& text, Icon icon) {
    QMessageBox box(icon == Icon::Warning ? QMessageBox::Warning : QMessageBox::NoIcon, caption,
                    text, QMessageBox::Ok, parent);
    box.setObjectName(QStringLiteral("messageBox"));
    box.exec();
}

CPrompter& DefaultPrompter() {
    static CQtPrompter prompter;
    return prompter;
}
