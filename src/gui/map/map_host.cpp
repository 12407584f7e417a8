#include "gui/map/map_host.h"

#include <QWidget>

#include "gui/common/error_box.h"

namespace hakuvo {

QString TMapHost::Caption() const { return FCaptionWidget != nullptr ? FCaptionWidget->windowTitle() : QString(); }

void TMapHost::SetCaption(const QString& value) {
  if (FCaptionWidget != nullptr) FCaptionWidget->setWindowTitle(value);
  emit CaptionChanged();
}

QString TMapHost::Application() const { return AppTitle(); }

}  // namespace hakuvo
