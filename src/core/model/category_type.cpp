#include "core/model/category_type.h"

namespace hakuvo {

const std::array<std::string, CategoryTypeCount>& CategoryNames() {
  static const std::array<std::string, CategoryTypeCount> names = {
      "ユーザー", "ジョギング", "ウォーキング", "水泳", "自転車", "釣り",     "買い物", "体重", "ファイル",
      "カロリー", "交通機関",   "旅館・ホテル", "観光", "飲食店", "スイーツ", "本",     "血圧"};
  return names;
}

TCategoryType CategoryTypeFromName(std::string_view name) {
  const auto& names = CategoryNames();
  for (int i = 0; i < CategoryTypeCount; ++i) {
    if (names[static_cast<std::size_t>(i)] == name) return static_cast<TCategoryType>(i);
  }
  return ctUserCategory;
}

bool IsCategoryName(std::string_view text) {
  for (const auto& name : CategoryNames()) {
    if (name == text) return true;
  }
  return false;
}

std::string CategoryDisplayName(TCategoryType category, const std::string& userCategory) {
  if (category == ctUserCategory) return userCategory;
  return CategoryNames()[category];
}

bool IsUserCategory(TCategoryType category) { return category == ctUserCategory; }

bool IsValidCategoryOrdinal(long long ordinal) { return ordinal >= 0 && ordinal < CategoryTypeCount; }

}  // namespace hakuvo
