#include "gui/record/time_record_dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>

#include <exception>
#include <string>

#include "core/common/number_format.h"
#include "core/gps/gps_file.h"
#include "core/model/act_data.h"
#include "core/model/category_info.h"
#include "core/model/pace.h"
#include "core/model/record_data.h"
#include "gui/common/qt_date_time.h"
#include "gui/common/qt_text.h"

namespace hakuvo {

namespace {

// Rows of the time dialogs below the fixed title and place rows.
constexpr int kTimeRow = 124;
constexpr int kDistanceRow = 180;
constexpr int kWindRow = 234;
constexpr int kWeatherRow = 282;
constexpr int kMemoRow = 338;
// The energy dialogs add the weight row where the memo was.
constexpr int kWeightRow = 338;
constexpr int kEnergyMemoRow = 392;
// The walking dialogs put the steps row under the distance.
constexpr int kStepsRow = 234;
constexpr int kWalkingMemoRow = 448;
// A date row on top moves everything down by one row.
constexpr int kDateRowShift = 36;

}  // namespace

// ---- TTimeRecordDialog ----

TTimeRecordDialog::TTimeRecordDialog(QWidget* parent) : TRecordDialog(parent) {
  MoveField(TimeEdit(), kTimeRow, 20);
  SetCaptionText(TimeEdit(), QStringLiteral("開始時刻"));
  FEndTimeEdit = AddTimeEdit(QStringLiteral("EndTimeEdit"), kTimeRow, 126);
  AddCaption(FEndTimeEdit, QStringLiteral("終了時刻"));
  MoveField(RecordEdit(), kDistanceRow, 20);
  SetCaptionText(RecordEdit(), QStringLiteral("距離"));
  MoveField(TaniEdit(), kDistanceRow, 126);
  SetCaptionText(TaniEdit(), QString());
  MakeUnitReadOnly(TaniEdit());
  MoveField(WindDirectionCombo(), kWindRow, 20);
  MoveField(WindSpeedEdit(), kWindRow, 126);
  MoveField(WeatherCombo(), kWeatherRow, 20);
  MoveField(TemperatureEdit(), kWeatherRow, 126);
  MoveField(Memo(), kMemoRow, 20);
}

std::unique_ptr<TActData> TTimeRecordDialog::MakeActData() const { return std::make_unique<TTimeAct>(); }

TTimeRecord* TTimeRecordDialog::TimeRecord() { return dynamic_cast<TTimeRecord*>(WorkingAct().RecordData.get()); }

void TTimeRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  TRecordDialog::SetCategoryInfo(info);
  SetFieldVisible(FEndTimeEdit, info.IsTime());
}

void TTimeRecordDialog::SetActData(const TActData& act) {
  TRecordDialog::SetActData(act);
  SetNumberText(RecordEdit(), WorkingAct().RecordData->Data());
  if (const TTimeRecord* record = TimeRecord()) SetTimeText(FEndTimeEdit, record->EndTime);
  FOpenedTexts = TrackFieldTexts();
}

QStringList TTimeRecordDialog::TrackFieldTexts() const {
  return {TimeEdit()->text(), FEndTimeEdit->text(), RecordEdit()->text()};
}

void TTimeRecordDialog::TrackAdded(const TGpsFileLink& link) {
  // Fields the user has already written are his; the link row's commands still read the track
  // on request.
  if (TrackFieldTexts() != FOpenedTexts) return;
  std::unique_ptr<TGpsFile> track;
  try {
    track = ReadTrack(link);
  } catch (const std::exception& error) {
    ShowError(QString::fromStdString(error.what()));
    return;
  }
  if (!track || track->GpsList.Count() == 0) return;
  if (track->FirstDateTime() > 0) ReadGpsTime(*track);
  RecordEdit()->setText(ToQString(FormatFixed(track->TotalDistance(), 1)));
}

TActData& TTimeRecordDialog::ActData() {
  TActData& act = TRecordDialog::ActData();
  Extended distance = 0;
  if (TryNumberOf(RecordEdit(), distance)) act.RecordData->SetData(distance);
  TDateTime end = 0;
  if (TTimeRecord* record = TimeRecord(); record != nullptr && TryTimeOf(FEndTimeEdit, end)) {
    record->EndTime = TimeOf(end);
  }
  return act;
}

void TTimeRecordDialog::ShowTimeRow() {
  SetFieldVisible(FEndTimeEdit, true);
  TRecordDialog::ShowTimeRow();
}

void TTimeRecordDialog::ReadGpsTime(const TGpsFile& track) {
  TRecordDialog::ReadGpsTime(track);
  SetTimeText(FEndTimeEdit, track.EndDateTime());
}

void TTimeRecordDialog::CheckFields(QStringList& messages) const {
  TRecordDialog::CheckFields(messages);
  TDateTime end = 0;
  if (!TryTimeOf(FEndTimeEdit, end)) messages << QStringLiteral("[終了時刻]が正しくありません");
}

QDateEdit* TTimeRecordDialog::AddDateRow() {
  ShiftRows(0, kDateRowShift);
  auto* picker = new QDateEdit;
  picker->setCalendarPopup(true);
  picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  picker->setMinimumDate(QDate(1899, 12, 30));
  AddField(picker, QStringLiteral("DateTimePicker"), 25, 63, 110, 22, 1);
  AddLeftCaption(picker, QStringLiteral("日付"));
  SetPickerDate(picker, Today());
  return picker;
}

TDateTime TTimeRecordDialog::PickerDate(const QDateEdit* picker) { return FromQDate(picker->date()); }

void TTimeRecordDialog::SetPickerDate(QDateEdit* picker, TDateTime date) { picker->setDate(ToQDate(date)); }

// ---- TEnergyConsumptionRecordDialog ----

TEnergyConsumptionRecordDialog::TEnergyConsumptionRecordDialog(QWidget* parent) : TTimeRecordDialog(parent) {
  FWeightEdit = AddNumberEdit(QStringLiteral("WeightEdit"), kWeightRow, 20);
  AddCaption(FWeightEdit, QStringLiteral("体重"));
  FWeightTaniEdit = AddUnitEdit(QStringLiteral("WeightTaniEdit"), kWeightRow);
  MoveField(Memo(), kEnergyMemoRow, 20);
  // Beside the distance and its unit; worked out, never typed.
  FPaceEdit = AddLineEdit(QStringLiteral("PaceEdit"), kDistanceRow, 232, 80);
  AddCaption(FPaceEdit, QString::fromUtf8(PaceCaption));
  FPaceEdit->setReadOnly(true);
  FPaceEdit->setFocusPolicy(Qt::NoFocus);
  FPaceEdit->setAlignment(Qt::AlignRight);
  for (QLineEdit* edit : {RecordEdit(), TimeEdit(), EndTimeEdit()}) {
    connect(edit, &QLineEdit::textChanged, this, &TEnergyConsumptionRecordDialog::UpdatePace);
  }
}

void TEnergyConsumptionRecordDialog::UpdatePace() {
  Extended km = 0;
  TDateTime start = 0, end = 0;
  if (!TryNumberOf(RecordEdit(), km) || !TryTimeOf(TimeEdit(), start) || !TryTimeOf(EndTimeEdit(), end)) {
    FPaceEdit->clear();
    return;
  }
  // The record's own rule for the duration (an end before the start runs past midnight).
  TTimeRecord record;
  record.StartTime = TimeOf(start);
  record.EndTime = TimeOf(end);
  FPaceEdit->setText(QString::fromStdString(FormatPace(PaceSeconds(km, record.DurationMSecs() / 1000))));
}

std::unique_ptr<TActData> TEnergyConsumptionRecordDialog::MakeActData() const {
  return std::make_unique<TEnergyConsumptionAct>();
}

void TEnergyConsumptionRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  TTimeRecordDialog::SetCategoryInfo(info);
  const auto* energy = dynamic_cast<const TEnergyConsumptionCategoryInfo*>(&info);
  const bool shown = energy != nullptr && energy->IsWeight();
  SetFieldVisible(FWeightEdit, shown);
  SetFieldVisible(FWeightTaniEdit, shown);
  SetFieldVisible(FPaceEdit, HasPace(info.Category()) && info.IsRecordData() && info.IsTime());
}

void TEnergyConsumptionRecordDialog::SetActData(const TActData& act) {
  TTimeRecordDialog::SetActData(act);
  if (const auto* record = dynamic_cast<const TEnergyConsumptionRecord*>(WorkingAct().RecordData.get())) {
    SetNumberText(FWeightEdit, record->Weight);
  }
  FWeightTaniEdit->setText(CategoryInfo() != nullptr ? UnitAt(CategoryInfo()->Tani, 3) : QString());
  UpdatePace();
}

TActData& TEnergyConsumptionRecordDialog::ActData() {
  TActData& act = TTimeRecordDialog::ActData();
  Extended weight = 0;
  if (auto* record = dynamic_cast<TEnergyConsumptionRecord*>(act.RecordData.get());
      record != nullptr && TryNumberOf(FWeightEdit, weight)) {
    record->Weight = weight;
  }
  return act;
}

void TEnergyConsumptionRecordDialog::CheckFields(QStringList& messages) const {
  TTimeRecordDialog::CheckFields(messages);
  Extended weight = 0;
  if (!TryNumberOf(FWeightEdit, weight)) messages << QStringLiteral("[体重]が数値ではありません");
}

// ---- TWalkingRecordDialog ----

TWalkingRecordDialog::TWalkingRecordDialog(QWidget* parent) : TEnergyConsumptionRecordDialog(parent) {
  ShiftRows(kStepsRow, TRecordDialog::RowPitch);
  MoveField(Memo(), kWalkingMemoRow, 20);
  FPedometerEdit = AddNumberEdit(QStringLiteral("PedometerEdit"), kStepsRow, 20);
  AddCaption(FPedometerEdit, QStringLiteral("歩数"));
  OnDoubleClick(CaptionOf(FPedometerEdit), [this] { ShowTimeRow(); });
  FPedometerTaniEdit = AddUnitEdit(QStringLiteral("PedometerTaniEdit"), kStepsRow);
}

std::unique_ptr<TActData> TWalkingRecordDialog::MakeActData() const { return std::make_unique<TWalkingAct>(); }

void TWalkingRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  TEnergyConsumptionRecordDialog::SetCategoryInfo(info);
  const auto* walking = dynamic_cast<const TWalkingCategoryInfo*>(&info);
  const bool shown = walking != nullptr && walking->IsPedometer();
  SetFieldVisible(FPedometerEdit, shown);
  SetFieldVisible(FPedometerTaniEdit, shown);
}

void TWalkingRecordDialog::SetActData(const TActData& act) {
  TEnergyConsumptionRecordDialog::SetActData(act);
  if (const auto* record = dynamic_cast<const TWalkingRecord*>(WorkingAct().RecordData.get())) {
    FPedometerEdit->setText(QString::number(record->Pedometer));
  }
  FPedometerTaniEdit->setText(CategoryInfo() != nullptr ? UnitAt(CategoryInfo()->Tani, 5) : QString());
}

TActData& TWalkingRecordDialog::ActData() {
  TActData& act = TEnergyConsumptionRecordDialog::ActData();
  int steps = 0;
  if (auto* record = dynamic_cast<TWalkingRecord*>(act.RecordData.get());
      record != nullptr && TryParseInt(ToStdString(FPedometerEdit->text()), steps)) {
    record->Pedometer = steps;
  }
  return act;
}

void TWalkingRecordDialog::CheckFields(QStringList& messages) const {
  TEnergyConsumptionRecordDialog::CheckFields(messages);
  int steps = 0;
  if (!TryParseInt(ToStdString(FPedometerEdit->text()), steps)) {
    messages << QStringLiteral("[歩数]が数値ではありません");
  }
}

// ---- the date dialogs ----

TDateEnergyConsumptionRecordDialog::TDateEnergyConsumptionRecordDialog(QWidget* parent)
    : TEnergyConsumptionRecordDialog(parent), FDatePicker(AddDateRow()) {}

TDateWalkingRecordDialog::TDateWalkingRecordDialog(QWidget* parent)
    : TWalkingRecordDialog(parent), FDatePicker(AddDateRow()) {}

// ---- TTimePlaceRecordDialog ----

TTimePlaceRecordDialog::TTimePlaceRecordDialog(QWidget* parent) : TTimeRecordDialog(parent) {
  // The arrival time gets a row of its own, beside the arrival place.
  ShiftRows(kDistanceRow, 56);
  MoveField(EndTimeEdit(), kDistanceRow, 20);
  SetCaptionText(TimeEdit(), QStringLiteral("出発時刻"));
  SetCaptionText(EndTimeEdit(), QStringLiteral("到着時刻"));
  FDepartureEdit = AddLineEdit(QStringLiteral("DeparturePlaceEdit"), kTimeRow, 126, 160);
  AddCaption(FDepartureEdit, QStringLiteral("出発地"));
  StretchToRight(FDepartureEdit);
  FArrivalEdit = AddLineEdit(QStringLiteral("ArrivalPlaceEdit"), kDistanceRow, 126, 160);
  AddCaption(FArrivalEdit, QStringLiteral("到着地"));
  StretchToRight(FArrivalEdit);
  OnDoubleClick(CaptionOf(FDepartureEdit), [this] { ShowTimeRow(); });
  OnDoubleClick(CaptionOf(FArrivalEdit), [this] { ShowTimeRow(); });
}

std::unique_ptr<TActData> TTimePlaceRecordDialog::MakeActData() const { return std::make_unique<TTimePlaceAct>(); }

void TTimePlaceRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  TTimeRecordDialog::SetCategoryInfo(info);
  SetFieldVisible(FDepartureEdit, info.IsTime());
  SetFieldVisible(FArrivalEdit, info.IsTime());
}

void TTimePlaceRecordDialog::SetActData(const TActData& act) {
  TTimeRecordDialog::SetActData(act);
  if (const auto* journey = dynamic_cast<const TTimePlaceAct*>(&WorkingAct())) {
    FDepartureEdit->setText(ToQString(journey->DeparturePlace));
    FArrivalEdit->setText(ToQString(journey->ArrivalPlace));
  }
}

TActData& TTimePlaceRecordDialog::ActData() {
  TActData& act = TTimeRecordDialog::ActData();
  if (auto* journey = dynamic_cast<TTimePlaceAct*>(&act)) {
    journey->DeparturePlace = ToStdString(FDepartureEdit->text());
    journey->ArrivalPlace = ToStdString(FArrivalEdit->text());
  }
  return act;
}

void TTimePlaceRecordDialog::ShowTimeRow() {
  SetFieldVisible(FDepartureEdit, true);
  SetFieldVisible(FArrivalEdit, true);
  TTimeRecordDialog::ShowTimeRow();
}

}  // namespace hakuvo
