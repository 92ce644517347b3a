// The engine's formula suite: compile once, evaluate at 10 001 values of x.
// The function formulas use the built-in context and the library routines
// behind it, so the hand-written code calls the same routines.
#include "QrvBenchHarness.h"
#include "QrvBuiltins.h"
#include "QrvFpu.h"
#include "QrvMath.h"

#include <cmath>
#include <limits>

namespace
{

using qrv::Float;

// Our div and mod for muparser, on double: round both operands to the
// nearest integer (ties to even), then truncating division or remainder.
// Out-of-range operands and a zero divisor give NaN, muparser's way.
bool Rounded(double v, long long& out)
{
    double r = std::nearbyint(v);
    if (!(r >= -9223372036854775808.0 && r < 9223372036854775808.0)) return false;
    out = static_cast<long long>(r);
    return true;
}
double MuDiv(double a, double b)
{
    long long l, r;
    if (!Rounded(a, l) || !Rounded(b, r) || r == 0 || (r == -1 && l == std::numeric_limits<long long>::min()))
        return std::numeric_limits<double>::quiet_NaN();
    return static_cast<double>(l / r);
}
double MuMod(double a, double b)
{
    long long l, r;
    if (!Rounded(a, l) || !Rounded(b, r) || r == 0) return std::numeric_limits<double>::quiet_NaN();
    return r == -1 ? 0.0 : static_cast<double>(l % r);
}

// The same rules on Float for the hand-written version.
Float NativeDiv(Float a, Float b)
{
    return static_cast<Float>(qrv::RoundToInt64(a) / qrv::RoundToInt64(b));
}
Float NativeMod(Float a, Float b)
{
    return static_cast<Float>(qrv::RoundToInt64(a) % qrv::RoundToInt64(b));
}

double FpDiv(const double* args)
{
    return MuDiv(args[0], args[1]);
}
double FpMod(const double* args)
{
    return MuMod(args[0], args[1]);
}

Float BuiltinPi()
{
    for (const qrv::TBuiltinConstant& constant : qrv::BuiltinConstants())
        if (constant.Name == "pi") return constant.Value;
    return 0;
}

// What a programmer writes by hand: the constant is computed once.
const Float kPi = BuiltinPi();
const Float kSqrt2Pi = qrv::Sqrt(2 * kPi);

constexpr const char* kForty =
    "(x*x + 3*x - 2) / (x*x + 1) - (2*x - 1) * (x + 4) / 9 + (x - 1) * (x - 2) * (x + 3) / 17"
    " - (5 - x) / (x*x + 2) + 0.25*x*x*x - (x + 7) * 0.125 + (3*x + 1) * (x - 0.5) / 11"
    " - x / 13";

} // namespace

int main(int argc, char** argv)
{
    using qrv::bench::MakeBenchFormula;
    std::vector<qrv::bench::BenchFormula> formulas = {
        MakeBenchFormula(
            "startup", "5.22 - 5.44E-4 * (x - 817)", [](Float x) { return 5.22L - 5.44E-4L * (x - 817); },
            "5.22 - 5.44E-4 * (x - 817)"),
        MakeBenchFormula(
            "polynomial", "((x*x - 3)*x + 2)*x - 7", [](Float x) { return ((x * x - 3) * x + 2) * x - 7; },
            "((x*x - 3)*x + 2)*x - 7"),
        MakeBenchFormula(
            "rational", "(x*x + 1)/(x - 0.5) - x/3", [](Float x) { return (x * x + 1) / (x - 0.5L) - x / 3; },
            "(x*x + 1)/(x - 0.5) - x/3"),
        MakeBenchFormula(
            "comparison", "(x > 0) * x - (x < 0) * x",
            [](Float x) { return Float(x > 0) * x - Float(x < 0) * x; }, "(x > 0) * x - (x < 0) * x"),
        MakeBenchFormula(
            "integer", "x div 3 + x mod 7", [](Float x) { return NativeDiv(x, 3) + NativeMod(x, 7); },
            "x div 3 + x mod 7", "div(x,3) + mod(x,7)",
            "muparser has no integer division or remainder; it runs div and mod as user-defined binary "
            "operators (DefineOprt, multiplicative precedence) with our rounding rules on double; fparser "
            "as user-defined functions",
            {-500.0037, 500.0041}),
        MakeBenchFormula(
            "trig", "sin(x)*cos(x)+sqrt(abs(x))",
            [](Float x) { return qrv::Sin(x) * qrv::Cos(x) + qrv::Sqrt(qrv::Abs(x)); },
            "sin(x)*cos(x)+sqrt(abs(x))"),
        MakeBenchFormula(
            "gauss", "exp(-x*x/2)/sqrt(2*pi)", [](Float x) { return qrv::Exp(-x * x / 2) / kSqrt2Pi; },
            "exp(-x*x/2)/sqrt(2*_pi)", "exp(-x*x/2)/sqrt(2*pi)"),
        MakeBenchFormula(
            "forty_ops", kForty,
            [](Float x) {
                return (x * x + 3 * x - 2) / (x * x + 1) - (2 * x - 1) * (x + 4) / 9 +
                       (x - 1) * (x - 2) * (x + 3) / 17 - (5 - x) / (x * x + 2) + 0.25L * x * x * x -
                       (x + 7) * 0.125L + (3 * x + 1) * (x - 0.5L) / 11 - x / 13;
            },
            kForty),
    };
    qrv::bench::BenchSetup setup;
    setup.define = [](mu::Parser& parser) {
        parser.DefineOprt("div", &MuDiv, mu::prMUL_DIV);
        parser.DefineOprt("mod", &MuMod, mu::prMUL_DIV);
    };
    setup.attach = [](qrv::TCompiledEvaluator& evaluator) {
        evaluator.ExternalContexts().Add(qrv::BuiltinContext());
    };
    setup.defineFp = [](FunctionParser& parser) {
        parser.AddFunction("div", &FpDiv, 2);
        parser.AddFunction("mod", &FpMod, 2);
        parser.AddConstant("pi", static_cast<double>(kPi));
    };
    qrv::InitFloatEnvironment();
    return qrv::bench::RunSuite(argc, argv, formulas, setup);
}
