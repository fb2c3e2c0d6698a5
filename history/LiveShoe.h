#pragma once

#include <ctime>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>

#include "history/Journal.h"
#include "history/ShoeHistory.h"
#include "platform/FileAccess.h"

class CShoeEngine;

// The live shoe kept on disk, in one data folder: the journal of its commands, so that it can be
// rebuilt after a crash, and the history of the shoes that ended or were cleared.
//
// The owner carries out each command on its engine first and then reports it here, with the
// engine as it is then; every report has reached the disk when it returns. A report that fails
// leaves the journal behind the record: the next report rewrites it whole from the record's
// letters, so one failed write costs no more than that one command.
class CLiveShoe {
public:
    static constexpr const char* kJournalName = "shoe.journal";
    static constexpr const char* kStartName = "shoe.start";  // start time of the journal's shoe
    static constexpr const char* kHistoryName = "history.csv";

    // `clock` gives the times written to the history; the system clock unless a test pins it.
    explicit CLiveShoe(
        std::filesystem::path folder,
        std::function<std::time_t()> clock = [] { return std::time(nullptr); });

    // Makes the folder and opens the journal (see CShoeJournal::Open). Fails with EWOULDBLOCK when
    // another window keeps the shoe; nothing is kept then, and every report does nothing.
    [[nodiscard]] FileResult Open();
    bool IsOpen() const { return m_journal.IsOpen(); }
    const std::filesystem::path& Folder() const { return m_folder; }
    std::filesystem::path HistoryPath() const { return m_folder / kHistoryName; }

    // The commands of the shoe the journal held when it was opened (those after its last Clear).
    std::string_view OpenedShoe() const;
    // Where Open put the copy of a damaged journal; empty when there was none.
    const std::filesystem::path& DamagedCopy() const { return m_journal.DamagedCopy(); }

    // A hand was entered and recorded (RecordHand returned 1).
    [[nodiscard]] FileResult HandEntered(CShoeEngine& shoe, int side);
    // Back took the last hand back.
    [[nodiscard]] FileResult BackDone(CShoeEngine& shoe);
    // The shoe in `shoe` is about to be cleared or replaced: it goes to the history if it has
    // hands, and the journal starts afresh.
    [[nodiscard]] FileResult Leaving(CShoeEngine& shoe);
    // The record was filled with a new shoe at once (after Leaving): the journal gets its letters.
    [[nodiscard]] FileResult Entered(CShoeEngine& shoe);
    // The shoe of the journal, rebuilt in `shoe`, is not to be resumed: it goes to the history,
    // ended when its last command was written, and the journal starts afresh.
    [[nodiscard]] FileResult Declined(CShoeEngine& shoe);

private:
    // Appends `commands`, or, when an earlier write failed, rewrites the journal as `letters`,
    // the record's whole shoe after the command.
    FileResult Write(std::string_view commands, std::string_view letters);
    // Writes the history row of a shoe that is over and not in the history yet.
    FileResult RecordIfOver(CShoeEngine& shoe);
    // Writes the history row of the shoe unless the last row already is this shoe.
    FileResult Record(CShoeEngine& shoe, std::string end);
    // Leaving, with the end time given.
    FileResult Leave(CShoeEngine& shoe, std::string end);
    void StartShoe();
    std::string Now() const { return IsoLocalTime(m_clock()); }

    std::filesystem::path m_folder;
    std::function<std::time_t()> m_clock;
    CShoeJournal m_journal;
    bool m_bBehind = false;      // a write failed: the journal no longer rebuilds the record
    std::string m_strStart;      // start time of the live shoe; empty before its first hand
    std::string m_strLastStart;  // start and hands of the last row in the history
    std::string m_strLastHands;
};
