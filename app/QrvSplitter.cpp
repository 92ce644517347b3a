#include "QrvSplitter.h"

#include <QMouseEvent>

#include <algorithm>

namespace qrv
{

TSplitter::TSplitter(QWidget* parent) : QWidget(parent)
{
    setFixedWidth(kWidth);
    setCursor(Qt::SizeHorCursor);
}

void TSplitter::mousePressEvent(QMouseEvent* event)
{
    if (event->button() != Qt::LeftButton || !control_) return;
    dragging_ = true;
    pressX_ = event->globalPosition().toPoint().x();
    startWidth_ = control_->width();
}

void TSplitter::mouseMoveEvent(QMouseEvent* event)
{
    if (!dragging_) return;
    int room = parentWidget() ? parentWidget()->width() - kWidth : startWidth_;
    int wanted = startWidth_ - (event->globalPosition().toPoint().x() - pressX_);
    int highest = std::max(kMinSize, room - kMinSize);
    control_->setFixedWidth(std::clamp(wanted, kMinSize, highest));
}

void TSplitter::mouseReleaseEvent(QMouseEvent*)
{
    dragging_ = false;
}

} // namespace qrv
