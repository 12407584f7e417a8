#include "gui/common/progress_dialog.h"

#include <QCoreApplication>
#include <QFontMetrics>
#include <QGuiApplication>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>
#include <algorithm>

namespace hakuvo {

TProgressDialog::TProgressDialog(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("進行状況"));
  setFixedSize(DesignWidth, DesignHeight);
  setModal(false);
  setWindowFlag(Qt::WindowContextHelpButtonHint, false);

  FProgressLabel = new QLabel(QStringLiteral("解析中..."), this);
  FProgressLabel->setObjectName(QStringLiteral("ProgressLabel"));
  FProgressLabel->setGeometry(16, 12, LabelWidth, 17);
  FProgressBar = new QProgressBar(this);
  FProgressBar->setObjectName(QStringLiteral("ProgressBar"));
  FProgressBar->setRange(0, 100);
  FProgressBar->setValue(0);
  FProgressBar->setTextVisible(false);
  FProgressBar->setGeometry(16, 36, LabelWidth + 8, 20);
  FStopBtn = new QPushButton(QStringLiteral("中止"), this);
  FStopBtn->setObjectName(QStringLiteral("StopBtn"));
  FStopBtn->setGeometry((DesignWidth - 90) / 2, 70, 90, 28);
  connect(FStopBtn, &QPushButton::clicked, this, [this] { FIsStop = true; });

  ProcessEvents = [] { QCoreApplication::processEvents(); };
}

void TProgressDialog::SetMax(std::int64_t value) {
  FMax = value;
  UpdateBar();
}

void TProgressDialog::SetPosition(std::int64_t value) {
  FPosition = value;
  UpdateBar();
}

void TProgressDialog::UpdateBar() {
  // Truncated, and 0 while there is nothing to count.
  const std::int64_t percent = FMax > 0 ? FPosition * 100 / FMax : 0;
  FProgressBar->setValue(static_cast<int>(std::clamp<std::int64_t>(percent, 0, 100)));
}

void TProgressDialog::SetFileName(const QString& value) {
  FFileName = value;
  FProgressLabel->setText(FProgressLabel->fontMetrics().elidedText(value, Qt::ElideMiddle, LabelWidth));
}

void TProgressDialog::ShowCentered() {
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect area = screen->availableGeometry();
    move(area.center() - QPoint(DesignWidth / 2, DesignHeight / 2));
  }
  show();
}

void TProgressDialog::Start(std::int64_t max) { SetMax(max); }

bool TProgressDialog::Step(std::int64_t position, const std::string& fileName) {
  SetPosition(position);
  SetFileName(QString::fromStdString(fileName));
  if (ProcessEvents) ProcessEvents();
  return !FIsStop;
}

}  // namespace hakuvo
