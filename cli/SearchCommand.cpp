#include "cli/SearchCommand.h"

#include <fmt/format.h>

#include <iostream>
#include <nlohmann/json.hpp>

#include "cli/Progress.h"
#include "cli/SettingsFlags.h"

CSearchCommand::CSearchCommand(CLI::App& app)
    : m_pCommand(app.add_subcommand(
          "search",
          "Run the random test at every win-stop and stop-loss pair of a grid and rank "
          "the six best pairs by yield into a ranking file.")) {
    m_pCommand->add_option("--win", m_options.win, "starting win-stop W0")->capture_default_str();
    m_pCommand->add_option("--loss", m_options.loss, "starting stop-loss L0")
        ->capture_default_str();
    m_pCommand->add_option("--win-radius", m_options.winRadius, "win-stop from W0 - r to W0 + r")
        ->capture_default_str();
    m_pCommand
        ->add_option("--loss-radius", m_options.lossRadius, "stop-loss from L0 + r down to L0 - r")
        ->capture_default_str();
    m_pCommand->add_option("--runs", m_nRuns, "runs of the test at each pair")
        ->capture_default_str();
    m_pCommand->add_option("--shoes", m_nShoes, "shoes per run")->capture_default_str();
    m_pCommand->add_option("--seed", m_options.seed,
                           "seed of the random shoes (default: from the clock)");
    m_pCommand->add_option("--threads", m_options.threads, "worker threads (default: every core)")
        ->check(CLI::NonNegativeNumber);
    m_pCommand->add_option("--dir", m_strFolder, "folder of the ranking file")
        ->capture_default_str();
    m_pCommand->add_flag("--json", m_bJson, "print the outcome as one JSON object");
    AddSettingsFlags(*m_pCommand, m_settings, false);
}

int CSearchCommand::Run() {
    m_options.runs = m_nRuns;
    m_options.shoes = m_nShoes;
    m_options.folder = m_strFolder;
    if (!m_pCommand->count("--seed")) m_options.seed = ClockSeed();
    const SearchEstimate estimate = EstimateSearch(m_options);
    std::cerr << fmt::format(
        "{} pairs, {} shoes (estimated {:.2f} minutes at 0.05 s per shoe), seed {}\n",
        estimate.gridPoints, estimate.shoes, estimate.minutes, m_options.seed);

    SearchResult r;
    double seconds;
    {
        CTerminalProgress progress;
        r = RunSearch(m_settings, m_options, [&](double f) { return progress.Update(f); });
        seconds = progress.Seconds();
    }
    if (!r.fileError.ok()) {
        std::cerr << fmt::format("nuv-sim search: cannot write {}: {}\n", r.fileError.path,
                                 r.fileError.reason);
    }

    if (m_bJson) {
        nlohmann::ordered_json j;
        j["best_win"] = r.bestWin;
        j["best_loss"] = r.bestLoss;
        j["best_average"] = r.bestAverage;
        j["best_yield"] = r.bestYield;
        j["file"] = r.file.string();
        j["grid_points"] = r.gridPoints;
        j["seconds"] = seconds;
        std::cout << j.dump() << '\n';
    } else {
        std::cout << fmt::format("best win-stop   {}\n", r.bestWin)
                  << fmt::format("best stop-loss  {}\n", r.bestLoss)
                  << fmt::format("average         {:.2f} units per shoe\n", r.bestAverage)
                  << fmt::format("yield           {:.2f} %\n", r.bestYield)
                  << fmt::format("pairs tested    {}\n", r.pointsDone)
                  << fmt::format("seconds         {:.3f}\n", seconds)
                  << fmt::format("ranking file    {}\n", r.file.string());
    }
    return r.fileError.ok() ? 0 : 1;
}
