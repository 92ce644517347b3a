// Clicks on plain widgets (panels, labels, pictures), which have no click
// signal of their own. A click is a left-button press and release on the
// same widget, the release inside it, as a button counts it.
#pragma once

#include <QObject>

#include <functional>

class QWidget;

namespace qrv
{

class TClickWatcher : public QObject
{
public:
    explicit TClickWatcher(std::function<void()> onClick, QObject* parent = nullptr);

    // Calls the handler when `widget` is clicked.
    void Watch(QWidget* widget);
    // Swallows the mouse buttons on `widget`, so a click there does not
    // reach the widget beneath it (Qt hands unused clicks to the parent).
    void Mute(QWidget* widget);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> onClick_;
    QObject* pressed_ = nullptr;
};

} // namespace qrv
