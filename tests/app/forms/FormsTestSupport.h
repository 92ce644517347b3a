// Helpers shared by the printing and window tests: reading PDF files back
// with poppler's command-line tools, answering the printer dialogs, and a
// fixture that points the program's printer at a PDF file in a scratch
// folder.
#pragma once

#include "QrvPrinterDialogs.h"
#include "QrvTestPlatform.h"

#include <QMap>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace qrv::test
{

// The text of a PDF file as pdftotext extracts it, page by page.
QStringList PdfPages(const QString& pdf);
// The non-empty text lines of a whole PDF file, in reading order, each with
// its runs of blanks shrunk to one (pdftotext does not keep them).
QStringList PdfLines(const QString& pdf);
// The lines with their runs of blanks shrunk to one, to compare with
// PdfLines.
QStringList Simplified(const QStringList& lines);
// The fields pdfinfo reports ("Title", "Pages", "Page size", ...).
QMap<QString, QString> PdfInfo(const QString& pdf);

// Printer dialogs that answer as told and record what they were asked.
class TAnsweringPrinterDialogs : public TPlatformDouble
{
public:
    bool ExecutePrinterSetup(QWidget* parent, const TPrinterOffer& offer, TPrinterSetup& setup) override;
    std::optional<QString> ChoosePdfFile(QWidget* parent, const QString& proposal) override;

    // ExecutePrinterSetup confirms with this setup, or cancels when empty.
    std::optional<TPrinterSetup> SetupAnswer;
    // ChoosePdfFile answers this (empty: the user cancels).
    std::optional<QString> FileAnswer;

    int SetupCalls = 0;
    std::optional<TPrinterSetup> SetupShown;
    QStringList FileProposals;
};

// Selects the PDF printer with an output file in a scratch folder and puts
// the printer's previous choices back afterwards.
class PdfPrinterTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    QString OutputFile() const { return output_; }
    QString ScratchPath(const QString& name) const { return dir_.filePath(name); }

    TAnsweringPrinterDialogs dialogs_;

private:
    QTemporaryDir dir_;
    QString output_;
    TPrinterSetup saved_;
};

} // namespace qrv::test
