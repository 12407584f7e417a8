// The diary read on a worker: the window paints at once, the commands that need the diary wait
// for it, and a diary that cannot be read leaves the one shown as it was.
#include <QLineEdit>
#include <fstream>
#include <functional>
#include <iterator>
#include <vector>

#include "core/settings/app_data.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

class MainFormReadTest : public MainFormTest {
 protected:
  // A window shown on `diary` whose read has started and not been taken in yet: no event has
  // run since the first show, so the worker's end cannot have been handed over.
  TMainForm& ShownWhileReading(const fs::path& diary) {
    WriteDiary(diary, TenOutings());
    TMainForm& form = MakeForm({QString::fromStdString(diary.string())}, false);
    form.show();
    EXPECT_TRUE(form.IsReadingDiary());
    EXPECT_EQ(form.ListModel()->RowCount(), 0);
    EXPECT_EQ(form.ListView()->PlaceholderText(), QStringLiteral("読み込み中…"));
    return form;
  }
};

TEST_F(MainFormReadTest, TheListFollowsTheReadAndStopsSayingItReads) {
  TMainForm& form = ShownWhileReading(Dir / "diary.hkvj");
  WaitForDiary();
  EXPECT_FALSE(form.IsReadingDiary());
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  EXPECT_TRUE(form.ListView()->PlaceholderText().isEmpty());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記 [diary]"));
  EXPECT_EQ(form.ListView()->FirstSelectedRow(), 9) << "the newest outing is selected, as after an open";
  EXPECT_FALSE(form.IsChange());
}

// A command given while the diary is read acts on the diary read, never on the empty one shown
// meanwhile: a save would otherwise write an empty diary over the file, or ask for a name.
TEST_F(MainFormReadTest, CommandsGivenWhileReadingWaitForTheDiary) {
  struct TCase {
    const char* Name;
    std::function<void(TMainForm&)> Command;
    std::function<void(TMainForm&)> Check;
  };
  const std::vector<TCase> cases = {
      {"save", [](TMainForm& form) { form.SaveCommand(); },
       [this](TMainForm& form) {
         EXPECT_EQ(FileDialogs, 0) << "the diary has its name: no save-as dialog";
         EXPECT_EQ(OutingsIn(form.FileName()), 10);
       }},
      {"save as", [](TMainForm& form) { form.SaveAsCommand(); },
       [this](TMainForm&) { EXPECT_EQ(OutingsIn(Dir / "copy.hkvj"), 10); }},
      {"search",
       [](TMainForm& form) {
         form.SearchEdit()->setText(QStringLiteral("run 3"));
         form.SearchUpCommand();
       },
       [](TMainForm& form) { EXPECT_EQ(form.ListView()->FirstSelectedRow(), 3); }},
      {"delete", [](TMainForm& form) { form.DeleteActCommand(); },
       [](TMainForm& form) {
         EXPECT_EQ(form.ListModel()->RowCount(), 9) << "the newest outing, selected once read, is deleted";
       }},
  };
  for (const TCase& c : cases) {
    SCOPED_TRACE(c.Name);
    Errors.clear();
    FileDialogs = 0;
    SaveAnswers = {QString::fromStdString((Dir / "copy.hkvj").string())};
    Answers = {QMessageBox::Yes};
    TMainForm& form = ShownWhileReading(Dir / "diary.hkvj");
    c.Command(form);
    EXPECT_FALSE(form.IsReadingDiary());
    c.Check(form);
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join(QLatin1Char('\n')).toStdString();
    form.SetIsChange(false);
    DestroyForm();
  }
}

// Closed before the read ended, the window still remembers the diary for the next start.
TEST_F(MainFormReadTest, ClosingWhileReadingKeepsTheDiaryForTheNextStart) {
  const fs::path diary = Dir / "diary.hkvj";
  ShownWhileReading(diary);
  DestroyForm();
  TMainForm& again = MakeForm();
  EXPECT_EQ(again.FileName(), diary.string());
  EXPECT_EQ(again.ListModel()->RowCount(), 10);
}

// Read after the window painted, a diary that cannot be read is reported as an open command
// reports it, and the diary shown before stays, with its name and unsaved changes.
TEST_F(MainFormReadTest, AFailedReadKeepsThePreviousDiary) {
  const fs::path good = Dir / "good.hkvj";
  const fs::path bad = Dir / "bad.hkvj";
  WriteDiary(good, TenOutings());
  const std::string badText = "<tekuri><日リスト><日データ 日付=\"x\"/></日リスト></tekuri>";
  std::ofstream(bad) << badText;
  TMainForm& form = MakeForm({QString::fromStdString(good.string())});
  form.SelectRow(0);
  form.DeleteActCommand();  // an unsaved change
  ASSERT_EQ(form.ListModel()->RowCount(), 9);
  Errors.clear();
  bool opened = true;
  form.BeginOpen(bad.string(), [&](bool result) { opened = result; });
  EXPECT_EQ(form.ListModel()->RowCount(), 9) << "the list shows the diary while the other is read";
  WaitForDiary();
  EXPECT_FALSE(opened);
  ASSERT_EQ(Errors.size(), 1);
  EXPECT_TRUE(Errors[0].contains(QStringLiteral("bad.hkvj"))) << Errors[0].toStdString();
  EXPECT_EQ(form.FileName(), good.string());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記 [good]"));
  EXPECT_EQ(form.ListModel()->RowCount(), 9);
  EXPECT_TRUE(form.IsChange());
  EXPECT_TRUE(form.ListView()->PlaceholderText().isEmpty());
  // Saving afterwards writes the diary shown, under its own name.
  form.SaveCommand();
  EXPECT_EQ(OutingsIn(good), 9);
  std::ifstream in(bad);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), badText) << "the file that failed is left alone";
}

// A diary named on the command line that cannot be read is reported once the window is up, and
// the diary used last is read in its place.
TEST_F(MainFormReadTest, ANamedDiaryThatFailsFallsBackToTheLastOne) {
  const fs::path last = Dir / "last.hkvj";
  const fs::path bad = Dir / "bad.hkvj";
  WriteDiary(last, TenOutings());
  std::ofstream(bad) << "not a diary";
  MakeForm({QString::fromStdString(last.string())});
  DestroyForm();
  Errors.clear();
  ErrorsOverShownWindow.clear();
  TMainForm& form = MakeForm({QString::fromStdString(bad.string())});
  EXPECT_EQ(form.FileName(), last.string());
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  ASSERT_EQ(Errors.size(), 1);
  EXPECT_EQ(ErrorsOverShownWindow, QList<bool>{true});
}

}  // namespace
}  // namespace hakuvo::test
