#pragma once

#include <string>
#include <string_view>

#include "core/model/category_info_list.h"
#include "core/model/day_data.h"
#include "core/model/graph_info.h"
#include "core/model/link_data.h"
#include "core/settings/child_window_info.h"

namespace pugi {
class xml_document;
struct xml_parse_result;
}  // namespace pugi

namespace hakuvo {

class TXmlSource;
struct TDayDataSources;

// The graph and window choices that travel with a diary: written from these fields, and read back
// into them by Load for the main window to apply.
struct TDayDataFileView {
  std::string DayGraphCategory;
  std::string MonthGraphCategory;
  std::string YearGraphCategory;
  std::string ComboCategory;
  std::string MultiDayGraphCategory;
  std::string MultiDayGraphCategory2;
  int MultiDayGraphRecordKind2 = 0;
  int MultiDayGraphRecordKind = 0;
  int Width = 0;
  int Top = 0;
  int Height = 0;
  int Left = 0;
};

// Reads and writes the diary's XML data file. It owns none of the objects it is handed: the main
// window gives it its day list, category settings, the file, thing and person lists, the two
// graph settings of the two-data graph and the layout record, calls Save or Load, and takes the
// graph and window choices back after a load.
//
// Save replaces the file atomically: a failed or interrupted save leaves the previous file whole.
// Load is all or nothing: it reads into fresh objects and hands them over only when the whole file
// was read, so a bad file leaves every given object (and the choices here) as it was and throws
// EHakuvoError naming the file, the element and the attribute.
class TDayDataFile {
 public:
  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& value) { FFileName = value; }
  void SetDayDataList(TDayDataList* value) { FDayDataList = value; }
  void SetCategoryInfoList(TCategoryInfoList* value) { FCategoryInfoList = value; }
  void SetFileList(TLinkDataOwner* value) { FFileList = value; }
  void SetThingList(TLinkDataOwner* value) { FThingList = value; }
  void SetPersonList(TLinkDataOwner* value) { FPersonList = value; }
  void SetMultiDayGraphInfo(TGraphInfo* value) { FMultiDayGraphInfo = value; }
  void SetMultiDayGraphInfo2(TGraphInfo* value) { FMultiDayGraphInfo2 = value; }
  TChildWindowInfo* ChildWindowInfo() const { return FChildWindowInfo; }
  void SetChildWindowInfo(TChildWindowInfo* value) { FChildWindowInfo = value; }

  const std::string& DayGraphCategory() const { return FView.DayGraphCategory; }
  void SetDayGraphCategory(const std::string& value) { FView.DayGraphCategory = value; }
  const std::string& MonthGraphCategory() const { return FView.MonthGraphCategory; }
  void SetMonthGraphCategory(const std::string& value) { FView.MonthGraphCategory = value; }
  const std::string& YearGraphCategory() const { return FView.YearGraphCategory; }
  void SetYearGraphCategory(const std::string& value) { FView.YearGraphCategory = value; }
  const std::string& ComboCategory() const { return FView.ComboCategory; }
  void SetComboCategory(const std::string& value) { FView.ComboCategory = value; }
  const std::string& MultiDayGraphCategory() const { return FView.MultiDayGraphCategory; }
  void SetMultiDayGraphCategory(const std::string& value) { FView.MultiDayGraphCategory = value; }
  const std::string& MultiDayGraphCategory2() const { return FView.MultiDayGraphCategory2; }
  void SetMultiDayGraphCategory2(const std::string& value) { FView.MultiDayGraphCategory2 = value; }
  int MultiDayGraphRecordKind2() const { return FView.MultiDayGraphRecordKind2; }
  void SetMultiDayGraphRecordKind2(int value) { FView.MultiDayGraphRecordKind2 = value; }
  int MultiDayGraphRecordKind() const { return FView.MultiDayGraphRecordKind; }
  void SetMultiDayGraphRecordKind(int value) { FView.MultiDayGraphRecordKind = value; }
  int Width() const { return FView.Width; }
  void SetWidth(int value) { FView.Width = value; }
  int Top() const { return FView.Top; }
  void SetTop(int value) { FView.Top = value; }
  int Height() const { return FView.Height; }
  void SetHeight(int value) { FView.Height = value; }
  int Left() const { return FView.Left; }
  void SetLeft(int value) { FView.Left = value; }

  // Writes the whole diary to FileName, replacing the file only once all of it is on disk.
  void Save() const;
  // Reads FileName into the given objects (see the class comment for what a failure leaves).
  void Load();

  // The document Save writes, as bytes.
  std::string SaveToString() const;
  // Load from bytes already in memory; FileName only names the source in error messages.
  void LoadFromString(std::string_view bytes);

 private:
  // Every object must be given; forgetting one is a programming error, not a bad file.
  void CheckObjects() const;
  TDayDataSources Sources() const;
  void Read(pugi::xml_document& document, const pugi::xml_parse_result& result, TXmlSource& source);

  std::string FFileName;
  TDayDataList* FDayDataList = nullptr;
  TCategoryInfoList* FCategoryInfoList = nullptr;
  TLinkDataOwner* FThingList = nullptr;
  TLinkDataOwner* FPersonList = nullptr;
  TLinkDataOwner* FFileList = nullptr;
  TGraphInfo* FMultiDayGraphInfo2 = nullptr;
  TGraphInfo* FMultiDayGraphInfo = nullptr;
  TChildWindowInfo* FChildWindowInfo = nullptr;
  TDayDataFileView FView;
};

}  // namespace hakuvo
