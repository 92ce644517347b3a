#include "QrvAngleMode.h"

namespace qrv
{

namespace
{

TAngleMode RadiansAlways()
{
    return TAngleMode::Radians;
}

TAngleModeQuery angleModeQuery = RadiansAlways;

} // namespace

void SetAngleModeQuery(TAngleModeQuery query)
{
    angleModeQuery = query != nullptr ? query : RadiansAlways;
}

TAngleMode CurrentAngleMode()
{
    return angleModeQuery();
}

} // namespace qrv
