// The link window as the main window drives it: the chosen outing's links, the thing and person
// list commands, and outings that go while the window shows their links.
#include <QListWidget>
#include <QStandardItemModel>

#include "core/model/act_data.h"
#include "core/model/day_data.h"
#include "core/model/link_data.h"
#include "gui/links/link_form.h"
#include "gui/links/link_preview_form.h"
#include "gui/links/thing_list_set_dialog.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

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

  TLinkForm* Links = nullptr;
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

}  // namespace
}  // namespace hakuvo::test
