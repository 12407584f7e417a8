#pragma once

#include <QString>

class QWidget;

namespace hakuvo {

// The program's title, used for every message box.
inline const QString& AppTitle() {
  static const QString title = QStringLiteral("跳記");
  return title;
}

// A failed command shows its message in an error box titled with the program's name.
void ShowErrorBox(QWidget* parent, const QString& message);

}  // namespace hakuvo
