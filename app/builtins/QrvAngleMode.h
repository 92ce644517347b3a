// The angle mode of the trigonometric built-ins: Radians, Degrees or Grads.
//
// The main window's Mode menu owns the choice; the built-in functions read it
// at every call through one program-wide query, so they never cache it and
// know nothing of widgets. Until the main window installs its query, the
// mode is Radians.
#pragma once

namespace qrv
{

enum class TAngleMode { Radians, Degrees, Grads };

using TAngleModeQuery = TAngleMode (*)();

// Installs the query that answers which mode is chosen; nullptr restores the
// default, which always answers Radians.
void SetAngleModeQuery(TAngleModeQuery query);

namespace detail
{
// The installed query; none means Radians. Read inline at every call of a
// trigonometric built-in, so that the default costs no call at all.
extern TAngleModeQuery angleModeQuery;
} // namespace detail

// The mode in force now, as the installed query answers it.
inline TAngleMode CurrentAngleMode()
{
    TAngleModeQuery query = detail::angleModeQuery;
    return query != nullptr ? query() : TAngleMode::Radians;
}

} // namespace qrv
