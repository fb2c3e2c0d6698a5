#include "history/ShoeHistory.h"

#include <charconv>
#include <map>

#include "engine/ShoeEngine.h"
#include "engine/Side.h"

const char kHistoryHeader[] =
    "start,end,hands,table_min,table_max,win_stop,stop_loss,win_cycles,alarm,danger,after_stop,"
    "score,yield,cycles,yuan";

namespace {

constexpr std::size_t kFields = 15;

template <typename T>
bool ParseNumber(std::string_view text, T& value) {
    if (text.empty()) return false;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    return error == std::errc() && end == text.data() + text.size();
}

// Characters a time field may hold; keeps a damaged line from passing as a row.
bool IsTimeText(std::string_view text) {
    for (const char c : text) {
        if (!((c >= '0' && c <= '9') || c == '-' || c == '+' || c == ':' || c == 'T' || c == 'Z'))
            return false;
    }
    return true;
}

}  // namespace

std::string IsoLocalTime(std::time_t time) {
    std::tm local{};
    localtime_r(&time, &local);
    char text[40];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%S%z", &local);
    // strftime writes the offset as +hhmm; ISO 8601's extended form wants +hh:mm.
    std::string iso = text;
    if (iso.size() >= 5) iso.insert(iso.size() - 2, ":");
    return iso;
}

HistoryRow RowOfShoe(CShoeEngine& shoe, std::string start, std::string end) {
    HistoryRow row;
    row.start = std::move(start);
    row.end = std::move(end);
    row.hands = shoe.ResultLetters(shoe.m_nHandCount);
    row.settings = shoe.Settings();
    row.score = shoe.m_nScore;
    row.yield = shoe.m_nYield;
    row.cycles = shoe.m_nWinCycles;
    row.yuan = shoe.WonAmount();
    return row;
}

std::string FormatHistoryRow(const HistoryRow& row) {
    const ShoeSettings& s = row.settings;
    std::string line = row.start + ',' + row.end + ',' + row.hands;
    for (const long long value :
         {static_cast<long long>(s.m_nXXLimitMoney), static_cast<long long>(s.m_nSXLimitMoney),
          static_cast<long long>(s.m_nWinStopMoney), static_cast<long long>(s.m_nLossStopMoney),
          static_cast<long long>(s.m_nWinStopNum), static_cast<long long>(s.m_nDangerous1),
          static_cast<long long>(s.m_nDangerous2), static_cast<long long>(s.m_nAfterWinStop),
          static_cast<long long>(row.score), static_cast<long long>(row.yield),
          static_cast<long long>(row.cycles), static_cast<long long>(row.yuan)}) {
        line += ',';
        line += std::to_string(value);
    }
    return line;
}

std::optional<HistoryRow> ParseHistoryRow(std::string_view line) {
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    std::vector<std::string_view> fields;
    for (std::size_t from = 0;;) {
        const std::size_t comma = line.find(',', from);
        fields.push_back(
            line.substr(from, comma == std::string_view::npos ? line.npos : comma - from));
        if (comma == std::string_view::npos) break;
        from = comma + 1;
    }
    if (fields.size() != kFields) return std::nullopt;
    HistoryRow row;
    if (!IsTimeText(fields[0]) || !IsTimeText(fields[1]) || fields[1].empty()) return std::nullopt;
    row.start = fields[0];
    row.end = fields[1];
    for (const char c : fields[2]) {
        if (SideOfReplayLetter(c) == SIDE_NONE) return std::nullopt;
    }
    if (fields[2].size() > static_cast<std::size_t>(CShoeEngine::kHands)) return std::nullopt;
    row.hands = fields[2];
    ShoeSettings& s = row.settings;
    std::int32_t* const numbers[] = {&s.m_nXXLimitMoney,  &s.m_nSXLimitMoney, &s.m_nWinStopMoney,
                                     &s.m_nLossStopMoney, &s.m_nWinStopNum,   &s.m_nDangerous1,
                                     &s.m_nDangerous2,    &s.m_nAfterWinStop, &row.score,
                                     &row.yield,          &row.cycles};
    for (std::size_t i = 0; i < std::size(numbers); ++i) {
        if (!ParseNumber(fields[3 + i], *numbers[i])) return std::nullopt;
    }
    if (!ParseNumber(fields[14], row.yuan)) return std::nullopt;
    return row;
}

HistoryText ParseHistory(std::string_view text) {
    HistoryText history;
    bool first = true;
    while (!text.empty()) {
        const std::size_t newline = text.find('\n');
        if (newline == std::string_view::npos) {
            history.halfRow = true;
            break;
        }
        const std::string_view line = text.substr(0, newline);
        text.remove_prefix(newline + 1);
        const bool header =
            first && (line == kHistoryHeader || line == std::string(kHistoryHeader) + '\r');
        first = false;
        if (header) continue;
        if (auto row = ParseHistoryRow(line)) {
            history.rows.push_back(std::move(*row));
        } else {
            ++history.badLines;
        }
    }
    return history;
}

std::vector<HistoryRow> HistoryShoes(const std::vector<HistoryRow>& rows) {
    std::map<std::string, std::size_t> lastOfStart;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (!rows[i].start.empty()) lastOfStart[rows[i].start] = i;
    }
    std::vector<HistoryRow> shoes;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        if (rows[i].start.empty() || lastOfStart[rows[i].start] == i) shoes.push_back(rows[i]);
    }
    return shoes;
}

FileResult AppendHistoryRow(const std::filesystem::path& path, const HistoryRow& row) {
    CDurableFile file;
    if (FileResult opened = file.Open(path, false); !opened) return opened;
    std::string text;
    if (FileResult read = file.ReadAll(text); !read) return read;
    if (!text.empty() && text.back() != '\n') {
        const std::size_t newline = text.rfind('\n');
        const std::size_t keep = newline == std::string::npos ? 0 : newline + 1;
        if (FileResult cut = file.Truncate(keep); !cut) return cut;
        text.resize(keep);
    }
    std::string bytes;
    if (text.empty()) bytes = std::string(kHistoryHeader) + '\n';
    bytes += FormatHistoryRow(row);
    bytes += '\n';
    return file.Append(bytes);
}
