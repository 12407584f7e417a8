#pragma once

#include <QDialog>

#include <functional>
#include <memory>
#include <vector>

#include "core/model/link_data.h"

class QListWidget;
class QToolBar;

namespace hakuvo {

class TCategoryList;
class TDayDataList;
class TLinkEntryDialog;

// Maintains the diary's list of things ("物リスト設定"): adds, deletes, edits and reorders them on
// a working copy that becomes the list only on OK. An edit is made on the thing itself, so it
// stays even when the dialog is cancelled; things added while it was open go when it is.
class TThingListSetDialog : public QDialog {
  Q_OBJECT

 public:
  explicit TThingListSetDialog(QWidget* parent = nullptr);
  ~TThingListSetDialog() override;

  void SetThingList(const TLinkDataList* list) { FThingList = list; }
  void SetCategoryList(const TCategoryList* list) { FCategoryList = list; }

  // The working list, in the order the user gave it, and the things deleted from it.
  const TLinkDataList& TempThingList() const { return FTempThingList; }
  const TLinkDataList& DeleteList() const { return FDeleteList; }

  // Copies the list into the working list and the rows; showing the dialog does it once.
  void Prepare();
  QListWidget* ListBox() const { return FListBox; }

  // The commands; Add and Edit open the single dialog, which `editor` replaces for tests: it is
  // given the dialog prepared for the link and answers whether it was closed with OK.
  void AddCommand();
  void DeleteCommand();
  void EditCommand();
  void MoveCommand(int step);
  void SetEditor(std::function<bool(TLinkEntryDialog&)> editor) { FEditor = std::move(editor); }

  // After OK: the diary's owner takes the working list (new things included, in order), every
  // action lets go of the deleted things, and then they are freed with their thumbnails.
  void Commit(TLinkDataOwner& owner, TDayDataList& days);

 protected:
  // The person list's dialog makes persons and edits them in the person dialog.
  virtual std::unique_ptr<TThingLink> NewLink() const;
  virtual std::unique_ptr<TLinkEntryDialog> MakeEditor(TThingLink& link);
  void showEvent(QShowEvent* event) override;

 private:
  bool RunEditor(TThingLink& link);

  const TLinkDataList* FThingList = nullptr;
  const TCategoryList* FCategoryList = nullptr;
  TLinkDataList FTempThingList;
  TLinkDataList FDeleteList;
  std::vector<std::unique_ptr<TLinkData>> FAdded;
  QListWidget* FListBox;
  bool FPrepared = false;
  std::function<bool(TLinkEntryDialog&)> FEditor;
};

// The same for the diary's persons ("人リスト設定").
class TPersonListSetDialog : public TThingListSetDialog {
  Q_OBJECT

 public:
  explicit TPersonListSetDialog(QWidget* parent = nullptr);

 protected:
  std::unique_ptr<TThingLink> NewLink() const override;
  std::unique_ptr<TLinkEntryDialog> MakeEditor(TThingLink& link) override;
};

// Takes every reference to `link` out of the link lists of every action of every day.
void RemoveLinkFromActions(TDayDataList& days, const TLinkData* link);

}  // namespace hakuvo
