#include "QrvBatch.h"

#include "QrvAngleSource.h"
#include "QrvApplication.h"
#include "QrvChart.h"
#include "QrvErrors.h"
#include "QrvFpu.h"
#include "QrvNumberText.h"
#include "QrvPlotChart.h"
#include "QrvSettingAccess.h"
#include "QrvSettingValues.h"
#include "QrvTableBatch.h"

#include <QApplication>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QSaveFile>
#ifdef QURVIA_HAVE_SVG
#include <QSvgGenerator>
#endif

#include <memory>
#include <ostream>

namespace qrv
{

namespace
{

[[noreturn]] void CannotCreate(const std::string& fileName)
{
    throw Exception(Msg::CannotCreateFile, {fileName});
}

// Opens a save file for writing or raises the file-creation error.
void OpenForWriting(QSaveFile& file, const std::string& fileName)
{
    if (!file.open(QIODevice::WriteOnly)) CannotCreate(fileName);
}

void Commit(QSaveFile& file, const std::string& fileName)
{
    if (!file.commit()) CannotCreate(fileName);
}

// Draws the chart as vectors (no back buffer) into a painter of any device.
void DrawVector(TChart& chart, QPainter& painter)
{
    chart.SetUseBuffer(false);
    chart.DrawChart(painter, chart.rect());
    chart.SetUseBuffer(true);
}

void WritePng(TChart& chart, const std::string& fileName)
{
    QImage image = chart.MakeBitmap(clWhite, chart.rect());
    QSaveFile file(QString::fromStdString(fileName));
    OpenForWriting(file, fileName);
    if (!image.save(&file, "PNG")) CannotCreate(fileName);
    Commit(file, fileName);
}

void WritePdf(TChart& chart, const std::string& fileName)
{
    QSaveFile file(QString::fromStdString(fileName));
    OpenForWriting(file, fileName);
    {
        // One page of the chart's size, at the screen's 96 pixels per inch.
        QPdfWriter writer(&file);
        writer.setResolution(96);
        writer.setPageSize(QPageSize(QSizeF(chart.width() * 72.0 / 96.0, chart.height() * 72.0 / 96.0),
                                     QPageSize::Point, QString(), QPageSize::ExactMatch));
        writer.setPageMargins(QMarginsF(0, 0, 0, 0));
        writer.setCreator(QStringLiteral("Qurvia"));
        QPainter painter;
        if (!painter.begin(&writer)) CannotCreate(fileName);
        DrawVector(chart, painter);
        painter.end();
    }
    Commit(file, fileName);
}

#ifdef QURVIA_HAVE_SVG
void WriteSvg(TChart& chart, const std::string& fileName)
{
    QSaveFile file(QString::fromStdString(fileName));
    OpenForWriting(file, fileName);
    {
        QSvgGenerator generator;
        generator.setOutputDevice(&file);
        generator.setSize(chart.size());
        generator.setViewBox(chart.rect());
        generator.setResolution(96);
        generator.setTitle(QStringLiteral("Qurvia"));
        QPainter painter;
        if (!painter.begin(&generator)) CannotCreate(fileName);
        DrawVector(chart, painter);
        painter.end();
    }
    Commit(file, fileName);
}
#endif

void WriteImage(TChart& chart, const std::string& fileName, TImageFormat format)
{
    const QString name = QString::fromStdString(fileName);
    switch (format) {
    case TImageFormat::Bmp:
        chart.SaveBitmapFile(name);
        break;
    case TImageFormat::Wmf:
        chart.SaveMetafileFile(name);
        break;
    case TImageFormat::Emf:
        chart.SaveEnhMetafileFile(name);
        break;
    case TImageFormat::Png:
        WritePng(chart, fileName);
        break;
    case TImageFormat::Pdf:
        WritePdf(chart, fileName);
        break;
    case TImageFormat::Svg:
#ifdef QURVIA_HAVE_SVG
        WriteSvg(chart, fileName);
#endif
        break;
    }
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

} // namespace

int RunBatch(const TCommandLine& cl, int& argc, char** argv, std::ostream& out, std::ostream& errors)
{
    if (!cl.Image) return RunTableBatch(cl, out, errors);

    const TPlotFields fields = FieldsFor(cl);
    const TAngleMode mode = cl.Mode.value_or(TAngleMode::Radians);
    SetAngleModeSource([mode] { return mode; });

    // The chart is a widget, so a picture needs an application, on the
    // offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietToolkitNotes);
    QApplication app(argc, argv);
    // The platform is loaded; what remains needs no plugin (PNG and BMP are
    // built into Qt), so the image writer is spared reading the metadata of
    // every image-format plugin installed.
    QCoreApplication::setLibraryPaths({});
    SetApplicationTitle();
    InitFloatEnvironment();
    LoadLineColor(cl.Settings.value_or(std::string()));
    if (cl.Color) Element_Color = *cl.Color;
    TLineSeries* series = nullptr;
    std::unique_ptr<TChart> chart(CreatePlotChart(nullptr, series));
    const TImageSize size = cl.Size.value_or(TImageSize{kStartChartWidth, kStartChartHeight});
    chart->resize(size.Width, size.Height);

    int status = 0;
    TSeriesTableTarget target(series, cl.Table.has_value());
    RunReporting([&] { RunPlot(fields, target); }, errors, status);
    if (cl.Table) RunReporting([&] { WriteTable(*cl.Table, target.Table(), out); }, errors, status);
    RunReporting([&] { WriteImage(*chart, *cl.Image, *cl.ImageFormat); }, errors, status);
    SetAngleModeSource({});
    return status;
}

} // namespace qrv
