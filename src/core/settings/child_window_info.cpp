#include "core/settings/child_window_info.h"

#include <type_traits>
#include <utility>

namespace hakuvo {

namespace {

using C = TChildWindowInfo;
using TDefault = TChildWindowIniDefault;

template <auto Member>
constexpr auto Access() {
  using T = std::remove_cvref_t<decltype(std::declval<C&>().*Member)>;
  return TChildWindowAccess<T>{[](const C& info) -> T { return info.*Member; },
                               [](C& info, T value) { info.*Member = std::move(value); }};
}

constexpr TDefault Number(Extended value) { return {TDefault::dkNumber, value, {}}; }
constexpr TDefault Now{TDefault::dkNow, 0, {}};

// Windows that start docked when the settings file holds no layout: the action graph in the
// bottom panel, the day, month and year graphs as tabs below.
constexpr const char* DefaultBottomPanelDocks[] = {"ActMultiGraphForm\t150\t300"};
constexpr const char* DefaultBottomTabDocks[] = {"GraphForm\t150\t300", "MonthGraphForm\t150\t300",
                                                 "YearGraphForm\t150\t300"};
constexpr TDefault Lines(std::span<const char* const> lines) { return {TDefault::dkLines, 0, lines}; }

constexpr TChildWindowField Field(const char* name, TChildWindowFieldType type, TChildWindowIniPlace ini,
                                  TChildWindowXmlPlace xml, TDefault iniDefault) {
  TChildWindowField field{};
  field.Name = name;
  field.Type = type;
  field.Ini = ini;
  field.Xml = xml;
  field.IniDefault = iniDefault;
  return field;
}

constexpr TChildWindowField Int(const char* name, TChildWindowAccess<int> access, TChildWindowIniPlace ini,
                                TChildWindowXmlPlace xml, TDefault iniDefault = {}) {
  TChildWindowField field = Field(name, cwInt, ini, xml, iniDefault);
  field.Int = access;
  return field;
}
constexpr TChildWindowField Flag(const char* name, TChildWindowAccess<bool> access, TChildWindowIniPlace ini,
                                 TChildWindowXmlPlace xml, TDefault iniDefault = {}) {
  TChildWindowField field = Field(name, cwFlag, ini, xml, iniDefault);
  field.Flag = access;
  return field;
}
constexpr TChildWindowField Date(const char* name, TChildWindowAccess<TDateTime> access, TChildWindowIniPlace ini,
                                 TChildWindowXmlPlace xml, TDefault iniDefault = {}) {
  TChildWindowField field = Field(name, cwDate, ini, xml, iniDefault);
  field.Date = access;
  return field;
}
constexpr TChildWindowField Real(const char* name, TChildWindowAccess<Extended> access, TChildWindowIniPlace ini,
                                 TChildWindowXmlPlace xml) {
  TChildWindowField field = Field(name, cwReal, ini, xml, {});
  field.Real = access;
  return field;
}
constexpr TChildWindowField Text(const char* name, TChildWindowAccess<std::string> access, TChildWindowIniPlace ini,
                                 TChildWindowXmlPlace xml, TChildWindowFieldType type = cwText) {
  TChildWindowField field = Field(name, type, ini, xml, {});
  field.Text = access;
  return field;
}
constexpr TChildWindowField Bytes(const char* name, TChildWindowAccess<std::string> access, TChildWindowIniPlace ini,
                                  TChildWindowXmlPlace xml) {
  return Text(name, access, ini, xml, cwBytes);
}
constexpr TChildWindowField List(const char* name, TChildWindowAccess<TStringList> access, TChildWindowIniPlace ini,
                                 TChildWindowXmlPlace xml, TDefault iniDefault = {}) {
  TChildWindowField field = Field(name, cwList, ini, xml, iniDefault);
  field.List = access;
  return field;
}

// The map's start view and the link window's display, behind their objects' setters.
constexpr TChildWindowAccess<std::string> MapType{
    [](const C& info) { return info.MapDefaultInfo.MapType(); },
    [](C& info, std::string value) { info.MapDefaultInfo.SetMapType(value); }};
constexpr TChildWindowAccess<int> MapZoom{[](const C& info) { return info.MapDefaultInfo.Zoom(); },
                                          [](C& info, int value) { info.MapDefaultInfo.SetZoom(value); }};
constexpr TChildWindowAccess<Extended> MapLatitude{
    [](const C& info) { return info.MapDefaultInfo.Latitude(); },
    [](C& info, Extended value) { info.MapDefaultInfo.SetLatitude(value); }};
constexpr TChildWindowAccess<Extended> MapLongitude{
    [](const C& info) { return info.MapDefaultInfo.Longitude(); },
    [](C& info, Extended value) { info.MapDefaultInfo.SetLongitude(value); }};
// A style beyond the four the link window knows falls back to icons, as a new object has.
constexpr TChildWindowAccess<int> LinkViewStyle{
    [](const C& info) { return static_cast<int>(info.LinkViewInfo.ViewStyle()); },
    [](C& info, int value) {
      info.LinkViewInfo.SetViewStyle(value >= vsIcon && value <= vsReport ? static_cast<TViewStyle>(value) : vsIcon);
    }};
constexpr TChildWindowAccess<int> LinkWidth{[](const C& info) { return info.LinkViewInfo.ThumbnailWidth(); },
                                            [](C& info, int value) { info.LinkViewInfo.SetThumbnailWidth(value); }};
constexpr TChildWindowAccess<int> LinkHeight{[](const C& info) { return info.LinkViewInfo.ThumbnailHeight(); },
                                             [](C& info, int value) { info.LinkViewInfo.SetThumbnailHeight(value); }};
constexpr TChildWindowAccess<int> LinkWidthBlank{[](const C& info) { return info.LinkViewInfo.WidthBlank(); },
                                                 [](C& info, int value) { info.LinkViewInfo.SetWidthBlank(value); }};
constexpr TChildWindowAccess<int> LinkHeightBlank{[](const C& info) { return info.LinkViewInfo.HeightBlank(); },
                                                  [](C& info, int value) { info.LinkViewInfo.SetHeightBlank(value); }};

constexpr TChildWindowXmlPlace NotInDataFile{};

// clang-format off
constexpr TChildWindowField Fields[] = {
    Int("RecordDialogLeft", Access<&C::RecordDialogLeft>(), {"RecordDialog", "Left"}, {"RecordDialog", "Left"}),
    Int("RecordDialogTop", Access<&C::RecordDialogTop>(), {"RecordDialog", "Top"}, {"RecordDialog", "Top"}),
    Int("RecordDialogWidth", Access<&C::RecordDialogWidth>(), {"RecordDialog", "Width"}, {"RecordDialog", "Width"}),
    Int("RecordDialogHeight", Access<&C::RecordDialogHeight>(), {"RecordDialog", "Height"},
        {"RecordDialog", "Height"}),
    Flag("RecordDialogLinkPanelVisible", Access<&C::RecordDialogLinkPanelVisible>(), {"RecordDialog", "LinkPanel"},
         {"RecordDialog", "LinkPanel"}),
    Int("RecordDialogLinkPanelWidth", Access<&C::RecordDialogLinkPanelWidth>(), {"RecordDialog", "LinkPanelWidth"},
        {"RecordDialog", "LinkPanelWidth"}, Number(300)),
    Int("RecordDialogLinkPreviewPanelHeight", Access<&C::RecordDialogLinkPreviewPanelHeight>(),
        {"RecordDialog", "LinkPreviewPanelHeight"}, {"RecordDialog", "LinkPreviewPanelHeight"}, Number(200)),

    Int("ActFormLeft", Access<&C::ActFormLeft>(), {"ActForm", "Left"}, {"ActForm", "Left"}),
    Int("ActFormTop", Access<&C::ActFormTop>(), {"ActForm", "Top"}, {"ActForm", "Top"}),
    Int("ActFormWidth", Access<&C::ActFormWidth>(), {"ActForm", "Width"}, {"ActForm", "Width"}),
    Int("ActFormHeight", Access<&C::ActFormHeight>(), {"ActForm", "Height"}, {"ActForm", "Height"}),

    Int("ActListTitle", Access<&C::ActListTitle>(), {"ActList", "Title"}, {"ActList", "Title"}),
    Int("ActListData", Access<&C::ActListData>(), {"ActList", "Data"}, {"ActList", "Data"}),
    Int("ActListTime", Access<&C::ActListTime>(), {"ActList", "Time"}, {"ActList", "Time"}),
    Int("ActListDate", Access<&C::ActListDate>(), {"ActList", "Date"}, {"ActList", "Date", "Date"}),
    Int("ActListEndTime", Access<&C::ActListEndTime>(), {"ActList", "EndTime"}, {"ActList", "EndTime", "Date"}),
    Int("ActListSpeed", Access<&C::ActListSpeed>(), {"ActList", "Speed"}, {"ActList", "Speed", "Date"}),
    Int("ActListWeight", Access<&C::ActListWeight>(), {"ActList", "Weight"}, NotInDataFile),
    Int("ActListEnergyConsumption", Access<&C::ActListEnergyConsumption>(), {"ActList", "EnergyConsumption"},
        {"ActList", "EnergyConsumption", "Date"}),
    Flag("IsViewEnergyConsumption", Access<&C::IsViewEnergyConsumption>(), {"ActList", "ViewEnergyConsumption"},
         NotInDataFile),
    Int("ActListPace", Access<&C::ActListPace>(), {"ActList", "Pace"}, NotInDataFile),
    Flag("IsViewPace", Access<&C::IsViewPace>(), {"ActList", "ViewPace"}, NotInDataFile),

    Int("LinkListTitle", Access<&C::LinkListTitle>(), {"LinkList", "Title"}, {"LinkList", "Title"}),
    Int("LinkListLink", Access<&C::LinkListLink>(), {"LinkList", "Link"}, {"LinkList", "Link"}),
    Int("LinkListNote", Access<&C::LinkListNote>(), {"LinkList", "Note"}, {"LinkList", "Note"}),

    Int("LeftPanelWidth", Access<&C::LeftPanelWidth>(), {"Window", "LeftPanelWidth"}, {"Panel", "Left"},
        Number(165)),
    Int("RightPanelWidth", Access<&C::RightPanelWidth>(), {"Window", "RightPanelWidth"}, {"Panel", "Right"},
        Number(300)),
    Int("BottomPanelHeight", Access<&C::BottomPanelHeight>(), {"Window", "BottomPanelHeight"}, {"Panel", "Bottom"},
        Number(300)),
    Int("MemoPanelHeight", Access<&C::MemoPanelHeight>(), {"Window", "MemoPanelHeight"}, {"Panel", "Memo"},
        Number(200)),
    List("RightPanelDockClientList", Access<&C::RightPanelDockClientList>(),
         {"Window", "RightPanelDock", "RightPanelDockCount"}, {"Docking", "RightPanelDock"}),
    List("RightTabDockClientList", Access<&C::RightTabDockClientList>(),
         {"Window", "RightTabDock", "RightTabDockCount"}, {"Docking", "RightTabDock"}),
    List("BottomPanelDockClientList", Access<&C::BottomPanelDockClientList>(),
         {"Window", "BottomPanelDock", "BottomPanelDockCount"}, {"Docking", "BottomPanelDock"},
         Lines(DefaultBottomPanelDocks)),
    List("BottomTabDockClientList", Access<&C::BottomTabDockClientList>(),
         {"Window", "BottomTabDock", "BottomTabDockCount"}, {"Docking", "BottomTabDock"},
         Lines(DefaultBottomTabDocks)),
    Bytes("RightPanelDockInfo", Access<&C::RightPanelDockInfo>(), {"Window", "RightPanelDockInfo"},
          {"Docking", "RightPanelDockInfo"}),
    Bytes("BottomPanelDockInfo", Access<&C::BottomPanelDockInfo>(), {"Window", "BottomPanelDockInfo"},
          {"Docking", "BottomPanelDockInfo"}),
    List("FloatingList", Access<&C::FloatingList>(), {"Window", "Floating", "FloatingCount"},
         {"Docking", "Floating"}),

    Int("DropFileDialogDestination", Access<&C::DropFileDialogDestination>(), {"DropFileDialog", "Destination"},
        {"DropFileDialog", "Destination"}),
    Flag("DropFileDialogJpeg", Access<&C::DropFileDialogJpeg>(), {"DropFileDialog", "Jpeg"},
         {"DropFileDialog", "Jpeg"}, Number(1)),
    Flag("DropFileDialogGps", Access<&C::DropFileDialogGps>(), {"DropFileDialog", "Gps"}, {"DropFileDialog", "Gps"},
         Number(1)),
    Date("DropFileDialogDate", Access<&C::DropFileDialogDate>(), {"DropFileDialog", "Date"},
         {"DropFileDialog", "Date"}, Now),
    Text("DropFileDialogCategory", Access<&C::DropFileDialogCategory>(), {"DropFileDialog", "Category"},
         {"DropFileDialog", "Category"}),
    Text("DropFileDialogUserCategory", Access<&C::DropFileDialogUserCategory>(), {"DropFileDialog", "UserCategory"},
         {"DropFileDialog", "UserCategory"}),
    Flag("DropFileDialogOneAct", Access<&C::DropFileDialogOneAct>(), {"DropFileDialog", "OneAct"},
         {"DropFileDialog", "OneAct"}, Number(1)),

    List("FileLinkSearchFolderList", Access<&C::FileLinkSearchFolderList>(),
         {"FileLinkSearch", "FolderList", "FolderCount"}, {"FileLinkSearch", "FolderList"}),
    List("FileLinkSearchFileNameList", Access<&C::FileLinkSearchFileNameList>(),
         {"FileLinkSearch", "FileNameList", "FileNameCount"}, {"FileLinkSearch", "FileNameList"}),
    Flag("IsFileLinkSearchSubFolder", Access<&C::IsFileLinkSearchSubFolder>(), {"FileLinkSearch", "SubFolder"},
         {"FileLinkSearch", "SubFolder"}),
    Flag("IsFileLinkSearchOneAct", Access<&C::IsFileLinkSearchOneAct>(), {"FileLinkSearch", "OneAct"},
         {"FileLinkSearch", "OneAct"}),

    Text("MapDefaultInfo.MapType", MapType, {"Map", "MapType"}, {"MapInfo", "MapType"}),
    Int("MapDefaultInfo.Zoom", MapZoom, {"Map", "Zoom"}, {"MapInfo", "Zoom"}),
    Real("MapDefaultInfo.Latitude", MapLatitude, {"Map", "Latitude"}, {"MapInfo", "Latitude"}),
    Real("MapDefaultInfo.Longitude", MapLongitude, {"Map", "Longitude"}, {"MapInfo", "Longitude"}),

    Int("LinkViewInfo.ViewStyle", LinkViewStyle, {"Link", "ViewStyle"}, {"LinkViewInfo", "ViewStyle"}),
    Int("LinkViewInfo.ThumbnailWidth", LinkWidth, {"Link", "Width"}, {"LinkViewInfo", "Width"}),
    Int("LinkViewInfo.ThumbnailHeight", LinkHeight, {"Link", "Height"}, {"LinkViewInfo", "Height"}),
    Int("LinkViewInfo.WidthBlank", LinkWidthBlank, {"Link", "WidthBlank"}, {"LinkViewInfo", "WidthBlank"}),
    Int("LinkViewInfo.HeightBlank", LinkHeightBlank, {"Link", "HeightBlank"}, {"LinkViewInfo", "HeightBlank"}),
};
// clang-format on

}  // namespace

std::span<const TChildWindowField> ChildWindowFields() { return Fields; }

bool TChildWindowField::Equal(const TChildWindowInfo& a, const TChildWindowInfo& b) const {
  switch (Type) {
    case cwInt:
      return Int.Get(a) == Int.Get(b);
    case cwFlag:
      return Flag.Get(a) == Flag.Get(b);
    case cwDate:
      return Date.Get(a) == Date.Get(b);
    case cwReal:
      return Real.Get(a) == Real.Get(b);
    case cwText:
    case cwBytes:
      return Text.Get(a) == Text.Get(b);
    case cwList:
      return List.Get(a) == List.Get(b);
  }
  return false;
}

bool TChildWindowInfo::operator==(const TChildWindowInfo& other) const {
  for (const TChildWindowField& field : Fields) {
    if (!field.Equal(*this, other)) return false;
  }
  return true;
}

}  // namespace hakuvo
