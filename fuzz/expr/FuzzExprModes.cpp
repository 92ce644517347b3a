// Runs every compiled program five ways: the fast mode's instruction loop
// and its generated x87 code, each with constant folding and without, and
// the checked mode (every operation through its Execute). All must give the
// same value, bit for bit, or the same error message. The jet program of the
// same formula (value, f', f'') must give that value and message too, and
// derivatives it reports must be finite, a second one only with a first;
// its generated code must give the jets of its rules bit for bit. The
// formulas use the built-in context, so calls, pure and angle-dependent,
// are part of every program.
#include "QrvAngleMode.h"
#include "QrvBuiltinDerivatives.h"
#include "QrvBuiltins.h"
#include "QrvExprEval.h"
#include "QrvNumberText.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <exception>
#include <limits>
#include <optional>
#include <string>
#include <string_view>

namespace
{

using qrv::Float;

struct Outcome {
    std::optional<Float> value;
    std::string message;
};

template <class F> Outcome Run(F&& evaluate)
{
    Outcome outcome;
    try {
        outcome.value = evaluate();
    } catch (const qrv::Exception& error) {
        outcome.message = error.Message();
    }
    return outcome;
}

bool SameBits(Float a, Float b)
{
    return std::memcmp(&a, &b, 10) == 0;
}

[[noreturn]] void Finding(std::string_view text, const char* mode, const Outcome& got, const Outcome& want)
{
    std::fprintf(stderr, "fast and checked modes differ (%s) on '%.*s': %Lg '%s' against %Lg '%s'\n", mode,
                 static_cast<int>(text.size()), text.data(), got.value.value_or(0), got.message.c_str(),
                 want.value.value_or(0), want.message.c_str());
    std::abort();
}

void Compare(std::string_view text, const char* mode, const Outcome& got, const Outcome& want)
{
    if (got.message != want.message || got.value.has_value() != want.value.has_value() ||
        (got.value && !SameBits(*got.value, *want.value)))
        Finding(text, mode, got, want);
    if (got.value && !std::isfinite(*got.value)) Finding(text, "a non-finite value", got, want);
}

qrv::TAngleMode gMode = qrv::TAngleMode::Radians;

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    // The first byte picks the angle mode; the rest is the formula.
    if (size == 0) return 0;
    qrv::SetDecimalSeparator('.');
    gMode = static_cast<qrv::TAngleMode>(data[0] % 3);
    qrv::SetCurrentAngleMode(gMode);
    std::string_view text(reinterpret_cast<const char*>(data + 1), size - 1);

    static const double kXs[] = {
        0.0, 1.0, -2.5, 0.5, 1e300, -1e-300, 90, 1e19, std::numeric_limits<double>::infinity()};
    double x = 0;
    qrv::TCompiledEvaluator folded, unfolded, nativeFolded, nativeUnfolded, checked;
    for (qrv::TCompiledEvaluator* evaluator :
         {&folded, &unfolded, &nativeFolded, &nativeUnfolded, &checked}) {
        evaluator->ExternalContexts().Add(qrv::BuiltinContext());
        evaluator->AddVar("x", x);
    }
    unfolded.SetFolding(false);
    nativeUnfolded.SetFolding(false);
    folded.SetNativeUse(qrv::TExprNativeUse::Never);
    unfolded.SetNativeUse(qrv::TExprNativeUse::Never);
    nativeFolded.SetNativeUse(qrv::TExprNativeUse::AtOnce);
    nativeUnfolded.SetNativeUse(qrv::TExprNativeUse::AtOnce);
    try {
        folded.Compile(text);
    } catch (const qrv::Exception&) {
        return 0;
    }
    unfolded.Compile(text);
    nativeFolded.Compile(text);
    nativeUnfolded.Compile(text);
    checked.Compile(text);
    qrv::TExprJetProgram jets(checked.Machine(), &x, qrv::BuiltinDerivativeRules());
    for (double value : kXs) {
        x = value;
        const Outcome want = Run([&] { return checked.EvaluateChecked(); });
        qrv::TExprJet jet;
        Compare(text, "jets", Run([&] { return (jet = jets.Run()).Value; }), want);
        if (want.value &&
            ((jet.HasD1 && !std::isfinite(jet.D1)) || (jet.HasD2 && !(jet.HasD1 && std::isfinite(jet.D2)))))
            Finding(text, "a derivative that is not finite", want, want);
        if (jets.HasCode()) {
            jets.UseCode(false);
            qrv::TExprJet rules;
            Compare(text, "jet rules", Run([&] { return (rules = jets.Run()).Value; }), want);
            jets.UseCode(true);
            if (want.value && (jet.HasD1 != rules.HasD1 || jet.HasD2 != rules.HasD2 ||
                               (rules.HasD1 && !SameBits(jet.D1, rules.D1)) ||
                               (rules.HasD2 && !SameBits(jet.D2, rules.D2))))
                Finding(text, "jet code and jet rules", want, want);
        }
        Compare(text, "folded", Run([&] { return folded.Evaluate(); }), want);
        Compare(text, "unfolded", Run([&] { return unfolded.Evaluate(); }), want);
        Compare(text, "native folded", Run([&] { return nativeFolded.Evaluate(); }), want);
        Compare(text, "native unfolded", Run([&] { return nativeUnfolded.Evaluate(); }), want);
    }
    qrv::SetCurrentAngleMode(qrv::TAngleMode::Radians);
    return 0;
}
