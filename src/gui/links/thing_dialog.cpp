#include "gui/links/thing_dialog.h"

#include <QActionGroup>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDesktopServices>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QUrl>
#include <QVBoxLayout>

#include "core/gps/jpeg_exif.h"
#include "core/links/file_kind.h"
#include "core/model/category_info_list.h"
#include "core/model/link_data.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_text.h"
#include "gui/record/record_dialog_picture.h"

namespace hakuvo {

namespace {

constexpr int kAngles[] = {0, 90, 180, 270};

// Runs `action` on a double click or a context-menu request of `widget`.
class TPictureEvents : public QObject {
 public:
  TPictureEvents(QWidget* widget, std::function<void()> doubleClick, std::function<void(QPoint)> menu)
      : QObject(widget), FDoubleClick(std::move(doubleClick)), FMenu(std::move(menu)) {
    widget->installEventFilter(this);
  }

 protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::MouseButtonDblClick) {
      FDoubleClick();
      return true;
    }
    if (event->type() == QEvent::ContextMenu) {
      FMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
      return true;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  std::function<void()> FDoubleClick;
  std::function<void(QPoint)> FMenu;
};

}  // namespace

TPhotoEditor::TPhotoEditor(QWidget* owner) : QObject(owner), FOwner(owner) {
  FEdit = new QLineEdit;
  FEdit->setObjectName(QStringLiteral("PhotoEdit"));
  FBrowse = new QPushButton(QStringLiteral("..."));
  FBrowse->setObjectName(QStringLiteral("PhotoBrowseButton"));
  FPicture = new TPicturePane;
  FPicture->setObjectName(QStringLiteral("Image"));
  FPicture->setMinimumSize(180, 180);
  FPicture->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);

  FMenu = new QMenu(owner);
  QMenu* rotate = FMenu->addMenu(QStringLiteral("回転(&R)"));
  FAngles = new QActionGroup(this);
  const char* captions[] = {"0度(&0)", "90度(&1)", "180度(&2)", "270度(&3)"};
  for (int i = 0; i < 4; ++i) {
    QAction* item = rotate->addAction(QString::fromUtf8(captions[i]));
    item->setCheckable(true);
    item->setData(kAngles[i]);
    FAngles->addAction(item);
    connect(item, &QAction::triggered, this, [this, angle = kAngles[i]] { SetRotation(angle); });
  }

  connect(FBrowse, &QPushButton::clicked, this, &TPhotoEditor::Browse);
  connect(FEdit, &QLineEdit::editingFinished, this, [this] {
    // Only a name the user changed takes the camera's turn again: merely passing through the
    // edit must not undo a turn chosen in the menu.
    if (!FEdit->isModified() || FEdit->isReadOnly()) return;
    FEdit->setModified(false);
    if (!FEdit->text().isEmpty()) ChoosePhoto(FEdit->text());
  });
  new TPictureEvents(
      FPicture,
      [this] {
        if (!FEdit->text().isEmpty()) QDesktopServices::openUrl(QUrl::fromLocalFile(FEdit->text()));
      },
      [this](QPoint at) {
        if (FEdit->isReadOnly()) return;
        UpdateMenu();
        FMenu->popup(at);
      });
}

void TPhotoEditor::ShowPhoto() {
  const std::string fileName = ToStdString(FEdit->text());
  if (fileName.empty()) {
    FPicture->Clear();
    return;
  }
  FPicture->LoadFile(fileName, FPhotoRotate);
}

void TPhotoEditor::ChoosePhoto(const QString& fileName) {
  FEdit->setText(fileName);
  if (fileName.isEmpty()) return;
  const std::string name = ToStdString(fileName);
  if (IsJpegFile(name)) FPhotoRotate = ExifOrientation(name);
  ShowPhoto();
}

void TPhotoEditor::SetRotation(int angle) {
  FPhotoRotate = angle;
  ShowPhoto();
}

void TPhotoEditor::UpdateMenu() {
  const bool image = IsImageFile(ToStdString(FEdit->text()));
  for (QAction* item : FAngles->actions()) item->setChecked(image && item->data().toInt() == FPhotoRotate);
}

void TPhotoEditor::Browse() {
  const QFileInfo current(FEdit->text());
  const QString chosen =
      QFileDialog::getOpenFileName(FOwner, QString(), FEdit->text().isEmpty() ? QString() : current.absoluteFilePath(),
                                   QStringLiteral("すべて (*.gif *.png *.jpg *.jpeg *.bmp *.ico)"));
  if (chosen.isEmpty()) return;
  ChoosePhoto(chosen);
}

TLinkEntryDialog::TLinkEntryDialog(QWidget* parent) : QDialog(parent) {
  FCategoryCombo = new QComboBox;
  FCategoryCombo->setObjectName(QStringLiteral("CategoryCombo"));
  FCategoryCombo->setEditable(true);
  FCategoryCombo->setMaxVisibleItems(15);
  FCategoryCombo->setInsertPolicy(QComboBox::NoInsert);
  FCategoryCombo->lineEdit()->setPlaceholderText(QStringLiteral("カテゴリ"));
  FMemo = new QPlainTextEdit;
  FMemo->setObjectName(QStringLiteral("Memo"));
  FPhoto = new TPhotoEditor(this);
  FOk = new QPushButton(QStringLiteral("OK"));
  FOk->setObjectName(QStringLiteral("OkButton"));
  FOk->setDefault(true);
  FCancel = new QPushButton(QStringLiteral("キャンセル"));
  FCancel->setObjectName(QStringLiteral("CancelButton"));
  connect(FOk, &QPushButton::clicked, this, &QDialog::accept);
  connect(FCancel, &QPushButton::clicked, this, &QDialog::reject);
}

QWidget* TLinkEntryDialog::ButtonRow() {
  auto* row = new QWidget;
  auto* layout = new QHBoxLayout(row);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addStretch(1);
  layout->addWidget(FOk);
  layout->addWidget(FCancel);
  return row;
}

void TLinkEntryDialog::Prepare() {
  FPrepared = true;
  FillControls();
  if (!FPhoto->Edit()->text().isEmpty()) FPhoto->ShowPhoto();
  if (FIsReadOnly) {
    ApplyReadOnly();
  } else {
    const QString text = FCategoryCombo->currentText();
    FCategoryCombo->clear();
    if (FCategoryList != nullptr) {
      for (const TCategoryData& entry : FCategoryList->Data()) {
        FCategoryCombo->addItem(ToQString(CategoryNames()[entry.Category]));
      }
    }
    // The text stays free: a thing may name several categories, separated by ";".
    FCategoryCombo->setEditText(text);
  }
}

void TLinkEntryDialog::ApplyReadOnly() {
  const QColor formColour = palette().color(QPalette::Window);
  for (QLineEdit* edit : findChildren<QLineEdit*>()) {
    if (edit->parent() != nullptr && qobject_cast<QComboBox*>(edit->parent()) != nullptr) continue;
    edit->setReadOnly(true);
    QPalette colours = edit->palette();
    colours.setColor(QPalette::Base, formColour);
    edit->setPalette(colours);
  }
  for (QPlainTextEdit* memo : findChildren<QPlainTextEdit*>()) {
    memo->setReadOnly(true);
    QPalette colours = memo->palette();
    colours.setColor(QPalette::Base, formColour);
    memo->setPalette(colours);
  }
  for (QPushButton* button : findChildren<QPushButton*>()) button->hide();
  for (QComboBox* combo : findChildren<QComboBox*>()) {
    combo->setEnabled(false);
    QPalette colours = combo->palette();
    colours.setColor(QPalette::Base, formColour);
    combo->setPalette(colours);
  }
  FCancel->setText(QStringLiteral("閉じる"));
  FCancel->show();
  FCancel->setDefault(true);
}

void TLinkEntryDialog::showEvent(QShowEvent* event) {
  if (!FPrepared) Prepare();
  QDialog::showEvent(event);
}

void TLinkEntryDialog::done(int result) {
  if (result == QDialog::Accepted) {
    if (FIsReadOnly) return;
    const QString message = CheckControls();
    if (!message.isEmpty()) {
      if (FErrorHandler) {
        FErrorHandler(message);
      } else {
        ShowErrorBox(this, message);
      }
      return;
    }
    WriteControls();
  }
  QDialog::done(result);
}

void TLinkEntryDialog::FillCategories(const std::string& category) { FCategoryCombo->setEditText(ToQString(category)); }

void TLinkEntryDialog::FillMemo(const std::vector<std::string>& lines) {
  QStringList text;
  for (const std::string& line : lines) text << ToQString(line);
  FMemo->setPlainText(text.join(QLatin1Char('\n')));
}

std::vector<std::string> TLinkEntryDialog::MemoLines() const {
  const QString text = FMemo->toPlainText();
  if (text.isEmpty()) return {};
  return SplitLines(ToStdString(text));
}

// --- TThingDialog ---

TThingDialog::TThingDialog(QWidget* parent) : TLinkEntryDialog(parent) {
  setWindowTitle(QStringLiteral("物設定"));
  FNameEdit = new QLineEdit;
  FNameEdit->setObjectName(QStringLiteral("NameEdit"));

  auto* form = new QFormLayout;
  form->addRow(QStringLiteral("名称(&N)"), FNameEdit);
  form->addRow(QStringLiteral("カテゴリ(&C)"), FCategoryCombo);
  form->addRow(QStringLiteral("メモ(&M)"), FMemo);
  auto* photoRow = new QHBoxLayout;
  photoRow->addWidget(FPhoto->Edit(), 1);
  photoRow->addWidget(FPhoto->BrowseButton());
  form->addRow(QStringLiteral("写真ファイル名(&F)"), photoRow);

  auto* body = new QHBoxLayout;
  body->addLayout(form, 3);
  body->addWidget(FPhoto->Picture(), 2);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addWidget(ButtonRow());
  resize(560, 300);
}

void TThingDialog::FillControls() {
  if (FThingLink == nullptr) return;
  FNameEdit->setText(ToQString(FThingLink->Name()));
  FillCategories(FThingLink->Category());
  FillMemo(FThingLink->Memo());
  FPhoto->Edit()->setText(ToQString(FThingLink->PhotoFileName()));
  FPhoto->SetPhotoRotate(FThingLink->PhotoRotate());
}

QString TThingDialog::CheckControls() const {
  if (FNameEdit->text().isEmpty()) return QStringLiteral("名称を入力してください");
  return {};
}

void TThingDialog::WriteControls() {
  if (FThingLink == nullptr) return;
  FThingLink->SetName(ToStdString(FNameEdit->text()));
  FThingLink->SetCategory(ToStdString(FCategoryCombo->currentText()));
  FThingLink->Memo() = MemoLines();
  FThingLink->SetPhotoFileName(ToStdString(FPhoto->Edit()->text()));
  FThingLink->SetPhotoRotate(FPhoto->PhotoRotate());
}

// --- TPersonDialog ---

namespace {

using TPersonGetter = const std::string& (TPersonLink::*)() const;
using TPersonSetter = void (TPersonLink::*)(const std::string&);

struct TPersonField {
  const char* Label;
  const char* Name;
  TPersonGetter Get;
  TPersonSetter Set;
  bool IsCompany;
};

const TPersonField kPersonFields[] = {
    {"姓(&L)", "LastNameEdit", &TPersonLink::LastName, &TPersonLink::SetLastName, false},
    {"名(&F)", "FirstNameEdit", &TPersonLink::FirstName, &TPersonLink::SetFirstName, false},
    {"郵便番号(&P)", "PostCodeEdit", &TPersonLink::PostCode, &TPersonLink::SetPostCode, false},
    {"住所(&A)", "AddressEdit", &TPersonLink::Address, &TPersonLink::SetAddress, false},
    {"電話番号(&T)", "TelEdit", &TPersonLink::Tel, &TPersonLink::SetTel, false},
    {"FAX(&X)", "FaxEdit", &TPersonLink::Fax, &TPersonLink::SetFax, false},
    {"メール(&M)", "MailAddressEdit", &TPersonLink::MailAddress, &TPersonLink::SetMailAddress, false},
    {"携帯(&K)", "CellPhoneNumberEdit", &TPersonLink::CellPhoneNumber, &TPersonLink::SetCellPhoneNumber, false},
    {"会社名(&L)", "CompanyNameEdit", &TPersonLink::CompanyName, &TPersonLink::SetCompanyName, true},
    {"部署名(&D)", "CompanyDepartmentEdit", &TPersonLink::CompanyDepartment, &TPersonLink::SetCompanyDepartment, true},
    {"郵便番号(&P)", "CompanyPostCodeEdit", &TPersonLink::CompanyPostCode, &TPersonLink::SetCompanyPostCode, true},
    {"住所(&A)", "CompanyAddressEdit", &TPersonLink::CompanyAddress, &TPersonLink::SetCompanyAddress, true},
    {"電話番号(&T)", "CompanyTelEdit", &TPersonLink::CompanyTel, &TPersonLink::SetCompanyTel, true},
    {"FAX(&F)", "CompanyFaxEdit", &TPersonLink::CompanyFax, &TPersonLink::SetCompanyFax, true},
    {"メール(&M)", "CompanyMailAddressEdit", &TPersonLink::CompanyMailAddress, &TPersonLink::SetCompanyMailAddress,
     true},
    {"携帯(&C)", "CompanyCellPhoneNumberEdit", &TPersonLink::CompanyCellPhoneNumber,
     &TPersonLink::SetCompanyCellPhoneNumber, true},
};

}  // namespace

TPersonDialog::TPersonDialog(QWidget* parent) : TLinkEntryDialog(parent) {
  setWindowTitle(QStringLiteral("人設定"));
  auto* pages = new QTabWidget;
  pages->setObjectName(QStringLiteral("PageControl"));

  auto* general = new QWidget;
  auto* generalForm = new QFormLayout(general);
  auto* company = new QWidget;
  auto* companyForm = new QFormLayout(company);
  for (const TPersonField& field : kPersonFields) {
    AddEdit(field.IsCompany ? companyForm : generalForm, field.Label, field.Name);
  }
  generalForm->addRow(QStringLiteral("メモ(&M)"), FMemo);
  generalForm->addRow(QStringLiteral("カテゴリ(&C)"), FCategoryCombo);

  auto* photo = new QWidget;
  auto* photoLayout = new QVBoxLayout(photo);
  auto* photoRow = new QHBoxLayout;
  photoRow->addWidget(new QLabel(QStringLiteral("写真ファイル名(&F)")));
  photoRow->addWidget(FPhoto->Edit(), 1);
  photoRow->addWidget(FPhoto->BrowseButton());
  photoLayout->addLayout(photoRow);
  photoLayout->addWidget(FPhoto->Picture(), 1);

  pages->addTab(general, QStringLiteral("一般"));
  pages->addTab(company, QStringLiteral("会社"));
  pages->addTab(photo, QStringLiteral("写真"));
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(pages, 1);
  layout->addWidget(ButtonRow());
  resize(420, 520);
}

QLineEdit* TPersonDialog::AddEdit(QFormLayout* form, const char* label, const char* name) {
  auto* edit = new QLineEdit;
  edit->setObjectName(QString::fromUtf8(name));
  form->addRow(QString::fromUtf8(label), edit);
  return edit;
}

void TPersonDialog::FillControls() {
  if (FPersonLink == nullptr) return;
  for (const TPersonField& field : kPersonFields) {
    findChild<QLineEdit*>(QString::fromUtf8(field.Name))->setText(ToQString((FPersonLink->*field.Get)()));
  }
  FillCategories(FPersonLink->Category());
  FillMemo(FPersonLink->Memo());
  FPhoto->Edit()->setText(ToQString(FPersonLink->PhotoFileName()));
  FPhoto->SetPhotoRotate(FPersonLink->PhotoRotate());
}

QString TPersonDialog::CheckControls() const {
  if (findChild<QLineEdit*>(QStringLiteral("LastNameEdit"))->text().isEmpty() &&
      findChild<QLineEdit*>(QStringLiteral("FirstNameEdit"))->text().isEmpty()) {
    return QStringLiteral("姓か名のどちらかを入力してください");
  }
  return {};
}

void TPersonDialog::WriteControls() {
  if (FPersonLink == nullptr) return;
  for (const TPersonField& field : kPersonFields) {
    (FPersonLink->*field.Set)(ToStdString(findChild<QLineEdit*>(QString::fromUtf8(field.Name))->text()));
  }
  FPersonLink->SetCategory(ToStdString(FCategoryCombo->currentText()));
  FPersonLink->Memo() = MemoLines();
  FPersonLink->SetPhotoFileName(ToStdString(FPhoto->Edit()->text()));
  FPersonLink->SetPhotoRotate(FPhoto->PhotoRotate());
}

}  // namespace hakuvo
