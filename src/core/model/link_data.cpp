#include "core/model/link_data.h"

#include <algorithm>
#include <filesystem>
#include <unordered_map>

#include "core/common/guid.h"
#include "core/gps/jpeg_exif.h"
#include "core/links/file_kind.h"

namespace hakuvo {

namespace {

std::size_t LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }

void DeleteFileQuietly(std::string& fileName) {
  if (fileName.empty()) return;
  std::error_code ignored;
  std::filesystem::remove(fileName, ignored);
  fileName.clear();
}

// Sorts, by key, the entries that have one; the others keep their positions.
template <typename Key>
void SortKeyedSlots(std::vector<TLinkData*>& items, const std::vector<std::pair<bool, Key>>& keys) {
  std::vector<std::size_t> slots;
  std::vector<std::pair<Key, TLinkData*>> keyed;
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (!keys[i].first) continue;
    slots.push_back(i);
    keyed.emplace_back(keys[i].second, items[i]);
  }
  std::stable_sort(keyed.begin(), keyed.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
  for (std::size_t k = 0; k < slots.size(); ++k) items[slots[k]] = keyed[k].second;
}

}  // namespace

void TLinkData::Assign(const TLinkData& /*source*/) {}

TGuidLink::TGuidLink() : FGuidCode(NewGuidString()) {}

void TGuidLink::Assign(const TLinkData& source) {
  TLinkData::Assign(source);
  if (const auto* guid = dynamic_cast<const TGuidLink*>(&source)) FGuidCode = guid->FGuidCode;
}

std::string TFileLink::Name() const {
  const std::size_t separator = LastSeparator(FileName);
  return separator == std::string::npos ? FileName : FileName.substr(separator + 1);
}

std::string TFileLink::Path() const {
  const std::size_t separator = LastSeparator(FileName);
  return separator == std::string::npos ? std::string() : FileName.substr(0, separator);
}

void TFileLink::Assign(const TLinkData& source) {
  TGuidLink::Assign(source);
  if (const auto* file = dynamic_cast<const TFileLink*>(&source)) FileName = file->FileName;
}

void TViewFileLink::Assign(const TLinkData& source) {
  TFileLink::Assign(source);
  if (const auto* view = dynamic_cast<const TViewFileLink*>(&source)) ViewFileName = view->ViewFileName;
}

void TViewFileLink::DeleteViewFile() { DeleteFileQuietly(ViewFileName); }

void TImageFileLink::Assign(const TLinkData& source) {
  TViewFileLink::Assign(source);
  if (const auto* image = dynamic_cast<const TImageFileLink*>(&source)) RotateAngle = image->RotateAngle;
}

void TGpsFileLink::Assign(const TLinkData& source) {
  TViewFileLink::Assign(source);
  if (const auto* gps = dynamic_cast<const TGpsFileLink*>(&source)) {
    StartPos = gps->StartPos;
    EndPos = gps->EndPos;
  }
}

void TThingLink::Assign(const TLinkData& source) {
  TGuidLink::Assign(source);
  if (const auto* thing = dynamic_cast<const TThingLink*>(&source)) {
    FName = thing->FName;
    FCategory = thing->FCategory;
    FPhotoFileName = thing->FPhotoFileName;
    FViewFileName = thing->FViewFileName;
    FPhotoRotate = thing->FPhotoRotate;
    FMemo = thing->FMemo;
  }
}

void TThingLink::DeleteViewFile() { DeleteFileQuietly(FViewFileName); }

void TPersonLink::Assign(const TLinkData& source) {
  TThingLink::Assign(source);
  const auto* person = dynamic_cast<const TPersonLink*>(&source);
  if (person == nullptr) return;
  FCellPhoneNumber = person->FCellPhoneNumber;
  FCompanyPostCode = person->FCompanyPostCode;
  FCompanyAddress = person->FCompanyAddress;
  FLastName = person->FLastName;
  FFax = person->FFax;
  FMailAddress2 = person->FMailAddress2;
  FCompanyName = person->FCompanyName;
  FCompanyCellPhoneNumber = person->FCompanyCellPhoneNumber;
  FCompanyFax = person->FCompanyFax;
  FCompanyDepartment = person->FCompanyDepartment;
  FTel = person->FTel;
  FMailAddress = person->FMailAddress;
  FPostCode = person->FPostCode;
  FAddress = person->FAddress;
  FCompanyTel = person->FCompanyTel;
  FCompanyMailAddress = person->FCompanyMailAddress;
  FFirstName = person->FFirstName;
  FLatitude = person->FLatitude;
  FLongitude = person->FLongitude;
  FCompanyLatitude = person->FCompanyLatitude;
  FCompanyLongitude = person->FCompanyLongitude;
}

int TLinkDataList::IndexOf(const TLinkData* item) const {
  const auto found = std::find(FItems.begin(), FItems.end(), item);
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TLinkDataList::Insert(int index, TLinkData* item) {
  FItems.insert(FItems.begin() + std::clamp(index, 0, Count()), item);
}

void TLinkDataList::Remove(const TLinkData* item) {
  const int index = IndexOf(item);
  if (index >= 0) FItems.erase(FItems.begin() + index);
}

void TLinkDataList::DateSort() {
  std::vector<std::pair<bool, TDateTime>> keys;
  keys.reserve(FItems.size());
  for (TLinkData* item : FItems) {
    const auto* file = dynamic_cast<const TFileLink*>(item);
    keys.emplace_back(file != nullptr, file != nullptr ? file->TempDate : 0);
  }
  SortKeyedSlots(FItems, keys);
}

void TLinkDataList::JpegDateTimeSort() {
  // Each photograph is read once, not once per comparison.
  std::vector<std::pair<bool, TDateTime>> keys;
  keys.reserve(FItems.size());
  for (TLinkData* item : FItems) {
    const auto* image = dynamic_cast<const TImageFileLink*>(item);
    const TDateTime shot = image != nullptr && IsJpegFile(image->FileName) ? ExifDateTimeOriginal(image->FileName) : 0;
    keys.emplace_back(shot != 0, shot);
  }
  SortKeyedSlots(FItems, keys);
}

void TLinkDataList::SetFindList() {
  FFindList.clear();
  FFindList.reserve(FItems.size());
  for (TLinkData* item : FItems) FFindList.emplace_back(item->FindData(), item);
  std::stable_sort(FFindList.begin(), FFindList.end(),
                   [](const auto& a, const auto& b) { return CompareTextIgnoreCase(a.first, b.first) < 0; });
}

TLinkData* TLinkDataList::FindLinkData(const std::string& text) const {
  const auto found = std::lower_bound(
      FFindList.begin(), FFindList.end(), text,
      [](const auto& entry, const std::string& t) { return CompareTextIgnoreCase(entry.first, t) < 0; });
  if (found == FFindList.end() || CompareTextIgnoreCase(found->first, text) != 0) return nullptr;
  return found->second;
}

TLinkData* TLinkDataOwner::Add(std::unique_ptr<TLinkData> link) {
  TLinkData* raw = link.get();
  FOwned.push_back(std::move(link));
  FList.Add(raw);
  return raw;
}

std::unique_ptr<TLinkData> TLinkDataOwner::Remove(const TLinkData* link) {
  const auto found = std::find_if(FOwned.begin(), FOwned.end(), [&](const auto& p) { return p.get() == link; });
  if (found == FOwned.end()) return nullptr;
  auto taken = std::move(*found);
  FOwned.erase(found);
  FList.Remove(link);
  return taken;
}

bool TLinkDataOwner::Reorder(const std::vector<TLinkData*>& order) {
  if (order.size() != FOwned.size()) return false;
  std::unordered_map<const TLinkData*, std::size_t> places;
  places.reserve(FOwned.size());
  for (std::size_t i = 0; i < FOwned.size(); ++i) places.emplace(FOwned[i].get(), i);
  std::vector<std::size_t> from;
  from.reserve(order.size());
  for (const TLinkData* link : order) {
    const auto found = places.find(link);
    if (found == places.end()) return false;  // not ours, or named twice
    from.push_back(found->second);
    places.erase(found);
  }
  std::vector<std::unique_ptr<TLinkData>> reordered;
  reordered.reserve(FOwned.size());
  for (const std::size_t i : from) reordered.push_back(std::move(FOwned[i]));
  FOwned = std::move(reordered);
  // The find index holds the same links, so it stays valid.
  FList.Clear();
  for (const auto& link : FOwned) FList.Add(link.get());
  return true;
}

void TLinkDataOwner::Clear() {
  FList.Clear();
  FOwned.clear();
}

void TLinkDataOwner::Swap(TLinkDataOwner& other) noexcept {
  std::swap(FList, other.FList);
  std::swap(FOwned, other.FOwned);
}

std::unique_ptr<TFileLink> CreateFileLink(const std::string& fileName) {
  return CreateFileLink(fileName, IsImageFile(fileName) && IsJpegFile(fileName) ? ExifOrientation(fileName) : 0);
}

std::unique_ptr<TFileLink> CreateFileLink(const std::string& fileName, int rotateAngle) {
  std::unique_ptr<TFileLink> link;
  if (IsImageFile(fileName)) {
    auto image = std::make_unique<TImageFileLink>();
    image->RotateAngle = rotateAngle;
    link = std::move(image);
  } else if (IsGpsFile(fileName)) {
    link = std::make_unique<TGpsFileLink>();
  } else {
    link = std::make_unique<TFileLink>();
  }
  link->FileName = fileName;
  return link;
}

}  // namespace hakuvo
