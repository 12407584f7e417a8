#include "gui/map_settings/map_default_dialog.h"

#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "core/common/number_format.h"
#include "core/model/map_info.h"
#include "gui/common/dialog_buttons.h"
#include "gui/common/error_box.h"

namespace hakuvo {

namespace {

constexpr const char* kTypes[4] = {"ROADMAP", "SATELLITE", "HYBRID", "TERRAIN"};

}  // namespace

TMapDefaultDialog::TMapDefaultDialog(QWidget* parent)
    : QDialog(parent),
      FLatitudeEdit(new QLineEdit(this)),
      FLongitudeEdit(new QLineEdit(this)),
      FZoomEdit(new QLineEdit(this)) {
  setWindowTitle(QStringLiteral("地図初期表示設定"));
  auto* layout = new QVBoxLayout(this);
  auto* types = new QGroupBox(QStringLiteral("種類"), this);
  auto* typeLayout = new QVBoxLayout(types);
  const QString captions[4] = {QStringLiteral("市街地図(&R)"), QStringLiteral("航空写真(&S)"),
                               QStringLiteral("航空写真 + 道路(&H)"), QStringLiteral("地形図(&T)")};
  for (int i = 0; i < 4; ++i) {
    FTypeButtons[i] = new QRadioButton(captions[i], types);
    typeLayout->addWidget(FTypeButtons[i]);
  }
  FTypeButtons[0]->setChecked(true);
  layout->addWidget(types);

  auto* view = new QGroupBox(QStringLiteral("初期表示"), this);
  auto* form = new QFormLayout(view);
  FLatitudeEdit->setObjectName(QStringLiteral("MapLatitudeEdit"));
  FLongitudeEdit->setObjectName(QStringLiteral("MapLongitudeEdit"));
  FZoomEdit->setObjectName(QStringLiteral("MapZoomEdit"));
  form->addRow(QStringLiteral("緯度(&L)"), FLatitudeEdit);
  form->addRow(QStringLiteral("経度(&N)"), FLongitudeEdit);
  form->addRow(QStringLiteral("ズーム(&Z)"), FZoomEdit);
  layout->addWidget(view);

  layout->addWidget(OkCancelButtons(this));
}

void TMapDefaultDialog::SetMapDefaultInfo(TMapDefaultInfo* info) {
  FMapDefaultInfo = info;
  if (info == nullptr) return;
  int index = 0;
  for (int i = 1; i < 4; ++i) {
    if (info->MapType() == kTypes[i]) index = i;
  }
  FTypeButtons[index]->setChecked(true);
  FLatitudeEdit->setText(QString::fromStdString(FormatGeneral(info->Latitude())));
  FLongitudeEdit->setText(QString::fromStdString(FormatGeneral(info->Longitude())));
  FZoomEdit->setText(QString::number(info->Zoom()));
}

void TMapDefaultDialog::ShowError(const QString& message) {
  if (FErrorHandler) {
    FErrorHandler(message);
  } else {
    ShowErrorBox(this, message);
  }
}

void TMapDefaultDialog::done(int result) {
  if (result != QDialog::Accepted || FMapDefaultInfo == nullptr) {
    QDialog::done(result);
    return;
  }
  Extended latitude = 0;
  Extended longitude = 0;
  int zoom = 0;
  if (!TryParseNumber(FLatitudeEdit->text().toStdString(), latitude)) {
    ShowError(QStringLiteral("[緯度]が数値ではありません"));
    return;
  }
  if (!TryParseNumber(FLongitudeEdit->text().toStdString(), longitude)) {
    ShowError(QStringLiteral("[経度]が数値ではありません"));
    return;
  }
  if (!TryParseInt(FZoomEdit->text().toStdString(), zoom)) {
    ShowError(QStringLiteral("[ズーム]が数値ではありません"));
    return;
  }
  for (int i = 0; i < 4; ++i) {
    if (FTypeButtons[i]->isChecked()) FMapDefaultInfo->SetMapType(kTypes[i]);
  }
  FMapDefaultInfo->SetZoom(zoom);
  FMapDefaultInfo->SetLatitude(latitude);
  FMapDefaultInfo->SetLongitude(longitude);
  QDialog::done(result);
}

}  // namespace hakuvo
