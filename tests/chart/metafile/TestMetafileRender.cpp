// The WMF rendered by an independent player (libwmf's wmf2gd) against the
// same drawing painted into a QImage: same size, and ink where the image has
// ink. Skipped where the player is not installed.
#include "MetafileSample.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace qrv::test
{
namespace
{

bool Dark(QRgb c)
{
    return qGray(c) < 160;
}
bool Reddish(QRgb c)
{
    return qRed(c) > 150 && qGreen(c) < 120 && qBlue(c) < 120;
}

// Whether the image has a pixel matching `test` within `radius` of (x, y).
template <class Test> bool Near(const QImage& image, int x, int y, int radius, Test test)
{
    for (int dy = -radius; dy <= radius; ++dy)
        for (int dx = -radius; dx <= radius; ++dx)
            if (image.rect().contains(x + dx, y + dy) && test(image.pixel(x + dx, y + dy))) return true;
    return false;
}

TEST(WmfRender, PlayerDrawsWhatQPainterDraws)
{
    const QString player = QStandardPaths::findExecutable("wmf2gd");
    // test.sh installs libwmf-bin: a missing player is a broken set-up, not a reason to pass.
    ASSERT_FALSE(player.isEmpty()) << "wmf2gd (Debian package libwmf-bin) is not installed";

    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString wmfName = dir.filePath("chart.wmf"), pngName = dir.filePath("chart.png");
    QFile wmf(wmfName);
    ASSERT_TRUE(wmf.open(QIODevice::WriteOnly));
    wmf.write(Record(MetafileKind::Wmf, {352, 304}, DrawSample));
    wmf.close();

    // The player sizes the picture at 72 dpi unless told the pixel size.
    QProcess run;
    run.start(player, {"--maxwidth=352", "--maxheight=304", "--maxpect", "-o", pngName, wmfName});
    ASSERT_TRUE(run.waitForFinished(30000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QImage played(pngName);
    ASSERT_FALSE(played.isNull());
    EXPECT_EQ(played.size(), QSize(352, 304));

    QImage painted(352, 304, QImage::Format_RGB32);
    painted.fill(Qt::gray); // the drawing must paint its own white background
    {
        QPainter p(&painted);
        DrawSample(p);
    }

    // Every dark pixel QPainter drew (frame, axis line, labels) has a dark
    // pixel near it in the played picture, and the other way round.
    int paintedDark = 0, missed = 0, playedDark = 0, extra = 0;
    for (int y = 0; y < 304; ++y)
        for (int x = 0; x < 352; ++x) {
            if (Dark(painted.pixel(x, y)) && !Reddish(painted.pixel(x, y))) {
                ++paintedDark;
                if (!Near(played, x, y, 2, Dark)) ++missed;
            }
            if (Dark(played.pixel(x, y)) && !Reddish(played.pixel(x, y))) {
                ++playedDark;
                if (!Near(painted, x, y, 2, Dark)) ++extra;
            }
        }
    EXPECT_GT(paintedDark, 1000);
    EXPECT_LT(missed, paintedDark / 20) << "dark pixels missing from the played picture";
    EXPECT_LT(extra, playedDark / 20) << "dark pixels the played picture adds";

    // The red curve: inside the axes where QPainter drew it, absent outside
    // (the clip), and the background white.
    int curve = 0, found = 0, outside = 0;
    for (int y = 0; y < 304; ++y)
        for (int x = 0; x < 352; ++x) {
            if (Reddish(painted.pixel(x, y))) {
                ++curve;
                if (Near(played, x, y, 2, Reddish)) ++found;
            }
            if (Reddish(played.pixel(x, y)) && !SampleAxes.adjusted(-1, -1, 1, 1).contains(x, y)) ++outside;
        }
    EXPECT_GT(found, curve * 9 / 10);
    EXPECT_EQ(outside, 0);
    EXPECT_EQ(played.pixel(5, 5), qRgb(255, 255, 255));
}

// A wide dashed line as the player draws it: dashes and gaps where QPainter
// has them, not the solid line a wide dashed GDI pen would give.
TEST(WmfRender, WideDashesStayDashes)
{
    const QString player = QStandardPaths::findExecutable("wmf2gd");
    ASSERT_FALSE(player.isEmpty()) << "wmf2gd (Debian package libwmf-bin) is not installed";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString wmfName = dir.filePath("dashes.wmf"), pngName = dir.filePath("dashes.png");
    const auto draw = [](QPainter& p) {
        p.fillRect(QRect(0, 0, 352, 304), Qt::white);
        p.setPen(QPen(Qt::red, 4, Qt::DashLine, Qt::FlatCap, Qt::BevelJoin));
        p.drawLine(20, 100, 332, 100);
    };
    QFile wmf(wmfName);
    ASSERT_TRUE(wmf.open(QIODevice::WriteOnly));
    wmf.write(Record(MetafileKind::Wmf, {352, 304}, draw));
    wmf.close();
    QProcess run;
    run.start(player, {"--maxwidth=352", "--maxheight=304", "--maxpect", "-o", pngName, wmfName});
    ASSERT_TRUE(run.waitForFinished(30000));
    ASSERT_EQ(run.exitCode(), 0) << run.readAllStandardError().toStdString();
    const QImage played(pngName);
    ASSERT_EQ(played.size(), QSize(352, 304));
    QImage painted(352, 304, QImage::Format_RGB32);
    {
        QPainter p(&painted);
        draw(p);
    }
    // Red runs along the line's middle row: 16 pixels on, 8 off.
    const auto dashes = [](const QImage& image) {
        int runs = 0;
        bool inside = false;
        for (int x = 0; x < image.width(); ++x) {
            const bool red = Reddish(image.pixel(x, 100)) || Reddish(image.pixel(x, 101));
            if (red && !inside) ++runs;
            inside = red;
        }
        return runs;
    };
    EXPECT_EQ(dashes(painted), 13);
    EXPECT_EQ(dashes(played), dashes(painted));
}

} // namespace
} // namespace qrv::test
