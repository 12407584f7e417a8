#include "gui/categories/category_set_dialog_pages.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QColorDialog>
#include <QComboBox>
#include <QDate>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPixmap>
#include <QRadioButton>
#include <QVBoxLayout>
#include <cmath>

#include "core/common/date_time.h"
#include "core/common/number_format.h"
#include "gui/common/qt_date_time.h"
#include "gui/common/qt_text.h"

namespace hakuvo {

QColor ToQColor(TColor color) {
  const auto value = static_cast<std::uint32_t>(color);
  return QColor(static_cast<int>(value & 0xFF), static_cast<int>((value >> 8) & 0xFF),
                static_cast<int>((value >> 16) & 0xFF));
}

TColor FromQColor(const QColor& color) {
  const QColor rgb = color.toRgb();
  return static_cast<TColor>(static_cast<std::uint32_t>(rgb.red()) | (static_cast<std::uint32_t>(rgb.green()) << 8) |
                             (static_cast<std::uint32_t>(rgb.blue()) << 16));
}

TColorButton::TColorButton(const QString& caption, QWidget* parent) : QPushButton(caption, parent) {
  setIconSize(QSize(32, 14));
  SetColor(0);
  connect(this, &QPushButton::clicked, this, [this] { ChooseColor(); });
}

void TColorButton::SetColor(TColor color) {
  FColor = color;
  QPixmap swatch(iconSize());
  swatch.fill(ToQColor(color));
  setIcon(QIcon(swatch));
}

void TColorButton::ChooseColor() {
  const QColor chosen = QColorDialog::getColor(ToQColor(FColor), this);
  if (chosen.isValid()) SetColor(FromQColor(chosen));
}

QLineEdit* NewNumberEdit(const QString& objectName, QWidget* parent) {
  auto* edit = new QLineEdit(parent);
  edit->setObjectName(objectName);
  edit->setFixedWidth(80);
  return edit;
}

namespace {

const QDate kMinPickerDate(kFirstPickerYear, 1, 1);
const QDate kMaxPickerDate(kLastPickerYear, 12, 31);

QDateEdit* NewDateEdit(const QString& objectName, QWidget* parent) {
  auto* edit = new QDateEdit(parent);
  edit->setObjectName(objectName);
  edit->setCalendarPopup(true);
  edit->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
  edit->setDateRange(kMinPickerDate, kMaxPickerDate);
  return edit;
}

QString IntText(int value) { return QString::number(value); }
QString NumberText(Extended value) { return ToQString(FormatGeneral(value)); }

bool IsWholeNumber(const QString& text) {
  int value = 0;
  return TryParseInt(ToStdString(text), value);
}

bool IsDecimalNumber(const QString& text) {
  Extended value = 0;
  return TryParseNumber(ToStdString(text), value);
}

// Only called after the checks, so the texts are known to be numbers.
int WholeNumberOf(const QString& text) {
  int value = 0;
  TryParseInt(ToStdString(text), value);
  return value;
}

Extended DecimalNumberOf(const QString& text) {
  Extended value = 0;
  TryParseNumber(ToStdString(text), value);
  return value;
}

QString NotNumberMessage(const QString& graphName, const QString& field) {
  return graphName + QStringLiteral("の[") + field + QStringLiteral("]が数値ではありません");
}

QRadioButton* AddRadio(QButtonGroup* group, QLayout* layout, const QString& text, int id, const QString& name) {
  auto* radio = new QRadioButton(text);
  radio->setObjectName(name);
  group->addButton(radio, id);
  layout->addWidget(radio);
  return radio;
}

void CheckButton(QButtonGroup* group, int id) {
  if (QAbstractButton* button = group->button(id)) button->setChecked(true);
}

}  // namespace

// ---- graph page ----

TGraphSettingsPage::TGraphSettingsPage(const QString& axisUnit, const QString& graphName, QWidget* parent)
    : QWidget(parent), FGraphName(graphName) {
  auto* left = new QVBoxLayout;
  left->addWidget(BuildSeriesGroup(axisUnit));
  left->addStretch(1);
  auto* right = new QVBoxLayout;
  right->addWidget(BuildDayAxisGroup());
  right->addWidget(BuildRecordAxisGroup());
  right->addStretch(1);
  auto* layout = new QHBoxLayout(this);
  layout->addLayout(left);
  layout->addLayout(right);
  UpdateDayAxisControls();
  UpdateRecordAxisControls();
}

QWidget* TGraphSettingsPage::BuildSeriesGroup(const QString& axisUnit) {
  auto* box = new QWidget;
  auto* layout = new QVBoxLayout(box);
  layout->setContentsMargins(0, 0, 0, 0);

  FColorButton = new TColorButton(QStringLiteral("グラフの色(&C)"));
  FColorButton->setObjectName(QStringLiteral("SeriesColorButton"));
  layout->addWidget(FColorButton, 0, Qt::AlignLeft);

  auto* axisBox = new QGroupBox(QStringLiteral("軸設定"));
  auto* axisLayout = new QVBoxLayout(axisBox);
  FAxisGroup = new QButtonGroup(this);
  AddRadio(FAxisGroup, axisLayout, QStringLiteral("X軸を%1(&X)").arg(axisUnit), 0, QStringLiteral("XAxisDateRadio"));
  AddRadio(FAxisGroup, axisLayout, QStringLiteral("Y軸を%1(&Y)").arg(axisUnit), 1, QStringLiteral("YAxisDateRadio"));
  layout->addWidget(axisBox);

  auto* seriesBox = new QGroupBox(QStringLiteral("グラフ"));
  auto* seriesLayout = new QVBoxLayout(seriesBox);
  FSeriesGroup = new QButtonGroup(this);
  AddRadio(FSeriesGroup, seriesLayout, QStringLiteral("折線グラフ(&L)"), 0, QStringLiteral("LineSeriesRadio"));
  AddRadio(FSeriesGroup, seriesLayout, QStringLiteral("棒グラフ(&B)"), 1, QStringLiteral("BarSeriesRadio"));
  layout->addWidget(seriesBox);

  auto* widths = new QGridLayout;
  FLineWidthEdit = NewNumberEdit(QStringLiteral("LineWidthEdit"), box);
  FBarWidthEdit = NewNumberEdit(QStringLiteral("BarWidthEdit"), box);
  widths->addWidget(new QLabel(QStringLiteral("折線グラフ幅")), 0, 0);
  widths->addWidget(FLineWidthEdit, 0, 1);
  widths->addWidget(new QLabel(QStringLiteral("棒グラフ幅")), 1, 0);
  widths->addWidget(FBarWidthEdit, 1, 1);
  widths->addWidget(new QLabel(QStringLiteral("(0の場合は自動)")), 2, 1);
  widths->setColumnStretch(2, 1);
  layout->addLayout(widths);
  return box;
}

QWidget* TGraphSettingsPage::BuildDayAxisGroup() {
  auto* box = new QGroupBox(QStringLiteral("日軸"));
  auto* grid = new QGridLayout(box);
  auto* group = new QButtonGroup(this);

  FTermRadio = new QRadioButton(QStringLiteral("表示期間(&T)"));
  FTermRadio->setObjectName(QStringLiteral("TermRadio"));
  group->addButton(FTermRadio, daTerm);
  FTermCombo = new QComboBox;
  FTermCombo->setObjectName(QStringLiteral("TermCombo"));
  FTermCombo->setEditable(true);
  FTermCombo->setInsertPolicy(QComboBox::NoInsert);
  FTermCombo->addItems({QStringLiteral("7"), QStringLiteral("10"), QStringLiteral("15"), QStringLiteral("30"),
                        QStringLiteral("60"), QStringLiteral("90"), QStringLiteral("180"), QStringLiteral("365")});
  FTermCombo->setFixedWidth(80);
  FTermUnitLabel = new QLabel(QStringLiteral("日"));
  auto* termRow = new QHBoxLayout;
  termRow->addWidget(FTermCombo);
  termRow->addWidget(FTermUnitLabel);
  termRow->addStretch(1);
  grid->addWidget(FTermRadio, 0, 0, 1, 2);
  grid->addLayout(termRow, 1, 1);

  FDateRadio = new QRadioButton(QStringLiteral("開始日・終了日指定(&S)"));
  FDateRadio->setObjectName(QStringLiteral("DateRadio"));
  group->addButton(FDateRadio, daDate);
  FStartDateLabel = new QLabel(QStringLiteral("開始日"));
  FEndDateLabel = new QLabel(QStringLiteral("終了日"));
  FStartDateEdit = NewDateEdit(QStringLiteral("StartDateEdit"), box);
  FEndDateEdit = NewDateEdit(QStringLiteral("EndDateEdit"), box);
  auto* dates = new QGridLayout;
  dates->addWidget(FStartDateLabel, 0, 0);
  dates->addWidget(FStartDateEdit, 0, 1);
  dates->addWidget(FEndDateLabel, 1, 0);
  dates->addWidget(FEndDateEdit, 1, 1);
  dates->setColumnStretch(2, 1);
  grid->addWidget(FDateRadio, 2, 0, 1, 2);
  grid->addLayout(dates, 3, 1);

  FAllRadio = new QRadioButton(QStringLiteral("全期間表示"));
  FAllRadio->setObjectName(QStringLiteral("AllRadio"));
  group->addButton(FAllRadio, daAll);
  grid->addWidget(FAllRadio, 4, 0, 1, 2);
  grid->setColumnMinimumWidth(0, 16);
  grid->setColumnStretch(1, 1);

  connect(group, &QButtonGroup::idToggled, this, [this](int, bool) { UpdateDayAxisControls(); });
  return box;
}

QWidget* TGraphSettingsPage::BuildRecordAxisGroup() {
  auto* box = new QGroupBox(QStringLiteral("記録軸"));
  auto* grid = new QGridLayout(box);
  FAutoAxisCheck = new QCheckBox(QStringLiteral("軸自動設定"));
  FAutoAxisCheck->setObjectName(QStringLiteral("AutoAxisCheck"));
  FMaxLabel = new QLabel(QStringLiteral("最大値"));
  FMinLabel = new QLabel(QStringLiteral("最小値"));
  FMaxEdit = NewNumberEdit(QStringLiteral("MaxEdit"), box);
  FMinEdit = NewNumberEdit(QStringLiteral("MinEdit"), box);
  grid->addWidget(FAutoAxisCheck, 0, 0, 1, 3);
  grid->addWidget(FMaxLabel, 1, 0);
  grid->addWidget(FMaxEdit, 1, 1);
  grid->addWidget(FMinLabel, 2, 0);
  grid->addWidget(FMinEdit, 2, 1);
  grid->setColumnStretch(2, 1);
  connect(FAutoAxisCheck, &QCheckBox::toggled, this, [this] { UpdateRecordAxisControls(); });
  return box;
}

void TGraphSettingsPage::UpdateDayAxisControls() {
  const bool term = FTermRadio->isChecked();
  const bool dates = FDateRadio->isChecked();
  FTermCombo->setEnabled(term);
  FTermUnitLabel->setEnabled(term);
  FStartDateLabel->setEnabled(dates);
  FStartDateEdit->setEnabled(dates);
  FEndDateLabel->setEnabled(dates);
  FEndDateEdit->setEnabled(dates);
}

void TGraphSettingsPage::UpdateRecordAxisControls() {
  const bool manual = !FAutoAxisCheck->isChecked();
  FMaxLabel->setEnabled(manual);
  FMaxEdit->setEnabled(manual);
  FMinLabel->setEnabled(manual);
  FMinEdit->setEnabled(manual);
}

void TGraphSettingsPage::Load(const TGraphInfo& info) {
  FColorButton->SetColor(info.SeriesColor());
  CheckButton(FAxisGroup, info.IsYAxisDate() ? 1 : 0);
  CheckButton(FSeriesGroup, info.IsBarSeries() ? 1 : 0);
  FLineWidthEdit->setText(IntText(info.LineSeriesWidth()));
  FBarWidthEdit->setText(IntText(info.BarSeriesWidth()));
  switch (info.DayAxisKind()) {
    case daTerm:
      FTermRadio->setChecked(true);
      break;
    case daDate:
      FDateRadio->setChecked(true);
      break;
    default:
      FAllRadio->setChecked(true);
      break;
  }
  FTermCombo->setEditText(IntText(info.AxisTerm()));
  FStartDateEdit->setDate(ToQDate(info.StartDate()));
  FEndDateEdit->setDate(ToQDate(info.EndDate()));
  FAutoAxisCheck->setChecked(info.IsAutoRecordAxis());
  FMaxEdit->setText(NumberText(info.RecordAxisMax()));
  FMinEdit->setText(NumberText(info.RecordAxisMin()));
  UpdateDayAxisControls();
  UpdateRecordAxisControls();
}

void TGraphSettingsPage::Check(QStringList& errors) const {
  if (!IsWholeNumber(FTermCombo->currentText())) errors << NotNumberMessage(FGraphName, QStringLiteral("表示期間"));
  if (!IsWholeNumber(FLineWidthEdit->text())) {
    errors << NotNumberMessage(FGraphName, QStringLiteral("折線グラフ幅"));
  }
  if (!IsWholeNumber(FBarWidthEdit->text())) errors << NotNumberMessage(FGraphName, QStringLiteral("棒グラフ幅"));
  if (!IsDecimalNumber(FMaxEdit->text())) errors << NotNumberMessage(FGraphName, QStringLiteral("記録軸最大値"));
  if (!IsDecimalNumber(FMinEdit->text())) errors << NotNumberMessage(FGraphName, QStringLiteral("記録軸最小値"));
}

void TGraphSettingsPage::Store(TGraphInfo& info) const {
  info.SetIsYAxisDate(FAxisGroup->checkedId() == 1);
  info.SetIsBarSeries(FSeriesGroup->checkedId() == 1);
  info.SetSeriesColor(FColorButton->Color());
  info.SetLineSeriesWidth(WholeNumberOf(FLineWidthEdit->text()));
  info.SetBarSeriesWidth(WholeNumberOf(FBarWidthEdit->text()));
  if (FTermRadio->isChecked()) {
    info.SetDayAxisKind(daTerm);
  } else if (FDateRadio->isChecked()) {
    info.SetDayAxisKind(daDate);
  } else if (FAllRadio->isChecked()) {
    info.SetDayAxisKind(daAll);
  }
  info.SetAxisTerm(WholeNumberOf(FTermCombo->currentText()));
  info.SetStartDate(FromQDate(FStartDateEdit->date()));
  info.SetEndDate(FromQDate(FEndDateEdit->date()));
  info.SetIsAutoRecordAxis(FAutoAxisCheck->isChecked());
  info.SetRecordAxisMax(DecimalNumberOf(FMaxEdit->text()));
  info.SetRecordAxisMin(DecimalNumberOf(FMinEdit->text()));
}

// ---- speed and altitude page ----

TSpeedSettingsPage::TSpeedSettingsPage(QWidget* parent) : QWidget(parent) {
  auto* graphs = new QHBoxLayout;
  graphs->addWidget(BuildSpeedGroup());
  graphs->addWidget(BuildAltitudeGroup());
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(graphs);
  auto* lower = new QHBoxLayout;
  lower->addWidget(BuildBottomAxisGroup());
  lower->addWidget(BuildMapGroup());
  layout->addLayout(lower);
  layout->addStretch(1);
}

namespace {

// A labelled number field with an optional note after it, as one row of a group.
QHBoxLayout* NumberRow(const QString& label, QLineEdit* edit, const QString& note = QString()) {
  auto* row = new QHBoxLayout;
  row->addWidget(new QLabel(label));
  row->addWidget(edit);
  if (!note.isEmpty()) row->addWidget(new QLabel(note));
  row->addStretch(1);
  return row;
}

}  // namespace

QWidget* TSpeedSettingsPage::BuildMapGroup() {
  auto* box = new QGroupBox(QStringLiteral("地図のライン"));
  auto* layout = new QVBoxLayout(box);
  FMapColorButton = new TColorButton(QStringLiteral("ラインの色"));
  FMapColorButton->setObjectName(QStringLiteral("MapColorButton"));
  FMapWidthEdit = NewNumberEdit(QStringLiteral("MapWidthEdit"), box);
  FMapOpacityEdit = NewNumberEdit(QStringLiteral("MapOpacityEdit"), box);
  FMapLimitSpeedEdit = NewNumberEdit(QStringLiteral("MapLimitSpeedEdit"), box);
  FMapSpeedColorCheck = new QCheckBox(QStringLiteral("速度で色分けする(凡例付き)"));
  FMapSpeedColorCheck->setObjectName(QStringLiteral("MapSpeedColorCheck"));
  layout->addWidget(FMapColorButton, 0, Qt::AlignLeft);
  layout->addLayout(NumberRow(QStringLiteral("ライン幅"), FMapWidthEdit));
  layout->addLayout(NumberRow(QStringLiteral("不透明度"), FMapOpacityEdit, QStringLiteral("( 0 ～ 1 )")));
  layout->addLayout(NumberRow(QStringLiteral("限界速度"), FMapLimitSpeedEdit, QStringLiteral("km/h (0で制限なし)")));
  layout->addWidget(FMapSpeedColorCheck);
  return box;
}

QWidget* TSpeedSettingsPage::BuildAxisGroup(const QString& title, const QString& namePrefix, TAxisFields& fields) {
  auto* box = new QGroupBox(title);
  auto* grid = new QGridLayout(box);
  fields.AutoCheck = new QCheckBox(QStringLiteral("軸自動設定"));
  fields.AutoCheck->setObjectName(namePrefix + QStringLiteral("AutoAxisCheck"));
  fields.MaxLabel = new QLabel(QStringLiteral("最大値"));
  fields.MinLabel = new QLabel(QStringLiteral("最小値"));
  fields.MaxEdit = NewNumberEdit(namePrefix + QStringLiteral("MaxEdit"), box);
  fields.MinEdit = NewNumberEdit(namePrefix + QStringLiteral("MinEdit"), box);
  grid->addWidget(fields.AutoCheck, 0, 0, 1, 3);
  grid->addWidget(fields.MaxLabel, 1, 0);
  grid->addWidget(fields.MaxEdit, 1, 1);
  grid->addWidget(fields.MinLabel, 2, 0);
  grid->addWidget(fields.MinEdit, 2, 1);
  grid->setColumnStretch(2, 1);
  const TAxisFields captured = fields;
  auto update = [captured] {
    const bool manual = !captured.AutoCheck->isChecked();
    for (QWidget* w : {static_cast<QWidget*>(captured.MaxLabel), static_cast<QWidget*>(captured.MinLabel),
                       static_cast<QWidget*>(captured.MaxEdit), static_cast<QWidget*>(captured.MinEdit)}) {
      w->setEnabled(manual);
    }
  };
  connect(fields.AutoCheck, &QCheckBox::toggled, box, update);
  update();
  return box;
}

QWidget* TSpeedSettingsPage::BuildSpeedGroup() {
  auto* box = new QGroupBox(QStringLiteral("速度グラフ"));
  auto* layout = new QVBoxLayout(box);
  FSpeedSeriesCheck = new QCheckBox(QStringLiteral("表示する"));
  FSpeedSeriesCheck->setObjectName(QStringLiteral("SpeedSeriesCheck"));
  FSpeedColorButton = new TColorButton(QStringLiteral("グラフの色"));
  FSpeedColorButton->setObjectName(QStringLiteral("SpeedColorButton"));
  FSpeedWidthEdit = NewNumberEdit(QStringLiteral("SpeedWidthEdit"), box);
  auto* widthRow = new QHBoxLayout;
  widthRow->addWidget(new QLabel(QStringLiteral("グラフ幅")));
  widthRow->addWidget(FSpeedWidthEdit);
  widthRow->addStretch(1);
  FAverageSpeedCheck = new QCheckBox(QStringLiteral("平均速度を表示する"));
  FAverageSpeedCheck->setObjectName(QStringLiteral("AverageSpeedCheck"));
  FPaceAxisCheck = new QCheckBox(QStringLiteral("ペース(分/km)で表示する（ジョギング・ウォーキング）"));
  FPaceAxisCheck->setObjectName(QStringLiteral("PaceAxisCheck"));
  layout->addWidget(FSpeedSeriesCheck);
  layout->addWidget(FSpeedColorButton, 0, Qt::AlignLeft);
  layout->addLayout(widthRow);
  FLimitSpeedEdit = NewNumberEdit(QStringLiteral("LimitSpeedEdit"), box);
  FSpeedAverageEdit = NewNumberEdit(QStringLiteral("SpeedAverageEdit"), box);
  layout->addLayout(NumberRow(QStringLiteral("限界速度"), FLimitSpeedEdit, QStringLiteral("km/h (0で制限なし)")));
  layout->addLayout(NumberRow(QStringLiteral("移動平均"), FSpeedAverageEdit, QStringLiteral("点 (0, 1は平均なし)")));
  layout->addWidget(BuildAxisGroup(QStringLiteral("速度軸"), QStringLiteral("Speed"), FSpeedAxis));
  layout->addWidget(FAverageSpeedCheck);
  layout->addWidget(FPaceAxisCheck);
  layout->addStretch(1);
  return box;
}

QWidget* TSpeedSettingsPage::BuildAltitudeGroup() {
  auto* box = new QGroupBox(QStringLiteral("高度グラフ"));
  auto* layout = new QVBoxLayout(box);
  FAltitudeSeriesCheck = new QCheckBox(QStringLiteral("表示する"));
  FAltitudeSeriesCheck->setObjectName(QStringLiteral("AltitudeSeriesCheck"));
  FAltitudeColorButton = new TColorButton(QStringLiteral("グラフの色"));
  FAltitudeColorButton->setObjectName(QStringLiteral("AltitudeColorButton"));
  FTransparencyEdit = NewNumberEdit(QStringLiteral("TransparencyEdit"), box);
  auto* transparencyRow = new QHBoxLayout;
  transparencyRow->addWidget(new QLabel(QStringLiteral("グラフ透明度")));
  transparencyRow->addWidget(FTransparencyEdit);
  transparencyRow->addWidget(new QLabel(QStringLiteral("( 0 ～ 100 )")));
  transparencyRow->addStretch(1);
  layout->addWidget(FAltitudeSeriesCheck);
  layout->addWidget(FAltitudeColorButton, 0, Qt::AlignLeft);
  layout->addLayout(transparencyRow);
  FAltitudeAverageEdit = NewNumberEdit(QStringLiteral("AltitudeAverageEdit"), box);
  layout->addLayout(NumberRow(QStringLiteral("移動平均"), FAltitudeAverageEdit, QStringLiteral("点 (0, 1は平均なし)")));
  layout->addWidget(BuildAxisGroup(QStringLiteral("高度軸"), QStringLiteral("Altitude"), FAltitudeAxis));
  layout->addStretch(1);
  return box;
}

QWidget* TSpeedSettingsPage::BuildBottomAxisGroup() {
  auto* box = new QGroupBox(QStringLiteral("X軸"));
  auto* grid = new QGridLayout(box);
  FBottomAxisGroup = new QButtonGroup(this);
  const QString texts[] = {QStringLiteral("距離"), QStringLiteral("時刻"), QStringLiteral("時間"),
                           QStringLiteral("分")};
  // Two columns, filled top to bottom like a two-column radio group.
  for (int i = 0; i < 4; ++i) {
    auto* radio = new QRadioButton(texts[i]);
    radio->setObjectName(QStringLiteral("BottomAxisRadio%1").arg(i));
    FBottomAxisGroup->addButton(radio, i);
    grid->addWidget(radio, i % 2, i / 2);
  }
  return box;
}

void TSpeedSettingsPage::Load(const TSpeedGraphInfo& info) {
  FSpeedSeriesCheck->setChecked(info.IsSpeedSeries());
  FSpeedColorButton->SetColor(info.SpeedSeriesColor());
  FSpeedWidthEdit->setText(IntText(info.SpeedLineSeriesWidth()));
  FSpeedAxis.AutoCheck->setChecked(info.IsLeftAutoAxis());
  FSpeedAxis.MaxEdit->setText(NumberText(info.LeftAxisMax()));
  FSpeedAxis.MinEdit->setText(NumberText(info.LeftAxisMin()));
  FAverageSpeedCheck->setChecked(info.IsAverageSpeed());
  FPaceAxisCheck->setChecked(info.IsPaceAxis());
  FAltitudeSeriesCheck->setChecked(info.IsAltitudeSeries());
  FAltitudeColorButton->SetColor(info.AltitudeSeriesColor());
  FTransparencyEdit->setText(IntText(info.AltitudeTransparency()));
  FAltitudeAxis.AutoCheck->setChecked(info.IsRightAutoAxis());
  FAltitudeAxis.MaxEdit->setText(NumberText(info.RightAxisMax()));
  FAltitudeAxis.MinEdit->setText(NumberText(info.RightAxisMin()));
  CheckButton(FBottomAxisGroup, info.BottomAxisKind());
  FLimitSpeedEdit->setText(NumberText(info.LimitSpeed()));
  FSpeedAverageEdit->setText(IntText(info.SpeedMovingAverage()));
  FAltitudeAverageEdit->setText(IntText(info.AltitudeMovingAverage()));
}

void TSpeedSettingsPage::LoadMap(const TMapInfo& info) {
  FMapColorButton->SetColor(info.LineColor());
  FMapWidthEdit->setText(IntText(info.LineWidth()));
  FMapOpacityEdit->setText(NumberText(info.LineOpacity()));
  FMapLimitSpeedEdit->setText(NumberText(info.LimitSpeed()));
  FMapSpeedColorCheck->setChecked(info.IsSpeedColor());
}

void TSpeedSettingsPage::CheckMap(QStringList& errors) const {
  const QString map = QStringLiteral("地図");
  if (!IsWholeNumber(FMapWidthEdit->text())) errors << NotNumberMessage(map, QStringLiteral("ライン幅"));
  if (!IsDecimalNumber(FMapOpacityEdit->text())) {
    errors << NotNumberMessage(map, QStringLiteral("不透明度"));
  } else if (const Extended opacity = DecimalNumberOf(FMapOpacityEdit->text()); opacity < 0 || opacity > 1) {
    errors << QStringLiteral("地図の[不透明度]は0から1までの数値です");
  }
  if (!IsDecimalNumber(FMapLimitSpeedEdit->text())) errors << NotNumberMessage(map, QStringLiteral("限界速度"));
}

void TSpeedSettingsPage::StoreMap(TMapInfo& info) const {
  info.SetLineColor(FMapColorButton->Color());
  info.SetLineWidth(WholeNumberOf(FMapWidthEdit->text()));
  info.SetLineOpacity(DecimalNumberOf(FMapOpacityEdit->text()));
  info.SetLimitSpeed(DecimalNumberOf(FMapLimitSpeedEdit->text()));
  info.SetIsSpeedColor(FMapSpeedColorCheck->isChecked());
}

void TSpeedSettingsPage::Check(QStringList& errors) const {
  const QString speed = QStringLiteral("速度グラフ");
  const QString altitude = QStringLiteral("高度グラフ");
  if (!IsWholeNumber(FSpeedWidthEdit->text())) errors << NotNumberMessage(speed, QStringLiteral("グラフ幅"));
  if (!IsWholeNumber(FTransparencyEdit->text())) errors << NotNumberMessage(altitude, QStringLiteral("グラフ透明度"));
  if (!IsDecimalNumber(FSpeedAxis.MaxEdit->text())) errors << NotNumberMessage(speed, QStringLiteral("最大値"));
  if (!IsDecimalNumber(FSpeedAxis.MinEdit->text())) errors << NotNumberMessage(speed, QStringLiteral("最小値"));
  if (!IsDecimalNumber(FAltitudeAxis.MaxEdit->text())) errors << NotNumberMessage(altitude, QStringLiteral("最大値"));
  if (!IsDecimalNumber(FAltitudeAxis.MinEdit->text())) errors << NotNumberMessage(altitude, QStringLiteral("最小値"));
  if (!IsDecimalNumber(FLimitSpeedEdit->text())) errors << NotNumberMessage(speed, QStringLiteral("限界速度"));
  if (!IsWholeNumber(FSpeedAverageEdit->text())) errors << NotNumberMessage(speed, QStringLiteral("移動平均"));
  if (!IsWholeNumber(FAltitudeAverageEdit->text())) errors << NotNumberMessage(altitude, QStringLiteral("移動平均"));
}

void TSpeedSettingsPage::Store(TSpeedGraphInfo& info) const {
  info.SetIsSpeedSeries(FSpeedSeriesCheck->isChecked());
  info.SetSpeedSeriesColor(FSpeedColorButton->Color());
  info.SetSpeedLineSeriesWidth(WholeNumberOf(FSpeedWidthEdit->text()));
  info.SetIsLeftAutoAxis(FSpeedAxis.AutoCheck->isChecked());
  info.SetLeftAxisMax(DecimalNumberOf(FSpeedAxis.MaxEdit->text()));
  info.SetLeftAxisMin(DecimalNumberOf(FSpeedAxis.MinEdit->text()));
  info.SetIsAverageSpeed(FAverageSpeedCheck->isChecked());
  info.SetIsPaceAxis(FPaceAxisCheck->isChecked());
  info.SetIsAltitudeSeries(FAltitudeSeriesCheck->isChecked());
  info.SetAltitudeSeriesColor(FAltitudeColorButton->Color());
  info.SetAltitudeTransparency(WholeNumberOf(FTransparencyEdit->text()));
  info.SetIsRightAutoAxis(FAltitudeAxis.AutoCheck->isChecked());
  info.SetRightAxisMax(DecimalNumberOf(FAltitudeAxis.MaxEdit->text()));
  info.SetRightAxisMin(DecimalNumberOf(FAltitudeAxis.MinEdit->text()));
  const int bottom = FBottomAxisGroup->checkedId();
  if (bottom >= baDistance && bottom <= baTermMin) info.SetBottomAxisKind(static_cast<TBottomAxisType>(bottom));
  info.SetLimitSpeed(DecimalNumberOf(FLimitSpeedEdit->text()));
  info.SetSpeedMovingAverage(WholeNumberOf(FSpeedAverageEdit->text()));
  info.SetAltitudeMovingAverage(WholeNumberOf(FAltitudeAverageEdit->text()));
}

}  // namespace hakuvo
