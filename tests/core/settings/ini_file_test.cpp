#include "core/settings/ini_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <random>

#include "core/common/hakuvo_error.h"
#include "core/common/utf16.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

TIniFile Parse(std::string_view text) {
  TIniFile ini;
  ini.LoadFromText(text);
  return ini;
}

// What a reader sees after the document went through its file form.
TIniFile Reloaded(const TIniFile& ini) {
  TIniFile copy;
  copy.LoadFromBytes(ini.SaveToBytes());
  return copy;
}

// ---- UTF-16 and UTF-8 conversion -------------------------------------------------------------

TEST(Utf16, WellFormedTextRoundTrips) {
  for (const std::string text : {"", "Jogging.ini", "跳記 ジョギング", "絵文字 😀 と 𠮷野家", "\t=[]\"\\"}) {
    EXPECT_TRUE(IsValidUtf8(text)) << text;
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(text)), text);
    EXPECT_EQ(Utf16LeBytesToUtf8(Utf8ToUtf16LeBytes(text, false)), text);
    EXPECT_EQ(DecodeUnicodeText(Utf8ToUtf16LeBytes(text, true)), text);
  }
  EXPECT_EQ(Utf8ToUtf16("😀"), std::u16string(u"\xD83D\xDE00"));
  EXPECT_EQ(Utf8ToUtf16LeBytes("A記", true), std::string("\xFF\xFE"
                                                         "A\0\x18\x8A",
                                                         6));
}

TEST(Utf16, IllFormedInputBecomesReplacementCharacters) {
  const std::string fffd = "\xEF\xBF\xBD";
  struct Case {
    std::string Input;
    std::string Expected;
  };
  const Case utf8Cases[] = {
      {"a\xC0\xAF"
       "b",
       "a" + fffd + fffd + "b"},                        // overlong "/"
      {"\xED\xA0\x80", fffd + fffd + fffd},             // an encoded surrogate
      {"\xF4\x90\x80\x80", fffd + fffd + fffd + fffd},  // above U+10FFFF
      {"\xF5", fffd},
      {"x\xE3\x81", "x" + fffd + fffd},  // cut short at the end
      {"\xE3\x81"
       "a",
       fffd + fffd + "a"},
      {fffd, fffd},  // a real U+FFFD is well-formed
  };
  for (const Case& c : utf8Cases) {
    EXPECT_EQ(SanitizeUtf8(c.Input), c.Expected);
    EXPECT_EQ(IsValidUtf8(c.Input), c.Input == c.Expected);
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(c.Input)), c.Expected);
  }
  const std::u16string lone[] = {u"\xD83D", u"\xDE00", std::u16string{0xDE00, 0xD83D}, std::u16string{0xD83D, 'a'}};
  const std::string expected[] = {fffd, fffd, fffd + fffd, fffd + "a"};
  for (std::size_t i = 0; i < std::size(lone); ++i) EXPECT_EQ(Utf16ToUtf8(lone[i]), expected[i]);
}

TEST(Utf16, FileTextIsRecognisedByItsByteOrderMarkOrItsZeroBytes) {
  struct Case {
    std::string Bytes;
    std::string Expected;
  };
  const Case cases[] = {
      {std::string("\xFF\xFE"
                   "a\0=\0",
                   6),
       "a="},
      {std::string("\xFE\xFF\0a\0=", 6), "a="},
      {"\xEF\xBB\xBF"
       "a=記",
       "a=記"},
      {std::string("[\0a\0]\0", 6), "[a]"},  // UTF-16LE without a mark
      {std::string("\0[\0a\0]", 6), "[a]"},  // UTF-16BE without a mark
      {"[記録]", "[記録]"},                  // UTF-8 without a mark
      {std::string("\xFF\xFE"
                   "a\0b",
                   5),
       "a"},  // odd length: the half character is dropped
      {"\xFF\xFE", ""},
      {"\xFF", "\xEF\xBF\xBD"},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodeUnicodeText(c.Bytes), c.Expected);
}

// ---- Reading ---------------------------------------------------------------------------------

constexpr std::string_view Sample =
    "; written by hand\r\n"
    "[Program]\r\n"
    "Left=100\r\n"
    "  Top = 20  \r\n"
    "[File]\r\n"
    "DataFilePath=/home/user/日記\r\n"
    "FileName=\"  spaced name  \"\r\n"
    "Empty=\r\n"
    "not a key line\r\n"
    "[Unknown]\r\n"
    "Whatever=keep me\r\n";

TEST(IniFile, ReadsSectionsAndKeysInOrderWithoutRegardToCase) {
  const TIniFile ini = Parse(Sample);
  EXPECT_EQ(ini.ReadSections(), (TStringList{"Program", "File", "Unknown"}));
  EXPECT_EQ(ini.ReadSection("file"), (TStringList{"DataFilePath", "FileName", "Empty"}));
  EXPECT_TRUE(ini.SectionExists("PROGRAM"));
  EXPECT_TRUE(ini.ValueExists("program", "top"));
  EXPECT_FALSE(ini.ValueExists("Program", "Width"));
  EXPECT_FALSE(ini.ValueExists("File", "not a key line"));
  EXPECT_EQ(ini.ReadInteger("PROGRAM", "TOP", 0), 20);
  EXPECT_EQ(ini.ReadString("File", "datafilepath", ""), "/home/user/日記");
  EXPECT_EQ(ini.ReadString("File", "FileName", ""), "  spaced name  ");
  EXPECT_EQ(ini.ReadString("File", "Empty", "default"), "");  // present but empty is not missing
  EXPECT_EQ(ini.ReadString("File", "Missing", "default"), "default");
  EXPECT_EQ(ini.ReadString("Nowhere", "Left", "default"), "default");
}

TEST(IniFile, TypedValuesFallBackToTheDefaultWhenTheyDoNotConvert) {
  struct Case {
    const char* Text;
    int Integer;
    bool Boolean;
    double Float;
  };
  // Defaults used below: integer -1, Boolean true, float -1.
  const Case cases[] = {
      {"12", 12, true, 12},
      {" -3 ", -3, true, -3},
      {"0", 0, false, 0},
      {"2", 2, true, 2},
      {"1.5", -1, true, 1.5},
      {"1E-7", -1, true, 1e-7},
      {"45678.5", -1, true, 45678.5},
      {"1,5", -1, true, -1},
      {"abc", -1, true, -1},
      {"", -1, true, -1},
      {"99999999999", -1, true, 99999999999.0},
      {"NAN", -1, true, -1},
      {"0x10", -1, true, -1},
      {"-0", 0, false, 0},
  };
  for (const Case& c : cases) {
    TIniFile ini;
    ini.WriteString("S", "K", c.Text);
    EXPECT_EQ(ini.ReadInteger("S", "K", -1), c.Integer) << c.Text;
    EXPECT_EQ(ini.ReadBool("S", "K", true), c.Boolean) << c.Text;
    EXPECT_DOUBLE_EQ(ini.ReadFloat("S", "K", -1), c.Float) << c.Text;
  }
  TIniFile ini;
  EXPECT_FALSE(ini.ReadBool("S", "Missing", false));
  EXPECT_TRUE(ini.ReadBool("S", "Missing", true));
}

TEST(IniFile, RepeatedSectionsAreOneAndTheFirstCopyOfAKeyCounts) {
  const TIniFile ini = Parse("[A]\nx=1\n[b]\ny=2\n[a]\nX=3\nz=4\n");
  EXPECT_EQ(ini.ReadSections(), (TStringList{"A", "b"}));
  EXPECT_EQ(ini.ReadSection("A"), (TStringList{"x", "z"}));
  EXPECT_EQ(ini.ReadInteger("A", "x", 0), 1);
  EXPECT_EQ(ini.ReadInteger("A", "z", 0), 4);
  EXPECT_EQ(Reloaded(ini).Text(), ini.Text());
}

// ---- Writing ---------------------------------------------------------------------------------

TEST(IniFile, WritingKeepsUnknownContentAndOrder) {
  TIniFile ini = Parse(Sample);
  ini.WriteInteger("program", "left", 5);  // an existing key keeps its place and its spelling
  ini.WriteString("File", "New", "added at the end of its section");
  ini.WriteBool("Thumbnail", "Auto", true);  // a new section goes to the end
  ini.WriteFloat("Energy", "Weight", 60.5L);
  EXPECT_EQ(ini.Text(),
            "; written by hand\r\n"
            "\r\n"
            "[Program]\r\n"
            "Left=5\r\n"
            "Top=20\r\n"
            "\r\n"
            "[File]\r\n"
            "DataFilePath=/home/user/日記\r\n"
            "FileName=\"  spaced name  \"\r\n"
            "Empty=\r\n"
            "not a key line\r\n"
            "New=added at the end of its section\r\n"
            "\r\n"
            "[Unknown]\r\n"
            "Whatever=keep me\r\n"
            "\r\n"
            "[Thumbnail]\r\n"
            "Auto=1\r\n"
            "\r\n"
            "[Energy]\r\n"
            "Weight=60.5\r\n");
  EXPECT_EQ(Reloaded(ini).Text(), ini.Text());
}

TEST(IniFile, EveryValueReadsBackAsWritten) {
  const std::string values[] = {"",
                                "plain",
                                "  leading",
                                "trailing\t",
                                "\"quoted\"",
                                "\"",
                                "\"\"",
                                "a=b=c",
                                "[Section]",
                                "; not a comment",
                                "日本語のパス",
                                "tab\tinside",
                                "150\t300",
                                std::string("nul\0inside", 10)};
  TIniFile ini;
  for (std::size_t i = 0; i < std::size(values); ++i) ini.WriteString("Values", "Key" + std::to_string(i), values[i]);
  const TIniFile reloaded = Reloaded(ini);
  for (std::size_t i = 0; i < std::size(values); ++i) {
    EXPECT_EQ(reloaded.ReadString("Values", "Key" + std::to_string(i), "?"), values[i]) << i;
  }
  EXPECT_EQ(reloaded.ReadSection("Values").size(), std::size(values));
}

TEST(IniFile, AValueCannotSmuggleInLinesOrBrokenText) {
  TIniFile ini;
  ini.WriteString("File", "FileName", "/tmp/a\r\n[File]\nFileName=/etc/passwd");
  ini.WriteString("File", "Bad", "x\xFFy");
  const TIniFile reloaded = Reloaded(ini);
  EXPECT_EQ(reloaded.ReadSections(), TStringList{"File"});
  EXPECT_EQ(reloaded.ReadSection("File"), (TStringList{"FileName", "Bad"}));
  EXPECT_EQ(reloaded.ReadString("File", "FileName", ""), "/tmp/a  [File] FileName=/etc/passwd");
  EXPECT_EQ(ini.ReadString("File", "FileName", ""), reloaded.ReadString("File", "FileName", ""));
  EXPECT_EQ(reloaded.ReadString("File", "Bad", ""), "x\xEF\xBF\xBDy");
}

TEST(IniFile, NamesThatCouldNotBeReadBackAreRefused) {
  const std::pair<const char*, const char*> invalid[] = {
      {"", "Key"},  {" S", "Key"}, {"S]", "Key"}, {"S\n", "Key"}, {"S", ""},    {"S", "a=b"},
      {"S", "[K]"}, {"S", ";K"},   {"S", "#K"},   {"S", "K "},    {"S", "K\r"},
  };
  for (const auto& [section, key] : invalid) {
    TIniFile ini;
    EXPECT_THROW(ini.WriteString(section, key, "v"), EHakuvoError) << section << " / " << key;
    EXPECT_TRUE(ini.ReadSections().empty());
  }
}

TEST(IniFile, ErasedSectionsAndDeletedKeysAreGoneAndTheRestStillFound) {
  TIniFile ini = Parse("[A]\na=1\nb=2\nc=3\n[B]\nx=1\n[C]\ny=2\n");
  ini.DeleteKey("a", "A");
  ini.DeleteKey("A", "missing");
  ini.DeleteKey("missing", "a");
  EXPECT_FALSE(ini.ValueExists("A", "a"));
  EXPECT_EQ(ini.ReadInteger("A", "c", 0), 3);  // found through the index after the shift
  ini.WriteInteger("A", "c", 30);
  EXPECT_EQ(ini.ReadSection("A"), (TStringList{"b", "c"}));
  EXPECT_EQ(ini.ReadInteger("A", "c", 0), 30);

  ini.EraseSection("b");
  EXPECT_FALSE(ini.SectionExists("B"));
  EXPECT_EQ(ini.ReadInteger("C", "y", 0), 2);
  ini.WriteInteger("B", "x", 9);  // comes back empty, at the end
  EXPECT_EQ(ini.ReadSections(), (TStringList{"A", "C", "B"}));
  EXPECT_EQ(ini.ReadSection("B"), TStringList{"x"});
}

TEST(IniFile, BinaryValuesAreHexadecimalText) {
  std::string bytes;
  for (int i = 0; i < 256; ++i) bytes += static_cast<char>(i);
  TIniFile ini;
  ini.WriteBinary("Window", "RightPanelDockInfo", bytes);
  ini.WriteBinary("Window", "Small", std::string("\x00\xAB\xff", 3));
  EXPECT_EQ(ini.ReadString("Window", "Small", ""), "00ABFF");
  EXPECT_EQ(Reloaded(ini).ReadBinary("Window", "RightPanelDockInfo"), bytes);
  for (const char* bad : {"0G", "ABC", "zz"}) {
    ini.WriteString("Window", "Bad", bad);
    EXPECT_EQ(ini.ReadBinary("Window", "Bad"), "") << bad;
  }
  EXPECT_EQ(ini.ReadBinary("Window", "Missing"), "");
}

// ---- Files -----------------------------------------------------------------------------------

class IniFileOnDisk : public testing::Test {
 protected:
  test::TTempFolder Temp;
  fs::path Folder = Temp.Path();
};

TEST_F(IniFileOnDisk, AMissingFileIsAnEmptyDocument) {
  const TIniFile ini(Folder / "Jogging.ini");
  EXPECT_TRUE(ini.ReadSections().empty());
  EXPECT_EQ(ini.FileName(), Folder / "Jogging.ini");
  EXPECT_EQ(ini.ReadInteger("ToolBar", "Icon", 16), 16);
}

TEST_F(IniFileOnDisk, SavesUtf16WithMarkCreatingFoldersAndKeepsWhatOthersWrote) {
  const fs::path file = Folder / "Orimaze" / "Hakuvo" / "Jogging.ini";
  {
    TIniFile ini;
    ini.WriteString("File", "HistoryFile0", "/home/user/走る.hkvj");
    ini.WriteInteger("File", "HistoryFileNum", 1);
    ini.SaveToFile(file);
  }
  const std::string bytes = ReadAll(file);
  EXPECT_EQ(bytes.substr(0, 6), std::string("\xFF\xFE[\0F\0", 6));
  EXPECT_EQ(DecodeUnicodeText(bytes), "[File]\r\nHistoryFile0=/home/user/走る.hkvj\r\nHistoryFileNum=1\r\n");

  TIniFile settings(file);  // another part of the program writes its own keys
  settings.WriteString("File", "FileName", "/home/user/走る.hkvj");
  settings.WriteInteger("Program", "Left", 10);
  settings.UpdateFile();

  const TIniFile reread(file);
  EXPECT_EQ(reread.ReadString("File", "HistoryFile0", ""), "/home/user/走る.hkvj");
  EXPECT_EQ(reread.ReadInteger("Program", "Left", 0), 10);
  EXPECT_EQ(reread.ReadSection("File"), (TStringList{"HistoryFile0", "HistoryFileNum", "FileName"}));
  EXPECT_EQ(std::distance(fs::directory_iterator(file.parent_path()), fs::directory_iterator()), 1);
}

TEST_F(IniFileOnDisk, FilesOfOtherEncodingsAreRead) {
  const std::pair<const char*, std::string> files[] = {
      {"utf8.ini", "[Map]\nZoom=15\n"},
      {"utf8bom.ini", "\xEF\xBB\xBF[Map]\r\nZoom=15\r\n"},
      {"utf16le.ini", Utf8ToUtf16LeBytes("[Map]\r\nZoom=15\r\n", false)},
  };
  for (const auto& [name, bytes] : files) {
    std::ofstream(Folder / name, std::ios::binary) << bytes;
    EXPECT_EQ(TIniFile(Folder / name).ReadInteger("Map", "Zoom", 13), 15) << name;
  }
}

TEST_F(IniFileOnDisk, AFileThatCannotBeReadIsAnErrorNamingIt) {
  fs::create_directory(Folder / "Jogging.ini");
  try {
    TIniFile ini(Folder / "Jogging.ini");
    ADD_FAILURE() << "no error";
  } catch (const EHakuvoError& error) {
    EXPECT_NE(std::string(error.what()).find((Folder / "Jogging.ini").string()), std::string::npos);
  }
}

// ---- Damaged input ---------------------------------------------------------------------------

TEST(IniFile, DamagedBytesAreReadAsFarAsTheyGoAndRewriteStably) {
  std::mt19937 random(20240501);
  std::vector<std::string> inputs = {
      std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0v\0\x00\xD8", 18),     // ends in half a surrogate pair
      std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0\x00\xDC\x41\0", 18),  // lone low surrogate in a value
      std::string("\xFF\xFE[\0A\0]\0\n\0k\0=\0v\0\n", 17),           // odd byte count
      std::string("[A]\nk=v\0w\n\0\0\0", 13),
      "[\n]\n[]\n[ ]\n=\n==\n[A\nk=v\n[A]]\n;\n#",
      "\xFE\xFF",
      "\xEF\xBB\xBF",
  };
  for (int i = 0; i < 200; ++i) {
    std::string bytes(random() % 64, '\0');
    for (char& c : bytes) c = "[]=;#\r\n ak\"\xFF\xFE\xD8\xDC\0"[random() % 16];
    inputs.push_back(bytes);
  }
  for (const std::string& bytes : inputs) {
    TIniFile ini;
    ini.LoadFromBytes(bytes);
    EXPECT_TRUE(IsValidUtf8(ini.Text()));
    EXPECT_EQ(Reloaded(ini).Text(), ini.Text());
  }
  TIniFile ini;
  ini.LoadFromBytes(inputs[1]);
  EXPECT_EQ(ini.ReadString("A", "k", ""),
            "\xEF\xBF\xBD"
            "A");
}

}  // namespace
}  // namespace hakuvo
