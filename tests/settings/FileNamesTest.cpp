// File names that are not UTF-8 keep their bytes through QString, and the
// settings file is read and written under exactly those bytes.
#include "QrvFileNames.h"
#include "QrvSettingsFile.h"
#include "WholeFile.h"

#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <fstream>

namespace qrv::test
{
namespace
{

TEST(FileNames, BytesSurviveTheRoundTrip)
{
    struct Row {
        const char* name;
        std::string bytes;
    };
    const Row rows[] = {
        {"ascii", "plain.ini"},
        {"utf-8", "caf\xc3\xa9.ini"},
        {"latin-1", "caf\xe9.ini"},
        {"lone continuation", "a\x80z"},
        {"cut sequence", "x\xe2\x82"},
        {"overlong slash", "\xc0\xaf"},
        {"encoded surrogate", "\xed\xb2\x80"},
        {"four bytes", "\xf0\x9f\x99\x82"},
        {"every high byte",
         [] {
             std::string all;
             for (int c = 0x80; c <= 0xFF; ++c)
                 all += static_cast<char>(c);
             return all;
         }()},
    };
    for (const Row& row : rows)
        EXPECT_EQ(FileNameBytes(FileNameFromBytes(row.bytes)), row.bytes) << row.name;
    EXPECT_EQ(FileNameFromBytes("caf\xc3\xa9"), QStringLiteral("caf\u00e9")) << "UTF-8 reads as text";
    EXPECT_NE(FileNameFromBytes("caf\xe9"), FileNameFromBytes("caf\xc3\xa9"))
        << "distinct names stay distinct";
}

TEST(FileNames, SettingsFileUnderANameThatIsNotUtf8)
{
    QTemporaryDir dir;
    const std::string latin1 = FileNameBytes(dir.path()) + "/caf\xe9.ini";
    std::ofstream(latin1, std::ios::binary) << "[A]\nk=old\n";
    {
        TSettingsFile file(FileNameFromBytes(latin1));
        EXPECT_EQ(file.ReadString("A", "k", ""), "old");
        file.WriteString("A", "k", "new");
        file.Flush();
    }
    EXPECT_EQ(ReadWholeFile(latin1), "[A]\nk=new\n");
}

} // namespace
} // namespace qrv::test
