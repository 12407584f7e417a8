#include "gui/links/file_opener.h"

#include <QDesktopServices>
#include <QFileInfo>
#include <QUrl>

namespace hakuvo {

bool OpenWithDesktop(const QString& fileName) { return QDesktopServices::openUrl(QUrl::fromLocalFile(fileName)); }

bool OpenLinkedFile(const QString& fileName, const TFileOpener& opener, const TOpenFailureReporter& report) {
  if (!QFileInfo(fileName).isFile()) {
    if (report) report(QStringLiteral("[ %1 ]が見つかりません").arg(fileName));
    return false;
  }
  if (opener && opener(fileName)) return true;
  if (report) report(QStringLiteral("[ %1 ]を開くプログラムがありません").arg(fileName));
  return false;
}

}  // namespace hakuvo
