#pragma once

#include <QDialog>
#include <functional>

class QLabel;
class QLineEdit;

namespace hakuvo {

class TAppData;
class TMapForm;

// "場所詳細": an address (the place's 住所) and its latitude and longitude. A double click on
// either coordinate's label looks the address up through the map window, within the day's
// allowance of look-ups.
class TPlaceDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TPlaceDialog(QWidget* parent = nullptr);

  TMapForm* MapForm() const { return FMapForm; }
  void SetMapForm(TMapForm* form) { FMapForm = form; }
  TAppData* AppData() const { return FAppData; }
  void SetAppData(TAppData* appData) { FAppData = appData; }

  QLineEdit* AddressEdit() const { return FAddressEdit; }
  QLineEdit* LatitudeEdit() const { return FLatitudeEdit; }
  QLineEdit* LongitudeEdit() const { return FLongitudeEdit; }
  QLabel* LatitudeLabel() const { return FLatitudeLabel; }
  QLabel* LongitudeLabel() const { return FLongitudeLabel; }

  // Looks the address up through the map window's look-up service (whether or not the map is
  // shown) and puts the place found into the two edits. The day's allowance is counted first:
  // once it is used up the error is shown and nothing is asked. While it waits the cursor is
  // busy and the dialog still answers: Escape or キャンセル ends the look-up. Nothing found, a
  // service that cannot be reached, a time-out or an oversized answer is shown in words and
  // leaves the edits as they were. Returns whether a place was found.
  bool Geocode();

  // Where the errors go (an error box unless set).
  void SetErrorHandler(std::function<void(const QString&)> handler) { FErrorHandler = std::move(handler); }

  void done(int result) override;

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override;

 private:
  void ShowError(const QString& message);
  bool CheckInput();

  TMapForm* FMapForm = nullptr;
  bool FIsLookingUp = false;
  TAppData* FAppData = nullptr;
  QLineEdit* FAddressEdit;
  QLineEdit* FLatitudeEdit;
  QLineEdit* FLongitudeEdit;
  QLabel* FLatitudeLabel;
  QLabel* FLongitudeLabel;
  std::function<void(const QString&)> FErrorHandler;
};

}  // namespace hakuvo
