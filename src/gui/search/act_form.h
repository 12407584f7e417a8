#pragma once

#include <QDialog>
#include <memory>

#include "core/search/act_search.h"

class QCompleter;
class QLabel;
class QLineEdit;
class QMenu;
class QComboBox;
class QToolButton;
class QTreeWidget;
class QWidget;

namespace hakuvo {

class TDiaryDocument;
class EExpressionError;

// A list of the diary's actions that meet a condition; selecting a row asks the main window to
// select that action, by the document's SelectAct message. The window owns nothing of the diary.
class TActForm : public QDialog {
  Q_OBJECT

 public:
  explicit TActForm(QWidget* parent = nullptr);

  void SetDayDataList(const TDayDataList* days) { FDayDataList = days; }
  // Where a chosen row's action is sent; without a document a choice goes nowhere.
  void SetDocument(TDiaryDocument* document) { FDocument = document; }
  const TActTable& Table() const { return FTable; }
  QTreeWidget* ListView() const { return FListView; }

  // Refills the list; a formula error is shown and the rows found before it stay.
  void FillList();
  // Sorts by a column the way a click on its header does.
  void SortByColumn(int column);
  // "すべてをコピー": the list as tab-separated text, also put on the clipboard.
  QString CopyAll() const;

  int ColumnToSort() const { return FColumnToSort; }
  int ColumnSortCoefficient() const { return FColumnSortCoefficient; }

 protected:
  virtual std::unique_ptr<TActSearch> MakeSearch() const = 0;
  // A failed search is shown in an error box; the rows found before the failure stay.
  virtual void ShowError(const QString& message);
  // Points at the part of the condition a formula error concerns, before the box is shown.
  virtual void MarkError(const EExpressionError& /*error*/) {}
  QWidget* ToolPanel() const { return FToolPanel; }

 private:
  void ShowTable();
  void OnSelectionChanged();

  QWidget* FToolPanel;
  QTreeWidget* FListView;
  const TDayDataList* FDayDataList = nullptr;
  TDiaryDocument* FDocument = nullptr;
  TActTable FTable;
  int FColumnToSort = 0;
  int FColumnSortCoefficient = 1;
  bool FSorted = false;  // no arrow until the user sorts
};

// Ctrl+F: actions whose texts contain the search text (every action when it is empty).
class TActStringForm : public TActForm {
  Q_OBJECT

 public:
  explicit TActStringForm(QWidget* parent = nullptr);
  QLineEdit* SearchEdit() const { return FSearchEdit; }
  QToolButton* SearchBtn() const { return FSearchBtn; }

 protected:
  std::unique_ptr<TActSearch> MakeSearch() const override;
  void showEvent(QShowEvent* event) override;
  // Whether the box's Enter belongs to a completion list that is open.
  virtual bool IsCompleting() const { return false; }

  QLineEdit* FSearchEdit;
  QToolButton* FSearchBtn;
};

// 抽出: the actions of one category that meet a condition of search words and "=" formulas.
class TActCategoryForm : public TActStringForm {
  Q_OBJECT

 public:
  explicit TActCategoryForm(QWidget* parent = nullptr);
  void SetCategoryInfoList(const TCategoryInfoList* infos) { FCategoryInfoList = infos; }
  void SetIsViewEnergyConsumption(bool value) { FIsViewEnergyConsumption = value; }
  QComboBox* CategoryCombo() const { return FCategoryCombo; }
  TCategoryType CategoryType() const { return FCategoryType; }
  // The value titles of the category, offered as "[距離]" when a "[" is typed and on a menu.
  QCompleter* TitleCompleter() const { return FTitleCompleter; }
  QMenu* TitleMenu() const { return FTitleMenu; }
  QToolButton* TitleBtn() const { return FTitleBtn; }
  QLabel* HelpLabel() const { return FHelpLabel; }
  // Puts a title where the cursor stands, over a "[" and what was typed after it.
  void InsertTitle(const QString& title);

 protected:
  std::unique_ptr<TActSearch> MakeSearch() const override;
  void showEvent(QShowEvent* event) override;
  void MarkError(const EExpressionError& error) override;
  bool IsCompleting() const override;

 private:
  void SetTitles(const QStringList& titles);
  // The "[" before the cursor whose reference is still being typed, or -1.
  int OpenBracketBeforeCursor() const;
  void OnConditionEdited();

  QComboBox* FCategoryCombo;
  QLabel* FSearchLabel;
  QLabel* FHelpLabel;
  QToolButton* FTitleBtn;
  QMenu* FTitleMenu;
  QCompleter* FTitleCompleter;
  const TCategoryInfoList* FCategoryInfoList = nullptr;
  bool FIsViewEnergyConsumption = false;
  TCategoryType FCategoryType = ctUserCategory;
};

}  // namespace hakuvo
