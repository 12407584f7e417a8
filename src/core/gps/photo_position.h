#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/gps/gps_data.h"

namespace hakuvo {

class TActData;
class TImageFileLink;

// Where a photograph of an outing lands on the map, and why there. A photograph that carries its
// own GPS position is shown there. One without is placed on the outing's track at the moment it
// was taken: its Exif shooting time plus the outing's camera clock offset, interpolated between
// the two fixes around that moment. Only inside the track's time span: before the first fix or
// after the last one the walker's whereabouts are unknown, and the photograph is not placed.
enum TPhotoPositionSource : std::uint8_t { psNone, psExif, psTrack };

enum TPhotoMissReason : std::uint8_t {
  pmNone,
  pmNoShotTime,         // neither a GPS position nor a shooting time in the photograph
  pmNoTrack,            // the outing has no readable track
  pmTrackWithoutTimes,  // the track's fixes carry no times
  pmBeforeTrack,
  pmAfterTrack,
  pmUnreadable,  // the photograph could not be read
};

struct TPhotoPosition {
  TPhotoPositionSource Source = psNone;
  TPhotoMissReason Reason = pmNone;
  double Latitude = 0;
  double Longitude = 0;
  // The moment looked up on the track (shooting time plus offset); 0 unless placed from the track
  // or missed it by its time.
  TDateTime TrackTime = 0;
};

// The position on the track at a local time, interpolated between the fixes around it. Fixes
// without a time are passed over.
TPhotoPosition PositionOnTrack(const TGpsDataList& track, TDateTime time);

// One photograph: its Exif position (both 0 when it has none) wins over its shooting time.
TPhotoPosition PlacePhoto(TDateTime shotTime, double exifLatitude, double exifLongitude,
                          const std::vector<const TGpsDataList*>& tracks, double offsetSeconds);

struct TActPhoto {
  const TImageFileLink* Link = nullptr;
  TDateTime ShotTime = 0;
  TPhotoPosition Position;
  std::string Error;  // why the photograph could not be read (pmUnreadable)
};

// Every JPEG photograph of an outing with where it lands, its tracks read as the map shows them
// (view file or track file, within the link's range). Reads files; raises nothing for a file
// that cannot be read.
std::vector<TActPhoto> PlaceActPhotos(const TActData& act);

// A short English reason, for the command line's table.
const char* PhotoMissReasonKey(TPhotoMissReason reason);

}  // namespace hakuvo
