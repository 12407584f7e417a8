#pragma once

// What a streaming track reader gave: the view-file bytes of its list (every bit of every point,
// in order), its error, if any, and the pieces it parsed, so that a reading in pieces can be
// compared with a reading of the whole document.
#include <sstream>
#include <string>

#include "core/common/hakuvo_error.h"

namespace hakuvo {

struct Reading {
  std::string points;
  std::string error;
  int pieces = 0;
};

template <class TTrackFile, class TRead>
Reading Take(TTrackFile& file, TRead&& read) {
  Reading reading;
  try {
    read(file);
  } catch (const EHakuvoError& error) {
    reading.error = error.what();
  }
  std::ostringstream out;
  file.GpsList.SaveToStream(out);
  reading.points = out.str();
  reading.pieces = file.PiecesRead();
  return reading;
}

}  // namespace hakuvo
