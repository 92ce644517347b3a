// The built-in context: every constant and function a formula can name.
#pragma once

#include "QrvBuiltinTables.h"
#include "QrvExprEval.h"

namespace qrv
{

// The one built-in context (case-insensitive, 100 buckets) with the 86
// built-in symbols in table order. Built by the first call; later calls
// return the same object, which lives until the program ends. Callers attach
// it to an evaluator's external contexts and never free it.
TExprHashContext* BuiltinContext();

} // namespace qrv
