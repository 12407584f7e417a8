#pragma once

#include <string>

#include "core/expr/expression.h"

namespace hakuvo {

// What went wrong in a formula, in the user's words: "式が正しくありません（8 文字目）".
// The position is the 1-based character of the formula as it was read (full-width characters
// count once). A formula that is too long has no meaningful position, so none is named.
// The command line keeps printing the enumeration name for scripts; this is for people.
std::string ExpressionErrorMessage(TExpressionErrorNumber number, int errorIndex);
// An error that knows what was wrong names it: "［高度］という項目はありません（2 文字目）".
std::string ExpressionErrorMessage(const EExpressionError& error);

}  // namespace hakuvo
