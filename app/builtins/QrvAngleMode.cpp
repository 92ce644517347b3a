#include "QrvAngleMode.h"

namespace qrv
{

namespace detail
{
TAngleModeQuery angleModeQuery = nullptr;
} // namespace detail

void SetAngleModeQuery(TAngleModeQuery query)
{
    detail::angleModeQuery = query;
}

} // namespace qrv
