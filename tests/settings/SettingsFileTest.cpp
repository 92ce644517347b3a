// The settings file: its location, the handle's read and write rules, and
// the typed values stored in it, on temporary files.
#include "QrvIniValues.h"
#include "QrvSettingsFile.h"
#include "QrvSettingsText.h"
#include "RowNames.h"
#include "SettingsTestSupport.h"

#include <QDir>

#include <gtest/gtest.h>

#include <set>

namespace qrv
{
namespace
{

using test::TTempSettings;

// ---- location --------------------------------------------------------------

struct NameCase {
    const char* name;
    const char* program;
    const char* expected;
};

class SettingsFileName : public ::testing::TestWithParam<NameCase>
{
};

TEST_P(SettingsFileName, IsUpperCasedProgramNameWithIni)
{
    EXPECT_EQ(SettingsFileNameFor(GetParam().program).toStdString(), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsFileName,
                         ::testing::Values(NameCase{"linux_program", "qurvia", "QURVIA.INI"},
                                           NameCase{"windows_program", "qurvia.exe", "QURVIA.INI"},
                                           NameCase{"upper_case_exe", "Qurvia.EXE", "QURVIA.INI"},
                                           NameCase{"exe_inside_name", "nexes", "NEXES.INI"},
                                           NameCase{"dotted_name", "qurvia-1.3", "QURVIA-1.3.INI"}),
                         test::RowName{});

struct LocateCase {
    const char* name;
    std::set<std::string> writable; // paths the predicate calls writable
    bool fileExists;
    bool expectBesideProgram;
};

class SettingsFileLocation : public ::testing::TestWithParam<LocateCase>
{
};

TEST_P(SettingsFileLocation, ChoosesWritablePlace)
{
    const auto& c = GetParam();
    TTempSettings temp;
    QDir(temp.Dir()).mkdir("bin");
    QString bin = temp.Dir() + "/bin";
    QString config = temp.Dir() + "/config";
    if (c.fileExists) TTempSettings::WriteFile(bin + "/QURVIA.INI", "");
    auto writable = [&](const QString& path) {
        QString relative = QDir(temp.Dir()).relativeFilePath(path);
        return c.writable.count(relative.toStdString()) > 0;
    };
    QString located = LocateSettingsFile(bin + "/qurvia", config, writable);
    EXPECT_EQ(located, (c.expectBesideProgram ? bin : config) + "/QURVIA.INI");
}

INSTANTIATE_TEST_SUITE_P(Cases, SettingsFileLocation,
                         ::testing::Values(LocateCase{"writable_program_dir", {"bin"}, false, true},
                                           LocateCase{"installed_program", {}, false, false},
                                           LocateCase{
                                               "writable_file_in_locked_dir", {"bin/QURVIA.INI"}, true, true},
                                           LocateCase{"locked_file_in_writable_dir", {"bin"}, true, false}),
                         test::RowName{});

TEST(SettingsFileLocation, OverrideWins)
{
    SetSettingsFilePath("/somewhere/else.ini");
    EXPECT_EQ(SettingsFilePath(), "/somewhere/else.ini");
    SetSettingsFilePath(QString());
    EXPECT_NE(SettingsFilePath(), "/somewhere/else.ini");
}

// ---- handle ----------------------------------------------------------------

TEST(SettingsFile, MissingFileGivesDefaultsAndIsCreatedOnClose)
{
    TTempSettings temp;
    temp.Open();
    EXPECT_EQ(ReadIniInteger("Appearance", "Element_Color", 255), 255);
    WriteIniInteger("Appearance", "Element_Color", 7);
    EXPECT_EQ(ReadIniInteger("Appearance", "Element_Color", 255), 7) << "own writes are read back";
    EXPECT_FALSE(temp.Exists()) << "nothing is written while the program runs";
    CloseSettingsFile();
    EXPECT_EQ(temp.ReadFile(), "[Appearance]\nElement_Color=7\n");
}

TEST(SettingsFile, WithoutHandleReadsDefaultsAndWritesNothing)
{
    TTempSettings temp;
    TTempSettings::DropHandle();
    EXPECT_EQ(ReadIniString("System", "Output_File", "output.txt"), "output.txt");
    WriteIniString("System", "Output_File", "x");
    EXPECT_NO_THROW(CloseSettingsFile());
    EXPECT_FALSE(temp.Exists());
}

TEST(SettingsFile, CloseKeepsWhatOthersWroteMeanwhile)
{
    TTempSettings temp;
    temp.WriteFile("[A]\nk=1\n");
    temp.Open();
    WriteIniInteger("A", "k", 2);
    temp.WriteFile("; edited by hand\n[A]\nk=1\nadded=yes\n");
    CloseSettingsFile();
    EXPECT_EQ(temp.ReadFile(), "; edited by hand\n[A]\nk=2\nadded=yes\n");
}

TEST(SettingsFile, LastWriteOfAKeyWins)
{
    TTempSettings temp;
    temp.Open();
    WriteIniInteger("A", "k", 1);
    WriteIniInteger("A", "k", 2);
    CloseSettingsFile();
    EXPECT_EQ(temp.ReadFile(), "[A]\nk=2\n");
}

TEST(SettingsFile, CreatesMissingDirectory)
{
    TTempSettings temp;
    QString path = temp.Dir() + "/deeper/still/QURVIA.INI";
    OpenSettingsFile(path);
    WriteIniBool("General", "Use_Enhanced_Metafiles", false);
    CloseSettingsFile();
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll().toStdString(), "[General]\nUse_Enhanced_Metafiles=0\n");
}

TEST(SettingsFile, UnreadableFileIsReportedNotReplaced)
{
    TTempSettings temp;
    QDir(temp.Dir()).mkdir("QURVIA.INI"); // a directory where the file should be
    temp.Open();
    EXPECT_EQ(ReadIniInteger("A", "k", 3), 3);
    WriteIniInteger("A", "k", 4);
    try {
        CloseSettingsFile();
        FAIL() << "a failed write must be reported";
    } catch (const ESettingsError& error) {
        EXPECT_EQ(error.Message(), "Unable to write to " + temp.Path().toStdString());
    }
    EXPECT_EQ(SettingsFile(), nullptr) << "the handle is released all the same";
}

TEST(SettingsFile, OversizedFileIsNeitherReadNorReplaced)
{
    TTempSettings temp;
    std::string big = "[A]\nk=1\n" + std::string(std::size_t(TSettingsFile::kMaxFileSize), ';');
    temp.WriteFile(big);
    temp.Open();
    EXPECT_EQ(ReadIniInteger("A", "k", 9), 9);
    WriteIniInteger("A", "k", 2);
    EXPECT_THROW(CloseSettingsFile(), ESettingsError);
    EXPECT_EQ(temp.ReadFile().size(), big.size());
}

TEST(SettingsFile, GarbledFileGivesDefaultsAndKeepsItsBytes)
{
    TTempSettings temp;
    std::string garbage;
    for (int i = 0; i < 4096; ++i)
        garbage += char((i * 7919 + 13) % 256);
    temp.WriteFile(garbage);
    temp.Open();
    EXPECT_EQ(ReadIniInteger("Appearance", "Element_Color", 255), 255);
    EXPECT_TRUE(ReadIniBool("General", "Use_Enhanced_Metafiles", true));
    WriteIniInteger("Appearance", "Element_Color", 255);
    CloseSettingsFile();
    std::string after = temp.ReadFile();
    EXPECT_EQ(after.substr(0, garbage.size()), garbage);
    temp.Open();
    EXPECT_EQ(ReadIniInteger("Appearance", "Element_Color", 0), 255);
}

TEST(SettingsFile, UnchangedFileIsNotRewritten)
{
    TTempSettings temp;
    temp.WriteFile("[A]\nk=1\n");
    QFile::setPermissions(temp.Path(), QFileDevice::ReadOwner);
    temp.Open();
    WriteIniInteger("A", "k", 1);
    EXPECT_NO_THROW(CloseSettingsFile());
    EXPECT_EQ(temp.ReadFile(), "[A]\nk=1\n");
}

TEST(SettingsFile, StringValuesAreCutTo2047BytesWithoutSplittingCharacters)
{
    TTempSettings temp;
    std::string longAscii(3000, 'a');
    std::string longUtf8 = std::string(2046, 'b') + "\xC3\xBC" + "tail"; // "ü" straddles byte 2047
    temp.WriteFile("[S]\nascii=" + longAscii + "\nutf8=" + longUtf8 + "\n");
    temp.Open();
    EXPECT_EQ(ReadIniString("S", "ascii", ""), std::string(2047, 'a'));
    EXPECT_EQ(ReadIniString("S", "utf8", ""), std::string(2046, 'b'));
}

TEST(SettingsFile, DefaultLosesTrailingBlanks)
{
    TTempSettings temp;
    temp.Open();
    EXPECT_EQ(ReadIniString("S", "missing", "  value  "), "  value");
}

// ---- typed values ----------------------------------------------------------

struct StoredCase {
    const char* name;
    const char* stored;   // the text after "k=", or nullptr for no line
    std::int32_t integer; // ReadIniInteger with default 255
    bool boolean;         // ReadIniBool with default true
};

class StoredValues : public ::testing::TestWithParam<StoredCase>
{
};

TEST_P(StoredValues, ReadAsStated)
{
    const auto& c = GetParam();
    TTempSettings temp;
    temp.WriteFile(c.stored ? std::string("[S]\nk=") + c.stored + "\n" : "[S]\n");
    temp.Open();
    EXPECT_EQ(ReadIniInteger("S", "k", 255), c.integer);
    EXPECT_EQ(ReadIniBool("S", "k", true), c.boolean);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, StoredValues,
    ::testing::Values(StoredCase{"absent", nullptr, 255, true}, StoredCase{"decimal", "65280", 65280, true},
                      StoredCase{"hex_0x", "0xFF00", 65280, true},
                      StoredCase{"hex_dollar", "$ff00", 65280, true}, StoredCase{"negative", "-5", -5, true},
                      StoredCase{"zero", "0", 0, false}, StoredCase{"two_is_true", "2", 2, true},
                      StoredCase{"letters", "abc", 255, true},
                      StoredCase{"digits_then_letters", "12abc", 255, true},
                      StoredCase{"empty", "", 255, true}, StoredCase{"too_large", "2147483648", 255, true},
                      StoredCase{"smallest", "-2147483648", INT32_MIN, true},
                      StoredCase{"hex_all_bits", "0xFFFFFFFF", -1, true},
                      StoredCase{"hex_too_long", "0x100000000", 255, true},
                      StoredCase{"quoted", "\"17\"", 17, true}),
    test::RowName{});

TEST(StoredValues, TypedWritesUseTheirFormats)
{
    TTempSettings temp;
    temp.Open();
    WriteIniInteger("S", "int", -7);
    WriteIniBool("S", "yes", true);
    WriteIniBool("S", "no", false);
    WriteIniString("S", "text", "C:\\out put.txt");
    WriteIniFloat("S", "float", 3.5);
    WriteIniFloat("S", "negative", -0.125);
    CloseSettingsFile();
    EXPECT_EQ(temp.ReadFile(), "[S]\nint=-7\nyes=1\nno=0\ntext=C:\\out put.txt\nfloat=3.50000000\n"
                               "negative=-0.12500000\n");
}

struct ParseIntegerCase {
    const char* name;
    const char* text;
    std::optional<std::int32_t> expected;
};

class ParseIntegerText : public ::testing::TestWithParam<ParseIntegerCase>
{
};

TEST_P(ParseIntegerText, AcceptsDecimalAndHex)
{
    EXPECT_EQ(ParseInteger(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ParseIntegerText,
    ::testing::Values(ParseIntegerCase{"plain", "42", 42}, ParseIntegerCase{"leading_blank", " 42", 42},
                      ParseIntegerCase{"leading_tab", "\t42", 42},
                      ParseIntegerCase{"trailing_blank", "42 ", std::nullopt},
                      ParseIntegerCase{"empty", "", std::nullopt},
                      ParseIntegerCase{"only_blanks", "  ", std::nullopt},
                      ParseIntegerCase{"plus", "+42", 42}, ParseIntegerCase{"minus", "-42", -42},
                      ParseIntegerCase{"lone_sign", "-", std::nullopt}, ParseIntegerCase{"dollar", "$2A", 42},
                      ParseIntegerCase{"zero_x", "0x2A", 42}, ParseIntegerCase{"zero_upper_x", "0X2a", 42},
                      ParseIntegerCase{"x", "x2A", 42}, ParseIntegerCase{"upper_x", "X2A", 42},
                      ParseIntegerCase{"prefix_only", "$", std::nullopt},
                      ParseIntegerCase{"zero_x_only", "0x", std::nullopt},
                      ParseIntegerCase{"signed_hex", "-$2A", std::nullopt},
                      ParseIntegerCase{"bad_hex_digit", "$2G", std::nullopt},
                      ParseIntegerCase{"largest", "2147483647", INT32_MAX},
                      ParseIntegerCase{"above_largest", "2147483648", std::nullopt},
                      ParseIntegerCase{"smallest", "-2147483648", INT32_MIN},
                      ParseIntegerCase{"below_smallest", "-2147483649", std::nullopt},
                      ParseIntegerCase{"many_digits", "99999999999999999999", std::nullopt},
                      ParseIntegerCase{"high_bit_hex", "$80000005", INT32_MIN + 5},
                      ParseIntegerCase{"decimal_point", "4.2", std::nullopt}),
    test::RowName{});

struct DisplayCase {
    const char* name;
    double value;
    const char* format;
    char separator;
    const char* expected;
};

class DisplayFloat : public ::testing::TestWithParam<DisplayCase>
{
};

TEST_P(DisplayFloat, FollowsFormatText)
{
    const auto& c = GetParam();
    EXPECT_EQ(FormatDisplayFloat(c.value, c.format, c.separator), c.expected);
}

INSTANTIATE_TEST_SUITE_P(Cases, DisplayFloat,
                         ::testing::Values(DisplayCase{"general", 0.1, "%.6g", '.', "0.1"},
                                           DisplayCase{"general_rounds", 3.14159265, "%.6g", '.', "3.14159"},
                                           DisplayCase{"general_large", 1234567.0, "%.6g", '.',
                                                       "1.23457e+06"},
                                           DisplayCase{"fixed", 2.5, "%.3f", '.', "2.500"},
                                           DisplayCase{"fixed_comma", 2.5, "%.3f", ',', "2,500"},
                                           DisplayCase{"exponent", 2.5, "%.2e", '.', "2.50e+00"},
                                           DisplayCase{"zero_precision", 2.5, "%.0f", '.', "2"},
                                           DisplayCase{"negative", -0.5, "%.6g", ',', "-0,5"}),
                         test::RowName{});

TEST(IniFloat, FormatsEightFixedDecimals)
{
    EXPECT_EQ(FormatIniFloat(3.5), "3.50000000");
    EXPECT_EQ(FormatIniFloat(-1e-9), "-0.00000000");
    EXPECT_EQ(FormatIniFloat(12345678.123456789), "12345678.12345679");
}

} // namespace
} // namespace qrv
