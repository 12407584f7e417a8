#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/model/category_info_list.h"

class QComboBox;
class QListWidget;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class QToolButton;

namespace hakuvo {

// The diary's ordered category list: add, remove and reorder categories and edit their settings.
// Settings are edited on a copy of every category's settings; the list and the settings go back
// to the diary only when the dialog closes with OK.
class TCategoryListSetDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TCategoryListSetDialog(QWidget* owner = nullptr);
  ~TCategoryListSetDialog() override;

  TCategoryList* CategoryList() const { return FCategoryList; }
  // Fills the list box with the built-in name of each entry's kind, in list order.
  void SetCategoryList(TCategoryList* list);
  TCategoryInfoList* CategoryInfoList() const { return FCategoryInfoList; }
  void SetCategoryInfoList(TCategoryInfoList* list) { FCategoryInfoList = list; }
  // The working copy that "編集" edits; filled when the dialog is shown.
  TCategoryInfoList& TempCategoryInfoList() { return *FTempCategoryInfoList; }

  void MoveUpCommand();
  void MoveDownCommand();
  void AddCommand();
  void DeleteCommand();
  void EditCommand();

  void accept() override;

  QListWidget* ListBox() const { return FListBox; }
  QStringList Names() const;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void MoveSelected(int step);

  TCategoryList* FCategoryList = nullptr;
  TCategoryInfoList* FCategoryInfoList = nullptr;
  std::unique_ptr<TCategoryInfoList> FTempCategoryInfoList;
  bool FTempFilled = false;
  QListWidget* FListBox = nullptr;
};

// The built-in categories not yet in the list box, grouped by theme, to be checked and added.
class TCategoryAddDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TCategoryAddDialog(QWidget* owner = nullptr);

  QListWidget* ListBox() const { return FListBox; }
  void SetListBox(QListWidget* listBox) { FListBox = listBox; }

  // Information messages go through this; by default a message box titled with the program's name.
  using TMessageHandler = std::function<void(const QString& message)>;
  void SetMessageHandler(TMessageHandler handler) { FMessageHandler = std::move(handler); }

  // The names still offered, and the checked ones, in list order.
  QStringList ItemNames() const;
  QStringList CheckedNames() const;
  void SetChecked(const QString& name, bool checked);

  QTreeWidget* ListView() const { return FListView; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  struct TItem {
    QString Name;
    QTreeWidgetItem* Item;
  };

  void RemoveListedItems();
  void ShowMessage(const QString& message);

  QListWidget* FListBox = nullptr;
  QTreeWidget* FListView = nullptr;
  std::vector<TItem> FItems;
  TMessageHandler FMessageHandler;
};

// Picks the category into which the selected actions are converted.
class TCategoryConvDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TCategoryConvDialog(QWidget* owner = nullptr);

  // The caller offers the names of the categories in use.
  void SetCategoryNames(const QStringList& names);
  // Selects the built-in name of the kind.
  void SetCategory(TCategoryType category);
  // The kind of the chosen name; any name that is not built in is a user category.
  TCategoryType Category() const;
  // The chosen name itself (the name of a user category).
  QString CategoryName() const;

  QComboBox* ComboBox() const { return FComboBox; }

 private:
  QComboBox* FComboBox = nullptr;
  QPushButton* FOkButton = nullptr;
};

}  // namespace hakuvo
