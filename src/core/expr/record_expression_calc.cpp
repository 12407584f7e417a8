#include "core/expr/record_expression_calc.h"

#include "core/model/record_data.h"

namespace hakuvo {

void TRecordExpressionCalc::NextToken() {
  SkipBlanks();
  if (C == U'[') {
    ReadRecordRef();
    Token = etSign;
    ReadChar();
    return;
  }
  TExpression::NextToken();
}

double TRecordExpressionCalc::ParseFactor() {
  if (Token != etSign) return TExpression::ParseFactor();
  // Like a number, a reference is not multiplied by an operand before it: "2[距離]" is an error.
  const double value = Value;
  NextToken();
  return value;
}

void TRecordExpressionCalc::ReadRecordRef() {
  // C is the "[" at FormulaIndex - 1, i.e. at offset FormulaIndex - 2 of FormulaStr.
  const auto open = static_cast<std::size_t>(FormulaIndex - 2);
  const std::size_t close = FormulaStr.find(U']', open + 1);
  if (close == std::u32string::npos) SignalError(enSyntaxError);
  const std::u32string title = FormulaStr.substr(open + 1, close - open - 1);
  // The reference is read: C stands on the "]", so an unknown title is reported at its end.
  FormulaIndex = static_cast<int>(close) + 2;
  C = U']';

  if (FRecordData != nullptr) {
    for (int kind = 0; kind < FRecordData->RecordNumber(); ++kind) {
      if (NormalizeFormula(FRecordData->ViewTitleAt(kind)) == title) {
        Value = Checked(FRecordData->ViewDataAt(kind));
        return;
      }
    }
  }
  SignalError(enSyntaxError);
}

}  // namespace hakuvo
