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
  // The position as typed; an error made without one keeps the position in the read formula.
  const int position = error.SourceStart() >= 0 ? error.SourceStart() + 1 : error.ErrorIndex();
  const std::string& text = error.DetailText();
  switch (error.Detail()) {
    case edNone:
      break;
    case edMissingOperand:
      return WithPosition(text.empty() ? "値がありません" : "「" + text + "」の後に値がありません", position);
    case edUnknownWord:
      return WithPosition("「" + text + "」という関数や定数はありません", position);
    case edBareTitle:
      return WithPosition("項目は［" + text + "］のように［］で囲んで書きます", position);
    case edUnknownTitle:
      return WithPosition("［" + text + "］という項目はありません", position);
    case edUnclosedReference:
      return WithPosition("［ を閉じる ］ がありません", position);
    case edMissingOperator:
      return WithPosition("「" + text + "」の前に演算子がありません", position);
    case edUnmatchedParen:
      return WithPosition("「)」に対応する「(」がありません", position);
    case edMissingParen:
      return WithPosition("「)」がありません", position);
    case edBadCharacter:
      return WithPosition("「" + text + "」は式に使えません", position);
    case edBadNumber:
      return WithPosition("「" + text + "」は数として読めません", position);
  }
  return ExpressionErrorMessage(error.ErrorNumber(), error.ErrorNumber() == enExpressionMaxLengthOver ? 0 : position);
}

}  // namespace hakuvo
