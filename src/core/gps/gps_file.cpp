#include "core/gps/gps_file.h"

#include <cmath>
#include <limits>

#include "core/gps/gpx_file.h"
#include "core/gps/kml_file.h"
#include "core/gps/nmea_file.h"
#include "core/links/file_kind.h"

namespace hakuvo {

namespace {

constexpr Extended kPi = 3.141592653589793238462643383279502884L;
// WGS84: the square of the first eccentricity, a·(1 − e²) and the equatorial radius a, in metres.
constexpr Extended kEccentricity2 = 0.00669437999019758L;
constexpr Extended kMeridianNumerator = 6335439.32729246L;
constexpr Extended kEquatorialRadius = 6378137.0L;

}  // namespace

void TGpsFile::SetFileName(const std::string& fileName) {
  FFileName = fileName;
  ReadTrack();
}

void TGpsFile::BeginReading() {
  ClearPoints();
  if (FStartPos == 0 && FEndPos == 0) {
    FStartPos = -1;
    FEndPos = std::numeric_limits<double>::max();
  }
  FUtcToLocal = TUtcToLocal();
}

TDateTime TGpsFile::FirstDateTime() const { return GpsList.Count() == 0 ? 0 : GpsList.Get(0)->RecordTime(); }

TDateTime TGpsFile::EndDateTime() const {
  return GpsList.Count() == 0 ? 0 : GpsList.Get(GpsList.Count() - 1)->RecordTime();
}

Extended TGpsFile::TotalDistance() const {
  if (GpsList.Count() < 2) return 0;
  Extended metres = 0;
  for (int i = 1; i < GpsList.Count(); ++i) {
    const TGpsData& a = *GpsList.Get(i - 1);
    const TGpsData& b = *GpsList.Get(i);
    metres += PointDistance(a.Latitude(), a.Longitude(), b.Latitude(), b.Longitude());
  }
  return metres / 1000;
}

Extended TGpsFile::Distance(int index) const {
  if (index == 0) return 0;
  const TGpsData& a = *GpsList.Get(index - 1);
  const TGpsData& b = *GpsList.Get(index);
  return PointDistance(a.Latitude(), a.Longitude(), b.Latitude(), b.Longitude()) / 1000;
}

double TGpsFile::Time(int index) const {
  if (index == 0) return 0;
  return (GpsList.Get(index)->RecordTime() - GpsList.Get(index - 1)->RecordTime()) * 24;
}

Extended TGpsFile::PointDistance(Extended latitude1, Extended longitude1, Extended latitude2, Extended longitude2) {
  const Extended phi1 = latitude1 * kPi / 180;
  const Extended lambda1 = longitude1 * kPi / 180;
  const Extended phi2 = latitude2 * kPi / 180;
  const Extended lambda2 = longitude2 * kPi / 180;
  const Extended dPhi = phi1 - phi2;
  const Extended dLambda = lambda1 - lambda2;
  const Extended mu = (phi1 + phi2) / 2;
  const Extended sinMu = std::sin(mu);
  const Extended w = std::sqrt(1 - kEccentricity2 * sinMu * sinMu);
  const Extended m = kMeridianNumerator / (w * w * w);
  const Extended n = kEquatorialRadius / w;
  const Extended y = dPhi * m;
  const Extended x = dLambda * n * std::cos(mu);
  return std::sqrt(y * y + x * x);
}

std::unique_ptr<TGpsFile> CreateGpsFile(const std::string& fileName) {
  if (IsNmeaFile(fileName)) return std::make_unique<TNmeaFile>();
  if (IsGpxFile(fileName)) return std::make_unique<TGpxFile>();
  if (IsKmlFile(fileName)) return std::make_unique<TKmlFile>();
  return nullptr;
}

}  // namespace hakuvo
