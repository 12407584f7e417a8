#include "core/expr/expression.h"

#include <gtest/gtest.h>

#include <pthread.h>

#include <cmath>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/common/number_format.h"

namespace hakuvo {
namespace {

constexpr double kPi = 3.141592653589793;

struct ValueCase {
  const char* Formula;
  double Expected;
};

struct ErrorCase {
  std::string Formula;
  TExpressionErrorNumber Number;
  int Index;
};

std::string Repeat(const std::string& text, int count) {
  std::string result;
  for (int i = 0; i < count; ++i) result += text;
  return result;
}

void ExpectValues(const std::vector<ValueCase>& cases) {
  TExpression expression;
  for (const auto& c : cases) {
    try {
      EXPECT_DOUBLE_EQ(static_cast<double>(expression.Calc(c.Formula)), c.Expected) << "«" << c.Formula << "»";
      EXPECT_EQ(expression.ErrorNumber(), enNotError) << "«" << c.Formula << "»";
    } catch (const EExpressionError& error) {
      ADD_FAILURE() << "«" << c.Formula << "» raised " << ExpressionErrorName(error.ErrorNumber()) << " at "
                    << error.ErrorIndex();
    }
  }
}

void ExpectErrors(const std::vector<ErrorCase>& cases) {
  TExpression expression;
  for (const auto& c : cases) {
    try {
      const Extended value = expression.Calc(c.Formula);
      ADD_FAILURE() << "«" << c.Formula << "» gave " << FormatGeneral(value) << " instead of "
                    << ExpressionErrorName(c.Number);
    } catch (const EExpressionError& error) {
      EXPECT_STREQ(ExpressionErrorName(error.ErrorNumber()), ExpressionErrorName(c.Number)) << "«" << c.Formula << "»";
      EXPECT_EQ(error.ErrorIndex(), c.Index) << "«" << c.Formula << "»";
      EXPECT_STREQ(error.what(), "Error");
      EXPECT_EQ(expression.ErrorNumber(), error.ErrorNumber());
      EXPECT_EQ(expression.ErrorIndex(), error.ErrorIndex());
    }
  }
}

TEST(Expression, OperatorsPrecedenceAndImpliedMultiplication) {
  ExpectValues({
      {"", 0},
      {"1+2*3", 7},
      {"2^3^2", 64},
      {"-2^2", -4},
      {"2*(-3)", -6},
      {"10-2-3", 5},
      {"8/4/2", 1},
      {"2^(-1)", 0.5},
      {"(-2)^3", -8},
      {"2^0.5", std::sqrt(2.0)},
      // Comparisons and bit operators share the level of "+" and "-", left to right.
      {"1+2=3", 1},
      {"3=1+2", 2},
      {"6 & 3", 2},
      {"6 | 3", 7},
      {"7.9 & 7.9", 7},
      {"-6 & 3", 2},
      {"6 & 3 + 1", 3},
      {"5 > 3", 1},
      {"3 < 5", 1},
      {"3<=5", 1},
      {"5 >= 5", 1},
      {"4 >= 5", 0},
      {"5 < 3", 0},
      // A leading operator other than "-" means nothing.
      {"+5", 5},
      {"=5", 5},
      {"< 5", 5},
      {"50%", 0.5},
      {"50%%", 0.005},
      {"2PI", 2 * kPi},
      {"2 PI", 2 * kPi},
      {"2(3+4)", 14},
      {"(2)(3)", 6},
      {"2 SIN 30", 1},
      // A ")" may be missing only at the very end.
      {"(1+2", 3},
      {"((1+2", 3},
      {"2(3", 6},
      {"INT(INT(7.5", 7},
      {"TRUE - 1", 0},
      {"FALSE", 0},
      {"1E3", 1000},
      {"1e-3", 0.001},
      {".5", 0.5},
      {"5.", 5},
      {" 1 ", 1},
      {"2$3", 2},
      {"2$)))", 2},
      {"1E-300*1E-300", 0},
  });
}

TEST(Expression, FunctionsAndConstants) {
  ExpectValues({
      {"SIN 30", 0.5},
      {"SIN(30)+1", 1.5},
      {"SIN 30+1", 1.5},
      {"SIN 30^2", 0.25},
      {"COS 60", 0.5},
      {"TAN 45", 1},
      {"SINR(PI/2)", 1},
      {"COSR PI", -1},
      {"TANR 0", 0},
      {"SING 100", 1},
      {"COSG 0", 1},
      {"ASIN 1", 90},
      {"ACOS 0", 90},
      {"ACOS 0.5", 60},
      {"ATAN 1", 45},
      {"ASINR 1", kPi / 2},
      {"ACOSR(-1)", kPi},
      {"ATANR 1", kPi / 4},
      {"ASING 1", 100},
      {"ACOSG 1", 0},
      {"ATANG 1", 50},
      {"SINH 1", std::sinh(1.0)},
      {"COSH 0", 1},
      {"TANH 1", std::tanh(1.0)},
      {"ASINH 1", std::asinh(1.0)},
      {"ACOSH 1", 0},
      {"ATANH 0.5", std::atanh(0.5)},
      {"LOG 1000", 3},
      {"LN EXP 2", 2},
      {"SQRT 16", 4},
      {"SIN SQRT 4", std::sin(2 * kPi / 180)},
      {"EXP 1", std::exp(1.0)},
      {"INT 2.7", 2},
      {"INT(-2.7)", -2},
      {"FACT 5", 120},
      {"FACT 5.9", 120},
      {"FACT(-3)", 1},
      {"FACT 0", 1},
      {"FACT 20", 2432902008176640000.0},
      {"DEGTORAD 180", kPi},
      {"RADTODEG PI", 180},
      {"DEGTOGRAD 90", 100},
      {"GRADTODEG 100", 90},
      {"RADTOGRAD PI", 200},
      {"GRADTORAD 200", kPi},
      {"PI", kPi},
      {"π", kPi},
      {"TRUE", 1},
      {"2%", 0.02},
      {"sqrt 4 + Pi - pI", 2},
  });
}

TEST(Expression, RoundedTrigonometryIsExact) {
  TExpression expression;
  EXPECT_EQ(expression.Calc("SIN 30"), 0.5L);
  EXPECT_EQ(expression.Calc("SIN 180"), 0.0L);
  EXPECT_FALSE(std::signbit(expression.Calc("SIN(-180)")));
  EXPECT_EQ(expression.Calc("COS 90"), 0.0L);
  EXPECT_EQ(expression.Calc("TAN 45"), 1.0L);
  EXPECT_EQ(expression.Calc("COSR PI"), -1.0L);
  // Grads are not rounded: the cosine of 100 grads is tiny but not zero, so the tangent is huge.
  EXPECT_GT(expression.Calc("TANG 100"), 1e15L);
  EXPECT_NE(expression.Calc("COSG 100"), 0.0L);
}

TEST(Expression, ErrorsCarryNumberAndPosition) {
  ExpectErrors({
      {"   ", enSyntaxError, 3},      {"$", enSyntaxError, 1},
      {"2*-3", enSyntaxError, 3},     {"2+*3", enSyntaxError, 3},
      {"2 3", enSyntaxError, 3},      {"1 5", enSyntaxError, 3},
      {"1+2)", enSyntaxError, 4},     {"(1+2)3", enSyntaxError, 6},
      {"(1+2 3)", enSyntaxError, 6},  {"SIN30", enSyntaxError, 5},
      {"PI2", enSyntaxError, 3},      {"TRUE-1", enSyntaxError, 6},
      {"1E+3", enSyntaxError, 2},     {"1.2.3", enSyntaxError, 5},
      {"1E999", enSyntaxError, 5},    {"5 <", enSyntaxError, 3},
      {"5 <> ", enSyntaxError, 5},    {"5 ! 3", enSyntaxError, 3},
      {"--2", enSyntaxError, 2},      {"2^", enSyntaxError, 2},
      {"2^-1", enSyntaxError, 3},     {"SQRT", enSyntaxError, 4},
      {"(", enSyntaxError, 1},        {"2[3]", enSyntaxError, 2},
      {"abc+1", enSyntaxError, 3},    {"SQRT(-1)", enSyntaxError, 8},
      {"1/0", enInfinityError, 3},    {"1/(2-2)", enInfinityError, 7},
      {"LOG 0", enInfinityError, 5},  {"LN(-1)", enInfinityError, 6},
      {"TAN 90", enInfinityError, 6}, {"TANR(PI/2)", enInfinityError, 10},
      {"0^0", enPowerError, 3},       {"0^(-2)", enPowerError, 6},
      {"ASIN 2", enMathError, 6},
  });
}

// C arithmetic does not trap, so every infinite or undefined result is caught where it arises
// and reported like a fault inside a factor, also at the top level of the formula.
TEST(Expression, InfiniteOrUndefinedResultsAreMathErrors) {
  ExpectErrors({
      {"1E300*1E300", enMathError, 11},
      {"(1E300*1E300)", enMathError, 13},
      {"1E308+1E308", enMathError, 11},
      {"1E308+1E308-1E308", enMathError, 12},
      {"-1E308-1E308", enMathError, 12},
      {"1E300/1E-300", enMathError, 12},
      {"10^400", enMathError, 6},
      {"(-8)^(1/3)", enMathError, 10},
      {"((-8)^(1/3))", enMathError, 12},
      {"EXP 1000", enMathError, 8},
      {"SINH 1000", enMathError, 9},
      {"ACOSH 0", enMathError, 7},
      {"ATANH 1", enMathError, 7},
      {"FACT 171", enMathError, 8},
      {"FACT 1E9", enMathError, 8},
      {"FACT 1E300", enMathError, 10},
      {"RADTODEG 1E307", enMathError, 14},
      {"2PI*1E308", enMathError, 9},
      // The bits of a number beyond the 64-bit range do not exist.
      {"1E19 & 1", enMathError, 8},
      {"1 | (-1E19)", enMathError, 11},
  });
  ExpectValues({
      {"FACT 170", 7.257415615307998967e306},
      {"EXP(-1000)", 0},
      {"-9223372036854775808 & (0-1)", -9223372036854775808.0},
      {"9223372036854774784 | 1", 9223372036854774784.0},
  });
}

// A comparison reads the same with or without blanks around it, and "not equal", "at most" and
// "at least" have the forms people type: "<>", "!=", "≠", "≦", "≧" (and the full-width ones).
TEST(Expression, ComparisonsWithAndWithoutBlanks) {
  ExpectValues({
      {"5 > 3", 1},
      {"5> 3", 1},
      {"5 >3", 1},
      {"5>3", 1},
      {"3>5", 0},
      {"5>5", 0},
      {"3 < 5", 1},
      {"3 <5", 1},
      {"3< 5", 1},
      {"3<5", 1},
      {"5<3", 0},
      {"5<5", 0},
      {"3 <= 5", 1},
      {"3<=5", 1},
      {"5<=5", 1},
      {"6<=5", 0},
      {"5>=5", 1},
      {"4>=5", 0},
      {"5 >= 5", 1},
      {"4 >= 5", 0},
      {"5 <> 3", 1},
      {"5<>3", 1},
      {"5<>5", 0},
      {"5!=3", 1},
      {"5 != 5", 0},
      {"5≠3", 1},
      {"5 ≠ 5", 0},
      {"3≦5", 1},
      {"5≦5", 1},
      {"6 ≦ 5", 0},
      {"5≧5", 1},
      {"4≧5", 0},
      {"3≤5", 1},
      {"5≥6", 0},
      {"５＞３", 1},
      {"３＜５", 1},
      {"３＜＝５", 1},
      {"５＞＝６", 0},
      {"５＜＞５", 0},
      {"５！＝３", 1},
      {"5 = 5", 1},
      {"5=4", 0},
      // One precedence level with the sums, left to right, as before.
      {"1+2>2", 1},
      {"2>1+2", 3},
      {"1<2<3", 1},
      {"3>2>1", 0},
      {"2*3>=6", 1},
      {"(1<>2)*5", 5},
      {"-1<0", 1},
      {"2^3>7", 1},
      {"50%<1", 1},
      {"SIN 30<1", 1},
      {"PI>3", 1},
      {"TRUE<>FALSE", 1},
  });
}

TEST(Expression, FullWidthInputIsReadAsHalfWidth) {
  ExpectValues({
      {"２×３", 6},
      {"ｓｉｎ 30", 0.5},
      {"ＳＩＮ　３０", 0.5},  // the ideographic space is a blank
      {"（１＋２）＊３", 9},
      {"６÷３", 2},
      {"５ー２", 3},
      {"５ｰ２", 3},
      {"５―２", 3},
      {"１０－４", 6},
      {"５　＞　３", 1},
      {"３　＜＝　５", 1},
      {"ｐｉ", kPi},
      {"５０％", 0.5},
      {"１．５Ｅ３", 1500},
  });
  // Positions count characters, not bytes.
  ExpectErrors({
      {"２＋＊３", enSyntaxError, 3},
      {"距離+1", enSyntaxError, 2},
      {"１／０", enInfinityError, 3},
  });
}

TEST(Expression, LengthLimitCountsCharacters) {
  TExpression expression;
  const std::string ascii = " 1" + Repeat("+1", 511);  // 1024 characters
  EXPECT_EQ(expression.Calc(ascii), 512);
  const std::string wide = "　１" + Repeat("＋１", 511);  // 1024 characters, 3072 bytes
  EXPECT_EQ(expression.Calc(wide), 512);

  // Too long is refused before anything is read: the position stays from the last evaluation.
  EXPECT_THROW(expression.Calc("1+"), EExpressionError);
  try {
    expression.Calc(ascii + "1");
    ADD_FAILURE() << "1025 characters were evaluated";
  } catch (const EExpressionError& error) {
    EXPECT_EQ(error.ErrorNumber(), enExpressionMaxLengthOver);
    EXPECT_EQ(error.ErrorIndex(), 2);
  }
  EXPECT_EQ(expression.ErrorNumber(), enExpressionMaxLengthOver);
  EXPECT_THROW(expression.Calc(wide + "１"), EExpressionError);
  EXPECT_EQ(expression.ErrorNumber(), enExpressionMaxLengthOver);
}

TEST(Expression, HalfWidthTextIsCutAfterMapping) {
  // Each ガ becomes two characters (ｶﾞ); of the mapped text only 1024 characters are kept and the
  // end marker follows them.
  TExpression expression;
  EXPECT_EQ(expression.Calc("1$" + Repeat("ガ", 600)), 1);
  EXPECT_EQ(expression.GetFormula(1023), U'ｶ');
  EXPECT_EQ(expression.GetFormula(1024), U'ﾞ');
  EXPECT_EQ(expression.GetFormula(1025), U'$');
  EXPECT_EQ(expression.GetFormula(1026), 0U);
}

TEST(Expression, ObjectStaysUsableAndErrorStateFollowsTheLastEvaluation) {
  TExpression expression;
  EXPECT_THROW(expression.Calc("2+*3"), EExpressionError);
  EXPECT_EQ(expression.ErrorNumber(), enSyntaxError);
  EXPECT_EQ(expression.ErrorIndex(), 3);
  EXPECT_EQ(expression.Calc("1+2"), 3);
  EXPECT_EQ(expression.ErrorNumber(), enNotError);
  EXPECT_EQ(expression.ErrorIndex(), 0);
  EXPECT_THROW(expression.Calc("LOG 0"), EExpressionError);
  EXPECT_EQ(expression.Calc(""), 0);
  EXPECT_EQ(expression.ErrorNumber(), enNotError);
  EXPECT_EQ(expression.ErrorIndex(), 0);
}

TEST(Expression, FormulaCharactersCanBeReadAndReplaced) {
  TExpression expression;
  EXPECT_EQ(expression.Calc("ｓｉｎ 30"), 0.5L);
  EXPECT_EQ(expression.GetFormula(1), U'S');
  EXPECT_EQ(expression.GetFormula(7), U'$');
  EXPECT_EQ(expression.GetFormula(0), 0U);
  EXPECT_EQ(expression.GetFormula(8), 0U);
  expression.SetFormula(1, U'C');
  EXPECT_EQ(expression.GetFormula(1), U'C');
  EXPECT_THROW(expression.SetFormula(8, U'1'), std::out_of_range);
}

TEST(Expression, OperatorCharactersAreNormalised) {
  EXPECT_EQ(TExpression::NormalizeOperatorChars("3×4÷2ー1ｰ1―1 速度"), "3*4/2-1-1-1 速度");
  EXPECT_EQ(TExpression::NormalizeFormula("ｓｐｅｅｄ×ガ"), U"SPEED*ｶﾞ");
}

// The nesting depth is bounded only by the length limit, so the deepest formulas the limit
// allows must fit a modest stack, also in sanitizer builds (whose frames are several times
// larger). They run on a thread with 1 MiB of stack, an eighth of the usual main thread.
void* EvaluateDeepFormulas(void* failures) {
  auto& messages = *static_cast<std::vector<std::string>*>(failures);
  const auto expect = [&](const std::string& formula, double expected) {
    TExpression expression;
    try {
      const Extended value = expression.Calc(formula);
      if (value != expected) messages.push_back(formula.substr(0, 20) + "... gave " + FormatGeneral(value));
    } catch (const EExpressionError& error) {
      messages.push_back(formula.substr(0, 20) + "... raised " + ExpressionErrorName(error.ErrorNumber()));
    }
  };
  const auto expectError = [&](const std::string& formula, int index) {
    TExpression expression;
    try {
      expression.Calc(formula);
      messages.push_back(formula.substr(0, 20) + "... gave a value");
    } catch (const EExpressionError& error) {
      if (error.ErrorNumber() != enSyntaxError || error.ErrorIndex() != index) {
        messages.push_back(formula.substr(0, 20) + "... raised " + ExpressionErrorName(error.ErrorNumber()) + " at " +
                           std::to_string(error.ErrorIndex()));
      }
    }
  };
  expectError(std::string(1024, '('), 1024);
  expect(std::string(512, '(') + "1" + std::string(511, ')'), 1);
  expect(Repeat("INT(", 255) + "7", 7);
  expect(Repeat("INT ", 255) + "7", 7);
  expect(Repeat("-(", 511) + "2", -2);
  expect(Repeat("1^(", 341) + "5", 1);
  return nullptr;
}

TEST(Expression, DeepestNestingFitsAModestStack) {
  std::vector<std::string> failures;
  pthread_attr_t attributes;
  ASSERT_EQ(pthread_attr_init(&attributes), 0);
  ASSERT_EQ(pthread_attr_setstacksize(&attributes, 1024 * 1024), 0);
  pthread_t thread;
  ASSERT_EQ(pthread_create(&thread, &attributes, EvaluateDeepFormulas, &failures), 0);
  ASSERT_EQ(pthread_join(thread, nullptr), 0);
  pthread_attr_destroy(&attributes);
  for (const auto& failure : failures) ADD_FAILURE() << failure;
}

}  // namespace
}  // namespace hakuvo
