#pragma once
// A z/x/y tile server on the loopback address for the map tests: it serves
// PNG tiles it draws itself (one plain colour per tile), cacheable for an
// hour, and records every request it gets with its User-Agent. It can hold
// its answers back a while, to count how many requests are open at once.
#include <QBuffer>
#include <QByteArray>
#include <QColor>
#include <QHostAddress>
#include <QImage>
#include <QRegularExpression>
#include <QSet>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTimer>
#include <vector>

namespace velorin::window_test {

struct TileRequest {
  int z = -1, x = -1, y = -1;  ///< -1: not a tile path
  QByteArray path;
  QByteArray userAgent;
};

class TileTestServer : public QObject {
 public:
  /// The colour of tile z/x/y: distinct for every tile of the tests.
  static QColor TileColour(int z, int x, int y) {
    return QColor::fromRgb(40 + (z * 37) % 200, 40 + (x * 53) % 200, 40 + (y * 71) % 200);
  }

  /// Listens on 127.0.0.1, on `port` or any free one.
  bool Start(quint16 port = 0) {
    connect(&server_, &QTcpServer::newConnection, this, &TileTestServer::Accept,
            Qt::UniqueConnection);
    return server_.listen(QHostAddress::LocalHost, port);
  }
  /// Stops listening and drops every open connection, mid-answer or not.
  void Stop() {
    server_.close();
    for (QTcpSocket* socket : server_.findChildren<QTcpSocket*>()) socket->abort();
  }
  quint16 Port() const { return server_.serverPort(); }
  QString UrlTemplate() const {
    return QStringLiteral("http://127.0.0.1:%1/{z}/{x}/{y}.png").arg(port_ ? port_ : Port());
  }
  /// Keeps the URL of an earlier start, for a server started again.
  void RememberPort() { port_ = Port(); }
  /// Each answer waits this long, so that requests overlap.
  void SetDelay(int ms) { delayMs_ = ms; }
  const std::vector<TileRequest>& Requests() const { return requests_; }
  void ClearRequests() { requests_.clear(); }
  int MostOpenAtOnce() const { return mostOpen_; }

 private:
  void Accept() {
    while (QTcpSocket* socket = server_.nextPendingConnection()) {
      socket->setParent(&server_);
      connect(socket, &QTcpSocket::readyRead, this, [this, socket] { Read(socket); });
      connect(socket, &QTcpSocket::disconnected, this, [this, socket] {
        answering_.remove(socket);
        pending_.remove(socket);
        socket->deleteLater();
      });
    }
  }

  void Read(QTcpSocket* socket) {
    QByteArray& buffer = pending_[socket];
    buffer += socket->readAll();
    const qsizetype end = buffer.indexOf("\r\n\r\n");
    if (end < 0) return;
    const TileRequest request = Parse(buffer.left(end));
    pending_.remove(socket);
    requests_.push_back(request);
    answering_.insert(socket);
    mostOpen_ = std::max(mostOpen_, static_cast<int>(answering_.size()));
    QTimer::singleShot(delayMs_, socket, [this, socket, request] {
      answering_.remove(socket);
      Answer(socket, request);
    });
  }

  static TileRequest Parse(const QByteArray& head) {
    TileRequest request;
    const QList<QByteArray> lines = head.split('\n');
    const QList<QByteArray> first = lines.value(0).trimmed().split(' ');
    request.path = first.value(1);
    for (const QByteArray& line : lines) {
      if (line.toLower().startsWith("user-agent:")) request.userAgent = line.mid(11).trimmed();
    }
    static const QRegularExpression tilePath(QStringLiteral("^/(\\d+)/(\\d+)/(\\d+)\\.png$"));
    const QRegularExpressionMatch match = tilePath.match(QString::fromLatin1(request.path));
    if (match.hasMatch()) {
      request.z = match.captured(1).toInt();
      request.x = match.captured(2).toInt();
      request.y = match.captured(3).toInt();
    }
    return request;
  }

  static void Answer(QTcpSocket* socket, const TileRequest& request) {
    if (socket->state() != QAbstractSocket::ConnectedState) return;
    QByteArray head;
    QByteArray body;
    if (request.z < 0) {
      head = "HTTP/1.1 404 Not Found\r\nContent-Length: 0\r\n";
    } else {
      QImage tile(256, 256, QImage::Format_RGB32);
      tile.fill(TileColour(request.z, request.x, request.y));
      QBuffer png(&body);
      png.open(QIODevice::WriteOnly);
      tile.save(&png, "PNG");
      head =
          "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\nCache-Control: max-age=3600\r\n"
          "Content-Length: " +
          QByteArray::number(body.size()) + "\r\n";
    }
    socket->write(head + "Connection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
  }

  QTcpServer server_;
  QHash<QTcpSocket*, QByteArray> pending_;
  std::vector<TileRequest> requests_;
  QSet<QTcpSocket*> answering_;
  int delayMs_ = 0;
  int mostOpen_ = 0;
  quint16 port_ = 0;
};

}  // namespace velorin::window_test
