#include "gui/links/link_preview_form.h"

#include <QActionGroup>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QMenu>
#include <QUrl>
#include <QVBoxLayout>

#include <exception>
#include <filesystem>
#include <optional>

#include "core/links/file_kind.h"
#include "core/model/link_data.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_text.h"
#include "gui/common/wait_cursor.h"
#include "gui/document/diary_document.h"
#include "gui/record/record_dialog_picture.h"
#include "imaging/link_thumbnail.h"
#include "imaging/picture_loader.h"
#include "imaging/rotate_bitmap.h"

namespace hakuvo {

namespace {

// The least a preview picture is decoded at, whatever the pane's size now.
constexpr int kDecodedSide = 1024;

}  // namespace

bool PreviewSourceOf(const TLinkData* link, std::string& fileName, int& angle) {
  if (const auto* image = dynamic_cast<const TImageFileLink*>(link)) {
    fileName = image->FileName;
    angle = image->RotateAngle;
    return true;
  }
  if (const auto* thing = dynamic_cast<const TThingLink*>(link)) {
    fileName = thing->PhotoFileName();
    angle = thing->PhotoRotate();
    return true;
  }
  return false;
}

TLinkPreviewForm::TLinkPreviewForm(TDiaryDocument* document, QWidget* parent)
    : TDockingForm(QStringLiteral("LinkPreviewForm"), QStringLiteral("リンクプレビュー"), parent), FDocument(document) {
  FPicture = new TPicturePane;
  FPicture->setObjectName(QStringLiteral("Image"));
  FPicture->SetIsEnlarging(false);
  FPicture->setAutoFillBackground(true);
  FPicture->setBackgroundRole(QPalette::Base);
  FPicture->installEventFilter(this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(FPicture);

  FMenu = new QMenu(this);
  FRotationMenu = FMenu->addMenu(QStringLiteral("回転(&R)"));
  FAngles = new QActionGroup(this);
  const char* captions[] = {"0度(&0)", "90度(&1)", "180度(&2)", "270度(&3)"};
  for (int i = 0; i < 4; ++i) {
    QAction* item = FRotationMenu->addAction(QString::fromUtf8(captions[i]));
    item->setCheckable(true);
    item->setData(90 * i);
    FAngles->addAction(item);
    connect(item, &QAction::triggered, this, [this, angle = 90 * i] { SetRotation(angle); });
  }
  FOpener = OpenWithDesktop;
  FReportOpenFailure = [this](const QString& message) { ShowErrorBox(this, message); };
}

void TLinkPreviewForm::SetLinkData(TLinkData* link) {
  FLinkData = link;
  if (isVisible()) {
    ShowLink();
  } else {
    Clear();
  }
}

void TLinkPreviewForm::Clear() { FPicture->Clear(); }

bool TLinkPreviewForm::HasPicture() const { return FPicture->HasPicture(); }

void TLinkPreviewForm::ShowLink() {
  std::string fileName;
  int angle = 0;
  if (FLinkData == nullptr) return;
  // A track or another file has no picture of its own: the last photograph must not stay, as if
  // it were that file's.
  if (!PreviewSourceOf(FLinkData, fileName, angle)) {
    FPicture->Clear();
    // A track shows its outline instead.
    if (const auto* track = dynamic_cast<const TGpsFileLink*>(FLinkData)) {
      const TWaitCursor wait;
      QImage outline = NewThumbnailImage(FPicture->size().expandedTo(QSize(200, 150)));
      if (DrawTrackOutline(outline, track->FileName)) FPicture->SetPicture(outline);
    }
    return;
  }
  std::error_code error;
  if (fileName.empty() || !std::filesystem::is_regular_file(fileName, error) || !IsImageFile(fileName)) {
    // A photograph that is gone must not leave another link's picture behind it.
    FPicture->Clear();
    return;
  }
  // A photograph is only ever shrunk here, so it is decoded no larger than a good-sized pane needs:
  // a 24-megapixel JPEG then costs a quarter of its full decode on this thread.
  const TWaitCursor wait;
  const int turn = ((angle % 360) + 360) % 360;
  const bool quarter = turn == 90 || turn == 270;
  const QSize pane = FPicture->size().expandedTo(QSize(kDecodedSide, kDecodedSide));
  const QSize box = quarter ? pane.transposed() : pane;
  try {
    std::optional<TLoadedPicture> picture = LoadGraphicReduced(
        fileName, [box](QSize stored) { return stored.scaled(box, Qt::KeepAspectRatio).boundedTo(stored); });
    if (!picture) {
      FPicture->Clear();
      return;
    }
    FPicture->SetPicture(turn == 0 ? picture->Image : RotateBitmap(picture->Image, turn));
  } catch (const std::exception&) {
    // A damaged picture shows nothing; a preview has nobody to tell.
    FPicture->Clear();
  }
}

void TLinkPreviewForm::LinkViewChanged() {
  if (isVisible()) ShowLink();
}

void TLinkPreviewForm::showEvent(QShowEvent* event) {
  TDockingForm::showEvent(event);
  if (!FPicture->HasPicture()) ShowLink();
}

bool TLinkPreviewForm::IsRotationOffered() const {
  return dynamic_cast<const TImageFileLink*>(FLinkData) != nullptr ||
         dynamic_cast<const TThingLink*>(FLinkData) != nullptr;
}

void TLinkPreviewForm::UpdateMenu() {
  std::string fileName;
  int angle = 0;
  FRotationMenu->menuAction()->setVisible(IsRotationOffered());
  PreviewSourceOf(FLinkData, fileName, angle);
  for (QAction* item : FAngles->actions()) item->setChecked(item->data().toInt() == angle);
}

void TLinkPreviewForm::SetRotation(int angle) {
  if (auto* image = dynamic_cast<TImageFileLink*>(FLinkData)) {
    image->RotateAngle = angle;
  } else if (auto* thing = dynamic_cast<TThingLink*>(FLinkData)) {
    thing->SetPhotoRotate(angle);
  } else {
    return;
  }
  if (FDocument != nullptr) {
    emit FDocument->LinkViewChanged();
  } else {
    LinkViewChanged();
  }
}

void TLinkPreviewForm::OpenLink() {
  const auto* file = dynamic_cast<const TFileLink*>(FLinkData);
  if (file == nullptr || !FPicture->HasPicture()) return;
  OpenLinkedFile(ToQString(file->FileName), FOpener, FReportOpenFailure);
}

bool TLinkPreviewForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FPicture) {
    if (event->type() == QEvent::ContextMenu) {
      UpdateMenu();
      if (IsRotationOffered()) FMenu->popup(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
    if (event->type() == QEvent::MouseButtonDblClick) {
      OpenLink();
      return true;
    }
  }
  return TDockingForm::eventFilter(watched, event);
}

}  // namespace hakuvo
