#pragma once

#include <memory>
#include <vector>

#include "core/model/category_info.h"

namespace hakuvo {

// The settings objects of the diary, one per category kind. The list owns them.
class TCategoryInfoList {
 public:
  // The diary's standard list: the 17 kinds in ordinal order, each with its Category set.
  static std::unique_ptr<TCategoryInfoList> CreateStandard();

  int Count() const { return static_cast<int>(FItems.size()); }
  TCategoryInfo* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)).get(); }
  TCategoryInfo* operator[](int index) const { return Items(index); }
  void SetItems(int index, std::unique_ptr<TCategoryInfo> item) {
    FItems.at(static_cast<std::size_t>(index)) = std::move(item);
  }
  TCategoryInfo* Add(std::unique_ptr<TCategoryInfo> item);
  int IndexOf(const TCategoryInfo* item) const;
  void Insert(int index, std::unique_ptr<TCategoryInfo> item);
  // Takes the item out of the list and hands it to the caller.
  std::unique_ptr<TCategoryInfo> Remove(const TCategoryInfo* item);
  void Clear() { FItems.clear(); }

  // The first item of the kind, or nullptr.
  TCategoryInfo* GetCategoryItems(TCategoryType category) const;
  // Replaces the items with fresh copies of the source's.
  void CopyList(const TCategoryInfoList& source);

 private:
  std::vector<std::unique_ptr<TCategoryInfo>> FItems;
};

struct TCategoryData {
  TCategoryType Category = ctUserCategory;
};

// The order in which categories are offered to the user.
class TCategoryList {
 public:
  // Ordinals 1..16 followed by the user category.
  static TCategoryList DefaultOrder();

  int Count() const { return static_cast<int>(FItems.size()); }
  const TCategoryData& Items(int index) const { return FItems.at(static_cast<std::size_t>(index)); }
  void SetItems(int index, TCategoryData item) { FItems.at(static_cast<std::size_t>(index)) = item; }
  void Add(TCategoryData item) { FItems.push_back(item); }
  int IndexOf(TCategoryType category) const;
  void Insert(int index, TCategoryData item);
  void Remove(TCategoryType category);
  void Clear() { FItems.clear(); }
  const std::vector<TCategoryData>& Data() const { return FItems; }

 private:
  std::vector<TCategoryData> FItems;
};

}  // namespace hakuvo
