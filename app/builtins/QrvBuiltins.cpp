#include "QrvBuiltins.h"

#include <memory>

namespace qrv
{

namespace
{

std::unique_ptr<TExprHashContext> BuildContext()
{
    auto context = std::make_unique<TExprHashContext>(false, 100);
    for (const TBuiltinConstant& constant : BuiltinConstants())
        context->Add(std::make_unique<TExprConstSym>(constant.Name, constant.Value));
    for (const TBuiltinFunction& function : BuiltinFunctions()) {
        std::unique_ptr<TExprAbstractFuncSym> symbol;
        if (function.Unary != nullptr)
            symbol = std::make_unique<TExprUnaryFuncSym>(function.Name, function.Unary);
        else
            symbol = std::make_unique<TExprBinaryFuncSym>(function.Name, function.Binary);
        symbol->SetPure(!function.FollowsAngleMode);
        context->Add(std::move(symbol));
    }
    return context;
}

} // namespace

TExprHashContext* BuiltinContext()
{
    // Freed with the other statics at program exit, with all its symbols.
    static std::unique_ptr<TExprHashContext> context;
    if (!context) context = BuildContext();
    return context.get();
}

} // namespace qrv
