#pragma once

#include "gui/record/record_dialog.h"

class QDateEdit;

namespace hakuvo {

class TTimeRecord;

// Actions with a start and an end time and a distance.
class TTimeRecordDialog : public TRecordDialog {
  Q_OBJECT

 public:
  explicit TTimeRecordDialog(QWidget* parent = nullptr);

  void SetCategoryInfo(TCategoryInfo& info) override;
  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  void ShowTimeRow() override;
  QLineEdit* EndTimeEdit() const { return FEndTimeEdit; }

 protected:
  std::unique_ptr<TActData> MakeActData() const override;
  void ReadGpsTime(const TGpsFile& track) override;
  void TrackAdded(const TGpsFileLink& link) override;
  void CheckFields(QStringList& messages) const override;

  TTimeRecord* TimeRecord();
  // The date row of the date dialogs: every row moves down by one and a date picker takes the top.
  QDateEdit* AddDateRow();
  static TDateTime PickerDate(const QDateEdit* picker);
  static void SetPickerDate(QDateEdit* picker, TDateTime date);

 private:
  // The start, end and distance texts the dialog was opened with.
  QStringList TrackFieldTexts() const;
  QStringList FOpenedTexts;

  QLineEdit* FEndTimeEdit = nullptr;
};

// Outings whose energy use is computed from the body weight.
class TEnergyConsumptionRecordDialog : public TTimeRecordDialog {
  Q_OBJECT

 public:
  explicit TEnergyConsumptionRecordDialog(QWidget* parent = nullptr);

  void SetCategoryInfo(TCategoryInfo& info) override;
  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  QLineEdit* WeightEdit() const { return FWeightEdit; }
  QLineEdit* WeightTaniEdit() const { return FWeightTaniEdit; }
  // Minutes per kilometre from the distance and the times as they stand; runs and walks only.
  QLineEdit* PaceEdit() const { return FPaceEdit; }

 protected:
  std::unique_ptr<TActData> MakeActData() const override;
  void CheckFields(QStringList& messages) const override;

 private:
  void UpdatePace();

  QLineEdit* FWeightEdit = nullptr;
  QLineEdit* FWeightTaniEdit = nullptr;
  QLineEdit* FPaceEdit = nullptr;
};

// Walks, with the step count of a pedometer.
class TWalkingRecordDialog : public TEnergyConsumptionRecordDialog {
  Q_OBJECT

 public:
  explicit TWalkingRecordDialog(QWidget* parent = nullptr);

  void SetCategoryInfo(TCategoryInfo& info) override;
  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  QLineEdit* PedometerEdit() const { return FPedometerEdit; }
  QLineEdit* PedometerTaniEdit() const { return FPedometerTaniEdit; }

 protected:
  std::unique_ptr<TActData> MakeActData() const override;
  void CheckFields(QStringList& messages) const override;

 private:
  QLineEdit* FPedometerEdit = nullptr;
  QLineEdit* FPedometerTaniEdit = nullptr;
};

// The dialogs of the program's modes also carry the day of the action. The picker belongs to
// the caller: it sets the day before showing and files the action under the day read after OK.
class TDateEnergyConsumptionRecordDialog : public TEnergyConsumptionRecordDialog {
  Q_OBJECT

 public:
  explicit TDateEnergyConsumptionRecordDialog(QWidget* parent = nullptr);

  QDateEdit* DateTimePicker() const { return FDatePicker; }
  TDateTime Date() const { return PickerDate(FDatePicker); }
  void SetDate(TDateTime date) { SetPickerDate(FDatePicker, date); }

 private:
  QDateEdit* FDatePicker = nullptr;
};

class TDateWalkingRecordDialog : public TWalkingRecordDialog {
  Q_OBJECT

 public:
  explicit TDateWalkingRecordDialog(QWidget* parent = nullptr);

  QDateEdit* DateTimePicker() const { return FDatePicker; }
  TDateTime Date() const { return PickerDate(FDatePicker); }
  void SetDate(TDateTime date) { SetPickerDate(FDatePicker, date); }

 private:
  QDateEdit* FDatePicker = nullptr;
};

// Journeys from a departure place to an arrival place.
class TTimePlaceRecordDialog : public TTimeRecordDialog {
  Q_OBJECT

 public:
  explicit TTimePlaceRecordDialog(QWidget* parent = nullptr);

  void SetCategoryInfo(TCategoryInfo& info) override;
  void SetActData(const TActData& act) override;
  TActData& ActData() override;
  void ShowTimeRow() override;
  QLineEdit* DeparturePlaceEdit() const { return FDepartureEdit; }
  QLineEdit* ArrivalPlaceEdit() const { return FArrivalEdit; }

 protected:
  std::unique_ptr<TActData> MakeActData() const override;

 private:
  QLineEdit* FDepartureEdit = nullptr;
  QLineEdit* FArrivalEdit = nullptr;
};

class TVehicleRecordDialog : public TTimePlaceRecordDialog {
  Q_OBJECT

 public:
  using TTimePlaceRecordDialog::TTimePlaceRecordDialog;
};

}  // namespace hakuvo
