#include "gui/graph/graph_info_set_dialog.h"

#include <QAbstractButton>
#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/categories/category_set_dialog_pages.h"
#include "gui/common/error_box.h"

namespace hakuvo {

TGraphInfoSetDialog::TGraphInfoSetDialog(QWidget* parent) : QDialog(parent) {
  setObjectName(QStringLiteral("GraphInfoSetDialog"));
  setWindowTitle(QStringLiteral("グラフ設定"));
  FPage = new TGraphSettingsPage(QStringLiteral("日"), QStringLiteral("グラフ"), this);
  // The orientation choice is the category graphs' alone.
  if (QAbstractButton* button = FPage->AxisGroup()->button(0)) button->parentWidget()->hide();
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole);
  ok->setDefault(true);
  connect(buttons, &QDialogButtonBox::accepted, this, &TGraphInfoSetDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &TGraphInfoSetDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FPage);
  layout->addWidget(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
  FErrorHandler = [this](const QString& message) { ShowErrorBox(this, message); };
}

QWidget* TGraphInfoSetDialog::DateAxisGroup() const { return FPage->TermRadio()->parentWidget(); }

void TGraphInfoSetDialog::SetGraphInfo(TGraphInfo* info) {
  FGraphInfo = info;
  if (info != nullptr) FPage->Load(*info);
}

void TGraphInfoSetDialog::SetIsDateAxisSet(bool value) {
  FIsDateAxisSet = value;
  // The group is disabled as a whole; its own controls keep their states for when it is enabled.
  DateAxisGroup()->setEnabled(value);
}

void TGraphInfoSetDialog::accept() {
  if (FGraphInfo == nullptr) {
    QDialog::accept();
    return;
  }
  QStringList errors;
  FPage->Check(errors);
  if (!errors.isEmpty()) {
    for (const QString& message : errors) FErrorHandler(message);
    return;
  }
  // The page also stores the orientation, which this dialog does not offer: it stays as it was.
  const bool vertical = FGraphInfo->IsYAxisDate();
  FPage->Store(*FGraphInfo);
  FGraphInfo->SetIsYAxisDate(vertical);
  QDialog::accept();
}

}  // namespace hakuvo
