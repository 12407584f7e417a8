// The diary loader over arbitrary bytes. A load either fails with EHakuvoError or gives a diary
// whose saved document loads back and saves to the very same bytes.

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/common/hakuvo_error.h"
#include "core/datafile/day_data_file.h"

namespace {

struct TObjects {
  TObjects() {
    File.SetFileName("fuzz.hkvj");
    File.SetDayDataList(&Days);
    File.SetCategoryInfoList(Categories.get());
    File.SetFileList(&Files);
    File.SetThingList(&Things);
    File.SetPersonList(&Persons);
    File.SetMultiDayGraphInfo(&MultiDayGraphInfo);
    File.SetMultiDayGraphInfo2(&MultiDayGraphInfo2);
    File.SetChildWindowInfo(&ChildWindowInfo);
  }

  hakuvo::TDayDataList Days;
  std::unique_ptr<hakuvo::TCategoryInfoList> Categories = hakuvo::TCategoryInfoList::CreateStandard();
  hakuvo::TLinkDataOwner Files;
  hakuvo::TLinkDataOwner Things;
  hakuvo::TLinkDataOwner Persons;
  hakuvo::TGraphInfo MultiDayGraphInfo;
  hakuvo::TGraphInfo MultiDayGraphInfo2;
  hakuvo::TChildWindowInfo ChildWindowInfo;
  hakuvo::TDayDataFile File;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  TObjects first;
  try {
    first.File.LoadFromString(std::string_view(reinterpret_cast<const char*>(data), size));
  } catch (const hakuvo::EHakuvoError&) {
    return 0;
  }
  const std::string saved = first.File.SaveToString();
  TObjects second;
  second.File.LoadFromString(saved);  // an error here escapes and is reported
  if (second.File.SaveToString() != saved) __builtin_trap();
  return 0;
}
