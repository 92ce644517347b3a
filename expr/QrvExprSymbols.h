// Symbols (every name in a formula) and the contexts that hold them.
//
// A symbol compiles itself: the parser binds it to its lexer, itself and its
// node factory, and the symbol emits its node, reading its own argument list
// first when it is a function. A hash context owns symbols by name; a set
// context searches several contexts, the last added first.
#pragma once

#include "QrvExprVirtMach.h"
#include "QrvFloat.h"
#include "QrvStringHashMap.h"

#include <memory>
#include <string>
#include <string_view>
#include <vector>

namespace qrv
{

class TExprLexer;
class TExprCompileParser;
class TExprNodeFactory;
class TExprNode;

class TExprSym
{
public:
    explicit TExprSym(std::string_view name) : name_(name) {}
    TExprSym(const TExprSym&) = delete;
    TExprSym& operator=(const TExprSym&) = delete;
    virtual ~TExprSym() = default;

    // The symbol's value, computed directly without building a program.
    virtual Float Evaluate() = 0;
    // Reads whatever follows the name and returns the symbol's node.
    virtual TExprNode* Compile() = 0;

    const std::string& Name() const { return name_; }

    // The parser that compiles the symbol binds it for the duration of one
    // Compile and restores the previous binding afterwards. Not owned.
    struct TBinding {
        TExprLexer* Lexer = nullptr;
        TExprCompileParser* CompileParser = nullptr;
        TExprNodeFactory* NodeFactory = nullptr;
    };
    const TBinding& Binding() const { return binding_; }
    void SetBinding(const TBinding& binding) { binding_ = binding; }
    TExprLexer* Lexer() const { return binding_.Lexer; }
    TExprCompileParser* CompileParser() const { return binding_.CompileParser; }
    TExprNodeFactory* NodeFactory() const { return binding_.NodeFactory; }

private:
    std::string name_;
    TBinding binding_;
};

// A named constant: compiles to one constant load.
class TExprConstSym final : public TExprSym
{
public:
    TExprConstSym(std::string_view name, Float value) : TExprSym(name), value_(value) {}
    Float Evaluate() override { return value_; }
    TExprNode* Compile() override;
    Float Value() const { return value_; }

private:
    Float value_;
};

// A 64-bit float variable outside the engine, read at every evaluation. The
// location is not owned and must be given.
class TExprVar64Sym final : public TExprSym
{
public:
    TExprVar64Sym(std::string_view name, const double* location);
    Float Evaluate() override;
    TExprNode* Compile() override;
    const double* Location() const { return location_; }

private:
    const double* location_;
};

// The same for a Float variable: the analysis of a curve moves x by less
// than a double can tell apart.
class TExprVar80Sym final : public TExprSym
{
public:
    TExprVar80Sym(std::string_view name, const Float* location);
    Float Evaluate() override;
    TExprNode* Compile() override;
    const Float* Location() const { return location_; }

private:
    const Float* location_;
};

// A function: the steps that read its argument list, "(" first ";" second
// ")". Evaluate compiles the call with a private factory and runs it, so it
// needs the same binding as Compile.
class TExprAbstractFuncSym : public TExprSym
{
public:
    using TExprSym::TExprSym;
    Float Evaluate() override;
    virtual TExprDumpKey FunctionKey() const = 0;

    // A pure function depends on its arguments only (not on the angle mode
    // or any other state), so the machine may call it once with constant
    // arguments when it builds the program. Off unless set.
    bool Pure() const { return pure_; }
    void SetPure(bool pure) { pure_ = pure; }

protected:
    // Marks a call node of this function with its purity.
    TExprNode* Marked(TExprNode* call) const;
    TExprNode* FirstArgument();
    TExprNode* SecondArgument();
    void EndArguments();

private:
    bool pure_ = false;
};

class TExprUnaryFuncSym final : public TExprAbstractFuncSym
{
public:
    TExprUnaryFuncSym(std::string_view name, TExprUnaryFunc function);
    TExprNode* Compile() override;
    TExprUnaryFunc Function() const { return function_; }
    TExprDumpKey FunctionKey() const override { return reinterpret_cast<TExprDumpKey>(function_); }

private:
    TExprUnaryFunc function_;
};

class TExprBinaryFuncSym final : public TExprAbstractFuncSym
{
public:
    TExprBinaryFuncSym(std::string_view name, TExprBinaryFunc function);
    TExprNode* Compile() override;
    TExprBinaryFunc Function() const { return function_; }
    TExprDumpKey FunctionKey() const override { return reinterpret_cast<TExprDumpKey>(function_); }

private:
    TExprBinaryFunc function_;
};

// ---- contexts -------------------------------------------------------------

class TExprContext
{
public:
    TExprContext() = default;
    TExprContext(const TExprContext&) = delete;
    TExprContext& operator=(const TExprContext&) = delete;
    virtual ~TExprContext() = default;

    // The symbol of that name, or null.
    virtual TExprSym* Find(std::string_view name) const = 0;
};

// Symbols by name in a string hash map; owns its symbols.
class TExprHashContext final : public TExprContext
{
public:
    TExprHashContext(bool caseSensitive, std::uint32_t hashSize);
    ~TExprHashContext() override;

    // Takes the symbol. A name already present (under the context's case
    // rule) raises "Duplicate hash list entry: <name>"; the context keeps its
    // first symbol and the rejected one stays in the caller's pointer.
    TExprSym& Add(std::unique_ptr<TExprSym>&& symbol);

    TExprSym* Find(std::string_view name) const override;

    std::uint32_t Count() const { return map_.Count(); }
    // Calls func for every symbol, bucket by bucket.
    template <class Func> void ForEach(Func func) const;

private:
    // The map stores untyped references: each value is a TExprSym* it owns
    // through this context.
    mutable TStringHashMap map_;
};

// Searches its members from the last added to the first.
class TExprSetContext final : public TExprContext
{
public:
    explicit TExprSetContext(bool ownsContexts) : ownsContexts_(ownsContexts) {}
    ~TExprSetContext() override;

    // Appends a member; owned when the set owns its contexts.
    void Add(TExprContext* context);
    std::size_t Count() const { return contexts_.size(); }
    TExprContext* Contexts(std::size_t index) const { return contexts_.at(index); }
    bool OwnsContexts() const { return ownsContexts_; }

    TExprSym* Find(std::string_view name) const override;

private:
    std::vector<TExprContext*> contexts_;
    bool ownsContexts_;
};

template <class Func> void TExprHashContext::ForEach(Func func) const
{
    map_.Iterate(&func, [](void* f, const std::string&, void*& value) {
        (*static_cast<Func*>(f))(*static_cast<const TExprSym*>(value));
        return true;
    });
}

} // namespace qrv
