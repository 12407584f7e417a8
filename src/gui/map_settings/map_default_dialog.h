#pragma once

#include <QDialog>
#include <functional>

class QLineEdit;
class QRadioButton;

namespace hakuvo {

class TMapDefaultInfo;

// "地図初期表示設定": the map's start type and view, edited in place on OK.
class TMapDefaultDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TMapDefaultDialog(QWidget* parent = nullptr);

  TMapDefaultInfo* MapDefaultInfo() const { return FMapDefaultInfo; }
  // Fills the controls from `info`, which OK then writes back into.
  void SetMapDefaultInfo(TMapDefaultInfo* info);

  QRadioButton* TypeButton(int index) const { return FTypeButtons[index]; }
  QLineEdit* MapLatitudeEdit() const { return FLatitudeEdit; }
  QLineEdit* MapLongitudeEdit() const { return FLongitudeEdit; }
  QLineEdit* MapZoomEdit() const { return FZoomEdit; }

  void SetErrorHandler(std::function<void(const QString&)> handler) { FErrorHandler = std::move(handler); }

  void done(int result) override;

 private:
  void ShowError(const QString& message);

  TMapDefaultInfo* FMapDefaultInfo = nullptr;
  QRadioButton* FTypeButtons[4];
  QLineEdit* FLatitudeEdit;
  QLineEdit* FLongitudeEdit;
  QLineEdit* FZoomEdit;
  std::function<void(const QString&)> FErrorHandler;
};

}  // namespace hakuvo
