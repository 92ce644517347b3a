// The settings dialog, offscreen, with its dialogs answered by the scripted
// test double: loading at creation, the colour panel, "&Reset Defaults",
// closing with OK, Cancel and the close control, and saving at the end.
#include "QrvOptionDialog.h"
#include "QrvQtColor.h"
#include "QrvSettingValues.h"
#include "QrvVariables.h"
#include "RowNames.h"
#include "ScriptedDialogs.h"
#include "SettingsTestSupport.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

#include <cstdlib>

#include <memory>

namespace qrv
{
namespace
{

using test::TScriptedDialogs;
using test::TTempSettings;

class OptionDialogTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Element_Color = kElementColorKey.Default;
        Output_File = std::string(kOutputFileKey.Default);
        Use_Enhanced_Metafiles = kUseEnhancedMetafilesKey.Default;
    }
    void TearDown() override { TTempSettings::DropHandle(); }

    // Program start: the settings file handle, then the dialog.
    void Start(const std::optional<std::string>& fileContent = std::nullopt)
    {
        if (fileContent) temp.WriteFile(*fileContent);
        temp.Open();
        dialog = std::make_unique<TOptionDialog>();
    }

    // Program end: the dialog with its variables, then the handle.
    void End()
    {
        dialog.reset();
        CloseSettingsFile();
    }

    void Show()
    {
        dialog->show();
        QApplication::setActiveWindow(dialog.get());
        ASSERT_TRUE(QTest::qWaitForWindowActive(dialog.get()));
    }

    QColor PanelColor() const { return dialog->ColorPanel->palette().color(QPalette::Window); }

    TTempSettings temp;
    TScriptedDialogs dialogs;
    std::unique_ptr<TOptionDialog> dialog;
};

TEST_F(OptionDialogTest, FirstRunShowsDefaultsAndWritesThemAtEnd)
{
    Start();
    EXPECT_EQ(Element_Color, 255u);
    EXPECT_EQ(Output_File, "output.txt");
    EXPECT_TRUE(Use_Enhanced_Metafiles);
    EXPECT_TRUE(dialog->CheckBoxEnhancedMetafiles->isChecked());
    EXPECT_EQ(PanelColor(), QColor(255, 0, 0));
    EXPECT_FALSE(temp.Exists());
    End();
    EXPECT_EQ(temp.ReadFile(), "[Appearance]\nElement_Color=255\n\n[System]\nOutput_File=output.txt\n\n"
                               "[General]\nUse_Enhanced_Metafiles=1\n");
}

struct StoredCase {
    const char* name;
    const char* file;
    TColor color;
    bool enhanced;
    std::string output;
};

class OptionDialogStored : public OptionDialogTest, public ::testing::WithParamInterface<StoredCase>
{
};

TEST_P(OptionDialogStored, LoadsAtCreation)
{
    const auto& c = GetParam();
    Start(c.file);
    EXPECT_EQ(Element_Color, c.color);
    EXPECT_EQ(Use_Enhanced_Metafiles, c.enhanced);
    EXPECT_EQ(Output_File, c.output);
    EXPECT_EQ(dialog->CheckBoxEnhancedMetafiles->isChecked(), c.enhanced);
    EXPECT_EQ(PanelColor(), ToQColor(c.color));
}

INSTANTIATE_TEST_SUITE_P(
    Cases, OptionDialogStored,
    ::testing::Values(
        StoredCase{"green", "[Appearance]\nElement_Color=65280\n", 65280, true, "output.txt"},
        StoredCase{"hex_colour", "[Appearance]\nElement_Color=0xFF00\n", 65280, true, "output.txt"},
        StoredCase{"letters_give_default", "[Appearance]\nElement_Color=abc\n", 255, true, "output.txt"},
        StoredCase{"two_is_true", "[General]\nUse_Enhanced_Metafiles=2\n", 255, true, "output.txt"},
        StoredCase{"zero_is_false", "[general]\nuse_enhanced_metafiles=0\n", 255, false, "output.txt"},
        StoredCase{"all_three",
                   "[System]\nOutput_File=/home/u/plot.bmp\n[General]\nUse_Enhanced_Metafiles=0\n"
                   "[Appearance]\nElement_Color=16711680\n",
                   0xFF0000, false, "/home/u/plot.bmp"},
        StoredCase{"garbled", "\x01\x02[Appea\nElement_Color==\n\xff\xfe", 255, true, "output.txt"}),
    test::RowName{});

TEST_F(OptionDialogTest, StoredValuesAreWrittenBackInDecimal)
{
    Start("; keep me\n[Appearance]\nElement_Color=0xFF00\n[Other]\nx=1\n");
    End();
    EXPECT_EQ(temp.ReadFile(), "; keep me\n[Appearance]\nElement_Color=65280\n[Other]\nx=1\n\n[System]\n"
                               "Output_File=output.txt\n\n[General]\nUse_Enhanced_Metafiles=1\n");
}

TEST_F(OptionDialogTest, Layout)
{
    Start();
    EXPECT_EQ(dialog->windowTitle(), "Settings");
    EXPECT_EQ(dialog->size(), QSize(327, 121));
    EXPECT_EQ(dialog->minimumSize(), dialog->maximumSize()) << "fixed border";
    EXPECT_EQ(dialog->ButtonPanel->geometry(), QRect(227, 0, 100, 121));
    EXPECT_EQ(dialog->OKBtn->text(), "&OK");
    EXPECT_EQ(dialog->OKBtn->geometry(), QRect(14, 10, 75, 27));
    EXPECT_EQ(dialog->CancelBtn->text(), "&Cancel");
    EXPECT_EQ(dialog->CancelBtn->geometry(), QRect(14, 42, 75, 27));
    EXPECT_EQ(dialog->ResetBtn->text(), "&Reset Defaults");
    // 75 x 23 at 16, 82, widened about its centre when its caption needs
    // more room, and always inside the panel.
    const QRect reset = dialog->ResetBtn->geometry();
    EXPECT_EQ(reset.top(), 82);
    EXPECT_EQ(reset.height(), 23);
    EXPECT_GE(reset.width(), 75);
    EXPECT_LE(std::abs(reset.center().x() - QRect(16, 82, 75, 23).center().x()), 3);
    EXPECT_TRUE(dialog->ButtonPanel->rect().contains(reset));
    ASSERT_EQ(dialog->PageControl1->count(), 2);
    EXPECT_EQ(dialog->PageControl1->tabText(0), "Appearance");
    EXPECT_EQ(dialog->PageControl1->tabText(1), "General");
    EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->TabGeneral);
    EXPECT_EQ(dialog->GroupBoxColors->title(), "Colors");
    EXPECT_EQ(dialog->GroupBoxColors->geometry(), QRect(10, 12, 189, 69));
    EXPECT_TRUE(dialog->GroupBoxColors->font().bold());
    EXPECT_EQ(dialog->ColorPanel->geometry(), QRect(10, 24, 70, 24));
    EXPECT_EQ(dialog->LabelGraphicColor->text(), "Graphic color");
    EXPECT_EQ(dialog->LabelGraphicColor->pos(), QPoint(102, 30));
    EXPECT_FALSE(dialog->LabelGraphicColor->font().bold());
    EXPECT_EQ(dialog->Bevel1->geometry(), QRect(10, 13, 183, 44));
    EXPECT_EQ(dialog->CheckBoxEnhancedMetafiles->text(), "Use enhanced metafiles");
    EXPECT_EQ(dialog->CheckBoxEnhancedMetafiles->geometry(), QRect(24, 26, 179, 15));
    EXPECT_EQ(dialog->CheckBoxEnhancedMetafiles->Link(), dialog->varUse_Enhanced_Metafiles);
}

TEST_F(OptionDialogTest, ColourThenCancelRestores)
{
    Start();
    Show();
    dialogs.colorAnswers.push_back(clLime);
    QTest::mouseClick(dialog->ColorPanel, Qt::LeftButton);
    ASSERT_EQ(dialogs.colorRequests.size(), 1u);
    EXPECT_EQ(dialogs.colorRequests[0], clRed) << "the colour choice opens on the current colour";
    EXPECT_EQ(Element_Color, clLime) << "the change is in force at once";
    EXPECT_EQ(PanelColor(), QColor(0, 255, 0));
    QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_EQ(dialog->result(), QDialog::Rejected);
    EXPECT_EQ(Element_Color, clRed);
    EXPECT_EQ(PanelColor(), QColor(255, 0, 0));
    End();
    EXPECT_NE(temp.ReadFile().find("Element_Color=255\n"), std::string::npos);
}

TEST_F(OptionDialogTest, ColourThenOKKeepsAndSavesAtEnd)
{
    Start();
    Show();
    dialogs.colorAnswers.push_back(clBlue);
    QTest::mouseClick(dialog->ColorPanel, Qt::LeftButton);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_EQ(Element_Color, clBlue);
    EXPECT_FALSE(temp.Exists()) << "written only at program end";
    End();
    EXPECT_NE(temp.ReadFile().find("[Appearance]\nElement_Color=16711680\n"), std::string::npos);
}

TEST_F(OptionDialogTest, CancelledColourChoiceKeepsColour)
{
    Start("[Appearance]\nElement_Color=65280\n");
    Show();
    dialogs.colorAnswers.push_back(std::nullopt);
    QTest::mouseClick(dialog->ColorPanel, Qt::LeftButton);
    EXPECT_EQ(Element_Color, 65280u);
    EXPECT_EQ(PanelColor(), QColor(0, 255, 0));
}

TEST_F(OptionDialogTest, ResetAnsweredNoChangesNothing)
{
    Start("[Appearance]\nElement_Color=65280\n");
    Show();
    dialogs.messageAnswers.push_back(TModalResult::mrNo);
    QTest::mouseClick(dialog->ResetBtn, Qt::LeftButton);
    ASSERT_EQ(dialogs.messages.size(), 1u);
    EXPECT_EQ(dialogs.messages[0].caption, "Confirm");
    EXPECT_EQ(dialogs.messages[0].text, "Reset all variables to defaults?");
    EXPECT_EQ(dialogs.messages[0].type, TMsgDlgType::mtConfirmation);
    EXPECT_EQ(dialogs.messages[0].buttons, mbYesNo);
    EXPECT_EQ(Element_Color, 65280u);
}

struct ResetCase {
    const char* name;
    bool ok; // close with OK, else with Cancel
};

class OptionDialogReset : public OptionDialogTest, public ::testing::WithParamInterface<ResetCase>
{
};

TEST_P(OptionDialogReset, YesThenClose)
{
    Start("[Appearance]\nElement_Color=65280\n[General]\nUse_Enhanced_Metafiles=0\n");
    SetOutputFile("/home/u/last.txt"); // as Save as does
    Show();
    dialogs.messageAnswers.push_back(TModalResult::mrYes);
    QTest::mouseClick(dialog->ResetBtn, Qt::LeftButton);
    EXPECT_EQ(Element_Color, 255u);
    EXPECT_EQ(Output_File, "output.txt");
    EXPECT_TRUE(Use_Enhanced_Metafiles);
    EXPECT_TRUE(dialog->CheckBoxEnhancedMetafiles->isChecked());
    EXPECT_EQ(PanelColor(), QColor(255, 0, 0));
    QTest::mouseClick(GetParam().ok ? dialog->OKBtn : dialog->CancelBtn, Qt::LeftButton);
    if (GetParam().ok) {
        EXPECT_EQ(Element_Color, 255u);
        EXPECT_EQ(Output_File, "output.txt");
        EXPECT_TRUE(Use_Enhanced_Metafiles);
    } else {
        EXPECT_EQ(Element_Color, 65280u);
        EXPECT_EQ(Output_File, "/home/u/last.txt");
        EXPECT_FALSE(Use_Enhanced_Metafiles);
        EXPECT_FALSE(dialog->CheckBoxEnhancedMetafiles->isChecked());
        EXPECT_EQ(PanelColor(), QColor(0, 255, 0));
    }
}

INSTANTIATE_TEST_SUITE_P(Cases, OptionDialogReset,
                         ::testing::Values(ResetCase{"ok", true}, ResetCase{"cancel", false}),
                         test::RowName{});

TEST_F(OptionDialogTest, ToggleThenCloseControlLeavesSetting)
{
    Start();
    Show();
    dialog->CheckBoxEnhancedMetafiles->setFocus();
    QTest::keyClick(dialog->CheckBoxEnhancedMetafiles, Qt::Key_Space);
    EXPECT_FALSE(dialog->CheckBoxEnhancedMetafiles->isChecked());
    dialog->close();
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(Use_Enhanced_Metafiles);
    EXPECT_TRUE(dialog->CheckBoxEnhancedMetafiles->isChecked());
}

TEST_F(OptionDialogTest, ToggleThenEscapeLeavesSetting)
{
    Start();
    Show();
    dialog->CheckBoxEnhancedMetafiles->setFocus();
    QTest::keyClick(dialog->CheckBoxEnhancedMetafiles, Qt::Key_Space);
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    EXPECT_FALSE(dialog->isVisible());
    EXPECT_TRUE(Use_Enhanced_Metafiles);
}

TEST_F(OptionDialogTest, ToggleThenOKShortcutKeepsState)
{
    Start();
    Show();
    dialog->CheckBoxEnhancedMetafiles->setFocus();
    QTest::keyClick(dialog->CheckBoxEnhancedMetafiles, Qt::Key_Space);
    // The mnemonic presses the button with a short animation.
    QTest::keyClick(dialog->CheckBoxEnhancedMetafiles, Qt::Key_O, Qt::AltModifier);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !dialog->isVisible(); }, 2000));
    EXPECT_EQ(dialog->result(), QDialog::Accepted);
    EXPECT_FALSE(Use_Enhanced_Metafiles) << "the focused check box commits before closing";
    End();
    EXPECT_NE(temp.ReadFile().find("Use_Enhanced_Metafiles=0\n"), std::string::npos);
}

TEST_F(OptionDialogTest, ToggleThenOKByMouseKeepsState)
{
    Start();
    Show();
    dialog->CheckBoxEnhancedMetafiles->setFocus();
    QTest::keyClick(dialog->CheckBoxEnhancedMetafiles, Qt::Key_Space);
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    EXPECT_FALSE(Use_Enhanced_Metafiles);
}

TEST_F(OptionDialogTest, ReopenedAfterOKShowsWhatWasLeft)
{
    Start();
    Show();
    dialog->PageControl1->setCurrentWidget(dialog->TabAppearance);
    dialogs.colorAnswers.push_back(clLime);
    QTest::mouseClick(dialog->ColorPanel, Qt::LeftButton);
    dialog->CheckBoxEnhancedMetafiles->setChecked(false);
    dialog->CheckBoxEnhancedMetafiles->Commit();
    QTest::mouseClick(dialog->OKBtn, Qt::LeftButton);
    Show();
    EXPECT_EQ(dialog->PageControl1->currentWidget(), dialog->TabAppearance);
    EXPECT_EQ(PanelColor(), QColor(0, 255, 0));
    EXPECT_FALSE(dialog->CheckBoxEnhancedMetafiles->isChecked());
    // The snapshot of this showing is the state kept by the last OK.
    dialogs.colorAnswers.push_back(clBlue);
    QTest::mouseClick(dialog->ColorPanel, Qt::LeftButton);
    QTest::mouseClick(dialog->CancelBtn, Qt::LeftButton);
    EXPECT_EQ(Element_Color, clLime);
    EXPECT_FALSE(Use_Enhanced_Metafiles);
}

TEST_F(OptionDialogTest, WithoutSettingsFileRunsOnDefaults)
{
    TTempSettings::DropHandle();
    dialog = std::make_unique<TOptionDialog>();
    EXPECT_EQ(Element_Color, 255u);
    dialog->varElement_Color->SetValue(1);
    dialog.reset();
    EXPECT_NO_THROW(CloseSettingsFile());
    EXPECT_FALSE(temp.Exists());
}

} // namespace
} // namespace qrv
