#include "gui/links/thing_list_set_dialog.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QToolBar>
#include <QVBoxLayout>

#include <algorithm>

#include "core/model/act_data.h"
#include "core/model/day_data.h"
#include "gui/common/dialog_buttons.h"
#include "gui/common/qt_text.h"
#include "gui/links/thing_dialog.h"

namespace hakuvo {

void RemoveLinkFromActions(TDayDataList& days, const TLinkData* link) {
  for (const auto& day : days) {
    for (const auto& act : day->ActDataList) {
      while (act->LinkDataList.IndexOf(link) >= 0) act->LinkDataList.Remove(link);
    }
  }
}

TThingListSetDialog::TThingListSetDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("物リスト設定"));
  auto* tools = new QToolBar;
  tools->setObjectName(QStringLiteral("ThingListToolBar"));
  tools->setToolButtonStyle(Qt::ToolButtonTextOnly);
  QAction* add = tools->addAction(QStringLiteral("追加(&A)"), this, &TThingListSetDialog::AddCommand);
  add->setToolTip(QStringLiteral("追加"));
  QAction* remove = tools->addAction(QStringLiteral("削除(&D)"), this, &TThingListSetDialog::DeleteCommand);
  remove->setToolTip(QStringLiteral("削除"));
  QAction* edit = tools->addAction(QStringLiteral("編集(&E)"), this, &TThingListSetDialog::EditCommand);
  edit->setToolTip(QStringLiteral("編集"));

  FListBox = new QListWidget;
  FListBox->setObjectName(QStringLiteral("ListBox"));
  connect(FListBox, &QListWidget::itemDoubleClicked, this, [this] { EditCommand(); });

  auto* up = new QPushButton(QStringLiteral("▲"));
  auto* down = new QPushButton(QStringLiteral("▼"));
  connect(up, &QPushButton::clicked, this, [this] { MoveCommand(-1); });
  connect(down, &QPushButton::clicked, this, [this] { MoveCommand(1); });
  auto* moves = new QVBoxLayout;
  moves->addStretch(1);
  moves->addWidget(up);
  moves->addWidget(down);
  moves->addStretch(1);

  auto* body = new QHBoxLayout;
  body->addWidget(FListBox, 1);
  body->addLayout(moves);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(tools);
  layout->addLayout(body, 1);
  layout->addWidget(OkCancelButtons(this));
  resize(340, 360);
}

TThingListSetDialog::~TThingListSetDialog() = default;

void TThingListSetDialog::Prepare() {
  FPrepared = true;
  FTempThingList.Clear();
  if (FThingList != nullptr) FTempThingList.CopyList(*FThingList);
  FListBox->clear();
  for (TLinkData* link : FTempThingList) FListBox->addItem(ToQString(link->Title()));
}

void TThingListSetDialog::showEvent(QShowEvent* event) {
  if (!FPrepared) Prepare();
  QDialog::showEvent(event);
}

std::unique_ptr<TThingLink> TThingListSetDialog::NewLink() const { return std::make_unique<TThingLink>(); }

std::unique_ptr<TLinkEntryDialog> TThingListSetDialog::MakeEditor(TThingLink& link) {
  auto dialog = std::make_unique<TThingDialog>(this);
  dialog->SetThingLink(&link);
  return dialog;
}

bool TThingListSetDialog::RunEditor(TThingLink& link) {
  std::unique_ptr<TLinkEntryDialog> dialog = MakeEditor(link);
  dialog->SetCategoryList(FCategoryList);
  if (FEditor) {
    dialog->Prepare();
    return FEditor(*dialog);
  }
  return dialog->exec() == QDialog::Accepted;
}

void TThingListSetDialog::AddCommand() {
  std::unique_ptr<TThingLink> link = NewLink();
  if (!RunEditor(*link)) return;
  FTempThingList.Add(link.get());
  FListBox->addItem(ToQString(link->Title()));
  FListBox->setCurrentRow(FListBox->count() - 1);
  FAdded.push_back(std::move(link));
}

void TThingListSetDialog::DeleteCommand() {
  const int row = FListBox->currentRow();
  if (row < 0 || row >= FTempThingList.Count()) return;
  TLinkData* link = FTempThingList[row];
  FTempThingList.Remove(link);
  delete FListBox->takeItem(row);
  FDeleteList.Add(link);
}

void TThingListSetDialog::EditCommand() {
  const int row = FListBox->currentRow();
  if (row < 0 || row >= FTempThingList.Count()) return;
  auto* thing = dynamic_cast<TThingLink*>(FTempThingList[row]);
  if (thing == nullptr || !RunEditor(*thing)) return;
  FListBox->item(row)->setText(ToQString(thing->Title()));
}

void TThingListSetDialog::MoveCommand(int step) {
  const int row = FListBox->currentRow();
  const int target = row + step;
  if (row < 0 || target < 0 || target >= FTempThingList.Count()) return;
  TLinkData* link = FTempThingList[row];
  FTempThingList.SetItems(row, FTempThingList[target]);
  FTempThingList.SetItems(target, link);
  QListWidgetItem* item = FListBox->takeItem(row);
  FListBox->insertItem(target, item);
  FListBox->setCurrentRow(target);
}

void TThingListSetDialog::Commit(TLinkDataOwner& owner, TDayDataList& days) {
  std::vector<std::unique_ptr<TLinkData>> doomed;
  for (TLinkData* link : FDeleteList) {
    RemoveLinkFromActions(days, link);
    // A thing added and deleted again in one sitting was never the owner's.
    const auto added =
        std::find_if(FAdded.begin(), FAdded.end(), [link](const auto& own) { return own.get() == link; });
    if (added != FAdded.end()) {
      doomed.push_back(std::move(*added));
      FAdded.erase(added);
    } else if (std::unique_ptr<TLinkData> owned = owner.Remove(link)) {
      doomed.push_back(std::move(owned));
    }
  }
  for (std::unique_ptr<TLinkData>& link : FAdded) owner.Add(std::move(link));
  FAdded.clear();
  owner.Reorder(FTempThingList.Data());
  FDeleteList.Clear();
  for (const std::unique_ptr<TLinkData>& link : doomed) {
    if (auto* thing = dynamic_cast<TThingLink*>(link.get())) thing->DeleteViewFile();
  }
}

TPersonListSetDialog::TPersonListSetDialog(QWidget* parent) : TThingListSetDialog(parent) {
  setWindowTitle(QStringLiteral("人リスト設定"));
}

std::unique_ptr<TThingLink> TPersonListSetDialog::NewLink() const { return std::make_unique<TPersonLink>(); }

std::unique_ptr<TLinkEntryDialog> TPersonListSetDialog::MakeEditor(TThingLink& link) {
  auto dialog = std::make_unique<TPersonDialog>(this);
  dialog->SetPersonLink(dynamic_cast<TPersonLink*>(&link));
  return dialog;
}

}  // namespace hakuvo
