#include "QrvAnalysisPane.h"

#include "QrvAppTexts.h"
#include "QrvExportCopy.h"

#include <QAction>
#include <QCheckBox>
#include <QGridLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

#include <algorithm>
#include <set>

namespace qrv
{

namespace
{

QString Q(const char* text)
{
    return QString::fromUtf8(text);
}

} // namespace

TAnalysisPane::TAnalysisPane(QWidget* parent) : QGroupBox(Q(Text::AnalysisCaption), parent)
{
    setObjectName("AnalysisPane");
    setFixedHeight(kAnalysisPaneHeight);
    auto* grid = new QGridLayout(this);
    grid->setContentsMargins(4, 2, 4, 4);

    List = new QTableWidget(0, 4, this);
    List->setObjectName("AnalysisList");
    List->setHorizontalHeaderLabels(
        {Q(Text::CurveColumn), Q(Text::FeatureColumn), Q(Text::XColumn), Q(Text::YColumn)});
    List->verticalHeader()->hide();
    List->verticalHeader()->setDefaultSectionSize(List->fontMetrics().height() + 4);
    List->horizontalHeader()->setStretchLastSection(true);
    List->setColumnWidth(0, 48);
    List->setColumnWidth(1, 78);
    List->setColumnWidth(2, 156);
    List->setEditTriggers(QAbstractItemView::NoEditTriggers);
    List->setSelectionBehavior(QAbstractItemView::SelectRows);
    List->setSelectionMode(QAbstractItemView::ExtendedSelection);
    List->setWordWrap(false);
    grid->addWidget(List, 0, 0, 5, 1);
    grid->setColumnStretch(0, 1);
    connect(List, &QTableWidget::cellClicked, this, [this](int row, int) {
        if (OnChoose) OnChoose(row);
    });

    // Beside the list: Evaluate at x over its answer, then Copy and the
    // choice of marks in pictures.
    auto* label = new QLabel(Q(Text::EvaluateAtLabel), this);
    grid->addWidget(label, 0, 1);
    EvaluateField = new QLineEdit(this);
    EvaluateField->setObjectName("EvaluateField");
    EvaluateField->setToolTip(Q(Text::EvaluateAtHint));
    label->setBuddy(EvaluateField);
    grid->addWidget(EvaluateField, 1, 1);
    connect(EvaluateField, &QLineEdit::returnPressed, this, &TAnalysisPane::Evaluate);
    EvaluateResult = new QLabel(this);
    EvaluateResult->setObjectName("EvaluateResult");
    EvaluateResult->setTextInteractionFlags(Qt::TextSelectableByMouse);
    EvaluateResult->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    EvaluateResult->setWordWrap(false);
    grid->addWidget(EvaluateResult, 2, 1);
    grid->setRowStretch(2, 1);
    grid->setColumnMinimumWidth(1, 250);

    CopyButton = new QPushButton(Q(Text::CopyFeatures), this);
    CopyButton->setObjectName("CopyFeatures");
    CopyButton->setToolTip(Q(Text::CopyFeaturesHint));
    grid->addWidget(CopyButton, 3, 1, Qt::AlignLeft);
    // Ctrl+C in the list copies as the button does; the window runs it.
    CopyAction = new QAction(Q(Text::CopyFeatures), List);
    CopyAction->setObjectName("CopyFeaturesAction");
    CopyAction->setShortcut(QKeySequence::Copy);
    CopyAction->setShortcutContext(Qt::WidgetShortcut);
    List->addAction(CopyAction);
    connect(CopyButton, &QPushButton::clicked, CopyAction, &QAction::trigger);
    MarksInPicturesBox = new QCheckBox(Q(Text::MarksInPictures), this);
    MarksInPicturesBox->setObjectName("MarksInPictures");
    grid->addWidget(MarksInPicturesBox, 4, 1);
    connect(MarksInPicturesBox, &QCheckBox::toggled, this, [this](bool on) {
        if (OnMarksInPictures) OnMarksInPictures(on);
    });
}

void TAnalysisPane::SetRows(std::vector<TFeatureRow> rows)
{
    rows_ = std::move(rows);
    List->clearContents();
    List->setRowCount(static_cast<int>(rows_.size()));
    for (int r = 0; r < List->rowCount(); ++r) {
        const TFeatureRow& row = rows_[static_cast<std::size_t>(r)];
        int column = 0;
        for (const std::string* cell : {&row.Curve, &row.Kind, &row.X, &row.Y}) {
            auto* item = new QTableWidgetItem(QString::fromStdString(*cell));
            item->setToolTip(item->text());
            List->setItem(r, column++, item);
        }
    }
}

QString TAnalysisPane::SelectedText() const
{
    std::set<int> chosen;
    for (const QModelIndex& index : List->selectionModel()->selectedRows())
        chosen.insert(index.row());
    std::vector<TFeatureRow> rows{{Text::CurveColumn, Text::FeatureColumn, Text::XColumn, Text::YColumn}};
    for (std::size_t r = 0; r < rows_.size(); ++r)
        if (chosen.empty() || chosen.count(static_cast<int>(r))) rows.push_back(rows_[r]);
    return QString::fromStdString(FeatureRowsText(rows));
}

void TAnalysisPane::CopySelected()
{
    CopyTableText(SelectedText());
}

bool TAnalysisPane::MarksInPictures() const
{
    return MarksInPicturesBox->isChecked();
}

void TAnalysisPane::Evaluate()
{
    const QString text = EvaluateField->text();
    EvaluateResult->setText(text.trimmed().isEmpty() || !OnEvaluate ? QString() : OnEvaluate(text));
}

} // namespace qrv
