#include "core/expr/record_expression_calc.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/model/record_data.h"

namespace hakuvo {
namespace {

// An outing of 6 km in half an hour: 回数 1, 距離 6, 速度 12, 体重 60.
class RecordExpressionCalcTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Record.SetData(6);
    Record.StartTime = EncodeTime(7, 0, 0, 0);
    Record.EndTime = EncodeTime(7, 30, 0, 0);
    Record.Weight = 60;
    Record.IndicationKind = 3;  // whatever the list shows must survive every evaluation
    Calc.SetRecordData(&Record);
  }

  struct ErrorCase {
    const char* Formula;
    TExpressionErrorNumber Number;
    int Index;
  };

  void ExpectErrors(const std::vector<ErrorCase>& cases) {
    for (const auto& c : cases) {
      try {
        Calc.Calc(c.Formula);
        ADD_FAILURE() << "«" << c.Formula << "» gave a value";
      } catch (const EExpressionError& error) {
        EXPECT_STREQ(ExpressionErrorName(error.ErrorNumber()), ExpressionErrorName(c.Number))
            << "«" << c.Formula << "»";
        EXPECT_EQ(error.ErrorIndex(), c.Index) << "«" << c.Formula << "»";
      }
      EXPECT_EQ(Record.IndicationKind, 3) << "«" << c.Formula << "»";
    }
  }

  TJoggingRecord Record;
  TRecordExpressionCalc Calc;
};

TEST_F(RecordExpressionCalcTest, ReferencesStandForTheRecordsValues) {
  const struct {
    const char* Formula;
    double Expected;
  } cases[] = {
      {"[距離] >= 5", 1},
      {"[距離] >= 7", 0},
      {"[距離]*2", 12},
      {"[速度]/[距離]", 2},
      {"5 < [距離]", 1},
      {"[回数]", 1},
      {"[体重] - 60", 0},
      {"2*[距離]", 12},
      {"([距離]+[速度]", 18},
      {"SQRT [速度]*[速度]", 12 * std::sqrt(12.0)},
      {"[距離]^2", 36},
      // Titles are compared like the formula: width and ASCII case do not matter, and the long
      // dash of カロリー reads as "-" on both sides.
      {"[カロリー] = [ｶﾛﾘｰ]", 1},
      {"[ｶﾛﾘ-] > 0", 1},
      // A word after a reference multiplies it like "2PI"; a number does not (below).
      {"[距離]PI", 6 * 3.141592653589793},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(static_cast<double>(Calc.Calc(c.Formula)), c.Expected) << "«" << c.Formula << "»";
    EXPECT_EQ(Record.IndicationKind, 3) << "«" << c.Formula << "»";
  }
}

TEST_F(RecordExpressionCalcTest, UnknownOrUnclosedReferencesAreSyntaxErrors) {
  ExpectErrors({
      {"[高度] > 1", enSyntaxError, 3},  // the end of the unknown title
      {"[距離 > 5", enSyntaxError, 1},
      {"1+[距離", enSyntaxError, 2},
      {"[ 距離]", enSyntaxError, 4},
      {"[]", enSyntaxError, 1},
      {"2[距離]", enSyntaxError, 5},
      {"[距離]2", enSyntaxError, 5},
      {"[距離]/([回数]-1)", enInfinityError, 13},
  });
}

TEST_F(RecordExpressionCalcTest, AValueBeyondTheDoubleRangeIsAMathErrorAndTheKindIsRestored) {
  Record.SetData(1e400L);
  ExpectErrors({{"[距離]", enMathError, 3}, {"[回数] + [速度]", enMathError, 10}});
}

TEST_F(RecordExpressionCalcTest, TheRecordCanChangeBetweenEvaluations) {
  TWalkingRecord walking;
  walking.Pedometer = 8000;
  walking.IndicationKind = 0;
  Calc.SetRecordData(&walking);
  EXPECT_EQ(Calc.Calc("[歩数] / 1000"), 8);
  EXPECT_EQ(walking.IndicationKind, 0);
  Calc.SetRecordData(&Record);
  EXPECT_EQ(Calc.Calc("[距離]"), 6);
  EXPECT_THROW(Calc.Calc("[歩数]"), EExpressionError);
  EXPECT_EQ(Record.IndicationKind, 3);
}

TEST_F(RecordExpressionCalcTest, AnOutingPastMidnightHasItsHoursAfterIt) {
  Record.StartTime = EncodeTime(23, 45, 0, 0);
  Record.EndTime = EncodeTime(0, 15, 0, 0);
  EXPECT_EQ(Calc.Calc("[速度]"), 12);
  EXPECT_EQ(Calc.Calc("[カロリー] > 0"), 1);
  EXPECT_EQ(Record.IndicationKind, 3);
}

// The way people write conditions in the extraction window.
TEST_F(RecordExpressionCalcTest, ConditionsReadWithOrWithoutBlanks) {
  const struct {
    const char* Formula;
    double Expected;
  } cases[] = {
      {"[距離]>5", 1},       {"[距離]> 5", 1},          {"[距離] >5", 1},       {"[距離]>=6", 1},
      {"[距離]<=5", 0},      {"[距離]<6", 0},           {"5<[距離]", 1},        {"[距離]<>6", 0},
      {"[距離]!=5", 1},      {"[距離]≠6", 0},           {"[距離]≦6", 1},        {"[距離]≧7", 0},
      {"［距離］＞＝５", 1}, {"[速度]>10&[距離]<7", 1}, {"[速度]/[距離]=2", 1}, {"[回数]<>0", 1},
  };
  for (const auto& c : cases) {
    EXPECT_DOUBLE_EQ(static_cast<double>(Calc.Calc(c.Formula)), c.Expected) << "«" << c.Formula << "»";
    EXPECT_EQ(Record.IndicationKind, 3) << "«" << c.Formula << "»";
  }
}

// An error names what is wrong and the stretch of the formula as typed, so that a window can
// select it; the number and position of the error stay what they always were.
TEST_F(RecordExpressionCalcTest, ErrorsNameWhatIsWrongAndWhere) {
  const struct {
    const char* Formula;
    TExpressionErrorDetail Detail;
    const char* Text;
    int Start;
    int Length;
  } cases[] = {
      {"[高度] > 1", edUnknownTitle, "高度", 0, 4},
      {"1 + [ 距離]", edUnknownTitle, " 距離", 4, 5},
      {"[距離 > 5", edUnclosedReference, "", 0, 7},
      {"距離>10", edBareTitle, "距離", 0, 2},
      {"[距離] >", edMissingOperand, ">", 5, 1},
      {"[距離] >=", edMissingOperand, ">=", 5, 2},
      {"[距離] > * 2", edMissingOperand, ">", 5, 3},
      {"SQRT", edMissingOperand, "SQRT", 0, 4},
      {"   ", edMissingOperand, "", 3, 0},
      {"ABC + 1", edUnknownWord, "ABC", 0, 3},
      {"SIN30", edUnknownWord, "SIN30", 0, 5},
      {"[距離] 5", edMissingOperator, "5", 5, 1},
      {"2[距離]", edMissingOperator, "[距離]", 1, 4},
      {"1+2)", edUnmatchedParen, ")", 3, 1},
      {"(1 TRUE)", edMissingOperator, "TRUE", 3, 4},
      {"(1 2)", edBadNumber, "1 2", 1, 3},
      {"5 # 3", edBadCharacter, "#", 2, 1},
      {"1.2.3 > 1", edBadNumber, "1.2.3", 0, 5},
      // Full-width and voiced katakana count as the user typed them.
      {"１＋［ガガ］", edUnknownTitle, "ｶﾞｶﾞ", 2, 4},
  };
  for (const auto& c : cases) {
    try {
      Calc.Calc(c.Formula);
      ADD_FAILURE() << "«" << c.Formula << "» gave a value";
    } catch (const EExpressionError& error) {
      EXPECT_EQ(error.ErrorNumber(), enSyntaxError) << "«" << c.Formula << "»";
      EXPECT_EQ(error.Detail(), c.Detail) << "«" << c.Formula << "»";
      EXPECT_EQ(error.DetailText(), c.Text) << "«" << c.Formula << "»";
      EXPECT_EQ(error.SourceStart(), c.Start) << "«" << c.Formula << "»";
      EXPECT_EQ(error.SourceLength(), c.Length) << "«" << c.Formula << "»";
    }
    EXPECT_EQ(Record.IndicationKind, 3) << "«" << c.Formula << "»";
  }
}

TEST(RecordExpressionCalc, WithoutARecordOnlyReferencesFail) {
  TRecordExpressionCalc calc;
  EXPECT_EQ(calc.Calc("1+2"), 3);
  EXPECT_THROW(calc.Calc("[距離]"), EExpressionError);
  EXPECT_EQ(calc.ErrorNumber(), enSyntaxError);
}

}  // namespace
}  // namespace hakuvo
