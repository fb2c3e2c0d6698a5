#include "dialogs/Prompter.h"

#include <algorithm>
#include <cmath>

#include <QFileDialog>
#include <QMessageBox>
#include <QProgressDialog>

namespace {

class CQtProgress final : public CProgress {
public:
    static constexpr int kSteps = 1000;

    CQtProgress(QWidget* parent, const QString& caption, const QString& label)
        : m_dialog(label, QStringLiteral("取消"), 0, kSteps, parent) {
        m_dialog.setObjectName(QStringLiteral("progressDialog"));
        m_dialog.setWindowTitle(caption);
        m_dialog.setWindowModality(Qt::WindowModal);
        // Shown and closed by this object alone, never on its own timer or at the last step.
        m_dialog.setMinimumDuration(0);
        m_dialog.setAutoReset(false);
        m_dialog.setAutoClose(false);
        m_dialog.setValue(0);
        m_dialog.show();
    }

    bool Update(double fraction) override {
        if (!Cancelled()) {
            const double clamped = std::clamp(fraction, 0.0, 1.0);
            m_dialog.setValue(static_cast<int>(std::lround(clamped * kSteps)));
        }
        return !Cancelled();
    }

private:
    // Cancel, Escape and the close box all end in a cancelled or hidden box.
    bool Cancelled() const { return m_dialog.wasCanceled() || !m_dialog.isVisible(); }

    QProgressDialog m_dialog;
};

}  // namespace

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

bool CQtPrompter::Confirm(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::NoIcon, caption, text, QMessageBox::Ok | QMessageBox::Cancel,
                    parent);
    box.setObjectName(QStringLiteral("questionBox"));
    return box.exec() == QMessageBox::Ok;
}

bool CQtPrompter::AskYesNo(QWidget* parent, const QString& caption, const QString& text) {
    QMessageBox box(QMessageBox::Question, caption, text, QMessageBox::Yes | QMessageBox::No,
                    parent);
    box.setObjectName(QStringLiteral("yesNoBox"));
    box.setDefaultButton(QMessageBox::Yes);
    return box.exec() == QMessageBox::Yes;
}

std::unique_ptr<CProgress> CQtPrompter::ShowProgress(QWidget* parent, const QString& caption,
                                                     const QString& label) {
    return std::make_unique<CQtProgress>(parent, caption, label);
}

CPrompter& DefaultPrompter() {
    static CQtPrompter prompter;
    return prompter;
}
