// The main window: formula and range fields, the Plot button, the chart and
// the text table side by side, toolbar and main menu. Handlers are thin:
// they forward to the Plot run, the panel arrangement rules and the other
// windows.
#pragma once

#include "QrvCommandLine.h"
#include "QrvPanelArrangement.h"
#include "QrvPlotRun.h"

#include <QMainWindow>

class QAction;
class QActionGroup;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;
class QDialog;

namespace qrv
{

class TChart;
class TChartTrace;
class THelperForm;
class TPlotProgressBar;
class TRunClock;
class TLineSeries;
class TSplitter;
class TTableView;
class TTextPrintForm;
class TViewSettings;

// The client area of the window, below the menu bar.
inline constexpr int kClientWidth = 537;
inline constexpr int kClientHeight = 469;

// The windows created at start beside the main one; each may be missing
// (not built yet, or in tests), and the commands that open them then do
// nothing.
struct TStartupWindows {
    TTextPrintForm* PrintReport = nullptr; // the print report window
    THelperForm* Documentation = nullptr;  // shown without blocking the main window
    QDialog* OptionDialog = nullptr;       // the settings dialog, shown modally
    TViewSettings* ViewSettings = nullptr; // stores the View menu's pole choice
};

class TF_Main_GRF : public QMainWindow
{
    Q_OBJECT
public:
    explicit TF_Main_GRF(QWidget* parent = nullptr);
    ~TF_Main_GRF() override;

    // The windows that Settings, Print report and Documentation open.
    void SetStartupWindows(const TStartupWindows& windows) { FWindows = windows; }

    // The fields as typed, and filling them (the command line does).
    TPlotFields Fields() const;
    void SetFields(const TPlotFields& fields);

    // The marked Mode item: the angle mode the built-ins follow.
    TAngleMode AngleMode() const;
    void SetAngleMode(TAngleMode mode);

    const TViewMarks& ViewMarks() const { return FViewMarks; }

    // The clock that decides when a run shows its progress (not owned);
    // nullptr goes back to the system's.
    void SetRunClock(TRunClock* clock);

    // After a Plot: selects the token of a formula that did not compile, or
    // shows the hint about text after a complete formula.
    void ShowFormulaReading(const TFormulaReading& reading);

    // Commands. They do not catch errors: the connections run them through
    // the default exception display, tests call them directly.
    void FormCreate();
    void PlotSpdBtnClick();
    void SaveAsToolButtonClick();
    void ReportToolButtonClick();
    void GraphToolButtonClick();
    void ExitToolButtonClick();
    void Graphics1Click();
    void Text1Click();
    void Toolbar2Click();
    void BreakAtPoles1Click();
    void Copytext1Click();
    void CopyCsv1Click();
    void Copybitmap1Click();
    void Copymetafile1Click();
    void Settings1Click();
    void Radians1Click();
    void Degrees1Click();
    void Grads1Click();
    void HelpToolButtonClick();
    void AboutToolButtonClick();
    void ArrangeResultPanels();

    // Controls, named as the commands and tests know them.
    QToolBar* ToolBar1 = nullptr;
    QWidget* Panel1 = nullptr;
    QLabel* Label1 = nullptr;
    QLineEdit* Edit1 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QLabel* Label5 = nullptr;
    QLabel* Label6 = nullptr;
    QLabel* Label10 = nullptr;
    QLabel* FormulaNote = nullptr; // hint: text after the formula was ignored
    QLineEdit* E_X_i = nullptr;
    QLineEdit* E_X_Fi = nullptr;
    QLineEdit* E_Step = nullptr;
    QToolButton* PlotSpdBtn = nullptr;
    QWidget* Panel4 = nullptr;
    QWidget* Panel3 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    TSplitter* Splitter1 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    TTableView* Memo1 = nullptr;
    TChart* Chart1 = nullptr;
    TLineSeries* Series1 = nullptr;
    // Crosshair and readout of the point under the mouse, linked to the
    // table's lines.
    TChartTrace* Trace = nullptr;
    // Progress and Cancel of a long Plot run, below the result panels.
    TPlotProgressBar* PlotProgress = nullptr;
    // F5: Plot.
    QAction* PlotKey = nullptr;

    // Toolbar buttons
    QAction* ExitToolButton = nullptr;
    QAction* AboutToolButton = nullptr;
    QAction* HelpToolButton = nullptr;
    QAction* ReportToolButton = nullptr;
    QAction* GraphToolButton = nullptr;
    QAction* SaveAsToolButton = nullptr;

    // Menu items
    QAction* Saveas1 = nullptr;
    QAction* Printreport1 = nullptr;
    QAction* Printgraph1 = nullptr;
    QAction* Exit1 = nullptr;
    QAction* Graphics1 = nullptr;
    QAction* Text1 = nullptr;
    QAction* Toolbar2 = nullptr;
    QAction* BreakAtPoles1 = nullptr; // View: break the line at poles (stored)
    QAction* Copytext1 = nullptr;
    QAction* CopyCsv1 = nullptr; // Copy as CSV: the table for a spreadsheet
    QAction* Copybitmap1 = nullptr;
    QAction* Copymetafile1 = nullptr;
    QAction* Settings1 = nullptr;
    QAction* Radians1 = nullptr;
    QAction* Degrees1 = nullptr;
    QAction* Grads1 = nullptr;
    QAction* Documentation1 = nullptr;
    QAction* About1 = nullptr;
    QActionGroup* ModeGroup = nullptr;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void CreateControls();
    void CreateToolBar();
    void CreateMenu();
    // Connects an action to a command run through the exception display.
    void Connect(QAction* action, void (TF_Main_GRF::*handler)());
    void ShowViewMarks();

    TViewMarks FViewMarks;
    TStartupWindows FWindows;
    bool FCentred = false;
    TRunClock* FClock = nullptr;
};

// Filters the keys of the formula field: Enter (carriage return) is
// discarded and triggers nothing; every other key passes unchanged.
class TEnterFilter : public QObject
{
    Q_OBJECT
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

} // namespace qrv
