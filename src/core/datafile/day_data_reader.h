#pragma once

// The data file's reader; not for use outside src/core/datafile.

#include <pugixml.hpp>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/datafile/day_data_file.h"
#include "core/datafile/xml_element_reader.h"

namespace hakuvo {

// GUID codes compare without regard to letter case.
bool SameCode(std::string_view a, std::string_view b) noexcept;

// Positions of codes in a list, the first of each code: open addressing over the list's own
// codes, so building it allocates one array and not a node per link.
class TCodeIndex {
 public:
  static constexpr std::size_t npos = static_cast<std::size_t>(-1);
  // Indexes the codes that are `present`; `shadowed[i]` tells that codes[i] is not indexed (absent,
  // or an earlier code equals it). The views must stay valid while the index is used.
  void Build(const std::vector<std::string_view>& codes, const std::vector<bool>& present, std::vector<bool>& shadowed);
  std::size_t Find(std::string_view code) const;

 private:
  const std::vector<std::string_view>* FCodes = nullptr;
  std::vector<std::uint32_t> FSlots;  // position + 1; 0 is a free slot
  std::size_t FMask = 0;
};

// One of the diary's three owning link lists while a file is read.
struct TLinkListLoad {
  explicit TLinkListLoad(TLinkDataOwner& target) : Target(target) {}

  // The links that codes in the file refer to: the section's.
  void BuildIndex();
  TLinkData* Find(std::string_view code);

  TLinkDataOwner& Target;
  // The section's links and the links made for older files' paths: the list's new content.
  TLinkDataOwner Fresh;

 private:
  std::vector<TLinkData*> FLinks;        // what the index covers, in list order
  std::string FCodeText;                 // the codes, one after the other
  std::vector<std::string_view> FCodes;  // in FCodeText
  std::vector<bool> FShadowed;           // an earlier link has the same code
  TCodeIndex FIndex;
  std::size_t FNext = 0;
};

struct TKindClasses;

// Reads a parsed document into fresh objects and hands them over only when all of it was read:
// a file that fails half-way changes nothing.
class TDayDataReader {
 public:
  struct TTargets {
    TDayDataList& Days;
    TCategoryInfoList& Categories;
    TLinkDataOwner& Files;
    TLinkDataOwner& Things;
    TLinkDataOwner& Persons;
    TGraphInfo& MultiDayGraphInfo;
    TGraphInfo& MultiDayGraphInfo2;
    TChildWindowInfo& ChildWindowInfo;
    TDayDataFileView& View;
  };

  TDayDataReader(TXmlSource& source, const TTargets& targets);
  TDayDataReader(const TDayDataReader&) = delete;
  TDayDataReader& operator=(const TDayDataReader&) = delete;

  // Throws EHakuvoError at the first fault; the targets are untouched until Commit.
  void Read(pugi::xml_node root);
  void Commit();

 private:
  // Lists and days (day_data_reader.cpp).
  void ReadFileList(pugi::xml_node list);
  void ReadThingList(pugi::xml_node list);
  void ReadPersonList(pugi::xml_node list);
  void ReadDays(pugi::xml_node list);
  std::unique_ptr<TActData> ReadAct(pugi::xml_node node, TDayData& day);
  void ReadRecord(pugi::xml_node node, TElementReader& act, const TKindClasses& classes, TRecordData& record);
  void ReadLinks(pugi::xml_node node, TActData& act);
  void ReadLinksInto(pugi::xml_node node, TLinkDataList& links);

  // Settings sections (day_settings_reader.cpp).
  void ReadCategories(pugi::xml_node list);
  void ReadCategory(pugi::xml_node node, TCategoryInfo& info);
  void ReadGraphInfo(const TElementReader& parent, const char* name, TGraphInfo& info);
  void ReadSpeedGraphInfo(pugi::xml_node node, TSpeedGraphInfo& info);
  void ReadMapInfo(pugi::xml_node node, TMapInfo& info);
  void ReadGraphSection(pugi::xml_node node);
  void ReadWindowSection(pugi::xml_node node);
  void ReadChildWindowSection(pugi::xml_node node);
  void ReadChildWindowField(TElementReader& r, const TChildWindowField& field);
  // Attributes prefix0, prefix1, … (as many as the element has) into `texts`, at most `limit`
  // of them; a missing one stops the load.
  void ReadIndexed(pugi::xml_node node, const char* prefix, std::vector<std::string>& texts, std::size_t limit);
  // prefix + index in decimal, made once ("単位0" is asked for by every record).
  const std::string& IndexedName(const char* prefix, std::size_t index);
  // The names made so far for a prefix.
  std::vector<std::string>& IndexedNames(const char* prefix);

  TXmlSource& FSource;
  const TTargets FTargets;

  TLinkListLoad FFiles;
  TLinkListLoad FThings;
  TLinkListLoad FPersons;
  TDayDataList FDays;
  TLinkDataList FActLinks;  // the links of the action being read
  TCategoryInfoList FCategories;
  TGraphInfo FMultiDayGraphInfo;
  TGraphInfo FMultiDayGraphInfo2;
  TChildWindowInfo FChildWindowInfo;
  TDayDataFileView FView;
  std::vector<std::pair<const char*, std::vector<std::string>>> FIndexedNames;
};

// The element children of a node (text and other nodes between them carry nothing). `f` may
// remove the child it is given.
template <typename F>
void ForEachElement(pugi::xml_node node, F&& f) {
  // An empty node is of type node_null: one call into the library less than testing the node.
  for (pugi::xml_node child = node.first_child();;) {
    const pugi::xml_node_type type = child.type();
    if (type == pugi::node_null) break;
    const pugi::xml_node next = child.next_sibling();
    if (type == pugi::node_element) f(child);
    child = next;
  }
}

}  // namespace hakuvo
