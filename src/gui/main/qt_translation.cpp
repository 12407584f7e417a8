#include "gui/main/qt_translation.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>
#include <memory>

namespace hakuvo {

bool InstallJapaneseQtTranslation(QCoreApplication& application) {
  auto translator = std::make_unique<QTranslator>();
  if (!translator->load(QStringLiteral("qtbase_ja"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    return false;
  }
  // The application keeps it for the rest of the run.
  translator->setParent(&application);
  return QCoreApplication::installTranslator(translator.release());
}

}  // namespace hakuvo
