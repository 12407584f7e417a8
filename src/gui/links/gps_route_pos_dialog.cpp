#include "gui/links/gps_route_pos_dialog.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTimeEdit>
#include <QVBoxLayout>

#include <cmath>
#include <exception>
#include <memory>

#include "core/gps/gps_file.h"
#include "gui/common/dialog_buttons.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_date_time.h"
#include "gui/common/wait_cursor.h"

namespace hakuvo {

TGpsRoutePosDialog::TGpsRoutePosDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("地図ルート表示範囲設定"));
  FRangeCheck = new QCheckBox(QStringLiteral("範囲を設定する(&R)"));
  FStartDate = new QDateEdit;
  FStartTime = new QTimeEdit;
  FEndDate = new QDateEdit;
  FEndTime = new QTimeEdit;
  for (QDateEdit* date : {FStartDate, FEndDate}) {
    date->setCalendarPopup(true);
    date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    date->setMinimumDate(QDate(1899, 12, 30));
  }
  for (QTimeEdit* time : {FStartTime, FEndTime}) time->setDisplayFormat(QStringLiteral("HH:mm:ss"));
  auto* startLabel = new QLabel(QStringLiteral("開始日時(&S)"));
  startLabel->setBuddy(FStartDate);
  auto* endLabel = new QLabel(QStringLiteral("終了日時(&E)"));
  endLabel->setBuddy(FEndDate);
  FRecalcCheck = new QCheckBox(QStringLiteral("距離を再計算する(&L)"));
  FRecalcCheck->setVisible(false);
  connect(FRangeCheck, &QCheckBox::toggled, this, [this] { UpdateEnabled(); });

  auto* grid = new QGridLayout;
  grid->addWidget(startLabel, 0, 0);
  grid->addWidget(FStartDate, 0, 1);
  grid->addWidget(FStartTime, 0, 2);
  grid->addWidget(endLabel, 1, 0);
  grid->addWidget(FEndDate, 1, 1);
  grid->addWidget(FEndTime, 1, 2);

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(FRangeCheck);
  layout->addLayout(grid);
  layout->addWidget(FRecalcCheck);
  layout->addWidget(OkCancelButtons(this));
  UpdateEnabled();
}

void TGpsRoutePosDialog::SetStartPos(TDateTime value) {
  FStartPos = value;
  FStartDate->setDate(ToQDate(value));
  FStartTime->setTime(ToQTime(value));
}

void TGpsRoutePosDialog::SetEndPos(TDateTime value) {
  FEndPos = value;
  FEndDate->setDate(ToQDate(value));
  FEndTime->setTime(ToQTime(value));
}

bool TGpsRoutePosDialog::IsRecalc() const { return FRecalcCheck->isChecked(); }

void TGpsRoutePosDialog::UpdateEnabled() {
  const bool enabled = FRangeCheck->isChecked();
  for (QWidget* picker : std::initializer_list<QWidget*>{FStartDate, FStartTime, FEndDate, FEndTime}) {
    picker->setEnabled(enabled);
  }
}

void TGpsRoutePosDialog::Prepare() {
  if (FStartPos != 0 && FEndPos != 0) {
    FRangeCheck->setChecked(true);
  } else {
    FRangeCheck->setChecked(false);
    try {
      std::unique_ptr<TGpsFile> track = CreateGpsFile(FFileName);
      if (track) {
        TWaitCursor wait;
        track->SetFileName(FFileName);
        const TDateTime first = track->FirstDateTime();
        const TDateTime last = track->EndDateTime();
        // The pickers show the track's span; the stored range stays 0 until OK with the box ticked.
        FStartDate->setDate(ToQDate(first));
        FStartTime->setTime(ToQTime(first));
        FEndDate->setDate(ToQDate(last));
        FEndTime->setTime(ToQTime(last));
      }
    } catch (const std::exception& error) {
      const QString message = QString::fromUtf8(error.what());
      if (FErrorHandler) {
        FErrorHandler(message);
      } else {
        ShowErrorBox(this, message);
      }
    }
  }
  UpdateEnabled();
}

void TGpsRoutePosDialog::showEvent(QShowEvent* event) {
  Prepare();
  if (const QScreen* screen = QGuiApplication::primaryScreen()) {
    const QRect desktop = screen->availableGeometry();
    move(desktop.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
  }
  QDialog::showEvent(event);
}

void TGpsRoutePosDialog::done(int result) {
  if (result == QDialog::Accepted) {
    if (FRangeCheck->isChecked()) {
      FStartPos = FromQDate(FStartDate->date()) + FromQTime(FStartTime->time());
      FEndPos = FromQDate(FEndDate->date()) + FromQTime(FEndTime->time());
    } else {
      FStartPos = 0;
      FEndPos = 0;
    }
  }
  QDialog::done(result);
}

}  // namespace hakuvo
