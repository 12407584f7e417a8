// The look-up service against a server on 127.0.0.1 that answers too much, too slowly or never:
// the look-up ends within its time, keeps its memory small and lets go of the connection.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QLineEdit>
#include <QPointer>
#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <memory>

#include "core/settings/map_service_info.h"
#include "gui/map/geocoder.h"
#include "gui/map/place_dialog.h"
#include "map_fixture.h"

namespace hakuvo::test {
namespace {

// Answers every request in one way, and counts what it sent and who hung up.
class THostileServer : public QObject {
 public:
  enum TMode { Huge, HugeUnannounced, Trickle, Never, NotFound, Found };

  explicit THostileServer(TMode mode) : FMode(mode) {
    FServer.listen(QHostAddress::LocalHost);
    QObject::connect(&FServer, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = FServer.nextPendingConnection()) Serve(socket);
    });
  }
  std::string Url() const { return "http://127.0.0.1:" + std::to_string(FServer.serverPort()) + "/search"; }
  qint64 BytesSent() const { return FSent; }
  int Disconnected() const { return FDisconnected; }

 private:
  void Serve(QTcpSocket* socket) {
    QObject::connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
      ++FDisconnected;
      socket->deleteLater();
    });
    QObject::connect(socket, &QTcpSocket::readyRead, this, [this, socket] {
      if (!socket->readAll().contains("\r\n\r\n")) return;
      Answer(socket);
    });
  }

  void Send(QTcpSocket* socket, const QByteArray& bytes) { FSent += socket->write(bytes); }

  void Answer(QTcpSocket* socket) {
    switch (FMode) {
      case Never:
        return;
      case NotFound:
      case Found: {
        const QByteArray body = FMode == Found ? R"([{"lat":"34.5","lon":"135.25"}])" : "[]";
        Send(socket, "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: " +
                         QByteArray::number(body.size()) + "\r\n\r\n" + body);
        return;
      }
      case Huge:
        Send(socket, "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 3000000000\r\n\r\n[");
        break;
      case HugeUnannounced:
        Send(socket, "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nConnection: close\r\n\r\n[");
        break;
      case Trickle:
        Send(socket, "HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 100000\r\n\r\n");
        break;
    }
    // Goes on sending while the client stays: 64 KiB at a time, or a byte every 50 ms.
    auto* pump = new QTimer(socket);
    const bool trickle = FMode == Trickle;
    const QByteArray piece = trickle ? QByteArray(" ") : QByteArray(64 * 1024, ' ');
    QObject::connect(pump, &QTimer::timeout, this, [this, socket, piece] {
      if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < 1024 * 1024) {
        Send(socket, piece);
      }
    });
    pump->start(trickle ? 50 : 0);
  }

  QTcpServer FServer;
  TMode FMode;
  qint64 FSent = 0;
  int FDisconnected = 0;
};

struct GeocoderTest : public ::testing::Test, private WebEngineApplication {};

TEST_F(GeocoderTest, HugeSlowAndSilentServersEndInTimeAndLetGoOfTheConnection) {
  struct Case {
    THostileServer::TMode Mode;
    TGeocodeStatus Expected;
    qint64 MostMilliseconds;
  };
  const Case cases[] = {
      {THostileServer::Huge, gsTooLarge, 1000},
      {THostileServer::HugeUnannounced, gsTooLarge, 3000},
      // Bytes keep coming, so no silence is ever long: only the whole look-up's limit ends it.
      {THostileServer::Trickle, gsTimedOut, 2500},
      {THostileServer::Never, gsTimedOut, 2500},
      {THostileServer::NotFound, gsNotFound, 1000},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Mode));
    THostileServer server(c.Mode);
    TGeocoder geocoder;
    QSignalSpy finished(&geocoder, &TGeocoder::Finished);
    QElapsedTimer clock;
    clock.start();
    geocoder.Start(server.Url(), QStringLiteral("どこか"), 1000);
    ASSERT_TRUE(finished.wait(10000));
    EXPECT_LT(clock.elapsed(), c.MostMilliseconds);
    EXPECT_EQ(finished.first().first().value<TGeocodeAnswer>().Status, c.Expected);
    EXPECT_FALSE(geocoder.IsBusy());
    if (c.Mode != THostileServer::NotFound) {
      QTRY_COMPARE_WITH_TIMEOUT(server.Disconnected(), 1, 3000);
    }
    // Nothing more arrives after the end.
    const qint64 sent = server.BytesSent();
    QTest::qWait(200);
    if (c.Mode == THostileServer::Huge || c.Mode == THostileServer::HugeUnannounced) {
      EXPECT_LT(server.BytesSent(), 64 * 1024 * 1024) << "the transfer went on after the limit";
      EXPECT_LE(server.BytesSent() - sent, 1024 * 1024 + 64 * 1024);
    }
    EXPECT_EQ(finished.count(), 1);
  }
}

TEST_F(GeocoderTest, ACancelledOrReplacedLookUpEndsAtOnceAndIsSaidOnce) {
  THostileServer server(THostileServer::Never);
  TGeocoder geocoder;
  QSignalSpy finished(&geocoder, &TGeocoder::Finished);
  geocoder.Start(server.Url(), QStringLiteral("一"), 60000);
  QTest::qWait(100);
  geocoder.Start(server.Url(), QStringLiteral("二"), 60000);
  ASSERT_EQ(finished.count(), 1);
  EXPECT_EQ(finished.at(0).first().value<TGeocodeAnswer>().Status, gsCancelled);
  geocoder.Cancel();
  ASSERT_EQ(finished.count(), 2);
  EXPECT_EQ(finished.at(1).first().value<TGeocodeAnswer>().Status, gsCancelled);
  QTRY_COMPARE_WITH_TIMEOUT(server.Disconnected(), 2, 3000);
}

TEST(GeocodeTimeout, ASettingOutsideOneSecondToOneMinuteGivesTheDefault) {
  const struct {
    long long Setting;
    int Used;
  } cases[] = {
      {999, TMapServiceInfo::DefaultGeocodeTimeout},
      {1000, 1000},
      {60000, 60000},
      {60001, TMapServiceInfo::DefaultGeocodeTimeout},
      {2147483647, TMapServiceInfo::DefaultGeocodeTimeout},
      {-5, TMapServiceInfo::DefaultGeocodeTimeout},
  };
  for (const auto& c : cases) EXPECT_EQ(BoundedGeocodeTimeout(c.Setting), c.Used) << c.Setting;
}

class PlaceDialogLookUpTest : public MapWindowTest {
 protected:
  // A place dialog over the map window, which is never shown.
  void Prepare(const std::string& url) {
    Errors.clear();
    appData.MapServiceInfo.GeocodeUrl = url;
    appData.MapServiceInfo.GeocodeTimeout = 1000;
    dialog = std::make_unique<TPlaceDialog>();
    dialog->SetMapForm(form.get());
    dialog->SetAppData(&appData);
    dialog->SetErrorHandler([this](const QString& message) { Errors << message; });
    dialog->AddressEdit()->setText(QStringLiteral("大阪市北区"));
    dialog->LatitudeEdit()->setText(QStringLiteral("1"));
  }
  std::unique_ptr<TPlaceDialog> dialog;
  QStringList Errors;
};

TEST_F(PlaceDialogLookUpTest, LooksUpWithTheMapWindowHiddenAndSaysWhyNothingCame) {
  ASSERT_FALSE(form->isVisible());
  {
    THostileServer hostile(THostileServer::Found);
    Prepare(hostile.Url());
    ASSERT_TRUE(dialog->Geocode());
    EXPECT_EQ(dialog->LatitudeEdit()->text(), "34.5");
    EXPECT_EQ(dialog->LongitudeEdit()->text(), "135.25");
    EXPECT_TRUE(Errors.isEmpty());
  }
  const struct {
    THostileServer::TMode Mode;
    QString Message;
  } cases[] = {
      {THostileServer::NotFound, QStringLiteral("住所が見つかりませんでした")},
      {THostileServer::Never, QStringLiteral("住所検索サービスから時間内に応答がありませんでした")},
      {THostileServer::Huge, QStringLiteral("住所検索サービスの応答が大きすぎるため中止しました")},
  };
  for (const auto& c : cases) {
    THostileServer hostile(c.Mode);
    Prepare(hostile.Url());
    EXPECT_FALSE(dialog->Geocode());
    EXPECT_EQ(Errors, QStringList({c.Message}));
    EXPECT_EQ(dialog->LatitudeEdit()->text(), "1");
  }
  // Nothing listens: the service cannot be reached.
  Prepare("http://127.0.0.1:9/search");
  EXPECT_FALSE(dialog->Geocode());
  ASSERT_EQ(Errors.size(), 1);
  EXPECT_TRUE(Errors[0].startsWith(QStringLiteral("住所検索サービスに接続できませんでした")))
      << Errors[0].toStdString();
}

TEST_F(PlaceDialogLookUpTest, CancelWhileWaitingEndsTheLookUpAtOnce) {
  THostileServer hostile(THostileServer::Trickle);
  Prepare(hostile.Url());
  appData.MapServiceInfo.GeocodeTimeout = 60000;
  dialog->show();
  QTimer::singleShot(300, dialog.get(), [this] { dialog->reject(); });
  QElapsedTimer clock;
  clock.start();
  EXPECT_FALSE(dialog->Geocode());
  EXPECT_LT(clock.elapsed(), 2000);
  EXPECT_FALSE(dialog->isVisible());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join("\n").toStdString();
  EXPECT_FALSE(form->Geocoder().IsBusy());
  QTRY_COMPARE_WITH_TIMEOUT(hostile.Disconnected(), 1, 3000);
}

}  // namespace
}  // namespace hakuvo::test
