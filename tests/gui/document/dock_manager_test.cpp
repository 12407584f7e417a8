#include <QAbstractButton>
#include <QAction>
#include <QDockWidget>
#include <QGuiApplication>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <algorithm>

#include "core/settings/app_data.h"
#include "document_test_support.h"
#include "gui/document/dock_parts.h"
#include "gui/document/view_menu_items.h"

namespace hakuvo::test {
namespace {

QRect Desktop() {
  EnsureApplication();
  return QGuiApplication::primaryScreen()->availableGeometry();
}

TEST(DockManagerTest, TheNineWindowsComeFromTheFactoryWithTheirNamesAndCaptions) {
  EnsureApplication();
  QStringList asked;
  // The factory makes only some windows, one of them under a wrong name and without caption.
  const TDockingFormFactory factory = [&](const QString& name) -> TDockingForm* {
    asked << name;
    if (name == "LinkForm") return new TCountingForm(QStringLiteral("Whatever"), QString());
    if (name == "SpeedForm") return new TCountingForm(name, QStringLiteral("own caption"));
    return nullptr;
  };
  TDockedWindow docked(nullptr, factory);
  // Windows that others need are made before them.
  EXPECT_EQ(asked, (QStringList{"GraphForm", "MonthGraphForm", "YearGraphForm", "MultiGraphForm", "ActMultiGraphForm",
                                "LinkPreviewForm", "GoogleMapForm", "SpeedForm", "LinkForm"}));
  const std::vector<std::pair<QString, QString>> expected = {
      {"GraphForm", "日グラフ"},      {"MonthGraphForm", "月グラフ"},
      {"YearGraphForm", "年グラフ"},  {"MultiGraphForm", "グラフ（2データ）"},
      {"LinkForm", "リンク"},         {"LinkPreviewForm", "リンクプレビュー"},
      {"GoogleMapForm", "地図"},      {"SpeedForm", "own caption"},
      {"ActMultiGraphForm", "グラフ"}};
  const std::vector<TDockingForm*>& forms = docked.Docks->DockingFormList();
  ASSERT_EQ(forms.size(), expected.size());
  for (std::size_t i = 0; i < forms.size(); ++i) {
    SCOPED_TRACE(expected[i].first.toStdString());
    EXPECT_EQ(forms[i]->Name(), expected[i].first);
    EXPECT_EQ(forms[i]->Caption(), expected[i].second);
    EXPECT_EQ(docked.Docks->Host(forms[i])->windowTitle(), expected[i].second);
    EXPECT_EQ(docked.Docks->Form(expected[i].first), forms[i]);
    // Nothing shows before a layout is restored.
    EXPECT_FALSE(docked.Docks->IsFormShown(forms[i]));
    EXPECT_EQ(docked.Docks->Site(forms[i]), dsFloating);
  }
  EXPECT_NE(dynamic_cast<TCountingForm*>(docked.Docks->Form("LinkForm")), nullptr);
  EXPECT_FALSE(docked.Docks->IsPanelShown(dsRightPanel));
  EXPECT_FALSE(docked.Docks->IsPanelShown(dsBottomPanel));
  EXPECT_EQ(docked.Docks->TabStripSize(dsRightTabs), 0);
  EXPECT_EQ(docked.Docks->TabStripSize(dsBottomTabs), 0);
}

TEST(DockManagerTest, ClosingTheOnlyWindowOfAPanelHidesItAndTheNextWindowBringsItBackAtItsLastSize) {
  TDockedWindow docked;
  TDockManager& docks = *docked.Docks;
  docks.DockInto(docked.Form("GraphForm"), dsRightPanel);
  Settle();
  ASSERT_TRUE(docks.IsPanelShown(dsRightPanel));
  EXPECT_EQ(docked.Host("GraphForm")->width(), DefaultPanelSize);
  docked.Window->resizeDocks({docked.Host("GraphForm")}, {240}, Qt::Horizontal);
  Settle();
  ASSERT_EQ(docks.PanelSize(dsRightPanel), 240);

  docks.CloseForm(docked.Form("GraphForm"));
  Settle();
  EXPECT_FALSE(docks.IsPanelShown(dsRightPanel));
  EXPECT_FALSE(docked.Host("GraphForm")->isVisible());
  EXPECT_EQ(docked.Window->dockWidgetArea(docked.Host("GraphForm")), Qt::RightDockWidgetArea);  // its frame floats
  EXPECT_TRUE(docked.Host("GraphForm")->isFloating());
  EXPECT_EQ(docks.PanelSize(dsRightPanel), 240);

  docks.DockInto(docked.Form("MonthGraphForm"), dsRightPanel);
  Settle();
  EXPECT_TRUE(docks.IsPanelShown(dsRightPanel));
  EXPECT_EQ(docked.Host("MonthGraphForm")->width(), 240);
}

TEST(DockManagerTest, AClosedDockedWindowComesBackFloatingAtTheDesktopCorner) {
  for (TDockSite site : {dsRightPanel, dsBottomPanel, dsRightTabs, dsBottomTabs}) {
    SCOPED_TRACE(int(site));
    TDiaryDocument document;
    TDockedWindow docked(&document);
    TAppData settings("/nonexistent");
    TViewMenuItems items(*docked.Docks, &settings);
    QAction* item = items.FormAction("YearGraphForm");
    TDockingForm* form = docked.Form("YearGraphForm");
    docked.Docks->DockInto(form, site);
    Settle();
    items.Update();
    ASSERT_TRUE(item->isChecked());
    document.SetIsChange(false);
    QSignalSpy closed(&document, &TDiaryDocument::ChildClosed);

    item->trigger();  // shown: the item closes it
    EXPECT_FALSE(docked.Docks->IsFormShown(form));
    EXPECT_FALSE(item->isChecked());
    EXPECT_EQ(closed.count(), 1);
    Settle();
    EXPECT_TRUE(document.IsChange());
    EXPECT_FALSE(docked.Docks->IsPanelShown(dsRightPanel));
    EXPECT_FALSE(docked.Docks->IsPanelShown(dsBottomPanel));
    EXPECT_EQ(docked.Docks->TabStripSize(dsRightTabs), 0);
    EXPECT_EQ(docked.Docks->TabStripSize(dsBottomTabs), 0);

    item->trigger();  // hidden: the item shows it
    Settle();
    EXPECT_TRUE(item->isChecked());
    EXPECT_EQ(docked.Docks->Site(form), dsFloating);
    EXPECT_TRUE(docked.Host("YearGraphForm")->isVisible());
    EXPECT_EQ(FloatingBounds(*docked.Host("YearGraphForm")),
              QRect(Desktop().topLeft(), QSize(DefaultFloatingWidth, DefaultFloatingHeight)));
    EXPECT_EQ(docked.Host("YearGraphForm")->widget(), form);
  }
}

TEST(DockManagerTest, AFloatingWindowClosedComesBackWhereItWasAndOneNeverShownDocksOnTheRight) {
  TDiaryDocument document;
  TDockedWindow docked(&document);
  TDockManager& docks = *docked.Docks;
  QSignalSpy closed(&document, &TDiaryDocument::ChildClosed);
  docks.MakeFloating(docked.Form("SpeedForm"), QRect(50, 60, 400, 300));
  docks.CloseForm(docked.Form("SpeedForm"));
  docks.CloseForm(docked.Form("SpeedForm"));
  EXPECT_EQ(closed.count(), 1);
  EXPECT_FALSE(docks.IsFormShown(docked.Form("SpeedForm")));
  docks.ShowForm(docked.Form("SpeedForm"));
  EXPECT_EQ(FloatingBounds(*docked.Host("SpeedForm")), QRect(50, 60, 400, 300));

  docks.ShowForm(docked.Form("GoogleMapForm"));
  EXPECT_TRUE(docks.IsFormShown(docked.Form("GoogleMapForm")));
  EXPECT_EQ(docks.Site(docked.Form("GoogleMapForm")), dsRightPanel);
  EXPECT_EQ(docks.PanelSize(dsRightPanel), DefaultPanelSize);

  // The frame's own close box follows the same rule as the View item.
  docks.DockInto(docked.Form("LinkForm"), dsBottomPanel);
  Settle();
  docked.Host("LinkForm")->close();
  EXPECT_EQ(closed.count(), 2);
  EXPECT_FALSE(docks.IsFormShown(docked.Form("LinkForm")));
  EXPECT_FALSE(docks.IsPanelShown(dsBottomPanel));
  // So does the window's own request.
  docks.ShowForm(docked.Form("LinkForm"));
  emit docked.Form("LinkForm")->CloseRequested();
  EXPECT_EQ(closed.count(), 3);
  EXPECT_FALSE(docks.IsFormShown(docked.Form("LinkForm")));

  // Once the main window has gone, a floating window closes as any window would.
  docks.ShowForm(docked.Form("SpeedForm"));
  docked.Window->hide();
  docked.Host("SpeedForm")->close();
  EXPECT_FALSE(docked.Host("SpeedForm")->isVisible());
  EXPECT_EQ(closed.count(), 3);
}

// Every window turned on for the first time, one after the other: each docks where it gets a
// usable size (the right panel while it has room, then the bottom one while neither panel is
// squeezed by it), the rest float without covering each other.
TEST(DockManagerTest, WindowsShownForTheFirstTimeDockWithAUsableSizeThenCascade) {
  TDockedWindow docked;
  TDockManager& docks = *docked.Docks;
  docked.Window->resize(942, 731);
  Settle();
  // A bottom panel already there (as at the first start) takes the windows the right cannot.
  docks.DockInto(docked.Form("ActMultiGraphForm"), dsBottomPanel);
  Settle();
  const char* const order[] = {"GoogleMapForm",  "LinkPreviewForm", "SpeedForm",      "LinkForm",         "GraphForm",
                               "MonthGraphForm", "YearGraphForm",   "MultiGraphForm", "ActMultiGraphForm"};
  for (const char* name : order) {
    docks.ShowForm(docked.Form(name));
    Settle();
  }
  std::vector<QPoint> floatingCorners;
  int right = 0;
  int bottom = 0;
  for (const char* name : order) {
    SCOPED_TRACE(name);
    TDockingForm* form = docked.Form(name);
    EXPECT_TRUE(docks.IsFormShown(form));
    const QSize size = docked.Host(name)->size();
    const int usable = QString::fromUtf8(name).startsWith("Link") ? 150 : 200;
    switch (docks.Site(form)) {
      case dsRightPanel:
        ++right;
        EXPECT_GE(size.height(), usable);
        EXPECT_GE(size.width(), 200);
        break;
      case dsBottomPanel:
        ++bottom;
        EXPECT_GE(size.height(), usable);
        EXPECT_GE(size.width(), 200);
        break;
      default:
        EXPECT_TRUE(docked.Host(name)->isFloating());
        EXPECT_EQ(
            std::count(floatingCorners.begin(), floatingCorners.end(), FloatingBounds(*docked.Host(name)).topLeft()),
            0);
        floatingCorners.push_back(FloatingBounds(*docked.Host(name)).topLeft());
    }
  }
  EXPECT_GE(right, 1);
  EXPECT_GE(bottom, 3);
  EXPECT_EQ(right + bottom + static_cast<int>(floatingCorners.size()), 9);
}

TEST(DockManagerTest, TabsPopTheirWindowOutBesideTheStripAndPinItIntoThePanel) {
  TDockedWindow docked;
  TDockManager& docks = *docked.Docks;
  TDockingForm* day = docked.Form("GraphForm");
  TDockingForm* month = docked.Form("MonthGraphForm");
  docks.DockInto(day, dsRightTabs);
  docks.DockInto(month, dsRightTabs);
  Settle();
  QTabBar* bar = docks.TabBar(dsRightTabs);
  ASSERT_EQ(bar->count(), 2);
  EXPECT_EQ(bar->tabText(0), "日グラフ");
  EXPECT_EQ(bar->tabText(1), "月グラフ");
  EXPECT_EQ(docks.TabStripSize(dsRightTabs), TDockManager::TabStripThickness);
  EXPECT_TRUE(bar->isVisible());
  EXPECT_FALSE(docks.IsPanelShown(dsRightPanel));
  EXPECT_TRUE(docks.IsFormShown(day));
  EXPECT_EQ(docks.PoppedOutForm(), nullptr);
  // No tab is drawn as chosen while no tab's window is out.
  auto* tabStrip = static_cast<TTabStrip*>(bar->parentWidget());
  EXPECT_FALSE(tabStrip->IsTabHighlighted());

  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(1).center());
  Settle();
  ASSERT_EQ(docks.PoppedOutForm(), month);
  EXPECT_TRUE(tabStrip->IsTabHighlighted());
  EXPECT_EQ(bar->currentIndex(), 1);
  EXPECT_TRUE(month->isVisible());
  const QRect popped = docks.PopOutGeometry();
  const QRect strip = bar->parentWidget()->geometry();
  EXPECT_EQ(popped.right() + 1, strip.left());  // right beside the strip
  EXPECT_EQ(popped.top(), strip.top());
  EXPECT_EQ(popped.height(), strip.height());
  EXPECT_EQ(popped.width(), DefaultDockWidth);

  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
  Settle();
  EXPECT_EQ(docks.PoppedOutForm(), day);
  EXPECT_EQ(docked.Host("MonthGraphForm")->widget(), month);  // back behind its tab
  QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(0).center());
  Settle();
  EXPECT_EQ(docks.PoppedOutForm(), nullptr);

  // A click elsewhere in the main window puts a popped-out window away.
  docks.PopOut(month);
  QTest::mouseClick(docked.Window->centralWidget(), Qt::LeftButton);
  EXPECT_EQ(docks.PoppedOutForm(), nullptr);

  // The pin docks it into the strip's panel; the last tab gone, the strip goes.
  docks.PopOut(month);
  QWidget* popOut = docked.Window->findChild<QWidget*>("TabPopOut");
  ASSERT_NE(popOut, nullptr);
  popOut->findChild<QAbstractButton*>("PinButton")->click();
  Settle();
  EXPECT_EQ(docks.Site(month), dsRightPanel);
  EXPECT_EQ(docked.Host("MonthGraphForm")->widget(), month);
  EXPECT_TRUE(docks.IsPanelShown(dsRightPanel));
  EXPECT_EQ(bar->count(), 1);
  docks.DockInto(day, dsBottomPanel);
  Settle();
  EXPECT_EQ(bar->count(), 0);
  EXPECT_EQ(docks.TabStripSize(dsRightTabs), 0);
  EXPECT_FALSE(bar->parentWidget()->isVisible());
}

TEST(DockManagerTest, ThePopOutOfTheBottomStripSitsAboveItAtTheStoredHeight) {
  TDockedWindow docked;
  TChildWindowInfo info;
  info.BottomTabDockClientList = {"ActMultiGraphForm\t150\t220"};
  docked.Docks->RestoreLayout(info);
  Settle();
  docked.Docks->PopOut(docked.Form("ActMultiGraphForm"));
  const QRect popped = docked.Docks->PopOutGeometry();
  const QWidget* strip = docked.Docks->TabBar(dsBottomTabs)->parentWidget();
  EXPECT_EQ(popped.height(), 220);
  EXPECT_EQ(popped.bottom() + 1, strip->geometry().top());
  EXPECT_EQ(popped.left(), 0);
}

TEST(DockManagerTest, EveryRearrangementMarksTheDiaryModified) {
  TDiaryDocument document;
  TDockedWindow docked(&document);
  TDockManager& docks = *docked.Docks;
  const std::vector<std::pair<const char*, std::function<void()>>> changes = {
      {"into the right panel", [&] { docks.DockInto(docked.Form("GraphForm"), dsRightPanel); }},
      {"onto the bottom strip", [&] { docks.DockInto(docked.Form("GraphForm"), dsBottomTabs); }},
      {"floating", [&] { docks.MakeFloating(docked.Form("GraphForm"), QRect(10, 10, 300, 200)); }},
      {"dragged in by the user",
       [&] {
         docked.Window->addDockWidget(Qt::BottomDockWidgetArea, docked.Host("GraphForm"));
         docked.Host("GraphForm")->setFloating(false);
       }},
  };
  for (const auto& [name, change] : changes) {
    SCOPED_TRACE(name);
    document.SetIsChange(false);
    QSignalSpy spy(docked.Docks, &TDockManager::LayoutChanged);
    change();
    Settle();
    EXPECT_GE(spy.count(), 1);
    EXPECT_TRUE(document.IsChange());
  }
  // Qt's own docking is followed like the manager's.
  EXPECT_EQ(docks.Site(docked.Form("GraphForm")), dsBottomPanel);
  EXPECT_TRUE(docks.IsPanelShown(dsBottomPanel));
  EXPECT_EQ(docked.Host("GraphForm")->height(), DefaultPanelSize);
}

TEST(DockManagerTest, ADoubleClickOnAPanelsSplitterSharesThePanelEvenly) {
  TDockedWindow docked;
  TDockManager& docks = *docked.Docks;
  docks.DockInto(docked.Form("GraphForm"), dsBottomPanel);
  docks.DockInto(docked.Form("MonthGraphForm"), dsBottomPanel);
  Settle();
  QDockWidget* left = docked.Host("GraphForm");
  QDockWidget* right = docked.Host("MonthGraphForm");
  docked.Window->resizeDocks({left, right}, {150, 550}, Qt::Horizontal);
  Settle();
  ASSERT_GT(std::abs(left->width() - right->width()), 100);
  const QPoint splitter((left->geometry().right() + right->geometry().left()) / 2, left->geometry().center().y());
  ASSERT_EQ(docked.Window->childAt(splitter), nullptr);
  QTest::mouseDClick(docked.Window.get(), Qt::LeftButton, {}, splitter);
  Settle();
  EXPECT_LE(std::abs(left->width() - right->width()), 2);
}

TEST(DockManagerTest, MovingASplitterIsAChangeAndThePanelKeepsItsNewSize) {
  TDiaryDocument document;
  TDockedWindow docked(&document);
  TDockManager& docks = *docked.Docks;
  docks.DockInto(docked.Form("LinkForm"), dsRightPanel);
  Settle();
  document.SetIsChange(false);
  QSignalSpy changed(docked.Docks, &TDockManager::LayoutChanged);
  const QRect panel = docked.Host("LinkForm")->geometry();
  const QPoint splitter(panel.left() - 2, panel.center().y());
  ASSERT_EQ(docked.Window->childAt(splitter), nullptr);
  QTest::mousePress(docked.Window.get(), Qt::LeftButton, {}, splitter);
  const QPoint target = splitter - QPoint(60, 0);
  QMouseEvent drag(QEvent::MouseMove, target, docked.Window->mapToGlobal(target), Qt::NoButton, Qt::LeftButton,
                   Qt::NoModifier);
  QApplication::sendEvent(docked.Window.get(), &drag);
  Settle();  // Qt moves a splitter on its next turn
  QTest::mouseRelease(docked.Window.get(), Qt::LeftButton, {}, splitter - QPoint(60, 0));
  Settle();
  EXPECT_EQ(changed.count(), 1);
  EXPECT_TRUE(document.IsChange());
  const int widened = docks.PanelSize(dsRightPanel);
  EXPECT_GT(widened, DefaultPanelSize);
  // Emptied and filled again, the panel comes back at the size the user gave it.
  docks.CloseForm(docked.Form("LinkForm"));
  docks.DockInto(docked.Form("LinkPreviewForm"), dsRightPanel);
  Settle();
  EXPECT_EQ(docks.PanelSize(dsRightPanel), widened);

  // A click in the work area moves no splitter.
  changed.clear();
  QTest::mouseClick(docked.Window->centralWidget(), Qt::LeftButton);
  EXPECT_EQ(changed.count(), 0);
}

TEST(DockManagerTest, DocumentMessagesReachEveryWindowInTurn) {
  TDiaryDocument document;
  TDockedWindow docked(&document);
  emit document.DataChanged();
  emit document.LinkViewChanged();
  emit document.GpsRangeChanged();
  emit document.GpsRangeChanged();
  for (TDockingForm* form : docked.Docks->DockingFormList()) EXPECT_EQ(static_cast<TCountingForm*>(form)->Refreshes, 0);
  Settle();
  for (TDockingForm* form : docked.Docks->DockingFormList()) {
    SCOPED_TRACE(form->Name().toStdString());
    const auto* counting = static_cast<TCountingForm*>(form);
    EXPECT_EQ(counting->Refreshes, 1);
    EXPECT_EQ(counting->LinkViews, 1);
    EXPECT_EQ(counting->GpsRanges, 2);
  }
}

TEST(ViewMenuItemsTest, ExtendedItemsShowOnlyWithAllFeaturesAndTheChoiceIsKept) {
  TDockedWindow docked;
  TAppData settings("/nonexistent");
  TViewMenuItems items(*docked.Docks, &settings);
  QMenu menu;
  items.AddFormItems(menu);
  items.AddShowAllItem(menu);
  QAction thingList(QStringLiteral("物リスト設定(&T)..."));
  items.AddExtendedCommand(&thingList);

  QStringList texts;
  for (QAction* action : menu.actions()) texts << action->text();
  EXPECT_EQ(texts, (QStringList{"グラフ(&A)", "日グラフ(&D)", "月グラフ(&M)", "年グラフ(&Y)", "グラフ（2データ）(&T)",
                                "リンク(&F)", "リンクプレビュー(&P)", "地図(&G)", "速度グラフ(&S)", "",
                                "すべての機能を表示する(&X)"}));
  auto visibleItems = [&] {
    QStringList visible;
    for (QAction* action : menu.actions()) {
      if (action->isVisible() && !action->isSeparator()) visible << action->text();
    }
    if (thingList.isVisible()) visible << thingList.text();
    return visible;
  };
  EXPECT_EQ(visibleItems(),
            (QStringList{"グラフ(&A)", "日グラフ(&D)", "月グラフ(&M)", "年グラフ(&Y)", "すべての機能を表示する(&X)"}));
  items.ShowAllAction()->trigger();
  EXPECT_TRUE(settings.IsShowAll);
  EXPECT_EQ(visibleItems().size(), 11);
  items.ShowAllAction()->trigger();
  EXPECT_FALSE(settings.IsShowAll);
  EXPECT_FALSE(thingList.isVisible());

  // A stored choice is there from the start.
  settings.IsShowAll = true;
  TViewMenuItems again(*docked.Docks, &settings);
  EXPECT_TRUE(again.ShowAllAction()->isChecked());
  EXPECT_TRUE(again.FormAction("GoogleMapForm")->isVisible());
}

TEST(ViewMenuItemsTest, CheckMarksFollowTheWindowsHoweverTheyAreShownOrClosed) {
  TDockedWindow docked;
  TViewMenuItems items(*docked.Docks, nullptr);
  QAction* day = items.FormAction("GraphForm");
  EXPECT_FALSE(day->isChecked());
  docked.Docks->DockInto(docked.Form("GraphForm"), dsBottomPanel);
  EXPECT_TRUE(day->isChecked());
  docked.Host("GraphForm")->close();
  EXPECT_FALSE(day->isChecked());
  day->trigger();
  EXPECT_TRUE(day->isChecked());
  EXPECT_TRUE(docked.Docks->IsFormShown(docked.Form("GraphForm")));
  EXPECT_EQ(items.FormAction("NoSuchForm"), nullptr);
}

}  // namespace
}  // namespace hakuvo::test
