// The search windows opened from the main window.
#include <QComboBox>

#include "gui/app/act_form.h"
#include "gui/app/act_list_model.h"
#include "gui/app/act_list_view.h"
#include "gui/app/main_form.h"
#include "gui/app/window_messages.h"

namespace hakuvo {

void TMainForm::RunActForm(TActForm& form) {
  form.SetDayDataList(&FDayDataList);
  const TBounds bounds = FAppData->ActFormBounds({form.x(), form.y(), form.width(), form.height()});
  form.setGeometry(bounds.Left, bounds.Top, bounds.Width, bounds.Height);
  // A chosen row selects its outing here, by message, while the window stays open.
  connect(&form, &TActForm::ActSelected, this, [this](TActData* act) { PostSelectAct(this, act); });
  FHooks.RunDialog(form);
  const QRect closed = form.geometry();
  TChildWindowInfo& info = FAppData->ChildWindowInfo;
  info.ActFormLeft = closed.x();
  info.ActFormTop = closed.y();
  info.ActFormWidth = closed.width();
  info.ActFormHeight = closed.height();
}

void TMainForm::StringSearchCommand() {
  RunCommand([this] {
    TActStringForm form(this);
    RunActForm(form);
  });
}

void TMainForm::CategorySearchCommand() {
  RunCommand([this] {
    TActCategoryForm form(this);
    form.SetCategoryInfoList(FCategoryInfoList.get());
    form.SetIsViewEnergyConsumption(FIsViewEnergyConsumption);
    form.CategoryCombo()->addItems(FCategoryChoices);
    // The category of the selected outing; with none selected, an unnamed user category.
    const TActData* selected = FListModel->Act(FListView->FirstSelectedRow());
    const QString category = selected != nullptr ? QString::fromStdString(selected->CategoryStr()) : QString();
    form.CategoryCombo()->setCurrentIndex(form.CategoryCombo()->findText(category));
    RunActForm(form);
  });
}

}  // namespace hakuvo
