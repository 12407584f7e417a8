#pragma once

#include <QString>
#include <QStringList>
#include <span>
#include <string>

#include "core/common/extended.h"

namespace hakuvo {

class TGpsFile;
class TMapServiceInfo;

// The map window talks to its page in script statements. Every value goes into a statement as a
// literal that cannot end early: a string is a JSON string with every character that could close
// it, the statement or an enclosing script element escaped, so that an address such as
// `"); evil("` or `</script>` stays text.
QString JsString(const QString& text);
// A number in the shortest general form ("." as the decimal point); a value that is no finite
// number becomes 0, which the page treats as "nowhere".
QString JsNumber(Extended value);
// `function(arg, ...)` from arguments already written as literals.
QString JsCall(const QString& function, const QStringList& arguments = {});
// The vertices of a track's map line (indices into its points) as one flat array literal
// [lat0, lon0, lat1, lon1, ...], each to the nanodegree with its trailing zeros dropped.
QString JsVertexArray(const TGpsFile& track, std::span<const int> vertices);
// Whole numbers as one array literal [a, b, ...].
QString JsIntArray(std::span<const int> values);
// The same two, appended to text being written (one buffer instead of one per piece: a long
// line's text is megabytes, and every fresh buffer of that size costs its pages' first touch).
void AppendVertexArray(std::string& out, const TGpsFile& track, std::span<const int> vertices);
void AppendIntArray(std::string& out, std::span<const int> values);
// The tile sources of the four map types as an object literal for setTileSources.
QString JsTileSources(const TMapServiceInfo& services);

}  // namespace hakuvo
