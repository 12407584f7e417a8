#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <functional>
#include <vector>

#include "dialog_test_support.h"
#include "gui/categories/category_set_dialog.h"
#include "gui/categories/category_set_dialog_pages.h"

namespace hakuvo {
namespace {

using testing::Describe;
using testing::MakeCategoryInfo;
using CategorySetDialogChecks = testing::CategorySetDialogFixture;

// ---- checks on OK ----

struct FieldCase {
  std::function<void(TCategorySetDialog&, const QString&)> Set;
  QString Message;
};

std::vector<FieldCase> AllFieldCases() {
  std::vector<FieldCase> cases;
  const QString graphNames[] = {QStringLiteral("グラフ"), QStringLiteral("月グラフ"), QStringLiteral("年グラフ")};
  for (int g = 0; g < 3; ++g) {
    const int page = TCategorySetDialog::piDayGraph + g;
    auto field = [page](QLineEdit* (TGraphSettingsPage::*edit)() const) {
      return [page, edit](TCategorySetDialog& d, const QString& text) { (d.GraphPage(page)->*edit)()->setText(text); };
    };
    const QString prefix = graphNames[g] + QStringLiteral("の[");
    cases.push_back(
        {[page](TCategorySetDialog& d, const QString& text) { d.GraphPage(page)->TermCombo()->setEditText(text); },
         prefix + QStringLiteral("表示期間]が数値ではありません")});
    cases.push_back(
        {field(&TGraphSettingsPage::LineWidthEdit), prefix + QStringLiteral("折線グラフ幅]が数値ではありません")});
    cases.push_back(
        {field(&TGraphSettingsPage::BarWidthEdit), prefix + QStringLiteral("棒グラフ幅]が数値ではありません")});
    cases.push_back(
        {field(&TGraphSettingsPage::MaxEdit), prefix + QStringLiteral("記録軸最大値]が数値ではありません")});
    cases.push_back(
        {field(&TGraphSettingsPage::MinEdit), prefix + QStringLiteral("記録軸最小値]が数値ではありません")});
  }
  auto speed = [](std::function<QLineEdit*(TSpeedSettingsPage&)> edit) {
    return [edit](TCategorySetDialog& d, const QString& text) { edit(*d.SpeedPage())->setText(text); };
  };
  cases.push_back({speed([](TSpeedSettingsPage& p) { return p.SpeedWidthEdit(); }),
                   QStringLiteral("速度グラフの[グラフ幅]が数値ではありません")});
  cases.push_back({speed([](TSpeedSettingsPage& p) { return p.TransparencyEdit(); }),
                   QStringLiteral("高度グラフの[グラフ透明度]が数値ではありません")});
  cases.push_back({speed([](TSpeedSettingsPage& p) { return p.SpeedAxis().MaxEdit; }),
                   QStringLiteral("速度グラフの[最大値]が数値ではありません")});
  cases.push_back({speed([](TSpeedSettingsPage& p) { return p.SpeedAxis().MinEdit; }),
                   QStringLiteral("速度グラフの[最小値]が数値ではありません")});
  cases.push_back({speed([](TSpeedSettingsPage& p) { return p.AltitudeAxis().MaxEdit; }),
                   QStringLiteral("高度グラフの[最大値]が数値ではありません")});
  cases.push_back({speed([](TSpeedSettingsPage& p) { return p.AltitudeAxis().MinEdit; }),
                   QStringLiteral("高度グラフの[最小値]が数値ではありません")});
  return cases;
}

TEST_F(CategorySetDialogChecks, EachBadFieldIsRefusedWithItsOwnMessage) {
  // Whole-number fields refuse decimals too; every field refuses letters and the empty text.
  const std::vector<FieldCase> cases = AllFieldCases();
  for (const QString& bad : {QStringLiteral("abc"), QString(), QStringLiteral("1x")}) {
    for (const FieldCase& c : cases) {
      auto info = MakeCategoryInfo(ctJogging);
      const std::string before = Describe(*info);
      auto dialog = Open(*info);
      dialog->WeatherCheck()->setChecked(true);
      c.Set(*dialog, bad);
      Errors.clear();
      dialog->accept();
      EXPECT_EQ(Errors, QStringList{c.Message}) << "text '" << bad.toStdString() << "'";
      EXPECT_NE(dialog->result(), QDialog::Accepted);
      EXPECT_EQ(Describe(*info), before) << c.Message.toStdString();
    }
  }
}

TEST_F(CategorySetDialogChecks, WholeNumberFieldsRefuseDecimals) {
  auto info = MakeCategoryInfo(ctJogging);
  auto dialog = Open(*info);
  dialog->GraphPage(TCategorySetDialog::piDayGraph)->LineWidthEdit()->setText(QStringLiteral("2.5"));
  dialog->GraphPage(TCategorySetDialog::piDayGraph)->MaxEdit()->setText(QStringLiteral("2.5"));
  dialog->accept();
  EXPECT_EQ(Errors, QStringList{QStringLiteral("グラフの[折線グラフ幅]が数値ではありません")});
}

TEST_F(CategorySetDialogChecks, AllBadFieldsAreReportedInOrderOnEveryOk) {
  auto info = MakeCategoryInfo(ctFishing);
  auto dialog = Open(*info);
  QStringList expected;
  for (const FieldCase& c : AllFieldCases()) {
    c.Set(*dialog, QStringLiteral("x"));
    expected << c.Message;
  }
  dialog->accept();
  EXPECT_EQ(Errors, expected);
  Errors.clear();
  dialog->accept();
  EXPECT_EQ(Errors, expected);
}

TEST_F(CategorySetDialogChecks, DayBarWidthAndMonthMaximumGiveTwoMessagesAndStoreNothing) {
  auto info = MakeCategoryInfo(ctJogging);
  auto dialog = Open(*info);
  dialog->GraphPage(TCategorySetDialog::piDayGraph)->BarWidthEdit()->setText(QStringLiteral("abc"));
  dialog->GraphPage(TCategorySetDialog::piMonthGraph)->MaxEdit()->setText(QStringLiteral("abc"));
  dialog->GraphPage(TCategorySetDialog::piDayGraph)->LineWidthEdit()->setText(QStringLiteral("9"));
  dialog->accept();
  EXPECT_EQ(Errors, (QStringList{QStringLiteral("グラフの[棒グラフ幅]が数値ではありません"),
                                 QStringLiteral("月グラフの[記録軸最大値]が数値ではありません")}));
  EXPECT_EQ(info->GraphInfo().LineSeriesWidth(), 2);

  // Once put right, the same dialog stores.
  Errors.clear();
  dialog->GraphPage(TCategorySetDialog::piDayGraph)->BarWidthEdit()->setText(QStringLiteral("3"));
  dialog->GraphPage(TCategorySetDialog::piMonthGraph)->MaxEdit()->setText(QStringLiteral("50"));
  dialog->accept();
  EXPECT_TRUE(Errors.isEmpty());
  EXPECT_EQ(info->GraphInfo().LineSeriesWidth(), 9);
  EXPECT_EQ(info->MonthGraphInfo().RecordAxisMax(), 50.0L);
}

TEST_F(CategorySetDialogChecks, WithoutAHandlerTheMessagesAppearInErrorBoxesTitledWithTheProgramName) {
  auto info = MakeCategoryInfo(ctJogging);
  auto dialog = CreateCategorySetDialog(nullptr, ctJogging);
  dialog->SetCategoryInfo(info.get());
  dialog->GraphPage(TCategorySetDialog::piDayGraph)->BarWidthEdit()->setText(QStringLiteral("abc"));
  dialog->SpeedPage()->TransparencyEdit()->setText(QStringLiteral("abc"));
  QStringList titles;
  QStringList texts;
  testing::ModalDriver<QMessageBox> driver(
      [&](QMessageBox* box) {
        titles << box->windowTitle();
        texts << box->text();
        box->accept();
      },
      /*repeat=*/true);
  dialog->accept();
  EXPECT_EQ(texts, (QStringList{QStringLiteral("グラフの[棒グラフ幅]が数値ではありません"),
                                QStringLiteral("高度グラフの[グラフ透明度]が数値ではありません")}));
  EXPECT_EQ(titles, (QStringList{QStringLiteral("跳記"), QStringLiteral("跳記")}));
}

}  // namespace
}  // namespace hakuvo
