// The one file writer: what it does to each kind of target, and that a
// failure never costs the old file.
#include "QrvFileWriter.h"
#include "TempFolder.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <future>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

namespace qrv::test
{
namespace
{

namespace fs = std::filesystem;

class FileWriter : public TTempFolderFixture
{
protected:
    static void Put(const std::string& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    // The message of the error the write raises, or "" when it succeeds.
    static std::string WriteError(const std::string& path, const std::string& bytes)
    {
        try {
            WriteWholeFile(path, bytes);
        } catch (const EFileWrite& e) {
            return e.Message();
        }
        return "";
    }
};

TEST_F(FileWriter, NewAndReplacedFiles)
{
    WriteWholeFile(At("new.txt"), "first");
    EXPECT_EQ(ReadWholeFile(At("new.txt")), "first");
    WriteWholeFile(At("new.txt"), "");
    EXPECT_EQ(ReadWholeFile(At("new.txt")), "") << "an empty content is a content";

    Put(At("kept.txt"), "a longer old content");
    chmod(At("kept.txt").c_str(), 0640);
    WriteWholeFile(At("kept.txt"), "new");
    EXPECT_EQ(ReadWholeFile(At("kept.txt")), "new");
    struct stat info;
    ASSERT_EQ(stat(At("kept.txt").c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 07777, 0640u) << "a replaced file keeps its permissions";
    EXPECT_EQ(Entries(), 2u) << "no temporary file is left";
}

TEST_F(FileWriter, WriteProtectedFileIsRefusedEvenForRoot)
{
    Put(At("locked.txt"), "old");
    chmod(At("locked.txt").c_str(), 0444);
    EXPECT_EQ(WriteError(At("locked.txt"), "new"), "Cannot create file " + At("locked.txt"));
    EXPECT_EQ(ReadWholeFile(At("locked.txt")), "old");
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileWriter, FailuresLeaveNothingBehind)
{
    struct Row {
        const char* name;
        std::string path;
    };
    fs::create_directory(Dir / "folder");
    Put(At("plain"), "no folder");
    const Row rows[] = {
        {"missing folder", At("missing/t.txt")},
        {"a file as folder", At("plain/t.txt")},
        {"a folder as target", At("folder")},
        {"no name", ""},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(WriteError(row.path, "x"), "Cannot create file " + row.path) << row.name;
        EXPECT_EQ(Entries(), 2u) << row.name;
    }
    EXPECT_TRUE(fs::is_directory(Dir / "folder"));
    EXPECT_EQ(ReadWholeFile(At("plain")), "no folder");
}

TEST_F(FileWriter, FolderWithoutWriteRightKeepsTheOldFile)
{
    if (geteuid() == 0) GTEST_SKIP() << "root may create files in any folder";
    Put(At("t.txt"), "old");
    chmod(Dir.c_str(), 0555);
    EXPECT_NE(WriteError(At("t.txt"), "new"), "");
    EXPECT_EQ(ReadWholeFile(At("t.txt")), "old");
}

TEST_F(FileWriter, LinksAreFollowed)
{
    Put(At("real.txt"), "old");
    fs::create_symlink("real.txt", Dir / "relative-link");
    fs::create_symlink(Dir / "relative-link", Dir / "link-to-link");
    WriteWholeFile(At("link-to-link"), "new");
    EXPECT_TRUE(fs::is_symlink(Dir / "link-to-link"));
    EXPECT_TRUE(fs::is_symlink(Dir / "relative-link"));
    EXPECT_EQ(ReadWholeFile(At("real.txt")), "new");

    fs::create_symlink("created.txt", Dir / "dangling");
    WriteWholeFile(At("dangling"), "made");
    EXPECT_TRUE(fs::is_symlink(Dir / "dangling")) << "a dangling link creates its target";
    EXPECT_EQ(ReadWholeFile(At("created.txt")), "made");

    fs::create_symlink("loop-b", Dir / "loop-a");
    fs::create_symlink("loop-a", Dir / "loop-b");
    EXPECT_EQ(WriteError(At("loop-a"), "x"), "Cannot create file " + At("loop-a"));
}

TEST_F(FileWriter, NamesAreKeptByteForByte)
{
    const std::string latin1 = At("caf\xe9.txt"), utf8 = At("caf\xc3\xa9.txt");
    WriteWholeFile(latin1, "latin1");
    WriteWholeFile(utf8, "utf8");
    EXPECT_EQ(ReadWholeFile(latin1), "latin1");
    EXPECT_EQ(ReadWholeFile(utf8), "utf8");
    EXPECT_EQ(Entries(), 2u);
}

TEST_F(FileWriter, PipeIsWrittenInPlace)
{
    ASSERT_EQ(mkfifo(At("pipe").c_str(), 0600), 0);
    auto reader = std::async(std::launch::async, [this] { return ReadWholeFile(At("pipe")); });
    WriteWholeFile(At("pipe"), "through the pipe");
    EXPECT_EQ(reader.get(), "through the pipe");
    struct stat info;
    ASSERT_EQ(lstat(At("pipe").c_str(), &info), 0);
    EXPECT_TRUE(S_ISFIFO(info.st_mode));
    EXPECT_EQ(Entries(), 1u);
}

TEST_F(FileWriter, DeviceIsWrittenInPlace)
{
    // A private null device, so that a faulty writer replaces nothing of the
    // system's.
    if (mknod(At("null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make a device node here: " << std::strerror(errno);
    if (const int fd = open(At("null").c_str(), O_WRONLY); fd >= 0)
        close(fd);
    else
        GTEST_SKIP() << "device nodes cannot be opened in " << Dir << " (mounted nodev?)";
    WriteWholeFile(At("null"), "gone");
    struct stat info;
    ASSERT_EQ(lstat(At("null").c_str(), &info), 0);
    EXPECT_TRUE(S_ISCHR(info.st_mode)) << "the device is still a device";
    EXPECT_EQ(Entries(), 1u);
}

TEST(FileWriterLinks, FollowLinksEndsAtTheFirstNonLink)
{
    EXPECT_EQ(FollowLinks("/no/such/file"), "/no/such/file");
    EXPECT_EQ(FollowLinks("plain-name"), "plain-name");
}

} // namespace
} // namespace qrv::test
