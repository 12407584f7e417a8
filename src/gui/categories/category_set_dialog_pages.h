#pragma once

#include <QColor>
#include <QPushButton>
#include <QStringList>
#include <QWidget>

#include "core/model/color.h"
#include "core/model/graph_info.h"
#include "core/model/map_info.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QDateEdit;
class QLabel;
class QLineEdit;
class QRadioButton;

namespace hakuvo {

// The model keeps colours as 0x00BBGGRR integers; widgets want QColor.
QColor ToQColor(TColor color);
TColor FromQColor(const QColor& color);

// A push button that shows a colour swatch beside its caption and lets the user pick another.
class TColorButton : public QPushButton {
  Q_OBJECT

 public:
  explicit TColorButton(const QString& caption, QWidget* parent = nullptr);

  TColor Color() const { return FColor; }
  void SetColor(TColor color);

 private:
  void ChooseColor();

  TColor FColor = 0;
};

// A numeric field (plain line edit, so that anything typed can be refused with a message) with the
// helpers the settings pages share.
QLineEdit* NewNumberEdit(const QString& objectName, QWidget* parent);

// One graph page (day, month or year): series look, date range and value axis of a TGraphInfo.
class TGraphSettingsPage : public QWidget {
  Q_OBJECT

 public:
  // axisUnit names the date unit of the axis choice ("日", "月" or "年"); graphName starts the
  // messages of the page's checks ("グラフ", "月グラフ", ...).
  TGraphSettingsPage(const QString& axisUnit, const QString& graphName, QWidget* parent = nullptr);

  void Load(const TGraphInfo& info);
  // Appends the message of every field that does not hold its kind of number, in field order.
  void Check(QStringList& errors) const;
  // Only after Check found nothing.
  void Store(TGraphInfo& info) const;

  TColorButton* ColorButton() const { return FColorButton; }
  QButtonGroup* AxisGroup() const { return FAxisGroup; }
  QButtonGroup* SeriesGroup() const { return FSeriesGroup; }
  QLineEdit* LineWidthEdit() const { return FLineWidthEdit; }
  QLineEdit* BarWidthEdit() const { return FBarWidthEdit; }
  QRadioButton* TermRadio() const { return FTermRadio; }
  QRadioButton* DateRadio() const { return FDateRadio; }
  QRadioButton* AllRadio() const { return FAllRadio; }
  QComboBox* TermCombo() const { return FTermCombo; }
  QDateEdit* StartDateEdit() const { return FStartDateEdit; }
  QDateEdit* EndDateEdit() const { return FEndDateEdit; }
  QCheckBox* AutoAxisCheck() const { return FAutoAxisCheck; }
  QLineEdit* MaxEdit() const { return FMaxEdit; }
  QLineEdit* MinEdit() const { return FMinEdit; }

 private:
  QWidget* BuildSeriesGroup(const QString& axisUnit);
  QWidget* BuildDayAxisGroup();
  QWidget* BuildRecordAxisGroup();
  void UpdateDayAxisControls();
  void UpdateRecordAxisControls();

  QString FGraphName;
  TColorButton* FColorButton = nullptr;
  QButtonGroup* FAxisGroup = nullptr;
  QButtonGroup* FSeriesGroup = nullptr;
  QLineEdit* FLineWidthEdit = nullptr;
  QLineEdit* FBarWidthEdit = nullptr;
  QRadioButton* FTermRadio = nullptr;
  QRadioButton* FDateRadio = nullptr;
  QRadioButton* FAllRadio = nullptr;
  QComboBox* FTermCombo = nullptr;
  QLabel* FTermUnitLabel = nullptr;
  QLabel* FStartDateLabel = nullptr;
  QLabel* FEndDateLabel = nullptr;
  QDateEdit* FStartDateEdit = nullptr;
  QDateEdit* FEndDateEdit = nullptr;
  QCheckBox* FAutoAxisCheck = nullptr;
  QLabel* FMaxLabel = nullptr;
  QLabel* FMinLabel = nullptr;
  QLineEdit* FMaxEdit = nullptr;
  QLineEdit* FMinEdit = nullptr;
};

// Value axis fields shared by the speed and the altitude graph: automatic check, maximum, minimum.
struct TAxisFields {
  QCheckBox* AutoCheck = nullptr;
  QLabel* MaxLabel = nullptr;
  QLabel* MinLabel = nullptr;
  QLineEdit* MaxEdit = nullptr;
  QLineEdit* MinEdit = nullptr;
};

// The speed and altitude graph page of a TSpeedGraphInfo.
class TSpeedSettingsPage : public QWidget {
  Q_OBJECT

 public:
  explicit TSpeedSettingsPage(QWidget* parent = nullptr);

  void Load(const TSpeedGraphInfo& info);
  void Check(QStringList& errors) const;
  void Store(TSpeedGraphInfo& info) const;
  // The map's line of the category's tracks, on the same page: both draw the same track.
  void LoadMap(const TMapInfo& info);
  void CheckMap(QStringList& errors) const;
  void StoreMap(TMapInfo& info) const;

  QCheckBox* SpeedSeriesCheck() const { return FSpeedSeriesCheck; }
  TColorButton* SpeedColorButton() const { return FSpeedColorButton; }
  QLineEdit* SpeedWidthEdit() const { return FSpeedWidthEdit; }
  const TAxisFields& SpeedAxis() const { return FSpeedAxis; }
  QCheckBox* AverageSpeedCheck() const { return FAverageSpeedCheck; }
  QCheckBox* PaceAxisCheck() const { return FPaceAxisCheck; }
  QCheckBox* AltitudeSeriesCheck() const { return FAltitudeSeriesCheck; }
  TColorButton* AltitudeColorButton() const { return FAltitudeColorButton; }
  QLineEdit* TransparencyEdit() const { return FTransparencyEdit; }
  const TAxisFields& AltitudeAxis() const { return FAltitudeAxis; }
  QButtonGroup* BottomAxisGroup() const { return FBottomAxisGroup; }
  QLineEdit* LimitSpeedEdit() const { return FLimitSpeedEdit; }
  QLineEdit* SpeedAverageEdit() const { return FSpeedAverageEdit; }
  QLineEdit* AltitudeAverageEdit() const { return FAltitudeAverageEdit; }
  TColorButton* MapColorButton() const { return FMapColorButton; }
  QLineEdit* MapWidthEdit() const { return FMapWidthEdit; }
  QLineEdit* MapOpacityEdit() const { return FMapOpacityEdit; }
  QLineEdit* MapLimitSpeedEdit() const { return FMapLimitSpeedEdit; }
  QCheckBox* MapSpeedColorCheck() const { return FMapSpeedColorCheck; }

 private:
  QWidget* BuildSpeedGroup();
  QWidget* BuildAltitudeGroup();
  QWidget* BuildBottomAxisGroup();
  QWidget* BuildMapGroup();
  QWidget* BuildAxisGroup(const QString& title, const QString& namePrefix, TAxisFields& fields);

  QCheckBox* FSpeedSeriesCheck = nullptr;
  TColorButton* FSpeedColorButton = nullptr;
  QLineEdit* FSpeedWidthEdit = nullptr;
  TAxisFields FSpeedAxis;
  QCheckBox* FAverageSpeedCheck = nullptr;
  QCheckBox* FPaceAxisCheck = nullptr;
  QCheckBox* FAltitudeSeriesCheck = nullptr;
  TColorButton* FAltitudeColorButton = nullptr;
  QLineEdit* FTransparencyEdit = nullptr;
  TAxisFields FAltitudeAxis;
  QButtonGroup* FBottomAxisGroup = nullptr;
  QLineEdit* FLimitSpeedEdit = nullptr;
  QLineEdit* FSpeedAverageEdit = nullptr;
  QLineEdit* FAltitudeAverageEdit = nullptr;
  TColorButton* FMapColorButton = nullptr;
  QLineEdit* FMapWidthEdit = nullptr;
  QLineEdit* FMapOpacityEdit = nullptr;
  QLineEdit* FMapLimitSpeedEdit = nullptr;
  QCheckBox* FMapSpeedColorCheck = nullptr;
};

}  // namespace hakuvo
