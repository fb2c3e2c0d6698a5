#include "cli/TestCommand.h"

#include <fmt/format.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Interrupt.h"
#include "cli/JsonText.h"
#include "cli/Progress.h"
#include "cli/SettingsFlags.h"
#include "cli/StrictNumber.h"
#include "sim/BlockScheduler.h"
#include "sim/RandomTest.h"
#include "sim/ShoeRandom.h"

CTestCommand::CTestCommand(CLI::App& app)
    : m_pCommand(app.add_subcommand("test",
                                    "Play random shoes of the chosen game through the advice and "
                                    "add up its score and money.")) {
    m_pCommand->add_option("--runs", m_nRuns, "number of runs; the test stops after a losing run")
        ->capture_default_str()
        ->transform(StrictInteger<std::int64_t>());
    m_pCommand->add_option("--shoes", m_nShoes, "shoes per run")
        ->capture_default_str()
        ->transform(StrictInteger<std::int64_t>());
    m_pCommand->add_option("--seed", m_nSeed, "seed of the random shoes (default: from the clock)")
        ->transform(StrictInteger<std::uint64_t>());
    m_pCommand
        ->add_option("--threads", m_nThreads, "worker threads, at most 1024 (default: every core)")
        ->transform(StrictInteger(0, CBlockScheduler::kMaxWorkers));
    AddGameFlag(*m_pCommand, m_game);
    m_pCommand->add_flag("--json", m_bJson, "print one JSON object");
    AddSettingsFlags(*m_pCommand, m_settings);
}

int CTestCommand::Run() {
    RandomTestOptions options;
    options.runs = m_nRuns;
    options.shoes = m_nShoes;
    options.seed = m_pCommand->count("--seed") ? m_nSeed : ClockSeed();
    options.threads = m_nThreads;
    options.game = m_game;

    // SIGINT or SIGTERM stops the test at its next block; what was played is still reported.
    const CInterrupt interrupt;
    RandomTestResult r;
    double seconds;
    {
        CTerminalProgress progress;
        r = RunRandomTest(m_settings, options, [&](double f) {
            progress.Update(f);
            return CInterrupt::Signal() == 0;
        });
        seconds = progress.Seconds();
    }
    const double perSecond = seconds > 0 ? static_cast<double>(r.shoesPlayed) / seconds : 0.0;
    const CTestStats& st = r.stats;
    const Estimate score = st.Score();
    const Estimate yuan = st.Yuan();

    if (m_bJson) {
        nlohmann::ordered_json j;
        j["runs"] = options.runs;
        j["shoes"] = options.shoes;
        j["seed"] = options.seed;
        j["total_win"] = r.totalWin;
        j["first_loss_run"] = r.firstLossRun;
        j["shoes_played"] = r.shoesPlayed;
        j["hands_played"] = r.handsPlayed;
        j["cancelled"] = r.cancelled;
        j["seconds"] = seconds;
        j["shoes_per_second"] = perSecond;
        j["game"] = GameName(r.game);
        j["banker_hands"] = st.BankerHands();
        j["player_hands"] = st.PlayerHands();
        j["tie_hands"] = st.TieHands();
        j["mean_score"] = score.mean;
        j["sd_score"] = score.sd;
        j["se_score"] = score.se;
        j["ci95_score"] = {score.low, score.high};
        j["net_yuan"] = st.NetYuan();
        j["mean_yuan"] = yuan.mean;
        j["se_yuan"] = yuan.se;
        j["ci95_yuan"] = {yuan.low, yuan.high};
        j["commission_yuan"] = st.CommissionYuan();
        j["shoes_won"] = st.ShoesWon();
        j["shoes_lost"] = st.ShoesLost();
        j["shoes_even"] = st.ShoesEven();
        std::cout << JsonText(j) << '\n';
    } else {
        std::cout << fmt::format("total win        {} units\n", r.totalWin)
                  << fmt::format("first loss run   {}\n", r.firstLossRun)
                  << fmt::format("shoes played     {} of {} x {}\n", r.shoesPlayed, options.runs,
                                 options.shoes)
                  << fmt::format("hands played     {}\n", r.handsPlayed)
                  << fmt::format("seconds          {:.3f}\n", seconds)
                  << fmt::format("shoes per second {:.0f}\n", perSecond)
                  << fmt::format("seed             {}\n", options.seed)
                  << fmt::format("game             {}\n", GameName(r.game))
                  << fmt::format("hands B / P / T  {} / {} / {}\n", st.BankerHands(),
                                 st.PlayerHands(), st.TieHands())
                  << fmt::format(
                         "score per shoe   mean {:.4f}, sd {:.4f}, se {:.4f}, "
                         "95% [{:.4f}, {:.4f}] units\n",
                         score.mean, score.sd, score.se, score.low, score.high)
                  << fmt::format("net money        {:.2f} yuan\n", st.NetYuan())
                  << fmt::format(
                         "money per shoe   mean {:.2f}, se {:.2f}, 95% [{:.2f}, {:.2f}] "
                         "yuan\n",
                         yuan.mean, yuan.se, yuan.low, yuan.high)
                  << fmt::format("commission       {:.2f} yuan\n", st.CommissionYuan())
                  << fmt::format("shoes won / lost / even  {} / {} / {}\n", st.ShoesWon(),
                                 st.ShoesLost(), st.ShoesEven());
        if (r.cancelled) std::cout << "cancelled        yes: the figures cover the shoes played\n";
    }
    return CInterrupt::ExitStatus(0);
}
