#pragma once

#include <chrono>
#include <cstdint>

// Times a long command and, once it has run for more than a second, shows how far it is on
// standard error, but only when standard error is a terminal (never in logs or pipes).
class CTerminalProgress {
public:
    CTerminalProgress();
    ~CTerminalProgress();  // clears the progress line
    CTerminalProgress(const CTerminalProgress&) = delete;
    CTerminalProgress& operator=(const CTerminalProgress&) = delete;

    // Shows `fraction` (0 to 1) done, at most ten times a second.
    void Update(double fraction);
    double Seconds() const;

private:
    std::chrono::steady_clock::time_point m_start;
    bool m_bTerminal;
    bool m_bShown = false;
    double m_lastShown = 0;  // seconds
};
