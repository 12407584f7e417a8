#include "gui/common/dialog_buttons.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QPushButton>

namespace hakuvo {

QDialogButtonBox* OkCancelButtons(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("OK"), QDialogButtonBox::AcceptRole);
  ok->setObjectName(QStringLiteral("OKBtn"));
  ok->setDefault(true);
  buttons->addButton(QStringLiteral("キャンセル"), QDialogButtonBox::RejectRole)
      ->setObjectName(QStringLiteral("CancelBtn"));
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, dialog, &QDialog::reject);
  return buttons;
}

}  // namespace hakuvo
