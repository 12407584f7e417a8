#pragma once

// Shared by the data file's writer and reader; not for use outside src/core/datafile.

#include <pugixml.hpp>

#include <cstddef>
#include <string>

#include "core/common/extended.h"
#include "core/datafile/day_data_file.h"

namespace hakuvo {

// The root's children that make a document a diary, in the order Save writes them.
inline constexpr const char* kDiarySections[] = {"日リスト", "カテゴリリスト", "ファイルリスト", "物リスト",
                                                 "人リスト", "グラフ",         "ウインドウ",     "子ウインドウ"};

// What Save writes.
struct TDayDataSources {
  const TDayDataList& Days;
  const TCategoryInfoList& Categories;
  const TLinkDataList& Files;
  const TLinkDataList& Things;
  const TLinkDataList& Persons;
  const TGraphInfo& MultiDayGraphInfo;
  const TGraphInfo& MultiDayGraphInfo2;
  const TChildWindowInfo& ChildWindowInfo;
  const TDayDataFileView& View;
};

inline constexpr const char* kRootName = "tekuri";

// The camera's clock offset to the track, in seconds, on an action's "リンク" element.
inline constexpr const char* CameraClockOffsetAttribute = "カメラ時計補正";

// Writes the whole document as text: what pugixml writes for the diary's tree without
// indentation, made a few days at a time so that the tree of all of it is never held.
void WriteDayDataDocument(const TDayDataSources& sources, pugi::xml_writer& out);
// A generous guess of the written size, to reserve the output at once: what is reserved and
// never written costs no memory, a guess too small costs a copy of everything written so far.
std::size_t EstimatedDocumentSize(const TDayDataSources& sources);

// The attributes of a person after those it shares with a thing, in the order they are written.
struct TPersonField {
  const char* Name;
  const std::string& (TPersonLink::*Text)() const;
  void (TPersonLink::*SetText)(const std::string&);
  Extended (TPersonLink::*Number)() const;
  void (TPersonLink::*SetNumber)(Extended);
};
extern const TPersonField kPersonFields[21];

// The children of "子ウインドウ" in the order they are written and read; the attributes and list
// children of each are the fields of ChildWindowFields() kept in it, in the table's order.
extern const char* const kChildWindowElements[10];

}  // namespace hakuvo
