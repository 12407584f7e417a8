#pragma once

// The streaming track readers on arbitrary bytes, with and without a reading window. Each input
// is read whole and in small pieces: a large file is read a piece at a time, and what it gives
// must be what the whole document gives (the same points to the bit, an error or none), wherever
// the pieces are cut. The pieces are small so that inputs of any size go that way.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>

#include "core/common/hakuvo_error.h"

namespace hakuvo::fuzz {

struct PiecedAnswer {
  std::string points;  // the view-file bytes of the list
  bool failed = false;
};

template <class TTrackFile>
PiecedAnswer ReadPieced(std::string_view text, bool windowed, std::size_t pieceBytes) {
  TTrackFile track;
  if (windowed) {
    track.SetStartPos(40000);
    track.SetEndPos(50000);
  }
  track.SetPieceBytes(pieceBytes);
  PiecedAnswer answer;
  try {
    track.ReadFromMemory(text);
  } catch (const EHakuvoError&) {
    // Not a well-formed document.
    answer.failed = true;
  }
  (void)track.TotalDistance();
  std::ostringstream out;
  track.GpsList.SaveToStream(out);
  answer.points = out.str();
  return answer;
}

template <class TTrackFile>
int CompareWholeAndPieced(const uint8_t* data, size_t size) {
  const std::string_view text(reinterpret_cast<const char*>(data), size);
  for (const bool windowed : {false, true}) {
    const PiecedAnswer whole = ReadPieced<TTrackFile>(text, windowed, 0);
    for (const std::size_t pieceBytes : {TTrackFile::MinPieceBytes, size / 5}) {
      const PiecedAnswer pieces = ReadPieced<TTrackFile>(text, windowed, pieceBytes);
      if (pieces.failed != whole.failed || pieces.points != whole.points) __builtin_trap();
    }
  }
  return 0;
}

}  // namespace hakuvo::fuzz
