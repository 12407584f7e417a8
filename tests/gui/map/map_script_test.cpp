#include "gui/map/map_script.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/gps/gps_file.h"

namespace hakuvo {
namespace {

TEST(MapScriptTest, VertexCoordinatesToTheNanodegree) {
  const struct {
    double value;
    const char* text;
  } cases[] = {
      {35.60009, "35.60009"},
      {-0.5, "-0.5"},
      {139, "139"},
      {0, "0"},
      {-1e-10, "0"},  // rounds to nothing, and no "-0"
      {35.6815123456789, "35.681512346"},
      {1e-7, "0.0000001"},
      {-179.9999999996, "-180"},
      {139.7000000004, "139.7"},
      {std::numeric_limits<double>::quiet_NaN(), "0"},
      {std::numeric_limits<double>::infinity(), "0"},
      {2e12, "2000000000000"},  // no coordinate, but no overflow either
  };
  TGpsFile track;
  std::vector<int> vertices;
  QString expected = QStringLiteral("[");
  for (const auto& c : cases) {
    vertices.push_back(track.GpsList.Count());
    track.GpsList.Add(0, c.value, -c.value, 0);
    const QString text = QString::fromLatin1(c.text);
    const QString negated = text == "0" ? text : text.startsWith('-') ? text.mid(1) : QLatin1Char('-') + text;
    if (expected.size() > 1) expected += QLatin1Char(',');
    expected += text + QLatin1Char(',') + (std::isnan(c.value) ? text : negated);
  }
  expected += QLatin1Char(']');
  EXPECT_EQ(JsVertexArray(track, vertices), expected);
  EXPECT_EQ(JsVertexArray(track, std::vector<int>{}), QStringLiteral("[]"));
}

TEST(MapScriptTest, IntArray) {
  EXPECT_EQ(JsIntArray(std::vector<int>{-1, 0, 10, 5}), QStringLiteral("[-1,0,10,5]"));
  EXPECT_EQ(JsIntArray(std::vector<int>{}), QStringLiteral("[]"));
}

}  // namespace
}  // namespace hakuvo
