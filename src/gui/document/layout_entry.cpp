#include "gui/document/layout_entry.h"

#include <string_view>
#include <vector>

#include "core/common/number_format.h"

namespace hakuvo {

namespace {

// At most 255 fields are looked at; a longer line is cut there.
std::vector<std::string_view> SplitFields(std::string_view line) {
  constexpr std::size_t MaxFields = 255;
  std::vector<std::string_view> fields;
  std::size_t start = 0;
  while (fields.size() < MaxFields) {
    const std::size_t tab = line.find('\t', start);
    if (tab == std::string_view::npos) {
      fields.push_back(line.substr(start));
      break;
    }
    fields.push_back(line.substr(start, tab - start));
    start = tab + 1;
  }
  return fields;
}

bool FieldAsInt(const std::vector<std::string_view>& fields, std::size_t index, int& value) {
  return index < fields.size() && TryParseInt(fields[index], value);
}

}  // namespace

bool IsUsableWindowSize(long long size) { return size >= MinWindowSize && size <= MaxWindowSize; }

TDockEntry ParseDockEntry(const std::string& line) {
  const std::vector<std::string_view> fields = SplitFields(line);
  TDockEntry entry;
  entry.Name = std::string(fields.front());
  int width = 0;
  int height = 0;
  if (FieldAsInt(fields, 1, width) && FieldAsInt(fields, 2, height) && IsUsableWindowSize(width) &&
      IsUsableWindowSize(height)) {
    entry.Width = width;
    entry.Height = height;
  }
  return entry;
}

std::string FormatDockEntry(const TDockEntry& entry) {
  return entry.Name + '\t' + std::to_string(entry.Width) + '\t' + std::to_string(entry.Height);
}

TFloatingEntry ParseFloatingEntry(const std::string& line) {
  const std::vector<std::string_view> fields = SplitFields(line);
  TFloatingEntry entry;
  entry.Name = std::string(fields.front());
  int left = 0;
  int top = 0;
  int width = 0;
  int height = 0;
  if (FieldAsInt(fields, 1, left) && FieldAsInt(fields, 2, top) && FieldAsInt(fields, 3, width) &&
      FieldAsInt(fields, 4, height) && IsUsableWindowSize(width) && IsUsableWindowSize(height)) {
    entry.Left = left;
    entry.Top = top;
    entry.Width = width;
    entry.Height = height;
  }
  return entry;
}

std::string FormatFloatingEntry(const TFloatingEntry& entry) {
  return entry.Name + '\t' + std::to_string(entry.Left) + '\t' + std::to_string(entry.Top) + '\t' +
         std::to_string(entry.Width) + '\t' + std::to_string(entry.Height);
}

TFloatingEntry KeepOnDesktop(TFloatingEntry entry, const TDesktopRect& desktop) {
  const long long left = entry.Left;
  const long long top = entry.Top;
  const long long desktopRight = static_cast<long long>(desktop.Left) + desktop.Width;
  const long long desktopBottom = static_cast<long long>(desktop.Top) + desktop.Height;
  if (top < desktop.Top - 10LL || top > desktopBottom || left < desktop.Left - static_cast<long long>(entry.Width) ||
      left > desktopRight) {
    entry.Left = 0;
    entry.Top = 0;
  }
  return entry;
}

}  // namespace hakuvo
