#include "QrvExprSymbols.h"

#include "QrvErrors.h"
#include "QrvExprLexer.h"
#include "QrvExprNodes.h"
#include "QrvExprParser.h"
#include "QrvFpu.h"

namespace qrv
{

using Kind = TExprTokenKind;

// ---- constants and variables ----------------------------------------------

TExprNode* TExprConstSym::Compile()
{
    return NodeFactory()->LoadConst80(value_);
}

TExprVar64Sym::TExprVar64Sym(std::string_view name, const double* location)
    : TExprSym(name), location_(location)
{
    QRV_ASSERT(location != nullptr, MessageText(Msg::AssertionFailure));
}

Float TExprVar64Sym::Evaluate()
{
    return Checked(static_cast<Float>(*location_));
}

TExprNode* TExprVar64Sym::Compile()
{
    return NodeFactory()->LoadVar64(location_);
}

TExprVar80Sym::TExprVar80Sym(std::string_view name, const Float* location)
    : TExprSym(name), location_(location)
{
    QRV_ASSERT(location != nullptr, MessageText(Msg::AssertionFailure));
}

Float TExprVar80Sym::Evaluate()
{
    return Checked(*location_);
}

TExprNode* TExprVar80Sym::Compile()
{
    return NodeFactory()->LoadVar80(location_);
}

// ---- functions ------------------------------------------------------------

TExprNode* TExprAbstractFuncSym::FirstArgument()
{
    if (Lexer()->CurrentToken() != Kind::LeftParen) throw EQrvExprEvalError(Msg::FuncLeftParenExpected);
    return CompileParser()->CompileRelational(true);
}

// The separator is ";" whatever the decimal separator is.
TExprNode* TExprAbstractFuncSym::SecondArgument()
{
    if (Lexer()->CurrentToken() != Kind::Semicolon) throw EQrvExprEvalError(Msg::FuncCommaExpected);
    return CompileParser()->CompileRelational(true);
}

void TExprAbstractFuncSym::EndArguments()
{
    if (Lexer()->CurrentToken() != Kind::RightParen) throw EQrvExprEvalError(Msg::FuncRightParenExpected);
    Lexer()->NextToken();
}

// Direct evaluation reads the argument list from the bound lexer like
// Compile does, then runs the call as a throwaway program: the arguments
// are evaluated first, the function applied to them last.
TExprNode* TExprAbstractFuncSym::Marked(TExprNode* call) const
{
    if (call != nullptr) call->SetPureCall(pure_);
    return call;
}

Float TExprAbstractFuncSym::Evaluate()
{
    QRV_ASSERT(Lexer() != nullptr && CompileParser() != nullptr, MessageText(Msg::AssertionFailure));
    TExprVirtMachNodeFactory factory;
    TExprCompileParser parser(Lexer(), &factory);
    parser.Context = CompileParser()->Context;
    const TBinding saved = Binding();
    SetBinding({Lexer(), &parser, &factory});
    try {
        Compile();
    } catch (...) {
        SetBinding(saved);
        throw;
    }
    SetBinding(saved);
    TExprVirtMach machine;
    factory.BuildProgram(machine);
    return machine.Execute();
}

TExprUnaryFuncSym::TExprUnaryFuncSym(std::string_view name, TExprUnaryFunc function)
    : TExprAbstractFuncSym(name), function_(function)
{
    QRV_ASSERT(function != nullptr, MessageText(Msg::AssertionFailure));
}

TExprNode* TExprUnaryFuncSym::Compile()
{
    TExprNode* argument = FirstArgument();
    TExprNode* node = Marked(NodeFactory()->CallUnaryFunc(function_, argument));
    EndArguments();
    return node;
}

TExprBinaryFuncSym::TExprBinaryFuncSym(std::string_view name, TExprBinaryFunc function)
    : TExprAbstractFuncSym(name), function_(function)
{
    QRV_ASSERT(function != nullptr, MessageText(Msg::AssertionFailure));
}

TExprNode* TExprBinaryFuncSym::Compile()
{
    TExprNode* first = FirstArgument();
    TExprNode* second = SecondArgument();
    EndArguments();
    return Marked(NodeFactory()->CallBinaryFunc(function_, first, second));
}

// ---- hash context ---------------------------------------------------------

TExprHashContext::TExprHashContext(bool caseSensitive, std::uint32_t hashSize)
    : map_(caseSensitive ? &CaseSensitiveTraits() : &CaseInsensitiveTraits(), hashSize)
{
}

TExprHashContext::~TExprHashContext()
{
    map_.Iterate(nullptr, [](void*, const std::string&, void*& value) {
        delete static_cast<TExprSym*>(value);
        value = nullptr;
        return true;
    });
}

TExprSym& TExprHashContext::Add(std::unique_ptr<TExprSym>&& symbol)
{
    QRV_ASSERT(symbol != nullptr, MessageText(Msg::AssertionFailure));
    map_.Add(symbol->Name(), symbol.get());
    return *symbol.release();
}

TExprSym* TExprHashContext::Find(std::string_view name) const
{
    void* value = nullptr;
    return map_.Find(name, value) ? static_cast<TExprSym*>(value) : nullptr;
}

// ---- set context ----------------------------------------------------------

TExprSetContext::~TExprSetContext()
{
    if (ownsContexts_)
        for (TExprContext* context : contexts_)
            delete context;
}

void TExprSetContext::Add(TExprContext* context)
{
    // A set searching itself would never end its search.
    QRV_ASSERT(context != nullptr && context != this, MessageText(Msg::AssertionFailure));
    contexts_.push_back(context);
}

TExprSym* TExprSetContext::Find(std::string_view name) const
{
    for (auto it = contexts_.rbegin(); it != contexts_.rend(); ++it)
        if (TExprSym* symbol = (*it)->Find(name)) return symbol;
    return nullptr;
}

} // namespace qrv
