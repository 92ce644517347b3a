// The file-name rules of Save as and the text file of the table, without a
// window.
#include "QrvExportFiles.h"
#include "QrvExportNames.h"
#include "QrvExportTexts.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <string>

namespace qrv
{
namespace
{

struct TNameCase {
    const char* Name;
    const char* Input;
    int Index;
    const char* Expected;
};
void PrintTo(const TNameCase& c, std::ostream* os)
{
    *os << c.Name;
}

// --- the name the dialog proposes from Output_File -------------------------

class ProposedName : public testing::TestWithParam<TNameCase>
{
};

TEST_P(ProposedName, IsTheBareNameOfTheLastFile)
{
    EXPECT_EQ(ProposedFileName(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Export, ProposedName,
                         testing::Values(TNameCase{"default", "output.txt", 0, "output"},
                                         TNameCase{"folder_dropped", "/data/curve.bmp", 0, "curve"},
                                         TNameCase{"dotted_folder", "/a.b/curve", 0, "curve"},
                                         TNameCase{"last_dot_only", "/d/archive.tar.gz", 0, "archive.tar"},
                                         TNameCase{"invalid_extension", "/d/points.dat", 0, "points"},
                                         TNameCase{"extension_only", "/d/.txt", 0, ""},
                                         TNameCase{"folder_only", "/d/", 0, ""},
                                         TNameCase{"empty", "", 0, ""}),
                         test::RowName{});

// --- the folder the dialog opens in -------------------------------------------

class Folder : public testing::TestWithParam<TNameCase>
{
};

TEST_P(Folder, IsThePartBeforeTheLastSlash)
{
    EXPECT_EQ(FolderOf(GetParam().Input), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Export, Folder,
                         testing::Values(TNameCase{"bare_name", "output.txt", 0, ""},
                                         TNameCase{"absolute", "/data/results/curve.bmp", 0, "/data/results"},
                                         TNameCase{"root", "/curve.bmp", 0, "/"},
                                         TNameCase{"relative", "sub/curve.bmp", 0, "sub"},
                                         TNameCase{"folder_only", "/d/", 0, "/d"},
                                         TNameCase{"empty", "", 0, ""}),
                         test::RowName{});

// --- the target formed from the dialog's name and file type ----------------

class TargetName : public testing::TestWithParam<TNameCase>
{
};

TEST_P(TargetName, AddsTheTypeExtensionOnlyWhenTheNameHasNone)
{
    EXPECT_EQ(TargetFileName(GetParam().Input, GetParam().Index), GetParam().Expected);
}

INSTANTIATE_TEST_SUITE_P(Export, TargetName,
                         testing::Values(TNameCase{"text_type", "/d/curve", 1, "/d/curve.txt"},
                                         TNameCase{"bitmap_type", "/d/curve", 2, "/d/curve.bmp"},
                                         TNameCase{"metafile_type", "/d/curve", 3, "/d/curve.wmf"},
                                         TNameCase{"enhanced_type", "/d/curve", 4, "/d/curve.emf"},
                                         TNameCase{"own_extension_kept", "/d/curve.txt", 2, "/d/curve.txt"},
                                         TNameCase{"invalid_extension_kept", "/d/curve.dat", 1,
                                                   "/d/curve.dat"},
                                         TNameCase{"trailing_dot_kept", "/d/curve.", 1, "/d/curve."},
                                         TNameCase{"dot_in_folder_only", "/d.v1/curve", 3, "/d.v1/curve.wmf"},
                                         TNameCase{"no_type", "/d/curve", 0, "/d/curve"},
                                         TNameCase{"csv_type", "/d/curve", 5, "/d/curve.csv"},
                                         TNameCase{"type_out_of_range", "/d/curve", 9, "/d/curve"}),
                         test::RowName{});

// --- the name box after a type change ---------------------------------------

class TypeChange : public testing::TestWithParam<TNameCase>
{
};

TEST_P(TypeChange, ReplacesOrAppendsTheExtension)
{
    const auto result = TypeChangedFileName(GetParam().Input, GetParam().Index);
    if (GetParam().Expected == nullptr) {
        EXPECT_FALSE(result.has_value());
    } else {
        ASSERT_TRUE(result.has_value());
        EXPECT_EQ(*result, GetParam().Expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Export, TypeChange,
                         testing::Values(TNameCase{"append", "curve", 2, "curve.bmp"},
                                         TNameCase{"replace", "curve.txt", 2, "curve.bmp"},
                                         TNameCase{"to_enhanced", "curve", 4, "curve.emf"},
                                         TNameCase{"back_to_text", "curve.emf", 1, "curve.txt"},
                                         TNameCase{"to_metafile", "curve.EMF", 3, "curve.wmf"},
                                         TNameCase{"empty_box", "", 2, ".bmp"},
                                         TNameCase{"last_extension_only", "a.tar.gz", 1, "a.tar.txt"},
                                         TNameCase{"path_with_dotted_folder", "/d.v1/curve", 4,
                                                   "/d.v1/curve.emf"},
                                         TNameCase{"index_zero_does_nothing", "curve", 0, nullptr},
                                         TNameCase{"to_csv", "curve.txt", 5, "curve.csv"},
                                         TNameCase{"index_nine_does_nothing", "curve.txt", 9, nullptr}),
                         test::RowName{});

// --- the format chosen by the extension -------------------------------------

struct TKindCase {
    const char* Name;
    const char* Target;
    std::optional<TExportKind> Kind;
};
void PrintTo(const TKindCase& c, std::ostream* os)
{
    *os << c.Name;
}

class KindOfTarget : public testing::TestWithParam<TKindCase>
{
};

TEST_P(KindOfTarget, FollowsTheExtensionWhateverItsCase)
{
    EXPECT_EQ(ExportKindOf(GetParam().Target), GetParam().Kind);
}

INSTANTIATE_TEST_SUITE_P(Export, KindOfTarget,
                         testing::Values(TKindCase{"txt", "/d/c.txt", TExportKind::Text},
                                         TKindCase{"TXT", "/d/C.TXT", TExportKind::Text},
                                         TKindCase{"bmp", "/d/c.bmp", TExportKind::Bitmap},
                                         TKindCase{"Bmp", "/d/c.Bmp", TExportKind::Bitmap},
                                         TKindCase{"wmf", "/d/c.wmf", TExportKind::Metafile},
                                         TKindCase{"WMF", "/d/c.WMF", TExportKind::Metafile},
                                         TKindCase{"emf", "/d/c.emf", TExportKind::EnhMetafile},
                                         TKindCase{"eMf", "/d/c.eMf", TExportKind::EnhMetafile},
                                         TKindCase{"csv", "/d/c.csv", TExportKind::Csv},
                                         TKindCase{"CSV", "/d/c.CSV", TExportKind::Csv},
                                         TKindCase{"dat", "/d/c.dat", std::nullopt},
                                         TKindCase{"txt_then_more", "/d/c.txt.bak", std::nullopt},
                                         TKindCase{"longer_than_txt", "/d/c.txts", std::nullopt},
                                         TKindCase{"none", "/d.txt/c", std::nullopt},
                                         TKindCase{"dot_only", "/d/c.", std::nullopt}),
                         test::RowName{});

TEST(ExportFilter, TypesAndExtensionsStayInStep)
{
    const auto types = ParseFilter(ExportText::SaveFilter);
    ASSERT_EQ(types.size(), 8u);
    const char* labels[] = {
        "Text (*.txt)", "Bitmap (*.bmp)",    "Metafile (*.wmf)",  "Enhanced metafile (*.emf)",
        "CSV (*.csv)",  "PNG image (*.png)", "SVG image (*.svg)", "PDF document (*.pdf)"};
    for (int index = 1; index <= 8; ++index) {
        const auto& type = types[static_cast<std::size_t>(index - 1)];
        SCOPED_TRACE(type.Label);
        EXPECT_EQ(type.Label, labels[index - 1]);
        ASSERT_TRUE(ExtensionOfFilterIndex(index).has_value());
        EXPECT_EQ(type.Pattern, "*" + std::string(*ExtensionOfFilterIndex(index)));
        // A name given the extension of a type is saved in that type's format.
        EXPECT_EQ(ExportKindOf(TargetFileName("c", index)), static_cast<TExportKind>(index - 1));
    }
}

// --- the text file ----------------------------------------------------------

struct TTextCase {
    const char* Name;
    const char* Table;
    const char* File;
};
void PrintTo(const TTextCase& c, std::ostream* os)
{
    *os << c.Name;
}

class TableFile : public testing::TestWithParam<TTextCase>
{
};

TEST_P(TableFile, EndsEveryLineWithCarriageReturnAndLineFeed)
{
    const QByteArray bytes = TableFileBytes(QString::fromUtf8(GetParam().Table));
    EXPECT_EQ(bytes.toStdString(), GetParam().File);
}

INSTANTIATE_TEST_SUITE_P(Export, TableFile,
                         testing::Values(TTextCase{"empty_table_empty_file", "", ""},
                                         TTextCase{"one_line", "0.000   1.000", "0.000   1.000\r\n"},
                                         TTextCase{"two_lines", "0.000   1.000\n1.000   2.000",
                                                   "0.000   1.000\r\n1.000   2.000\r\n"},
                                         TTextCase{"final_break_adds_no_line", "a\nb\n", "a\r\nb\r\n"},
                                         TTextCase{"only_a_break", "\n", "\r\n"},
                                         TTextCase{"empty_line_kept", "a\n\nb", "a\r\n\r\nb\r\n"},
                                         TTextCase{"crlf_not_doubled", "a\r\nb", "a\r\nb\r\n"},
                                         TTextCase{"lone_cr", "a\rb", "a\r\nb\r\n"},
                                         TTextCase{"edited_text_kept", "0,500   x²",
                                                   "0,500   x\xC2\xB2\r\n"}),
                         test::RowName{});

TEST(TableFile, SixtyLinesGiveSixtyTerminatedLines)
{
    QString table;
    for (int i = 0; i < 60; ++i) {
        if (i) table += '\n';
        table += QStringLiteral("%1.000   %2.000").arg(i).arg(i * i);
    }
    const QByteArray bytes = TableFileBytes(table);
    EXPECT_EQ(bytes.count("\r\n"), 60);
    EXPECT_EQ(bytes.count('\n'), 60);
    EXPECT_TRUE(bytes.startsWith("0.000   0.000\r\n1.000   1.000\r\n"));
    EXPECT_TRUE(bytes.endsWith("59.000   3481.000\r\n"));
}

} // namespace
} // namespace qrv
