#include "QrvPrinterDialogs.h"

#include "QrvFpu.h"
#include "QrvPrinterSetupForm.h"

#include <QFileDialog>

namespace qrv
{

namespace
{

// The real windows.
class TWidgetPrinterDialogs : public TPrinterDialogs
{
public:
    bool ExecuteSetup(QWidget* parent, const TPrinter& printer, TPrinterSetup& setup) override
    {
        TPrinterSetupForm form(printer, setup, parent);
        if (form.exec() != QDialog::Accepted) return false;
        setup = form.Setup();
        return true;
    }

    std::optional<QString> AskPdfFileName(QWidget* parent, const QString& proposal) override
    {
        QString file = QFileDialog::getSaveFileName(parent, QObject::tr("Print to PDF"), proposal,
                                                    QObject::tr("PDF files (*.pdf);;All files (*)"));
        if (file.isEmpty()) return std::nullopt;
        return file;
    }
};

TWidgetPrinterDialogs gWidgetDialogs;
TPrinterDialogs* gDialogs = &gWidgetDialogs;

} // namespace

TPrinterDialogs& PrinterDialogs()
{
    return *gDialogs;
}

TScopedPrinterDialogs::TScopedPrinterDialogs(TPrinterDialogs& dialogs) : previous_(gDialogs)
{
    gDialogs = &dialogs;
}

TScopedPrinterDialogs::~TScopedPrinterDialogs()
{
    gDialogs = previous_;
}

bool ExecutePrinterSetup(QWidget* parent, TPrinter& printer)
{
    TPrinterSetup setup;
    setup.PrinterIndex = printer.PrinterIndex();
    setup.OutputFileName = printer.OutputFileName();
    setup.Orientation = printer.Orientation();
    setup.PageSize = printer.PageSize();

    const bool confirmed = PrinterDialogs().ExecuteSetup(parent, printer, setup);
    InitFloatEnvironment();
    if (!confirmed) return false;

    // The printer goes first: it is the one choice that can fail (the
    // printer may have gone since the list was read), and a failure must
    // leave every setting as it was.
    printer.SetPrinterIndex(setup.PrinterIndex);
    printer.SetOutputFileName(setup.OutputFileName);
    printer.SetOrientation(setup.Orientation);
    printer.SetPageSize(setup.PageSize);
    return true;
}

} // namespace qrv
