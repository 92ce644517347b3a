// The Qt save dialog as the person sees it: opened on the proposed name and
// the selected file type, its name box rewritten by the type-change handler
// while it is open, and its answer handed back.
#include "QrvExportSaveAs.h"
#include "QrvExportTexts.h"
#include "QrvFpu.h"
#include "QrvPlatform.h"

#include <QComboBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <fpu_control.h>
#include <functional>

namespace qrv
{
namespace
{

// Plays the user once the dialog runs its event loop.
void WhileOpen(TQtPlatform& dialogs, std::function<void(QFileDialog&)> play)
{
    dialogs.OnSaveDialogShow = [play](QFileDialog& box) {
        QTimer::singleShot(0, &box, [&box, play] { play(box); });
    };
}

QLineEdit* NameBox(QFileDialog& box)
{
    return box.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

class QtSaveDialog : public testing::Test
{
protected:
    void SetUp() override { ASSERT_TRUE(dir.isValid()); }

    QTemporaryDir dir;
    TQtPlatform dialogs;
    TScopedPlatform installed{dialogs};
    TSaveAs saveAs;
};

TEST_F(QtSaveDialog, TypeChangesRewriteTheNameBoxAndTheChoiceComesBack)
{
    saveAs.SaveDialog1.FileName = "curve";
    saveAs.SaveDialog1.FilterIndex = 2;
    const QString folder = dir.path();
    QStringList seen;
    int startIndex = 0;
    QString startName;
    WhileOpen(dialogs, [&](QFileDialog& box) {
        QComboBox* types = box.findChild<QComboBox*>(QStringLiteral("fileTypeCombo"));
        QLineEdit* name = NameBox(box);
        if (!types || !name) {
            box.reject();
            return;
        }
        startIndex = types->currentIndex();
        startName = name->text();
        name->setText(folder + QStringLiteral("/curve"));
        // Down from Bitmap to Metafile and Enhanced metafile, then Home to Text.
        QTest::keyClick(types, Qt::Key_Down);
        seen << name->text();
        QTest::keyClick(types, Qt::Key_Down);
        seen << name->text();
        QTest::keyClick(types, Qt::Key_Home);
        seen << name->text();
        QMetaObject::invokeMethod(&box, "accept");
    });

    ASSERT_TRUE(saveAs.SaveDialog1.Execute());
    EXPECT_EQ(startIndex, 1);
    EXPECT_EQ(startName, "curve");
    const QString base = folder + QStringLiteral("/curve");
    EXPECT_EQ(seen, (QStringList{base + ".wmf", base + ".emf", base + ".txt"}));
    EXPECT_EQ(saveAs.SaveFileName, (base + ".txt").toStdString());
    EXPECT_EQ(saveAs.SaveDialog1.FileName, (base + ".txt").toStdString());
    EXPECT_EQ(saveAs.SaveDialog1.FilterIndex, 1);
}

TEST_F(QtSaveDialog, OffersTheFileTypesAndAsksNoQuestionOfItsOwn)
{
    QStringList filters;
    bool confirms = true;
    QString title;
    WhileOpen(dialogs, [&](QFileDialog& box) {
        filters = box.nameFilters();
        confirms = !box.testOption(QFileDialog::DontConfirmOverwrite);
        title = box.windowTitle();
        box.reject();
    });
    saveAs.SaveDialog1.FilterIndex = 3;
    EXPECT_FALSE(saveAs.SaveDialog1.Execute());
    EXPECT_EQ(filters,
              (QStringList{"Text (*.txt)", "Bitmap (*.bmp)", "Metafile (*.wmf)", "Enhanced metafile (*.emf)",
                           "CSV (*.csv)", "PNG image (*.png)", "SVG image (*.svg)", "PDF document (*.pdf)"}));
    EXPECT_FALSE(confirms);
    EXPECT_EQ(title, ExportText::SaveDialogTitle);
    EXPECT_EQ(saveAs.SaveDialog1.FilterIndex, 3) << "a cancelled dialog keeps the type";
}

TEST_F(QtSaveDialog, OpensInTheGivenFolderWithTheProposedName)
{
    QString folder;
    QString name;
    WhileOpen(dialogs, [&](QFileDialog& box) {
        folder = box.directory().absolutePath();
        name = NameBox(box)->text();
        box.reject();
    });
    saveAs.SaveDialog1.Directory = dir.path().toStdString();
    saveAs.SaveDialog1.FileName = "curve";
    EXPECT_FALSE(saveAs.SaveDialog1.Execute());
    EXPECT_EQ(folder, QDir(dir.path()).absolutePath());
    EXPECT_EQ(name, "curve");
}

TEST_F(QtSaveDialog, NameWithoutExtensionComesBackAsTyped)
{
    const QString typed = dir.filePath(QStringLiteral("curve"));
    WhileOpen(dialogs, [&](QFileDialog& box) {
        NameBox(box)->setText(typed);
        QMetaObject::invokeMethod(&box, "accept");
    });
    saveAs.SaveDialog1.FilterIndex = 4;
    ASSERT_TRUE(saveAs.SaveDialog1.Execute());
    EXPECT_EQ(saveAs.SaveDialog1.FileName, typed.toStdString());
    EXPECT_EQ(TargetFileName(saveAs.SaveDialog1.FileName, saveAs.SaveDialog1.FilterIndex),
              (typed + ".emf").toStdString());
}

TEST_F(QtSaveDialog, FloatEnvironmentIsRestoredAfterTheDialog)
{
    WhileOpen(dialogs, [](QFileDialog& box) {
        // A library running inside the dialog may leave another control
        // word behind: here double precision and unmasked overflow.
        fpu_control_t word = (_FPU_DEFAULT & ~_FPU_EXTENDED & ~_FPU_MASK_OM) | _FPU_DOUBLE;
        _FPU_SETCW(word);
        box.reject();
    });
    EXPECT_FALSE(saveAs.SaveDialog1.Execute());
    EXPECT_TRUE(FloatEnvironmentIsDefault());
    InitFloatEnvironment();
}

} // namespace
} // namespace qrv
