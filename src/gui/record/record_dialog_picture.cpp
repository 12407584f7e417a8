#include "gui/record/record_dialog_picture.h"

#include <QPainter>

#include <exception>
#include <optional>

#include "gui/common/wait_cursor.h"
#include "imaging/rotate_bitmap.h"

namespace hakuvo {

TPicturePane::TPicturePane(QWidget* parent) : QWidget(parent) { setMinimumSize(2, 2); }

void TPicturePane::SetPicture(const QImage& image) {
  FImage = image;
  update();
}

void TPicturePane::Clear() { SetPicture(QImage()); }

void TPicturePane::LoadFile(const std::string& fileName, int angle) {
  Clear();
  const TWaitCursor wait;
  try {
    if (std::optional<QImage> picture = LoadPictureRotated(fileName, angle)) SetPicture(*picture);
  } catch (const std::exception&) {
    // A preview has nobody to tell: a damaged picture simply shows nothing.
  }
}

void TPicturePane::paintEvent(QPaintEvent*) {
  if (FImage.isNull()) return;
  QPainter painter(this);
  painter.setRenderHint(QPainter::SmoothPixmapTransform);
  QSize shown = FImage.size().scaled(size(), Qt::KeepAspectRatio);
  if (!FIsEnlarging && shown.width() > FImage.width()) shown = FImage.size();
  const QRect target((width() - shown.width()) / 2, (height() - shown.height()) / 2, shown.width(), shown.height());
  painter.drawImage(target, FImage);
}

}  // namespace hakuvo
