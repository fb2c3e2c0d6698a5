#pragma once

#include <CLI/CLI.hpp>
#include <string>

#include "engine/Settings.h"
#include "sim/ParameterSearch.h"

// `nuv-sim search`: ranks win-stop and stop-loss pairs around a starting pair into a ranking
// file.
class CSearchCommand {
public:
    explicit CSearchCommand(CLI::App& app);
    bool Parsed() const { return m_pCommand->parsed(); }
    int Run();

private:
    CLI::App* m_pCommand;
    ShoeSettings m_settings;
    SearchOptions m_options;
    std::int32_t m_nRuns = 1;
    std::int32_t m_nShoes = 1;
    std::string m_strFolder = ".";
    bool m_bJson = false;
};
