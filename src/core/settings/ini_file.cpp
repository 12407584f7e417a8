#include "core/settings/ini_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <system_error>
#include <utility>

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"
#include "core/common/number_format.h"
#include "core/common/quoted_value.h"
#include "core/common/safe_file_writer.h"
#include "core/common/utf16.h"

namespace hakuvo {

namespace {

namespace fs = std::filesystem;

// A settings file is a few kilobytes; anything this large is not one and is refused before it
// fills the memory.
constexpr std::size_t MaxFileSize = 64 * 1024 * 1024;

[[noreturn]] void FailRead(const fs::path& fileName, int error) {
  const std::string reason = std::generic_category().message(error);
  throw EHakuvoError("ファイルを読み込めませんでした: " + fileName.string() + " (" + reason + ")",
                     "Could not read the file: " + fileName.string() + " (" + reason + ")");
}

// Reads the whole file; a file that does not exist reads as no bytes.
std::string ReadFileBytes(const fs::path& fileName) {
  TInputFile file;
  int error = 0;
  if (!file.Open(fileName.string(), error)) {
    if (error == ENOENT) return {};
    FailRead(fileName, error);
  }
  std::string bytes;
  if (file.Size() > MaxFileSize) FailRead(fileName, EFBIG);
  char buffer[65536];
  for (;;) {
    const std::ptrdiff_t count = file.Read(buffer, sizeof buffer);
    if (count < 0) FailRead(fileName, errno);
    if (count == 0) break;
    bytes.append(buffer, static_cast<std::size_t>(count));
    if (bytes.size() > MaxFileSize) FailRead(fileName, EFBIG);
  }
  return bytes;
}

std::string_view TrimBlanks(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

bool IsQuoted(std::string_view value) { return value.size() >= 2 && value.front() == '"' && value.back() == '"'; }

std::string_view Unquote(std::string_view value) {
  if (IsQuoted(value)) value = value.substr(1, value.size() - 2);
  return value;
}

// The inverse of reading: quotes where trimming or unquoting would change the value.
std::string Quoted(const std::string& value) {
  if (value.empty()) return value;
  if (TrimBlanks(value).size() != value.size() || IsQuoted(value)) return '"' + value + '"';
  return value;
}

void RequireName(std::string_view name, bool isKey) {
  bool valid = !name.empty() && TrimBlanks(name).size() == name.size() && name.find_first_of("\r\n") == name.npos;
  if (isKey) {
    valid = valid && name.find('=') == name.npos && name.front() != '[' && name.front() != ';' && name.front() != '#';
  } else {
    valid = valid && name.find(']') == name.npos;
  }
  if (!valid) {
    throw EHakuvoError(
        std::string("設定ファイルの") + (isKey ? "キー" : "セクション") + "名が正しくありません: " + QuoteValue(name),
        std::string("Invalid ") + (isKey ? "key" : "section") + " name: " + QuoteValue(name));
  }
}

std::string CleanValue(std::string_view value) {
  std::string text(value);
  for (char& c : text) {
    if (c == '\r' || c == '\n') c = ' ';
  }
  return text;
}

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

TIniFile::TIniFile(const fs::path& fileName) { LoadFromFile(fileName); }

void TIniFile::LoadFromFile(const fs::path& fileName) {
  const std::string bytes = ReadFileBytes(fileName);
  LoadFromBytes(bytes);
  FFileName = fileName;
}

void TIniFile::LoadFromBytes(std::string_view bytes) {
  bool wellFormed = true;
  LoadFromText(DecodeUnicodeText(bytes, &wellFormed));
  if (!wellFormed) FIllFormedBytes = bytes;
}

void TIniFile::LoadFromText(std::string_view utf8Text) {
  Clear();
  TSection* current = nullptr;
  for (const std::string& rawLine : SplitLines(utf8Text)) {
    const std::string_view line = TrimBlanks(rawLine);
    if (line.empty()) continue;
    const auto keepLine = [&] {
      if (current != nullptr) {
        current->Lines.push_back({false, {}, std::string(line)});
      } else {
        FPreamble.emplace_back(line);
      }
    };
    if (line.front() == ';' || line.front() == '#') {
      keepLine();
      continue;
    }
    if (line.front() == '[') {
      const std::size_t close = line.find(']');
      const std::string_view name = close == line.npos ? std::string_view{} : TrimBlanks(line.substr(1, close - 1));
      if (name.empty()) {
        keepLine();
      } else if ((current = FindSection(name)) == nullptr) {
        current = &AddSection(std::string(name));
      }
      continue;
    }
    const std::size_t equals = line.find('=');
    const std::string_view key = equals == line.npos ? std::string_view{} : TrimBlanks(line.substr(0, equals));
    if (key.empty() || current == nullptr) {
      keepLine();
      continue;
    }
    if (current->KeyIndex.count(AsciiLower(key)) == 0) {
      AddKey(*current, std::string(key), std::string(Unquote(TrimBlanks(line.substr(equals + 1)))));
    }
  }
}

void TIniFile::Clear() {
  FIllFormedBytes.clear();
  FPreamble.clear();
  FSections.clear();
  FSectionIndex.clear();
}

std::string TIniFile::Text() const {
  std::string text;
  for (const std::string& line : FPreamble) text += line + "\r\n";
  for (const TSection& section : FSections) {
    if (!text.empty()) text += "\r\n";
    text += '[' + section.Name + "]\r\n";
    for (const TLine& line : section.Lines) {
      text += line.IsKey ? line.Key + '=' + Quoted(line.Value) : line.Value;
      text += "\r\n";
    }
  }
  return text;
}

std::string TIniFile::SaveToBytes() const { return Utf8ToUtf16LeBytes(Text(), true); }

void TIniFile::SaveToFile(const fs::path& fileName) {
  if (fileName.has_parent_path()) {
    std::error_code error;
    fs::create_directories(fileName.parent_path(), error);
    if (error) {
      throw EHakuvoError(
          "フォルダーを作成できませんでした: " + fileName.parent_path().string() + " (" + error.message() + ")",
          "Could not create the folder: " + fileName.parent_path().string() + " (" + error.message() + ")");
    }
  }
  if (!FIllFormedBytes.empty() && fileName == FFileName) KeepIllFormedFile();
  WriteFileAtomically(fileName, SaveToBytes());
}

void TIniFile::KeepIllFormedFile() {
  // The copy holds the user's paths as much as the file does: it is made no more readable than
  // the file. An older backup may hold what an earlier such file held: O_EXCL never writes over it.
  struct stat info {};
  const mode_t mode = ::stat(FFileName.c_str(), &info) == 0 ? (info.st_mode & 0777) : 0600;
  int descriptor = -1;
  fs::path backup;
  for (int number = 0; descriptor < 0 && number < 1000; ++number) {
    backup = FFileName;
    backup += number == 0 ? std::string(".bak") : ".bak." + std::to_string(number);
    descriptor = ::open(backup.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, mode);
    if (descriptor < 0 && errno != EEXIST) break;
  }
  int error = descriptor < 0 ? (errno == 0 ? EEXIST : errno) : 0;
  if (descriptor >= 0) {
    // The umask may have narrowed the mode further; that is as it should be.
    std::string_view rest = FIllFormedBytes;
    while (error == 0 && !rest.empty()) {
      const ssize_t written = ::write(descriptor, rest.data(), rest.size());
      if (written < 0 && errno == EINTR) continue;
      if (written <= 0) {
        error = written < 0 ? errno : EIO;
      } else {
        rest.remove_prefix(static_cast<std::size_t>(written));
      }
    }
    if (error == 0 && ::fsync(descriptor) != 0) error = errno;
    if (::close(descriptor) != 0 && error == 0) error = errno;
    if (error != 0) ::unlink(backup.c_str());
  }
  if (error != 0) {
    const std::string reason = std::generic_category().message(error);
    throw EHakuvoError(
        "設定ファイルの控えを作れなかったため、書き込みませんでした: " + backup.string() + " (" + reason + ")",
        "The settings file was not written: could not keep a copy of it as " + backup.string() + " (" + reason + ")");
  }
  FIllFormedBytes.clear();
}

bool TIniFile::SectionExists(std::string_view section) const { return FindSection(section) != nullptr; }

bool TIniFile::ValueExists(std::string_view section, std::string_view key) const {
  return FindKey(section, key) != nullptr;
}

TStringList TIniFile::ReadSections() const {
  TStringList names;
  for (const TSection& section : FSections) names.push_back(section.Name);
  return names;
}

TStringList TIniFile::ReadSection(std::string_view section) const {
  TStringList keys;
  if (const TSection* found = FindSection(section)) {
    for (const TLine& line : found->Lines) {
      if (line.IsKey) keys.push_back(line.Key);
    }
  }
  return keys;
}

std::string TIniFile::ReadString(std::string_view section, std::string_view key, std::string_view defaultValue) const {
  const TLine* line = FindKey(section, key);
  return line != nullptr ? line->Value : std::string(defaultValue);
}

int TIniFile::ReadInteger(std::string_view section, std::string_view key, int defaultValue) const {
  const TLine* line = FindKey(section, key);
  int value = 0;
  return line != nullptr && TryParseInt(line->Value, value) ? value : defaultValue;
}

bool TIniFile::ReadBool(std::string_view section, std::string_view key, bool defaultValue) const {
  const TLine* line = FindKey(section, key);
  long long value = 0;
  return line != nullptr && TryParseInt(line->Value, value) ? value != 0 : defaultValue;
}

double TIniFile::ReadFloat(std::string_view section, std::string_view key, double defaultValue) const {
  const TLine* line = FindKey(section, key);
  double value = 0;
  return line != nullptr && TryParseNumber(line->Value, value) ? value : defaultValue;
}

std::string TIniFile::ReadBinary(std::string_view section, std::string_view key) const {
  const TLine* line = FindKey(section, key);
  if (line == nullptr || line->Value.size() % 2 != 0) return {};
  std::string bytes;
  bytes.reserve(line->Value.size() / 2);
  for (std::size_t i = 0; i < line->Value.size(); i += 2) {
    const int high = HexDigit(line->Value[i]);
    const int low = HexDigit(line->Value[i + 1]);
    if (high < 0 || low < 0) return {};
    bytes += static_cast<char>(high * 16 + low);
  }
  return bytes;
}

void TIniFile::WriteString(std::string_view section, std::string_view key, std::string_view value) {
  RequireName(section, false);
  RequireName(key, true);
  std::string sectionName(section);
  std::string keyName(key);
  TSection* found = FindSection(sectionName);
  if (found == nullptr) found = &AddSection(std::move(sectionName));
  const auto index = found->KeyIndex.find(AsciiLower(keyName));
  if (index != found->KeyIndex.end()) {
    found->Lines[index->second].Value = CleanValue(value);
  } else {
    AddKey(*found, std::move(keyName), CleanValue(value));
  }
}

void TIniFile::WriteInteger(std::string_view section, std::string_view key, long long value) {
  WriteString(section, key, std::to_string(value));
}

void TIniFile::WriteBool(std::string_view section, std::string_view key, bool value) {
  WriteString(section, key, value ? "1" : "0");
}

void TIniFile::WriteFloat(std::string_view section, std::string_view key, Extended value) {
  WriteString(section, key, FormatGeneral(value));
}

void TIniFile::WriteBinary(std::string_view section, std::string_view key, std::string_view bytes) {
  static constexpr char digits[] = "0123456789ABCDEF";
  std::string text;
  text.reserve(bytes.size() * 2);
  for (const char c : bytes) {
    const auto byte = static_cast<unsigned char>(c);
    text += digits[byte >> 4];
    text += digits[byte & 15];
  }
  WriteString(section, key, text);
}

void TIniFile::EraseSection(std::string_view section) {
  const auto found = FSectionIndex.find(AsciiLower(section));
  if (found == FSectionIndex.end()) return;
  FSections.erase(FSections.begin() + static_cast<std::ptrdiff_t>(found->second));
  FSectionIndex.clear();
  for (std::size_t i = 0; i < FSections.size(); ++i) FSectionIndex.emplace(AsciiLower(FSections[i].Name), i);
}

void TIniFile::DeleteKey(std::string_view section, std::string_view key) {
  TSection* found = FindSection(section);
  if (found == nullptr) return;
  const auto index = found->KeyIndex.find(AsciiLower(key));
  if (index == found->KeyIndex.end()) return;
  found->Lines.erase(found->Lines.begin() + static_cast<std::ptrdiff_t>(index->second));
  RebuildKeyIndex(*found);
}

const TIniFile::TSection* TIniFile::FindSection(std::string_view section) const {
  const auto found = FSectionIndex.find(AsciiLower(section));
  return found == FSectionIndex.end() ? nullptr : &FSections[found->second];
}

TIniFile::TSection* TIniFile::FindSection(std::string_view section) {
  return const_cast<TSection*>(std::as_const(*this).FindSection(section));
}

const TIniFile::TLine* TIniFile::FindKey(std::string_view section, std::string_view key) const {
  const TSection* found = FindSection(section);
  if (found == nullptr) return nullptr;
  const auto index = found->KeyIndex.find(AsciiLower(key));
  return index == found->KeyIndex.end() ? nullptr : &found->Lines[index->second];
}

TIniFile::TSection& TIniFile::AddSection(std::string name) {
  FSectionIndex.emplace(AsciiLower(name), FSections.size());
  FSections.push_back({std::move(name), {}, {}});
  return FSections.back();
}

void TIniFile::AddKey(TSection& section, std::string key, std::string value) {
  section.KeyIndex.emplace(AsciiLower(key), section.Lines.size());
  section.Lines.push_back({true, std::move(key), std::move(value)});
}

void TIniFile::RebuildKeyIndex(TSection& section) {
  section.KeyIndex.clear();
  for (std::size_t i = 0; i < section.Lines.size(); ++i) {
    if (section.Lines[i].IsKey) section.KeyIndex.emplace(AsciiLower(section.Lines[i].Key), i);
  }
}

}  // namespace hakuvo
