#pragma once

#include <pugixml.hpp>

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/common/text_util.h"

namespace hakuvo {

// The file being read, for error messages that say where the reader stopped.
class TXmlSource {
 public:
  // `original` is the file's bytes if they are at hand; otherwise a failure reads the file again
  // to tell the line (the parsed buffer no longer has its original line breaks).
  TXmlSource(std::string fileName, std::string_view original) : FFileName(std::move(fileName)), FOriginal(original) {}

  const std::string& FileName() const { return FFileName; }

  // "データファイル "…" を読み込めませんでした: <problem> (N 行目, 先頭から M バイト目)".
  // `problem` in Japanese and in English.
  [[noreturn]] void Fail(const std::string& problem, const std::string& english, std::ptrdiff_t offset) const;
  // The problem of an attribute of an element: names the element by its path from the root.
  [[noreturn]] void FailAt(pugi::xml_node node, const std::string& problem, const std::string& english) const;

  // The reader drops elements it has read from the document to give their memory back; paths of
  // their later siblings still count them.
  void RemoveRead(pugi::xml_node node);
  // "日リスト/日データ[3]/行動" with a 1-based index where an element shares its name with siblings.
  std::string ElementPath(pugi::xml_node node) const;

 private:
  struct TRemoved {
    pugi::xml_node Parent;
    std::string_view Name;  // in the parsed buffer, which outlives the nodes
    std::size_t Count;
  };

  std::string FFileName;
  std::string_view FOriginal;
  std::vector<TRemoved> FRemoved;
};

std::size_t AttributeCount(pugi::xml_node node);

// Whether two names are the same. Names in a diary are a few characters and nearly every
// comparison the reader makes is a match found at once: compared here, in line, they cost less
// than the call into the C library's strcmp, which was a good part of a load.
inline bool SameName(const char* a, const char* b) {
  for (; *a == *b; ++a, ++b) {
    if (*a == '\0') return true;
  }
  return false;
}

// The lines of a text as SplitLines cuts them (at CR LF, CR or LF; no line after a final break),
// in one pass: SplitLines looks for either break character at every position, a good part of
// a diary's load where every action and day has a memo.
TStringList LinesOf(const char* text);

// Reads the attributes of one element. Attributes are looked up from where the previous one was
// found, so reading them in the order they are written costs one step each.
class TElementReader {
 public:
  TElementReader(const TXmlSource& source, pugi::xml_node node)
      : FSource(source), FNode(node), FHint(node.first_attribute()) {}

  pugi::xml_node Node() const { return FNode; }
  const TXmlSource& Source() const { return FSource; }

  // The value of the attribute; nullptr when absent.
  const char* Find(const char* name);
  bool Has(const char* name) { return Find(name) != nullptr; }
  // The attribute's value; a missing attribute stops the load.
  const char* Required(const char* name);

  std::string Text(const char* name) { return Required(name); }
  // A multi-line text (lines separated by line breaks).
  TStringList Lines(const char* name) { return LinesOf(Required(name)); }
  int Int(const char* name) { return IntOf(name, Required(name)); }
  bool Flag(const char* name) { return Int(name) != 0; }
  Extended Real(const char* name) { return RealOf(name, Required(name)); }
  // A number kept in a double: one whose 15-digit form, as the writer gives it, still fits.
  double Double(const char* name) { return DoubleOf(name, Required(name)); }
  // A date, a time or both: a day of the calendar's range (see IsDateTimeInRange).
  TDateTime DateTime(const char* name) { return DateTimeOf(name, Required(name)); }

  // Present: converted (a bad value stops the load) and true. Absent: false, value untouched.
  bool TryInt(const char* name, int& value);
  bool TryReal(const char* name, Extended& value);
  bool TryText(const char* name, std::string& value);
  bool TryDateTime(const char* name, TDateTime& value);

  int IntOf(const char* name, const char* text) const;
  Extended RealOf(const char* name, const char* text) const;
  double DoubleOf(const char* name, const char* text) const;
  TDateTime DateTimeOf(const char* name, const char* text) const;

  // A child element that must be there.
  pugi::xml_node RequiredChild(const char* name) const;

  [[noreturn]] void Fail(const std::string& problem, const std::string& english) const {
    FSource.FailAt(FNode, problem, english);
  }

 private:
  const TXmlSource& FSource;
  pugi::xml_node FNode;
  pugi::xml_attribute FHint;
};

// The largest magnitude of a double that the writer's 15 significant digits keep within a
// double (the largest double itself is written as 1.79769313486232E308, which is beyond it).
constexpr double kLargestStoredDouble = 1.79769313486231E308;

// Numbers as the file holds them.
std::string FormatInt(long long value);
// What the writer puts for a value the reader would refuse: every stored value must load again.
// An undefined value becomes 0, an infinite one the largest the kind can hold, a date-time
// outside the calendar the nearest end of its range, a real below 1E-4900 in magnitude 0.
Extended StorableReal(Extended value);
double StorableDouble(double value);
TDateTime StorableDateTime(TDateTime value);
inline const char* FormatFlag(bool value) { return value ? "1" : "0"; }

// Bytes as upper-case hexadecimal text, two digits a byte, and back; false for text that is not
// an even number of hexadecimal digits.
std::string BytesToHex(std::string_view bytes);
bool HexToBytes(std::string_view text, std::string& bytes);

}  // namespace hakuvo
