#pragma once

#include <chrono>
#include <functional>

#include <QString>

class CPrompter;
class QWidget;

// How far the work has got (0 to 1); returns false once the user has asked to cancel. The work
// calls it on its own thread, as often as it likes.
using WorkProgress = std::function<bool(double fraction)>;

// Work that runs longer than this shows a progress box.
inline constexpr std::chrono::milliseconds kProgressDelay{500};

// Runs `work` on a thread of its own and returns when it has ended. Meanwhile this (the GUI)
// thread keeps its event loop going, so the windows repaint but take no input: clicks wait at
// first, and once the work has run for `progressDelay` a modal progress box from `prompter`
// over `parent` takes the input. Its Cancel makes the progress callback return false; the work is
// then expected to stop soon and report what it has. An exception thrown by the work is thrown
// again here.
void RunInBackground(QWidget* parent, CPrompter& prompter, const QString& caption,
                     const QString& label, const std::function<void(const WorkProgress&)>& work,
                     std::chrono::milliseconds progressDelay = kProgressDelay);
