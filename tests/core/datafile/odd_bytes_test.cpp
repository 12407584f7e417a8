// Texts that are not well-formed UTF-8, or hold characters XML forbids (a file name in Latin-1,
// a control character typed into a name), keep the diary well-formed XML and come back as the
// very bytes they were.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <pugixml.hpp>
#include <string>

#include "core/common/utf16.h"
#include "core/datafile/diary.h"
#include "core/model/link_data.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

struct TOddText {
  const char* What;
  std::string Bytes;
};

const TOddText kOddTexts[] = {
    {"plain Japanese", "写真 01.jpg"},
    {"Latin-1 e acute", "caf\xE9.jpg"},
    {"Shift_JIS", "\x8E\xCA\x90\x5E.jpg"},
    {"a lone continuation byte", "a\x80z"},
    {"an overlong slash", "\xC0\xAF"},
    {"an encoded surrogate", "\xED\xA0\x80"},
    {"a control character", "tab\tok, bell\x07 not"},
    {"U+FFFE", "\xEF\xBF\xBE"},
    {"a real character of the escape range", "\xF4\x8F\xBE\x80"},
    {"the escape of 0xE9 next to a raw 0xE9", "\xF4\x8F\xBF\xA9\xE9"},
    {"a truncated sequence at the end", "end\xE3\x81"},
};

TEST(OddBytes, EscapesAreReversibleAndLeaveOrdinaryTextAlone) {
  for (const TOddText& c : kOddTexts) {
    SCOPED_TRACE(c.What);
    const std::string escaped = EscapeToUtf8Text(c.Bytes);
    EXPECT_TRUE(IsValidUtf8(escaped));
    EXPECT_EQ(UnescapeUtf8Text(escaped), c.Bytes);
  }
  // Different bytes never give the same text.
  EXPECT_NE(EscapeToUtf8Text("\xE9"), EscapeToUtf8Text("\xF4\x8F\xBF\xA9"));
  EXPECT_EQ(EscapeToUtf8Text("写真 01.jpg"), "写真 01.jpg");
  EXPECT_EQ(EscapeToUtf8Text("line\r\nbreak\ttab"), "line\r\nbreak\ttab");
}

TEST(OddBytes, TheSavedDiaryIsWellFormedXmlAndReadsBackTheSameBytes) {
  test::TTempFolder folder;
  const std::string name = folder.Path("d.hkvj");
  {
    TDiary diary(name);
    TDayData& day = *diary.Days.Add(std::make_unique<TDayData>());
    day.DateData = 45000;
    for (const TOddText& c : kOddTexts) {
      auto link = std::make_unique<TFileLink>();
      link->FileName = "/photos/" + c.Bytes;
      diary.Files.Add(std::move(link));
    }
    auto act = std::make_unique<TActData>();
    act->Title = kOddTexts[1].Bytes;
    day.AddAct(std::move(act));
    diary.Save();
  }
  std::ifstream in(name, std::ios::binary);
  const std::string bytes{std::istreambuf_iterator<char>(in), {}};
  EXPECT_TRUE(IsValidUtf8(bytes));
  EXPECT_EQ(bytes.find('\x07'), std::string::npos);
  EXPECT_EQ(bytes.find("&#7;"), std::string::npos);
  pugi::xml_document document;
  EXPECT_TRUE(document.load_buffer(bytes.data(), bytes.size()));

  TDiary reread(name);
  reread.Load();
  ASSERT_EQ(reread.Files.List().Count(), static_cast<int>(std::size(kOddTexts)));
  for (std::size_t i = 0; i < std::size(kOddTexts); ++i) {
    SCOPED_TRACE(kOddTexts[i].What);
    const auto* link = dynamic_cast<const TFileLink*>(reread.Files.List()[static_cast<int>(i)]);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->FileName, "/photos/" + kOddTexts[i].Bytes);
  }
  EXPECT_EQ(reread.Days[0]->ActDataList[0]->Title, kOddTexts[1].Bytes);
}

// Another tool may write an escape as a character reference, in any of its forms; references to
// other characters, the line breaks of every memo among them, are no escapes.
TEST(OddBytes, EscapesWrittenAsCharacterReferencesReadBackAsTheirBytes) {
  struct TCase {
    const char* Attribute;
    std::string Bytes;
  };
  const TCase cases[] = {
      {"caf&#x10FFE9;.jpg", "caf\xE9.jpg"},
      {"caf&#x10ffe9;.jpg", "caf\xE9.jpg"},
      {"caf&#x0010FFE9;.jpg", "caf\xE9.jpg"},
      {"caf&#1114089;.jpg", "caf\xE9.jpg"},
      {"caf&#0001114089;.jpg", "caf\xE9.jpg"},
      {"a&#13;&#10;b&#x3042;&#12354;.jpg", "a\r\nb\xE3\x81\x82\xE3\x81\x82.jpg"},
      {"a&#13;&#10;b&#x10FF80;.jpg", "a\r\nb\x80.jpg"},
      {"&#x10FEFF;&#1113855;", "\xF4\x8F\xBB\xBF\xF4\x8F\xBB\xBF"},  // just below the escapes
      {"amp&amp;&#38;#x10FFE9;", "amp&&#x10FFE9;"},
  };
  test::TTempFolder folder;
  const std::string name = folder.Path("refs.hkvj");
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Attribute);
    {
      std::ofstream out(name, std::ios::binary | std::ios::trunc);
      out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?><tekuri Ver=\"0.1\"><ファイルリスト><ファイル ファイル名=\"/p/"
          << c.Attribute << "\"/></ファイルリスト></tekuri>";
    }
    TDiary diary(name);
    diary.Load();
    ASSERT_EQ(diary.Files.List().Count(), 1);
    const auto* link = dynamic_cast<const TFileLink*>(diary.Files.List()[0]);
    ASSERT_NE(link, nullptr);
    EXPECT_EQ(link->FileName, "/p/" + c.Bytes);
  }
}

}  // namespace
}  // namespace hakuvo
