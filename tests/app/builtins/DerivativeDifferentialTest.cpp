// The derivatives of formulas against an independent reference: the same
// formula in 113-bit arithmetic (libquadmath), differentiated by central
// differences. Every built-in in every angle mode, then random programs.
//
// The bound: each derivative lies within 64 ulps (of Float) of its
// magnitude, the derivative with every term taken by its absolute value (so
// that cancelling terms, whose rounding no derivative can escape, are
// allowed their own error). The differences use five points at h = 2^-16
// and 2^-17 (scaled by |x|), extrapolated, whose own error stays near 1e-25.
#include "QrvBuiltinDerivatives.h"
#include "QrvBuiltinTables.h"
#include "QrvBuiltins.h"
#include "QrvExprNativeCode.h"
#include "QrvFpu.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <quadmath.h>

#include <cmath>
#include <functional>
#include <map>
#include <memory>
#include <random>
#include <string>
#include <vector>

namespace qrv::test
{
namespace
{

using Quad = __float128;
using QuadFunction = std::function<Quad(Quad)>;

const Quad kFloatUlp = ldexpq(1, -64);
const Quad kPi = acosq(-1);

// How a trigonometric built-in meets the angle mode.
enum class Angle { None, Argument, Result };

struct QuadBuiltin {
    QuadFunction Radians;
    Angle Kind;
};

Quad Sq(Quad x)
{
    return x * x;
}

const std::map<std::string, QuadBuiltin>& QuadBuiltins()
{
    static const std::map<std::string, QuadBuiltin> table = {
        {"sin", {sinq, Angle::Argument}},
        {"cos", {cosq, Angle::Argument}},
        {"tan", {tanq, Angle::Argument}},
        {"cot", {[](Quad x) { return 1 / tanq(x); }, Angle::Argument}},
        {"sec", {[](Quad x) { return 1 / cosq(x); }, Angle::Argument}},
        {"csc", {[](Quad x) { return 1 / sinq(x); }, Angle::Argument}},
        {"versine", {[](Quad x) { return 1 - cosq(x); }, Angle::Argument}},
        {"coversine", {[](Quad x) { return 1 - sinq(x); }, Angle::Argument}},
        {"haversine", {[](Quad x) { return (1 - cosq(x)) / 2; }, Angle::Argument}},
        {"exsecans", {[](Quad x) { return 1 / cosq(x) - 1; }, Angle::Argument}},
        {"arcsin", {asinq, Angle::Result}},
        {"arccos", {acosq, Angle::Result}},
        {"arctan", {atanq, Angle::Result}},
        {"arccot", {[](Quad x) { return atanq(1 / x); }, Angle::Result}},
        {"arcsec", {[](Quad x) { return atanq(sqrtq(x * x - 1)); }, Angle::Result}},
        {"arccsc", {[](Quad x) { return atanq(1 / sqrtq(x * x - 1)); }, Angle::Result}},
        {"sinh", {sinhq, Angle::None}},
        {"cosh", {coshq, Angle::None}},
        {"tanh", {tanhq, Angle::None}},
        {"coth", {[](Quad x) { return 1 / tanhq(x); }, Angle::None}},
        {"sech", {[](Quad x) { return 1 / coshq(x); }, Angle::None}},
        {"csch", {[](Quad x) { return 1 / sinhq(x); }, Angle::None}},
        {"arcsinh", {asinhq, Angle::None}},
        {"arccosh", {acoshq, Angle::None}},
        {"arctanh", {atanhq, Angle::None}},
        {"arccoth", {[](Quad x) { return atanhq(1 / x); }, Angle::None}},
        {"arcsech", {[](Quad x) { return acoshq(1 / x); }, Angle::None}},
        {"arccsch", {[](Quad x) { return asinhq(1 / x); }, Angle::None}},
        {"exp", {expq, Angle::None}},
        {"ln", {logq, Angle::None}},
        {"logbase10", {log10q, Angle::None}},
        {"logbase2", {log2q, Angle::None}},
        {"square", {Sq, Angle::None}},
        {"sqrt", {sqrtq, Angle::None}},
        {"abs", {fabsq, Angle::None}},
    };
    return table;
}

// The built-in `name` in the angle mode, in 113 bits.
QuadFunction QuadOf(const std::string& name, TAngleMode mode)
{
    const QuadBuiltin& b = QuadBuiltins().at(name);
    Quad unit = mode == TAngleMode::Degrees ? 180 : mode == TAngleMode::Grads ? 200 : 0;
    if (unit == 0 || b.Kind == Angle::None) return b.Radians;
    QuadFunction f = b.Radians;
    if (b.Kind == Angle::Argument) return [f, unit](Quad x) { return f(x * kPi / unit); };
    return [f, unit](Quad x) { return f(x) * unit / kPi; };
}

// Five-point central differences of the first three derivatives at step
// h, and their Richardson extrapolation from h and h/2 (error of order h^6).
struct QuadDerivatives {
    Quad D1, D2, D3;
};
QuadDerivatives Stencil(const QuadFunction& f, Quad x, Quad h)
{
    Quad m2 = f(x - 2 * h), m1 = f(x - h), c = f(x), p1 = f(x + h), p2 = f(x + 2 * h);
    return {(m2 - 8 * m1 + 8 * p1 - p2) / (12 * h), (-m2 + 16 * m1 - 30 * c + 16 * p1 - p2) / (12 * h * h),
            (p2 - 2 * p1 + 2 * m1 - m2) / (2 * h * h * h)};
}
QuadDerivatives Differences(const QuadFunction& f, Quad x)
{
    Quad h = ldexpq(1, -16) * (fabsq(x) > 1 ? fabsq(x) : 1);
    QuadDerivatives coarse = Stencil(f, x, h), fine = Stencil(f, x, h / 2);
    return {(16 * fine.D1 - coarse.D1) / 15, (16 * fine.D2 - coarse.D2) / 15, (4 * fine.D3 - coarse.D3) / 3};
}

// A formula through the built-in context with its jet program.
class JetFormula
{
public:
    explicit JetFormula(const std::string& text)
    {
        InitFloatEnvironment();
        evaluator_.ExternalContexts().Add(BuiltinContext());
        evaluator_.AddVar("x", x_);
        evaluator_.Compile(text);
        jets_ = std::make_unique<TExprJetProgram>(evaluator_.Machine(), &x_, BuiltinDerivativeRules());
    }
    TExprJet At(double x)
    {
        x_ = x;
        return jets_->Run();
    }
    Float Value(double x)
    {
        x_ = x;
        return evaluator_.Evaluate();
    }

private:
    double x_ = 0;
    TCompiledEvaluator evaluator_;
    std::unique_ptr<TExprJetProgram> jets_;
};

const char* ModeName(TAngleMode mode)
{
    return mode == TAngleMode::Degrees ? "degrees" : mode == TAngleMode::Grads ? "grads" : "radians";
}

// ---- every built-in in every angle mode --------------------------------------

struct BuiltinRow {
    std::string Name; // "<formula>_<mode>"
    std::string Text;
    QuadFunction Reference;
    TAngleMode Mode;
    double X;
};

std::vector<BuiltinRow> BuiltinRows()
{
    // Two arguments inside each function's domain.
    const std::map<std::string, std::vector<double>> points = {
        {"ln", {0.7, 2.3}},       {"logbase10", {0.7, 2.3}}, {"logbase2", {0.7, 2.3}},
        {"sqrt", {0.7, 2.3}},     {"arcsin", {0.3, -0.6}},   {"arccos", {0.3, -0.6}},
        {"arctanh", {0.3, -0.6}}, {"arccosh", {1.7, 3}},     {"arccoth", {1.7, -2.4}},
        {"arcsec", {1.7, -2.4}},  {"arccsc", {1.7, -2.4}},   {"arcsech", {0.3, 0.8}},
        {"abs", {0.7, -1.3}},
    };
    std::vector<BuiltinRow> rows;
    for (TAngleMode mode : {TAngleMode::Radians, TAngleMode::Degrees, TAngleMode::Grads}) {
        for (const TBuiltinFunction& f : BuiltinFunctions()) {
            std::string name(f.Name);
            if (f.Binary) continue;
            auto found = points.find(name);
            std::vector<double> xs = found != points.end() ? found->second : std::vector<double>{0.7, -1.3};
            for (std::size_t i = 0; i < xs.size(); ++i)
                rows.push_back({name + std::to_string(i + 1) + "_" + ModeName(mode), name + "(x)",
                                QuadOf(name, mode), mode, xs[i]});
        }
        rows.push_back({std::string("power_of_x_") + ModeName(mode), "power(x; 2.5)",
                        [](Quad x) { return powq(x, Quad(2.5)); }, mode, 0.7});
        rows.push_back({std::string("power_of_negative_x_") + ModeName(mode), "power(x; 3)",
                        [](Quad x) { return powq(x, 3); }, mode, -1.3});
        rows.push_back({std::string("power_by_x_") + ModeName(mode), "power(1.7; x)",
                        [](Quad x) { return powq((Quad(17) / 10), x); }, mode, -1.3});
        rows.push_back({std::string("power_of_x_by_x_") + ModeName(mode), "power(x; x)",
                        [](Quad x) { return powq(x, x); }, mode, 2.3});
        rows.push_back({std::string("logbasen_base_x_") + ModeName(mode), "logbasen(x; 5)",
                        [](Quad x) { return logq(5) / logq(x); }, mode, 0.7});
        rows.push_back({std::string("logbasen_of_x_") + ModeName(mode), "logbasen(3; x)",
                        [](Quad x) { return logq(x) / logq(3); }, mode, 2.3});
        rows.push_back({std::string("logbasen_both_x_") + ModeName(mode), "logbasen(x; x*x+1)",
                        [](Quad x) { return logq(x * x + 1) / logq(x); }, mode, 2.3});
    }
    return rows;
}

class BuiltinDerivatives : public ::testing::TestWithParam<BuiltinRow>
{
};

// One call: the derivative is within 64 ulps of its size, allowing for the
// argument's own rounding (|x| times the next derivative).
TEST_P(BuiltinDerivatives, MatchTheReference)
{
    const BuiltinRow& row = GetParam();
    TScopedAngleMode mode(row.Mode);
    JetFormula formula(row.Text);
    TExprJet jet = formula.At(row.X);
    EXPECT_EQ(jet.Value, formula.Value(row.X));
    QuadDerivatives ref = Differences(row.Reference, row.X);
    Quad x = fabsq(Quad(row.X));
    Quad tol1 = 64 * kFloatUlp * (fabsq(ref.D1) + x * fabsq(ref.D2));
    Quad tol2 = 64 * kFloatUlp * (fabsq(ref.D2) + x * fabsq(ref.D3));
    EXPECT_LE(fabsq(Quad(jet.D1) - ref.D1), tol1) << double(jet.D1) << " vs " << double(ref.D1);
    EXPECT_LE(fabsq(Quad(jet.D2) - ref.D2), tol2) << double(jet.D2) << " vs " << double(ref.D2);
}

INSTANTIATE_TEST_SUITE_P(EveryMode, BuiltinDerivatives, ::testing::ValuesIn(BuiltinRows()), RowName{});

// Where a built-in has no derivative, the jet says so; where a formula
// fails, the jet raises the value's own error.
struct NoDerivativeRow {
    const char* Name;
    const char* Text;
    double X;
    bool HasD1;
    bool HasD2;
};

class NoDerivative : public ::testing::TestWithParam<NoDerivativeRow>
{
};

TEST_P(NoDerivative, IsReportedNotInvented)
{
    const NoDerivativeRow& row = GetParam();
    for (TAngleMode mode : {TAngleMode::Radians, TAngleMode::Degrees, TAngleMode::Grads}) {
        TScopedAngleMode scoped(mode);
        JetFormula formula(row.Text);
        TExprJet jet = formula.At(row.X);
        EXPECT_EQ(jet.Value, formula.Value(row.X));
        EXPECT_EQ(jet.HasD1, row.HasD1) << ModeName(mode);
        EXPECT_EQ(jet.HasD2, row.HasD2) << ModeName(mode);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Builtins, NoDerivative,
    ::testing::Values(NoDerivativeRow{"abs_at_zero", "abs(x)", 0, false, false},
                      NoDerivativeRow{"abs_of_constant", "abs(-3) * x", 0, true, true},
                      NoDerivativeRow{"sqrt_at_zero", "sqrt(x)", 0, false, false},
                      NoDerivativeRow{"arcsin_at_one", "arcsin(x)", 1, false, false},
                      NoDerivativeRow{"arccos_at_minus_one", "arccos(x)", -1, false, false},
                      NoDerivativeRow{"arccosh_at_one", "arccosh(x)", 1, false, false},
                      NoDerivativeRow{"arcsec_at_one", "arcsec(x)", 1, false, false},
                      NoDerivativeRow{"arcsech_at_one", "arcsech(x)", 1, false, false},
                      NoDerivativeRow{"sin_beyond_two_to_63", "sin(x)", 1e21, false, false},
                      NoDerivativeRow{"power_half_at_zero", "power(x; 0.5)", 0, false, false},
                      NoDerivativeRow{"power_three_halves_at_zero", "power(x; 1.5)", 0, true, false},
                      NoDerivativeRow{"power_square_at_zero", "power(x; 2)", 0, true, true},
                      NoDerivativeRow{"power_of_negative_by_x", "power(-2; x)", 3, false, false},
                      NoDerivativeRow{"div_at_step", "sin(x) div 1", 0.5235987755982988, true, true},
                      NoDerivativeRow{"step_of_rounding", "x div 1", 0.5, false, false}),
    RowName{});

TEST(JetErrors, AreTheValuesErrorsInEveryMode)
{
    for (TAngleMode mode : {TAngleMode::Radians, TAngleMode::Degrees, TAngleMode::Grads}) {
        TScopedAngleMode scoped(mode);
        for (const char* text : {"ln(x)", "csc(x)", "power(x; -1)", "arcsin(x + 2)", "logbasen(x; 2)"}) {
            SCOPED_TRACE(text);
            JetFormula formula(text);
            std::string value, jet;
            try {
                formula.Value(0);
            } catch (const Exception& e) {
                value = e.Message();
            }
            try {
                formula.At(0);
            } catch (const Exception& e) {
                jet = e.Message();
            }
            EXPECT_FALSE(value.empty());
            EXPECT_EQ(jet, value);
        }
    }
}

// The jets' generated code computes pure calls of constants once, and
// angle-dependent ones each time: a mode chosen after the program was made
// applies to both the value and the jet.
TEST(JetCode, FoldsPureCallsOnlyAndFollowsTheAngleMode)
{
    if (!TExprNativeCode::Supported()) GTEST_SKIP() << "no code generation on this platform";
    for (const char* text : {"x + sin(1)", "x * sqrt(2*pi) + cos(30)"}) {
        SCOPED_TRACE(text);
        JetFormula formula(text);
        for (TAngleMode mode : {TAngleMode::Degrees, TAngleMode::Grads, TAngleMode::Radians}) {
            TScopedAngleMode scoped(mode);
            EXPECT_EQ(formula.At(2).Value, formula.Value(2));
        }
    }
}

// sin and cos take value and derivatives from one argument reduction; the
// numbers are exactly those of the routine and its rule taken apart, in
// every mode, up to and beyond 2^63 where the phase is lost.
TEST(JetRules, GiveExactlyTheValueAndRuleOfTheirRow)
{
    for (const TBuiltinFunction& row : BuiltinFunctions()) {
        if (!row.UnaryJet) continue;
        for (TAngleMode mode : {TAngleMode::Radians, TAngleMode::Degrees, TAngleMode::Grads}) {
            TScopedAngleMode scoped(mode);
            for (Float x : {0.0L, 1e-30L, 0.5L, -2.0L, 90.0L, 1e6L + 0.1L, 0x1p62L, 0x1p63L, -0x1p70L}) {
                Float value = -1;
                const TExprLocalDerivatives jet = row.UnaryJet(x, value);
                const Float alone = row.Unary(x);
                const TExprLocalDerivatives rule = row.UnaryDerivatives(x, alone);
                const std::string where = std::string(row.Name) + " at " + std::to_string(double(x));
                EXPECT_EQ(value, alone) << where;
                EXPECT_EQ(jet.HasD1, rule.HasD1) << where;
                EXPECT_EQ(jet.HasD2, rule.HasD2) << where;
                EXPECT_EQ(jet.D1, rule.D1) << where;
                EXPECT_EQ(jet.D2, rule.D2) << where;
            }
        }
    }
}

// ---- random programs --------------------------------------------------------

// A formula as a tree, written as text for the engine and evaluated in
// 113 bits for the reference; each function's argument is kept inside its
// domain by the shape the generator gives it.
struct Node {
    enum Kind { X, Const, Add, Sub, Mul, Div, Call } K = X;
    Quad C = 0;
    std::string Function;
    std::unique_ptr<Node> A, B;
};

class Generator
{
public:
    Generator(unsigned seed, TAngleMode mode) : random_(seed), mode_(mode) {}

    std::unique_ptr<Node> Make(int depth)
    {
        int pick = depth <= 0 ? Uniform(0, 1) : Uniform(0, 7);
        auto node = std::make_unique<Node>();
        switch (pick) {
        case 0:
            node->K = Node::X;
            break;
        case 1:
            node->K = Node::Const;
            node->C = Uniform(1, 40) / Quad(8);
            break;
        case 2:
        case 3:
        case 4:
        case 5: {
            static const Node::Kind kinds[] = {Node::Add, Node::Sub, Node::Mul, Node::Div};
            node->K = kinds[pick - 2];
            node->A = Make(depth - 1);
            node->B = node->K == Node::Div ? Positive(Make(depth - 1)) : Make(depth - 1);
            break;
        }
        default:
            return Function(Make(depth - 1));
        }
        return node;
    }

private:
    int Uniform(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    static std::unique_ptr<Node> Binary(Node::Kind k, std::unique_ptr<Node> a, std::unique_ptr<Node> b)
    {
        auto node = std::make_unique<Node>();
        node->K = k;
        node->A = std::move(a);
        node->B = std::move(b);
        return node;
    }
    static std::unique_ptr<Node> Constant(Quad c)
    {
        auto node = std::make_unique<Node>();
        node->K = Node::Const;
        node->C = c;
        return node;
    }
    static std::unique_ptr<Node> Apply(const char* name, std::unique_ptr<Node> a)
    {
        auto node = std::make_unique<Node>();
        node->K = Node::Call;
        node->Function = name;
        node->A = std::move(a);
        return node;
    }
    // 1.5 + a^2 / (1 + a^2): within [1.5, 2.5), whatever a is.
    static std::unique_ptr<Node> Bounded(std::unique_ptr<Node> a)
    {
        auto s = Apply("square", std::move(a));
        auto s2 = std::make_unique<Node>();
        s2->K = Node::Call;
        s2->Function = "square";
        s2->A = Clone(*s->A);
        return Binary(Node::Add, Constant(Quad(1.5)),
                      Binary(Node::Div, std::move(s), Binary(Node::Add, Constant(1), std::move(s2))));
    }
    static std::unique_ptr<Node> Positive(std::unique_ptr<Node> a) { return Bounded(std::move(a)); }
    static std::unique_ptr<Node> Clone(const Node& n)
    {
        auto c = std::make_unique<Node>();
        c->K = n.K;
        c->C = n.C;
        c->Function = n.Function;
        if (n.A) c->A = Clone(*n.A);
        if (n.B) c->B = Clone(*n.B);
        return c;
    }

    // An angle of about `radians` in the current unit.
    std::unique_ptr<Node> Angle(std::unique_ptr<Node> radians)
    {
        Quad unit = mode_ == TAngleMode::Degrees ? Quad(57.25)
                    : mode_ == TAngleMode::Grads ? Quad(63.625)
                                                 : 1;
        return unit == 1 ? std::move(radians) : Binary(Node::Mul, Constant(unit), std::move(radians));
    }

    // A function of a, its argument shaped into the function's domain and
    // away from the points where its routine cancels or its value blows up.
    std::unique_ptr<Node> Function(std::unique_ptr<Node> a)
    {
        static const char* const anywhere[] = {"arctan", "tanh", "arcsinh", "sinh", "cosh", "square"};
        static const char* const periodic[] = {"sin", "cos"};
        static const char* const positive[] = {"ln",      "sqrt", "logbase10", "logbase2", "arccosh",
                                               "arccoth", "exp",  "arcsec",    "arccsc",   "abs"};
        static const char* const small[] = {"arcsin", "arccos", "arctanh", "arcsech"};
        static const char* const away[] = {"versine", "haversine", "cot", "csc"}; // on [1.5, 2.5)
        static const char* const nearer[] = {"sec", "exsecans"};                  // on [0.75, 1.25)
        switch (Uniform(0, 6)) {
        case 0:
            return Apply(anywhere[Uniform(0, std::size(anywhere) - 1)],
                         Binary(Node::Div, std::move(a), Bounded(Constant(1))));
        case 1:
            return Apply(periodic[Uniform(0, std::size(periodic) - 1)],
                         Angle(Binary(Node::Div, std::move(a), Bounded(Constant(1)))));
        case 2:
            return Apply(positive[Uniform(0, std::size(positive) - 1)], Bounded(std::move(a)));
        case 3:
            // 1 / (1.5..2.5): inside (0.4, 0.67].
            return Apply(small[Uniform(0, std::size(small) - 1)],
                         Binary(Node::Div, Constant(1), Bounded(std::move(a))));
        case 4:
            return Apply(away[Uniform(0, std::size(away) - 1)], Angle(Bounded(std::move(a))));
        case 5:
            return Apply(nearer[Uniform(0, std::size(nearer) - 1)],
                         Angle(Binary(Node::Mul, Constant(Quad(0.5)), Bounded(std::move(a)))));
        default:
            return Apply("coversine", Angle(Binary(Node::Sub, Constant(0), Bounded(std::move(a)))));
        }
    }

    std::mt19937 random_;
    TAngleMode mode_;
};

std::string Text(const Node& n)
{
    switch (n.K) {
    case Node::X:
        return "x";
    case Node::Const: {
        char buffer[64];
        quadmath_snprintf(buffer, sizeof buffer, "%.6Qg", n.C);
        return buffer;
    }
    case Node::Add:
        return "(" + Text(*n.A) + " + " + Text(*n.B) + ")";
    case Node::Sub:
        return "(" + Text(*n.A) + " - " + Text(*n.B) + ")";
    case Node::Mul:
        return "(" + Text(*n.A) + " * " + Text(*n.B) + ")";
    case Node::Div:
        return "(" + Text(*n.A) + " / " + Text(*n.B) + ")";
    case Node::Call:
        return n.Function + "(" + Text(*n.A) + ")";
    }
    return {};
}

// The value, and the magnitudes of the first and second derivative: every
// term of the chain and product rules by its absolute value, the functions'
// own derivatives from differences of their 113-bit versions.
struct QuadMagnitudes {
    Quad Value, M1, M2;
};

QuadMagnitudes Magnitudes(const Node& n, Quad x, TAngleMode mode)
{
    switch (n.K) {
    case Node::X:
        return {x, 1, 0};
    case Node::Const:
        return {n.C, 0, 0};
    case Node::Call: {
        QuadMagnitudes a = Magnitudes(*n.A, x, mode);
        QuadFunction f = QuadOf(n.Function, mode);
        QuadDerivatives d = Differences(f, a.Value);
        // Besides the chain rule's terms, what an ulp of the argument moves:
        // |u| times the next derivative.
        Quad u = fabsq(a.Value);
        return {f(a.Value), (fabsq(d.D1) + u * fabsq(d.D2)) * a.M1,
                (fabsq(d.D2) + u * fabsq(d.D3)) * a.M1 * a.M1 + (fabsq(d.D1) + u * fabsq(d.D2)) * a.M2};
    }
    default:
        break;
    }
    QuadMagnitudes a = Magnitudes(*n.A, x, mode), b = Magnitudes(*n.B, x, mode);
    switch (n.K) {
    case Node::Add:
        return {a.Value + b.Value, a.M1 + b.M1, a.M2 + b.M2};
    case Node::Sub:
        return {a.Value - b.Value, a.M1 + b.M1, a.M2 + b.M2};
    case Node::Mul:
        return {a.Value * b.Value, a.M1 * fabsq(b.Value) + fabsq(a.Value) * b.M1,
                a.M2 * fabsq(b.Value) + 2 * a.M1 * b.M1 + fabsq(a.Value) * b.M2};
    default: {
        // a * (1/b): (1/b)' = -b'/b^2, (1/b)'' = 2b'^2/b^3 - b''/b^2.
        Quad r = 1 / b.Value, r1 = b.M1 * r * r, r2 = 2 * b.M1 * b.M1 * fabsq(r * r * r) + b.M2 * r * r;
        return {a.Value * r, a.M1 * fabsq(r) + fabsq(a.Value) * r1,
                a.M2 * fabsq(r) + 2 * a.M1 * r1 + fabsq(a.Value) * r2};
    }
    }
}

Quad QuadValue(const Node& n, Quad x, TAngleMode mode)
{
    return Magnitudes(n, x, mode).Value;
}

TEST(RandomPrograms, DerivativesMatchTheReferenceWithinTheBound)
{
    int compared = 0;
    double worst = 0;
    for (unsigned seed = 1; seed <= 300; ++seed) {
        TAngleMode mode = static_cast<TAngleMode>(seed % 3);
        TScopedAngleMode scoped(mode);
        Generator generator(seed, mode);
        std::unique_ptr<Node> tree = generator.Make(4);
        const std::string text = Text(*tree);
        SCOPED_TRACE(text + " in " + ModeName(mode));
        JetFormula formula(text);
        for (double x : {-1.75, -0.3, 0.45, 1.2, 2.6}) {
            TExprJet jet = formula.At(x);
            ASSERT_EQ(jet.Value, formula.Value(x));
            QuadFunction f = [&](Quad t) { return QuadValue(*tree, t, mode); };
            QuadDerivatives ref = Differences(f, x);
            QuadMagnitudes m = Magnitudes(*tree, x, mode);
            // The constants are read in Float: each moves the value by an ulp
            // of its own, which the magnitude of the value covers.
            ASSERT_LE(fabsq(Quad(jet.Value) - m.Value), 64 * kFloatUlp * (fabsq(m.Value) + m.M1 + 1)) << x;
            ASSERT_TRUE(jet.HasD1 && jet.HasD2) << x;
            // The differences' own rounding: 2^-110 of the values over h or h^2.
            Quad noise = ldexpq(1, -110) * (fabsq(m.Value) + 1);
            worst =
                std::max(worst, double(fabsq(Quad(jet.D1) - ref.D1) /
                                       (kFloatUlp * (m.M1 + m.M2 + fabsq(ref.D1)) + noise * ldexpq(1, 17))));
            worst =
                std::max(worst, double(fabsq(Quad(jet.D2) - ref.D2) /
                                       (kFloatUlp * (m.M1 + m.M2 + fabsq(ref.D2)) + noise * ldexpq(1, 34))));
            EXPECT_LE(fabsq(Quad(jet.D1) - ref.D1),
                      64 * kFloatUlp * (m.M1 + m.M2 + fabsq(ref.D1)) + noise * ldexpq(1, 17))
                << x << ": " << double(jet.D1) << " vs " << double(ref.D1);
            EXPECT_LE(fabsq(Quad(jet.D2) - ref.D2),
                      64 * kFloatUlp * (m.M2 + m.M1 + fabsq(ref.D2)) + noise * ldexpq(1, 34))
                << x << ": " << double(jet.D2) << " vs " << double(ref.D2);
            ++compared;
        }
    }
    EXPECT_EQ(compared, 1500);
    std::printf("worst derivative error: %g ulps of its magnitude\n", worst);
}

} // namespace
} // namespace qrv::test
