#include "core/register/find_files.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <map>
#include <memory>

#include "core/model/link_data.h"
#include "core/register/file_time.h"

namespace hakuvo {

namespace {

char FoldAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// The length of the UTF-8 sequence that starts at `text[i]` (1 for a stray byte).
std::size_t SequenceLength(std::string_view text, std::size_t i) {
  const auto lead = static_cast<unsigned char>(text[i]);
  std::size_t length = 1;
  if (lead >= 0xF0) {
    length = 4;
  } else if (lead >= 0xE0) {
    length = 3;
  } else if (lead >= 0xC0) {
    length = 2;
  }
  if (i + length > text.size()) return 1;
  for (std::size_t k = 1; k < length; ++k) {
    if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return 1;
  }
  return length;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
  if (!folder.empty() && folder.back() == '/') return folder + name;
  return folder + "/" + name;
}

long long DayKey(TDateTime value) { return static_cast<long long>(std::floor(value)); }

class TTreeWalker {
 public:
  TTreeWalker(const TFolderLister& lister, const std::vector<std::string>& patterns, bool subFolders)
      : FLister(lister), FPatterns(patterns), FSubFolders(subFolders) {}

  // Walks one tree; false when a fault stopped it (Fault() tells the error).
  bool Walk(const std::string& folder, int folderIndex, std::vector<TFoundFile>& found) {
    std::vector<TFolderEntry> entries;
    const int error = FLister(folder, entries);
    std::sort(entries.begin(), entries.end(),
              [](const TFolderEntry& a, const TFolderEntry& b) { return a.Name < b.Name; });
    for (const TFolderEntry& entry : entries) {
      if (entry.Name == "." || entry.Name == "..") continue;
      const std::string path = JoinPath(folder, entry.Name);
      if (entry.IsFolder) {
        if (FSubFolders && !Walk(path, folderIndex, found)) return false;
      } else if (entry.IsFile && MatchAnyFileNamePattern(FPatterns, entry.Name)) {
        found.push_back({path, entry.Modified, folderIndex});
      }
    }
    if (error != 0 && IsFolderFault(error)) {
      FFault = error;
      return false;
    }
    return true;
  }

  int Fault() const { return FFault; }

 private:
  const TFolderLister& FLister;
  const std::vector<std::string>& FPatterns;
  bool FSubFolders;
  int FFault = 0;
};

void RegisterFile(TRegisterTarget& target, const TFindFileOptions& options, const TFoundFile& file) {
  TDayData& day = target.FindOrAddDay(DateOf(file.Modified));
  std::unique_ptr<TFileLink> link = CreateFileLink(file.Path);
  link->TempDate = file.Modified;
  TActData* act = options.OneAct ? FirstRegisteredAct(day) : nullptr;
  if (act != nullptr) {
    if (IsFileCountAct(*act)) act->RecordData->SetData(act->RecordData->Data() + 1);
  } else {
    std::unique_ptr<TActData> fresh = target.NewAct(options.Category);
    if (options.Category == ctUserCategory) fresh->UserCategory = options.UserCategory;
    fresh->TempData = 1;
    fresh->Title = link->Name();
    fresh->RecordData->StartTime = TimeOf(file.Modified);
    act = day.AddAct(std::move(fresh));
  }
  act->LinkDataList.Add(target.Files.Add(std::move(link)));
}

}  // namespace

bool MatchFileNamePattern(std::string_view pattern, std::string_view name) {
  // Greedy matching with one remembered star: linear in practice, never exponential.
  std::size_t p = 0;
  std::size_t n = 0;
  std::size_t starPattern = std::string_view::npos;
  std::size_t starName = 0;
  while (n < name.size()) {
    if (p < pattern.size() && pattern[p] == '*') {
      while (p < pattern.size() && pattern[p] == '*') ++p;
      starPattern = p;
      starName = n;
      continue;
    }
    if (p < pattern.size()) {
      const std::size_t nameLength = SequenceLength(name, n);
      if (pattern[p] == '?') {
        ++p;
        n += nameLength;
        continue;
      }
      const std::size_t patternLength = SequenceLength(pattern, p);
      if (patternLength == nameLength) {
        bool same = true;
        for (std::size_t k = 0; k < nameLength && same; ++k) same = FoldAscii(pattern[p + k]) == FoldAscii(name[n + k]);
        if (same) {
          p += patternLength;
          n += nameLength;
          continue;
        }
      }
    }
    if (starPattern == std::string_view::npos) return false;
    starName += SequenceLength(name, starName);
    p = starPattern;
    n = starName;
  }
  while (p < pattern.size() && pattern[p] == '*') ++p;
  return p == pattern.size();
}

bool MatchAnyFileNamePattern(const std::vector<std::string>& patterns, std::string_view name) {
  if (patterns.empty()) return true;
  return std::any_of(patterns.begin(), patterns.end(),
                     [&](const std::string& pattern) { return MatchFileNamePattern(pattern, name); });
}

bool IsFolderFault(int error) {
  switch (error) {
    case EIO:
    case ESTALE:
    case ENOTCONN:
    case EHOSTDOWN:
    case EHOSTUNREACH:
    case ENETDOWN:
    case ENETUNREACH:
    case ENETRESET:
    case ECONNABORTED:
    case ECONNRESET:
    case ETIMEDOUT:
    case EUCLEAN:
    case ENOMEDIUM:
    case EREMOTEIO:
    case EBADMSG:
      return true;
    default:
      return false;
  }
}

EFolderCheckError::EFolderCheckError(int error)
    : EHakuvoError(
          "フォルダのチェックに失敗しました[" + std::to_string(error) + "]\r\nフォルダが壊れている可能性があります",
          "checking the folder failed [" + std::to_string(error) + "]\r\nthe folder may be damaged"),
      FError(error) {}

int ListSystemFolder(const std::string& folder, std::vector<TFolderEntry>& entries) {
  DIR* handle = ::opendir(folder.c_str());
  if (handle == nullptr) return errno;
  std::unique_ptr<DIR, int (*)(DIR*)> closer(handle, ::closedir);
  const int descriptor = ::dirfd(handle);
  for (;;) {
    errno = 0;
    const dirent* item = ::readdir(handle);
    if (item == nullptr) return errno;
    const std::string name = item->d_name;
    if (name == "." || name == "..") continue;
    struct stat status {};
    if (::fstatat(descriptor, item->d_name, &status, AT_SYMLINK_NOFOLLOW) != 0) continue;
    TFolderEntry entry;
    entry.Name = name;
    if (S_ISDIR(status.st_mode)) {
      entry.IsFolder = true;
    } else {
      // A link is registered when it leads to a file; a link to a folder is neither walked (it may
      // lead back up the tree) nor registered.
      if (S_ISLNK(status.st_mode) && ::fstatat(descriptor, item->d_name, &status, 0) != 0) continue;
      if (!S_ISREG(status.st_mode)) continue;
      entry.IsFile = LocalDateTimeOf(status.st_mtime, entry.Modified);
    }
    entries.push_back(std::move(entry));
  }
}

TFindFileResult RegisterUpdatedFiles(TRegisterTarget target, const TFindFileOptions& options,
                                     const TFolderLister& lister) {
  TDateTime first = DateOf(options.StartDate);
  TDateTime last = DateOf(options.EndDate);
  if (last < first) std::swap(first, last);

  std::vector<TFoundFile> found;
  TTreeWalker walker(lister, options.Patterns, options.SubFolders);
  for (std::size_t i = 0; i < options.Folders.size(); ++i) {
    if (!walker.Walk(options.Folders[i], static_cast<int>(i), found)) break;
  }

  // Files by day; within a day they stay in walk order, which is folder by folder.
  std::map<long long, std::vector<const TFoundFile*>> byDay;
  const long long firstKey = DayKey(first);
  const long long lastKey = DayKey(last);
  for (const TFoundFile& file : found) {
    const long long key = DayKey(file.Modified);
    if (key >= firstKey && key <= lastKey) byDay[key].push_back(&file);
  }

  TFindFileResult result;
  for (const auto& [key, files] : byDay) {
    // A fault stops the search on the first day of the range, in the folder that has it.
    if (walker.Fault() != 0 && key != firstKey) break;
    for (const TFoundFile* file : files) {
      RegisterFile(target, options, *file);
      result.Registered.push_back(*file);
    }
  }
  if (!result.Registered.empty()) target.Days.DateSort();
  if (walker.Fault() != 0) throw EFolderCheckError(walker.Fault());
  return result;
}

}  // namespace hakuvo
