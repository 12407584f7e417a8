#pragma once

#include <string>

#include "core/common/date_time.h"
#include "core/common/text_util.h"
#include "core/model/link_view_info.h"
#include "core/model/map_info.h"

namespace hakuvo {

// Where the child windows, panels and list columns were, and the choices the file-drop and
// file-search dialogs remember. The settings file keeps all of it; the data file keeps most of it
// (not ActListWeight nor IsViewEnergyConsumption), so a diary reopens in the layout it was saved in.
//
// Every number starts at 0 and every flag false: the settings file supplies its own defaults for
// missing keys when it reads.
class TChildWindowInfo {
 public:
  TChildWindowInfo() = default;
  virtual ~TChildWindowInfo() = default;
  TChildWindowInfo(const TChildWindowInfo&) = delete;
  TChildWindowInfo& operator=(const TChildWindowInfo&) = delete;

  virtual void Assign(const TChildWindowInfo& source);

  // One entry per docked window: its name, TAB, its width, TAB, its height.
  TStringList RightPanelDockClientList;
  TStringList RightTabDockClientList;
  TStringList BottomPanelDockClientList;
  TStringList BottomTabDockClientList;
  // One entry per floating window: name, left, top, width and height separated by TABs.
  TStringList FloatingList;
  // The dock panels' split layout as the docking code saved it; raw bytes, opaque here.
  std::string RightPanelDockInfo;
  std::string BottomPanelDockInfo;
  int LeftPanelWidth = 0;
  int RightPanelWidth = 0;
  int BottomPanelHeight = 0;
  int MemoPanelHeight = 0;
  TMapDefaultInfo MapDefaultInfo;
  TLinkViewInfo LinkViewInfo;
  // A width of 0 means the bounds were never stored.
  int RecordDialogLeft = 0;
  int RecordDialogTop = 0;
  int RecordDialogWidth = 0;
  int RecordDialogHeight = 0;
  bool RecordDialogLinkPanelVisible = false;
  int RecordDialogLinkPanelWidth = 0;
  int RecordDialogLinkPreviewPanelHeight = 0;
  int ActFormLeft = 0;
  int ActFormTop = 0;
  int ActFormWidth = 0;
  int ActFormHeight = 0;
  int ActListTitle = 0;
  int ActListData = 0;
  int ActListTime = 0;
  int ActListDate = 0;
  int ActListEndTime = 0;
  int ActListSpeed = 0;
  int ActListWeight = 0;
  int ActListEnergyConsumption = 0;
  bool IsViewEnergyConsumption = false;
  int LinkListTitle = 0;
  int LinkListLink = 0;
  int LinkListNote = 0;
  // Date of dropped files: 0 the file's date, 1 today, 2 DropFileDialogDate.
  int DropFileDialogDestination = 0;
  bool DropFileDialogJpeg = false;
  bool DropFileDialogGps = false;
  TDateTime DropFileDialogDate = 0;
  std::string DropFileDialogCategory;  // a category display name
  std::string DropFileDialogUserCategory;
  bool DropFileDialogOneAct = false;
  TStringList FileLinkSearchFolderList;
  TStringList FileLinkSearchFileNameList;
  bool IsFileLinkSearchSubFolder = false;
  bool IsFileLinkSearchOneAct = false;
};

}  // namespace hakuvo
