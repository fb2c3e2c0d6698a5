#include <gtest/gtest.h>

#include <fcntl.h>
#include <fmt/format.h>
#include <sys/wait.h>
#include <unistd.h>

#include <array>
#include <chrono>
#include <cmath>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>
#include <nlohmann/json.hpp>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "cli/ReplayCommand.h"
#include "cli/SettingsFlags.h"
#include "tests/cli/SimRunner.h"

namespace {

// `args` is a usage error: exit status 2, nothing on standard output and one line on standard
// error, which is returned.
std::string ExpectUsageError(const std::string& args) {
    const Output quiet = RunSim(args);
    EXPECT_EQ(quiet.status, 2);
    EXPECT_EQ(quiet.out, "");
    const Output loud = RunSim(args, true);
    EXPECT_EQ(std::count(loud.out.begin(), loud.out.end(), '\n'), 1) << loud.out;
    return loud.out;
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
        R"("runs":[1],"danger":0,"cycles":0,"next_advice":null,"next_stake":0,"over":false})");
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
        EXPECT_EQ(j["over"], false);
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
    EXPECT_EQ(lines[4]["over"], true);  // banker 1 won: win-stop 1 reached
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
        const std::string message = ExpectUsageError(args);
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
    EXPECT_EQ(j["cancelled"], false);
    const nlohmann::json again =
        nlohmann::json::parse(RunSim("test --runs 2 --shoes 500 --seed 77 --threads 1 --json").out);
    EXPECT_EQ(j["total_win"], again["total_win"]);
    EXPECT_EQ(j["hands_played"], again["hands_played"]);
    EXPECT_GT(j["shoes_per_second"].get<double>(), 0.0);
}

// --game picks the game of test and search: coin by default, and the report carries the
// statistics of the shoes played in both forms, JSON and table.
TEST(Test, GameFlagAndItsFigures) {
    const std::string base = "test --runs 2 --shoes 1500 --seed 20261211 --threads 2";
    struct Row {
        const char* args;
        const char* game;
    };
    const Row rows[] = {{"", "coin"}, {" --game coin", "coin"}, {" --game cards", "cards"}};
    std::map<std::string, nlohmann::json> byGame;
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        const Output json = RunSim(base + row.args + " --json");
        ASSERT_EQ(json.status, 0);
        const nlohmann::json j = nlohmann::json::parse(json.out);
        EXPECT_EQ(j["game"], row.game);
        for (const char* key :
             {"banker_hands", "player_hands", "tie_hands", "mean_score", "sd_score", "se_score",
              "ci95_score", "net_yuan", "mean_yuan", "se_yuan", "ci95_yuan", "commission_yuan",
              "shoes_won", "shoes_lost", "shoes_even"}) {
            EXPECT_TRUE(j.contains(key)) << key;
        }
        EXPECT_EQ(j["banker_hands"].get<std::int64_t>() + j["player_hands"].get<std::int64_t>() +
                      j["tie_hands"].get<std::int64_t>(),
                  j["hands_played"].get<std::int64_t>());
        EXPECT_EQ(j["shoes_won"].get<std::int64_t>() + j["shoes_lost"].get<std::int64_t>() +
                      j["shoes_even"].get<std::int64_t>(),
                  j["shoes_played"].get<std::int64_t>());
        EXPECT_NEAR(j["mean_score"].get<double>() * j["shoes_played"].get<double>(),
                    j["total_win"].get<double>(), 1e-6);
        EXPECT_LT(j["ci95_yuan"][0].get<double>(), j["mean_yuan"].get<double>());
        EXPECT_GT(j["ci95_yuan"][1].get<double>(), j["mean_yuan"].get<double>());
        if (byGame.count(row.game)) {
            nlohmann::json a = j, b = byGame[row.game];
            for (nlohmann::json* x : {&a, &b}) x->erase("seconds"), x->erase("shoes_per_second");
            EXPECT_EQ(a, b);  // coin is the default
        }
        byGame[row.game] = j;

        // The table shows the same figures, money with two decimals.
        const Output table = RunSim(base + row.args);
        ASSERT_EQ(table.status, 0);
        for (const std::string& line :
             {fmt::format("game             {}\n", row.game),
              fmt::format("hands B / P / T  {} / {} / {}\n", j["banker_hands"].get<std::int64_t>(),
                          j["player_hands"].get<std::int64_t>(),
                          j["tie_hands"].get<std::int64_t>()),
              fmt::format("net money        {:.2f} yuan\n", j["net_yuan"].get<double>()),
              fmt::format("commission       {:.2f} yuan\n", j["commission_yuan"].get<double>()),
              fmt::format("shoes won / lost / even  {} / {} / {}\n",
                          j["shoes_won"].get<std::int64_t>(), j["shoes_lost"].get<std::int64_t>(),
                          j["shoes_even"].get<std::int64_t>())}) {
            EXPECT_NE(table.out.find(line), std::string::npos) << line << table.out;
        }
    }
    EXPECT_EQ(byGame["coin"]["tie_hands"], 0);
    EXPECT_EQ(byGame["coin"]["commission_yuan"], 0.0);

    // A fixed seed of the card game pins its figures on any number of threads.
    for (const char* threads : {"1", "2"}) {
        SCOPED_TRACE(threads);
        const nlohmann::json j = nlohmann::json::parse(
            RunSim("test --runs 2 --shoes 1500 --seed 20261211 --game cards --json --threads " +
                   std::string(threads))
                .out);
        EXPECT_EQ(j["total_win"], 3419);
        EXPECT_EQ(j["first_loss_run"], 2);
        EXPECT_EQ(j["hands_played"], 99957);
        EXPECT_EQ(j["banker_hands"], 45928);
        EXPECT_EQ(j["player_hands"], 44352);
        EXPECT_EQ(j["tie_hands"], 9677);
        EXPECT_EQ(j["net_yuan"], -395555.0);
        EXPECT_EQ(j["commission_yuan"], 737455.0);
        EXPECT_EQ(j["shoes_won"], 2801);
        EXPECT_EQ(j["shoes_lost"], 199);
    }

    // Any other word, or none, is a usage error in one line that names the allowed words.
    for (const char* args : {"test --game dice", "test --game Cards", "test --game ''",
                             "test --game", "search --game coins --dir ."}) {
        SCOPED_TRACE(args);
        const std::string message = ExpectUsageError(args);
        EXPECT_NE(message.find("coin"), std::string::npos) << message;
        EXPECT_NE(message.find("cards"), std::string::npos) << message;
    }
}

// The hands dealt from card shoes through the whole test come out banker, player and tie in the
// published shares, each within 4 standard errors.
TEST(Test, CardSharesMatchTheProbabilities) {
    const Output r = RunSim("test --runs 1 --shoes 60000 --seed 15 --game cards --json");
    ASSERT_EQ(r.status, 0);
    const nlohmann::json j = nlohmann::json::parse(r.out);
    const double hands = j["hands_played"].get<double>();
    for (const auto& [key, p] : {std::pair{"banker_hands", 0.458597},
                                 {"player_hands", 0.446247},
                                 {"tie_hands", 0.095156}}) {
        const double se = std::sqrt(p * (1 - p) / hands);
        EXPECT_NEAR(j[key].get<double>() / hands, p, 4 * se) << key;
    }
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

namespace {

// Numbers on the command line are decimal whole numbers within their field's range, and nothing
// else: a leading zero is still decimal; anything else is a usage error told in one line.
TEST(Numbers, StrictDecimalInRange) {
    struct Row {
        const char* args;
        int status;
        const char* says;  // in the JSON output (status 0) or the one line on standard error
    };
    const Row rows[] = {
        {"test --runs 010 --shoes 00 --seed 0100 --threads 0002 --json", 0,
         R"("runs":10,"shoes":0,"seed":100,)"},
        {"test --runs -3 --json", 0, R"("runs":-3,)"},
        {"test --runs 0 --threads 1024 --seed 18446744073709551615 --json", 0,
         R"("seed":18446744073709551615,)"},
        {"test --runs 0 --table-min -2147483648 --after-stop 2 --json", 0, R"("runs":0,)"},
        {"test --win-stop ''", 2, "--win-stop: an empty value is not a number"},
        {"test --runs ''", 2, "--runs: an empty value is not a number"},
        {"search --dir . --win ''", 2, "--win: an empty value is not a number"},
        {"test --stop-loss 0x10", 2, "--stop-loss: '0x10' is not a decimal whole number"},
        {"test --stop-loss 1e3", 2, "--stop-loss: '1e3' is not a decimal whole number"},
        {"test --stop-loss +5", 2, "--stop-loss: '+5' is not a decimal whole number"},
        {"test --stop-loss ' 5'", 2, "--stop-loss: ' 5' is not a decimal whole number"},
        {"test --stop-loss 5-", 2, "--stop-loss: '5-' is not a decimal whole number"},
        {"test --alarm 2147483648", 2, "--alarm: 2147483648 is out of range"},
        {"test --table-min -2147483649", 2, "--table-min: -2147483649 is out of range"},
        {"replay --danger 99999999999999999999999999999999999999999 B", 2,
         "--danger: 99999999999999999999999999999999999999999 is out of range"},
        {"test --after-stop 3", 2,
         "--after-stop: 3 is out of range; give a whole number from 0 to 2"},
        {"test --runs 9223372036854775808", 2, "--runs: 9223372036854775808 is out of range"},
        {"search --runs 2147483648", 2, "--runs: 2147483648 is out of range"},
        {"test --seed -1", 2,
         "--seed: -1 is out of range; give a whole number from 0 to 18446744073709551615"},
        {"search --seed -7", 2, "--seed: -7 is out of range"},
        {"test --threads 1025", 2,
         "--threads: 1025 is out of range; give a whole number from 0 to 1024"},
        {"test --threads 2147483647", 2, "--threads: 2147483647 is out of range"},
        {"search --threads -1", 2, "--threads: -1 is out of range"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(row.args);
        if (row.status == 0) {
            const Output quiet = RunSim(row.args);
            EXPECT_EQ(quiet.status, 0);
            EXPECT_NE(quiet.out.find(row.says), std::string::npos) << quiet.out;
            continue;
        }
        ASSERT_EQ(row.status, 2);
        const std::string message = ExpectUsageError(row.args);
        EXPECT_EQ(message.rfind(std::string("nuv-sim: ") + row.says, 0), 0u) << message;
    }

    // The settings flags read the same way: 0100 is a hundred, never sixty-four.
    CLI::App app;
    CLI::App* command = app.add_subcommand("run");
    ShoeSettings settings;
    AddSettingsFlags(*command, settings);
    app.parse(std::string("run --stop-loss 0100 --win-stop 010 --table-min 0 --alarm -05"), false);
    EXPECT_EQ(settings.m_nLossStopMoney, 100);
    EXPECT_EQ(settings.m_nWinStopMoney, 10);
    EXPECT_EQ(settings.m_nXXLimitMoney, 0);
    EXPECT_EQ(settings.m_nDangerous1, -5);
}

// A temporary folder removed at the end, with a name that is not UTF-8.
class OddFolder {
public:
    OddFolder()
        : m_path(std::filesystem::temp_directory_path() /
                 ("nuv-\xff\xfe-" + std::to_string(getpid()))) {
        std::filesystem::create_directories(m_path);
    }
    ~OddFolder() { std::filesystem::remove_all(m_path); }
    const std::filesystem::path& path() const { return m_path; }

private:
    std::filesystem::path m_path;
};

// Every line that --json prints is valid JSON, whatever bytes a path holds: they come out as
// U+FFFD. The search still writes its file where it was told.
TEST(Json, ValidWhateverBytesAPathHolds) {
    const OddFolder folder;
    const Output r = RunSim("search --win-radius 1 --loss-radius 1 --seed 5 --json --dir '" +
                            folder.path().string() + "'");
    ASSERT_EQ(r.status, 0);
    const nlohmann::json j = nlohmann::json::parse(r.out);
    const std::string file = j["file"];
    EXPECT_NE(file.find("nuv-\xEF\xBF\xBD\xEF\xBF\xBD-"), std::string::npos) << file;
    EXPECT_TRUE(std::filesystem::exists(folder.path() / "最优参数记录表_292_29.ini"));
    EXPECT_EQ(j["cancelled"], false);
    EXPECT_EQ(j["points_done"], 9);
}

TEST(Output, AFailureToWriteStandardOutputIsAnError) {
    if (!std::filesystem::exists("/dev/full")) GTEST_SKIP() << "no /dev/full here";
    for (const char* args :
         {"replay BBBBB", "replay --json B", "test --runs 1 --shoes 5 --seed 1"}) {
        SCOPED_TRACE(args);
        // Standard error into the pipe, standard output to a device that is always full (the #
        // makes a comment of what RunSim adds after the arguments).
        const Output r = RunSim(std::string(args) + " 2>&1 >/dev/full #");
        EXPECT_EQ(r.status, 1);
        EXPECT_EQ(r.out, "nuv-sim: cannot write standard output: No space left on device\n");
    }
}

// A nuv-sim of its own, with SIGINT and SIGTERM as they are by default, its standard output in a
// pipe and its standard error dropped.
class SimProcess {
public:
    explicit SimProcess(const std::vector<std::string>& args) {
        int pipeFds[2];
        if (::pipe(pipeFds) != 0) return;
        m_pid = ::fork();
        if (m_pid == 0) {
            ::signal(SIGINT, SIG_DFL);
            ::signal(SIGTERM, SIG_DFL);
            ::dup2(pipeFds[1], STDOUT_FILENO);
            const int null = ::open("/dev/null", O_WRONLY);
            ::dup2(null, STDERR_FILENO);
            ::close(pipeFds[0]);
            std::vector<char*> argv{const_cast<char*>(NUV_SIM_PATH)};
            for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
            argv.push_back(nullptr);
            ::execv(NUV_SIM_PATH, argv.data());
            ::_exit(127);
        }
        ::close(pipeFds[1]);
        m_out = pipeFds[0];
    }
    ~SimProcess() {
        if (m_pid > 0 && !m_bWaited) {
            ::kill(m_pid, SIGKILL);
            ::waitpid(m_pid, nullptr, 0);
        }
        if (m_out >= 0) ::close(m_out);
    }

    // Waits (20 s at the most) until the process catches `signal`, then sends it.
    bool SendOnceCaught(int signal) {
        const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
        while (std::chrono::steady_clock::now() < deadline) {
            std::ifstream status("/proc/" + std::to_string(m_pid) + "/status");
            for (std::string line; std::getline(status, line);) {
                if (line.rfind("SigCgt:", 0) == 0 &&
                    (std::stoull(line.substr(7), nullptr, 16) >> (signal - 1) & 1) != 0) {
                    return ::kill(m_pid, signal) == 0;
                }
            }
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
        }
        return false;
    }

    // Reads standard output to its end and waits for the process; gives the exit status, or -1
    // when a signal ended it.
    int Finish(std::string& out) {
        char buffer[4096];
        for (ssize_t n; (n = ::read(m_out, buffer, sizeof buffer)) > 0;) out.append(buffer, n);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_bWaited = true;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    bool m_bWaited = false;
};

// SIGINT and SIGTERM stop a long test or search at its next block: the summary of what was done,
// marked as cancelled, exit status 128 + the signal, and the ranking of the pairs tested.
TEST(Signals, StopATestOrSearchWithASummary) {
    for (const int signal : {SIGINT, SIGTERM}) {
        SCOPED_TRACE(signal);
        SimProcess sim({"test", "--runs", "1", "--shoes", "1000000000", "--seed", "3", "--threads",
                        "2", "--json"});
        ASSERT_TRUE(sim.SendOnceCaught(signal));
        std::string out;
        EXPECT_EQ(sim.Finish(out), 128 + signal);
        const nlohmann::json j = nlohmann::json::parse(out);
        EXPECT_EQ(j["cancelled"], true);
        EXPECT_LT(j["shoes_played"].get<std::int64_t>(), 1000000000);
        // The one run was cut short; it is the first losing run if it is below zero so far.
        EXPECT_EQ(j["first_loss_run"], j["total_win"].get<std::int64_t>() < 0 ? 1 : 0);
    }

    const std::filesystem::path dir =
        std::filesystem::temp_directory_path() / ("nuv-cli-signal-" + std::to_string(getpid()));
    std::filesystem::create_directories(dir);
    SimProcess sim({"search", "--win-radius", "2000", "--loss-radius", "2000", "--shoes", "10",
                    "--seed", "5", "--threads", "2", "--json", "--dir", dir.string()});
    ASSERT_TRUE(sim.SendOnceCaught(SIGTERM));
    std::string out;
    EXPECT_EQ(sim.Finish(out), 143);
    const nlohmann::json j = nlohmann::json::parse(out);
    EXPECT_EQ(j["cancelled"], true);
    EXPECT_LT(j["points_done"].get<std::int64_t>(), j["grid_points"].get<std::int64_t>());
    std::ifstream file(dir / "最优参数记录表_292_29.ini");
    std::stringstream text;
    text << file.rdbuf();
    EXPECT_NE(text.str().find(fmt::format("=未完成：已测试 {} 组，共 {} 组\n",
                                          j["points_done"].get<std::int64_t>(),
                                          j["grid_points"].get<std::int64_t>())),
              std::string::npos)
        << text.str();
    EXPECT_NE(text.str().find("\n0="), std::string::npos);
    std::filesystem::remove_all(dir);
}

}  // namespace
