#pragma once

#include <cstddef>
#include <filesystem>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "core/common/extended.h"
#include "core/common/text_util.h"

namespace hakuvo {

// An INI document held in memory: "[Section]" lines and "Key=Value" lines, UTF-8 inside and
// UTF-16LE with a byte-order mark on disk.
//
// Section and key names compare without regard to ASCII letter case; their stored spelling is
// the first one seen. Sections, keys, comments and lines the program does not understand keep
// their order and survive a rewrite, so settings written by another version are not lost. A
// section that appears twice is read as one; a key that appears twice in a section counts once
// (the first) and the later copies are dropped.
//
// Values are trimmed of blanks when read; one pair of enclosing double quotes is removed, so a
// value with blanks at its ends (or with quotes of its own) is written quoted and reads back as
// it was given. A line break cannot live in an INI value: WriteString turns CR and LF into
// spaces, so the document in memory always equals what the file will hold. Bytes that are not
// well-formed UTF-8 (a file name in another encoding) are kept exactly: the file holds each as
// an escape of its own (see utf16.h) and reading gives back the same bytes.
//
// A file whose bytes were not well-formed text (a settings file saved as Shift_JIS, a damaged
// one) is copied beside itself as "<name>.bak" before it is first written over: what it held may
// be the user's paths in a form this reader could only guess at.
class TIniFile {
 public:
  TIniFile() = default;
  // Reads `fileName` (see LoadFromFile) and remembers it for UpdateFile.
  explicit TIniFile(const std::filesystem::path& fileName);

  const std::filesystem::path& FileName() const { return FFileName; }

  // Replaces the document with the file's content. A missing file gives an empty document;
  // a file that exists but cannot be read throws EHakuvoError. Any bytes are accepted:
  // whatever is not a section or key line is kept as an unknown line.
  void LoadFromFile(const std::filesystem::path& fileName);
  // Bytes of a file in UTF-16LE/BE or UTF-8, with or without byte-order mark.
  void LoadFromBytes(std::string_view bytes);
  void LoadFromText(std::string_view utf8Text);
  void Clear();

  // Whether the bytes last loaded were well-formed text; a document that did not come from
  // bytes counts as well-formed.
  bool IsWellFormed() const { return FIllFormedBytes.empty(); }

  // The document as UTF-8 text with CR LF line ends, and as the bytes the file holds.
  std::string Text() const;
  std::string SaveToBytes() const;
  // Writes the whole document atomically, creating the folders of the path first. Written over
  // the file it was loaded from while that was not well-formed text, the file's old bytes are
  // first kept as "<name>.bak" (or "<name>.bak.1", ... when that exists); when they cannot be
  // kept, nothing is written and EHakuvoError is thrown.
  void SaveToFile(const std::filesystem::path& fileName);
  void UpdateFile() { SaveToFile(FFileName); }

  bool SectionExists(std::string_view section) const;
  bool ValueExists(std::string_view section, std::string_view key) const;
  // Names of all sections, and of the keys of one section, in file order.
  TStringList ReadSections() const;
  TStringList ReadSection(std::string_view section) const;

  // A missing key gives the default. A number that does not convert (or does not fit) gives the
  // default too; a Boolean is an integer, any value but 0 meaning true.
  std::string ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const;
  int ReadInteger(std::string_view section, std::string_view key, int defaultValue) const;
  bool ReadBool(std::string_view section, std::string_view key, bool defaultValue) const;
  double ReadFloat(std::string_view section, std::string_view key, double defaultValue) const;
  // Bytes stored as hexadecimal text, two digits a byte; empty when missing or not hexadecimal.
  std::string ReadBinary(std::string_view section, std::string_view key) const;

  // Sets a key, adding the section at the end and the key at the end of its section when new.
  // A section or key name that could not be read back as written (empty, with a line break,
  // "=" in a key, "]" in a section, blanks at its ends, a key looking like a comment or a
  // section) throws EHakuvoError: names are the program's own, so this is a fault to report.
  void WriteString(std::string_view section, std::string_view key, std::string_view value);
  void WriteInteger(std::string_view section, std::string_view key, long long value);
  void WriteBool(std::string_view section, std::string_view key, bool value);
  void WriteFloat(std::string_view section, std::string_view key, Extended value);
  void WriteBinary(std::string_view section, std::string_view key, std::string_view bytes);

  void EraseSection(std::string_view section);
  void DeleteKey(std::string_view section, std::string_view key);

 private:
  // A key line, or (when IsKey is false) any other line kept as it was read.
  struct TLine {
    bool IsKey = false;
    std::string Key;
    std::string Value;  // the value, or the whole text of another line
  };
  struct TSection {
    std::string Name;
    std::vector<TLine> Lines;
    std::unordered_map<std::string, std::size_t> KeyIndex;  // lower-case key -> index in Lines
  };

  const TSection* FindSection(std::string_view section) const;
  TSection* FindSection(std::string_view section);
  const TLine* FindKey(std::string_view section, std::string_view key) const;
  TSection& AddSection(std::string name);
  static void AddKey(TSection& section, std::string key, std::string value);
  static void RebuildKeyIndex(TSection& section);

  // Keeps the bytes of FFileName, beside it, before the first write over them.
  void KeepIllFormedFile();

  std::filesystem::path FFileName;
  // The bytes last loaded, while they were not well-formed text and not yet kept in a backup.
  std::string FIllFormedBytes;
  std::vector<std::string> FPreamble;  // lines before the first section
  std::vector<TSection> FSections;
  std::unordered_map<std::string, std::size_t> FSectionIndex;  // lower-case name -> index
};

}  // namespace hakuvo
