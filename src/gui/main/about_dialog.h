#pragma once

#include <QDialog>

#include "core/model/category_type.h"

class QLabel;

namespace hakuvo {

// "バージョン情報": the program's name, the mode it runs in and its version.
class TAboutDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TAboutDialog(TCategoryType mode, QWidget* parent = nullptr);

  QLabel* TitleLabel() const { return FTitleLabel; }
  QLabel* ModeLabel() const { return FModeLabel; }
  QLabel* VersionLabel() const { return FVersionLabel; }

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  QLabel* FTitleLabel;
  QLabel* FModeLabel;
  QLabel* FVersionLabel;
};

}  // namespace hakuvo
