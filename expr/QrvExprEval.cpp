#include "QrvExprEval.h"

#include "QrvErrors.h"
#include "QrvNumberText.h"

#include <map>
#include <memory>
#include <optional>

namespace qrv
{

// ---- TEasyEvaluator -------------------------------------------------------

TEasyEvaluator::TEasyEvaluator()
{
    searchContexts_.Add(&externalContexts_);
    searchContexts_.Add(&ownContext_);
}

TEasyEvaluator::~TEasyEvaluator() = default;

void TEasyEvaluator::AddVar(std::string_view name, double& variable)
{
    ownContext_.Add(std::make_unique<TExprVar64Sym>(name, &variable));
}

void TEasyEvaluator::AddVar(std::string_view name, Float& variable)
{
    ownContext_.Add(std::make_unique<TExprVar80Sym>(name, &variable));
}

// ---- TCompiledEvaluator ---------------------------------------------------

namespace
{

// The first token of a text whose lexer could not even start: a malformed
// number at its beginning.
TTextSpan FirstNumberToken(std::string_view text)
{
    std::size_t start = 0;
    while (start < text.size() && text[start] != '\0' && static_cast<unsigned char>(text[start]) <= 32)
        ++start;
    return {start, NumberTokenEnd(text, start, DecimalSeparator()) - start};
}

} // namespace

TCompiledEvaluator::TCompiledEvaluator() = default;

// The machine goes first (a member, destroyed before the base's contexts).
TCompiledEvaluator::~TCompiledEvaluator() = default;

void TCompiledEvaluator::Compile(std::string_view text)
{
    if (hasProgram_ && text == text_) return;
    // The text is recorded only once its program is built, so a text that
    // failed fails again instead of passing for compiled.
    hasProgram_ = false;
    text_.clear();
    machine_.Clear();
    std::optional<TExprSimpleLexer> lexer;
    try {
        lexer.emplace(text);
        TExprVirtMachNodeFactory factory;
        TExprCompileParser parser(&*lexer, &factory);
        parser.Context = &SearchContexts();
        parser.Compile();
        stopToken_ = {lexer->TokenStart(), lexer->TokenEnd() - lexer->TokenStart()};
        // The optimised program is built at the first Evaluate: a formula
        // compiled and never evaluated does not pay for it.
        factory.BuildProgram(machine_);
    } catch (...) {
        machine_.Clear();
        stopToken_ = lexer ? TTextSpan{lexer->TokenStart(), lexer->TokenEnd() - lexer->TokenStart()}
                           : FirstNumberToken(text);
        throw;
    }
    text_.assign(text);
    hasProgram_ = true;
    ++buildCount_;
}

namespace
{

// Gathers the names of variables and functions reachable from a context;
// the first name found for a location wins, in search order.
struct NameCollector {
    std::map<TExprDumpKey, std::string> variables;
    std::map<TExprDumpKey, std::string> functions;

    void Collect(const TExprContext& context)
    {
        if (auto* set = dynamic_cast<const TExprSetContext*>(&context)) {
            for (std::size_t i = set->Count(); i-- > 0;)
                Collect(*set->Contexts(i));
        } else if (auto* hash = dynamic_cast<const TExprHashContext*>(&context)) {
            hash->ForEach([this](const TExprSym& symbol) {
                if (auto* var = dynamic_cast<const TExprVar64Sym*>(&symbol))
                    variables.emplace(reinterpret_cast<TExprDumpKey>(var->Location()), symbol.Name());
                else if (auto* func = dynamic_cast<const TExprAbstractFuncSym*>(&symbol))
                    functions.emplace(func->FunctionKey(), symbol.Name());
            });
        }
    }
};

std::string Lookup(const std::map<TExprDumpKey, std::string>& names, TExprDumpKey key)
{
    auto it = names.find(key);
    return it == names.end() ? std::string() : it->second;
}

} // namespace

std::string_view TCompiledEvaluator::IgnoredText() const
{
    if (!hasProgram_ || stopToken_.Start >= text_.size()) return {};
    std::string_view rest = std::string_view(text_).substr(stopToken_.Start);
    // A byte 0 ends the text for the lexer: nothing after it was read.
    return rest.substr(0, rest.find('\0'));
}

std::string TCompiledEvaluator::Dump() const
{
    NameCollector collector;
    collector.Collect(SearchContexts());
    TExprDumpNames names{
        [&](TExprDumpKey location) { return Lookup(collector.variables, location); },
        [&](TExprDumpKey function) { return Lookup(collector.functions, function); },
    };
    return qrv::Dump(machine_, names);
}

} // namespace qrv
