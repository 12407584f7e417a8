#include <memory>
#include <string>
#include <vector>

#include "cli/cli_command.h"
#include "cli/messages.h"
#include "core/datafile/day_data_file.h"
#include "core/datafile/diary_lock.h"

namespace {

// Loads a diary and writes it again: the check that a file survives the program's round trip,
// and the way to bring an older file to the current form.
int RunResave(const std::vector<std::string>& args) {
  if (args.size() != 2) throw hakuvo::cli::UsageError{hakuvo::cli::Text(hakuvo::cli::msgExpectedInOut)};
  hakuvo::TDayDataList days;
  const auto categories = hakuvo::TCategoryInfoList::CreateStandard();
  hakuvo::TLinkDataOwner files;
  hakuvo::TLinkDataOwner things;
  hakuvo::TLinkDataOwner persons;
  hakuvo::TGraphInfo multiDayGraphInfo;
  hakuvo::TGraphInfo multiDayGraphInfo2;
  hakuvo::TChildWindowInfo childWindowInfo;

  hakuvo::TDayDataFile file;
  file.SetDayDataList(&days);
  file.SetCategoryInfoList(categories.get());
  file.SetFileList(&files);
  file.SetThingList(&things);
  file.SetPersonList(&persons);
  file.SetMultiDayGraphInfo(&multiDayGraphInfo);
  file.SetMultiDayGraphInfo2(&multiDayGraphInfo2);
  file.SetChildWindowInfo(&childWindowInfo);
  // The same lock as the desktop program's save and import: no other writer of a diary in the
  // folder written to runs between the read and the save.
  const hakuvo::TDiaryLock lock(args[1]);
  file.SetFileName(args[0]);
  file.Load();
  // The graph and window choices read stay in the file object and are written back as they were.
  file.SetFileName(args[1]);
  file.Save();
  return 0;
}

hakuvo::cli::Registrar registrar({"resave", "IN OUT", "loads a diary and saves it again (round trip)", RunResave});

}  // namespace
