#include <gtest/gtest.h>

#include "core/settings/child_window_info.h"

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

void ExpectSame(const TChildWindowInfo& a, const TChildWindowInfo& b) {
  EXPECT_EQ(a.RightPanelDockClientList, b.RightPanelDockClientList);
  EXPECT_EQ(a.RightTabDockClientList, b.RightTabDockClientList);
  EXPECT_EQ(a.BottomPanelDockClientList, b.BottomPanelDockClientList);
  EXPECT_EQ(a.BottomTabDockClientList, b.BottomTabDockClientList);
  EXPECT_EQ(a.FloatingList, b.FloatingList);
  EXPECT_EQ(a.RightPanelDockInfo, b.RightPanelDockInfo);
  EXPECT_EQ(a.BottomPanelDockInfo, b.BottomPanelDockInfo);
  EXPECT_EQ(a.LeftPanelWidth, b.LeftPanelWidth);
  EXPECT_EQ(a.RightPanelWidth, b.RightPanelWidth);
  EXPECT_EQ(a.BottomPanelHeight, b.BottomPanelHeight);
  EXPECT_EQ(a.MemoPanelHeight, b.MemoPanelHeight);
  EXPECT_EQ(a.MapDefaultInfo.MapType(), b.MapDefaultInfo.MapType());
  EXPECT_EQ(a.MapDefaultInfo.Zoom(), b.MapDefaultInfo.Zoom());
  EXPECT_EQ(a.MapDefaultInfo.Latitude(), b.MapDefaultInfo.Latitude());
  EXPECT_EQ(a.MapDefaultInfo.Longitude(), b.MapDefaultInfo.Longitude());
  EXPECT_EQ(a.LinkViewInfo.ViewStyle(), b.LinkViewInfo.ViewStyle());
  EXPECT_EQ(a.LinkViewInfo.ThumbnailWidth(), b.LinkViewInfo.ThumbnailWidth());
  EXPECT_EQ(a.LinkViewInfo.ThumbnailHeight(), b.LinkViewInfo.ThumbnailHeight());
  EXPECT_EQ(a.LinkViewInfo.WidthBlank(), b.LinkViewInfo.WidthBlank());
  EXPECT_EQ(a.LinkViewInfo.HeightBlank(), b.LinkViewInfo.HeightBlank());
  EXPECT_EQ(a.RecordDialogLeft, b.RecordDialogLeft);
  EXPECT_EQ(a.RecordDialogTop, b.RecordDialogTop);
  EXPECT_EQ(a.RecordDialogWidth, b.RecordDialogWidth);
  EXPECT_EQ(a.RecordDialogHeight, b.RecordDialogHeight);
  EXPECT_EQ(a.RecordDialogLinkPanelVisible, b.RecordDialogLinkPanelVisible);
  EXPECT_EQ(a.RecordDialogLinkPanelWidth, b.RecordDialogLinkPanelWidth);
  EXPECT_EQ(a.RecordDialogLinkPreviewPanelHeight, b.RecordDialogLinkPreviewPanelHeight);
  EXPECT_EQ(a.ActFormLeft, b.ActFormLeft);
  EXPECT_EQ(a.ActFormTop, b.ActFormTop);
  EXPECT_EQ(a.ActFormWidth, b.ActFormWidth);
  EXPECT_EQ(a.ActFormHeight, b.ActFormHeight);
  EXPECT_EQ(a.ActListTitle, b.ActListTitle);
  EXPECT_EQ(a.ActListData, b.ActListData);
  EXPECT_EQ(a.ActListTime, b.ActListTime);
  EXPECT_EQ(a.ActListDate, b.ActListDate);
  EXPECT_EQ(a.ActListEndTime, b.ActListEndTime);
  EXPECT_EQ(a.ActListSpeed, b.ActListSpeed);
  EXPECT_EQ(a.ActListWeight, b.ActListWeight);
  EXPECT_EQ(a.ActListEnergyConsumption, b.ActListEnergyConsumption);
  EXPECT_EQ(a.IsViewEnergyConsumption, b.IsViewEnergyConsumption);
  EXPECT_EQ(a.LinkListTitle, b.LinkListTitle);
  EXPECT_EQ(a.LinkListLink, b.LinkListLink);
  EXPECT_EQ(a.LinkListNote, b.LinkListNote);
  EXPECT_EQ(a.DropFileDialogDestination, b.DropFileDialogDestination);
  EXPECT_EQ(a.DropFileDialogJpeg, b.DropFileDialogJpeg);
  EXPECT_EQ(a.DropFileDialogGps, b.DropFileDialogGps);
  EXPECT_EQ(a.DropFileDialogDate, b.DropFileDialogDate);
  EXPECT_EQ(a.DropFileDialogCategory, b.DropFileDialogCategory);
  EXPECT_EQ(a.DropFileDialogUserCategory, b.DropFileDialogUserCategory);
  EXPECT_EQ(a.DropFileDialogOneAct, b.DropFileDialogOneAct);
  EXPECT_EQ(a.FileLinkSearchFolderList, b.FileLinkSearchFolderList);
  EXPECT_EQ(a.FileLinkSearchFileNameList, b.FileLinkSearchFileNameList);
  EXPECT_EQ(a.IsFileLinkSearchSubFolder, b.IsFileLinkSearchSubFolder);
  EXPECT_EQ(a.IsFileLinkSearchOneAct, b.IsFileLinkSearchOneAct);
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
  ExpectSame(copy, source);

  // The copy owns its lists and sub-objects: changing it does not reach the source.
  copy.FloatingList.clear();
  copy.MapDefaultInfo.SetZoom(1);
  copy.RightPanelDockInfo.clear();
  EXPECT_EQ(source.FloatingList.size(), 1u);
  EXPECT_EQ(source.MapDefaultInfo.Zoom(), 5);
  EXPECT_EQ(source.RightPanelDockInfo.size(), 4u);

  // Assigning a fresh record back resets everything, also fields the data file does not keep.
  copy.Assign(TChildWindowInfo());
  ExpectSame(copy, TChildWindowInfo());

  source.Assign(source);
  EXPECT_EQ(source.ActListWeight, 26);
}

}  // namespace
}  // namespace hakuvo
