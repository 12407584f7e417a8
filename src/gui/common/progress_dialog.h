#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <string>

#include "core/register/register_target.h"

class QLabel;
class QProgressBar;
class QPushButton;

namespace hakuvo {

// "進行状況": the fixed little window that long loops over files show without blocking their
// owner. The loop sets the item count, then for each item the position and the file name; each
// step lets pending input through, so that "中止" can be pressed, and answers whether to go on.
class TProgressDialog : public QDialog, public TRegisterProgress {
  Q_OBJECT

 public:
  static constexpr int DesignWidth = 416;
  static constexpr int DesignHeight = 118;
  static constexpr int LabelWidth = 369;

  explicit TProgressDialog(QWidget* owner = nullptr);

  std::int64_t Max() const { return FMax; }
  void SetMax(std::int64_t value);
  std::int64_t Position() const { return FPosition; }
  void SetPosition(std::int64_t value);
  const QString& FileName() const { return FFileName; }
  // Shows the name, shortened in the middle to fit the label.
  void SetFileName(const QString& value);
  bool IsStop() const { return FIsStop; }
  void SetIsStop(bool value) { FIsStop = value; }

  QLabel* ProgressLabel() const { return FProgressLabel; }
  QProgressBar* ProgressBar() const { return FProgressBar; }
  QPushButton* StopBtn() const { return FStopBtn; }

  // Centred on the screen, shown without blocking.
  void ShowCentered();

  // TRegisterProgress: the item count; the position, the name and the pending input.
  void Start(std::int64_t max) override;
  bool Step(std::int64_t position, const std::string& fileName) override;

  // Runs between two items of the loop (the pending input by default); tests press stop here.
  std::function<void()> ProcessEvents;

 private:
  void UpdateBar();

  QLabel* FProgressLabel = nullptr;
  QProgressBar* FProgressBar = nullptr;
  QPushButton* FStopBtn = nullptr;
  bool FIsStop = false;
  std::int64_t FMax = 0;
  std::int64_t FPosition = 0;
  QString FFileName;
};

}  // namespace hakuvo
