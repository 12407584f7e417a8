// The pace column of the main list: switched from the View menu, beside the speed, stored with the
// settings, and its width kept by what it shows while other columns come and go.
#include <gtest/gtest.h>

#include <QAction>
#include <QHeaderView>

#include "core/model/pace.h"
#include "core/settings/app_data.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/main_form.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

class MainFormPaceTest : public MainFormTest {};

TEST_F(MainFormPaceTest, ThePaceColumnStandsBesideTheSpeedAndComesBackNextTime) {
  const fs::path diary = Dir / "pace.hkvj";
  WriteDiary(diary, TenOutings());
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  EXPECT_TRUE(form.Action(cmPaceView)->isVisible());
  form.SelectRow(3);
  form.PaceViewCommand();
  ASSERT_TRUE(form.IsViewPace());
  ASSERT_EQ(form.ListModel()->columnCount(), 7);
  EXPECT_EQ(form.ListModel()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("ペース(分/km)"));
  for (int row = 0; row < form.ListModel()->RowCount(); ++row) {
    const QString expected = QString::fromStdString(ActPaceText(*form.ListModel()->Act(row)));
    EXPECT_FALSE(expected.isEmpty());
    EXPECT_EQ(form.ListModel()->Text(row, 6), expected) << row;
  }
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{3});
  form.UpdateCommandStates();
  EXPECT_TRUE(form.Action(cmPaceView)->isChecked());

  // With the energy columns after it, each column keeps its own width as the others come and go.
  QHeaderView* header = form.ListView()->header();
  form.EnergyViewCommand();
  ASSERT_EQ(form.ListModel()->columnCount(), 9);
  EXPECT_EQ(form.ListModel()->headerData(7, Qt::Horizontal).toString(), QStringLiteral("体重(kg)"));
  header->resizeSection(6, 133);
  header->resizeSection(7, 91);
  form.EnergyViewCommand();
  ASSERT_EQ(form.ListModel()->columnCount(), 7);
  form.EnergyViewCommand();
  EXPECT_EQ(header->sectionSize(6), 133);
  EXPECT_EQ(header->sectionSize(7), 91);
  form.PaceViewCommand();
  ASSERT_EQ(form.ListModel()->columnCount(), 8);
  EXPECT_EQ(form.ListModel()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("体重(kg)"));
  EXPECT_EQ(header->sectionSize(6), 91);
  form.PaceViewCommand();
  EXPECT_EQ(header->sectionSize(6), 133);
  EXPECT_EQ(header->sectionSize(7), 91);

  EXPECT_TRUE(form.close());
  Form.reset();
  TAppData settings(ProgramFolder);
  settings.SetMode(ctJogging);
  settings.Read();
  EXPECT_TRUE(settings.ChildWindowInfo.IsViewPace);
  EXPECT_EQ(settings.ChildWindowInfo.ActListPace, 133);
  TMainForm& next = MakeForm();
  EXPECT_TRUE(next.IsViewPace());
  EXPECT_EQ(next.ListModel()->headerData(6, Qt::Horizontal).toString(), QStringLiteral("ペース(分/km)"));
}

TEST_F(MainFormPaceTest, CyclistsHaveNoPaceItem) {
  TMainForm& form = MakeForm({QStringLiteral("/BICYCLE")});
  EXPECT_FALSE(form.Action(cmPaceView)->isVisible());
}

}  // namespace
}  // namespace hakuvo::test
