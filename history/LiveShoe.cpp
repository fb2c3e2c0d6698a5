#include "history/LiveShoe.h"

#include <chrono>
#include <fstream>
#include <system_error>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"

namespace fs = std::filesystem;

namespace {

std::time_t ToTimeT(fs::file_time_type time) {
    using namespace std::chrono;
    return system_clock::to_time_t(
        time_point_cast<system_clock::duration>(file_clock::to_sys(time)));
}

// Writes the start time plainly, without waiting for the disk: only the history's start column
// depends on it, and a start file cut short reads as missing.
void WriteStartFile(const fs::path& path, const std::string& start) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << start << '\n';
}

}  // namespace

CLiveShoe::CLiveShoe(fs::path folder, std::function<std::time_t()> clock)
    : m_folder(std::move(folder)), m_clock(std::move(clock)) {}

FileResult CLiveShoe::Open() {
    if (m_folder.empty()) return FileResult::Failure(m_folder, ENOENT, "no home folder");
    std::error_code ec;
    fs::create_directories(m_folder, ec);
    if (ec) return FileResult::Failure(m_folder, ec.value());
    if (FileResult opened = m_journal.Open(m_folder / kJournalName); !opened) return opened;

    // The last row tells whether the journal's shoe is in the history already (it had ended).
    std::string text;
    if (ReadWholeFile(HistoryPath(), text)) {
        const HistoryText history = ParseHistory(text);
        if (!history.rows.empty()) {
            m_strLastStart = history.rows.back().start;
            m_strLastHands = history.rows.back().hands;
        }
    }

    m_strStart.clear();
    if (!OpenedShoe().empty()) {
        std::string start;
        if (ReadWholeFile(m_folder / kStartName, start) && !start.empty() && start.back() == '\n') {
            start.pop_back();
            m_strStart = start;
        } else {
            // The start file went missing: the time of the journal's last command is the best
            // guess left, and is kept so that the shoe keeps one start time from now on.
            m_strStart = IsoLocalTime(ToTimeT(m_journal.OpenedWriteTime()));
            WriteStartFile(m_folder / kStartName, m_strStart);
        }
    }
    return FileResult::Success();
}

std::string_view CLiveShoe::OpenedShoe() const {
    return CurrentShoeCommands(m_journal.Text().commands);
}

void CLiveShoe::StartShoe() {
    if (!m_strStart.empty()) return;
    m_strStart = Now();
    WriteStartFile(m_folder / kStartName, m_strStart);
}

FileResult CLiveShoe::Write(std::string_view commands, std::string_view letters) {
    FileResult written = m_bBehind ? m_journal.Rewrite(letters) : m_journal.Append(commands);
    m_bBehind = !written.ok();
    return written;
}

FileResult CLiveShoe::HandEntered(CShoeEngine& shoe, int side) {
    if (!IsOpen()) return FileResult::Success();
    StartShoe();
    const char letter = ReplayLetter(side);
    FileResult written = Write(std::string_view(&letter, 1), shoe.ResultLetters(shoe.m_nHandCount));
    FileResult recorded = RecordIfOver(shoe);
    return written.ok() ? recorded : written;
}

FileResult CLiveShoe::BackDone(CShoeEngine& shoe) {
    if (!IsOpen()) return FileResult::Success();
    FileResult written = Write("-", shoe.ResultLetters(shoe.m_nHandCount));
    // With stricter settings than when the hands were entered, the replay may end the shoe.
    FileResult recorded = RecordIfOver(shoe);
    return written.ok() ? recorded : written;
}

FileResult CLiveShoe::Leaving(CShoeEngine& shoe) {
    return Leave(shoe, Now());
}

FileResult CLiveShoe::Declined(CShoeEngine& shoe) {
    return Leave(shoe, IsoLocalTime(ToTimeT(m_journal.OpenedWriteTime())));
}

FileResult CLiveShoe::Leave(CShoeEngine& shoe, std::string end) {
    if (!IsOpen()) return FileResult::Success();
    // The row first: a crash before the Clear reaches the journal leaves the shoe to be offered
    // again, never lost; written twice, it is found as the history's last row and not repeated.
    FileResult recorded =
        shoe.m_nHandCount > 0 ? Record(shoe, std::move(end)) : FileResult::Success();
    FileResult written = Write("/", "");
    // The cleared shoe is in the history: the journal need not keep it.
    if (written.ok()) written = m_journal.Rewrite("");
    m_bBehind = !written.ok();
    m_strStart.clear();
    std::error_code ec;
    fs::remove(m_folder / kStartName, ec);
    return recorded.ok() ? written : recorded;
}

FileResult CLiveShoe::Entered(CShoeEngine& shoe) {
    if (!IsOpen()) return FileResult::Success();
    const std::string letters = shoe.ResultLetters(shoe.m_nHandCount);
    if (letters.empty()) return FileResult::Success();
    StartShoe();
    FileResult written = Write(letters, letters);
    FileResult recorded = RecordIfOver(shoe);
    return written.ok() ? recorded : written;
}

FileResult CLiveShoe::RecordIfOver(CShoeEngine& shoe) {
    if (shoe.m_nHandCount == 0 || !shoe.IsShoeOver()) return FileResult::Success();
    return Record(shoe, Now());
}

FileResult CLiveShoe::Record(CShoeEngine& shoe, std::string end) {
    HistoryRow row = RowOfShoe(shoe, m_strStart, std::move(end));
    if (row.start == m_strLastStart && row.hands == m_strLastHands) return FileResult::Success();
    FileResult appended = AppendHistoryRow(HistoryPath(), row);
    if (appended) {
        m_strLastStart = row.start;
        m_strLastHands = row.hands;
    }
    return appended;
}
