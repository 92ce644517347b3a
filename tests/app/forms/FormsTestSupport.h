// Helpers shared by the printing and window tests: answering the printer
// dialogs, and a fixture that points the program's printer at a PDF file in
// a scratch folder. PDF files are read back with PdfText.h.
#pragma once

#include "PdfText.h"
#include "QrvPrinterDialogs.h"
#include "QrvTestPlatform.h"

#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <optional>

namespace qrv::test
{

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
