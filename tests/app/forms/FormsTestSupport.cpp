#include "FormsTestSupport.h"

namespace qrv::test
{

bool TAnsweringPrinterDialogs::ExecutePrinterSetup(QWidget*, const TPrinterOffer&, TPrinterSetup& setup)
{
    ++SetupCalls;
    SetupShown = setup;
    if (!SetupAnswer) return false;
    setup = *SetupAnswer;
    return true;
}

std::optional<QString> TAnsweringPrinterDialogs::ChoosePdfFile(QWidget*, const QString& proposal)
{
    FileProposals.append(proposal);
    return FileAnswer;
}

void PdfPrinterTest::SetUp()
{
    ASSERT_TRUE(dir_.isValid());
    TPrinter& printer = Printer();
    saved_ = {printer.PrinterIndex(), printer.OutputFileName(), printer.Orientation(), printer.PageSize()};
    output_ = dir_.filePath("out.pdf");
    printer.SetPrinterIndex(static_cast<int>(printer.Printers().size()) - 1);
    printer.SetOutputFileName(output_);
    printer.SetOrientation(TPrinterOrientation::poPortrait);
    printer.SetPageSize(QPageSize(QPageSize::A4));
}

void PdfPrinterTest::TearDown()
{
    TPrinter& printer = Printer();
    printer.Abort();
    if (saved_.PrinterIndex >= 0) printer.SetPrinterIndex(saved_.PrinterIndex);
    printer.SetOutputFileName(saved_.OutputFileName);
    printer.SetOrientation(saved_.Orientation);
    printer.SetPageSize(saved_.PageSize);
}

} // namespace qrv::test
