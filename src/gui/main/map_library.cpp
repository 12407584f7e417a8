#include "gui/main/map_library.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLibrary>
#include <QOpenGLContext>

#include "core/common/hakuvo_error.h"
#include "gui/common/timing_log.h"

// The toolkit's setter of the context every window's drawing context shares with. It is what
// the web engine calls when it starts with the application; the toolkit exports it without a
// public header.
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext* context);

namespace hakuvo {

namespace {

const char* const kModuleFile = "libhakuvo_map.so";

// Made on the first map only, on the UI thread, before any web view exists: the windows made
// before it draw without a shared context, which they do not need.
void ShareDrawingContext() {
  if (QOpenGLContext::globalShareContext() != nullptr) return;
  auto* context = new QOpenGLContext(QCoreApplication::instance());
  // A platform without OpenGL (offscreen) fails here; the web engine then draws in software,
  // which it also does when the context is there but not valid.
  context->create();
  qt_gl_set_global_share_context(context);
}

TCreateMapWindow LoadFactory() {
  static TCreateMapWindow factory = nullptr;
  if (factory != nullptr) return factory;
  const TTimingWatch watch;
  QStringList problems;
  for (const QString& path : MapModuleCandidates(QCoreApplication::applicationDirPath())) {
    if (!QFileInfo::exists(path)) continue;
    ShareDrawingContext();
    QLibrary library(path);
    // The module stays loaded for the life of the program: its windows live until the end.
    library.setLoadHints(QLibrary::PreventUnloadHint);
    auto* symbol = reinterpret_cast<TCreateMapWindow>(library.resolve(CreateMapWindowSymbol));
    if (symbol != nullptr) {
      factory = symbol;
      watch.Log("map module loaded");
      return factory;
    }
    problems << library.errorString();
  }
  if (problems.isEmpty()) problems << QStringLiteral("%1 が見つかりません").arg(QString::fromLatin1(kModuleFile));
  throw EHakuvoError("地図のモジュールを読み込めません: " + problems.join(QStringLiteral("; ")).toStdString());
}

}  // namespace

QStringList MapModuleCandidates(const QString& programFolder) {
  const QDir folder(programFolder);
  return {folder.filePath(QString::fromLatin1(kModuleFile)),
          QDir::cleanPath(folder.filePath(QStringLiteral(HAKUVO_MAP_MODULE_FROM_BIN "/") + kModuleFile))};
}

TMapWindow CreateMapWindowFromModule(TAppData& appData, TCategoryInfoList& categoryInfoList, QWidget* parent) {
  return LoadFactory()(appData, categoryInfoList, parent);
}

}  // namespace hakuvo
