#include "core/expr/expression_messages.h"

namespace hakuvo {

namespace {

std::string WithPosition(const std::string& text, int errorIndex) {
  // Position 0 means the evaluation failed before reading anything that could be pointed at.
  if (errorIndex <= 0) return text;
  return text + "（" + std::to_string(errorIndex) + " 文字目）";
}

}  // namespace

std::string ExpressionErrorMessage(TExpressionErrorNumber number, int errorIndex) {
  switch (number) {
    case enNotError:
      return {};
    case enSyntaxError:
      return WithPosition("式が正しくありません", errorIndex);
    case enPowerError:
      return WithPosition("0 を 0 以下の数で累乗することはできません", errorIndex);
    case enInfinityError:
      return WithPosition("0 で割っているか、値が無限大になります", errorIndex);
    case enMathError:
      return WithPosition("計算できない値です", errorIndex);
    case enExpressionMaxLengthOver:
      return "式が長すぎます（1024 文字まで）";
  }
  return WithPosition("式を計算できません", errorIndex);
}

std::string ExpressionErrorMessage(const EExpressionError& error) {
  return ExpressionErrorMessage(error.ErrorNumber(), error.ErrorIndex());
}

}  // namespace hakuvo
