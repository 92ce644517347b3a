// The main window: formula and range fields, the Plot button, the chart and
// the text table side by side, toolbar and main menu. Handlers are thin:
// they forward to the Plot run, the panel arrangement rules and the other
// windows.
#pragma once

#include "QrvCommandLine.h"
#include "QrvDocument.h"
#include "QrvFeatures.h"
#include "QrvKindFields.h"
#include "QrvPanelArrangement.h"
#include "QrvPlotRun.h"

#include <QMainWindow>

#include <memory>
#include <optional>
#include <string>
#include <vector>

class QAction;
class QActionGroup;
class QMenu;
class QGroupBox;
class QLabel;
class QLineEdit;
class QToolBar;
class QToolButton;
class QDialog;
class QSize;

namespace qrv
{

class TAnalysisPane;
class TChart;
class TChartTrace;
class TCurveListModel;
class TCurveListPanel;
class TDocumentSession;
class THelperForm;
class TPlotProgressBar;
class TRunClock;
class TLineSeries;
class TOptionDialog;
class TSaveAs;
class TSplitter;
class TTableView;
class TTextPrintForm;
class TViewSettings;

// The client area of the window, below the menu bar.
inline constexpr int kClientWidth = 537;
inline constexpr int kClientHeight = 469;

// The windows created at start beside the main one. A test may leave any of
// them out; the command that opens a missing one does nothing.
struct TStartupWindows {
    TTextPrintForm* PrintReport = nullptr; // the print report window
    THelperForm* Documentation = nullptr;  // shown without blocking the main window
    TOptionDialog* OptionDialog = nullptr; // the settings dialog, shown modally
    TViewSettings* ViewSettings = nullptr; // stores the View menu's pole choice
};

class TF_Main_GRF : public QMainWindow
{
    Q_OBJECT
public:
    explicit TF_Main_GRF(QWidget* parent = nullptr);
    ~TF_Main_GRF() override;

    // The windows that Settings, Print report and Documentation open.
    void SetStartupWindows(const TStartupWindows& windows) { windows_ = windows; }

    // The fields as typed, and filling them (the command line does).
    TPlotFields Fields() const;
    void SetFields(const TPlotFields& fields);
    // All six fields as typed, whichever the current curve's kind shows.
    TKindFieldTexts FieldTexts() const;

    // The marked Mode item: the angle mode the built-ins follow.
    TAngleMode AngleMode() const;
    void SetAngleMode(TAngleMode mode);

    const TViewMarks& ViewMarks() const { return viewMarks_; }

    // The table's text as shown now, edits included: what Save as, the Copy
    // commands and Print report take.
    QString TableText() const;
    // The CSV of the shown curves of a document of several; nothing for a
    // document of one curve, whose CSV comes from the table as shown.
    std::optional<std::string> CurvesCsv() const;
    // Save as's state (its dialog's file type and the last target), kept for
    // the window's lifetime.
    TSaveAs& SaveAs();

    // The clock that decides when a run shows its progress (not owned);
    // nullptr goes back to the system's.
    void SetRunClock(TRunClock* clock);

    // After a Plot: selects the token of a formula that did not compile, or
    // shows the hint about text after a complete formula.
    void ShowFormulaReading(const TFormulaReading& reading);

    // Commands. They do not catch errors: the connections run them through
    // the default exception display, tests call them directly.
    void FormCreate();            // start-up formula, Radians marked, stored View choices
    void PlotSpdBtnClick();       // Plot: runs the formula over the range into chart and table
    void SaveAsToolButtonClick(); // Save as: the table or the chart to a file
    void ReportToolButtonClick(); // Print report: the table in the report window
    void GraphToolButtonClick();  // Print graph: the chart's print preview
    void ExitToolButtonClick();   // Exit: closes the window, ending the program
    void Graphics1Click();        // View: shows or hides the chart panel
    void Text1Click();            // View: shows or hides the table panel
    void Toolbar2Click();         // View: shows or hides the toolbar
    void BreakAtPoles1Click();    // View: breaks the line at poles at once, and stores the choice
    void EqualScales1Click();     // View: one unit as long on both axes, stored
    void FineLabels1Click();      // View: finer axis labels, stored
    void Copytext1Click();        // Copy text: the table to the clipboard
    void CopyCsv1Click();         // Copy as CSV: the table as comma-separated values
    void Copybitmap1Click();      // Copy bitmap: the chart as a picture
    void Copymetafile1Click();    // Copy metafile: the chart as a metafile of the set flavour
    void Settings1Click();        // Settings: the settings dialog, modally
    void Radians1Click();         // Mode: trigonometry in radians
    void Degrees1Click();         // Mode: trigonometry in degrees
    void Grads1Click();           // Mode: trigonometry in grads
    void HelpToolButtonClick();   // Documentation: the guide window, not blocking
    void AboutToolButtonClick();  // About: the About window, modally
    void ArrangeResultPanels();   // lays out chart, splitter and table by the View marks

    // The document of several curves.
    void NewDocument1Click();    // File: a new document of one empty curve
    void OpenDocument1Click();   // File: a .qurvia document, plotted
    void SaveDocument1Click();   // File: the document to its file (or as a new one)
    void SaveDocumentAs1Click(); // File: the document to a file chosen
    // Opens a document file (start-up, recent documents, Open): a refused one
    // raises its one message and leaves the window as it was.
    void OpenDocumentFile(const std::string& fileName);
    // Asks whether to save unsaved changes that matter first: true when the
    // caller may go on (saved, discarded, or nothing to ask).
    bool MayReplaceDocument();
    void FunctionList1Click(); // View: shows or hides the function list
    void Undo1Click();         // Edit: takes the last change of the document back
    void Redo1Click();         // Edit: makes the change taken back again
    void AddCurve1Click();     // Edit: a new empty curve after the current one
    // Edit > Add curve of kind: a new curve of `kind` from its start texts.
    void AddCurveOfKind(TCurveKind kind);
    void KeepCurve1Click();   // Edit: the fields into the current curve, then a new one
    void RemoveCurve1Click(); // Edit: removes the current curve (not the last one)
    void MoveCurveUp1Click(); // Edit: the current curve one place up the list
    void MoveCurveDown1Click();
    void CurveStyle1Click(); // Edit: colour, width, line and label of the current curve
    // Makes a curve the current one: the fields' texts go into the curve they
    // showed, then show the chosen one's.
    void SelectCurve(int index);
    // Shows or hides the function list, widening the window by its width.
    void ShowFunctionList(bool shown);
    bool FunctionListShown() const { return listShown_; }

    // The Analysis pane below the result panels, hidden at start.
    void Analysis1Click(); // View and toolbar: shows or hides the Analysis pane
    // Shows or hides the pane, heightening the window by its height; a
    // shown pane lists the features of the shown curves at once.
    void ShowAnalysis(bool shown);
    bool AnalysisShown() const { return analysisShown_; }
    // The features the pane lists and the chart marks, in the pane's order.
    const std::vector<TFeature>& Features() const { return features_; }
    // Chooses a row of the pane: the trace goes to its feature.
    void ChooseFeature(int row);
    // "Evaluate at x": f, f' and f'' of the current curve at the x typed.
    QString EvaluateAt(const QString& xText) const;

    // Controls, named as the commands and tests know them.
    QToolBar* ToolBar1 = nullptr;      // the toolbar below the menu
    QWidget* Panel1 = nullptr;         // top band: formula row and plot range
    QLabel* Label1 = nullptr;          // caption "Formula: y="
    QLineEdit* Edit1 = nullptr;        // the formula
    QLabel* Label2 = nullptr;          // caption "y(t)=" (parametric curves)
    QLineEdit* Edit2 = nullptr;        // y(t) of a parametric curve
    QGroupBox* GroupBox3 = nullptr;    // "Plot range": the three fields and Plot
    QLabel* Label5 = nullptr;          // caption of X min
    QLabel* Label6 = nullptr;          // caption of X max
    QLabel* Label10 = nullptr;         // caption of Step
    QLabel* FormulaNote = nullptr;     // hint: text after the formula was ignored
    QLineEdit* E_X_i = nullptr;        // X min
    QLineEdit* E_X_Fi = nullptr;       // X max
    QLineEdit* E_Step = nullptr;       // Step (Y min of an implicit curve)
    QLabel* Label7 = nullptr;          // caption of Y max (implicit curves)
    QLineEdit* E_Y_Fi = nullptr;       // Y max of an implicit curve
    QToolButton* PlotSpdBtn = nullptr; // Plot
    QWidget* Panel4 = nullptr;         // lower area, holding the result panels
    QWidget* Panel3 = nullptr;         // the row of chart, splitter and table
    QGroupBox* GroupBox2 = nullptr;    // "Graphic result": holds the chart
    TSplitter* Splitter1 = nullptr;    // sizes the table panel against the chart
    QGroupBox* GroupBox4 = nullptr;    // "Text result": holds the table
    TTableView* Memo1 = nullptr;       // the text table, one "x   y" line per point
    TChart* Chart1 = nullptr;          // the chart
    TLineSeries* Series1 = nullptr;    // the chart's one line: the plotted points
    // Crosshair and readout of the point under the mouse, linked to the
    // table's lines.
    TChartTrace* Trace = nullptr;
    // The document of curves the window works on: the fields show its
    // current curve, the chart its shown curves.
    TDocumentSession* Session = nullptr;
    // The function list beside the chart, hidden while there is one curve.
    TCurveListModel* CurveModel = nullptr;
    TCurveListPanel* CurveList = nullptr;
    // Progress and Cancel of a long Plot run, below the result panels.
    TPlotProgressBar* PlotProgress = nullptr;
    // The features of the shown curves, their marks, and Evaluate at x.
    TAnalysisPane* AnalysisPane = nullptr;
    // F5: Plot.
    QAction* PlotKey = nullptr;

    // Toolbar buttons, each running the command of its name
    QAction* ExitToolButton = nullptr;
    QAction* AboutToolButton = nullptr;
    QAction* HelpToolButton = nullptr;   // Documentation
    QAction* ReportToolButton = nullptr; // Print report
    QAction* GraphToolButton = nullptr;  // Print graph
    QAction* SaveAsToolButton = nullptr;
    QAction* AnalysisToolButton = nullptr; // shows or hides the Analysis pane (checked)

    // Menu items
    QAction* NewDocument1 = nullptr;    // File: New document (Ctrl+N)
    QAction* OpenDocument1 = nullptr;   // File: Open document (Ctrl+O)
    QAction* SaveDocument1 = nullptr;   // File: Save document (Ctrl+S)
    QAction* SaveDocumentAs1 = nullptr; // File: Save document as
    QMenu* RecentDocuments1 = nullptr;  // File: the recent documents, newest first
    QAction* Saveas1 = nullptr;         // File: Save as
    QAction* Printreport1 = nullptr;    // File: Print report
    QAction* Printgraph1 = nullptr;     // File: Print graph
    QAction* Exit1 = nullptr;           // File: Exit
    QAction* Graphics1 = nullptr;       // View: chart panel shown (checked)
    QAction* Text1 = nullptr;           // View: table panel shown (checked)
    QAction* Toolbar2 = nullptr;        // View: toolbar shown (checked)
    QAction* BreakAtPoles1 = nullptr;   // View: break the line at poles (stored)
    QAction* EqualScales1 = nullptr;    // View: equal scales (stored)
    QAction* FineLabels1 = nullptr;     // View: finer axis labels (stored)
    QAction* Copytext1 = nullptr;       // Edit: Copy text
    QAction* CopyCsv1 = nullptr;        // Edit: Copy as CSV, the table for a spreadsheet
    QAction* Copybitmap1 = nullptr;     // Edit: Copy bitmap
    QAction* Copymetafile1 = nullptr;   // Edit: Copy metafile
    QAction* Settings1 = nullptr;       // Option: Settings
    QAction* Radians1 = nullptr;        // Mode: Radians (marked at start)
    QAction* Degrees1 = nullptr;        // Mode: Degrees
    QAction* Grads1 = nullptr;          // Mode: Grads
    QAction* FunctionList1 = nullptr;   // View: the function list beside the chart (checked)
    QAction* Analysis1 = nullptr;       // View: the Analysis pane below the chart (checked)
    QAction* Undo1 = nullptr;           // Edit: Undo (Ctrl+Z)
    QAction* Redo1 = nullptr;           // Edit: Redo (Ctrl+Shift+Z)
    QAction* AddCurve1 = nullptr;       // Edit: Add curve (Ctrl+Shift+N)
    QAction* KeepCurve1 = nullptr;      // Edit: Keep curve (Ctrl+K)
    QMenu* AddCurveOfKind1 = nullptr;   // Edit: Add curve of kind (one item per kind)
    QAction* RemoveCurve1 = nullptr;    // Edit: Remove curve
    QAction* MoveCurveUp1 = nullptr;    // Edit: Move curve up
    QAction* MoveCurveDown1 = nullptr;  // Edit: Move curve down
    QAction* CurveStyle1 = nullptr;     // Edit: Curve style
    QAction* Documentation1 = nullptr;  // Help: Documentation
    QAction* About1 = nullptr;          // Help: About
    QActionGroup* ModeGroup = nullptr;  // keeps exactly one Mode item marked

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    void CreateControls();
    void CreateToolBar();
    void CreateMenu();
    // Connects an action to a command run through the exception display.
    void Connect(QAction* action, void (TF_Main_GRF::*handler)());
    void ShowViewMarks(); // the View items' marks from viewMarks_
    // Flips a stored View choice and marks its item.
    void ToggleViewChoice(bool& choice, void (TViewSettings::*store)(bool), QAction* item);
    void ConnectSession();
    // The current curve's table in Memo1, its series traced.
    void ShowCurrentTable();
    void ShowCurrentFields();
    // Captions, places and visibility of the fields for a kind of curve.
    void ShowKindLayout(TCurveKind kind);
    // The fields' texts into the current curve (an undo step if they differ).
    void StoreFields();
    void ShowDocumentAngle();
    void CreateCurveList();
    void ShowCurveActions(); // which curve actions apply now
    void CurveCountChanged();
    // Saves to `fileName` and remembers it among the recent documents.
    void SaveDocumentTo(const std::string& fileName);
    void RememberRecent(const std::string& fileName);
    void ShowRecentDocuments();
    // The size the shown panes need, the window fixed at its own size while
    // neither the function list nor the Analysis pane shows; `grown` is
    // what the last change added to a window already free to grow.
    void FitWindowToPanes(const QSize& grown);
    void CreateAnalysisPane();
    // The pane's rows and the chart's marks from the latest runs, while
    // the pane shows.
    void RefreshAnalysis();

    bool listShown_ = false;
    bool analysisShown_ = false;
    std::vector<TFeature> features_;
    // What features_ were found for: the document, the decimal separator
    // their texts were read with, and whether it had been plotted.
    struct TAnalysedState {
        TDocument Document;
        char Separator = '.';
        bool Plotted = false;
        bool operator==(const TAnalysedState&) const = default;
    };
    std::optional<TAnalysedState> analysed_;
    TCurveKind shownKind_ = TCurveKind::Function; // the kind the fields are laid out for
    int shownCurveCount_ = 1;

    TViewMarks viewMarks_;       // which of chart, table and toolbar are shown
    TStartupWindows windows_;    // the other windows the commands open
    bool centred_ = false;       // centred on the screen at the first show
    TRunClock* clock_ = nullptr; // decides when a Plot shows its progress
    std::unique_ptr<TSaveAs> saveAs_;
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
