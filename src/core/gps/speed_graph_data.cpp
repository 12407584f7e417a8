#include "core/gps/speed_graph_data.h"

#include <algorithm>
#include <cmath>
#include <future>
#include <optional>
#include <tuple>

#include "core/common/date_time.h"
#include "core/common/number_format.h"
#include "core/gps/gps_file.h"
#include "core/model/pace.h"

namespace hakuvo {

namespace {

// While the series is built, a value's GapBefore means "left out" (a speed above the limit): such
// values stay until the series is in x order, so that the line breaks where they were. Then
// they go, in place, and GapBefore takes its own meaning; no second array of a long track's size.
void KeepDrawnValues(std::vector<TSpeedGraphValue>& values) {
  const auto byX = [](const TSpeedGraphValue& a, const TSpeedGraphValue& b) { return a.X < b.X; };
  // A track's times and distances almost always grow already; only times running back need it.
  if (!std::is_sorted(values.begin(), values.end(), byX)) std::stable_sort(values.begin(), values.end(), byX);
  std::size_t kept = 0;
  bool leftOut = false;
  for (std::size_t i = 0; i < values.size(); ++i) {
    if (values[i].GapBefore) {
      leftOut = true;
      continue;
    }
    TSpeedGraphValue value = values[i];
    value.GapBefore = leftOut && kept > 0;
    values[kept++] = value;
    leftOut = false;
  }
  values.resize(kept);
}

}  // namespace

void CentredMovingAverage(std::vector<TSpeedGraphValue>& values, int points) {
  if (points <= 1 || values.size() < 2) return;
  // Each run between two gaps is averaged on its own: a gap stands for values left out, and
  // averaging across it would draw the line through them after all.
  const auto before = static_cast<std::ptrdiff_t>((points - 1) / 2);
  const auto after = static_cast<std::ptrdiff_t>(points / 2);
  std::vector<double> sums;
  std::size_t runStart = 0;
  while (runStart < values.size()) {
    std::size_t runEnd = runStart + 1;
    while (runEnd < values.size() && !values[runEnd].GapBefore) ++runEnd;
    const auto count = static_cast<std::ptrdiff_t>(runEnd - runStart);
    sums.assign(static_cast<std::size_t>(count) + 1, 0);
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      sums[static_cast<std::size_t>(i + 1)] =
          sums[static_cast<std::size_t>(i)] + values[runStart + static_cast<std::size_t>(i)].Y;
    }
    for (std::ptrdiff_t i = 0; i < count; ++i) {
      // Near the ends of a run the window shrinks to the values there are.
      const std::ptrdiff_t low = std::max<std::ptrdiff_t>(0, i - before);
      const std::ptrdiff_t high = std::min(count, i + after + 1);
      values[runStart + static_cast<std::size_t>(i)].Y =
          (sums[static_cast<std::size_t>(high)] - sums[static_cast<std::size_t>(low)]) /
          static_cast<double>(high - low);
    }
    runStart = runEnd;
  }
}

namespace {

std::shared_ptr<const TGpsFile> CopyOf(const TGpsFile& track) {
  auto copy = std::make_shared<TGpsFile>();
  copy->GpsList = track.GpsList;
  return copy;
}

}  // namespace

TSpeedGraphData::TSpeedGraphData(const TGpsFile& track, const TSpeedGraphInfo& info,
                                 const TTrackSummaryOptions& summary)
    : TSpeedGraphData(CopyOf(track), info, summary) {}

TSpeedGraphData::TSpeedGraphData(std::shared_ptr<const TGpsFile> track, const TSpeedGraphInfo& info,
                                 const TTrackSummaryOptions& summary)
    : FTrack(std::move(track)),
      FBottomAxisKind(info.BottomAxisKind()),
      FIsPace(info.IsPaceAxis()),
      FSpeedShown(info.IsSpeedSeries()),
      FAltitudeShown(info.IsAltitudeSeries()),
      FLimit(info.LimitSpeed()),
      FSpeedMovingAverage(info.SpeedMovingAverage()),
      FAltitudeMovingAverage(info.AltitudeMovingAverage()) {
  if (FTrack == nullptr) return;
  const double totalHours = (FTrack->EndDateTime() - FTrack->FirstDateTime()) * 24;
  const bool titled = info.IsAverageSpeed() && totalHours != 0;
  // The distance axis ends at the total, which the thinning needs before it starts: the segments
  // measured for it are kept, so that the walk does not measure them again.
  if (titled || FBottomAxisKind == baDistance) {
    const std::span<const TGpsData> points = FTrack->GpsList.Points();
    if (points.size() > 1) {
      std::vector<Extended> block(256);
      FSegmentMetres.resize(points.size() - 1);
      Extended metres = 0;
      for (std::size_t first = 1; first < points.size(); first += block.size()) {
        const std::size_t count = std::min(block.size(), points.size() - first);
        TGpsFile::SegmentMetres(points, first, std::span<Extended>(block.data(), count));
        for (std::size_t i = 0; i < count; ++i) {
          metres += block[i];
          FSegmentMetres[first - 1 + i] = static_cast<double>(block[i]);
        }
      }
      FTotalDistance = metres / 1000;
    }
  }
  if (!titled) return;
  const std::string title = "平均速度： " + FormatFixed(FTotalDistance / totalHours, 1) + " km/h";
  // The climb, the moving time and the fastest speed walk the whole track once more: on a second
  // thread, while the caller thins the series.
  // The segments measured above are measured once: the data, and so they, outlive the thread.
  FTitles = std::async(
      std::launch::async, [track = FTrack, summary, title, segments = std::span<const double>(FSegmentMetres)] {
        return std::make_pair(title, TrackSummaryLine(SummarizeTrack(track->GpsList, summary, segments)));
      });
}

TSpeedGraphData::~TSpeedGraphData() = default;

void TSpeedGraphData::Settle() const {
  if (!FTitles.valid()) return;
  std::tie(FTitle, FSummary) = FTitles.get();
}

const std::string& TSpeedGraphData::Title() const {
  Settle();
  return FTitle;
}

const std::string& TSpeedGraphData::Summary() const {
  Settle();
  return FSummary;
}

int TSpeedGraphData::PointCount() const { return FTrack == nullptr ? 0 : FTrack->GpsList.Count(); }

bool TSpeedGraphData::IsEmpty() const {
  if (PointCount() == 0 || (!FSpeedShown && !FAltitudeShown)) return true;
  TSpeedGraphSampler sampler(*this);
  TSpeedGraphSample sample;
  while (sampler.Next(sample)) {
    if (FAltitudeShown || sample.SpeedDrawn) return false;
  }
  return true;
}

namespace {

// One line's values of the whole track, walked from the samples: `pick` makes a sample's value.
template <typename TPick>
std::vector<TSpeedGraphValue> LineValues(const TSpeedGraphData& data, int movingAverage, TPick pick) {
  std::vector<TSpeedGraphValue> values;
  values.reserve(static_cast<std::size_t>(data.PointCount()));
  TSpeedGraphSampler sampler(data);
  TSpeedGraphSample sample;
  while (sampler.Next(sample)) values.push_back(pick(sample));
  KeepDrawnValues(values);
  CentredMovingAverage(values, movingAverage);
  return values;
}

}  // namespace

std::vector<TSpeedGraphValue> TSpeedGraphData::SpeedValues() const {
  if (!FSpeedShown) return {};
  return LineValues(*this, FSpeedMovingAverage, [](const TSpeedGraphSample& sample) {
    return TSpeedGraphValue{sample.X, sample.Speed, sample.Point, !sample.SpeedDrawn};
  });
}

std::vector<TSpeedGraphValue> TSpeedGraphData::AltitudeValues() const {
  if (!FAltitudeShown) return {};
  return LineValues(*this, FAltitudeMovingAverage, [](const TSpeedGraphSample& sample) {
    return TSpeedGraphValue{sample.X, sample.Altitude, sample.Point, false};
  });
}

TSpeedGraphSampler::TSpeedGraphSampler(const TSpeedGraphData& data) : FData(data) {
  if (data.FTrack != nullptr) FPoints = data.FTrack->GpsList.Points();
}

bool TSpeedGraphSampler::Next(TSpeedGraphSample& sample) {
  while (FIndex < FPoints.size()) {
    const std::size_t i = FIndex++;
    const TGpsData& point = FPoints[i];
    Extended d = 0;
    double t = 0;
    if (i > 0 && !FData.FSegmentMetres.empty()) {
      d = static_cast<Extended>(FData.FSegmentMetres[i - 1]) / 1000;
      t = (point.RecordTime() - FPoints[i - 1].RecordTime()) * 24;
    } else if (i > 0) {
      if (i >= FBlockStart + FBlockCount) {
        FBlockStart = i;
        FBlockCount = std::min(kBlock, FPoints.size() - i);
        TGpsFile::SegmentMetres(FPoints, i, std::span<Extended>(FMetres, FBlockCount));
      }
      d = FMetres[i - FBlockStart] / 1000;
      t = (point.RecordTime() - FPoints[i - 1].RecordTime()) * 24;
    }
    FDistance += d;
    FHours += t;
    double x = 0;
    switch (FData.FBottomAxisKind) {
      case baTime:
        x = point.RecordTime();
        break;
      case baTermHour:
        x = FHours;
        break;
      case baTermMin:
        x = FHours * 60;
        break;
      case baDistance:
        x = static_cast<double>(FDistance);
        break;
    }
    // A value with nowhere to go on the axis (a broken time) is drawn in neither line.
    if (!std::isfinite(x)) continue;
    const Extended speed = t != 0 ? d / t : 0;
    bool drawn = std::isfinite(static_cast<double>(speed)) && (FData.FLimit == 0 || speed <= FData.FLimit);
    double y = static_cast<double>(speed);
    if (FData.FIsPace) {
      // A standstill has no pace: the line breaks there instead of shooting off the axis.
      const std::optional<double> seconds = PaceSecondsFromSpeed(speed);
      drawn = drawn && seconds.has_value();
      y = seconds ? *seconds / 60 : 0;
    }
    sample = {x, y, drawn, static_cast<double>(point.Altitude()), static_cast<int>(i)};
    return true;
  }
  return false;
}

std::optional<TSpeedGraphPoint> TSpeedGraphData::PointAt(int index) const {
  if (index < 0 || index >= PointCount()) return std::nullopt;
  const TGpsData& point = *FTrack->GpsList.Get(index);
  return TSpeedGraphPoint{static_cast<double>(point.Latitude()), static_cast<double>(point.Longitude()),
                          static_cast<double>(point.Altitude())};
}

std::optional<TSpeedGraphPoint> TSpeedGraphData::SpeedPoint(int valueIndex) const {
  const std::vector<TSpeedGraphValue> values = SpeedValues();
  if (valueIndex < 0 || valueIndex >= static_cast<int>(values.size())) return std::nullopt;
  return PointAt(values[static_cast<std::size_t>(valueIndex)].Point);
}

std::optional<TSpeedGraphPoint> TSpeedGraphData::AltitudePoint(int valueIndex) const {
  const std::vector<TSpeedGraphValue> values = AltitudeValues();
  if (valueIndex < 0 || valueIndex >= static_cast<int>(values.size())) return std::nullopt;
  return PointAt(values[static_cast<std::size_t>(valueIndex)].Point);
}

std::string TSpeedGraphData::FormatX(double x) const {
  switch (FBottomAxisKind) {
    case baTime:
      return TimeOf(x) == 0 ? DateToStr(x) : DateTimeToStr(x);
    case baTermHour:
    case baTermMin:
      return FormatFixed(x, 2);
    case baDistance:
      break;
  }
  return FormatGeneral(x);
}

std::string TSpeedGraphData::CopyText(double xMin, double xMax) const {
  std::string text = FIsPace ? "日\tペース(分/km)\t高度(m)\r\n" : "日\t速度(km/h)\t高度(m)\r\n";
  // The values are in x order: the rows in range are one run of them.
  const std::vector<TSpeedGraphValue> values = SpeedValues();
  const auto first = std::lower_bound(values.begin(), values.end(), xMin,
                                      [](const TSpeedGraphValue& value, double x) { return value.X < x; });
  for (auto value = first; value != values.end() && value->X <= xMax; ++value) {
    text += FormatX(value->X);
    text += '\t';
    AppendGeneral(text, value->Y);
    text += '\t';
    AppendGeneral(text, static_cast<double>(FTrack->GpsList.Get(value->Point)->Altitude()));
    text += "\r\n";
  }
  return text;
}

}  // namespace hakuvo
