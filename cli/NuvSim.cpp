// nuv-sim: the adviser's engine on the command line (replay a shoe; more commands to come).
#include <CLI/CLI.hpp>
#include <iostream>

#include "ReplayCommand.h"
#include "SettingsFlags.h"

int main(int argc, char** argv) {
    CLI::App app{"Command-line tool over the baccarat adviser's engine."};
    app.require_subcommand(1);

    ShoeSettings replaySettings;
    bool replayJson = false;
    std::string results;
    CLI::App* replay = app.add_subcommand(
        "replay", "Play a shoe given as hand letters and print what the adviser says after each hand.");
    AddSettingsFlags(*replay, replaySettings);
    replay->add_flag("--json", replayJson, "one JSON object per line");
    replay->add_option("RESULTS", results,
                       "hand letters B/P/T or Z/X/H (either case), - for Back, / for Clear")
        ->required();

    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp& e) {
        return app.exit(e);
    } catch (const CLI::CallForAllHelp& e) {
        return app.exit(e);
    } catch (const CLI::ParseError& e) {
        std::cerr << "nuv-sim: " << e.what() << '\n';
        return 2;
    }

    if (replay->parsed()) {
        if (const auto error = CheckReplayInput(results)) {
            std::cerr << "nuv-sim replay: " << *error << '\n';
            return 2;
        }
        RunReplay(results, replaySettings, replayJson, std::cout);
    }
    return 0;
}
