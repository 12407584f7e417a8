// The search windows opened from the main window.
#include <QAction>
#include <QComboBox>
#include <QLineEdit>
#include <QTreeWidget>

#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/search/act_form.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

class MainFormSearchTest : public MainFormTest {
 protected:
  TMainForm& OpenOutings() {
    const fs::path diary = Dir / "search.hkvj";
    std::vector<TOuting> outings = TenOutings();
    outings.push_back({2024, 5, 4, "swim", 1.5, {}, ctSwimming});
    WriteDiary(diary, outings);
    return MakeForm({QString::fromStdString(diary.string())});
  }
};

TEST_F(MainFormSearchTest, StringSearchSelectsTheChosenOutingAndKeepsItsBounds) {
  TMainForm& form = OpenOutings();
  EXPECT_EQ(form.Action(cmStringSearch)->shortcut(), QKeySequence("Ctrl+F"));
  form.AppData().ChildWindowInfo.ActFormLeft = 40;
  form.AppData().ChildWindowInfo.ActFormTop = 50;
  form.AppData().ChildWindowInfo.ActFormWidth = 500;
  form.AppData().ChildWindowInfo.ActFormHeight = 260;
  QRect shownAt;
  RunDialog = [&](QDialog& dialog) {
    auto* search = dynamic_cast<TActStringForm*>(&dialog);
    EXPECT_NE(search, nullptr);
    if (search == nullptr) return int(QDialog::Rejected);
    shownAt = dialog.geometry();
    search->SearchEdit()->setText(QStringLiteral("run 7"));
    search->FillList();
    EXPECT_EQ(search->Table().Rows.size(), 1u);
    search->ListView()->setCurrentItem(search->ListView()->topLevelItem(0));
    dialog.move(70, 80);
    return int(QDialog::Accepted);
  };
  form.Action(cmStringSearch)->trigger();
  Settle();
  EXPECT_EQ(shownAt, QRect(40, 50, 500, 260));
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{8});
  EXPECT_EQ(form.AppData().ChildWindowInfo.ActFormLeft, 70);
  EXPECT_EQ(form.AppData().ChildWindowInfo.ActFormWidth, 500);
}

TEST_F(MainFormSearchTest, ExtractStartsWithTheSelectedOutingsCategory) {
  TMainForm& form = OpenOutings();
  QString category;
  std::size_t rows = 0;
  RunDialog = [&](QDialog& dialog) {
    auto* extract = dynamic_cast<TActCategoryForm*>(&dialog);
    EXPECT_NE(extract, nullptr);
    if (extract == nullptr) return int(QDialog::Rejected);
    category = extract->CategoryCombo()->currentText();
    extract->FillList();
    rows = extract->Table().Rows.size();
    return int(QDialog::Rejected);
  };
  form.SelectRow(4);  // the swim
  form.Action(cmCategorySearch)->trigger();
  EXPECT_EQ(category, QStringLiteral("水泳"));
  EXPECT_EQ(rows, 1u);
  form.SelectRow(0);
  form.Action(cmCategorySearch)->trigger();
  EXPECT_EQ(category, QStringLiteral("ジョギング"));
  EXPECT_EQ(rows, 10u);
  // Nothing selected: the unnamed user category, which none of these outings is.
  form.ListView()->clearSelection();
  form.Action(cmCategorySearch)->trigger();
  EXPECT_EQ(category, QString());
  EXPECT_EQ(rows, 0u);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
}

}  // namespace
}  // namespace hakuvo::test
