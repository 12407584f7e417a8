#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/extended.h"
#include "core/common/hakuvo_error.h"

namespace hakuvo {

enum TExpressionErrorNumber : std::uint8_t {
  enNotError = 0,
  enSyntaxError,
  enPowerError,
  enInfinityError,
  enMathError,
  enExpressionMaxLengthOver,
};

// The enumeration name of an error number ("enSyntaxError"), as the command line prints it.
const char* ExpressionErrorName(TExpressionErrorNumber number);

// Token kinds. The order matters: every kind from etLParen on starts an operand that an operand
// before it multiplies without a "*". etOmissionMulop and etVar1..etVar10 are never produced
// and are never accepted as an operand.
enum TExpType : std::uint8_t {
  etNewLine = 0,
  etOthers,
  etTrue,
  etFalse,
  etNumber,
  etAddop,
  etMulop,
  etPower,
  etSign,
  etRParen,
  etOmissionMulop,
  etLParen,
  etSin,
  etCos,
  etTan,
  etSinRad,
  etCosRad,
  etTanRad,
  etSinGrad,
  etCosGrad,
  etTanGrad,
  etArcSin,
  etArcCos,
  etArcTan,
  etArcSinRad,
  etArcCosRad,
  etArcTanRad,
  etArcSinGrad,
  etArcCosGrad,
  etArcTanGrad,
  etSinH,
  etCosH,
  etTanH,
  etArcSinH,
  etArcCosH,
  etArcTanH,
  etLog10,
  etLn,
  etSqrt,
  etExp,
  etInt,
  etPi,
  etPercent,
  etFactorial,
  etDegToRad,
  etRadToDeg,
  etDegToGrad,
  etGradToDeg,
  etRadToGrad,
  etGradToRad,
  etVar1,
  etVar2,
  etVar3,
  etVar4,
  etVar5,
  etVar6,
  etVar7,
  etVar8,
  etVar9,
  etVar10,
};

// Raised for every failure of a formula; the message is always "Error", the number and the
// 1-based position in the normalised formula tell what and where.
class EExpressionError : public EHakuvoError {
 public:
  EExpressionError(TExpressionErrorNumber errorNumber, int errorIndex);
  TExpressionErrorNumber ErrorNumber() const { return FErrorNumber; }
  int ErrorIndex() const { return FErrorIndex; }

 private:
  TExpressionErrorNumber FErrorNumber;
  int FErrorIndex;
};

// Evaluates a formula while reading it (recursive descent over a tokenizer with one character
// of look-ahead; no tree is built). One evaluation at a time; the object can be reused.
//
// Every result that is infinite or not a number - an overflow, an invalid argument, a negative
// base under a fractional exponent - raises enMathError wherever it arises, so a formula never
// yields such a value. The nesting depth needs no limit of its own: a formula of at most
// MaxFormulaLength characters cannot nest deeper than that.
class TExpression {
 public:
  static constexpr int MaxFormulaLength = 1024;

  TExpression() = default;
  virtual ~TExpression() = default;
  TExpression(const TExpression&) = delete;
  TExpression& operator=(const TExpression&) = delete;

  // The value of a formula (UTF-8); an empty formula is 0. Raises EExpressionError.
  virtual Extended Calc(std::string_view formula);

  int ErrorIndex() const { return FErrorIndex; }
  TExpressionErrorNumber ErrorNumber() const { return FErrorNumber; }

  // A character of the normalised formula (end marker "$" included), 1-based; 0 outside it.
  char32_t GetFormula(int index) const;
  // Replaces one character of the normalised formula; throws std::out_of_range outside it.
  void SetFormula(int index, char32_t c);

  // "×" -> "*", "÷" -> "/", and the long dashes "ー", "ｰ", "―" -> "-".
  static std::string NormalizeOperatorChars(std::string_view text);
  static std::u32string NormalizeOperatorChars(std::u32string_view text);
  // What a formula and a record title are compared as: the operators above, the half-width
  // forms (at most MaxFormulaLength characters kept) and ASCII letters in upper case.
  static std::u32string NormalizeFormula(std::u32string_view text);
  static std::u32string NormalizeFormula(std::string_view text);

 protected:
  // Operator codes beyond any character for the two-character comparisons.
  static constexpr int opLessEqual = 0x110000;
  static constexpr int opGreaterEqual = 0x110001;

  virtual void NextToken();
  // Reads the word that starts at C (C is left on its last character) and returns its kind.
  virtual TExpType ReadWord();
  virtual double ParseFactor();

  double ParseSum();
  double ParseProduct();
  double ParsePower();
  void ReadNumber();

  // Reads the next character into C.
  void ReadChar();
  void SkipBlanks();
  // Whether the reader has gone beyond the end marker.
  bool PastEnd() const;
  bool IsNumberChar(int index) const;
  bool IsIdentChar(int index) const;

  // The value as a double; a value that is infinite, not a number or beyond the double range
  // is enMathError.
  double Checked(long double value);
  double ApplyFunction(TExpType function, double x);
  [[noreturn]] void SignalError(TExpressionErrorNumber number);

  TExpressionErrorNumber FErrorNumber = enNotError;
  int FErrorIndex = 0;
  std::u32string FormulaStr;
  int FormulaIndex = 1;
  char32_t C = U' ';
  TExpType Token = etNewLine;
  std::u32string IdentBuff;
  int Oprt = 0;
  double Value = 0;
};

}  // namespace hakuvo
