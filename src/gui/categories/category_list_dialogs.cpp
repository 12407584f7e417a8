#include "gui/categories/category_list_dialogs.h"

#include <QAction>
#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "gui/categories/category_set_dialog.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_text.h"

namespace hakuvo {

namespace {

QString BuiltInName(TCategoryType category) {
  const auto& names = CategoryNames();
  return ToQString(names.at(static_cast<std::size_t>(category)));
}

TCategoryType TypeOfName(const QString& name) { return CategoryTypeFromName(ToStdString(name)); }

QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton** okOut = nullptr) {
  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setObjectName(QStringLiteral("OkButton"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
  cancel->setObjectName(QStringLiteral("CancelButton"));
  QObject::connect(ok, &QPushButton::clicked, dialog, &QDialog::accept);
  QObject::connect(cancel, &QPushButton::clicked, dialog, &QDialog::reject);
  auto* row = new QHBoxLayout;
  row->addStretch(1);
  row->addWidget(ok);
  row->addWidget(cancel);
  if (okOut) *okOut = ok;
  return row;
}

}  // namespace

// ---- category list ----

TCategoryListSetDialog::TCategoryListSetDialog(QWidget* owner)
    : QDialog(owner), FTempCategoryInfoList(std::make_unique<TCategoryInfoList>()) {
  setWindowTitle(QStringLiteral("カテゴリ設定"));
  setObjectName(QStringLiteral("CategoryListSetDialog"));

  auto* toolBar = new QToolBar;
  toolBar->setToolButtonStyle(Qt::ToolButtonTextOnly);
  auto addAction = [&](const QString& text, const QString& hint, void (TCategoryListSetDialog::*command)()) {
    QAction* action = toolBar->addAction(text);
    action->setToolTip(hint);
    action->setObjectName(hint + QStringLiteral("Action"));
    connect(action, &QAction::triggered, this, [this, command] { (this->*command)(); });
  };
  addAction(QStringLiteral("追加(&A)"), QStringLiteral("追加"), &TCategoryListSetDialog::AddCommand);
  addAction(QStringLiteral("削除(&D)"), QStringLiteral("削除"), &TCategoryListSetDialog::DeleteCommand);
  addAction(QStringLiteral("編集(&E)"), QStringLiteral("編集"), &TCategoryListSetDialog::EditCommand);

  FListBox = new QListWidget;
  FListBox->setObjectName(QStringLiteral("CategoryListBox"));
  connect(FListBox, &QListWidget::itemDoubleClicked, this, [this] { EditCommand(); });

  auto* up = new QToolButton;
  up->setText(QStringLiteral("▲"));
  up->setToolTip(QStringLiteral("上"));
  up->setObjectName(QStringLiteral("UpButton"));
  connect(up, &QToolButton::clicked, this, [this] { MoveUpCommand(); });
  auto* down = new QToolButton;
  down->setText(QStringLiteral("▼"));
  down->setToolTip(QStringLiteral("下"));
  down->setObjectName(QStringLiteral("DownButton"));
  connect(down, &QToolButton::clicked, this, [this] { MoveDownCommand(); });
  auto* arrows = new QVBoxLayout;
  arrows->addStretch(1);
  arrows->addWidget(up);
  arrows->addWidget(down);
  arrows->addStretch(1);

  auto* listRow = new QHBoxLayout;
  listRow->addWidget(FListBox, 1);
  listRow->addLayout(arrows);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(toolBar);
  layout->addLayout(listRow, 1);
  layout->addLayout(OkCancelRow(this));
  resize(320, 400);
}

TCategoryListSetDialog::~TCategoryListSetDialog() = default;

void TCategoryListSetDialog::SetCategoryList(TCategoryList* list) {
  FCategoryList = list;
  FListBox->clear();
  if (!list) return;
  for (const TCategoryData& entry : list->Data()) FListBox->addItem(BuiltInName(entry.Category));
}

QStringList TCategoryListSetDialog::Names() const {
  QStringList names;
  for (int i = 0; i < FListBox->count(); ++i) names << FListBox->item(i)->text();
  return names;
}

void TCategoryListSetDialog::showEvent(QShowEvent* event) {
  if (FCategoryInfoList) {
    FTempCategoryInfoList->CopyList(*FCategoryInfoList);
    FTempFilled = true;
  }
  QDialog::showEvent(event);
}

void TCategoryListSetDialog::MoveSelected(int step) {
  const int row = FListBox->currentRow();
  if (row < 0 || !FListBox->currentItem()->isSelected()) return;
  const int target = row + step;
  if (target < 0 || target >= FListBox->count()) return;
  QListWidgetItem* item = FListBox->takeItem(row);
  FListBox->insertItem(target, item);
  FListBox->setCurrentRow(target);
}

void TCategoryListSetDialog::MoveUpCommand() { MoveSelected(-1); }
void TCategoryListSetDialog::MoveDownCommand() { MoveSelected(+1); }

void TCategoryListSetDialog::AddCommand() {
  TCategoryAddDialog dialog(this);
  dialog.SetListBox(FListBox);
  if (dialog.exec() != QDialog::Accepted) return;
  FListBox->addItems(dialog.CheckedNames());
}

void TCategoryListSetDialog::DeleteCommand() {
  const int row = FListBox->currentRow();
  if (row < 0 || !FListBox->currentItem()->isSelected()) return;
  delete FListBox->takeItem(row);
}

void TCategoryListSetDialog::EditCommand() {
  QListWidgetItem* item = FListBox->currentItem();
  if (!item || !item->isSelected() || !FTempFilled) return;
  const TCategoryType category = TypeOfName(item->text());
  TCategoryInfo* info = FTempCategoryInfoList->GetCategoryItems(category);
  if (!info) return;
  auto dialog = CreateCategorySetDialog(this, category);
  dialog->SetCategoryInfo(info);
  dialog->exec();
}

void TCategoryListSetDialog::accept() {
  if (FCategoryList) {
    FCategoryList->Clear();
    for (const QString& name : Names()) FCategoryList->Add({TypeOfName(name)});
  }
  // Without a copy taken when shown there is nothing edited, and copying back would empty the
  // diary's settings.
  if (FCategoryInfoList && FTempFilled) FCategoryInfoList->CopyList(*FTempCategoryInfoList);
  QDialog::accept();
}

// ---- adding categories ----

namespace {

struct TAddItem {
  TCategoryType Category;
  int Group;
};

const QString kGroupNames[] = {QStringLiteral("スポーツ"), QStringLiteral("評価"),       QStringLiteral("趣味"),
                               QStringLiteral("マネー"),   QStringLiteral("飲食"),       QStringLiteral("交通"),
                               QStringLiteral("健康"),     QStringLiteral("観光・出張"), QStringLiteral("コンピュータ"),
                               QStringLiteral("その他")};

enum : int { gSports = 0, gEvaluation, gHobby, gMoney, gFood, gTraffic, gHealth, gTravel, gComputer, gOther };

constexpr TAddItem kAddItems[] = {
    {ctJogging, gSports},       {ctWalking, gSports}, {ctSwimming, gSports},    {ctBicycle, gSports},
    {ctFishing, gHobby},        {ctShopping, gMoney}, {ctRestaurant, gFood},    {ctSweets, gFood},
    {ctWeight, gHealth},        {ctCalorie, gHealth}, {ctVehicle, gTraffic},    {ctSightseeing, gTravel},
    {ctHotel, gTravel},         {ctFile, gComputer},  {ctUserCategory, gOther}, {ctBook, gEvaluation},
    {ctBloodPressure, gHealth},
};

}  // namespace

TCategoryAddDialog::TCategoryAddDialog(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("カテゴリリスト"));
  setObjectName(QStringLiteral("CategoryAddDialog"));

  FListView = new QTreeWidget;
  FListView->setObjectName(QStringLiteral("CategoryListView"));
  FListView->setHeaderHidden(true);
  FListView->setRootIsDecorated(false);
  FListView->setItemsExpandable(false);
  FListView->setIndentation(16);

  std::vector<QTreeWidgetItem*> groups;
  for (const QString& name : kGroupNames) {
    auto* group = new QTreeWidgetItem(FListView, {name});
    group->setFlags(Qt::ItemIsEnabled);
    QFont bold = group->font(0);
    bold.setBold(true);
    group->setFont(0, bold);
    groups.push_back(group);
  }
  for (const TAddItem& entry : kAddItems) {
    const QString name = BuiltInName(entry.Category);
    auto* item = new QTreeWidgetItem(groups[static_cast<std::size_t>(entry.Group)], {name});
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);
    FItems.push_back({name, item});
  }
  FListView->expandAll();

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FListView, 1);
  layout->addLayout(OkCancelRow(this));
  resize(280, 540);
}

void TCategoryAddDialog::RemoveListedItems() {
  if (!FListBox) return;
  for (int i = static_cast<int>(FItems.size()) - 1; i >= 0; --i) {
    const auto index = static_cast<std::size_t>(i);
    if (!FListBox->findItems(FItems[index].Name, Qt::MatchExactly).isEmpty()) {
      delete FItems[index].Item;
      FItems.erase(FItems.begin() + i);
    }
  }
  // A group with nothing left in it is not shown at all.
  for (int i = 0; i < FListView->topLevelItemCount(); ++i) {
    QTreeWidgetItem* group = FListView->topLevelItem(i);
    group->setHidden(group->childCount() == 0);
  }
  // Start on the first category rather than on a group heading.
  if (!FItems.empty()) FListView->setCurrentItem(FItems.front().Item, 0, QItemSelectionModel::NoUpdate);
}

void TCategoryAddDialog::showEvent(QShowEvent* event) {
  RemoveListedItems();
  QDialog::showEvent(event);
  if (FItems.empty()) {
    // After the dialog is on screen, so the message appears in front of it.
    QTimer::singleShot(0, this, [this] { ShowMessage(QStringLiteral("すでにすべてのカテゴリが登録されています")); });
  }
}

void TCategoryAddDialog::ShowMessage(const QString& message) {
  if (FMessageHandler) {
    FMessageHandler(message);
  } else {
    QMessageBox::information(this, AppTitle(), message);
  }
}

QStringList TCategoryAddDialog::ItemNames() const {
  QStringList names;
  for (const TItem& item : FItems) names << item.Name;
  return names;
}

QStringList TCategoryAddDialog::CheckedNames() const {
  QStringList names;
  for (const TItem& item : FItems) {
    if (item.Item->checkState(0) == Qt::Checked) names << item.Name;
  }
  return names;
}

void TCategoryAddDialog::SetChecked(const QString& name, bool checked) {
  for (const TItem& item : FItems) {
    if (item.Name == name) item.Item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
  }
}

// ---- converting actions to another category ----

TCategoryConvDialog::TCategoryConvDialog(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("カテゴリ変更"));
  setObjectName(QStringLiteral("CategoryConvDialog"));

  FComboBox = new QComboBox;
  FComboBox->setObjectName(QStringLiteral("CategoryCombo"));
  FComboBox->setEditable(false);
  FComboBox->setMaxVisibleItems(20);
  FComboBox->setToolTip(QStringLiteral("カテゴリ"));
  FComboBox->setMinimumWidth(180);
  auto* label = new QLabel(QStringLiteral("変更するカテゴリー(&C)"));
  label->setBuddy(FComboBox);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(label);
  layout->addWidget(FComboBox);
  layout->addStretch(1);
  layout->addLayout(OkCancelRow(this, &FOkButton));
  // Converting into "no category" would leave the actions without a name to show.
  auto update = [this] { FOkButton->setEnabled(FComboBox->currentIndex() >= 0); };
  connect(FComboBox, &QComboBox::currentIndexChanged, this, update);
  update();
}

void TCategoryConvDialog::SetCategoryNames(const QStringList& names) {
  FComboBox->clear();
  FComboBox->addItems(names);
  FComboBox->setCurrentIndex(-1);
}

void TCategoryConvDialog::SetCategory(TCategoryType category) {
  FComboBox->setCurrentIndex(FComboBox->findText(BuiltInName(category), Qt::MatchExactly));
}

TCategoryType TCategoryConvDialog::Category() const { return TypeOfName(FComboBox->currentText()); }

QString TCategoryConvDialog::CategoryName() const { return FComboBox->currentText(); }

}  // namespace hakuvo
