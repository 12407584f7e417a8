#include <gtest/gtest.h>

#include <string>

#include "core/datafile/diary_fixture.h"
#include "core/settings/child_window_info_expect.h"

namespace hakuvo {
namespace {

// Small distinct values, so that the written text shows each one in its place.
void FillWindows(TChildWindowInfo& info) {
  info.RecordDialogLeft = 1, info.RecordDialogTop = 2, info.RecordDialogWidth = 3, info.RecordDialogHeight = 4;
  info.RecordDialogLinkPanelVisible = true;
  info.RecordDialogLinkPanelWidth = 5, info.RecordDialogLinkPreviewPanelHeight = 6;
  info.ActFormLeft = 7, info.ActFormTop = 8, info.ActFormWidth = 9, info.ActFormHeight = 10;
  info.ActListTitle = 11, info.ActListData = 12, info.ActListTime = 13, info.ActListDate = 14;
  info.ActListEndTime = 15, info.ActListSpeed = 16, info.ActListWeight = 17, info.ActListEnergyConsumption = 18;
  info.IsViewEnergyConsumption = true;
  info.LinkListTitle = 19, info.LinkListLink = 20, info.LinkListNote = 21;
  info.LeftPanelWidth = 22, info.RightPanelWidth = 23, info.BottomPanelHeight = 24, info.MemoPanelHeight = 25;
  info.RightPanelDockClientList = {"A"};
  info.BottomPanelDockClientList = {"B", "C"};
  info.FloatingList = {"D"};
  info.RightPanelDockInfo = "\x01\xAB";
  info.MapDefaultInfo.SetMapType("SATELLITE");
  info.MapDefaultInfo.SetZoom(5);
  info.MapDefaultInfo.SetLatitude(43.0625L);
  info.MapDefaultInfo.SetLongitude(141.3125L);
  info.LinkViewInfo.SetViewStyle(vsReport);
  info.LinkViewInfo.SetThumbnailWidth(26);
  info.LinkViewInfo.SetThumbnailHeight(27);
  info.LinkViewInfo.SetWidthBlank(28);
  info.LinkViewInfo.SetHeightBlank(29);
  info.DropFileDialogDestination = 2, info.DropFileDialogJpeg = true, info.DropFileDialogDate = 42095.5;
  info.DropFileDialogCategory = "ジョギング", info.DropFileDialogUserCategory = "ヨガ";
  info.DropFileDialogOneAct = true;
  info.FileLinkSearchFolderList = {"/p"};
  info.FileLinkSearchFileNameList = {"*.jpg", "*.gpx"};
  info.IsFileLinkSearchSubFolder = true;
}

// The section as files of every version have it: its elements, their attributes and list
// children in this order, every one present, the weight column and the energy view left out.
TEST(ChildWindowSection, IsWrittenInItsOrderAndReadBackWhole) {
  TDiaryFixture diary;
  FillWindows(diary.ChildWindowInfo);
  const std::string bytes = diary.SaveToString();
  const std::size_t start = bytes.find("<子ウインドウ>");
  const std::size_t end = bytes.find("</子ウインドウ>");
  ASSERT_TRUE(start != std::string::npos && end != std::string::npos);
  EXPECT_EQ(bytes.substr(start, end - start),
            "<子ウインドウ>"
            "<RecordDialog Left=\"1\" Top=\"2\" Width=\"3\" Height=\"4\" LinkPanel=\"1\" LinkPanelWidth=\"5\" "
            "LinkPreviewPanelHeight=\"6\"/>"
            "<ActForm Left=\"7\" Top=\"8\" Width=\"9\" Height=\"10\"/>"
            "<ActList Title=\"11\" Data=\"12\" Time=\"13\" Date=\"14\" EndTime=\"15\" Speed=\"16\" "
            "EnergyConsumption=\"18\"/>"
            "<LinkList Title=\"19\" Link=\"20\" Note=\"21\"/>"
            "<Panel Left=\"22\" Right=\"23\" Bottom=\"24\" Memo=\"25\"/>"
            "<Docking RightPanelDockInfo=\"01AB\" BottomPanelDockInfo=\"\">"
            "<RightPanelDock RightPanelDock0=\"A\"/><RightTabDock/>"
            "<BottomPanelDock BottomPanelDock0=\"B\" BottomPanelDock1=\"C\"/><BottomTabDock/>"
            "<Floating Floating0=\"D\"/></Docking>"
            "<MapInfo MapType=\"SATELLITE\" Zoom=\"5\" Latitude=\"43.0625\" Longitude=\"141.3125\"/>"
            "<LinkViewInfo ViewStyle=\"3\" Width=\"26\" Height=\"27\" WidthBlank=\"28\" HeightBlank=\"29\"/>"
            "<DropFileDialog Destination=\"2\" Jpeg=\"1\" Gps=\"0\" Date=\"42095.5\" Category=\"ジョギング\" "
            "UserCategory=\"ヨガ\" OneAct=\"1\"/>"
            "<FileLinkSearch SubFolder=\"1\" OneAct=\"0\">"
            "<FolderList FolderList0=\"/p\"/><FileNameList FileNameList0=\"*.jpg\" FileNameList1=\"*.gpx\"/>"
            "</FileLinkSearch>");

  TDiaryFixture loaded;
  loaded.LoadString(bytes);
  ExpectSameDataFileFields(loaded.ChildWindowInfo, diary.ChildWindowInfo);
  EXPECT_EQ(loaded.ChildWindowInfo.ActListWeight, 0);
  EXPECT_FALSE(loaded.ChildWindowInfo.IsViewEnergyConsumption);
}

}  // namespace
}  // namespace hakuvo
