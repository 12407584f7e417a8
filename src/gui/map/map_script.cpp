#include "gui/map/map_script.h"

#include <charconv>
#include <cmath>
#include <string>

#include "core/common/number_format.h"
#include "core/gps/gps_file.h"
#include "core/settings/map_service_info.h"

namespace hakuvo {

namespace {

void AppendNumber(std::string& out, Extended value) {
  if (!std::isfinite(static_cast<double>(value))) {
    out += '0';
    return;
  }
  out += FormatGeneral(value);
}

// A coordinate of a line's vertex: 15 significant digits as FormatGeneral writes them (the
// exponent, which a coordinate hardly ever needs, in the form "1e-07"), without its cost per
// call, which a track of a million points pays two million times.
void AppendCoordinate(std::string& out, Extended value) {
  const double number = static_cast<double>(value);
  if (!std::isfinite(number)) {
    out += '0';
    return;
  }
  char buffer[32];
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 15);
  out.append(buffer, result.ptr);
}

QString JsSource(const TMapTileSource& source) {
  return QStringLiteral("{url:%1,attribution:%2}")
      .arg(JsString(QString::fromStdString(source.Url)), JsString(QString::fromStdString(source.Attribution)));
}

}  // namespace

QString JsString(const QString& text) {
  QString out;
  out.reserve(text.size() + 2);
  out += QLatin1Char('"');
  for (const QChar c : text) {
    const char16_t u = c.unicode();
    switch (u) {
      case u'"':
        out += QLatin1String("\\\"");
        break;
      case u'\\':
        out += QLatin1String("\\\\");
        break;
      case u'\n':
        out += QLatin1String("\\n");
        break;
      case u'\r':
        out += QLatin1String("\\r");
        break;
      case u'\t':
        out += QLatin1String("\\t");
        break;
      default:
        // Controls, the characters of markup and the two line separators that end a statement
        // in older engines go as \uXXXX.
        if (u < 0x20 || u == u'<' || u == u'>' || u == u'&' || u == u'\'' || u == 0x2028 || u == 0x2029) {
          out += QStringLiteral("\\u%1").arg(static_cast<int>(u), 4, 16, QLatin1Char('0'));
        } else {
          out += c;
        }
    }
  }
  out += QLatin1Char('"');
  return out;
}

QString JsNumber(Extended value) {
  std::string out;
  AppendNumber(out, value);
  return QString::fromStdString(out);
}

QString JsCall(const QString& function, const QStringList& arguments) {
  return function + QLatin1Char('(') + arguments.join(QLatin1Char(',')) + QLatin1Char(')');
}

QString JsVertexArray(const TGpsFile& track, std::span<const int> vertices) {
  std::string out;
  out.reserve(vertices.size() * 36 + 2);
  out += '[';
  bool first = true;
  for (const int index : vertices) {
    const TGpsData* point = track.GpsList.Get(index);
    if (!first) out += ',';
    first = false;
    AppendCoordinate(out, point->Latitude());
    out += ',';
    AppendCoordinate(out, point->Longitude());
  }
  out += ']';
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString JsIntArray(std::span<const int> values) {
  std::string out;
  out.reserve(values.size() * 3 + 2);
  out += '[';
  char buffer[16];
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, values[i]).ptr);
  }
  out += ']';
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString JsTileSources(const TMapServiceInfo& services) {
  return QStringLiteral("{ROADMAP:%1,SATELLITE:%2,HYBRID:%3,TERRAIN:%4}")
      .arg(JsSource(services.TileSource("ROADMAP")), JsSource(services.TileSource("SATELLITE")),
           JsSource(services.TileSource("HYBRID")), JsSource(services.TileSource("TERRAIN")));
}

}  // namespace hakuvo
