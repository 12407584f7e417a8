#include "core/model/category_info_list.h"

#include <algorithm>

namespace hakuvo {

std::unique_ptr<TCategoryInfoList> TCategoryInfoList::CreateStandard() {
  auto list = std::make_unique<TCategoryInfoList>();
  for (int i = 0; i < CategoryTypeCount; ++i) {
    auto info = CreateCategoryInfo(static_cast<TCategoryType>(i));
    info->SetCategory(static_cast<TCategoryType>(i));
    list->Add(std::move(info));
  }
  return list;
}

TCategoryInfo* TCategoryInfoList::Add(std::unique_ptr<TCategoryInfo> item) {
  FItems.push_back(std::move(item));
  return FItems.back().get();
}

int TCategoryInfoList::IndexOf(const TCategoryInfo* item) const {
  const auto found = std::find_if(FItems.begin(), FItems.end(), [&](const auto& p) { return p.get() == item; });
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TCategoryInfoList::Insert(int index, std::unique_ptr<TCategoryInfo> item) {
  FItems.insert(FItems.begin() + std::clamp(index, 0, Count()), std::move(item));
}

std::unique_ptr<TCategoryInfo> TCategoryInfoList::Remove(const TCategoryInfo* item) {
  const int index = IndexOf(item);
  if (index < 0) return nullptr;
  auto taken = std::move(FItems[static_cast<std::size_t>(index)]);
  FItems.erase(FItems.begin() + index);
  return taken;
}

TCategoryInfo* TCategoryInfoList::GetCategoryItems(TCategoryType category) const {
  for (const auto& item : FItems) {
    if (item->Category() == category) return item.get();
  }
  return nullptr;
}

void TCategoryInfoList::CopyList(const TCategoryInfoList& source) {
  if (&source == this) return;
  FItems.clear();
  for (const auto& item : source.FItems) {
    auto copy = CreateCategoryInfo(item->Category());
    copy->Assign(*item);
    FItems.push_back(std::move(copy));
  }
}

TCategoryList TCategoryList::DefaultOrder() {
  TCategoryList list;
  for (int i = 1; i < CategoryTypeCount; ++i) list.Add({static_cast<TCategoryType>(i)});
  list.Add({ctUserCategory});
  return list;
}

int TCategoryList::IndexOf(TCategoryType category) const {
  const auto found = std::find_if(FItems.begin(), FItems.end(), [&](const auto& d) { return d.Category == category; });
  return found == FItems.end() ? -1 : static_cast<int>(found - FItems.begin());
}

void TCategoryList::Insert(int index, TCategoryData item) {
  FItems.insert(FItems.begin() + std::clamp(index, 0, Count()), item);
}

void TCategoryList::Remove(TCategoryType category) {
  const int index = IndexOf(category);
  if (index >= 0) FItems.erase(FItems.begin() + index);
}

}  // namespace hakuvo
