#include "gui/common/error_box.h"

#include <QMessageBox>

namespace hakuvo {

void ShowErrorBox(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, AppTitle(), message);
}

}  // namespace hakuvo
