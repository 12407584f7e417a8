#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "core/gps/gps_file.h"

namespace hakuvo {

// The check value of the FIT protocol (CRC-16, polynomial 0x8005 taken bit-reversed, starting at
// 0), continued from `crc` over `count` bytes. A file's bytes followed by their own check value
// give 0.
std::uint16_t FitCrc(std::uint16_t crc, const std::uint8_t* bytes, std::size_t count);

// Seconds since 1989-12-31 00:00:00 UTC, the FIT clock, as a UTC serial.
TDateTime FitTimeToUtc(std::uint32_t seconds);

// A FIT file as sports watches and bike computers write it: the "record" messages with a valid
// position, in file order, across every file chained in it. The whole file is checked (header,
// check values, every message within the data) before any point is taken, so a damaged or cut
// file gives an error that names the byte where it went wrong, never a shortened track.
class TFitFile : public TGpsFile {
 public:
  // Reads a file held in memory as if it were the file (FileName names it in messages).
  void ReadFromMemory(std::string_view data);

 protected:
  void ReadTrack() override;

 private:
  class TParser;
  [[noreturn]] void FailEmpty() const;
  // Runs a parse; on any error the list is emptied before the error goes on.
  void Read(const std::function<void()>& parse);
};

}  // namespace hakuvo
