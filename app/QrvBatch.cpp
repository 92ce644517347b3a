#include "QrvBatch.h"

#include "QrvAngleMode.h"
#include "QrvApplication.h"
#include "QrvBatchFonts.h"
#include "QrvChart.h"
#include "QrvChartExport.h"
#include "QrvErrors.h"
#include "QrvFileWriter.h"
#include "QrvFpu.h"
#include "QrvNumberText.h"
#include "QrvPlotChart.h"
#include "QrvPngImage.h"
#include "QrvSettingAccess.h"
#include "QrvSettingValues.h"
#include "QrvTableBatch.h"
#include "QrvTerminalProgress.h"

#include <QApplication>
#include <QBuffer>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#ifdef QURVIA_HAVE_SVG
#include <QSvgGenerator>
#endif

#include <memory>
#include <new>
#include <ostream>

namespace qrv
{

namespace
{

[[noreturn]] void CannotCreate(const std::string& fileName)
{
    throw Exception(Msg::CannotCreateFile, {fileName});
}

// Draws the chart as vectors (no back buffer) into a painter of any device.
void DrawVector(TChart& chart, QPainter& painter)
{
    chart.DrawPicture(painter, chart.rect());
}

QByteArray PngBytes(TChart& chart, const std::string& fileName)
{
    QByteArray bytes = PngFileBytes(MakeBitmap(chart, clWhite, chart.size()));
    if (bytes.isEmpty()) CannotCreate(fileName);
    return bytes;
}

QByteArray PdfBytes(TChart& chart, const std::string& fileName)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    // One page of the chart's size, at the screen's 96 pixels per inch.
    QPdfWriter writer(&buffer);
    writer.setResolution(96);
    writer.setPageSize(QPageSize(QSizeF(chart.width() * 72.0 / 96.0, chart.height() * 72.0 / 96.0),
                                 QPageSize::Point, QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Qurvia"));
    QPainter painter;
    if (!painter.begin(&writer)) CannotCreate(fileName);
    DrawVector(chart, painter);
    if (!painter.end()) CannotCreate(fileName);
    return bytes;
}

#ifdef QURVIA_HAVE_SVG
QByteArray SvgBytes(TChart& chart, const std::string& fileName)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QSvgGenerator generator;
    generator.setOutputDevice(&buffer);
    generator.setSize(chart.size());
    generator.setViewBox(chart.rect());
    generator.setResolution(96);
    generator.setTitle(QStringLiteral("Qurvia"));
    QPainter painter;
    if (!painter.begin(&generator)) CannotCreate(fileName);
    DrawVector(chart, painter);
    if (!painter.end()) CannotCreate(fileName);
    return bytes;
}
#endif

QByteArray ImageBytes(TChart& chart, const std::string& fileName, TImageFormat format)
{
    switch (format) {
    case TImageFormat::Bmp:
        return BitmapFileBytes(chart);
    case TImageFormat::Wmf:
        return MakeMetafile(chart, false, chart.size());
    case TImageFormat::Emf:
        return MakeMetafile(chart, true, chart.size());
    case TImageFormat::Png:
        return PngBytes(chart, fileName);
    case TImageFormat::Pdf:
        return PdfBytes(chart, fileName);
    case TImageFormat::Svg:
#ifdef QURVIA_HAVE_SVG
        return SvgBytes(chart, fileName);
#endif
        break;
    }
    return {};
}

// The picture is made in memory first and then written the one way every
// file is written, under the name exactly as given on the command line.
void WriteImage(TChart& chart, const std::string& fileName, TImageFormat format)
{
    QByteArray bytes;
    try {
        bytes = ImageBytes(chart, fileName, format);
    } catch (const std::bad_alloc&) {
        throw Exception(Msg::ImageTooLarge);
    }
    if (bytes.isEmpty()) CannotCreate(fileName);
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

} // namespace

int RunBatch(const TCommandLine& cl, int& argc, char** argv, std::ostream& out, std::ostream& errors,
             TProgressView* progress)
{
    if (!cl.Image) return RunTableBatch(cl, out, errors, progress);

    const TPlotFields fields = FieldsFor(cl);
    const TScopedAngleMode mode(cl.Mode.value_or(TAngleMode::Radians));

    // The chart is a widget, so a picture needs an application, on the
    // offscreen platform.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    qInstallMessageHandler(QuietToolkitNotes);
    InstallBatchFonts();
    QApplication app(argc, argv);
    // The platform is loaded; what remains needs no plugin (PNG and BMP are
    // built into Qt), so the image writer is spared reading the metadata of
    // every image-format plugin installed.
    QCoreApplication::setLibraryPaths({});
    SetApplicationTitle();
    InitFloatEnvironment();
    LoadBatchSettings(cl.Settings.value_or(std::string()));
    const TPlotOptions options{.BreakAtPoles = cl.BreakAtPoles.value_or(Break_At_Poles)};
    if (cl.Color) Element_Color = *cl.Color;
    TLineSeries* series = nullptr;
    std::unique_ptr<TChart> chart(CreatePlotChart(nullptr, series));
    const TImageSize size = cl.Size.value_or(TImageSize{kStartChartWidth, kStartChartHeight});
    chart->resize(size.Width, size.Height);

    int status = 0;
    TSeriesTableTarget target(series, cl.Table.has_value());
    WarnAboutIgnoredText(target, errors);
    if (RunBatchPlot(fields, target, errors, status, progress, options)) {
        if (cl.Table) RunReporting([&] { WriteTable(*cl.Table, target.Table(), out); }, errors, status);
        RunReporting([&] { WriteImage(*chart, *cl.Image, *cl.ImageFormat); }, errors, status);
    }
    return status;
}

} // namespace qrv
