// Actions find their links by code without regard to the letter case, whatever the order and
// whatever the codes look like.

#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "core/datafile/diary_fixture.h"

namespace hakuvo {
namespace {

std::string FileElement(const std::string& name, const std::string& code) {
  return "<ファイル ファイル名=\"" + name + "\" コード=\"" + code + "\"/>";
}

// One action referring to `references` in that order; the names of the links it got, in order.
std::string LinkedNames(const std::vector<std::pair<std::string, std::string>>& files,
                        const std::vector<std::string>& references) {
  std::string text = "<tekuri><ファイルリスト>";
  for (const auto& [name, code] : files) text += FileElement(name, code);
  text +=
      "</ファイルリスト><日リスト><日データ 日付=\"1\" 天気=\"\" メモ=\"\"><行動 カテゴリ=\"1\" ユーザーカテゴリ=\"\" "
      "タイトル=\"\" タグ=\"\" メモ=\"\" 天気=\"\" 気温=\"0\" 風向=\"-1\" 風速=\"0\"><リンク>";
  for (const auto& code : references) text += "<ファイル コード=\"" + code + "\"/>";
  text += "</リンク></行動></日データ></日リスト></tekuri>";
  TDiaryFixture diary;
  diary.LoadString(text);
  std::string names;
  for (const TLinkData* link : diary.Days[0]->ActDataList[0]->LinkDataList) {
    names += dynamic_cast<const TFileLink&>(*link).FileName + " ";
  }
  return names;
}

TEST(LinkCodes, ManyLinksReferredToInAnyOrderAndCase) {
  std::mt19937 random(7);
  std::vector<std::pair<std::string, std::string>> files;
  for (int i = 0; i < 300; ++i) {
    char code[40];
    std::snprintf(code, sizeof code, "{%08X-ABCD-4EF0-8123-%012X}", static_cast<unsigned>(random()), i);
    files.emplace_back("f" + std::to_string(i), code);
  }
  std::vector<int> order(files.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::shuffle(order.begin(), order.end(), random);
  std::vector<std::string> references;
  std::string expected;
  for (const int i : order) {
    std::string code = files[static_cast<std::size_t>(i)].second;
    // Lower case, or upper and lower mixed; the file list has upper case.
    for (std::size_t c = 0; c < code.size(); ++c) {
      if (i % 2 == 0 || c % 3 == 0) code[c] = static_cast<char>(std::tolower(static_cast<unsigned char>(code[c])));
    }
    references.push_back(code);
    expected += files[static_cast<std::size_t>(i)].first + " ";
  }
  references.push_back("{00000000-0000-4000-8000-000000000000}");  // no such link: skipped
  EXPECT_EQ(LinkedNames(files, references), expected);
}

TEST(LinkCodes, CodesOfAnyLengthAndCharactersThatFoldTogetherStayApart) {
  // '@' and '`', '[' and '{' differ by the bit that tells ASCII upper case from lower case, but
  // are different characters: only letters match in either case.
  const std::vector<std::pair<std::string, std::string>> files = {
      {"at", "@A"},
      {"grave", "`a"},
      {"bracket", "[x]"},
      {"brace", "{x]"},
      {"one", "q"},
      {"nine", "ABCDEFGHI"},
      {"kana", "コードＡ"},
      {"sixteen", "0123456789abcdeF"},
      {"seventeen", "0123456789ABCDEFg"},
  };
  const std::vector<std::string> references = {
      "`A",       "@a", "{X]", "[X]", "Q", "abcdefghi", "コードＡ", "0123456789ABCDEf", "0123456789abcdefG",
      "コードａ", "@@"};
  EXPECT_EQ(LinkedNames(files, references), "grave at brace bracket one nine kana sixteen seventeen ");
}

}  // namespace
}  // namespace hakuvo
