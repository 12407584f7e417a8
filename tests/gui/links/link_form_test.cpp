#include "gui/links/link_form.h"

#include <QHeaderView>
#include <QLineEdit>
#include <QListView>
#include <QMimeData>
#include <QPushButton>
#include <QSignalSpy>
#include <QStandardItemModel>
#include <QThread>
#include <QTreeView>
#include <cstdlib>
#include <ctime>

#include <filesystem>
#include <functional>
#include <memory>
#include <vector>

#include "core/model/link_data.h"
#include "core/model/link_view_info.h"
#include "core/model/place.h"
#include "gui/document/diary_document.h"
#include "gui/document/window_ports.h"
#include "gui/links/link_preview_form.h"
#include "gui/links/link_view_info_dialog.h"
#include "gui/links/thing_dialog.h"
#include "gui/record/record_dialog_picture.h"
#include "links_test_support.h"

namespace hakuvo::test {
namespace {

struct TFakeMap : TMapPort {
  void SetMapCategory(const std::string& category) override { Category = category; }
  void SetMapLinkData(const TLinkData* link) override { Link = link; }
  void PanTo(double, double, bool) override {}
  void CreateMarker(double, double, bool) override {}
  void ClearMap() override {
    Link = nullptr;
    ++Clears;
  }
  bool EditPlace(QWidget*, TPlace&) override { return false; }
  std::string Category;
  const TLinkData* Link = nullptr;
  int Clears = 0;
};

struct TFakeSpeed : TSpeedGraphPort {
  void SetSpeedCategory(const std::string& category) override { Category = category; }
  void SetSpeedLinkData(const TLinkData* link) override { Link = link; }
  void ClearSpeedGraph() override {
    Link = nullptr;
    ++Clears;
  }
  std::string Category;
  const TLinkData* Link = nullptr;
  int Clears = 0;
};

class LinkFormTest : public testing::Test {
 protected:
  void SetUp() override {
    EnsureQtApplication();
    Ports.Map = &Map;
    Ports.SpeedGraph = &Speed;
    Form = std::make_unique<TLinkForm>(&Document);
    Preview = std::make_unique<TLinkPreviewForm>(&Document);
    Form->SetPorts(&Ports);
    Form->SetPreviewForm(Preview.get());
    Form->SetLinkViewInfo(&Info);
    Form->SetCategory("ジョギング");
    // The main window's dock manager relays the message to every window; here directly.
    QObject::connect(&Document, &TDiaryDocument::LinkViewChanged, Form.get(), [this] { Form->LinkViewChanged(); });
    QObject::connect(&Document, &TDiaryDocument::LinkViewChanged, Preview.get(),
                     [this] { Preview->LinkViewChanged(); });
    Form->resize(700, 500);
    Form->show();
    Preview->resize(300, 300);
    Preview->show();
  }

  TImageFileLink* Photo(const std::string& name, int width, int height, int angle = 0) {
    auto link = std::make_unique<TImageFileLink>();
    link->FileName = SaveHalves(Folder.Path(name), width, height);
    link->RotateAngle = angle;
    return Keep(std::move(link));
  }
  template <typename T>
  T* Keep(std::unique_ptr<T> link) {
    T* raw = link.get();
    Owned.push_back(std::move(link));
    return raw;
  }
  QStringList Column(int column) const {
    QStringList texts;
    for (int row = 0; row < Form->Model()->rowCount(); ++row) texts << Form->Model()->item(row, column)->text();
    return texts;
  }
  bool AllThumbnails() const {
    for (int row = 0; row < Form->Model()->rowCount(); ++row) {
      if (Form->ThumbnailImage(row).isNull()) return false;
    }
    return !Form->IsThumbnailRunning();
  }

  TTempFolder Folder;
  TDiaryDocument Document;
  TLinkViewInfo Info;
  TFakeMap Map;
  TFakeSpeed Speed;
  TWindowPorts Ports;
  std::vector<std::unique_ptr<TLinkData>> Owned;
  std::unique_ptr<TLinkForm> Form;
  std::unique_ptr<TLinkPreviewForm> Preview;
};

TEST_F(LinkFormTest, ThumbnailsArriveInLinkOrderAndAMissingPhotoGivesAFrame) {
  TLinkDataList list;
  list.Add(Photo("wide.png", 640, 480));
  auto missing = std::make_unique<TImageFileLink>();
  missing->FileName = Folder.Path("gone.jpg");
  list.Add(Keep(std::move(missing)));
  auto thing = std::make_unique<TThingLink>();
  thing->SetName("シューズ");
  list.Add(Keep(std::move(thing)));
  Form->SetLinkDataList(&list);
  ASSERT_EQ(Form->Model()->rowCount(), 3);
  ASSERT_TRUE(ServeUntil([this] { return AllThumbnails(); }));
  EXPECT_EQ(PaintedRect(Form->ThumbnailImage(0)), QRect(0, 15, 120, 90));
  const QImage frame = Form->ThumbnailImage(1);
  EXPECT_EQ(frame.pixel(0, 0) & 0xFFFFFF, 0u);
  EXPECT_TRUE(IsWhite(frame.pixel(60, 60)));
  EXPECT_EQ(PaintedRect(Form->ThumbnailImage(2)), QRect(18, 18, 84, 84));
  EXPECT_EQ(Column(0), QStringList({"wide.png", "gone.jpg", "シューズ"}));
  EXPECT_EQ(Column(1), QStringList({"ファイル", "ファイル", "物"}));
  EXPECT_EQ(Form->IconView()->iconSize(), QSize(120, 120));
  EXPECT_EQ(Form->IconView()->gridSize(), QSize(140, 140));
  // The first link is chosen: the photograph is in the preview, on the map and in the graph.
  EXPECT_TRUE(Preview->HasPicture());
  EXPECT_EQ(Map.Link, list[0]);
  EXPECT_EQ(Map.Category, "ジョギング");
  EXPECT_EQ(Speed.Link, list[0]);
}

TEST_F(LinkFormTest, AnOutingWithoutLinksClearsThePreviewTheMapAndTheSpeedGraph) {
  TLinkDataList photos;
  photos.Add(Photo("a.png", 200, 100));
  Form->SetLinkDataList(&photos);
  ASSERT_TRUE(Preview->HasPicture());
  TLinkDataList empty;
  Form->SetLinkDataList(&empty);
  EXPECT_EQ(Form->Model()->rowCount(), 0);
  EXPECT_FALSE(Preview->HasPicture());
  EXPECT_EQ(Preview->LinkData(), nullptr);
  EXPECT_EQ(Map.Link, nullptr);
  EXPECT_EQ(Map.Clears, 1);
  EXPECT_EQ(Speed.Clears, 1);
}

TEST_F(LinkFormTest, TheDetailViewStartsNoWorkerAndShowsNoImages) {
  Info.SetViewStyle(vsReport);
  Form->SetLinkViewInfo(&Info);
  TLinkDataList list;
  list.Add(Photo("a.png", 200, 100));
  auto person = std::make_unique<TPersonLink>();
  person->SetLastName("山田");
  person->SetFirstName("花子");
  list.Add(Keep(std::move(person)));
  Form->SetLinkDataList(&list);
  EXPECT_EQ(Form->CurrentView(), Form->ReportView());
  EXPECT_EQ(Form->ThumbnailRunCount(), 0);
  EXPECT_FALSE(Form->IsThumbnailRunning());
  QCoreApplication::processEvents();
  for (int row = 0; row < 2; ++row) EXPECT_FALSE(Form->Model()->item(row, 0)->data(Qt::DecorationRole).isValid());
  EXPECT_EQ(Column(0), QStringList({"a.png", "山田花子"}));
  EXPECT_EQ(Column(1), QStringList({"ファイル", "人"}));
  EXPECT_EQ(Column(2), QStringList({QString::fromStdString(Folder.Path().string()), ""}));
  const auto* model = Form->Model();
  EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), "名称");
  EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), "リンク");
  EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString(), "備考");
  // The name column takes the room the type and note columns leave; those fit their texts.
  QTreeView* view = Form->ReportView();
  view->header()->resize(view->viewport()->width(), view->header()->height());
  QCoreApplication::processEvents();
  int total = 0;
  for (int column = 0; column < model->columnCount(); ++column) total += view->columnWidth(column);
  EXPECT_EQ(total, view->viewport()->width());
  EXPECT_GE(view->columnWidth(2), view->fontMetrics().horizontalAdvance(QString::fromStdString(Folder.Path().string())))
      << "the note is not cut";
  EXPECT_GT(view->columnWidth(0), 300) << "a 700-pixel window shows whole names";
}

// A track's row tells its distance, time and climb, read on a worker; other rows leave them empty.
TEST_F(LinkFormTest, TheDetailViewShowsEachTracksDistanceTimeAndClimb) {
  const char* zone = std::getenv("TZ");
  const std::string oldZone = zone != nullptr ? zone : "";
  setenv("TZ", "UTC", 1);
  tzset();
  Info.SetViewStyle(vsReport);
  Form->SetLinkViewInfo(&Info);
  auto track = std::make_unique<TGpsFileLink>();
  track->FileName =
      Folder.Write("hill.gpx",
                   "<gpx version=\"1.1\"><trk><trkseg>"
                   "<trkpt lat=\"35.0\" lon=\"139.0\"><ele>100</ele><time>2021-03-02T01:00:00Z</time></trkpt>"
                   "<trkpt lat=\"35.01\" lon=\"139.0\"><ele>130</ele><time>2021-03-02T01:30:00Z</time></trkpt>"
                   "</trkseg></trk></gpx>");
  TLinkDataList list;
  list.Add(Photo("a.png", 20, 10));
  list.Add(Keep(std::move(track)));
  Form->SetLinkDataList(&list);
  const auto* model = Form->Model();
  ASSERT_EQ(model->columnCount(), 6);
  EXPECT_EQ(model->headerData(3, Qt::Horizontal).toString(), "距離(km)");
  EXPECT_EQ(model->headerData(4, Qt::Horizontal).toString(), "時間");
  EXPECT_EQ(model->headerData(5, Qt::Horizontal).toString(), "上昇(m)");
  for (int i = 0; i < 500 && Form->PendingTrackDetails() > 0; ++i) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    QThread::msleep(2);
  }
  ASSERT_EQ(Form->PendingTrackDetails(), 0);
  EXPECT_EQ(Column(3), QStringList({"", "1.11"}));
  EXPECT_EQ(Column(4), QStringList({"", "0:30:00"}));
  EXPECT_EQ(Column(5), QStringList({"", "30"}));
  if (zone != nullptr) {
    setenv("TZ", oldZone.c_str(), 1);
  } else {
    unsetenv("TZ");
  }
  tzset();
}

TEST_F(LinkFormTest, ATrackFeedsTheMapAndTheSpeedGraphAndClearsThePreviewsPicture) {
  TLinkDataList list;
  TImageFileLink* photo = Photo("a.png", 200, 100);
  list.Add(photo);
  auto track = std::make_unique<TGpsFileLink>();
  track->FileName = Folder.Path("run.gpx");
  TGpsFileLink* gps = Keep(std::move(track));
  list.Add(gps);
  Form->SetLinkDataList(&list);
  ASSERT_TRUE(Preview->HasPicture());
  Form->SelectLink(gps);
  EXPECT_EQ(Map.Link, gps);
  EXPECT_EQ(Speed.Link, gps);
  EXPECT_EQ(Speed.Category, "ジョギング");
  EXPECT_FALSE(Preview->HasPicture()) << "the photograph is not the track's";
  EXPECT_FALSE(Preview->IsRotationOffered());

  // A thing reaches only the preview.
  auto thing = std::make_unique<TThingLink>();
  thing->SetName("帽子");
  list.Add(Keep(std::move(thing)));
  Form->SetListView();
  Form->SelectLink(list[2]);
  EXPECT_EQ(Preview->LinkData(), list[2]);
  EXPECT_EQ(Map.Link, gps);
}

// The first link reaches the other windows once when the list is given, whether or not the link
// window is on the screen, and again when a row already highlighted is given anew.
TEST_F(LinkFormTest, AListsFirstLinkReachesTheOtherWindowsOnceShownOrHidden) {
  for (const bool shown : {true, false}) {
    SCOPED_TRACE(shown ? "link window shown" : "link window hidden");
    Form->setVisible(shown);
    auto track = std::make_unique<TGpsFileLink>();
    track->FileName = Folder.Path("run.gpx");
    TGpsFileLink* gps = Keep(std::move(track));
    TLinkDataList one;
    one.Add(gps);
    int fed = 0;
    struct TCountingMap : TFakeMap {
      int* Fed;
      void SetMapLinkData(const TLinkData* link) override {
        ++*Fed;
        TFakeMap::SetMapLinkData(link);
      }
    } counting;
    counting.Fed = &fed;
    Ports.Map = &counting;
    Form->SetLinkDataList(&one);
    EXPECT_EQ(counting.Link, gps);
    EXPECT_EQ(Speed.Link, gps);
    EXPECT_EQ(fed, 1);
    EXPECT_EQ(Form->CurrentLink(), gps);
    // The same outing chosen again (its row already highlighted) shows its track again.
    counting.ClearMap();
    Speed.ClearSpeedGraph();
    Form->SetLinkDataList(&one);
    EXPECT_EQ(counting.Link, gps);
    EXPECT_EQ(Speed.Link, gps);
    EXPECT_EQ(fed, 2);
    // Shown later, the window highlights the link the others show without handing it on again.
    Form->show();
    ASSERT_EQ(Form->Model()->rowCount(), 1);
    EXPECT_TRUE(Form->ReportView()->selectionModel()->isRowSelected(0, {}));
    EXPECT_EQ(fed, 2);
    Form->SetLinkDataList(nullptr);
    Ports.Map = &Map;
  }
}

// A track's thumbnail and preview are its outline, drawn in blue; a track that cannot be read
// keeps the page symbol and an empty preview.
TEST_F(LinkFormTest, ATracksThumbnailAndPreviewShowItsOutline) {
  const std::string gpx =
      "<gpx version=\"1.1\"><trk><trkseg>"
      "<trkpt lat=\"35.000\" lon=\"139.000\"/><trkpt lat=\"35.010\" lon=\"139.000\"/>"
      "<trkpt lat=\"35.010\" lon=\"139.012\"/></trkseg></trk></gpx>";
  const auto countBlue = [](const QImage& image) {
    int blue = 0;
    for (int y = 0; y < image.height(); ++y) {
      for (int x = 0; x < image.width(); ++x) {
        const QRgb pixel = image.pixel(x, y);
        if (qBlue(pixel) > 180 && qRed(pixel) < 120) ++blue;
      }
    }
    return blue;
  };
  const struct {
    const char* name;
    std::string bytes;
    bool outline;
  } cases[] = {{"walk.gpx", gpx, true}, {"broken.gpx", "<gpx><trk>", false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TLinkDataList list;
    auto track = std::make_unique<TGpsFileLink>();
    track->FileName = Folder.Write(c.name, c.bytes);
    list.Add(Keep(std::move(track)));
    Form->SetLinkDataList(&list);
    ASSERT_TRUE(ServeUntil([this] { return AllThumbnails(); }));
    EXPECT_EQ(countBlue(Form->ThumbnailImage(0)) > 20, c.outline);
    EXPECT_EQ(Preview->HasPicture(), c.outline);
    if (c.outline) {
      EXPECT_GT(countBlue(Preview->Picture()->Picture()), 20);
    }
    Form->SetLinkDataList(nullptr);
  }
}

TEST_F(LinkFormTest, TurningThePhotographInThePreviewRemakesTheThumbnails) {
  TLinkDataList list;
  TImageFileLink* photo = Photo("wide.png", 640, 480);
  list.Add(photo);
  Form->SetLinkDataList(&list);
  ASSERT_TRUE(ServeUntil([this] { return AllThumbnails(); }));
  ASSERT_EQ(Preview->Picture()->Picture().size(), QSize(640, 480));
  const int runs = Form->ThumbnailRunCount();

  QSignalSpy changed(&Document, &TDiaryDocument::LinkViewChanged);
  Preview->SetRotation(90);
  EXPECT_EQ(photo->RotateAngle, 90);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_EQ(Preview->Picture()->Picture().size(), QSize(480, 640));
  EXPECT_EQ(Form->ThumbnailRunCount(), runs + 1);
  ASSERT_TRUE(ServeUntil([this] { return AllThumbnails(); }));
  const QImage turned = Form->ThumbnailImage(0);
  EXPECT_EQ(PaintedRect(turned), QRect(15, 0, 90, 120));
  // The blue left half is now on top.
  EXPECT_GT(qBlue(turned.pixel(60, 20)), 150);
  EXPECT_GT(qRed(turned.pixel(60, 100)), 150);
}

TEST_F(LinkFormTest, ThePreviewDecodesALargePhotographNoLargerThanItCanShow) {
  TLinkDataList list;
  auto large = std::make_unique<TImageFileLink>();
  large->FileName = SaveHalves(Folder.Path("large.jpg"), 4000, 3000, "JPEG");
  large->RotateAngle = 270;
  list.Add(Keep(std::move(large)));
  Form->SetLinkDataList(&list);
  // Halved by the decoder: still more than a 1024-pixel pane shows, turned as the link says.
  EXPECT_EQ(Preview->Picture()->Picture().size(), QSize(1500, 2000));
  EXPECT_GT(qRed(Preview->Picture()->Picture().pixel(750, 100)), 150) << "the red right half went up";
}

TEST_F(LinkFormTest, DraggingALinkReordersTheOutingsLinks) {
  Info.SetViewStyle(vsReport);
  Form->SetLinkViewInfo(&Info);
  TLinkDataList list;
  std::vector<TLinkData*> links;
  for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt", "5.txt"}) {
    auto link = std::make_unique<TFileLink>();
    link->FileName = Folder.Path(name);
    links.push_back(Keep(std::move(link)));
    list.Add(links.back());
  }
  Form->SetLinkDataList(&list);
  QSignalSpy reordered(&Document, &TDiaryDocument::LinkOrderChanged);
  QCoreApplication::processEvents();

  // The third onto the first: it goes before it.
  const QRect first = Form->ReportView()->visualRect(Form->Model()->index(0, 0));
  Form->DropLink(2, first.center());
  EXPECT_EQ(list.Data(), (std::vector<TLinkData*>{links[2], links[0], links[1], links[3], links[4]}));
  EXPECT_EQ(Column(0), QStringList({"3.txt", "1.txt", "2.txt", "4.txt", "5.txt"}));
  EXPECT_EQ(reordered.count(), 1);

  // Below the last row: to the end.
  const QRect last = Form->ReportView()->visualRect(Form->Model()->index(4, 0));
  ASSERT_LT(last.bottom() + 30, Form->ReportView()->viewport()->height());
  Form->DropLink(0, QPoint(last.center().x(), last.bottom() + 30));
  EXPECT_EQ(list.Data(), (std::vector<TLinkData*>{links[0], links[1], links[3], links[4], links[2]}));
  EXPECT_EQ(reordered.count(), 2);

  // Onto a later row: before that row's link.
  Form->MoveLink(0, 3);
  EXPECT_EQ(list.Data(), (std::vector<TLinkData*>{links[1], links[3], links[0], links[4], links[2]}));
  // Onto itself: nothing moves and nobody hears of it.
  Form->MoveLink(1, 1);
  EXPECT_EQ(reordered.count(), 3);
}

// A drag out of the window names its rows' links; a drop reads them back only while the window
// still shows those links in those places.
TEST_F(LinkFormTest, ADragNamesTheSelectedLinksOnlyWhileTheyAreStillShownWhereTheyWere) {
  TLinkDataList list;
  std::vector<TLinkData*> links;
  for (const char* name : {"1.txt", "2.txt", "3.txt", "4.txt"}) {
    auto file = std::make_unique<TFileLink>();
    file->FileName = Folder.Path(name);
    links.push_back(Keep(std::move(file)));
    list.Add(links.back());
  }
  TLinkDataList other;
  other.Add(links[0]);
  Info.SetViewStyle(vsReport);
  Form->SetLinkViewInfo(&Info);
  const auto drag = [this](std::initializer_list<int> rows) {
    QModelIndexList indexes;
    // Every column of a row, as a view hands them over; the order of the selection is not the list's.
    for (const int row : rows) {
      for (int column = 0; column < Form->Model()->columnCount(); ++column)
        indexes << Form->Model()->index(row, column);
    }
    return std::unique_ptr<QMimeData>(Form->Model()->mimeData(indexes));
  };

  Form->SetLinkDataList(&list);
  auto fresh = drag({3, 1});
  ASSERT_NE(fresh, nullptr);
  EXPECT_TRUE(fresh->hasFormat(TLinkForm::LinkDragFormat()));
  EXPECT_EQ(Form->DraggedLinks(fresh.get()), (std::vector<TLinkData*>{links[1], links[3]}));

  struct TCase {
    const char* Name;
    std::function<void(QMimeData&)> Change;
    bool Named;
  };
  const std::vector<TCase> cases = {
      {"unchanged", [](QMimeData&) {}, true},
      {"the same list shown again", [&](QMimeData&) { Form->SetLinkDataList(&list); }, false},
      {"another outing's list", [&](QMimeData&) { Form->SetLinkDataList(&other); }, false},
      {"the links reordered", [&](QMimeData&) { Form->MoveLink(0, 2); }, false},
      {"data cut short",
       [](QMimeData& data) {
         QByteArray bytes = data.data(TLinkForm::LinkDragFormat());
         bytes.chop(3);
         data.setData(TLinkForm::LinkDragFormat(), bytes);
       },
       false},
      {"a list of files instead", [](QMimeData& data) { data.removeFormat(TLinkForm::LinkDragFormat()); }, false},
  };
  for (const TCase& test : cases) {
    list.Clear();
    for (TLinkData* link : links) list.Add(link);
    Form->SetLinkDataList(&list);
    auto data = drag({1, 3});
    test.Change(*data);
    EXPECT_EQ(Form->DraggedLinks(data.get()).empty(), !test.Named) << test.Name;
  }

  // Taken out: gone from the list and the rows, the preview and the map let go; the speed graph
  // keeps its track. A drag taken before names nothing now.
  list.Clear();
  for (TLinkData* link : links) list.Add(link);
  Form->SetLinkDataList(&list);
  auto before = drag({0, 2});
  Form->SelectLink(links[1]);
  ASSERT_EQ(Map.Link, links[1]);
  ASSERT_EQ(Preview->LinkData(), links[1]);
  const int mapClears = Map.Clears;
  Form->TakeOutLinks(Form->DraggedLinks(before.get()));
  EXPECT_EQ(list.Data(), (std::vector<TLinkData*>{links[1], links[3]}));
  EXPECT_EQ(Column(0), QStringList({"2.txt", "4.txt"}));
  EXPECT_EQ(Map.Clears, mapClears + 1);
  EXPECT_EQ(Map.Link, nullptr);
  EXPECT_EQ(Preview->LinkData(), nullptr);
  EXPECT_TRUE(Form->DraggedLinks(before.get()).empty());
}

TEST_F(LinkFormTest, ADoubleClickOpensAFileAndShowsThingsAndPersonsReadOnly) {
  TLinkDataList list;
  auto file = std::make_unique<TFileLink>();
  file->FileName = Folder.Write("manual.pdf", "%PDF");
  list.Add(Keep(std::move(file)));
  auto person = std::make_unique<TPersonLink>();
  person->SetFirstName("花子");
  list.Add(Keep(std::move(person)));
  Form->SetLinkDataList(&list);
  QStringList opened;
  QStringList dialogs;
  QStringList told;
  Form->SetOpener([&](const QString& name) {
    opened << name;
    return true;
  });
  Form->SetOpenFailureReporter([&](const QString& message) { told << message; });
  Form->SetDialogRunner([&](QDialog& dialog) {
    auto& entry = dynamic_cast<TLinkEntryDialog&>(dialog);
    entry.Prepare();
    EXPECT_TRUE(entry.IsReadOnly());
    EXPECT_FALSE(entry.OkButton()->isVisibleTo(&dialog));
    dialogs << dialog.windowTitle();
  });
  Form->OpenRow(0);
  Form->OpenRow(1);
  EXPECT_EQ(opened, QStringList({QString::fromStdString(Folder.Path("manual.pdf"))}));
  EXPECT_EQ(dialogs, QStringList({"人設定"}));
  EXPECT_TRUE(told.isEmpty());

  // A file no program takes, and a file that is gone, are told in a box.
  const QString pdf = QString::fromStdString(Folder.Path("manual.pdf"));
  Form->SetOpener([](const QString&) { return false; });
  Form->OpenRow(0);
  std::filesystem::remove(Folder.Path("manual.pdf"));
  Form->OpenRow(0);
  EXPECT_EQ(told, QStringList({QStringLiteral("[ %1 ]を開くプログラムがありません").arg(pdf),
                               QStringLiteral("[ %1 ]が見つかりません").arg(pdf)}));
}

TEST_F(LinkFormTest, AListChangedDuringRunsEndsWithTheThumbnailsOfTheLastList) {
  std::vector<TLinkDataList> lists(4);
  for (int i = 0; i < 12; ++i) lists[0].Add(Photo("p" + std::to_string(i) + ".jpg", 1600, 1200));
  lists[1].Add(Photo("tall.png", 100, 400));
  auto thing = std::make_unique<TThingLink>();
  lists[2].Add(Keep(std::move(thing)));
  lists[3].Add(Photo("wide.png", 640, 480, 90));
  lists[3].Add(lists[2][0]);
  for (int change = 0; change < 100; ++change) {
    Form->SetLinkDataList(&lists[static_cast<std::size_t>(change % 4)]);
    QCoreApplication::processEvents();
  }
  ASSERT_EQ(Form->LinkDataList(), &lists[3]);
  ASSERT_TRUE(ServeUntil([this] { return AllThumbnails(); }));
  EXPECT_EQ(PaintedRect(Form->ThumbnailImage(0)), QRect(15, 0, 90, 120));
  EXPECT_EQ(PaintedRect(Form->ThumbnailImage(1)), QRect(18, 18, 84, 84));

  // The window goes while a run is still making thumbnails.
  Form->SetLinkDataList(&lists[0]);
  Form.reset();
  for (int i = 0; i < 5; ++i) QCoreApplication::processEvents();
}

TEST_F(LinkFormTest, AHiddenWindowKeepsNoRowsAndBuildsThemWhenShown) {
  Form->hide();
  TLinkDataList list;
  list.Add(Photo("a.png", 200, 100));
  Form->SetLinkDataList(&list);
  EXPECT_EQ(Form->Model()->rowCount(), 0);
  EXPECT_FALSE(Form->IsThumbnailRunning());
  Form->show();
  EXPECT_EQ(Form->Model()->rowCount(), 1);
  ASSERT_TRUE(ServeUntil([this] { return AllThumbnails(); }));
}

TEST(LinkViewInfoDialog, EveryFieldMustHoldAnIntegerAndTheDialogStaysOpen) {
  EnsureQtApplication();
  TLinkViewInfoDialog dialog;
  TLinkViewInfo info;
  dialog.SetLinkViewInfo(info);
  QStringList errors;
  dialog.SetErrorHandler([&](const QString& message) { errors << message; });
  dialog.findChild<QLineEdit*>("WidthEdit")->setText("abc");
  dialog.show();
  dialog.accept();
  EXPECT_EQ(errors, QStringList({"[幅]が数値ではありません"}));
  EXPECT_TRUE(dialog.isVisible());

  errors.clear();
  for (const char* name : {"HeightEdit", "WidthBlankEdit", "HeightBlankEdit"}) {
    dialog.findChild<QLineEdit*>(name)->setText("1.5");
  }
  dialog.accept();
  EXPECT_EQ(errors, QStringList({"[幅]が数値ではありません", "[高さ]が数値ではありません",
                                 "[横間隔]が数値ではありません", "[縦間隔]が数値ではありません"}));

  errors.clear();
  const std::pair<const char*, const char*> values[] = {
      {"WidthEdit", "160"}, {"HeightEdit", "90"}, {"WidthBlankEdit", "4"}, {"HeightBlankEdit", "30"}};
  for (const auto& [name, value] : values) dialog.findChild<QLineEdit*>(name)->setText(value);
  dialog.findChild<QAbstractButton*>("ReportButton")->click();
  dialog.accept();
  EXPECT_TRUE(errors.isEmpty());
  EXPECT_EQ(dialog.result(), QDialog::Accepted);
  const TLinkViewInfo& result = dialog.LinkViewInfo();
  EXPECT_EQ(result.ViewStyle(), vsReport);
  EXPECT_EQ(result.ThumbnailWidth(), 160);
  EXPECT_EQ(result.ThumbnailHeight(), 90);
  EXPECT_EQ(result.WidthBlank(), 4);
  EXPECT_EQ(result.HeightBlank(), 30);
}

TEST(LinkViewInfoDialog, AStyleThatIsNeitherChecksNeither) {
  EnsureQtApplication();
  TLinkViewInfoDialog dialog;
  TLinkViewInfo info;
  info.SetViewStyle(vsList);
  dialog.SetLinkViewInfo(info);
  EXPECT_FALSE(dialog.findChild<QAbstractButton*>("IconButton")->isChecked());
  EXPECT_FALSE(dialog.findChild<QAbstractButton*>("ReportButton")->isChecked());
  dialog.accept();
  EXPECT_EQ(dialog.LinkViewInfo().ViewStyle(), vsList);
}

}  // namespace
}  // namespace hakuvo::test
