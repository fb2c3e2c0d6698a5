#pragma once

#include <QString>

class QFileDialog;
class QWidget;

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
};

class CQtPrompter final : public CPrompter {
public:
    void Message(QWidget* parent, const QString& caption, const QString& text, Icon icon) override;
    QString SaveBitmapFileName(QWidget* parent) override;
};

// Makes `dialog` a Save As dialog for bitmap files: the one filter "位图文件 (*.bmp)", the suffix
// "bmp" added to a name typed without one, and a question before an existing file is replaced.
void ConfigureBitmapSaveDialog(QFileDialog& dialog);

// The program's prompter, for windows built without one of their own.
CPrompter& DefaultPrompter();
