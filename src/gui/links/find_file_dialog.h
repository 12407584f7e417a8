#pragma once

#include <QDialog>
#include <QStringList>
#include <functional>

#include "core/common/date_time.h"
#include "core/common/text_util.h"
#include "core/register/find_files.h"

class QAction;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace hakuvo {

// "ファイル名": one file-name pattern.
class TFileNameDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TFileNameDialog(QWidget* parent = nullptr);
  QLineEdit* Edit() const { return FEdit; }
  QString Text() const;
  void SetText(const QString& text);

 private:
  QLineEdit* FEdit = nullptr;
};

// "ファイル検索登録": the date range, folders, file-name patterns and category of a registration of
// the files changed on disk.
class TAddActionFindFileDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TAddActionFindFileDialog(QWidget* parent = nullptr);

  // Filled before showing: the main window's category choices, the remembered lists and checks.
  void SetCategoryChoices(const QStringList& choices);
  void SetFolders(const TStringList& folders);
  void SetPatterns(const TStringList& patterns);
  void SetSubFolders(bool value);
  void SetOneAct(bool value);
  // Both dates become today, and the file category is chosen.
  void PrepareForShow();

  // The choices, read after OK (the dates in order).
  TFindFileOptions Options() const;
  TStringList Folders() const;
  TStringList Patterns() const;
  bool SubFolders() const;
  bool OneAct() const;
  QString CategoryText() const;

  // The folder chooser ("フォルダ選択", starting at the given folder; empty when cancelled) and the
  // file-name dialog runner; tests answer them.
  std::function<QString(QWidget* parent, const QString& start)> ChooseFolder;
  std::function<int(TFileNameDialog& dialog)> RunFileNameDialog;

  QDateEdit* StartDatePicker() const { return FStartDatePicker; }
  QDateEdit* EndDatePicker() const { return FEndDatePicker; }
  QListWidget* FolderListBox() const { return FFolderListBox; }
  QListWidget* FileListBox() const { return FFileListBox; }
  QCheckBox* SubFolderCheck() const { return FSubFolderCheck; }
  QCheckBox* OneActCheck() const { return FOneActCheck; }
  QComboBox* CategoryCombo() const { return FCategoryCombo; }
  QLineEdit* UserCategoryEdit() const { return FUserCategoryEdit; }
  QLabel* UserCategoryLabel() const { return FUserCategoryLabel; }
  QAction* FolderAddItem() const { return FFolderAddItem; }
  QAction* FolderDelItem() const { return FFolderDelItem; }
  QAction* FolderEditItem() const { return FFolderEditItem; }
  QAction* FileAddItem() const { return FFileAddItem; }
  QAction* FileDelItem() const { return FFileDelItem; }
  QAction* FileEditItem() const { return FFileEditItem; }

  void FolderAdd();
  void FolderEdit();
  void FolderDelete();
  void FileAdd();
  void FileEdit();
  void FileDelete();

  void accept() override;

 private:
  void OnCategoryChanged(const QString& text);
  void UpdateItemStates();

  QDateEdit* FStartDatePicker = nullptr;
  QDateEdit* FEndDatePicker = nullptr;
  QListWidget* FFolderListBox = nullptr;
  QListWidget* FFileListBox = nullptr;
  QCheckBox* FSubFolderCheck = nullptr;
  QCheckBox* FOneActCheck = nullptr;
  QComboBox* FCategoryCombo = nullptr;
  QLineEdit* FUserCategoryEdit = nullptr;
  QLabel* FUserCategoryLabel = nullptr;
  QAction* FFolderAddItem = nullptr;
  QAction* FFolderDelItem = nullptr;
  QAction* FFolderEditItem = nullptr;
  QAction* FFileAddItem = nullptr;
  QAction* FFileDelItem = nullptr;
  QAction* FFileEditItem = nullptr;
};

}  // namespace hakuvo
