#pragma once

#include <CLI/CLI.hpp>
#include <iosfwd>
#include <string>
#include <vector>

#include "history/ShoeHistory.h"

// Figures of all shoes of a history taken together.
struct HistoryTotals {
    int shoes = 0;
    int hands = 0;
    long long score = 0;
    long long staked = 0;  // units bet and settled, found by replaying each shoe
    int yield = 0;         // score as a whole percentage of `staked`, as a shoe's yield is
    long long cycles = 0;
    long long yuan = 0;
};
HistoryTotals TotalsOf(const std::vector<HistoryRow>& shoes);

// Lists `shoes` with their figures and the totals: a table, or one JSON object per shoe and then
// {"total": {...}}.
void PrintHistory(const std::vector<HistoryRow>& shoes, bool json, std::ostream& out);

// `nuv-sim history`.
class CHistoryCommand {
public:
    explicit CHistoryCommand(CLI::App& app);
    bool Parsed() const { return m_pCommand->parsed(); }
    int Run();

private:
    CLI::App* m_pCommand;
    bool m_bJson = false;
    int m_nShoe = 0;          // --shoe N: replay shoe N (1 = the oldest); 0 lists them all
    std::string m_strFolder;  // --data-dir; the user's data folder when empty
};
