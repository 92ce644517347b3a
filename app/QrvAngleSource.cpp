#include "QrvAngleSource.h"

#include "QrvAngleMode.h"

#include <utility>

namespace qrv
{

namespace
{

std::function<TAngleMode()>& Source()
{
    static std::function<TAngleMode()> source;
    return source;
}

// The built-ins take a plain function; this one asks the installed source.
TAngleMode AskSource()
{
    return Source()();
}

} // namespace

void SetAngleModeSource(std::function<TAngleMode()> mode)
{
    Source() = std::move(mode);
    SetAngleModeQuery(Source() ? &AskSource : nullptr);
}

} // namespace qrv
