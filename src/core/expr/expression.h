#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

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

// What exactly was wrong, where the reader knows more than the error number says. Scripts and
// stored conditions see only the number; the detail is for telling a person.
enum TExpressionErrorDetail : std::uint8_t {
  edNone = 0,
  edMissingOperand,     // an operator or the end where a value should come; Text is the operator before
  edUnknownWord,        // a word that is no function or constant; Text is the word
  edBareTitle,          // a value title written without brackets; Text is the title
  edUnknownTitle,       // "[title]" that the record has not; Text is the title
  edUnclosedReference,  // "[" without "]"
  edMissingOperator,    // two values side by side; Text is the second one
  edUnmatchedParen,     // a ")" without its "("
  edMissingParen,       // a "(" whose ")" is missing before something else
  edBadCharacter,       // a character that means nothing in a formula; Text is the character
  edBadNumber,          // a number that does not read as one; Text is the number
};

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
//
// Besides, an error knows the stretch of the formula as typed that it concerns (0-based, in
// characters of the text given to Calc), so that a window can select it, and, where it can, what
// exactly was wrong.
class EExpressionError : public EHakuvoError {
 public:
  EExpressionError(TExpressionErrorNumber errorNumber, int errorIndex);
  EExpressionError(TExpressionErrorNumber errorNumber, int errorIndex, TExpressionErrorDetail detail,
                   std::string detailText, int sourceStart, int sourceLength);
  TExpressionErrorNumber ErrorNumber() const { return FErrorNumber; }
  int ErrorIndex() const { return FErrorIndex; }
  TExpressionErrorDetail Detail() const { return FDetail; }
  const std::string& DetailText() const { return FDetailText; }
  // -1 when the error concerns no place (a formula that is too long).
  int SourceStart() const { return FSourceStart; }
  int SourceLength() const { return FSourceLength; }
  // The same error for a formula that stands `offset` characters into a longer text.
  EExpressionError Shifted(int offset) const;

 private:
  TExpressionErrorNumber FErrorNumber;
  int FErrorIndex;
  TExpressionErrorDetail FDetail = edNone;
  std::string FDetailText;
  int FSourceStart = -1;
  int FSourceLength = 0;
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
  static constexpr int opNotEqual = 0x110002;

  // Reads the next token and remembers where it stands, for the error messages.
  void Advance();
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
  // An error that knows what was wrong over which characters (1-based, in FormulaStr).
  [[noreturn]] void SignalError(TExpressionErrorNumber number, TExpressionErrorDetail detail, std::u32string_view text,
                                int start, int length);
  // The error for a token where a value should stand.
  [[noreturn]] void SignalNoOperand();
  // The error for a token left over after a complete value.
  [[noreturn]] void SignalLeftOver();
  // Gives a subclass the chance to say more about an unknown word; returns to let the caller
  // report it as unknown.
  virtual void CheckUnknownWord(std::u32string_view /*word*/, int /*start*/) {}
  std::u32string TokenText() const;
  void MapToSource(std::u32string_view text);
  // The 0-based index in the typed text of a 1-based character of FormulaStr.
  int SourceOf(int index) const;

  TExpressionErrorNumber FErrorNumber = enNotError;
  int FErrorIndex = 0;
  std::u32string FormulaStr;
  int FormulaIndex = 1;
  char32_t C = U' ';
  TExpType Token = etNewLine;
  std::u32string IdentBuff;
  int Oprt = 0;
  double Value = 0;
  // Where the current and the previous token stand in FormulaStr (1-based start, length).
  int TokenStart = 1;
  int TokenLength = 0;
  TExpType PrevToken = etNewLine;
  int PrevTokenStart = 1;
  int PrevTokenLength = 0;
  // For each character of FormulaStr, the index of the character of the typed text it came from.
  std::vector<int> SourceIndex;
  int FSourceTextLength = 0;
};

}  // namespace hakuvo
