// An outing title of millions of characters (a legal value) is shown cut, and kept whole.
#include "core/common/text_util.h"
#include "gui/list/act_list_model.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

TEST_F(MainFormTest, AHugeTitleIsShownCutAndKeptWhole) {
  std::string title;
  for (int i = 0; i < 1'700'000; ++i) title += "走";
  std::vector<TOuting> outings = TenOutings();
  outings[4].Title = title;
  const std::filesystem::path diary = Dir / "long.hkvj";
  WriteDiary(diary, outings);
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  const TActListModel& model = *form.ListModel();
  int row = -1;
  for (int r = 0; r < model.RowCount(); ++r) {
    if (model.Act(r)->Title == title) row = r;
  }
  ASSERT_GE(row, 0) << "the data keeps the whole title";
  for (int column = 0; column < model.columnCount(); ++column) {
    const QString shown = model.data(model.index(row, column), Qt::DisplayRole).toString();
    EXPECT_LE(shown.toUtf8().size(), static_cast<qsizetype>(kDisplayTextBytes + 3)) << column;
  }
  const QString tip = model.data(model.index(row, 0), Qt::ToolTipRole).toString();
  EXPECT_LE(tip.toUtf8().size(), static_cast<qsizetype>(4 * kDisplayTextBytes + 3));
}

}  // namespace
}  // namespace hakuvo::test
