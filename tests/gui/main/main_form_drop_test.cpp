// Files dropped on the window, pasted routes, thumbnails of all links and the registration of
// files changed on disk.
#include <QApplication>
#include <QCheckBox>
#include <QClipboard>
#include <QDateEdit>
#include <QDockWidget>
#include <QDropEvent>
#include <QListWidget>
#include <QMenu>
#include <QMimeData>
#include <QPushButton>
#include <QTest>
#include <QUrl>

#include "core/datafile/diary.h"
#include "core/gps/scoped_time_zone.h"
#include "core/register/register_fixtures.h"
#include "gui/common/progress_dialog.h"
#include "gui/document/view_menu_items.h"
#include "gui/graph/multi_graph_form.h"
#include "gui/links/find_file_dialog.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "main_form_fixture.h"
#include "support/scoped_clock.h"
#include "support/screenshot.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

class MainFormDropTest : public MainFormTest {
 protected:
  ScopedTimeZone FZone{"UTC"};

  TMainForm& OpenOutings() {
    const fs::path diary = Dir / "drop.hkvj";
    WriteDiary(diary, TenOutings());
    TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
    form.ProgressShown = [this](TProgressDialog& dialog) {
      ++ProgressDialogs;
      EXPECT_TRUE(dialog.isVisible());
    };
    return form;
  }
  std::string Photo(const std::string& name, const std::string& shot) {
    return Folder.Write(name, PhotographBytes(shot));
  }
  int ProgressDialogs = 0;
};

TEST_F(MainFormDropTest, DroppedPhotographsBecomeOneOutingThatIsSelected) {
  TMainForm& form = OpenOutings();
  form.AppData().ChildWindowInfo.DropFileDialogJpeg = true;
  const QStringList files = {QString::fromStdString(Photo("a.jpg", "2024:05:13 08:00:00")),
                             QString::fromStdString(Photo("b.jpg", "2024:05:13 11:30:00")),
                             QString::fromStdString(Photo("c.jpg", "2024:05:13 09:15:00"))};
  // Through the window's own drop handling, as the desktop delivers files.
  QMimeData data;
  QList<QUrl> urls;
  for (const QString& file : files) urls << QUrl::fromLocalFile(file);
  data.setUrls(urls);
  QDragEnterEvent enter(QPoint(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDropEvent drop(QPointF(10, 10), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(&form, &drop);

  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  EXPECT_EQ(ProgressDialogs, 1);
  ASSERT_EQ(form.ListModel()->RowCount(), 11);
  const QList<int> selected = form.ListView()->SelectedRows();
  ASSERT_EQ(selected.size(), 1);
  const TActData* act = form.ListModel()->Act(selected[0]);
  EXPECT_EQ(act->Title, "a.jpg");
  EXPECT_EQ(act->LinkDataList.Count(), 3);
  EXPECT_EQ(form.ListModel()->Text(selected[0], 1), QStringLiteral("08:00"));
  EXPECT_EQ(form.ListModel()->Text(selected[0], 2), QStringLiteral("11:30"));
  EXPECT_TRUE(form.IsChange());
  EXPECT_TRUE(form.AppData().ChildWindowInfo.DropFileDialogOneAct);

  // A second drop the same day joins that outing.
  form.DropFilesCommand({QString::fromStdString(Photo("d.jpg", "2024:05:13 12:00:00"))});
  EXPECT_EQ(form.ListModel()->RowCount(), 11);
  EXPECT_EQ(act->LinkDataList.Count(), 4);
}

// A drop brings the day, month and year graphs back to the mode's category, and the saved
// diary keeps that: the windows' older choices must not be written back over it.
TEST_F(MainFormDropTest, ADropSendsTheGraphsBackToTheModesCategoryForGood) {
  TMainForm& form = OpenOutings();
  form.AppData().ChildWindowInfo.DropFileDialogJpeg = true;
  const char* const periods[] = {"GraphForm", "MonthGraphForm", "YearGraphForm"};
  const auto graph = [&](const char* name) {
    return dynamic_cast<TGraphForm*>(form.Docks().Form(QString::fromUtf8(name)));
  };
  for (const char* name : periods) graph(name)->SetCategory(QStringLiteral("ウォーキング"));
  auto* twoData = dynamic_cast<TMultiGraphForm*>(graph("MultiGraphForm"));
  ASSERT_NE(twoData, nullptr);
  twoData->SetCategory2(QStringLiteral("自転車"));

  form.DropFilesCommand({QString::fromStdString(Photo("a.jpg", "2024:05:13 08:00:00"))});
  Settle();
  ASSERT_EQ(form.ListModel()->RowCount(), 11);
  for (const char* name : periods) EXPECT_EQ(graph(name)->Category(), QStringLiteral("ジョギング")) << name;
  // The two-data graph's pairing is the user's own and stays.
  EXPECT_EQ(twoData->Category2(), QStringLiteral("自転車"));

  const fs::path saved = Dir / "dropped.hkvj";
  ASSERT_TRUE(form.SaveToFile(saved.string()));
  TDiary diary(saved.string());
  diary.Load();
  EXPECT_EQ(diary.File.DayGraphCategory(), "ジョギング");
  EXPECT_EQ(diary.File.MonthGraphCategory(), "ジョギング");
  EXPECT_EQ(diary.File.YearGraphCategory(), "ジョギング");
  EXPECT_EQ(diary.File.MultiDayGraphCategory2(), "自転車");
}

TEST_F(MainFormDropTest, FilesDroppedOnTheListsRowsStillBecomeAnOuting) {
  TMainForm& form = OpenOutings();
  QMimeData data;
  data.setUrls({QUrl::fromLocalFile(QString::fromStdString(Photo("a.jpg", "2024:05:20 08:00:00")))});
  // The list takes drags of links onto its rows; files go on to the window wherever they land.
  QWidget* viewport = form.ListView()->viewport();
  const QPoint onRow = form.ListView()->visualRect(form.ListModel()->index(3, 0)).center();
  QDragEnterEvent enter(onRow, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &enter);
  EXPECT_TRUE(enter.isAccepted());
  QDragMoveEvent move(onRow, Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &move);
  QDropEvent drop(QPointF(onRow), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
  QApplication::sendEvent(viewport, &drop);
  EXPECT_TRUE(drop.isAccepted());
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  ASSERT_EQ(form.ListModel()->RowCount(), 11);
  EXPECT_EQ(form.ListModel()->Act(form.ListView()->FirstSelectedRow())->Title, "a.jpg");
  EXPECT_TRUE(form.IsChange());
}

TEST_F(MainFormDropTest, StopKeepsWhatWasDroppedAndAFailedTrackIsReported) {
  TMainForm& form = OpenOutings();
  form.AppData().ChildWindowInfo.DropFileDialogJpeg = true;
  form.ProgressShown = [](TProgressDialog& dialog) { dialog.ProcessEvents = [&dialog] { dialog.StopBtn()->click(); }; };
  form.DropFilesCommand({QString::fromStdString(Photo("a.jpg", "2024:06:01 08:00:00")),
                         QString::fromStdString(Photo("b.jpg", "2024:06:02 08:00:00"))});
  EXPECT_EQ(form.ListModel()->RowCount(), 11);
  EXPECT_TRUE(form.IsChange());

  form.ProgressShown = nullptr;
  form.SetIsChange(false);
  const std::string broken = Folder.Write("broken.gpx", "<gpx>");
  form.DropFilesCommand({QString::fromStdString(Photo("c.jpg", "2024:06:05 08:00:00")), QString::fromStdString(broken),
                         QString::fromStdString(Folder.Path("missing.jpg"))});
  ASSERT_EQ(Errors.size(), 1);
  // The photograph before the track is in the list and the diary is marked as changed.
  EXPECT_EQ(form.ListModel()->RowCount(), 12);
  EXPECT_TRUE(form.IsChange());
}

// A track and two photographs of one morning, chosen in the import dialog or copied in a file
// manager, become one outing as a drop makes it: the track gives its times and distance.
TEST_F(MainFormDropTest, FilesImportedFromTheDialogOrPastedAsAFileListBecomeAnOuting) {
  const std::vector<TrackPoint> walk = {{35.60, 139.70, "2024-05-20T07:00:00Z"},
                                        {35.61, 139.70, "2024-05-20T07:20:00Z"},
                                        {35.62, 139.70, "2024-05-20T07:40:00Z"}};
  const QStringList files = {QString::fromStdString(Folder.Write("morning.gpx", GpxBytes(walk))),
                             QString::fromStdString(Photo("a.jpg", "2024:05:20 07:10:00")),
                             QString::fromStdString(Photo("b.jpg", "2024:05:20 07:30:00"))};
  for (const bool pasted : {false, true}) {
    SCOPED_TRACE(pasted ? "pasted" : "import dialog");
    TMainForm& form = OpenOutings();
    form.AppData().ChildWindowInfo.DropFileDialogJpeg = true;
    form.AppData().ChildWindowInfo.DropFileDialogGps = true;
    if (pasted) {
      auto* data = new QMimeData;
      QList<QUrl> urls;
      for (const QString& file : files) urls << QUrl::fromLocalFile(file);
      data->setUrls(urls);
      QGuiApplication::clipboard()->setMimeData(data);
      QTest::keyClick(form.ListView(), Qt::Key_V, Qt::ControlModifier);
    } else {
      // Cancelled, the dialog changes nothing.
      form.ImportFilesAction()->trigger();
      EXPECT_EQ(form.ListModel()->RowCount(), 10);
      EXPECT_FALSE(form.IsChange());
      OpenManyAnswers.push_back(files);
      form.ImportFilesAction()->trigger();
      ASSERT_EQ(FileDialogRequests.size(), 2u);
      EXPECT_EQ(FileDialogRequests.back().Caption, QStringLiteral("ファイルの取り込み"));
      EXPECT_TRUE(FileDialogRequests.back().Filter.contains(QStringLiteral("*.gpx")));
    }
    EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
    ASSERT_EQ(form.ListModel()->RowCount(), 11);
    const QList<int> selected = form.ListView()->SelectedRows();
    ASSERT_EQ(selected.size(), 1);
    const TActData* act = form.ListModel()->Act(selected[0]);
    ASSERT_EQ(act->LinkDataList.Count(), 3);
    EXPECT_NE(dynamic_cast<const TGpsFileLink*>(act->LinkDataList[0]), nullptr);
    EXPECT_NE(dynamic_cast<const TImageFileLink*>(act->LinkDataList[1]), nullptr);
    EXPECT_EQ(form.ListModel()->Text(selected[0], 1), QStringLiteral("07:00"));
    EXPECT_EQ(form.ListModel()->Text(selected[0], 2), QStringLiteral("07:40"));
    EXPECT_EQ(form.ListModel()->Text(selected[0], 4), QStringLiteral("2.2"));
    EXPECT_TRUE(form.IsChange());
    if (!pasted) {
      // What a new user then sees: the link window and the map turned on from the View menu.
      form.ViewItems().SetShowAll(true);
      form.ViewItems().FormAction(QStringLiteral("LinkForm"))->trigger();
      form.ViewItems().FormAction(QStringLiteral("GoogleMapForm"))->trigger();
      form.SelectRow(selected[0]);
      for (int i = 0; i < 40; ++i) QTest::qWait(50);
      std::vector<QWidget*> shown{&form};
      for (TDockingForm* window : form.DockingFormList()) {
        if (form.Docks().IsFormShown(window) && form.Docks().Site(window) == dsFloating) {
          shown.push_back(form.Docks().Host(window));
        }
      }
      SaveDesktopScreenshot(shown, QStringLiteral("imported_outing"));
    }
    form.SetIsChange(false);
    DestroyForm();
    FileDialogRequests.clear();
  }
}

TEST_F(MainFormDropTest, TheImportCommandStandsInTheFileMenuBeforeTheRecentFiles) {
  TMainForm& form = OpenOutings();
  QStringList texts;
  for (const QAction* item : form.FileMenu()->actions()) texts << (item->isSeparator() ? "-" : item->text());
  const qsizetype import = texts.indexOf(QStringLiteral("ファイルの取り込み(&I)..."));
  ASSERT_GT(import, 0);
  EXPECT_EQ(texts.at(import - 1), "-");
  EXPECT_EQ(texts.at(import + 1), QStringLiteral("更新されたファイルを登録(&F)..."));
  EXPECT_TRUE(texts.at(import + 2) == "-") << "the recent files follow after a separator";
  EXPECT_EQ(texts.last(), QStringLiteral("終了(&X)"));
  EXPECT_TRUE(form.ImportFilesAction()->isVisible());
  EXPECT_FALSE(form.RegisterUpdatedFilesAction()->isVisible()) << "an extended command";
  form.ViewItems().SetShowAll(true);
  EXPECT_TRUE(form.RegisterUpdatedFilesAction()->isVisible());
}

// A route with one change of trains, as the route-search page copies it.
const char* const kRoute =
    "\r\n駅探 乗換案内\r\n検索条件：2024年5月7日 10:00出発\r\n●東京\r\n｜　　10:00発\r\n"
    "｜　　　　ＪＲ山手線[160円] 4番線\r\n｜　　10:10着\r\n○品川\r\n｜　　10:15発\r\n"
    "｜　　　　京急本線[300円]\r\n｜　　10:40着\r\n●横浜\r\n";

TEST_F(MainFormDropTest, APastedRouteAddsTwoRidesAndAnyOtherTextNothing) {
  TMainForm& form = OpenOutings();
  QGuiApplication::clipboard()->setText(QStringLiteral("東京 品川 横浜"));
  QTest::keyClick(form.ListView(), Qt::Key_V, Qt::ControlModifier);
  EXPECT_EQ(form.ListModel()->RowCount(), 10);
  EXPECT_FALSE(form.IsChange());

  QGuiApplication::clipboard()->setText(QString::fromUtf8(kRoute));
  QTest::keyClick(form.ListView(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(form.ListModel()->RowCount(), 12);
  EXPECT_TRUE(form.IsChange());
  const TDayData* day = form.DayDataList().FindDate(EncodeDate(2024, 5, 7));
  ASSERT_NE(day, nullptr);
  ASSERT_EQ(day->ActDataList.Count(), 3);
  EXPECT_EQ(day->ActDataList[1]->Title, "東京 － 品川");
  EXPECT_EQ(day->ActDataList[2]->Title, "品川 － 横浜");
  EXPECT_EQ(day->ActDataList[2]->Category, ctVehicle);

  // A route on a day the diary does not have yet takes that day's place in date order.
  QGuiApplication::clipboard()->setText(
      QString::fromUtf8(kRoute).replace(QStringLiteral("2024年5月7日"), QStringLiteral("2024年4月30日")));
  QTest::keyClick(form.ListView(), Qt::Key_V, Qt::ControlModifier);
  ASSERT_EQ(form.ListModel()->RowCount(), 14);
  EXPECT_EQ(form.DayDataList()[0]->DateData, EncodeDate(2024, 4, 30));
  EXPECT_EQ(form.ListModel()->Text(0, 0), QStringLiteral("2024/04/30"));
  EXPECT_EQ(form.ListModel()->Act(1)->Title, "品川 － 横浜");
}

TEST_F(MainFormDropTest, CtrlF10TwiceMakesTheThumbnailsThenDeletesThem) {
  TMainForm& form = OpenOutings();
  form.AppData().ThumbnailFolder = (Dir / "thumbs").string();
  auto link = std::make_unique<TImageFileLink>();
  link->FileName = std::string(HAKUVO_TESTDATA_DIR) + "/photos/Canon_40D.jpg";
  auto* image = static_cast<TImageFileLink*>(form.FileList().Add(std::move(link)));
  form.DayDataList()[0]->ActDataList[0]->LinkDataList.Add(image);

  // Cancel does nothing.
  Answers = {QMessageBox::Cancel};
  QTest::keyClick(form.ListView(), Qt::Key_F10, Qt::ControlModifier);
  EXPECT_FALSE(form.AppData().IsMakeThumbnail);
  EXPECT_TRUE(image->ViewFileName.empty());

  Answers = {QMessageBox::Ok};
  QTest::keyClick(form.ListView(), Qt::Key_F10, Qt::ControlModifier);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  EXPECT_TRUE(form.AppData().IsMakeThumbnail);
  EXPECT_TRUE(form.MakeThumbnailsAction()->isChecked());
  ASSERT_FALSE(image->ViewFileName.empty());
  const std::string made = image->ViewFileName;
  EXPECT_TRUE(fs::exists(made));
  EXPECT_TRUE(form.IsChange());

  Answers = {QMessageBox::Ok};
  // The window has the keyboard again once the progress dialog has gone.
  EXPECT_TRUE(QTest::qWaitForWindowActive(&form));
  QTest::keyClick(form.ListView(), Qt::Key_F10, Qt::ControlModifier);
  EXPECT_FALSE(form.AppData().IsMakeThumbnail);
  EXPECT_FALSE(form.MakeThumbnailsAction()->isChecked());
  EXPECT_FALSE(fs::exists(made));
  EXPECT_TRUE(image->ViewFileName.empty());
  EXPECT_EQ(Questions,
            (QStringList{QStringLiteral("リンクの縮小ファイルを作成します\r\nファイル数によっては時間がかかります"),
                         QStringLiteral("リンクの縮小ファイルを作成します\r\nファイル数によっては時間がかかります"),
                         QStringLiteral("縮小ファイルを削除します")}));
  EXPECT_EQ(ProgressDialogs, 2);
}

TEST_F(MainFormDropTest, UpdatedFilesAreRegisteredWithTheRememberedChoices) {
  const TScopedClock clock(EncodeDateTime(2024, 5, 20, 12, 0, 0));
  TMainForm& form = OpenOutings();
  const fs::path photos = Dir / "photos";
  fs::create_directories(photos / "sub");
  for (const char* name : {"IMG_0001.JPG", "sub/IMG_0002.jpg", "notes.txt"}) {
    const std::string path = Folder.Write(std::string("photos/") + name, "x");
    SetModified(path, EncodeDateTime(2024, 5, 12, 9, 0, 0));
  }
  form.AppData().ChildWindowInfo.FileLinkSearchFolderList = {photos.string()};
  form.AppData().ChildWindowInfo.FileLinkSearchFileNameList = {"*.jpg", "IMG*"};
  RunDialog = [](QDialog& dialog) {
    auto* find = dynamic_cast<TAddActionFindFileDialog*>(&dialog);
    EXPECT_NE(find, nullptr);
    if (find == nullptr) return int(QDialog::Rejected);
    EXPECT_EQ(find->Folders().size(), 1u);
    EXPECT_EQ(find->StartDatePicker()->date(), QDate(2024, 5, 20));
    find->StartDatePicker()->setDate(QDate(2024, 5, 31));
    find->EndDatePicker()->setDate(QDate(2024, 5, 10));
    find->SubFolderCheck()->setChecked(true);
    find->OneActCheck()->setChecked(true);
    find->accept();
    return find->result();
  };
  form.RegisterUpdatedFilesAction()->trigger();
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
  ASSERT_EQ(form.ListModel()->RowCount(), 11);
  const TDayData* day = form.DayDataList().FindDate(EncodeDate(2024, 5, 12));
  ASSERT_NE(day, nullptr);
  const TActData& act = *day->ActDataList[0];
  EXPECT_EQ(act.Category, ctFile);
  EXPECT_EQ(act.Title, "IMG_0001.JPG");
  EXPECT_EQ(act.LinkDataList.Count(), 2);
  EXPECT_EQ(act.RecordData->Data(), 2);
  EXPECT_TRUE(form.IsChange());
  EXPECT_TRUE(form.AppData().ChildWindowInfo.IsFileLinkSearchSubFolder);
  EXPECT_TRUE(form.AppData().ChildWindowInfo.IsFileLinkSearchOneAct);
  EXPECT_EQ(form.CurrentCategory(), CategoryNames()[ctFile]);
}

}  // namespace
}  // namespace hakuvo::test
