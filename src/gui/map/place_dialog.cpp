#include "gui/map/place_dialog.h"

#include <QApplication>
#include <QDialogButtonBox>
#include <QEvent>
#include <QEventLoop>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>
#include <QVBoxLayout>

#include "core/common/number_format.h"
#include "core/settings/app_data.h"
#include "gui/common/dialog_buttons.h"
#include "gui/common/error_box.h"
#include "gui/map/geocoder.h"
#include "gui/map/map_form.h"

namespace hakuvo {

namespace {

QLineEdit* NamedEdit(const char* name, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(QString::fromLatin1(name));
  return edit;
}

bool InRange(const QLineEdit* edit, double limit) {
  double value = 0;
  return TryParseNumber(edit->text().toStdString(), value) && value >= -limit && value <= limit;
}

}  // namespace

TPlaceDialog::TPlaceDialog(QWidget* parent)
    : QDialog(parent),
      FAddressEdit(NamedEdit("AddressEdit", this)),
      FLatitudeEdit(NamedEdit("LatitudeEdit", this)),
      FLongitudeEdit(NamedEdit("LongitudeEdit", this)),
      FLatitudeLabel(new QLabel(QStringLiteral("緯度(&A)"), this)),
      FLongitudeLabel(new QLabel(QStringLiteral("経度(&O)"), this)) {
  setWindowTitle(QStringLiteral("場所詳細"));
  auto* layout = new QVBoxLayout(this);
  auto* address = new QGridLayout;
  auto* addressLabel = new QLabel(QStringLiteral("住所(&A)"), this);
  addressLabel->setBuddy(FAddressEdit);
  address->addWidget(addressLabel, 0, 0);
  address->addWidget(FAddressEdit, 0, 1);
  layout->addLayout(address);

  auto* group = new QGroupBox(QStringLiteral("緯度・経度"), this);
  auto* grid = new QGridLayout(group);
  FLatitudeLabel->setBuddy(FLatitudeEdit);
  FLongitudeLabel->setBuddy(FLongitudeEdit);
  const QString hint = QStringLiteral("ダブルクリックで住所から取得");
  FLatitudeLabel->setToolTip(hint);
  FLongitudeLabel->setToolTip(hint);
  FLatitudeLabel->installEventFilter(this);
  FLongitudeLabel->installEventFilter(this);
  grid->addWidget(FLatitudeLabel, 0, 0);
  grid->addWidget(FLatitudeEdit, 0, 1);
  grid->addWidget(new QLabel(QStringLiteral("例）\u3000"
                                            "35.6817"),
                             group),
                  0, 2);
  grid->addWidget(FLongitudeLabel, 1, 0);
  grid->addWidget(FLongitudeEdit, 1, 1);
  grid->addWidget(new QLabel(QStringLiteral("例）\u3000"
                                            "139.7676"),
                             group),
                  1, 2);
  layout->addWidget(group);

  layout->addWidget(OkCancelButtons(this));
  resize(420, sizeHint().height());
}

bool TPlaceDialog::eventFilter(QObject* watched, QEvent* event) {
  if (event->type() == QEvent::MouseButtonDblClick && (watched == FLatitudeLabel || watched == FLongitudeLabel)) {
    Geocode();
    return true;
  }
  return QDialog::eventFilter(watched, event);
}

bool TPlaceDialog::Geocode() {
  if (FMapForm == nullptr || FAppData == nullptr || FIsLookingUp) return false;
  if (FAppData->IsGoogleMapGeocodeLimit()) {
    ShowError(QStringLiteral("緯度・経度の変換回数制限に達しました"));
    return false;
  }
  TGeocoder& geocoder = FMapForm->Geocoder();
  const TMapServiceInfo& services = FAppData->MapServiceInfo;
  geocoder.Start(services.GeocodeUrl, FAddressEdit->text(), services.GeocodeTimeout);
  // Connected after the start: a look-up of the map's page that the start stopped is not ours.
  TGeocodeAnswer answer;
  answer.Status = gsCancelled;
  QEventLoop wait;
  const QMetaObject::Connection connection =
      connect(&geocoder, &TGeocoder::Finished, &wait, [&](const TGeocodeAnswer& finished) {
        answer = finished;
        wait.quit();
      });
  FIsLookingUp = true;
  // The dialog keeps taking input while it waits: Escape or キャンセル ends the look-up (done).
  QApplication::setOverrideCursor(Qt::BusyCursor);
  if (geocoder.IsBusy()) wait.exec();
  QApplication::restoreOverrideCursor();
  FIsLookingUp = false;
  disconnect(connection);
  if (answer.Status != gsFound) {
    const QString problem = GeocodeProblemText(answer);
    if (!problem.isEmpty()) ShowError(problem);
    return false;
  }
  FLatitudeEdit->setText(QString::fromStdString(FormatGeneral(answer.Latitude)));
  FLongitudeEdit->setText(QString::fromStdString(FormatGeneral(answer.Longitude)));
  return true;
}

void TPlaceDialog::ShowError(const QString& message) {
  if (FErrorHandler) {
    FErrorHandler(message);
  } else {
    ShowErrorBox(this, message);
  }
}

bool TPlaceDialog::CheckInput() {
  bool ok = true;
  if (!InRange(FLatitudeEdit, 90)) {
    ShowError(QStringLiteral("緯度の設定が正しくありません"));
    ok = false;
  }
  if (!InRange(FLongitudeEdit, 180)) {
    ShowError(QStringLiteral("経度の設定が正しくありません"));
    ok = false;
  }
  return ok;
}

void TPlaceDialog::done(int result) {
  // Closing while a look-up runs ends it: its answer would have nowhere to go.
  if (FIsLookingUp && FMapForm != nullptr) FMapForm->Geocoder().Cancel();
  if (result == QDialog::Accepted && !CheckInput()) return;
  QDialog::done(result);
}

}  // namespace hakuvo
