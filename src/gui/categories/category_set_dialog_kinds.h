#pragma once

#include "gui/categories/category_set_dialog.h"

namespace hakuvo {

// Categories with a start and an end time whose record is a distance.
class TTimeCategorySetDialog : public TCategorySetDialog {
  Q_OBJECT

 public:
  explicit TTimeCategorySetDialog(QWidget* owner = nullptr);
};

class TVehicleCategorySetDialog : public TTimeCategorySetDialog {
  Q_OBJECT

 public:
  using TTimeCategorySetDialog::TTimeCategorySetDialog;
};

class TEnergyConsumptionCategorySetDialog : public TTimeCategorySetDialog {
  Q_OBJECT

 public:
  explicit TEnergyConsumptionCategorySetDialog(QWidget* owner = nullptr);
  QCheckBox* WeightCheck() const { return FWeightCheck; }

 protected:
  void LoadCategoryInfo(const TCategoryInfo& info) override;
  void StoreCategoryInfo(TCategoryInfo& info) override;

 private:
  QCheckBox* FWeightCheck = nullptr;
};

class TWalkingCategorySetDialog : public TEnergyConsumptionCategorySetDialog {
  Q_OBJECT

 public:
  explicit TWalkingCategorySetDialog(QWidget* owner = nullptr);
  QCheckBox* PedometerCheck() const { return FPedometerCheck; }

 protected:
  void LoadCategoryInfo(const TCategoryInfo& info) override;
  void StoreCategoryInfo(TCategoryInfo& info) override;

 private:
  QCheckBox* FPedometerCheck = nullptr;
};

class TFishingCategorySetDialog : public TCategorySetDialog {
  Q_OBJECT

 public:
  explicit TFishingCategorySetDialog(QWidget* owner = nullptr);
  QCheckBox* WaterTemperatureCheck() const { return FWaterTemperatureCheck; }
  QCheckBox* DimensionCheck() const { return FDimensionCheck; }

 protected:
  void LoadCategoryInfo(const TCategoryInfo& info) override;
  void StoreCategoryInfo(TCategoryInfo& info) override;

 private:
  QCheckBox* FWaterTemperatureCheck = nullptr;
  QCheckBox* FDimensionCheck = nullptr;
};

// Hotels, restaurants, sweets and books: the record is a rating.
class TEvaluationCategorySetDialog : public TCategorySetDialog {
  Q_OBJECT

 public:
  explicit TEvaluationCategorySetDialog(QWidget* owner = nullptr);
  QCheckBox* UrlCheck() const { return FUrlCheck; }

 protected:
  void LoadCategoryInfo(const TCategoryInfo& info) override;
  void StoreCategoryInfo(TCategoryInfo& info) override;

 private:
  QCheckBox* FUrlCheck = nullptr;
};

class TBookCategorySetDialog : public TEvaluationCategorySetDialog {
  Q_OBJECT

 public:
  explicit TBookCategorySetDialog(QWidget* owner = nullptr);
  QCheckBox* AuthorCheck() const { return FAuthorCheck; }

 protected:
  void LoadCategoryInfo(const TCategoryInfo& info) override;
  void StoreCategoryInfo(TCategoryInfo& info) override;

 private:
  QCheckBox* FAuthorCheck = nullptr;
};

class TBloodPressureCategorySetDialog : public TCategorySetDialog {
  Q_OBJECT

 public:
  explicit TBloodPressureCategorySetDialog(QWidget* owner = nullptr);
  QCheckBox* PulseCheck() const { return FPulseCheck; }
  QCheckBox* MinBloodPressureCheck() const { return FMinBloodPressureCheck; }

 protected:
  void LoadCategoryInfo(const TCategoryInfo& info) override;
  void StoreCategoryInfo(TCategoryInfo& info) override;

 private:
  QCheckBox* FPulseCheck = nullptr;
  QCheckBox* FMinBloodPressureCheck = nullptr;
};

}  // namespace hakuvo
