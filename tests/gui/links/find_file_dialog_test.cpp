#include "gui/links/find_file_dialog.h"

#include <gtest/gtest.h>

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

#include "core/model/category_type.h"
#include "support/qt_application.h"
#include "support/scoped_clock.h"

namespace hakuvo::test {
namespace {

QString ToQ(const std::string& text) { return QString::fromStdString(text); }

QStringList Choices() {
  return {QStringLiteral("散歩仲間"), ToQ(CategoryNames()[ctJogging]), ToQ(CategoryNames()[ctFile]),
          ToQ(CategoryNames()[ctUserCategory])};
}

TEST(AddActionFindFileDialog, OpensOnTodayAndTheFileCategoryWithTheRememberedChoices) {
  EnsureQtApplication();
  const TScopedClock clock(EncodeDateTime(2024, 5, 20, 12, 0, 0));
  TAddActionFindFileDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("ファイル検索登録"));
  dialog.SetCategoryChoices(Choices());
  dialog.SetFolders({"/a", "/b"});
  dialog.SetPatterns({"*.jpg"});
  dialog.SetSubFolders(true);
  dialog.SetOneAct(true);
  dialog.PrepareForShow();
  EXPECT_EQ(dialog.StartDatePicker()->date(), QDate(2024, 5, 20));
  EXPECT_EQ(dialog.EndDatePicker()->date(), QDate(2024, 5, 20));
  EXPECT_EQ(dialog.CategoryText(), ToQ(CategoryNames()[ctFile]));
  EXPECT_FALSE(dialog.UserCategoryEdit()->isEnabled());
  EXPECT_FALSE(dialog.UserCategoryLabel()->isEnabled());
  const TFindFileOptions options = dialog.Options();
  EXPECT_EQ(options.Folders, (TStringList{"/a", "/b"}));
  EXPECT_EQ(options.Patterns, TStringList{"*.jpg"});
  EXPECT_TRUE(options.SubFolders);
  EXPECT_TRUE(options.OneAct);
  EXPECT_EQ(options.Category, ctFile);
}

TEST(AddActionFindFileDialog, AUserCategoryOpensItsNameEdit) {
  EnsureQtApplication();
  TAddActionFindFileDialog dialog;
  dialog.SetCategoryChoices(Choices());
  dialog.PrepareForShow();
  dialog.CategoryCombo()->setCurrentText(QStringLiteral("散歩仲間"));
  EXPECT_TRUE(dialog.UserCategoryEdit()->isEnabled());
  EXPECT_EQ(dialog.UserCategoryEdit()->text(), QStringLiteral("散歩仲間"));
  // The generic name keeps what was typed, which may be nothing.
  dialog.UserCategoryEdit()->clear();
  dialog.CategoryCombo()->setCurrentText(ToQ(CategoryNames()[ctUserCategory]));
  EXPECT_TRUE(dialog.UserCategoryEdit()->isEnabled());
  EXPECT_EQ(dialog.UserCategoryEdit()->text(), QString());
  EXPECT_EQ(dialog.Options().Category, ctUserCategory);
  EXPECT_EQ(dialog.Options().UserCategory, "");
  dialog.CategoryCombo()->setCurrentText(ToQ(CategoryNames()[ctJogging]));
  EXPECT_FALSE(dialog.UserCategoryEdit()->isEnabled());
}

TEST(AddActionFindFileDialog, OkPutsAReversedRangeInOrder) {
  EnsureQtApplication();
  TAddActionFindFileDialog dialog;
  dialog.StartDatePicker()->setDate(QDate(2024, 6, 30));
  dialog.EndDatePicker()->setDate(QDate(2024, 6, 1));
  dialog.accept();
  EXPECT_EQ(dialog.StartDatePicker()->date(), QDate(2024, 6, 1));
  EXPECT_EQ(dialog.EndDatePicker()->date(), QDate(2024, 6, 30));
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
}

TEST(AddActionFindFileDialog, ListsAreAddedToEditedAndEmptied) {
  EnsureQtApplication();
  TAddActionFindFileDialog dialog;
  QStringList folderAnswers = {QStringLiteral("/photos"), QStringLiteral("/tracks"), QString()};
  QStringList startedAt;
  dialog.ChooseFolder = [&](QWidget*, const QString& start) {
    startedAt << start;
    return folderAnswers.takeFirst();
  };
  QStringList patternAnswers = {QStringLiteral("*.JPG"), QStringLiteral("IMG*")};
  QStringList shownPatterns;
  dialog.RunFileNameDialog = [&](TFileNameDialog& names) {
    EXPECT_EQ(names.windowTitle(), QStringLiteral("ファイル名"));
    shownPatterns << names.Text();
    names.SetText(patternAnswers.takeFirst());
    return int(QDialog::Accepted);
  };
  EXPECT_FALSE(dialog.FolderDelItem()->isEnabled());
  EXPECT_FALSE(dialog.FolderEditItem()->isEnabled());
  dialog.FolderAddItem()->trigger();
  dialog.FolderListBox()->setCurrentRow(0);
  EXPECT_TRUE(dialog.FolderEditItem()->isEnabled());
  dialog.FolderEditItem()->trigger();
  // A cancelled chooser adds nothing.
  dialog.FolderAddItem()->trigger();
  EXPECT_EQ(dialog.Folders(), TStringList{"/tracks"});
  EXPECT_EQ(startedAt, (QStringList{QString(), QStringLiteral("/photos"), QString()}));

  dialog.FileAddItem()->trigger();
  dialog.FileListBox()->setCurrentRow(0);
  dialog.FileEditItem()->trigger();
  EXPECT_EQ(shownPatterns, (QStringList{QString(), QStringLiteral("*.JPG")}));
  EXPECT_EQ(dialog.Patterns(), TStringList{"IMG*"});
  dialog.FileDelItem()->trigger();
  dialog.FolderDelItem()->trigger();
  EXPECT_TRUE(dialog.Patterns().empty());
  EXPECT_TRUE(dialog.Folders().empty());
  EXPECT_FALSE(dialog.FileDelItem()->isEnabled());
}

}  // namespace
}  // namespace hakuvo::test
