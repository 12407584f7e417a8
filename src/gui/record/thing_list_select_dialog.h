#pragma once

#include <QDialog>

#include <functional>

#include "core/model/category_type.h"

class QListWidget;

namespace hakuvo {

class TLinkDataList;
class TPicturePane;
class TThingLink;

// Picks things (or persons) for an action: the things of the list whose categories name the
// action's category, or name none, with the photograph of the chosen one.
class TThingListSelectDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TThingListSelectDialog(QWidget* parent = nullptr);

  void SetThingList(const TLinkDataList* list) { FThingList = list; }
  void SetCategory(TCategoryType category) { FCategory = category; }
  TCategoryType Category() const { return FCategory; }
  // Written: the thing to preselect. Read: the thing of the selected row, or none.
  void SetThingLink(TThingLink* link) { FPreset = link; }
  TThingLink* ThingLink() const;
  int SelCount() const;
  // False for an index outside the list.
  bool GetSelected(int row) const;
  void SetMultiSelect(bool multiSelect);

  int RowCount() const;
  TThingLink* RowThing(int row) const;
  // Lists the things on offer and selects the preset; showing the dialog does it too.
  void FillRows();

  void SetErrorHandler(std::function<void(const QString&)> handler) { FErrorHandler = std::move(handler); }
  void done(int result) override;

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void ShowRowPhoto(int row);

  const TLinkDataList* FThingList = nullptr;
  TCategoryType FCategory = ctUserCategory;
  TThingLink* FPreset = nullptr;
  QListWidget* FList = nullptr;
  TPicturePane* FPicture = nullptr;
  std::function<void(const QString&)> FErrorHandler;
};

// Whether a thing is offered for a category: its category text is empty or, split at ";",
// has a part equal to the category's name.
bool IsThingOfCategory(const TThingLink& thing, TCategoryType category);

}  // namespace hakuvo
