// The files read back with an independent reader: framing and header fields,
// the declared picture size, which records the chart's kind of drawing
// produces, where they put things, and how objects and clips are managed.
#include "MetafileReader.h"
#include "MetafileSample.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <numeric>

namespace qrv::test
{
namespace
{

TMetafile Read(MetafileKind kind, const QByteArray& bytes)
{
    return kind == MetafileKind::Wmf ? ReadWmf(bytes) : ReadEmf(bytes);
}

TEST(MetafileSize, OnePixelLessThanThePanelButAtLeastOne)
{
    struct Row {
        const char* Name;
        QSize Panel, Expected;
    };
    const Row rows[] = {{"chart panel", {353, 305}, {352, 304}},
                        {"one pixel", {1, 1}, {1, 1}},
                        {"empty panel", {0, 0}, {1, 1}},
                        {"negative height", {2, -5}, {1, 1}}};
    for (const Row& r : rows)
        EXPECT_EQ(MetafileSizeFor(r.Panel), r.Expected) << r.Name;
}

// ---- Header fields and the declared size, for both kinds and several sizes.

struct THeaderCase {
    const char* Name;
    MetafileKind Kind;
    QSize Size;
    int Dpi;
    int Width, Height; // declared picture size
};

class MetafileHeader : public testing::TestWithParam<THeaderCase>
{
};

TEST_P(MetafileHeader, FramingAndDeclaredSize)
{
    const THeaderCase& c = GetParam();
    const TMetafile f = Read(c.Kind, Record(c.Kind, c.Size, DrawSample, c.Dpi));
    ASSERT_EQ(f.Error, "");
    EXPECT_EQ(CheckObjects(f), "");
    EXPECT_EQ(f.Left, 0);
    EXPECT_EQ(f.Top, 0);
    if (c.Kind == MetafileKind::Wmf) {
        EXPECT_EQ(f.Right, c.Width);
        EXPECT_EQ(f.Bottom, c.Height);
        EXPECT_EQ(f.UnitsPerInch, c.Dpi);
    } else {
        // Bounds include their right and bottom edge; the frame is in 0.01 mm.
        EXPECT_EQ(f.Right - f.Left + 1, c.Width);
        EXPECT_EQ(f.Bottom - f.Top + 1, c.Height);
        EXPECT_NEAR(f.FrameRight + 1, c.Width * 2540.0 / c.Dpi, 1.0);
        EXPECT_NEAR(f.FrameBottom + 1, c.Height * 2540.0 / c.Dpi, 1.0);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Sizes, MetafileHeader,
    testing::Values(THeaderCase{"WmfChart", MetafileKind::Wmf, {352, 304}, 96, 352, 304},
                    THeaderCase{"EmfChart", MetafileKind::Emf, {352, 304}, 96, 352, 304},
                    THeaderCase{"WmfOnePixel", MetafileKind::Wmf, {1, 1}, 96, 1, 1},
                    THeaderCase{"EmfOnePixel", MetafileKind::Emf, {1, 1}, 96, 1, 1},
                    THeaderCase{"WmfEmptyIsOnePixel", MetafileKind::Wmf, {0, -3}, 96, 1, 1},
                    THeaderCase{"EmfEmptyIsOnePixel", MetafileKind::Emf, {0, -3}, 96, 1, 1},
                    THeaderCase{"WmfPrinterDpi", MetafileKind::Wmf, {500, 200}, 300, 500, 200},
                    THeaderCase{"EmfPrinterDpi", MetafileKind::Emf, {500, 200}, 300, 500, 200}),
    test::RowName{});

// ---- What the records say, for both kinds.

struct TCodes {
    uint32_t Polyline, Text, Font, Clip, Save, Restore, Rectangle, Image;
};

class MetafileRecords : public testing::TestWithParam<MetafileKind>
{
protected:
    MetafileKind Kind() const { return GetParam(); }
    bool Wmf() const { return Kind() == MetafileKind::Wmf; }
    TCodes Codes() const
    {
        if (Wmf())
            return {wmf::Polyline, wmf::ExtTextOut, wmf::CreateFont, wmf::IntersectClip,
                    wmf::SaveDc,   wmf::RestoreDc,  wmf::Rectangle,  wmf::StretchDib};
        return {emf::Polyline16, emf::ExtTextOutW, emf::CreateFont, emf::IntersectClip,
                emf::SaveDc,     emf::RestoreDc,   emf::Rectangle,  emf::StretchDiBits};
    }
    TMetafile Draw(const std::function<void(QPainter&)>& draw, QSize size = {352, 304}) const
    {
        TMetafile f = Read(Kind(), Record(Kind(), size, draw));
        EXPECT_EQ(f.Error, "");
        EXPECT_EQ(CheckObjects(f), "");
        return f;
    }
    // Rectangle-like records keep left, top, right, bottom (WMF in reverse order).
    static std::array<int, 4> Ltrb(const TMetafile& f, const TRecord& r)
    {
        if (f.Enhanced) return {r.I32(8), r.I32(12), r.I32(16), r.I32(20)};
        return {r.I16(12), r.I16(10), r.I16(8), r.I16(6)};
    }
};

TEST_P(MetafileRecords, ChartDrawingGivesLinesTextFontAndClip)
{
    const TMetafile f = Draw(DrawSample);
    const TCodes c = Codes();
    EXPECT_GE(f.Count(c.Polyline), 6u);  // grid lines, axis line, curve
    EXPECT_EQ(f.Count(c.Rectangle), 2u); // background fill and frame

    const auto fonts = f.OfType(c.Font);
    ASSERT_EQ(fonts.size(), 1u); // both labels share one font
    EXPECT_EQ(FontInfo(f, *fonts[0]).Face, "Arial");
    EXPECT_EQ(FontInfo(f, *fonts[0]).Height, -11); // 8 pt at 96 dpi

    std::vector<QString> texts;
    for (const TRecord* r : f.OfType(c.Text))
        texts.push_back(TextRun(f, *r).Text);
    EXPECT_EQ(texts, (std::vector<QString>{"X", "1,000"}));

    // The clip is set inside a saved state, around the curve only.
    const auto clips = f.OfType(c.Clip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(Ltrb(f, *clips[0]), (std::array<int, 4>{40, 20, 330, 260}));
    size_t clip = 0, save = 0, restore = 0;
    for (size_t i = 0; i < f.Records.size(); ++i) {
        if (f.Records[i].Type == c.Clip) clip = i;
        if (f.Records[i].Type == c.Save) save = i;
        if (f.Records[i].Type == c.Restore) restore = i;
    }
    EXPECT_LT(save, clip);
    EXPECT_LT(clip, restore);
    // The curve, cut where it leaves the clip (its points kept within a few
    // pixels of it) into the arcs that show.
    size_t arcs = 0;
    for (size_t i = clip + 1; i < restore; ++i) {
        if (f.Records[i].Type != c.Polyline) continue;
        ++arcs;
        for (const auto& [x, y] : PolyPoints(f, f.Records[i])) {
            EXPECT_TRUE(x >= 37 && x <= 332 && y >= 17 && y <= 262) << x << "," << y;
        }
    }
    EXPECT_EQ(arcs, 3u);
}

TEST_P(MetafileRecords, TextStandsWhereQPainterPutIt)
{
    const TMetafile f = Draw(DrawSample);
    const auto runs = f.OfType(Codes().Text);
    ASSERT_EQ(runs.size(), 2u);
    const TTextRun centred = TextRun(f, *runs[0]), right = TextRun(f, *runs[1]);
    // "X" is centred on the picture; "1,000" ends at the right edge of its box.
    const int centredWidth = std::accumulate(centred.Dx.begin(), centred.Dx.end(), 0);
    EXPECT_NEAR(centred.X + centredWidth / 2.0, 176, 1.0);
    EXPECT_NEAR(right.X + std::accumulate(right.Dx.begin(), right.Dx.end(), 0), 34, 1.0);
    ASSERT_EQ(right.Dx.size(), 5u);
    // Baselines: below the top of the box by the ascent, inside the box.
    EXPECT_GT(centred.Y, 280);
    EXPECT_LT(centred.Y, 300);
    EXPECT_EQ(f.Count(Wmf() ? wmf::SetTextAlign : emf::SetTextAlign), 1u);
}

TEST_P(MetafileRecords, TransformMovesAndScalesGeometry)
{
    const TMetafile f = Draw([](QPainter& p) {
        p.translate(10, 20);
        p.scale(2, 2);
        p.drawLine(0, 0, 5, 5);
        p.resetTransform();
        p.drawRect(QRect(10, 10, 20, 10));
    });
    const auto lines = f.OfType(Codes().Polyline);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_EQ(PolyPoints(f, *lines[0]), (std::vector<std::pair<int, int>>{{10, 20}, {20, 30}}));
    // QPainter outlines pixels 10..30 x 10..20; GDI leaves out right and bottom.
    const auto rects = f.OfType(Codes().Rectangle);
    ASSERT_EQ(rects.size(), 1u);
    EXPECT_EQ(Ltrb(f, *rects[0]), (std::array<int, 4>{10, 10, 31, 21}));
}

TEST_P(MetafileRecords, PensAndBrushesKeepStyleWidthAndColour)
{
    struct Row {
        const char* Name;
        QPen Pen;
        uint32_t Style, Width, Colour; // GDI values; colours 0x00BBGGRR
    };
    const Row rows[] = {
        {"axis: solid black, 2 wide", QPen(Qt::black, 2), 0, 2, 0x000000},
        {"grid: dotted gray", QPen(QColor(0x80, 0x80, 0x80), 1, Qt::DotLine), 2, 1, 0x808080},
        {"series: solid red", QPen(QColor(255, 0, 0), 1), 0, 1, 0x0000FF},
        {"hairline", QPen(QColor(0, 0, 255), 0), 0, 0, 0xFF0000},
        {"dashed", QPen(Qt::black, 1, Qt::DashLine), 1, 1, 0x000000},
    };
    for (const Row& r : rows) {
        const TMetafile f = Draw([&](QPainter& p) {
            p.setPen(r.Pen);
            p.drawLine(0, 0, 10, 10);
        });
        const auto pens = f.OfType(Wmf() ? wmf::CreatePen : emf::CreatePen);
        ASSERT_EQ(pens.size(), 1u) << r.Name;
        const TRecord& pen = *pens[0];
        const int at = Wmf() ? 6 : 12; // style, width (x, y), colour
        EXPECT_EQ(Wmf() ? pen.U16(at) : pen.U32(at), r.Style) << r.Name;
        EXPECT_EQ(Wmf() ? uint32_t(pen.U16(at + 2)) : pen.U32(at + 4), r.Width) << r.Name;
        EXPECT_EQ(Wmf() ? pen.U32(at + 6) : pen.U32(at + 12), r.Colour) << r.Name;
    }

    // A filled, unoutlined rectangle: a solid brush of its colour and a null pen.
    const TMetafile f = Draw([](QPainter& p) { p.fillRect(QRect(5, 5, 10, 10), QColor(0x12, 0x34, 0x56)); });
    const auto brushes = f.OfType(Wmf() ? wmf::CreateBrush : emf::CreateBrush);
    ASSERT_EQ(brushes.size(), 1u);
    const int at = Wmf() ? 6 : 12; // style, colour
    EXPECT_EQ(Wmf() ? brushes[0]->U16(at) : brushes[0]->U32(at), 0u);
    EXPECT_EQ(brushes[0]->U32(at + (Wmf() ? 2 : 4)), 0x563412u);
    const auto pens = f.OfType(Wmf() ? wmf::CreatePen : emf::CreatePen);
    ASSERT_EQ(pens.size(), 1u);
    EXPECT_EQ(Wmf() ? pens[0]->U16(6) : pens[0]->U32(12), 5u); // PS_NULL
}

TEST_P(MetafileRecords, LongCurveIsOneRecordOfPlausibleSize)
{
    QPolygonF curve;
    for (int i = 0; i <= 10000; ++i)
        curve << QPointF(i * 0.035, 150 + 100 * std::sin(i / 500.0));
    const QByteArray bytes = Record(Kind(), {352, 304}, [&](QPainter& p) { p.drawPolyline(curve); });
    const TMetafile f = Read(Kind(), bytes);
    ASSERT_EQ(f.Error, "");
    const auto lines = f.OfType(Codes().Polyline);
    ASSERT_EQ(lines.size(), 1u);
    // Points landing on the same pixel as their predecessor are left out.
    const size_t points = PolyPoints(f, *lines[0]).size();
    EXPECT_GT(points, 300u);
    EXPECT_LE(points, 10001u);
    EXPECT_LT(bytes.size(), 4 * 10001 + 2000); // 4 bytes a point at most, plus headers
}

TEST_P(MetafileRecords, SegmentsDrawnOneByOneJoinIntoOnePolyline)
{
    const TMetafile f = Draw([](QPainter& p) {
        p.setPen(QPen(Qt::red, 1));
        QPoint previous(0, 100);
        for (int i = 1; i <= 10000; ++i) {
            const QPoint next(i / 30, 100 + (i % 7) * 10);
            if (next != previous) p.drawLine(previous, next);
            previous = next;
        }
        p.setPen(Qt::blue); // a new pen ends the line
        p.drawLine(0, 0, 10, 0);
    });
    const auto lines = f.OfType(Codes().Polyline);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_GT(PolyPoints(f, *lines[0]).size(), 9000u);
}

TEST_P(MetafileRecords, ManyPenChangesKeepTheObjectTableSmall)
{
    const TMetafile f = Draw([](QPainter& p) {
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue};
        for (int i = 0; i < 3000; ++i) {
            p.setPen(colours[i % 3]);
            p.drawLine(i % 300, 0, i % 300, 50);
        }
    });
    EXPECT_EQ(f.Count(Wmf() ? wmf::CreatePen : emf::CreatePen), 3000u);
    EXPECT_LE(f.ObjectSlots, Wmf() ? 2 : 3);
}

TEST_P(MetafileRecords, ObjectsOfASavedStateOutliveItsRestore)
{
    // Pens and fonts change while a clip is set, and the clip changes while
    // they are selected: no object may be deleted while a saved state holds it.
    const TMetafile f = Draw([](QPainter& p) {
        p.setFont(QFont("Arial", 8));
        p.setPen(Qt::black);
        p.drawText(10, 10, "a");
        p.setClipRect(QRect(0, 0, 100, 100));
        p.setPen(Qt::red);
        p.setFont(QFont("Arial", 12));
        p.drawText(10, 30, "b");
        p.setClipRect(QRect(0, 0, 50, 50));
        p.setPen(Qt::green);
        p.drawLine(0, 0, 40, 40);
        p.setClipping(false);
        p.setPen(Qt::blue);
        p.drawLine(0, 40, 40, 0);
    });
    EXPECT_EQ(f.Count(Codes().Save), 2u);
    EXPECT_EQ(f.Count(Codes().Restore), 2u);
    EXPECT_EQ(f.Count(Codes().Clip), 2u);
}

TEST_P(MetafileRecords, ClipFollowsTheTransformItWasSetWith)
{
    const TMetafile f = Draw([](QPainter& p) {
        p.translate(10, 20);
        p.setClipRect(QRect(0, 0, 50, 40));
        p.translate(100, 100); // moves later drawing, not the clip
        p.drawLine(-85, -75, -80, -70);
    });
    const auto clips = f.OfType(Codes().Clip);
    ASSERT_EQ(clips.size(), 1u);
    EXPECT_EQ(Ltrb(f, *clips[0]), (std::array<int, 4>{10, 20, 60, 60}));
}

TEST_P(MetafileRecords, ImagesBecomeBitmapRecords)
{
    QImage image(4, 3, QImage::Format_RGB32);
    image.fill(Qt::blue);
    const TMetafile f = Draw([&](QPainter& p) { p.drawImage(QRect(10, 10, 8, 6), image); });
    EXPECT_EQ(f.Count(Codes().Image), 1u);
}

TEST_P(MetafileRecords, FinishOnlyAfterThePainterEnds)
{
    TMetafilePaintDevice device(Kind(), {20, 20});
    QPainter painter(&device);
    painter.drawLine(0, 0, 10, 10);
    EXPECT_TRUE(device.Finish().isEmpty());
    painter.end();
    const QByteArray bytes = device.Finish();
    EXPECT_EQ(Read(Kind(), bytes).Error, "");
    EXPECT_EQ(device.Finish(), bytes);
    // The recording is closed: a new painter cannot start on it.
    QPainter again;
    EXPECT_FALSE(again.begin(&device));
}

INSTANTIATE_TEST_SUITE_P(Kinds, MetafileRecords, testing::Values(MetafileKind::Wmf, MetafileKind::Emf),
                         [](const auto& info) { return info.param == MetafileKind::Wmf ? "Wmf" : "Emf"; });

// Lines wider than a pixel that are dashed or dotted: a plain pen of that
// width draws solid in GDI, so an EMF gets a geometric pen with the style,
// width, ends and joins, and a WMF the dashes themselves, solid.
TEST(WideDashedPens, ReachTheRecordsSoReadersDrawTheDashes)
{
    struct Row {
        const char* Name;
        Qt::PenStyle Style;
        uint32_t GdiStyle;
        size_t Dashes; // along 180 pixels at width 3
    };
    const Row rows[] = {{"dashed", Qt::DashLine, 1, 10}, {"dotted", Qt::DotLine, 2, 20}};
    for (const Row& r : rows) {
        const auto draw = [&](QPainter& p) {
            p.setPen(QPen(QColor(0, 0, 255), 3, r.Style, Qt::FlatCap, Qt::BevelJoin));
            p.drawLine(10, 50, 190, 50);
        };
        const TMetafile emf = ReadEmf(Record(MetafileKind::Emf, {352, 304}, draw));
        EXPECT_EQ(CheckObjects(emf), "") << r.Name;
        const auto pens = emf.OfType(emf::ExtCreatePen);
        ASSERT_EQ(pens.size(), 1u) << r.Name;
        // After the index and the fields of the (absent) pattern bitmap:
        // style (geometric, flat ends, bevelled joins), width, brush, colour.
        EXPECT_EQ(pens[0]->U32(28), 0x00010000u | 0x0200u | 0x1000u | r.GdiStyle) << r.Name;
        EXPECT_EQ(pens[0]->U32(32), 3u) << r.Name;
        EXPECT_EQ(pens[0]->U32(40), 0xFF0000u) << r.Name;
        EXPECT_EQ(emf.Count(emf::Polyline16), 1u) << r.Name;

        const TMetafile wmf = ReadWmf(Record(MetafileKind::Wmf, {352, 304}, draw));
        EXPECT_EQ(CheckObjects(wmf), "") << r.Name;
        const auto wmfPens = wmf.OfType(wmf::CreatePen);
        ASSERT_EQ(wmfPens.size(), 1u) << r.Name;
        EXPECT_EQ(wmfPens[0]->U16(6), 0u) << r.Name << ": solid";
        EXPECT_EQ(wmfPens[0]->U16(8), 3u) << r.Name;
        EXPECT_EQ(wmf.Count(wmf::Polyline), r.Dashes) << r.Name;
    }
}

TEST(WmfRecords, PolylineBeyondTheRecordLimitIsSplitWithoutAGap)
{
    QPolygonF zigzag;
    for (int i = 0; i < 70000; ++i)
        zigzag << QPointF(i % 200, (i / 200) % 2 ? 10 : 0);
    const TMetafile f =
        ReadWmf(Record(MetafileKind::Wmf, {352, 304}, [&](QPainter& p) { p.drawPolyline(zigzag); }));
    ASSERT_EQ(f.Error, "");
    const auto lines = f.OfType(wmf::Polyline);
    ASSERT_EQ(lines.size(), 3u);
    size_t total = 0;
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto pts = PolyPoints(f, *lines[i]);
        EXPECT_LE(pts.size(), 32767u);
        if (i > 0) {
            EXPECT_EQ(pts.front(), PolyPoints(f, *lines[i - 1]).back()) << "piece " << i;
        }
        total += pts.size();
    }
    EXPECT_EQ(total, 70000u + 2);
}

} // namespace
} // namespace qrv::test
