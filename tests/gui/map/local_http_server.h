#pragma once

#include <QBuffer>
#include <QByteArray>
#include <QImage>
#include <QList>
#include <QObject>
#include <QString>
#include <QTcpServer>
#include <QTcpSocket>
#include <QUrl>
#include <QUrlQuery>

namespace hakuvo::test {

// A web server on 127.0.0.1 standing in for the tile and look-up servers: "/tiles/..." answers a
// small picture, "/search" the place set in Found (an empty list when none), anything else 404.
// It keeps every request it was asked.
class TLocalHttpServer : public QObject {
 public:
  TLocalHttpServer() {
    FServer.listen(QHostAddress::LocalHost);
    connect(&FServer, &QTcpServer::newConnection, this, [this] {
      while (QTcpSocket* socket = FServer.nextPendingConnection()) {
        connect(socket, &QTcpSocket::readyRead, socket, [this, socket] { Serve(socket); });
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
        // The request may have arrived before the connection above was made.
        if (socket->bytesAvailable() > 0) Serve(socket);
      }
    });
  }

  QString BaseUrl() const { return QStringLiteral("http://127.0.0.1:%1").arg(FServer.serverPort()); }
  // Every request's path and query, as the client sent them.
  const QList<QUrl>& Requests() const { return FRequests; }
  // The "q" values of the look-ups so far, decoded.
  QStringList Searches() const {
    QStringList searches;
    for (const QUrl& url : FRequests) {
      if (url.path() == QLatin1String("/search")) {
        searches << QUrlQuery(url).queryItemValue(QStringLiteral("q"), QUrl::FullyDecoded);
      }
    }
    return searches;
  }
  int TileRequests() const {
    int count = 0;
    for (const QUrl& url : FRequests) count += url.path().startsWith(QLatin1String("/tiles/")) ? 1 : 0;
    return count;
  }

  QByteArray Found = R"([{"lat":"34.6937","lon":"135.5023","display_name":"Osaka"}])";

 private:
  void Serve(QTcpSocket* socket) {
    QByteArray& buffer = FPending[socket];
    buffer += socket->readAll();
    if (!buffer.contains("\r\n\r\n")) return;
    const QList<QByteArray> requestLine = buffer.left(buffer.indexOf("\r\n")).split(' ');
    FPending.remove(socket);
    const QUrl url = requestLine.size() >= 2 ? QUrl::fromEncoded(requestLine[1]) : QUrl();
    FRequests << url;
    QByteArray status = "200 OK";
    QByteArray type = "application/json";
    QByteArray body;
    if (url.path().startsWith(QLatin1String("/tiles/"))) {
      type = "image/png";
      body = Tile();
    } else if (url.path() == QLatin1String("/search")) {
      body = Found;
    } else {
      status = "404 Not Found";
      type = "text/plain";
      body = "not found";
    }
    socket->write("HTTP/1.1 " + status + "\r\nContent-Type: " + type +
                  "\r\nContent-Length: " + QByteArray::number(body.size()) +
                  "\r\nAccess-Control-Allow-Origin: *\r\nConnection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
  }

  static QByteArray Tile() {
    static const QByteArray png = [] {
      QImage image(256, 256, QImage::Format_RGB32);
      image.fill(QColor(170, 210, 160));
      QByteArray bytes;
      QBuffer out(&bytes);
      out.open(QIODevice::WriteOnly);
      image.save(&out, "PNG");
      return bytes;
    }();
    return png;
  }

  QTcpServer FServer;
  QHash<QTcpSocket*, QByteArray> FPending;
  QList<QUrl> FRequests;
};

}  // namespace hakuvo::test
