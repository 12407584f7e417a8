// Commands of the record dialog that read tracks and photographs into the action, and the
// category settings button.

#include <QCheckBox>
#include <QLineEdit>

#include <memory>

#include "core/common/number_format.h"
#include "core/gps/gps_file.h"
#include "core/gps/jpeg_exif.h"
#include "core/links/file_kind.h"
#include "core/model/act_data.h"
#include "gui/common/qt_text.h"
#include "gui/common/wait_cursor.h"
#include "gui/links/gps_route_pos_dialog.h"
#include "gui/record/record_dialog.h"
#include "gui/record/record_dialog_link_list.h"

namespace hakuvo {

std::unique_ptr<TGpsFile> TRecordDialog::ReadSelectedTrack(const TGpsFileLink& link) const {
  std::unique_ptr<TGpsFile> track = CreateGpsFile(link.FileName);
  if (!track) return nullptr;
  const TWaitCursor wait;
  // The chosen part of the track; two zeros mean all of it.
  track->SetStartPos(link.StartPos);
  track->SetEndPos(link.EndPos);
  track->SetFileName(link.FileName);
  return track;
}

std::unique_ptr<TGpsFile> TRecordDialog::ReadTrack(const TGpsFileLink& link) const { return ReadSelectedTrack(link); }

void TRecordDialog::ReadGpsTime(const TGpsFile& track) { SetTimeText(FTimeEdit, track.FirstDateTime()); }

void TRecordDialog::ReadGpsTimeCommand() {
  auto* link = dynamic_cast<TGpsFileLink*>(FLinkList->SelectedLink());
  if (link == nullptr) return;
  RunCommand([&] {
    if (std::unique_ptr<TGpsFile> track = ReadSelectedTrack(*link)) ReadGpsTime(*track);
  });
}

void TRecordDialog::ReadGpsDistanceCommand() {
  auto* link = dynamic_cast<TGpsFileLink*>(FLinkList->SelectedLink());
  if (link == nullptr) return;
  RunCommand([&] {
    if (std::unique_ptr<TGpsFile> track = ReadSelectedTrack(*link)) {
      FRecordEdit->setText(ToQString(FormatFixed(track->TotalDistance(), 1)));
    }
  });
}

void TRecordDialog::ReadGpsPositionCommand() {
  auto* link = dynamic_cast<TGpsFileLink*>(FLinkList->SelectedLink());
  if (link == nullptr) return;
  RunCommand([&] {
    std::unique_ptr<TGpsFile> track = ReadSelectedTrack(*link);
    if (!track || track->GpsList.Count() == 0) return;
    const TGpsData& first = *track->GpsList.Get(0);
    WorkingAct().Place.Latitude = first.Latitude();
    WorkingAct().Place.Longitude = first.Longitude();
  });
}

void TRecordDialog::GpsRouteRangeCommand() {
  auto* link = dynamic_cast<TGpsFileLink*>(FLinkList->SelectedLink());
  if (link == nullptr) return;
  TGpsRoutePosDialog dialog(this);
  dialog.SetFileName(link->FileName);
  dialog.SetStartPos(link->StartPos);
  dialog.SetEndPos(link->EndPos);
  dialog.RecalcCheckBox()->setVisible(true);
  const int result = FRunDialog ? FRunDialog(dialog) : dialog.exec();
  if (result != QDialog::Accepted) return;
  // The link is the diary's own: the new range stays even if this dialog is cancelled.
  const bool changed = link->StartPos != dialog.StartPos() || link->EndPos != dialog.EndPos();
  link->StartPos = dialog.StartPos();
  link->EndPos = dialog.EndPos();
  if (changed) emit GpsRangeChanged();
  if (dialog.IsRecalc()) ReadGpsDistanceCommand();
}

void TRecordDialog::ReadJpegTimeCommand() {
  auto* image = dynamic_cast<TImageFileLink*>(FLinkList->SelectedLink());
  if (image == nullptr || !IsJpegFile(image->FileName)) return;
  SetTimeText(FTimeEdit, ExifDateTimeOriginal(image->FileName));
}

void TRecordDialog::ReadJpegPositionCommand() {
  auto* image = dynamic_cast<TImageFileLink*>(FLinkList->SelectedLink());
  if (image == nullptr || !IsJpegFile(image->FileName)) return;
  double latitude = 0;
  double longitude = 0;
  if (!ExifPosition(image->FileName, latitude, longitude)) return;
  WorkingAct().Place.Latitude = latitude;
  WorkingAct().Place.Longitude = longitude;
}

void TRecordDialog::ShowTimeRow() {
  SetFieldVisible(FTimeEdit, true);
  // The row may have stayed where it was designed while hidden; close the layout up again.
  CompactLayout();
}

void TRecordDialog::CategorySettingsCommand() {
  if (FCategoryInfo == nullptr) return;
  emit CategorySettingsRequested();
}

void TRecordDialog::ReapplyCategory() {
  if (FCategoryInfo == nullptr) return;
  SetCategoryInfo(*FCategoryInfo);
  CompactLayout();
  emit DataChanged();
}

}  // namespace hakuvo
