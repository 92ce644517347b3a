// The program's one exception hierarchy. Every class carries only a message
// text; the texts come from the message table (QrvMessages.h).
//
//   Exception
//   ├── EMathError ── EInvalidOp, EZeroDivide, EOverflow   (floating point)
//   ├── EDivByZero                                          (integer div/mod)
//   ├── EConvertError                                       (text to number)
//   ├── EListError                                          (list index)
//   ├── EAssertionFailed                                    (internal precondition)
//   ├── EQrvError ── EQrvExprEvalError, EQrvStringHashMapError, EQrvMathError
//   ├── TMathExpr                                           (plot range checks)
//   └── EAbort                                              (silent: never shown)
#pragma once

#include "QrvMessages.h"

#include <exception>
#include <string>
#include <string_view>

namespace qrv
{

class Exception : public std::exception
{
public:
    explicit Exception(std::string message) : message_(std::move(message)) {}
    explicit Exception(Msg id, std::initializer_list<std::string_view> args = {})
        : message_(FormatMessage(id, args))
    {
    }
    const std::string& Message() const noexcept { return message_; }
    const char* what() const noexcept override { return message_.c_str(); }

private:
    std::string message_;
};

class EMathError : public Exception
{
public:
    using Exception::Exception;
};

class EInvalidOp : public EMathError
{
public:
    EInvalidOp() : EMathError(Msg::InvalidOp) {}
};

class EZeroDivide : public EMathError
{
public:
    EZeroDivide() : EMathError(Msg::ZeroDivide) {}
};

class EOverflow : public EMathError
{
public:
    EOverflow() : EMathError(Msg::Overflow) {}
};

// Integer division or modulo by zero.
class EDivByZero : public Exception
{
public:
    EDivByZero() : Exception(Msg::DivByZero) {}
};

// A text that is not a valid floating-point value; carries the text.
class EConvertError : public Exception
{
public:
    explicit EConvertError(std::string_view text) : Exception(Msg::InvalidFloat, {text}) {}
};

class EListError : public Exception
{
public:
    explicit EListError(long long index) : Exception(Msg::ListIndex, {std::to_string(index)}) {}
};

// A violated internal precondition: "<text> (<unit>, line <n>)".
class EAssertionFailed : public Exception
{
public:
    EAssertionFailed(std::string_view text, std::string_view unit, int line)
        : Exception(Msg::AssertionFormat, {text, unit, std::to_string(line)})
    {
    }
};

class EQrvError : public Exception
{
public:
    using Exception::Exception;
};

class EQrvExprEvalError : public EQrvError
{
public:
    using EQrvError::EQrvError;
};

class EQrvStringHashMapError : public EQrvError
{
public:
    using EQrvError::EQrvError;
};

class EQrvMathError : public EQrvError
{
public:
    using EQrvError::EQrvError;
    EQrvMathError() : EQrvError(Msg::DomainCheck) {}
};

// The plot run's range-check errors (X min, X max and Step): an exception
// class despite its T prefix, a published name kept as it is.
class TMathExpr : public Exception
{
public:
    using Exception::Exception;
};

// Ends a command without a message: the error display ignores it.
class EAbort : public Exception
{
public:
    EAbort() : Exception(std::string("Operation aborted")) {}
};

} // namespace qrv

// Raises EAssertionFailed with the message text, the source file's base name
// and the line, when the condition does not hold.
#define QRV_ASSERT(cond, text)                                                                               \
    do {                                                                                                     \
        if (!(cond)) throw ::qrv::EAssertionFailed((text), ::qrv::detail::BaseName(__FILE__), __LINE__);     \
    } while (0)

namespace qrv::detail
{
constexpr std::string_view BaseName(std::string_view path)
{
    auto slash = path.find_last_of('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}
} // namespace qrv::detail
