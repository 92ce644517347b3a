// Writing the table as a text file: the bytes, and what happens around an
// existing file.
#include "MessageOf.h"
#include "QrvErrors.h"
#include "QrvTableBatch.h"
#include "TempFolder.h"
#include "WholeFile.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace qrv::test
{
namespace
{

namespace fs = std::filesystem;

class TableFile : public TTempFolderFixture
{
protected:
    void SetUp() override
    {
        TTempFolderFixture::SetUp();
        Table.AddLine(817, 5.22);
        Table.AddLine(837, 5.20912);
    }

    TTableText Table;
};

TEST_F(TableFile, LinesEndedByCrLf)
{
    WriteTableFile((Dir / "t.txt").string(), Table);
    EXPECT_EQ(ReadWholeFile(Dir / "t.txt"), "817.000   5.220\r\n837.000   5.209\r\n");
    EXPECT_EQ(Entries(), 1u) << "no temporary file is left";
}

TEST_F(TableFile, EmptyTableGivesEmptyFile)
{
    WriteTableFile((Dir / "t.txt").string(), TTableText());
    EXPECT_TRUE(fs::exists(Dir / "t.txt"));
    EXPECT_EQ(fs::file_size(Dir / "t.txt"), 0u);
}

TEST_F(TableFile, ReplacesAnExistingFileKeepingItsPermissions)
{
    std::ofstream(Dir / "t.txt") << "old contents that are longer than the table\n";
    fs::permissions(Dir / "t.txt", fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
    WriteTableFile((Dir / "t.txt").string(), Table);
    EXPECT_EQ(ReadWholeFile(Dir / "t.txt"), "817.000   5.220\r\n837.000   5.209\r\n");
    EXPECT_EQ(fs::status(Dir / "t.txt").permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(TableFile, WritesThroughASymbolicLink)
{
    std::ofstream(Dir / "real.txt") << "old";
    fs::create_symlink(Dir / "real.txt", Dir / "link.txt");
    WriteTableFile((Dir / "link.txt").string(), Table);
    EXPECT_TRUE(fs::is_symlink(Dir / "link.txt"));
    EXPECT_EQ(ReadWholeFile(Dir / "real.txt"), "817.000   5.220\r\n837.000   5.209\r\n");
}

TEST_F(TableFile, FailureNamesTheFileAndLeavesNothingBehind)
{
    const std::string name = (Dir / "missing" / "t.txt").string();
    EXPECT_EQ(MessageOf([&] { WriteTableFile(name, Table); }), "Cannot create file " + name);
    EXPECT_EQ(Entries(), 0u);
}

TEST_F(TableFile, AFolderInTheWayIsNotReplaced)
{
    fs::create_directory(Dir / "t.txt");
    EXPECT_THROW(WriteTableFile((Dir / "t.txt").string(), Table), Exception);
    EXPECT_TRUE(fs::is_directory(Dir / "t.txt"));
    EXPECT_EQ(Entries(), 1u);
}

TEST(TableOutput, StandardOutputGetsLineFeeds)
{
    TTableText table;
    table.AddLine(1, 2);
    std::ostringstream out;
    WriteTable("-", table, out);
    EXPECT_EQ(out.str(), "1.000   2.000\n");
}

} // namespace
} // namespace qrv::test
