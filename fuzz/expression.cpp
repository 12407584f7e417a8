// Formula text as a user types it into a search condition, evaluated with and without the
// references to an outing's record: any bytes, any length.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <string>

#include "core/common/date_time.h"
#include "core/expr/expression.h"
#include "core/expr/half_width.h"
#include "core/expr/record_expression_calc.h"
#include "core/model/record_data.h"

namespace {

// The outcome of one evaluation, to compare runs of the same formula.
struct TOutcome {
  bool Failed = false;
  hakuvo::Extended Value = 0;
  int Number = 0;
  int Index = 0;
  bool operator==(const TOutcome&) const = default;
};

TOutcome Evaluate(hakuvo::TExpression& expression, const std::string& formula) {
  TOutcome outcome;
  try {
    outcome.Value = expression.Calc(formula);
    // A formula never yields an infinite or undefined value.
    if (!std::isfinite(outcome.Value) || expression.ErrorNumber() != hakuvo::enNotError) __builtin_trap();
  } catch (const hakuvo::EExpressionError& error) {
    outcome.Failed = true;
    outcome.Number = error.ErrorNumber();
    outcome.Index = error.ErrorIndex();
    if (error.ErrorNumber() == hakuvo::enNotError || error.ErrorNumber() != expression.ErrorNumber()) __builtin_trap();
    // A position lies in the normalised formula: at most 1024 characters and the end marker.
    if (error.ErrorNumber() != hakuvo::enExpressionMaxLengthOver &&
        (error.ErrorIndex() < 1 || error.ErrorIndex() > hakuvo::TExpression::MaxFormulaLength + 1)) {
      __builtin_trap();
    }
  }
  return outcome;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string formula(reinterpret_cast<const char*>(data), size);

  hakuvo::TExpression expression;
  const TOutcome plain = Evaluate(expression, formula);
  // The object is reused by its callers: a second run must not depend on what the first left.
  if (!(Evaluate(expression, formula) == plain)) __builtin_trap();

  // 歩数 8000, 距離 6 in half an hour: 速度 12.
  hakuvo::TWalkingRecord record;
  record.SetData(6);
  record.StartTime = hakuvo::EncodeTime(7, 0, 0, 0);
  record.EndTime = hakuvo::EncodeTime(7, 30, 0, 0);
  record.Pedometer = 8000;
  record.IndicationKind = 2;
  hakuvo::TRecordExpressionCalc recordCalc;
  recordCalc.SetRecordData(&record);
  const TOutcome withRecord = Evaluate(recordCalc, formula);
  if (record.IndicationKind != 2) __builtin_trap();
  // Without a "[" the references change nothing. The evaluator reads full-width characters as
  // their half-width forms, so a "［" opens a reference too.
  if (hakuvo::ToHalfWidth(formula).find('[') == std::string::npos && !(withRecord == plain)) __builtin_trap();
  return 0;
}
