// Save as against a scripted dialog and a fake source: every path through
// the command, the type-change handler while the dialog is open, the
// overwrite question and what Output_File remembers.
#include "ExportDoubles.h"
#include "QrvErrors.h"
#include "QrvExportTexts.h"
#include "QrvOptionDialog.h"
#include "QrvSettingValues.h"
#include "QrvSettingsFile.h"
#include "RowNames.h"
#include "WholeFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

void WriteAll(const std::string& path, const QByteArray& bytes)
{
    QFile file(QString::fromStdString(path));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    ASSERT_EQ(file.write(bytes), bytes.size());
}

class SaveAsFixture : public testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Output_File = std::string(kOutputFileKey.Default);
    }
    void TearDown() override { Output_File = std::string(kOutputFileKey.Default); }

    std::string Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }

    QTemporaryDir dir;
    TScriptedSaveDialogs saveDialogs{dir.path().toStdString()};
    TRecordingDialogs messages;
    TFakeSource source;
    TSaveAs saveAs;
};

// --- one Save as per row: typed name, selected type, what is written --------

struct TSaveCase {
    const char* Name;
    const char* Typed;
    int Index;
    const char* Written; // file name in the folder, nullptr: nothing written
    const char* Content; // its content (marker of the chart kind or the table)
    const char* Message; // the one message shown, or nullptr
    bool OutputFileSet;
};
void PrintTo(const TSaveCase& c, std::ostream* os)
{
    *os << c.Name;
}

class SaveAsPath : public SaveAsFixture, public testing::WithParamInterface<TSaveCase>
{
};

TEST_P(SaveAsPath, WritesByExtensionAndRemembersTheName)
{
    const TSaveCase& c = GetParam();
    source.Table = QStringLiteral("1.000   2.000");
    saveDialogs.Script = TScriptedSaveDialogs::Choose(c.Typed, c.Index);

    saveAs.SaveAsToolButtonClick(source);

    if (c.Written) {
        EXPECT_EQ(Files(), QStringList{QString::fromUtf8(c.Written)});
        EXPECT_EQ(ReadWholeFile(Path(c.Written)), c.Content);
    } else {
        EXPECT_TRUE(Files().isEmpty()) << Files().join(' ').toStdString();
    }
    if (c.Message) {
        ASSERT_EQ(messages.Messages.size(), 1u);
        EXPECT_EQ(messages.Messages[0].text, c.Message);
        EXPECT_EQ(messages.Messages[0].caption, "Error");
        EXPECT_EQ(messages.Messages[0].type, TMsgDlgType::mtError);
        EXPECT_EQ(messages.Messages[0].buttons, mbOK);
    } else {
        EXPECT_TRUE(messages.Messages.empty());
    }
    const std::string target = Path(c.Typed) + (std::string(c.Typed).find('.') == std::string::npos
                                                    ? std::string(*ExtensionOfFilterIndex(c.Index))
                                                    : std::string());
    EXPECT_EQ(saveAs.SaveFileName, target);
    EXPECT_EQ(Output_File, c.OutputFileSet ? target : std::string(kOutputFileKey.Default));
    EXPECT_EQ(saveAs.SaveDialog1.FilterIndex, c.Index);
}

const char* const kTable = "1.000   2.000\r\n";

INSTANTIATE_TEST_SUITE_P(
    Export, SaveAsPath,
    testing::Values(
        TSaveCase{"text_by_type", "curve", 1, "curve.txt", kTable, nullptr, true},
        TSaveCase{"bitmap_by_type", "curve", 2, "curve.bmp", "bitmap", nullptr, true},
        TSaveCase{"metafile_by_type", "curve", 3, "curve.wmf", "wmf", nullptr, true},
        TSaveCase{"enhanced_by_type", "curve", 4, "curve.emf", "emf", nullptr, true},
        TSaveCase{"csv_by_type", "curve", 5, "curve.csv", "x,y\r\n1.000,2.000\r\n", nullptr, true},
        TSaveCase{"csv_name_beats_text_type", "curve.CSV", 1, "curve.CSV", "x,y\r\n1.000,2.000\r\n", nullptr,
                  true},
        TSaveCase{"text_name_beats_bitmap_type", "curve.txt", 2, "curve.txt", kTable, nullptr, true},
        TSaveCase{"bitmap_name_beats_text_type", "curve.bmp", 1, "curve.bmp", "bitmap", nullptr, true},
        TSaveCase{"upper_case_txt", "CURVE.TXT", 3, "CURVE.TXT", kTable, nullptr, true},
        TSaveCase{"upper_case_bmp", "Curve.BMP", 1, "Curve.BMP", "bitmap", nullptr, true},
        TSaveCase{"mixed_case_wmf", "curve.Wmf", 1, "curve.Wmf", "wmf", nullptr, true},
        TSaveCase{"mixed_case_emf", "curve.eMF", 2, "curve.eMF", "emf", nullptr, true},
        TSaveCase{"invalid_extension", "points.dat", 1, nullptr, nullptr, ExportText::InvalidExtension, true},
        TSaveCase{"trailing_dot", "curve.", 2, nullptr, nullptr, ExportText::InvalidExtension, true},
        TSaveCase{"empty_name_txt", ".txt", 1, nullptr, nullptr, ExportText::EmptyFileName, false},
        TSaveCase{"empty_name_other_type", ".txt", 4, nullptr, nullptr, ExportText::EmptyFileName, false},
        TSaveCase{"empty_name_invalid_extension", ".dat", 1, nullptr, nullptr, ExportText::EmptyFileName,
                  false}),
    test::RowName{});

// --- the dialog ---------------------------------------------------------------

TEST_F(SaveAsFixture, DialogOpensOnTheBareNameOfTheLastFileWithItsFilter)
{
    Output_File = "/data/results/curve.emf";
    saveDialogs.Script = [](TScriptedOpenDialog&) { return std::optional<TSaveDialogChoice>(); };
    saveAs.SaveAsToolButtonClick(source);
    ASSERT_EQ(saveDialogs.Opened.size(), 1u);
    EXPECT_EQ(saveDialogs.Opened[0].FileName, "curve");
    EXPECT_EQ(saveDialogs.Opened[0].FilterIndex, 1);
    EXPECT_EQ(saveDialogs.Opened[0].Filter, ExportText::SaveFilter);
}

TEST_F(SaveAsFixture, DialogOpensInTheFolderOfTheLastFileWhileItExists)
{
    ASSERT_TRUE(QDir(dir.path()).mkdir("results"));
    const std::string results = Path("results");
    struct Row {
        const char* name;
        std::string outputFile;
        std::string directory;
    };
    saveDialogs.Script = [](TScriptedOpenDialog&) { return std::optional<TSaveDialogChoice>(); };
    for (const Row& row :
         {Row{"existing_folder", results + "/curve.emf", results}, Row{"bare_name", "output.txt", ""},
          Row{"missing_folder", Path("gone") + "/curve.txt", ""}}) {
        Output_File = row.outputFile;
        saveAs.SaveAsToolButtonClick(source);
        ASSERT_FALSE(saveDialogs.Opened.empty());
        EXPECT_EQ(saveDialogs.Opened.back().Directory, row.directory) << row.name;
    }
}

TEST_F(SaveAsFixture, CancelChangesNothing)
{
    saveAs.SaveDialog1.FilterIndex = 3;
    saveDialogs.Script = [](TScriptedOpenDialog& open) {
        open.Type("other");
        open.SelectType(2);
        return std::optional<TSaveDialogChoice>();
    };
    saveAs.SaveAsToolButtonClick(source);
    EXPECT_TRUE(Files().isEmpty());
    EXPECT_TRUE(messages.Messages.empty());
    EXPECT_EQ(Output_File, std::string(kOutputFileKey.Default));
    EXPECT_EQ(saveAs.SaveDialog1.FilterIndex, 3);
}

TEST_F(SaveAsFixture, ConfirmedTypeIsSelectedNextTime)
{
    saveDialogs.Script = TScriptedSaveDialogs::Choose("curve", 4);
    saveAs.SaveAsToolButtonClick(source);
    saveDialogs.Script = TScriptedSaveDialogs::Choose("curve2", 2);
    saveAs.SaveAsToolButtonClick(source);
    saveDialogs.Script = [](TScriptedOpenDialog&) { return std::optional<TSaveDialogChoice>(); };
    saveAs.SaveAsToolButtonClick(source);
    saveAs.SaveAsToolButtonClick(source);

    ASSERT_EQ(saveDialogs.Opened.size(), 4u);
    EXPECT_EQ(saveDialogs.Opened[0].FilterIndex, 1);
    EXPECT_EQ(saveDialogs.Opened[1].FilterIndex, 4);
    EXPECT_EQ(saveDialogs.Opened[1].FileName, "curve");
    EXPECT_EQ(saveDialogs.Opened[2].FilterIndex, 2);
    EXPECT_EQ(saveDialogs.Opened[2].FileName, "curve2");
    EXPECT_EQ(saveDialogs.Opened[3].FilterIndex, 2);
}

TEST_F(SaveAsFixture, TypeChangeRewritesTheNameBoxWhileOpen)
{
    std::vector<std::string> seen;
    saveDialogs.Script = [&seen](TScriptedOpenDialog& open) {
        open.Type("curve");
        open.SelectType(4);
        seen.push_back(open.FileNameBox());
        open.SelectType(1);
        seen.push_back(open.FileNameBox());
        open.SelectType(2);
        seen.push_back(open.FileNameBox());
        return std::optional<TSaveDialogChoice>(open.Accept());
    };
    saveAs.SaveAsToolButtonClick(source);
    EXPECT_EQ(seen, (std::vector<std::string>{"curve.emf", "curve.txt", "curve.bmp"}));
    EXPECT_EQ(Files(), QStringList{"curve.bmp"});
    ASSERT_EQ(source.Charts.size(), 1u);
    EXPECT_EQ(source.Charts[0].first, TExportKind::Bitmap);
}

TEST_F(SaveAsFixture, TypeChangeWithEmptyBoxLeavesOnlyTheExtension)
{
    std::string seen;
    saveDialogs.Script = [&seen](TScriptedOpenDialog& open) {
        open.Type("");
        open.SelectType(2);
        seen = open.FileNameBox();
        return std::optional<TSaveDialogChoice>(open.Accept());
    };
    saveAs.SaveAsToolButtonClick(source);
    EXPECT_EQ(seen, ".bmp");
    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].text, ExportText::EmptyFileName);
    EXPECT_TRUE(Files().isEmpty());
}

TEST_F(SaveAsFixture, InvalidExtensionIsProposedNextTime)
{
    saveDialogs.Script = TScriptedSaveDialogs::Choose("points.dat", 1);
    saveAs.SaveAsToolButtonClick(source);
    saveDialogs.Script = nullptr;
    saveAs.SaveAsToolButtonClick(source);
    ASSERT_EQ(saveDialogs.Opened.size(), 2u);
    EXPECT_EQ(saveDialogs.Opened[1].FileName, "points");
}

// --- overwriting ---------------------------------------------------------------

struct TOverwriteCase {
    const char* Name;
    TModalResult Answer;
    bool Replaced;
};
void PrintTo(const TOverwriteCase& c, std::ostream* os)
{
    *os << c.Name;
}

class SaveAsOverwrite : public SaveAsFixture, public testing::WithParamInterface<TOverwriteCase>
{
};

TEST_P(SaveAsOverwrite, OnlyYesReplacesTheFile)
{
    WriteAll(Path("curve.txt"), "old contents\n");
    Output_File = "/elsewhere/last.bmp";
    messages.Answers = {GetParam().Answer};
    saveDialogs.Script = TScriptedSaveDialogs::Choose("curve", 1);

    saveAs.SaveAsToolButtonClick(source);

    ASSERT_EQ(messages.Messages.size(), 1u);
    EXPECT_EQ(messages.Messages[0].text, "Do you really want to overwrite existing curve.txt?");
    EXPECT_EQ(messages.Messages[0].caption, "Confirm");
    EXPECT_EQ(messages.Messages[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(messages.Messages[0].buttons, mbYesNo);
    EXPECT_EQ(ReadWholeFile(Path("curve.txt")),
              GetParam().Replaced ? "0.000   1.000\r\n1.000   2.000\r\n" : "old contents\n");
    EXPECT_EQ(Output_File, GetParam().Replaced ? Path("curve.txt") : "/elsewhere/last.bmp");
    EXPECT_EQ(Files(), QStringList{"curve.txt"}) << "no temporary file stays behind";
}

INSTANTIATE_TEST_SUITE_P(Export, SaveAsOverwrite,
                         testing::Values(TOverwriteCase{"yes", TModalResult::mrYes, true},
                                         TOverwriteCase{"no", TModalResult::mrNo, false},
                                         TOverwriteCase{"closed", TModalResult::mrCancel, false},
                                         TOverwriteCase{"no_answer", TModalResult::mrNone, false}),
                         test::RowName{});

TEST_F(SaveAsFixture, ReplacedFileKeepsItsPermissions)
{
    WriteAll(Path("curve.txt"), "old\n");
    QFile::setPermissions(QString::fromStdString(Path("curve.txt")), QFile::ReadOwner | QFile::WriteOwner);
    messages.Answers = {TModalResult::mrYes};
    saveDialogs.Script = TScriptedSaveDialogs::Choose("curve.txt", 1);
    saveAs.SaveAsToolButtonClick(source);
    const auto permissions = QFile::permissions(QString::fromStdString(Path("curve.txt")));
    EXPECT_TRUE(permissions.testFlags(QFile::ReadOwner | QFile::WriteOwner));
    EXPECT_FALSE(permissions & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther));
}

// --- the text file ------------------------------------------------------------

TEST_F(SaveAsFixture, EmptyTableGivesAnEmptyFile)
{
    source.Table.clear();
    saveDialogs.Script = TScriptedSaveDialogs::Choose("empty", 1);
    saveAs.SaveAsToolButtonClick(source);
    EXPECT_TRUE(QFile::exists(QString::fromStdString(Path("empty.txt"))));
    EXPECT_EQ(ReadWholeFile(Path("empty.txt")), "");
    EXPECT_EQ(Output_File, Path("empty.txt"));
}

// --- failures -----------------------------------------------------------------

TEST_F(SaveAsFixture, UnwritablePlaceRaisesThePlatformMessage)
{
    // A folder that is a regular file cannot hold anything, even for root.
    WriteAll(Path("plain"), "not a folder\n");
    Output_File = "/elsewhere/last.txt";
    saveDialogs.Script = TScriptedSaveDialogs::Choose("plain/curve", 1);
    try {
        saveAs.SaveAsToolButtonClick(source);
        FAIL() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message().rfind("Not a directory"), e.Message().size() - 15) << e.Message();
    }
    EXPECT_EQ(ReadWholeFile(Path("plain")), "not a folder\n");
    EXPECT_EQ(Output_File, "/elsewhere/last.txt");
    EXPECT_TRUE(messages.Messages.empty());
}

// --- Output_File through the settings ----------------------------------------

TEST_F(SaveAsFixture, OutputFileReachesTheSettingsFileAtProgramEnd)
{
    const QString settings = dir.filePath(QStringLiteral("QURVIA.INI"));
    OpenSettingsFile(settings);
    {
        TOptionDialog options;
        saveDialogs.Script = TScriptedSaveDialogs::Choose("curve", 3);
        saveAs.SaveAsToolButtonClick(source);
        EXPECT_EQ(options.varOutput_File->Value(), Path("curve.wmf"));
        EXPECT_EQ(Output_File, Path("curve.wmf"));
    }
    CloseSettingsFile();
    const QByteArray written = ReadWholeFile(settings);
    EXPECT_TRUE(written.contains(QByteArray("Output_File=") + Path("curve.wmf").c_str()))
        << written.toStdString();
}

} // namespace
} // namespace qrv::test
