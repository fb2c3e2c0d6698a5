// Any text the hive file may hold: parsing never fails unsafely, and a hive that parses comes
// back as the same tree after it is written and parsed again.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/RegistryTree.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto tree = CRegistryTree::Parse(text);
    if (!tree) return 0;
    const std::string written = tree->Format();
    const auto again = CRegistryTree::Parse(written);
    if (!again || !(*again == *tree) || again->Format() != written) std::abort();
    return 0;
}
