#include "core/expr/expression.h"

#include <cmath>
#include <cstdint>
#include <stdexcept>

#include "core/common/number_format.h"
#include "core/expr/expression_chars.h"
#include "core/expr/half_width.h"

namespace hakuvo {

namespace {

bool IsDigit(char32_t c) { return c >= U'0' && c <= U'9'; }

struct TKeyword {
  std::u32string_view Word;
  TExpType Kind;
};

constexpr TKeyword kKeywords[] = {
    {U"TRUE", etTrue},
    {U"FALSE", etFalse},
    {U"PI", etPi},
    {U"π", etPi},
    {U"%", etPercent},
    {U"SIN", etSin},
    {U"COS", etCos},
    {U"TAN", etTan},
    {U"SINR", etSinRad},
    {U"COSR", etCosRad},
    {U"TANR", etTanRad},
    {U"SING", etSinGrad},
    {U"COSG", etCosGrad},
    {U"TANG", etTanGrad},
    {U"ASIN", etArcSin},
    {U"ACOS", etArcCos},
    {U"ATAN", etArcTan},
    {U"ASINR", etArcSinRad},
    {U"ACOSR", etArcCosRad},
    {U"ATANR", etArcTanRad},
    {U"ASING", etArcSinGrad},
    {U"ACOSG", etArcCosGrad},
    {U"ATANG", etArcTanGrad},
    {U"SINH", etSinH},
    {U"COSH", etCosH},
    {U"TANH", etTanH},
    {U"ASINH", etArcSinH},
    {U"ACOSH", etArcCosH},
    {U"ATANH", etArcTanH},
    {U"LOG", etLog10},
    {U"LN", etLn},
    {U"SQRT", etSqrt},
    {U"EXP", etExp},
    {U"INT", etInt},
    {U"FACT", etFactorial},
    {U"DEGTORAD", etDegToRad},
    {U"RADTODEG", etRadToDeg},
    {U"DEGTOGRAD", etDegToGrad},
    {U"GRADTODEG", etGradToDeg},
    {U"RADTOGRAD", etRadToGrad},
    {U"GRADTORAD", etGradToRad},
};

}  // namespace

const char* ExpressionErrorName(TExpressionErrorNumber number) {
  switch (number) {
    case enNotError:
      return "enNotError";
    case enSyntaxError:
      return "enSyntaxError";
    case enPowerError:
      return "enPowerError";
    case enInfinityError:
      return "enInfinityError";
    case enMathError:
      return "enMathError";
    case enExpressionMaxLengthOver:
      return "enExpressionMaxLengthOver";
  }
  return "enUnknownError";
}

EExpressionError::EExpressionError(TExpressionErrorNumber errorNumber, int errorIndex)
    : EHakuvoError("Error"), FErrorNumber(errorNumber), FErrorIndex(errorIndex) {}

// ---------------------------------------------------------------------------------------------
// Normalising

std::u32string TExpression::NormalizeOperatorChars(std::u32string_view text) {
  std::u32string result(text);
  for (char32_t& c : result) {
    switch (c) {
      case U'×':
        c = U'*';
        break;
      case U'÷':
        c = U'/';
        break;
      case U'ー':
      case U'ｰ':
      case U'―':
        c = U'-';
        break;
      default:
        break;
    }
  }
  return result;
}

std::string TExpression::NormalizeOperatorChars(std::string_view text) {
  return Utf32ToUtf8(NormalizeOperatorChars(Utf8ToUtf32(text)));
}

std::u32string TExpression::NormalizeFormula(std::u32string_view text) {
  std::u32string result = ToHalfWidth(NormalizeOperatorChars(text));
  if (result.size() > static_cast<std::size_t>(MaxFormulaLength)) result.resize(MaxFormulaLength);
  for (char32_t& c : result) {
    if (c >= U'a' && c <= U'z') c = c - U'a' + U'A';
  }
  return result;
}

std::u32string TExpression::NormalizeFormula(std::string_view text) { return NormalizeFormula(Utf8ToUtf32(text)); }

// ---------------------------------------------------------------------------------------------
// Evaluation

Extended TExpression::Calc(std::string_view formula) {
  const std::u32string text = Utf8ToUtf32(formula);
  if (text.size() > static_cast<std::size_t>(MaxFormulaLength)) {
    // Nothing of this formula has been read, so there is no position to report.
    FErrorNumber = enExpressionMaxLengthOver;
    throw EExpressionError(FErrorNumber, FErrorIndex);
  }
  FormulaStr = NormalizeFormula(text);
  FErrorNumber = enNotError;
  FErrorIndex = 0;
  if (FormulaStr.empty()) return 0;

  FormulaStr += U'$';
  FormulaIndex = 1;
  C = U' ';
  NextToken();
  const double value = ParseSum();
  if (Token != etNewLine) SignalError(enSyntaxError);
  return value;
}

char32_t TExpression::GetFormula(int index) const {
  if (index < 1 || index > static_cast<int>(FormulaStr.size())) return 0;
  return FormulaStr[static_cast<std::size_t>(index - 1)];
}

void TExpression::SetFormula(int index, char32_t c) {
  if (index < 1 || index > static_cast<int>(FormulaStr.size())) {
    throw std::out_of_range("TExpression::SetFormula: position outside the formula");
  }
  FormulaStr[static_cast<std::size_t>(index - 1)] = c;
}

void TExpression::SignalError(TExpressionErrorNumber number) {
  FErrorIndex = FormulaIndex - 2 < 1 ? 1 : FormulaIndex - 2;
  FormulaIndex = static_cast<int>(FormulaStr.size()) + 1;
  FErrorNumber = number;
  throw EExpressionError(number, FErrorIndex);
}

double TExpression::Checked(long double value) {
  const auto result = static_cast<double>(value);
  if (!std::isfinite(result)) SignalError(enMathError);
  return result;
}

// ---------------------------------------------------------------------------------------------
// Tokenizer

void TExpression::ReadChar() {
  C = GetFormula(FormulaIndex);
  ++FormulaIndex;
}

bool TExpression::PastEnd() const { return FormulaIndex > static_cast<int>(FormulaStr.size()) + 1; }

void TExpression::SkipBlanks() {
  while (C == U' ' && !PastEnd()) ReadChar();
}

bool TExpression::IsNumberChar(int index) const {
  const char32_t c = GetFormula(index);
  if (IsDigit(c) || c == U'.') return true;
  if (c == U'E') {
    const char32_t next = GetFormula(index + 1);
    return IsDigit(next) || (next == U'-' && IsDigit(GetFormula(index + 2)));
  }
  return c == U'-' && GetFormula(index - 1) == U'E';
}

bool TExpression::IsIdentChar(int index) const { return IsNumberChar(index) || IsUnicodeLetter(GetFormula(index)); }

void TExpression::NextToken() {
  SkipBlanks();
  if (C == U'%' || IsUnicodeLetter(C)) {
    Token = ReadWord();
    ReadChar();
    return;
  }
  if (PastEnd()) {
    Token = etNewLine;
    C = U' ';
    return;
  }
  switch (C) {
    case U'$':
      // The end marker; one typed into the formula ends it there.
      Token = etNewLine;
      C = U' ';
      return;
    case U'+':
    case U'-':
    case U'&':
    case U'|':
    case U'=':
      Token = etAddop;
      Oprt = static_cast<int>(C);
      break;
    case U'*':
    case U'/':
      Token = etMulop;
      Oprt = static_cast<int>(C);
      break;
    case U'^':
      Token = etPower;
      Oprt = static_cast<int>(C);
      break;
    case U'(':
      Token = etLParen;
      break;
    case U')':
      Token = etRParen;
      break;
    case U'<': {
      // "<" needs a blank or "=" after it, ">" a blank before it: "<5" and "5>" are not
      // comparisons but text pasted from elsewhere.
      const char32_t next = GetFormula(FormulaIndex);
      if (next == U' ') {
        Token = etAddop;
        Oprt = '<';
      } else if (next == U'=') {
        Token = etAddop;
        Oprt = opLessEqual;
        ReadChar();
      } else {
        Token = etOthers;
      }
      break;
    }
    case U'>':
      if (GetFormula(FormulaIndex - 2) == U' ') {
        Token = etAddop;
        if (GetFormula(FormulaIndex) == U'=') {
          Oprt = opGreaterEqual;
          ReadChar();
        } else {
          Oprt = '>';
        }
      } else {
        Token = etOthers;
      }
      break;
    default:
      if (IsDigit(C) || C == U'.') {
        ReadNumber();  // leaves C on the character after the number
        Token = etNumber;
        return;
      }
      Token = etOthers;
      break;
  }
  ReadChar();
}

void TExpression::ReadNumber() {
  std::u32string text(1, C);
  ReadChar();
  while (!PastEnd() && IsNumberChar(FormulaIndex - 1)) {
    text += C;
    ReadChar();
  }
  // One blank inside a number keeps it together ("1 5"), so that the literal fails as a whole
  // instead of reading as two numbers.
  if (C == U' ') {
    text += C;
    ReadChar();
    while (!PastEnd() && IsNumberChar(FormulaIndex - 1)) {
      text += C;
      ReadChar();
    }
  }
  // Only ASCII digits, ".", "E", "-" and a blank were collected.
  std::string ascii(text.begin(), text.end());
  if (!TryParseNumber(ascii, Value)) SignalError(enSyntaxError);
}

TExpType TExpression::ReadWord() {
  IdentBuff.assign(1, C);
  while (IsIdentChar(FormulaIndex)) {
    ReadChar();
    IdentBuff += C;
  }
  for (const TKeyword& keyword : kKeywords) {
    if (keyword.Word == IdentBuff) return keyword.Kind;
  }
  return etOthers;
}

// ---------------------------------------------------------------------------------------------
// Parser

double TExpression::ParseSum() {
  double sign = 1;
  if (Token == etAddop) {
    // A leading "+", "&", "=" or comparison is accepted and means nothing.
    if (Oprt == '-') sign = -1;
    NextToken();
  }
  double value = ParseProduct() * sign;
  while (Token == etAddop) {
    const int op = Oprt;
    NextToken();
    const double right = ParseProduct();
    switch (op) {
      case '+':
        value = Checked(value + right);
        break;
      case '-':
        value = Checked(value - right);
        break;
      case '&':
      case '|': {
        // Beyond the 64-bit range there is no integer to take the bits of.
        const auto toInteger = [this](double v) {
          constexpr double kLimit = 9223372036854775808.0;  // 2^63
          if (!(v >= -kLimit && v < kLimit)) SignalError(enMathError);
          return static_cast<std::int64_t>(v);
        };
        const std::int64_t a = toInteger(value);
        const std::int64_t b = toInteger(right);
        value = static_cast<double>(op == '&' ? (a & b) : (a | b));
        break;
      }
      case '=':
        value = value == right ? 1 : 0;
        break;
      case '<':
        value = value < right ? 1 : 0;
        break;
      case '>':
        value = value > right ? 1 : 0;
        break;
      case opLessEqual:
        value = value <= right ? 1 : 0;
        break;
      case opGreaterEqual:
        value = value >= right ? 1 : 0;
        break;
      default:
        value = 0;
        break;
    }
  }
  return value;
}

double TExpression::ParseProduct() {
  double value = ParsePower();
  for (;;) {
    if (Token == etMulop && Oprt == '*') {
      NextToken();
      value = Checked(value * ParsePower());
    } else if (Token == etMulop && Oprt == '/') {
      NextToken();
      const double right = ParsePower();
      if (right == 0) SignalError(enInfinityError);
      value = Checked(value / right);
    } else if (Token >= etLParen) {
      // "2PI", "2(3+4)", "50%": the operand that follows multiplies without a "*".
      value = Checked(value * ParsePower());
    } else {
      return value;
    }
  }
}

double TExpression::ParsePower() {
  double value = ParseFactor();
  while (Token == etPower) {
    NextToken();
    const double exponent = ParseFactor();
    if (value == 0 && exponent <= 0) SignalError(enPowerError);
    value = Checked(std::pow(static_cast<long double>(value), static_cast<long double>(exponent)));
  }
  return value;
}

double TExpression::ParseFactor() {
  double value = 0;
  switch (Token) {
    case etNumber:
      value = Value;
      break;
    case etTrue:
      value = 1;
      break;
    case etFalse:
      value = 0;
      break;
    case etPi:
      value = 3.141592653589793;
      break;
    case etPercent:
      value = 0.01;
      break;
    case etLParen:
      NextToken();
      value = ParseSum();
      if (Token == etRParen) {
        NextToken();
      } else if (Token != etNewLine) {
        SignalError(enSyntaxError);
      }
      // A ")" missing at the very end is forgiven: "(1+2" is 3.
      return value;
    default:
      if (Token >= etSin && Token <= etGradToRad) {
        const TExpType function = Token;
        NextToken();
        const double argument = ParseFactor();
        return ApplyFunction(function, argument);
      }
      SignalError(enSyntaxError);
  }
  NextToken();
  return value;
}

}  // namespace hakuvo
