#pragma once

#include <QByteArray>
#include <QMetaType>
#include <QNetworkReply>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTimer>
#include <string>

class QNetworkAccessManager;

namespace hakuvo {

enum TGeocodeStatus {
  gsFound,
  gsNotFound,     // the service answered and knows no such place
  gsUnreachable,  // no answer: no network, no server, an error status
  gsTimedOut,     // no whole answer within the time-out
  gsTooLarge,     // the answer grew past MaxReplyBytes
  gsCancelled
};

struct TGeocodeAnswer {
  TGeocodeStatus Status = gsNotFound;
  double Latitude = 0;
  double Longitude = 0;
  QString Reason;  // the network's words for gsUnreachable
};

// What the user reads about a look-up that found nothing (empty for gsFound and gsCancelled).
QString GeocodeProblemText(const TGeocodeAnswer& answer);

// Looks one address up at a search service that answers with a JSON array of places carrying
// "lat" and "lon". The whole look-up, not only its silences, ends at the time-out; an answer
// longer than MaxReplyBytes is refused and its transfer stopped; a newer look-up or Cancel stops
// the one running. Exactly one Finished follows each Start.
class TGeocoder : public QObject {
  Q_OBJECT

 public:
  // A search answer is a few kilobytes; this is generous.
  static constexpr qint64 MaxReplyBytes = 1024 * 1024;

  explicit TGeocoder(QObject* parent = nullptr);
  ~TGeocoder() override;

  // `timeoutMs` is bounded as the setting is (BoundedGeocodeTimeout).
  void Start(const std::string& serviceUrl, const QString& address, int timeoutMs);
  void Cancel();
  bool IsBusy() const { return FReply != nullptr; }

 signals:
  void Finished(const hakuvo::TGeocodeAnswer& answer);

 private:
  void Stop(TGeocodeStatus status);
  void OnReadyRead();
  void OnFinished();

  QNetworkAccessManager* FNetwork;
  QPointer<QNetworkReply> FReply;
  QTimer FDeadline;
  QByteArray FBody;
  bool FStopped = false;
  TGeocodeStatus FStopStatus = gsCancelled;
};

}  // namespace hakuvo

Q_DECLARE_METATYPE(hakuvo::TGeocodeAnswer)
