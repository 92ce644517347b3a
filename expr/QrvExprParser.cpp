#include "QrvExprParser.h"

#include "QrvErrors.h"
#include "QrvExprLexer.h"
#include "QrvExprNodes.h"
#include "QrvExprSymbols.h"

#include <string_view>
#include <vector>

namespace qrv
{

namespace
{

using Kind = TExprTokenKind;
using Node = TExprNode*;
using TUnaryMaker = Node (TExprNodeFactory::*)(Node);
using TBinaryMaker = Node (TExprNodeFactory::*)(Node, Node);
using TLevelCompile = Node (TExprCompileParser::*)(bool);

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

// An operator as the parser matches it: the token of its spelling, the word
// when that token is an identifier, and the factory method that makes it.
template <class Maker> struct TOperatorRule {
    Kind token;
    std::string_view word; // empty for a symbol
    Maker make;
};

// The rows of the operator table, level by level in table order.
struct TOperatorRules {
    std::vector<TOperatorRule<TBinaryMaker>> binary[static_cast<std::size_t>(TExprOperatorLevel::Unary)];
    std::vector<TOperatorRule<TUnaryMaker>> unary;
};

// A spelling's token is whatever the lexer makes of it, so the table and the
// lexer cannot disagree; a spelling must be one whole token, not a number.
template <class Maker> TOperatorRule<Maker> RuleOf(std::string_view spelling, Maker make)
{
    TExprSimpleLexer lexer(spelling);
    TOperatorRule<Maker> rule{lexer.CurrentToken(), {}, make};
    if (rule.token == Kind::Identifier) rule.word = spelling;
    lexer.NextToken();
    QRV_ASSERT(rule.token != Kind::Number && lexer.CurrentToken() == Kind::End,
               MessageText(Msg::AssertionFailure));
    return rule;
}

const TOperatorRules& Rules()
{
    static const TOperatorRules rules = [] {
        TOperatorRules made;
#define QRV_UNARY_RULE(C, K, Method, A, Level, Spelling, ...)                                                \
    made.unary.push_back(RuleOf(Spelling, &TExprNodeFactory::Method));
#define QRV_BINARY_RULE(C, K, Method, A, Level, Spelling, ...)                                               \
    made.binary[static_cast<std::size_t>(TExprOperatorLevel::Level)].push_back(                              \
        RuleOf(Spelling, &TExprNodeFactory::Method));
        QRV_EXPR_UNARY_OPERATORS(QRV_UNARY_RULE)
        QRV_EXPR_BINARY_OPERATORS(QRV_BINARY_RULE)
#undef QRV_UNARY_RULE
#undef QRV_BINARY_RULE
        return made;
    }();
    return rules;
}

// The factory method of the current token when it is one of the rules'
// operators, else null.
template <class Maker>
Maker MatchOperator(const TExprLexer& lexer, const std::vector<TOperatorRule<Maker>>& rules)
{
    const Kind current = lexer.CurrentToken();
    for (const auto& rule : rules)
        if (rule.token == current && (rule.word.empty() || IsWord(lexer, rule.word))) return rule.make;
    return nullptr;
}

// A two-operand level: operands of the next lower level, joined left to
// right by this level's operators. The lower level is called through the
// parser's virtual operation.
Node CompileLeftToRight(TExprCompileParser& parser, TExprOperatorLevel level, TLevelCompile lower, bool skip)
{
    const auto& rules = Rules().binary[static_cast<std::size_t>(level)];
    Node left = (parser.*lower)(skip);
    while (TBinaryMaker make = MatchOperator(*parser.Lexer(), rules)) {
        Node right = (parser.*lower)(true);
        left = (parser.NodeFactory()->*make)(left, right);
    }
    return left;
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
    return CompileLeftToRight(*this, TExprOperatorLevel::Relational, &TExprCompileParser::CompileAdditive,
                              skip);
}

TExprNode* TExprCompileParser::CompileAdditive(bool skip)
{
    return CompileLeftToRight(*this, TExprOperatorLevel::Additive, &TExprCompileParser::CompileMultiplicative,
                              skip);
}

TExprNode* TExprCompileParser::CompileMultiplicative(bool skip)
{
    return CompileLeftToRight(*this, TExprOperatorLevel::Multiplicative, &TExprCompileParser::CompileUnary,
                              skip);
}

// Every way of nesting (parentheses, prefix operators, function arguments)
// passes through here, so this is where the depth is bounded.
TExprNode* TExprCompileParser::CompileUnary(bool skip)
{
    NestingScope nesting(nesting_);
    if (skip) lexer_->NextToken();
    if (lexer_->CurrentToken() == Kind::Plus) return CompileUnary(true); // unary plus makes no node
    if (TUnaryMaker make = MatchOperator(*lexer_, Rules().unary))
        return (nodeFactory_->*make)(CompileUnary(true));
    return CompileFactor();
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
