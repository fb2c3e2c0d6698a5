#include "cli/Progress.h"

#include <unistd.h>

#include <cstdio>

CTerminalProgress::CTerminalProgress()
    : m_start(std::chrono::steady_clock::now()), m_bTerminal(isatty(STDERR_FILENO) != 0) {}

CTerminalProgress::~CTerminalProgress() {
    if (m_bShown) std::fprintf(stderr, "\r%30s\r", "");
}

bool CTerminalProgress::Update(double fraction) {
    const double elapsed = Seconds();
    if (m_bTerminal && elapsed > 1.0 && fraction > 0) {
        std::fprintf(stderr, "\r%5.1f%%  %.0f s left ", 100.0 * fraction,
                     elapsed / fraction - elapsed);
        m_bShown = true;
    }
    return true;
}

double CTerminalProgress::Seconds() const {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - m_start).count();
}

std::uint64_t ClockSeed() {
    return static_cast<std::uint64_t>(std::chrono::steady_clock::now().time_since_epoch().count());
}
