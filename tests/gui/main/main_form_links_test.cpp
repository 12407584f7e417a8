// The link window as the main window drives it: the chosen outing's links, the thing and person
// list commands, and outings that go while the window shows their links.
#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QStandardItemModel>
#include <QUrl>

#include <functional>
#include <memory>
#include <vector>

#include "core/model/act_data.h"
#include "core/model/day_data.h"
#include "core/model/link_data.h"
#include "gui/document/view_menu_items.h"
#include "gui/document/window_ports.h"
#include "gui/links/link_form.h"
#include "gui/links/link_preview_form.h"
#include "gui/links/thing_list_set_dialog.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

struct TFakeMap : TMapPort {
  void SetMapCategory(const std::string&) override {}
  void SetMapLinkData(const TLinkData* link) override { Link = link; }
  void PanTo(double, double, bool) override {}
  void CreateMarker(double, double, bool) override {}
  void ClearMap() override {
    Link = nullptr;
    ++Clears;
  }
  bool EditPlace(QWidget*, TPlace&) override { return false; }
  const TLinkData* Link = nullptr;
  int Clears = 0;
};

class MainFormLinksTest : public MainFormTest {
 protected:
  TMainForm& MakeDiary() {
    const fs::path diary = Dir / "links.hkvj";
    WriteDiary(diary, {{2024, 5, 1, "run 0"}, {2024, 5, 2, "run 1"}});
    TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
    Links = form.LinkForm();
    form.Docks().DockInto(Links, dsRightPanel);
    form.Docks().DockInto(form.Docks().Form("LinkPreviewForm"), dsBottomPanel);
    Settle();
    return form;
  }
  TActData* Act(int day) { return Form->DayDataList()[day]->ActDataList[0]; }
  TLinkData* AddFile(TActData* act, const std::string& name) {
    TLinkData* link = Form->FileList().Add(CreateFileLink((Dir / name).string()));
    act->LinkDataList.Add(link);
    return link;
  }
  TThingLink* AddThing(const std::string& name) {
    auto thing = std::make_unique<TThingLink>();
    thing->SetName(name);
    return static_cast<TThingLink*>(Form->ThingList().Add(std::move(thing)));
  }
  QStringList Rows() const {
    QStringList rows;
    for (int row = 0; row < Links->Model()->rowCount(); ++row) rows << Links->Model()->item(row, 0)->text();
    return rows;
  }

  // The link window's selected rows as its view starts a drag of them.
  std::unique_ptr<QMimeData> DragSelected(std::initializer_list<int> rows) const {
    QItemSelectionModel* selection = Links->CurrentView()->selectionModel();
    selection->clear();
    for (const int row : rows)
      selection->select(Links->Model()->index(row, 0), QItemSelectionModel::Select | QItemSelectionModel::Rows);
    return std::unique_ptr<QMimeData>(Links->Model()->mimeData(selection->selectedIndexes()));
  }
  QPoint RowPoint(const TActData* act) const {
    return Form->ListView()->visualRect(Form->ListModel()->index(Form->ListModel()->RowOfAct(act), 0)).center();
  }
  // Enters the main list's rows, moves to the point and drops there, as the desktop delivers a
  // drag; whether the drop was taken.
  bool DropOnList(const QMimeData& data, QPoint at) const {
    QWidget* viewport = Form->ListView()->viewport();
    QDragEnterEvent enter(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &enter);
    QDragMoveEvent move(at, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &move);
    QDropEvent drop(QPointF(at), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(viewport, &drop);
    return drop.isAccepted();
  }
  // Both outings' links shown in the link window; the first outing's, with its first link chosen.
  void ShowFirstOutingsLinks() {
    Links->SetPorts(&Ports);
    Form->SelectAct(Act(0));
    Settle();
    Form->SetIsChange(false);
  }

  TLinkForm* Links = nullptr;
  TFakeMap Map;
  TWindowPorts Ports{&Map, nullptr};
};

TEST_F(MainFormLinksTest, TheChosenOutingsLinksShowAndGoWithTheOuting) {
  TMainForm& form = MakeDiary();
  ASSERT_NE(Links, nullptr);
  ASSERT_NE(qobject_cast<TLinkPreviewForm*>(form.Docks().Form("LinkPreviewForm")), nullptr);
  AddFile(Act(0), "a.txt");
  AddFile(Act(0), "b.txt");
  AddFile(Act(1), "c.txt");
  form.SelectAct(Act(0));
  Settle();
  ASSERT_EQ(Links->LinkDataList(), &Act(0)->LinkDataList);
  EXPECT_EQ(Rows(), QStringList({"a.txt", "b.txt"}));
  EXPECT_EQ(Links->Category(), "ジョギング");
  form.SelectAct(Act(1));
  Settle();
  EXPECT_EQ(Rows(), QStringList({"c.txt"}));

  // The outing shown goes: the window lets go of its links before they are freed, and shows those
  // of the outing chosen next.
  form.DeleteActCommand();
  Settle();
  EXPECT_EQ(Links->LinkDataList(), &Act(0)->LinkDataList);
  EXPECT_EQ(Rows(), QStringList({"a.txt", "b.txt"}));
  form.DeleteActCommand();
  Settle();
  EXPECT_EQ(Links->LinkDataList(), nullptr);
  EXPECT_EQ(Rows(), QStringList());
}

TEST_F(MainFormLinksTest, LinksDroppedOnAnotherOutingsRowMoveThereInListOrder) {
  TMainForm& form = MakeDiary();
  std::vector<TLinkData*> first;
  for (const char* name : {"a.txt", "b.txt", "c.txt"}) first.push_back(AddFile(Act(0), name));
  TLinkData* kept = AddFile(Act(1), "d.txt");
  ShowFirstOutingsLinks();
  ASSERT_EQ(Rows(), QStringList({"a.txt", "b.txt", "c.txt"}));
  const auto data = DragSelected({2, 0});
  ASSERT_NE(data, nullptr);
  ASSERT_NE(Map.Link, nullptr) << "a chosen file is on the map";
  auto* preview = qobject_cast<TLinkPreviewForm*>(form.Docks().Form("LinkPreviewForm"));
  ASSERT_NE(preview->LinkData(), nullptr);
  const int clears = Map.Clears;

  EXPECT_TRUE(DropOnList(*data, RowPoint(Act(1))));
  EXPECT_EQ(Act(1)->LinkDataList.Data(), (std::vector<TLinkData*>{kept, first[0], first[2]}));
  EXPECT_EQ(Act(0)->LinkDataList.Data(), (std::vector<TLinkData*>{first[1]}));
  EXPECT_EQ(Rows(), QStringList({"b.txt"}));
  EXPECT_EQ(Links->LinkDataList(), &Act(0)->LinkDataList) << "the window still shows the outing they left";
  EXPECT_TRUE(form.IsChange());
  EXPECT_EQ(Map.Link, nullptr);
  EXPECT_EQ(Map.Clears, clears + 1);
  EXPECT_EQ(preview->LinkData(), nullptr);
  EXPECT_EQ(form.FileList().Count(), 4) << "the links are moved, never freed";

  // The same drag again: its links are no longer where it took them from.
  form.SetIsChange(false);
  DropOnList(*data, RowPoint(Act(1)));
  EXPECT_EQ(Act(1)->LinkDataList.Count(), 3);
  EXPECT_EQ(Act(0)->LinkDataList.Count(), 1);
  EXPECT_FALSE(form.IsChange());
}

TEST_F(MainFormLinksTest, AThingTheOtherOutingHasAlreadyIsThereOnceAfterTheMove) {
  TMainForm& form = MakeDiary();
  TThingLink* shoes = AddThing("シューズ");
  TThingLink* cap = AddThing("帽子");
  Act(0)->LinkDataList.Add(shoes);
  Act(0)->LinkDataList.Add(cap);
  Act(1)->LinkDataList.Add(shoes);
  ShowFirstOutingsLinks();
  const auto data = DragSelected({0, 1});
  ASSERT_NE(data, nullptr);
  DropOnList(*data, RowPoint(Act(1)));
  EXPECT_EQ(Act(1)->LinkDataList.Data(), (std::vector<TLinkData*>{shoes, cap}));
  EXPECT_EQ(Act(0)->LinkDataList.Count(), 0);
  EXPECT_EQ(Rows(), QStringList());
  EXPECT_TRUE(form.IsChange());
}

TEST_F(MainFormLinksTest, ADropThatMovesNothingChangesNothing) {
  TMainForm& form = MakeDiary();
  TLinkData* a = AddFile(Act(0), "a.txt");
  TLinkData* b = AddFile(Act(0), "b.txt");
  TLinkData* c = AddFile(Act(1), "c.txt");
  struct TCase {
    const char* Name;
    std::function<QPoint()> Where;
    // Runs after the drag is taken and before it is dropped.
    std::function<void()> Meanwhile;
  };
  const std::vector<TCase> cases = {
      {"below the last row",
       [this] {
         const QPoint below(20, Form->ListView()->viewport()->height() - 3);
         EXPECT_FALSE(Form->ListView()->indexAt(below).isValid());
         return below;
       },
       [] {}},
      {"onto the outing they belong to", [this] { return RowPoint(Act(0)); }, [] {}},
      {"after the window went on to another outing", [this] { return RowPoint(Act(0)); },
       [this] {
         Form->SelectAct(Act(1));
         Settle();
       }},
      {"after the window showed the outing again", [this] { return RowPoint(Act(1)); },
       [this] {
         Form->SelectAct(Act(1));
         Settle();
         Form->SelectAct(Act(0));
         Settle();
       }},
  };
  for (const TCase& test : cases) {
    ShowFirstOutingsLinks();
    const auto data = DragSelected({0, 1});
    ASSERT_NE(data, nullptr) << test.Name;
    test.Meanwhile();
    const int clears = Map.Clears;
    const QPoint at = test.Where();
    ASSERT_GT(at.y(), 0) << test.Name;
    DropOnList(*data, at);
    EXPECT_EQ(Act(0)->LinkDataList.Data(), (std::vector<TLinkData*>{a, b})) << test.Name;
    EXPECT_EQ(Act(1)->LinkDataList.Data(), (std::vector<TLinkData*>{c})) << test.Name;
    EXPECT_FALSE(form.IsChange()) << test.Name;
    EXPECT_EQ(Map.Clears, clears) << test.Name;
  }
}

TEST_F(MainFormLinksTest, DeletingAThingWithOkTakesItOutOfEveryOuting) {
  TMainForm& form = MakeDiary();
  TThingLink* shoes = AddThing("シューズ");
  TThingLink* cap = AddThing("帽子");
  for (int day = 0; day < 2; ++day) {
    Act(day)->LinkDataList.Add(shoes);
    Act(day)->LinkDataList.Add(cap);
  }
  form.SelectAct(Act(0));
  Settle();
  ASSERT_EQ(Rows(), QStringList({"シューズ", "帽子"}));
  RunDialog = [](QDialog& dialog) {
    auto& list = dynamic_cast<TThingListSetDialog&>(dialog);
    list.Prepare();
    list.ListBox()->setCurrentRow(0);
    list.DeleteCommand();
    return int(QDialog::Accepted);
  };
  form.ThingListSetCommand();
  ASSERT_EQ(Form->ThingList().Count(), 1);
  for (int day = 0; day < 2; ++day) {
    ASSERT_EQ(Act(day)->LinkDataList.Count(), 1);
    EXPECT_EQ(Act(day)->LinkDataList[0], cap);
  }
  EXPECT_EQ(Rows(), QStringList({"帽子"}));
  EXPECT_TRUE(form.IsChange());

  // A cancelled dialog changes nothing.
  form.SetIsChange(false);
  RunDialog = [](QDialog& dialog) {
    auto& list = dynamic_cast<TThingListSetDialog&>(dialog);
    list.Prepare();
    list.ListBox()->setCurrentRow(0);
    list.DeleteCommand();
    return int(QDialog::Rejected);
  };
  form.ThingListSetCommand();
  EXPECT_EQ(Form->ThingList().Count(), 1);
  EXPECT_EQ(Act(0)->LinkDataList.Count(), 1);
  EXPECT_FALSE(form.IsChange());
}

// The thing, person and link display commands are the diary's extended commands: out of sight
// at first, in the View menu with "すべての機能を表示する", each opening its dialog.
TEST_F(MainFormLinksTest, TheListAndDisplayCommandsShowWithAllFeaturesAndOpenTheirDialogs) {
  TMainForm& form = MakeDiary();
  const struct {
    const char* name;
    const char* title;
  } commands[] = {{"ThingListSetAction", "物リスト設定"},
                  {"PersonListSetAction", "人リスト設定"},
                  {"LinkViewInfoAction", "リンク表示設定"}};
  for (const auto& c : commands) {
    SCOPED_TRACE(c.name);
    auto* action = form.findChild<QAction*>(QString::fromUtf8(c.name));
    ASSERT_NE(action, nullptr);
    EXPECT_FALSE(action->isVisible());
    EXPECT_TRUE(form.ViewMenu()->actions().contains(action));
  }
  form.ViewItems().SetShowAll(true);
  for (const auto& c : commands) {
    SCOPED_TRACE(c.name);
    auto* action = form.findChild<QAction*>(QString::fromUtf8(c.name));
    EXPECT_TRUE(action->isVisible());
    QString shown;
    RunDialog = [&](QDialog& dialog) {
      shown = dialog.windowTitle();
      return int(QDialog::Rejected);
    };
    action->trigger();
    EXPECT_EQ(shown, QString::fromUtf8(c.title));
  }
  form.ViewItems().SetShowAll(false);
  EXPECT_FALSE(form.findChild<QAction*>(QStringLiteral("ThingListSetAction"))->isVisible());
}

}  // namespace
}  // namespace hakuvo::test
