#pragma once

#include <chrono>
#include <functional>
#include <memory>
#include <ostream>
#include <vector>

#include <QApplication>
#include <QCursor>
#include <QDialog>
#include <QElapsedTimer>
#include <QFile>
#include <QString>
#include <QTemporaryDir>
#include <QTimer>

#include <gtest/gtest.h>

#include "dialogs/Prompter.h"
#include "engine/ShoeEngine.h"

// Everything the window shows of a record: the cells, stakes, runs, score and counters.
inline void ExpectSameRecord(const CShoeEngine& shown, const CShoeEngine& expected) {
    EXPECT_EQ(shown.m_nHandCount, expected.m_nHandCount);
    EXPECT_EQ(shown.m_ResultCell, expected.m_ResultCell);
    EXPECT_EQ(shown.m_AdviceCell, expected.m_AdviceCell);
    EXPECT_EQ(shown.m_nStake, expected.m_nStake);
    EXPECT_EQ(shown.m_nRunLen, expected.m_nRunLen);
    EXPECT_EQ(shown.m_nScore, expected.m_nScore);
    EXPECT_EQ(shown.m_nYield, expected.m_nYield);
    EXPECT_EQ(shown.m_nDangerCount, expected.m_nDangerCount);
    EXPECT_EQ(shown.m_nWinCycles, expected.m_nWinCycles);
}

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
        bool waitCursor;        // the wait cursor was up while the box was shown
        bool question = false;  // an OK/Cancel box (Confirm)
    };

    void Message(QWidget* /*parent*/, const QString& caption, const QString& text,
                 Icon icon) override {
        m_shown.push_back({caption, text, icon, WaitCursorUp()});
    }

    // Answers the OK/Cancel box with `m_bConfirm`; the box is kept with the messages.
    bool Confirm(QWidget* /*parent*/, const QString& caption, const QString& text) override {
        m_shown.push_back({caption, text, Icon::None, WaitCursorUp(), true});
        return m_bConfirm;
    }
    bool m_bConfirm = true;

    // Answers the Yes/No question with `m_bYes`; the question is kept with the messages.
    bool AskYesNo(QWidget* /*parent*/, const QString& caption, const QString& text) override {
        m_shown.push_back({caption, text, Icon::None, WaitCursorUp(), true});
        return m_bYes;
    }
    bool m_bYes = true;

    // Progress boxes count their updates and keep the fractions shown; from update
    // `m_nCancelAtUpdate` on (1 = the first; 0 = never) they ask to cancel.
    std::unique_ptr<CProgress> ShowProgress(QWidget* /*parent*/, const QString& caption,
                                            const QString& label) override {
        m_progressShown.push_back(caption + u'|' + label);
        return std::make_unique<Progress>(*this);
    }
    int m_nCancelAtUpdate = 0;
    QStringList m_progressShown;     // "caption|label" of each progress box
    std::vector<double> m_progress;  // fractions of all updates, in order

    // Answers the Save As dialog with `m_strSavePath` (empty: cancelled).
    QString SaveBitmapFileName(QWidget* /*parent*/) override {
        ++m_nSaveAsked;
        return m_strSavePath;
    }
    QString m_strSavePath;
    int m_nSaveAsked = 0;

    std::size_t Count() const { return m_shown.size(); }
    const Shown& Last() const { return m_shown.back(); }
    const Shown& At(std::size_t i) const { return m_shown.at(i); }
    void Clear() { m_shown.clear(); }

private:
    class Progress final : public CProgress {
    public:
        explicit Progress(CRecordingPrompter& owner) : m_owner(owner) {}
        bool Update(double fraction) override {
            m_owner.m_progress.push_back(fraction);
            return m_owner.m_nCancelAtUpdate == 0 || ++m_nUpdates < m_owner.m_nCancelAtUpdate;
        }

    private:
        CRecordingPrompter& m_owner;
        int m_nUpdates = 0;
    };

    static bool WaitCursorUp() {
        const QCursor* cursor = QApplication::overrideCursor();
        return cursor && cursor->shape() == Qt::WaitCursor;
    }

    std::vector<Shown> m_shown;
};

inline const QString kEndOfShoeText =
    QStringLiteral("本局分析已结束！请按“清除”后换新的一局开始。");

// Answers the next modal dialog of type D from the event loop that runs it. It polls until such a
// dialog is the active modal widget, runs `answer` on it once, and rejects it if `answer` left it
// open. If none has come and gone by the deadline, it records a failure and closes whatever modal
// dialog is up, so a dialog that opens late, or never closes, cannot hang the run.
template <typename D>
class CModalAnswer {
public:
    explicit CModalAnswer(std::function<void(D&)> answer,
                          std::chrono::milliseconds deadline = std::chrono::seconds(20))
        : m_answer(std::move(answer)), m_deadline(deadline) {
        m_clock.start();
        m_timer.setInterval(5);
        QObject::connect(&m_timer, &QTimer::timeout, [this] { Poll(); });
        m_timer.start();
    }
    ~CModalAnswer() {
        m_timer.stop();
        if (!m_bAnswered && !m_bTimedOut) ADD_FAILURE() << "the expected dialog never came up";
    }
    CModalAnswer(const CModalAnswer&) = delete;
    CModalAnswer& operator=(const CModalAnswer&) = delete;

    bool Answered() const { return m_bAnswered; }

private:
    void Poll() {
        if (m_bAnswered) return;
        if (auto* dialog = qobject_cast<D*>(QApplication::activeModalWidget())) {
            m_bAnswered = true;
            m_timer.stop();
            m_answer(*dialog);
            if (dialog->isVisible()) dialog->reject();
            return;
        }
        if (m_clock.elapsed() > m_deadline.count()) {
            m_bTimedOut = true;
            m_timer.stop();
            ADD_FAILURE() << "no dialog of the expected kind came up before the deadline";
            if (auto* other = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                other->reject();
            }
        }
    }

    std::function<void(D&)> m_answer;
    std::chrono::milliseconds m_deadline;
    QElapsedTimer m_clock;
    QTimer m_timer;
    bool m_bAnswered = false;
    bool m_bTimedOut = false;
};

// Points the settings hive at a fresh folder while it lives, so that what one test remembers
// about a window never reaches another.
class FreshHive {
public:
    FreshHive() : m_saved(qgetenv("XDG_CONFIG_HOME")) {
        EXPECT_TRUE(m_dir.isValid());
        qputenv("XDG_CONFIG_HOME", QFile::encodeName(m_dir.path()));
    }
    ~FreshHive() { qputenv("XDG_CONFIG_HOME", m_saved); }
    FreshHive(const FreshHive&) = delete;
    FreshHive& operator=(const FreshHive&) = delete;

    QString Text() const {
        QFile file(m_dir.filePath(QStringLiteral("nuv/registry.reg")));
        return file.open(QIODevice::ReadOnly) ? QString::fromUtf8(file.readAll()) : QString();
    }

private:
    QTemporaryDir m_dir;
    QByteArray m_saved;
};
