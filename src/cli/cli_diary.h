#pragma once

#include <memory>
#include <string>
#include <vector>

#include "core/datafile/day_data_file.h"
#include "core/model/category_info_list.h"
#include "core/model/day_data.h"
#include "core/model/graph_info.h"
#include "core/model/link_data.h"
#include "core/settings/child_window_info.h"

namespace hakuvo::cli {

// Everything one diary file holds, owned together, for commands that read or write a diary.
struct Diary {
  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Categories = TCategoryInfoList::CreateStandard();
  TLinkDataOwner Files;
  TLinkDataOwner Things;
  TLinkDataOwner Persons;
  TGraphInfo MultiDayGraphInfo;
  TGraphInfo MultiDayGraphInfo2;
  TChildWindowInfo ChildWindowInfo;
  TDayDataFile File;

  explicit Diary(const std::string& fileName);
  void Load() { File.Load(); }
  void Save() { File.Save(); }
};

// Options of the form --name VALUE or --flag; everything else is positional.
struct Arguments {
  std::vector<std::string> Positional;
  std::vector<std::pair<std::string, std::string>> Options;

  bool Has(const std::string& name) const;
  std::string Value(const std::string& name, const std::string& fallback = "") const;
};

// `valued` lists the options that take a value; an unknown option is a usage error.
Arguments ParseArguments(const std::vector<std::string>& args, const std::vector<std::string>& valued,
                         const std::vector<std::string>& flags);

// Prints cells joined by tabs and a line end.
void PrintRow(const std::vector<std::string>& cells);

}  // namespace hakuvo::cli
