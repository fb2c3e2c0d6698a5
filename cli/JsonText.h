#pragma once

#include <nlohmann/json.hpp>
#include <string>

// The object as one line of JSON. Bytes that are not UTF-8 (a folder's name may hold any) become
// U+FFFD, so the line is valid JSON whatever the strings in it hold.
inline std::string JsonText(const nlohmann::ordered_json& json) {
    return json.dump(-1, ' ', false, nlohmann::ordered_json::error_handler_t::replace);
}
