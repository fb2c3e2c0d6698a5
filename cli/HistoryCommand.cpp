#include "cli/HistoryCommand.h"

#include <fmt/format.h>
#include <cstdlib>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/JsonText.h"
#include "cli/ReplayCommand.h"
#include "engine/ShoeEngine.h"
#include "history/LiveShoe.h"
#include "platform/UserFolders.h"

namespace {

using Json = nlohmann::ordered_json;

// Units bet and settled in a shoe of the history, replayed under its own settings.
long long StakedUnits(const HistoryRow& row) {
    CShoeEngine shoe(row.settings);
    shoe.ResetShoe();
    shoe.Replay(row.hands);
    long long staked = 0;
    for (int i = CShoeEngine::kFirstAdvised; i < CShoeEngine::kHands; ++i)
        staked += std::abs(shoe.m_AdviceCell[i].m_nValue);
    return staked;
}

Json SettingsJson(const ShoeSettings& s) {
    return Json{{"table_min", s.m_nXXLimitMoney}, {"table_max", s.m_nSXLimitMoney},
                {"win_stop", s.m_nWinStopMoney},  {"stop_loss", s.m_nLossStopMoney},
                {"win_cycles", s.m_nWinStopNum},  {"alarm", s.m_nDangerous1},
                {"danger", s.m_nDangerous2},      {"after_stop", s.m_nAfterWinStop}};
}

}  // namespace

HistoryTotals TotalsOf(const std::vector<HistoryRow>& shoes) {
    HistoryTotals t;
    for (const HistoryRow& row : shoes) {
        ++t.shoes;
        t.hands += static_cast<int>(row.hands.size());
        t.score += row.score;
        t.staked += StakedUnits(row);
        t.cycles += row.cycles;
        t.yuan += row.yuan;
    }
    t.yield = t.staked > 0 ? static_cast<int>(t.score * 100 / t.staked) : 0;
    return t;
}

void PrintHistory(const std::vector<HistoryRow>& shoes, bool json, std::ostream& out) {
    const HistoryTotals t = TotalsOf(shoes);
    if (json) {
        for (std::size_t i = 0; i < shoes.size(); ++i) {
            const HistoryRow& r = shoes[i];
            out << JsonText(Json{{"shoe", i + 1},
                                 {"start", r.start.empty() ? Json(nullptr) : Json(r.start)},
                                 {"end", r.end},
                                 {"hands", r.hands},
                                 {"settings", SettingsJson(r.settings)},
                                 {"score", r.score},
                                 {"yield", r.yield},
                                 {"cycles", r.cycles},
                                 {"yuan", r.yuan}})
                << '\n';
        }
        out << JsonText(Json{{"total",
                              {{"shoes", t.shoes},
                               {"hands", t.hands},
                               {"score", t.score},
                               {"staked", t.staked},
                               {"yield", t.yield},
                               {"cycles", t.cycles},
                               {"yuan", t.yuan}}}})
            << '\n';
        return;
    }
    out << fmt::format("{:>4}  {:<25}  {:<25}  {:>5}  {:>6}  {:>5}  {:>6}  {:>10}\n", "shoe",
                       "start", "end", "hands", "score", "yield", "cycles", "yuan");
    for (std::size_t i = 0; i < shoes.size(); ++i) {
        const HistoryRow& r = shoes[i];
        out << fmt::format("{:>4}  {:<25}  {:<25}  {:>5}  {:>6}  {:>5}  {:>6}  {:>10}\n", i + 1,
                           r.start.empty() ? "-" : r.start, r.end, r.hands.size(), r.score, r.yield,
                           r.cycles, r.yuan);
    }
    out << fmt::format(
        "total: {} shoes, {} hands, score {}, staked {}, yield {}%, cycles {}, {} yuan\n", t.shoes,
        t.hands, t.score, t.staked, t.yield, t.cycles, t.yuan);
}

CHistoryCommand::CHistoryCommand(CLI::App& app)
    : m_pCommand(app.add_subcommand(
          "history", "List the shoes the window has finished, or replay one of them.")) {
    m_pCommand->add_flag("--json", m_bJson, "one JSON object per line");
    m_pCommand->add_option("--shoe", m_nShoe, "replay shoe N of the list (1 = the oldest)")
        ->check(CLI::PositiveNumber);
    m_pCommand->add_option("--data-dir", m_strFolder,
                           "the folder of history.csv (default: $XDG_DATA_HOME/nuv, or "
                           "~/.local/share/nuv)");
}

int CHistoryCommand::Run() {
    const std::filesystem::path folder =
        m_strFolder.empty() ? UserDataFolder() : std::filesystem::path(m_strFolder);
    const std::filesystem::path path = folder / CLiveShoe::kHistoryName;
    std::string text;
    if (const FileResult read = ReadWholeFile(path, text); !read && read.error != ENOENT) {
        std::cerr << "nuv-sim history: " << read.path << ": " << read.reason << '\n';
        return 1;
    }
    const HistoryText history = ParseHistory(text);
    if (history.halfRow)
        std::cerr << "nuv-sim history: " << path.string()
                  << ": a half-written last row is left out\n";
    if (history.badLines > 0) {
        std::cerr << "nuv-sim history: " << path.string() << ": " << history.badLines
                  << " damaged line(s) left out\n";
    }
    const std::vector<HistoryRow> shoes = HistoryShoes(history.rows);

    if (m_nShoe > 0) {
        if (m_nShoe > static_cast<int>(shoes.size())) {
            std::cerr << "nuv-sim history: there is no shoe " << m_nShoe << " (the history has "
                      << shoes.size() << ")\n";
            return 2;
        }
        const HistoryRow& row = shoes[static_cast<std::size_t>(m_nShoe - 1)];
        RunReplay(row.hands, row.settings, m_bJson, std::cout);
        return 0;
    }
    PrintHistory(shoes, m_bJson, std::cout);
    return 0;
}
