#include "gui/map/map_settings.h"

#include <QFileInfo>
#include <QSettings>

namespace velorin {
namespace {

// QSettings reads an unquoted value with commas as a list: joined again, an
// attribution such as "© A, B" stays whole.
std::string Entry(const QSettings& settings, const char* key) {
  const QVariant value = settings.value(QLatin1String(key));
  const QString text = value.typeId() == QMetaType::QStringList
                           ? value.toStringList().join(QStringLiteral(", "))
                           : value.toString();
  return text.trimmed().toStdString();
}

}  // namespace

TileServer TileServerFromSettings(const std::string& path) {
  std::string url;
  std::string attribution;
  std::string contact;
  const QString file = QString::fromStdString(path);
  if (!file.isEmpty() && QFileInfo(file).isFile()) {
    const QSettings settings(file, QSettings::IniFormat);
    url = Entry(settings, "tiles/url");
    attribution = Entry(settings, "tiles/attribution");
    contact = Entry(settings, "tiles/contact");
  }
  const QByteArray variable = qgetenv(kTileUrlVariable);
  TileServer server =
      ChooseTileServer(url, attribution, variable.isNull() ? nullptr : variable.constData());
  if (server.Enabled()) server.contact = contact;
  return server;
}

}  // namespace velorin
