#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTest>

#include "core/common/date_time.h"
#include "core/model/place.h"
#include "gui/map/map_script.h"
#include "gui/map/place_dialog.h"
#include "map_fixture.h"
#include "support/scoped_clock.h"

namespace hakuvo::test {
namespace {

TEST_F(MapWindowTest, HostileAddressesStayTextOnTheWayToTheLookUp) {
  ShowAndLoad();
  const QStringList addresses = {
      QStringLiteral("東京都千代田区\"丸の内\"1-9-1"),
      QStringLiteral("C:\\Users\\走者\\"),
      QStringLiteral("一行目\n二行目\r\n\t三行目"),
      QStringLiteral("</script><script>window.pwned = 1;</script>"),
      QStringLiteral("\"); window.pwned = 1; (\""),
      QStringLiteral("'); window.pwned = 1; ('"),
      QStringLiteral("a&b=c#d+e%20f?g"),
      QStringLiteral("区切り\u2028段落\u2029終わり"),
  };
  for (const QString& address : addresses) {
    // The literal reads back as the very text.
    EXPECT_EQ(Eval(QStringLiteral("(") + JsString(address) + QStringLiteral(")")).toString(), address);

    form->SetLocation(address);
    QSignalSpy finished(form.get(), &TMapForm::GeocodeFinished);
    Calls.clear();
    form->PanToLocation();
    ASSERT_EQ(Calls, QStringList({QStringLiteral("addressToLatLng(") + JsString(address) + QStringLiteral(")")}));
    ASSERT_TRUE(finished.wait(5000)) << address.toStdString();
    EXPECT_TRUE(finished.first().first().toBool());
    ASSERT_FALSE(server.Searches().isEmpty());
    EXPECT_EQ(server.Searches().last(), address);
  }
  EXPECT_EQ(server.Searches().size(), addresses.size());
  EXPECT_EQ(Eval(QStringLiteral("typeof window.pwned")).toString(), QStringLiteral("undefined"));
  // The place found is the map's position, marked on the page.
  EXPECT_DOUBLE_EQ(form->Latitude(), 34.6937);
  EXPECT_DOUBLE_EQ(form->Longitude(), 135.5023);
  EXPECT_EQ(State().value("markers").toList(), QVariantList({QVariantList{34.6937, 135.5023}}));
}

TEST_F(MapWindowTest, PageCannotLookUpWhatTheWindowDidNotCount) {
  ShowAndLoad();
  QSignalSpy answered(&form->Host(), &TMapHost::GeocodeFinished);
  Eval(QStringLiteral("addressToLatLng('uncounted'), 1"));
  QTRY_COMPARE_WITH_TIMEOUT(answered.count(), 1, 5000);
  EXPECT_FALSE(answered.first().first().toBool());
  Pump(200);
  EXPECT_TRUE(server.Searches().isEmpty());
}

TEST_F(MapWindowTest, PlaceDialogLooksUpWithinTheDaysAllowance) {
  ShowAndLoad();
  const TDateTime day = EncodeDate(2026, 12, 10);
  TScopedClock clock(day + 0.75);
  appData.GoogleMapGeocodeDate = day;
  appData.GoogleMapGeocodeCount = TAppData::GeocodeLimitPerDay - 1;

  TPlaceDialog dialog;
  dialog.SetMapForm(form.get());
  dialog.SetAppData(&appData);
  QStringList errors;
  dialog.SetErrorHandler([&](const QString& message) { errors << message; });
  dialog.AddressEdit()->setText(QStringLiteral("大阪市北区"));

  // The 2,400th look-up of the day goes out.
  ASSERT_TRUE(dialog.Geocode());
  EXPECT_EQ(dialog.LatitudeEdit()->text(), "34.6937");
  EXPECT_EQ(dialog.LongitudeEdit()->text(), "135.5023");
  EXPECT_EQ(server.Searches(), QStringList({QStringLiteral("大阪市北区")}));
  EXPECT_EQ(appData.GoogleMapGeocodeCount, TAppData::GeocodeLimitPerDay);

  // The 2,401st is refused without asking anyone, and the edits stay.
  dialog.LatitudeEdit()->setText(QStringLiteral("1"));
  EXPECT_FALSE(dialog.Geocode());
  EXPECT_EQ(errors, QStringList({QStringLiteral("緯度・経度の変換回数制限に達しました")}));
  EXPECT_EQ(server.Searches().size(), 1);
  EXPECT_EQ(dialog.LatitudeEdit()->text(), "1");

  // The next day counts afresh; a double click on a coordinate's label asks.
  clock.Set(day + 1.25);
  QTest::mouseDClick(dialog.LongitudeLabel(), Qt::LeftButton);
  QTRY_COMPARE_WITH_TIMEOUT(server.Searches().size(), 2, 5000);
  QTRY_COMPARE_WITH_TIMEOUT(dialog.LatitudeEdit()->text(), QStringLiteral("34.6937"), 5000);
  EXPECT_EQ(appData.GoogleMapGeocodeCount, 1);
  EXPECT_EQ(errors.size(), 1);

  // A place the service does not know leaves the edits as they were, and says so.
  server.Found = "[]";
  dialog.LatitudeEdit()->setText(QStringLiteral("2"));
  EXPECT_FALSE(dialog.Geocode());
  EXPECT_EQ(dialog.LatitudeEdit()->text(), "2");
  EXPECT_EQ(errors.last(), QStringLiteral("住所が見つかりませんでした"));
}

TEST_F(MapWindowTest, EditPlaceHandsThePlaceThroughTheDialog) {
  TPlace place;
  place.Title = "駅前";
  place.Address = "東京駅";
  place.Latitude = 35.6812;
  place.Longitude = 139.7671;
  QStringList shown;
  form->SetPlaceDialogRunner([&](TPlaceDialog& dialog) {
    shown << dialog.AddressEdit()->text() << dialog.LatitudeEdit()->text() << dialog.LongitudeEdit()->text();
    EXPECT_EQ(dialog.MapForm(), form.get());
    dialog.AddressEdit()->setText(QStringLiteral("大阪駅"));
    dialog.LatitudeEdit()->setText(QStringLiteral("34.7025"));
    dialog.LongitudeEdit()->setText(QStringLiteral("135.4959"));
    dialog.accept();
    return dialog.result();
  });
  ASSERT_TRUE(form->EditPlace(nullptr, place));
  EXPECT_EQ(shown, QStringList({"東京駅", "35.6812", "139.7671"}));
  EXPECT_EQ(place.Address, "大阪駅");
  EXPECT_EQ(place.Title, "駅前") << "the address edit writes the address, not the title";
  EXPECT_DOUBLE_EQ(static_cast<double>(place.Latitude), 34.7025);
  EXPECT_DOUBLE_EQ(static_cast<double>(place.Longitude), 135.4959);

  // Cancel, or an OK the checks refuse, leaves the place alone.
  form->SetPlaceDialogRunner([](TPlaceDialog& dialog) {
    dialog.SetErrorHandler([](const QString&) {});
    dialog.LatitudeEdit()->setText(QStringLiteral("北緯35度"));
    dialog.accept();
    return dialog.result();
  });
  EXPECT_FALSE(form->EditPlace(nullptr, place));
  EXPECT_EQ(place.Address, "大阪駅");
}

}  // namespace
}  // namespace hakuvo::test

namespace hakuvo::test {
namespace {

// Without tile or look-up servers the page still loads and draws, and a look-up gives up.
TEST_F(MapWindowTest, OfflineThePageStillDrawsAndALookUpGivesUp) {
  QTcpServer silent;  // takes connections and never answers
  ASSERT_TRUE(silent.listen(QHostAddress::LocalHost));
  appData.MapServiceInfo.Roadmap.Url = "http://127.0.0.1:9/{z}/{x}/{y}.png";  // nothing listens there
  appData.MapServiceInfo.GeocodeUrl =
      QStringLiteral("http://127.0.0.1:%1/search").arg(silent.serverPort()).toStdString();
  appData.MapServiceInfo.GeocodeTimeout = 1000;  // the shortest the setting allows
  ShowAndLoad();
  form->CreateMarker(35.5, 139.5, true);
  const QVariantMap state = State();
  EXPECT_EQ(state.value("markers").toList(), QVariantList({QVariantList{35.5, 139.5}}));

  QSignalSpy finished(form.get(), &TMapForm::GeocodeFinished);
  form->SetLocation(QStringLiteral("どこか"));
  form->PanToLocation();
  ASSERT_TRUE(finished.wait(5000)) << "the look-up did not give up";
  EXPECT_FALSE(finished.first().first().toBool());
  EXPECT_DOUBLE_EQ(form->Latitude(), 35.5) << "the map stays where it was";
}

}  // namespace
}  // namespace hakuvo::test
