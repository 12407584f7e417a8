#include "core/gps/photo_position.h"

#include <algorithm>
#include <exception>
#include <memory>

#include "core/gps/display_track.h"
#include "core/gps/gps_file.h"
#include "core/gps/jpeg_exif.h"
#include "core/links/file_kind.h"
#include "core/model/act_data.h"
#include "core/model/link_data.h"

namespace hakuvo {

TPhotoPosition PositionOnTrack(const TGpsDataList& track, TDateTime time) {
  TPhotoPosition result;
  result.TrackTime = time;
  std::vector<const TGpsData*> timed;
  timed.reserve(static_cast<std::size_t>(track.Count()));
  for (const TGpsData* point : track)
    if (point->RecordTime() > 0) timed.push_back(point);
  if (timed.empty()) {
    result.Reason = pmTrackWithoutTimes;
    result.TrackTime = 0;
    return result;
  }
  const auto earlier = [](const TGpsData* a, const TGpsData* b) { return a->RecordTime() < b->RecordTime(); };
  // A track put together from several files may run back in time; its span is then the earliest
  // to the latest fix, and the moment is looked for segment by segment.
  const bool ordered = std::is_sorted(timed.begin(), timed.end(), earlier);
  const auto [first, last] = std::minmax_element(timed.begin(), timed.end(), earlier);
  // Whole milliseconds, so that a photograph taken on the second of a fix is not a hair outside.
  const double at = TermMilliseconds(time);
  if (at < TermMilliseconds((*first)->RecordTime())) {
    result.Reason = pmBeforeTrack;
    return result;
  }
  if (at > TermMilliseconds((*last)->RecordTime())) {
    result.Reason = pmAfterTrack;
    return result;
  }
  const auto place = [&](const TGpsData& a, const TGpsData& b) {
    const double ta = TermMilliseconds(a.RecordTime()), tb = TermMilliseconds(b.RecordTime());
    const double f = tb > ta ? (at - ta) / (tb - ta) : 0.0;
    result.Source = psTrack;
    result.Latitude = static_cast<double>(a.Latitude() + (b.Latitude() - a.Latitude()) * f);
    result.Longitude = static_cast<double>(a.Longitude() + (b.Longitude() - a.Longitude()) * f);
    return result;
  };
  if (ordered) {
    // The first fix later than the moment; the one before it is at or before the moment.
    auto next = std::upper_bound(timed.begin(), timed.end(), at,
                                 [](double t, const TGpsData* p) { return t < TermMilliseconds(p->RecordTime()); });
    if (next == timed.end()) return place(*timed.back(), *timed.back());
    return place(**(next - 1), **next);
  }
  for (std::size_t i = 0; i + 1 < timed.size(); ++i) {
    const double ta = TermMilliseconds(timed[i]->RecordTime()), tb = TermMilliseconds(timed[i + 1]->RecordTime());
    if (ta <= at && at <= tb) return place(*timed[i], *timed[i + 1]);
  }
  if (at == TermMilliseconds(timed.back()->RecordTime())) return place(*timed.back(), *timed.back());
  // Inside the span but in a gap between two files that run back in time: nowhere to put it.
  result.Reason = pmAfterTrack;
  return result;
}

TPhotoPosition PlacePhoto(TDateTime shotTime, double exifLatitude, double exifLongitude,
                          const std::vector<const TGpsDataList*>& tracks, double offsetSeconds) {
  TPhotoPosition result;
  if (exifLatitude != 0 || exifLongitude != 0) {
    result.Source = psExif;
    result.Latitude = exifLatitude;
    result.Longitude = exifLongitude;
    return result;
  }
  if (shotTime == 0) {
    result.Reason = pmNoShotTime;
    return result;
  }
  if (tracks.empty()) {
    result.Reason = pmNoTrack;
    return result;
  }
  const TDateTime moment = shotTime + offsetSeconds / SecsPerDay;
  // The first track that holds the moment places it; otherwise the first track says why not.
  TPhotoPosition firstMiss;
  for (std::size_t i = 0; i < tracks.size(); ++i) {
    const TPhotoPosition found = PositionOnTrack(*tracks[i], moment);
    if (found.Source != psNone) return found;
    if (i == 0) firstMiss = found;
  }
  return firstMiss;
}

std::vector<TActPhoto> PlaceActPhotos(const TActData& act) {
  std::vector<std::unique_ptr<TGpsFile>> loaded;
  std::vector<const TGpsDataList*> tracks;
  for (const TLinkData* link : act.LinkDataList) {
    const auto* gps = dynamic_cast<const TGpsFileLink*>(link);
    if (gps == nullptr) continue;
    try {
      auto track = LoadDisplayTrack(*gps);
      if (track && track->GpsList.Count() > 0) {
        tracks.push_back(&track->GpsList);
        loaded.push_back(std::move(track));
      }
    } catch (const std::exception&) {
      // A track that cannot be read places nothing; the photographs then say there is no track.
    }
  }
  std::vector<TActPhoto> photos;
  for (const TLinkData* link : act.LinkDataList) {
    const auto* image = dynamic_cast<const TImageFileLink*>(link);
    if (image == nullptr || !IsJpegFile(image->FileName)) continue;
    TActPhoto& photo = photos.emplace_back();
    photo.Link = image;
    try {
      TJpegExif exif;
      exif.SetFileName(image->FileName);
      photo.ShotTime = exif.DateTimeOriginal();
      photo.Position = PlacePhoto(photo.ShotTime, exif.GpsLatitude(), exif.GpsLongitude(), tracks,
                                  static_cast<double>(act.CameraClockOffset));
    } catch (const std::exception& error) {
      photo.Position.Reason = pmUnreadable;
      photo.Error = error.what();
    }
  }
  return photos;
}

const char* PhotoMissReasonKey(TPhotoMissReason reason) {
  switch (reason) {
    case pmNone:
      return "";
    case pmNoShotTime:
      return "no position and no shooting time";
    case pmNoTrack:
      return "no track";
    case pmTrackWithoutTimes:
      return "track without times";
    case pmBeforeTrack:
      return "before the track";
    case pmAfterTrack:
      return "after the track";
    case pmUnreadable:
      return "unreadable";
  }
  return "";
}

}  // namespace hakuvo
