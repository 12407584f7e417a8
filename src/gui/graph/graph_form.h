#pragma once

#include <QPointer>
#include <QString>
#include <QStringList>
#include <functional>
#include <memory>

#include "core/graph/graph_calc_data.h"
#include "core/graph/graph_rules.h"
#include "core/model/category_type.h"
#include "core/model/graph_info.h"
#include "gui/document/docking_form.h"

class QAction;
class QComboBox;
class QDialog;
class QHBoxLayout;
class QToolBar;
class QWindow;

namespace hakuvo {

class TAppData;
class TDiaryDocument;
class TGraphChart;

// The name of the program mode's category (jogging, walking or cycling) from the settings.
std::string ModeCategoryName(const TAppData* appData);
// The category names a graph offers: the diary's user categories, then the settings' order.
QStringList GraphCategoryChoices(const TDiaryDocument& document, const TAppData* appData);

// The day graph: one category's values per day as bars or a line, the look from the category's
// graph settings. A thin adapter over the core's series and rules; the month and year graphs
// and the two-data graphs derive from it.
//
// A hidden window computes nothing. Every change (diary data, settings, a new diary) only marks
// the window stale and, when it is shown, asks for one recomputation at the next turn of the
// event loop, so a burst of messages costs one. While the window it sits in has not yet been put
// on the screen (start-up), that turn waits until it has been, so that the main list's first
// paint does not wait for the chart.
class TGraphForm : public TDockingForm {
  Q_OBJECT

 public:
  TGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent = nullptr);
  ~TGraphForm() override;

  // The shown category: the category combo's text.
  QString Category() const;
  // Shows a category (a name not in the combo still names a user category); recomputes at the
  // next turn of the event loop.
  virtual void SetCategory(const QString& name);
  TCategoryType CategoryType() const { return FCategoryType; }

  // Recomputes and redraws now (nothing while hidden or for an empty diary).
  virtual void SetGraphData();
  void RefreshData() override { ScheduleRecompute(); }
  // Fills the category combo again, keeping its choice.
  virtual void RefreshCategoryChoices();

  // What the copy commands put on the clipboard.
  virtual QString CopyText() const;
  void CopyDataToClipboard() const;
  void CopyPictureToClipboard();

  TGraphChart* Chart() const { return FChart; }
  QComboBox* CategoryCombo() const { return FCategoryCombo; }
  QAction* SettingsAction() const { return FSettingsAction; }
  QAction* CopyDataAction() const { return FCopyDataAction; }
  QAction* CopyPictureAction() const { return FCopyPictureAction; }
  // How many times the series were computed (for checking that messages are coalesced).
  int RecomputeCount() const { return FRecomputeCount; }

  // Runs the settings dialogs the window opens, ready to show, and returns their result; by
  // default modally on screen. Tests answer them without a user.
  using TDialogRunner = std::function<int(QDialog& dialog)>;
  void SetDialogRunner(TDialogRunner runner) { FRunDialog = std::move(runner); }

 protected:
  TGraphForm(TDiaryDocument& document, TAppData* appData, const QString& name, const QString& caption, QWidget* parent);

  // What the month and year graphs change.
  virtual void SelectEntry(int index);
  virtual int SettingsPage() const;
  virtual TGraphInfo* CurrentGraphInfo() const;
  virtual TGraphPeriod Period() const { return gpDay; }
  virtual std::unique_ptr<TGraphCalcData> CreateCalcData() const;

  // The steps of a recomputation.
  virtual void ApplyGraphInfo();
  virtual void ChooseSeriesType();
  virtual void SizeBars();
  virtual void AddSeriesPoints();
  virtual void FinishAxes();
  virtual void Clear();
  virtual void OpenSettings();
  // The choices the diary file keeps: read after a diary was opened, written before it is saved.
  virtual void ReadChoices();
  virtual void WriteChoices();
  // After a drop: the day, month and year graphs go back to the mode's category.
  virtual void ResetCategory();

  // Marks the series stale and, when shown, recomputes once at the next turn of the event loop.
  void ScheduleRecompute();
  bool CanCompute() const;
  // A choice read back from the diary file: empty for a new diary, which has none.
  std::string StoredChoice(const std::string& stored) const;
  // The chart's bar width for a channel by the bar rule; `isHalf` for two bar series.
  void SizeChannelBars(int channel, int setWidth, bool isHalf);
  // Applies the category's settings to its actions (built-in categories only).
  void ApplyCategoryInfo(TCategoryType type);
  void showEvent(QShowEvent* event) override;
  void CountRecompute() { ++FRecomputeCount; }
  int RunDialog(QDialog& dialog);
  void FinishRecompute();

  TDiaryDocument& FDocument;
  TAppData* FAppData;
  std::unique_ptr<TGraphCalcData> FGraphCalcData;
  TCategoryType FCategoryType = ctJogging;
  QHBoxLayout* FTopLayout = nullptr;
  QComboBox* FCategoryCombo = nullptr;
  QToolBar* FToolBar = nullptr;
  QAction* FSettingsAction = nullptr;
  QAction* FCopyDataAction = nullptr;
  QAction* FCopyPictureAction = nullptr;
  TGraphChart* FChart = nullptr;
  // The logical range of the date axis the points were taken for.
  TDateAxisRange FDateRange;
  bool FIsStale = true;
  bool FIsScheduled = false;
  int FRecomputeCount = 0;
  int FRawBarWidth[2] = {10, 10};
  // The channel whose point was clicked last (the two-data graphs have two).
  int FClickedChannel = 0;
  TDialogRunner FRunDialog;

 private:
  void Build();
  void PostRecompute();
  bool WaitForExposure();

  // The screen window whose first exposure the pending recomputation waits for, if any.
  QPointer<QWindow> FAwaitedWindow;
  QObject* FExposureWatch = nullptr;
};

class TMonthGraphForm : public TGraphForm {
  Q_OBJECT

 public:
  TMonthGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent = nullptr);

 protected:
  void SelectEntry(int index) override;
  int SettingsPage() const override;
  TGraphInfo* CurrentGraphInfo() const override;
  TGraphPeriod Period() const override { return gpMonth; }
  std::unique_ptr<TGraphCalcData> CreateCalcData() const override;
  void ReadChoices() override;
  void WriteChoices() override;
};

class TYearGraphForm : public TGraphForm {
  Q_OBJECT

 public:
  TYearGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent = nullptr);

 protected:
  void SelectEntry(int index) override;
  int SettingsPage() const override;
  TGraphInfo* CurrentGraphInfo() const override;
  TGraphPeriod Period() const override { return gpYear; }
  std::unique_ptr<TGraphCalcData> CreateCalcData() const override;
  void ReadChoices() override;
  void WriteChoices() override;
};

}  // namespace hakuvo
