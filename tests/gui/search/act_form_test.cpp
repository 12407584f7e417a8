#include "gui/search/act_form.h"

#include <gtest/gtest.h>
#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QTest>
#include <QToolButton>
#include <QTreeWidget>

#include "gui/document/diary_document.h"
#include "support/qt_application.h"

namespace hakuvo {
namespace {

QApplication& App() { return test::EnsureQtApplication(); }

// Types Japanese text key by key as an input method hands it over (QTest's key clicks know
// only ASCII).
void TypeText(QWidget* widget, const QString& text) {
  for (const QChar c : text) {
    QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &press);
    QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(c));
    QApplication::sendEvent(widget, &release);
  }
}

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
  // Told in Japanese: what is wrong and the place where it stands.
  EXPECT_EQ(form.Errors[0], QStringLiteral("［高度］という項目はありません（2 文字目）"));
  EXPECT_FALSE(form.Errors[0].contains(QStringLiteral("en")));
}

// The error's place is selected in the box, in every part of the condition, so that the user
// sees at once what to mend (the box is shown after the selection is made).
TEST_F(ActFormTest, ExtractSelectsWhatTheErrorConcerns) {
  Recording<TActCategoryForm> form;
  form.SetDayDataList(&Days);
  form.SetCategoryInfoList(Infos.get());
  form.CategoryCombo()->addItem(QStringLiteral("ジョギング"));
  form.show();
  const struct {
    const char* Condition;
    const char* Selected;
    int Start;
    const char* Message;
  } cases[] = {
      {"=[高度] > 1", "[高度]", 1, "［高度］という項目はありません（2 文字目）"},
      {"=[距離]>0;=[高度]>1", "[高度]", 9, "［高度］という項目はありません（10 文字目）"},
      {"=[距離] >", ">", 6, "「>」の後に値がありません（7 文字目）"},
      {"=距離>10", "距離", 1, "項目は［距離］のように［］で囲んで書きます（2 文字目）"},
      {"=[距離 > 5", "[距離 > 5", 1, "［ を閉じる ］ がありません（2 文字目）"},
      {"=𠮷 > 1", "𠮷", 1, "「𠮷」という関数や定数はありません（2 文字目）"},
      {"=1 > 0;=[距離] 5", "5", 13, "「5」の前に演算子がありません（14 文字目）"},
  };
  for (const auto& c : cases) {
    form.Errors.clear();
    form.SearchEdit()->setText(QString::fromUtf8(c.Condition));
    form.FillList();
    ASSERT_EQ(form.Errors.size(), 1) << c.Condition;
    EXPECT_EQ(form.Errors[0], QString::fromUtf8(c.Message)) << c.Condition;
    EXPECT_EQ(form.SearchEdit()->selectedText(), QString::fromUtf8(c.Selected)) << c.Condition;
    EXPECT_EQ(form.SearchEdit()->selectionStart(), c.Start) << c.Condition;
  }
}

TEST_F(ActFormTest, ExtractOffersTheCategorysTitlesAndAnExample) {
  Recording<TActCategoryForm> form;
  form.SetDayDataList(&Days);
  form.SetCategoryInfoList(Infos.get());
  form.CategoryCombo()->addItem(QStringLiteral("ジョギング"));
  form.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
  EXPECT_TRUE(form.HelpLabel()->isVisible());
  EXPECT_TRUE(form.HelpLabel()->text().contains(QStringLiteral("=[距離] >= 5; 皇居")));
  EXPECT_TRUE(form.TitleBtn()->isVisible());

  QStringList menu;
  for (QAction* action : form.TitleMenu()->actions()) menu << action->text();
  EXPECT_EQ(menu, (QStringList{"[回数]", "[距離]", "[速度]", "[体重]", "[カロリー]"}));

  // Typing "[" and the start of a title offers the titles that begin so.
  QLineEdit* edit = form.SearchEdit();
  edit->setFocus();
  TypeText(edit, QStringLiteral("=[距"));
  QCompleter* completer = form.TitleCompleter();
  ASSERT_TRUE(completer->popup()->isVisible());
  EXPECT_EQ(completer->completionCount(), 1);
  EXPECT_EQ(completer->currentCompletion(), QStringLiteral("[距離]"));
  QTest::keyClick(completer->popup(), Qt::Key_Down);
  QTest::keyClick(completer->popup(), Qt::Key_Return);
  EXPECT_EQ(edit->text(), QStringLiteral("=[距離]"));
  EXPECT_EQ(edit->cursorPosition(), 5);
  // Enter chose the title; it did not yet run the half-typed condition.
  EXPECT_TRUE(form.Errors.isEmpty()) << form.Errors.join(' ').toStdString();

  // A full-width bracket opens the list too, and the rest of the condition stays.
  edit->setText(QStringLiteral(">5; 皇居"));
  edit->setCursorPosition(0);
  TypeText(edit, QStringLiteral("=［速"));
  ASSERT_TRUE(completer->popup()->isVisible());
  EXPECT_EQ(completer->currentCompletion(), QStringLiteral("[速度]"));
  form.InsertTitle(completer->currentCompletion());
  EXPECT_EQ(edit->text(), QStringLiteral("=[速度]>5; 皇居"));

  // The menu inserts at the cursor; the condition then runs.
  edit->setText(QStringLiteral("= >= 8"));
  edit->setCursorPosition(1);
  form.TitleMenu()->actions().at(1)->trigger();
  EXPECT_EQ(edit->text(), QStringLiteral("=[距離] >= 8"));
  form.FillList();
  EXPECT_TRUE(form.Errors.isEmpty()) << form.Errors.join(' ').toStdString();
  EXPECT_EQ(form.ListView()->topLevelItemCount(), 2);
}

TEST_F(ActFormTest, ExtractTitlesFollowTheCategory) {
  Recording<TActCategoryForm> form;
  form.SetDayDataList(&Days);
  form.SetCategoryInfoList(Infos.get());
  form.CategoryCombo()->addItem(QStringLiteral("ウォーキング"));
  form.show();
  QStringList menu;
  for (QAction* action : form.TitleMenu()->actions()) menu << action->text();
  EXPECT_TRUE(menu.contains(QStringLiteral("[歩数]"))) << menu.join(' ').toStdString();
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
