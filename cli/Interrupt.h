#pragma once

#include <csignal>

// While it lives, SIGINT and SIGTERM do not end the program at once: the first of them is noted,
// so that a long command can stop at its next block, report what it did and end with
// ExitStatus(); the same signal a second time ends the program as usual.
class CInterrupt {
public:
    CInterrupt();
    ~CInterrupt();  // puts the previous handlers back
    CInterrupt(const CInterrupt&) = delete;
    CInterrupt& operator=(const CInterrupt&) = delete;

    // The signal that arrived (SIGINT or SIGTERM), or 0.
    static int Signal();
    // `status`, or 128 + the signal once one has arrived (130 for SIGINT, 143 for SIGTERM), as a
    // shell reports a program that a signal ended.
    static int ExitStatus(int status);

private:
    struct sigaction m_oldInt {};
    struct sigaction m_oldTerm {};
};
