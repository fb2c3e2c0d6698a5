#pragma once

#include <CLI/CLI.hpp>
#include <limits>

// A CLI11 transform that takes a whole number in decimal only, from `min` to `max`: digits, with
// a leading minus sign where `min` is negative, and nothing else. It hands the number on without
// leading zeros, so that CLI11 reads 010 as ten (never as octal) and 0x10 or 1e3 never get that
// far. An empty value, any other character or a number out of range is refused with a one-line
// message (a usage error).
CLI::Validator StrictInteger(__int128 min, __int128 max);

// The same over the whole range of T.
template <typename T>
CLI::Validator StrictInteger() {
    return StrictInteger(std::numeric_limits<T>::min(), std::numeric_limits<T>::max());
}
