// A scripted session over the journal code, for the kill test: resumes the shoe that the journal
// in FOLDER holds, then carries out COMMANDS (Z, X, H, '-' Back, '/' Clear) one by one, as the
// window does, and writes one line to standard output after each command has returned.
#include <unistd.h>

#include <cstdio>
#include <string>
#include <string_view>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"
#include "history/LiveShoe.h"

namespace {

void Say(std::string_view line) {
    // Unbuffered, so that the line is out before the next command starts.
    std::string text(line);
    text += '\n';
    if (::write(STDOUT_FILENO, text.data(), text.size()) < 0) std::perror("write");
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s FOLDER COMMANDS\n", argv[0]);
        return 2;
    }
    CLiveShoe live(argv[1]);
    if (FileResult opened = live.Open(); !opened) {
        std::fprintf(stderr, "%s: %s\n", opened.path.c_str(), opened.reason.c_str());
        return 1;
    }
    const ShoeSettings settings;
    CShoeEngine shoe(settings);
    shoe.ResetShoe();
    ApplyCommands(shoe, live.OpenedShoe());
    Say("ready");

    for (const char c : std::string_view(argv[2])) {
        FileResult result;
        if (c == '-') {
            if (shoe.Back()) result = live.BackDone(shoe);
        } else if (c == '/') {
            result = live.Leaving(shoe);
            shoe.ResetShoe();
        } else if (const int side = SideOfReplayLetter(c); side != SIDE_NONE) {
            if (shoe.RecordHand(side)) result = live.HandEntered(shoe, side);
        }
        if (!result) {
            std::fprintf(stderr, "%s: %s\n", result.path.c_str(), result.reason.c_str());
            return 1;
        }
        Say(std::string(1, c));
    }
    return 0;
}
