#pragma once

#include <QDialog>

#include <functional>

#include "core/model/link_view_info.h"

class QLineEdit;
class QRadioButton;

namespace hakuvo {

// The link window's display settings ("リンク表示設定"): thumbnails or detail rows, and the size
// of the thumbnails and the gaps between them.
class TLinkViewInfoDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TLinkViewInfoDialog(QWidget* parent = nullptr);

  // Written: fills the controls. Read after OK: the style and the four numbers.
  void SetLinkViewInfo(const TLinkViewInfo& info);
  const TLinkViewInfo& LinkViewInfo() const { return FLinkViewInfo; }

  void SetErrorHandler(std::function<void(const QString&)> handler) { FErrorHandler = std::move(handler); }
  void done(int result) override;

 private:
  TLinkViewInfo FLinkViewInfo;
  QRadioButton* FIconButton;
  QRadioButton* FReportButton;
  QLineEdit* FWidthEdit;
  QLineEdit* FHeightEdit;
  QLineEdit* FWidthBlankEdit;
  QLineEdit* FHeightBlankEdit;
  std::function<void(const QString&)> FErrorHandler;
};

}  // namespace hakuvo
