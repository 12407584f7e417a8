#include "gui/record/record_dialogs.h"

namespace hakuvo {

std::unique_ptr<TRecordDialog> CreateRecordDialog(QWidget* owner, TCategoryType category) {
  switch (category) {
    case ctJogging:
    case ctBicycle:
      return std::make_unique<TDateEnergyConsumptionRecordDialog>(owner);
    case ctWalking:
      return std::make_unique<TDateWalkingRecordDialog>(owner);
    case ctSwimming:
      return std::make_unique<TEnergyConsumptionRecordDialog>(owner);
    case ctFishing:
      return std::make_unique<TFishingRecordDialog>(owner);
    case ctShopping:
      return std::make_unique<TShoppingRecordDialog>(owner);
    case ctWeight:
    case ctFile:
    case ctCalorie:
      return std::make_unique<TTaniFixRecordDialog>(owner);
    case ctVehicle:
      return std::make_unique<TVehicleRecordDialog>(owner);
    case ctHotel:
    case ctRestaurant:
    case ctSweets:
      return std::make_unique<TEvaluationRecordDialog>(owner);
    case ctSightseeing:
      return std::make_unique<TSightseeingRecordDialog>(owner);
    case ctBook:
      return std::make_unique<TBookRecordDialog>(owner);
    case ctBloodPressure:
      return std::make_unique<TBloodPressureRecordDialog>(owner);
    case ctUserCategory:
      break;
  }
  return std::make_unique<TUserCategoryRecordDialog>(owner);
}

}  // namespace hakuvo
