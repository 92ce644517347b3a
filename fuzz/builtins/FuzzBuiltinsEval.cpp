// Compiles arbitrary bytes as a formula with the built-in context and
// evaluates it in all three angle modes, as a Plot does: each value rounded
// to a double and written as a table line. Every failure must be one of the
// program's own exceptions, every value finite, and every table text must
// read back as the number it shows.
#include "QrvAngleMode.h"
#include "QrvBuiltins.h"
#include "QrvExprEval.h"
#include "QrvFpu.h"
#include "QrvNumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <string>
#include <string_view>

namespace
{

using qrv::Float;

[[noreturn]] void Finding(const char* what, std::string_view detail = {})
{
    std::fprintf(stderr, "%s: %.*s\n", what, static_cast<int>(detail.size()), detail.data());
    std::abort();
}

// "0.000" keeps three decimals of 18 significant digits; beyond 1E18 the
// general format keeps 15. Either way the text reads back close to the value.
void CheckTableText(double value, char separator)
{
    const std::string text = qrv::FormatFixed3(value, separator);
    const auto back = qrv::TextToFloat(text, qrv::Blanks::Rejected, separator);
    if (!back) Finding("a table text that does not read back", text);
    const double tolerance =
        std::fabs(value) < 1e15 ? 0.0005 + 1e-15 * std::fabs(value) : 1e-14 * std::fabs(value);
    if (!(std::fabs(static_cast<double>(*back) - value) <= tolerance))
        Finding("a table text far from its value", text);
    if (std::signbit(static_cast<double>(*back)) && *back == 0) Finding("a table text of minus zero", text);
}

qrv::TAngleMode gMode = qrv::TAngleMode::Radians;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the decimal separator; the rest is the formula.
    if (size == 0) return 0;
    const char separator = (data[0] & 1) != 0 ? ',' : '.';
    qrv::SetDecimalSeparator(separator);
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    static const double kXs[] = {0.0, 1.0, -2.5, 45, 90, 100, -1e-300, 1e300, 12345.6789};
    try {
        double x = 0;
        qrv::TCompiledEvaluator evaluator;
        evaluator.ExternalContexts().Add(qrv::BuiltinContext());
        evaluator.AddVar("x", x);
        evaluator.Compile(text);
        for (qrv::TAngleMode mode :
             {qrv::TAngleMode::Radians, qrv::TAngleMode::Degrees, qrv::TAngleMode::Grads}) {
            gMode = mode;
            qrv::SetCurrentAngleMode(gMode);
            for (double value : kXs) {
                x = value;
                try {
                    const Float y = evaluator.Evaluate();
                    if (!std::isfinite(y)) Finding("a non-finite formula value", text);
                    CheckTableText(x, separator);
                    CheckTableText(qrv::RoundToDouble(y), separator);
                } catch (const qrv::Exception&) {
                }
            }
        }
    } catch (const qrv::Exception&) {
    } catch (const std::exception& e) {
        Finding("foreign exception escaped", e.what());
    } catch (...) {
        Finding("an exception of unknown type");
    }
    qrv::SetCurrentAngleMode(qrv::TAngleMode::Radians);
    return 0;
}
