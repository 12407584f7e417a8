// The list of outings: rows, selection, deleting, the energy view, the search box, window
// messages and command states.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>

#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

class MainFormListTest : public MainFormTest {
 protected:
  TMainForm& OpenOutings(const std::vector<TOuting>& outings) {
    const fs::path diary = Dir / "list.hkvj";
    WriteDiary(diary, outings);
    return MakeForm({QString::fromStdString(diary.string())});
  }
  QStringList Titles() const {
    QStringList titles;
    for (int row = 0; row < Form->ListModel()->RowCount(); ++row) titles << Form->ListModel()->Text(row, 3);
    return titles;
  }
  void Select(const QList<int>& rows) {
    TActListView* view = Form->ListView();
    view->clearSelection();
    for (int row : rows) {
      view->selectionModel()->select(Form->ListModel()->index(row, 0),
                                     QItemSelectionModel::Select | QItemSelectionModel::Rows);
    }
  }
  int ActCount() const {
    int count = 0;
    for (const auto& day : Form->DayDataList()) count += day->ActDataList.Count();
    return count;
  }
};

TEST_F(MainFormListTest, RowsShowEveryOutingWithItsTextsAndHint) {
  std::vector<TOuting> outings = TenOutings();
  outings[2].Memo = {"膝が少し痛い"};
  outings.push_back({2024, 5, 3, "swim", 1.5, {}, ctSwimming});
  TMainForm& form = OpenOutings(outings);
  ASSERT_EQ(form.ListModel()->RowCount(), 11);
  const TActListModel& model = *form.ListModel();
  EXPECT_EQ(model.Text(0, 0), QStringLiteral("2024/05/01"));
  EXPECT_EQ(model.Text(0, 1), QStringLiteral("07:00"));
  EXPECT_EQ(model.Text(0, 2), QStringLiteral("08:00"));
  EXPECT_EQ(model.Text(0, 3), QStringLiteral("run 0"));
  EXPECT_EQ(model.Text(0, 4), QStringLiteral("5"));
  EXPECT_EQ(model.Text(0, 5), QStringLiteral("5.0"));
  // An outing of another category is listed too, on its day.
  EXPECT_EQ(model.Text(3, 3), QStringLiteral("swim"));
  EXPECT_EQ(model.data(model.index(0, 4), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, Qt::AlignRight);
  EXPECT_EQ(model.data(model.index(0, 3), Qt::TextAlignmentRole).toInt() & Qt::AlignRight, 0);
  const QString hint = model.data(model.index(2, 0), Qt::ToolTipRole).toString();
  EXPECT_TRUE(hint.contains(QStringLiteral("膝が少し痛い"))) << hint.toStdString();
  EXPECT_FALSE(hint.contains(QLatin1Char('\r')));
}

TEST_F(MainFormListTest, DeletingRowsSelectsTheRowAtTheFirstDeletedPlace) {
  const struct {
    QList<int> Deleted;
    int Selected;  // -1: nothing
    int Remaining;
  } cases[] = {
      {{5, 6, 7, 8, 9}, 4, 5},  // beyond the end: the new last row
      {{2, 7}, 2, 8},           // the row that followed row 2
      {{0}, 0, 9},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Selected);
    TMainForm& form = OpenOutings(TenOutings());
    const QStringList before = Titles();
    Select(c.Deleted);
    form.DeleteActCommand();
    EXPECT_EQ(form.ListModel()->RowCount(), c.Remaining);
    EXPECT_EQ(ActCount(), c.Remaining);
    // The days stay, even when their last outing went.
    EXPECT_EQ(form.DayDataList().Count(), 10);
    EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{c.Selected});
    QStringList expected = before;
    for (auto it = c.Deleted.crbegin(); it != c.Deleted.crend(); ++it) expected.removeAt(*it);
    EXPECT_EQ(Titles(), expected);
    EXPECT_TRUE(form.IsChange());
  }
}

TEST_F(MainFormListTest, DeletingTheOnlyRowLeavesNothingSelected) {
  TMainForm& form = OpenOutings({{2024, 5, 1, "only"}});
  Select({0});
  QTest::keyClick(form.ListView(), Qt::Key_Delete);
  EXPECT_EQ(form.ListModel()->RowCount(), 0);
  EXPECT_TRUE(form.ListView()->SelectedRows().isEmpty());
  EXPECT_EQ(form.DayDataList().Count(), 1);
}

TEST_F(MainFormListTest, DeleteKeyWithoutSelectionOnlyMarksTheDiary) {
  TMainForm& form = OpenOutings(TenOutings());
  form.ListView()->clearSelection();
  QTest::keyClick(form.ListView(), Qt::Key_Delete);
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  EXPECT_TRUE(form.IsChange());
}

TEST_F(MainFormListTest, SearchDownAndUpFromTheSelectedRow) {
  std::vector<TOuting> outings = TenOutings();
  outings[1].Memo = {"雨の中"};
  outings[6].Memo = {"雨上がり"};
  TMainForm& form = OpenOutings(outings);
  form.SearchEdit()->setText(QStringLiteral("雨"));
  form.SelectRow(0);
  form.SearchDownCommand();
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{1});
  QTest::keyClick(form.SearchEdit(), Qt::Key_Return);
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{6});
  QTest::keyClick(form.SearchEdit(), Qt::Key_Return, Qt::ShiftModifier);
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{1});
  EXPECT_TRUE(Errors.isEmpty());
  // Nothing further up: the error, and the selection stays.
  form.SearchUpCommand();
  EXPECT_EQ(Errors, QStringList{QStringLiteral("[ 雨 ]は見つかりませんでした")});
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{1});
}

TEST_F(MainFormListTest, SearchThatFindsNothingReportsTheText) {
  TMainForm& form = OpenOutings(TenOutings());
  form.SelectRow(3);
  form.SearchEdit()->setText(QStringLiteral("xyz"));
  form.SearchDownCommand();
  EXPECT_EQ(Errors, QStringList{QStringLiteral("[ xyz ]は見つかりませんでした")});
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{3});
  // An empty text matches nothing.
  Errors.clear();
  form.SearchEdit()->clear();
  form.SearchDownCommand();
  EXPECT_EQ(Errors, QStringList{QStringLiteral("[  ]は見つかりませんでした")});
}

TEST_F(MainFormListTest, SearchWithoutSelectionStartsAtTheFirstRow) {
  TMainForm& form = OpenOutings(TenOutings());
  form.ListView()->clearSelection();
  form.SearchEdit()->setText(QStringLiteral("run 0"));
  form.SearchDownCommand();
  EXPECT_EQ(Errors.size(), 1);
  Errors.clear();
  form.SearchEdit()->setText(QStringLiteral("run"));
  form.SearchDownCommand();
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{1});
}

TEST_F(MainFormListTest, EnergyViewAddsColumnsAndKeepsTheSelectedOuting) {
  TMainForm& form = OpenOutings(TenOutings());
  form.SelectRow(4);
  form.EnergyViewCommand();
  EXPECT_TRUE(form.IsViewEnergyConsumption());
  ASSERT_EQ(form.ListModel()->columnCount(), 8);
  EXPECT_EQ(form.ListModel()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("カロリー(kcal)"));
  EXPECT_EQ(form.ListModel()->Text(0, 6), QStringLiteral("60"));
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{4});
  const auto* info =
      dynamic_cast<const TEnergyConsumptionCategoryInfo*>(form.CategoryInfoList().GetCategoryItems(ctJogging));
  EXPECT_TRUE(info->IsWeight());
  form.UpdateCommandStates();
  EXPECT_TRUE(form.Action(cmEnergyView)->isChecked());
  form.EnergyViewCommand();
  EXPECT_EQ(form.ListModel()->columnCount(), 6);
  // Turning the view off leaves the category's setting as it is.
  EXPECT_TRUE(info->IsWeight());
}

// The last column reaches the list's right edge, but what is stored is its own width, so a
// narrower window later does not inherit today's leftover space.
TEST_F(MainFormListTest, LastColumnStretchesToTheListsEdgeAndKeepsItsOwnWidth) {
  TMainForm& form = OpenOutings(TenOutings());
  form.resize(1400, 700);
  QApplication::processEvents();
  QHeaderView* header = form.ListView()->header();
  const auto rightEdge = [&] {
    const int last = header->count() - 1;
    return header->sectionViewportPosition(last) + header->sectionSize(last);
  };
  ASSERT_EQ(header->count(), 6);
  const int viewport = form.ListView()->viewport()->width();
  ASSERT_GT(viewport, 700);
  EXPECT_EQ(rightEdge(), viewport);
  const int stretched = header->sectionSize(5);

  form.EnergyViewCommand();
  ASSERT_EQ(header->count(), 8);
  EXPECT_EQ(rightEdge(), viewport);
  const TChildWindowInfo& saved = form.AppData().ChildWindowInfo;
  EXPECT_LT(saved.ActListSpeed, stretched);
  EXPECT_EQ(header->sectionSize(5), saved.ActListSpeed);  // no longer last: drawn at its own width

  form.EnergyViewCommand();
  EXPECT_LT(saved.ActListEnergyConsumption, 200);
  EXPECT_EQ(rightEdge(), viewport);
}

TEST_F(MainFormListTest, WindowMessagesSelectAndMark) {
  TMainForm& form = OpenOutings(TenOutings());
  TDiaryDocument& document = form.Document();
  // Posted, so nothing happens before the event loop gets them.
  emit document.SelectRow(3);
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{9});
  Settle();
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{3});
  for (const int row : {10, -1}) {  // one beyond the last row, and no row at all
    emit document.SelectRow(row);
    Settle();
    EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{3}) << row;
  }
  const struct {
    void (TDiaryDocument::*Signal)(TDateTime);
    TDateTime Date;
    QList<int> Selected;
  } dated[] = {
      {&TDiaryDocument::SelectDay, EncodeDate(2024, 5, 7), {6}},
      {&TDiaryDocument::SelectDay, EncodeDate(2024, 6, 7), {}},      // a day without outings
      {&TDiaryDocument::SelectMonth, EncodeDate(2024, 5, 20), {0}},  // the month's first day
      {&TDiaryDocument::SelectDay, EncodeDate(2024, 5, 9) + 0.75, {8}},
      {&TDiaryDocument::SelectYear, EncodeDate(2024, 12, 31), {0}},
  };
  for (const auto& c : dated) {
    SCOPED_TRACE(c.Date);
    emit(document.*c.Signal)(c.Date);
    Settle();
    EXPECT_EQ(form.ListView()->SelectedRows(), c.Selected);
  }
  emit document.SelectAct(form.ListModel()->Act(8));
  Settle();
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{8});
  EXPECT_FALSE(form.IsChange());
  for (auto signal :
       {&TDiaryDocument::DataChanged, &TDiaryDocument::ChildClosed, &TDiaryDocument::LinkOrderChanged,
        &TDiaryDocument::ViewSettingChanged, &TDiaryDocument::LinkViewChanged, &TDiaryDocument::GpsRangeChanged}) {
    form.SetIsChange(false);
    emit(document.*signal)();
    EXPECT_FALSE(form.IsChange());
    Settle();
    EXPECT_TRUE(form.IsChange());
  }
  form.SetIsChange(false);
  emit document.CategoryChanged(ctWalking);
  Settle();
  EXPECT_FALSE(form.IsChange());
}

TEST_F(MainFormListTest, CommandStatesFollowTheSelection) {
  TMainForm& form = OpenOutings(TenOutings());
  form.ListView()->clearSelection();
  form.UpdateCommandStates();
  EXPECT_FALSE(form.Action(cmDeleteAct)->isEnabled());
  EXPECT_FALSE(form.Action(cmEditAct)->isEnabled());
  EXPECT_TRUE(form.Action(cmAddAct)->isEnabled());
  EXPECT_TRUE(form.Action(cmCategorySettings)->isEnabled());
  form.SelectRow(2);
  Settle();
  EXPECT_TRUE(form.Action(cmDeleteAct)->isEnabled());
  EXPECT_TRUE(form.Action(cmEditAct)->isEnabled());
  // The graph items can always be chosen; the day graph starts as a tab below.
  EXPECT_TRUE(form.Action(cmDayGraph)->isEnabled());
  EXPECT_TRUE(form.Action(cmDayGraph)->isChecked());
}

TEST_F(MainFormListTest, SelectingARowMakesItsCategoryCurrent) {
  std::vector<TOuting> outings = TenOutings();
  outings.push_back({2024, 5, 2, "swim", 1.5, {}, ctSwimming});
  TMainForm& form = OpenOutings(outings);
  form.SelectRow(2);
  EXPECT_EQ(form.CurrentCategory(), "水泳");
  form.SelectRow(0);
  EXPECT_EQ(form.CurrentCategory(), "ジョギング");
}

}  // namespace
}  // namespace hakuvo::test
