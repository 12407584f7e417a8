#include "core/expr/expression_messages.h"

#include <gtest/gtest.h>

#include <string>

namespace hakuvo {
namespace {

TEST(ExpressionMessagesTest, EveryErrorHasAJapaneseTextWithItsPosition) {
  const struct {
    TExpressionErrorNumber Number;
    int Index;
    const char* Expected;
  } cases[] = {
      {enSyntaxError, 8, "式が正しくありません（8 文字目）"},
      {enPowerError, 2, "0 を 0 以下の数で累乗することはできません（2 文字目）"},
      {enInfinityError, 3, "0 で割っているか、値が無限大になります（3 文字目）"},
      {enMathError, 12, "計算できない値です（12 文字目）"},
      // The length is checked before reading; the position left over means nothing.
      {enExpressionMaxLengthOver, 17, "式が長すぎます（1024 文字まで）"},
      {enSyntaxError, 0, "式が正しくありません"},
      {enNotError, 0, ""},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ExpressionErrorMessage(c.Number, c.Index), c.Expected) << ExpressionErrorName(c.Number);
  }
}

TEST(ExpressionMessagesTest, AFailedCalculationIsToldByWhereItStopped) {
  TExpression expression;
  const struct {
    const char* Formula;
    const char* Expected;
  } cases[] = {{"1+2)", "式が正しくありません（4 文字目）"}, {"１＋２）", "式が正しくありません（4 文字目）"}};
  for (const auto& c : cases) {
    try {
      expression.Calc(c.Formula);
      ADD_FAILURE() << c.Formula << " was accepted";
    } catch (const EExpressionError& error) {
      EXPECT_EQ(ExpressionErrorMessage(error), c.Expected) << c.Formula;
    }
  }
}

}  // namespace
}  // namespace hakuvo
