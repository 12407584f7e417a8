#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace hakuvo {

// Stored in the data file by ordinal: never reorder.
enum TCategoryType : std::uint8_t {
  ctUserCategory = 0,
  ctJogging,
  ctWalking,
  ctSwimming,
  ctBicycle,
  ctFishing,
  ctShopping,
  ctWeight,
  ctFile,
  ctCalorie,
  ctVehicle,
  ctHotel,
  ctSightseeing,
  ctRestaurant,
  ctSweets,
  ctBook,
  ctBloodPressure,
};

constexpr int CategoryTypeCount = 17;

// How the values of one record index combine when several actions share a day.
enum TRecordCalcKind : std::uint8_t { ckTotal = 0, ckAverage, ckWeightedAverage };

// The display names, indexed by ordinal.
const std::array<std::string, CategoryTypeCount>& CategoryNames();

// The kind whose display name equals the text exactly; any other text is a user category.
TCategoryType CategoryTypeFromName(std::string_view name);
bool IsCategoryName(std::string_view text);
std::string CategoryDisplayName(TCategoryType category, const std::string& userCategory);
bool IsUserCategory(TCategoryType category);
// An ordinal read from a file may be anything; only 0..16 name a kind.
bool IsValidCategoryOrdinal(long long ordinal);

}  // namespace hakuvo
