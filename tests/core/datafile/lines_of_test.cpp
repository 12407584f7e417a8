// The reader's own line splitting of memos must cut exactly where SplitLines cuts.

#include <gtest/gtest.h>

#include <string>

#include "core/common/text_util.h"
#include "core/datafile/xml_element_reader.h"

namespace hakuvo {
namespace {

TEST(LinesOf, CutsAtEveryKindOfLineBreakLikeSplitLines) {
  const struct {
    const char* Text;
    TStringList Lines;
  } cases[] = {
      {"", {}},
      {"一行", {"一行"}},
      {"一\n二", {"一", "二"}},
      {"一\r\n二", {"一", "二"}},
      {"一\r二", {"一", "二"}},
      {"一\n", {"一"}},  // no line after a final break
      {"一\r\n", {"一"}},
      {"\n", {""}},
      {"\r\n\r\n", {"", ""}},
      {"\n\r", {"", ""}},  // LF then CR: two breaks, not one
      {"\r\r\n", {"", ""}},
      {"一\n\n三", {"一", "", "三"}},
      {"  空白 \t", {"  空白 \t"}},
      {"a\r\nb\nc\rd\r\n\r\ne", {"a", "b", "c", "d", "", "e"}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(LinesOf(c.Text), c.Lines) << '"' << c.Text << '"';
    EXPECT_EQ(LinesOf(c.Text), SplitLines(c.Text)) << '"' << c.Text << '"';
  }
}

TEST(LinesOf, LongMemosOfManyLines) {
  std::string text;
  TStringList expected;
  for (int i = 0; i < 200; ++i) {
    expected.push_back(std::string(static_cast<std::size_t>(i % 37), 'x') + "行" + std::to_string(i));
    text += expected.back();
    text += i % 3 == 0 ? "\r\n" : i % 3 == 1 ? "\n" : "\r";
  }
  EXPECT_EQ(LinesOf(text.c_str()), expected);
}

}  // namespace
}  // namespace hakuvo
