// The wait cursor over the program's windows for the length of a job (a
// print, say), gone again on every path out of it.
#pragma once

#include <QGuiApplication>

namespace qrv
{

class TWaitCursor
{
public:
    TWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~TWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    TWaitCursor(const TWaitCursor&) = delete;
    TWaitCursor& operator=(const TWaitCursor&) = delete;
};

} // namespace qrv
