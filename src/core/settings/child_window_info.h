#pragma once

#include <cstdint>
#include <span>
#include <string>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/common/text_util.h"
#include "core/model/link_view_info.h"
#include "core/model/map_info.h"

namespace hakuvo {

// Where the child windows, panels and list columns were, and the choices the file-drop and
// file-search dialogs remember. The settings file keeps all of it; the data file keeps most of it
// (not ActListWeight, ActListPace, IsViewEnergyConsumption nor IsViewPace), so a diary reopens in the layout it was
// saved in.
//
// Every number starts at 0 and every flag false: the settings file supplies its own defaults for
// missing keys when it reads.
//
// A plain value: a copy is whole and shares nothing with its source. Every field is also listed,
// once, in ChildWindowFields() below, which tells both files where it is kept; a new field goes
// into that table and nowhere else.
class TChildWindowInfo {
 public:
  TChildWindowInfo() = default;
  virtual ~TChildWindowInfo() = default;
  TChildWindowInfo(const TChildWindowInfo&) = default;
  TChildWindowInfo& operator=(const TChildWindowInfo&) = default;
  TChildWindowInfo(TChildWindowInfo&&) = default;
  TChildWindowInfo& operator=(TChildWindowInfo&&) = default;

  virtual void Assign(const TChildWindowInfo& source) { *this = source; }

  // Every field of the table equal.
  bool operator==(const TChildWindowInfo& other) const;

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
  int ActListPace = 0;
  bool IsViewPace = false;
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

// The kind of a field's value, which decides how each file writes it.
enum TChildWindowFieldType : std::uint8_t {
  cwInt,    // decimal integer
  cwFlag,   // "1" or "0"
  cwDate,   // a date-time serial
  cwReal,   // a decimal number, read at full precision
  cwText,   // text as it is
  cwBytes,  // hexadecimal text, two upper-case digits a byte
  cwList,   // numbered entries (see TChildWindowField)
};

// Reads and sets one field; the map and link-view settings sit behind their objects' setters,
// which also keep an out-of-range view style out.
template <typename T>
struct TChildWindowAccess {
  T (*Get)(const TChildWindowInfo&) = nullptr;
  void (*Set)(TChildWindowInfo&, T) = nullptr;
};

// Where the settings file keeps a field. A list keeps its length under CountKey and its entries
// under Key0, Key1, ...
struct TChildWindowIniPlace {
  const char* Section = nullptr;
  const char* Key = nullptr;
  const char* CountKey = nullptr;
};

// Where the data file keeps a field: an attribute of the element Element under "子ウインドウ"; a
// list is the child element Attribute of Element, with attributes Attribute0, Attribute1, ...
// Element is null for a field the data file does not keep. A field with TiedTo is read only from
// an element that has that attribute: "ActList" got its later columns all at once, and "Date"
// tells whether a file has them.
struct TChildWindowXmlPlace {
  const char* Element = nullptr;
  const char* Attribute = nullptr;
  const char* TiedTo = nullptr;
};

// What the settings file gives a field whose key is missing (or, for a number, does not convert;
// for a list, whose count is missing or negative).
struct TChildWindowIniDefault {
  enum TKind : std::uint8_t {
    dkNew,     // the value a new TChildWindowInfo has
    dkNumber,  // Number (integers, flags)
    dkNow,     // the current date and time
    dkLines,   // the entries Lines
  };
  TKind Kind = dkNew;
  Extended Number = 0;
  std::span<const char* const> Lines;
};

// One field of TChildWindowInfo: its name, where each file keeps it, its default in the settings
// file and how to reach it. Exactly the access of Type is set (cwText and cwBytes use Text).
struct TChildWindowField {
  const char* Name;
  TChildWindowFieldType Type;
  TChildWindowIniPlace Ini;
  TChildWindowXmlPlace Xml;
  TChildWindowIniDefault IniDefault;
  TChildWindowAccess<int> Int;
  TChildWindowAccess<bool> Flag;
  TChildWindowAccess<TDateTime> Date;
  TChildWindowAccess<Extended> Real;
  TChildWindowAccess<std::string> Text;
  TChildWindowAccess<TStringList> List;

  bool InDataFile() const { return Xml.Element != nullptr; }
  bool Equal(const TChildWindowInfo& a, const TChildWindowInfo& b) const;

  // Calls `visit` with the field's value in `info`, typed as held.
  template <typename Visitor>
  void Visit(const TChildWindowInfo& info, Visitor&& visit) const {
    switch (Type) {
      case cwInt:
        visit(Int.Get(info));
        break;
      case cwFlag:
        visit(Flag.Get(info));
        break;
      case cwDate:
        visit(Date.Get(info));
        break;
      case cwReal:
        visit(Real.Get(info));
        break;
      case cwText:
      case cwBytes:
        visit(Text.Get(info));
        break;
      case cwList:
        visit(List.Get(info));
        break;
    }
  }
};

// Every field, in the order the settings file writes them (the order of the data file's
// attributes within each element is the same).
std::span<const TChildWindowField> ChildWindowFields();

}  // namespace hakuvo
