#pragma once

#include <cstddef>
#include <string_view>

#include "core/gps/gps_file.h"

namespace hakuvo {

// An NMEA 0183 log. Points come from the RMC sentences (time, position) with the altitude of the
// GGA sentence before them; a log with GGA sentences only gives untimed points from those.
class TNmeaFile : public TGpsFile {
 public:
  // Reads a log held in memory as if it were the file (FileName names it in messages).
  void ReadFromMemory(std::string_view data);

 protected:
  void ReadTrack() override;

 private:
  struct TReading;
  // A point takes an RMC sentence of some 64 bytes at the least.
  static constexpr std::size_t kMinBytesPerPoint = 64;

  // Reads whole lines of the log (the last one may lack its line end only at the end of the log).
  void ReadLines(std::string_view text, TReading& reading);
  void FinishReading(TReading& reading);
};

}  // namespace hakuvo
