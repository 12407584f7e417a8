#pragma once

#include <QDialog>

#include <functional>
#include <string>
#include <vector>

class QComboBox;
class QFormLayout;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QActionGroup;

namespace hakuvo {

class TCategoryList;
class TPersonLink;
class TPicturePane;
class TThingLink;

// The photograph of a thing or a person in its dialog: the file name with a browse button, the
// picture turned as chosen in its context menu, and the turn being edited.
class TPhotoEditor : public QObject {
  Q_OBJECT

 public:
  explicit TPhotoEditor(QWidget* owner);

  QLineEdit* Edit() const { return FEdit; }
  QPushButton* BrowseButton() const { return FBrowse; }
  TPicturePane* Picture() const { return FPicture; }
  QMenu* Menu() const { return FMenu; }

  int PhotoRotate() const { return FPhotoRotate; }
  void SetPhotoRotate(int angle) { FPhotoRotate = angle; }
  // Shows the photograph of the edit's file turned by PhotoRotate.
  void ShowPhoto();
  // A photograph chosen (in the picture chooser, or typed and left): a JPEG takes the turn its
  // camera wrote, and the picture is shown again.
  void ChoosePhoto(const QString& fileName);
  // The angle chosen in the context menu.
  void SetRotation(int angle);
  // Checks the current turn, for image files only; as the menu does before it opens.
  void UpdateMenu();

 private:
  void Browse();

  QWidget* FOwner;
  QLineEdit* FEdit;
  QPushButton* FBrowse;
  TPicturePane* FPicture;
  QMenu* FMenu;
  QActionGroup* FAngles;
  int FPhotoRotate = 0;
};

// What the thing and person dialogs share: the category box, the memo, the photograph, the
// buttons, the check of a read-only dialog and the report of a failed check.
class TLinkEntryDialog : public QDialog {
  Q_OBJECT

 public:
  void SetCategoryList(const TCategoryList* list) { FCategoryList = list; }
  bool IsReadOnly() const { return FIsReadOnly; }
  void SetIsReadOnly(bool value) { FIsReadOnly = value; }
  int PhotoRotate() const { return FPhoto->PhotoRotate(); }
  TPhotoEditor* Photo() const { return FPhoto; }
  QPushButton* OkButton() const { return FOk; }
  QPushButton* CancelButton() const { return FCancel; }

  // Fills the controls from the link and applies the read-only look; showing the dialog does
  // it once.
  void Prepare();

  void SetErrorHandler(std::function<void(const QString&)> handler) { FErrorHandler = std::move(handler); }
  void done(int result) override;

 protected:
  explicit TLinkEntryDialog(QWidget* parent);
  void showEvent(QShowEvent* event) override;
  QWidget* ButtonRow();

  virtual void FillControls() = 0;
  // The message of a failed check, or an empty text.
  virtual QString CheckControls() const = 0;
  virtual void WriteControls() = 0;

  void FillCategories(const std::string& category);
  void FillMemo(const std::vector<std::string>& lines);
  std::vector<std::string> MemoLines() const;

  QComboBox* FCategoryCombo;
  QPlainTextEdit* FMemo;
  TPhotoEditor* FPhoto;

 private:
  void ApplyReadOnly();

  const TCategoryList* FCategoryList = nullptr;
  bool FIsReadOnly = false;
  bool FPrepared = false;
  QPushButton* FOk;
  QPushButton* FCancel;
  std::function<void(const QString&)> FErrorHandler;
};

// Edits one thing in place ("物設定").
class TThingDialog : public TLinkEntryDialog {
  Q_OBJECT

 public:
  explicit TThingDialog(QWidget* parent = nullptr);
  TThingLink* ThingLink() const { return FThingLink; }
  void SetThingLink(TThingLink* link) { FThingLink = link; }

 protected:
  void FillControls() override;
  QString CheckControls() const override;
  void WriteControls() override;

 private:
  TThingLink* FThingLink = nullptr;
  QLineEdit* FNameEdit;
};

// Edits one person in place ("人設定"), on three pages: the private data, the company and the
// photograph. The second mail addresses and the coordinates are kept as they are.
class TPersonDialog : public TLinkEntryDialog {
  Q_OBJECT

 public:
  explicit TPersonDialog(QWidget* parent = nullptr);
  TPersonLink* PersonLink() const { return FPersonLink; }
  void SetPersonLink(TPersonLink* link) { FPersonLink = link; }

 protected:
  void FillControls() override;
  QString CheckControls() const override;
  void WriteControls() override;

 private:
  QLineEdit* AddEdit(QFormLayout* form, const char* label, const char* name);

  TPersonLink* FPersonLink = nullptr;
};

}  // namespace hakuvo
