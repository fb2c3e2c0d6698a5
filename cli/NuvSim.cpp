// nuv-sim: the adviser's engine on the command line.
#include <CLI/CLI.hpp>
#include <cerrno>
#include <cstdio>
#include <iostream>
#include <system_error>

#include "cli/HistoryCommand.h"
#include "cli/ReplayCommand.h"
#include "cli/SearchCommand.h"
#include "cli/TestCommand.h"

namespace {

// Flushes standard output. A failure to write it (a full disk, a closed descriptor) is said on
// standard error and turns a successful exit status into 1.
int FinishOutput(int status) {
    errno = 0;
    std::cout.flush();
    if (std::fflush(stdout) == 0 && !std::ferror(stdout) && std::cout) return status;
    const int error = errno;
    std::cerr << "nuv-sim: cannot write standard output"
              << (error != 0 ? ": " + std::generic_category().message(error) : std::string())
              << '\n';
    return status == 0 ? 1 : status;
}

}  // namespace

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

    int status = 0;
    if (replay.Parsed()) status = replay.Run();
    if (test.Parsed()) status = test.Run();
    if (search.Parsed()) status = search.Run();
    if (history.Parsed()) status = history.Run();
    return FinishOutput(status);
}
