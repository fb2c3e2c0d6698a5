#pragma once

#include <iosfwd>
#include <optional>
#include <string>
#include <string_view>

#include "Settings.h"

// Checks a RESULTS string of `nuv-sim replay`: hand letters B/P/T or Z/X/H in either case, '-'
// for Back and '/' for Clear. Returns an error message naming the first bad position, if any.
std::optional<std::string> CheckReplayInput(std::string_view results);

// Plays a checked RESULTS string through the engine and prints one row (or one JSON object per
// line with `json`) for every hand, Back and Clear.
void RunReplay(std::string_view results, const ShoeSettings& settings, bool json, std::ostream& out);
