#pragma once

#include <ostream>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QString>

#include "Prompter.h"

// Readable QStrings, QStringLists and rectangles in failure messages.
inline std::ostream& operator<<(std::ostream& os, const QString& s) {
    return os << s.toStdString();
}
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}
inline void PrintTo(const QStringList& list, std::ostream* os) {
    *os << '"' << list.join(QStringLiteral("\", \"")).toStdString() << '"';
}

// A prompter that answers every message box at once and keeps what it was asked to show.
class CRecordingPrompter final : public CPrompter {
public:
    struct Shown {
        QString caption;
        QString text;
        Icon icon;
        bool waitCursor;  // the wait cursor was up while the box was shown
    };

    void Message(QWidget* /*parent*/, const QString& caption, const QString& text,
                 Icon icon) override {
        const QCursor* cursor = QApplication::overrideCursor();
        m_shown.push_back({caption, text, icon, cursor && cursor->shape() == Qt::WaitCursor});
    }

    // Answers the Save As dialog with `m_strSavePath` (empty: cancelled).
    QString SaveBitmapFileName(QWidget* /*parent*/) override {
        ++m_nSaveAsked;
        return m_strSavePath;
    }
    QString m_strSavePath;
    int m_nSaveAsked = 0;

    std::size_t Count() const { return m_shown.size(); }
    const Shown& Last() const { return m_shown.back(); }
    void Clear() { m_shown.clear(); }

private:
    std::vector<Shown> m_shown;
};

inline const QString kEndOfShoeText =
    QStringLiteral("本局分析已结束！请按“清除”后换新的一局开始。");
