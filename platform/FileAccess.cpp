#include "platform/FileAccess.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <system_error>

namespace fs = std::filesystem;

FileResult FileResult::Failure(const fs::path& path, int error, std::string reason) {
    FileResult result;
    result.error = error;
    result.path = path.string();
    result.reason = reason.empty() ? std::generic_category().message(error) : std::move(reason);
    return result;
}

namespace {

// The file that a write to `path` must replace: the target of a symbolic link, else `path`.
fs::path ResolveTarget(const fs::path& path) {
    std::error_code ec;
    if (fs::is_symlink(fs::symlink_status(path, ec))) {
        fs::path target = fs::canonical(path, ec);
        if (!ec) return target;
    }
    return path;
}

// How the names of the temporary files beside `target` begin: hidden, after the target's name,
// which is shortened (at a UTF-8 character boundary) so that a temporary name stays within the
// 255 bytes a file name may have.
std::string TemporaryPrefix(const fs::path& target) {
    std::string stem = target.filename().string();
    constexpr std::size_t kMaxStem = 200;
    if (stem.size() > kMaxStem) {
        std::size_t cut = kMaxStem;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem.resize(cut);
    }
    return "." + stem + ".tmp-";
}

// A name for the temporary file beside `target`, unlikely to be taken.
fs::path TemporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string name = TemporaryPrefix(target) + std::to_string(::getpid()) + "-" +
                             std::to_string(counter++) + "-" +
                             std::to_string(static_cast<unsigned long long>(ticks) % 1000000007);
    return target.parent_path() / name;
}

bool WriteAll(int fd, const std::uint8_t* data, std::size_t size) {
    while (size > 0) {
        const ssize_t written = ::write(fd, data, size);
        if (written < 0) {
            if (errno == EINTR) continue;
            return false;
        }
        data += written;
        size -= static_cast<std::size_t>(written);
    }
    return true;
}

// Makes a rename in `folder` survive a crash. Best effort: the data itself is already on disk.
void SyncFolder(const fs::path& folder) {
    const int fd =
        ::open(folder.empty() ? "." : folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    ::fsync(fd);
    ::close(fd);
}

}  // namespace

FileResult WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes) {
    if (path.empty()) return FileResult::Failure(path, ENOENT);
    if (!path.has_filename()) return FileResult::Failure(path, EISDIR);
    const fs::path target = ResolveTarget(path);

    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = TemporaryName(target);
        // 0666 as for any new file: the process's umask then applies.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) break;
    }
    if (fd < 0) return FileResult::Failure(path, errno);

    struct stat old {};
    if (::stat(target.c_str(), &old) == 0 && S_ISREG(old.st_mode)) {
        ::fchmod(fd, old.st_mode & 07777);
    }

    int error = 0;
    if (!WriteAll(fd, bytes.data(), bytes.size()) || ::fsync(fd) != 0) error = errno;
    if (::close(fd) != 0 && error == 0) error = errno;
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) error = errno;
    if (error != 0) {
        ::unlink(temporary.c_str());
        return FileResult::Failure(path, error);
    }
    SyncFolder(target.parent_path());
    return FileResult::Success();
}

FileResult ReadWholeFile(const fs::path& path, std::string& contents) {
    contents.clear();
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return FileResult::Failure(path, errno);
    char buffer[65536];
    for (;;) {
        const ssize_t got = ::read(fd, buffer, sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            ::close(fd);
            contents.clear();
            return FileResult::Failure(path, error);
        }
        if (got == 0) break;
        contents.append(buffer, static_cast<std::size_t>(got));
    }
    ::close(fd);
    return FileResult::Success();
}

FileResult RemoveFile(const fs::path& path) {
    if (::unlink(path.c_str()) != 0) return FileResult::Failure(path, errno);
    return FileResult::Success();
}

void RemoveStaleTemporaries(const fs::path& path) {
    if (!path.has_filename()) return;
    const fs::path target = ResolveTarget(path);
    const std::string prefix = TemporaryPrefix(target);
    const fs::path folder = target.parent_path().empty() ? fs::path(".") : target.parent_path();
    std::error_code ec;
    for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path& entry = it->path();
        if (entry.filename().string().starts_with(prefix) &&
            fs::is_regular_file(fs::symlink_status(entry, ec))) {
            ::unlink(entry.c_str());
        }
    }
}
