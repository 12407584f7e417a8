#include <QAction>
#include <QDropEvent>
#include <QFile>
#include <QMenu>
#include <QMimeData>
#include <QUrl>

#include <algorithm>
#include <filesystem>

#include "core/model/act_data.h"
#include "gui/record/record_dialog_link_list.h"
#include "record_dialog_test_util.h"

namespace hakuvo::test {
namespace {

// A diary's file list with one photograph that the edited action links.
class RecordDialogLinks : public RecordDialogTest {
 protected:
  void SetUp() override {
    Photo = Files.Write("photo.jpg", "not really a picture");
    Thumbnail = Files.Write("thumb.jpg", "thumbnail bytes");
    auto link = std::make_unique<TImageFileLink>();
    link->FileName = Photo;
    link->ViewFileName = Thumbnail;
    Existing = static_cast<TImageFileLink*>(DiaryFiles.Add(std::move(link)));
    Act.LinkDataList.Add(Existing);
    Info = FullCategory();
  }

  void Open(TRecordDialog& dialog) {
    CollectErrors(dialog);
    dialog.SetCategoryInfo(*Info);
    dialog.SetFileList(DiaryFiles);
    dialog.SetActData(Act);
    dialog.SetLinkPanelVisible(true);
    ShowAndSettle(dialog);
  }

  static QStringList RowTitles(const TRecordDialog& dialog) {
    QStringList titles;
    for (int i = 0; i < dialog.LinkList()->topLevelItemCount(); ++i)
      titles << dialog.LinkList()->topLevelItem(i)->text(0);
    return titles;
  }

  static void SelectRow(TRecordDialog& dialog, int row) {
    dialog.LinkList()->clearSelection();
    dialog.LinkList()->setCurrentItem(dialog.LinkList()->topLevelItem(row));
    dialog.LinkList()->topLevelItem(row)->setSelected(true);
  }

  TTempFolder Files;
  std::string Photo;
  std::string Thumbnail;
  TLinkDataOwner DiaryFiles;
  TImageFileLink* Existing = nullptr;
  TActData Act;
  std::unique_ptr<TCategoryInfo> Info;
};

TEST_F(RecordDialogLinks, CancelAfterAddingThreeFilesLeavesTheDiaryAsItWas) {
  const QStringList added = {QString::fromStdString(Files.Write("a.txt", "a")),
                             QString::fromStdString(Files.Write("b.gpx", "<gpx/>")),
                             QString::fromStdString(Files.Write("c.png", "c"))};
  TRecordDialog dialog;
  Open(dialog);
  dialog.AddFiles(added);

  EXPECT_EQ(dialog.LinkList()->topLevelItemCount(), 4);
  EXPECT_EQ(RowTitles(dialog), QStringList({"photo.jpg", "a.txt", "b.gpx", "c.png"}));
  EXPECT_EQ(dialog.LinkList()->topLevelItem(1)->text(1), QStringLiteral("ファイル"));
  EXPECT_EQ(dialog.AddFileList().Count(), 3);
  EXPECT_EQ(dialog.FileList().Count(), 4);
  // The last new row is the selected one.
  EXPECT_EQ(dialog.LinkList()->SelectedRows(), QList<int>{3});
  EXPECT_NE(dynamic_cast<TGpsFileLink*>(dialog.LinkList()->RowLink(2)), nullptr);
  // The diary is untouched while the dialog is open.
  EXPECT_EQ(DiaryFiles.Count(), 1);
  EXPECT_EQ(Act.LinkDataList.Count(), 1);

  dialog.reject();
  EXPECT_EQ(DiaryFiles.Count(), 1);
  EXPECT_EQ(DiaryFiles.Items(0), Existing);
  EXPECT_EQ(dialog.AddFileList().Count(), 0);
  EXPECT_EQ(Act.LinkDataList.Data(), std::vector<TLinkData*>{Existing});
  EXPECT_TRUE(std::filesystem::exists(Thumbnail));
}

TEST_F(RecordDialogLinks, OkHandsTheNewLinksToTheDiaryInTheOrderOfTheEditedList) {
  TRecordDialog dialog;
  Open(dialog);
  dialog.AddFiles({QString::fromStdString(Files.Write("track.kml", "<kml/>")),
                   QString::fromStdString(Files.Write("note.txt", "n"))});
  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted) << Errors.join(QStringLiteral(" / ")).toStdString();

  ASSERT_EQ(DiaryFiles.Count(), 3);
  EXPECT_EQ(DiaryFiles.Items(0), Existing);
  EXPECT_EQ(dynamic_cast<TFileLink*>(DiaryFiles.Items(1))->Name(), "track.kml");
  EXPECT_EQ(dynamic_cast<TFileLink*>(DiaryFiles.Items(2))->Name(), "note.txt");
  EXPECT_EQ(dialog.ActData().LinkDataList.Data(), DiaryFiles.List().Data());
}

TEST_F(RecordDialogLinks, OkAfterDeletingAPhotographDeletesItsThumbnailButNotThePhotograph) {
  TRecordDialog dialog;
  Open(dialog);
  SelectRow(dialog, 0);
  dialog.DeleteSelectedLinks();
  EXPECT_EQ(dialog.LinkList()->topLevelItemCount(), 0);
  EXPECT_EQ(dialog.DeleteFileList().Count(), 1);
  EXPECT_EQ(dialog.FileList().Count(), 0);
  EXPECT_TRUE(std::filesystem::exists(Thumbnail));  // nothing happens before OK

  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_FALSE(std::filesystem::exists(Thumbnail));
  EXPECT_TRUE(std::filesystem::exists(Photo));
  EXPECT_EQ(DiaryFiles.Count(), 0);
  EXPECT_EQ(dialog.ActData().LinkDataList.Count(), 0);
}

TEST_F(RecordDialogLinks, DeletingThingsOnlyUnlinksThem) {
  TThingLink shoes;
  shoes.SetName("シューズ");
  Act.LinkDataList.Add(&shoes);
  TRecordDialog dialog;
  Open(dialog);
  EXPECT_EQ(dialog.LinkList()->topLevelItem(1)->text(1), QStringLiteral("物"));
  SelectRow(dialog, 1);
  dialog.DeleteSelectedLinks();
  EXPECT_EQ(dialog.DeleteFileList().Count(), 0);
  EXPECT_EQ(dialog.FileList().Count(), 1);
  dialog.accept();
  EXPECT_EQ(dialog.ActData().LinkDataList.Data(), std::vector<TLinkData*>{Existing});
  EXPECT_EQ(DiaryFiles.Count(), 1);
}

TEST_F(RecordDialogLinks, ReplacingAFileLinkByTheSameNameChangesNothingAndByAnotherSwapsTheLink) {
  TRecordDialog dialog;
  Open(dialog);
  dialog.ReplaceFileLink(*Existing, Photo);
  EXPECT_EQ(dialog.AddFileList().Count(), 0);
  EXPECT_EQ(dialog.DeleteFileList().Count(), 0);

  const std::string other = Files.Write("other.jpg", "x");
  dialog.ReplaceFileLink(*Existing, other);
  EXPECT_EQ(RowTitles(dialog), QStringList{QStringLiteral("other.jpg")});
  EXPECT_EQ(dialog.DeleteFileList().Data(), std::vector<TLinkData*>{Existing});
  ASSERT_EQ(dialog.AddFileList().Count(), 1);
  TLinkData* created = dialog.AddFileList().Items(0);
  EXPECT_EQ(dialog.FileList().Data(), std::vector<TLinkData*>{created});

  dialog.accept();
  ASSERT_EQ(dialog.result(), QDialog::Accepted);
  EXPECT_EQ(DiaryFiles.List().Data(), std::vector<TLinkData*>{created});
  EXPECT_EQ(dialog.ActData().LinkDataList.Data(), std::vector<TLinkData*>{created});
  EXPECT_FALSE(std::filesystem::exists(Thumbnail));
}

TEST_F(RecordDialogLinks, AFileAddedAndRemovedAgainNeverReachesTheDiary) {
  TRecordDialog dialog;
  Open(dialog);
  dialog.AddFiles({QString::fromStdString(Files.Write("temp.txt", "t"))});
  SelectRow(dialog, 1);
  dialog.DeleteSelectedLinks();
  dialog.accept();
  EXPECT_EQ(DiaryFiles.List().Data(), std::vector<TLinkData*>{Existing});
  EXPECT_EQ(dialog.AddFileList().Count(), 0);
}

TEST_F(RecordDialogLinks, DraggingARowMovesTheLinkAndTheRowAlike) {
  TThingLink cap;
  cap.SetName("帽子");
  TPersonLink friend_;
  friend_.SetLastName("山田");
  friend_.SetFirstName("花子");
  Act.LinkDataList.Add(&cap);
  Act.LinkDataList.Add(&friend_);
  TRecordDialog dialog;
  Open(dialog);
  EXPECT_EQ(RowTitles(dialog), QStringList({"photo.jpg", "帽子", "山田花子"}));
  EXPECT_EQ(dialog.LinkList()->topLevelItem(2)->text(1), QStringLiteral("人"));

  dialog.MoveLink(0, 2);
  EXPECT_EQ(RowTitles(dialog), QStringList({"帽子", "山田花子", "photo.jpg"}));
  EXPECT_EQ(dialog.ActData().LinkDataList.Data(), (std::vector<TLinkData*>{&cap, &friend_, Existing}));
  dialog.MoveLink(2, 0);
  EXPECT_EQ(dialog.ActData().LinkDataList.Data(), (std::vector<TLinkData*>{Existing, &cap, &friend_}));
  dialog.MoveLink(0, 7);  // out of range: nothing
  EXPECT_EQ(RowTitles(dialog), QStringList({"photo.jpg", "帽子", "山田花子"}));
}

TEST_F(RecordDialogLinks, TheContextMenuOffersWhatTheSelectedLinkSupports) {
  auto track = std::make_unique<TGpsFileLink>();
  track->FileName = Files.Write("run.gpx", "<gpx/>");
  TLinkData* trackLink = DiaryFiles.Add(std::move(track));
  Act.LinkDataList.Add(trackLink);
  Existing->RotateAngle = 180;
  TRecordDialog dialog;
  Open(dialog);

  const auto visibleTexts = [&] {
    QStringList texts;
    for (QAction* action : dialog.LinkMenu()->actions()) {
      if (action->isVisible() && !action->isSeparator()) texts << action->text();
    }
    return texts;
  };

  dialog.PrepareLinkMenu();
  EXPECT_TRUE(visibleTexts().isEmpty());

  SelectRow(dialog, 0);
  dialog.PrepareLinkMenu();
  EXPECT_EQ(visibleTexts(), QStringList({"回転(&R)", "JPEGファイルの撮影時刻を取得(&R)",
                                         "JPEGファイルの緯度経度を取得(&L)", "JPEGファイルの撮影日時で並び替え(&S)"}));
  const QMenu* rotate = dialog.LinkMenu()->actions().first()->menu();
  ASSERT_NE(rotate, nullptr);
  EXPECT_TRUE(rotate->actions().at(2)->isChecked());
  EXPECT_FALSE(rotate->actions().at(0)->isChecked());

  dialog.RotateSelectedPicture(90);
  EXPECT_EQ(Existing->RotateAngle, 90);
  Existing->RotateAngle = 45;
  dialog.PrepareLinkMenu();
  for (QAction* angle : rotate->actions()) EXPECT_FALSE(angle->isChecked()) << angle->text().toStdString();

  SelectRow(dialog, 1);
  dialog.PrepareLinkMenu();
  EXPECT_EQ(visibleTexts(), QStringList({"地図ルート範囲設定(&M)...", "GPSファイルから距離を取得(&D)",
                                         "GPSファイルから時刻を取得(&T)", "GPSファイルから緯度経度を取得(&L)"}));
}

TEST_F(RecordDialogLinks, FilesDroppedOnTheListOrTheDialogAreLinkedLikeChosenOnes) {
  TRecordDialog dialog;
  Open(dialog);
  const auto drop = [](QWidget* target, const std::string& file) {
    QMimeData mime;
    mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(file))});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
    QCoreApplication::sendEvent(target, &dropped);
  };
  drop(dialog.LinkList()->viewport(), Files.Write("dropped.gpx", "<gpx/>"));
  drop(&dialog, Files.Write("dropped.txt", "t"));
  EXPECT_EQ(RowTitles(dialog), QStringList({"photo.jpg", "dropped.gpx", "dropped.txt"}));
  EXPECT_EQ(dialog.AddFileList().Count(), 2);

  // Plain text is no file.
  QMimeData text;
  text.setText(QStringLiteral("hello"));
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &text, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(dialog.LinkList()->viewport(), &enter);
  EXPECT_FALSE(enter.isAccepted());
}

TEST_F(RecordDialogLinks, WithoutADiaryFileListNoFileCanBeLinked) {
  TRecordDialog dialog;
  CollectErrors(dialog);
  dialog.SetCategoryInfo(*Info);
  dialog.SetActData(Act);
  EXPECT_FALSE(dialog.AddFileAction()->isEnabled());
  dialog.AddFiles({QString::fromStdString(Photo)});
  EXPECT_EQ(dialog.AddFileList().Count(), 0);
}

}  // namespace
}  // namespace hakuvo::test
