#include "gui/record/record_dialog_layout.h"

#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>

#include "core/settings/app_data.h"
#include "gui/common/qt_rect.h"
#include "gui/common/screen_bounds.h"
#include "gui/record/record_dialog.h"
#include "gui/record/record_dialog_link_list.h"

namespace hakuvo {

void RestoreRecordDialogLayout(TRecordDialog& dialog, const TAppData& appData) {
  const TChildWindowInfo& info = appData.ChildWindowInfo;
  if (info.RecordDialogWidth != 0) {
    QRect desktop(0, 0, 1024, 768);
    if (const QScreen* screen = QGuiApplication::primaryScreen()) desktop = screen->availableGeometry();
    const QSize size = dialog.size();
    const TBounds centred{desktop.center().x() - size.width() / 2, desktop.center().y() - size.height() / 2,
                          size.width(), size.height()};
    dialog.SetRestoredGeometry(FitSizeToScreen(ToQRect(appData.RecordDialogBounds(centred, ToBounds(desktop)))));
    if (info.LinkListTitle != 0) {
      QHeaderView* header = dialog.LinkList()->header();
      header->resizeSection(0, info.LinkListTitle);
      header->resizeSection(1, info.LinkListLink);
      header->resizeSection(2, info.LinkListNote);
    }
  }
  dialog.SetLinkPanelVisible(info.RecordDialogLinkPanelVisible);
  dialog.SetLinkPanelWidth(info.RecordDialogLinkPanelWidth);
  dialog.SetPreviewHeight(info.RecordDialogLinkPreviewPanelHeight);
}

void StoreRecordDialogLayout(const TRecordDialog& dialog, TAppData& appData) {
  TChildWindowInfo& info = appData.ChildWindowInfo;
  info.RecordDialogLeft = dialog.x();
  info.RecordDialogTop = dialog.y();
  info.RecordDialogWidth = dialog.width();
  info.RecordDialogHeight = dialog.height();
  info.RecordDialogLinkPanelVisible = dialog.IsLinkPanelVisible();
  info.RecordDialogLinkPanelWidth = dialog.LinkPanelWidth();
  info.RecordDialogLinkPreviewPanelHeight = dialog.PreviewHeight();
  const QHeaderView* header = dialog.LinkList()->header();
  info.LinkListTitle = header->sectionSize(0);
  info.LinkListLink = header->sectionSize(1);
  info.LinkListNote = header->sectionSize(2);
}

}  // namespace hakuvo
