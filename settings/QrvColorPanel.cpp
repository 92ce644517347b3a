#include "QrvColorPanel.h"

#include "QrvQtColor.h"

#include <QKeyEvent>
#include <QMouseEvent>

namespace qrv
{

TColorPanel::TColorPanel(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::Panel);
    setFrameShadow(QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setFocusPolicy(Qt::TabFocus);
    SetColor(color_);
}

void TColorPanel::SetColor(TColor color)
{
    color_ = color;
    QPalette colors = palette();
    colors.setColor(QPalette::Window, ToQColor(color));
    setPalette(colors);
    update();
}

void TColorPanel::mouseReleaseEvent(QMouseEvent* event)
{
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        emit Clicked();
    else
        QFrame::mouseReleaseEvent(event);
}

void TColorPanel::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Space)
        emit Clicked();
    else
        QFrame::keyPressEvent(event);
}

} // namespace qrv
