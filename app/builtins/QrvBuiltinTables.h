// The table of built-in names: 49 constants and 37 functions, in the order
// the built-in context registers them. Plain data, so that the tables can be
// checked without an evaluator.
#pragma once

#include "QrvAngleMode.h"
#include "QrvExprJets.h"
#include "QrvFloat.h"
#include "QrvMath.h"

#include <span>
#include <string_view>

namespace qrv
{

struct TBuiltinConstant {
    std::string_view Name;
    Float Value;
};

// Exactly one of Unary and Binary is set, and the derivative rule of the
// same form beside it (QrvBuiltinDerivatives.h). A function that follows the
// angle mode is not pure: its value may change after a formula is compiled.
struct TBuiltinFunction {
    std::string_view Name;
    Float (*Unary)(Float);
    Float (*Binary)(Float, Float);
    bool FollowsAngleMode = false;
    TExprUnaryDerivativeRule UnaryDerivatives = nullptr;
    TExprBinaryDerivativeRule BinaryDerivatives = nullptr;
    // Value and derivatives at once, where that saves work (TExprUnaryJetRule).
    TExprUnaryJetRule UnaryJet = nullptr;
};

std::span<const TBuiltinConstant> BuiltinConstants();
std::span<const TBuiltinFunction> BuiltinFunctions();

// The angle layer around a library routine. An argument wrapper converts its
// argument from the current angle unit to radians; a result wrapper converts
// the routine's radian result to the current unit. In Radians (or any other
// answer of the query) the value passes unchanged.
// An angle in the current unit, in radians.
inline Float AngleToRadians(Float x)
{
    switch (CurrentAngleMode()) {
    case TAngleMode::Degrees:
        return DegreesToRadians(x);
    case TAngleMode::Grads:
        return GradsToRadians(x);
    default:
        return x;
    }
}

template <Float (*Routine)(Float)> Float WithAngleArgument(Float x)
{
    return Routine(AngleToRadians(x));
}

template <Float (*Routine)(Float)> Float WithAngleResult(Float x)
{
    switch (CurrentAngleMode()) {
    case TAngleMode::Degrees:
        return Routine(x) * DegreesPerRadian;
    case TAngleMode::Grads:
        return Routine(x) * GradsPerRadian;
    default:
        return Routine(x);
    }
}

} // namespace qrv
