#include "cli/ReplayCommand.h"

#include <fmt/format.h>
#include <cctype>
#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/JsonText.h"
#include "cli/RoadsReport.h"
#include "cli/SettingsFlags.h"
#include "engine/ShoeEngine.h"
#include "platform/FileAccess.h"

namespace {

using Json = nlohmann::ordered_json;

int SideOfHandLetter(char letter) {
    switch (std::toupper(static_cast<unsigned char>(letter))) {
        case 'B':
        case 'Z':
            return SIDE_BANKER;
        case 'P':
        case 'X':
            return SIDE_PLAYER;
        case 'T':
        case 'H':
            return SIDE_TIE;
        default:
            return SIDE_NONE;
    }
}

const char* ResultName(int side) {
    switch (side) {
        case SIDE_BANKER:
            return "B";
        case SIDE_PLAYER:
            return "P";
        default:
            return "T";
    }
}

Json SideJson(int side) {
    switch (side) {
        case SIDE_BANKER:
            return "B";
        case SIDE_PLAYER:
            return "P";
        case SIDE_PAUSE:
            return "pause";
        default:
            return nullptr;
    }
}

std::string SideText(int side) {
    const Json j = SideJson(side);
    return j.is_null() ? "-" : j.get<std::string>();
}

// Everything the replay prints about the hand at index k, just entered.
struct HandRow {
    int hand;
    int result;
    bool advised;  // hand k had an advice cell
    int advice;
    int settled;
    int stake;
    int score;
    int yield;
    Json runs;
    int danger;
    int cycles;
    bool hasNext;  // there is a next hand in this shoe
    int nextAdvice;
    int nextStake;
    bool over;
};

HandRow ReadRow(CShoeEngine& engine, int k, int result) {
    HandRow row{};
    row.hand = k + 1;
    row.result = result;
    row.advised = k >= CShoeEngine::kFirstAdvised;
    if (row.advised) {
        row.advice = engine.m_AdviceCell[k].m_nSide;
        row.settled = engine.m_AdviceCell[k].m_nValue;
    }
    row.stake = engine.m_nStake[k];
    row.score = engine.m_nScore;
    row.yield = engine.m_nYield;
    row.runs = Json::array();
    if (engine.m_nLastSide != SIDE_NONE) {
        for (int i = 0; i <= engine.m_nRunIndex; ++i) row.runs.push_back(engine.m_nRunLen[i]);
    }
    row.danger = engine.m_nDangerCount;
    row.cycles = engine.m_nWinCycles;
    row.over = engine.IsShoeOver() != 0;  // the stop test after the hand; may empty the next cell
    const int next = k + 1;
    row.hasNext = next < CShoeEngine::kHands;
    if (row.hasNext) {
        row.nextAdvice =
            next >= CShoeEngine::kFirstAdvised ? engine.m_AdviceCell[next].m_nSide : SIDE_NONE;
        row.nextStake = engine.m_nStake[next];
    }
    return row;
}

Json RowJson(const HandRow& r) {
    Json j;
    j["hand"] = r.hand;
    j["result"] = ResultName(r.result);
    j["advice"] = r.advised ? SideJson(r.advice) : Json(nullptr);
    j["stake"] = r.stake;
    j["settled"] = r.advised ? Json(r.settled) : Json(nullptr);
    j["score"] = r.score;
    j["yield"] = r.yield;
    j["runs"] = r.runs;
    j["danger"] = r.danger;
    j["cycles"] = r.cycles;
    j["next_advice"] = r.hasNext ? SideJson(r.nextAdvice) : Json(nullptr);
    j["next_stake"] = r.hasNext ? Json(r.nextStake) : Json(nullptr);
    j["over"] = r.over;
    return j;
}

std::string RowText(const HandRow& r) {
    std::string runs;
    for (const auto& len : r.runs)
        runs += (runs.empty() ? "" : " ") + std::to_string(len.get<int>());
    const std::string advice = r.advised ? SideText(r.advice) : "";
    const std::string settled = r.advised ? fmt::format("{:+d}", r.settled) : "";
    const std::string next = r.hasNext && r.nextAdvice != SIDE_NONE
                                 ? (r.nextAdvice == SIDE_PAUSE
                                        ? std::string("pause")
                                        : fmt::format("{} {}", SideText(r.nextAdvice), r.nextStake))
                                 : "-";
    return fmt::format(
        "{:>4}  {:<6}  {:<6}  {:>5}  {:>7}  {:>5}  {:>5}  {:>6}  {:>6}  {:<9}  {:<4}  {}", r.hand,
        ResultName(r.result), advice, r.stake, settled, r.score, r.yield, r.danger, r.cycles, next,
        r.over ? "yes" : "no", runs);
}

bool IsSpaceByte(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

}  // namespace

std::optional<std::string> CheckReplayInput(std::string_view results, bool whitespace) {
    for (std::size_t i = 0; i < results.size(); ++i) {
        const char c = results[i];
        if (whitespace && IsSpaceByte(c)) continue;
        if (c != '-' && c != '/' && SideOfHandLetter(c) == SIDE_NONE) {
            const bool printable = std::isprint(static_cast<unsigned char>(c));
            return fmt::format(
                "unknown hand letter {} at position {} (use B, P, T or Z, X, H; - for "
                "Back, / for Clear)",
                printable ? fmt::format("'{}'", c)
                          : fmt::format("byte 0x{:02x}", static_cast<unsigned char>(c)),
                i + 1);
        }
    }
    return std::nullopt;
}

void RunReplay(std::string_view results, const ShoeSettings& settings, bool json, std::ostream& out,
               bool roads) {
    CShoeEngine engine(settings);
    engine.ResetShoe();
    if (!json) {
        out << fmt::format(
            "{:>4}  {:<6}  {:<6}  {:>5}  {:>7}  {:>5}  {:>5}  {:>6}  {:>6}  {:<9}  {:<4}  {}\n",
            "hand", "result", "advice", "stake", "settled", "score", "yield", "danger", "cycles",
            "next", "over", "runs");
    }
    for (const char c : results) {
        if (IsSpaceByte(c)) continue;
        if (c == '-') {
            engine.Back();
            if (json)
                out << JsonText({{"back", true}, {"hands", engine.m_nHandCount}}) << '\n';
            else
                out << fmt::format("back: {} hands\n", engine.m_nHandCount);
            continue;
        }
        if (c == '/') {
            engine.ResetShoe();
            if (json)
                out << JsonText({{"clear", true}}) << '\n';
            else
                out << "clear\n";
            continue;
        }
        const int side = SideOfHandLetter(c);
        const int k = engine.m_nHandCount;
        if (!engine.RecordHand(side)) {
            if (json) {
                out << JsonText({{"hand", k + 1}, {"result", ResultName(side)}, {"refused", true}})
                    << '\n';
            } else {
                out << fmt::format("{:>4}  {:<6}  refused: the shoe is over\n", k + 1,
                                   ResultName(side));
            }
            continue;
        }
        const HandRow row = ReadRow(engine, k, side);
        out << (json ? JsonText(RowJson(row)) : RowText(row)) << '\n';
    }
    if (roads) {
        const CShoeRoads shoeRoads = RoadsOfRecord(engine);
        if (json)
            out << JsonText(RoadsJson(shoeRoads)) << '\n';
        else
            out << RoadsText(shoeRoads);
    }
}

CReplayCommand::CReplayCommand(CLI::App& app)
    : m_pCommand(app.add_subcommand(
          "replay",
          "Play a shoe given as hand letters and print what the adviser says after each hand.")) {
    AddSettingsFlags(*m_pCommand, m_settings);
    m_pCommand->add_flag("--json", m_bJson, "one JSON object per line");
    m_pCommand->add_flag("--roads", m_bRoads,
                         "after the last hand, the road maps of the shoe (one more JSON object "
                         "with --json)");
    m_pResults = m_pCommand->add_option(
        "RESULTS", m_strResults,
        "hand letters B/P/T or Z/X/H (either case), - for Back, / for Clear");
    CLI::Option* file = m_pCommand->add_option(
        "--file", m_strFile,
        "read the letters from FILE instead (a journal or any text file; whitespace ignored)");
    m_pResults->excludes(file);
}

int CReplayCommand::Run() {
    const bool fromFile = !m_strFile.empty();
    if (fromFile) {
        if (const FileResult read = ReadWholeFile(m_strFile, m_strResults); !read) {
            std::cerr << "nuv-sim replay: " << read.path << ": " << read.reason << '\n';
            return 2;
        }
    } else if (m_pResults->count() == 0) {
        std::cerr << "nuv-sim replay: give the hands as RESULTS or with --file\n";
        return 2;
    }
    if (const auto error = CheckReplayInput(m_strResults, fromFile)) {
        std::cerr << "nuv-sim replay: " << (fromFile ? m_strFile + ": " : std::string()) << *error
                  << '\n';
        return 2;
    }
    RunReplay(m_strResults, m_settings, m_bJson, std::cout, m_bRoads);
    return 0;
}
