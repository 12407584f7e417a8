#pragma once

#include <QDialog>
#include <functional>

#include "core/model/graph_info.h"

class QGroupBox;
class QWidget;

namespace hakuvo {

class TGraphSettingsPage;

// Edits the settings of one channel of the two-data graphs: the category settings dialog's graph
// page without the axis-orientation choice (those graphs always put the dates across).
class TGraphInfoSetDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TGraphInfoSetDialog(QWidget* parent = nullptr);

  TGraphInfo* GraphInfo() const { return FGraphInfo; }
  // Loads the controls from the record; the record must outlive the dialog.
  void SetGraphInfo(TGraphInfo* info);
  bool IsDateAxisSet() const { return FIsDateAxisSet; }
  // False for the second channel: its dates follow the first one's.
  void SetIsDateAxisSet(bool value);

  // Failed checks go through this; by default an error box titled with the program's name.
  using TErrorHandler = std::function<void(const QString& message)>;
  void SetErrorHandler(TErrorHandler handler) { FErrorHandler = std::move(handler); }

  // Refuses fields that are not numbers (one message each) and stores nothing then; otherwise
  // stores every field into the record and closes.
  void accept() override;

  TGraphSettingsPage* Page() const { return FPage; }
  QWidget* DateAxisGroup() const;

 private:
  TGraphInfo* FGraphInfo = nullptr;
  bool FIsDateAxisSet = true;
  TGraphSettingsPage* FPage = nullptr;
  TErrorHandler FErrorHandler;
};

}  // namespace hakuvo
