#include "gui/search/act_form.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "gui/document/diary_document.h"
#include "support/qt_application.h"

namespace hakuvo {
namespace {

QApplication& App() { return test::EnsureQtApplication(); }

template <typename Form>
class Recording : public Form {
 public:
  QStringList Errors;

 protected:
  void ShowError(const QString& message) override { Errors << message; }
};

class ActFormTest : public ::testing::Test {
 protected:
  void SetUp() override {
    App();
    for (int d = 1; d <= 4; ++d) {
      auto day = std::make_unique<TDayData>();
      day->DateData = EncodeDate(2025, 5, d);
      TActData* act = day->AddAct(CreateActData(d == 4 ? ctShopping : ctJogging));
      act->Title = d == 2 ? "坂道" : "平地";
      act->RecordData->SetData(10 - d);
      act->RecordData->Tani = Infos->GetCategoryItems(act->Category)->Tani;
      Days.Add(std::move(day));
    }
  }
  TDayDataList Days;
  std::unique_ptr<TCategoryInfoList> Infos = TCategoryInfoList::CreateStandard();
};

TEST_F(ActFormTest, StringSearchFillsSortsAndSelects) {
  Recording<TActStringForm> form;
  form.SetDayDataList(&Days);
  form.show();
  EXPECT_EQ(form.windowTitle(), QStringLiteral("アクションリスト"));
  EXPECT_EQ(form.ListView()->topLevelItemCount(), 4);
  form.SearchEdit()->setText(QStringLiteral("坂"));
  form.FillList();
  ASSERT_EQ(form.ListView()->topLevelItemCount(), 1);
  EXPECT_EQ(form.ListView()->topLevelItem(0)->text(2), QStringLiteral("坂道"));

  form.SearchEdit()->clear();
  form.FillList();
  form.SortByColumn(4);  // the value column: ascending by the value shown
  EXPECT_EQ(form.ListView()->topLevelItem(0)->text(4), QStringLiteral("6"));
  form.SortByColumn(4);  // again: descending
  EXPECT_EQ(form.ColumnSortCoefficient(), -1);
  EXPECT_EQ(form.ListView()->topLevelItem(0)->text(4), QStringLiteral("9"));

  // A chosen row goes to the document as a message, never straight to a window.
  TDiaryDocument document;
  const TActData* selected = nullptr;
  QObject::connect(&document, &TDiaryDocument::SelectAct, [&](const TActData* act) { selected = act; });
  form.SetDocument(&document);
  form.ListView()->setCurrentItem(form.ListView()->topLevelItem(1));
  ASSERT_NE(selected, nullptr);
  EXPECT_EQ(selected->RecordData->Data(), 8);
  EXPECT_TRUE(form.CopyAll().startsWith(QStringLiteral("日付\t時刻\tタイトル\tカテゴリ\t記録\t単位\r\n")));
}

TEST_F(ActFormTest, ExtractHidesTheSelectorAndReportsFormulaErrors) {
  Recording<TActCategoryForm> form;
  form.SetDayDataList(&Days);
  form.SetCategoryInfoList(Infos.get());
  form.CategoryCombo()->addItems({QStringLiteral("ジョギング"), QStringLiteral("買い物")});
  form.SearchEdit()->setText(QStringLiteral("=[距離] >= 8"));
  form.show();
  EXPECT_FALSE(form.CategoryCombo()->isVisible());
  EXPECT_EQ(form.CategoryType(), ctJogging);
  EXPECT_EQ(form.SearchEdit()->geometry().left(), 35);
  EXPECT_EQ(form.ListView()->topLevelItemCount(), 2);
  EXPECT_EQ(form.ListView()->headerItem()->text(4), QStringLiteral("距離"));

  form.SearchEdit()->setText(QStringLiteral("=[高度] > 1"));
  form.FillList();
  ASSERT_EQ(form.Errors.size(), 1);
  // Told in Japanese with the place where the formula stopped making sense.
  EXPECT_TRUE(form.Errors[0].startsWith(QStringLiteral("式が正しくありません（"))) << form.Errors[0].toStdString();
  EXPECT_TRUE(form.Errors[0].endsWith(QStringLiteral(" 文字目）"))) << form.Errors[0].toStdString();
  EXPECT_FALSE(form.Errors[0].contains(QStringLiteral("en")));
}

TEST_F(ActFormTest, SortedColumnShowsTheArrowOfItsDirection) {
  Recording<TActStringForm> form;
  form.SetDayDataList(&Days);
  form.show();
  QHeaderView* header = form.ListView()->header();
  ASSERT_TRUE(header->isSortIndicatorShown());
  EXPECT_EQ(header->sortIndicatorSection(), -1);  // nothing sorted yet: no arrow
  const struct {
    int Column;
    Qt::SortOrder Order;
  } clicks[] = {{2, Qt::AscendingOrder}, {2, Qt::DescendingOrder}, {4, Qt::AscendingOrder}};
  for (const auto& click : clicks) {
    // Through the header, as the user clicks it.
    const QRect section(header->sectionViewportPosition(click.Column), 0, header->sectionSize(click.Column),
                        header->height());
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {}, section.center());
    EXPECT_EQ(header->sortIndicatorSection(), click.Column);
    EXPECT_EQ(header->sortIndicatorOrder(), click.Order) << click.Column;
  }
  // A new search keeps the order and its arrow.
  form.FillList();
  EXPECT_EQ(header->sortIndicatorSection(), 4);
}

TEST_F(ActFormTest, SearchButtonsDrawAnIconAndHeadingsFitTheirColumns) {
  Recording<TActStringForm> search;
  Recording<TActCategoryForm> extract;
  extract.SetCategoryInfoList(Infos.get());
  extract.CategoryCombo()->addItem(QStringLiteral("ジョギング"));
  for (TActStringForm* form : std::initializer_list<TActStringForm*>{&search, &extract}) {
    form->SetDayDataList(&Days);
    form->show();
    EXPECT_TRUE(form->SearchBtn()->text().isEmpty());
    ASSERT_FALSE(form->SearchBtn()->icon().isNull());
    EXPECT_FALSE(form->SearchBtn()->icon().pixmap(16, 16).isNull());
    const QHeaderView* header = form->ListView()->header();
    for (int c = 0; c < header->count(); ++c) {
      EXPECT_GE(header->sectionSize(c), header->sectionSizeHint(c))
          << form->ListView()->headerItem()->text(c).toStdString();
    }
  }
}

}  // namespace
}  // namespace hakuvo
