#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QMainWindow>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "core/datafile/diary.h"
#include "core/model/act_data.h"
#include "gui/document/diary_document.h"
#include "gui/document/dock_manager.h"
#include "support/qt_application.h"

namespace hakuvo::test {

inline void EnsureApplication() { EnsureQtApplication(); }

// Runs what is posted, as the event loop would between two user actions.
inline void Settle() {
  for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
}

// A folder of its own for one test, removed afterwards.
class TTempFolder {
 public:
  TTempFolder() {
    char pattern[] = "/tmp/hakuvo_document_XXXXXX";
    if (mkdtemp(pattern) != nullptr) FPath = pattern;
  }
  ~TTempFolder() {
    std::error_code error;
    std::filesystem::remove_all(FPath, error);
  }
  TTempFolder(const TTempFolder&) = delete;
  TTempFolder& operator=(const TTempFolder&) = delete;
  const std::filesystem::path& Path() const { return FPath; }

 private:
  std::filesystem::path FPath;
};

// A dockable window that counts what the document forwards to it.
class TCountingForm : public TDockingForm {
 public:
  using TDockingForm::TDockingForm;
  void RefreshData() override { ++Refreshes; }
  void LinkViewChanged() override { ++LinkViews; }
  void GpsRangeChanged() override { ++GpsRanges; }
  int Refreshes = 0;
  int LinkViews = 0;
  int GpsRanges = 0;
};

inline TDockingFormFactory CountingFormFactory() {
  return [](const QString& name) -> TDockingForm* { return new TCountingForm(name, QString()); };
}

// A main window with a work area, shown on the (offscreen) desktop, and its dock manager.
struct TDockedWindow {
  explicit TDockedWindow(TDiaryDocument* document = nullptr, TDockingFormFactory factory = CountingFormFactory()) {
    EnsureApplication();
    Window = std::make_unique<QMainWindow>();
    Window->setCentralWidget(new QLabel(QStringLiteral("work area")));
    Window->setGeometry(20, 20, 760, 560);
    Docks = new TDockManager(*Window, document, factory);
    Window->show();
    Settle();
  }
  ~TDockedWindow() {
    // The floating frames are windows of their own: close none of them, just let them go.
    Window.reset();
    Settle();
  }
  TDockingForm* Form(const char* name) const { return Docks->Form(QString::fromUtf8(name)); }
  QDockWidget* Host(const char* name) const { return Docks->Host(Form(name)); }

  std::unique_ptr<QMainWindow> Window;
  TDockManager* Docks = nullptr;
};

// One jogging outing per entry, titled as given, on consecutive days from 2024/05/01.
inline void AddOutings(TDiary& diary, const std::vector<std::string>& titles) {
  for (std::size_t i = 0; i < titles.size(); ++i) {
    auto day = std::make_unique<TDayData>();
    day->DateData = EncodeDate(2024, 5, 1 + static_cast<int>(i));
    TDayData* added = diary.Days.Add(std::move(day));
    TActData* act = added->AddAct(CreateActData(ctJogging));
    act->Title = titles[i];
    act->RecordData->Tani = diary.Categories->GetCategoryItems(ctJogging)->Tani;
    act->RecordData->SetData(5.0);
  }
  diary.Days.DateSort();
}

inline std::vector<std::string> Titles(TDayDataList& days) {
  std::vector<std::string> titles;
  for (int d = 0; d < days.Count(); ++d) {
    for (const auto& act : days[d]->ActDataList) titles.push_back(act->Title);
  }
  return titles;
}

}  // namespace hakuvo::test
