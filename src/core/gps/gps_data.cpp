#include "core/gps/gps_data.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <functional>
#include <istream>
#include <limits>
#include <optional>
#include <ostream>
#include <stdexcept>

#include "core/common/file_read.h"
#include "core/common/hakuvo_error.h"

namespace hakuvo {

namespace {

// The view file keeps the x87 80-bit layout byte for byte, which is what long double holds in
// memory on the machines we build for.
static_assert(std::endian::native == std::endian::little);
static_assert(std::numeric_limits<long double>::digits == 64 && std::numeric_limits<long double>::max_exponent == 16384,
              "long double must be the x87 80-bit format");

constexpr std::size_t kExtendedBytes = 10;
constexpr std::size_t kCountBytes = 4;
constexpr int kChunkPoints = 4096;

std::string Where(const std::string& sourceName) { return sourceName.empty() ? std::string() : sourceName + "\r\n"; }

// `detail` is written "Japanese / English".
[[noreturn]] void ThrowBroken(const std::string& sourceName, const std::string& detail) {
  const TJapaneseEnglish words = SplitJapaneseEnglish(detail);
  throw EHakuvoError(Where(sourceName) + "GPS縮小ファイルが壊れています（" + words.Japanese + "）",
                     Where(sourceName) + "the reduced track file is damaged (" + words.English + ")");
}

void PutExtended(char* out, Extended value) { std::memcpy(out, &value, kExtendedBytes); }

// Only finite, normalised encodings are values our own writer can have produced; infinities,
// NaNs and unnormals (exponent set, integer bit clear) are refused.
bool GetExtended(const char* in, Extended& value) {
  const auto byte = [in](int i) { return static_cast<unsigned>(static_cast<unsigned char>(in[i])); };
  const unsigned exponent = byte(8) | ((byte(9) & 0x7Fu) << 8);
  const bool integerBit = (byte(7) & 0x80u) != 0;
  if (exponent == 0x7FFFu || (exponent != 0 && !integerBit)) return false;
  Extended result;
  std::memset(&result, 0, sizeof result);
  std::memcpy(&result, in, kExtendedBytes);
  value = result;
  return true;
}

void PutDouble(char* out, double value) { std::memcpy(out, &value, sizeof value); }

bool GetDouble(const char* in, double& value) {
  std::memcpy(&value, in, sizeof value);
  return std::isfinite(value);
}

std::optional<std::uint64_t> RemainingBytes(std::istream& stream) {
  const auto here = stream.tellg();
  if (here == std::istream::pos_type(-1)) {
    stream.clear();
    return std::nullopt;
  }
  stream.seekg(0, std::ios::end);
  const auto end = stream.tellg();
  stream.seekg(here);
  if (!stream || end == std::istream::pos_type(-1) || end < here) {
    stream.clear();
    stream.seekg(here);
    return std::nullopt;
  }
  return static_cast<std::uint64_t>(end - here);
}

}  // namespace

int TGpsDataList::IndexOf(const TGpsData* item) const {
  // std::less orders any two pointers, also those into different arrays.
  const std::less<const TGpsData*> before;
  const TGpsData* const first = FItems.data();
  if (item == nullptr || before(item, first) || !before(item, first + FItems.size())) return -1;
  return static_cast<int>(item - first);
}

void TGpsDataList::Insert(int index, const TGpsData& item) {
  if (index < 0 || index > Count()) throw std::out_of_range("TGpsDataList::Insert");
  FItems.insert(FItems.begin() + index, item);
}

int TGpsDataList::Remove(const TGpsData* item) {
  const int index = IndexOf(item);
  if (index >= 0) Delete(index);
  return index;
}

void TGpsDataList::Delete(int index) {
  if (index < 0 || index >= Count()) throw std::out_of_range("TGpsDataList::Delete");
  FItems.erase(FItems.begin() + index);
}

void TGpsDataList::CalcLimit() {
  if (FItems.empty()) {
    FMaxLatitude = 0;
    FMaxLongitude = 0;
    FMinLatitude = 10000;
    FMinLongitude = 10000;
    return;
  }
  // From the first point, not from 0: a track west of Greenwich or south of the equator would
  // otherwise get a box that reaches out to 0.
  FMaxLatitude = FMinLatitude = FItems.front().Latitude();
  FMaxLongitude = FMinLongitude = FItems.front().Longitude();
  for (const TGpsData& point : FItems) {
    if (point.Latitude() > FMaxLatitude) FMaxLatitude = point.Latitude();
    if (point.Latitude() < FMinLatitude) FMinLatitude = point.Latitude();
    if (point.Longitude() > FMaxLongitude) FMaxLongitude = point.Longitude();
    if (point.Longitude() < FMinLongitude) FMinLongitude = point.Longitude();
  }
}

void TGpsDataList::SetTerm(TDateTime startTime, TDateTime endTime) {
  if (startTime == 0 && endTime == 0) {
    startTime = -1;
    endTime = std::numeric_limits<double>::max();
  }
  const double first = TermMilliseconds(startTime), last = TermMilliseconds(endTime);
  std::erase_if(FItems, [=](const TGpsData& point) {
    const double time = TermMilliseconds(point.RecordTime());
    return time < first || time > last;
  });
}

void TGpsDataList::SaveToStream(std::ostream& stream) const {
  if (FItems.size() > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max())) {
    throw EHakuvoError("GPS縮小ファイルに書ける点の数を超えています", "too many points for a reduced track file");
  }
  const auto count = static_cast<std::uint32_t>(FItems.size());
  char header[kCountBytes];
  for (std::size_t i = 0; i < kCountBytes; ++i) header[i] = static_cast<char>((count >> (8 * i)) & 0xFFu);
  stream.write(header, kCountBytes);

  std::vector<char> chunk;
  chunk.reserve(ViewFilePointSize * kChunkPoints);
  for (std::size_t i = 0; i < FItems.size(); ++i) {
    const TGpsData& point = FItems[i];
    char record[ViewFilePointSize];
    PutDouble(record, point.RecordTime());
    PutExtended(record + 8, point.Latitude());
    PutExtended(record + 18, point.Longitude());
    PutExtended(record + 28, point.Altitude());
    chunk.insert(chunk.end(), record, record + ViewFilePointSize);
    if (chunk.size() >= ViewFilePointSize * kChunkPoints) {
      stream.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
      chunk.clear();
    }
  }
  stream.write(chunk.data(), static_cast<std::streamsize>(chunk.size()));
}

void TGpsDataList::SaveToFile(const std::string& fileName) const {
  std::ofstream file(fileName, std::ios::binary | std::ios::trunc);
  if (!file) throw EHakuvoError(fileName + "\r\nファイルを作成できません", fileName + "\r\ncannot create the file");
  SaveToStream(file);
  file.flush();
  if (!file) throw EHakuvoError(fileName + "\r\nファイルに書き込めません", fileName + "\r\ncannot write the file");
}

void TGpsDataList::LoadFromStream(std::istream& stream) { LoadFromStream(stream, std::string(), false); }

void TGpsDataList::LoadFromFile(const std::string& fileName) {
  TInputFileStream file(fileName);
  if (!file) throw EHakuvoError(fileName + "\r\nファイルを開けません", fileName + "\r\ncannot open the file");
  LoadFromStream(file, fileName, true);
}

void TGpsDataList::LoadFromStream(std::istream& stream, const std::string& sourceName, bool wholeStream) {
  FItems.clear();
  const std::optional<std::uint64_t> available = RemainingBytes(stream);

  char header[kCountBytes];
  if (!stream.read(header, kCountBytes)) ThrowBroken(sourceName, "点の数がありません / no point count");
  std::uint32_t raw = 0;
  for (std::size_t i = 0; i < kCountBytes; ++i)
    raw |= static_cast<std::uint32_t>(static_cast<unsigned char>(header[i])) << (8 * i);
  const auto count = static_cast<std::int32_t>(raw);
  if (count < 0)
    ThrowBroken(sourceName,
                "点の数 " + std::to_string(count) + " が負です / negative point count " + std::to_string(count));

  // The count is checked against the bytes really there before anything is allocated for it.
  const std::uint64_t needed = static_cast<std::uint64_t>(count) * ViewFilePointSize;
  if (available) {
    const std::uint64_t body = *available - kCountBytes;
    if (body < needed || (wholeStream && body != needed)) {
      ThrowBroken(sourceName, "点の数 " + std::to_string(count) + " とファイルの長さが合いません / point count " +
                                  std::to_string(count) + " does not match the file's length");
    }
  }

  TGpsPoints points;
  points.reserve(available ? static_cast<std::size_t>(count) : std::min<std::size_t>(count, kChunkPoints));
  std::vector<char> chunk(ViewFilePointSize * kChunkPoints);
  for (std::int32_t done = 0; done < count;) {
    const int inChunk = std::min<std::int32_t>(kChunkPoints, count - done);
    if (!stream.read(chunk.data(), static_cast<std::streamsize>(inChunk * ViewFilePointSize))) {
      ThrowBroken(sourceName, "点の数 " + std::to_string(count) +
                                  " に対してファイルが短すぎます / the file is too short for " + std::to_string(count) +
                                  " points");
    }
    for (int i = 0; i < inChunk; ++i, ++done) {
      const char* record = chunk.data() + static_cast<std::size_t>(i) * ViewFilePointSize;
      double time = 0;
      Extended latitude = 0, longitude = 0, altitude = 0;
      if (!GetDouble(record, time) || !GetExtended(record + 8, latitude) || !GetExtended(record + 18, longitude) ||
          !GetExtended(record + 28, altitude)) {
        ThrowBroken(sourceName, "点 " + std::to_string(done + 1) + " の値が数ではありません / point " +
                                    std::to_string(done + 1) + " holds a value that is not a number");
      }
      points.emplace_back(time, latitude, longitude, altitude);
    }
  }
  if (wholeStream && !available && stream.peek() != std::istream::traits_type::eof()) {
    ThrowBroken(sourceName, "点の数 " + std::to_string(count) + " とファイルの長さが合いません / point count " +
                                std::to_string(count) + " does not match the file's length");
  }
  FItems = std::move(points);
}

}  // namespace hakuvo
