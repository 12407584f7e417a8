#pragma once

#include "core/common/text_util.h"
#include "gui/record/record_dialog.h"

namespace hakuvo {

// Catches: the species on a fixed row, the size and the water temperature on rows of their own.
class TFishingRecordDialog : public TRecordDialog {
  Q_OBJECT

 public:
  explicit TFishingRecordDialog(QWidget* parent = nullptr);

  void SetCategoryInfo(TCategoryInfo& info) override;
  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  QLineEdit* FishSpeciesEdit() const { return FFishSpeciesEdit; }
  QLineEdit* DimensionEdit() const { return FDimensionEdit; }
  QLineEdit* WaterTemperatureEdit() const { return FWaterTemperatureEdit; }

 protected:
  std::unique_ptr<TActData> MakeActData() const override;
  void CheckFields(QStringList& messages) const override;

 private:
  QLineEdit* FFishSpeciesEdit = nullptr;
  QLineEdit* FDimensionEdit = nullptr;
  QLineEdit* FDimensionTaniEdit = nullptr;
  QLineEdit* FWaterTemperatureEdit = nullptr;
  QLineEdit* FWaterTemperatureTaniEdit = nullptr;
};

// Places that are rated: hotels, restaurants, sweets. A double click on the URL opens it.
class TEvaluationRecordDialog : public TRecordDialog {
  Q_OBJECT

 public:
  explicit TEvaluationRecordDialog(QWidget* parent = nullptr);

  void SetCategoryInfo(TCategoryInfo& info) override;
  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  QLineEdit* UrlEdit() const { return FUrlEdit; }
  // Asks the desktop to open the URL field's text.
  void OpenUrl() const;

 protected:
  std::unique_ptr<TActData> MakeActData() const override;

 private:
  QLineEdit* FUrlEdit = nullptr;
};

class TBookRecordDialog : public TEvaluationRecordDialog {
  Q_OBJECT

 public:
  explicit TBookRecordDialog(QWidget* parent = nullptr);

  void SetCategoryInfo(TCategoryInfo& info) override;
  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  QLineEdit* AuthorEdit() const { return FAuthorEdit; }

 protected:
  std::unique_ptr<TActData> MakeActData() const override;

 private:
  QLineEdit* FAuthorEdit = nullptr;
};

class TBloodPressureRecordDialog : public TRecordDialog {
  Q_OBJECT

 public:
  explicit TBloodPressureRecordDialog(QWidget* parent = nullptr);

  void SetCategoryInfo(TCategoryInfo& info) override;
  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  QLineEdit* MinBloodPressureEdit() const { return FMinEdit; }
  QLineEdit* PulseEdit() const { return FPulseEdit; }

 protected:
  std::unique_ptr<TActData> MakeActData() const override;
  void CheckFields(QStringList& messages) const override;

 private:
  QLineEdit* FMinEdit = nullptr;
  QLineEdit* FMinTaniEdit = nullptr;
  QLineEdit* FPulseEdit = nullptr;
  QLineEdit* FPulseTaniEdit = nullptr;
};

// Purchases: the record is the price, its currency stays editable.
class TShoppingRecordDialog : public TRecordDialog {
  Q_OBJECT

 public:
  explicit TShoppingRecordDialog(QWidget* parent = nullptr);
};

// Categories whose unit is fixed by their settings (weight, files, calories).
class TTaniFixRecordDialog : public TRecordDialog {
  Q_OBJECT

 public:
  explicit TTaniFixRecordDialog(QWidget* parent = nullptr);
};

class TSightseeingRecordDialog : public TRecordDialog {
  Q_OBJECT

 public:
  using TRecordDialog::TRecordDialog;
};

// Actions of categories the user names; a built-in name is refused.
class TUserCategoryRecordDialog : public TRecordDialog {
  Q_OBJECT

 public:
  explicit TUserCategoryRecordDialog(QWidget* parent = nullptr);

  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  // The user category names in use, offered in the combo in list order.
  void SetUserCategoryList(const TStringList& names);
  QComboBox* CategoryCombo() const { return FCategoryCombo; }

 protected:
  void CheckFields(QStringList& messages) const override;

 private:
  QComboBox* FCategoryCombo = nullptr;
};

}  // namespace hakuvo
