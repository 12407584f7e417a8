#include "core/expr/expression_messages.h"

#include <gtest/gtest.h>

#include <string>

#include "core/expr/record_expression_calc.h"
#include "core/model/record_data.h"

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
  } cases[] = {
      {"1+2)", "「)」に対応する「(」がありません（4 文字目）"},
      {"１＋２）", "「)」に対応する「(」がありません（4 文字目）"},
      {"1+", "「+」の後に値がありません（2 文字目）"},
      {"   ", "値がありません（4 文字目）"},
      {"(1 TRUE)", "「TRUE」の前に演算子がありません（4 文字目）"},
      {"(1 2)", "「1 2」は数として読めません（2 文字目）"},
      {"ABC*2", "「ABC」という関数や定数はありません（1 文字目）"},
      {"5 # 3", "「#」は式に使えません（3 文字目）"},
      {"1.2.3", "「1.2.3」は数として読めません（1 文字目）"},
      {"(1+2 (", "「(」の後に値がありません（6 文字目）"},
      {"1/0", "0 で割っているか、値が無限大になります（3 文字目）"},
  };
  for (const auto& c : cases) {
    try {
      expression.Calc(c.Formula);
      ADD_FAILURE() << c.Formula << " was accepted";
    } catch (const EExpressionError& error) {
      EXPECT_EQ(ExpressionErrorMessage(error), c.Expected) << c.Formula;
    }
  }
}

TEST(ExpressionMessagesTest, ReferencesToTheRecordAreNamed) {
  TJoggingRecord record;
  record.SetData(6);
  TRecordExpressionCalc calc;
  calc.SetRecordData(&record);
  const struct {
    const char* Formula;
    const char* Expected;
  } cases[] = {
      {"[高度] > 1", "［高度］という項目はありません（1 文字目）"},
      {"[距離] > 1 & [ｺｳﾄﾞ]", "［ｺｳﾄﾞ］という項目はありません（12 文字目）"},
      {"[距離 > 5", "［ を閉じる ］ がありません（1 文字目）"},
      {"距離>10", "項目は［距離］のように［］で囲んで書きます（1 文字目）"},
      {"[距離]>", "「>」の後に値がありません（5 文字目）"},
      {"[距離] 5", "「5」の前に演算子がありません（6 文字目）"},
  };
  for (const auto& c : cases) {
    try {
      calc.Calc(c.Formula);
      ADD_FAILURE() << c.Formula << " was accepted";
    } catch (const EExpressionError& error) {
      EXPECT_EQ(ExpressionErrorMessage(error), c.Expected) << c.Formula;
    }
  }
}

}  // namespace
}  // namespace hakuvo
