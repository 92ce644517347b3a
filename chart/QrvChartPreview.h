// The chart print preview window: the printer, its set-up and the paper
// orientation, the four paper margins (typed, or dragged on the sheet),
// resetting them, showing the margin lines, the detail, proportional
// margins, and printing the chart as one page.
//
// ShowChartPreview is the whole command: the window exists only while it is
// shown. Its settings belong to the chart and its printer choices to the
// program's printer, so both outlive the window.
#pragma once

#include "QrvPrintMargins.h"

#include <QDialog>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;

namespace qrv
{

class TChart;
class TChartPreviewPage;
class TPrinter;

class TChartPreview : public QDialog
{
    Q_OBJECT
public:
    // FormCreate: the controls and the page; nothing is read yet.
    explicit TChartPreview(QWidget* owner = nullptr, TPrinter* printer = nullptr);
    ~TChartPreview() override;

    void SetChart(TChart* chart);
    TChart* Chart() const { return chart_; }
    TChartPreviewPage* Page() const { return page_; }

    // Fills the controls from the printer and the chart, switches the
    // printer to landscape and computes the margins. ShowChartPreview runs
    // it before the window appears, so its errors reach the caller.
    void FormShow();

    // Handlers, public so that tests can drive the window the way its
    // controls do. Errors leave them as exceptions.
    void PrintersChange(int index);
    void BSetupPrinterClick();
    void OrientationClick();
    void SETopMaChange(int value);
    void SELeftMaChange(int value);
    void SEBotMaChange(int value);
    void SERightMaChange(int value);
    void BResetClick();
    void ShowMarginsClick();
    void ResolutionChange(int position);
    void CBPropClick();
    void BPrintClick();
    void BCloseClick();

    // The margins BReset brings back.
    TPaperMargins SavedMargins() const { return saved_; }

    QComboBox* Printers;
    QPushButton* BSetupPrinter;
    QPushButton* BPrint;
    QPushButton* BClose;
    QGroupBox* Orientation;
    QRadioButton* OrientationPortrait;
    QRadioButton* OrientationLandscape;
    QGroupBox* GBMargins;
    QSpinBox* SETopMa;
    QSpinBox* SELeftMa;
    QSpinBox* SEBotMa;
    QSpinBox* SERightMa;
    QPushButton* BReset;
    QCheckBox* ShowMargins;
    QGroupBox* ChangeDetailGroup;
    QScrollBar* Resolution;
    QCheckBox* CBProp;

private:
    TPaperMargins& Margins();
    void FillPrinters();
    void OrientationFromPrinter();
    void Recompute();
    void MarginsChanged(bool fromDrag, const TPaperMargins& margins);
    // A margin typed into its edit; the opposite margin is the one the two
    // must leave paper with.
    void MarginEdited(int TPaperMargins::*margin, int TPaperMargins::*opposite, QSpinBox* edit, int value);
    void Refresh();
    // Runs a handler for a control: an error goes to the error display.
    void Run(void (TChartPreview::*handler)());
    template <class Arg> void Run(void (TChartPreview::*handler)(Arg), Arg arg);

    TPrinter& printer_;
    TChart* chart_ = nullptr;
    TChartPreviewPage* page_;
    QButtonGroup* orientationGroup_;
    TPaperMargins saved_;
    bool creating_ = true;
    bool updatingMargins_ = true;
};

// Print graph: shows the preview of `chart` modally (through the platform's
// modal run), owned by `owner`, and frees it; the chart repaints afterwards,
// also when an error is passed on.
void ShowChartPreview(QWidget* owner, TChart& chart);

} // namespace qrv
