#include <QAction>
#include <QMenu>

#include "core/model/act_data.h"
#include "core/settings/app_data.h"
#include "gui/document/view_menu_items.h"
#include "gui/links/link_form.h"
#include "gui/links/link_view_info_dialog.h"
#include "gui/links/thing_list_set_dialog.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/main_form.h"

namespace hakuvo {

TLinkForm* TMainForm::LinkForm() const { return qobject_cast<TLinkForm*>(FDocks->Form(QStringLiteral("LinkForm"))); }

void TMainForm::CreateLinkCommands() {
  // The diary's extended commands, without shortcuts: shown with "すべての機能を表示する", so that
  // things and persons can be made at all, and the record dialog has some to offer.
  const auto add = [this](const char* name, const QString& text, const QString& hint, void (TMainForm::*handler)()) {
    auto* action = new QAction(text, this);
    action->setObjectName(QString::fromUtf8(name));
    action->setToolTip(hint);
    connect(action, &QAction::triggered, this, handler);
    addAction(action);
    // Beside the map's start view, before the full-screen item.
    if (FViewMenu != nullptr) FViewMenu->insertAction(Action(cmFullScreen), action);
    FViewItems->AddExtendedCommand(action);
  };
  add("ThingListSetAction", QStringLiteral("物リスト設定(&T)..."), QStringLiteral("物リスト設定"),
      &TMainForm::ThingListSetCommand);
  add("PersonListSetAction", QStringLiteral("人リスト設定(&P)..."), QStringLiteral("人リスト"),
      &TMainForm::PersonListSetCommand);
  add("LinkViewInfoAction", QStringLiteral("リンク表示設定(&L)..."), QStringLiteral("リンク表示設定"),
      &TMainForm::LinkViewInfoCommand);
  // The outings' links go with the diary: the link window lets go of them first.
  connect(FDocument.get(), &TDiaryDocument::DiaryAboutToBeReset, this, [this] {
    if (TLinkForm* form = LinkForm()) form->ForgetLinks();
  });
}

void TMainForm::ShowActLinks(TActData* act) {
  TLinkForm* form = LinkForm();
  if (form == nullptr) return;
  form->ForgetLinks();
  if (act == nullptr) return;
  form->SetCategory(act->CategoryStr());
  form->SetCameraClockOffset(static_cast<double>(act->CameraClockOffset));
  form->SetLinkDataList(&act->LinkDataList);
}

void TMainForm::ForgetActLinks(const TActData* act) {
  TLinkForm* form = LinkForm();
  if (form != nullptr && act != nullptr && form->LinkDataList() == &act->LinkDataList) form->ForgetLinks();
}

void TMainForm::DropLinksOnRow(int row, const QMimeData* drag) {
  TLinkForm* form = LinkForm();
  TActData* target = FListModel->Act(row);
  // Onto the outing they belong to already: nothing to move.
  if (form == nullptr || target == nullptr || form->LinkDataList() == &target->LinkDataList) return;
  const std::vector<TLinkData*> links = form->DraggedLinks(drag);
  if (links.empty()) return;
  RunCommand([&] {
    for (TLinkData* link : links) {
      // A thing or person the outing has already stays there once.
      if (target->LinkDataList.IndexOf(link) < 0) target->LinkDataList.Add(link);
    }
    form->TakeOutLinks(links);
    SetIsChange(true);
  });
}

void TMainForm::RunLinkListDialog(TThingListSetDialog& dialog, TLinkDataOwner& owner) {
  dialog.SetThingList(&owner.List());
  dialog.SetCategoryList(&FCategoryList);
  if (FHooks.RunDialog(dialog) != QDialog::Accepted) return;
  // The link window's rows may show a thing about to go.
  if (TLinkForm* form = LinkForm()) form->ForgetLinks();
  dialog.Commit(owner, DayDataList());
  const int row = FListView->FirstSelectedRow();
  if (row >= 0) ShowActLinks(FListModel->Act(row));
  SetIsChange(true);
}

void TMainForm::ThingListSetCommand() {
  RunCommand([this] {
    TThingListSetDialog dialog(this);
    RunLinkListDialog(dialog, ThingList());
  });
}

void TMainForm::PersonListSetCommand() {
  RunCommand([this] {
    TPersonListSetDialog dialog(this);
    RunLinkListDialog(dialog, PersonList());
  });
}

void TMainForm::LinkViewInfoCommand() {
  RunCommand([this] {
    TLinkViewInfoDialog dialog(this);
    TLinkViewInfo& info = FAppData->ChildWindowInfo.LinkViewInfo;
    dialog.SetLinkViewInfo(info);
    if (FHooks.RunDialog(dialog) != QDialog::Accepted) return;
    info.Assign(dialog.LinkViewInfo());
    if (TLinkForm* form = LinkForm()) {
      form->SetLinkViewInfo(&info);
      form->SetListView();
    }
  });
}

}  // namespace hakuvo
