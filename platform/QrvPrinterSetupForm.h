// The printer set-up dialog of the Qt platform: printer, PDF output file,
// paper size and orientation. It edits a TPrinterSetup copy; nothing reaches
// the printer until the caller applies the confirmed copy.
#pragma once

#include "QrvPrinterSetup.h"

#include <QDialog>

class QButtonGroup;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace qrv
{

class TPrinterSetupForm : public QDialog
{
    Q_OBJECT
public:
    // `offer` supplies the printer list and each printer's paper sizes.
    TPrinterSetupForm(const TPrinterOffer& offer, const TPrinterSetup& setup, QWidget* parent = nullptr);

    // The choices as they stand in the controls.
    TPrinterSetup Setup() const;

    QComboBox* PrinterCombo;
    QLabel* FileLabel;
    QLineEdit* FileEdit;
    QPushButton* BrowseButton;
    QComboBox* PaperCombo;
    QRadioButton* PortraitRadio;
    QRadioButton* LandscapeRadio;

private:
    void PrinterComboChange();
    void BrowseButtonClick();
    void FillPaperSizes(const QPageSize& keep);
    bool PdfChosen() const;

    QStringList names_;
    std::function<QList<QPageSize>(const QString&)> pageSizes_;
    QList<QPageSize> sizes_;
};

} // namespace qrv
