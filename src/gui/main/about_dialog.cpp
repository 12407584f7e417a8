#include "gui/main/about_dialog.h"

#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

#include "gui/common/error_box.h"

namespace hakuvo {

namespace {

QLabel* CenteredLabel(const QString& text, int pointSize, bool bold, QWidget* parent) {
  auto* label = new QLabel(text, parent);
  QFont font = label->font();
  font.setPointSize(pointSize);
  font.setBold(bold);
  label->setFont(font);
  label->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
  return label;
}

}  // namespace

TAboutDialog::TAboutDialog(TCategoryType mode, QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("バージョン情報"));
  setObjectName(QStringLiteral("VersionForm"));
  setFixedSize(294, 185);
  FTitleLabel = CenteredLabel(AppTitle(), 20, true, this);
  FTitleLabel->setGeometry(0, 16, width(), 40);
  FModeLabel = CenteredLabel(QStringLiteral("[") + QString::fromStdString(CategoryNames()[mode]) + QStringLiteral("]"),
                             11, false, this);
  FModeLabel->setGeometry(0, 60, width(), 24);
  FVersionLabel = CenteredLabel(QStringLiteral("Ver.1.0"), 9, false, this);
  FVersionLabel->setGeometry(0, 92, width(), 20);
  auto* ok = new QPushButton(QStringLiteral("OK"), this);
  ok->setGeometry((width() - 81) / 2, 134, 81, 27);
  ok->setDefault(true);
  connect(ok, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutDialog::showEvent(QShowEvent* event) {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(width() / 2, height() / 2));
  }
  QDialog::showEvent(event);
}

}  // namespace hakuvo
