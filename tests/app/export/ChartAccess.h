// The chart of a main window as the export tests need it, in a unit of its
// own: the chart's colour header and the dialogs' colour header cannot meet
// in one file.
#pragma once

#include <QByteArray>
#include <QImage>

namespace qrv
{
class TF_Main_GRF;
}

namespace qrv::test
{

// Gives the chart a few points and a fixed size.
void FillChart(TF_Main_GRF& window);
// The chart's pictures as the exports draw them.
QImage ChartBitmap(TF_Main_GRF& window);
QByteArray ChartMetafile(TF_Main_GRF& window, bool enhanced);

} // namespace qrv::test
