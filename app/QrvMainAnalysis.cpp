// The main window's Analysis pane: shown and hidden from the View menu and
// the toolbar, refreshed after the curves ran, its rows linked to the
// trace and its marks to the chart.
#include "m_grf_w.h"

#include "QrvAnalysisPane.h"
#include "QrvAppTexts.h"
#include "QrvApplication.h"
#include "QrvChart.h"
#include "QrvChartColor.h"
#include "QrvChartTrace.h"
#include "QrvDocumentAnalysis.h"
#include "QrvDocumentSession.h"
#include "QrvErrorText.h"
#include "QrvFeatureText.h"
#include "QrvNumberText.h"
#include "QrvPlotChart.h"

#include <QAction>
#include <QLayout>

#include <algorithm>

namespace qrv
{

void TF_Main_GRF::CreateAnalysisPane()
{
    AnalysisPane = new TAnalysisPane(Panel4);
    AnalysisPane->hide();
    Panel4->layout()->addWidget(AnalysisPane);
    AnalysisPane->OnChoose = [this](int row) { ChooseFeature(row); };
    AnalysisPane->OnMarksInPictures = [this](bool) {
        analysed_.reset();
        RefreshAnalysis();
    };
    AnalysisPane->OnEvaluate = [this](const QString& text) { return EvaluateAt(text); };
    connect(AnalysisPane->CopyAction, &QAction::triggered, this,
            [this] { ExecuteCommand([this] { AnalysisPane->CopySelected(); }); });
    // After ShowCurrentTable, which gives the trace its table series.
    connect(Session, &TDocumentSession::CurvesRan, this, &TF_Main_GRF::RefreshAnalysis);
    connect(Session, &TDocumentSession::CurrentChanged, AnalysisPane, &TAnalysisPane::Evaluate);
}

void TF_Main_GRF::Analysis1Click()
{
    ShowAnalysis(!analysisShown_);
}

void TF_Main_GRF::ShowAnalysis(bool shown)
{
    Analysis1->setChecked(shown);
    AnalysisToolButton->setChecked(shown);
    if (shown == analysisShown_) return;
    analysisShown_ = shown;
    AnalysisPane->setVisible(shown);
    FitWindowToPanes(QSize(0, shown ? kAnalysisPaneHeight : -kAnalysisPaneHeight));
    analysed_.reset();
    RefreshAnalysis();
}

void TF_Main_GRF::RefreshAnalysis()
{
    if (!analysisShown_) {
        features_.clear();
        if (!Trace->FeatureMarks().empty() || Trace->MarksInPictures()) Trace->SetFeatureMarks({}, false);
        return;
    }
    TAnalysedState state{Session->Document(), DecimalSeparator(), Session->Plotted()};
    if (analysed_ && *analysed_ == state) return;
    try {
        features_ = state.Plotted ? AnalyzeDocument(state.Document) : std::vector<TFeature>{};
    } catch (const std::exception&) {
        // Out of memory on the way: the pane lists nothing rather than
        // features of an earlier document; the curves themselves ran.
        features_.clear();
    }
    analysed_ = std::move(state);

    const char separator = DecimalSeparator();
    const std::vector<TCurve>& curves = Session->Document().Curves;
    const bool several =
        std::count_if(curves.begin(), curves.end(), [](const TCurve& curve) { return curve.Visible; }) > 1;
    std::vector<TFeatureRow> rows;
    std::vector<TFeatureMark> marks;
    for (const TFeature& feature : features_) {
        rows.push_back(FeatureRow(feature, separator));
        TFeatureMark mark;
        if (feature.Kind != TFeatureKind::Integral && feature.Curve >= 1 &&
            feature.Curve <= Session->CurveCount()) {
            const int index = feature.Curve - 1;
            mark.Series = Chart1->IndexOfSeries(Session->SeriesOf(index));
            mark.X = static_cast<double>(feature.X);
            mark.Y = static_cast<double>(feature.Y);
            mark.Color = ToQColor(curves[static_cast<std::size_t>(index)].Color);
            mark.Readout = QString::fromStdString(FeatureReadout(feature, several, separator));
        }
        marks.push_back(std::move(mark));
    }
    AnalysisPane->SetRows(std::move(rows));
    Trace->SetFeatureMarks(std::move(marks), AnalysisPane->MarksInPictures());
    AnalysisPane->Evaluate();
}

void TF_Main_GRF::ChooseFeature(int row)
{
    const bool marked = row >= 0 && static_cast<std::size_t>(row) < features_.size() &&
                        features_[static_cast<std::size_t>(row)].Kind != TFeatureKind::Integral;
    Trace->MarkFeature(marked ? row : -1);
}

QString TF_Main_GRF::EvaluateAt(const QString& xText) const
{
    try {
        const TDocument& document = Session->Document();
        const Float x = EvaluationX(document, xText.toStdString());
        const auto values = EvaluateCurveAt(document, Session->Current(), x);
        if (!values) return QString::fromUtf8(Text::NotACurveOfX);
        return QString::fromStdString(EvaluationText(*values, Session->Current() + 1, DecimalSeparator()));
    } catch (const std::exception& error) {
        return QString::fromStdString(ExceptionDisplayText(error));
    }
}

} // namespace qrv
