#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "engine/Settings.h"

// Checks a RESULTS string of `nuv-sim replay`: hand letters B/P/T or Z/X/H in either case, '-'
// for Back and '/' for Clear. Returns an error message naming the first bad position, if any.
// With `whitespace`, spaces, tabs and line breaks are allowed too (and skipped by RunReplay).
std::optional<std::string> CheckReplayInput(std::string_view results, bool whitespace = false);

// Plays a checked RESULTS string through the engine and prints one row (or one JSON object per
// line with `json`) for every hand, Back and Clear; with `roads`, then the road maps of the shoe
// left in the record.
void RunReplay(std::string_view results, const ShoeSettings& settings, bool json, std::ostream& out,
               bool roads = false);

// `nuv-sim replay`.
class CReplayCommand {
public:
    explicit CReplayCommand(CLI::App& app);
    bool Parsed() const { return m_pCommand->parsed(); }
    int Run();

private:
    CLI::App* m_pCommand;
    CLI::Option* m_pResults = nullptr;
    ShoeSettings m_settings;
    bool m_bJson = false;
    bool m_bRoads = false;
    std::string m_strResults;
    std::string m_strFile;  // --file: the letters are read from this file instead
};
