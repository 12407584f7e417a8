#pragma once

#include <QString>

class QWidget;

namespace hakuvo {

// The program's title, used for every message box.
inline const QString& AppTitle() {
  static const QString title = QStringLiteral("跳記");
  return title;
}

// A message that carries the system's own reason ("Read-only file system", as the C library
// words it) gets a Japanese sentence for that reason on its first line; the rest stays as it
// was, so that the reason can still be looked up. Other messages come back unchanged.
QString ExplainSystemError(const QString& message);

// A failed command shows its message in an error box titled with the program's name.
void ShowErrorBox(QWidget* parent, const QString& message);

}  // namespace hakuvo
