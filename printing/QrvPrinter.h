// The program's current printer, shared by every print command: the report
// window, the chart print preview and anything that prints later. Whatever a
// printer set-up dialog or the preview chooses (printer, orientation, paper,
// output file) stays in force for the following jobs of the whole program.
//
// The printer list is the system's printers followed by "Print to PDF",
// which is always offered and writes each job to a PDF file; on a machine
// without printers it is the only entry. Page geometry is always the whole
// sheet: the painter's origin is the top-left corner of the paper and no
// margins are reserved, so callers place everything themselves.
#pragma once

#include "QrvPrinterSetup.h"

#include <QPageSize>
#include <QPainter>
#include <QPrinter>
#include <QString>
#include <QStringList>

#include <memory>

class QTemporaryFile;

namespace qrv
{

class TPrinter
{
public:
    // The name of the always-present PDF printer.
    static QString PdfPrinterName();
    // Resolution of the PDF printer, in pixels per inch: that of a common
    // laser printer, fine enough for text and charts, small enough for quick
    // jobs.
    static constexpr int kPdfResolution = 600;

    TPrinter();
    ~TPrinter();
    TPrinter(const TPrinter&) = delete;
    TPrinter& operator=(const TPrinter&) = delete;

    // The printer names, read afresh from the system: its printers, then the
    // PDF printer.
    QStringList Printers() const;
    // Index of the current printer in Printers(); -1 when the chosen system
    // printer has since disappeared.
    int PrinterIndex() const;
    // Makes entry `index` of Printers() current; raises EPrinter for an
    // index outside the list or while a job is running.
    void SetPrinterIndex(int index);
    QString PrinterName() const { return name_; }
    bool IsPdf() const { return pdf_; }

    // The file the PDF printer writes; empty until chosen. When it is empty
    // at the start of a job, the user is asked for one.
    QString OutputFileName() const { return outputFile_; }
    void SetOutputFileName(const QString& fileName);

    TPrinterOrientation Orientation() const;
    void SetOrientation(TPrinterOrientation orientation);
    QPageSize PageSize() const;
    void SetPageSize(const QPageSize& size);
    // The paper sizes the current printer offers.
    QList<QPageSize> SupportedPageSizes() const;

    // The whole sheet in device pixels, for the current paper and
    // orientation.
    int PageWidth() const;
    int PageHeight() const;
    // Device resolution in pixels per inch.
    int XDpi() const;
    int YDpi() const;

    // The job title, shown by the system's print queue and stored as the
    // title of a PDF file.
    QString Title() const { return title_; }
    void SetTitle(const QString& title) { title_ = title; }

    // Starts a job on the current printer with the current title; the
    // first page is open afterwards. Raises EPrinter when the printer is
    // not usable or the PDF file cannot be created, and EAbort when the user
    // declines to name a PDF file.
    void BeginDoc();
    // Finishes the current page and opens the next one.
    void NewPage();
    // Finishes the job and hands it to the printer (or closes the PDF file).
    void EndDoc();
    // Drops the running job; a PDF file the job had started is removed.
    // Does nothing when no job is running.
    void Abort();
    bool Printing() const { return painter_ != nullptr; }
    // Pages opened in the running job, the first counting 1.
    int PageNumber() const { return pageNumber_; }
    // The painter of the running job; raises EPrinter when none is running.
    QPainter& Canvas();

    // The underlying paint device, for text layout that needs its metrics.
    QPrinter& Device() { return device_; }

private:
    void Configure();
    void RequireIdle() const;

    QPrinter device_{QPrinter::HighResolution};
    std::unique_ptr<QPainter> painter_;
    // A PDF job's file while it is written, and the file it becomes.
    std::unique_ptr<QTemporaryFile> spool_;
    QString target_;
    QString name_;
    bool pdf_ = true;
    QString outputFile_;
    QString title_;
    QPageSize pageSize_;
    QPageLayout::Orientation orientation_ = QPageLayout::Portrait;
    int pageNumber_ = 0;
};

// The paper sizes printer `printerName` offers; for the PDF printer (and a
// printer that reports none) a list of common sizes.
QList<QPageSize> PageSizesOf(const QString& printerName);

// The program's one current printer, made on first use and freed when the
// application object goes away.
TPrinter& Printer();

} // namespace qrv
