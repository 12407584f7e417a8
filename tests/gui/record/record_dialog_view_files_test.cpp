// The record dialog's commands that make a link's reduced copies: a photograph's thumbnail and
// a track's .gps file, with the settings' thumbnail size and folder.
#include <QAction>
#include <QCoreApplication>
#include <QImage>
#include <QMenu>

#include <filesystem>

#include "core/gps/gps_data.h"
#include "core/model/act_data.h"
#include "core/settings/app_data.h"
#include "gui/record/record_dialog_link_list.h"
#include "record_dialog_test_util.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

constexpr char kTrack[] = R"(<?xml version="1.0"?>
<gpx version="1.1" creator="test"><trk><trkseg>
<trkpt lat="35.00" lon="139.0"><time>2024-05-01T06:58:00Z</time></trkpt>
<trkpt lat="35.01" lon="139.0"><time>2024-05-01T07:20:00Z</time></trkpt>
</trkseg></trk></gpx>
)";

class RecordDialogViewFiles : public RecordDialogTest {
 protected:
  void SetUp() override {
    Info->SetCategory(ctJogging);
    Settings.ThumbnailFolder = (fs::path(Files.Path("cache")) / "thumbs").string();  // not made yet
    Settings.ChildWindowInfo.LinkViewInfo.SetThumbnailWidth(80);
    Settings.ChildWindowInfo.LinkViewInfo.SetThumbnailHeight(60);
  }

  template <typename Link>
  Link* Add(std::unique_ptr<Link> link) {
    auto* raw = static_cast<Link*>(DiaryFiles.Add(std::move(link)));
    Act.LinkDataList.Add(raw);
    return raw;
  }
  TImageFileLink* AddPhoto(const std::string& file) {
    auto link = std::make_unique<TImageFileLink>();
    link->FileName = file;
    return Add(std::move(link));
  }
  TGpsFileLink* AddTrack(const std::string& file) {
    auto link = std::make_unique<TGpsFileLink>();
    link->FileName = file;
    return Add(std::move(link));
  }

  void Open(TRecordDialog& dialog, TAppData* settings) {
    CollectErrors(dialog);
    dialog.SetAppData(settings);
    dialog.SetCategoryInfo(*Info);
    dialog.SetFileList(DiaryFiles);
    dialog.SetActData(Act);
    ShowAndSettle(dialog);
  }

  static void SelectRow(TRecordDialog& dialog, int row) {
    dialog.LinkList()->clearSelection();
    dialog.LinkList()->setCurrentItem(dialog.LinkList()->topLevelItem(row));
    dialog.LinkList()->topLevelItem(row)->setSelected(true);
  }

  // The visible items of the context menu for a row.
  static QStringList MenuFor(TRecordDialog& dialog, int row) {
    SelectRow(dialog, row);
    dialog.PrepareLinkMenu();
    QStringList texts;
    for (QAction* action : dialog.LinkMenu()->actions()) {
      if (action->isVisible() && !action->isSeparator()) texts << action->text();
    }
    return texts;
  }

  static QAction* Item(TRecordDialog& dialog, const QString& text) {
    for (QAction* action : dialog.LinkMenu()->actions()) {
      if (action->text() == text) return action;
    }
    return nullptr;
  }

  TTempFolder Files;
  TLinkDataOwner DiaryFiles;
  TTimeAct Act;
  std::unique_ptr<TTimeCategoryInfo> Info = std::make_unique<TTimeCategoryInfo>();
  TAppData Settings{QCoreApplication::applicationDirPath().toStdString()};
};

const QString kImageItem = QStringLiteral("画像縮小ファイルの作成(&T)");
const QString kGpsItem = QStringLiteral("GPS縮小ファイルの作成(&G)");

TEST_F(RecordDialogViewFiles, TheMenuOffersTheCommandThatFitsTheLink) {
  AddPhoto(RealData("photos/Canon_40D.jpg"));
  AddTrack(Files.Write("run.gpx", kTrack));
  auto thing = std::make_unique<TThingLink>();
  thing->SetName("靴");
  Add(std::move(thing));
  auto person = std::make_unique<TPersonLink>();
  person->SetPhotoFileName(RealData("photos/Canon_40D.jpg"));
  Add(std::move(person));
  TRecordDialog dialog;
  Open(dialog, &Settings);

  const struct {
    int Row;
    bool Image;
    bool Gps;
  } cases[] = {{0, true, false}, {1, false, true}, {2, false, false}, {3, true, false}};
  for (const auto& c : cases) {
    const QStringList menu = MenuFor(dialog, c.Row);
    EXPECT_EQ(menu.contains(kImageItem), c.Image) << c.Row << " " << menu.join(' ').toStdString();
    EXPECT_EQ(menu.contains(kGpsItem), c.Gps) << c.Row << " " << menu.join(' ').toStdString();
  }
  // The photograph's own commands are still there, the new one comes last.
  const QStringList photo = MenuFor(dialog, 0);
  EXPECT_TRUE(photo.contains(QStringLiteral("JPEGファイルの撮影時刻を取得(&R)")));
  EXPECT_EQ(photo.back(), kImageItem);
}

TEST_F(RecordDialogViewFiles, CommandsMakeTheFilesWithTheSettingsSizeAndFolder) {
  TImageFileLink* photo = AddPhoto(RealData("photos/Canon_40D.jpg"));
  TGpsFileLink* track = AddTrack(Files.Write("run.gpx", kTrack));
  TRecordDialog dialog;
  Open(dialog, &Settings);

  SelectRow(dialog, 0);
  Item(dialog, kImageItem)->trigger();
  ASSERT_FALSE(photo->ViewFileName.empty());
  EXPECT_EQ(fs::path(photo->ViewFileName).parent_path(), fs::path(Settings.ThumbnailFolder));
  const QImage thumbnail(QString::fromStdString(photo->ViewFileName));
  ASSERT_FALSE(thumbnail.isNull());
  EXPECT_EQ(thumbnail.width(), 80);  // a landscape photograph: the width fills, the height follows
  EXPECT_LE(thumbnail.height(), 60);

  // Made again, the old thumbnail goes.
  const std::string first = photo->ViewFileName;
  Item(dialog, kImageItem)->trigger();
  EXPECT_NE(photo->ViewFileName, first);
  EXPECT_FALSE(fs::exists(first));
  EXPECT_TRUE(fs::exists(photo->ViewFileName));

  SelectRow(dialog, 1);
  Item(dialog, kGpsItem)->trigger();
  ASSERT_FALSE(track->ViewFileName.empty());
  EXPECT_EQ(fs::path(track->ViewFileName).extension(), ".gps");
  TGpsDataList copy;
  copy.LoadFromFile(track->ViewFileName);
  EXPECT_EQ(copy.Count(), 2);
  EXPECT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();
}

TEST_F(RecordDialogViewFiles, FailuresReachTheUserAndLeaveTheLinkAsItWas) {
  TImageFileLink* broken = AddPhoto(Files.Write("broken.jpg", "not a picture"));
  TGpsFileLink* missing = AddTrack(Files.Path("missing.gpx"));
  missing->ViewFileName = "";
  TRecordDialog dialog;
  Open(dialog, &Settings);
  SelectRow(dialog, 0);
  dialog.MakeImageViewFileCommand();
  EXPECT_TRUE(broken->ViewFileName.empty());
  SelectRow(dialog, 1);
  dialog.MakeGpsViewFileCommand();
  ASSERT_EQ(Errors.size(), 2) << Errors.join('\n').toStdString();
  EXPECT_TRUE(Errors[0].contains(QStringLiteral("broken.jpg"))) << Errors[0].toStdString();
  EXPECT_TRUE(Errors[1].contains(QStringLiteral("missing.gpx"))) << Errors[1].toStdString();
  EXPECT_TRUE(missing->ViewFileName.empty());
}

TEST_F(RecordDialogViewFiles, WithoutSettingsTheCommandsAreNotOffered) {
  AddPhoto(RealData("photos/Canon_40D.jpg"));
  TRecordDialog dialog;
  Open(dialog, nullptr);
  EXPECT_FALSE(MenuFor(dialog, 0).contains(kImageItem));
}

}  // namespace
}  // namespace hakuvo::test
