#pragma once

#include <QString>

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
};

class CQtPrompter final : public CPrompter {
public:
    void Message(QWidget* parent, const QString& caption, const QString& text, Icon icon) override;
};

// The program's prompter, for windows built without one of their own.
CPrompter& DefaultPrompter();
