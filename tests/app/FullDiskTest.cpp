// Files written to a full disk: a 64 KiB tmpfs, mounted in a mount
// namespace of this test process alone, is filled up; then every writer
// must report the failure and leave the old file as it was. Needs root (or
// the right to mount) and is skipped with the reason where that is missing.
#include "TempFolder.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <sched.h>
#include <sys/mount.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#ifndef QURVIA_BINARY
#error "QURVIA_BINARY must name the built qurvia program"
#endif
#ifndef QURVIA_SAVE_HELPER
#error "QURVIA_SAVE_HELPER must name the settings save helper"
#endif

namespace
{

namespace fs = std::filesystem;
using qrv::test::ReadWholeFile;

struct TRun {
    int Status = -1;
    std::string Err;
};

class FullDisk : public qrv::test::TTempFolderFixture
{
protected:
    void SetUp() override
    {
        if (geteuid() != 0) GTEST_SKIP() << "mounting a small tmpfs needs root";
        if (unshare(CLONE_NEWNS) != 0)
            GTEST_SKIP() << "no private mount namespace here: " << std::strerror(errno);
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0)
            GTEST_SKIP() << "mounts cannot be made private here: " << std::strerror(errno);
        TTempFolderFixture::SetUp();
        if (HasFatalFailure()) return;
        if (mount("tmpfs", Dir.c_str(), "tmpfs", 0, "size=64k") != 0)
            GTEST_SKIP() << "cannot mount a tmpfs: " << std::strerror(errno);
        Mounted = true;
    }
    void TearDown() override
    {
        if (Mounted) umount2(Dir.c_str(), MNT_DETACH);
        TTempFolderFixture::TearDown();
    }

    // Old versions of the files, then a filler that takes every free block.
    void FillUp(const std::vector<std::string>& names)
    {
        for (const auto& name : names)
            std::ofstream(Dir / name, std::ios::binary) << Old(name);
        const int fd = open((Dir / "filler").c_str(), O_WRONLY | O_CREAT, 0600);
        ASSERT_GE(fd, 0);
        const std::string block(4096, 'f');
        while (write(fd, block.data(), block.size()) > 0) {
        }
        while (write(fd, block.data(), 1) > 0) {
        }
        close(fd);
    }
    static std::string Old(const std::string& name) { return "old " + name + "\n"; }

    TRun Run(const std::string& command) const
    {
        // Standard error goes beside the full disk, to a file of this run
        // alone: other test runs on the machine run the same test.
        std::string err = (fs::temp_directory_path() / "qurvia-full-disk-err-XXXXXX").string();
        const int fd = mkstemp(err.data());
        EXPECT_GE(fd, 0);
        if (fd >= 0) close(fd);
        const std::string script = "cd '" + Dir.string() + "' && " + command + " 2>'" + err + "'";
        const int status = std::system(script.c_str());
        TRun run;
        run.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.Err = ReadWholeFile(err);
        fs::remove(err);
        return run;
    }

    bool Mounted = false;
};

TEST_F(FullDisk, EveryWriterReportsItAndKeepsTheOldFile)
{
    FillUp({"t.txt", "c.pdf", "c.png", "c.bmp", "QURVIA.INI"});
    const std::string qurvia = std::string("'") + QURVIA_BINARY + "' ";

    TRun table = Run(qurvia + "--table t.txt");
    EXPECT_EQ(table.Status, 1);
    EXPECT_EQ(table.Err, "Cannot create file t.txt.\n");
    EXPECT_EQ(ReadWholeFile(Dir / "t.txt"), Old("t.txt"));

    for (const char* image : {"c.pdf", "c.png", "c.bmp"}) {
        TRun run = Run(qurvia + "--image " + image);
        EXPECT_EQ(run.Status, 1) << image;
        EXPECT_EQ(run.Err, std::string("Cannot create file ") + image + ".\n");
        EXPECT_EQ(ReadWholeFile(Dir / image), Old(image)) << image;
    }

    // The settings file as the program writes it at its end.
    TRun settings = Run(std::string("'") + QURVIA_SAVE_HELPER + "' QURVIA.INI 65280 >/dev/null");
    EXPECT_EQ(settings.Status, 1);
    EXPECT_EQ(settings.Err, "Unable to write to QURVIA.INI\n");
    EXPECT_EQ(ReadWholeFile(Dir / "QURVIA.INI"), Old("QURVIA.INI"));

    EXPECT_EQ(Entries(), 6u) << "no temporary file is left";
}

} // namespace
