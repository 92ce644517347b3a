// The compile parser: recursive descent over four precedence levels and a
// factor, building the formula's tree through a node factory. It evaluates
// and folds nothing: every operator in the text becomes one node.
//
//   level 0  comparisons      cmp  <>  <=  >=  <  =  >
//   level 1  additive         or  xor  bor  bxor  +  -
//   level 2  multiplicative   div  mod  and  shl  shr  band  *  /
//   level 3  prefix           not  bnot  +  -
//   factor                    number | identifier | "(" level 0 ")"
//
// The operators of each level are the rows of the operator table with that
// Level (QrvExprOperations.h), matched in the table's order; the lines above
// show them as they stand. Unary plus is not an operator of the table: it
// makes no node. Operators of one level associate to the left. Parsing stops
// at the first token that cannot continue the expression; text after it is
// not examined.
#pragma once

#include <cstddef>

namespace qrv
{

class TExprContext;
class TExprLexer;
class TExprNode;
class TExprNodeFactory;

class TExprCompileParser
{
public:
    // How deeply parentheses, prefix operators and function arguments may
    // nest. Each level costs a few stack frames; far above any real formula,
    // far below what the stack holds, so hostile text raises "Parse error:
    // Expression is nested too deeply" instead of overflowing the stack.
    static constexpr std::size_t kMaxNesting = 256;

    // Neither is owned. Set Context before compiling.
    TExprCompileParser(TExprLexer* lexer, TExprNodeFactory* nodeFactory);
    TExprCompileParser(const TExprCompileParser&) = delete;
    TExprCompileParser& operator=(const TExprCompileParser&) = delete;
    virtual ~TExprCompileParser() = default;

    // `skip` true means the current token (an operator, "(" or ";") has been
    // used and the lexer must advance before the operand is read.
    virtual TExprNode* CompileRelational(bool skip);
    virtual TExprNode* CompileAdditive(bool skip);
    virtual TExprNode* CompileMultiplicative(bool skip);
    virtual TExprNode* CompileUnary(bool skip);
    virtual TExprNode* CompileFactor();
    virtual TExprNode* CompileIdentifier();
    // The whole formula: CompileRelational(false).
    virtual TExprNode* Compile();

    TExprContext* Context = nullptr; // resolves identifiers; not owned

    TExprLexer* Lexer() const { return lexer_; }
    TExprNodeFactory* NodeFactory() const { return nodeFactory_; }

private:
    TExprLexer* lexer_;
    TExprNodeFactory* nodeFactory_;
    std::size_t nesting_ = 0;
};

} // namespace qrv
