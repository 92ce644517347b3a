#include "QrvWindowPlacement.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace qrv
{

void CentreOnScreen(QWidget* window)
{
    QScreen* screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen) return;
    QRect frame = window->frameGeometry();
    frame.moveCenter(screen->availableGeometry().center());
    window->move(frame.topLeft());
}

void CentreOnFirstShow(QWidget* window, bool& centred)
{
    if (centred) return;
    centred = true;
    CentreOnScreen(window);
}

void FixClientSize(QWidget* window, int width, int height)
{
    window->setFixedSize(width, height);
}

} // namespace qrv
