#include <QDockWidget>
#include <QGuiApplication>
#include <QScreen>
#include <QTabBar>
#include <map>

#include "core/settings/app_data.h"
#include "document_test_support.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

QRect Desktop() {
  EnsureApplication();
  return QGuiApplication::primaryScreen()->availableGeometry();
}

// Where every window is, in one text: "name:site" for each shown window, in list order.
std::string Sites(const TDockManager& docks) {
  static const char* const names[] = {"floating", "right panel", "right tab", "bottom panel", "bottom tab"};
  std::string text;
  for (const TDockingForm* form : docks.DockingFormList()) {
    if (!docks.IsFormShown(form)) continue;
    text += form->Name().toStdString() + ":" + names[docks.Site(form)] + " ";
  }
  return text;
}

// Every window, panel and strip as the user would find them.
void ExpectSane(const TDockedWindow& docked) {
  const TDockManager& docks = *docked.Docks;
  for (const TDockingForm* form : docks.DockingFormList()) {
    SCOPED_TRACE(form->Name().toStdString());
    const QDockWidget* host = docks.Host(form);
    if (docks.Site(form) == dsRightTabs || docks.Site(form) == dsBottomTabs) {
      EXPECT_FALSE(host->isVisible());
      continue;
    }
    if (!host->isVisible()) continue;
    EXPECT_GE(host->width(), 1);
    EXPECT_GE(host->height(), 1);
    if (host->isFloating()) {
      EXPECT_TRUE(Desktop().intersects(FloatingBounds(*host)));
    }
  }
  for (TDockSite panel : {dsRightPanel, dsBottomPanel}) {
    if (docks.IsPanelShown(panel)) {
      EXPECT_TRUE(IsUsableWindowSize(docks.PanelSize(panel)));
    }
  }
  for (TDockSite strip : {dsRightTabs, dsBottomTabs}) {
    EXPECT_EQ(docks.TabBar(strip)->parentWidget()->isVisible(), docks.TabStripSize(strip) > 0);
  }
}

TEST(DockLayoutTest, AFloatingWindowComesBackWhereItWasAfterARestart) {
  TChildWindowInfo info;
  {
    TDockedWindow docked;
    docked.Docks->MakeFloating(docked.Form("MonthGraphForm"), QRect(100, 100, 640, 480));
    Settle();
    docked.Docks->StoreLayout(info);
  }
  EXPECT_EQ(info.FloatingList, TStringList{"MonthGraphForm\t100\t100\t640\t480"});
  TDockedWindow restarted;
  restarted.Docks->RestoreLayout(info);
  Settle();
  const QDockWidget* host = restarted.Host("MonthGraphForm");
  EXPECT_TRUE(host->isVisible());
  EXPECT_TRUE(host->isFloating());
  EXPECT_EQ(FloatingBounds(*host), QRect(100, 100, 640, 480));
}

TEST(DockLayoutTest, AWholeArrangementSurvivesARestart) {
  TChildWindowInfo info;
  std::string before;
  QList<int> bottomWidths;
  {
    TDockedWindow docked;
    TDockManager& docks = *docked.Docks;
    docks.DockInto(docked.Form("LinkForm"), dsRightPanel);
    docks.DockInto(docked.Form("LinkPreviewForm"), dsRightPanel);
    docks.DockInto(docked.Form("ActMultiGraphForm"), dsBottomPanel);
    docks.DockInto(docked.Form("MultiGraphForm"), dsBottomPanel);
    docks.DockInto(docked.Form("GoogleMapForm"), dsRightTabs);
    docks.DockInto(docked.Form("GraphForm"), dsBottomTabs);
    docks.DockInto(docked.Form("YearGraphForm"), dsBottomTabs);
    docks.MakeFloating(docked.Form("SpeedForm"), QRect(30, 40, 350, 250));
    docks.MakeFloating(docked.Form("MonthGraphForm"), QRect(60, 70, 300, 200));
    docks.CloseForm(docked.Form("MonthGraphForm"));  // hidden: not kept
    Settle();
    docked.Window->resizeDocks({docked.Host("ActMultiGraphForm"), docked.Host("MultiGraphForm")}, {200, 500},
                               Qt::Horizontal);
    docked.Window->resizeDocks({docked.Host("LinkForm")}, {260}, Qt::Horizontal);
    Settle();
    bottomWidths = {docked.Host("ActMultiGraphForm")->width(), docked.Host("MultiGraphForm")->width()};
    before = Sites(docks);
    docks.StoreLayout(info);
  }
  EXPECT_EQ(info.RightPanelDockClientList.size(), 2u);
  EXPECT_EQ(info.RightPanelDockClientList[0].rfind("LinkForm\t260\t", 0), 0u);
  EXPECT_EQ(info.RightPanelDockClientList[1].rfind("LinkPreviewForm\t260\t", 0), 0u);
  EXPECT_EQ(info.RightTabDockClientList, TStringList{"GoogleMapForm\t300\t150"});
  EXPECT_EQ(info.BottomTabDockClientList, (TStringList{"GraphForm\t300\t150", "YearGraphForm\t300\t150"}));
  EXPECT_EQ(info.FloatingList, TStringList{"SpeedForm\t30\t40\t350\t250"});
  EXPECT_EQ(info.RightPanelWidth, 260);
  EXPECT_FALSE(info.RightPanelDockInfo.empty());
  EXPECT_FALSE(info.BottomPanelDockInfo.empty());

  TDockedWindow restarted;
  restarted.Docks->RestoreLayout(info);
  Settle();
  EXPECT_EQ(Sites(*restarted.Docks), before);
  EXPECT_FALSE(restarted.Docks->IsFormShown(restarted.Form("MonthGraphForm")));
  EXPECT_EQ(restarted.Docks->PanelSize(dsRightPanel), 260);
  // The panes keep the split Qt stored for them.
  EXPECT_NEAR(restarted.Host("ActMultiGraphForm")->width(), bottomWidths[0], 2);
  EXPECT_NEAR(restarted.Host("MultiGraphForm")->width(), bottomWidths[1], 2);
  TChildWindowInfo again;
  restarted.Docks->StoreLayout(again);
  EXPECT_EQ(again.RightPanelDockClientList, info.RightPanelDockClientList);
  EXPECT_EQ(again.RightTabDockClientList, info.RightTabDockClientList);
  EXPECT_EQ(again.BottomTabDockClientList, info.BottomTabDockClientList);
  EXPECT_EQ(again.FloatingList, info.FloatingList);
  EXPECT_EQ(again.BottomPanelHeight, info.BottomPanelHeight);
  ExpectSane(restarted);

  // Without a pane stream, the panes share the panel evenly.
  info.BottomPanelDockInfo.clear();
  info.RightPanelDockInfo.clear();
  TDockedWindow even;
  even.Docks->RestoreLayout(info);
  Settle();
  EXPECT_EQ(Sites(*even.Docks), before);
  EXPECT_NEAR(even.Host("ActMultiGraphForm")->width(), even.Host("MultiGraphForm")->width(), 2);
}

TEST(DockLayoutTest, TheFirstStartDocksTheActionGraphBelowAndTheThreeGraphsAsTabs) {
  TTempFolder folder;
  TAppData settings(folder.Path());
  settings.SetMode(ctJogging);
  settings.Read();  // no file yet
  TDockedWindow docked;
  docked.Docks->RestoreLayout(settings.ChildWindowInfo);
  Settle();
  EXPECT_EQ(Sites(*docked.Docks),
            "GraphForm:bottom tab MonthGraphForm:bottom tab YearGraphForm:bottom tab ActMultiGraphForm:bottom panel ");
  EXPECT_EQ(docked.Docks->PanelSize(dsBottomPanel), DefaultPanelSize);
  EXPECT_FALSE(docked.Docks->IsPanelShown(dsRightPanel));
  EXPECT_EQ(docked.Docks->TabStripSize(dsRightTabs), 0);
  EXPECT_EQ(docked.Docks->TabStripSize(dsBottomTabs), TDockManager::TabStripThickness);
  const QTabBar* tabs = docked.Docks->TabBar(dsBottomTabs);
  ASSERT_EQ(tabs->count(), 3);
  EXPECT_EQ(tabs->tabText(0), "日グラフ");
  EXPECT_EQ(tabs->tabText(1), "月グラフ");
  EXPECT_EQ(tabs->tabText(2), "年グラフ");
  ExpectSane(docked);
}

TEST(DockLayoutTest, StoredSizesThatAreNoSizesGiveTheDefaults) {
  const struct {
    std::string Entry;
    std::string Stored;
  } cases[] = {
      {"GraphForm\tabc\t100", "GraphForm\t300\t150"},        {"GraphForm\t-40\t100", "GraphForm\t300\t150"},
      {"GraphForm\t2000000000\t100", "GraphForm\t300\t150"}, {"GraphForm", "GraphForm\t300\t150"},
      {"GraphForm\t180\t240", "GraphForm\t180\t240"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Entry);
    TDockedWindow docked;
    TChildWindowInfo info;
    info.RightTabDockClientList = {c.Entry};
    docked.Docks->RestoreLayout(info);
    Settle();
    EXPECT_EQ(docked.Docks->Site(docked.Form("GraphForm")), dsRightTabs);
    TChildWindowInfo stored;
    docked.Docks->StoreLayout(stored);
    EXPECT_EQ(stored.RightTabDockClientList, TStringList{c.Stored});
  }
}

TEST(DockLayoutTest, FloatingWindowsOutOfReachComeBackAtTheCornerWithTheirSize) {
  const QRect desktop = Desktop();
  const struct {
    int Left, Top;
    bool Moved;
  } cases[] = {
      {100, desktop.top() - 11, true},                                     // 11 pixels above the top
      {100, desktop.top() - 10, false}, {desktop.left() - 401, 50, true},  // further left than its width
      {desktop.right() + 2, 50, true},  {-20000, -20000, true},           {2000000000, 2000000000, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::to_string(c.Left) + "," + std::to_string(c.Top));
    TDockedWindow docked;
    TChildWindowInfo info;
    info.FloatingList = {FormatFloatingEntry({"SpeedForm", c.Left, c.Top, 400, 300})};
    docked.Docks->RestoreLayout(info);
    Settle();
    const QDockWidget* host = docked.Host("SpeedForm");
    EXPECT_TRUE(host->isVisible());
    EXPECT_EQ(FloatingBounds(*host), c.Moved ? QRect(0, 0, 400, 300) : QRect(c.Left, c.Top, 400, 300));
  }
}

TEST(DockLayoutTest, HiddenFloatingWindowsAndTabsWithoutTheirCaptionAreNotStored) {
  TDockedWindow docked;
  TDockManager& docks = *docked.Docks;
  docks.MakeFloating(docked.Form("SpeedForm"), QRect(10, 10, 300, 200));
  docks.CloseForm(docked.Form("SpeedForm"));
  docks.DockInto(docked.Form("LinkForm"), dsRightTabs);
  docks.DockInto(docked.Form("GraphForm"), dsRightTabs);
  // A window whose caption changed after it docked answers to no tab any more.
  docked.Form("LinkForm")->SetCaption(QStringLiteral("リンク (3)"));
  TChildWindowInfo info;
  docks.StoreLayout(info);
  EXPECT_TRUE(info.FloatingList.empty());
  EXPECT_EQ(info.RightTabDockClientList, TStringList{"GraphForm\t300\t150"});

  TDockedWindow restarted;
  restarted.Docks->RestoreLayout(info);
  Settle();
  EXPECT_FALSE(restarted.Docks->IsFormShown(restarted.Form("SpeedForm")));
  EXPECT_FALSE(restarted.Docks->IsFormShown(restarted.Form("LinkForm")));
  EXPECT_EQ(Sites(*restarted.Docks), "GraphForm:right tab ");
}

TEST(DockLayoutTest, ALayoutFullOfNonsenseStillGivesAUsableWindow) {
  TChildWindowInfo info;
  info.RightPanelWidth = -300;
  info.BottomPanelHeight = 2000000000;
  info.RightPanelDockClientList = {"NoSuchForm\t100\t100", "", "\t\t", "LinkForm\t-1\t-1", "LinkForm\t5\t5"};
  info.RightTabDockClientList = {std::string(100000, '\t'), "GraphForm\tx\ty"};
  info.BottomPanelDockClientList = {"ActMultiGraphForm\t99999999\t0", "graphform\t100\t100"};
  info.BottomTabDockClientList = {"ActMultiGraphForm\t100\t100"};  // named twice: the last entry wins
  info.FloatingList = {"SpeedForm\t-99999\t-99999\t-5\t-5", "NoSuchForm\t1\t1\t1\t1", "GoogleMapForm\t5",
                       "YearGraphForm\t20\t20\t300\t200\tmore"};
  info.RightPanelDockInfo = "this is not a stream Qt wrote";
  info.BottomPanelDockInfo = std::string("\0\0\0\xff\xff\xff", 6);
  TDockedWindow docked;
  docked.Docks->RestoreLayout(info);
  Settle();
  EXPECT_EQ(Sites(*docked.Docks),
            "GraphForm:right tab YearGraphForm:floating LinkForm:right panel GoogleMapForm:floating "
            "SpeedForm:floating ActMultiGraphForm:bottom tab ");
  EXPECT_EQ(docked.Docks->PanelSize(dsRightPanel), DefaultPanelSize);
  EXPECT_FALSE(docked.Docks->IsPanelShown(dsBottomPanel));
  EXPECT_EQ(FloatingBounds(*docked.Host("SpeedForm")), QRect(0, 0, 640, 480));
  EXPECT_EQ(FloatingBounds(*docked.Host("GoogleMapForm")), QRect(0, 0, 640, 480));
  EXPECT_EQ(FloatingBounds(*docked.Host("YearGraphForm")), QRect(20, 20, 300, 200));
  ExpectSane(docked);
}

TEST(DockLayoutTest, APaneStreamThatDisagreesWithTheListsLosesToThem) {
  TChildWindowInfo other;
  {
    TDockedWindow docked;
    docked.Docks->DockInto(docked.Form("GraphForm"), dsRightPanel);
    docked.Docks->DockInto(docked.Form("MonthGraphForm"), dsRightPanel);
    Settle();
    docked.Docks->StoreLayout(other);
  }
  // The lists say bottom; the stream says right.
  TChildWindowInfo info;
  info.BottomPanelDockClientList = {"GraphForm\t200\t300", "MonthGraphForm\t200\t300"};
  info.BottomPanelDockInfo = other.RightPanelDockInfo;
  TDockedWindow docked;
  docked.Docks->RestoreLayout(info);
  Settle();
  EXPECT_EQ(Sites(*docked.Docks), "GraphForm:bottom panel MonthGraphForm:bottom panel ");
  EXPECT_FALSE(docked.Docks->IsPanelShown(dsRightPanel));
  EXPECT_NEAR(docked.Host("GraphForm")->width(), docked.Host("MonthGraphForm")->width(), 2);
  ExpectSane(docked);
}

TEST(DockLayoutTest, ALayoutReadWithADiaryChangesNoWindowAndTheNextSaveStoresTheLiveOne) {
  TTempFolder folder;
  const fs::path other = folder.Path() / "other.hkvj";
  {
    TDiary diary(other.string());
    diary.ChildWindowInfo.RightPanelDockClientList = {"LinkForm\t300\t300"};
    diary.ChildWindowInfo.FloatingList = {"SpeedForm\t1\t2\t300\t200"};
    diary.Save();
  }
  TChildWindowInfo settingsLayout;
  settingsLayout.BottomPanelDockClientList = {"ActMultiGraphForm\t150\t300"};
  TDiaryDocument document;
  document.SetChildWindowInfo(&settingsLayout);
  TDockedWindow docked(&document);
  docked.Docks->RestoreLayout(settingsLayout);
  Settle();
  const std::string live = Sites(*docked.Docks);

  document.Open(other.string());
  Settle();
  EXPECT_EQ(Sites(*docked.Docks), live);
  EXPECT_EQ(settingsLayout.RightPanelDockClientList, TStringList{"LinkForm\t300\t300"});  // read, not applied

  const fs::path saved = folder.Path() / "saved.hkvj";
  document.SaveAs(saved.string());
  TDiary reread(saved.string());
  reread.Load();
  EXPECT_TRUE(reread.ChildWindowInfo.RightPanelDockClientList.empty());
  EXPECT_TRUE(reread.ChildWindowInfo.FloatingList.empty());
  ASSERT_EQ(reread.ChildWindowInfo.BottomPanelDockClientList.size(), 1u);
  EXPECT_EQ(reread.ChildWindowInfo.BottomPanelDockClientList[0].rfind("ActMultiGraphForm\t", 0), 0u);
}

TEST(DockLayoutTest, RestoringIsNotAChangeOfTheDiary) {
  TDiaryDocument document;
  TDockedWindow docked(&document);
  TChildWindowInfo info;
  info.BottomPanelDockClientList = {"ActMultiGraphForm\t150\t300"};
  info.BottomTabDockClientList = {"GraphForm\t150\t300"};
  info.FloatingList = {"SpeedForm\t10\t10\t300\t200"};
  docked.Docks->RestoreLayout(info);
  Settle();
  EXPECT_FALSE(document.IsChange());
}

TEST(DockLayoutTest, ALayoutRestoredBeforeTheMainWindowShowsTakesEffectWhenItShows) {
  EnsureApplication();
  QMainWindow window;
  window.setCentralWidget(new QLabel(QStringLiteral("work area")));
  window.setGeometry(20, 20, 760, 560);
  auto* docks = new TDockManager(window, nullptr, CountingFormFactory());
  TChildWindowInfo info;
  info.RightPanelWidth = 240;
  info.BottomPanelHeight = 180;
  info.RightPanelDockClientList = {"LinkForm\t240\t300"};
  info.BottomPanelDockClientList = {"ActMultiGraphForm\t150\t180", "GraphForm\t150\t180"};
  info.FloatingList = {"SpeedForm\t100\t100\t640\t480"};
  docks->RestoreLayout(info);
  window.show();
  Settle();
  EXPECT_EQ(docks->PanelSize(dsRightPanel), 240);
  EXPECT_EQ(docks->PanelSize(dsBottomPanel), 180);
  EXPECT_NEAR(docks->Host(docks->Form("ActMultiGraphForm"))->width(), docks->Host(docks->Form("GraphForm"))->width(),
              2);
  EXPECT_EQ(FloatingBounds(*docks->Host(docks->Form("SpeedForm"))), QRect(100, 100, 640, 480));
}

}  // namespace
}  // namespace hakuvo::test
