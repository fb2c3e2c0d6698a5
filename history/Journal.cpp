#include "history/Journal.h"

#include <ctime>
#include <system_error>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"

namespace fs = std::filesystem;

namespace {

bool IsCommand(char c) {
    return c == 'Z' || c == 'X' || c == 'H' || c == '-' || c == '/';
}

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\r';
}

// A free name beside `path` for the copy of a damaged journal: "<name>.damaged-<time>[-n]".
fs::path DamagedCopyName(const fs::path& path) {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    char stamp[32];
    std::strftime(stamp, sizeof stamp, "%Y%m%dT%H%M%S", &local);
    const std::string base = path.filename().string() + ".damaged-" + stamp;
    fs::path candidate = path.parent_path() / base;
    std::error_code ec;
    for (int n = 1; fs::exists(fs::symlink_status(candidate, ec)); ++n) {
        candidate = path.parent_path() / (base + "-" + std::to_string(n));
    }
    return candidate;
}

}  // namespace

JournalText ParseJournal(std::string_view bytes) {
    JournalText text;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (IsCommand(c)) {
            text.commands += c;
        } else if (!IsSpace(c)) {
            text.goodBytes = i;
            text.damaged = true;
            return text;
        }
    }
    text.goodBytes = bytes.size();
    return text;
}

std::string_view CurrentShoeCommands(std::string_view commands) {
    const std::size_t clear = commands.rfind('/');
    return clear == std::string_view::npos ? commands : commands.substr(clear + 1);
}

void ApplyCommands(CShoeEngine& shoe, std::string_view commands) {
    for (const char c : commands) {
        if (c == '-') {
            shoe.Back();
        } else if (c == '/') {
            shoe.ResetShoe();
        } else if (const int side = SideOfReplayLetter(c); side != SIDE_NONE) {
            shoe.RecordHand(side);
        }
    }
}

FileResult CShoeJournal::Open(const fs::path& path) {
    m_text = {};
    m_damagedCopy.clear();
    if (FileResult opened = m_file.Open(path, true); !opened) return opened;
    std::string bytes;
    if (FileResult read = m_file.ReadAll(bytes); !read) {
        m_file.Close();
        return read;
    }
    m_text = ParseJournal(bytes);
    if (m_text.damaged) {
        // The whole file is kept before anything of it is cut, so nothing is ever lost.
        const fs::path copy = DamagedCopyName(path);
        if (FileResult saved = WriteFileAtomically(copy, bytes); !saved) {
            m_file.Close();
            return saved;
        }
        m_damagedCopy = copy;
        if (FileResult cut = m_file.Truncate(m_text.goodBytes); !cut) {
            m_file.Close();
            return cut;
        }
    }
    std::error_code ec;
    m_writeTime = fs::last_write_time(path, ec);
    return FileResult::Success();
}

FileResult CShoeJournal::Append(std::string_view commands) {
    return m_file.Append(commands);
}

FileResult CShoeJournal::Rewrite(std::string_view commands) {
    if (FileResult cut = m_file.Truncate(0); !cut) return cut;
    return commands.empty() ? FileResult::Success() : m_file.Append(commands);
}
