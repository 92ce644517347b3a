#include "QrvReportPrint.h"

#include "QrvPrintJob.h"

#include <QAbstractTextDocumentLayout>
#include <QTextBlock>
#include <QTextDocument>
#include <QTextLayout>

namespace qrv
{

std::vector<TPageLines> SplitIntoPages(std::span<const TLineBox> lines, qreal pageHeight)
{
    // Line positions come from floating-point layout; a line whose end is
    // within this of the page end still fits.
    constexpr qreal kSlack = 1e-6;
    std::vector<TPageLines> pages;
    const int total = static_cast<int>(lines.size());
    int first = 0;
    while (first < total) {
        const qreal top = lines[first].Top;
        int next = first + 1; // a page always takes at least one line
        while (next < total && lines[next].Top + lines[next].Height - top <= pageHeight + kSlack)
            ++next;
        pages.push_back({first, next - first});
        first = next;
    }
    if (pages.empty()) pages.push_back({0, 0});
    return pages;
}

QString ReportTextFromTable(const QString& tableText)
{
    QString text = tableText;
    text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    text.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    if (text.endsWith(QLatin1Char('\n'))) text.chop(1);
    return text;
}

QString ReportTitle()
{
    return QStringLiteral("Report");
}

QFont PrintFont(const QFont& screenFont)
{
    QFont font = screenFont;
    if (screenFont.pixelSize() > 0) font.setPointSizeF(screenFont.pixelSize() * 72.0 / 96.0);
    return font;
}

namespace
{

// One laid-out line and where its layout sits in the text.
struct TPlacedLine {
    QTextLine Line;
    QPointF LayoutPos;
};

} // namespace

int PrintReportText(const QString& text, const QFont& font, TPrinter& printer)
{
    TPrintJob job(printer, ReportTitle());
    const QRect page = job.PageRect();

    // Lay the text out with the printer's own metrics, over the full page
    // width and without any margin.
    QTextDocument document;
    document.documentLayout()->setPaintDevice(&printer.Device());
    document.setDefaultFont(PrintFont(font));
    document.setDocumentMargin(0);
    document.setPlainText(text);
    document.setTextWidth(page.width());
    // The layout works lazily; asking for the size lays out all of the text.
    document.documentLayout()->documentSize();

    std::vector<TPlacedLine> placed;
    std::vector<TLineBox> boxes;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        const QTextLayout* layout = block.layout();
        const QPointF at = layout->position();
        for (int i = 0; i < layout->lineCount(); ++i) {
            const QTextLine line = layout->lineAt(i);
            placed.push_back({line, at});
            boxes.push_back({at.y() + line.y(), line.height()});
        }
    }

    const auto pages = SplitIntoPages(boxes, page.height());
    QPainter& painter = job.Canvas();
    for (std::size_t p = 0; p < pages.size(); ++p) {
        if (p > 0) job.NewPage();
        if (pages[p].Count == 0) continue;
        const qreal top = boxes[pages[p].First].Top;
        painter.save();
        painter.setPen(Qt::black);
        painter.setClipRect(page);
        for (int i = pages[p].First; i < pages[p].First + pages[p].Count; ++i)
            placed[i].Line.draw(&painter, placed[i].LayoutPos - QPointF(0, top));
        painter.restore();
    }
    job.End();
    return static_cast<int>(pages.size());
}

} // namespace qrv
