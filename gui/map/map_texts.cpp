#include "gui/map/map_texts.h"

#include "gui/message_text.h"

namespace velorin {

QString MapTexts::Message(int number) const {
  return MessageText(tables_, static_cast<std::size_t>(number));
}

QString MapTexts::PointText(const MapData& data, std::uint32_t index) const {
  if (index >= data.read.points.size()) return QString();
  const MapPointTexts texts = data.read.points.Texts(index);
  const MapPoint& point = data.read.points.points()[index];
  QStringList lines;
  lines << QString::fromUtf8(data.read.points.Title(index));
  lines << QStringLiteral("%1 %2 (%3)")
               .arg(Message(kLongitudeMessage), QString::fromStdString(texts.longitudeDms),
                    QString::fromStdString(texts.longitudeDecimal));
  lines << QStringLiteral("%1 %2 (%3)")
               .arg(Message(kLatitudeMessage), QString::fromStdString(texts.latitudeDms),
                    QString::fromStdString(texts.latitudeDecimal));
  if (!texts.nviCode.empty())
    lines << Message(kPositionCodeMessage) + QLatin1Char(' ') +
                 QString::fromStdString(texts.nviCode);
  if (point.line > 0)
    lines << Message(kLineMessage) + QLatin1Char(' ') + QString::number(point.line);
  return lines.join(QLatin1Char('\n'));
}

QString MapTexts::SkipText(const MapSkip& skip) const {
  int reason = kUnreadableMessage;
  if (skip.kind == SkipKind::kUntitled) reason = kNoTitleMessage;
  if (skip.kind == SkipKind::kOutOfRange) reason = kOutOfRangeMessage;
  return QStringLiteral("%1 %2: %3").arg(Message(kLineMessage)).arg(skip.line).arg(Message(reason));
}

}  // namespace velorin
