#include "gui/common/tool_icons.h"

#include <QPainter>
#include <QPainterPath>
#include <QPixmap>
#include <cmath>
#include <numbers>

namespace hakuvo {

namespace {

void DrawAdd(QPainter& painter) {
  painter.setPen(QPen(QColor(0x2e, 0x8b, 0x3a), 3.2, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(8, 2.5), QPointF(8, 13.5));
  painter.drawLine(QPointF(2.5, 8), QPointF(13.5, 8));
}

void DrawDelete(QPainter& painter) {
  painter.setPen(QPen(QColor(0xc6, 0x28, 0x28), 3.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(3.5, 3.5), QPointF(12.5, 12.5));
  painter.drawLine(QPointF(12.5, 3.5), QPointF(3.5, 12.5));
}

void DrawEdit(QPainter& painter) {
  // A pencil lying from the lower left to the upper right.
  painter.translate(8, 8);
  painter.rotate(-45);
  painter.setPen(QPen(QColor(0x5d, 0x40, 0x37), 0.8));
  painter.setBrush(QColor(0xf9, 0xa8, 0x25));
  painter.drawRect(QRectF(-3.5, -2.2, 9, 4.4));
  painter.setBrush(QColor(0xe5, 0x73, 0x73));
  painter.drawRect(QRectF(5.5, -2.2, 1.8, 4.4));
  QPainterPath tip;
  tip.moveTo(-3.5, -2.2);
  tip.lineTo(-7.3, 0);
  tip.lineTo(-3.5, 2.2);
  tip.closeSubpath();
  painter.setBrush(QColor(0xff, 0xe0, 0xb2));
  painter.drawPath(tip);
}

void DrawSettings(QPainter& painter) {
  // A cog wheel: eight teeth around a ring.
  const QColor color(0x54, 0x6e, 0x7a);
  painter.translate(8, 8);
  painter.setPen(Qt::NoPen);
  painter.setBrush(color);
  for (int tooth = 0; tooth < 8; ++tooth) {
    painter.save();
    painter.rotate(tooth * 45.0);
    painter.drawRect(QRectF(-1.4, -7.2, 2.8, 3.0));
    painter.restore();
  }
  painter.setPen(QPen(color, 2.6));
  painter.setBrush(Qt::NoBrush);
  painter.drawEllipse(QPointF(0, 0), 4.2, 4.2);
}

void DrawFind(QPainter& painter) {
  // A magnifier: a lens at the upper left and its handle towards the lower right.
  const QColor color(0x37, 0x47, 0x4f);
  painter.setPen(QPen(color, 1.8));
  painter.setBrush(QColor(0xe3, 0xf2, 0xfd));
  painter.drawEllipse(QPointF(6.5, 6.5), 4.3, 4.3);
  painter.setPen(QPen(color, 3.0, Qt::SolidLine, Qt::RoundCap));
  painter.drawLine(QPointF(10.0, 10.0), QPointF(13.8, 13.8));
}

}  // namespace

QIcon ToolIcon(TToolIcon kind) {
  QIcon icon;
  for (const int scale : {1, 2}) {
    QPixmap pixmap(16 * scale, 16 * scale);
    pixmap.fill(Qt::transparent);
    QPainter painter(&pixmap);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.scale(scale, scale);
    switch (kind) {
      case tiAdd:
        DrawAdd(painter);
        break;
      case tiDelete:
        DrawDelete(painter);
        break;
      case tiEdit:
        DrawEdit(painter);
        break;
      case tiSettings:
        DrawSettings(painter);
        break;
      case tiFind:
        DrawFind(painter);
        break;
    }
    painter.end();
    icon.addPixmap(pixmap);
  }
  return icon;
}

QIcon FindIcon() { return QIcon::fromTheme(QStringLiteral("edit-find"), ToolIcon(tiFind)); }

}  // namespace hakuvo
