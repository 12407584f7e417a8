#pragma once

#include "core/expr/expression.h"

namespace hakuvo {

class TRecordData;

// A formula over the values of one action's record: "[title]" stands for the value whose title
// the record shows under that name ("[距離] >= 5"). Titles and formula are compared after the
// same normalisation, so case and character width do not matter.
class TRecordExpressionCalc : public TExpression {
 public:
  // The record the references read (not owned). Without one, every reference is unknown.
  void SetRecordData(const TRecordData* record) { FRecordData = record; }
  const TRecordData* RecordData() const { return FRecordData; }

 protected:
  void NextToken() override;
  double ParseFactor() override;
  // Entered with "[" in C; reads up to the closing "]", leaves the value in Value and C on
  // the "]". The record is only read: its shown index stays as it is.
  virtual void ReadRecordRef();
  void CheckUnknownWord(std::u32string_view word, int start) override;

 private:
  const TRecordData* FRecordData = nullptr;
};

}  // namespace hakuvo
