#include "platform/FileAccess.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cerrno>

#include "tests/platform/TempDir.h"

namespace {

namespace fs = std::filesystem;

fs::perms Permissions(const fs::path& path) {
    return fs::status(path).permissions();
}

TEST(WriteFileAtomically, NewFileGetsTheUmaskModeAndAReplacedFileKeepsItsMode) {
    TempDir dir;
    const mode_t mask = ::umask(022);
    ASSERT_TRUE(WriteFileAtomically(dir / "new.txt", "a").ok());
    ::umask(mask);
    EXPECT_EQ(Permissions(dir / "new.txt"), static_cast<fs::perms>(0644));

    WriteBytes(dir / "private.txt", "old");
    fs::permissions(dir / "private.txt", static_cast<fs::perms>(0600));
    ASSERT_TRUE(WriteFileAtomically(dir / "private.txt", "new").ok());
    EXPECT_EQ(Permissions(dir / "private.txt"), static_cast<fs::perms>(0600));
    EXPECT_EQ(ReadBytes(dir / "private.txt"), "new");
}

TEST(WriteFileAtomically, WritesThroughASymbolicLink) {
    TempDir dir;
    fs::create_directory(dir / "real");
    WriteBytes(dir / "real" / "target.ini", "old");
    fs::create_symlink(fs::path("real") / "target.ini", dir / "link.ini");

    ASSERT_TRUE(WriteFileAtomically(dir / "link.ini", "new").ok());

    EXPECT_TRUE(fs::is_symlink(dir / "link.ini"));
    EXPECT_EQ(ReadBytes(dir / "real" / "target.ini"), "new");
}

TEST(FileAccess, MissingFilesFailWithEnoent) {
    TempDir dir;
    std::string contents = "stale";
    const FileResult read = ReadWholeFile(dir / "none", contents);
    EXPECT_EQ(read.error, ENOENT);
    EXPECT_EQ(read.path, (dir / "none").string());
    EXPECT_TRUE(contents.empty());
    EXPECT_EQ(RemoveFile(dir / "none").error, ENOENT);

    WriteBytes(dir / "some", "x");
    EXPECT_TRUE(RemoveFile(dir / "some").ok());
    EXPECT_TRUE(dir.Names().empty());
}

}  // namespace

TEST(DurableFile, AppendsAndCutsAFileItCreates) {
    TempDir dir;
    CDurableFile file;
    ASSERT_TRUE(file.Open(dir / "log", false));
    ASSERT_TRUE(file.Append("abc"));
    ASSERT_TRUE(file.Append("de"));
    ASSERT_TRUE(file.Truncate(4));
    ASSERT_TRUE(file.Append("X"));
    std::string contents;
    ASSERT_TRUE(file.ReadAll(contents));
    EXPECT_EQ(contents, "abcdX");
    EXPECT_EQ(ReadBytes(dir / "log"), "abcdX");
}

TEST(DurableFile, RefusesAFolderAndAFileLockedElsewhere) {
    TempDir dir;
    CDurableFile file;
    EXPECT_FALSE(file.Open(dir.path(), false));
    EXPECT_FALSE(file.IsOpen());
    CDurableFile first;
    ASSERT_TRUE(first.Open(dir / "log", true));
    CDurableFile second;
    EXPECT_EQ(second.Open(dir / "log", true).error, EWOULDBLOCK);
    EXPECT_TRUE(second.Open(dir / "log", false)) << "an open that takes no lock is not refused";
    first.Close();
    CDurableFile third;
    EXPECT_TRUE(third.Open(dir / "log", true)) << "the lock goes with Close";
}
