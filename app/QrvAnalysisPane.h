// The Analysis pane below the chart: the features of the shown curves
// (curve, kind, x, y with every meaningful digit), Copy, the choice to show
// the marks in pictures too, and "Evaluate at x" for f, f' and f'' of the
// current curve. The window computes; the pane only lists and asks.
#pragma once

#include "QrvFeatureText.h"

#include <QGroupBox>

#include <functional>
#include <vector>

class QAction;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTableWidget;

namespace qrv
{

inline constexpr int kAnalysisPaneHeight = 196;

class TAnalysisPane : public QGroupBox
{
    Q_OBJECT
public:
    explicit TAnalysisPane(QWidget* parent = nullptr);

    // The rows of the list, one per feature and in the features' order.
    void SetRows(std::vector<TFeatureRow> rows);
    const std::vector<TFeatureRow>& Rows() const { return rows_; }

    // What Copy puts on the clipboard: a header line, then the selected
    // rows in their order, or every row when none is selected
    // (FeatureRowsText).
    QString SelectedText() const;
    // Copy: SelectedText on the clipboard; raises "Cannot open clipboard".
    void CopySelected();

    bool MarksInPictures() const;

    // Asks OnEvaluate for the field's x and shows its answer; an empty field
    // shows nothing.
    void Evaluate();

    // The row the user chose (its feature's index).
    std::function<void(int)> OnChoose;
    // The check box "Show analysis marks in pictures" changed.
    std::function<void(bool)> OnMarksInPictures;
    // The answer for the text typed as x.
    std::function<QString(const QString&)> OnEvaluate;

    QTableWidget* List = nullptr;
    QPushButton* CopyButton = nullptr;
    // Copy, from the button and Ctrl+C in the list; its owner connects it
    // to CopySelected where errors are shown.
    QAction* CopyAction = nullptr;
    QCheckBox* MarksInPicturesBox = nullptr;
    QLineEdit* EvaluateField = nullptr;
    QLabel* EvaluateResult = nullptr;

private:
    std::vector<TFeatureRow> rows_;
};

} // namespace qrv
