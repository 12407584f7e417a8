#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/hakuvo_error.h"
#include "core/model/category_type.h"
#include "core/register/register_target.h"

namespace hakuvo {

// A file-name pattern as the file dialogs write them: "*" any run of characters, "?" any one
// character (a UTF-8 sequence counts as one), everything else itself, letter case ignored for
// A-Z. "[" is an ordinary character, so a name with brackets can be given as it is.
bool MatchFileNamePattern(std::string_view pattern, std::string_view name);
// True when the list is empty or any pattern matches.
bool MatchAnyFileNamePattern(const std::vector<std::string>& patterns, std::string_view name);

// One entry of a folder as the walk sees it.
struct TFolderEntry {
  std::string Name;
  bool IsFolder = false;   // a real folder (a link to a folder is not followed: it might lead back up)
  bool IsFile = false;     // anything else that can be registered (links to files followed)
  TDateTime Modified = 0;  // local last-modified time of a file
};

// Lists a folder: 0 with the entries, or the errno that stopped the listing.
using TFolderLister = std::function<int(const std::string& folder, std::vector<TFolderEntry>& entries)>;
// The system's folders.
int ListSystemFolder(const std::string& folder, std::vector<TFolderEntry>& entries);

// Errors that mean the folder or its medium is broken or out of reach (as opposed to a folder
// that is missing or forbidden, which just contributes nothing).
bool IsFolderFault(int error);

// The error that ends a registration: the folder check failed with `error`.
class EFolderCheckError : public EHakuvoError {
 public:
  explicit EFolderCheckError(int error);
  int Error() const { return FError; }

 private:
  int FError;
};

struct TFindFileOptions {
  TDateTime StartDate = 0;  // whole days; exchanged when the end comes first
  TDateTime EndDate = 0;
  std::vector<std::string> Folders;
  std::vector<std::string> Patterns;
  bool SubFolders = false;
  bool OneAct = false;
  TCategoryType Category = ctFile;
  std::string UserCategory;
};

// A file found in a folder tree, by folder (index into Folders) in walk order.
struct TFoundFile {
  std::string Path;
  TDateTime Modified = 0;
  int Folder = 0;
};

struct TFindFileResult {
  std::vector<TFoundFile> Registered;  // in the order they were registered
};

// Registers every file of the folders (and their sub-folders) last modified in the date range
// whose name matches the patterns: day by day, and within a day folder by folder in the list's
// order and depth first within a folder. Each tree is walked once whatever the range. A folder
// whose reading fails with IsFolderFault throws EFolderCheckError after registering what the
// day-by-day search would have registered before it met the fault.
TFindFileResult RegisterUpdatedFiles(TRegisterTarget target, const TFindFileOptions& options,
                                     const TFolderLister& lister = ListSystemFolder);

}  // namespace hakuvo
