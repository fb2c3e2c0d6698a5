#pragma once

#include <memory>

#include <QString>

class QFileDialog;
class QWidget;

// A modal progress box with a Cancel button, shown while a long piece of work runs; it goes away
// with the object.
class CProgress {
public:
    virtual ~CProgress() = default;

    // Shows `fraction` (0 to 1) done. Returns false once the user has asked to cancel.
    virtual bool Update(double fraction) = 0;
};

// The one way the windows ask the user something modal. The program uses CQtPrompter (real
// QMessageBox); tests pass a prompter of their own that records and answers at once.
class CPrompter {
public:
    enum class Icon { None, Warning };

    virtual ~CPrompter() = default;

    // A modal message box with an OK button; returns when the user has closed it.
    virtual void Message(QWidget* parent, const QString& caption, const QString& text,
                         Icon icon) = 0;

    // A Save As dialog for a bitmap file (see ConfigureBitmapSaveDialog). Returns the full path
    // chosen, or an empty string when the user cancelled.
    virtual QString SaveBitmapFileName(QWidget* parent) = 0;

    // A modal message box with OK and Cancel; true when the user chose OK.
    virtual bool Confirm(QWidget* parent, const QString& caption, const QString& text) = 0;

    // A modal question with Yes and No; true when the user chose Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) = 0;

    // Shows a progress box over `parent` at once; it blocks input to `parent` until the returned
    // object goes. The caller drives it with Update from the event loop.
    virtual std::unique_ptr<CProgress> ShowProgress(QWidget* parent, const QString& caption,
                                                    const QString& label) = 0;
};

class CQtPrompter final : public CPrompter {
public:
    void Message(QWidget* parent, const QString& caption, const QString& text, Icon icon) override;
    QString SaveBitmapFileName(QWidget* parent) override;
    bool Confirm(QWidget* parent, const QString& caption, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& caption, const QString& text) override;
    std::unique_ptr<CProgress> ShowProgress(QWidget* parent, const QString& caption,
                                            const QString& label) override;
};

// Makes `dialog` a Save As dialog for bitmap files: the one filter "位图文件 (*.bmp)", the suffix
// "bmp" added to a name typed without one, and a question before an existing file is replaced.
void ConfigureBitmapSaveDialog(QFileDialog& dialog);

// The program's prompter, for windows built without one of their own.
CPrompter& DefaultPrompter();
