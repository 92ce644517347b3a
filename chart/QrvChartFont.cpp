#include "QrvChartFont.h"

#include <QStringList>

namespace qrv
{

QFont ChartFont(int pointSize)
{
    static const bool substituted = [] {
        QFont::insertSubstitutions("Arial", {"Liberation Sans", "Arimo"});
        return true;
    }();
    (void)substituted;
    QFont font;
    font.setFamilies({"Arial", "Liberation Sans", "Arimo"});
    font.setPointSize(pointSize);
    return font;
}

} // namespace qrv
