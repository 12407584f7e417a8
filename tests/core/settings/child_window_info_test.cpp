#include <gtest/gtest.h>

#include <set>
#include <string>

#include "core/settings/child_window_info.h"
#include "core/settings/child_window_info_expect.h"

namespace hakuvo {
namespace {

// Every field set away from its default, each to a different value, so that a field copied
// into the wrong place shows.
void FillEveryField(TChildWindowInfo& info) {
  info.RightPanelDockClientList = {"MapForm\t300\t200"};
  info.RightTabDockClientList = {"LinkForm\t300\t200", "LinkPreviewForm\t300\t150"};
  info.BottomPanelDockClientList = {"ActMultiGraphForm\t150\t300"};
  info.BottomTabDockClientList = {"GraphForm\t150\t300", "YearGraphForm\t150\t300"};
  info.FloatingList = {"SpeedGraphForm\t10\t20\t400\t300"};
  info.RightPanelDockInfo = std::string("\x01\xAB\x00\xFF", 4);
  info.BottomPanelDockInfo = "\x7F";
  info.LeftPanelWidth = 1;
  info.RightPanelWidth = 2;
  info.BottomPanelHeight = 3;
  info.MemoPanelHeight = 4;
  info.MapDefaultInfo.SetMapType("SATELLITE");
  info.MapDefaultInfo.SetZoom(5);
  info.MapDefaultInfo.SetLatitude(43.0625L);
  info.MapDefaultInfo.SetLongitude(141.3125L);
  info.LinkViewInfo.SetViewStyle(vsReport);
  info.LinkViewInfo.SetThumbnailWidth(6);
  info.LinkViewInfo.SetThumbnailHeight(7);
  info.LinkViewInfo.SetWidthBlank(8);
  info.LinkViewInfo.SetHeightBlank(9);
  info.RecordDialogLeft = 10;
  info.RecordDialogTop = 11;
  info.RecordDialogWidth = 12;
  info.RecordDialogHeight = 13;
  info.RecordDialogLinkPanelVisible = true;
  info.RecordDialogLinkPanelWidth = 14;
  info.RecordDialogLinkPreviewPanelHeight = 15;
  info.ActFormLeft = 16;
  info.ActFormTop = 17;
  info.ActFormWidth = 18;
  info.ActFormHeight = 19;
  info.ActListTitle = 20;
  info.ActListData = 21;
  info.ActListTime = 22;
  info.ActListDate = 23;
  info.ActListEndTime = 24;
  info.ActListSpeed = 25;
  info.ActListWeight = 26;
  info.ActListEnergyConsumption = 27;
  info.IsViewEnergyConsumption = true;
  info.ActListPace = 31;
  info.IsViewPace = true;
  info.LinkListTitle = 28;
  info.LinkListLink = 29;
  info.LinkListNote = 30;
  info.DropFileDialogDestination = 2;
  info.DropFileDialogJpeg = true;
  info.DropFileDialogGps = true;
  info.DropFileDialogDate = 42095.5;
  info.DropFileDialogCategory = "ジョギング";
  info.DropFileDialogUserCategory = "ヨガ";
  info.DropFileDialogOneAct = true;
  info.FileLinkSearchFolderList = {"/home/a/写真", "/home/a/gps"};
  info.FileLinkSearchFileNameList = {"*.jpg"};
  info.IsFileLinkSearchSubFolder = true;
  info.IsFileLinkSearchOneAct = true;
}

// The filler reaches every field of the table, so the comparisons below cover them all.
TEST(ChildWindowInfo, TheFillerSetsEveryFieldOfTheTable) {
  TChildWindowInfo filled;
  FillEveryField(filled);
  const TChildWindowInfo fresh;
  for (const TChildWindowField& field : ChildWindowFields()) EXPECT_FALSE(field.Equal(filled, fresh)) << field.Name;
  EXPECT_FALSE(filled == fresh);
}

// Each entry reaches its own member and no other: set through the table, one field changes and
// every other stays as it was. Names, settings keys and data-file attributes are not repeated.
TEST(ChildWindowInfo, EachEntryOfTheTableReachesOneFieldOfItsOwn) {
  TChildWindowInfo filled;
  FillEveryField(filled);
  std::set<std::string> names, iniKeys, xmlAttributes;
  for (const TChildWindowField& field : ChildWindowFields()) {
    TChildWindowInfo changed;
    switch (field.Type) {
      case cwInt:
        field.Int.Set(changed, field.Int.Get(filled));
        break;
      case cwFlag:
        field.Flag.Set(changed, field.Flag.Get(filled));
        break;
      case cwDate:
        field.Date.Set(changed, field.Date.Get(filled));
        break;
      case cwReal:
        field.Real.Set(changed, field.Real.Get(filled));
        break;
      case cwText:
      case cwBytes:
        field.Text.Set(changed, field.Text.Get(filled));
        break;
      case cwList:
        field.List.Set(changed, field.List.Get(filled));
        break;
    }
    for (const TChildWindowField& other : ChildWindowFields()) {
      EXPECT_EQ(other.Equal(changed, TChildWindowInfo()), &other != &field) << field.Name << " reaches " << other.Name;
    }
    EXPECT_TRUE(names.insert(field.Name).second) << field.Name;
    EXPECT_TRUE(iniKeys.insert(std::string(field.Ini.Section) + "/" + field.Ini.Key).second) << field.Name;
    if (field.InDataFile()) {
      EXPECT_TRUE(xmlAttributes.insert(std::string(field.Xml.Element) + "/" + field.Xml.Attribute).second)
          << field.Name;
    }
  }
  // The data file keeps all but the weight and pace columns and the energy and pace views of the main list.
  EXPECT_EQ(names.size(), xmlAttributes.size() + 4);
}

TEST(ChildWindowInfo, StartsEmptyWithTheMapAndLinkViewDefaults) {
  const TChildWindowInfo info;
  EXPECT_TRUE(info.RightPanelDockClientList.empty());
  EXPECT_TRUE(info.BottomTabDockClientList.empty());
  EXPECT_TRUE(info.FloatingList.empty());
  EXPECT_TRUE(info.RightPanelDockInfo.empty());
  EXPECT_TRUE(info.BottomPanelDockInfo.empty());
  EXPECT_TRUE(info.FileLinkSearchFolderList.empty());
  EXPECT_EQ(info.LeftPanelWidth, 0);
  EXPECT_EQ(info.RecordDialogWidth, 0) << "0 tells the record dialog that no bounds were stored";
  EXPECT_EQ(info.ActFormWidth, 0);
  EXPECT_EQ(info.RecordDialogLinkPanelWidth, 0);
  EXPECT_EQ(info.DropFileDialogDate, 0);
  EXPECT_FALSE(info.DropFileDialogJpeg);
  EXPECT_FALSE(info.DropFileDialogOneAct);
  EXPECT_FALSE(info.IsViewEnergyConsumption);
  EXPECT_EQ(info.MapDefaultInfo.MapType(), "ROADMAP");
  EXPECT_EQ(info.MapDefaultInfo.Zoom(), 13);
  EXPECT_EQ(info.MapDefaultInfo.Latitude(), 35.6815L);
  EXPECT_EQ(info.MapDefaultInfo.Longitude(), 139.7664L);
  EXPECT_EQ(info.LinkViewInfo.ViewStyle(), vsIcon);
  EXPECT_EQ(info.LinkViewInfo.ThumbnailWidth(), 120);
  EXPECT_EQ(info.LinkViewInfo.ThumbnailHeight(), 120);
  EXPECT_EQ(info.LinkViewInfo.WidthBlank(), 20);
  EXPECT_EQ(info.LinkViewInfo.HeightBlank(), 20);
}

TEST(ChildWindowInfo, AssignCopiesEveryFieldAndLeavesTheSourceAlone) {
  TChildWindowInfo source;
  FillEveryField(source);
  TChildWindowInfo copy;
  copy.Assign(source);
  ExpectSameChildWindowInfo(copy, source);
  EXPECT_TRUE(copy == source);
  const TChildWindowInfo constructed(source);
  ExpectSameChildWindowInfo(constructed, source);

  // The copy owns its lists and sub-objects: changing it does not reach the source.
  copy.FloatingList.clear();
  copy.MapDefaultInfo.SetZoom(1);
  copy.RightPanelDockInfo.clear();
  EXPECT_EQ(source.FloatingList.size(), 1u);
  EXPECT_EQ(source.MapDefaultInfo.Zoom(), 5);
  EXPECT_EQ(source.RightPanelDockInfo.size(), 4u);

  // Assigning a fresh record back resets everything, also fields the data file does not keep.
  copy.Assign(TChildWindowInfo());
  ExpectSameChildWindowInfo(copy, TChildWindowInfo());

  source.Assign(source);
  EXPECT_EQ(source.ActListWeight, 26);
}

}  // namespace
}  // namespace hakuvo
