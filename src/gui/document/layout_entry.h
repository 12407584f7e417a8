#pragma once

#include <string>

namespace hakuvo {

// The stored layout names each window in a line of TAB-separated fields. These read and write
// those lines; every reading gives a usable size, whatever the line holds, because the lines
// come from files a user (or a damaged disk) may have changed.

// The size a docked window gets when its stored size is unusable.
constexpr int DefaultDockWidth = 300;
constexpr int DefaultDockHeight = 150;
// The size of a floating window whose stored bounds are unusable, and of a docked window that
// was closed.
constexpr int DefaultFloatingWidth = 640;
constexpr int DefaultFloatingHeight = 480;
// The default thickness of the right and bottom dock panels.
constexpr int DefaultPanelSize = 300;
// Sizes outside this range cannot be a window the user placed.
constexpr int MinWindowSize = 20;
constexpr int MaxWindowSize = 16384;

bool IsUsableWindowSize(long long size);

// "name TAB width TAB height": a window docked in a panel or a tab strip.
struct TDockEntry {
  std::string Name;
  int Width = DefaultDockWidth;
  int Height = DefaultDockHeight;
};

// "name TAB left TAB top TAB width TAB height": a floating window.
struct TFloatingEntry {
  std::string Name;
  int Left = 0;
  int Top = 0;
  int Width = DefaultFloatingWidth;
  int Height = DefaultFloatingHeight;
};

// A size that does not convert, or is not a usable size, gives 300 x 150 (both together).
TDockEntry ParseDockEntry(const std::string& line);
std::string FormatDockEntry(const TDockEntry& entry);
// Bounds that do not all convert, or a size that is not usable, give 0, 0, 640, 480.
TFloatingEntry ParseFloatingEntry(const std::string& line);
std::string FormatFloatingEntry(const TFloatingEntry& entry);

struct TDesktopRect {
  int Left = 0;
  int Top = 0;
  int Width = 0;
  int Height = 0;
};

// A floating window that would open out of reach goes to (0, 0), keeping its size: its top
// above the desktop's top - 10 or below the desktop's bottom, or its left further left than its
// own width or right of the desktop's right.
TFloatingEntry KeepOnDesktop(TFloatingEntry entry, const TDesktopRect& desktop);

}  // namespace hakuvo
