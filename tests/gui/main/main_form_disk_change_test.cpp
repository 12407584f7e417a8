// The open diary written by the command line's import: the window never writes over it unasked,
// and with nothing unsaved it shows the file as it is now.
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QThread>

#include "core/register/import_files.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/diary_watch.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

const std::string kPhoto = std::string(HAKUVO_TESTDATA_DIR) + "/photos/Canon_40D.jpg";

// What `hakuvo-cli import DIARY photo` does, run here on the diary the window has open.
void ImportPhoto(const fs::path& diary) {
  TDropOptions options;
  options.DateRule = ddRememberedDate;
  options.RememberedDate = EncodeDate(2024, 6, 1);
  const TImportResult result = ImportFiles(diary.string(), {kPhoto}, options, false);
  ASSERT_TRUE(result.Report.Changed);
}

// Lets the window hear of the change: the watch waits for a burst of events to settle.
template <typename Condition>
bool WaitFor(Condition condition, int milliseconds = 3000) {
  QElapsedTimer timer;
  timer.start();
  while (timer.elapsed() < milliseconds) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
    if (condition()) return true;
    QThread::msleep(10);
  }
  return condition();
}

int RowOfTitle(const TMainForm& form, const std::string& title) {
  for (int row = 0; row < form.ListModel()->RowCount(); ++row) {
    if (form.ListModel()->Act(row)->Title == title) return row;
  }
  return -1;
}

std::string SelectedTitle(const TMainForm& form) {
  const int row = form.ListView()->FirstSelectedRow();
  return row >= 0 ? form.ListModel()->Act(row)->Title : std::string();
}

class MainFormDiskChangeTest : public MainFormTest {
 protected:
  // The ten outings open, the first deleted (unsaved), then an import writes the file.
  TMainForm& ChangedBothWays() {
    WriteDiary(Diary, TenOutings());
    TMainForm& form = MakeForm({QString::fromStdString(Diary.string())});
    form.SelectRow(RowOfTitle(form, "run 0"));
    form.DeleteActCommand();
    EXPECT_TRUE(form.IsChange());
    ImportPhoto(Diary);
    EXPECT_EQ(OutingsIn(Diary), 11);
    return form;
  }

  fs::path Diary = Dir / "diary.hkvj";
};

TEST_F(MainFormDiskChangeTest, ASaveAsksBeforeWritingOverAnImportAndCancelKeepsTheImport) {
  TMainForm& form = ChangedBothWays();
  DiskAnswers = {dcCancel};
  form.SaveCommand();
  ASSERT_EQ(DiskQuestions.size(), 1);
  EXPECT_TRUE(DiskQuestions[0].contains(QStringLiteral("ほかのプログラムによって変更されています")));
  EXPECT_TRUE(DiskQuestions[0].contains(QStringLiteral("保存していない変更はすべて失われます")));
  EXPECT_EQ(OutingsIn(Diary), 11);
  EXPECT_TRUE(form.IsChange());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(MainFormDiskChangeTest, OverwriteWritesTheWindowsDiaryAndLaterSavesDoNotAskAgain) {
  TMainForm& form = ChangedBothWays();
  DiskAnswers = {dcOverwrite};
  form.SaveCommand();
  EXPECT_EQ(DiskQuestions.size(), 1);
  EXPECT_EQ(OutingsIn(Diary), 9);
  EXPECT_FALSE(form.IsChange());
  // The window's own save is not someone else's change.
  form.SelectRow(0);
  form.DeleteActCommand();
  form.SaveCommand();
  EXPECT_EQ(DiskQuestions.size(), 1);
  EXPECT_EQ(OutingsIn(Diary), 8);
}

TEST_F(MainFormDiskChangeTest, ReloadShowsTheImportAndDropsTheUnsavedChange) {
  TMainForm& form = ChangedBothWays();
  DiskAnswers = {dcReload};
  form.SaveCommand();
  EXPECT_EQ(DiskQuestions.size(), 1);
  EXPECT_EQ(form.ListModel()->RowCount(), 11);
  EXPECT_GE(RowOfTitle(form, "run 0"), 0);
  EXPECT_GE(RowOfTitle(form, "Canon_40D.jpg"), 0);
  EXPECT_FALSE(form.IsChange());
  EXPECT_EQ(OutingsIn(Diary), 11);
}

TEST_F(MainFormDiskChangeTest, WithNothingUnsavedTheWindowReadsTheFileAgainAndKeepsTheSelection) {
  WriteDiary(Diary, TenOutings());
  TMainForm& form = MakeForm({QString::fromStdString(Diary.string())});
  form.SelectRow(RowOfTitle(form, "run 3"));
  Settle();
  ASSERT_EQ(SelectedTitle(form), "run 3");
  ImportPhoto(Diary);
  EXPECT_TRUE(WaitFor([&] { return form.ListModel()->RowCount() == 11; }));
  EXPECT_GE(RowOfTitle(form, "Canon_40D.jpg"), 0);
  EXPECT_EQ(SelectedTitle(form), "run 3");
  EXPECT_FALSE(form.IsChange());
  // A second import, after the file was replaced by a rename: the watch still hears it.
  const fs::path other = Dir / "other.jpg";
  fs::copy_file(kPhoto, other);
  TDropOptions options;
  options.DateRule = ddRememberedDate;
  options.RememberedDate = EncodeDate(2024, 6, 2);
  ImportFiles(Diary.string(), {other.string()}, options, false);
  EXPECT_TRUE(WaitFor([&] { return form.ListModel()->RowCount() == 12; }));
  EXPECT_TRUE(DiskQuestions.isEmpty());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
}

TEST_F(MainFormDiskChangeTest, UnsavedChangesAreNeverReplacedByTheFileUnasked) {
  TMainForm& form = ChangedBothWays();
  // Time enough for the watch to have acted if it were going to.
  WaitFor([] { return false; }, 1000);
  EXPECT_EQ(form.ListModel()->RowCount(), 9);
  EXPECT_TRUE(form.IsChange());
  EXPECT_TRUE(DiskQuestions.isEmpty());
}

// The file is read again in the background; a change made in the window meanwhile (a child
// window's edit) is not replaced by the file unasked: the read is dropped and the save asks.
TEST_F(MainFormDiskChangeTest, AChangeMadeWhileTheFileIsReadAgainIsKept) {
  WriteDiary(Diary, TenOutings());
  TMainForm& form = MakeForm({QString::fromStdString(Diary.string())});
  // Heard right after the window started reading the file again: the edit lands while it reads.
  auto* watch = form.findChild<TDiaryWatch*>();
  ASSERT_NE(watch, nullptr);
  bool editedWhileReading = false;
  QObject::connect(watch, &TDiaryWatch::ChangedOnDisk, &form, [&] {
    if (!form.IsReadingDiary()) return;
    form.SetIsChange(true);
    editedWhileReading = true;
  });
  ImportPhoto(Diary);
  ASSERT_TRUE(WaitFor([&] { return editedWhileReading; })) << "the window did not read the file again";
  WaitForDiary();
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  EXPECT_TRUE(form.IsChange());
  form.SaveCommand();
  EXPECT_EQ(DiskQuestions.size(), 1) << "the save asks about the file written meanwhile";
  EXPECT_EQ(OutingsIn(Diary), 11);
}

}  // namespace
}  // namespace hakuvo::test
