#include "QrvBuiltinTables.h"

#include "QrvBuiltinDerivatives.h"

#include <algorithm>
#include <array>

namespace qrv
{

namespace
{

// Each value is the exact 80-bit value of its encoding (sign-and-exponent
// word, significand). Several lie a unit or more from the correctly rounded
// constant on purpose: pi is one unit above it, twopi and pion4 end in ...235,
// and inv2pi keeps only 15 significant digits. evolt is the electron volt in
// joules, the Float nearest to 1.602E-19.
constexpr std::array<TBuiltinConstant, 49> kConstants{{
    {"pi", FloatFromPattern(0x4000, 0xC90FDAA22168C236)},
    {"bernstein", FloatFromPattern(0x3FFD, 0x8F72606749D77241)},
    {"cbrt2", FloatFromPattern(0x3FFF, 0xA14517CC6B945712)},
    {"cbrt3", FloatFromPattern(0x3FFF, 0xB89BA24891F7B2E9)},
    {"cbrt10", FloatFromPattern(0x4000, 0x89E24209C3827652)},
    {"cbrt100", FloatFromPattern(0x4001, 0x9487E54E3B0FBC5D)},
    {"cbrtPi", FloatFromPattern(0x3FFF, 0xBB77BF398825BC58)},
    {"catalan", FloatFromPattern(0x3FFE, 0xEA7CB89F409AE847)},
    {"pion2", FloatFromPattern(0x3FFF, 0xC90FDAA22168C236)},
    {"pion3", FloatFromPattern(0x3FFF, 0x860A91C16B9B2C24)},
    {"pion4", FloatFromPattern(0x3FFE, 0xC90FDAA22168C235)},
    {"sqrt2", FloatFromPattern(0x3FFF, 0xB504F333F9DE6486)},
    {"sqrt3", FloatFromPattern(0x3FFF, 0xDDB3D742C265539B)},
    {"sqrt5", FloatFromPattern(0x4000, 0x8F1BBCDCBFA53E09)},
    {"sqrt10", FloatFromPattern(0x4000, 0xCA62C1D6D2DA9490)},
    {"sqrtpi", FloatFromPattern(0x3FFF, 0xE2DFC48DA77B553C)},
    {"sqrt2pi", FloatFromPattern(0x4000, 0xA06C98FFB1382CB2)},
    {"twopi", FloatFromPattern(0x4001, 0xC90FDAA22168C235)},
    {"threepi", FloatFromPattern(0x4002, 0x96CBE3F9990E91A8)},
    {"ln2", FloatFromPattern(0x3FFE, 0xB17217F7D1CF79AA)},
    {"ln10", FloatFromPattern(0x4000, 0x935D8DDDAAA8AC16)},
    {"lnpi", FloatFromPattern(0x3FFF, 0x928682473D0DE85F)},
    {"log2", FloatFromPattern(0x3FFD, 0x9A209A84FBCFF79B)},
    {"log3", FloatFromPattern(0x3FFD, 0xF4493CB27EAFE845)},
    {"logpi", FloatFromPattern(0x3FFD, 0xFE8A6D98DD1DD806)},
    {"loge", FloatFromPattern(0x3FFD, 0xDE5BD8A937287197)},
    {"Nconst", FloatFromPattern(0x4000, 0xADF85458A2BB4A9B)},
    {"hln2pi", FloatFromPattern(0x3FFE, 0xEB3F8E4325F5A533)},
    {"inv2pi", FloatFromPattern(0x3FFC, 0xA2F9836E4E43B463)},
    {"twotopower63", FloatFromPattern(0x403E, 0x8000000000000000)},
    {"goldenmean", FloatFromPattern(0x3FFF, 0xCF1BBCDCBFA53E09)},
    {"eulermascheroni", FloatFromPattern(0x3FFE, 0x93C467E37DB0C7A5)},
    {"deg", FloatFromPattern(0x4004, 0xE52EE0D31E0FBDC2)},
    {"amu", FloatFromPattern(0x3FA6, 0x8390F829CCE910CA)},
    {"avog", FloatFromPattern(0x404D, 0xFF10136A1D7DF7D0)},
    {"boltz", FloatFromPattern(0x3FB3, 0x85838644A0961BE8)},
    {"echarge", FloatFromPattern(0x3FC0, 0xBD2730F5C3A06C70)},
    {"emass", FloatFromPattern(0x3F9B, 0x93D175A21EAB2E74)},
    {"evolt", FloatFromPattern(0x3FC0, 0xBD217AA4B23FD8B6)},
    {"farad", FloatFromPattern(0x400F, 0xBC7047AE147AE148)},
    {"gas", FloatFromPattern(0x4002, 0x8507D2C7B890D5A6)},
    {"neutron", FloatFromPattern(0x3FA6, 0x84B0FAC757300FA3)},
    {"planck", FloatFromPattern(0x3F90, 0xDC2FC62A22F81183)},
    {"proton", FloatFromPattern(0x3FA6, 0x8482547EF3450334)},
    {"light", FloatFromPattern(0x401B, 0x8EF3758000000000)},
    {"gravity", FloatFromPattern(0x4002, 0x9CE809D495182A99)},
    {"pressure", FloatFromPattern(0x400F, 0xC5E6800000000000)},
    {"stefan", FloatFromPattern(0x3FE6, 0xF389D3E6405E1105)},
    {"bohr", FloatFromPattern(0x3FDC, 0xE8BC0A4E32FFEB7C)},
}};

// The functions of the formula language. Hyperbolic, logarithmic and
// algebraic functions take no notice of the angle mode, so the library
// routine itself is the function; power and logbasen take the base first.
// Each row names its derivative rule after its routine.
constexpr std::array<TBuiltinFunction, 37> kFunctions{{
    {"sin", WithAngleArgument<Sin>, nullptr, true, AngleArgumentDerivatives<derivatives::Sin>, nullptr,
     AngleArgumentJet<derivatives::SinJet>},
    {"cos", WithAngleArgument<Cos>, nullptr, true, AngleArgumentDerivatives<derivatives::Cos>, nullptr,
     AngleArgumentJet<derivatives::CosJet>},
    {"exp", Exp, nullptr, false, derivatives::Exp},
    {"ln", Ln, nullptr, false, derivatives::Ln},
    {"square", Square, nullptr, false, derivatives::Square},
    {"sqrt", Sqrt, nullptr, false, derivatives::Sqrt},
    {"abs", Abs, nullptr, false, derivatives::Abs},
    {"tan", WithAngleArgument<Tan>, nullptr, true, AngleArgumentDerivatives<derivatives::Tan>},
    {"arctan", WithAngleResult<ArcTan>, nullptr, true, AngleResultDerivatives<derivatives::ArcTan>},
    {"logbase10", LogBase10, nullptr, false, derivatives::LogBase10},
    {"logbase2", LogBase2, nullptr, false, derivatives::LogBase2},
    {"cot", WithAngleArgument<Cot>, nullptr, true, AngleArgumentDerivatives<derivatives::Cot>},
    {"sec", WithAngleArgument<Sec>, nullptr, true, AngleArgumentDerivatives<derivatives::Sec>},
    {"csc", WithAngleArgument<Csc>, nullptr, true, AngleArgumentDerivatives<derivatives::Csc>},
    {"arcsin", WithAngleResult<ArcSin>, nullptr, true, AngleResultDerivatives<derivatives::ArcSin>},
    {"arccos", WithAngleResult<ArcCos>, nullptr, true, AngleResultDerivatives<derivatives::ArcCos>},
    {"arccot", WithAngleResult<ArcCot>, nullptr, true, AngleResultDerivatives<derivatives::ArcCot>},
    {"arcsec", WithAngleResult<ArcSec>, nullptr, true, AngleResultDerivatives<derivatives::ArcSec>},
    {"arccsc", WithAngleResult<ArcCsc>, nullptr, true, AngleResultDerivatives<derivatives::ArcCsc>},
    {"cosh", CosH, nullptr, false, derivatives::CosH},
    {"coth", CotH, nullptr, false, derivatives::CotH},
    {"csch", CscH, nullptr, false, derivatives::CscH},
    {"sech", SecH, nullptr, false, derivatives::SecH},
    {"sinh", SinH, nullptr, false, derivatives::SinH},
    {"tanh", TanH, nullptr, false, derivatives::TanH},
    {"arccosh", ArcCosH, nullptr, false, derivatives::ArcCosH},
    {"arccoth", ArcCotH, nullptr, false, derivatives::ArcCotH},
    {"arccsch", ArcCscH, nullptr, false, derivatives::ArcCscH},
    {"arcsech", ArcSecH, nullptr, false, derivatives::ArcSecH},
    {"arcsinh", ArcSinH, nullptr, false, derivatives::ArcSinH},
    {"arctanh", ArcTanH, nullptr, false, derivatives::ArcTanH},
    {"coversine", WithAngleArgument<Coversine>, nullptr, true,
     AngleArgumentDerivatives<derivatives::Coversine>},
    {"exsecans", WithAngleArgument<Exsecans>, nullptr, true, AngleArgumentDerivatives<derivatives::Exsecans>},
    {"haversine", WithAngleArgument<Haversine>, nullptr, true,
     AngleArgumentDerivatives<derivatives::Haversine>},
    {"versine", WithAngleArgument<Versine>, nullptr, true, AngleArgumentDerivatives<derivatives::Versine>},
    {"power", nullptr, Power, false, nullptr, derivatives::Power},
    {"logbasen", nullptr, LogBaseN, false, nullptr, derivatives::LogBaseN},
}};

// Checked while compiling the ordinary builds; with the address sanitizer
// g++ no longer treats the functions' addresses as constants.
#ifndef __SANITIZE_ADDRESS__
static_assert(std::all_of(kFunctions.begin(), kFunctions.end(),
                          [](const TBuiltinFunction& f) {
                              return f.Unary ? f.UnaryDerivatives && !f.BinaryDerivatives
                                             : f.Binary && f.BinaryDerivatives && !f.UnaryDerivatives;
                          }),
              "every built-in function has the derivative rule of its form");
#endif

} // namespace

std::span<const TBuiltinConstant> BuiltinConstants()
{
    return kConstants;
}
std::span<const TBuiltinFunction> BuiltinFunctions()
{
    return kFunctions;
}

} // namespace qrv
