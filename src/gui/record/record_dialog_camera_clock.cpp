// The link panel's row for the outing's camera clock: how many seconds the camera's clock was
// behind the track's, so that a photograph without a GPS position lands on the track where it
// was taken. It belongs with the links, as it is stored with them.
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include <cmath>

#include "core/common/number_format.h"
#include "gui/common/qt_text.h"
#include "gui/record/record_dialog.h"

namespace hakuvo {

namespace {

// A camera whose clock was never set may be decades off (many start at 2000-01-01); further
// than a century is a typing slip.
constexpr Extended kLargestOffset = 100.0L * 366 * 24 * 60 * 60;

}  // namespace

void TRecordDialog::BuildCameraClockRow(QVBoxLayout* layout) {
  auto* row = new QWidget;
  row->setObjectName(QStringLiteral("CameraClockRow"));
  auto* rowLayout = new QHBoxLayout(row);
  rowLayout->setContentsMargins(4, 4, 4, 0);
  FCameraClockOffsetEdit = new QLineEdit;
  FCameraClockOffsetEdit->setObjectName(QStringLiteral("CameraClockOffsetEdit"));
  FCameraClockOffsetEdit->setAttribute(Qt::WA_InputMethodEnabled, false);
  FCameraClockOffsetEdit->setAlignment(Qt::AlignRight);
  FCameraClockOffsetEdit->setFixedWidth(80);
  FCameraClockOffsetEdit->setText(QStringLiteral("0"));
  FCameraClockOffsetEdit->setToolTip(
      QStringLiteral("写真の撮影時刻に足す秒数です。カメラの時計が遅れていれば正、進んでいれば負の値にします。\n"
                     "GPS位置のない写真は、補正した時刻のトラック上の位置に地図で表示されます。"));
  auto* caption = new QLabel(QStringLiteral("カメラ時計補正(秒)"));
  caption->setBuddy(FCameraClockOffsetEdit);
  caption->setToolTip(FCameraClockOffsetEdit->toolTip());
  rowLayout->addWidget(caption);
  rowLayout->addWidget(FCameraClockOffsetEdit);
  rowLayout->addStretch(1);
  layout->addWidget(row);
}

void TRecordDialog::SetCameraClockText(Extended seconds) {
  FCameraClockOffsetEdit->setText(ToQString(FormatGeneral(seconds)));
}

bool TRecordDialog::TryCameraClockOffset(Extended& seconds, QString* problem) const {
  const QString text = FCameraClockOffsetEdit->text().trimmed();
  if (text.isEmpty()) {
    seconds = 0;
    return true;
  }
  Extended value = 0;
  if (!TryParseNumber(ToStdString(text), value)) {
    if (problem != nullptr) *problem = QStringLiteral("[カメラ時計補正]が数値ではありません");
    return false;
  }
  if (std::fabs(value) > kLargestOffset) {
    if (problem != nullptr) *problem = QStringLiteral("[カメラ時計補正]が正しくありません");
    return false;
  }
  seconds = value;
  return true;
}

}  // namespace hakuvo
