#include "cli/StrictNumber.h"

#include <string>

namespace {

std::string Decimal(__int128 value) {
    const bool negative = value < 0;
    unsigned __int128 magnitude =
        negative ? -static_cast<unsigned __int128>(value) : static_cast<unsigned __int128>(value);
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + static_cast<int>(magnitude % 10)));
        magnitude /= 10;
    } while (magnitude != 0);
    return negative ? "-" + digits : digits;
}

}  // namespace

CLI::Validator StrictInteger(__int128 min, __int128 max) {
    const std::string range = "a whole number from " + Decimal(min) + " to " + Decimal(max);
    return CLI::Validator(
        [min, max, range](std::string& text) -> std::string {
            if (text.empty()) return "an empty value is not a number; give " + range;
            const bool negative = text.front() == '-';
            const std::string digits = negative ? text.substr(1) : text;
            if (digits.empty() || digits.find_first_not_of("0123456789") != std::string::npos) {
                return "'" + text + "' is not a decimal whole number; give " + range;
            }
            // 38 digits always fit; no bound of a field is that long.
            const std::size_t first = std::min(digits.find_first_not_of('0'), digits.size() - 1);
            if (digits.size() - first > 38) return text + " is out of range; give " + range;
            __int128 value = 0;
            for (std::size_t i = first; i < digits.size(); ++i)
                value = value * 10 + (digits[i] - '0');
            if (negative) value = -value;
            if (value < min || value > max) return text + " is out of range; give " + range;
            text = Decimal(value);
            return {};
        },
        "", "StrictInteger");
}
