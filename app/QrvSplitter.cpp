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
    if (event->button() != Qt::LeftButton || !FControl) return;
    FDragging = true;
    FPressX = event->globalPosition().toPoint().x();
    FStartWidth = FControl->width();
}

void TSplitter::mouseMoveEvent(QMouseEvent* event)
{
    if (!FDragging) return;
    int room = parentWidget() ? parentWidget()->width() - kWidth : FStartWidth;
    int wanted = FStartWidth - (event->globalPosition().toPoint().x() - FPressX);
    int highest = std::max(kMinSize, room - kMinSize);
    FControl->setFixedWidth(std::clamp(wanted, kMinSize, highest));
}

void TSplitter::mouseReleaseEvent(QMouseEvent*)
{
    FDragging = false;
}

} // namespace qrv
