// Save as and the Copy commands through the main window: real chart
// pictures in files and on the clipboard, the table copied with its
// selection kept, the confirmation messages, and failed saves that leave
// the old file as it was.
#include "ChartAccess.h"
#include "ExportDoubles.h"
#include "MainWindowFixture.h"
#include "QrvErrors.h"
#include "QrvExportTexts.h"
#include "QrvResultExport.h"
#include "QrvSettingValues.h"
#include "QrvTableView.h"
#include "RowNames.h"
#include "WholeFile.h"
#include "m_grf_w.h"

#include <QClipboard>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QMimeData>
#include <QTemporaryDir>
#include <QtEndian>

#include <gtest/gtest.h>

#include <csignal>
#include <memory>
#include <sys/resource.h>

namespace qrv::test
{
namespace
{

const QString kTable = QStringLiteral("0.000   0.000\n1.000   1.000\n2.000   4.000\n3.000   9.000");

class WindowExport : public TMainWindowFixture
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        Output_File = std::string(kOutputFileKey.Default);
        TMainWindowFixture::SetUp();
        Window->Memo1->setPlainText(kTable);
        FillChart(*Window);
    }
    void TearDown() override
    {
        TMainWindowFixture::TearDown();
        Output_File = std::string(kOutputFileKey.Default);
        Use_Enhanced_Metafiles = kUseEnhancedMetafilesKey.Default;
    }

    std::string Path(const char* name) const { return dir.filePath(QString::fromUtf8(name)).toStdString(); }
    QByteArray Read(const char* name) const { return ReadWholeFile(dir.filePath(QString::fromUtf8(name))); }
    void Write(const char* name, const QByteArray& bytes) const
    {
        QFile file(dir.filePath(QString::fromUtf8(name)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        ASSERT_EQ(file.write(bytes), bytes.size());
    }
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files | QDir::Hidden); }
    void ExpectCopiedMessage(const char* name) const
    {
        ASSERT_EQ(Dialogs.Messages.size(), 1u);
        EXPECT_EQ(Dialogs.Messages[0].text,
                  std::string(name) + " copied to Clipboard\n\rUse Paste command in another application");
        EXPECT_EQ(Dialogs.Messages[0].caption, "Information");
        EXPECT_EQ(Dialogs.Messages[0].type, TMsgDlgType::mtInformation);
        EXPECT_EQ(Dialogs.Messages[0].buttons, mbOK);
    }

    QTemporaryDir dir;
    TScriptedSaveDialogs saveDialogs{dir.path().toStdString()};
};

// --- Copy text ------------------------------------------------------------------

struct TSelectionCase {
    const char* Name;
    int Start; // selection before: anchor
    int End;   // and position
    int AfterStart;
    int AfterEnd;
};
void PrintTo(const TSelectionCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CopyText : public WindowExport, public testing::WithParamInterface<TSelectionCase>
{
};

TEST_P(CopyText, CopiesTheWholeTableAndKeepsTheSelection)
{
    const TSelectionCase& c = GetParam();
    Window->Memo1->SetSelection(c.Start, c.End);
    QGuiApplication::clipboard()->setText(QStringLiteral("before"));

    Window->Copytext1Click();

    EXPECT_EQ(QGuiApplication::clipboard()->text(), kTable);
    EXPECT_EQ(Window->Memo1->SelectionStart(), c.AfterStart);
    EXPECT_EQ(Window->Memo1->SelectionEnd(), c.AfterEnd);
    ExpectCopiedMessage("Text");
}

INSTANTIATE_TEST_SUITE_P(Export, CopyText,
                         testing::Values(TSelectionCase{"caret_inside_goes_to_start", 20, 20, 0, 0},
                                         TSelectionCase{"caret_at_end_goes_to_start", 55, 55, 0, 0},
                                         TSelectionCase{"part_selected", 14, 27, 14, 27},
                                         TSelectionCase{"part_selected_backwards", 27, 14, 14, 27},
                                         TSelectionCase{"all_selected", 0, 55, 0, 55}),
                         test::RowName{});

TEST_F(WindowExport, CopyTextOfAnEditedTable)
{
    Window->Memo1->setPlainText(QStringLiteral("edited\nby hand"));
    Window->Copytext1Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), QStringLiteral("edited\nby hand"));
}

TEST_F(WindowExport, CopyAsCsvOffersTextCsvAndPlainText)
{
    Window->CopyCsv1Click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    const QByteArray csv("x,y\r\n0.000,0.000\r\n1.000,1.000\r\n2.000,4.000\r\n3.000,9.000\r\n");
    EXPECT_EQ(data->data(QStringLiteral("text/csv")), csv);
    EXPECT_EQ(data->text().toUtf8(), csv);
    ExpectCopiedMessage(ExportText::CopiedCsv);
    // Copy text keeps its own format.
    Dialogs.Messages.clear();
    Window->Copytext1Click();
    EXPECT_EQ(QGuiApplication::clipboard()->text(), kTable);
}

// --- Copy bitmap and metafile -----------------------------------------------------

TEST_F(WindowExport, CopyBitmapPutsTheChartPicture)
{
    Window->Copybitmap1Click();
    const QImage image = QGuiApplication::clipboard()->image();
    EXPECT_EQ(image.size(), QSize(353, 305));
    EXPECT_EQ(image, ChartBitmap(*Window).convertToFormat(image.format()));
    ExpectCopiedMessage("Graphics (BMP)");
}

struct TMetafileCase {
    const char* Name;
    bool Enhanced;
    const char* Mime;
    const char* Other;
    const char* Message;
};
void PrintTo(const TMetafileCase& c, std::ostream* os)
{
    *os << c.Name;
}

class CopyMetafile : public WindowExport, public testing::WithParamInterface<TMetafileCase>
{
};

TEST_P(CopyMetafile, FollowsTheSetting)
{
    const TMetafileCase& c = GetParam();
    Use_Enhanced_Metafiles = c.Enhanced;
    Window->Copymetafile1Click();
    const QMimeData* data = QGuiApplication::clipboard()->mimeData();
    ASSERT_NE(data, nullptr);
    EXPECT_TRUE(data->hasFormat(QString::fromUtf8(c.Mime)));
    EXPECT_FALSE(data->hasFormat(QString::fromUtf8(c.Other)));
    EXPECT_EQ(data->data(QString::fromUtf8(c.Mime)), ChartMetafile(*Window, c.Enhanced));
    ExpectCopiedMessage(c.Message);
}

INSTANTIATE_TEST_SUITE_P(
    Export, CopyMetafile,
    testing::Values(TMetafileCase{"enhanced", true, "image/x-emf", "image/x-wmf", "Graphics (EMF)"},
                    TMetafileCase{"windows", false, "image/x-wmf", "image/x-emf", "Graphics (WMF)"}),
    test::RowName{});

// --- Save as through the window -----------------------------------------------------

// Recognises the file formats by their headers.
bool IsBmp(const QByteArray& b, int width, int height)
{
    return b.size() > 54 && b.startsWith("BM") && qFromLittleEndian<qint32>(b.constData() + 18) == width &&
           std::abs(qFromLittleEndian<qint32>(b.constData() + 22)) == height;
}
bool IsPlaceableWmf(const QByteArray& b)
{
    return b.size() > 40 && qFromLittleEndian<quint32>(b.constData()) == 0x9AC6CDD7u;
}
bool IsEmf(const QByteArray& b)
{
    return b.size() > 88 && qFromLittleEndian<quint32>(b.constData()) == 1u && b.mid(40, 4) == " EMF";
}

TEST_F(WindowExport, SavesEachFormatFromTheWindow)
{
    const int w = 353, h = 305;
    struct {
        const char* typed;
        int index;
        const char* file;
    } saves[] = {{"curve", 1, "curve.txt"},
                 {"curve", 2, "curve.bmp"},
                 {"curve", 3, "curve.wmf"},
                 {"curve", 4, "curve.emf"}};
    for (const auto& save : saves) {
        saveDialogs.Script = TScriptedSaveDialogs::Choose(save.typed, save.index);
        Window->SaveAsToolButtonClick();
        EXPECT_EQ(Output_File, Path(save.file));
    }
    EXPECT_EQ(Read("curve.txt"),
              QByteArray("0.000   0.000\r\n1.000   1.000\r\n2.000   4.000\r\n3.000   9.000\r\n"));
    EXPECT_TRUE(IsBmp(Read("curve.bmp"), w, h));
    EXPECT_TRUE(IsPlaceableWmf(Read("curve.wmf")));
    EXPECT_TRUE(IsEmf(Read("curve.emf")));
    EXPECT_EQ(Files().size(), 4) << Files().join(' ').toStdString();
    EXPECT_TRUE(Dialogs.Messages.empty());
}

TEST_F(WindowExport, WindowKeepsItsSaveDialogBetweenUses)
{
    saveDialogs.Script = TScriptedSaveDialogs::Choose("curve", 4);
    Window->SaveAsToolButtonClick();
    saveDialogs.Script = [](TScriptedOpenDialog&) { return std::optional<TSaveDialogChoice>(); };
    Window->SaveAsToolButtonClick();
    ASSERT_EQ(saveDialogs.Opened.size(), 2u);
    EXPECT_EQ(saveDialogs.Opened[1].FilterIndex, 4);
    EXPECT_EQ(saveDialogs.Opened[1].FileName, "curve");
    EXPECT_EQ(&Window->SaveAs(), &Window->SaveAs());
    EXPECT_EQ(Window->SaveAs().SaveFileName, Path("curve.emf"));
}

// --- failed writes keep the old file ------------------------------------------------

// Lets no file of the process grow beyond `limit` bytes while it lives, so a
// write fails part-way as on a full disk, even for root.
class TFileSizeLimit
{
public:
    explicit TFileSizeLimit(rlim_t limit)
    {
        getrlimit(RLIMIT_FSIZE, &saved_);
        oldHandler_ = std::signal(SIGXFSZ, SIG_IGN);
        rlimit limited = saved_;
        limited.rlim_cur = limit;
        setrlimit(RLIMIT_FSIZE, &limited);
    }
    ~TFileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &saved_);
        std::signal(SIGXFSZ, oldHandler_);
    }

private:
    rlimit saved_{};
    void (*oldHandler_)(int) = nullptr;
};

struct TFailureCase {
    const char* Name;
    const char* File;
    int Index;
};
void PrintTo(const TFailureCase& c, std::ostream* os)
{
    *os << c.Name;
}

class FailedSave : public WindowExport, public testing::WithParamInterface<TFailureCase>
{
};

TEST_P(FailedSave, LeavesTheOldFileAndOutputFile)
{
    const TFailureCase& c = GetParam();
    QString big;
    for (int i = 0; i < 2000; ++i)
        big += QStringLiteral("%1.000   %2.000\n").arg(i).arg(2 * i);
    Window->Memo1->setPlainText(big);
    const QByteArray old = "the old file, which must survive\r\n";
    Write(c.File, old);
    Output_File = "/elsewhere/last.txt";
    Dialogs.Answers = {TModalResult::mrYes};
    saveDialogs.Script = TScriptedSaveDialogs::Choose(c.File, c.Index);

    std::string error;
    {
        TFileSizeLimit limit(256);
        try {
            Window->SaveAsToolButtonClick();
        } catch (const Exception& e) {
            error = e.Message();
        }
    }
    const std::string expected = c.Index == 1 ? "File too large" : "Cannot create file " + Path(c.File);
    EXPECT_EQ(error, expected);
    EXPECT_EQ(Read(c.File), old);
    EXPECT_EQ(Output_File, "/elsewhere/last.txt");
    EXPECT_EQ(Files(), QStringList{QString::fromUtf8(c.File)}) << "no temporary file stays behind";
}

INSTANTIATE_TEST_SUITE_P(Export, FailedSave,
                         testing::Values(TFailureCase{"text", "curve.txt", 1},
                                         TFailureCase{"bitmap", "curve.bmp", 2},
                                         TFailureCase{"metafile", "curve.wmf", 3},
                                         TFailureCase{"enhanced_metafile", "curve.emf", 4}),
                         test::RowName{});

TEST_F(WindowExport, ChartIntoAnUnwritablePlaceNamesTheFile)
{
    Write("plain", "not a folder\n");
    saveDialogs.Script = TScriptedSaveDialogs::Choose("plain/curve", 2);
    try {
        Window->SaveAsToolButtonClick();
        FAIL() << "no error raised";
    } catch (const Exception& e) {
        EXPECT_EQ(e.Message(), "Cannot create file " + Path("plain/curve.bmp"));
    }
    EXPECT_EQ(Read("plain"), QByteArray("not a folder\n"));
    EXPECT_EQ(Output_File, std::string(kOutputFileKey.Default));
}

} // namespace
} // namespace qrv::test
