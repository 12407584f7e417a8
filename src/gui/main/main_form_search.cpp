// The search windows opened from the main window.
#include <QComboBox>

#include "gui/common/qt_rect.h"
#include "gui/common/screen_bounds.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/main_form.h"
#include "gui/search/act_form.h"

namespace hakuvo {

void TMainForm::RunActForm(TActForm& form) {
  form.SetDayDataList(&DayDataList());
  // The first time it opens over the middle of the main window; later where it was left, never
  // larger than the screen.
  const QRect centred = CentredOn(frameGeometry(), form.size(), AvailableAreaAt(frameGeometry().center()));
  form.setGeometry(FitSizeToScreen(ToQRect(FAppData->ActFormBounds(ToBounds(centred)))));
  // A chosen row selects its outing here, by message, while the window stays open.
  form.SetDocument(FDocument.get());
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
    form.SetCategoryInfoList(&CategoryInfoList());
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
