#include "gui/links/find_file_dialog.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include "core/model/category_type.h"
#include "gui/common/dialog_buttons.h"
#include "gui/common/qt_date_time.h"
#include "gui/common/qt_text.h"

namespace hakuvo {

namespace {

// A list with its add, delete and edit tool bar.
QToolBar* ListToolBar(QWidget* parent, QAction*& add, QAction*& del, QAction*& edit) {
  auto* bar = new QToolBar(parent);
  bar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  add = bar->addAction(QStringLiteral("追加(&A)"));
  add->setToolTip(QStringLiteral("追加"));
  del = bar->addAction(QStringLiteral("削除(&D)"));
  del->setToolTip(QStringLiteral("削除"));
  edit = bar->addAction(QStringLiteral("編集(&E)"));
  edit->setToolTip(QStringLiteral("編集"));
  return bar;
}

TStringList ListTexts(const QListWidget* list) {
  TStringList texts;
  for (int i = 0; i < list->count(); ++i) texts.push_back(ToStdString(list->item(i)->text()));
  return texts;
}

void FillList(QListWidget* list, const TStringList& texts) {
  list->clear();
  for (const std::string& text : texts) list->addItem(ToQString(text));
}

}  // namespace

TFileNameDialog::TFileNameDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ファイル名"));
  auto* layout = new QVBoxLayout(this);
  auto* label = new QLabel(QStringLiteral("ファイル名(&F)"), this);
  FEdit = new QLineEdit(this);
  FEdit->setObjectName(QStringLiteral("Edit"));
  label->setBuddy(FEdit);
  layout->addWidget(label);
  layout->addWidget(FEdit);
  layout->addWidget(OkCancelButtons(this));
  resize(320, sizeHint().height());
}

QString TFileNameDialog::Text() const { return FEdit->text(); }
void TFileNameDialog::SetText(const QString& text) { FEdit->setText(text); }

TAddActionFindFileDialog::TAddActionFindFileDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("ファイル検索登録"));
  auto* layout = new QVBoxLayout(this);

  auto* dateLabel = new QLabel(QStringLiteral("検索日(&D)"), this);
  FStartDatePicker = new QDateEdit(this);
  FEndDatePicker = new QDateEdit(this);
  for (QDateEdit* picker : {FStartDatePicker, FEndDatePicker}) {
    picker->setCalendarPopup(true);
    picker->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  }
  dateLabel->setBuddy(FStartDatePicker);
  auto* dates = new QHBoxLayout;
  dates->addWidget(FStartDatePicker);
  dates->addWidget(new QLabel(QStringLiteral("～"), this));
  dates->addWidget(FEndDatePicker);
  dates->addStretch();
  layout->addWidget(dateLabel);
  layout->addLayout(dates);

  auto* folderLabel = new QLabel(QStringLiteral("検索フォルダ(&F)"), this);
  FFolderListBox = new QListWidget(this);
  folderLabel->setBuddy(FFolderListBox);
  layout->addWidget(folderLabel);
  layout->addWidget(ListToolBar(this, FFolderAddItem, FFolderDelItem, FFolderEditItem));
  layout->addWidget(FFolderListBox);
  FSubFolderCheck = new QCheckBox(QStringLiteral("サブフォルダを含む(&S)"), this);
  layout->addWidget(FSubFolderCheck);

  auto* fileLabel = new QLabel(QStringLiteral("検索ファイル名(&N)"), this);
  FFileListBox = new QListWidget(this);
  fileLabel->setBuddy(FFileListBox);
  layout->addWidget(fileLabel);
  layout->addWidget(ListToolBar(this, FFileAddItem, FFileDelItem, FFileEditItem));
  layout->addWidget(FFileListBox);

  auto* categoryLabel = new QLabel(QStringLiteral("登録カテゴリー(&C)"), this);
  FCategoryCombo = new QComboBox(this);
  FCategoryCombo->setToolTip(QStringLiteral("カテゴリ"));
  categoryLabel->setBuddy(FCategoryCombo);
  FUserCategoryLabel = new QLabel(QStringLiteral("ユーザーカテゴリー(&U)"), this);
  FUserCategoryEdit = new QLineEdit(this);
  FUserCategoryLabel->setBuddy(FUserCategoryEdit);
  FUserCategoryLabel->setEnabled(false);
  FUserCategoryEdit->setEnabled(false);
  auto* categories = new QGridLayout;
  categories->addWidget(categoryLabel, 0, 0);
  categories->addWidget(FCategoryCombo, 1, 0);
  categories->addWidget(FUserCategoryLabel, 0, 1);
  categories->addWidget(FUserCategoryEdit, 1, 1);
  layout->addLayout(categories);
  FOneActCheck = new QCheckBox(QStringLiteral("一日一つのアクションにまとめる(&O)"), this);
  layout->addWidget(FOneActCheck);
  layout->addWidget(OkCancelButtons(this));

  ChooseFolder = [](QWidget* owner, const QString& start) {
    return QFileDialog::getExistingDirectory(owner, QStringLiteral("フォルダ選択"), start);
  };
  RunFileNameDialog = [](TFileNameDialog& dialog) { return dialog.exec(); };

  connect(FFolderAddItem, &QAction::triggered, this, &TAddActionFindFileDialog::FolderAdd);
  connect(FFolderDelItem, &QAction::triggered, this, &TAddActionFindFileDialog::FolderDelete);
  connect(FFolderEditItem, &QAction::triggered, this, &TAddActionFindFileDialog::FolderEdit);
  connect(FFolderListBox, &QListWidget::itemDoubleClicked, this, &TAddActionFindFileDialog::FolderEdit);
  connect(FFileAddItem, &QAction::triggered, this, &TAddActionFindFileDialog::FileAdd);
  connect(FFileDelItem, &QAction::triggered, this, &TAddActionFindFileDialog::FileDelete);
  connect(FFileEditItem, &QAction::triggered, this, &TAddActionFindFileDialog::FileEdit);
  connect(FFileListBox, &QListWidget::itemDoubleClicked, this, &TAddActionFindFileDialog::FileEdit);
  connect(FFolderListBox, &QListWidget::currentRowChanged, this, &TAddActionFindFileDialog::UpdateItemStates);
  connect(FFileListBox, &QListWidget::currentRowChanged, this, &TAddActionFindFileDialog::UpdateItemStates);
  connect(FCategoryCombo, &QComboBox::currentTextChanged, this, &TAddActionFindFileDialog::OnCategoryChanged);
  UpdateItemStates();
  resize(420, 520);
}

void TAddActionFindFileDialog::SetCategoryChoices(const QStringList& choices) {
  FCategoryCombo->clear();
  FCategoryCombo->addItems(choices);
}
void TAddActionFindFileDialog::SetFolders(const TStringList& folders) {
  FillList(FFolderListBox, folders);
  UpdateItemStates();
}
void TAddActionFindFileDialog::SetPatterns(const TStringList& patterns) {
  FillList(FFileListBox, patterns);
  UpdateItemStates();
}
void TAddActionFindFileDialog::SetSubFolders(bool value) { FSubFolderCheck->setChecked(value); }
void TAddActionFindFileDialog::SetOneAct(bool value) { FOneActCheck->setChecked(value); }

void TAddActionFindFileDialog::PrepareForShow() {
  const QDate today = ToQDate(Today());
  FStartDatePicker->setDate(today);
  FEndDatePicker->setDate(today);
  const int file = FCategoryCombo->findText(ToQString(CategoryNames()[ctFile]));
  if (file >= 0) FCategoryCombo->setCurrentIndex(file);
  OnCategoryChanged(FCategoryCombo->currentText());
}

TStringList TAddActionFindFileDialog::Folders() const { return ListTexts(FFolderListBox); }
TStringList TAddActionFindFileDialog::Patterns() const { return ListTexts(FFileListBox); }
bool TAddActionFindFileDialog::SubFolders() const { return FSubFolderCheck->isChecked(); }
bool TAddActionFindFileDialog::OneAct() const { return FOneActCheck->isChecked(); }
QString TAddActionFindFileDialog::CategoryText() const { return FCategoryCombo->currentText(); }

TFindFileOptions TAddActionFindFileDialog::Options() const {
  TFindFileOptions options;
  options.StartDate = FromQDate(FStartDatePicker->date());
  options.EndDate = FromQDate(FEndDatePicker->date());
  options.Folders = Folders();
  options.Patterns = Patterns();
  options.SubFolders = SubFolders();
  options.OneAct = OneAct();
  options.Category = CategoryTypeFromName(ToStdString(CategoryText()));
  options.UserCategory = ToStdString(FUserCategoryEdit->text());
  return options;
}

void TAddActionFindFileDialog::FolderAdd() {
  const QString folder = ChooseFolder(this, QString());
  if (folder.isEmpty()) return;
  FFolderListBox->addItem(folder);
  UpdateItemStates();
}

void TAddActionFindFileDialog::FolderEdit() {
  QListWidgetItem* item = FFolderListBox->currentItem();
  if (item == nullptr) return;
  const QString folder = ChooseFolder(this, item->text());
  if (!folder.isEmpty()) item->setText(folder);
}

void TAddActionFindFileDialog::FolderDelete() {
  delete FFolderListBox->takeItem(FFolderListBox->currentRow());
  UpdateItemStates();
}

void TAddActionFindFileDialog::FileAdd() {
  TFileNameDialog dialog(this);
  if (RunFileNameDialog(dialog) != QDialog::Accepted) return;
  FFileListBox->addItem(dialog.Text());
  UpdateItemStates();
}

void TAddActionFindFileDialog::FileEdit() {
  QListWidgetItem* item = FFileListBox->currentItem();
  if (item == nullptr) return;
  TFileNameDialog dialog(this);
  dialog.SetText(item->text());
  if (RunFileNameDialog(dialog) == QDialog::Accepted) item->setText(dialog.Text());
}

void TAddActionFindFileDialog::FileDelete() {
  delete FFileListBox->takeItem(FFileListBox->currentRow());
  UpdateItemStates();
}

void TAddActionFindFileDialog::UpdateItemStates() {
  const bool folder = FFolderListBox->currentItem() != nullptr;
  FFolderDelItem->setEnabled(folder);
  FFolderEditItem->setEnabled(folder);
  const bool file = FFileListBox->currentItem() != nullptr;
  FFileDelItem->setEnabled(file);
  FFileEditItem->setEnabled(file);
}

void TAddActionFindFileDialog::OnCategoryChanged(const QString& text) {
  const std::string name = ToStdString(text);
  const bool user = CategoryTypeFromName(name) == ctUserCategory;
  FUserCategoryLabel->setEnabled(user);
  FUserCategoryEdit->setEnabled(user);
  // A user category's own name, not the generic one, fills the edit.
  if (user && name != CategoryNames()[ctUserCategory]) FUserCategoryEdit->setText(text);
}

void TAddActionFindFileDialog::accept() {
  if (FEndDatePicker->date() < FStartDatePicker->date()) {
    const QDate start = FStartDatePicker->date();
    FStartDatePicker->setDate(FEndDatePicker->date());
    FEndDatePicker->setDate(start);
  }
  QDialog::accept();
}

}  // namespace hakuvo
