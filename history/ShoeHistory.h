#pragma once

#include <cstdint>
#include <ctime>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Settings.h"
#include "platform/FileAccess.h"

class CShoeEngine;

// One finished or cleared shoe of the history file.
struct HistoryRow {
    std::string start;  // first hand, ISO 8601 local time with offset; empty when not known
    std::string end;    // when the shoe ended or was cleared, same form
    std::string hands;  // replay letters Z, X, H
    ShoeSettings settings;
    int score = 0;
    int yield = 0;
    int cycles = 0;         // won cycles
    std::int64_t yuan = 0;  // the amount the advice line gives at the end of the shoe

    friend bool operator==(const HistoryRow&, const HistoryRow&) = default;
};

// The first line of the history file.
extern const char kHistoryHeader[];

// `time` as local ISO 8601 with the offset from UTC: "2026-03-01T21:07:45+08:00".
std::string IsoLocalTime(std::time_t time);

// The row for the shoe in `shoe`, with the settings it is read under.
HistoryRow RowOfShoe(CShoeEngine& shoe, std::string start, std::string end);

// One line of the file, without its newline.
std::string FormatHistoryRow(const HistoryRow& row);
// A line of the file (without its newline) back into a row; nullopt when it is not one.
std::optional<HistoryRow> ParseHistoryRow(std::string_view line);

struct HistoryText {
    std::vector<HistoryRow> rows;  // every whole row, in the file's order
    int badLines = 0;              // whole lines that were no row (the header not counted)
    bool halfRow = false;          // the file ended in a line without its newline (left out)
};
HistoryText ParseHistory(std::string_view text);

// The shoes of the history: a shoe written again (reopened with Back after its end, then ended
// or cleared) has a later row with the same start time, which replaces the earlier one.
std::vector<HistoryRow> HistoryShoes(const std::vector<HistoryRow>& rows);

// Appends `row` to the history file at `path` and waits until it is on the disk. A new file gets
// the header first. A half-written last line (the program or the machine stopped while writing
// it) is cut off first, so the file only ever holds whole rows before the one being written.
[[nodiscard]] FileResult AppendHistoryRow(const std::filesystem::path& path, const HistoryRow& row);
