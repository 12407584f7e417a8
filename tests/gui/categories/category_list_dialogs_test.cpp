#include "gui/categories/category_list_dialogs.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QSet>
#include <QTabBar>
#include <QTreeWidget>

#include "dialog_test_support.h"
#include "gui/categories/category_set_dialog.h"
#include "gui/categories/category_set_dialog_kinds.h"
#include "gui/common/qt_text.h"

namespace hakuvo {
namespace {

using testing::Describe;
using testing::EnsureApplication;
using testing::ModalDriver;

QStringList NamesOf(const TCategoryList& list) {
  QStringList names;
  for (const TCategoryData& entry : list.Data()) names << ToQString(CategoryNames()[entry.Category]);
  return names;
}

QStringList AllNames() {
  QStringList names;
  for (const auto& name : CategoryNames()) names << ToQString(name);
  return names;
}

class CategoryListDialogTest : public testing::ApplicationTest {
 protected:
  void SetUp() override {
    List.Add({ctJogging});
    List.Add({ctWalking});
    List.Add({ctFishing});
    List.Add({ctBook});
    Infos = TCategoryInfoList::CreateStandard();
    Dialog = std::make_unique<TCategoryListSetDialog>();
    Dialog->SetCategoryList(&List);
    Dialog->SetCategoryInfoList(Infos.get());
    Dialog->show();
  }
  void TearDown() override { Dialog->hide(); }

  void Select(int row) { Dialog->ListBox()->setCurrentRow(row); }

  TCategoryList List;
  std::unique_ptr<TCategoryInfoList> Infos;
  std::unique_ptr<TCategoryListSetDialog> Dialog;
};

TEST_F(CategoryListDialogTest, ShowsTheNamesInListOrder) {
  EXPECT_EQ(Dialog->windowTitle(), QStringLiteral("カテゴリ設定"));
  EXPECT_EQ(Dialog->Names(), (QStringList{"ジョギング", "ウォーキング", "釣り", "本"}));
}

TEST_F(CategoryListDialogTest, ArrowsMoveTheSelectedEntryAndKeepItSelected) {
  struct Case {
    int Row;
    bool Up;
    QStringList Expected;
    int SelectedAfter;
  };
  const QStringList start = {"ジョギング", "ウォーキング", "釣り", "本"};
  const Case cases[] = {
      {2, true, {"ジョギング", "釣り", "ウォーキング", "本"}, 1},
      {1, false, {"ジョギング", "釣り", "ウォーキング", "本"}, 2},
      {0, true, start, 0},   // first entry cannot go up
      {3, false, start, 3},  // last entry cannot go down
  };
  for (const Case& c : cases) {
    Dialog->SetCategoryList(&List);
    Select(c.Row);
    c.Up ? Dialog->MoveUpCommand() : Dialog->MoveDownCommand();
    EXPECT_EQ(Dialog->Names(), c.Expected) << "row " << c.Row;
    EXPECT_EQ(Dialog->ListBox()->currentRow(), c.SelectedAfter);
    EXPECT_TRUE(Dialog->ListBox()->currentItem()->isSelected());
  }
  // Without a selection nothing moves.
  Dialog->SetCategoryList(&List);
  Dialog->ListBox()->clearSelection();
  Dialog->ListBox()->setCurrentRow(-1);
  Dialog->MoveUpCommand();
  Dialog->MoveDownCommand();
  EXPECT_EQ(Dialog->Names(), start);
}

TEST_F(CategoryListDialogTest, OkRebuildsTheListFromTheListBox) {
  Select(3);
  Dialog->MoveUpCommand();
  Select(0);
  Dialog->DeleteCommand();
  Dialog->accept();
  EXPECT_EQ(NamesOf(List), (QStringList{"ウォーキング", "本", "釣り"}));
  // Removing a category from the list leaves its settings in place.
  EXPECT_EQ(Infos->Count(), CategoryTypeCount);
  EXPECT_NE(Infos->GetCategoryItems(ctJogging), nullptr);
}

TEST_F(CategoryListDialogTest, CancelKeepsTheList) {
  Select(0);
  Dialog->DeleteCommand();
  Select(1);
  Dialog->MoveDownCommand();
  Dialog->reject();
  EXPECT_EQ(NamesOf(List), (QStringList{"ジョギング", "ウォーキング", "釣り", "本"}));
}

TEST_F(CategoryListDialogTest, AddAppendsTheCheckedCategoriesInListOrder) {
  QStringList offered;
  ModalDriver<TCategoryAddDialog> driver([&](TCategoryAddDialog* add) {
    offered = add->ItemNames();
    add->SetChecked(QStringLiteral("本"), true);  // already listed: not offered, so no effect
    add->SetChecked(QStringLiteral("血圧"), true);
    add->SetChecked(QStringLiteral("水泳"), true);
    add->accept();
  });
  Dialog->AddCommand();
  ASSERT_EQ(driver.Hits(), 1);
  QStringList expectedOffer = AllNames();
  for (const QString& listed : QStringList{"ジョギング", "ウォーキング", "釣り", "本"}) {
    expectedOffer.removeAll(listed);
  }
  EXPECT_EQ(QSet<QString>(offered.begin(), offered.end()), QSet<QString>(expectedOffer.begin(), expectedOffer.end()));
  EXPECT_EQ(Dialog->Names(), (QStringList{"ジョギング", "ウォーキング", "釣り", "本", "水泳", "血圧"}));
}

TEST_F(CategoryListDialogTest, CancelledAddAppendsNothing) {
  ModalDriver<TCategoryAddDialog> driver([](TCategoryAddDialog* add) {
    add->SetChecked(QStringLiteral("水泳"), true);
    add->reject();
  });
  Dialog->AddCommand();
  EXPECT_EQ(Dialog->Names().size(), 4);
}

TEST_F(CategoryListDialogTest, AddWithEveryCategoryListedSaysSoAndOffersNothing) {
  TCategoryList full;
  for (int i = 0; i < CategoryTypeCount; ++i) full.Add({static_cast<TCategoryType>(i)});
  Dialog->SetCategoryList(&full);
  QStringList messages;
  QStringList titles;
  QStringList offered = {"unset"};
  ModalDriver<QMessageBox> boxes([&](QMessageBox* box) {
    messages << box->text();
    titles << box->windowTitle();
    box->accept();
  });
  ModalDriver<TCategoryAddDialog> add(
      [&](TCategoryAddDialog* dialog) {
        if (messages.isEmpty()) return;  // the dialog stays open until the message was seen
        offered = dialog->ItemNames();
        dialog->accept();
      },
      /*repeat=*/true);
  Dialog->AddCommand();
  EXPECT_EQ(messages, QStringList{QStringLiteral("すでにすべてのカテゴリが登録されています")});
  EXPECT_EQ(titles, QStringList{QStringLiteral("跳記")});
  EXPECT_TRUE(offered.isEmpty());
  EXPECT_EQ(Dialog->Names().size(), CategoryTypeCount);
}

// The edit lands in the working copy; the diary's settings change only with the list's OK.
TEST_F(CategoryListDialogTest, EditedSettingsReachTheDiaryOnlyWithOk) {
  for (bool listOk : {false, true}) {
    Infos = TCategoryInfoList::CreateStandard();
    Dialog->SetCategoryInfoList(Infos.get());
    Dialog->hide();
    Dialog->show();  // takes the working copy
    const std::string before = Describe(*Infos->GetCategoryItems(ctFishing));
    QString dialogClass;
    std::vector<int> visibleTabs;
    ModalDriver<TCategorySetDialog> driver([&](TCategorySetDialog* settings) {
      dialogClass = QString::fromLatin1(settings->metaObject()->className());
      for (int i = 0; i < TCategorySetDialog::PageCount; ++i) {
        if (settings->TabBar()->isTabVisible(i)) visibleTabs.push_back(i);
      }
      settings->WeatherCheck()->setChecked(true);
      static_cast<TFishingCategorySetDialog*>(settings)->DimensionCheck()->setChecked(true);
      settings->accept();
    });
    Select(2);  // 釣り
    Dialog->EditCommand();
    ASSERT_EQ(driver.Hits(), 1);
    EXPECT_EQ(dialogClass, QStringLiteral("hakuvo::TFishingCategorySetDialog"));
    EXPECT_EQ(visibleTabs, std::vector<int>{0});
    EXPECT_TRUE(Dialog->TempCategoryInfoList().GetCategoryItems(ctFishing)->IsWeather());
    EXPECT_EQ(Describe(*Infos->GetCategoryItems(ctFishing)), before);

    listOk ? Dialog->accept() : Dialog->reject();
    const auto* fishing = static_cast<const TFishingCategoryInfo*>(Infos->GetCategoryItems(ctFishing));
    EXPECT_EQ(fishing->IsWeather(), listOk);
    EXPECT_EQ(fishing->IsDimension(), listOk);
    EXPECT_EQ(Infos->Count(), CategoryTypeCount);
  }
}

TEST_F(CategoryListDialogTest, EditWithoutASelectionOpensNothing) {
  Dialog->ListBox()->clearSelection();
  Dialog->ListBox()->setCurrentRow(-1);
  ModalDriver<TCategorySetDialog> driver([](TCategorySetDialog* settings) { settings->reject(); });
  Dialog->EditCommand();
  EXPECT_EQ(driver.Hits(), 0);
}

// ---- the add dialog on its own ----

class CategoryAddDialogTest : public testing::ApplicationTest {
 protected:
  void SetUp() override {
    Add.SetListBox(&ListBox);
    Add.SetMessageHandler([this](const QString& message) { Messages << message; });
  }

  QString GroupOf(const QString& name) const {
    for (int g = 0; g < Add.ListView()->topLevelItemCount(); ++g) {
      QTreeWidgetItem* group = Add.ListView()->topLevelItem(g);
      for (int i = 0; i < group->childCount(); ++i) {
        if (group->child(i)->text(0) == name) return group->text(0);
      }
    }
    return {};
  }

  QListWidget ListBox;
  TCategoryAddDialog Add;
  QStringList Messages;
};

TEST_F(CategoryAddDialogTest, GroupsTheCategoriesByTheme) {
  ListBox.addItem(QStringLiteral("ジョギング"));
  Add.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(Add.windowTitle(), QStringLiteral("カテゴリリスト"));
  EXPECT_TRUE(Messages.isEmpty());
  QStringList groups;
  for (int g = 0; g < Add.ListView()->topLevelItemCount(); ++g) groups << Add.ListView()->topLevelItem(g)->text(0);
  EXPECT_EQ(groups, (QStringList{"スポーツ", "評価", "趣味", "マネー", "飲食", "交通", "健康", "観光・出張",
                                 "コンピュータ", "その他"}));
  const std::pair<const char*, const char*> membership[] = {{"ウォーキング", "スポーツ"},
                                                            {"自転車", "スポーツ"},
                                                            {"釣り", "趣味"},
                                                            {"買い物", "マネー"},
                                                            {"飲食店", "飲食"},
                                                            {"スイーツ", "飲食"},
                                                            {"体重", "健康"},
                                                            {"カロリー", "健康"},
                                                            {"交通機関", "交通"},
                                                            {"観光", "観光・出張"},
                                                            {"旅館・ホテル", "観光・出張"},
                                                            {"ファイル", "コンピュータ"},
                                                            {"ユーザー", "その他"},
                                                            {"本", "評価"},
                                                            {"血圧", "健康"}};
  for (const auto& [name, group] : membership) EXPECT_EQ(GroupOf(name), QString(group)) << name;
  EXPECT_EQ(GroupOf(QStringLiteral("ジョギング")), QString());  // already listed
  EXPECT_EQ(Add.ItemNames().size(), CategoryTypeCount - 1);
  Add.hide();
}

TEST_F(CategoryAddDialogTest, CheckedNamesFollowTheListOrderNotTheGroups) {
  Add.show();
  Add.SetChecked(QStringLiteral("本"), true);
  Add.SetChecked(QStringLiteral("釣り"), true);
  Add.SetChecked(QStringLiteral("ユーザー"), true);
  EXPECT_EQ(Add.CheckedNames(), (QStringList{"釣り", "ユーザー", "本"}));
  Add.SetChecked(QStringLiteral("ユーザー"), false);
  EXPECT_EQ(Add.CheckedNames(), (QStringList{"釣り", "本"}));
  Add.hide();
}

TEST_F(CategoryAddDialogTest, NothingLeftToAddShowsTheMessageAndAnEmptyList) {
  ListBox.addItems(AllNames());
  Add.show();
  QCoreApplication::processEvents();
  EXPECT_EQ(Messages, QStringList{QStringLiteral("すでにすべてのカテゴリが登録されています")});
  EXPECT_TRUE(Add.ItemNames().isEmpty());
  EXPECT_TRUE(Add.isVisible());
  for (int g = 0; g < Add.ListView()->topLevelItemCount(); ++g)
    EXPECT_TRUE(Add.ListView()->topLevelItem(g)->isHidden());
  Add.hide();
}

// ---- converting ----

TEST(CategoryConvDialog, ChoosesAKindOrAUserCategoryByName) {
  EnsureApplication();
  TCategoryConvDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("カテゴリ変更"));
  EXPECT_EQ(dialog.ComboBox()->maxVisibleItems(), 20);
  EXPECT_EQ(dialog.ComboBox()->toolTip(), QStringLiteral("カテゴリ"));
  dialog.SetCategoryNames({"ジョギング", "ウォーキング", "釣りクラブ"});
  dialog.SetCategory(ctWalking);
  EXPECT_EQ(dialog.CategoryName(), QStringLiteral("ウォーキング"));
  EXPECT_EQ(dialog.Category(), ctWalking);
  dialog.ComboBox()->setCurrentIndex(2);
  EXPECT_EQ(dialog.Category(), ctUserCategory);
  EXPECT_EQ(dialog.CategoryName(), QStringLiteral("釣りクラブ"));
  auto* ok = dialog.findChild<QPushButton*>(QStringLiteral("OkButton"));
  ASSERT_NE(ok, nullptr);
  EXPECT_TRUE(ok->isEnabled());
  // A kind that is not offered selects nothing, and nothing cannot be confirmed.
  dialog.SetCategory(ctBook);
  EXPECT_EQ(dialog.ComboBox()->currentIndex(), -1);
  EXPECT_FALSE(ok->isEnabled());
}

}  // namespace
}  // namespace hakuvo
