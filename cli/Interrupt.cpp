#include "cli/Interrupt.h"

#include <atomic>
#include <utility>

namespace {

std::atomic<int> g_nSignal{0};
static_assert(std::atomic<int>::is_always_lock_free, "set from a signal handler");

extern "C" void NoteSignal(int signal) {
    int none = 0;
    g_nSignal.compare_exchange_strong(none, signal);
}

}  // namespace

CInterrupt::CInterrupt() {
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESETHAND;  // a second signal is not caught
    // A signal the program was started to ignore (as a background job may be) stays ignored.
    for (const auto& [signal, old] :
         {std::pair{SIGINT, &m_oldInt}, std::pair{SIGTERM, &m_oldTerm}}) {
        sigaction(signal, &action, old);
        if (old->sa_handler == SIG_IGN) sigaction(signal, old, nullptr);
    }
}

CInterrupt::~CInterrupt() {
    sigaction(SIGINT, &m_oldInt, nullptr);
    sigaction(SIGTERM, &m_oldTerm, nullptr);
}

int CInterrupt::Signal() {
    return g_nSignal.load();
}

int CInterrupt::ExitStatus(int status) {
    const int signal = Signal();
    return signal != 0 ? 128 + signal : status;
}
