#include "QrvPrinterSetupForm.h"

#include "QrvPlatform.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace qrv
{

TPrinterSetupForm::TPrinterSetupForm(const TPrinterOffer& offer, const TPrinterSetup& setup, QWidget* parent)
    : QDialog(parent), names_(offer.Printers), pageSizes_(offer.PageSizes)
{
    setWindowTitle(tr("Printer Setup"));
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* printerBox = new QGroupBox(tr("Printer"), this);
    auto* printerForm = new QFormLayout(printerBox);
    PrinterCombo = new QComboBox(printerBox);
    PrinterCombo->addItems(names_);
    printerForm->addRow(tr("&Name:"), PrinterCombo);
    FileEdit = new QLineEdit(printerBox);
    BrowseButton = new QPushButton(tr("&Browse..."), printerBox);
    auto* fileRow = new QHBoxLayout;
    fileRow->addWidget(FileEdit, 1);
    fileRow->addWidget(BrowseButton);
    FileLabel = new QLabel(tr("Output &file:"), printerBox);
    FileLabel->setBuddy(FileEdit);
    printerForm->addRow(FileLabel, fileRow);

    auto* paperBox = new QGroupBox(tr("Paper"), this);
    auto* paperForm = new QFormLayout(paperBox);
    PaperCombo = new QComboBox(paperBox);
    paperForm->addRow(tr("Si&ze:"), PaperCombo);

    auto* orientationBox = new QGroupBox(tr("Orientation"), this);
    auto* orientationLayout = new QVBoxLayout(orientationBox);
    PortraitRadio = new QRadioButton(tr("P&ortrait"), orientationBox);
    LandscapeRadio = new QRadioButton(tr("&Landscape"), orientationBox);
    orientationLayout->addWidget(PortraitRadio);
    orientationLayout->addWidget(LandscapeRadio);

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

    auto* lower = new QHBoxLayout;
    lower->addWidget(paperBox, 1);
    lower->addWidget(orientationBox);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(printerBox);
    layout->addLayout(lower);
    layout->addWidget(buttons);

    // A printer that has gone since it was chosen leaves the PDF printer.
    PrinterCombo->setCurrentIndex(setup.PrinterIndex >= 0 && setup.PrinterIndex < PrinterCombo->count()
                                      ? setup.PrinterIndex
                                      : PrinterCombo->count() - 1);
    FileEdit->setText(setup.OutputFileName);
    (setup.Orientation == TPrinterOrientation::poLandscape ? LandscapeRadio : PortraitRadio)
        ->setChecked(true);
    FillPaperSizes(setup.PageSize);
    PrinterComboChange();

    connect(PrinterCombo, &QComboBox::currentIndexChanged, this, [this] {
        FillPaperSizes(Setup().PageSize);
        PrinterComboChange();
    });
    connect(BrowseButton, &QPushButton::clicked, this, &TPrinterSetupForm::BrowseButtonClick);
}

bool TPrinterSetupForm::PdfChosen() const
{
    return PrinterCombo->currentIndex() == PrinterCombo->count() - 1;
}

// The output file only matters for the PDF printer.
void TPrinterSetupForm::PrinterComboChange()
{
    const bool pdf = PdfChosen();
    FileLabel->setEnabled(pdf);
    FileEdit->setEnabled(pdf);
    BrowseButton->setEnabled(pdf);
}

void TPrinterSetupForm::BrowseButtonClick()
{
    if (auto file = Platform().ChoosePdfFile(this, FileEdit->text())) FileEdit->setText(*file);
}

// Lists the paper sizes of the printer chosen in the combo box, keeping
// `keep` selected when that printer offers it.
void TPrinterSetupForm::FillPaperSizes(const QPageSize& keep)
{
    const int index = PrinterCombo->currentIndex();
    sizes_ =
        pageSizes_ && index >= 0 && index < names_.size() ? pageSizes_(names_.at(index)) : QList<QPageSize>();
    if (keep.isValid()) {
        bool listed = false;
        for (const auto& size : sizes_)
            listed = listed || size.isEquivalentTo(keep);
        if (!listed) sizes_.prepend(keep);
    }
    const QSignalBlocker block(PaperCombo);
    PaperCombo->clear();
    int selected = 0;
    for (int i = 0; i < sizes_.size(); ++i) {
        PaperCombo->addItem(sizes_[i].name());
        if (keep.isValid() && sizes_[i].isEquivalentTo(keep)) selected = i;
    }
    PaperCombo->setCurrentIndex(selected);
}

TPrinterSetup TPrinterSetupForm::Setup() const
{
    TPrinterSetup setup;
    setup.PrinterIndex = PrinterCombo->currentIndex();
    setup.OutputFileName = FileEdit->text().trimmed();
    setup.Orientation =
        LandscapeRadio->isChecked() ? TPrinterOrientation::poLandscape : TPrinterOrientation::poPortrait;
    setup.PageSize = sizes_.value(PaperCombo->currentIndex());
    return setup;
}

} // namespace qrv
