#include "gui/graph/multi_graph_form.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QToolBar>
#include <cmath>

#include "core/common/text_util.h"
#include "core/datafile/day_data_file.h"
#include "core/model/act_data.h"
#include "gui/common/timing_log.h"
#include "gui/document/diary_document.h"
#include "gui/graph/graph_chart.h"
#include "gui/graph/graph_info_set_dialog.h"

namespace hakuvo {
namespace {

QColor ColorOf(TColor color) { return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF); }

// Fills a category combo with the choices, keeping its choice (or none when it had none).
void FillChoices(QComboBox* combo, const QStringList& choices) {
  QStringList items;
  for (int i = 0; i < combo->count(); ++i) items << combo->itemText(i);
  if (items == choices) return;
  const int oldIndex = combo->currentIndex();
  const QString current = combo->currentText();
  combo->clear();
  combo->addItems(choices);
  if (oldIndex < 0) {
    combo->setCurrentIndex(-1);
    return;
  }
  int index = combo->findText(current);
  if (index < 0) {
    combo->addItem(current);
    index = combo->count() - 1;
  }
  combo->setCurrentIndex(index);
}

QComboBox* NewCombo(const QString& name, const QString& hint, QWidget* parent) {
  auto* combo = new QComboBox(parent);
  combo->setObjectName(name);
  combo->setToolTip(hint);
  combo->setMaxVisibleItems(15);
  combo->setMinimumWidth(100);
  return combo;
}

QToolButton* NewSettingsButton(const QString& name, QWidget* parent) {
  auto* button = new QToolButton(parent);
  button->setObjectName(name);
  button->setText(QStringLiteral("グラフ設定"));
  button->setToolTip(QStringLiteral("グラフ設定"));
  button->setAutoRaise(true);
  return button;
}

}  // namespace

// ---- two-data graph ----

TMultiGraphForm::TMultiGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent)
    : TMultiGraphForm(document, appData, QStringLiteral("MultiGraphForm"), QStringLiteral("グラフ（2データ）"),
                      parent) {}

TMultiGraphForm::TMultiGraphForm(TDiaryDocument& document, TAppData* appData, const QString& name,
                                 const QString& caption, QWidget* parent)
    : TGraphForm(document, appData, name, caption, parent) {
  BuildChannels();
  const QString mode = QString::fromStdString(ModeCategoryName(appData));
  SetCategory(mode);
  SetCategory2(mode);
  SetRecordKind(1);
  SetRecordKind2(2);
}

void TMultiGraphForm::BuildChannels() {
  // The day graph's combo reaction and tool bar are replaced by the two channels' own.
  disconnect(FCategoryCombo, &QComboBox::activated, this, nullptr);
  FToolBar->hide();
  QWidget* top = FCategoryCombo->parentWidget();
  FRecordCombo = NewCombo(QStringLiteral("RecordCombo"), QStringLiteral("データ"), top);
  FSettingsButton = NewSettingsButton(QStringLiteral("SettingsButton"), top);
  FSettingsButton->setDefaultAction(FSettingsAction);
  FCategoryCombo2 = NewCombo(QStringLiteral("CategoryCombo2"), QStringLiteral("カテゴリ"), top);
  FRecordCombo2 = NewCombo(QStringLiteral("RecordCombo2"), QStringLiteral("データ"), top);
  FSettingsButton2 = NewSettingsButton(QStringLiteral("SettingsButton2"), top);
  int at = FTopLayout->indexOf(FCategoryCombo) + 1;
  FTopLayout->insertWidget(at++, FRecordCombo);
  FTopLayout->insertSpacing(at++, 5);
  FTopLayout->insertWidget(at++, FSettingsButton);
  FTopLayout->insertSpacing(at++, 10);
  FTopLayout->insertWidget(at++, FCategoryCombo2);
  FTopLayout->insertWidget(at++, FRecordCombo2);
  FTopLayout->insertSpacing(at++, 5);
  FTopLayout->insertWidget(at++, FSettingsButton2);
  FCategoryCombo2->addItems(GraphCategoryChoices(FDocument, FAppData));

  FChart->SetLegendVisible(true);
  for (int channel = 0; channel < 2; ++channel) {
    QComboBox* category = ChannelCategoryCombo(channel);
    QComboBox* record = ChannelRecordCombo(channel);
    category->installEventFilter(this);
    record->installEventFilter(this);
    connect(category, &QComboBox::activated, this, [this, channel, category] {
      SetChannelCategory(channel, category->currentText());
      emit FDocument.ViewSettingChanged();
    });
    connect(record, &QComboBox::activated, this, [this] {
      SetGraphData();
      emit FDocument.ViewSettingChanged();
    });
  }
  connect(FSettingsButton2, &QToolButton::clicked, this, [this] { OpenChannelSettings(1); });
}

QString TMultiGraphForm::Category2() const { return FCategoryCombo2->currentText(); }

void TMultiGraphForm::SetCategory(const QString& name) { SetChannelCategory(0, name); }

void TMultiGraphForm::SetCategory2(const QString& name) { SetChannelCategory(1, name); }

void TMultiGraphForm::SetChannelCategory(int channel, const QString& name) {
  (channel == 0 ? FCategoryType : FCategoryType2) = CategoryTypeFromName(name.toStdString());
  QComboBox* combo = ChannelCategoryCombo(channel);
  int index = combo->findText(name);
  if (index < 0 && !name.isEmpty()) {
    combo->addItem(name);
    index = combo->count() - 1;
  }
  combo->setCurrentIndex(index);
  FillRecordCombo(channel);
}

void TMultiGraphForm::FillRecordCombo(int channel) {
  QComboBox* record = ChannelRecordCombo(channel);
  record->clear();
  if (ChannelCategoryCombo(channel)->currentIndex() < 0) return;
  const TCategoryType type = channel == 0 ? FCategoryType : FCategoryType2;
  std::unique_ptr<TActData> act = CreateActData(type);
  if (const TCategoryInfo* info = FDocument.CategoryInfoList().GetCategoryItems(type)) {
    act->RecordData->Tani = info->Tani;
  }
  for (int kind = 0; kind < act->RecordData->RecordNumber(); ++kind) {
    record->addItem(QString::fromStdString(act->RecordData->ViewTitleAt(kind)));
  }
  record->setCurrentIndex(-1);
}

int TMultiGraphForm::RecordKind() const { return FRecordCombo->currentIndex(); }

void TMultiGraphForm::SetRecordKind(int kind) {
  FRecordCombo->setCurrentIndex(kind >= 0 && kind < FRecordCombo->count() ? kind : -1);
}

int TMultiGraphForm::RecordKind2() const { return FRecordCombo2->currentIndex(); }

void TMultiGraphForm::SetRecordKind2(int kind) {
  FRecordCombo2->setCurrentIndex(kind >= 0 && kind < FRecordCombo2->count() ? kind : -1);
}

bool TMultiGraphForm::IsChannelActive(int channel) const {
  return ChannelCategoryCombo(channel)->currentIndex() >= 0 && ChannelRecordCombo(channel)->currentIndex() >= 0;
}

void TMultiGraphForm::ClearChannel(int channel) {
  ChannelCategoryCombo(channel)->setCurrentIndex(-1);
  ChannelRecordCombo(channel)->clear();
  SetGraphData();
  emit FDocument.ViewSettingChanged();
}

bool TMultiGraphForm::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_Delete) {
    for (int channel = 0; channel < 2; ++channel) {
      if (watched == ChannelCategoryCombo(channel) || watched == ChannelRecordCombo(channel)) {
        ClearChannel(channel);
        return true;
      }
    }
  }
  return TGraphForm::eventFilter(watched, event);
}

void TMultiGraphForm::showEvent(QShowEvent* event) {
  TGraphForm::showEvent(event);
  // Unlike the day graph, this window chooses its own categories.
  FCategoryCombo->show();
}

void TMultiGraphForm::RefreshCategoryChoices() {
  const QStringList choices = GraphCategoryChoices(FDocument, FAppData);
  FillChoices(FCategoryCombo, choices);
  FillChoices(FCategoryCombo2, choices);
}

TGraphInfo* TMultiGraphForm::CurrentGraphInfo() const { return &FDocument.MultiGraphInfo1(); }

TGraphInfo* TMultiGraphForm::ChannelGraphInfo(int channel) const {
  return channel == 0 ? &FDocument.MultiGraphInfo1() : &FDocument.MultiGraphInfo2();
}

void TMultiGraphForm::CalcChannel(int channel) {
  if (!IsChannelActive(channel)) return;
  if (!FGraphCalcData) FGraphCalcData = CreateCalcData();
  FGraphCalcData->SetDayDataList(&FDocument.DayDataList());
  FGraphCalcData->SetCategoryInfoList(&FDocument.CategoryInfoList());
  FGraphCalcData->SetCategory(ChannelCategoryCombo(channel)->currentText().toStdString());
  FGraphCalcData->SetRecordKind(ChannelRecordCombo(channel)->currentIndex());
  FGraphCalcData->Calc();
  if (channel == 0) {
    AddSeriesPoints1();
  } else {
    AddSeriesPoints2();
  }
}

void TMultiGraphForm::SetGraphData() {
  if (!isVisible()) {
    FIsStale = true;
    return;
  }
  FIsStale = false;
  // The action graph's category combos are hidden: their choices wait until they are shown.
  if (FCategoryCombo->isVisible() || FCategoryCombo2->isVisible()) RefreshCategoryChoices();
  if (!CanCompute()) {
    Clear();
    FChart->replot();
    return;
  }
  const TTimingWatch watch;
  CountRecompute();
  if (IsChannelActive(0)) ApplyCategoryInfo(FCategoryType);
  if (IsChannelActive(1) && FCategoryType2 != FCategoryType) ApplyCategoryInfo(FCategoryType2);
  ApplyGraphInfo();
  Clear();
  ChooseSeriesType();
  CalcChannel(0);
  CalcChannel(1);
  FinishAxes();
  FinishRecompute();
  watch.Log(objectName().toStdString() + " recomputed and drawn");
}

void TMultiGraphForm::ApplyGraphInfo() {
  FChart->SetDateAxisVertical(false);
  FChart->DateAxis()->setLabel(QString());
  for (int channel = 0; channel < 2; ++channel) {
    const bool active = IsChannelActive(channel);
    QString title;
    QString axisTitle;
    if (active) {
      const QString category = ChannelCategoryCombo(channel)->currentText();
      const int kind = ChannelRecordCombo(channel)->currentIndex();
      title = category + QStringLiteral("[") + ChannelRecordCombo(channel)->currentText() + QStringLiteral("]");
      const TCategoryType type = channel == 0 ? FCategoryType : FCategoryType2;
      if (const TCategoryInfo* info = FDocument.CategoryInfoList().GetCategoryItems(type)) {
        axisTitle =
            QString::fromStdString(CategoryValueAxisTitle(type, info->Tani, info->GraphInfo().RecordAxisTitle, kind));
      }
    }
    FChart->SetSeriesActive(channel, active);
    FChart->SetSeriesTitle(channel, title);
    FChart->SetValueTitle(channel, axisTitle);
  }
  FDateRange = DateAxisRange(*ChannelGraphInfo(0), Today());
}

void TMultiGraphForm::ChooseSeriesType() {
  for (int channel = 0; channel < 2; ++channel) {
    const TGraphInfo* gi = ChannelGraphInfo(channel);
    FChart->SetSeriesStyle(channel, gi->IsBarSeries(), ColorOf(gi->SeriesColor()), gi->LineSeriesWidth());
  }
}

void TMultiGraphForm::AddChannelPoints(int channel, const TDateAxisRange& range) {
  QVector<double> keys;
  QVector<double> values;
  for (int index : PointsInRange(FGraphCalcData->TimeArray, range)) {
    keys << FGraphCalcData->GetTime(index);
    values << static_cast<double>(FGraphCalcData->GetData(index));
  }
  FChart->SetSeriesData(channel, keys, values);
}

void TMultiGraphForm::AddSeriesPoints1() { AddChannelPoints(0, FDateRange); }

void TMultiGraphForm::AddSeriesPoints2() {
  // The second channel's own "all" shows all its points, whatever the first one's axis.
  AddChannelPoints(1, ChannelGraphInfo(1)->DayAxisKind() == daAll ? TDateAxisRange{} : FDateRange);
}

void TMultiGraphForm::FinishAxes() {
  const bool margins = ChannelGraphInfo(0)->IsBarSeries() && !FDateRange.IsAuto;
  FChart->SetDateLabels(gpDay);
  FChart->SetDateRange(FDateRange, margins ? 2 : 0, margins ? 98 : 100);
  for (int channel = 0; channel < 2; ++channel) {
    const TGraphInfo* gi = ChannelGraphInfo(channel);
    FChart->SetValueRange(channel, gi->IsAutoRecordAxis(), static_cast<double>(gi->RecordAxisMin()),
                          static_cast<double>(gi->RecordAxisMax()));
  }
}

void TMultiGraphForm::SizeBars() {
  const bool bar0 = FChart->IsBarSeries(0) && FChart->IsSeriesActive(0);
  const bool bar1 = FChart->IsBarSeries(1) && FChart->IsSeriesActive(1);
  if (bar0) SizeChannelBars(0, ChannelGraphInfo(0)->BarSeriesWidth(), bar1);
  if (bar1) SizeChannelBars(1, ChannelGraphInfo(1)->BarSeriesWidth(), bar0);
}

void TMultiGraphForm::SelectEntry(int index) {
  const int channel = FClickedChannel;
  if (index < 0 || index >= FChart->PointCount(channel)) return;
  emit FDocument.SelectDay(std::floor(FChart->PointKey(channel, index)));
}

void TMultiGraphForm::OpenSettings() { OpenChannelSettings(0); }

void TMultiGraphForm::OpenChannelSettings(int channel) {
  TGraphInfoSetDialog dialog(this);
  dialog.SetGraphInfo(ChannelGraphInfo(channel));
  dialog.SetIsDateAxisSet(channel == 0);
  if (RunDialog(dialog) != QDialog::Accepted) return;
  SetGraphData();
  emit FDocument.ViewSettingChanged();
}

QString TMultiGraphForm::CopyText() const {
  TCopySeries series[2];
  for (int channel = 0; channel < 2; ++channel) {
    if (!FChart->IsSeriesActive(channel)) continue;
    for (int i = 0; i < FChart->PointCount(channel); ++i) {
      series[channel].Dates.push_back(FChart->PointKey(channel, i));
      series[channel].Values.push_back(FChart->PointValue(channel, i));
    }
  }
  const bool second = FChart->IsSeriesActive(1);
  return QString::fromStdString(TwoDataCopyText(series[0], second ? &series[1] : nullptr, FChart->DateRange()));
}

void TMultiGraphForm::ReadChoices() {
  const TDayDataFile& file = FDocument.DataFile();
  const std::string mode = ModeCategoryName(FAppData);
  const std::string first = StoredChoice(file.MultiDayGraphCategory());
  const std::string second = StoredChoice(file.MultiDayGraphCategory2());
  const bool isNew = FDocument.FileName().empty();
  SetCategory(QString::fromStdString(first.empty() ? mode : first));
  SetCategory2(QString::fromStdString(second.empty() ? mode : second));
  // A new diary: distance and speed.
  SetRecordKind(isNew ? 1 : file.MultiDayGraphRecordKind());
  SetRecordKind2(isNew ? 2 : file.MultiDayGraphRecordKind2());
  ScheduleRecompute();
}

void TMultiGraphForm::WriteChoices() {
  TDayDataFile& file = FDocument.DataFile();
  file.SetMultiDayGraphCategory(Category().toStdString());
  file.SetMultiDayGraphCategory2(Category2().toStdString());
  file.SetMultiDayGraphRecordKind(RecordKind());
  file.SetMultiDayGraphRecordKind2(RecordKind2());
}

// ---- action graph ----

TActMultiGraphForm::TActMultiGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent)
    : TMultiGraphForm(document, appData, QStringLiteral("ActMultiGraphForm"), QStringLiteral("グラフ"), parent) {
  for (QComboBox* combo : {FCategoryCombo, FCategoryCombo2}) {
    combo->setEnabled(false);
    combo->hide();
  }
}

std::unique_ptr<TGraphCalcData> TActMultiGraphForm::CreateCalcData() const {
  return std::make_unique<TGraphCalcActData>();
}

void TActMultiGraphForm::showEvent(QShowEvent* event) {
  TMultiGraphForm::showEvent(event);
  // The categories are the main window's; the data combos and buttons take their place.
  FCategoryCombo->hide();
  FCategoryCombo2->hide();
}

void TActMultiGraphForm::ApplyGraphInfo() {
  TMultiGraphForm::ApplyGraphInfo();
  for (int channel = 0; channel < 2; ++channel) {
    FChart->SetSeriesTitle(channel, IsChannelActive(channel) ? ChannelRecordCombo(channel)->currentText() : QString());
  }
  FWindow = ActDateWindow(*ChannelGraphInfo(0), Today());
  FDateRange = TDateAxisRange{};
  FActDates.clear();
  FPlotted.clear();
  FLabels.clear();
}

void TActMultiGraphForm::AddActPoints(int channel) {
  const auto* calc = static_cast<const TGraphCalcActData*>(FGraphCalcData.get());
  FActDates = calc->TimeArray;
  FPlotted = PointsInRange(FActDates, FWindow);
  FLabels.clear();
  QVector<double> keys;
  QVector<double> values;
  for (int index : FPlotted) {
    keys << static_cast<double>(keys.size());
    values << static_cast<double>(calc->GetData(index));
    FLabels << QString::fromStdString(DisplayPrefix(calc->GetTitle(index)));
  }
  FChart->SetSeriesData(channel, keys, values);
}

void TActMultiGraphForm::AddSeriesPoints1() { AddActPoints(0); }

void TActMultiGraphForm::AddSeriesPoints2() { AddActPoints(1); }

void TActMultiGraphForm::FinishAxes() {
  FChart->SetSequenceLabels(FLabels);
  FChart->SetDateRange(TDateAxisRange{}, 0, 100);
  for (int channel = 0; channel < 2; ++channel) {
    const TGraphInfo* gi = ChannelGraphInfo(channel);
    FChart->SetValueRange(channel, gi->IsAutoRecordAxis(), static_cast<double>(gi->RecordAxisMin()),
                          static_cast<double>(gi->RecordAxisMax()));
  }
}

void TActMultiGraphForm::SelectEntry(int index) {
  const int entry = ActRowIndex(FActDates, FWindow, index);
  const auto* calc = dynamic_cast<const TGraphCalcActData*>(FGraphCalcData.get());
  if (entry < 0 || calc == nullptr || entry >= static_cast<int>(calc->ActArray.size())) return;
  emit FDocument.SelectAct(calc->ActArray[static_cast<std::size_t>(entry)]);
}

QString TActMultiGraphForm::CopyText() const {
  // The first column is each action's day, not its place in the sequence.
  TCopySeries series[2];
  for (int channel = 0; channel < 2; ++channel) {
    if (!FChart->IsSeriesActive(channel)) continue;
    for (int i = 0; i < FChart->PointCount(channel) && i < static_cast<int>(FPlotted.size()); ++i) {
      series[channel].Dates.push_back(FActDates[static_cast<std::size_t>(FPlotted[static_cast<std::size_t>(i)])]);
      series[channel].Values.push_back(FChart->PointValue(channel, i));
    }
  }
  const bool second = FChart->IsSeriesActive(1);
  return QString::fromStdString(TwoDataCopyText(series[0], second ? &series[1] : nullptr, TDateAxisRange{}));
}

void TActMultiGraphForm::ReadChoices() {
  // The action graph shows the program's category for both data, with the diary's two kinds.
  const QString mode = QString::fromStdString(ModeCategoryName(FAppData));
  SetCategory(mode);
  SetCategory2(mode);
  const bool isNew = FDocument.FileName().empty();
  SetRecordKind(isNew ? 1 : FDocument.DataFile().MultiDayGraphRecordKind());
  SetRecordKind2(isNew ? 2 : FDocument.DataFile().MultiDayGraphRecordKind2());
  ScheduleRecompute();
}

void TActMultiGraphForm::WriteChoices() {
  // The kinds the user last chose here win over the two-data graph's (written just before).
  FDocument.DataFile().SetMultiDayGraphRecordKind(RecordKind());
  FDocument.DataFile().SetMultiDayGraphRecordKind2(RecordKind2());
}

}  // namespace hakuvo
