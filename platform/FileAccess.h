#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>

// Outcome of a file operation: success, or the file the caller named and the reason it failed,
// ready for a message that names both.
struct FileResult {
    int error = 0;       // errno value (EINVAL for a request that was refused); 0 on success
    std::string path;    // the path as the caller gave it; empty on success
    std::string reason;  // the system's text for `error`, or what was wrong with the request

    bool ok() const { return error == 0; }
    explicit operator bool() const { return ok(); }

    static FileResult Success() { return {}; }
    // `reason` defaults to the system's text for `error`.
    static FileResult Failure(const std::filesystem::path& path, int error,
                              std::string reason = {});
};

// Replaces the file at `path` with `bytes`. The bytes go to a new file in the same folder, are
// flushed to the disk and then renamed over `path`, so a failure at any step leaves the old file
// (or no file) and never a partial one. The new file keeps the permission bits of the file it
// replaces; a symbolic link at `path` is written through, not replaced.
[[nodiscard]] FileResult WriteFileAtomically(const std::filesystem::path& path,
                                             std::span<const std::uint8_t> bytes);
[[nodiscard]] inline FileResult WriteFileAtomically(const std::filesystem::path& path,
                                                    std::string_view text) {
    return WriteFileAtomically(
        path, std::span(reinterpret_cast<const std::uint8_t*>(text.data()), text.size()));
}

// Removes the temporary files that WriteFileAtomically leaves beside `path` when its process is
// killed before the rename. Only for a file that every writer writes under one lock, and only
// while holding it: the temporary file of a write in progress would go too.
void RemoveStaleTemporaries(const std::filesystem::path& path);

// Reads the whole file at `path` into `contents` (emptied first). A missing file fails with
// ENOENT.
[[nodiscard]] FileResult ReadWholeFile(const std::filesystem::path& path, std::string& contents);

// Deletes the file at `path`. A missing file fails with ENOENT, which callers may ignore.
[[nodiscard]] FileResult RemoveFile(const std::filesystem::path& path);

// A file kept open for appending records that must survive a crash of the program or of the
// machine: every Append and Truncate has reached the disk when it returns. Closed with the object.
class CDurableFile {
public:
    CDurableFile() = default;
    ~CDurableFile() { Close(); }
    CDurableFile(const CDurableFile&) = delete;
    CDurableFile& operator=(const CDurableFile&) = delete;

    // Opens `path` for reading and appending, creating it when missing (and then syncing its
    // folder, so that the new name survives too). With `lock`, it also takes an exclusive
    // advisory lock on the file without waiting; a file that another process or object holds
    // fails with EWOULDBLOCK. The lock goes with Close.
    [[nodiscard]] FileResult Open(const std::filesystem::path& path, bool lock);
    void Close();
    bool IsOpen() const { return m_fd >= 0; }
    const std::filesystem::path& Path() const { return m_path; }

    // The whole file as it is now.
    [[nodiscard]] FileResult ReadAll(std::string& contents) const;
    // Writes `bytes` at the end and waits until they are on the disk (fdatasync: the data and the
    // new length). A failure may leave part of `bytes` written.
    [[nodiscard]] FileResult Append(std::string_view bytes);
    // Cuts the file to `size` bytes and waits until that is on the disk.
    [[nodiscard]] FileResult Truncate(std::uint64_t size);

private:
    int m_fd = -1;
    std::filesystem::path m_path;
};
