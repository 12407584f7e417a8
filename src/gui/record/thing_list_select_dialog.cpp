#include "gui/record/thing_list_select_dialog.h"

#include <QHBoxLayout>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

#include <string_view>

#include "core/model/link_data.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_text.h"
#include "gui/record/record_dialog_picture.h"

namespace hakuvo {

namespace {

constexpr int kThingRole = Qt::UserRole + 1;

}  // namespace

bool IsThingOfCategory(const TThingLink& thing, TCategoryType category) {
  const std::string& text = thing.Category();
  if (text.empty()) return true;
  const std::string& name = CategoryNames()[category];
  std::string_view rest = text;
  while (true) {
    const std::size_t separator = rest.find(';');
    if (rest.substr(0, separator) == name) return true;
    if (separator == std::string_view::npos) return false;
    rest.remove_prefix(separator + 1);
  }
}

TThingListSelectDialog::TThingListSelectDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("物リスト選択"));
  FList = new QListWidget;
  FList->setObjectName(QStringLiteral("ThingListBox"));
  FPicture = new TPicturePane;
  FPicture->setMinimumSize(160, 160);
  connect(FList, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) { ShowRowPhoto(FList->row(item)); });
  connect(FList, &QListWidget::itemDoubleClicked, this, &QDialog::accept);

  auto* ok = new QPushButton(QStringLiteral("OK"));
  ok->setDefault(true);
  auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
  connect(cancel, &QPushButton::clicked, this, &QDialog::reject);

  auto* body = new QHBoxLayout;
  body->addWidget(FList, 1);
  body->addWidget(FPicture, 1);
  auto* buttons = new QHBoxLayout;
  buttons->addStretch(1);
  buttons->addWidget(ok);
  buttons->addWidget(cancel);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(buttons);
  resize(420, 300);
}

void TThingListSelectDialog::SetMultiSelect(bool multiSelect) {
  FList->setSelectionMode(multiSelect ? QAbstractItemView::ExtendedSelection : QAbstractItemView::SingleSelection);
}

int TThingListSelectDialog::RowCount() const { return FList->count(); }

TThingLink* TThingListSelectDialog::RowThing(int row) const {
  const QListWidgetItem* item = FList->item(row);
  if (item == nullptr) return nullptr;
  return reinterpret_cast<TThingLink*>(item->data(kThingRole).value<quintptr>());
}

TThingLink* TThingListSelectDialog::ThingLink() const {
  const int current = FList->currentRow();
  if (current >= 0 && FList->item(current)->isSelected()) return RowThing(current);
  for (int row = 0; row < FList->count(); ++row) {
    if (FList->item(row)->isSelected()) return RowThing(row);
  }
  return nullptr;
}

int TThingListSelectDialog::SelCount() const { return static_cast<int>(FList->selectedItems().size()); }

bool TThingListSelectDialog::GetSelected(int row) const {
  const QListWidgetItem* item = FList->item(row);
  return item != nullptr && item->isSelected();
}

void TThingListSelectDialog::FillRows() {
  FList->clear();
  if (FThingList == nullptr) return;
  for (TLinkData* link : *FThingList) {
    auto* thing = dynamic_cast<TThingLink*>(link);
    if (thing == nullptr || !IsThingOfCategory(*thing, FCategory)) continue;
    auto* item = new QListWidgetItem(ToQString(thing->Title()), FList);
    item->setData(kThingRole, QVariant::fromValue(reinterpret_cast<quintptr>(thing)));
  }
  if (FPreset != nullptr) {
    for (int row = 0; row < FList->count(); ++row) {
      if (RowThing(row)->GuidCode() == FPreset->GuidCode()) {
        FList->setCurrentRow(row);
        break;
      }
    }
  }
  ShowRowPhoto(FList->currentRow());
}

void TThingListSelectDialog::ShowRowPhoto(int row) {
  const TThingLink* thing = RowThing(row);
  if (thing == nullptr || thing->PhotoFileName().empty()) {
    FPicture->Clear();
    return;
  }
  FPicture->LoadFile(thing->PhotoFileName(), thing->PhotoRotate());
}

void TThingListSelectDialog::showEvent(QShowEvent* event) {
  FillRows();
  QDialog::showEvent(event);
}

void TThingListSelectDialog::done(int result) {
  if (result == QDialog::Accepted && SelCount() == 0) {
    const QString message = QStringLiteral("リストを選択してください");
    if (FErrorHandler) {
      FErrorHandler(message);
    } else {
      ShowErrorBox(this, message);
    }
    return;
  }
  QDialog::done(result);
}

}  // namespace hakuvo
