#include "QrvAngleMode.h"

namespace qrv
{

namespace detail
{
TAngleMode angleMode = TAngleMode::Radians;
} // namespace detail

void SetCurrentAngleMode(TAngleMode mode)
{
    detail::angleMode = mode;
}

} // namespace qrv
