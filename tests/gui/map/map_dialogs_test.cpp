#include <gtest/gtest.h>

#include <QLineEdit>
#include <QRadioButton>

#include "core/model/map_info.h"
#include "gui/map/place_dialog.h"
#include "gui/map_settings/map_default_dialog.h"
#include "support/qt_application.h"

namespace hakuvo::test {
namespace {

TEST(PlaceDialogTest, OkNeedsTwoCoordinatesInRange) {
  EnsureQtApplication();
  const struct {
    const char* latitude;
    const char* longitude;
    QStringList errors;
  } cases[] = {
      {"35.6817", "139.7676", {}},
      {"-90", "-180", {}},
      {"北緯35度", "139.7676", {"緯度の設定が正しくありません"}},
      {"35.6817", "", {"経度の設定が正しくありません"}},
      {"90.5", "180.5", {"緯度の設定が正しくありません", "経度の設定が正しくありません"}},
      {"35,68", "1e400", {"緯度の設定が正しくありません", "経度の設定が正しくありません"}},
  };
  for (const auto& c : cases) {
    TPlaceDialog dialog;
    QStringList errors;
    dialog.SetErrorHandler([&](const QString& message) { errors << message; });
    dialog.LatitudeEdit()->setText(QString::fromUtf8(c.latitude));
    dialog.LongitudeEdit()->setText(QString::fromUtf8(c.longitude));
    dialog.show();
    dialog.accept();
    EXPECT_EQ(errors, c.errors) << c.latitude << " " << c.longitude;
    EXPECT_EQ(dialog.isVisible(), !c.errors.isEmpty()) << "the dialog stays open on an error";
  }
}

TEST(MapDefaultDialogTest, ShowsTheTypeAndWritesBackOnlyWhatPassesTheChecks) {
  EnsureQtApplication();
  const struct {
    const char* type;
    int button;
  } types[] = {{"ROADMAP", 0}, {"SATELLITE", 1}, {"HYBRID", 2}, {"TERRAIN", 3}, {"MOON", 0}};
  for (const auto& t : types) {
    TMapDefaultInfo info;
    info.SetMapType(t.type);
    TMapDefaultDialog dialog;
    dialog.SetMapDefaultInfo(&info);
    EXPECT_TRUE(dialog.TypeButton(t.button)->isChecked()) << t.type;
  }

  // The checks run in order and stop at the first failure; nothing is written until all pass.
  const struct {
    const char* latitude;
    const char* longitude;
    const char* zoom;
    const char* error;
  } checks[] = {
      {"x", "y", "z", "[緯度]が数値ではありません"},
      {"35", "y", "z", "[経度]が数値ではありません"},
      {"35", "139", "13.5", "[ズーム]が数値ではありません"},
  };
  for (const auto& c : checks) {
    TMapDefaultInfo info;
    TMapDefaultDialog dialog;
    dialog.SetMapDefaultInfo(&info);
    QStringList errors;
    dialog.SetErrorHandler([&](const QString& message) { errors << message; });
    dialog.MapLatitudeEdit()->setText(c.latitude);
    dialog.MapLongitudeEdit()->setText(c.longitude);
    dialog.MapZoomEdit()->setText(c.zoom);
    dialog.TypeButton(3)->setChecked(true);
    dialog.show();
    dialog.accept();
    EXPECT_EQ(errors, QStringList({QString::fromUtf8(c.error)}));
    EXPECT_TRUE(dialog.isVisible());
    EXPECT_EQ(info.MapType(), "ROADMAP");
    EXPECT_EQ(info.Zoom(), 13);
  }

  TMapDefaultInfo info;
  TMapDefaultDialog dialog;
  dialog.SetMapDefaultInfo(&info);
  EXPECT_EQ(dialog.MapLatitudeEdit()->text(), "35.6815");
  EXPECT_EQ(dialog.MapLongitudeEdit()->text(), "139.7664");
  EXPECT_EQ(dialog.MapZoomEdit()->text(), "13");
  dialog.MapLatitudeEdit()->setText("-33.8688");
  dialog.MapLongitudeEdit()->setText("151.2093");
  dialog.MapZoomEdit()->setText("10");
  dialog.TypeButton(2)->setChecked(true);
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(info.MapType(), "HYBRID");
  EXPECT_EQ(info.Zoom(), 10);
  EXPECT_DOUBLE_EQ(static_cast<double>(info.Latitude()), -33.8688);
  EXPECT_DOUBLE_EQ(static_cast<double>(info.Longitude()), 151.2093);
}

}  // namespace
}  // namespace hakuvo::test
