// New, open, save, save as, the save prompt and the recent files.
#include <QAction>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>
#include <fstream>

#include "core/datafile/day_data_file.h"
#include "core/model/category_info_list.h"

#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/about_dialog.h"
#include "gui/main/history_menu.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

const QString kSavePrompt = QStringLiteral("設定の変更をファイルへ保存しますか？");

class MainFormFileTest : public MainFormTest {
 protected:
  // A window holding the ten outings of `diary`, with the first one deleted (so modified).
  TMainForm& ModifiedForm(const fs::path& diary) {
    WriteDiary(diary, TenOutings());
    TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
    form.SelectRow(0);
    form.DeleteActCommand();
    EXPECT_TRUE(form.IsChange());
    return form;
  }
};

TEST_F(MainFormFileTest, OpenCommandOpensTheChosenFileAndListsItFirst) {
  const fs::path diary = Dir / "open.hkvj";
  WriteDiary(diary, TenOutings());
  TMainForm& form = MakeForm();
  OpenAnswers = {QString::fromStdString(diary.string())};
  form.OpenCommand();
  EXPECT_EQ(form.FileName(), diary.string());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記 [open]"));
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  EXPECT_EQ(form.AppData().DataFilePath, Dir.string());
  ASSERT_EQ(form.HistoryMenu().HistoryList().Count(), 1u);
  EXPECT_EQ(form.HistoryMenu().HistoryList()[0], diary.string());
  EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(MainFormFileTest, AFileThatCannotBeReadLeavesTheDiaryAndItsName) {
  const fs::path good = Dir / "good.hkvj";
  const fs::path bad = Dir / "bad.hkvj";
  WriteDiary(good, TenOutings());
  std::ofstream(bad) << "<tekuri><日リスト><日データ 日付=\"x\"/></日リスト></tekuri>";
  TMainForm& form = MakeForm({QString::fromStdString(good.string())});
  OpenAnswers = {QString::fromStdString(bad.string())};
  form.OpenCommand();
  EXPECT_EQ(Errors.size(), 1);
  EXPECT_EQ(form.FileName(), good.string());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記 [good]"));
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  EXPECT_EQ(form.HistoryMenu().HistoryList().IndexOf(bad.string()), -1);
  // Saving now still writes the diary to its own file, never over the one that failed.
  form.SaveCommand();
  EXPECT_EQ(OutingsIn(good), 10);
}

TEST_F(MainFormFileTest, SavePromptCancelStopsTheCommand) {
  const fs::path diary = Dir / "prompt.hkvj";
  TMainForm& form = ModifiedForm(diary);
  Answers = {QMessageBox::Cancel};
  form.OpenCommand();
  EXPECT_EQ(Questions, QStringList{kSavePrompt});
  EXPECT_EQ(FileDialogs, 0);  // no file dialog after Cancel
  Answers = {QMessageBox::Cancel};
  form.NewCommand();
  EXPECT_EQ(form.ListModel()->RowCount(), 9);
  EXPECT_TRUE(form.IsChange());
  EXPECT_EQ(form.FileName(), diary.string());
  EXPECT_EQ(OutingsIn(diary), 10);
}

TEST_F(MainFormFileTest, SavePromptNoDropsTheChanges) {
  const fs::path diary = Dir / "prompt.hkvj";
  TMainForm& form = ModifiedForm(diary);
  const std::size_t things = form.ThingList().Count();
  Answers = {QMessageBox::No};
  form.NewCommand();
  EXPECT_EQ(form.ListModel()->RowCount(), 0);
  EXPECT_EQ(form.DayDataList().Count(), 0);
  EXPECT_TRUE(form.FileName().empty());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記"));
  EXPECT_FALSE(form.IsChange());
  EXPECT_EQ(static_cast<std::size_t>(form.ThingList().Count()), things);
  EXPECT_EQ(OutingsIn(diary), 10);
}

TEST_F(MainFormFileTest, SavePromptYesSavesUnderTheFileName) {
  const fs::path diary = Dir / "prompt.hkvj";
  TMainForm& form = ModifiedForm(diary);
  Answers = {QMessageBox::Yes};
  form.NewCommand();
  EXPECT_EQ(OutingsIn(diary), 9);
  EXPECT_EQ(FileDialogs, 0);
  EXPECT_EQ(form.ListModel()->RowCount(), 0);
  EXPECT_FALSE(form.IsChange());
}

TEST_F(MainFormFileTest, SavePromptYesWithoutANameAsksForOne) {
  const fs::path chosen = Dir / "chosen.hkvj";
  TMainForm& form = ModifiedForm(Dir / "first.hkvj");
  form.SetIsChange(false);
  form.NewCommand();
  form.SetIsChange(true);  // an unnamed diary with changes
  // Cancelling the save-as dialog keeps the diary: the command stops.
  Answers = {QMessageBox::Yes};
  form.NewCommand();
  EXPECT_EQ(FileDialogs, 1);
  EXPECT_TRUE(form.IsChange());
  // Naming a file saves there, lists it among the recent files and lets the command go on.
  Answers = {QMessageBox::Yes};
  SaveAnswers = {QString::fromStdString(chosen.string())};
  OpenAnswers = {};
  form.OpenCommand();
  EXPECT_EQ(FileDialogs, 3);  // save as, then the open dialog (cancelled)
  EXPECT_TRUE(fs::exists(chosen));
  EXPECT_EQ(form.FileName(), chosen.string());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記 [chosen]"));
  EXPECT_EQ(form.HistoryMenu().HistoryList()[0], chosen.string());
  EXPECT_FALSE(form.IsChange());
}

TEST_F(MainFormFileTest, SaveWithoutANameShowsTheSaveAsDialog) {
  TMainForm& form = MakeForm();
  form.SaveCommand();  // cancelled
  EXPECT_EQ(FileDialogs, 1);
  EXPECT_TRUE(form.FileName().empty());
  const fs::path target = Dir / "saved.hkvj";
  SaveAnswers = {QString::fromStdString(target.string())};
  form.SaveCommand();
  EXPECT_TRUE(fs::exists(target));
  EXPECT_EQ(form.FileName(), target.string());
  EXPECT_EQ(form.AppData().DataFilePath, Dir.string());
  // The settings are written after every save.
  TAppData settings(ProgramFolder);
  settings.SetMode(ctJogging);
  settings.Read();
  EXPECT_EQ(settings.FileName, target.string());
}

TEST_F(MainFormFileTest, RecentFilesStandBeforeExitInTheFileMenu) {
  const fs::path a = Dir / "a.hkvj";
  const fs::path b = Dir / "b&c.hkvj";
  WriteDiary(a, TenOutings());
  WriteDiary(b, {{2024, 1, 1, "b"}});
  TMainForm& form = MakeForm();
  for (const fs::path& path : {a, b}) {
    OpenAnswers = {QString::fromStdString(path.string())};
    form.OpenCommand();
  }
  QStringList texts;
  for (QAction* action : form.FileMenu()->actions())
    texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  EXPECT_EQ(texts, (QStringList{"新規作成(&N)", "開く(&O)...", "上書き保存(&S)", "名前を付けて保存(&A)...", "-",
                                "ファイルの取り込み(&I)...", "更新されたファイルを登録(&F)...", "-", "b&&c.hkvj",
                                "a.hkvj", "-", "終了(&X)"}));
  // Choosing an entry opens it and moves it to the top.
  form.HistoryMenu().EntryActions()[1]->trigger();
  Settle();
  EXPECT_EQ(form.FileName(), a.string());
  EXPECT_EQ(form.HistoryMenu().HistoryList()[0], a.string());
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
}

// Linux names are bytes: a diary whose name is not UTF-8 (an old Shift_JIS folder, say) must
// still open from the recent files, which it cannot if its name goes through a QString.
TEST_F(MainFormFileTest, ARecentFileWhoseNameIsNotUtf8OpensFromTheMenu) {
  const fs::path odd = Dir / std::string("\x93\xfa\x8b\x4c.hkvj");
  WriteDiary(odd, TenOutings());
  TMainForm& form = MakeForm();
  form.HistoryMenu().Add(odd.string());
  ASSERT_EQ(form.HistoryMenu().EntryActions().size(), 1u);
  form.HistoryMenu().EntryActions()[0]->trigger();
  Settle();
  EXPECT_TRUE(Questions.isEmpty());
  EXPECT_TRUE(Errors.isEmpty());
  EXPECT_EQ(form.FileName(), odd.string());
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
}

TEST_F(MainFormFileTest, ARecentFileThatVanishedCanBeRemoved) {
  const fs::path kept = Dir / "kept.hkvj";
  const fs::path gone = Dir / "gone.hkvj";
  WriteDiary(kept, TenOutings());
  WriteDiary(gone, TenOutings());
  TMainForm& form = MakeForm();
  form.HistoryMenu().Add(gone.string());
  form.HistoryMenu().Add(kept.string());
  OpenAnswers = {QString::fromStdString(kept.string())};
  form.OpenCommand();
  fs::remove(gone);
  const QString question = QStringLiteral("選択されたファイルがありません\n履歴から削除しますか？");

  // Cancel keeps the entry (moved to the top) and the diary.
  ASSERT_EQ(form.HistoryMenu().HistoryList()[1], gone.string());
  Answers = {QMessageBox::Cancel};
  form.HistoryMenu().EntryActions()[1]->trigger();
  Settle();
  EXPECT_EQ(Questions, QStringList{question});
  EXPECT_EQ(form.HistoryMenu().HistoryList()[0], gone.string());
  EXPECT_EQ(form.HistoryMenu().HistoryList().Count(), 2u);
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  EXPECT_TRUE(Errors.isEmpty());

  // OK removes it and leaves an empty diary.
  Answers = {QMessageBox::Ok};
  form.HistoryMenu().EntryActions()[0]->trigger();
  Settle();
  ASSERT_EQ(form.HistoryMenu().HistoryList().Count(), 1u);
  EXPECT_EQ(form.HistoryMenu().HistoryList()[0], kept.string());
  EXPECT_EQ(form.ListModel()->RowCount(), 0);
  EXPECT_TRUE(form.FileName().empty());
  EXPECT_FALSE(form.IsChange());
  EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(MainFormFileTest, ElevenFilesKeepTheTenNewest) {
  TMainForm& form = MakeForm();
  for (int i = 0; i < 11; ++i) {
    const fs::path path = Dir / ("d" + std::to_string(i) + ".hkvj");
    WriteDiary(path, {{2024, 1, 1 + i, "x"}});
    OpenAnswers = {QString::fromStdString(path.string())};
    form.OpenCommand();
  }
  ASSERT_EQ(form.HistoryMenu().HistoryList().Count(), 10u);
  EXPECT_EQ(form.HistoryMenu().HistoryList()[0], (Dir / "d10.hkvj").string());
  EXPECT_EQ(form.HistoryMenu().HistoryList().IndexOf((Dir / "d0.hkvj").string()), -1);
  EXPECT_EQ(form.HistoryMenu().EntryActions().size(), 10u);
}

TEST_F(MainFormFileTest, MenusCarryTheirShortcuts) {
  TMainForm& form = MakeForm();
  const struct {
    TMainCommand Command;
    QString Text;
    QKeySequence Shortcut;
  } cases[] = {
      {cmNew, "新規作成(&N)", QKeySequence("Ctrl+N")},
      {cmOpen, "開く(&O)...", QKeySequence("Ctrl+O")},
      {cmSave, "上書き保存(&S)", QKeySequence("Ctrl+S")},
      {cmSaveAs, "名前を付けて保存(&A)...", QKeySequence()},
      {cmFullScreen, "全画面表示", QKeySequence("F11")},
      {cmCategoryListSettings, "カテゴリ設定(&C)...", QKeySequence("F8")},
      {cmEnergyView, "体重・消費カロリーを表示する(&E)", QKeySequence()},
      {cmAbout, "バージョン情報(&A)", QKeySequence()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(form.Action(c.Command)->text(), c.Text);
    EXPECT_EQ(form.Action(c.Command)->shortcut(), c.Shortcut) << c.Text.toStdString();
  }
  // F8 runs from its shortcut only.
  EXPECT_TRUE(form.Action(cmCategoryListSettings)->associatedObjects().contains(&form));
  for (QObject* owner : form.Action(cmCategoryListSettings)->associatedObjects()) {
    EXPECT_EQ(qobject_cast<QMenu*>(owner), nullptr);
  }
  QStringList popup;
  for (QAction* action : form.ListPopupMenu()->actions()) popup << action->text();
  EXPECT_EQ(popup, (QStringList{"アクション追加(&A)", "アクション削除(&D)", "アクション編集(&E)"}));
}

TEST_F(MainFormFileTest, FullScreenHidesMenuAndToolStrip) {
  TMainForm& form = MakeForm();
  form.FullScreenCommand();
  EXPECT_TRUE(form.IsFullScreenDisplay());
  EXPECT_TRUE(form.menuBar()->isHidden());
  EXPECT_TRUE(form.ToolStrip()->isHidden());
  form.FullScreenCommand();
  EXPECT_FALSE(form.IsFullScreenDisplay());
  EXPECT_FALSE(form.menuBar()->isHidden());
  EXPECT_FALSE(form.ToolStrip()->isHidden());
}

TEST_F(MainFormFileTest, AboutBoxShowsTheMode) {
  TMainForm& form = MakeForm({"-walking"});
  QStringList texts;
  RunDialog = [&](QDialog& dialog) {
    auto* about = dynamic_cast<TAboutDialog*>(&dialog);
    EXPECT_NE(about, nullptr);
    if (about == nullptr) return int(QDialog::Rejected);
    texts << dialog.windowTitle() << about->TitleLabel()->text() << about->ModeLabel()->text()
          << about->VersionLabel()->text();
    EXPECT_EQ(dialog.size(), QSize(294, 185));
    return int(QDialog::Accepted);
  };
  form.AboutCommand();
  EXPECT_EQ(texts, (QStringList{"バージョン情報", "跳記", "[ウォーキング]", "Ver.1.0"}));
}

}  // namespace
}  // namespace hakuvo::test
