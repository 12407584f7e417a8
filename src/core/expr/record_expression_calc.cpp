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
  Advance();
  return value;
}

void TRecordExpressionCalc::ReadRecordRef() {
  // C is the "[" at FormulaIndex - 1, i.e. at offset FormulaIndex - 2 of FormulaStr.
  const auto open = static_cast<std::size_t>(FormulaIndex - 2);
  // The end marker is no part of the title.
  const std::size_t close = FormulaStr.substr(0, FormulaStr.size() - 1).find(U']', open + 1);
  if (close == std::u32string::npos) {
    SignalError(enSyntaxError, edUnclosedReference, {}, static_cast<int>(open) + 1,
                static_cast<int>(FormulaStr.size() - 1 - open));
  }
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
  SignalError(enSyntaxError, edUnknownTitle, title, static_cast<int>(open) + 1, static_cast<int>(close - open) + 1);
}

void TRecordExpressionCalc::CheckUnknownWord(std::u32string_view word, int start) {
  if (FRecordData == nullptr) return;
  for (int kind = 0; kind < FRecordData->RecordNumber(); ++kind) {
    const std::u32string title = NormalizeFormula(FRecordData->ViewTitleAt(kind));
    // "距離>10": the title was meant, only the brackets are missing.
    if (!title.empty() && word.substr(0, title.size()) == title) {
      SignalError(enSyntaxError, edBareTitle, title, start, static_cast<int>(title.size()));
    }
  }
}

}  // namespace hakuvo
