#include "QrvChartColor.h"

#include <QGuiApplication>
#include <QPalette>

namespace qrv
{

QColor ToQColor(TColor color)
{
    if (color == clNone) return QColor(0, 0, 0, 0);
    if (IsSystemColor(color)) {
        // The entries the chart may meet: window and button faces, window
        // text. Anything else is drawn in the window text colour.
        const QPalette palette = QGuiApplication::palette();
        switch (color & 0xFF) {
        case 5: // window
            return palette.color(QPalette::Base);
        case 15: // button face
            return palette.color(QPalette::Button);
        case 16: // button shadow
            return palette.color(QPalette::Dark);
        default:
            return palette.color(QPalette::WindowText);
        }
    }
    return QColor(static_cast<int>(color & 0xFF), static_cast<int>((color >> 8) & 0xFF),
                  static_cast<int>((color >> 16) & 0xFF));
}

} // namespace qrv
