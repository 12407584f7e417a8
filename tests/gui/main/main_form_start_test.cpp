// Start-up, modes, caption, settings and shutdown of the main window.
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <fstream>

#include "core/datafile/day_data_file.h"
#include "core/settings/history_menu_list.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/history_menu.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

QStringList HeaderTexts(const TMainForm& form) {
  QStringList texts;
  for (int i = 0; i < form.ListModel()->columnCount(); ++i) {
    texts << form.ListModel()->headerData(i, Qt::Horizontal).toString();
  }
  return texts;
}

QStringList HistoryOf(const fs::path& iniFile) {
  THistoryMenuList list;
  list.Load(iniFile);
  QStringList paths;
  for (const std::string& path : list.Items()) paths << QString::fromStdString(path);
  return paths;
}

TEST(MainFormCaptionTest, FileNameWithoutFolderAndExtension) {
  const std::pair<std::string, QString> cases[] = {
      {"", QStringLiteral("跳記")},
      {"/home/u/sample.hkvj", QStringLiteral("跳記 [sample]")},
      {"/home/u.v/my.diary.hkvw", QStringLiteral("跳記 [my.diary]")},
      {"relative/日記.hkvb", QStringLiteral("跳記 [日記]")},
  };
  for (const auto& [fileName, caption] : cases) EXPECT_EQ(TMainForm::CaptionFor(fileName), caption) << fileName;
}

TEST_F(MainFormTest, StartsInJoggingModeWithItsDefaults) {
  TMainForm& form = MakeForm();
  EXPECT_EQ(form.HakuvoCategory(), ctJogging);
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記"));
  EXPECT_EQ(form.AppData().IniFileName, "Jogging.ini");
  EXPECT_EQ(form.AppData().GetIniFileName(), ProgramFolder / "Jogging.ini");
  EXPECT_EQ(form.FileFilter(), QStringLiteral("跳記(*.hkvj)|*.hkvj"));
  EXPECT_EQ(ToQtFileFilter(form.FileFilter()), QStringLiteral("跳記(*.hkvj)"));
  EXPECT_EQ(form.DefaultExt(), QStringLiteral("hkvj"));
  EXPECT_EQ(HeaderTexts(form), (QStringList{"日付", "開始時刻", "終了時刻", "タイトル", "距離(km)", "速度(km/h)"}));
  EXPECT_EQ(form.CurrentCategory(), "ジョギング");
  // The default category order: the sixteen built-in kinds, then the user category.
  ASSERT_EQ(form.CategoryChoices().size(), 17);
  EXPECT_EQ(form.CategoryChoices().first(), QStringLiteral("ジョギング"));
  EXPECT_EQ(form.CategoryChoices().last(), QStringLiteral("ユーザー"));
  const TGraphInfo& dayGraph = form.CategoryInfoList().GetCategoryItems(ctJogging)->GraphInfo();
  ASSERT_GE(dayGraph.RecordAxisTitle.size(), 5u);
  EXPECT_EQ(dayGraph.RecordAxisTitle[0], "回数");
  EXPECT_EQ(dayGraph.RecordAxisTitle[4], "カロリー(kcal)");
  EXPECT_TRUE(form.MultiGraphInfo1().IsBarSeries());
  EXPECT_FALSE(form.MultiGraphInfo2().IsBarSeries());
  EXPECT_EQ(form.MultiGraphInfo2().SeriesColor(), 255u);
  EXPECT_EQ(form.MultiGraphInfo2().LineSeriesWidth(), 3);
  EXPECT_FALSE(form.IsChange());
  EXPECT_TRUE(Errors.isEmpty());
}

TEST_F(MainFormTest, ModeSwitchChoosesSettingsFileExtensionAndRecentFiles) {
  THistoryMenuList jogging;
  jogging.Add("/diaries/a.hkvj");
  jogging.Save(ProgramFolder / "Jogging.ini");
  const struct {
    QString Switch;
    TCategoryType Mode;
    std::string Ini;
    QString Ext;
  } cases[] = {{"-walking", ctWalking, "Walking.ini", "hkvw"},
               {"/BICYCLE", ctBicycle, "Bicycle.ini", "hkvb"},
               {"/JOGGING", ctJogging, "Jogging.ini", "hkvj"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Switch.toStdString());
    TMainForm& form = MakeForm({c.Switch});
    EXPECT_EQ(form.HakuvoCategory(), c.Mode);
    EXPECT_EQ(form.AppData().IniFileName, c.Ini);
    EXPECT_EQ(form.DefaultExt(), c.Ext);
    EXPECT_EQ(form.FileFilter(), QStringLiteral("跳記(*.") + c.Ext + QStringLiteral(")|*.") + c.Ext);
    EXPECT_EQ(form.CurrentCategory(), CategoryNames()[c.Mode]);
    // Each mode has its own recent files.
    EXPECT_EQ(form.HistoryMenu().HistoryList().Count(), c.Mode == ctJogging ? 1u : 0u);
    DestroyForm();
    EXPECT_TRUE(fs::exists(ProgramFolder / c.Ini));
  }
}

TEST_F(MainFormTest, AppDataFolderSwitchKeepsSettingsInTheUserFolder) {
  TMainForm& form = MakeForm({"-APPDATAFOLDER"});
  const fs::path userFolder = Dir / "config" / "Orimaze" / "Hakuvo";
  EXPECT_TRUE(form.IsAppDataFolder());
  EXPECT_EQ(fs::path(form.AppDataFolder()), userFolder);
  EXPECT_EQ(form.AppData().GetIniFileName(), userFolder / "Jogging.ini");
  DestroyForm();
  EXPECT_TRUE(fs::exists(userFolder / "Jogging.ini"));
  EXPECT_FALSE(fs::exists(ProgramFolder / "Jogging.ini"));
}

TEST_F(MainFormTest, SavedBoundsApplyOnlyWhereTheWindowStaysReachable) {
  const QRect desktop = QGuiApplication::primaryScreen()->availableGeometry();
  const struct {
    int Top;
    bool TopApplied;
  } cases[] = {{desktop.top() + 40, true}, {desktop.top() - 10, true}, {desktop.top() - 11, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Top);
    {
      TAppData settings(ProgramFolder);
      settings.SetMode(ctJogging);
      settings.Left = desktop.left() + 30;
      settings.Top = c.Top;
      settings.Width = 500;
      settings.Height = 400;
      settings.WindowState = wsMaximized;
      settings.Write();
    }
    TMainForm& form = MakeForm({}, false);
    const QRect bounds = form.geometry();
    EXPECT_EQ(bounds.size(), QSize(500, 400));  // the size always
    EXPECT_EQ(bounds.left(), desktop.left() + 30);
    EXPECT_EQ(bounds.top() == c.Top, c.TopApplied);
    EXPECT_TRUE(form.windowState() & Qt::WindowMaximized);
    Form.reset();
    fs::remove(ProgramFolder / "Jogging.ini");
  }
}

TEST_F(MainFormTest, DiaryOnTheCommandLineWinsOverTheLastFile) {
  const fs::path last = Dir / "last.hkvj";
  const fs::path named = Dir / "named.hkvj";
  WriteDiary(last, {{2024, 1, 1, "old"}, {2024, 1, 2, "older"}});
  WriteDiary(named, TenOutings());

  MakeForm({QString::fromStdString(last.string())});
  EXPECT_EQ(Form->FileName(), last.string());
  DestroyForm();

  // Without a diary named, the last one comes back.
  TMainForm& again = MakeForm();
  EXPECT_EQ(again.FileName(), last.string());
  EXPECT_EQ(again.ListModel()->RowCount(), 2);
  DestroyForm();

  TMainForm& form = MakeForm({"-jogging", QString::fromStdString(named.string())});
  EXPECT_EQ(form.FileName(), named.string());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記 [named]"));
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  // Opening selects the first outing of the last day.
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{9});
  EXPECT_FALSE(form.IsChange());
  const TStringList& recent = form.HistoryMenu().HistoryList().Items();
  ASSERT_EQ(recent.size(), 2u);
  EXPECT_EQ(recent[0], named.string());
  EXPECT_EQ(recent[1], last.string());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
}

TEST_F(MainFormTest, MissingDiaryOnTheCommandLineIsReported) {
  TMainForm& form = MakeForm({QString::fromStdString((Dir / "nowhere.hkvj").string())});
  EXPECT_EQ(Errors.size(), 1);
  EXPECT_TRUE(form.FileName().empty());
  EXPECT_EQ(form.windowTitle(), QStringLiteral("跳記"));
  EXPECT_EQ(form.ListModel()->RowCount(), 0);
}

TEST_F(MainFormTest, ABadDiaryOnTheCommandLineIsReportedOverTheWindowAndTheLastDiaryOpens) {
  const fs::path last = Dir / "last.hkvj";
  WriteDiary(last, TenOutings());
  const fs::path broken = Dir / "broken.hkvj";
  std::ofstream(broken) << "<tekuri><not closed";
  {
    TAppData settings(ProgramFolder);
    settings.SetMode(ctJogging);
    settings.FileName = last.string();
    settings.Write();
  }
  for (const fs::path& named : {broken, Dir / "nowhere.hkvj"}) {
    SCOPED_TRACE(named.string());
    Errors.clear();
    ErrorsOverShownWindow.clear();
    TMainForm& form = MakeForm({QString::fromStdString(named.string())}, false);
    // Nothing is reported before the window is on the screen.
    EXPECT_TRUE(Errors.isEmpty());
    form.show();
    // Not while the window is being shown either: the box comes once it is up.
    EXPECT_TRUE(Errors.isEmpty());
    // The diaries are read on a worker, the last one after the named one failed.
    WaitForDiary();
    ASSERT_EQ(Errors.size(), 1);
    EXPECT_EQ(ErrorsOverShownWindow, QList<bool>{true});
    // The start goes on as if no diary had been named.
    EXPECT_EQ(form.FileName(), last.string());
    EXPECT_EQ(form.ListModel()->RowCount(), 10);
    EXPECT_FALSE(form.IsChange());
    DestroyForm();
  }
}

TEST_F(MainFormTest, OnlyTheRowsShownHaveTheirTextsMade) {
  const fs::path diary = Dir / "long.hkvj";
  std::vector<TOuting> outings;
  for (int i = 0; i < 400; ++i)
    outings.push_back({2020 + i / 300, 1 + (i / 28) % 12, 1 + i % 28, "run " + std::to_string(i)});
  WriteDiary(diary, outings);
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  form.ListView()->viewport()->grab();  // a paint, whatever the platform does on its own
  int built = 0;
  for (int row = 0; row < form.ListModel()->RowCount(); ++row) built += form.ListModel()->IsRowBuilt(row) ? 1 : 0;
  EXPECT_GT(built, 0);
  EXPECT_LT(built, 100) << "of " << form.ListModel()->RowCount();
  // The selected last row is in view and made; a row far above it is made when asked for.
  const int last = form.ListModel()->RowCount() - 1;
  EXPECT_TRUE(form.ListModel()->IsRowBuilt(last));
  EXPECT_FALSE(form.ListModel()->IsRowBuilt(200));
  EXPECT_EQ(form.ListModel()->Text(200, 3), QStringLiteral("run 200"));
  EXPECT_TRUE(form.ListModel()->IsRowBuilt(200));
}

TEST_F(MainFormTest, CloseWritesSettingsAndRecentFiles) {
  const fs::path diary = Dir / "close.hkvj";
  WriteDiary(diary, TenOutings());
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  form.EnergyViewCommand();
  form.ListView()->header()->resizeSection(3, 222);
  EXPECT_TRUE(form.close());
  Form.reset();

  TAppData settings(ProgramFolder);
  settings.SetMode(ctJogging);
  settings.Read();
  EXPECT_EQ(settings.FileName, diary.string());
  EXPECT_EQ(settings.DataFilePath, Dir.string());
  EXPECT_TRUE(settings.ChildWindowInfo.IsViewEnergyConsumption);
  EXPECT_EQ(settings.ChildWindowInfo.ActListTitle, 222);
  EXPECT_EQ(settings.ChildWindowInfo.ActListWeight, 80);
  EXPECT_EQ(HistoryOf(ProgramFolder / "Jogging.ini"), QStringList{QString::fromStdString(diary.string())});

  // The next start takes the energy view and the widths back (from the settings: a diary
  // reopened would bring the layout it was saved with).
  fs::remove(diary);
  TMainForm& next = MakeForm();
  EXPECT_TRUE(next.IsViewEnergyConsumption());
  EXPECT_EQ(next.ListModel()->columnCount(), 8);
  EXPECT_EQ(next.ListView()->header()->sectionSize(3), 222);
  const auto* info =
      dynamic_cast<const TEnergyConsumptionCategoryInfo*>(next.CategoryInfoList().GetCategoryItems(ctJogging));
  ASSERT_NE(info, nullptr);
  EXPECT_TRUE(info->IsWeight());
}

TEST_F(MainFormTest, ClosingAModifiedDiaryAsksFirst) {
  TMainForm& form = MakeForm();
  form.SetIsChange(true);
  Answers = {QMessageBox::Cancel};
  EXPECT_FALSE(form.close());
  EXPECT_TRUE(form.isVisible());
  EXPECT_FALSE(fs::exists(ProgramFolder / "Jogging.ini"));
  Answers = {QMessageBox::No};
  EXPECT_TRUE(form.close());
  EXPECT_EQ(Questions, QStringList(2, QStringLiteral("設定の変更をファイルへ保存しますか？")));
  EXPECT_TRUE(fs::exists(ProgramFolder / "Jogging.ini"));
}

TEST_F(MainFormTest, SessionEndSavesANamedDiaryWithoutAsking) {
  const fs::path diary = Dir / "session.hkvj";
  WriteDiary(diary, TenOutings());
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  form.ListView()->SelectRowAlone(0);
  form.DeleteActCommand();
  ASSERT_TRUE(form.IsChange());
  form.CommitSessionData(true);
  EXPECT_TRUE(Questions.isEmpty());
  EXPECT_FALSE(form.IsChange());
  // The file holds nine outings now.
  TMainForm& check = MakeForm({QString::fromStdString(diary.string())});
  EXPECT_EQ(check.ListModel()->RowCount(), 9);
}

TEST_F(MainFormTest, SessionEndKeepsAnUnnamedDiaryMarkedModified) {
  TMainForm& form = MakeForm();
  form.SetIsChange(true);
  form.CommitSessionData(true);
  EXPECT_TRUE(form.IsChange());
  EXPECT_TRUE(Questions.isEmpty());
  // The settings were written all the same.
  EXPECT_TRUE(fs::exists(ProgramFolder / "Jogging.ini"));
}

}  // namespace
}  // namespace hakuvo::test
