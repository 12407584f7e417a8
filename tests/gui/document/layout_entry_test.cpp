#include <gtest/gtest.h>

#include <array>
#include <climits>

#include "gui/document/layout_entry.h"

namespace hakuvo {
namespace {

TEST(LayoutEntryTest, DockEntriesGiveTheDefaultSizeForAnythingUnusable) {
  const struct {
    std::string Line;
    std::string Name;
    int Width, Height;
  } cases[] = {
      {"GraphForm\t200\t250", "GraphForm", 200, 250},
      {"GraphForm\tabc\t100", "GraphForm", 300, 150},  // a width that is not a number
      {"GraphForm\t200", "GraphForm", 300, 150},       // no height
      {"GraphForm", "GraphForm", 300, 150},
      {"GraphForm\t-5\t200", "GraphForm", 300, 150},  // negative
      {"GraphForm\t0\t200", "GraphForm", 300, 150},
      {"GraphForm\t999999\t200", "GraphForm", 300, 150},  // huge
      {"GraphForm\t99999999999999999999\t200", "GraphForm", 300, 150},
      {"GraphForm\t200\t250\textra\tfields", "GraphForm", 200, 250},
      {"", "", 300, 150},
      {"\t\t", "", 300, 150},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    const TDockEntry entry = ParseDockEntry(c.Line);
    EXPECT_EQ(entry.Name, c.Name);
    EXPECT_EQ(entry.Width, c.Width);
    EXPECT_EQ(entry.Height, c.Height);
  }
  EXPECT_EQ(FormatDockEntry({"YearGraphForm", 150, 300}), "YearGraphForm\t150\t300");
}

TEST(LayoutEntryTest, FloatingEntriesGiveTheCornerAndDefaultSizeForAnythingUnusable) {
  const struct {
    std::string Line;
    int Left, Top, Width, Height;
  } cases[] = {
      {"SpeedForm\t100\t100\t640\t480", 100, 100, 640, 480}, {"SpeedForm\t-30\t7\t500\t400", -30, 7, 500, 400},
      {"SpeedForm\tx\t100\t640\t480", 0, 0, 640, 480},       {"SpeedForm\t100\t100\t640", 0, 0, 640, 480},
      {"SpeedForm\t100\t100\t-640\t480", 0, 0, 640, 480},    {"SpeedForm\t100\t100\t640\t2000000", 0, 0, 640, 480},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Line);
    const TFloatingEntry entry = ParseFloatingEntry(c.Line);
    EXPECT_EQ(entry.Name, "SpeedForm");
    EXPECT_EQ((std::array{entry.Left, entry.Top, entry.Width, entry.Height}),
              (std::array{c.Left, c.Top, c.Width, c.Height}));
  }
  const TFloatingEntry entry{"MonthGraphForm", -3, 4, 500, 600};
  EXPECT_EQ(FormatFloatingEntry(entry), "MonthGraphForm\t-3\t4\t500\t600");
  EXPECT_EQ(FormatFloatingEntry(ParseFloatingEntry(FormatFloatingEntry(entry))), FormatFloatingEntry(entry));
}

TEST(LayoutEntryTest, AFloatingWindowOutOfReachGoesToTheCornerKeepingItsSize) {
  const TDesktopRect desktop{0, 0, 1920, 1080};
  const struct {
    int Left, Top;
    bool Moved;
  } cases[] = {
      {100, 100, false},  {100, -10, false},       // up to 10 pixels above the top is fine
      {100, -11, true},   {100, 1080, false},      // the bottom edge itself still counts
      {100, 1081, true},  {-500, 100, false},      // as far left as its own width
      {-501, 100, true},  {1920, 100, false},      // the right edge still counts
      {1921, 100, true},  {-20000, -20000, true},  // far off
      {INT_MAX, 0, true}, {INT_MIN, INT_MIN, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Left) + "," + std::to_string(c.Top));
    const TFloatingEntry placed = KeepOnDesktop({"MapForm", c.Left, c.Top, 500, 400}, desktop);
    EXPECT_EQ(placed.Left, c.Moved ? 0 : c.Left);
    EXPECT_EQ(placed.Top, c.Moved ? 0 : c.Top);
    EXPECT_EQ(placed.Width, 500);
    EXPECT_EQ(placed.Height, 400);
  }
  // A desktop that does not start at the origin.
  const TFloatingEntry left = KeepOnDesktop({"MapForm", 200, 50, 500, 400}, {1000, 0, 800, 600});
  EXPECT_EQ(left.Left, 0);
  EXPECT_EQ(left.Top, 0);
}

}  // namespace
}  // namespace hakuvo
