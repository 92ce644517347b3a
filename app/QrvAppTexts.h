// The texts the main window and the command line show: captions, labels,
// hints and menu items, gathered here so each is written once. Error
// messages are not here: they come from the message table (QrvMessages.h).
#pragma once

namespace qrv::Text
{

inline constexpr const char* ApplicationTitle = "Qurvia (Veltano)";
inline constexpr const char* ProgramName = "qurvia";
inline constexpr const char* Version = "1.3.3";
inline constexpr const char* DesktopFileName = "io.github.qurvia.Qurvia";

// Main window
inline constexpr const char* MainCaption = "Equation Plotter - Qurvia";
inline constexpr const char* FormulaLabel = "Formula: y=";
inline constexpr const char* PlotRange = "Plot range";
inline constexpr const char* XMinLabel = "X min";
inline constexpr const char* XMaxLabel = "X max";
inline constexpr const char* StepLabel = "Step";
// The fields of the other kinds of curve
inline constexpr const char* XOfTLabel = "x(t)=";
inline constexpr const char* YOfTLabel = "y(t)=";
inline constexpr const char* ROfTLabel = "Formula: r(t)=";
inline constexpr const char* ImplicitLabel = "Formula: 0=";
inline constexpr const char* TMinLabel = "T min";
inline constexpr const char* TMaxLabel = "T max";
inline constexpr const char* YMinLabel = "Y min";
inline constexpr const char* YMaxLabel = "Y max";
inline constexpr const char* Plot = "Plot";
inline constexpr const char* GraphicResult = "Graphic result";
inline constexpr const char* TextResult = "Text result: X versus Y";

// Hints
inline constexpr const char* FormulaHint = "Enter equation into the editor";
inline constexpr const char* XMinHint = "Assign minimum initial value for variable \"x\"";
inline constexpr const char* XMaxHint = "Assign maximum final value for variable \"x\"";
inline constexpr const char* StepHint = "Step-value. The smaller the\n"
                                        "value it has, the more accurate\n"
                                        "drawing you get.";
inline constexpr const char* PlotHint = "Plot the graph of the equation\n"
                                        "and also display the text value";
inline constexpr const char* ExitHint = "Exit";
inline constexpr const char* AboutHint = "About Qurvia";
inline constexpr const char* HelpHint = "Help";
inline constexpr const char* ReportHint = "Print report";
inline constexpr const char* GraphHint = "Print graph";
inline constexpr const char* SaveAsHint = "SaveAs";

// Main menu. A "&" marks the letter that opens the menu with Alt, or
// chooses the item in the open menu; it is not shown.
inline constexpr const char* FileMenu = "&File";
inline constexpr const char* SaveAsItem = "&Save as...";
inline constexpr const char* PrintReportItem = "Print &report...";
inline constexpr const char* PrintGraphItem = "Print &graph...";
inline constexpr const char* ExitItem = "E&xit";
inline constexpr const char* ViewMenu = "&View";
inline constexpr const char* GraphicsItem = "&Graphics";
inline constexpr const char* TextItem = "&Text";
inline constexpr const char* ToolbarItem = "Tool&bar";
inline constexpr const char* BreakAtPolesItem = "Break the line at &poles";
inline constexpr const char* EditMenu = "&Edit";
inline constexpr const char* CopyTextItem = "Copy &text";
inline constexpr const char* CopyCsvItem = "Copy as &CSV";
inline constexpr const char* CopyBitmapItem = "Copy &bitmap";
inline constexpr const char* CopyMetafileItem = "Copy &metafile";
inline constexpr const char* OptionMenu = "&Option";
inline constexpr const char* SettingsItem = "&Settings...";
inline constexpr const char* ModeMenu = "&Mode";
inline constexpr const char* RadiansItem = "&Radians";
inline constexpr const char* DegreesItem = "&Degrees";
inline constexpr const char* GradsItem = "&Grads";
inline constexpr const char* HelpMenu = "&Help";
inline constexpr const char* DocumentationItem = "&Documentation...";
inline constexpr const char* AboutItem = "&About...";

// Progress of a long Plot run
inline constexpr const char* ProgressPlotting = "Plotting: ";
inline constexpr const char* ProgressStopped = "Plot stopped after ";
inline constexpr const char* ProgressOf = " of ";
inline constexpr const char* ProgressPoints = " points";
inline constexpr const char* ProgressCancel = "Cancel";
inline constexpr const char* ProgressClose = "Close";

// The hint beside the formula, and the command line's warning, about text
// after a complete formula, which compiling ignores.
inline constexpr const char* IgnoredAfterFormula = "Ignored after the formula: ";
inline constexpr const char* WarningPrefix = "warning: ";
// Before the command line's messages about one curve of several: "curve 2: ".
inline constexpr const char* CurvePrefix = "curve ";

// Documents of several curves
inline constexpr const char* UntitledDocument = "Untitled";
inline constexpr const char* NewDocumentItem = "&New document";
inline constexpr const char* OpenDocumentItem = "&Open document...";
inline constexpr const char* SaveDocumentItem = "Save &document";
inline constexpr const char* SaveDocumentAsItem = "Save document &as...";
inline constexpr const char* RecentDocumentsMenu = "Recen&t documents";
inline constexpr const char* OpenDocumentTitle = "Open document";
inline constexpr const char* SaveDocumentTitle = "Save document";
inline constexpr const char* DocumentFilter = "Qurvia documents (*.qurvia)|*.qurvia";
inline constexpr const char* DocumentOpenFilter = "Qurvia documents (*.qurvia);;All files (*)";
inline constexpr const char* UnsavedCaption = "Confirm";
inline constexpr const char* UnsavedQuestion = "Save the changes to %s?";
inline constexpr const char* RecoveryQuestion =
    "Qurvia ended last time without closing %s. Restore its unsaved changes?";
inline constexpr const char* FunctionListItem = "&Function list";
inline constexpr const char* EqualScalesItem = "&Equal scales";
inline constexpr const char* FineLabelsItem = "Fi&ner axis labels";
inline constexpr const char* UndoItem = "&Undo";
inline constexpr const char* RedoItem = "&Redo";
inline constexpr const char* AddCurveItem = "&Add curve";
inline constexpr const char* AddCurveOfKindItem = "Add curve of k&ind";
inline constexpr const char* FunctionKindItem = "&Function";
inline constexpr const char* ParametricKindItem = "&Parametric";
inline constexpr const char* PolarKindItem = "P&olar";
inline constexpr const char* ImplicitKindItem = "&Implicit";
inline constexpr const char* KeepCurveItem = "&Keep curve";
inline constexpr const char* RemoveCurveItem = "R&emove curve";
inline constexpr const char* MoveCurveUpItem = "Move curve u&p";
inline constexpr const char* MoveCurveDownItem = "Move curve do&wn";
inline constexpr const char* CurveStyleItem = "Curve &style...";
inline constexpr const char* CurveListCaption = "Curves";
inline constexpr const char* CurveStyleTitle = "Curve style";
inline constexpr const char* CurveColorLabel = "Colour";
inline constexpr const char* CurveWidthLabel = "Width (pixels)";
inline constexpr const char* CurveLineLabel = "Line";
inline constexpr const char* CurveLabelLabel = "Label";
inline constexpr const char* CurveLabelHint = "the formula";
inline constexpr const char* StyleSolid = "solid";
inline constexpr const char* StyleDash = "dash";
inline constexpr const char* StyleDot = "dot";

// The Analysis pane
inline constexpr const char* AnalysisItem = "Anal&ysis";
inline constexpr const char* AnalysisHint = "Analysis: roots, extrema, intersections and integrals";
inline constexpr const char* AnalysisCaption = "Analysis";
inline constexpr const char* CurveColumn = "Curve";
inline constexpr const char* FeatureColumn = "Feature";
inline constexpr const char* XColumn = "x";
inline constexpr const char* YColumn = "y";
inline constexpr const char* CopyFeatures = "&Copy";
inline constexpr const char* CopyFeaturesHint =
    "Copies the selected rows (all rows when none is selected) as text";
inline constexpr const char* MarksInPictures = "Show analysis marks in pictures";
inline constexpr const char* EvaluateAtLabel = "Evaluate at x:";
inline constexpr const char* EvaluateAtHint = "f, f' and f'' of the current curve at this x";
inline constexpr const char* NotACurveOfX = "the current curve is not a curve of x";
inline constexpr const char* NotAvailable = "not available";

// Chart
inline constexpr const char* ChartTitle = "Graphic Data";
inline constexpr const char* AxisX = "X";
inline constexpr const char* AxisY = "Y";

} // namespace qrv::Text
