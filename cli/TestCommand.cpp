#include "cli/TestCommand.h"

#include <fmt/format.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Progress.h"
#include "cli/SettingsFlags.h"
#include "sim/RandomTest.h"

CTestCommand::CTestCommand(CLI::App& app)
    : m_pCommand(app.add_subcommand(
          "test",
          "Play random shoes (banker or player, half and half) and add up the advice's score.")) {
    m_pCommand->add_option("--runs", m_nRuns, "number of runs; the test stops after a losing run")
        ->capture_default_str();
    m_pCommand->add_option("--shoes", m_nShoes, "shoes per run")->capture_default_str();
    m_pCommand->add_option("--seed", m_nSeed, "seed of the random shoes (default: from the clock)");
    m_pCommand->add_option("--threads", m_nThreads, "worker threads (default: every core)")
        ->check(CLI::NonNegativeNumber);
    m_pCommand->add_flag("--json", m_bJson, "print one JSON object");
    AddSettingsFlags(*m_pCommand, m_settings);
}

int CTestCommand::Run() {
    RandomTestOptions options;
    options.runs = m_nRuns;
    options.shoes = m_nShoes;
    options.seed = m_pCommand->count("--seed") ? m_nSeed : ClockSeed();
    options.threads = m_nThreads;

    RandomTestResult r;
    double seconds;
    {
        CTerminalProgress progress;
        r = RunRandomTest(m_settings, options, [&](double f) { return progress.Update(f); });
        seconds = progress.Seconds();
    }
    const double perSecond = seconds > 0 ? static_cast<double>(r.shoesPlayed) / seconds : 0.0;

    if (m_bJson) {
        nlohmann::ordered_json j;
        j["runs"] = options.runs;
        j["shoes"] = options.shoes;
        j["seed"] = options.seed;
        j["total_win"] = r.totalWin;
        j["first_loss_run"] = r.firstLossRun;
        j["shoes_played"] = r.shoesPlayed;
        j["hands_played"] = r.handsPlayed;
        j["seconds"] = seconds;
        j["shoes_per_second"] = perSecond;
        std::cout << j.dump() << '\n';
    } else {
        std::cout << fmt::format("total win        {} units\n", r.totalWin)
                  << fmt::format("first loss run   {}\n", r.firstLossRun)
                  << fmt::format("shoes played     {} of {} x {}\n", r.shoesPlayed, options.runs,
                                 options.shoes)
                  << fmt::format("hands played     {}\n", r.handsPlayed)
                  << fmt::format("seconds          {:.3f}\n", seconds)
                  << fmt::format("shoes per second {:.0f}\n", perSecond)
                  << fmt::format("seed             {}\n", options.seed);
    }
    return 0;
}
