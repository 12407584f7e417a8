#pragma once

#include <gtest/gtest.h>

#include <QDialog>
#include <QMessageBox>
#include <QStringList>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/model/category_type.h"
#include "core/settings/child_window_info.h"
#include "gui/main/main_form.h"
#include "support/recording_map_port.h"
#include "support/temp_folder.h"

namespace hakuvo::test {

// One application for the whole program, made when the first test needs it.
void EnsureApplication();

// One outing of a diary written for a test.
struct TOuting {
  int Year, Month, Day;
  std::string Title;
  double Km = 5;
  std::vector<std::string> Memo = {};
  TCategoryType Kind = ctJogging;
  std::string UserCategory = {};  // the name, for a user category's outing
};

// Ten jogging outings on ten days from 2024/05/01, titled "run 0" to "run 9".
std::vector<TOuting> TenOutings();

// Writes a diary file; its window section holds `layout` (the defaults without one).
void WriteDiary(const std::filesystem::path& path, const std::vector<TOuting>& outings,
                const TChildWindowInfo* layout = nullptr);
// The number of outings a diary file holds, and its window section, read as a fresh window would.
int OutingsIn(const std::filesystem::path& path);
void ReadLayout(const std::filesystem::path& path, TChildWindowInfo& layout);

// A main window in a folder of its own (program folder and user folders), with every box and
// dialog answered by the test.
class MainFormTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }
  void SetUp() override;
  void TearDown() override;

  // Creates the window with these parameters and shows it (running its first-show steps).
  TMainForm& MakeForm(const QStringList& parameters = {}, bool show = true);
  // Destroys the window as the program does at exit (writing its settings).
  void DestroyForm();
  TMainFormHooks Hooks();
  // Lets posted messages and timers run.
  static void Settle();
  // Lets the window finish reading its diary (MakeForm does, unless WaitForDiaryAtStart is off).
  void WaitForDiary();
  bool WaitForDiaryAtStart = true;

  TTempFolder Folder;
  std::filesystem::path Dir = Folder.Path();  // everything of the test lives here
  // The map the window drives (it outlives the window); made when the map is first shown,
  // which MapsMade counts. CreateMapWindow, when set, makes another map instead.
  TRecordingMapPort MapPort;
  int MapsMade = 0;
  std::function<TMapWindow(TAppData&, TCategoryInfoList&, QWidget*)> CreateMapWindow;
  std::filesystem::path ProgramFolder;  // the settings live here while it is writable
  std::unique_ptr<TMainForm> Form;

  // Recorded boxes and queued answers.
  QStringList Errors;
  // For each error box: whether the main window was on the screen when it came.
  QList<bool> ErrorsOverShownWindow;
  QStringList Questions;
  std::deque<QMessageBox::StandardButton> Answers;
  // Asked when the diary's file was written by another program; cancelled when none is queued.
  QStringList DiskQuestions;
  std::deque<TDiskChangeAnswer> DiskAnswers;
  std::deque<QString> OpenAnswers;
  std::deque<QString> SaveAnswers;
  std::deque<QStringList> OpenManyAnswers;  // the multi-select dialog's choices
  int FileDialogs = 0;
  std::vector<TFileDialogRequest> FileDialogRequests;
  // Runs a modal dialog; by default it is cancelled.
  std::function<int(QDialog&)> RunDialog;
};

}  // namespace hakuvo::test
