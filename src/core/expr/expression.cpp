#include "core/expr/expression.h"

#include <algorithm>
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

EExpressionError::EExpressionError(TExpressionErrorNumber errorNumber, int errorIndex, TExpressionErrorDetail detail,
                                   std::string detailText, int sourceStart, int sourceLength)
    : EHakuvoError("Error"),
      FErrorNumber(errorNumber),
      FErrorIndex(errorIndex),
      FDetail(detail),
      FDetailText(std::move(detailText)),
      FSourceStart(sourceStart),
      FSourceLength(sourceLength) {}

EExpressionError EExpressionError::Shifted(int offset) const {
  EExpressionError shifted(*this);
  if (shifted.FSourceStart >= 0) shifted.FSourceStart += offset;
  return shifted;
}

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
  MapToSource(text);

  FormulaStr += U'$';
  FormulaIndex = 1;
  C = U' ';
  Token = etNewLine;
  TokenStart = 1;
  TokenLength = 0;
  Advance();
  PrevToken = etNewLine;
  PrevTokenLength = 0;
  const double value = ParseSum();
  if (Token != etNewLine) SignalLeftOver();
  return value;
}

void TExpression::MapToSource(std::u32string_view text) {
  // Normalising keeps one character for one, except that a voiced katakana becomes two; the map
  // lets an error point at what the user typed.
  SourceIndex.clear();
  for (std::size_t i = 0; i < text.size() && SourceIndex.size() < FormulaStr.size(); ++i) {
    const std::u32string mapped = NormalizeFormula(text.substr(i, 1));
    SourceIndex.insert(SourceIndex.end(), mapped.size(), static_cast<int>(i));
  }
  if (SourceIndex.size() != FormulaStr.size()) {
    SourceIndex.resize(FormulaStr.size());
    for (std::size_t i = 0; i < SourceIndex.size(); ++i) SourceIndex[i] = static_cast<int>(i);
  }
  FSourceTextLength = static_cast<int>(text.size());
}

int TExpression::SourceOf(int index) const {
  if (index < 1) return 0;
  if (index > static_cast<int>(SourceIndex.size())) return FSourceTextLength;
  return SourceIndex[static_cast<std::size_t>(index - 1)];
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
  const int index = FormulaIndex - 2 < 1 ? 1 : FormulaIndex - 2;
  SignalError(number, edNone, {}, index, 1);
}

void TExpression::SignalError(TExpressionErrorNumber number, TExpressionErrorDetail detail, std::u32string_view text,
                              int start, int length) {
  FErrorIndex = FormulaIndex - 2 < 1 ? 1 : FormulaIndex - 2;
  FormulaIndex = static_cast<int>(FormulaStr.size()) + 1;
  FErrorNumber = number;
  const int sourceStart = std::min(SourceOf(start), FSourceTextLength);
  const int sourceEnd = length > 0 ? SourceOf(start + length - 1) + 1 : sourceStart;
  throw EExpressionError(number, FErrorIndex, detail, Utf32ToUtf8(text), sourceStart,
                         std::max(0, std::min(sourceEnd, FSourceTextLength) - sourceStart));
}

std::u32string TExpression::TokenText() const {
  if (TokenLength <= 0 || TokenStart < 1) return {};
  std::u32string text =
      FormulaStr.substr(static_cast<std::size_t>(TokenStart - 1), static_cast<std::size_t>(TokenLength));
  while (!text.empty() && text.back() == U' ') text.pop_back();
  return text;
}

void TExpression::SignalNoOperand() {
  if (Token == etOthers) SignalLeftOver();
  const bool afterOperator = PrevToken == etAddop || PrevToken == etMulop || PrevToken == etPower ||
                             PrevToken == etLParen || (PrevToken >= etSin && PrevToken <= etGradToRad);
  if (afterOperator && PrevTokenLength > 0) {
    const std::u32string before =
        FormulaStr.substr(static_cast<std::size_t>(PrevTokenStart - 1), static_cast<std::size_t>(PrevTokenLength));
    // The operator and whatever stands where its value should be.
    const int end = Token == etNewLine ? PrevTokenStart + PrevTokenLength : TokenStart + TokenLength;
    SignalError(enSyntaxError, edMissingOperand, before, PrevTokenStart, end - PrevTokenStart);
  }
  SignalError(enSyntaxError, edMissingOperand, {}, TokenStart, TokenLength);
}

void TExpression::SignalLeftOver() {
  const std::u32string text = TokenText();
  switch (Token) {
    case etRParen:
      SignalError(enSyntaxError, edUnmatchedParen, text, TokenStart, TokenLength);
    case etNumber:
    case etSign:
    case etTrue:
    case etFalse:
      SignalError(enSyntaxError, edMissingOperator, text, TokenStart, TokenLength);
    case etOthers:
      if (!text.empty() && (text[0] == U'%' || IsUnicodeLetter(text[0]))) {
        CheckUnknownWord(text, TokenStart);
        SignalError(enSyntaxError, edUnknownWord, text, TokenStart, TokenLength);
      }
      SignalError(enSyntaxError, edBadCharacter, text, TokenStart, TokenLength);
    default:
      SignalError(enSyntaxError, edMissingParen, text, TokenStart, TokenLength);
  }
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

void TExpression::Advance() {
  PrevToken = Token;
  PrevTokenStart = TokenStart;
  PrevTokenLength = TokenLength;
  SkipBlanks();
  TokenStart = FormulaIndex - 1;
  NextToken();
  TokenLength = std::max(0, FormulaIndex - 1 - TokenStart);
  if (Token == etNewLine) TokenLength = 0;
}

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
    case U'<':
      // "<=" and "<>" read as one operator; a blank around a comparison is optional.
      Token = etAddop;
      if (GetFormula(FormulaIndex) == U'=') {
        Oprt = opLessEqual;
        ReadChar();
      } else if (GetFormula(FormulaIndex) == U'>') {
        Oprt = opNotEqual;
        ReadChar();
      } else {
        Oprt = '<';
      }
      break;
    case U'>':
      Token = etAddop;
      if (GetFormula(FormulaIndex) == U'=') {
        Oprt = opGreaterEqual;
        ReadChar();
      } else {
        Oprt = '>';
      }
      break;
    case U'!':
      if (GetFormula(FormulaIndex) == U'=') {
        Token = etAddop;
        Oprt = opNotEqual;
        ReadChar();
      } else {
        Token = etOthers;
      }
      break;
    case U'≠':
      Token = etAddop;
      Oprt = opNotEqual;
      break;
    case U'≦':
    case U'≤':
      Token = etAddop;
      Oprt = opLessEqual;
      break;
    case U'≧':
    case U'≥':
      Token = etAddop;
      Oprt = opGreaterEqual;
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
  if (!TryParseNumber(ascii, Value)) {
    while (!text.empty() && text.back() == U' ') text.pop_back();
    SignalError(enSyntaxError, edBadNumber, text, TokenStart, static_cast<int>(text.size()));
  }
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
    Advance();
  }
  double value = ParseProduct() * sign;
  while (Token == etAddop) {
    const int op = Oprt;
    Advance();
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
      case opNotEqual:
        value = value != right ? 1 : 0;
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
      Advance();
      value = Checked(value * ParsePower());
    } else if (Token == etMulop && Oprt == '/') {
      Advance();
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
    Advance();
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
      Advance();
      value = ParseSum();
      if (Token == etRParen) {
        Advance();
      } else if (Token != etNewLine) {
        SignalLeftOver();
      }
      // A ")" missing at the very end is forgiven: "(1+2" is 3.
      return value;
    default:
      if (Token >= etSin && Token <= etGradToRad) {
        const TExpType function = Token;
        Advance();
        const double argument = ParseFactor();
        return ApplyFunction(function, argument);
      }
      SignalNoOperand();
  }
  Advance();
  return value;
}

}  // namespace hakuvo
