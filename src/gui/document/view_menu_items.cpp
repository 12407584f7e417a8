#include "gui/document/view_menu_items.h"

#include <QAction>
#include <QMenu>

#include "core/settings/app_data.h"
#include "gui/document/dock_manager.h"

namespace hakuvo {

TViewMenuItems::TViewMenuItems(TDockManager& docks, TAppData* settings, QObject* parent)
    : QObject(parent),
      FDocks(docks),
      FSettings(settings),
      FShowAll(new QAction(QStringLiteral("すべての機能を表示する(&X)"), this)) {
  const auto& kinds = DockingFormKinds();
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    TDockingForm* form = FDocks.DockingFormList()[i];
    auto* action = new QAction(QString::fromUtf8(kinds[i].ViewItem), this);
    action->setObjectName(QString::fromUtf8(kinds[i].Name) + QStringLiteral("Item"));
    action->setCheckable(true);
    // The check mark is the window's state, never the click's: the click only asks.
    connect(action, &QAction::triggered, this, [this, form] {
      FDocks.ToggleForm(form);
      Update();
    });
    FFormActions.push_back(action);
  }
  FShowAll->setObjectName(QStringLiteral("ShowAllItem"));
  FShowAll->setCheckable(true);
  FShowAll->setChecked(FSettings != nullptr && FSettings->IsShowAll);
  connect(FShowAll, &QAction::toggled, this, [this](bool checked) {
    if (FSettings != nullptr) FSettings->IsShowAll = checked;
    Update();
    emit ShowAllChanged(checked);
  });
  connect(&FDocks, &TDockManager::FormVisibilityChanged, this, &TViewMenuItems::Update);
  Update();
}

QAction* TViewMenuItems::FormAction(const QString& name) const {
  const auto& kinds = DockingFormKinds();
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (name == QString::fromUtf8(kinds[i].Name)) return FFormActions[i];
  }
  return nullptr;
}

void TViewMenuItems::AddFormItems(QMenu& menu) const {
  for (const char* name : {"ActMultiGraphForm", "GraphForm", "MonthGraphForm", "YearGraphForm", "MultiGraphForm",
                           "LinkForm", "LinkPreviewForm", "GoogleMapForm", "SpeedForm"}) {
    menu.addAction(FormAction(QString::fromUtf8(name)));
  }
}

void TViewMenuItems::AddShowAllItem(QMenu& menu) const {
  menu.addSeparator();
  menu.addAction(FShowAll);
}

void TViewMenuItems::AddExtendedCommand(QAction* action) {
  FExtended.emplace_back(action);
  action->setVisible(IsShowAll());
}

bool TViewMenuItems::IsShowAll() const { return FShowAll->isChecked(); }

void TViewMenuItems::SetShowAll(bool value) { FShowAll->setChecked(value); }

void TViewMenuItems::Update() {
  const bool showAll = IsShowAll();
  const auto& kinds = DockingFormKinds();
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    QAction* action = FFormActions[i];
    action->setChecked(FDocks.IsFormShown(FDocks.DockingFormList()[i]));
    action->setVisible(showAll || !kinds[i].IsExtended);
  }
  for (const QPointer<QAction>& action : FExtended) {
    if (action) action->setVisible(showAll);
  }
}

}  // namespace hakuvo
