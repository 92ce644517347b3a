// The angle mode of the trigonometric built-ins: Radians, Degrees or Grads.
//
// One program-wide value answers "which angle mode now": the main window's
// Mode menu writes it whenever its marked item changes, a command-line run
// sets it for the length of the run. The built-in functions read it at every
// call, so they never cache it and know nothing of widgets. It is Radians
// until something sets it.
#pragma once

namespace qrv
{

enum class TAngleMode { Radians, Degrees, Grads };

// Makes `mode` the one the built-ins follow from their next call on.
void SetCurrentAngleMode(TAngleMode mode);

namespace detail
{
// The mode in force; read inline at every call of a trigonometric built-in.
extern TAngleMode angleMode;
} // namespace detail

// The mode in force now.
inline TAngleMode CurrentAngleMode()
{
    return detail::angleMode;
}

// Sets a mode for its own lifetime and puts the previous one back afterwards,
// also when an exception passes.
class TScopedAngleMode
{
public:
    explicit TScopedAngleMode(TAngleMode mode) : previous_(CurrentAngleMode()) { SetCurrentAngleMode(mode); }
    ~TScopedAngleMode() { SetCurrentAngleMode(previous_); }
    TScopedAngleMode(const TScopedAngleMode&) = delete;
    TScopedAngleMode& operator=(const TScopedAngleMode&) = delete;

private:
    TAngleMode previous_;
};

} // namespace qrv
