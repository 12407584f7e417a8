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

// An integer or flag attribute of the child-window section (exactly one of the two is set).
struct TChildWindowField {
  const char* Name;
  int TChildWindowInfo::*Int;
  bool TChildWindowInfo::*Flag;
};
struct TChildWindowElement {
  const char* Name;
  const TChildWindowField* Fields;
  int Count;
};
// "RecordDialog", "ActForm", "LinkList", "Panel": every attribute plain.
extern const TChildWindowElement kPlainChildWindowElements[4];
// "ActList": the first kActListOldCount attributes are in every file; the rest came later, all
// together, and "Date" tells whether a file has them.
extern const TChildWindowElement kActListElement;
constexpr int kActListOldCount = 3;

}  // namespace hakuvo
