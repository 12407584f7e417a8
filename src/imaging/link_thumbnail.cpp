#include "imaging/link_thumbnail.h"

#include <QPainter>
#include <QPolygonF>
#include <cmath>
#include <memory>

#include "core/gps/gps_file.h"

#include <QPainter>
#include <QPolygon>

#include <algorithm>
#include <exception>
#include <filesystem>
#include <optional>

#include "imaging/picture_loader.h"
#include "imaging/rotate_bitmap.h"
#include "imaging/view_file.h"

namespace hakuvo {

namespace {

int NormalizedAngle(int angle) { return ((angle % 360) + 360) % 360; }

bool IsQuarterTurn(int angle) {
  const int normalized = NormalizedAngle(angle);
  return normalized == 90 || normalized == 270;
}

QSize FitBox(int angle, QSize size) { return IsQuarterTurn(angle) ? size.transposed() : size; }

bool IsExistingFile(const std::string& fileName) {
  if (fileName.empty()) return false;
  std::error_code error;
  return std::filesystem::is_regular_file(fileName, error);
}

// The picture as plain 32-bit pixels; transparent parts lie on the thumbnail's white.
QImage OpaqueRgb32(const QImage& picture) {
  if (picture.format() == QImage::Format_RGB32) return picture;
  if (!picture.hasAlphaChannel()) return picture.convertToFormat(QImage::Format_RGB32);
  QImage opaque(picture.size(), QImage::Format_RGB32);
  opaque.fill(Qt::white);
  QPainter painter(&opaque);
  painter.drawImage(0, 0, picture);
  return opaque;
}

// The picture resampled to `size` by the same area average the thumbnail files are made with.
QImage ScaledPicture(const QImage& picture, QSize size) {
  const QImage source = picture.format() == QImage::Format_Grayscale8 ? picture : OpaqueRgb32(picture);
  const TPixelRows rows{source.constBits(), source.width(), source.height(), source.bytesPerLine(),
                        source.format() == QImage::Format_Grayscale8 ? pfGrey8 : pfRgb32};
  TPixelImage scaled = ScaleSmooth(rows, {size.width(), size.height()});
  const QImage view(scaled.Bits(), scaled.Width(), scaled.Height(), scaled.Stride(), QImage::Format_RGB32);
  return view.copy();
}

std::optional<TLoadedPicture> LoadJobPicture(const TThumbnailJob& job, QSize size) {
  const std::string& fileName = IsExistingFile(job.ViewFileName) ? job.ViewFileName : job.PictureFileName;
  if (!IsExistingFile(fileName)) return std::nullopt;
  const QSize box = FitBox(job.Angle, size);
  // A photograph is decoded no larger than it is shown: libjpeg skips most of its work then.
  const TWantedQtSize wanted = [box](QSize stored) { return ThumbnailSize(stored, box.width(), box.height()); };
  try {
    std::optional<TLoadedPicture> picture = LoadGraphicReduced(fileName, wanted);
    if (!picture || picture->Image.isNull() || picture->StoredSize.isEmpty()) return std::nullopt;
    return picture;
  } catch (const std::exception&) {
    // Damaged, cut short beyond use, or too large to hold: the thumbnail shows no picture.
    return std::nullopt;
  }
}

}  // namespace

QImage NewThumbnailImage(QSize size) {
  QImage image(size, QImage::Format_RGB32);
  image.fill(Qt::white);
  return image;
}

QRect FittedPictureRect(QSize picture, int angle, QSize size) {
  const QSize box = FitBox(angle, size);
  QSize fitted = ThumbnailSize(picture, box.width(), box.height());
  if (IsQuarterTurn(angle)) fitted.transpose();
  // Halves are cut, not rounded: a picture one pixel narrower than the image sits on the left.
  return {(size.width() - fitted.width()) / 2, (size.height() - fitted.height()) / 2, fitted.width(), fitted.height()};
}

void DrawFittedPicture(QImage& image, const QImage& picture, QSize storedSize, int angle) {
  if (picture.isNull()) return;
  const QSize stored = storedSize.isEmpty() ? picture.size() : storedSize;
  const QRect target = FittedPictureRect(stored, angle, image.size());
  // Scaled before it is turned, as the box was chosen.
  const QSize unturned = IsQuarterTurn(angle) ? target.size().transposed() : target.size();
  QImage scaled = ScaledPicture(picture, unturned);
  if (NormalizedAngle(angle) != 0) scaled = RotateBitmap(scaled, angle);
  QPainter painter(&image);
  painter.drawImage(target.topLeft(), scaled);
}

void DrawEmptyFrame(QImage& image) {
  QPainter painter(&image);
  painter.setPen(QPen(Qt::black, 1));
  painter.setBrush(Qt::white);
  painter.drawRect(0, 0, image.width() - 1, image.height() - 1);
}

void DrawThingSymbol(QImage& image) {
  const int width = image.width() * 7 / 10;
  const int height = image.height() * 7 / 10;
  QPainter painter(&image);
  painter.fillRect((image.width() - width) / 2, (image.height() - height) / 2, width, height, QColor(kSkyBlue));
}

void DrawPersonSymbol(QImage& image) {
  const int w = image.width();
  const int h = image.height();
  const int c = std::min(w * 8 / 10, h * 8 / 10);
  const int bodyDiameter = c * 8 / 10;
  const int faceDiameter = c * 6 / 10;
  const int faceLeft = (w - faceDiameter) / 2;
  const int bodyLeft = (w - bodyDiameter) / 2;
  const int total = static_cast<int>(faceDiameter * 0.9 + bodyDiameter / 2.0);
  const int faceTop = (h - total) / 2;
  const int bodyTop = faceTop + static_cast<int>(faceDiameter * 0.9);
  QPainter painter(&image);
  painter.setPen(QPen(QColor(kSkyBlue), 1));
  painter.setBrush(QColor(kSkyBlue));
  // A one-pixel pen draws a rectangle's outline one pixel beyond its size; these cover exactly
  // their diameters.
  painter.drawEllipse(QRect(faceLeft, faceTop, faceDiameter - 1, faceDiameter - 1));
  painter.drawChord(QRect(bodyLeft, bodyTop, bodyDiameter - 1, bodyDiameter - 1), 0, 180 * 16);
}

void DrawFileSymbol(QImage& image, const QImage& icon) {
  const int w = image.width();
  const int h = image.height();
  const int fileWidth = w * 8 / 10;
  const int fileHeight = h * 8 / 10;
  const int left = (w - fileWidth) / 2;
  const int top = (h - fileHeight) / 2;
  const int corner = static_cast<int>(0.23 * std::min(fileWidth, fileHeight));
  QPainter painter(&image);
  painter.setPen(QPen(QColor(kOutlineGrey), 1));
  const QPolygon page({QPoint(left, top), QPoint(left, top + fileHeight), QPoint(left + fileWidth, top + fileHeight),
                       QPoint(left + fileWidth, top + corner), QPoint(left + fileWidth - corner, top),
                       QPoint(left, top)});
  painter.drawPolyline(page);
  const QPolygon fold({QPoint(left + fileWidth - corner, top), QPoint(left + fileWidth - corner, top + corner),
                       QPoint(left + fileWidth, top + corner)});
  painter.drawPolyline(fold);
  if (!icon.isNull()) {
    painter.drawImage(std::max(0, (w - icon.width()) / 2), std::max(0, (h - icon.height()) / 2), icon);
  }
}

bool DrawTrackOutline(QImage& image, const std::string& trackFileName) {
  QPolygonF line;
  try {
    std::unique_ptr<TGpsFile> track = CreateGpsFile(trackFileName);
    if (!track) return false;
    track->SetFileName(trackFileName);
    for (int i = 0; i < track->GpsList.Count(); ++i) {
      const TGpsData* point = track->GpsList.Get(i);
      line << QPointF(static_cast<double>(point->Longitude()), static_cast<double>(point->Latitude()));
    }
  } catch (const std::exception&) {
    return false;  // a damaged track shows the page symbol
  }
  if (line.size() < 2) return false;
  const QRectF bounds = line.boundingRect();
  const double shrink = std::cos(bounds.center().y() * 3.14159265358979323846 / 180);
  const double width = std::max(bounds.width() * shrink, 1e-9);
  const double height = std::max(bounds.height(), 1e-9);
  const double margin = 0.1 * std::min(image.width(), image.height());
  const double scale = std::min((image.width() - 2 * margin) / width, (image.height() - 2 * margin) / height);
  const QPointF middle(image.width() / 2.0, image.height() / 2.0);
  QPolygonF drawn;
  for (const QPointF& p : line) {
    drawn << middle + QPointF((p.x() - bounds.center().x()) * shrink * scale, -(p.y() - bounds.center().y()) * scale);
  }
  QPainter painter(&image);
  painter.setRenderHint(QPainter::Antialiasing);
  painter.setPen(
      QPen(QColor(0x20, 0x50, 0xE0), std::max(1.5, image.width() / 60.0), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
  painter.drawPolyline(drawn);
  return true;
}

QImage MakeLinkThumbnail(const TThumbnailJob& job, QSize size) {
  QImage image = NewThumbnailImage(size);
  if (job.Kind == TThumbnailKind::Track) {
    if (!DrawTrackOutline(image, job.PictureFileName)) DrawFileSymbol(image, job.FileIcon);
    return image;
  }
  if (job.Kind == TThumbnailKind::File) {
    DrawFileSymbol(image, job.FileIcon);
    return image;
  }
  bool drawn = false;
  if (std::optional<TLoadedPicture> picture = LoadJobPicture(job, size)) {
    try {
      DrawFittedPicture(image, picture->Image, picture->StoredSize, job.Angle);
      drawn = true;
    } catch (const std::exception&) {
      image = NewThumbnailImage(size);  // no memory for the scaled copy
    }
  }
  if (drawn) return image;
  switch (job.Kind) {
    case TThumbnailKind::Thing:
      DrawThingSymbol(image);
      break;
    case TThumbnailKind::Person:
      DrawPersonSymbol(image);
      break;
    default:
      DrawEmptyFrame(image);
      break;
  }
  return image;
}

}  // namespace hakuvo
