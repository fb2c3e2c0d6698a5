#include "platform/RegistryHive.h"

#include <fcntl.h>
#include <pwd.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <mutex>
#include <optional>
#include <set>
#include <vector>

#include "platform/FileAccess.h"
#include "platform/Utf16.h"

namespace fs = std::filesystem;

namespace {

// Creates the folder and any missing one above it, private to the user.
bool MakeFolders(const fs::path& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) return S_ISDIR(st.st_mode);
    if (folder.empty() || folder == folder.parent_path()) return false;
    if (!MakeFolders(folder.parent_path())) return false;
    return ::mkdir(folder.c_str(), 0700) == 0 || errno == EEXIST;
}

// An exclusive flock() on the lock file beside the hive, held for the object's lifetime. The lock
// file itself is never removed: removing it would let two processes lock different files.
class CHiveLock {
public:
    explicit CHiveLock(const fs::path& hive) {
        const fs::path path = hive.string() + ".lock";
        m_fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
        while (m_fd >= 0 && ::flock(m_fd, LOCK_EX) != 0) {
            if (errno != EINTR) {
                ::close(m_fd);
                m_fd = -1;
            }
        }
    }
    ~CHiveLock() {
        if (m_fd >= 0) ::close(m_fd);
    }
    CHiveLock(const CHiveLock&) = delete;
    CHiveLock& operator=(const CHiveLock&) = delete;
    bool Held() const { return m_fd >= 0; }

private:
    int m_fd;
};

// Renames `file` to a name of its own beside it, never over an existing file.
std::optional<fs::path> SetAside(const fs::path& file) {
    char stamp[32];
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    std::strftime(stamp, sizeof stamp, "%Y%m%d-%H%M%S", &local);
    for (int n = 1; n < 1000; ++n) {
        fs::path target = file.string() + ".bad-" + stamp;
        if (n > 1) target += "-" + std::to_string(n);
        if (::renameat2(AT_FDCWD, file.c_str(), AT_FDCWD, target.c_str(), RENAME_NOREPLACE) == 0) {
            return target;
        }
        if (errno == EEXIST) continue;
        if (errno != EINVAL && errno != ENOSYS) return std::nullopt;
        // A file system without RENAME_NOREPLACE: test first; the caller holds the hive lock.
        struct stat st {};
        if (::lstat(target.c_str(), &st) == 0) continue;
        if (::rename(file.c_str(), target.c_str()) == 0) return target;
        return std::nullopt;
    }
    return std::nullopt;
}

enum class HiveRead { kRead, kUnreadable, kUnparsable };

// Reads and parses the hive file into `tree`; a missing file is an empty hive.
HiveRead ReadHive(const fs::path& file, CRegistryTree& tree) {
    tree = {};
    std::string text;
    if (const FileResult read = ReadWholeFile(file, text); !read) {
        return read.error == ENOENT ? HiveRead::kRead : HiveRead::kUnreadable;
    }
    auto parsed = CRegistryTree::Parse(text);
    if (!parsed) return HiveRead::kUnparsable;
    tree = std::move(*parsed);
    return HiveRead::kRead;
}

std::optional<std::string> JoinedPath(std::string_view path) {
    const auto parts = CRegistryTree::SplitPath(path);
    if (!parts) return std::nullopt;
    std::string joined;
    for (const std::string_view part : *parts) {
        if (!joined.empty()) joined += '\\';
        joined += part;
    }
    return joined;
}

}  // namespace

fs::path CRegistryHive::UserHivePath() {
    fs::path config;
    const char* xdg = std::getenv("XDG_CONFIG_HOME");
    const char* home = std::getenv("HOME");
    if (xdg && xdg[0] == '/') {
        config = xdg;
    } else if (home && home[0] == '/') {
        config = fs::path(home) / ".config";
    } else {
        std::vector<char> buffer(16384);
        passwd entry{};
        passwd* found = nullptr;
        if (getpwuid_r(::getuid(), &entry, buffer.data(), buffer.size(), &found) != 0 || !found ||
            !found->pw_dir || found->pw_dir[0] != '/') {
            return {};  // no home folder: nothing can be stored, the program runs on defaults
        }
        config = fs::path(found->pw_dir) / ".config";
    }
    return config / "nuv" / "registry.reg";
}

RegStatus CRegistryHive::Load(CRegistryTree& tree, bool locked) const {
    switch (ReadHive(m_file, tree)) {
        case HiveRead::kRead:
            return RegStatus::kOk;
        case HiveRead::kUnreadable:
            return RegStatus::kIoError;
        case HiveRead::kUnparsable:
            break;
    }
    if (locked) {
        if (const auto aside = SetAside(m_file)) {
            ReportUnparsable(&*aside);
            return RegStatus::kOk;
        }
        // It could not be moved: writing would destroy it, so nothing is written.
        ReportUnparsable(nullptr);
        return RegStatus::kIoError;
    }
    if (!m_bReadOnly) {
        // Read again under the lock: another process may have replaced the file meanwhile.
        CHiveLock lock(m_file);
        if (lock.Held() && Load(tree, true) == RegStatus::kOk) return RegStatus::kOk;
    }
    ReportUnparsable(nullptr);
    tree = {};
    return RegStatus::kOk;
}

template <typename Change>
RegStatus CRegistryHive::Modify(Change&& change) {
    if (m_bReadOnly) return RegStatus::kAccessDenied;
    if (!m_file.has_filename() || !MakeFolders(m_file.parent_path())) return RegStatus::kIoError;
    CHiveLock lock(m_file);
    if (!lock.Held()) return RegStatus::kIoError;
    CRegistryTree tree;
    if (const RegStatus s = Load(tree, true); s != RegStatus::kOk) return s;
    bool changed = false;
    const RegStatus status = change(tree, changed);
    if (status != RegStatus::kOk || !changed) return status;
    return Save(tree) ? RegStatus::kOk : RegStatus::kIoError;
}

// Written through a flushed temporary file renamed over the hive, so that readers and a crash see
// either the old or the new hive, never part of one.
bool CRegistryHive::Save(const CRegistryTree& tree) const {
    return WriteFileAtomically(m_file, tree.Format()).ok();
}

void CRegistryHive::ReportUnparsable(const fs::path* movedTo) const {
    if (movedTo) {
        std::fprintf(stderr,
                     "%s: the settings file %s could not be read; it was moved to %s and the "
                     "program starts from empty settings\n",
                     program_invocation_short_name, m_file.c_str(), movedTo->c_str());
        return;
    }
    // Left in place, the same file would be reported at every read; tell once per process.
    std::string identity = m_file.string();
    struct stat st {};
    if (::stat(m_file.c_str(), &st) == 0) {
        identity += ':' + std::to_string(st.st_dev) + ':' + std::to_string(st.st_ino) + ':' +
                    std::to_string(st.st_size) + ':' + std::to_string(st.st_mtim.tv_sec) + '.' +
                    std::to_string(st.st_mtim.tv_nsec);
    }
    static std::mutex mutex;
    static std::set<std::string> told;
    const std::lock_guard guard(mutex);
    if (!told.insert(identity).second) return;
    std::fprintf(stderr,
                 "%s: the settings file %s could not be read; it is left as it is and the program "
                 "runs on empty settings\n",
                 program_invocation_short_name, m_file.c_str());
}

RegStatus CRegistryHive::OpenKey(std::string_view path, CRegKey& key) const {
    if (m_bReadOnly) return RegStatus::kAccessDenied;
    const RegStatus status = OpenKeyForRead(path, key);
    key.m_bWritable = status == RegStatus::kOk;
    return status;
}

RegStatus CRegistryHive::OpenKeyForRead(std::string_view path, CRegKey& key) const {
    const auto parts = CRegistryTree::SplitPath(path);
    if (!parts) return RegStatus::kInvalidName;
    CRegistryTree tree;
    if (const RegStatus s = Load(tree); s != RegStatus::kOk) return s;
    if (!tree.Find(*parts)) return RegStatus::kNotFound;
    key = {*JoinedPath(path), false};
    return RegStatus::kOk;
}

RegStatus CRegistryHive::CreateKey(std::string_view path, CRegKey& key) {
    if (m_bReadOnly) return RegStatus::kAccessDenied;
    const RegStatus opened = OpenKey(path, key);
    if (opened != RegStatus::kNotFound) return opened;
    const RegStatus status = Modify([&](CRegistryTree& tree, bool& changed) {
        const auto parts = *CRegistryTree::SplitPath(path);
        changed = tree.Find(parts) == nullptr;
        tree.Create(parts);
        return RegStatus::kOk;
    });
    if (status == RegStatus::kOk) key = {*JoinedPath(path), true};
    return status;
}

RegStatus CRegistryHive::SetValue(const CRegKey& key, std::string_view name, std::uint32_t type,
                                  std::span<const std::uint8_t> data) {
    if (m_bReadOnly || !key.m_bWritable) return RegStatus::kAccessDenied;
    if (!CRegistryTree::IsValidValueName(name)) return RegStatus::kInvalidName;
    return Modify([&](CRegistryTree& tree, bool& changed) {
        const auto parts = CRegistryTree::SplitPath(key.m_strPath);
        CRegKeyNode* node = parts ? tree.Find(*parts) : nullptr;
        if (!node) return RegStatus::kKeyDeleted;
        const CRegValue* old = node->FindValue(name);
        changed = !old || old->m_nType != type ||
                  !std::equal(old->m_data.begin(), old->m_data.end(), data.begin(), data.end());
        node->SetValue(name, type, {data.begin(), data.end()});
        return RegStatus::kOk;
    });
}

RegStatus CRegistryHive::SetDword(const CRegKey& key, std::string_view name, std::uint32_t value) {
    const std::uint8_t data[4] = {
        static_cast<std::uint8_t>(value), static_cast<std::uint8_t>(value >> 8),
        static_cast<std::uint8_t>(value >> 16), static_cast<std::uint8_t>(value >> 24)};
    return SetValue(key, name, REG_DWORD, data);
}

RegStatus CRegistryHive::QueryValue(const CRegKey& key, std::string_view name,
                                    std::span<std::uint8_t> buffer, std::size_t& length,
                                    std::uint32_t* type) const {
    CRegistryTree tree;
    if (const RegStatus s = Load(tree); s != RegStatus::kOk) return s;
    const auto parts = CRegistryTree::SplitPath(key.m_strPath);
    const CRegKeyNode* node = parts ? tree.Find(*parts) : nullptr;
    if (!node) return RegStatus::kKeyDeleted;
    const CRegValue* value = node->FindValue(name);
    if (!value) return RegStatus::kNotFound;
    if (type) *type = value->m_nType;
    length = value->m_data.size();
    if (length > buffer.size()) return RegStatus::kMoreData;
    std::copy(value->m_data.begin(), value->m_data.end(), buffer.begin());
    return RegStatus::kOk;
}

RegStatus CRegistryHive::DeleteKey(std::string_view path) {
    const auto parts = CRegistryTree::SplitPath(path);
    if (!parts || parts->empty()) return RegStatus::kInvalidName;
    if (m_bReadOnly) return RegStatus::kAccessDenied;
    CRegKey key;
    if (const RegStatus s = OpenKeyForRead(path, key); s != RegStatus::kOk) return s;
    return Modify([&](CRegistryTree& tree, bool& changed) {
        CRegKeyNode* parent = tree.Find({parts->begin(), parts->end() - 1});
        if (!parent) return RegStatus::kNotFound;
        auto& siblings = parent->m_subkeys;
        const auto it = std::find_if(siblings.begin(), siblings.end(), [&](const CRegKeyNode& k) {
            return RegNamesEqual(k.m_strName, parts->back());
        });
        if (it == siblings.end()) return RegStatus::kNotFound;
        if (!it->m_subkeys.empty()) return RegStatus::kAccessDenied;
        siblings.erase(it);
        changed = true;
        return RegStatus::kOk;
    });
}

RegStatus CRegistryHive::EnumKey(const CRegKey& key, std::size_t index, std::span<char16_t> name,
                                 std::size_t& length) const {
    CRegistryTree tree;
    if (const RegStatus s = Load(tree); s != RegStatus::kOk) return s;
    const auto parts = CRegistryTree::SplitPath(key.m_strPath);
    const CRegKeyNode* node = parts ? tree.Find(*parts) : nullptr;
    if (!node) return RegStatus::kKeyDeleted;
    if (index >= node->m_subkeys.size()) return RegStatus::kNoMoreItems;
    const std::u16string wide = *Utf8ToUtf16(node->m_subkeys[index].m_strName);
    length = wide.size();
    if (wide.size() >= name.size()) return RegStatus::kMoreData;
    std::copy(wide.begin(), wide.end(), name.begin());
    name[wide.size()] = u'\0';
    return RegStatus::kOk;
}
