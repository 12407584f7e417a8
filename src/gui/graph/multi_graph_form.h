#pragma once

#include <QToolButton>
#include <vector>

#include "gui/graph/graph_form.h"

namespace hakuvo {

// Two data side by side, each with its own category, value kind, settings and value axis (the
// second on the right): per day. The settings are the diary's two graph settings records.
class TMultiGraphForm : public TGraphForm {
  Q_OBJECT

 public:
  TMultiGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent = nullptr);

  QString Category2() const;
  // Chooses the channel's category and fills its data combo with the category's value titles;
  // does not recompute.
  void SetCategory(const QString& name) override;
  void SetCategory2(const QString& name);
  // The selected index of a data combo, -1 for none.
  int RecordKind() const;
  void SetRecordKind(int kind);
  int RecordKind2() const;
  void SetRecordKind2(int kind);
  // Empties a channel as the Delete key in its combos does, recomputes and reports the change.
  void ClearChannel(int channel);

  void SetGraphData() override;
  void RefreshCategoryChoices() override;
  QString CopyText() const override;

  QComboBox* CategoryCombo2() const { return FCategoryCombo2; }
  QComboBox* RecordCombo() const { return FRecordCombo; }
  QComboBox* RecordCombo2() const { return FRecordCombo2; }
  QToolButton* SettingsButton2() const { return FSettingsButton2; }
  // Opens the graph settings dialog for a channel (the second without its date settings).
  void OpenChannelSettings(int channel);

 protected:
  TMultiGraphForm(TDiaryDocument& document, TAppData* appData, const QString& name, const QString& caption,
                  QWidget* parent);

  void SelectEntry(int index) override;
  TGraphInfo* CurrentGraphInfo() const override;
  TGraphInfo* ChannelGraphInfo(int channel) const;
  void ApplyGraphInfo() override;
  void ChooseSeriesType() override;
  void SizeBars() override;
  void FinishAxes() override;
  void OpenSettings() override;
  void ReadChoices() override;
  void WriteChoices() override;
  // A drop sends the day, month and year graphs back to the mode's category; the two channels
  // here are the user's own pairing and stay.
  void ResetCategory() override {}
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

  // Adds the calculator's entries to a channel's series.
  virtual void AddSeriesPoints1();
  virtual void AddSeriesPoints2();
  void AddChannelPoints(int channel, const TDateAxisRange& range);
  bool IsChannelActive(int channel) const;
  QComboBox* ChannelCategoryCombo(int channel) const { return channel == 0 ? FCategoryCombo : FCategoryCombo2; }
  QComboBox* ChannelRecordCombo(int channel) const { return channel == 0 ? FRecordCombo : FRecordCombo2; }
  void SetChannelCategory(int channel, const QString& name);
  void FillRecordCombo(int channel);
  void CalcChannel(int channel);

  TCategoryType FCategoryType2 = ctJogging;
  QComboBox* FCategoryCombo2 = nullptr;
  QComboBox* FRecordCombo = nullptr;
  QComboBox* FRecordCombo2 = nullptr;
  QToolButton* FSettingsButton = nullptr;
  QToolButton* FSettingsButton2 = nullptr;

 private:
  void BuildChannels();
};

// Two values of every action of one category, one point per action in list order, labelled
// with the action's title: for instance distance and speed of each run. Clicking a point selects
// the action's row in the main list.
class TActMultiGraphForm : public TMultiGraphForm {
  Q_OBJECT

 public:
  TActMultiGraphForm(TDiaryDocument& document, TAppData* appData, QWidget* parent = nullptr);

  TDateTime AxisStartDate() const { return FWindow.Min; }
  TDateTime AxisEndDate() const { return FWindow.Max; }
  QString CopyText() const override;

 protected:
  void SelectEntry(int index) override;
  std::unique_ptr<TGraphCalcData> CreateCalcData() const override;
  void ApplyGraphInfo() override;
  void AddSeriesPoints1() override;
  void AddSeriesPoints2() override;
  void FinishAxes() override;
  void ReadChoices() override;
  void WriteChoices() override;
  void showEvent(QShowEvent* event) override;

 private:
  void AddActPoints(int channel);

  TDateAxisRange FWindow;
  // The calculator's dates (one per action) and which of them are plotted, of the first channel.
  std::vector<TDateTime> FActDates;
  std::vector<int> FPlotted;
  QStringList FLabels;
};

}  // namespace hakuvo
