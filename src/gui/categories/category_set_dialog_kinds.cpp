#include "gui/categories/category_set_dialog_kinds.h"

#include <QCheckBox>

namespace hakuvo {

// Each dialog handles only the flags of its own settings class; a settings object of another
// class (never handed in by the program itself) simply leaves those boxes alone.

TTimeCategorySetDialog::TTimeCategorySetDialog(QWidget* owner) : TCategorySetDialog(owner) {
  SetRecordCheckText(QStringLiteral("距離を入力する(&R)"));
  SetIndicationItems({QStringLiteral("回数"), QStringLiteral("距離"), QStringLiteral("速度")});
}

TEnergyConsumptionCategorySetDialog::TEnergyConsumptionCategorySetDialog(QWidget* owner)
    : TTimeCategorySetDialog(owner) {
  FWeightCheck = AddInputCheck(QStringLiteral("体重を入力する"), QStringLiteral("WeightCheck"));
  SetIndicationItems({QStringLiteral("回数"), QStringLiteral("距離"), QStringLiteral("速度"), QStringLiteral("体重"),
                      QStringLiteral("カロリー")});
}

void TEnergyConsumptionCategorySetDialog::LoadCategoryInfo(const TCategoryInfo& info) {
  TTimeCategorySetDialog::LoadCategoryInfo(info);
  if (const auto* energy = dynamic_cast<const TEnergyConsumptionCategoryInfo*>(&info)) {
    FWeightCheck->setChecked(energy->IsWeight());
  }
}

void TEnergyConsumptionCategorySetDialog::StoreCategoryInfo(TCategoryInfo& info) {
  if (auto* energy = dynamic_cast<TEnergyConsumptionCategoryInfo*>(&info)) {
    energy->SetIsWeight(FWeightCheck->isChecked());
  }
  TTimeCategorySetDialog::StoreCategoryInfo(info);
}

TWalkingCategorySetDialog::TWalkingCategorySetDialog(QWidget* owner) : TEnergyConsumptionCategorySetDialog(owner) {
  FPedometerCheck = AddInputCheck(QStringLiteral("歩数を入力する"), QStringLiteral("PedometerCheck"));
  SetIndicationItems({QStringLiteral("回数"), QStringLiteral("距離"), QStringLiteral("速度"), QStringLiteral("体重"),
                      QStringLiteral("カロリー"), QStringLiteral("歩数")});
}

void TWalkingCategorySetDialog::LoadCategoryInfo(const TCategoryInfo& info) {
  TEnergyConsumptionCategorySetDialog::LoadCategoryInfo(info);
  if (const auto* walking = dynamic_cast<const TWalkingCategoryInfo*>(&info)) {
    FPedometerCheck->setChecked(walking->IsPedometer());
  }
}

void TWalkingCategorySetDialog::StoreCategoryInfo(TCategoryInfo& info) {
  if (auto* walking = dynamic_cast<TWalkingCategoryInfo*>(&info)) walking->SetIsPedometer(FPedometerCheck->isChecked());
  TEnergyConsumptionCategorySetDialog::StoreCategoryInfo(info);
}

TFishingCategorySetDialog::TFishingCategorySetDialog(QWidget* owner) : TCategorySetDialog(owner) {
  SetRecordCheckText(QStringLiteral("釣果を入力する(&R)"));
  FWaterTemperatureCheck = AddInputCheck(QStringLiteral("水温を入力する(&A)"), QStringLiteral("WaterTemperatureCheck"));
  FDimensionCheck = AddInputCheck(QStringLiteral("大きさを入力する(&M)"), QStringLiteral("DimensionCheck"));
  SetIndicationItems(
      {QStringLiteral("回数"), QStringLiteral("釣果"), QStringLiteral("大きさ"), QStringLiteral("水温")});
}

void TFishingCategorySetDialog::LoadCategoryInfo(const TCategoryInfo& info) {
  TCategorySetDialog::LoadCategoryInfo(info);
  if (const auto* fishing = dynamic_cast<const TFishingCategoryInfo*>(&info)) {
    FWaterTemperatureCheck->setChecked(fishing->IsWaterTemperature());
    FDimensionCheck->setChecked(fishing->IsDimension());
  }
}

void TFishingCategorySetDialog::StoreCategoryInfo(TCategoryInfo& info) {
  if (auto* fishing = dynamic_cast<TFishingCategoryInfo*>(&info)) {
    fishing->SetIsWaterTemperature(FWaterTemperatureCheck->isChecked());
    fishing->SetIsDimension(FDimensionCheck->isChecked());
  }
  TCategorySetDialog::StoreCategoryInfo(info);
}

TEvaluationCategorySetDialog::TEvaluationCategorySetDialog(QWidget* owner) : TCategorySetDialog(owner) {
  SetRecordCheckText(QStringLiteral("評価を入力する(&R)"));
  FUrlCheck = AddInputCheck(QStringLiteral("URLを入力する(&U)"), QStringLiteral("UrlCheck"));
  SetIndicationItems({QStringLiteral("回数(&T)"), QStringLiteral("評価(&R)")});
}

void TEvaluationCategorySetDialog::LoadCategoryInfo(const TCategoryInfo& info) {
  TCategorySetDialog::LoadCategoryInfo(info);
  if (const auto* evaluation = dynamic_cast<const TEvaluationCategoryInfo*>(&info)) {
    FUrlCheck->setChecked(evaluation->IsUrl());
  }
}

void TEvaluationCategorySetDialog::StoreCategoryInfo(TCategoryInfo& info) {
  if (auto* evaluation = dynamic_cast<TEvaluationCategoryInfo*>(&info)) evaluation->SetIsUrl(FUrlCheck->isChecked());
  TCategorySetDialog::StoreCategoryInfo(info);
}

TBookCategorySetDialog::TBookCategorySetDialog(QWidget* owner) : TEvaluationCategorySetDialog(owner) {
  FAuthorCheck = AddInputCheck(QStringLiteral("著者を入力する(&A)"), QStringLiteral("AuthorCheck"));
}

void TBookCategorySetDialog::LoadCategoryInfo(const TCategoryInfo& info) {
  TEvaluationCategorySetDialog::LoadCategoryInfo(info);
  if (const auto* book = dynamic_cast<const TBookCategoryInfo*>(&info)) FAuthorCheck->setChecked(book->IsAuthor());
}

void TBookCategorySetDialog::StoreCategoryInfo(TCategoryInfo& info) {
  if (auto* book = dynamic_cast<TBookCategoryInfo*>(&info)) book->SetIsAuthor(FAuthorCheck->isChecked());
  TEvaluationCategorySetDialog::StoreCategoryInfo(info);
}

TBloodPressureCategorySetDialog::TBloodPressureCategorySetDialog(QWidget* owner) : TCategorySetDialog(owner) {
  SetRecordCheckText(QStringLiteral("最大血圧を入力する(&R)"));
  FPulseCheck = AddInputCheck(QStringLiteral("脈拍を入力する(&P)"), QStringLiteral("PulseCheck"));
  FMinBloodPressureCheck =
      AddInputCheck(QStringLiteral("最低血圧を入力する(&I)"), QStringLiteral("MinBloodPressureCheck"));
  SetIndicationItems(
      {QStringLiteral("回数"), QStringLiteral("最大血圧"), QStringLiteral("最低血圧"), QStringLiteral("脈拍")});
}

void TBloodPressureCategorySetDialog::LoadCategoryInfo(const TCategoryInfo& info) {
  TCategorySetDialog::LoadCategoryInfo(info);
  if (const auto* pressure = dynamic_cast<const TBloodPressureCategoryInfo*>(&info)) {
    FPulseCheck->setChecked(pressure->IsPulse());
    FMinBloodPressureCheck->setChecked(pressure->IsMinBloodPressure());
  }
}

void TBloodPressureCategorySetDialog::StoreCategoryInfo(TCategoryInfo& info) {
  if (auto* pressure = dynamic_cast<TBloodPressureCategoryInfo*>(&info)) {
    pressure->SetIsPulse(FPulseCheck->isChecked());
    pressure->SetIsMinBloodPressure(FMinBloodPressureCheck->isChecked());
  }
  TCategorySetDialog::StoreCategoryInfo(info);
}

std::unique_ptr<TCategorySetDialog> CreateCategorySetDialog(QWidget* owner, TCategoryType category) {
  switch (category) {
    case ctJogging:
    case ctSwimming:
    case ctBicycle:
      return std::make_unique<TEnergyConsumptionCategorySetDialog>(owner);
    case ctWalking:
      return std::make_unique<TWalkingCategorySetDialog>(owner);
    case ctFishing:
      return std::make_unique<TFishingCategorySetDialog>(owner);
    case ctVehicle:
      return std::make_unique<TVehicleCategorySetDialog>(owner);
    case ctHotel:
    case ctRestaurant:
    case ctSweets:
      return std::make_unique<TEvaluationCategorySetDialog>(owner);
    case ctBook:
      return std::make_unique<TBookCategorySetDialog>(owner);
    case ctBloodPressure:
      return std::make_unique<TBloodPressureCategorySetDialog>(owner);
    default:
      return std::make_unique<TCategorySetDialog>(owner);
  }
}

}  // namespace hakuvo
