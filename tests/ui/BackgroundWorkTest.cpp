// Work off the GUI thread with a progress box, and the real boxes behind the prompter.
#include <gtest/gtest.h>

#include <chrono>
#include <stdexcept>
#include <thread>

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QProgressDialog>
#include <QPushButton>
#include <QTimer>

#include "tests/ui/UiTestSupport.h"
#include "ui/BackgroundWork.h"

namespace {

using namespace std::chrono_literals;

// Work that reports rising fractions until it is told to stop; returns how often it was told.
void WorkUntilCancelled(const WorkProgress& progress, int& stepsDone) {
    for (stepsDone = 0; progress(1.0 - 1.0 / (stepsDone + 1)); ++stepsDone) {
        std::this_thread::sleep_for(5ms);
    }
}

TEST(BackgroundWork, ShortWorkRunsOnAThreadOfItsOwnWithoutABox) {
    CRecordingPrompter prompter;
    std::thread::id ranOn;
    RunInBackground(nullptr, prompter, "c", "l", [&](const WorkProgress& progress) {
        ranOn = std::this_thread::get_id();
        EXPECT_TRUE(progress(0.5));
    });
    EXPECT_NE(ranOn, std::thread::id());
    EXPECT_NE(ranOn, std::this_thread::get_id());
    EXPECT_TRUE(prompter.m_progressShown.isEmpty());

    // What the work throws reaches the caller, after the thread has ended.
    EXPECT_THROW(RunInBackground(nullptr, prompter, "c", "l",
                                 [](const WorkProgress&) { throw std::runtime_error("bad"); }),
                 std::runtime_error);
}

TEST(BackgroundWork, LongWorkGetsAProgressBoxWhoseCancelStopsIt) {
    CRecordingPrompter prompter;
    prompter.m_nCancelAtUpdate = 2;
    int steps = 0;
    const auto start = std::chrono::steady_clock::now();
    RunInBackground(
        nullptr, prompter, "标题", "正文",
        [&](const WorkProgress& progress) { WorkUntilCancelled(progress, steps); }, 50ms);
    EXPECT_GE(std::chrono::steady_clock::now() - start, 50ms);
    EXPECT_EQ(prompter.m_progressShown, QStringList{"标题|正文"});
    ASSERT_EQ(prompter.m_progress.size(), 2u);
    EXPECT_GT(prompter.m_progress[0], 0.0);
    EXPECT_GE(prompter.m_progress[1], prompter.m_progress[0]);
    EXPECT_GT(steps, 0);
}

// The same with the real progress box, cancelled by its own button.
TEST(BackgroundWork, RealProgressBoxIsModalAndItsCancelButtonStopsTheWork) {
    QDialog parent;
    parent.show();
    CQtPrompter prompter;
    bool modal = false;
    QTimer clicker;
    QObject::connect(&clicker, &QTimer::timeout, [&] {
        auto* box = parent.findChild<QProgressDialog*>(QStringLiteral("progressDialog"));
        if (!box || !box->isVisible() || box->value() <= 0) return;
        modal = box->windowModality() == Qt::WindowModal &&
                QApplication::activeModalWidget() == box &&
                box->windowTitle() == QStringLiteral("标题") &&
                box->labelText() == QStringLiteral("正文");
        if (auto* cancel = box->findChild<QPushButton*>()) cancel->click();
    });
    clicker.start(20);
    int steps = 0;
    RunInBackground(
        &parent, prompter, "标题", "正文",
        [&](const WorkProgress& progress) { WorkUntilCancelled(progress, steps); }, 0ms);
    EXPECT_TRUE(modal);
    EXPECT_GT(steps, 0);
    EXPECT_EQ(parent.findChild<QProgressDialog*>(), nullptr);  // gone with the work
}

TEST(QtPrompter, ConfirmIsTrueOnlyForOk) {
    struct Case {
        QMessageBox::StandardButton press;
        bool expected;
    };
    for (const Case c : {Case{QMessageBox::Ok, true}, Case{QMessageBox::Cancel, false}}) {
        QString seen;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = box->windowTitle() + u'|' + box->text();
                box->button(c.press)->click();
            }
        });
        EXPECT_EQ(CQtPrompter().Confirm(nullptr, QStringLiteral("问"), QStringLiteral("好吗？")),
                  c.expected);
        EXPECT_EQ(seen, QStringLiteral("问|好吗？"));
    }
}

}  // namespace
