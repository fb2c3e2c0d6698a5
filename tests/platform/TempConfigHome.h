#pragma once

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "tests/platform/TempDir.h"

// The names in `folder`, sorted.
inline std::vector<std::string> NamesIn(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
}

// Points XDG_CONFIG_HOME at a fresh temporary folder while it lives, so that the user's hive is
// <temporary folder>/nuv/registry.reg and the real home folder is never touched.
class TempConfigHome {
public:
    TempConfigHome() {
        if (const char* old = ::getenv("XDG_CONFIG_HOME")) m_saved = old;
        ::setenv("XDG_CONFIG_HOME", m_dir.path().c_str(), 1);
    }
    ~TempConfigHome() {
        m_saved ? ::setenv("XDG_CONFIG_HOME", m_saved->c_str(), 1) : ::unsetenv("XDG_CONFIG_HOME");
    }
    TempConfigHome(const TempConfigHome&) = delete;
    TempConfigHome& operator=(const TempConfigHome&) = delete;

    const std::filesystem::path& Root() const { return m_dir.path(); }
    std::filesystem::path Folder() const { return Root() / "nuv"; }
    std::filesystem::path File() const { return Folder() / "registry.reg"; }

    void WriteHive(std::string_view text) const {
        std::filesystem::create_directories(Folder());
        WriteBytes(File(), std::string(text));
    }
    std::string HiveText() const { return ReadBytes(File()); }
    // The names in the hive's folder: shows a stray lock, temporary or set-aside file.
    std::vector<std::string> Names() const { return NamesIn(Folder()); }

private:
    TempDir m_dir;
    std::optional<std::string> m_saved;
};
