#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>
#include <array>
#include <cstdio>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>

#include <filesystem>

#include "cli/ReplayCommand.h"

namespace {

struct Output {
    std::string out;
    int status;
};

// Runs nuv-sim with `args`; standard error is dropped unless `withStderr`.
Output RunSim(const std::string& args, bool withStderr = false) {
    const std::string command =
        std::string(NUV_SIM_PATH) + " " + args + (withStderr ? " 2>&1" : " 2>/dev/null");
    FILE* pipe = popen(command.c_str(), "r");
    Output result{"", -1};
    if (!pipe) return result;
    std::array<char, 4096> buffer;
    std::size_t n;
    while ((n = fread(buffer.data(), 1, buffer.size(), pipe)) > 0)
        result.out.append(buffer.data(), n);
    const int status = pclose(pipe);
    result.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return result;
}

std::vector<nlohmann::json> JsonLines(const std::string& text) {
    std::vector<nlohmann::json> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) lines.push_back(nlohmann::json::parse(line));
    return lines;
}

// The twelve-hand shoe, line by line, with the keys in their documented order.
TEST(Replay, TwelveHandShoeAsJson) {
    const Output r = RunSim("replay --json BBBPBBBPBBBP");
    ASSERT_EQ(r.status, 0);
    const std::vector<nlohmann::json> lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(), 12u);
    EXPECT_EQ(
        r.out.substr(0, r.out.find('\n')),
        R"({"hand":1,"result":"B","advice":null,"stake":0,"settled":null,"score":0,"yield":0,)"
        R"("runs":[1],"danger":0,"cycles":0,"next_advice":null,"next_stake":0,"over":0})");
    struct Row {
        const char* advice;  // "" for null
        int settled, score;
        const char* next;
        int nextStake, danger, cycles;
    };
    const Row rows[] = {
        {"", 0, 0, "", 0, 0, 0},         {"", 0, 0, "", 0, 0, 0},        {"", 0, 0, "", 0, 0, 0},
        {"", 0, 0, "pause", 0, 0, 0},    {"pause", 0, 0, "B", 1, 0, 0},  {"B", 1, 1, "P", 2, 1, 0},
        {"P", -2, -1, "pause", 0, 2, 0}, {"pause", 0, -1, "B", 2, 2, 0}, {"B", 2, 1, "B", 4, 3, 0},
        {"B", 4, 5, "P", 1, 0, 1},       {"P", -1, 4, "B", 2, 1, 1},     {"B", -2, 2, "B", 3, 2, 1},
    };
    for (std::size_t i = 0; i < 12; ++i) {
        SCOPED_TRACE(i + 1);
        const nlohmann::json& j = lines[i];
        const Row& row = rows[i];
        EXPECT_EQ(j["hand"], i + 1);
        if (*row.advice) {
            EXPECT_EQ(j["advice"], row.advice);
            EXPECT_EQ(j["settled"], row.settled);
        } else {
            EXPECT_TRUE(j["advice"].is_null());
            EXPECT_TRUE(j["settled"].is_null());
        }
        EXPECT_EQ(j["score"], row.score);
        if (*row.next) {
            EXPECT_EQ(j["next_advice"], row.next);
        } else {
            EXPECT_TRUE(j["next_advice"].is_null());
        }
        EXPECT_EQ(j["next_stake"], row.nextStake);
        EXPECT_EQ(j["danger"], row.danger);
        EXPECT_EQ(j["cycles"], row.cycles);
        EXPECT_EQ(j["over"], 0);
    }
    EXPECT_EQ(lines[11]["runs"], nlohmann::json::parse("[3,1,3,1,3,1]"));
}

// Replay letters in both alphabets and cases, Back, Clear, and a refused hand after the end.
TEST(Replay, BackClearAndRefusedHands) {
    std::ostringstream out;
    ShoeSettings s;
    s.m_nWinStopMoney = 1;
    RunReplay("zzzzZ-ZB/t", s, true, out);
    const std::vector<nlohmann::json> lines = JsonLines(out.str());
    ASSERT_EQ(lines.size(), 10u);
    EXPECT_EQ(lines[4]["over"], 1);  // banker 1 won: win-stop 1 reached
    EXPECT_TRUE(lines[4]["next_advice"].is_null());
    EXPECT_EQ(lines[5], nlohmann::json::parse(R"({"back":true,"hands":4})"));
    EXPECT_EQ(lines[6]["hand"], 5);
    EXPECT_EQ(lines[7], nlohmann::json::parse(R"({"hand":6,"result":"B","refused":true})"));
    EXPECT_EQ(lines[8], nlohmann::json::parse(R"({"clear":true})"));
    EXPECT_EQ(lines[9]["result"], "T");
    EXPECT_EQ(lines[9]["hand"], 1);
}

// With --roads one more object follows the last hand: the roads of the shoe left in the record
// after Clear and Back, as arrays of columns, with the preview and the counts.
TEST(Replay, RoadsFollowTheLastHand) {
    const Output r = RunSim("replay --roads --json BBBB/TBTTBPPB-P");
    ASSERT_EQ(r.status, 0);
    const std::vector<nlohmann::json> lines = JsonLines(r.out);
    ASSERT_EQ(lines.size(),
              4u + 1u + 8u + 1u + 1u + 1u);  // 4 hands, Clear, 8 hands, Back, 1 hand, roads
    const nlohmann::json& roads = lines.back().at("roads");
    EXPECT_EQ(roads["bead_plate"],
              nlohmann::json::parse(R"([["T","B","T","T","B","P"],["P","P"]])"));
    EXPECT_EQ(roads["big_road"], nlohmann::json::parse(R"([
        [{"side":"B","ties":3},{"side":"B","ties":0}],
        [{"side":"P","ties":0},{"side":"P","ties":0},{"side":"P","ties":0}]])"));
    EXPECT_EQ(roads["ties_before_first"], 1);
    EXPECT_EQ(roads["big_eye_boy"], nlohmann::json::parse(R"([["red"],["blue"]])"));
    EXPECT_EQ(roads["small_road"], nlohmann::json::array());
    EXPECT_EQ(roads["cockroach_pig"], nlohmann::json::array());
    EXPECT_EQ(roads["preview"], nlohmann::json::parse(R"({
        "banker":{"big_eye_boy":"blue","small_road":null,"cockroach_pig":null},
        "player":{"big_eye_boy":"red","small_road":null,"cockroach_pig":null}})"));
    EXPECT_EQ(roads["counts"], nlohmann::json::parse(R"({"hands":8,"banker":2,"player":3,"tie":3,
        "banker_share":25.0,"player_share":37.5,"tie_share":37.5,
        "longest_banker":2,"longest_player":3,"runs":2})"));

    // A hand refused after the end of the shoe is not in the roads; the text form draws them.
    std::ostringstream json;
    ShoeSettings s;
    s.m_nWinStopMoney = 1;
    RunReplay("zzzzZZ", s, true, json, true);
    EXPECT_EQ(JsonLines(json.str()).back()["roads"]["counts"]["hands"], 5);
    std::ostringstream text;
    RunReplay("TBBPB", ShoeSettings{}, false, text, true);
    EXPECT_NE(text.str().find("big road (lower case: ties marked on the cell)\n  bPB\n  B..\n"),
              std::string::npos)
        << text.str();
}

TEST(Replay, BadInputIsExitTwoWithNothingOnStdout) {
    for (const char* args : {"replay BBQ", "replay --win-stop 2x B", "replay --alarm 99999999999 B",
                             "replay", "test --runs many"}) {
        SCOPED_TRACE(args);
        const Output quiet = RunSim(args);
        EXPECT_EQ(quiet.status, 2);
        EXPECT_EQ(quiet.out, "");
        const Output loud = RunSim(args, true);
        EXPECT_EQ(std::count(loud.out.begin(), loud.out.end(), '\n'), 1) << loud.out;
    }
    EXPECT_NE(RunSim("replay BBQ", true).out.find("position 3"), std::string::npos);
}

TEST(Test, JsonReportAndSeed) {
    const Output r = RunSim("test --runs 2 --shoes 500 --seed 77 --threads 2 --json");
    ASSERT_EQ(r.status, 0);
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["runs"], 2);
    EXPECT_EQ(j["shoes"], 500);
    EXPECT_EQ(j["seed"], 77);
    const nlohmann::json again =
        nlohmann::json::parse(RunSim("test --runs 2 --shoes 500 --seed 77 --threads 1 --json").out);
    EXPECT_EQ(j["total_win"], again["total_win"]);
    EXPECT_EQ(j["hands_played"], again["hands_played"]);
    EXPECT_GT(j["shoes_per_second"].get<double>(), 0.0);
}

}  // namespace

namespace {

TEST(Search, WritesRankingFileIntoDir) {
    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("nuv-cli-search-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    const Output r = RunSim(
        "search --win-radius 3 --loss-radius 2 --shoes 3 --seed 5 --json --dir " + dir.string());
    ASSERT_EQ(r.status, 0);
    const nlohmann::json j = nlohmann::json::parse(r.out);
    EXPECT_EQ(j["grid_points"], 35);
    const std::filesystem::path file = dir / "最优参数记录表_292_29.ini";
    EXPECT_EQ(j["file"], file.string());
    EXPECT_TRUE(std::filesystem::exists(file));
    std::filesystem::remove_all(dir);
}

}  // namespace
