#include "gui/record/other_record_dialogs.h"

#include <QComboBox>
#include <QDesktopServices>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QUrl>

#include "core/model/act_data.h"
#include "core/model/category_info.h"
#include "core/model/category_type.h"
#include "gui/common/qt_text.h"

namespace hakuvo {

// ---- TFishingRecordDialog ----

TFishingRecordDialog::TFishingRecordDialog(QWidget* parent) : TRecordDialog(parent) {
  FFishSpeciesEdit = AddLineEdit(QStringLiteral("FishSpeciesEdit"), 99, 63, 240, 1);
  AddLeftCaption(FFishSpeciesEdit, QStringLiteral("魚種"));
  StretchToRight(FFishSpeciesEdit);
  MoveField(RecordEdit(), 161, 20);
  SetCaptionText(RecordEdit(), QStringLiteral("釣果"));
  MoveField(TaniEdit(), 161, 126);
  SetCaptionText(TaniEdit(), QString());
  MakeUnitReadOnly(TaniEdit());
  MoveField(TimeEdit(), 161, 213);

  FDimensionEdit = AddNumberEdit(QStringLiteral("DimensionEdit"), 216, 20);
  AddCaption(FDimensionEdit, QStringLiteral("大きさ"));
  FDimensionTaniEdit = AddUnitEdit(QStringLiteral("DimensionTaniEdit"), 216);
  FWaterTemperatureEdit = AddNumberEdit(QStringLiteral("WaterTemperatureEdit"), 271, 20);
  AddCaption(FWaterTemperatureEdit, QStringLiteral("水温"));
  FWaterTemperatureTaniEdit = AddUnitEdit(QStringLiteral("WaterTemperatureTaniEdit"), 271);
  for (QLineEdit* extra : {FDimensionEdit, FWaterTemperatureEdit}) {
    OnDoubleClick(CaptionOf(extra), [this] { ShowTimeRow(); });
  }

  MoveField(WindDirectionCombo(), 326, 20);
  MoveField(WindSpeedEdit(), 326, 126);
  MoveField(WeatherCombo(), 381, 20);
  MoveField(TemperatureEdit(), 381, 126);
  MoveField(Memo(), 436, 20);
}

std::unique_ptr<TActData> TFishingRecordDialog::MakeActData() const { return std::make_unique<TFishingAct>(); }

void TFishingRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  TRecordDialog::SetCategoryInfo(info);
  const auto* fishing = dynamic_cast<const TFishingCategoryInfo*>(&info);
  const bool dimension = fishing != nullptr && fishing->IsDimension();
  const bool water = fishing != nullptr && fishing->IsWaterTemperature();
  SetFieldVisible(FDimensionEdit, dimension);
  SetFieldVisible(FDimensionTaniEdit, dimension);
  SetFieldVisible(FWaterTemperatureEdit, water);
  SetFieldVisible(FWaterTemperatureTaniEdit, water);
}

void TFishingRecordDialog::SetActData(const TActData& act) {
  TRecordDialog::SetActData(act);
  if (const auto* fishing = dynamic_cast<const TFishingAct*>(&WorkingAct())) {
    FFishSpeciesEdit->setText(ToQString(fishing->FishSpecies));
  }
  const TRecordData& record = *WorkingAct().RecordData;
  if (const auto* catch_ = dynamic_cast<const TFishingRecord*>(&record)) {
    SetNumberText(FDimensionEdit, catch_->Dimension);
    SetNumberText(FWaterTemperatureEdit, catch_->WaterTemperature);
  }
  FDimensionTaniEdit->setText(UnitAt(record.Tani, 2));
  FWaterTemperatureTaniEdit->setText(UnitAt(record.Tani, 3));
}

TActData& TFishingRecordDialog::ActData() {
  TActData& act = TRecordDialog::ActData();
  if (auto* fishing = dynamic_cast<TFishingAct*>(&act)) fishing->FishSpecies = ToStdString(FFishSpeciesEdit->text());
  if (auto* catch_ = dynamic_cast<TFishingRecord*>(act.RecordData.get())) {
    Extended value = 0;
    if (TryNumberOf(FDimensionEdit, value)) catch_->Dimension = value;
    if (TryNumberOf(FWaterTemperatureEdit, value)) catch_->WaterTemperature = value;
  }
  return act;
}

void TFishingRecordDialog::CheckFields(QStringList& messages) const {
  TRecordDialog::CheckFields(messages);
  Extended value = 0;
  if (!TryNumberOf(FDimensionEdit, value)) messages << QStringLiteral("[大きさ]が数値ではありません");
  if (!TryNumberOf(FWaterTemperatureEdit, value)) messages << QStringLiteral("[水温]が数値ではありません");
}

// ---- TEvaluationRecordDialog ----

TEvaluationRecordDialog::TEvaluationRecordDialog(QWidget* parent) : TRecordDialog(parent) {
  ShiftRows(124, RowPitch);
  FUrlEdit = AddLineEdit(QStringLiteral("UrlEdit"), 124, 20, 280);
  AddCaption(FUrlEdit, QStringLiteral("URL"));
  StretchToRight(FUrlEdit);
  OnDoubleClick(FUrlEdit, [this] { OpenUrl(); });
  OnDoubleClick(CaptionOf(FUrlEdit), [this] { OpenUrl(); });
  SetCaptionText(RecordEdit(), QStringLiteral("評価"));
  SetCaptionText(TaniEdit(), QString());
  MakeUnitReadOnly(TaniEdit());
  // Weather and temperature come before the wind here, as in the base.
}

std::unique_ptr<TActData> TEvaluationRecordDialog::MakeActData() const { return std::make_unique<TEvaluationAct>(); }

void TEvaluationRecordDialog::OpenUrl() const {
  const QString text = FUrlEdit->text().trimmed();
  if (text.isEmpty()) return;
  QDesktopServices::openUrl(QUrl::fromUserInput(text));
}

void TEvaluationRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  TRecordDialog::SetCategoryInfo(info);
  const auto* evaluation = dynamic_cast<const TEvaluationCategoryInfo*>(&info);
  SetFieldVisible(FUrlEdit, evaluation != nullptr && evaluation->IsUrl());
}

void TEvaluationRecordDialog::SetActData(const TActData& act) {
  TRecordDialog::SetActData(act);
  if (const auto* evaluation = dynamic_cast<const TEvaluationAct*>(&WorkingAct())) {
    FUrlEdit->setText(ToQString(evaluation->Url));
  }
}

TActData& TEvaluationRecordDialog::ActData() {
  TActData& act = TRecordDialog::ActData();
  if (auto* evaluation = dynamic_cast<TEvaluationAct*>(&act)) evaluation->Url = ToStdString(FUrlEdit->text());
  return act;
}

// ---- TBookRecordDialog ----

TBookRecordDialog::TBookRecordDialog(QWidget* parent) : TEvaluationRecordDialog(parent) {
  ShiftRows(124, RowPitch);
  FAuthorEdit = AddLineEdit(QStringLiteral("AuthorEdit"), 124, 20, 280);
  AddCaption(FAuthorEdit, QStringLiteral("著者"));
  StretchToRight(FAuthorEdit);
  OnDoubleClick(FAuthorEdit, [this] { OpenUrl(); });
  OnDoubleClick(CaptionOf(FAuthorEdit), [this] { OpenUrl(); });
}

std::unique_ptr<TActData> TBookRecordDialog::MakeActData() const { return std::make_unique<TBookAct>(); }

void TBookRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  TEvaluationRecordDialog::SetCategoryInfo(info);
  const auto* book = dynamic_cast<const TBookCategoryInfo*>(&info);
  SetFieldVisible(FAuthorEdit, book != nullptr && book->IsAuthor());
}

void TBookRecordDialog::SetActData(const TActData& act) {
  TEvaluationRecordDialog::SetActData(act);
  if (const auto* book = dynamic_cast<const TBookAct*>(&WorkingAct())) FAuthorEdit->setText(ToQString(book->Author));
}

TActData& TBookRecordDialog::ActData() {
  TActData& act = TEvaluationRecordDialog::ActData();
  if (auto* book = dynamic_cast<TBookAct*>(&act)) book->Author = ToStdString(FAuthorEdit->text());
  return act;
}

// ---- TBloodPressureRecordDialog ----

TBloodPressureRecordDialog::TBloodPressureRecordDialog(QWidget* parent) : TRecordDialog(parent) {
  ShiftRows(179, 2 * RowPitch);
  SetCaptionText(RecordEdit(), QStringLiteral("最大血圧"));
  SetCaptionText(TaniEdit(), QString());
  MakeUnitReadOnly(TaniEdit());
  FMinEdit = AddNumberEdit(QStringLiteral("MinBloodPressureEdit"), 179, 20);
  AddCaption(FMinEdit, QStringLiteral("最低血圧"));
  FMinTaniEdit = AddUnitEdit(QStringLiteral("MinBloodPressureTaniEdit"), 179);
  FPulseEdit = AddNumberEdit(QStringLiteral("PulseEdit"), 234, 20);
  AddCaption(FPulseEdit, QStringLiteral("脈拍"));
  FPulseTaniEdit = AddUnitEdit(QStringLiteral("PulseTaniEdit"), 234);
  for (QLineEdit* extra : {FMinEdit, FPulseEdit}) OnDoubleClick(CaptionOf(extra), [this] { ShowTimeRow(); });
}

std::unique_ptr<TActData> TBloodPressureRecordDialog::MakeActData() const {
  return std::make_unique<TBloodPressureAct>();
}

void TBloodPressureRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  TRecordDialog::SetCategoryInfo(info);
  const auto* pressure = dynamic_cast<const TBloodPressureCategoryInfo*>(&info);
  const bool minimum = pressure != nullptr && pressure->IsMinBloodPressure();
  const bool pulse = pressure != nullptr && pressure->IsPulse();
  SetFieldVisible(FMinEdit, minimum);
  SetFieldVisible(FMinTaniEdit, minimum);
  SetFieldVisible(FPulseEdit, pulse);
  SetFieldVisible(FPulseTaniEdit, pulse);
}

void TBloodPressureRecordDialog::SetActData(const TActData& act) {
  TRecordDialog::SetActData(act);
  const TRecordData& record = *WorkingAct().RecordData;
  if (const auto* pressure = dynamic_cast<const TBloodPressureRecord*>(&record)) {
    SetNumberText(FMinEdit, pressure->MinBloodPressure);
    SetNumberText(FPulseEdit, pressure->Pulse);
  }
  FMinTaniEdit->setText(UnitAt(record.Tani, 2));
  FPulseTaniEdit->setText(UnitAt(record.Tani, 3));
}

TActData& TBloodPressureRecordDialog::ActData() {
  TActData& act = TRecordDialog::ActData();
  if (auto* pressure = dynamic_cast<TBloodPressureRecord*>(act.RecordData.get())) {
    Extended value = 0;
    if (TryNumberOf(FMinEdit, value)) pressure->MinBloodPressure = value;
    if (TryNumberOf(FPulseEdit, value)) pressure->Pulse = value;
  }
  return act;
}

void TBloodPressureRecordDialog::CheckFields(QStringList& messages) const {
  TRecordDialog::CheckFields(messages);
  Extended value = 0;
  if (!TryNumberOf(FMinEdit, value)) messages << QStringLiteral("[最低血圧]が数値ではありません");
  if (!TryNumberOf(FPulseEdit, value)) messages << QStringLiteral("[脈拍]が数値ではありません");
}

// ---- the plain dialogs ----

TShoppingRecordDialog::TShoppingRecordDialog(QWidget* parent) : TRecordDialog(parent) {
  SetCaptionText(RecordEdit(), QStringLiteral("価格"));
}

TTaniFixRecordDialog::TTaniFixRecordDialog(QWidget* parent) : TRecordDialog(parent) {
  SetCaptionText(TaniEdit(), QString());
  MakeUnitReadOnly(TaniEdit());
}

// ---- TUserCategoryRecordDialog ----

TUserCategoryRecordDialog::TUserCategoryRecordDialog(QWidget* parent) : TRecordDialog(parent) {
  ShiftRows(0, 36);
  FCategoryCombo = AddComboBox(QStringLiteral("CategoryCombo"), 25, 63, 240, true, 1);
  AddLeftCaption(FCategoryCombo, QStringLiteral("カテゴリ"));
  StretchToRight(FCategoryCombo);
}

void TUserCategoryRecordDialog::SetUserCategoryList(const TStringList& names) {
  const QString text = FCategoryCombo->currentText();
  FCategoryCombo->clear();
  for (const std::string& name : names) FCategoryCombo->addItem(ToQString(name));
  FCategoryCombo->setCurrentText(text);
}

void TUserCategoryRecordDialog::SetActData(const TActData& act) {
  TRecordDialog::SetActData(act);
  FCategoryCombo->setCurrentText(ToQString(WorkingAct().CategoryStr()));
}

TActData& TUserCategoryRecordDialog::ActData() {
  TActData& act = TRecordDialog::ActData();
  act.UserCategory = ToStdString(FCategoryCombo->currentText());
  return act;
}

void TUserCategoryRecordDialog::CheckFields(QStringList& messages) const {
  TRecordDialog::CheckFields(messages);
  const QString name = FCategoryCombo->currentText();
  if (IsCategoryName(ToStdString(name))) {
    messages << QStringLiteral("カテゴリ[") + name +
                    QStringLiteral("]はすでに登録されています\nカテゴリを変更してください");
  }
}

}  // namespace hakuvo
