#pragma once

#include <CLI/CLI.hpp>
#include <cstdint>

#include "engine/Settings.h"

// `nuv-sim test`: the random shoe test with a given seed, timed.
class CTestCommand {
public:
    explicit CTestCommand(CLI::App& app);
    bool Parsed() const { return m_pCommand->parsed(); }
    int Run();

private:
    CLI::App* m_pCommand;
    ShoeSettings m_settings;
    std::int64_t m_nRuns = 1;
    std::int64_t m_nShoes = 1;
    std::uint64_t m_nSeed = 0;
    int m_nThreads = 0;
    bool m_bJson = false;
};
