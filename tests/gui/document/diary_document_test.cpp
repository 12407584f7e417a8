#include <QSignalSpy>
#include <fstream>
#include <functional>

#include "core/common/hakuvo_error.h"
#include "document_test_support.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

class DiaryDocumentTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  // A diary file with outings, one thing, one person, one file link and a changed graph colour.
  fs::path WriteDiary(const std::string& name, const std::vector<std::string>& titles, const std::string& thing,
                      int graphColour) {
    const fs::path path = Folder.Path() / name;
    TDiary diary(path.string());
    AddOutings(diary, titles);
    auto thingLink = std::make_unique<TThingLink>();
    thingLink->SetName(thing);
    diary.Things.Add(std::move(thingLink));
    auto person = std::make_unique<TPersonLink>();
    person->SetName(thing + " person");
    diary.Persons.Add(std::move(person));
    auto file = std::make_unique<TFileLink>();
    file->FileName = "/photos/" + thing + ".jpg";
    diary.Files.Add(std::move(file));
    diary.MultiDayGraphInfo.SetSeriesColor(graphColour);
    diary.Save();
    return path;
  }

  TTempFolder Folder;
  TDiaryDocument Document;
};

TEST_F(DiaryDocumentTest, MessagesReachQueuedListenersOnlyOnceTheEventLoopRuns) {
  const std::unique_ptr<TActData> owned = CreateActData(ctJogging);
  const TActData* act = owned.get();
  QStringList received;
  QObject receiver;
  auto record = [&](const QString& text) { received << text; };
  const auto queued = Qt::QueuedConnection;
  QObject::connect(
      &Document, &TDiaryDocument::ChildClosed, &receiver, [&] { record("closed"); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::DataChanged, &receiver, [&] { record("data"); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::SelectDay, &receiver,
      [&](TDateTime d) { record("day " + QString::number(d, 'g', 12)); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::CategoryChanged, &receiver,
      [&](TCategoryType c) { record("category " + QString::number(int(c))); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::SelectMonth, &receiver,
      [&](TDateTime d) { record("month " + QString::number(d, 'g', 12)); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::LinkViewChanged, &receiver, [&] { record("link view"); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::GpsRangeChanged, &receiver, [&] { record("gps range"); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::LinkOrderChanged, &receiver, [&] { record("link order"); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::SelectAct, &receiver,
      [&](const TActData* a) { record(a == act ? "act" : "wrong act"); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::ViewSettingChanged, &receiver, [&] { record("view setting"); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::SelectYear, &receiver,
      [&](TDateTime d) { record("year " + QString::number(d, 'g', 12)); }, queued);
  QObject::connect(
      &Document, &TDiaryDocument::SelectRow, &receiver, [&](int row) { record("row " + QString::number(row)); },
      queued);

  emit Document.ChildClosed();
  emit Document.DataChanged();
  emit Document.SelectDay(45413);
  emit Document.CategoryChanged(ctBloodPressure);
  emit Document.SelectMonth(45414.5);
  emit Document.LinkViewChanged();
  emit Document.GpsRangeChanged();
  emit Document.LinkOrderChanged();
  emit Document.SelectAct(act);
  emit Document.ViewSettingChanged();
  emit Document.SelectYear(45415.25);
  emit Document.SelectRow(7);
  // Posted, never sent: the sender's own work is over before anyone reacts.
  EXPECT_TRUE(received.isEmpty());
  Settle();
  EXPECT_EQ(received.join('|').toStdString(),
            QStringList({"closed", "data", "day 45413", "category 16", "month 45414.5", "link view", "gps range",
                         "link order", "act", "view setting", "year 45415.25", "row 7"})
                .join('|')
                .toStdString());
}

TEST_F(DiaryDocumentTest, MessagesThatChangeTheDiaryMarkItModifiedInTurnAndSelectionsDoNot) {
  const std::vector<std::pair<const char*, std::function<void()>>> cases = {
      {"ChildClosed", [&] { emit Document.ChildClosed(); }},
      {"DataChanged", [&] { emit Document.DataChanged(); }},
      {"LinkViewChanged", [&] { emit Document.LinkViewChanged(); }},
      {"GpsRangeChanged", [&] { emit Document.GpsRangeChanged(); }},
      {"LinkOrderChanged", [&] { emit Document.LinkOrderChanged(); }},
      {"ViewSettingChanged", [&] { emit Document.ViewSettingChanged(); }},
  };
  for (const auto& [name, post] : cases) {
    SCOPED_TRACE(name);
    Document.SetIsChange(false);
    QSignalSpy spy(&Document, &TDiaryDocument::IsChangeChanged);
    post();
    EXPECT_FALSE(Document.IsChange());
    Settle();
    EXPECT_TRUE(Document.IsChange());
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toBool(), true);
  }

  Document.SetIsChange(false);
  emit Document.SelectDay(45413);
  emit Document.SelectMonth(45413);
  emit Document.SelectYear(45413);
  emit Document.SelectRow(0);
  emit Document.SelectAct(nullptr);
  emit Document.CategoryChanged(ctJogging);
  Settle();
  EXPECT_FALSE(Document.IsChange());
}

TEST_F(DiaryDocumentTest, OpenReplacesEveryListAndClearsTheModifiedFlag) {
  const fs::path path = WriteDiary("b.hkvj", {"B1", "B2", "B3"}, "umbrella", 0x00FF00);
  AddOutings(Document.Diary(), {"old"});
  auto oldThing = std::make_unique<TThingLink>();
  oldThing->SetName("old thing");
  Document.ThingList().Add(std::move(oldThing));
  Document.SetIsChange(true);
  QSignalSpy aboutToReset(&Document, &TDiaryDocument::DiaryAboutToBeReset);
  QSignalSpy reset(&Document, &TDiaryDocument::DiaryReset);
  QSignalSpy renamed(&Document, &TDiaryDocument::FileNameChanged);

  Document.Open(path.string());

  EXPECT_EQ(Document.FileName(), path.string());
  EXPECT_FALSE(Document.IsChange());
  EXPECT_EQ(Titles(Document.DayDataList()), (std::vector<std::string>{"B1", "B2", "B3"}));
  ASSERT_EQ(Document.ThingList().Count(), 1);
  EXPECT_EQ(Document.ThingList().Items(0)->Title(), "umbrella");
  ASSERT_EQ(Document.PersonList().Count(), 1);
  ASSERT_EQ(Document.FileList().Count(), 1);
  EXPECT_EQ(static_cast<TFileLink*>(Document.FileList().Items(0))->FileName, "/photos/umbrella.jpg");
  EXPECT_EQ(Document.MultiGraphInfo1().SeriesColor(), 0x00FF00);
  EXPECT_EQ(aboutToReset.count(), 1);
  EXPECT_EQ(reset.count(), 1);
  EXPECT_EQ(renamed.count(), 1);
}

TEST_F(DiaryDocumentTest, AFailedOpenKeepsTheDiaryAndItsFileName) {
  const fs::path good = WriteDiary("a.hkvj", {"A1", "A2"}, "hat", 0x0000FF);
  const fs::path broken = Folder.Path() / "broken.hkvj";
  std::ofstream(broken) << "<tekuri><not closed";
  const fs::path missing = Folder.Path() / "missing.hkvj";
  Document.Open(good.string());
  Document.SetIsChange(true);

  for (const fs::path& bad : {broken, missing}) {
    SCOPED_TRACE(bad.string());
    QSignalSpy aboutToReset(&Document, &TDiaryDocument::DiaryAboutToBeReset);
    QSignalSpy reset(&Document, &TDiaryDocument::DiaryReset);
    QSignalSpy renamed(&Document, &TDiaryDocument::FileNameChanged);
    EXPECT_THROW(Document.Open(bad.string()), EHakuvoError);
    EXPECT_EQ(Document.FileName(), good.string());
    EXPECT_EQ(Titles(Document.DayDataList()), (std::vector<std::string>{"A1", "A2"}));
    ASSERT_EQ(Document.ThingList().Count(), 1);
    EXPECT_EQ(Document.ThingList().Items(0)->Title(), "hat");
    EXPECT_EQ(Document.MultiGraphInfo1().SeriesColor(), 0x0000FF);
    EXPECT_TRUE(Document.IsChange());
    // The file is read beside the diary, which nothing touched: the views keep their actions
    // and are not told to let go of them.
    EXPECT_EQ(aboutToReset.count(), 0);
    EXPECT_EQ(reset.count(), 0);
    EXPECT_EQ(renamed.count(), 0);
  }
}

TEST_F(DiaryDocumentTest, NewKeepsThingsPersonsAndCategorySettings) {
  const fs::path path = WriteDiary("a.hkvj", {"A1"}, "hat", 0x0000FF);
  Document.Open(path.string());
  Document.CategoryInfoList().GetCategoryItems(ctJogging)->Tani = {"x", "y", "z"};
  Document.SetIsChange(true);

  Document.New();

  EXPECT_EQ(Document.FileName(), "");
  EXPECT_FALSE(Document.IsChange());
  EXPECT_EQ(Document.DayDataList().Count(), 0);
  EXPECT_EQ(Document.FileList().Count(), 0);
  EXPECT_EQ(Document.ThingList().Count(), 1);
  EXPECT_EQ(Document.PersonList().Count(), 1);
  EXPECT_EQ(Document.CategoryInfoList().GetCategoryItems(ctJogging)->Tani, (TStringList{"x", "y", "z"}));
}

TEST_F(DiaryDocumentTest, SaveAsStoresTheLayoutFirstAndAFailedSaveKeepsTheName) {
  const fs::path first = Folder.Path() / "first.hkvj";
  Document.SaveAs(first.string());
  EXPECT_EQ(Document.FileName(), first.string());

  // Windows put their layout into the record before the file is written.
  const fs::path second = Folder.Path() / "second.hkvj";
  TChildWindowInfo layout;
  Document.SetChildWindowInfo(&layout);
  bool fileExistedWhenAsked = true;
  QObject::connect(&Document, &TDiaryDocument::AboutToSave, &Document, [&] {
    fileExistedWhenAsked = fs::exists(second);
    layout.FloatingList = {"GraphForm\t1\t2\t300\t200"};
  });
  Document.SetIsChange(true);
  Document.SaveAs(second.string());
  EXPECT_FALSE(fileExistedWhenAsked);
  EXPECT_FALSE(Document.IsChange());
  TDiary reread(second.string());
  reread.Load();
  EXPECT_EQ(reread.ChildWindowInfo.FloatingList, (TStringList{"GraphForm\t1\t2\t300\t200"}));

  Document.SetIsChange(true);
  EXPECT_THROW(Document.SaveAs((Folder.Path() / "no such folder" / "x.hkvj").string()), EHakuvoError);
  EXPECT_EQ(Document.FileName(), second.string());
  EXPECT_TRUE(Document.IsChange());

  TDiaryDocument unnamed;
  EXPECT_THROW(unnamed.Save(), std::logic_error);
}

}  // namespace
}  // namespace hakuvo::test
