#include "main_form_fixture.h"

#include <QApplication>
#include <QCoreApplication>
#include <QThread>
#include <cstdlib>

#include "core/datafile/diary.h"
#include "core/model/act_data.h"
#include "core/model/category_info_list.h"
#include "support/qt_application.h"

namespace hakuvo::test {

namespace fs = std::filesystem;

void EnsureApplication() { EnsureQtApplication(); }

std::vector<TOuting> TenOutings() {
  std::vector<TOuting> outings;
  for (int i = 0; i < 10; ++i) outings.push_back({2024, 5, 1 + i, "run " + std::to_string(i), 5.0 + i});
  return outings;
}

void WriteDiary(const fs::path& path, const std::vector<TOuting>& outings, const TChildWindowInfo* windows) {
  TDiary diary(path.string());
  if (windows != nullptr) diary.ChildWindowInfo = *windows;
  for (const TOuting& outing : outings) {
    const TDateTime date = EncodeDate(outing.Year, outing.Month, outing.Day);
    TDayData* day = diary.Days.FindDate(date);
    if (day == nullptr) {
      auto fresh = std::make_unique<TDayData>();
      fresh->DateData = date;
      day = diary.Days.Add(std::move(fresh));
    }
    TActData* act = day->AddAct(CreateActData(outing.Kind));
    act->Title = outing.Title;
    act->UserCategory = outing.UserCategory;
    act->Memo = outing.Memo;
    act->RecordData->Tani = diary.Categories->GetCategoryItems(outing.Kind)->Tani;
    act->RecordData->StartTime = EncodeTime(7, 0, 0);
    if (auto* time = dynamic_cast<TTimeRecord*>(act->RecordData.get())) time->EndTime = EncodeTime(8, 0, 0);
    act->RecordData->SetData(outing.Km);
  }
  diary.Days.DateSort();
  diary.File.SetComboCategory("ジョギング");
  diary.Save();
}

int OutingsIn(const fs::path& path) {
  TDiary diary(path.string());
  diary.Load();
  int count = 0;
  for (const auto& day : diary.Days) count += day->ActDataList.Count();
  return count;
}

void ReadLayout(const fs::path& path, TChildWindowInfo& layout) {
  TDiary diary(path.string());
  diary.Load();
  layout = diary.ChildWindowInfo;
}

void MainFormTest::SetUp() {
  ProgramFolder = Dir / "program";
  fs::create_directories(ProgramFolder);
  setenv("XDG_CONFIG_HOME", (Dir / "config").c_str(), 1);
  setenv("XDG_CACHE_HOME", (Dir / "cache").c_str(), 1);
  RunDialog = [](QDialog&) { return int(QDialog::Rejected); };
}

void MainFormTest::TearDown() {
  // The window lets go of its files before the folder goes.
  Form.reset();
}

TMainFormHooks MainFormTest::Hooks() {
  TMainFormHooks hooks;
  hooks.Error = [this](QWidget* parent, const QString& message) {
    Errors << message;
    ErrorsOverShownWindow << (parent != nullptr && parent->window()->isVisible());
  };
  hooks.Question = [this](QWidget*, const QString& text, QMessageBox::StandardButtons) {
    Questions << text;
    if (Answers.empty()) {
      ADD_FAILURE() << "unexpected question: " << text.toStdString();
      return QMessageBox::Cancel;
    }
    const QMessageBox::StandardButton answer = Answers.front();
    Answers.pop_front();
    return answer;
  };
  hooks.DiskChange = [this](QWidget*, const QString& text) {
    DiskQuestions << text;
    if (DiskAnswers.empty()) return dcCancel;
    const TDiskChangeAnswer answer = DiskAnswers.front();
    DiskAnswers.pop_front();
    return answer;
  };
  hooks.OpenFileName = [this](QWidget*, const TFileDialogRequest& request) {
    ++FileDialogs;
    FileDialogRequests.push_back(request);
    if (OpenAnswers.empty()) return QString();
    const QString answer = OpenAnswers.front();
    OpenAnswers.pop_front();
    return answer;
  };
  hooks.OpenFileNames = [this](QWidget*, const TFileDialogRequest& request) {
    ++FileDialogs;
    FileDialogRequests.push_back(request);
    if (OpenManyAnswers.empty()) return QStringList();
    const QStringList answer = OpenManyAnswers.front();
    OpenManyAnswers.pop_front();
    return answer;
  };
  hooks.SaveFileName = [this](QWidget*, const TFileDialogRequest& request) {
    ++FileDialogs;
    FileDialogRequests.push_back(request);
    if (SaveAnswers.empty()) return QString();
    const QString answer = SaveAnswers.front();
    SaveAnswers.pop_front();
    return answer;
  };
  hooks.RunDialog = [this](QDialog& dialog) { return RunDialog(dialog); };
  hooks.CreateMapWindow = [this](TAppData& appData, TCategoryInfoList& categories, QWidget* parent) {
    ++MapsMade;
    if (CreateMapWindow) return CreateMapWindow(appData, categories, parent);
    return TMapWindow{nullptr, &MapPort};
  };
  return hooks;
}

TMainForm& MainFormTest::MakeForm(const QStringList& parameters, bool show) {
  Form = std::make_unique<TMainForm>(parameters, ProgramFolder, Hooks());
  if (show) {
    Form->show();
    Settle();
    if (WaitForDiaryAtStart) WaitForDiary();
  }
  return *Form;
}

void MainFormTest::WaitForDiary() {
  for (int i = 0; i < 3000 && Form && Form->IsReadingDiary(); ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(1);
  }
  ASSERT_FALSE(Form && Form->IsReadingDiary()) << "the diary was not read within 3 seconds";
  Settle();
}

void MainFormTest::DestroyForm() {
  if (!Form) return;
  Form->close();
  Form.reset();
}

void MainFormTest::Settle() {
  for (int i = 0; i < 3; ++i) {
    QCoreApplication::sendPostedEvents();
    QCoreApplication::processEvents();
  }
}

}  // namespace hakuvo::test
