#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>

#include "core/model/category_info.h"

class QButtonGroup;
class QCheckBox;
class QGroupBox;
class QPushButton;
class QStackedWidget;
class QTabBar;
class QVBoxLayout;

namespace hakuvo {

class TGraphSettingsPage;
class TSpeedSettingsPage;

// Settings of one category: the input items its record dialog offers, the value kind lists show,
// and the look of its day, month, year and speed graphs. The caller hands in the diary's settings
// object; the dialog edits a copy and writes the result back only when it closes with OK.
class TCategorySetDialog : public QDialog {
  Q_OBJECT

 public:
  // Page indices, as callers choose them.
  enum TPage { piInput = 0, piDisplay, piDayGraph, piMonthGraph, piYearGraph, piSpeedGraph, PageCount };

  explicit TCategorySetDialog(QWidget* owner = nullptr);
  ~TCategorySetDialog() override;

  TCategoryInfo* CategoryInfo() const { return FCategoryInfo; }
  // Loads the controls from the settings; the object must outlive the dialog.
  void SetCategoryInfo(TCategoryInfo* info);

  int ActivePage() const { return FActivePage; }
  void SetActivePage(int index);

  // Failed checks go through this; by default an error box titled with the program's name.
  using TErrorHandler = std::function<void(const QString& message)>;
  void SetErrorHandler(TErrorHandler handler) { FErrorHandler = std::move(handler); }

  // Checks every numeric field; with all of them valid, stores the controls and closes.
  void accept() override;

  // The controls, for the callers that drive the dialog without a user (tests, automation).
  QTabBar* TabBar() const { return FTabBar; }
  QStackedWidget* Pages() const { return FPages; }
  QCheckBox* RecordCheck() const { return FRecordCheck; }
  QCheckBox* TimeCheck() const { return FTimeCheck; }
  QCheckBox* WindDirectionCheck() const { return FWindDirectionCheck; }
  QCheckBox* WindSpeedCheck() const { return FWindSpeedCheck; }
  QCheckBox* WeatherCheck() const { return FWeatherCheck; }
  QCheckBox* TemperatureCheck() const { return FTemperatureCheck; }
  // The input page's check boxes from the top: the six common ones, then the category's own.
  QList<QCheckBox*> InputChecks() const;
  QButtonGroup* IndicationGroup() const { return FIndicationGroup; }
  QStringList IndicationItems() const;
  TGraphSettingsPage* GraphPage(int page) const;
  TSpeedSettingsPage* SpeedPage() const { return FSpeedPage; }

 protected:
  // Loading and storing run through the class chain: each class does its own fields and calls
  // its parent's. Storing goes subclass first, loading base first.
  virtual void LoadCategoryInfo(const TCategoryInfo& info);
  virtual void StoreCategoryInfo(TCategoryInfo& info);

  void SetRecordCheckText(const QString& text);
  QCheckBox* AddInputCheck(const QString& text, const QString& objectName);
  void SetIndicationItems(const QStringList& items);

  void showEvent(QShowEvent* event) override;

 private:
  QWidget* BuildInputPage();
  QWidget* BuildDisplayPage();
  void AddPage(QWidget* page, const QString& caption);
  QStringList CheckFields() const;
  void ApplyTabRule();
  void ShowError(const QString& message);

  TCategoryInfo* FCategoryInfo = nullptr;
  std::unique_ptr<TCategoryInfo> FWorking;
  int FActivePage = piInput;
  TErrorHandler FErrorHandler;

  QTabBar* FTabBar = nullptr;
  QStackedWidget* FPages = nullptr;
  QVBoxLayout* FInputLayout = nullptr;
  QCheckBox* FRecordCheck = nullptr;
  QCheckBox* FTimeCheck = nullptr;
  QCheckBox* FWindDirectionCheck = nullptr;
  QCheckBox* FWindSpeedCheck = nullptr;
  QCheckBox* FWeatherCheck = nullptr;
  QCheckBox* FTemperatureCheck = nullptr;
  QList<QCheckBox*> FExtraChecks;
  QGroupBox* FIndicationBox = nullptr;
  QButtonGroup* FIndicationGroup = nullptr;
  TGraphSettingsPage* FGraphPages[3] = {nullptr, nullptr, nullptr};
  TSpeedSettingsPage* FSpeedPage = nullptr;
  QPushButton* FOkButton = nullptr;
  QPushButton* FCancelButton = nullptr;
};

// The settings dialog class of a category kind.
std::unique_ptr<TCategorySetDialog> CreateCategorySetDialog(QWidget* owner, TCategoryType category);

}  // namespace hakuvo
