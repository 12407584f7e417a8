#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QtEndian>

#include <memory>

#include "core/model/act_data.h"
#include "core/model/category_info_list.h"
#include "core/model/day_data.h"
#include "core/model/link_data.h"
#include "gui/links/thing_dialog.h"
#include "gui/links/thing_list_set_dialog.h"
#include "gui/record/record_dialog_picture.h"
#include "links_test_support.h"

namespace hakuvo::test {
namespace {

// A JPEG photograph whose Exif data says the camera was held turned (orientation 6).
std::string SaveTurnedJpeg(const std::string& path, int width, int height) {
  SaveHalves(path, width, height, "JPEG");
  QFile file(QString::fromStdString(path));
  file.open(QIODevice::ReadOnly);
  QByteArray jpeg = file.readAll();
  file.close();
  // "Exif\0\0", a little-endian TIFF header and one IFD entry: Orientation (0x0112), SHORT, 6.
  QByteArray tiff("II*\0\x08\0\0\0", 8);
  tiff += QByteArray("\x01\0", 2);                               // one entry
  tiff += QByteArray("\x12\x01\x03\0\x01\0\0\0\x06\0\0\0", 12);  // the entry
  tiff += QByteArray(4, '\0');                                   // no next IFD
  const QByteArray body = QByteArray("Exif\0\0", 6) + tiff;
  QByteArray segment("\xFF\xE1", 2);
  QByteArray length(2, '\0');
  qToBigEndian<quint16>(static_cast<quint16>(body.size() + 2), length.data());
  segment += length + body;
  jpeg.insert(2, segment);
  file.open(QIODevice::WriteOnly | QIODevice::Truncate);
  file.write(jpeg);
  return path;
}

QLineEdit* Edit(QWidget& dialog, const char* name) { return dialog.findChild<QLineEdit*>(QString::fromUtf8(name)); }

class ThingDialogsTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApplication();
    Categories.Add({ctJogging});
    Categories.Add({ctWalking});
  }
  TTempFolder Folder;
  TCategoryList Categories;
};

TEST_F(ThingDialogsTest, AThingIsWrittenBackOnOkAndNeedsAName) {
  TThingLink thing;
  thing.SetName("シューズ");
  thing.Memo() = {"軽い", "赤"};
  TThingDialog dialog;
  QStringList errors;
  dialog.SetErrorHandler([&](const QString& message) { errors << message; });
  dialog.SetThingLink(&thing);
  dialog.SetCategoryList(&Categories);
  dialog.Prepare();
  auto* combo = dialog.findChild<QComboBox*>("CategoryCombo");
  ASSERT_EQ(combo->count(), 2);
  EXPECT_EQ(combo->itemText(0), "ジョギング");
  EXPECT_EQ(dialog.findChild<QPlainTextEdit*>("Memo")->toPlainText(), "軽い\n赤");

  Edit(dialog, "NameEdit")->clear();
  dialog.show();
  dialog.accept();
  EXPECT_EQ(errors, QStringList({"名称を入力してください"}));
  EXPECT_TRUE(dialog.isVisible());
  EXPECT_EQ(thing.Name(), "シューズ");

  Edit(dialog, "NameEdit")->setText("ランニングシューズ");
  // Several categories in the free text, as the selection dialog splits them.
  combo->setEditText("ジョギング;ウォーキング");
  dialog.findChild<QPlainTextEdit*>("Memo")->setPlainText("軽い\n青\n");
  dialog.accept();
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(thing.Name(), "ランニングシューズ");
  EXPECT_EQ(thing.Category(), "ジョギング;ウォーキング");
  EXPECT_EQ(thing.Memo(), (TStringList{"軽い", "青"}));
}

TEST_F(ThingDialogsTest, ACameraTurnedPhotographIsShownUprightAndStoredWithItsTurn) {
  TThingLink thing;
  thing.SetName("帽子");
  TThingDialog dialog;
  dialog.SetThingLink(&thing);
  dialog.Prepare();
  dialog.Photo()->ChoosePhoto(QString::fromStdString(SaveTurnedJpeg(Folder.Path("turned.jpg"), 160, 120)));
  EXPECT_EQ(dialog.PhotoRotate(), 90);
  EXPECT_EQ(dialog.Photo()->Picture()->Picture().size(), QSize(120, 160));
  // The menu checks the turn, and another choice turns it again.
  dialog.Photo()->UpdateMenu();
  dialog.Photo()->SetRotation(180);
  EXPECT_EQ(dialog.Photo()->Picture()->Picture().size(), QSize(160, 120));
  dialog.accept();
  EXPECT_EQ(thing.PhotoRotate(), 180);
  EXPECT_EQ(thing.PhotoFileName(), Folder.Path("turned.jpg"));
}

TEST_F(ThingDialogsTest, ReadOnlyDialogsOfferOnlyCloseAndChangeNothing) {
  TThingLink thing;
  thing.SetName("シューズ");
  TPersonLink person;
  person.SetLastName("山田");
  TThingDialog thingDialog;
  thingDialog.SetThingLink(&thing);
  TPersonDialog personDialog;
  personDialog.SetPersonLink(&person);
  for (TLinkEntryDialog* dialog :
       {static_cast<TLinkEntryDialog*>(&thingDialog), static_cast<TLinkEntryDialog*>(&personDialog)}) {
    SCOPED_TRACE(dialog->windowTitle().toStdString());
    dialog->SetIsReadOnly(true);
    dialog->SetCategoryList(&Categories);
    dialog->Prepare();
    QStringList shown;
    for (QPushButton* button : dialog->findChildren<QPushButton*>()) {
      if (button->isVisibleTo(dialog)) shown << button->text();
    }
    EXPECT_EQ(shown, QStringList({"閉じる"}));
    for (QLineEdit* edit : dialog->findChildren<QLineEdit*>()) {
      if (qobject_cast<QComboBox*>(edit->parent()) == nullptr) {
        EXPECT_TRUE(edit->isReadOnly()) << edit->objectName().toStdString();
      }
    }
    EXPECT_TRUE(dialog->findChild<QPlainTextEdit*>("Memo")->isReadOnly());
    EXPECT_FALSE(dialog->findChild<QComboBox*>("CategoryCombo")->isEnabled());
    EXPECT_EQ(dialog->findChild<QComboBox*>("CategoryCombo")->count(), 0);
  }
  // Even an accept from the keyboard writes nothing.
  Edit(thingDialog, "NameEdit")->setText("変更");
  thingDialog.accept();
  EXPECT_EQ(thing.Name(), "シューズ");
}

TEST_F(ThingDialogsTest, APersonNeedsALastOrAFirstNameAndKeepsWhatTheDialogDoesNotShow) {
  TPersonLink person;
  person.SetMailAddress2("second@example.jp");
  person.SetLatitude(35.5);
  TPersonDialog dialog;
  QStringList errors;
  dialog.SetErrorHandler([&](const QString& message) { errors << message; });
  dialog.SetPersonLink(&person);
  dialog.Prepare();
  dialog.accept();
  EXPECT_EQ(errors, QStringList({"姓か名のどちらかを入力してください"}));

  Edit(dialog, "FirstNameEdit")->setText("花子");
  Edit(dialog, "CompanyTelEdit")->setText("03-0000-0000");
  Edit(dialog, "CellPhoneNumberEdit")->setText("090-0000-0000");
  dialog.accept();
  EXPECT_EQ(errors.size(), 1);
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(person.Title(), "花子");
  EXPECT_EQ(person.CompanyTel(), "03-0000-0000");
  EXPECT_EQ(person.CellPhoneNumber(), "090-0000-0000");
  EXPECT_EQ(person.MailAddress2(), "second@example.jp");
  EXPECT_EQ(person.Latitude(), 35.5);
}

class ThingListSetTest : public ThingDialogsTest {
 protected:
  void SetUp() override {
    ThingDialogsTest::SetUp();
    for (const char* name : {"シューズ", "帽子", "時計"}) {
      auto thing = std::make_unique<TThingLink>();
      thing->SetName(name);
      Things.Add(std::move(thing));
    }
    auto day = std::make_unique<TDayData>();
    for (int i = 0; i < 2; ++i) {
      TActData* act = day->AddAct(CreateActData(ctJogging));
      act->LinkDataList.Add(Things.Items(0));
      act->LinkDataList.Add(Things.Items(1));
    }
    Days.Add(std::move(day));
  }
  static QStringList Titles(const TLinkDataList& list) {
    QStringList titles;
    for (const TLinkData* link : list) titles << QString::fromStdString(link->Title());
    return titles;
  }
  TActData* Act(int index) { return Days[0]->ActDataList[index]; }

  TLinkDataOwner Things;
  TDayDataList Days;
};

TEST_F(ThingListSetTest, CancelKeepsTheDeletedThingsAndDropsTheAddedOnes) {
  auto dialog = std::make_unique<TThingListSetDialog>();
  dialog->SetThingList(&Things.List());
  dialog->SetEditor([](TLinkEntryDialog& editor) {
    Edit(editor, "NameEdit")->setText("タオル");
    editor.accept();
    return editor.result() == QDialog::Accepted;
  });
  dialog->Prepare();
  dialog->ListBox()->setCurrentRow(0);
  dialog->DeleteCommand();
  dialog->ListBox()->setCurrentRow(0);
  dialog->DeleteCommand();
  dialog->AddCommand();
  EXPECT_EQ(Titles(dialog->TempThingList()), QStringList({"時計", "タオル"}));
  dialog->reject();
  dialog.reset();
  EXPECT_EQ(Titles(Things.List()), QStringList({"シューズ", "帽子", "時計"}));
  EXPECT_EQ(Act(0)->LinkDataList.Count(), 2);
}

TEST_F(ThingListSetTest, OkTakesADeletedThingOutOfEveryActionAndKeepsTheNewOrder) {
  TLinkData* shoes = Things.Items(0);
  TThingListSetDialog dialog;
  dialog.SetThingList(&Things.List());
  dialog.SetEditor([](TLinkEntryDialog& editor) {
    Edit(editor, "NameEdit")->setText("タオル");
    editor.accept();
    return true;
  });
  dialog.Prepare();
  dialog.ListBox()->setCurrentRow(0);
  dialog.DeleteCommand();
  dialog.AddCommand();
  dialog.ListBox()->setCurrentRow(2);
  dialog.MoveCommand(-1);
  dialog.MoveCommand(-1);
  dialog.MoveCommand(-1);  // already at the top
  EXPECT_EQ(dialog.ListBox()->currentRow(), 0);
  EXPECT_EQ(dialog.ListBox()->item(0)->text(), "タオル");
  dialog.Commit(Things, Days);
  EXPECT_EQ(Titles(Things.List()), QStringList({"タオル", "帽子", "時計"}));
  for (int i = 0; i < 2; ++i) {
    EXPECT_EQ(Act(i)->LinkDataList.IndexOf(shoes), -1);
    EXPECT_EQ(Titles(Act(i)->LinkDataList), QStringList({"帽子"}));
  }
}

TEST_F(ThingListSetTest, ThePersonListMakesAndEditsPersons) {
  TLinkDataOwner persons;
  TPersonListSetDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), "人リスト設定");
  dialog.SetThingList(&persons.List());
  QStringList editors;
  dialog.SetEditor([&](TLinkEntryDialog& editor) {
    editors << editor.windowTitle();
    Edit(editor, "FirstNameEdit")->setText("花子");
    editor.accept();
    return editor.result() == QDialog::Accepted;
  });
  dialog.Prepare();
  dialog.AddCommand();
  dialog.Commit(persons, Days);
  ASSERT_EQ(persons.Count(), 1);
  EXPECT_NE(dynamic_cast<TPersonLink*>(persons.Items(0)), nullptr);
  EXPECT_EQ(persons.Items(0)->Title(), "花子");
  EXPECT_EQ(editors, QStringList({"人設定"}));
}

}  // namespace
}  // namespace hakuvo::test
