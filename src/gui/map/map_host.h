#pragma once

#include <QObject>
#include <QString>

namespace hakuvo {

// The object the map page reaches through the web channel as "host": the view the page reports
// back (centre, zoom, map type), the address to look up, the window's caption and the program's
// name. Geocode is the page's way to have an address looked up; the answer comes back through
// GeocodeFinished, which the page listens to.
class TMapHost : public QObject {
  Q_OBJECT
  Q_PROPERTY(double Latitude READ Latitude WRITE SetLatitude NOTIFY ViewChanged)
  Q_PROPERTY(double Longitude READ Longitude WRITE SetLongitude NOTIFY ViewChanged)
  Q_PROPERTY(int Zoom READ Zoom WRITE SetZoom NOTIFY ViewChanged)
  Q_PROPERTY(QString MapTypeId READ MapTypeId WRITE SetMapTypeId NOTIFY ViewChanged)
  Q_PROPERTY(QString Location READ Location WRITE SetLocation NOTIFY ViewChanged)
  Q_PROPERTY(QString Caption READ Caption WRITE SetCaption NOTIFY CaptionChanged)
  Q_PROPERTY(QString Application READ Application CONSTANT)

 public:
  explicit TMapHost(QObject* parent = nullptr) : QObject(parent) {}

  double Latitude() const { return FLatitude; }
  void SetLatitude(double value) { FLatitude = value; }
  double Longitude() const { return FLongitude; }
  void SetLongitude(double value) { FLongitude = value; }
  int Zoom() const { return FZoom; }
  void SetZoom(int value) { FZoom = value; }
  QString MapTypeId() const { return FMapTypeId; }
  void SetMapTypeId(const QString& value) { FMapTypeId = value; }
  QString Location() const { return FLocation; }
  void SetLocation(const QString& value) { FLocation = value; }
  QString Caption() const;
  void SetCaption(const QString& value);
  QString Application() const;

  // The window the caption belongs to.
  void SetCaptionWidget(QWidget* widget) { FCaptionWidget = widget; }

 public slots:
  void Geocode(const QString& address) { emit GeocodeRequested(address); }
  // A photograph's marker was clicked: the set of markers it belongs to and its place in it.
  void PhotoClicked(int generation, int index) { emit PhotoMarkerClicked(generation, index); }

 signals:
  void ViewChanged();
  void CaptionChanged();
  void GeocodeRequested(const QString& address);
  // found is false when the service knew no such place, failed or did not answer in time.
  void GeocodeFinished(bool found, double latitude, double longitude);
  void PhotoMarkerClicked(int generation, int index);

 private:
  double FLatitude = 0;
  double FLongitude = 0;
  int FZoom = 0;
  QString FMapTypeId;
  QString FLocation;
  QWidget* FCaptionWidget = nullptr;
};

}  // namespace hakuvo
