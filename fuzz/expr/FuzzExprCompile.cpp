// Compiles and evaluates arbitrary bytes as a formula. Every failure must be
// one of the program's own exceptions; anything else (a standard library
// exception, a crash, a sanitizer report) is a finding.
#include "QrvExprEval.h"
#include "QrvNumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <string_view>

namespace
{

using qrv::Float;

Float Sin(Float x)
{
    return std::sin(x);
}
Float Exp(Float x)
{
    return std::exp(x);
}
Float Sqrt(Float x)
{
    if (x < 0) throw qrv::EQrvMathError();
    return std::sqrt(x);
}
Float Power(Float a, Float b)
{
    return std::pow(a, b);
}
Float Hypot(Float a, Float b)
{
    return std::hypot(a, b);
}

qrv::TExprHashContext& Builtins()
{
    static qrv::TExprHashContext* context = [] {
        auto* c = new qrv::TExprHashContext(false, 100);
        c->Add(std::make_unique<qrv::TExprUnaryFuncSym>("sin", &Sin));
        c->Add(std::make_unique<qrv::TExprUnaryFuncSym>("exp", &Exp));
        c->Add(std::make_unique<qrv::TExprUnaryFuncSym>("sqrt", &Sqrt));
        c->Add(std::make_unique<qrv::TExprBinaryFuncSym>("power", &Power));
        c->Add(std::make_unique<qrv::TExprBinaryFuncSym>("hypot", &Hypot));
        c->Add(std::make_unique<qrv::TExprConstSym>("pi", 3.14159265358979323846L));
        return c;
    }();
    return *context;
}

[[noreturn]] void Finding(const char* what)
{
    std::fprintf(stderr, "foreign exception escaped the engine: %s\n", what);
    std::abort();
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the decimal separator, so both locales are
    // exercised; the rest is the formula.
    if (size == 0) return 0;
    qrv::SetDecimalSeparator((data[0] & 1) != 0 ? ',' : '.');
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    static const double kXs[] = {0.0, 1.0, -2.5, 1e300, 5e-324};
    try {
        double x = 0;
        qrv::TCompiledEvaluator evaluator;
        evaluator.ExternalContexts().Add(&Builtins());
        evaluator.AddVar("x", x);
        evaluator.Compile(text);
        evaluator.Compile(text); // the same text again keeps the program
        (void)evaluator.Dump();
        for (double value : kXs) {
            x = value;
            try {
                Float y = evaluator.Evaluate();
                if (!std::isfinite(y)) Finding("a non-finite formula value");
            } catch (const qrv::Exception&) {
            }
        }
    } catch (const qrv::Exception&) {
    } catch (const std::exception& e) {
        Finding(e.what());
    } catch (...) {
        Finding("an exception of unknown type");
    }
    return 0;
}
