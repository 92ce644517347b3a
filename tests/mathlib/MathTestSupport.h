// Shared helpers of the math library tests: which error a call raised, and
// table rows that name the case they check.
#pragma once

#include "QrvErrors.h"
#include "QrvFloat.h"
#include "QrvFpu.h"
#include "RowNames.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <ostream>
#include <string>

namespace qrv::test
{

// What leaving a routine looked like. WrongMessage: the right class with a
// text other than the table's; NonFinite: an infinity or NaN came back.
enum class Fault {
    None,
    Domain,
    PowerInfinite,
    PowerComplex,
    Invalid,
    ZeroDivide,
    Overflow,
    WrongMessage,
    NonFinite,
    Other
};

inline const char* FaultName(Fault fault)
{
    switch (fault) {
    case Fault::None:
        return "no error";
    case Fault::Domain:
        return "domain error";
    case Fault::PowerInfinite:
        return "Power: infinite";
    case Fault::PowerComplex:
        return "Power: complex";
    case Fault::Invalid:
        return "invalid operation";
    case Fault::ZeroDivide:
        return "division by zero";
    case Fault::Overflow:
        return "overflow";
    case Fault::WrongMessage:
        return "right class, wrong message";
    case Fault::NonFinite:
        return "non-finite result";
    case Fault::Other:
        return "some other exception";
    }
    return "?";
}

inline void PrintTo(Fault fault, std::ostream* os)
{
    *os << FaultName(fault);
}

// Runs the call and tells which error it raised, checking that the message is
// the one of the message table for that error.
inline Fault FaultOf(const std::function<Float()>& call)
{
    auto checked = [](const Exception& e, Msg id, Fault fault) {
        return e.Message() == MessageText(id) ? fault : Fault::WrongMessage;
    };
    try {
        Float result = call();
        return std::isfinite(result) ? Fault::None : Fault::NonFinite;
    } catch (const EQrvMathError& e) {
        if (e.Message() == MessageText(Msg::PowerInfinite)) return Fault::PowerInfinite;
        if (e.Message() == MessageText(Msg::PowerComplex)) return Fault::PowerComplex;
        return checked(e, Msg::DomainCheck, Fault::Domain);
    } catch (const EInvalidOp& e) {
        return checked(e, Msg::InvalidOp, Fault::Invalid);
    } catch (const EZeroDivide& e) {
        return checked(e, Msg::ZeroDivide, Fault::ZeroDivide);
    } catch (const EOverflow& e) {
        return checked(e, Msg::Overflow, Fault::Overflow);
    } catch (...) {
        return Fault::Other;
    }
}

// One row of an error table: the call and the error it must raise.
struct ErrorCase {
    const char* Name;
    std::function<Float()> Call;
    Fault Expected;
};

// One row of a value table: the call and the value it must return, exactly
// (Ulps = 0, sign of zero included) or within Ulps units in the last place.
struct ValueCase {
    const char* Name;
    std::function<Float()> Call;
    Float Expected;
    double Ulps = 0;
};

// Distance of two Floats in units in the last place of the expected value.
inline double UlpDistance(Float actual, Float expected)
{
    Float magnitude = std::fabs(expected);
    if (magnitude < std::numeric_limits<Float>::min()) magnitude = std::numeric_limits<Float>::min();
    Float ulp = std::scalbn(Float(1), std::ilogb(magnitude) - 63);
    return static_cast<double>(std::fabs(actual - expected) / ulp);
}

// The checks behind every error and value table.
inline void CheckErrorCase(const ErrorCase& row)
{
    EXPECT_EQ(FaultOf(row.Call), row.Expected);
}

inline void CheckValueCase(const ValueCase& row)
{
    Float actual = 0;
    ASSERT_EQ(FaultOf([&] { return actual = row.Call(); }), Fault::None);
    if (row.Ulps == 0) {
        EXPECT_EQ(actual, row.Expected) << std::hexfloat << actual << " vs " << row.Expected;
        EXPECT_EQ(std::signbit(actual), std::signbit(row.Expected)) << "sign of zero";
    } else {
        EXPECT_LE(UlpDistance(actual, row.Expected), row.Ulps)
            << std::hexfloat << actual << " vs " << row.Expected;
    }
}

// Puts the program's floating-point environment in force for every test.
class FloatEnvironment : public ::testing::Environment
{
public:
    void SetUp() override { InitFloatEnvironment(); }
};

} // namespace qrv::test
