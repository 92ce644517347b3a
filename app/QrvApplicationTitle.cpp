#include "QrvApplicationTitle.h"

#include "QrvAppTexts.h"

#include <QCoreApplication>
#include <QGuiApplication>

namespace qrv
{

void SetApplicationTitle()
{
    QCoreApplication::setApplicationName(Text::ProgramName);
    QCoreApplication::setApplicationVersion(Text::Version);
    // The title is not set as the toolkit's display name: on Linux that name
    // is appended to every window caption. The error display takes it from
    // the text table instead. The desktop file name lets the desktop find
    // the program's icon.
    if (qobject_cast<QGuiApplication*>(QCoreApplication::instance()))
        QGuiApplication::setDesktopFileName(Text::DesktopFileName);
}

} // namespace qrv
