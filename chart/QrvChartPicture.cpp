#include "QrvChartPicture.h"

#include "QrvChartDraw.h"
#include "QrvErrors.h"

#include <QPainter>

#include <algorithm>

namespace qrv
{

TChartPicture::TChartPicture()
{
    // RequestRepaint is looked up when an axis changes, so a control built
    // on the picture repaints itself.
    auto changed = [this] { RequestRepaint(); };
    axes_ = {std::make_unique<TChartAxis>(TAxisKind::Bottom, changed),
             std::make_unique<TChartAxis>(TAxisKind::Top, changed),
             std::make_unique<TChartAxis>(TAxisKind::Left, changed),
             std::make_unique<TChartAxis>(TAxisKind::Right, changed),
             std::make_unique<TChartAxis>(TAxisKind::Depth, changed)};
}

TChartPicture::~TChartPicture()
{
    for (auto& s : series_)
        s->SetParentChart(nullptr);
}

void TChartPicture::AddSeriesImpl(std::unique_ptr<TChartSeries> series)
{
    series->SetParentChart(this);
    series_.push_back(std::move(series));
    RequestRepaint();
}

int TChartPicture::IndexOfSeries(const TChartSeries& series) const
{
    for (std::size_t i = 0; i < series_.size(); ++i)
        if (series_[i].get() == &series) return static_cast<int>(i);
    return -1;
}

void TChartPicture::RemoveSeries(int index)
{
    if (index < 0 || index >= SeriesCount()) return;
    const auto at = series_.begin() + index;
    (*at)->SetParentChart(nullptr);
    series_.erase(at);
    RequestRepaint();
}

void TChartPicture::MoveSeries(int from, int to)
{
    const int count = SeriesCount();
    if (from < 0 || from >= count || to < 0 || to >= count || from == to) return;
    auto series = std::move(series_[static_cast<std::size_t>(from)]);
    series_.erase(series_.begin() + from);
    series_.insert(series_.begin() + to, std::move(series));
    RequestRepaint();
}

namespace
{

// Sets a value and reports whether it changed.
template <class T> bool Assign(T& field, const T& value)
{
    if (field == value) return false;
    field = value;
    return true;
}

} // namespace

void TChartPicture::SetColor(TColor color)
{
    if (Assign(frame_.Color, color)) RequestRepaint();
}

void TChartPicture::SetMarginLeft(int percent)
{
    if (Assign(frame_.MarginLeft, percent)) RequestRepaint();
}

void TChartPicture::SetMarginTop(int percent)
{
    if (Assign(frame_.MarginTop, percent)) RequestRepaint();
}

void TChartPicture::SetMarginRight(int percent)
{
    if (Assign(frame_.MarginRight, percent)) RequestRepaint();
}

void TChartPicture::SetMarginBottom(int percent)
{
    if (Assign(frame_.MarginBottom, percent)) RequestRepaint();
}

void TChartPicture::SetBorderWidth(int width)
{
    if (Assign(frame_.BorderWidth, width)) RequestRepaint();
}

void TChartPicture::SetAxisVisible(bool visible)
{
    if (Assign(frame_.AxisVisible, visible)) RequestRepaint();
}

void TChartPicture::SetClipPoints(bool clip)
{
    if (Assign(frame_.ClipPoints, clip)) RequestRepaint();
}

void TChartPicture::SetEqualScales(bool equal)
{
    if (Assign(frame_.EqualScales, equal)) RequestRepaint();
}

void TChartPicture::SetFineLabels(bool fine)
{
    if (Assign(frame_.FineLabels, fine)) RequestRepaint();
}

void TChartPicture::SetBackWall(const TChartWall& wall)
{
    frame_.BackWall = wall;
    RequestRepaint();
}

TChartContent TChartPicture::Content() const
{
    TChartContent content{frame_, {}, {}};
    for (std::size_t i = 0; i < axes_.size(); ++i)
        content.Axes[i] = axes_[i].get();
    content.Series.reserve(series_.size());
    for (const auto& s : series_)
        content.Series.push_back(s.get());
    return content;
}

TChartLayout TChartPicture::LayoutFor(const QRect& target, const QPaintDevice* device) const
{
    return ComputeChartLayout(Content(), target, device);
}

void TChartPicture::DrawPicture(QPainter& painter, const QRect& rect, bool metafiling) const
{
    DrawWithLayout(painter, LayoutFor(rect, painter.device()), metafiling);
}

void TChartPicture::DrawWithLayout(QPainter& painter, const TChartLayout& layout, bool metafiling) const
{
    DrawChartLayout(painter, Content(), layout, {printing_, metafiling});
}

QImage MakeBitmap(const TChartPicture& chart, TColor background, const QSize& size)
{
    QImage image(std::max(1, size.width()), std::max(1, size.height()), QImage::Format_RGB32);
    // A null image here means its memory could not be had; drawing into it
    // would give an empty picture that looks like success.
    if (image.isNull()) throw Exception(Msg::ImageTooLarge);
    image.fill(ToQColor(background));
    QPainter painter(&image);
    chart.DrawPicture(painter, QRect(QPoint(0, 0), size));
    return image;
}

} // namespace qrv
