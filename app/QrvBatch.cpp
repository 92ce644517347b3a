#include "QrvBatch.h"

#include "QrvAnalyzeBatch.h"
#include "QrvAngleMode.h"
#include "QrvApplicationTitle.h"
#include "QrvBatchFonts.h"
#include "QrvChartFiles.h"
#include "QrvChartPicture.h"
#include "QrvChartSetup.h"
#include "QrvCurveSeries.h"
#include "QrvDocumentFile.h"
#include "QrvErrors.h"
#include "QrvFileWriter.h"
#include "QrvFpu.h"
#include "QrvNumberText.h"
#include "QrvPictureFiles.h"
#include "QrvPlotChart.h"
#include "QrvSeparatorText.h"
#include "QrvSettingAccess.h"
#include "QrvSettingValues.h"
#include "QrvTableBatch.h"
#include "QrvTerminalProgress.h"

#include <QGuiApplication>

#include <algorithm>
#include <memory>
#include <new>
#include <ostream>
#include <vector>

namespace qrv
{

namespace
{

// The picture is made in memory first and then written the one way every
// file is written, under the name exactly as given on the command line.
void WriteImage(TChartPicture& chart, QSize size, const std::string& fileName, TImageFormat format)
{
    QByteArray bytes;
    try {
        bytes = PictureFileBytes(chart, size, format, fileName);
    } catch (const std::bad_alloc&) {
        throw Exception(Msg::ImageTooLarge);
    }
    if (bytes.isEmpty()) throw Exception(Msg::CannotCreateFile, {fileName});
    WriteWholeFile(fileName, std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
}

// The toolkit's own notes (a missing runtime directory on a headless
// machine, say) are not errors of the plot; standard error carries only
// those, so scripts can read it.
void QuietToolkitNotes(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    if (type == QtDebugMsg || type == QtInfoMsg || type == QtWarningMsg) return;
    qInstallMessageHandler(nullptr);
    qt_message_output(type, context, text);
}

// The document of the run: the one --document names, its texts moved to
// the current decimal separator, or the one the options describe.
TDocument BatchDocument(const TCommandLine& cl)
{
    if (!cl.Document) return CommandLineDocument(cl, Element_Color);
    TDocument document = LoadDocument(*cl.Document, Element_Color);
    ConvertDocumentSeparator(document, DecimalSeparator());
    return document;
}

// The image of the document's shown curves, and the table where --table
// says.
int PlotDocumentImage(const TDocument& document, const TCommandLine& cl, std::ostream& out,
                      std::ostream& errors, TProgressView* progress)
{
    const TPlotOptions options{.BreakAtPoles = cl.BreakAtPoles.value_or(Break_At_Poles)};
    TChartPicture chart;
    TLineSeries& first = SetUpGraphChart(chart);
    ApplyChartViewSettings(chart);
    const TImageSize size = cl.Size.value_or(TImageSize{kStartChartWidth, kStartChartHeight});

    const std::size_t count = document.Curves.size();
    std::vector<std::unique_ptr<TSeriesTableTarget>> curveTargets(count);
    std::vector<TTableTarget*> targets(count, nullptr);
    std::size_t shown = 0;
    for (std::size_t i = 0; i < count; ++i) {
        const TCurve& curve = document.Curves[i];
        if (!curve.Visible) continue;
        const std::string title = DisplayName(curve, static_cast<int>(i));
        TLineSeries* series = &first;
        if (shown++ == 0)
            ApplyCurveStyle(first, curve, title);
        else
            series = &AddCurveSeries(chart, curve, title);
        curveTargets[i] = std::make_unique<TSeriesTableTarget>(series, cl.Table.has_value());
        curveTargets[i]->SetPointColor(curve.Color);
        targets[i] = curveTargets[i].get();
    }

    int status = 0;
    const auto outcomes =
        RunBatchCurves(document, targets, errors, status, progress, options, {size.Width, size.Height});
    if (RunProducedOutput(outcomes)) {
        if (cl.Table)
            RunReporting([&] { WriteCurveTable(*cl.Table, document, targets, outcomes, out); }, errors,
                         status);
        RunReporting([&] { WriteImage(chart, QSize(size.Width, size.Height), *cl.Image, *cl.ImageFormat); },
                     errors, status);
    }
    if (cl.Analyze) RunReporting([&] { WriteAnalysis(*cl.Analyze, document, out); }, errors, status);
    return status;
}

} // namespace

int RunBatch(const TCommandLine& cl, int& argc, char** argv, std::ostream& out, std::ostream& errors,
             TProgressView* progress)
{
    if (!cl.Image && !cl.UsesDocuments()) return RunTableBatch(cl, out, errors, progress);

    std::unique_ptr<QCoreApplication> app;
    if (cl.Image) {
        // Fonts and painting need the toolkit's application, on the
        // offscreen platform; no window is made.
        qputenv("QT_QPA_PLATFORM", "offscreen");
        qInstallMessageHandler(QuietToolkitNotes);
        InstallBatchFonts();
        app = std::make_unique<QGuiApplication>(argc, argv);
        // The platform is loaded; what remains needs no plugin (PNG and BMP
        // are built into Qt), so the image writer is spared reading the
        // metadata of every image-format plugin installed.
        QCoreApplication::setLibraryPaths({});
    } else {
        // Documents and settings need no more than Qt Core.
        app = std::make_unique<QCoreApplication>(argc, argv);
    }
    SetApplicationTitle();
    // The application loaded the platform plugin and the font libraries,
    // foreign code that may leave a control word of its own: the run starts
    // from the program's environment again.
    InitFloatEnvironment();
    LoadBatchSettings(cl.Settings.value_or(std::string()));
    if (auto color = cl.FirstColor()) Element_Color = *color;
    if (cl.EqualScales) Equal_Scales = *cl.EqualScales;
    if (cl.FineLabels) Fine_Labels = *cl.FineLabels;

    // A document that cannot be used is its one message: nothing is
    // plotted and nothing written.
    TDocument document;
    int status = 0;
    RunReporting([&] { document = BatchDocument(cl); }, errors, status);
    if (status != 0) return status;

    if (cl.SaveDocument) RunReporting([&] { SaveDocument(*cl.SaveDocument, document); }, errors, status);
    int plotStatus = 0;
    if (cl.Image)
        plotStatus = PlotDocumentImage(document, cl, out, errors, progress);
    else if (cl.Table || cl.Analyze)
        plotStatus = RunDocumentTable(document, cl, out, errors, progress);
    return std::max(status, plotStatus);
}

} // namespace qrv
