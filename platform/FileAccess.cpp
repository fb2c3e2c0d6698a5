#include "platform/FileAccess.h"

#include <fcntl.h>
#include <sys/file.h>
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

// A name for the temporary file beside `target`, hidden and unlikely to be taken. The target's
// name is shortened (at a UTF-8 character boundary) so that the temporary name stays within the
// 255 bytes a file name may have.
fs::path TemporaryName(const fs::path& target) {
    static std::atomic<unsigned> counter{0};
    std::string stem = target.filename().string();
    constexpr std::size_t kMaxStem = 200;
    if (stem.size() > kMaxStem) {
        std::size_t cut = kMaxStem;
        while (cut > 0 && (static_cast<unsigned char>(stem[cut]) & 0xC0) == 0x80) --cut;
        stem.resize(cut);
    }
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    const std::string name = "." + stem + ".tmp-" + std::to_string(::getpid()) + "-" +
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

FileResult CDurableFile::Open(const fs::path& path, bool lock) {
    Close();
    if (path.empty()) return FileResult::Failure(path, ENOENT);
    bool created = false;
    int fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    if (fd < 0 && errno == ENOENT) {
        fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        created = fd >= 0;
        // Another process may have made it in between.
        if (fd < 0 && errno == EEXIST) fd = ::open(path.c_str(), O_RDWR | O_APPEND | O_CLOEXEC);
    }
    if (fd < 0) return FileResult::Failure(path, errno);
    struct stat info {};
    if (::fstat(fd, &info) != 0) {
        const int error = errno;
        ::close(fd);
        return FileResult::Failure(path, error);
    }
    if (!S_ISREG(info.st_mode)) {
        ::close(fd);
        return FileResult::Failure(path, EINVAL, "not a regular file");
    }
    if (lock && ::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno == EAGAIN ? EWOULDBLOCK : errno;
        ::close(fd);
        return FileResult::Failure(path, error);
    }
    if (created) {
        ::fsync(fd);
        SyncFolder(path.parent_path());
    }
    m_fd = fd;
    m_path = path;
    return FileResult::Success();
}

void CDurableFile::Close() {
    if (m_fd >= 0) ::close(m_fd);
    m_fd = -1;
}

FileResult CDurableFile::ReadAll(std::string& contents) const {
    contents.clear();
    if (m_fd < 0) return FileResult::Failure(m_path, EBADF);
    char buffer[65536];
    for (off_t offset = 0;;) {
        const ssize_t got = ::pread(m_fd, buffer, sizeof buffer, offset);
        if (got < 0) {
            if (errno == EINTR) continue;
            const int error = errno;
            contents.clear();
            return FileResult::Failure(m_path, error);
        }
        if (got == 0) break;
        contents.append(buffer, static_cast<std::size_t>(got));
        offset += got;
    }
    return FileResult::Success();
}

FileResult CDurableFile::Append(std::string_view bytes) {
    if (m_fd < 0) return FileResult::Failure(m_path, EBADF);
    if (!WriteAll(m_fd, reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size()) ||
        ::fdatasync(m_fd) != 0) {
        return FileResult::Failure(m_path, errno);
    }
    return FileResult::Success();
}

FileResult CDurableFile::Truncate(std::uint64_t size) {
    if (m_fd < 0) return FileResult::Failure(m_path, EBADF);
    if (::ftruncate(m_fd, static_cast<off_t>(size)) != 0 || ::fdatasync(m_fd) != 0) {
        return FileResult::Failure(m_path, errno);
    }
    return FileResult::Success();
}
