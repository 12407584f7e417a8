#pragma once

#include <functional>

#include "gui/document/docking_form.h"
#include "gui/links/file_opener.h"

class QMenu;
class QActionGroup;

namespace hakuvo {

class TDiaryDocument;
class TLinkData;
class TPicturePane;

// "リンクプレビュー": the picture of the link chosen in the link window, the photograph itself
// turned as the link says, shrunk to fit but never enlarged. Its context menu turns it; the turn
// is stored in the link and every window that shows the link hears of it.
class TLinkPreviewForm : public TDockingForm {
  Q_OBJECT

 public:
  explicit TLinkPreviewForm(TDiaryDocument* document, QWidget* parent = nullptr);

  TLinkData* LinkData() const { return FLinkData; }
  // Stores the link; a visible preview shows it, a hidden one lets its picture go.
  void SetLinkData(TLinkData* link);
  // Lets the picture go (the link stays).
  void Clear();
  void LinkViewChanged() override;

  TPicturePane* Picture() const { return FPicture; }
  bool HasPicture() const;
  // Whether the context menu offers the turn for the link, and the angle it checks.
  bool IsRotationOffered() const;
  QMenu* RotationMenu() const { return FRotationMenu; }
  // The angle chosen in the context menu: stored in the link; the change is announced.
  void SetRotation(int angle);
  // The double click: a file link whose picture is shown opens in the desktop's program.
  void OpenLink();
  // How a file is opened (the desktop's default program unless a test says otherwise).
  // How a file is handed to the desktop and how a failure is told (tests record both).
  void SetOpener(TFileOpener opener) { FOpener = std::move(opener); }
  void SetOpenFailureReporter(TOpenFailureReporter report) { FReportOpenFailure = std::move(report); }

 protected:
  void showEvent(QShowEvent* event) override;
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowLink();
  void UpdateMenu();

  TDiaryDocument* FDocument;
  TLinkData* FLinkData = nullptr;
  TPicturePane* FPicture;
  QMenu* FMenu;
  QMenu* FRotationMenu;
  QActionGroup* FAngles;
  TFileOpener FOpener;
  TOpenFailureReporter FReportOpenFailure;
};

// The picture file and turn the preview shows for a link: an image file link's file, a thing's or
// person's photograph; false for any other link.
bool PreviewSourceOf(const TLinkData* link, std::string& fileName, int& angle);

}  // namespace hakuvo
