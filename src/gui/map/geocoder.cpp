#include "gui/map/geocoder.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QNetworkAccessManager>
#include <QNetworkReply>
#include <QNetworkRequest>
#include <QUrl>

#include "core/settings/map_service_info.h"

namespace hakuvo {

QString GeocodeProblemText(const TGeocodeAnswer& answer) {
  switch (answer.Status) {
    case gsFound:
    case gsCancelled:
      return {};
    case gsNotFound:
      return QStringLiteral("住所が見つかりませんでした");
    case gsUnreachable:
      return QStringLiteral("住所検索サービスに接続できませんでした") +
             (answer.Reason.isEmpty() ? QString() : QStringLiteral("（%1）").arg(answer.Reason));
    case gsTimedOut:
      return QStringLiteral("住所検索サービスから時間内に応答がありませんでした");
    case gsTooLarge:
      return QStringLiteral("住所検索サービスの応答が大きすぎるため中止しました");
  }
  return {};
}

TGeocoder::TGeocoder(QObject* parent) : QObject(parent), FNetwork(new QNetworkAccessManager(this)) {
  qRegisterMetaType<TGeocodeAnswer>();
  FDeadline.setSingleShot(true);
  connect(&FDeadline, &QTimer::timeout, this, [this] { Stop(gsTimedOut); });
}

TGeocoder::~TGeocoder() {
  if (FReply) {
    FReply->disconnect(this);
    FReply->abort();
  }
}

void TGeocoder::Start(const std::string& serviceUrl, const QString& address, int timeoutMs) {
  Cancel();
  // The address goes percent-encoded whole: "&", "=", "#" and "+" in it stay part of it.
  QByteArray url8 = QByteArray::fromStdString(serviceUrl);
  url8 += url8.contains('?') ? '&' : '?';
  url8 += "q=" + QUrl::toPercentEncoding(address) + "&format=json&limit=1";
  QNetworkRequest request(QUrl::fromEncoded(url8, QUrl::StrictMode));
  const int timeout = BoundedGeocodeTimeout(timeoutMs);
  request.setTransferTimeout(timeout);
  // Public look-up services ask their clients to name themselves.
  request.setHeader(QNetworkRequest::UserAgentHeader, QStringLiteral("Hakuvo map window"));
  FBody.clear();
  FStopped = false;
  FReply = FNetwork->get(request);
  // Taken as it comes, so that the size is known at every moment and nothing piles up unread.
  FReply->setReadBufferSize(64 * 1024);
  connect(FReply, &QNetworkReply::readyRead, this, [this] { OnReadyRead(); });
  connect(FReply, &QNetworkReply::finished, this, [this] { OnFinished(); });
  FDeadline.start(timeout);
}

void TGeocoder::Cancel() {
  if (FReply) Stop(gsCancelled);
}

void TGeocoder::Stop(TGeocodeStatus status) {
  if (!FReply || FStopped) return;
  FStopped = true;
  FStopStatus = status;
  // abort() finishes the reply at once, which reports FStopStatus.
  FReply->abort();
}

void TGeocoder::OnReadyRead() {
  if (!FReply || FStopped) return;
  const QVariant length = FReply->header(QNetworkRequest::ContentLengthHeader);
  if (length.isValid() && length.toLongLong() > MaxReplyBytes) {
    Stop(gsTooLarge);
    return;
  }
  FBody += FReply->read(MaxReplyBytes + 1 - FBody.size());
  if (FBody.size() > MaxReplyBytes) Stop(gsTooLarge);
}

void TGeocoder::OnFinished() {
  QNetworkReply* reply = FReply;
  if (reply == nullptr) return;
  FReply = nullptr;
  FDeadline.stop();
  reply->deleteLater();
  TGeocodeAnswer answer;
  if (FStopped) {
    answer.Status = FStopStatus;
  } else if (reply->error() == QNetworkReply::TimeoutError) {
    answer.Status = gsTimedOut;
  } else if (reply->error() != QNetworkReply::NoError) {
    answer.Status = gsUnreachable;
    answer.Reason = reply->errorString();
  } else {
    FBody += reply->read(MaxReplyBytes + 1 - FBody.size());
    if (FBody.size() > MaxReplyBytes) {
      answer.Status = gsTooLarge;
    } else {
      answer.Status = gsNotFound;
      const QJsonArray places = QJsonDocument::fromJson(FBody).array();
      if (!places.isEmpty()) {
        const QJsonObject place = places.first().toObject();
        bool latitudeOk = false;
        bool longitudeOk = false;
        const double latitude = place.value(QStringLiteral("lat")).toVariant().toString().toDouble(&latitudeOk);
        const double longitude = place.value(QStringLiteral("lon")).toVariant().toString().toDouble(&longitudeOk);
        if (latitudeOk && longitudeOk && latitude >= -90 && latitude <= 90 && longitude >= -180 && longitude <= 180) {
          answer.Status = gsFound;
          answer.Latitude = latitude;
          answer.Longitude = longitude;
        }
      }
    }
  }
  FBody.clear();
  emit Finished(answer);
}

}  // namespace hakuvo
