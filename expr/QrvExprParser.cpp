#include "QrvExprParser.h"

#include "QrvErrors.h"
#include "QrvExprLexer.h"
#include "QrvExprNodes.h"
#include "QrvExprSymbols.h"

#include <string_view>

namespace qrv
{

namespace
{

using Kind = TExprTokenKind;
using Node = TExprNode*;
using TBinaryMaker = Node (TExprNodeFactory::*)(Node, Node);

// A word operator is an identifier token spelled like the word in any letter
// case.
bool IsWord(const TExprLexer& lexer, std::string_view word)
{
    if (lexer.CurrentToken() != Kind::Identifier) return false;
    const std::string& text = lexer.TokenText();
    if (text.size() != word.size()) return false;
    for (std::size_t i = 0; i < word.size(); ++i) {
        char c = text[i];
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
        if (c != word[i]) return false;
    }
    return true;
}

struct WordOperator {
    std::string_view word;
    TBinaryMaker make;
};
struct TokenOperator {
    Kind token;
    TBinaryMaker make;
};

constexpr WordOperator kRelationalWords[] = {{"cmp", &TExprNodeFactory::Compare}};
constexpr TokenOperator kRelationalTokens[] = {
    {Kind::NotEqual, &TExprNodeFactory::CompareNotEqual},
    {Kind::LessEqual, &TExprNodeFactory::CompareLessEqual},
    {Kind::GreaterEqual, &TExprNodeFactory::CompareGreaterEqual},
    {Kind::Less, &TExprNodeFactory::CompareLess},
    {Kind::Equal, &TExprNodeFactory::CompareEqual},
    {Kind::Greater, &TExprNodeFactory::CompareGreater},
};

constexpr WordOperator kAdditiveWords[] = {
    {"or", &TExprNodeFactory::LogicalOr},
    {"xor", &TExprNodeFactory::LogicalXor},
    {"bor", &TExprNodeFactory::BitwiseOr},
    {"bxor", &TExprNodeFactory::BitwiseXor},
};
constexpr TokenOperator kAdditiveTokens[] = {
    {Kind::Plus, &TExprNodeFactory::Add},
    {Kind::Minus, &TExprNodeFactory::Subtract},
};

constexpr WordOperator kMultiplicativeWords[] = {
    {"div", &TExprNodeFactory::IntegerDivide}, {"mod", &TExprNodeFactory::Modulo},
    {"and", &TExprNodeFactory::LogicalAnd},    {"shl", &TExprNodeFactory::ShiftLeft},
    {"shr", &TExprNodeFactory::ShiftRight},    {"band", &TExprNodeFactory::BitwiseAnd},
};
constexpr TokenOperator kMultiplicativeTokens[] = {
    {Kind::Asterisk, &TExprNodeFactory::Multiply},
    {Kind::Slash, &TExprNodeFactory::Divide},
};

// The factory operation of the current token when it is one of the level's
// operators, else null.
template <std::size_t W, std::size_t T>
TBinaryMaker MatchOperator(const TExprLexer& lexer, const WordOperator (&words)[W],
                           const TokenOperator (&tokens)[T])
{
    Kind current = lexer.CurrentToken();
    if (current == Kind::Identifier) {
        for (const auto& op : words)
            if (IsWord(lexer, op.word)) return op.make;
        return nullptr;
    }
    for (const auto& op : tokens)
        if (op.token == current) return op.make;
    return nullptr;
}

// Restores a symbol's binding however its Compile ends, so that a symbol can
// be compiled again inside its own compilation, as in sin(sin(x)).
class BindingScope
{
public:
    BindingScope(TExprSym& symbol, const TExprSym::TBinding& binding)
        : symbol_(symbol), saved_(symbol.Binding())
    {
        symbol_.SetBinding(binding);
    }
    ~BindingScope() { symbol_.SetBinding(saved_); }
    BindingScope(const BindingScope&) = delete;
    BindingScope& operator=(const BindingScope&) = delete;

private:
    TExprSym& symbol_;
    TExprSym::TBinding saved_;
};

class NestingScope
{
public:
    explicit NestingScope(std::size_t& nesting) : nesting_(nesting)
    {
        if (nesting_ > TExprCompileParser::kMaxNesting) throw EQrvExprEvalError(Msg::NestedTooDeeply);
        ++nesting_;
    }
    ~NestingScope() { --nesting_; }
    NestingScope(const NestingScope&) = delete;
    NestingScope& operator=(const NestingScope&) = delete;

private:
    std::size_t& nesting_;
};

} // namespace

TExprCompileParser::TExprCompileParser(TExprLexer* lexer, TExprNodeFactory* nodeFactory)
    : lexer_(lexer), nodeFactory_(nodeFactory)
{
    QRV_ASSERT(lexer != nullptr && nodeFactory != nullptr, MessageText(Msg::AssertionFailure));
}

TExprNode* TExprCompileParser::Compile()
{
    return CompileRelational(false);
}

TExprNode* TExprCompileParser::CompileRelational(bool skip)
{
    Node left = CompileAdditive(skip);
    while (TBinaryMaker make = MatchOperator(*lexer_, kRelationalWords, kRelationalTokens))
        left = (nodeFactory_->*make)(left, CompileAdditive(true));
    return left;
}

TExprNode* TExprCompileParser::CompileAdditive(bool skip)
{
    Node left = CompileMultiplicative(skip);
    while (TBinaryMaker make = MatchOperator(*lexer_, kAdditiveWords, kAdditiveTokens))
        left = (nodeFactory_->*make)(left, CompileMultiplicative(true));
    return left;
}

TExprNode* TExprCompileParser::CompileMultiplicative(bool skip)
{
    Node left = CompileUnary(skip);
    while (TBinaryMaker make = MatchOperator(*lexer_, kMultiplicativeWords, kMultiplicativeTokens))
        left = (nodeFactory_->*make)(left, CompileUnary(true));
    return left;
}

// Every way of nesting (parentheses, prefix operators, function arguments)
// passes through here, so this is where the depth is bounded.
TExprNode* TExprCompileParser::CompileUnary(bool skip)
{
    NestingScope nesting(nesting_);
    if (skip) lexer_->NextToken();
    if (IsWord(*lexer_, "not")) return nodeFactory_->LogicalNot(CompileUnary(true));
    if (IsWord(*lexer_, "bnot")) return nodeFactory_->BitwiseNot(CompileUnary(true));
    switch (lexer_->CurrentToken()) {
    case Kind::Plus:
        return CompileUnary(true); // unary plus makes no node
    case Kind::Minus:
        return nodeFactory_->Negate(CompileUnary(true));
    default:
        return CompileFactor();
    }
}

TExprNode* TExprCompileParser::CompileFactor()
{
    switch (lexer_->CurrentToken()) {
    case Kind::Number: {
        Node node = nodeFactory_->LoadConst80(lexer_->TokenNumber());
        lexer_->NextToken();
        return node;
    }
    case Kind::Identifier:
        return CompileIdentifier();
    case Kind::LeftParen: {
        Node inner = CompileRelational(true);
        if (lexer_->CurrentToken() != Kind::RightParen) throw EQrvExprEvalError(Msg::RightParenExpected);
        lexer_->NextToken();
        return inner;
    }
    default:
        throw EQrvExprEvalError(Msg::FactorExpected);
    }
}

TExprNode* TExprCompileParser::CompileIdentifier()
{
    TExprSym* symbol = Context != nullptr ? Context->Find(lexer_->TokenText()) : nullptr;
    if (symbol == nullptr) throw EQrvExprEvalError(Msg::UnknownSymbol, {lexer_->TokenText()});
    lexer_->NextToken();
    BindingScope binding(*symbol, {lexer_, this, nodeFactory_});
    return symbol->Compile();
}

} // namespace qrv
