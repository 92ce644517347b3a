#include "QrvUiFont.h"

#include <QFontDatabase>
#include <QStringList>

namespace qrv
{

namespace
{

QStringList ArialFamilies()
{
    static const bool substituted = [] {
        QFont::insertSubstitutions(QStringLiteral("Arial"),
                                   {QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")});
        return true;
    }();
    (void)substituted;
    return {QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("Arimo")};
}

} // namespace

QFont UiFont(int pixels)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QString system = font.family();
    QStringList families{QStringLiteral("MS Sans Serif")};
    families << ArialFamilies() << system;
    font.setFamilies(families);
    font.setPixelSize(pixels);
    return font;
}

QFont ArialFont(int pixels, bool bold)
{
    QFont font;
    font.setFamilies(ArialFamilies());
    font.setPixelSize(pixels);
    font.setBold(bold);
    return font;
}

} // namespace qrv
