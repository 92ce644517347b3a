// The printer set-up command and its dialog.
#include "FormsTestSupport.h"
#include "QrvPrinterErrors.h"
#include "QrvPrinterSetupForm.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace qrv::test
{
namespace
{

using PrinterSetupTest = PdfPrinterTest;

int PdfIndex()
{
    return static_cast<int>(Printer().Printers().size()) - 1;
}

TEST_F(PrinterSetupTest, DialogOpensOnTheCurrentChoices)
{
    Printer().SetOrientation(TPrinterOrientation::poLandscape);
    ExecutePrinterSetup(nullptr);
    ASSERT_TRUE(dialogs_.SetupShown.has_value());
    EXPECT_EQ(dialogs_.SetupShown->PrinterIndex, PdfIndex());
    EXPECT_EQ(dialogs_.SetupShown->OutputFileName, OutputFile());
    EXPECT_EQ(dialogs_.SetupShown->Orientation, TPrinterOrientation::poLandscape);
    EXPECT_TRUE(dialogs_.SetupShown->PageSize.isEquivalentTo(QPageSize(QPageSize::A4)));
}

TEST_F(PrinterSetupTest, CancelChangesNothing)
{
    dialogs_.SetupAnswer.reset();
    EXPECT_FALSE(ExecutePrinterSetup(nullptr));
    EXPECT_EQ(dialogs_.SetupCalls, 1);
    EXPECT_EQ(Printer().OutputFileName(), OutputFile());
    EXPECT_EQ(Printer().Orientation(), TPrinterOrientation::poPortrait);
    EXPECT_TRUE(Printer().PageSize().isEquivalentTo(QPageSize(QPageSize::A4)));
}

TEST_F(PrinterSetupTest, ConfirmedChoicesHoldForLaterJobs)
{
    dialogs_.SetupAnswer = TPrinterSetup{PdfIndex(), ScratchPath("setup.pdf"),
                                         TPrinterOrientation::poLandscape, QPageSize(QPageSize::Letter)};
    EXPECT_TRUE(ExecutePrinterSetup(nullptr));
    TPrinter& printer = Printer();
    EXPECT_EQ(printer.OutputFileName(), ScratchPath("setup.pdf"));
    EXPECT_EQ(printer.Orientation(), TPrinterOrientation::poLandscape);
    EXPECT_EQ(printer.PageWidth(), 6600);
    EXPECT_EQ(printer.PageHeight(), 5100);

    printer.SetTitle("Report");
    printer.BeginDoc();
    printer.EndDoc();
    const auto info = PdfInfo(ScratchPath("setup.pdf"));
    EXPECT_EQ(info.value("Page size"), "792 x 612 pts (letter)");
}

TEST_F(PrinterSetupTest, PrinterGoneMeanwhileIsRefusedAndChangesNothing)
{
    dialogs_.SetupAnswer = TPrinterSetup{PdfIndex() + 1, ScratchPath("x.pdf"),
                                         TPrinterOrientation::poLandscape, QPageSize(QPageSize::A3)};
    EXPECT_THROW(ExecutePrinterSetup(nullptr), EPrinter);
    EXPECT_EQ(Printer().OutputFileName(), OutputFile());
    EXPECT_EQ(Printer().Orientation(), TPrinterOrientation::poPortrait);
}

TEST_F(PrinterSetupTest, FormShowsAndReturnsTheSetup)
{
    const TPrinterSetup in{PdfIndex(), "/tmp/a.pdf", TPrinterOrientation::poLandscape,
                           QPageSize(QPageSize::Legal)};
    TPrinterSetupForm form(PrinterOfferOf(Printer()), in);
    EXPECT_EQ(form.PrinterCombo->currentText(), "Print to PDF");
    EXPECT_TRUE(form.FileEdit->isEnabled());
    EXPECT_TRUE(form.LandscapeRadio->isChecked());
    EXPECT_EQ(form.PaperCombo->currentText(), QPageSize(QPageSize::Legal).name());

    form.FileEdit->setText("  /tmp/b.pdf ");
    form.PortraitRadio->setChecked(true);
    form.PaperCombo->setCurrentText(QPageSize(QPageSize::A5).name());
    const TPrinterSetup out = form.Setup();
    EXPECT_EQ(out.PrinterIndex, PdfIndex());
    EXPECT_EQ(out.OutputFileName, "/tmp/b.pdf");
    EXPECT_EQ(out.Orientation, TPrinterOrientation::poPortrait);
    EXPECT_TRUE(out.PageSize.isEquivalentTo(QPageSize(QPageSize::A5)));
}

TEST_F(PrinterSetupTest, FormKeepsAnUncommonPaperSizeOnOffer)
{
    const QPageSize custom(QSizeF(100, 150), QPageSize::Millimeter, "Card");
    TPrinterSetupForm form(PrinterOfferOf(Printer()),
                           {PdfIndex(), {}, TPrinterOrientation::poPortrait, custom});
    EXPECT_TRUE(form.Setup().PageSize.isEquivalentTo(custom));
}

TEST_F(PrinterSetupTest, FormWithAPrinterThatIsGoneOffersThePdfPrinter)
{
    TPrinterSetupForm form(PrinterOfferOf(Printer()),
                           {-1, {}, TPrinterOrientation::poPortrait, QPageSize(QPageSize::A4)});
    EXPECT_EQ(form.Setup().PrinterIndex, PdfIndex());
}

} // namespace
} // namespace qrv::test
