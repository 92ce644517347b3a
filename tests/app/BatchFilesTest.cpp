// The files the qurvia program writes, run through a shell so that names
// keep their bytes and the program meets pipes, links, devices, a full
// standard output and a memory limit as a user's shell would give them.
#include "TempFolder.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <sys/wait.h>
#include <unistd.h>

#ifndef QURVIA_BINARY
#error "QURVIA_BINARY must name the built qurvia program"
#endif

namespace qrv::test
{
namespace
{

namespace fs = std::filesystem;

struct TShellResult {
    int Status = -1;
    std::string Out;
    std::string Err;
};

class BatchFiles : public TTempFolderFixture
{
protected:
    static void Put(const fs::path& path, const std::string& text)
    {
        std::ofstream(path, std::ios::binary) << text;
    }
    // Runs the script in the test's folder with $Q naming the program; its
    // standard output and error are kept apart from the shell's own.
    TShellResult Shell(const std::string& script) const
    {
        const std::string command = "cd '" + Dir.string() + "' && Q='" + QURVIA_BINARY +
                                    "' && export Q && (" + script + ") >.out 2>.err";
        const int status = std::system(command.c_str());
        TShellResult result;
        result.Status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        result.Out = ReadWholeFile(Dir / ".out");
        result.Err = ReadWholeFile(Dir / ".err");
        fs::remove(Dir / ".out");
        fs::remove(Dir / ".err");
        return result;
    }
};

const char* const kTwoLines = "0.000   0.000\r\n1.000   1.000\r\n";
const char* const kTwoPoints = "--formula x --xmin 0 --xmax 1 --step 1";

TEST_F(BatchFiles, AWholeRunErrorLeavesExistingFilesAlone)
{
    struct Row {
        const char* name;
        const char* args;
        const char* message;
    };
    const Row rows[] = {
        {"formula", "--formula 'sin(x'", "Parse error: ')' to close function's parameters expected.\n"},
        {"step", "--step 0", "Step must be non zero.\n"},
        {"field", "--xmin abc", "'abc' is not a valid floating point value.\n"},
    };
    for (const Row& row : rows) {
        for (const char* outputs : {"--table t.txt", "--image t.png", "--table t.txt --image t.png"}) {
            Put(Dir / "t.txt", "old table");
            Put(Dir / "t.png", "old image");
            TShellResult r = Shell(std::string("\"$Q\" ") + row.args + " " + outputs);
            EXPECT_EQ(r.Status, 1) << row.name << ' ' << outputs;
            EXPECT_EQ(r.Err, row.message) << row.name << ' ' << outputs;
            EXPECT_EQ(ReadWholeFile(Dir / "t.txt"), "old table") << row.name << ' ' << outputs;
            EXPECT_EQ(ReadWholeFile(Dir / "t.png"), "old image") << row.name << ' ' << outputs;
        }
        fs::remove(Dir / "t.txt");
        fs::remove(Dir / "t.png");
        EXPECT_EQ(Shell(std::string("\"$Q\" ") + row.args + " --table t.txt --image t.png").Status, 1);
        EXPECT_EQ(Entries(), 0u) << row.name << ": nothing is created";
    }
}

TEST_F(BatchFiles, TableTargetsOfEveryKind)
{
    // A pipe is read as it is written.
    TShellResult pipe = Shell(std::string("mkfifo p && { cat p > got & } && \"$Q\" ") + kTwoPoints +
                              " --table p; s=$?; wait; exit $s");
    EXPECT_EQ(pipe.Status, 0) << pipe.Err;
    EXPECT_EQ(ReadWholeFile(Dir / "got"), kTwoLines);
    EXPECT_TRUE(fs::is_fifo(Dir / "p"));

    // A link to standard output writes there.
    TShellResult out =
        Shell(std::string("ln -s /dev/stdout so && \"$Q\" ") + kTwoPoints + " --table so | cat");
    EXPECT_EQ(out.Status, 0) << out.Err;
    EXPECT_EQ(out.Out, kTwoLines);
    EXPECT_TRUE(fs::is_symlink(Dir / "so"));

    // A dangling link creates the file it names.
    TShellResult dangling = Shell(std::string("ln -s made.txt dl && \"$Q\" ") + kTwoPoints + " --table dl");
    EXPECT_EQ(dangling.Status, 0) << dangling.Err;
    EXPECT_TRUE(fs::is_symlink(Dir / "dl"));
    EXPECT_EQ(ReadWholeFile(Dir / "made.txt"), kTwoLines);

    // A write-protected file is refused, also for root.
    Put(Dir / "locked.txt", "old");
    fs::permissions(Dir / "locked.txt", fs::perms::owner_read);
    TShellResult locked = Shell(std::string("\"$Q\" ") + kTwoPoints + " --table locked.txt");
    EXPECT_EQ(locked.Status, 1);
    EXPECT_EQ(locked.Err, "Cannot create file locked.txt.\n");
    EXPECT_EQ(ReadWholeFile(Dir / "locked.txt"), "old");
}

TEST_F(BatchFiles, ADeviceStaysADevice)
{
    if (mknod((Dir / "null").c_str(), S_IFCHR | 0666, makedev(1, 3)) != 0)
        GTEST_SKIP() << "cannot make a device node here (needs root)";
    TShellResult r = Shell(std::string("\"$Q\" ") + kTwoPoints + " --table null && test -c null");
    EXPECT_EQ(r.Status, 0) << r.Err;
}

TEST_F(BatchFiles, NamesKeepTheirBytes)
{
    TShellResult r =
        Shell(std::string("\"$Q\" ") + kTwoPoints +
              " --table \"$(printf 'caf\\351.txt')\" && \"$Q\" --formula 2*x --xmin 0 --xmax 1 "
              "--step 1 --table \"$(printf 'caf\\303\\251.txt')\" && \"$Q\" --image \"$(printf "
              "'caf\\351.png')\" && \"$Q\" --image \"$(printf 'caf\\303\\251.png')\" --size 20x20");
    EXPECT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(ReadWholeFile(Dir / "caf\xe9.txt"), kTwoLines);
    EXPECT_EQ(ReadWholeFile(Dir / "caf\xc3\xa9.txt"), "0.000   0.000\r\n1.000   2.000\r\n");
    EXPECT_TRUE(fs::exists(Dir / "caf\xe9.png"));
    EXPECT_TRUE(fs::exists(Dir / "caf\xc3\xa9.png"));
    EXPECT_EQ(Entries(), 4u);
}

TEST_F(BatchFiles, SettingsNamesKeepTheirBytes)
{
    // The same blue line colour read from a file whose name is not UTF-8
    // and from one that is plain: the two pictures are the same, and not
    // the picture with the default red line.
    TShellResult r =
        Shell("printf '[Appearance]\\nElement_Color=16711680\\n' > \"$(printf 'caf\\351.ini')\" && "
              "cp \"$(printf 'caf\\351.ini')\" plain.ini && "
              "\"$Q\" --settings \"$(printf 'caf\\351.ini')\" --image a.bmp && "
              "\"$Q\" --settings plain.ini --image b.bmp && \"$Q\" --image red.bmp");
    ASSERT_EQ(r.Status, 0) << r.Err;
    EXPECT_EQ(ReadWholeFile(Dir / "a.bmp"), ReadWholeFile(Dir / "b.bmp"));
    EXPECT_NE(ReadWholeFile(Dir / "a.bmp"), ReadWholeFile(Dir / "red.bmp"));
}

TEST_F(BatchFiles, AnImageTooLargeForTheMemoryIsAnError)
{
    // The window program and its libraries fit in this limit; the bitmap
    // of 16384 x 16384 pixels (1 GiB) does not.
    TShellResult r = Shell("ulimit -v 700000 && \"$Q\" --image big.bmp --size 16384x16384");
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "The image is too large for the memory available.\n");
    EXPECT_FALSE(fs::exists(Dir / "big.bmp"));
}

TEST_F(BatchFiles, AFullStandardOutputIsAnError)
{
    TShellResult r = Shell(std::string("\"$Q\" ") + kTwoPoints + " --table - >/dev/full");
    EXPECT_EQ(r.Status, 1);
    EXPECT_EQ(r.Err, "Cannot write to standard output.\n");
}

TEST_F(BatchFiles, SettingsFileMustBeARegularFile)
{
    struct Row {
        const char* name;
        const char* setUp;
        bool root; // the case needs root (a device node), or cannot be made as root
    };
    const Row rows[] = {
        {"pipe", "mkfifo s.ini", geteuid() == 0},
        {"folder", "mkdir s.ini", geteuid() == 0},
        {"device", "mknod s.ini c 1 3", true},
        {"unreadable", "echo '[Appearance]' > s.ini && chmod 000 s.ini", false},
    };
    for (const Row& row : rows) {
        if (row.root != (geteuid() == 0)) continue;
        TShellResult r = Shell(std::string(row.setUp) + " && \"$Q\" --settings s.ini --table -");
        EXPECT_EQ(r.Status, 2) << row.name;
        EXPECT_TRUE(r.Err.starts_with("qurvia: --settings cannot use s.ini: ")) << row.name << ": " << r.Err;
        EXPECT_EQ(r.Out, "") << row.name;
        fs::remove_all(Dir / "s.ini");
    }
    // A missing one is no error: the window would create it.
    TShellResult missing = Shell(std::string("\"$Q\" ") + kTwoPoints + " --settings s.ini --table -");
    EXPECT_EQ(missing.Status, 0) << missing.Err;
}

TEST_F(BatchFiles, NoDisplayIsAUsageErrorThatNamesTheWayOut)
{
    TShellResult r = Shell("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \"$Q\" --formula x");
    EXPECT_EQ(r.Status, 2);
    EXPECT_EQ(r.Err,
              "qurvia: no display is available for the window; --table and --image work without one\n");
    TShellResult headless = Shell(
        std::string("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM \"$Q\" --table - ") + kTwoPoints);
    EXPECT_EQ(headless.Status, 0);
}

} // namespace
} // namespace qrv::test
