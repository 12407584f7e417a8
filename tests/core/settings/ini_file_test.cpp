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

TEST(Utf16, IllFormedUtf8IsReplacedWhenSanitisedAndEscapedOtherwise) {
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
    // Through UTF-16 and back every byte survives, also those that are not text.
    EXPECT_EQ(Utf16ToUtf8(Utf8ToUtf16(c.Input)), c.Input);
  }
  // Unpaired surrogates that are not the escape of a byte are not text.
  const std::u16string lone[] = {u"\xD83D", u"\xDE00", std::u16string{0xDE00, 0xD83D}, std::u16string{0xD83D, 'a'},
                                 u"\xDC7F", u"\xDD00"};
  const std::string expected[] = {fffd, fffd, fffd + fffd, fffd + "a", fffd, fffd};
  for (std::size_t i = 0; i < std::size(lone); ++i) EXPECT_EQ(Utf16ToUtf8(lone[i]), expected[i]);
}

// File names on Linux are bytes: a name in Latin-1 or Shift_JIS, or cut in the middle of a
// character, must come back from the UTF-16 file byte for byte.
TEST(Utf16, BytesOutsideUtf8GoThroughUtf16AsEscapesAndComeBackExactly) {
  struct Case {
    const char* Name;
    std::string Bytes;
    std::u16string Units;
  };
  const Case cases[] = {
      {"Latin-1", "/d/caf\xE9.hkvj", u"/d/caf\xDCE9.hkvj"},
      {"Shift_JIS", "/d/\x93\xFA\x8BL.hkvw", u"/d/\xDC93\xDCFA\xDC8BL.hkvw"},
      {"cut character then text", "\xE8\xB7\xE8\xB7\xB3", u"\xDCE8\xDCB7\x8DF3"},
      {"overlong slash", "\xC0\xAF", u"\xDCC0\xDCAF"},
      {"encoded surrogate", "\xED\xB3\x80", u"\xDCED\xDCB3\xDC80"},
      {"beside a pair", "\xFF\xF0\x9F\x98\x80\xFF", u"\xDCFF\xD83D\xDE00\xDCFF"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Utf8ToUtf16(c.Bytes), c.Units) << c.Name;
    EXPECT_EQ(Utf16ToUtf8(c.Units), c.Bytes) << c.Name;
    EXPECT_EQ(Utf16LeBytesToUtf8(Utf8ToUtf16LeBytes(c.Bytes, false)), c.Bytes) << c.Name;
    bool wellFormed = false;
    EXPECT_EQ(DecodeUnicodeText(Utf8ToUtf16LeBytes(c.Bytes, true), &wellFormed), c.Bytes) << c.Name;
    EXPECT_TRUE(wellFormed) << c.Name << ": the escapes are this program's own writing";
  }
}

// Whether a file's bytes were what its form says tells whether a rewrite could lose something.
TEST(Utf16, DecodingTellsWhetherTheBytesWereWellFormed) {
  struct Case {
    const char* Name;
    std::string Bytes;
    std::string Text;
    bool WellFormed;
  };
  const Case cases[] = {
      {"UTF-16LE",
       std::string("\xFF\xFE"
                   "a\0\x18\x8A",
                   6),
       "a記", true},
      {"UTF-8", "[記録]", "[記録]", true},
      {"UTF-8 with mark", "\xEF\xBB\xBFk=v", "k=v", true},
      {"Shift_JIS, kept as bytes", "k=\x93\xFA\x8BL", "k=\x93\xFA\x8BL", false},
      {"UTF-16 with an unpaired surrogate", std::string("\xFF\xFE\x00\xDC", 4), "\xEF\xBF\xBD", false},
      {"UTF-16 of odd length",
       std::string("\xFF\xFE"
                   "a\0b",
                   5),
       "a", false},
  };
  for (const Case& c : cases) {
    bool wellFormed = !c.WellFormed;
    EXPECT_EQ(DecodeUnicodeText(c.Bytes, &wellFormed), c.Text) << c.Name;
    EXPECT_EQ(wellFormed, c.WellFormed) << c.Name;
  }
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
      {"\xFF", "\xFF"},  // not text, kept as it is
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

TEST(IniFile, AValueCannotSmuggleInLinesAndKeepsBytesThatAreNotText) {
  TIniFile ini;
  ini.WriteString("File", "FileName", "/tmp/a\r\n[File]\nFileName=/etc/passwd");
  ini.WriteString("File", "Bad", "x\xFFy");
  const TIniFile reloaded = Reloaded(ini);
  EXPECT_EQ(reloaded.ReadSections(), TStringList{"File"});
  EXPECT_EQ(reloaded.ReadSection("File"), (TStringList{"FileName", "Bad"}));
  EXPECT_EQ(reloaded.ReadString("File", "FileName", ""), "/tmp/a  [File] FileName=/etc/passwd");
  EXPECT_EQ(ini.ReadString("File", "FileName", ""), reloaded.ReadString("File", "FileName", ""));
  EXPECT_EQ(reloaded.ReadString("File", "Bad", ""), "x\xFFy");
  EXPECT_EQ(reloaded.Text(), ini.Text());
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

// A settings file saved in Shift_JIS (as an editor might) cannot be taken as Unicode: its paths
// would come back as something else. Before the first write over it, its bytes are kept beside.
TEST_F(IniFileOnDisk, AFileThatWasNotWellFormedTextIsKeptAsBakBeforeItIsWrittenOver) {
  const fs::path file = Folder / "Jogging.ini";
  // "[File]\nFileName=/home/user/日記.hkvj" in Shift_JIS.
  const std::string shiftJis = "[File]\r\nFileName=/home/user/\x93\xFA\x8BL.hkvj\r\n";
  std::ofstream(file, std::ios::binary) << shiftJis;
  fs::permissions(file, fs::perms::owner_read | fs::perms::owner_write);

  TIniFile ini(file);
  EXPECT_FALSE(ini.IsWellFormed());
  ini.WriteInteger("Program", "Left", 1);
  ini.UpdateFile();
  EXPECT_EQ(ReadAll(Folder / "Jogging.ini.bak"), shiftJis);
  EXPECT_EQ(fs::status(Folder / "Jogging.ini.bak").permissions() & fs::perms::all,
            fs::perms::owner_read | fs::perms::owner_write);
  const TIniFile rewritten(file);
  EXPECT_TRUE(rewritten.IsWellFormed());
  EXPECT_EQ(rewritten.ReadString("File", "FileName", ""), "/home/user/\x93\xFA\x8BL.hkvj");

  // Once kept, later writes make no further copies.
  ini.UpdateFile();
  TIniFile(file).UpdateFile();
  EXPECT_FALSE(fs::exists(Folder / "Jogging.ini.bak.1"));

  // A backup already there is never written over: it may hold an earlier file's paths.
  std::ofstream(file, std::ios::binary) << "k=\xFF";
  TIniFile second(file);
  second.UpdateFile();
  EXPECT_EQ(ReadAll(Folder / "Jogging.ini.bak"), shiftJis);
  EXPECT_EQ(ReadAll(Folder / "Jogging.ini.bak.1"), "k=\xFF");

  // Files that were well-formed text, and copies written elsewhere, leave no backup.
  for (const std::string& bytes : {std::string("[A]\r\nk=v\r\n"), Utf8ToUtf16LeBytes("[A]\r\nk=記\r\n", true)}) {
    const fs::path plain = Folder / "plain.ini";
    std::ofstream(plain, std::ios::binary) << bytes;
    TIniFile(plain).UpdateFile();
    EXPECT_FALSE(fs::exists(Folder / "plain.ini.bak"));
  }
  std::ofstream(file, std::ios::binary) << shiftJis;
  TIniFile(file).SaveToFile(Folder / "copy.ini");
  EXPECT_FALSE(fs::exists(Folder / "copy.ini.bak"));
  EXPECT_FALSE(fs::exists(Folder / "Jogging.ini.bak.2"));
}

// Without a copy the file is not written over: its old bytes stay where they are.
TEST_F(IniFileOnDisk, AFileThatCannotBeKeptIsNotWrittenOver) {
  const fs::path file = Folder / "Jogging.ini";
  const std::string latin1 = "[File]\r\nFileName=/caf\xE9.hkvj\r\n";
  std::ofstream(file, std::ios::binary) << latin1;
  std::ofstream(Folder / "Jogging.ini.bak") << "older";
  for (int i = 1; i < 1000; ++i) std::ofstream(Folder / ("Jogging.ini.bak." + std::to_string(i))) << "older";

  TIniFile ini(file);
  ini.WriteInteger("Program", "Left", 1);
  EXPECT_THROW(ini.UpdateFile(), EHakuvoError);
  EXPECT_EQ(ReadAll(file), latin1);
  EXPECT_EQ(ReadAll(Folder / "Jogging.ini.bak"), "older");
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
    // What is written is well-formed in its own form and reads back as the same document.
    bool wellFormed = false;
    EXPECT_EQ(DecodeUnicodeText(ini.SaveToBytes(), &wellFormed), ini.Text());
    EXPECT_TRUE(wellFormed);
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
