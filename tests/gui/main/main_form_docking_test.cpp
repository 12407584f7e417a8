// The child windows as the main window holds them: created at start, placed at first show from
// the settings, stored on close and before every save, reached through the View menu, and the
// messages the search windows send through the document.
#include <QAction>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMenu>
#include <QScreen>
#include <QTabBar>
#include <QToolBar>
#include <QTreeWidget>
#include <algorithm>

#include "core/datafile/day_data_file.h"
#include "core/model/category_info_list.h"
#include "gui/document/view_menu_items.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/search/act_form.h"
#include "main_form_fixture.h"
#include "support/screenshot.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

// Where every shown window is, in one text: "name:site" in the order of the window list.
std::string Sites(const TMainForm& form) {
  static const char* const names[] = {"floating", "right panel", "right tab", "bottom panel", "bottom tab"};
  std::string text;
  for (const TDockingForm* window : form.DockingFormList()) {
    if (!form.Docks().IsFormShown(window)) continue;
    text += window->Name().toStdString() + ":" + names[form.Docks().Site(window)] + " ";
  }
  return text;
}

const char* const FirstStartSites =
    "GraphForm:bottom tab MonthGraphForm:bottom tab YearGraphForm:bottom tab ActMultiGraphForm:bottom panel ";

QRect Desktop() { return QGuiApplication::primaryScreen()->availableGeometry(); }

class MainFormDockingTest : public MainFormTest {
 protected:
  // Settings of the jogging mode, written before the window starts.
  void WriteSettings(const std::function<void(TAppData&)>& fill) {
    TAppData settings(ProgramFolder);
    settings.SetMode(ctJogging);
    fill(settings);
    settings.Write();
  }
  std::unique_ptr<TAppData> ReadSettings() {
    auto settings = std::make_unique<TAppData>(ProgramFolder);
    settings->SetMode(ctJogging);
    settings->Read();
    return settings;
  }
  TDockingForm* Window(const char* name) const { return Form->Docks().Form(QString::fromUtf8(name)); }
  QDockWidget* Host(const char* name) const { return Form->Docks().Host(Window(name)); }
};

TEST_F(MainFormDockingTest, TheFirstStartDocksTheFourGraphsBelowAndLeavesTheDiaryUnchanged) {
  TMainForm& form = MakeForm();
  QStringList names;
  for (const TDockingForm* window : form.DockingFormList()) names << window->Name();
  EXPECT_EQ(names, (QStringList{"GraphForm", "MonthGraphForm", "YearGraphForm", "MultiGraphForm", "LinkForm",
                                "LinkPreviewForm", "GoogleMapForm", "SpeedForm", "ActMultiGraphForm"}));
  EXPECT_EQ(Sites(form), FirstStartSites);
  EXPECT_TRUE(form.Docks().IsPanelShown(dsBottomPanel));
  EXPECT_FALSE(form.Docks().IsPanelShown(dsRightPanel));
  EXPECT_EQ(form.Docks().TabStripSize(dsBottomTabs), TDockManager::TabStripThickness);
  EXPECT_EQ(form.Docks().TabStripSize(dsRightTabs), 0);
  EXPECT_EQ(Host("ActMultiGraphForm")->windowTitle(), QStringLiteral("グラフ"));
  // Placing the windows at start is no change of the diary, also once everything posted has run.
  Settle();
  EXPECT_FALSE(form.IsChange());
  // A change the user makes to the layout is one.
  form.Docks().DockInto(Window("GraphForm"), dsRightPanel);
  EXPECT_TRUE(form.IsChange());
  // Every tool bar of the window carries a name, which Qt's saved state needs.
  for (const QToolBar* bar : form.findChildren<QToolBar*>()) EXPECT_FALSE(bar->objectName().isEmpty());
}

TEST_F(MainFormDockingTest, TheDiaryOpenedAtStartShowsItsSelectedRowAboveTheDockedGraphs) {
  std::vector<TOuting> outings;
  for (int i = 0; i < 200; ++i) outings.push_back({2024, 1 + i / 28, 1 + i % 28, "run " + std::to_string(i)});
  const fs::path diary = Dir / "long.hkvj";
  WriteDiary(diary, outings);
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  ASSERT_TRUE(form.Docks().IsPanelShown(dsBottomPanel));
  ASSERT_EQ(form.ListView()->SelectedRows(), QList<int>{199});
  const QRect row = form.ListView()->visualRect(form.ListModel()->index(199, 0));
  EXPECT_TRUE(form.ListView()->viewport()->rect().contains(row))
      << row.y() << " of " << form.ListView()->viewport()->height();
}

// The list and the panels keep their shares from one run to the next, the first run included.
TEST_F(MainFormDockingTest, TheListKeepsItsHeightAcrossRestarts) {
  std::vector<int> heights;
  std::vector<int> panels;
  for (int run = 0; run < 3; ++run) {
    TMainForm& form = MakeForm();
    Settle();
    heights.push_back(form.ListView()->height());
    panels.push_back(form.Docks().PanelSize(dsBottomPanel));
    DestroyForm();
  }
  EXPECT_EQ(heights[1], heights[0]);
  EXPECT_EQ(heights[2], heights[0]);
  EXPECT_EQ(panels[1], panels[0]);
  EXPECT_EQ(panels[2], panels[0]);
  EXPECT_GT(heights[0], 200) << "more than a few rows";
}

TEST_F(MainFormDockingTest, StoredEmptyListsShowNoChildWindow) {
  WriteSettings([](TAppData& settings) {
    // Written by a run whose windows were all closed: the lists exist and are empty.
    settings.ChildWindowInfo.BottomPanelDockClientList.clear();
    settings.ChildWindowInfo.BottomTabDockClientList.clear();
  });
  TMainForm& form = MakeForm();
  EXPECT_EQ(Sites(form), "");
  EXPECT_FALSE(form.Docks().IsPanelShown(dsBottomPanel));
  EXPECT_EQ(form.Docks().TabStripSize(dsBottomTabs), 0);
}

TEST_F(MainFormDockingTest, AFloatingWindowComesBackWhereItWasAfterARestart) {
  TMainForm& first = MakeForm();
  first.Docks().MakeFloating(Window("MonthGraphForm"), QRect(300, 200, 500, 400));
  Settle();
  Host("MonthGraphForm")->move(100, 100);
  Host("MonthGraphForm")->resize(640, 480);
  Settle();
  // A moved window is a change of the layout the diary keeps: closing asks first.
  EXPECT_TRUE(first.IsChange());
  Answers.push_back(QMessageBox::No);
  DestroyForm();  // closing writes the settings
  EXPECT_EQ(Questions.size(), 1);

  const std::unique_ptr<TAppData> written = ReadSettings();
  EXPECT_EQ(written->ChildWindowInfo.FloatingList, TStringList{"MonthGraphForm\t100\t100\t640\t480"});
  TMainForm& second = MakeForm();
  const QDockWidget* host = Host("MonthGraphForm");
  EXPECT_TRUE(host->isVisible());
  EXPECT_TRUE(host->isFloating());
  EXPECT_EQ(FloatingBounds(*host), QRect(100, 100, 640, 480));
  EXPECT_EQ(Sites(second),
            "GraphForm:bottom tab MonthGraphForm:floating YearGraphForm:bottom tab "
            "ActMultiGraphForm:bottom panel ");
  EXPECT_FALSE(second.IsChange());
}

TEST_F(MainFormDockingTest, AWindowThatWasNeverShownKeepsTheStoredLayout) {
  WriteSettings([](TAppData& settings) {
    settings.ChildWindowInfo.RightPanelDockClientList = {"SpeedForm\t250\t300"};
    settings.ChildWindowInfo.FloatingList = {"GoogleMapForm\t40\t50\t400\t300"};
  });
  MakeForm({}, false);
  DestroyForm();
  const std::unique_ptr<TAppData> written = ReadSettings();
  EXPECT_EQ(written->ChildWindowInfo.RightPanelDockClientList, TStringList{"SpeedForm\t250\t300"});
  EXPECT_EQ(written->ChildWindowInfo.FloatingList, TStringList{"GoogleMapForm\t40\t50\t400\t300"});
}

TEST_F(MainFormDockingTest, ABadStoredLayoutStillStartsWithAUsableWindow) {
  const int farAway = Desktop().right() + 5000;
  const struct {
    const char* What;
    TStringList RightPanel, RightTabs, BottomPanel, BottomTabs, Floating;
    std::string PaneStream;
    const char* Sites;
  } cases[] = {
      {"unknown names and sizes that are no numbers",
       {"NoSuchForm\t300\t300", "GraphForm\twide\t100"},
       {"\t\t"},
       {""},
       {"YearGraphForm\t-5\t99999999"},
       {"garbage", "SpeedForm\tx\ty"},
       "not what Qt writes",
       "GraphForm:right panel YearGraphForm:bottom tab SpeedForm:floating "},
      {"floating windows far off the desktop, negative and huge sizes",
       {},
       {},
       {"ActMultiGraphForm\t-300\t2000000000"},
       {},
       {"MonthGraphForm\t" + std::to_string(farAway) + "\t" + std::to_string(farAway) + "\t640\t480",
        "LinkForm\t-100000\t50\t-640\t480"},
       std::string("\x00\xff\x10", 3),
       "MonthGraphForm:floating LinkForm:floating ActMultiGraphForm:bottom panel "},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.What);
    WriteSettings([&](TAppData& settings) {
      TChildWindowInfo& info = settings.ChildWindowInfo;
      info.RightPanelDockClientList = c.RightPanel;
      info.RightTabDockClientList = c.RightTabs;
      info.BottomPanelDockClientList = c.BottomPanel;
      info.BottomTabDockClientList = c.BottomTabs;
      info.FloatingList = c.Floating;
      info.RightPanelDockInfo = c.PaneStream;
      info.BottomPanelDockInfo = c.PaneStream;
      info.RightPanelWidth = -40;
      info.BottomPanelHeight = 1 << 30;
    });
    TMainForm& form = MakeForm();
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(Sites(form), c.Sites);
    for (const TDockingForm* window : form.DockingFormList()) {
      const QDockWidget* host = form.Docks().Host(window);
      if (!host->isVisible() || !host->isFloating()) continue;
      EXPECT_TRUE(Desktop().intersects(FloatingBounds(*host))) << window->Name().toStdString();
      EXPECT_TRUE(IsUsableWindowSize(host->width()) && IsUsableWindowSize(host->height()));
    }
    for (TDockSite panel : {dsRightPanel, dsBottomPanel}) {
      if (form.Docks().IsPanelShown(panel)) {
        EXPECT_TRUE(IsUsableWindowSize(form.Docks().PanelSize(panel)));
      }
    }
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
    EXPECT_FALSE(form.IsChange());
    // What it stores again reads back as the same usable layout.
    DestroyForm();
    TMainForm& again = MakeForm();
    EXPECT_EQ(Sites(again), c.Sites);
    DestroyForm();
    fs::remove(ProgramFolder / "Jogging.ini");
  }
}

TEST_F(MainFormDockingTest, OpeningADiaryWithAnotherLayoutChangesNoWindowAndTheNextSaveStoresTheLiveOne) {
  TChildWindowInfo other;
  other.RightPanelDockClientList = {"GraphForm\t250\t300", "SpeedForm\t250\t300"};
  other.RightTabDockClientList = {"LinkForm\t200\t200"};
  other.BottomPanelDockClientList = {};
  other.BottomTabDockClientList = {};
  other.FloatingList = {"GoogleMapForm\t10\t10\t400\t300"};
  const fs::path diary = Dir / "other.hkvj";
  WriteDiary(diary, TenOutings(), &other);

  TMainForm& form = MakeForm();
  const QRect bottom = Host("ActMultiGraphForm")->geometry();
  OpenAnswers.push_back(QString::fromStdString(diary.string()));
  form.OpenCommand();
  Settle();
  ASSERT_EQ(form.FileName(), diary.string());
  ASSERT_EQ(form.DayDataList().Count(), 10);
  EXPECT_EQ(Sites(form), FirstStartSites);
  EXPECT_EQ(Host("ActMultiGraphForm")->geometry(), bottom);
  EXPECT_FALSE(form.Docks().IsPanelShown(dsRightPanel));
  EXPECT_FALSE(form.IsChange());

  form.SetIsChange(true);
  form.SaveCommand();
  ASSERT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  TChildWindowInfo saved;
  ReadLayout(diary, saved);
  EXPECT_TRUE(saved.RightPanelDockClientList.empty());
  EXPECT_TRUE(saved.RightTabDockClientList.empty());
  EXPECT_TRUE(saved.FloatingList.empty());
  ASSERT_EQ(saved.BottomPanelDockClientList.size(), 1u);
  EXPECT_EQ(saved.BottomPanelDockClientList[0].rfind("ActMultiGraphForm\t", 0), 0u);
  ASSERT_EQ(saved.BottomTabDockClientList.size(), 3u);
  EXPECT_EQ(saved.BottomTabDockClientList[0].rfind("GraphForm\t", 0), 0u);
  // The settings, written with the save, hold the live layout too.
  EXPECT_EQ(ReadSettings()->ChildWindowInfo.BottomTabDockClientList, saved.BottomTabDockClientList);
}

TEST_F(MainFormDockingTest, TheFourGraphItemsCloseAVisibleWindowAndShowAHiddenOne) {
  TMainForm& form = MakeForm();
  const struct {
    TMainCommand Command;
    const char* Name;
    const char* Text;
  } items[] = {
      {cmActGraph, "ActMultiGraphForm", "グラフ(&A)"},
      {cmDayGraph, "GraphForm", "日グラフ(&D)"},
      {cmMonthGraph, "MonthGraphForm", "月グラフ(&M)"},
      {cmYearGraph, "YearGraphForm", "年グラフ(&Y)"},
  };
  for (const auto& item : items) {
    SCOPED_TRACE(item.Name);
    QAction* action = form.Action(item.Command);
    TDockingForm* window = Window(item.Name);
    EXPECT_EQ(action->text(), QString::fromUtf8(item.Text));
    form.UpdateCommandStates();
    EXPECT_TRUE(action->isChecked());
    form.SetIsChange(false);
    action->trigger();
    EXPECT_FALSE(form.Docks().IsFormShown(window));
    EXPECT_FALSE(action->isChecked());
    Settle();
    // A closed window is a change of the layout the diary keeps.
    EXPECT_TRUE(form.IsChange());
    action->trigger();
    // A docked window closed from its item comes back floating at the desktop's top-left.
    EXPECT_TRUE(form.Docks().IsFormShown(window));
    EXPECT_TRUE(action->isChecked());
    EXPECT_EQ(form.Docks().Site(window), dsFloating);
    EXPECT_EQ(FloatingBounds(*Host(item.Name)),
              QRect(Desktop().topLeft(), QSize(DefaultFloatingWidth, DefaultFloatingHeight)));
  }
  EXPECT_FALSE(form.Docks().IsPanelShown(dsBottomPanel));
  EXPECT_EQ(form.Docks().TabStripSize(dsBottomTabs), 0);
}

// The View menu as the user sees it: "-" for a separator, hidden items left out.
QStringList ShownItems(const QMenu& menu) {
  QStringList texts;
  for (const QAction* action : menu.actions()) {
    if (!action->isVisible()) continue;
    texts << (action->isSeparator() ? QStringLiteral("-") : action->text());
  }
  return texts;
}

TEST_F(MainFormDockingTest, AllFeaturesShowTheHiddenWindowItemsAndStayChosen) {
  TMainForm& form = MakeForm();
  const QStringList standard{"体重・消費カロリーを表示する(&E)",
                             "ペースを表示する(&P)",
                             "-",
                             "グラフ(&A)",
                             "日グラフ(&D)",
                             "月グラフ(&M)",
                             "年グラフ(&Y)",
                             "-",
                             "全画面表示",
                             "-",
                             "すべての機能を表示する(&X)"};
  EXPECT_EQ(ShownItems(*form.ViewMenu()), standard);
  EXPECT_EQ(form.Action(cmFullScreen)->shortcut(), QKeySequence(Qt::Key_F11));
  EXPECT_FALSE(form.ViewItems().ShowAllAction()->isChecked());

  form.ViewItems().ShowAllAction()->trigger();
  const QStringList all{"体重・消費カロリーを表示する(&E)",
                        "ペースを表示する(&P)",
                        "-",
                        "グラフ(&A)",
                        "日グラフ(&D)",
                        "月グラフ(&M)",
                        "年グラフ(&Y)",
                        "グラフ（2データ）(&T)",
                        "リンク(&F)",
                        "リンクプレビュー(&P)",
                        "地図(&G)",
                        "速度グラフ(&S)",
                        "-",
                        "地図初期表示設定(&M)...",
                        "物リスト設定(&T)...",
                        "人リスト設定(&P)...",
                        "リンク表示設定(&L)...",
                        "全画面表示",
                        "-",
                        "すべての機能を表示する(&X)"};
  EXPECT_EQ(ShownItems(*form.ViewMenu()), all);
  // An item that was hidden works like the others.
  QAction* map = form.ViewItems().FormAction(QStringLiteral("GoogleMapForm"));
  map->trigger();
  EXPECT_TRUE(form.Docks().IsFormShown(Window("GoogleMapForm")));
  EXPECT_TRUE(map->isChecked());

  DestroyForm();
  EXPECT_TRUE(ReadSettings()->IsShowAll);
  TMainForm& again = MakeForm();
  EXPECT_TRUE(again.ViewItems().ShowAllAction()->isChecked());
  EXPECT_EQ(ShownItems(*again.ViewMenu()), all);
  // The map, shown for the first time, docked on the right; it comes back there.
  EXPECT_EQ(again.Docks().Site(Window("GoogleMapForm")), dsRightPanel);
  EXPECT_TRUE(again.Docks().IsFormShown(Window("GoogleMapForm")));
}

// A new user turns on every window from the View menu, one after the other: none opens as a
// caption without room; the first-start graphs keep theirs.
TEST_F(MainFormDockingTest, EveryWindowTurnedOnFromTheViewMenuGetsAUsableSize) {
  const fs::path diary = Dir / "all.hkvj";
  WriteDiary(diary, TenOutings());
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  form.ViewItems().SetShowAll(true);
  for (TDockingForm* window : form.DockingFormList()) {
    QAction* item = form.ViewItems().FormAction(window->Name());
    ASSERT_NE(item, nullptr);
    if (!item->isChecked()) item->trigger();
    Settle();
  }
  std::vector<QPoint> corners;
  for (TDockingForm* window : form.DockingFormList()) {
    SCOPED_TRACE(window->Name().toStdString());
    EXPECT_TRUE(form.Docks().IsFormShown(window));
    const TDockSite site = form.Docks().Site(window);
    if (site == dsBottomTabs || site == dsRightTabs) continue;
    const QSize size = form.Docks().Host(window)->size();
    EXPECT_GE(size.height(), window->Name().startsWith(QStringLiteral("Link")) ? 150 : 200);
    EXPECT_GE(size.width(), 200);
    if (site == dsFloating) {
      const QPoint corner = FloatingBounds(*form.Docks().Host(window)).topLeft();
      EXPECT_EQ(std::count(corners.begin(), corners.end(), corner), 0) << "floating windows cascade";
      corners.push_back(corner);
    }
  }
  EXPECT_GT(form.ListView()->height(), 100) << "the list keeps room for its rows";
  std::vector<QWidget*> shown{&form};
  for (TDockingForm* window : form.DockingFormList()) {
    if (form.Docks().Site(window) == dsFloating) shown.push_back(form.Docks().Host(window));
  }
  SaveDesktopScreenshot(shown, QStringLiteral("main_window_all_windows"));
}

TEST_F(MainFormDockingTest, ASearchWindowsChoiceReachesTheMainWindowOnlyThroughTheEventLoop) {
  const fs::path diary = Dir / "search.hkvj";
  WriteDiary(diary, TenOutings());
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  ASSERT_EQ(form.ListView()->SelectedRows(), QList<int>{9});
  const TActData* chosen = nullptr;
  RunDialog = [&](QDialog& dialog) {
    auto& search = dynamic_cast<TActForm&>(dialog);
    search.FillList();
    QTreeWidgetItem* item = search.ListView()->topLevelItem(2);
    chosen = search.Table().Rows[item->data(0, Qt::UserRole).toULongLong()].Act;
    search.ListView()->setCurrentItem(item);
    // The search window's own event is not over: the main window has not reacted yet.
    EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{9});
    return int(QDialog::Rejected);
  };
  form.Action(cmStringSearch)->trigger();
  ASSERT_NE(chosen, nullptr);
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{9});
  Settle();
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{form.ListModel()->RowOfAct(chosen)});
  EXPECT_NE(form.ListModel()->RowOfAct(chosen), 9);
}

}  // namespace
}  // namespace hakuvo::test
