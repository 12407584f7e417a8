#pragma once

#include <QDialog>

#include <functional>
#include <string>

#include "core/common/date_time.h"

class QCheckBox;
class QDateEdit;
class QTimeEdit;

namespace hakuvo {

// Chooses the part of a track that the map and the speed graph show: a start and an end
// date-time, or the whole track (both 0).
class TGpsRoutePosDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TGpsRoutePosDialog(QWidget* parent = nullptr);

  const std::string& FileName() const { return FFileName; }
  void SetFileName(const std::string& fileName) { FFileName = fileName; }
  TDateTime StartPos() const { return FStartPos; }
  void SetStartPos(TDateTime value);
  TDateTime EndPos() const { return FEndPos; }
  void SetEndPos(TDateTime value);

  // "距離を再計算する": hidden unless the caller wants the distance computed again.
  QCheckBox* RecalcCheckBox() const { return FRecalcCheck; }
  bool IsRecalc() const;
  QCheckBox* RangeCheckBox() const { return FRangeCheck; }

  // Errors of reading the track; by default an error box.
  void SetErrorHandler(std::function<void(const QString&)> handler) { FErrorHandler = std::move(handler); }
  // Ticks the range box for a stored range, else reads the track and offers its whole span.
  // Showing the dialog does it.
  void Prepare();
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void UpdateEnabled();

  std::string FFileName;
  TDateTime FStartPos = 0;
  TDateTime FEndPos = 0;
  QCheckBox* FRangeCheck = nullptr;
  QDateEdit* FStartDate = nullptr;
  QTimeEdit* FStartTime = nullptr;
  QDateEdit* FEndDate = nullptr;
  QTimeEdit* FEndTime = nullptr;
  QCheckBox* FRecalcCheck = nullptr;
  std::function<void(const QString&)> FErrorHandler;
};

}  // namespace hakuvo
