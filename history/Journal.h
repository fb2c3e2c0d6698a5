#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/FileAccess.h"

class CShoeEngine;

// The commands a journal file holds: Z, X and H for a hand entered, '-' for Back and '/' for
// Clear, one byte each, in the order they were given. Read as a replay string, they rebuild the
// shoe.
struct JournalText {
    std::string commands;       // the commands of the undamaged beginning; whitespace dropped
    std::size_t goodBytes = 0;  // length of that beginning in the file
    bool damaged = false;       // the file goes on past goodBytes with a byte that is no command
};

// Reads journal bytes up to the first byte that is neither a command nor whitespace. Everything
// after such a byte is left out: a journal is only ever right up to where it went wrong.
JournalText ParseJournal(std::string_view bytes);

// The commands that the record holds after `commands`: those after the last Clear.
std::string_view CurrentShoeCommands(std::string_view commands);

// Carries out journal commands on `shoe` as the window's own commands do: a hand letter enters
// the hand (the shoe refuses it once over), '-' takes the last hand back, '/' clears the shoe.
// Anything else is skipped.
void ApplyCommands(CShoeEngine& shoe, std::string_view commands);

// The journal file of one live shoe, held open and locked while the object lives, so that no
// second window appends to it at the same time.
class CShoeJournal {
public:
    // Opens (or creates) the journal at `path` and reads it. A damaged journal is first copied
    // whole beside itself (see DamagedCopy) and then cut back to its undamaged beginning, so that
    // later appends follow the last whole command. Fails with EWOULDBLOCK when another holds it.
    [[nodiscard]] FileResult Open(const std::filesystem::path& path);
    bool IsOpen() const { return m_file.IsOpen(); }

    // The journal as read by Open (after a repair: what was kept).
    const JournalText& Text() const { return m_text; }
    // Where Open put the copy of a damaged journal; empty when it found none.
    const std::filesystem::path& DamagedCopy() const { return m_damagedCopy; }
    // Time of the last change to the file when it was opened.
    std::filesystem::file_time_type OpenedWriteTime() const { return m_writeTime; }

    // Appends commands; they are on the disk when this returns.
    [[nodiscard]] FileResult Append(std::string_view commands);
    // Replaces the whole journal with `commands`.
    [[nodiscard]] FileResult Rewrite(std::string_view commands);

private:
    CDurableFile m_file;
    JournalText m_text;
    std::filesystem::path m_damagedCopy;
    std::filesystem::file_time_type m_writeTime{};
};
