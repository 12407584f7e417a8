#include "gui/links/map_photo_feeder.h"

#include <QCoreApplication>
#include <QPointer>
#include <QThreadPool>

#include <exception>
#include <utility>

#include "core/gps/photo_position.h"
#include "core/links/file_kind.h"
#include "core/model/act_data.h"
#include "core/model/link_data.h"
#include "imaging/jpeg_codec.h"
#include "imaging/thumbnail_worker.h"

namespace hakuvo {

// One outing's photographs on their way to the map. The copies are the worker's own; the
// outing's links are only carried along, to be handed back on a click, never read off this
// thread.
struct TMapPhotoFeeder::TJob {
  std::vector<std::unique_ptr<TLinkData>> Copies;
  std::vector<const TLinkData*> Originals;  // the outing's link of each copy
  double Offset = 0;
  // The photographs that landed somewhere, in the outing's order, and the pictures to make.
  std::vector<TMapPhoto> Photos;
  std::vector<TThumbnailJob> Thumbnails;
};

TMapPhotoFeeder::TMapPhotoFeeder(QObject* parent) : QObject(parent) {}

// The worker hands its pictures to this object: it must be over first.
TMapPhotoFeeder::~TMapPhotoFeeder() { FWorker.reset(); }

TMapPort* TMapPhotoFeeder::Map() const { return FPorts != nullptr ? FPorts->Map : nullptr; }

void TMapPhotoFeeder::Cancel() {
  ++FGeneration;
  FWorker.reset();
  FIsBusy = false;
}

void TMapPhotoFeeder::Show(const TLinkDataList& links, double cameraClockOffset) {
  Cancel();
  const int generation = FGeneration;
  auto job = std::make_shared<TJob>();
  job->Offset = cameraClockOffset;
  bool hasTrack = false;
  bool hasPhoto = false;
  for (const TLinkData* link : links) {
    std::unique_ptr<TLinkData> copy;
    if (const auto* image = dynamic_cast<const TImageFileLink*>(link)) {
      if (!IsJpegFile(image->FileName)) continue;
      copy = std::make_unique<TImageFileLink>(TStoredGuidCode{});
      hasPhoto = true;
    } else if (dynamic_cast<const TGpsFileLink*>(link) != nullptr) {
      copy = std::make_unique<TGpsFileLink>(TStoredGuidCode{});
      hasTrack = true;
    } else {
      continue;
    }
    copy->Assign(*link);
    job->Copies.push_back(std::move(copy));
    job->Originals.push_back(link);
  }
  // Photographs belong on the map of an outing that went somewhere; without a track there is
  // nothing to show them along.
  if (!hasTrack || !hasPhoto) {
    Deliver({});
    return;
  }
  FIsBusy = true;
  QPointer<TMapPhotoFeeder> self(this);
  QThreadPool::globalInstance()->start([self, generation, job] {
    TActData act;
    for (const auto& copy : job->Copies) act.LinkDataList.Add(copy.get());
    act.CameraClockOffset = job->Offset;
    const std::vector<TActPhoto> placed = PlaceActPhotos(act);
    for (const TActPhoto& photo : placed) {
      if (photo.Position.Source == psNone) continue;
      std::size_t index = 0;
      while (job->Copies[index].get() != photo.Link) ++index;
      TMapPhoto& marker = job->Photos.emplace_back();
      marker.Link = job->Originals[index];
      marker.Latitude = photo.Position.Latitude;
      marker.Longitude = photo.Position.Longitude;
      marker.Title = photo.Link->Title();
      TThumbnailJob& thumbnail = job->Thumbnails.emplace_back();
      thumbnail.Kind = TThumbnailKind::Picture;
      thumbnail.ViewFileName = photo.Link->ViewFileName;
      thumbnail.PictureFileName = photo.Link->FileName;
      thumbnail.Angle = photo.Link->RotateAngle;
    }
    act.LinkDataList.Clear();
    QMetaObject::invokeMethod(
        qApp,
        [self, generation, job] {
          if (self) self->Placed(generation, job);
        },
        Qt::QueuedConnection);
  });
}

void TMapPhotoFeeder::Placed(int generation, const std::shared_ptr<TJob>& job) {
  if (generation != FGeneration) return;
  if (job->Thumbnails.empty()) return Finish(generation, job);
  const int count = static_cast<int>(job->Thumbnails.size());
  // Each picture is written into its own marker on the worker's thread; the last one sends the
  // whole set over. The worker is stopped and joined before this object goes.
  FWorker = std::make_unique<TThumbnailWorker>(
      job->Thumbnails, QSize(ThumbnailSide, ThumbnailSide),
      [this, generation, job, count](int index, const QImage& image) {
        job->Photos[static_cast<std::size_t>(index)].Thumbnail = PictureUrl(image);
        if (index + 1 < count) return;
        QMetaObject::invokeMethod(
            this, [this, generation, job] { Finish(generation, job); }, Qt::QueuedConnection);
      });
}

void TMapPhotoFeeder::Finish(int generation, const std::shared_ptr<TJob>& job) {
  if (generation != FGeneration) return;
  FIsBusy = false;
  Deliver(std::move(job->Photos));
}

void TMapPhotoFeeder::Deliver(std::vector<TMapPhoto> photos) {
  const int count = static_cast<int>(photos.size());
  TMapPort* map = Map();
  // An outing without photographs says nothing to a map that shows none of ours.
  if (map != nullptr && (count > 0 || FIsMapShowingPhotos)) map->SetMapPhotos(std::move(photos));
  FIsMapShowingPhotos = map != nullptr && count > 0;
  emit PhotosShown(count);
}

std::string TMapPhotoFeeder::PictureUrl(const QImage& image) {
  if (image.isNull()) return {};
  try {
    const std::string jpeg = EncodeJpeg(image, 85);
    const QByteArray base64 = QByteArray::fromRawData(jpeg.data(), static_cast<qsizetype>(jpeg.size())).toBase64();
    return "data:image/jpeg;base64," + base64.toStdString();
  } catch (const std::exception&) {
    // A picture that cannot be written leaves its marker a blank frame.
    return {};
  }
}

}  // namespace hakuvo
