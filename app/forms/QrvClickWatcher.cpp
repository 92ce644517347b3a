#include "QrvClickWatcher.h"

#include <QMouseEvent>
#include <QWidget>

namespace qrv
{

namespace
{
const char* const kMuted = "qrvClickMuted";
}

TClickWatcher::TClickWatcher(std::function<void()> onClick, QObject* parent)
    : QObject(parent), onClick_(std::move(onClick))
{
}

void TClickWatcher::Watch(QWidget* widget)
{
    widget->installEventFilter(this);
}

void TClickWatcher::Mute(QWidget* widget)
{
    widget->setProperty(kMuted, true);
    widget->installEventFilter(this);
}

bool TClickWatcher::eventFilter(QObject* watched, QEvent* event)
{
    const auto type = event->type();
    if (type != QEvent::MouseButtonPress && type != QEvent::MouseButtonRelease &&
        type != QEvent::MouseButtonDblClick)
        return false;
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() != Qt::LeftButton) return false;
    if (watched->property(kMuted).toBool()) return true;

    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        pressed_ = watched;
        return true;
    }
    const bool click =
        pressed_ == watched && static_cast<QWidget*>(watched)->rect().contains(mouse->position().toPoint());
    pressed_ = nullptr;
    if (click) onClick_();
    return true;
}

} // namespace qrv
