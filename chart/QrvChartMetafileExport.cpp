// The chart's metafile pictures and their export to files and the clipboard.
#include "QrvChart.h"
#include "QrvChartFiles.h"
#include "QrvMetafile.h"

#include <QPainter>

namespace qrv
{

namespace
{

// Sets a flag for one drawing and restores it on every path out.
class TFlagScope
{
public:
    TFlagScope(bool& flag, bool value) : flag_(flag), saved_(flag) { flag_ = value; }
    ~TFlagScope() { flag_ = saved_; }
    TFlagScope(const TFlagScope&) = delete;
    TFlagScope& operator=(const TFlagScope&) = delete;

private:
    bool& flag_;
    bool saved_;
};

} // namespace

QByteArray TChart::MakeMetafile(bool enhanced, const QRect& rect)
{
    TMetafilePaintDevice device(enhanced ? MetafileKind::Emf : MetafileKind::Wmf,
                                MetafileSizeFor(rect.size()), logicalDpiY());
    {
        TFlagScope metafiling(metafiling_, true);
        QPainter painter(&device);
        DrawUnbuffered(painter, QRect(QPoint(0, 0), rect.size()));
    }
    return device.Finish();
}

void TChart::SaveMetafileFile(const QString& fileName)
{
    WriteFile(fileName, MakeMetafile(false, rect()));
}

void TChart::SaveEnhMetafileFile(const QString& fileName)
{
    WriteFile(fileName, MakeMetafile(true, rect()));
}

void TChart::CopyMetafileToClipboard(bool enhanced)
{
    const QByteArray metafile = MakeMetafile(enhanced, rect());
    PutOnClipboard(MetafileMimeData(enhanced, metafile, MakeBitmap(clWhite, rect())),
                   MetafileMimeType(enhanced));
}

} // namespace qrv
