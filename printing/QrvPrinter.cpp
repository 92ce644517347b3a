#include "QrvPrinter.h"

#include "QrvFileWriter.h"
#include "QrvPlatform.h"
#include "QrvPrinterErrors.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLocale>
#include <QPrinterInfo>
#include <QStandardPaths>
#include <QTemporaryFile>

namespace qrv
{

namespace
{

// Whether the file can be written, without changing it: an existing file is
// opened for writing but not truncated, a new one is made and removed again.
bool CanCreate(const QString& fileName)
{
    QFile probe(fileName);
    if (probe.exists()) return probe.open(QIODevice::ReadWrite);
    if (!probe.open(QIODevice::WriteOnly)) return false;
    probe.close();
    probe.remove();
    return true;
}

} // namespace

namespace
{

std::string Utf8(const QString& text)
{
    return text.toStdString();
}

QList<QPageSize> CommonPageSizes()
{
    return {QPageSize(QPageSize::A3),        QPageSize(QPageSize::A4),     QPageSize(QPageSize::A5),
            QPageSize(QPageSize::B5),        QPageSize(QPageSize::Letter), QPageSize(QPageSize::Legal),
            QPageSize(QPageSize::Executive), QPageSize(QPageSize::Tabloid)};
}

// Letter where the locale measures in inches, A4 elsewhere.
QPageSize LocalePageSize()
{
    return QPageSize(QLocale::system().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter
                                                                                        : QPageSize::A4);
}

bool Contains(const QList<QPageSize>& sizes, const QPageSize& size)
{
    for (const auto& s : sizes)
        if (s.isEquivalentTo(size)) return true;
    return false;
}

// A file name for a job that has none yet: the job title in the user's
// documents folder.
QString ProposedPdfName(const QString& title)
{
    QString dir = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    if (dir.isEmpty()) dir = QDir::homePath();
    QString base = title.trimmed().isEmpty() ? QStringLiteral("Untitled") : title.trimmed();
    base.replace(QLatin1Char('/'), QLatin1Char('_'));
    return QDir(dir).filePath(base + QStringLiteral(".pdf"));
}

} // namespace

QString TPrinter::PdfPrinterName()
{
    return QStringLiteral("Print to PDF");
}

TPrinter::TPrinter()
{
    const QString systemDefault = QPrinterInfo::defaultPrinterName();
    if (!systemDefault.isEmpty() && QPrinterInfo::availablePrinterNames().contains(systemDefault)) {
        name_ = systemDefault;
        pdf_ = false;
        pageSize_ = QPrinterInfo::printerInfo(name_).defaultPageSize();
    } else {
        name_ = PdfPrinterName();
        pdf_ = true;
    }
    if (!pageSize_.isValid()) pageSize_ = LocalePageSize();
    device_.setCreator(QStringLiteral("Qurvia"));
    Configure();
}

TPrinter::~TPrinter()
{
    Abort();
}

QStringList TPrinter::Printers() const
{
    QStringList names = QPrinterInfo::availablePrinterNames();
    names.removeAll(PdfPrinterName());
    names.append(PdfPrinterName());
    return names;
}

int TPrinter::PrinterIndex() const
{
    const QStringList names = Printers();
    if (pdf_) return static_cast<int>(names.size()) - 1;
    const auto at = names.indexOf(name_);
    // The last entry is the PDF printer, never a system printer.
    return at >= 0 && at < names.size() - 1 ? static_cast<int>(at) : -1;
}

void TPrinter::SetPrinterIndex(int index)
{
    RequireIdle();
    const QStringList names = Printers();
    if (index < 0 || index >= names.size()) throw EPrinter(PrinterMsg::PrinterIndex);
    pdf_ = index == names.size() - 1;
    name_ = names[index];
    if (!Contains(SupportedPageSizes(), pageSize_)) {
        QPageSize fallback = pdf_ ? LocalePageSize() : QPrinterInfo::printerInfo(name_).defaultPageSize();
        pageSize_ = fallback.isValid() ? fallback : LocalePageSize();
    }
    Configure();
}

void TPrinter::SetOutputFileName(const QString& fileName)
{
    RequireIdle();
    outputFile_ = fileName;
}

TPrinterOrientation TPrinter::Orientation() const
{
    return orientation_ == QPageLayout::Landscape ? TPrinterOrientation::poLandscape
                                                  : TPrinterOrientation::poPortrait;
}

void TPrinter::SetOrientation(TPrinterOrientation orientation)
{
    RequireIdle();
    orientation_ =
        orientation == TPrinterOrientation::poLandscape ? QPageLayout::Landscape : QPageLayout::Portrait;
    Configure();
}

QPageSize TPrinter::PageSize() const
{
    return pageSize_;
}

void TPrinter::SetPageSize(const QPageSize& size)
{
    RequireIdle();
    if (!size.isValid()) return;
    pageSize_ = size;
    Configure();
}

QList<QPageSize> PageSizesOf(const QString& printerName)
{
    if (printerName == TPrinter::PdfPrinterName()) return CommonPageSizes();
    QList<QPageSize> sizes = QPrinterInfo::printerInfo(printerName).supportedPageSizes();
    return sizes.isEmpty() ? CommonPageSizes() : sizes;
}

QList<QPageSize> TPrinter::SupportedPageSizes() const
{
    return PageSizesOf(pdf_ ? PdfPrinterName() : name_);
}

int TPrinter::PageWidth() const
{
    return device_.pageLayout().fullRectPixels(device_.resolution()).width();
}

int TPrinter::PageHeight() const
{
    return device_.pageLayout().fullRectPixels(device_.resolution()).height();
}

int TPrinter::XDpi() const
{
    return device_.logicalDpiX();
}

int TPrinter::YDpi() const
{
    return device_.logicalDpiY();
}

// Brings the device in line with the chosen printer, paper and orientation.
// The whole sheet is the page: no margins, origin at the paper's corner.
void TPrinter::Configure()
{
    if (pdf_) {
        device_.setOutputFormat(QPrinter::PdfFormat);
        device_.setResolution(kPdfResolution);
    } else {
        device_.setOutputFormat(QPrinter::NativeFormat);
        device_.setPrinterName(name_);
    }
    device_.setFullPage(true);
    device_.setPageSize(pageSize_);
    device_.setPageOrientation(orientation_);
    device_.setPageMargins(QMarginsF(0, 0, 0, 0), QPageLayout::Point);
}

void TPrinter::RequireIdle() const
{
    if (Printing()) throw EPrinter(PrinterMsg::PrintingInProgress);
}

void TPrinter::BeginDoc()
{
    RequireIdle();
    QString file;
    if (pdf_) {
        file = outputFile_;
        if (file.isEmpty()) {
            // A job without a chosen file asks for one; the answer serves
            // this job only, so a later job cannot overwrite it unasked.
            auto answer = Platform().ChoosePdfFile(QApplication::activeWindow(), ProposedPdfName(title_));
            if (!answer || answer->isEmpty()) throw EAbort();
            file = *answer;
        }
        // The job goes to a spool file beside the target; the target is
        // replaced only by a whole PDF (EndDoc), so a job that fails or is
        // aborted leaves a file of that name as it was.
        if (!CanCreate(file)) throw EPrinter(PrinterMsg::CannotCreateFile, Utf8(file));
        auto spool = std::make_unique<QTemporaryFile>(QFileInfo(file).absolutePath() +
                                                      QStringLiteral("/.qurvia-print-XXXXXX.pdf"));
        if (!spool->open()) throw EPrinter(PrinterMsg::CannotCreateFile, Utf8(file));
        spool->close();
        spool_ = std::move(spool);
        target_ = file;
    } else if (!QPrinterInfo::availablePrinterNames().contains(name_)) {
        throw EPrinter(name_.isEmpty() ? PrinterMsg::NoDefaultPrinter : PrinterMsg::InvalidPrinter);
    }

    Configure();
    if (pdf_) device_.setOutputFileName(spool_->fileName());
    device_.setDocName(title_);
    auto painter = std::make_unique<QPainter>();
    if (!painter->begin(&device_)) {
        spool_.reset();
        if (pdf_) throw EPrinter(PrinterMsg::CannotCreateFile, Utf8(file));
        throw EPrinter(PrinterMsg::InvalidPrinter);
    }
    painter_ = std::move(painter);
    pageNumber_ = 1;
}

void TPrinter::NewPage()
{
    if (!Printing()) throw EPrinter(PrinterMsg::NotPrinting);
    if (!device_.newPage()) throw EPrinter(PrinterMsg::NewPageFailed);
    ++pageNumber_;
}

void TPrinter::EndDoc()
{
    if (!Printing()) throw EPrinter(PrinterMsg::NotPrinting);
    const bool ended = painter_->end();
    painter_.reset();
    pageNumber_ = 0;
    if (pdf_) {
        const std::unique_ptr<QTemporaryFile> spool = std::move(spool_);
        QByteArray bytes;
        QFile spooled(spool->fileName());
        if (spooled.open(QIODevice::ReadOnly)) bytes = spooled.readAll();
        // The PDF engine does not report a failed write (a full disk): a
        // spool file without the end marker it writes last did not reach
        // the disk whole.
        if (!ended || !bytes.right(16).trimmed().endsWith("%%EOF"))
            throw EPrinter(PrinterMsg::CannotWriteFile, Utf8(target_));
        try {
            WriteWholeFile(QFile::encodeName(target_).toStdString(),
                           std::string_view(bytes.constData(), static_cast<std::size_t>(bytes.size())));
        } catch (const EFileWrite&) {
            throw EPrinter(PrinterMsg::CannotWriteFile, Utf8(target_));
        }
    } else if (!ended) {
        throw EPrinter(PrinterMsg::InvalidPrinter);
    }
}

void TPrinter::Abort()
{
    if (!Printing()) return;
    device_.abort();
    painter_->end();
    painter_.reset();
    pageNumber_ = 0;
    // The half-written spool file goes; the target was never touched.
    spool_.reset();
}

QPainter& TPrinter::Canvas()
{
    if (!Printing()) throw EPrinter(PrinterMsg::NotPrinting);
    return *painter_;
}

namespace
{
TPrinter* gPrinter = nullptr;

void FreePrinter()
{
    delete gPrinter;
    gPrinter = nullptr;
}
} // namespace

TPrinter& Printer()
{
    if (!gPrinter) {
        gPrinter = new TPrinter;
        // Freed with the application object, while the print support it
        // relies on still exists.
        qAddPostRoutine(FreePrinter);
    }
    return *gPrinter;
}

} // namespace qrv
