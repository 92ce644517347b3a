#include "QrvChartPreview.h"

#include "QrvChart.h"
#include "QrvChartPreviewPage.h"
#include "QrvChartPrint.h"
#include "QrvErrors.h"
#include "QrvPlatform.h"
#include "QrvPrinter.h"
#include "QrvPrinterDialogs.h"
#include "QrvWaitCursor.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QSpinBox>
#include <QVBoxLayout>

#include <memory>

namespace qrv
{

namespace
{

QSpinBox* MarginEdit(const char* name, const QString& hint, QWidget* parent)
{
    auto* edit = new QSpinBox(parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setRange(0, 100);
    edit->setWrapping(false);
    edit->setToolTip(hint);
    return edit;
}

} // namespace

TChartPreview::TChartPreview(QWidget* owner, TPrinter* printer)
    : QDialog(owner), printer_(printer ? *printer : Printer())
{
    setObjectName(QStringLiteral("ChartPreview"));
    setWindowTitle(tr("Chart Print Preview"));

    // Top: the printer and the commands.
    auto* printerLabel = new QLabel(tr("P&rinter:"), this);
    Printers = new QComboBox(this);
    Printers->setObjectName(QStringLiteral("Printers"));
    Printers->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    Printers->setMinimumContentsLength(24);
    printerLabel->setBuddy(Printers);
    BSetupPrinter = new QPushButton(tr("Printer &Setup..."), this);
    BSetupPrinter->setObjectName(QStringLiteral("BSetupPrinter"));
    BPrint = new QPushButton(tr("&Print"), this);
    BPrint->setObjectName(QStringLiteral("BPrint"));
    BClose = new QPushButton(tr("Close"), this);
    BClose->setObjectName(QStringLiteral("BClose"));
    BClose->setDefault(true);
    auto* top = new QHBoxLayout;
    top->addWidget(printerLabel);
    top->addWidget(Printers, 1);
    top->addWidget(BSetupPrinter);
    top->addWidget(BPrint);
    top->addWidget(BClose);

    // Left: orientation, margins, detail.
    Orientation = new QGroupBox(tr("Paper Orientation:"), this);
    Orientation->setObjectName(QStringLiteral("Orientation"));
    OrientationPortrait = new QRadioButton(tr("P&ortrait"), Orientation);
    OrientationLandscape = new QRadioButton(tr("&Landscape"), Orientation);
    OrientationLandscape->setChecked(true);
    orientationGroup_ = new QButtonGroup(this);
    orientationGroup_->addButton(OrientationPortrait, 0);
    orientationGroup_->addButton(OrientationLandscape, 1);
    auto* orientationLayout = new QVBoxLayout(Orientation);
    orientationLayout->addWidget(OrientationPortrait);
    orientationLayout->addWidget(OrientationLandscape);

    GBMargins = new QGroupBox(tr("Margins (%)"), this);
    GBMargins->setObjectName(QStringLiteral("GBMargins"));
    SETopMa = MarginEdit("SETopMa", tr("Top"), GBMargins);
    SELeftMa = MarginEdit("SELeftMa", tr("Left"), GBMargins);
    SEBotMa = MarginEdit("SEBotMa", tr("Bottom"), GBMargins);
    SERightMa = MarginEdit("SERightMa", tr("Right"), GBMargins);
    // Each edit sits on its side of the paper.
    auto* marginsLayout = new QGridLayout(GBMargins);
    marginsLayout->addWidget(SETopMa, 0, 0, 1, 2, Qt::AlignHCenter);
    marginsLayout->addWidget(SELeftMa, 1, 0);
    marginsLayout->addWidget(SERightMa, 1, 1);
    marginsLayout->addWidget(SEBotMa, 2, 0, 1, 2, Qt::AlignHCenter);
    BReset = new QPushButton(tr("Reset &Margins"), GBMargins);
    BReset->setObjectName(QStringLiteral("BReset"));
    BReset->setEnabled(false);
    marginsLayout->addWidget(BReset, 3, 0, 1, 2);
    ShowMargins = new QCheckBox(tr("&View Margins"), GBMargins);
    ShowMargins->setObjectName(QStringLiteral("ShowMargins"));
    ShowMargins->setChecked(true);
    marginsLayout->addWidget(ShowMargins, 4, 0, 1, 2);

    ChangeDetailGroup = new QGroupBox(tr("Detail:"), this);
    ChangeDetailGroup->setObjectName(QStringLiteral("ChangeDetailGroup"));
    Resolution = new QScrollBar(Qt::Horizontal, ChangeDetailGroup);
    Resolution->setObjectName(QStringLiteral("Resolution"));
    Resolution->setRange(MinPrintDetail, MaxPrintDetail);
    Resolution->setPageStep(10);
    auto* detailLayout = new QGridLayout(ChangeDetailGroup);
    detailLayout->addWidget(new QLabel(tr("More"), ChangeDetailGroup), 0, 0, Qt::AlignLeft);
    detailLayout->addWidget(new QLabel(tr("Normal"), ChangeDetailGroup), 0, 1, Qt::AlignRight);
    detailLayout->addWidget(Resolution, 1, 0, 1, 2);

    CBProp = new QCheckBox(tr("Proportional"), this);
    CBProp->setObjectName(QStringLiteral("CBProp"));
    CBProp->setChecked(true);

    auto* left = new QVBoxLayout;
    left->addWidget(Orientation);
    left->addWidget(GBMargins);
    left->addWidget(ChangeDetailGroup);
    left->addWidget(CBProp);
    left->addStretch(1);

    page_ = new TChartPreviewPage(printer_, this);
    page_->OnMarginsChanged = [this](bool fromDrag, const TPaperMargins& margins) {
        MarginsChanged(fromDrag, margins);
    };
    page_->OnDragFinished = [this] { Refresh(); };

    auto* body = new QHBoxLayout;
    body->addLayout(left);
    body->addWidget(page_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(body, 1);

    connect(Printers, &QComboBox::activated, this,
            [this](int index) { Run(&TChartPreview::PrintersChange, index); });
    connect(BSetupPrinter, &QPushButton::clicked, this, [this] { Run(&TChartPreview::BSetupPrinterClick); });
    connect(BPrint, &QPushButton::clicked, this, [this] { Run(&TChartPreview::BPrintClick); });
    connect(BClose, &QPushButton::clicked, this, [this] { Run(&TChartPreview::BCloseClick); });
    connect(orientationGroup_, &QButtonGroup::idClicked, this,
            [this] { Run(&TChartPreview::OrientationClick); });
    connect(SETopMa, &QSpinBox::valueChanged, this, [this](int v) { Run(&TChartPreview::SETopMaChange, v); });
    connect(SELeftMa, &QSpinBox::valueChanged, this,
            [this](int v) { Run(&TChartPreview::SELeftMaChange, v); });
    connect(SEBotMa, &QSpinBox::valueChanged, this, [this](int v) { Run(&TChartPreview::SEBotMaChange, v); });
    connect(SERightMa, &QSpinBox::valueChanged, this,
            [this](int v) { Run(&TChartPreview::SERightMaChange, v); });
    connect(BReset, &QPushButton::clicked, this, [this] { Run(&TChartPreview::BResetClick); });
    connect(ShowMargins, &QCheckBox::clicked, this, [this] { Run(&TChartPreview::ShowMarginsClick); });
    connect(Resolution, &QScrollBar::valueChanged, this,
            [this](int v) { Run(&TChartPreview::ResolutionChange, v); });
    connect(CBProp, &QCheckBox::clicked, this, [this] { Run(&TChartPreview::CBPropClick); });

    resize(697, 427);
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
}

TChartPreview::~TChartPreview() = default;

void TChartPreview::SetChart(TChart* chart)
{
    chart_ = chart;
    page_->SetPreviewChart(chart);
}

TPaperMargins& TChartPreview::Margins()
{
    return page_->EditMargins();
}

void TChartPreview::Run(void (TChartPreview::*handler)())
{
    try {
        (this->*handler)();
    } catch (...) {
        Platform().ShowError(this, std::current_exception());
    }
}

template <class Arg> void TChartPreview::Run(void (TChartPreview::*handler)(Arg), Arg arg)
{
    try {
        (this->*handler)(arg);
    } catch (...) {
        Platform().ShowError(this, std::current_exception());
    }
}

void TChartPreview::FillPrinters()
{
    const QSignalBlocker blocker(Printers);
    Printers->clear();
    Printers->addItems(printer_.Printers());
    Printers->setCurrentIndex(printer_.PrinterIndex());
}

void TChartPreview::OrientationFromPrinter()
{
    const bool landscape = printer_.Orientation() == TPrinterOrientation::poLandscape;
    (landscape ? OrientationLandscape : OrientationPortrait)->setChecked(true);
}

void TChartPreview::FormShow()
{
    creating_ = true;
    setCursor(Qt::ArrowCursor);
    FillPrinters();
    // The chart is wider than tall on screen, so landscape suits it; every
    // showing starts there.
    printer_.SetOrientation(TPrinterOrientation::poLandscape);
    CBProp->setChecked(chart_ ? chart_->PrintProportional() : true);
    {
        const QSignalBlocker blocker(Resolution);
        Resolution->setValue(chart_ ? PrintSettingsOf(*chart_).PrintDetail : 0);
    }
    saved_ = Margins();
    Recompute();
    creating_ = false;
}

void TChartPreview::Recompute()
{
    if (chart_ && chart_->PrintProportional()) {
        Margins() = ProportionalMargins(*chart_, printer_);
        saved_ = Margins();
    }
    OrientationFromPrinter();
    MarginsChanged(false, Margins());
}

void TChartPreview::MarginsChanged(bool fromDrag, const TPaperMargins& margins)
{
    updatingMargins_ = true;
    {
        const QSignalBlocker left(SELeftMa), right(SERightMa), top(SETopMa), bottom(SEBotMa);
        SELeftMa->setValue(margins.Left);
        SERightMa->setValue(margins.Right);
        SETopMa->setValue(margins.Top);
        SEBotMa->setValue(margins.Bottom);
    }
    // Margins the user placed by hand are no longer proportional.
    if (fromDrag) {
        if (chart_) chart_->SetPrintProportional(false);
        CBProp->setChecked(false);
    }
    updatingMargins_ = false;
    if (page_->LiveOutline || !fromDrag)
        Refresh();
    else
        page_->UpdateMarginLines();
}

void TChartPreview::Refresh()
{
    page_->Repaint();
    BReset->setEnabled(Margins() != saved_);
}

void TChartPreview::MarginEdited(int TPaperMargins::*margin, int TPaperMargins::*opposite, QSpinBox* edit,
                                 int value)
{
    if (creating_) return;
    TPaperMargins& m = Margins();
    int& mine = m.*margin;
    // Two opposite margins must leave some paper: the entry is refused.
    if (!MarginPairAllowed(value, m.*opposite)) {
        const QSignalBlocker blocker(edit);
        edit->setValue(mine);
        return;
    }
    if (value == mine) return;
    mine = value;
    // A typed margin is the user's choice, as a dragged one is; left
    // proportional, the printout would quietly use other margins than the
    // preview shows.
    if (chart_) chart_->SetPrintProportional(false);
    CBProp->setChecked(false);
    if (!updatingMargins_) Refresh();
}

void TChartPreview::SETopMaChange(int value)
{
    MarginEdited(&TPaperMargins::Top, &TPaperMargins::Bottom, SETopMa, value);
}

void TChartPreview::SELeftMaChange(int value)
{
    MarginEdited(&TPaperMargins::Left, &TPaperMargins::Right, SELeftMa, value);
}

void TChartPreview::SEBotMaChange(int value)
{
    MarginEdited(&TPaperMargins::Bottom, &TPaperMargins::Top, SEBotMa, value);
}

void TChartPreview::SERightMaChange(int value)
{
    MarginEdited(&TPaperMargins::Right, &TPaperMargins::Left, SERightMa, value);
}

void TChartPreview::OrientationClick()
{
    printer_.SetOrientation(OrientationPortrait->isChecked() ? TPrinterOrientation::poPortrait
                                                             : TPrinterOrientation::poLandscape);
    Recompute();
    page_->Repaint();
}

void TChartPreview::PrintersChange(int index)
{
    try {
        printer_.SetPrinterIndex(index);
    } catch (...) {
        // The list shows the printer still in use.
        FillPrinters();
        throw;
    }
    OrientationFromPrinter();
    OrientationClick();
}

void TChartPreview::BSetupPrinterClick()
{
    ExecutePrinterSetup(this, printer_);
    FillPrinters();
    OrientationFromPrinter();
    // The set-up may have changed the paper: the sheet and proportional
    // margins follow it.
    Recompute();
}

void TChartPreview::ShowMarginsClick()
{
    page_->ShowMarginLines = ShowMargins->isChecked();
    page_->UpdateMarginLines();
}

void TChartPreview::ResolutionChange(int position)
{
    if (chart_) PrintSettingsOf(*chart_).PrintDetail = position;
    page_->Repaint();
    OrientationFromPrinter();
}

void TChartPreview::CBPropClick()
{
    if (chart_) chart_->SetPrintProportional(CBProp->isChecked());
    Recompute();
}

void TChartPreview::BResetClick()
{
    Margins() = saved_;
    MarginsChanged(false, Margins());
}

void TChartPreview::BPrintClick()
{
    if (!chart_) return;
    const TWaitCursor wait;
    PrintWithMargins(*chart_, printer_);
}

void TChartPreview::BCloseClick()
{
    reject();
}

void ShowChartPreview(QWidget* owner, TChart& chart)
{
    // The chart was drawn for the printer while the window showed it.
    struct TRepaintAfter {
        TChart& chart;
        ~TRepaintAfter() { chart.RequestRepaint(); }
    } repaint{chart};
    auto form = std::make_unique<TChartPreview>(owner);
    form->SetChart(&chart);
    form->FormShow();
    Platform().RunModal(*form);
}

} // namespace qrv
