// Drawing a chart from its layout onto any painter: screen, bitmap,
// metafile or printer.
#pragma once

class QPainter;

namespace qrv
{

struct TChartContent;
struct TChartLayout;

struct TChartDrawOptions {
    // For a printer or the print preview: no background, thin non-solid
    // pens, no white text.
    bool Printing = false;
    // Into a metafile.
    bool Metafiling = false;
};

// Background, back wall, the visible axes, then the series on top.
void DrawChartLayout(QPainter& painter, const TChartContent& content, const TChartLayout& layout,
                     const TChartDrawOptions& options);

} // namespace qrv
