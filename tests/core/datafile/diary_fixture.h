#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include "core/datafile/day_data_file.h"
#include "support/temp_folder.h"

namespace hakuvo {

// Everything the main window hands the data file, owned in one place. Not the core's TDiary:
// two classes of one name would share one inline destructor once both are linked.
struct TDiaryFixture {
  TDiaryFixture();
  TDiaryFixture(const TDiaryFixture&) = delete;
  TDiaryFixture& operator=(const TDiaryFixture&) = delete;

  // A data file bound to these objects, with View in its choices.
  TDayDataFile File(const std::string& fileName);
  // Save and load through a data file; a load takes the file's choices back into View, also when
  // it fails (they must be as they were then).
  void Save(const std::filesystem::path& fileName);
  void Load(const std::filesystem::path& fileName);
  void LoadString(const std::string& bytes, const std::string& fileName = "diary.hkvj");
  std::string SaveToString();

  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Categories;
  TLinkDataOwner Files;
  TLinkDataOwner Things;
  TLinkDataOwner Persons;
  TGraphInfo MultiDayGraphInfo;
  TGraphInfo MultiDayGraphInfo2;
  TChildWindowInfo ChildWindowInfo;
  TDayDataFileView View;
};

// A diary with every category, every record class, memos of several lines, places, links of
// every kind, things, persons and every setting away from its default. Numbers are chosen so
// that their shortest decimal form reads back to the same value.
void FillDiary(TDiaryFixture& diary);

// Every stored field of `a` equals that of `b`. Links are compared by class and code.
void ExpectSameDiary(const TDiaryFixture& a, const TDiaryFixture& b);

std::string ReadFileBytes(const std::filesystem::path& path);
void WriteFileBytes(const std::filesystem::path& path, const std::string& bytes);
std::filesystem::path FixturePath(const std::string& name);

using test::TTempFolder;

}  // namespace hakuvo
