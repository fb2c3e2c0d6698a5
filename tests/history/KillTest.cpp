// A session of hands, Back and Clear is killed (SIGKILL) at random points, over and over; after
// every kill the journal must rebuild exactly the shoe of the commands that had returned, and the
// history must hold whole rows only.
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <random>
#include <string>
#include <vector>

#include "engine/ShoeEngine.h"
#include "history/LiveShoe.h"
#include "tests/platform/TempDir.h"

extern char** environ;

namespace {

// The driver program with its standard output on a pipe.
class Driver {
public:
    Driver(const std::filesystem::path& folder, const std::string& commands) {
        int fds[2];
        if (::pipe2(fds, O_CLOEXEC) != 0) return;
        posix_spawn_file_actions_t actions;
        posix_spawn_file_actions_init(&actions);
        posix_spawn_file_actions_adddup2(&actions, fds[1], STDOUT_FILENO);
        const std::string folderText = folder.string();
        char* const args[] = {const_cast<char*>(NUV_JOURNAL_DRIVER),
                              const_cast<char*>(folderText.c_str()),
                              const_cast<char*>(commands.c_str()), nullptr};
        if (posix_spawn(&m_pid, NUV_JOURNAL_DRIVER, &actions, nullptr, args, environ) != 0)
            m_pid = -1;
        posix_spawn_file_actions_destroy(&actions);
        ::close(fds[1]);
        m_fd = fds[0];
    }
    ~Driver() {
        if (m_pid > 0) Kill();
        if (m_fd >= 0) ::close(m_fd);
    }

    bool Started() const { return m_pid > 0 && m_fd >= 0; }

    // Reads one line; false at the end of the output.
    bool ReadLine(std::string& line) {
        line.clear();
        for (char c;;) {
            const ssize_t got = ::read(m_fd, &c, 1);
            if (got < 0 && errno == EINTR) continue;
            if (got <= 0) return false;
            if (c == '\n') return true;
            line += c;
        }
    }

    void Kill() {
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
    }

private:
    pid_t m_pid = -1;
    int m_fd = -1;
};

// The shoe that `commands` leave when carried out from `start` as the driver does.
CShoeEngine After(const CShoeEngine& start, std::string_view commands) {
    CShoeEngine shoe = start;
    ApplyCommands(shoe, commands);
    return shoe;
}

std::string RandomSession(std::mt19937& random) {
    std::uniform_int_distribution<int> length(1, 30);
    std::uniform_int_distribution<int> pick(0, 99);
    std::string commands;
    for (int n = length(random); n > 0; --n) {
        const int p = pick(random);
        commands += p < 40 ? 'Z' : p < 80 ? 'X' : p < 88 ? 'H' : p < 96 ? '-' : '/';
    }
    return commands;
}

TEST(KillTest, TheJournalKeepsExactlyTheCommandsThatReturned) {
    TempDir dir;
    const std::filesystem::path folder = dir / "data";
    const ShoeSettings settings;
    std::mt19937 random(20261211);
    int inFlightKept = 0;  // kills after which the command in flight had reached the journal
    int killedMidSession = 0;

    for (int round = 0; round < 200; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        // Where the previous round left the journal is where this one starts.
        CShoeEngine start(settings);
        start.ResetShoe();
        ApplyCommands(start, ParseJournal(ReadBytes(folder / CLiveShoe::kJournalName)).commands);

        const std::string commands = RandomSession(random);
        Driver driver(folder, commands);
        ASSERT_TRUE(driver.Started());
        // Kill after a random number of acknowledged commands and a random moment more, so the
        // kill falls anywhere: while opening, between commands, or in the middle of a write.
        const int acksBeforeKill =
            std::uniform_int_distribution<int>(-1, static_cast<int>(commands.size()))(random);
        int acked = -1;  // "ready" is not a command
        std::string line;
        while (acked < acksBeforeKill && driver.ReadLine(line)) ++acked;
        const auto wait =
            std::chrono::microseconds(std::uniform_int_distribution<int>(0, 3000)(random));
        for (const auto until = std::chrono::steady_clock::now() + wait;
             std::chrono::steady_clock::now() < until;) {
        }
        driver.Kill();
        while (driver.ReadLine(line)) ++acked;  // lines written before the kill
        const int returned = std::max(acked, 0);
        if (returned < static_cast<int>(commands.size())) ++killedMidSession;

        CShoeEngine rebuilt(settings);
        rebuilt.ResetShoe();
        const JournalText journal = ParseJournal(ReadBytes(folder / CLiveShoe::kJournalName));
        EXPECT_FALSE(journal.damaged);
        ApplyCommands(rebuilt, journal.commands);

        const CShoeEngine expected = After(start, std::string_view(commands).substr(0, returned));
        if (rebuilt != expected) {
            // The command in flight may have reached the disk just before the kill: that, and
            // nothing else, is allowed beside the commands that had returned.
            ASSERT_LT(returned, static_cast<int>(commands.size()))
                << "journal " << journal.commands << " does not rebuild the session " << commands;
            EXPECT_EQ(rebuilt, After(start, std::string_view(commands).substr(0, returned + 1)))
                << "journal " << journal.commands << ", session " << commands << ", " << returned
                << " commands returned";
            ++inFlightKept;
        }

        const HistoryText history = ParseHistory(ReadBytes(folder / CLiveShoe::kHistoryName));
        EXPECT_FALSE(history.halfRow);
        EXPECT_EQ(history.badLines, 0);
    }
    EXPECT_GT(killedMidSession, 100) << "too few kills fell inside a session to test anything";
    std::printf(
        "kills inside a session: %d of 200; the command in flight had reached the disk: %d\n",
        killedMidSession, inFlightKept);
}

}  // namespace
