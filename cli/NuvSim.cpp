// nuv-sim: the adviser's engine on the command line.
#include <CLI/CLI.hpp>
#include <iostream>

#include "cli/HistoryCommand.h"
#include "cli/ReplayCommand.h"
#include "cli/SearchCommand.h"
#include "cli/TestCommand.h"

int main(int argc, char** argv) {
    CLI::App app{"Command-line tool over the baccarat adviser's engine."};
    app.require_subcommand(1);
    CReplayCommand replay(app);
    CTestCommand test(app);
    CSearchCommand search(app);
    CHistoryCommand history(app);

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

    if (replay.Parsed()) return replay.Run();
    if (test.Parsed()) return test.Run();
    if (search.Parsed()) return search.Run();
    if (history.Parsed()) return history.Run();
    return 0;
}
