// Adding and editing outings through the record dialog factory.
#include <QCheckBox>
#include <QDateEdit>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTreeWidget>
#include <optional>

#include "gui/links/gps_route_pos_dialog.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/record/record_dialog_link_list.h"
#include "gui/record/record_dialogs.h"
#include "main_form_fixture.h"
#include "support/scoped_clock.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

// The fields of a date dialog the tests fill in.
struct TEntry {
  std::optional<QDate> Date;
  QString Title;
  QString Start = QStringLiteral("09:00");
  QString End = QStringLiteral("10:30");
  QString Km = QStringLiteral("12");
  QString Weight = QStringLiteral("61.5");
};

class MainFormActsTest : public MainFormTest {
 protected:
  TMainForm& OpenOutings() {
    const fs::path diary = Dir / "acts.hkvj";
    WriteDiary(diary, TenOutings());
    return MakeForm({QString::fromStdString(diary.string())});
  }
  // Fills the mode's date dialog and presses OK, remembering what it showed first.
  void AnswerWith(const TEntry& entry) {
    RunDialog = [this, entry](QDialog& dialog) {
      auto* record = dynamic_cast<TDateEnergyConsumptionRecordDialog*>(&dialog);
      EXPECT_NE(record, nullptr);
      if (record == nullptr) return int(QDialog::Rejected);
      record->SetErrorHandler([this](const QString& message) { Errors << message; });
      ShownDate = record->DateTimePicker()->date();
      ShownWeight = record->WeightEdit()->text();
      ShownTitle = record->TitleEdit()->text();
      if (entry.Date) record->DateTimePicker()->setDate(*entry.Date);
      record->TitleEdit()->setText(entry.Title);
      record->TimeEdit()->setText(entry.Start);
      record->EndTimeEdit()->setText(entry.End);
      record->RecordEdit()->setText(entry.Km);
      record->WeightEdit()->setText(entry.Weight);
      dialog.accept();
      return dialog.result();
    };
  }

  QDate ShownDate;
  QString ShownWeight;
  QString ShownTitle;
};

TEST_F(MainFormActsTest, AddingFilesTheOutingUnderItsDayAndSelectsIt) {
  const TScopedClock clock(EncodeDateTime(2024, 5, 20, 12, 0, 0));
  TMainForm& form = OpenOutings();
  form.AppData().Weight = 63.5L;
  AnswerWith({QDate(2024, 5, 4), QStringLiteral("added")});
  form.AddActCommand();
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  // The dialog opened on today with the last weight.
  EXPECT_EQ(ShownDate, QDate(2024, 5, 20));
  EXPECT_EQ(ShownWeight, QStringLiteral("63.5"));
  ASSERT_EQ(form.ListModel()->RowCount(), 11);
  EXPECT_EQ(form.DayDataList().Count(), 10);  // an existing day
  // Later on the day than the outing already there.
  const QList<int> selected = form.ListView()->SelectedRows();
  ASSERT_EQ(selected, QList<int>{4});
  const TActListModel& model = *form.ListModel();
  EXPECT_EQ(model.Text(4, 0), QStringLiteral("2024/05/04"));
  EXPECT_EQ(model.Text(4, 1), QStringLiteral("09:00"));
  EXPECT_EQ(model.Text(4, 2), QStringLiteral("10:30"));
  EXPECT_EQ(model.Text(4, 3), QStringLiteral("added"));
  EXPECT_EQ(model.Text(4, 4), QStringLiteral("12"));
  EXPECT_EQ(model.Text(4, 5), QStringLiteral("8.0"));
  EXPECT_EQ(model.Text(3, 3), QStringLiteral("run 3"));
  const TActData* act = model.Act(4);
  EXPECT_EQ(act->Category, ctJogging);
  EXPECT_EQ(act->RecordData->Tani, form.CategoryInfoList().GetCategoryItems(ctJogging)->Tani);
  EXPECT_EQ(form.AppData().Weight, 61.5L);
  EXPECT_TRUE(form.IsChange());

  // A date without a day makes one.
  AnswerWith({QDate(2024, 6, 1), QStringLiteral("june")});
  form.AddActCommand();
  EXPECT_EQ(form.DayDataList().Count(), 11);
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{11});
  EXPECT_EQ(form.ListModel()->Text(11, 3), QStringLiteral("june"));
}

TEST_F(MainFormActsTest, AutomaticThumbnailsAreMadeOnAddAndGoWithTheOuting) {
  TMainForm& form = OpenOutings();
  form.AppData().IsMakeThumbnail = true;
  form.AppData().ThumbnailFolder = (Dir / "thumbs").string();
  const QString track = QStringLiteral(HAKUVO_TESTDATA_DIR "/tracks/bike_gpx.gpx");
  const QString photo = QStringLiteral(HAKUVO_TESTDATA_DIR "/photos/Canon_40D.jpg");
  AnswerWith({QDate(2024, 5, 11), QStringLiteral("linked")});
  const std::function<int(QDialog&)> fill = RunDialog;
  RunDialog = [&](QDialog& dialog) {
    static_cast<TRecordDialog&>(dialog).AddFiles({track, photo});
    return fill(dialog);
  };
  form.AddActCommand();
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  const TActData* act = form.ListModel()->Act(10);
  ASSERT_NE(act, nullptr);
  ASSERT_EQ(act->LinkDataList.Count(), 2);
  EXPECT_EQ(form.FileList().Count(), 2);
  std::vector<std::string> viewFiles;
  for (TLinkData* link : act->LinkDataList) {
    const auto* file = dynamic_cast<const TViewFileLink*>(link);
    ASSERT_NE(file, nullptr);
    EXPECT_EQ(fs::path(file->ViewFileName).parent_path(), Dir / "thumbs");
    EXPECT_TRUE(fs::exists(file->ViewFileName)) << file->ViewFileName;
    viewFiles.push_back(file->ViewFileName);
  }
  // Deleting the outing deletes its thumbnail and its track cache.
  form.SelectRow(10);
  form.DeleteActCommand();
  for (const std::string& name : viewFiles) EXPECT_FALSE(fs::exists(name)) << name;
}

// The record dialog edits the diary's own track link: a range set there is a change of the diary
// even when the outing's dialog is cancelled, and the map and speed graph hear of it.
TEST_F(MainFormActsTest, ARouteRangeSetInTheRecordDialogReachesTheWindows) {
  TMainForm& form = OpenOutings();
  const QString track = QStringLiteral(HAKUVO_TESTDATA_DIR "/tracks/bike_gpx.gpx");
  AnswerWith({QDate(2024, 5, 11), QStringLiteral("linked")});
  const std::function<int(QDialog&)> fill = RunDialog;
  RunDialog = [&](QDialog& dialog) {
    static_cast<TRecordDialog&>(dialog).AddFiles({track});
    return fill(dialog);
  };
  form.AddActCommand();
  ASSERT_TRUE(form.SaveToFile((Dir / "ranged.hkvj").string()));
  ASSERT_FALSE(form.IsChange());
  Settle();
  QSignalSpy ranges(&form.Document(), &TDiaryDocument::GpsRangeChanged);
  RunDialog = [](QDialog& dialog) {
    if (auto* range = dynamic_cast<TGpsRoutePosDialog*>(&dialog)) {
      range->Prepare();
      range->RangeCheckBox()->setChecked(true);
      range->done(QDialog::Accepted);
      return int(QDialog::Accepted);
    }
    auto& record = static_cast<TRecordDialog&>(dialog);
    record.show();
    Settle();
    if (record.LinkList()->topLevelItemCount() != 1) {
      ADD_FAILURE() << "the outing's track is not in the dialog";
      return int(QDialog::Rejected);
    }
    record.LinkList()->setCurrentItem(record.LinkList()->topLevelItem(0));
    record.LinkList()->topLevelItem(0)->setSelected(true);
    record.GpsRouteRangeCommand();
    return int(QDialog::Rejected);
  };
  form.SelectRow(10);
  form.EditActCommand();
  Settle();
  EXPECT_EQ(ranges.count(), 1);
  EXPECT_TRUE(form.IsChange());
}

TEST_F(MainFormActsTest, CancelledDialogChangesNothing) {
  TMainForm& form = OpenOutings();
  form.AddActCommand();  // the fixture cancels every dialog
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  EXPECT_FALSE(form.IsChange());
  form.SelectRow(2);
  form.EditActCommand();
  EXPECT_EQ(form.ListModel()->Text(2, 3), QStringLiteral("run 2"));
  EXPECT_FALSE(form.IsChange());
}

TEST_F(MainFormActsTest, AddUsesTheDialogOfTheMode) {
  std::vector<TCategoryType> asked;
  // A factory of the test's own, to see which dialog the window asks for.
  TMainFormHooks hooks = Hooks();
  hooks.CreateRecordDialog = [&asked](QWidget* owner, TCategoryType category) {
    asked.push_back(category);
    return CreateRecordDialog(owner, category);
  };
  Form = std::make_unique<TMainForm>(QStringList{"-walking"}, ProgramFolder, hooks);
  Form->show();
  Settle();
  bool walkingDialog = false;
  RunDialog = [&](QDialog& dialog) {
    auto* walking = dynamic_cast<TDateWalkingRecordDialog*>(&dialog);
    walkingDialog = walking != nullptr;
    if (walking == nullptr) return int(QDialog::Rejected);
    walking->SetErrorHandler([this](const QString& message) { Errors << message; });
    walking->TitleEdit()->setText(QStringLiteral("walk"));
    walking->TimeEdit()->setText(QStringLiteral("07:00"));
    walking->EndTimeEdit()->setText(QStringLiteral("08:00"));
    walking->RecordEdit()->setText(QStringLiteral("4"));
    walking->WeightEdit()->setText(QStringLiteral("60"));
    walking->PedometerEdit()->setText(QStringLiteral("5400"));
    dialog.accept();
    return dialog.result();
  };
  Form->AddActCommand();
  EXPECT_EQ(asked, std::vector<TCategoryType>{ctWalking});
  EXPECT_TRUE(walkingDialog);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  ASSERT_EQ(Form->ListModel()->RowCount(), 1);
  const TActData* act = Form->ListModel()->Act(0);
  EXPECT_EQ(act->Category, ctWalking);
  ASSERT_NE(dynamic_cast<const TWalkingRecord*>(act->RecordData.get()), nullptr);
  EXPECT_EQ(static_cast<const TWalkingRecord&>(*act->RecordData).Pedometer, 5400);
  // The steps have no column.
  EXPECT_EQ(Form->ListModel()->columnCount(), 6);
}

TEST_F(MainFormActsTest, EditingADateUpdatesTheRowInPlace) {
  TMainForm& form = OpenOutings();
  form.SelectRow(2);
  AnswerWith({QDate(2024, 5, 20), QStringLiteral("moved")});
  form.EditActCommand();
  EXPECT_EQ(ShownDate, QDate(2024, 5, 3));  // the outing's own day
  EXPECT_EQ(ShownTitle, QStringLiteral("run 2"));
  const TActData* act = form.ListModel()->Act(2);
  EXPECT_EQ(form.ListModel()->Text(2, 0), QStringLiteral("2024/05/20"));
  EXPECT_EQ(form.ListModel()->Text(2, 3), QStringLiteral("moved"));
  ASSERT_NE(act->DayData, nullptr);
  EXPECT_EQ(act->DayData->DateData, EncodeDate(2024, 5, 20));
  // The old day stays, empty; the new one is last in the diary.
  EXPECT_EQ(form.DayDataList().Count(), 11);
  EXPECT_EQ(form.DayDataList()[2]->ActDataList.Count(), 0);
  EXPECT_TRUE(form.IsChange());
  // The next rebuild puts the row in date order.
  form.RebuildList();
  EXPECT_EQ(form.ListModel()->Act(9), act);
}

TEST_F(MainFormActsTest, EnterAndDoubleClickEdit) {
  TMainForm& form = OpenOutings();
  int shown = 0;
  RunDialog = [&shown](QDialog&) {
    ++shown;
    return int(QDialog::Rejected);
  };
  form.SelectRow(1);
  QTest::keyClick(form.ListView(), Qt::Key_Return);
  const QRect rect = form.ListView()->visualRect(form.ListModel()->index(1, 0));
  QTest::mouseDClick(form.ListView()->viewport(), Qt::LeftButton, {}, rect.center());
  EXPECT_EQ(shown, 2);
}

}  // namespace
}  // namespace hakuvo::test
