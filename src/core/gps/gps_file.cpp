#include "core/gps/gps_file.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <span>

#include "core/gps/fit_file.h"
#include "core/gps/gpx_file.h"
#include "core/gps/kml_file.h"
#include "core/gps/nmea_file.h"
#include "core/gps/tcx_file.h"
#include "core/links/file_kind.h"

namespace hakuvo {

namespace {

constexpr Extended kPi = 3.141592653589793238462643383279502884L;
// π/2 less the extended value nearest to it: with it, the distance of a latitude from the pole is
// known to far more bits than the latitude has.
constexpr Extended kHalfPi = kPi / 2;
constexpr Extended kHalfPiLow = -2.5082788063341660117786635e-20L;
// WGS84: the square of the first eccentricity, a·(1 − e²) and the equatorial radius a, in metres.
constexpr Extended kEccentricity2 = 0.00669437999019758L;
constexpr Extended kMeridianNumerator = 6335439.32729246L;
constexpr Extended kEquatorialRadius = 6378137.0L;

// A point's latitude φ and longitude λ in radians.
struct TRadians {
  Extended Phi;
  Extended Lambda;
};

TRadians RadiansOf(Extended latitude, Extended longitude) { return {latitude * kPi / 180, longitude * kPi / 180}; }

// The Hubeny formula with every step in extended precision. Latitudes beyond the poles (a broken
// file) come here.
Extended HubenyExtended(const TRadians& a, const TRadians& b) {
  const Extended dPhi = a.Phi - b.Phi;
  const Extended dLambda = a.Lambda - b.Lambda;
  const Extended mu = (a.Phi + b.Phi) / 2;
  const Extended sinMu = std::sin(mu);
  const Extended w = std::sqrt(1 - kEccentricity2 * sinMu * sinMu);
  const Extended m = kMeridianNumerator / (w * w * w);
  const Extended n = kEquatorialRadius / w;
  const Extended y = dPhi * m;
  const Extended x = dLambda * n * std::cos(mu);
  return std::sqrt(y * y + x * x);
}

// sin x for 0 <= x <= π/2: the Taylor series to x^25, whose first neglected term stays below
// 1e-20. Written out because the library's sine is a call that costs more than the rest of a
// pair's distance together and makes the x87 half of it wait.
inline double SineOfQuadrant(double x) {
  constexpr double c3 = -1.0 / 6, c5 = 1.0 / 120, c7 = -1.0 / 5040, c9 = 1.0 / 362880, c11 = -1.0 / 39916800,
                   c13 = 1.0 / 6227020800, c15 = -1.0 / 1307674368000, c17 = 1.0 / 355687428096000,
                   c19 = -1.0 / 121645100408832000, c21 = 1.0 / 51090942171709440000.0,
                   c23 = -1.0 / 25852016738884976640000.0, c25 = 1.0 / 15511210043330985984000000.0;
  const double x2 = x * x;
  const double series =
      c3 +
      x2 * (c5 +
            x2 * (c7 +
                  x2 * (c9 + x2 * (c11 +
                                   x2 * (c13 +
                                         x2 * (c15 + x2 * (c17 + x2 * (c19 + x2 * (c21 + x2 * (c23 + x2 * c25))))))))));
  return x + x * x2 * series;
}

// The same formula, as a track sums it a million times, in two halves. The differences of the
// angles are taken in extended precision (neighbouring fixes are metres apart: their difference
// is where the digits cancel); all the rest needs only the 16 digits of a double, where sinl and
// cosl would cost several times the whole. sin²μ is 1 − cos²μ, and cos μ is the sine of the
// angle π/2 − |μ| from the pole, which is taken exactly, so that cos μ keeps its relative
// precision where it goes to 0. The result stays within a few parts in 1e16 of the extended one.
struct TPairAngles {
  double DPhi = 0;
  double DLambda = 0;
  double FromPole = 0;  // π/2 − |μ|
};

// false for a pair whose mean latitude lies beyond a pole (a broken file): HubenyExtended
// measures it.
inline bool PairAngles(const TRadians& a, const TRadians& b, TPairAngles& angles) {
  const Extended fromEquator = std::fabs((a.Phi + b.Phi) / 2);
  if (!(fromEquator <= kHalfPi)) return false;  // also a NaN
  angles.DPhi = static_cast<double>(a.Phi - b.Phi);
  angles.DLambda = static_cast<double>(a.Lambda - b.Lambda);
  angles.FromPole = static_cast<double>((kHalfPi - fromEquator) + kHalfPiLow);
  return true;
}

inline double HubenyOfAngles(const TPairAngles& angles) {
  const double cosMu = SineOfQuadrant(angles.FromPole);
  constexpr double e2 = static_cast<double>(kEccentricity2);
  const double w2 = (1 - e2) + e2 * (cosMu * cosMu);  // W² = 1 − e²·sin²μ
  const double inverseW = 1 / std::sqrt(w2);
  const double m = static_cast<double>(kMeridianNumerator) * (inverseW * inverseW * inverseW);
  const double nCosMu = static_cast<double>(kEquatorialRadius) * inverseW * cosMu;
  const double y = angles.DPhi * m;
  const double x = angles.DLambda * nCosMu;
  return std::sqrt(y * y + x * x);
}

Extended Hubeny(const TRadians& a, const TRadians& b) {
  TPairAngles angles;
  return PairAngles(a, b, angles) ? HubenyOfAngles(angles) : HubenyExtended(a, b);
}

// Metres along the points. The pairs go in blocks through the two halves of the formula, each
// in a loop of its own: the x87 and SSE units then each run without waiting for the other.
Extended TrackMetres(std::span<const TGpsData> points) {
  constexpr std::size_t kBlock = 256;
  Extended metres[kBlock];
  Extended total = 0;
  for (std::size_t start = 1; start < points.size(); start += kBlock) {
    const std::size_t count = std::min(kBlock, points.size() - start);
    TGpsFile::SegmentMetres(points, start, std::span<Extended>(metres, count));
    for (std::size_t i = 0; i < count; ++i) total += metres[i];
  }
  return total;
}

}  // namespace

void TGpsFile::SegmentMetres(std::span<const TGpsData> points, std::size_t first, std::span<Extended> metres) {
  constexpr std::size_t kBlock = 256;
  TPairAngles angles[kBlock];
  double block[kBlock];
  bool beyondPole[kBlock];
  for (std::size_t done = 0; done < metres.size(); done += kBlock) {
    const std::size_t start = first + done;
    const std::size_t count = std::min(kBlock, metres.size() - done);
    TRadians previous = RadiansOf(points[start - 1].Latitude(), points[start - 1].Longitude());
    bool anyBeyondPole = false;
    for (std::size_t i = 0; i < count; ++i) {
      const TGpsData& point = points[start + i];
      const TRadians current = RadiansOf(point.Latitude(), point.Longitude());
      beyondPole[i] = !PairAngles(previous, current, angles[i]);
      if (beyondPole[i]) {
        angles[i] = TPairAngles();
        anyBeyondPole = true;
      }
      previous = current;
    }
    for (std::size_t i = 0; i < count; ++i) block[i] = HubenyOfAngles(angles[i]);
    for (std::size_t i = 0; i < count; ++i) metres[done + i] = block[i];
    if (!anyBeyondPole) continue;
    for (std::size_t i = 0; i < count; ++i) {
      if (!beyondPole[i]) continue;
      const TGpsData& a = points[start + i - 1];
      const TGpsData& b = points[start + i];
      metres[done + i] = HubenyExtended(RadiansOf(a.Latitude(), a.Longitude()), RadiansOf(b.Latitude(), b.Longitude()));
    }
  }
}

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
  FWindowFirst = TermMilliseconds(FStartPos);
  FWindowLast = TermMilliseconds(FEndPos);
  FUtcToLocal = TUtcToLocal();
}

TDateTime TGpsFile::FirstDateTime() const { return GpsList.Count() == 0 ? 0 : GpsList.Get(0)->RecordTime(); }

TDateTime TGpsFile::EndDateTime() const {
  return GpsList.Count() == 0 ? 0 : GpsList.Get(GpsList.Count() - 1)->RecordTime();
}

Extended TGpsFile::TotalDistance() const {
  const std::span<const TGpsData> points = GpsList.Points();
  return points.size() < 2 ? 0 : TrackMetres(points) / 1000;
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
  return Hubeny(RadiansOf(latitude1, longitude1), RadiansOf(latitude2, longitude2));
}

Extended TGpsFile::PointDistanceExtended(Extended latitude1, Extended longitude1, Extended latitude2,
                                         Extended longitude2) {
  return HubenyExtended(RadiansOf(latitude1, longitude1), RadiansOf(latitude2, longitude2));
}

std::unique_ptr<TGpsFile> CreateGpsFile(const std::string& fileName) {
  if (IsNmeaFile(fileName)) return std::make_unique<TNmeaFile>();
  if (IsGpxFile(fileName)) return std::make_unique<TGpxFile>();
  if (IsKmlFile(fileName)) return std::make_unique<TKmlFile>();
  if (IsFitFile(fileName)) return std::make_unique<TFitFile>();
  if (IsTcxFile(fileName)) return std::make_unique<TTcxFile>();
  return nullptr;
}

}  // namespace hakuvo
