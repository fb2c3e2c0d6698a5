#include "ui/BackgroundWork.h"

#include <atomic>
#include <exception>
#include <memory>
#include <thread>

#include <QApplication>
#include <QCursor>
#include <QEventLoop>
#include <QTimer>

#include "dialogs/Prompter.h"

namespace {

// How often an open progress box is brought up to date, and how often the end of the work is
// looked for.
constexpr std::chrono::milliseconds kProgressTick{100};
constexpr std::chrono::milliseconds kDonePoll{5};

}  // namespace

void RunInBackground(QWidget* parent, CPrompter& prompter, const QString& caption,
                     const QString& label, const std::function<void(const WorkProgress&)>& work,
                     std::chrono::milliseconds progressDelay) {
    std::atomic<double> fraction{0.0};
    std::atomic<bool> cancel{false};
    std::atomic<bool> done{false};
    std::exception_ptr failure;
    QEventLoop loop;

    std::thread worker([&] {
        try {
            work([&](double f) {
                fraction.store(f, std::memory_order_relaxed);
                return !cancel.load(std::memory_order_relaxed);
            });
        } catch (...) {
            failure = std::current_exception();
        }
        done = true;
    });

    // This thread looks for the end of the work on a timer of its own rather than being called
    // from the worker, so the two threads share nothing but the atomics above.
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &loop, [&] {
        if (done) loop.quit();
    });
    poll.start(kDonePoll);

    // A quiet wait first: the windows repaint, clicks wait, and short work shows no box at all.
    QTimer delay;
    delay.setSingleShot(true);
    QObject::connect(&delay, &QTimer::timeout, &loop, &QEventLoop::quit);
    delay.start(progressDelay);
    if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);

    if (!done) {
        // The modal box takes the input now: its Cancel and nothing else. A wait cursor of the
        // caller's gives way to the busy one meanwhile, which says that Cancel can be clicked.
        const std::unique_ptr<CProgress> progress = prompter.ShowProgress(parent, caption, label);
        const bool busyCursor = QApplication::overrideCursor() != nullptr;
        if (busyCursor) QApplication::setOverrideCursor(QCursor(Qt::BusyCursor));
        QTimer tick;
        bool updating = false;  // a modal box may run the event loop inside Update
        QObject::connect(&tick, &QTimer::timeout, &loop, [&] {
            if (updating) return;
            updating = true;
            const bool goOn = progress->Update(fraction.load(std::memory_order_relaxed));
            updating = false;
            if (!goOn) {
                cancel = true;
                tick.stop();
                loop.quit();
            }
        });
        tick.start(kProgressTick);
        if (!done) loop.exec();
        // After Cancel the work winds down within one of its blocks; input waits meanwhile.
        if (!done) loop.exec(QEventLoop::ExcludeUserInputEvents);
        if (busyCursor) QApplication::restoreOverrideCursor();
    }

    // The waits above also end when the application quits; the work must not outlive this call.
    cancel = true;
    worker.join();
    if (failure) std::rethrow_exception(failure);
}
