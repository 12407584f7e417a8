#include "core/gps/speed_graph_lines.h"

#include <algorithm>
#include <limits>
#include <vector>

#include "core/common/date_time.h"
#include "core/gps/speed_graph_data.h"

namespace hakuvo {

namespace {

TThinnedLine ThinLine(const TSpeedGraphData& data, const std::vector<TSpeedGraphValue>& values, double keyMin,
                      double keyMax, int columns) {
  TColumnThinner thinner(keyMin, keyMax, columns, values.size());
  double previous = 0;
  for (std::size_t i = 0; i < values.size(); ++i) {
    const double key = SpeedGraphKey(data, values[i].X);
    if (values[i].GapBefore && i > 0) thinner.Add((previous + key) / 2, std::numeric_limits<double>::quiet_NaN(), -1);
    thinner.Add(key, values[i].Y, static_cast<int>(i));
    previous = key;
  }
  return thinner.Finish();
}

}  // namespace

double SpeedGraphKey(const TSpeedGraphData& data, double x) {
  return data.BottomAxisKind() == baTime ? DateTimeToUnix(x) : x;
}

TSpeedGraphLines ThinSpeedGraph(const TSpeedGraphData& data, int columns) {
  TSpeedGraphLines lines;
  bool any = false;
  // The values run in ascending x, so the ends of each series bound it.
  for (const auto* values : {&data.SpeedValues(), &data.AltitudeValues()}) {
    if (values->empty()) continue;
    const double low = SpeedGraphKey(data, values->front().X);
    const double high = SpeedGraphKey(data, values->back().X);
    lines.KeyMin = any ? std::min(lines.KeyMin, low) : low;
    lines.KeyMax = any ? std::max(lines.KeyMax, high) : high;
    any = true;
  }
  if (!any) return lines;
  lines.Speed = ThinLine(data, data.SpeedValues(), lines.KeyMin, lines.KeyMax, columns);
  lines.Altitude = ThinLine(data, data.AltitudeValues(), lines.KeyMin, lines.KeyMax, columns);
  return lines;
}

}  // namespace hakuvo
