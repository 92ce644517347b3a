// The expression engine's face to the application, and its chief header:
// including it gives every public engine class.
//
//   TCompiledEvaluator evaluator;
//   evaluator.ExternalContexts().Add(&builtins);   // shared, not owned
//   evaluator.AddVar("x", x);                      // x: a double the caller owns
//   evaluator.Compile("5.22 - 5.44E-4 * (x - 817)");
//   for (...) { x = ...; y = evaluator.Evaluate(); }
#pragma once

#include "QrvErrors.h"
#include "QrvExprLexer.h"
#include "QrvExprNodes.h"
#include "QrvExprParser.h"
#include "QrvExprSymbols.h"
#include "QrvExprVirtMach.h"
#include "QrvFloat.h"
#include "QrvStringHashMap.h"

#include <string>
#include <string_view>

namespace qrv
{

// Not an evaluator itself: the holder of the symbol contexts an evaluator
// resolves names in, the base of TCompiledEvaluator. A name is looked up first
// in the evaluator's own context, then in the attached contexts, the most
// recently attached first, so the evaluator's variables hide shared symbols
// of the same name.
class TEasyEvaluator
{
public:
    TEasyEvaluator();
    TEasyEvaluator(const TEasyEvaluator&) = delete;
    TEasyEvaluator& operator=(const TEasyEvaluator&) = delete;
    virtual ~TEasyEvaluator();

    // Binds a name to a 64-bit float the caller owns; the variable must stay
    // in place while the evaluator evaluates. A name already bound (in any
    // letter case) raises "Duplicate hash list entry: <name>".
    void AddVar(std::string_view name, double& variable);
    // The same for a Float variable.
    void AddVar(std::string_view name, Float& variable);

    // The caller's shared contexts; attached, not owned.
    TExprSetContext& ExternalContexts() { return externalContexts_; }
    // The evaluator's own symbols (case-insensitive, owned).
    TExprHashContext& OwnContext() { return ownContext_; }
    // Own context last, so it is searched first.
    TExprSetContext& SearchContexts() { return searchContexts_; }
    const TExprSetContext& SearchContexts() const { return searchContexts_; }

private:
    // Declared so that destruction frees the search set, then the own
    // context with its symbols, then the external set.
    TExprSetContext externalContexts_{false};
    TExprHashContext ownContext_{false, 127};
    TExprSetContext searchContexts_{false};
};

// A stretch of a formula's text, as byte offsets.
struct TTextSpan {
    std::size_t Start = 0;
    std::size_t Length = 0;
    bool operator==(const TTextSpan&) const = default;
};

// Compiles a formula once into a virtual-machine program, then evaluates it
// as often as asked, reading the bound variables' current values each time.
class TCompiledEvaluator final : public TEasyEvaluator
{
public:
    TCompiledEvaluator();
    ~TCompiledEvaluator() override;

    // Builds the program of the text. Compiling the text of the current
    // program again does nothing. On failure the error propagates, the
    // evaluator holds no program, and a later Compile of any text, the same
    // one included, parses again. An empty or blank text raises "Parse
    // error: Factor expected".
    void Compile(std::string_view text);

    // Runs the program. Without a program, raises "List index out of bounds
    // (0)".
    Float Evaluate() { return machine_.Execute(); }

    // Where the last Compile stopped reading its text: after a failure, the
    // token at which the parse gave up (empty at the end of the text); after
    // a success, the first token the formula did not use, which begins the
    // ignored rest of the text (empty when the whole text was used).
    TTextSpan StopToken() const { return stopToken_; }
    // After a successful Compile, the text after the complete formula,
    // which is not part of it ("^2" for "x^2"); empty when there is none.
    std::string_view IgnoredText() const;

    // The same through the machine's checked mode only: every operation's
    // Execute in list order. Equal to Evaluate in value and error.
    Float EvaluateChecked() { return machine_.ExecuteChecked(); }

    // Whether the optimised program folds constant subtrees (default on);
    // applies to the current program and every later one.
    void SetFolding(bool folding) { machine_.SetFolding(folding); }

    // When the optimised program is generated as x87 code (default: after
    // a few evaluations); applies like SetFolding. Whether it now runs.
    void SetNativeUse(TExprNativeUse use) { machine_.SetNativeUse(use); }
    bool RunsNativeCode() const { return machine_.RunsNativeCode(); }

    // The optimised program's listing (QrvExprFastRun.h).
    std::string FastListing() { return machine_.FastListing(); }

    bool HasProgram() const { return hasProgram_; }
    // The text of the current program; empty when there is none.
    const std::string& Text() const { return text_; }
    // How many programs Compile has built over the evaluator's life.
    unsigned BuildCount() const { return buildCount_; }

    const TExprVirtMach& Machine() const { return machine_; }
    // The program listing with variable and function names taken from the
    // symbols the evaluator can see ("const 2 | load x | mul").
    std::string Dump() const;

private:
    TExprVirtMach machine_;
    std::string text_;
    bool hasProgram_ = false;
    unsigned buildCount_ = 0;
    TTextSpan stopToken_;
};

} // namespace qrv
