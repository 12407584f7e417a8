#pragma once

#include <QObject>
#include <QString>

class QImage;

#include <memory>
#include <string>
#include <vector>

#include "gui/document/window_ports.h"

namespace hakuvo {

class TLinkDataList;
class TThumbnailWorker;

// Puts the photographs of the outing the link window shows on the map: each JPEG photograph
// where the core places it (its own GPS position, else the outing's track at its shooting time
// plus the camera's clock offset), as a small picture made by the link window's thumbnail worker
// from the same view files. Only an outing with a track gets them; a photograph that lands
// nowhere gets no marker. Reading the photographs and tracks and drawing the pictures all run off
// the user-interface thread on copies of the links; a newer outing replaces the work under way.
class TMapPhotoFeeder : public QObject {
  Q_OBJECT

 public:
  static constexpr int ThumbnailSide = 48;

  explicit TMapPhotoFeeder(QObject* parent = nullptr);
  ~TMapPhotoFeeder() override;

  // The map is looked up in the ports when the markers are ready, as it may come and go.
  void SetPorts(const TWindowPorts* ports) { FPorts = ports; }
  // Starts over for an outing's links (read now; the work runs on copies) and the offset of its
  // camera's clock to the track, in seconds.
  void Show(const TLinkDataList& links, double cameraClockOffset);
  // Drops the work under way: nothing more reaches the map.
  void Cancel();
  bool IsBusy() const { return FIsBusy; }

  // A picture as the page takes it: a JPEG data: URL.
  static std::string PictureUrl(const QImage& image);

 signals:
  // The markers of the latest Show went to the map (none when no photograph landed anywhere).
  void PhotosShown(int count);

 private:
  struct TJob;
  void Placed(int generation, const std::shared_ptr<TJob>& job);
  void Finish(int generation, const std::shared_ptr<TJob>& job);
  TMapPort* Map() const;
  void Deliver(std::vector<TMapPhoto> photos);

  const TWindowPorts* FPorts = nullptr;
  int FGeneration = 0;
  bool FIsBusy = false;
  bool FIsMapShowingPhotos = false;  // the last set handed over had photographs
  std::unique_ptr<TThumbnailWorker> FWorker;
};

}  // namespace hakuvo
