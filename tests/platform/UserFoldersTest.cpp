#include "platform/UserFolders.h"

#include <gtest/gtest.h>
#include <stdlib.h>

#include <optional>
#include <string>

namespace {

std::optional<std::string> Get(const char* name) {
    const char* value = ::getenv(name);
    return value ? std::optional<std::string>(value) : std::nullopt;
}

void Set(const char* name, const std::optional<std::string>& value) {
    value ? ::setenv(name, value->c_str(), 1) : ::unsetenv(name);
}

TEST(UserDataFolder, FollowsXdgDataHomeOrTheHomeFolder) {
    struct Case {
        std::optional<std::string> xdg;
        std::optional<std::string> home;
        std::string folder;
    };
    const Case cases[] = {
        {"/data", "/home/u", "/data/nuv"},
        {"relative/data", "/home/u", "/home/u/.local/share/nuv"},  // not absolute: ignored
        {"", "/home/u", "/home/u/.local/share/nuv"},
        {std::nullopt, "/home/u", "/home/u/.local/share/nuv"},
    };
    const auto savedXdg = Get("XDG_DATA_HOME");
    const auto savedHome = Get("HOME");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.folder);
        Set("XDG_DATA_HOME", c.xdg);
        Set("HOME", c.home);
        EXPECT_EQ(UserDataFolder(), c.folder);
    }
    Set("XDG_DATA_HOME", savedXdg);
    Set("HOME", savedHome);
}

}  // namespace
