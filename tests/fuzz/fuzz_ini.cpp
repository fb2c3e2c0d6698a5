// Any text the ranking file may hold: parsing never fails unsafely, writing it out and parsing
// again gives the same text and the same entries, and a key set afterwards reads back as set.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/IniProfile.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    IniProfile profile = IniProfile::Parse(text);
    const std::string written = profile.Text();
    const IniProfile again = IniProfile::Parse(written);
    if (again.Text() != written) std::abort();
    for (const std::string& key : profile.Keys("Record")) {
        if (again.Get("Record", key) != profile.Get("Record", key)) std::abort();
    }
    if (profile.Set("Record", "3", "29\t292\t1.50\t0.51\t0") &&
        IniProfile::Parse(profile.Text()).Get("Record", "3") != "29\t292\t1.50\t0.51\t0") {
        std::abort();
    }
    return 0;
}
