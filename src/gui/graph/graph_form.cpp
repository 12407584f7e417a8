#include "gui/graph/graph_form.h"

#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QHBoxLayout>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <QWindow>
#include <cmath>
#include <set>

#include "core/settings/app_data.h"
#include "gui/categories/category_set_dialog.h"
#include "gui/common/timing_log.h"
#include "gui/document/diary_document.h"
#include "gui/graph/graph_chart.h"

namespace hakuvo {

namespace {

QColor ColorOf(TColor color) {
  // 0x00BBGGRR
  return QColor(color & 0xFF, (color >> 8) & 0xFF, (color >> 16) & 0xFF);
}

// Calls back when the watched screen window is exposed.
class TExposureWatch : public QObject {
 public:
  TExposureWatch(QObject* parent, std::function<void(QWindow*)> exposed)
      : QObject(parent), FExposed(std::move(exposed)) {}

  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Expose) {
      auto* window = static_cast<QWindow*>(watched);
      if (window->isExposed()) FExposed(window);
    }
    return false;
  }

 private:
  std::function<void(QWindow*)> FExposed;
};

}  // namespace

std::string ModeCategoryName(const TAppData* appData) {
  if (appData != nullptr) {
    for (TCategoryType mode : {ctJogging, ctWalking, ctBicycle}) {
      if (appData->IniFileName == TAppData::IniFileNameOfMode(mode)) return CategoryNames()[mode];
    }
  }
  return CategoryNames()[ctJogging];
}

QStringList GraphCategoryChoices(const TDiaryDocument& document, const TAppData* appData) {
  std::set<std::string> users;
  for (const auto& day : document.Diary().Days) {
    for (const auto& act : day->ActDataList) {
      if (act->Category == ctUserCategory) users.insert(act->UserCategory);
    }
  }
  QStringList choices;
  for (const std::string& name : users) choices << QString::fromStdString(name);
  if (appData != nullptr && appData->CategoryList != nullptr && !appData->CategoryList->Data().empty()) {
    for (const TCategoryData& entry : appData->CategoryList->Data()) {
      choices << QString::fromStdString(CategoryNames()[entry.Category]);
    }
  } else {
    for (int type = 1; type < CategoryTypeCount; ++type) choices << QString::fromStdString(CategoryNames()[type]);
  }
  return choices;
}

// ---- day graph ----

TGraphForm::TGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent)
    : TGraphForm(document, appData, QStringLiteral("GraphForm"), QStringLiteral("日グラフ"), parent) {}

TGraphForm::TGraphForm(TDiaryDocument& document, TAppData* appData, const QString& name, const QString& caption,
                       QWidget* parent)
    : TDockingForm(name, caption, parent), FDocument(document), FAppData(appData) {
  Build();
  const QString mode = QString::fromStdString(ModeCategoryName(appData));
  FCategoryType = CategoryTypeFromName(mode.toStdString());
  RefreshCategoryChoices();
  FCategoryCombo->setCurrentIndex(FCategoryCombo->findText(mode));
  // A new diary brings its own choices; the choices go into the file just before it is written.
  connect(&FDocument, &TDiaryDocument::DiaryReset, this, [this] {
    ReadChoices();
    ScheduleRecompute();
  });
  connect(&FDocument, &TDiaryDocument::AboutToSave, this, [this] { WriteChoices(); });
  connect(&FDocument, &TDiaryDocument::GraphCategoriesReset, this, [this] { ResetCategory(); });
}

TGraphForm::~TGraphForm() = default;

void TGraphForm::Build() {
  auto* top = new QWidget(this);
  top->setFixedHeight(29);
  FTopLayout = new QHBoxLayout(top);
  FTopLayout->setContentsMargins(2, 2, 2, 2);
  FTopLayout->setSpacing(0);
  FCategoryCombo = new QComboBox(top);
  FCategoryCombo->setObjectName(QStringLiteral("CategoryCombo"));
  FCategoryCombo->setMaxVisibleItems(15);
  FCategoryCombo->setToolTip(QStringLiteral("カテゴリ"));
  FCategoryCombo->setMinimumWidth(120);
  FTopLayout->addWidget(FCategoryCombo);
  FToolBar = new QToolBar(top);
  FToolBar->setObjectName(QStringLiteral("GraphToolBar"));
  FToolBar->setIconSize(QSize(16, 16));
  FToolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  FSettingsAction = FToolBar->addAction(QStringLiteral("グラフ設定"));
  FSettingsAction->setObjectName(QStringLiteral("GraphSettingsAction"));
  FSettingsAction->setToolTip(QStringLiteral("グラフ設定"));
  FTopLayout->addWidget(FToolBar);
  FTopLayout->addStretch(1);

  FChart = new TGraphChart(this);
  FChart->setObjectName(QStringLiteral("Chart"));
  FChart->SetSeriesStyle(0, true, Qt::red, 2);
  FChart->SetSeriesActive(1, false);
  FChart->setContextMenuPolicy(Qt::ActionsContextMenu);
  FCopyDataAction = new QAction(QStringLiteral("データをクリップボードにコピー(&C)"), FChart);
  FCopyPictureAction = new QAction(QStringLiteral("画像をクリップボードにコピー(&I)"), FChart);
  FChart->addAction(FCopyDataAction);
  FChart->addAction(FCopyPictureAction);
  FChart->SetBeforeDraw([this] { SizeBars(); });

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(top);
  layout->addWidget(FChart, 1);

  connect(FCategoryCombo, &QComboBox::activated, this, [this] {
    FCategoryType = CategoryTypeFromName(Category().toStdString());
    SetGraphData();
    emit FDocument.CategoryChanged(FCategoryType);
  });
  connect(FSettingsAction, &QAction::triggered, this, [this] { OpenSettings(); });
  connect(FCopyDataAction, &QAction::triggered, this, [this] { CopyDataToClipboard(); });
  connect(FCopyPictureAction, &QAction::triggered, this, [this] { CopyPictureToClipboard(); });
  connect(FChart, &TGraphChart::PointClicked, this, [this](int channel, int index) {
    FClickedChannel = channel;
    SelectEntry(index);
  });
  connect(FChart, &TGraphChart::SeriesDoubleClicked, this, [this] {
    FChart->SetValueLabelsVisible(!FChart->ValueLabelsVisible());
    FChart->replot();
  });
}

QString TGraphForm::Category() const { return FCategoryCombo->currentText(); }

void TGraphForm::SetCategory(const QString& name) {
  FCategoryType = CategoryTypeFromName(name.toStdString());
  if (FCategoryCombo->findText(name) < 0) RefreshCategoryChoices();
  int index = FCategoryCombo->findText(name);
  // A user category no action carries yet is still the one to show.
  if (index < 0 && !name.isEmpty()) {
    FCategoryCombo->addItem(name);
    index = FCategoryCombo->count() - 1;
  }
  FCategoryCombo->setCurrentIndex(index);
  // With the other windows that a new diary or category resets, in one recomputation.
  ScheduleRecompute();
}

void TGraphForm::RefreshCategoryChoices() {
  const QString current = Category();
  const QStringList choices = GraphCategoryChoices(FDocument, FAppData);
  QStringList items;
  for (int i = 0; i < FCategoryCombo->count(); ++i) items << FCategoryCombo->itemText(i);
  if (items == choices) return;
  FCategoryCombo->clear();
  FCategoryCombo->addItems(choices);
  FCategoryCombo->setCurrentIndex(FCategoryCombo->findText(current));
  if (FCategoryCombo->currentIndex() < 0 && !current.isEmpty()) {
    FCategoryCombo->addItem(current);
    FCategoryCombo->setCurrentIndex(FCategoryCombo->count() - 1);
  }
}

int TGraphForm::SettingsPage() const { return TCategorySetDialog::piDayGraph; }

TGraphInfo* TGraphForm::CurrentGraphInfo() const {
  TCategoryInfo* info = FDocument.CategoryInfoList().GetCategoryItems(FCategoryType);
  return info != nullptr ? &info->GraphInfo() : nullptr;
}

std::unique_ptr<TGraphCalcData> TGraphForm::CreateCalcData() const { return std::make_unique<TGraphCalcDayData>(); }

void TGraphForm::SelectEntry(int index) {
  if (FClickedChannel != 0 || index < 0 || index >= FChart->PointCount(0)) return;
  emit FDocument.SelectDay(std::floor(FChart->PointKey(0, index)));
}

std::string TGraphForm::StoredChoice(const std::string& stored) const {
  // A new diary (no file) starts again from the program's category, whatever the last file said.
  return FDocument.FileName().empty() ? std::string() : stored;
}

bool TGraphForm::CanCompute() const { return isVisible() && FDocument.Diary().Days.Count() > 0; }

void TGraphForm::ScheduleRecompute() {
  FIsStale = true;
  if (!isVisible() || FIsScheduled) return;
  if (WaitForExposure()) return;
  PostRecompute();
}

void TGraphForm::PostRecompute() {
  if (FIsScheduled) return;
  FIsScheduled = true;
  QTimer::singleShot(0, this, [this] {
    FIsScheduled = false;
    if (FIsStale && isVisible()) SetGraphData();
  });
}

bool TGraphForm::WaitForExposure() {
  QWindow* handle = window()->windowHandle();
  if (handle == nullptr || handle->isExposed()) {
    if (FAwaitedWindow != nullptr) FAwaitedWindow->removeEventFilter(FExposureWatch);
    FAwaitedWindow = nullptr;
    return false;
  }
  // A window docked elsewhere or floated meanwhile waits for its new screen window instead.
  if (FAwaitedWindow == handle) return true;
  if (FAwaitedWindow != nullptr) FAwaitedWindow->removeEventFilter(FExposureWatch);
  if (FExposureWatch == nullptr) {
    FExposureWatch = new TExposureWatch(this, [this](QWindow* exposed) {
      exposed->removeEventFilter(FExposureWatch);
      if (FAwaitedWindow == exposed) FAwaitedWindow = nullptr;
      // Posted now, it runs after the paint this exposure starts.
      if (FIsStale && isVisible()) PostRecompute();
    });
  }
  FAwaitedWindow = handle;
  handle->installEventFilter(FExposureWatch);
  return true;
}

void TGraphForm::showEvent(QShowEvent* event) {
  TDockingForm::showEvent(event);
  // The category is the main window's choice.
  FCategoryCombo->hide();
  if (FIsStale) ScheduleRecompute();
}

void TGraphForm::ApplyCategoryInfo(TCategoryType type) {
  if (type == ctUserCategory) return;
  if (const TCategoryInfo* info = FDocument.CategoryInfoList().GetCategoryItems(type)) {
    FDocument.DayDataList().SetCategoryInfo(*info);
  }
}

void TGraphForm::SetGraphData() {
  if (!isVisible()) {
    FIsStale = true;
    return;
  }
  FIsStale = false;
  // The combo is hidden once the window shows (the main window chooses); its choices are only
  // brought up to date while someone can see them.
  if (FCategoryCombo->isVisible()) RefreshCategoryChoices();
  if (!CanCompute()) {
    // An empty diary: an empty chart.
    Clear();
    FChart->replot();
    return;
  }
  const TTimingWatch watch;
  CountRecompute();
  ApplyCategoryInfo(FCategoryType);
  ApplyGraphInfo();
  Clear();
  ChooseSeriesType();
  if (!FGraphCalcData) FGraphCalcData = CreateCalcData();
  FGraphCalcData->SetDayDataList(&FDocument.DayDataList());
  FGraphCalcData->SetCategoryInfoList(&FDocument.CategoryInfoList());
  FGraphCalcData->SetCategory(Category().toStdString());
  FGraphCalcData->SetRecordKind(-1);
  FGraphCalcData->Calc();
  AddSeriesPoints();
  FinishAxes();
  FinishRecompute();
  watch.Log(objectName().toStdString() + " recomputed and drawn");
}

void TGraphForm::FinishRecompute() { FChart->replot(); }

void TGraphForm::ApplyGraphInfo() {
  const TGraphInfo* gi = CurrentGraphInfo();
  if (gi == nullptr) return;
  FChart->SetDateAxisVertical(gi->IsYAxisDate());
  FDateRange = DateAxisRange(*gi, Today());
  const TCategoryInfo* info = FDocument.CategoryInfoList().GetCategoryItems(FCategoryType);
  const int kind = info != nullptr ? info->IndicationKind() : -1;
  FChart->DateAxis()->setLabel(QString());
  FChart->SetValueTitle(0, info != nullptr ? QString::fromStdString(CategoryValueAxisTitle(FCategoryType, info->Tani,
                                                                                           gi->RecordAxisTitle, kind))
                                           : QString());
}

void TGraphForm::ChooseSeriesType() {
  const TGraphInfo* gi = CurrentGraphInfo();
  if (gi == nullptr) return;
  FChart->SetSeriesStyle(0, gi->IsBarSeries(), ColorOf(gi->SeriesColor()), gi->LineSeriesWidth());
  FChart->SetSeriesActive(0, true);
}

void TGraphForm::AddSeriesPoints() {
  QVector<double> keys;
  QVector<double> values;
  for (int index : PointsInRange(FGraphCalcData->TimeArray, FDateRange)) {
    keys << FGraphCalcData->GetTime(index);
    values << static_cast<double>(FGraphCalcData->GetData(index));
  }
  FChart->SetSeriesData(0, keys, values);
}

void TGraphForm::FinishAxes() {
  const TGraphInfo* gi = CurrentGraphInfo();
  if (gi == nullptr) return;
  const bool margins = gi->IsBarSeries() && !FDateRange.IsAuto;
  FChart->SetDateLabels(Period());
  FChart->SetDateRange(FDateRange, margins ? 2 : 0, margins ? 98 : 100);
  FChart->SetValueRange(0, gi->IsAutoRecordAxis(), static_cast<double>(gi->RecordAxisMin()),
                        static_cast<double>(gi->RecordAxisMax()));
}

void TGraphForm::SizeChannelBars(int channel, int setWidth, bool isHalf) {
  if (!FChart->IsBarSeries(channel)) return;
  const TDateAxisRange& range = FChart->DateRange();
  TBarWidthInput input;
  input.SetWidth = setWidth;
  input.Units = UnitsInRange(Period(), range.Min, range.Max);
  input.AxisLength = FChart->DateAxisLength();
  input.StartPercent = FChart->DateStartPercent();
  input.EndPercent = FChart->DateEndPercent();
  input.FallbackWidth = FRawBarWidth[channel];
  input.IsHalf = isHalf;
  if (input.Units > 0 && input.AxisLength > 0) FRawBarWidth[channel] = RawBarWidth(input);
  FChart->SetBarWidth(channel, BarWidth(input));
}

void TGraphForm::SizeBars() {
  if (const TGraphInfo* gi = CurrentGraphInfo()) SizeChannelBars(0, gi->BarSeriesWidth(), false);
}

void TGraphForm::Clear() {
  for (int channel = 0; channel < TGraphChart::ChannelCount; ++channel) FChart->ClearSeries(channel);
}

void TGraphForm::OpenSettings() {
  TCategoryInfo* info = FDocument.CategoryInfoList().GetCategoryItems(FCategoryType);
  if (info == nullptr) return;
  std::unique_ptr<TCategorySetDialog> dialog = CreateCategorySetDialog(this, FCategoryType);
  dialog->SetCategoryInfo(info);
  dialog->SetActivePage(SettingsPage());
  if (RunDialog(*dialog) != QDialog::Accepted) return;
  FDocument.DayDataList().SetCategoryInfo(*info);
  // Comes back to every window (this one too) as RefreshData.
  emit FDocument.DataChanged();
}

int TGraphForm::RunDialog(QDialog& dialog) { return FRunDialog ? FRunDialog(dialog) : dialog.exec(); }

QString TGraphForm::CopyText() const {
  std::vector<TDateTime> dates;
  std::vector<Extended> values;
  for (int i = 0; i < FChart->PointCount(0); ++i) {
    dates.push_back(FChart->PointKey(0, i));
    values.push_back(FChart->PointValue(0, i));
  }
  return QString::fromStdString(PeriodCopyText(dates, values, FChart->DateRange()));
}

void TGraphForm::CopyDataToClipboard() const { QApplication::clipboard()->setText(CopyText()); }

void TGraphForm::CopyPictureToClipboard() { QApplication::clipboard()->setPixmap(FChart->Picture()); }

void TGraphForm::ReadChoices() {
  const std::string stored = StoredChoice(FDocument.DataFile().DayGraphCategory());
  SetCategory(QString::fromStdString(stored.empty() ? ModeCategoryName(FAppData) : stored));
}

void TGraphForm::ResetCategory() { SetCategory(QString::fromStdString(ModeCategoryName(FAppData))); }

void TGraphForm::WriteChoices() { FDocument.DataFile().SetDayGraphCategory(Category().toStdString()); }

// ---- month graph ----

TMonthGraphForm::TMonthGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent)
    : TGraphForm(document, appData, QStringLiteral("MonthGraphForm"), QStringLiteral("月グラフ"), parent) {}

void TMonthGraphForm::SelectEntry(int index) {
  if (index < 0 || index >= FChart->PointCount(0)) return;
  emit FDocument.SelectMonth(std::floor(FChart->PointKey(0, index)));
}

int TMonthGraphForm::SettingsPage() const { return TCategorySetDialog::piMonthGraph; }

TGraphInfo* TMonthGraphForm::CurrentGraphInfo() const {
  TCategoryInfo* info = FDocument.CategoryInfoList().GetCategoryItems(FCategoryType);
  return info != nullptr ? &info->MonthGraphInfo() : nullptr;
}

std::unique_ptr<TGraphCalcData> TMonthGraphForm::CreateCalcData() const {
  return std::make_unique<TGraphCalcMonthData>();
}

void TMonthGraphForm::ReadChoices() {
  const std::string stored = StoredChoice(FDocument.DataFile().MonthGraphCategory());
  SetCategory(QString::fromStdString(stored.empty() ? ModeCategoryName(FAppData) : stored));
}

void TMonthGraphForm::WriteChoices() { FDocument.DataFile().SetMonthGraphCategory(Category().toStdString()); }

// ---- year graph ----

TYearGraphForm::TYearGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent)
    : TGraphForm(document, appData, QStringLiteral("YearGraphForm"), QStringLiteral("年グラフ"), parent) {}

void TYearGraphForm::SelectEntry(int index) {
  if (index < 0 || index >= FChart->PointCount(0)) return;
  emit FDocument.SelectYear(std::floor(FChart->PointKey(0, index)));
}

int TYearGraphForm::SettingsPage() const { return TCategorySetDialog::piYearGraph; }

TGraphInfo* TYearGraphForm::CurrentGraphInfo() const {
  TCategoryInfo* info = FDocument.CategoryInfoList().GetCategoryItems(FCategoryType);
  return info != nullptr ? &info->YearGraphInfo() : nullptr;
}

std::unique_ptr<TGraphCalcData> TYearGraphForm::CreateCalcData() const {
  return std::make_unique<TGraphCalcYearData>();
}

void TYearGraphForm::ReadChoices() {
  const std::string stored = StoredChoice(FDocument.DataFile().YearGraphCategory());
  SetCategory(QString::fromStdString(stored.empty() ? ModeCategoryName(FAppData) : stored));
}

void TYearGraphForm::WriteChoices() { FDocument.DataFile().SetYearGraphCategory(Category().toStdString()); }

}  // namespace hakuvo
