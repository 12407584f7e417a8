#include "core/settings/child_window_info.h"

namespace hakuvo {

void TChildWindowInfo::Assign(const TChildWindowInfo& source) {
  if (&source == this) return;
  RightPanelDockClientList = source.RightPanelDockClientList;
  RightTabDockClientList = source.RightTabDockClientList;
  BottomPanelDockClientList = source.BottomPanelDockClientList;
  BottomTabDockClientList = source.BottomTabDockClientList;
  FloatingList = source.FloatingList;
  RightPanelDockInfo = source.RightPanelDockInfo;
  BottomPanelDockInfo = source.BottomPanelDockInfo;
  LeftPanelWidth = source.LeftPanelWidth;
  RightPanelWidth = source.RightPanelWidth;
  BottomPanelHeight = source.BottomPanelHeight;
  MemoPanelHeight = source.MemoPanelHeight;
  MapDefaultInfo.Assign(source.MapDefaultInfo);
  LinkViewInfo.Assign(source.LinkViewInfo);
  RecordDialogLeft = source.RecordDialogLeft;
  RecordDialogTop = source.RecordDialogTop;
  RecordDialogWidth = source.RecordDialogWidth;
  RecordDialogHeight = source.RecordDialogHeight;
  RecordDialogLinkPanelVisible = source.RecordDialogLinkPanelVisible;
  RecordDialogLinkPanelWidth = source.RecordDialogLinkPanelWidth;
  RecordDialogLinkPreviewPanelHeight = source.RecordDialogLinkPreviewPanelHeight;
  ActFormLeft = source.ActFormLeft;
  ActFormTop = source.ActFormTop;
  ActFormWidth = source.ActFormWidth;
  ActFormHeight = source.ActFormHeight;
  ActListTitle = source.ActListTitle;
  ActListData = source.ActListData;
  ActListTime = source.ActListTime;
  ActListDate = source.ActListDate;
  ActListEndTime = source.ActListEndTime;
  ActListSpeed = source.ActListSpeed;
  ActListWeight = source.ActListWeight;
  ActListEnergyConsumption = source.ActListEnergyConsumption;
  IsViewEnergyConsumption = source.IsViewEnergyConsumption;
  LinkListTitle = source.LinkListTitle;
  LinkListLink = source.LinkListLink;
  LinkListNote = source.LinkListNote;
  DropFileDialogDestination = source.DropFileDialogDestination;
  DropFileDialogJpeg = source.DropFileDialogJpeg;
  DropFileDialogGps = source.DropFileDialogGps;
  DropFileDialogDate = source.DropFileDialogDate;
  DropFileDialogCategory = source.DropFileDialogCategory;
  DropFileDialogUserCategory = source.DropFileDialogUserCategory;
  DropFileDialogOneAct = source.DropFileDialogOneAct;
  FileLinkSearchFolderList = source.FileLinkSearchFolderList;
  FileLinkSearchFileNameList = source.FileLinkSearchFileNameList;
  IsFileLinkSearchSubFolder = source.IsFileLinkSearchSubFolder;
  IsFileLinkSearchOneAct = source.IsFileLinkSearchOneAct;
}

}  // namespace hakuvo
