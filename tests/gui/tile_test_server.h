#pragma once
// A z/x/y tile server on the loopback address for the map tests: it serves
// PNG tiles it draws itself (one plain colour per tile), cacheable for an
// hour, and records every request it gets with its User-Agent. It can hold
// its answers back a while, to count how many requests are open at once,
// and it can misbehave as servers have been seen to: bodies that never end
// or that are far too long, bytes that are no picture, pictures far too
// large, redirects in a loop, errors.
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

/// How the server answers a tile's request.
enum class TileBehaviour {
  kTiles,         ///< a 256-pixel PNG tile
  kLargeTiles,    ///< a 512-pixel PNG tile
  kEndlessBody,   ///< a body with no length that never ends
  kHugeLength,    ///< a length of 50 MB, and bytes until the client goes
  kNotAnImage,    ///< random bytes as image/png, cacheable for a day
  kDeclaredHuge,  ///< a PNG whose header claims 100000 pixels square
  kHugePicture,   ///< a valid PNG of 5000 pixels square
  kRedirectLoop,  ///< a redirect to another address, and from it again
  kServerError,   ///< 500
  kMissing,       ///< 404
};

class TileTestServer : public QObject {
 public:
  /// The colour of tile z/x/y: distinct for every tile of the tests.
  static QColor TileColour(int z, int x, int y) {
    return QColor::fromRgb(40 + (z * 37) % 200, 40 + (x * 53) % 200, 40 + (y * 71) % 200);
  }

  /// Listens on 127.0.0.1, on `port` or any free one (forgetting a port
  /// remembered before).
  bool Start(quint16 port = 0) {
    if (port == 0) port_ = 0;
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
  void SetBehaviour(TileBehaviour behaviour) { behaviour_ = behaviour; }
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
      Answer(socket, request, behaviour_);
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

  static QByteArray Png(const QImage& image) {
    QByteArray body;
    QBuffer png(&body);
    png.open(QIODevice::WriteOnly);
    image.save(&png, "PNG");
    return body;
  }

  static QByteArray Tile(const TileRequest& request, int side) {
    QImage tile(side, side, QImage::Format_RGB32);
    tile.fill(TileColour(request.z, request.x, request.y));
    return Png(tile);
  }

  // A PNG of one-bit pixels, small however large its side.
  static QByteArray HugePng(int side) {
    QImage image(side, side, QImage::Format_Mono);
    image.fill(0);
    return Png(image);
  }

  static void PutBigEndian(QByteArray& bytes, int at, quint32 value) {
    for (int i = 0; i < 4; ++i) bytes[at + i] = static_cast<char>((value >> (24 - 8 * i)) & 0xff);
  }

  // PNG's CRC-32 of a chunk's type and data.
  static quint32 Crc32(const char* data, int size) {
    quint32 crc = 0xffffffffu;
    for (int i = 0; i < size; ++i) {
      crc ^= static_cast<quint8>(data[i]);
      for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xedb88320u & (0u - (crc & 1u)));
    }
    return ~crc;
  }

  // A PNG whose header (with its checksum) claims `side` pixels square.
  static QByteArray DeclaredPng(int side) {
    QByteArray png = HugePng(16);
    PutBigEndian(png, 16, static_cast<quint32>(side));
    PutBigEndian(png, 20, static_cast<quint32>(side));
    PutBigEndian(png, 29, Crc32(png.constData() + 12, 17));
    return png;
  }

  static QByteArray Random(int size) {
    QByteArray bytes(size, '\0');
    quint32 seed = 99;
    for (char& byte : bytes) {
      seed = seed * 1664525u + 1013904223u;
      byte = static_cast<char>(seed >> 24);
    }
    return bytes;
  }

  // Writes a body until the client goes, a chunk whenever the last is out.
  static void Stream(QTcpSocket* socket) {
    const QByteArray chunk = Random(64 * 1024);
    auto more = [socket, chunk] {
      if (socket->state() == QAbstractSocket::ConnectedState && socket->bytesToWrite() < (1 << 20))
        socket->write(chunk);
    };
    QObject::connect(socket, &QTcpSocket::bytesWritten, socket, more);
    more();
  }

  static void Answer(QTcpSocket* socket, const TileRequest& request, TileBehaviour behaviour) {
    if (socket->state() != QAbstractSocket::ConnectedState) return;
    const QByteArray ok = "HTTP/1.1 200 OK\r\nContent-Type: image/png\r\n";
    const QByteArray cached = "Cache-Control: max-age=86400\r\n";
    QByteArray head;
    QByteArray body;
    const bool hop = request.path.startsWith("/hop/");
    if (request.z < 0 && !(hop && behaviour == TileBehaviour::kRedirectLoop)) {
      head = "HTTP/1.1 404 Not Found\r\n";
    } else {
      switch (behaviour) {
        case TileBehaviour::kTiles:
        case TileBehaviour::kLargeTiles:
          head = ok + cached;
          body = Tile(request, behaviour == TileBehaviour::kTiles ? 256 : 512);
          break;
        case TileBehaviour::kEndlessBody:
          socket->write(ok + "Connection: close\r\n\r\n");
          return Stream(socket);
        case TileBehaviour::kHugeLength:
          socket->write(ok + "Content-Length: 52428800\r\nConnection: close\r\n\r\n");
          return Stream(socket);
        case TileBehaviour::kNotAnImage:
          head = ok + cached;
          body = Random(2000);
          break;
        case TileBehaviour::kDeclaredHuge:
          head = ok + cached;
          body = DeclaredPng(100000);
          break;
        case TileBehaviour::kHugePicture:
          head = ok + cached;
          body = HugePng(5000);
          break;
        case TileBehaviour::kRedirectLoop:
          head = "HTTP/1.1 302 Found\r\nLocation: /hop/" +
                 QByteArray::number(static_cast<int>(request.path.size())) + request.path + "\r\n";
          break;
        case TileBehaviour::kServerError:
          head = "HTTP/1.1 500 Internal Server Error\r\n";
          break;
        case TileBehaviour::kMissing:
          head = "HTTP/1.1 404 Not Found\r\n";
          break;
      }
    }
    head += "Content-Length: " + QByteArray::number(body.size()) + "\r\n";
    socket->write(head + "Connection: close\r\n\r\n" + body);
    socket->disconnectFromHost();
  }

  QTcpServer server_;
  QHash<QTcpSocket*, QByteArray> pending_;
  std::vector<TileRequest> requests_;
  QSet<QTcpSocket*> answering_;
  int delayMs_ = 0;
  TileBehaviour behaviour_ = TileBehaviour::kTiles;
  int mostOpen_ = 0;
  quint16 port_ = 0;
};

}  // namespace velorin::window_test
