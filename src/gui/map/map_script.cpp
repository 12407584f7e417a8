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

// A coordinate of a line's vertex to the nanodegree (a tenth of a millimetre on the ground, far
// below what a fix knows), trailing zeros dropped: "35.60009", "-0.5", "139". Written by hand
// from a whole number of nanodegrees, it costs a fraction of a general formatter's time, which a
// line pays twice a vertex before the page sees it; and the text is shorter for the page to parse.
void AppendCoordinate(std::string& out, Extended value) {
  const double number = static_cast<double>(value);
  if (!std::isfinite(number)) {
    out += '0';
    return;
  }
  char buffer[40];
  if (std::fabs(number) >= 1e9) {
    // No coordinate: written whole, so that it cannot overflow the nanodegrees.
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, number, std::chars_format::general, 15).ptr);
    return;
  }
  constexpr long long kNanos = 1'000'000'000;
  long long scaled = std::llround(number * 1e9);
  if (scaled < 0) {
    out += '-';
    scaled = -scaled;
  }
  char* end = std::to_chars(buffer, buffer + sizeof buffer, scaled / kNanos).ptr;
  long long fraction = scaled % kNanos;
  if (fraction != 0) {
    *end++ = '.';
    int digits = 9;
    while (fraction % 10 == 0) {
      fraction /= 10;
      --digits;
    }
    for (int i = digits - 1; i >= 0; --i) {
      end[i] = static_cast<char>('0' + fraction % 10);
      fraction /= 10;
    }
    end += digits;
  }
  out.append(buffer, end);
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

void AppendVertexArray(std::string& out, const TGpsFile& track, std::span<const int> vertices) {
  out.reserve(out.size() + vertices.size() * 28 + 2);
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
}

void AppendIntArray(std::string& out, std::span<const int> values) {
  out.reserve(out.size() + values.size() * 3 + 2);
  out += '[';
  char buffer[16];
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (i > 0) out += ',';
    out.append(buffer, std::to_chars(buffer, buffer + sizeof buffer, values[i]).ptr);
  }
  out += ']';
}

QString JsVertexArray(const TGpsFile& track, std::span<const int> vertices) {
  std::string out;
  AppendVertexArray(out, track, vertices);
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString JsIntArray(std::span<const int> values) {
  std::string out;
  AppendIntArray(out, values);
  return QString::fromLatin1(out.data(), static_cast<qsizetype>(out.size()));
}

QString JsTileSources(const TMapServiceInfo& services) {
  return QStringLiteral("{ROADMAP:%1,SATELLITE:%2,HYBRID:%3,TERRAIN:%4}")
      .arg(JsSource(services.TileSource("ROADMAP")), JsSource(services.TileSource("SATELLITE")),
           JsSource(services.TileSource("HYBRID")), JsSource(services.TileSource("TERRAIN")));
}

}  // namespace hakuvo
