#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "core/common/guid.h"
#include "core/model/act_data.h"
#include "core/model/day_data.h"
#include "core/model/link_data.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

std::string PhotoPath(const char* name) { return std::string(HAKUVO_TESTDATA_DIR) + "/photos/" + name; }

TEST(LinkData, TitlesNotesAndKinds) {
  TFileLink windows;
  windows.FileName = "C:\\photos\\a.jpg";
  EXPECT_EQ(windows.Title(), "a.jpg");
  EXPECT_EQ(windows.Note(), "C:\\photos");
  TFileLink posix;
  posix.FileName = "/home/u/photos/b.jpg";
  EXPECT_EQ(posix.Name(), "b.jpg");
  EXPECT_EQ(posix.Path(), "/home/u/photos");
  EXPECT_EQ(posix.LinkType(), ltFile);
  EXPECT_TRUE(IsGuidString(posix.GuidCode()));
  EXPECT_EQ(posix.FindData(), posix.GuidCode());

  TPersonLink person;
  person.SetLastName("A");
  person.SetFirstName("B");
  person.SetName("unused");
  EXPECT_EQ(person.Title(), "AB");
  EXPECT_EQ(person.LinkType(), ltPerson);
  TThingLink thing;
  thing.SetName("自転車");
  EXPECT_EQ(thing.Title(), "自転車");
  EXPECT_EQ(thing.Note(), "");
  EXPECT_EQ(thing.LinkType(), ltThing);
  EXPECT_NE(thing.GuidCode(), person.GuidCode());
}

TEST(LinkData, AssignCopiesEachLevelButNotTheScratchDate) {
  TGpsFileLink source;
  source.FileName = "/t/run.gpx";
  source.ViewFileName = "/cache/X.gps";
  source.StartPos = 1.5;
  source.EndPos = 3;
  source.TempDate = 44000;
  TGpsFileLink copy;
  copy.Assign(source);
  EXPECT_EQ(copy.GuidCode(), source.GuidCode());
  EXPECT_EQ(copy.FileName, "/t/run.gpx");
  EXPECT_EQ(copy.ViewFileName, "/cache/X.gps");
  EXPECT_EQ(copy.EndPos, 3);
  EXPECT_EQ(copy.TempDate, 0);

  TImageFileLink image;
  image.RotateAngle = 90;
  image.Assign(source);  // a sibling class: only the shared levels
  EXPECT_EQ(image.RotateAngle, 90);
  EXPECT_EQ(image.FileName, "/t/run.gpx");

  TPersonLink person;
  person.SetTel("03");
  person.SetLatitude(35.5L);
  person.Memo() = {"x"};
  TPersonLink personCopy;
  personCopy.Assign(person);
  EXPECT_EQ(personCopy.Tel(), "03");
  EXPECT_EQ(personCopy.Latitude(), 35.5L);
  EXPECT_EQ(personCopy.Memo(), TStringList{"x"});
}

TEST(LinkDataList, FindIndexIgnoresLetterCase) {
  TLinkDataOwner owner;
  std::vector<TLinkData*> links;
  for (int i = 0; i < 50; ++i) links.push_back(owner.Add(std::make_unique<TThingLink>()));
  owner.SetFindList();
  for (TLinkData* link : links) {
    const std::string code = static_cast<TGuidLink*>(link)->GuidCode();
    EXPECT_EQ(owner.List().FindLinkData(AsciiLower(code)), link);
  }
  EXPECT_EQ(owner.List().FindLinkData("{00000000-0000-0000-0000-000000000000}"), nullptr);
  owner.ClearFindList();
  EXPECT_EQ(owner.List().FindLinkData(static_cast<TGuidLink*>(links[0])->GuidCode()), nullptr);
}

TEST(LinkDataOwner, ReorderTakesOnlyAnOrderOfItsOwnLinks) {
  TLinkDataOwner owner;
  TLinkData* a = owner.Add(std::make_unique<TFileLink>());
  TLinkData* b = owner.Add(std::make_unique<TThingLink>());
  TLinkData* c = owner.Add(std::make_unique<TPersonLink>());
  TFileLink stranger;
  const struct {
    const char* What;
    std::vector<TLinkData*> Order;
  } refused[] = {
      {"one missing", {c, a}},
      {"one too many", {c, b, a, a}},
      {"one twice, one missing", {c, a, a}},
      {"a link it does not own", {c, &stranger, a}},
      {"nothing", {}},
  };
  for (const auto& r : refused) {
    EXPECT_FALSE(owner.Reorder(r.Order)) << r.What;
    EXPECT_EQ(owner.List().Data(), (std::vector<TLinkData*>{a, b, c})) << r.What;
  }
  ASSERT_TRUE(owner.Reorder({c, a, b}));
  EXPECT_EQ(owner.List().Data(), (std::vector<TLinkData*>{c, a, b}));
  // Owned links and view still go together: each link comes out once, and the rest keep their order.
  std::unique_ptr<TLinkData> taken = owner.Remove(a);
  EXPECT_EQ(taken.get(), a);
  EXPECT_EQ(owner.List().Data(), (std::vector<TLinkData*>{c, b}));
  EXPECT_EQ(owner.Remove(a), nullptr);
  EXPECT_EQ(owner.Remove(c).get(), c);
  EXPECT_EQ(owner.Remove(b).get(), b);
  EXPECT_EQ(owner.Count(), 0);
  EXPECT_TRUE(owner.Reorder({}));
}

TEST(LinkDataList, DateSortMovesOnlyFileLinks) {
  TFileLink late, early;
  late.TempDate = 200;
  early.TempDate = 100;
  TThingLink thing;
  TPersonLink person;
  TLinkDataList list;
  list.Add(&late);
  list.Add(&thing);
  list.Add(&early);
  list.Add(&person);
  list.DateSort();
  EXPECT_EQ(list[0], &early);
  EXPECT_EQ(list[1], &thing);
  EXPECT_EQ(list[2], &late);
  EXPECT_EQ(list[3], &person);
}

TEST(LinkDataList, JpegDateTimeSortOrdersPhotographsByShootingTime) {
  auto later = CreateFileLink(PhotoPath("gps_DSCN0027.jpg"));    // 2008-10-22 16:44
  auto earlier = CreateFileLink(PhotoPath("gps_DSCN0010.jpg"));  // 2008-10-22 16:28
  auto noDate = CreateFileLink(PhotoPath("orientation_landscape_1.jpg"));
  auto oldest = CreateFileLink(PhotoPath("exif-org_fujifilm-dx10.jpg"));  // 2001
  TLinkDataList list;
  list.Add(later.get());
  list.Add(noDate.get());
  list.Add(earlier.get());
  list.Add(oldest.get());
  list.JpegDateTimeSort();
  EXPECT_EQ(list[0], oldest.get());
  EXPECT_EQ(list[1], noDate.get()) << "a photograph without a time keeps its place";
  EXPECT_EQ(list[2], earlier.get());
  EXPECT_EQ(list[3], later.get());
}

TEST(LinkDataList, CopiedReferencesOutliveTheSourceList) {
  TLinkDataOwner owner;
  TLinkData* link = owner.Add(std::make_unique<TFileLink>());
  TLinkDataList copy;
  {
    auto source = std::make_unique<TLinkDataList>();
    source->Add(link);
    copy.CopyList(*source);
  }
  ASSERT_EQ(copy.Count(), 1);
  EXPECT_EQ(copy[0], link);
  auto taken = owner.Remove(link);
  EXPECT_EQ(taken.get(), link);
  EXPECT_EQ(owner.Count(), 0);
}

TEST(LinkData, CreateFileLinkChoosesTheClassByExtension) {
  auto rotated = CreateFileLink(PhotoPath("orientation_landscape_6.jpg"));
  auto* image = dynamic_cast<TImageFileLink*>(rotated.get());
  ASSERT_NE(image, nullptr);
  EXPECT_EQ(image->RotateAngle, 90);
  EXPECT_EQ(image->FileName, PhotoPath("orientation_landscape_6.jpg"));
  EXPECT_NE(dynamic_cast<TImageFileLink*>(CreateFileLink("/x/pic.PNG").get()), nullptr);
  EXPECT_EQ(dynamic_cast<TImageFileLink*>(CreateFileLink("/x/missing.jpg").get())->RotateAngle, 0);
  for (const char* track : {"/x/a.gpx", "/x/a.KML", "/x/a.nmea", "/x/a.log", "/x/a.NMA", "/x/ride.FIT", "/x/run.tcx"}) {
    EXPECT_NE(dynamic_cast<TGpsFileLink*>(CreateFileLink(track).get()), nullptr) << track;
  }
  auto other = CreateFileLink("/x/notes.txt");
  EXPECT_EQ(typeid(*other), typeid(TFileLink));
}

TEST(LinkData, DeletingAnActionRemovesTheThumbnailsOfItsLinks) {
  const test::TTempFolder folder;
  const auto thumb = [&](const char* name) { return folder.Write(name, "x"); };
  TImageFileLink image;
  image.ViewFileName = thumb("a.jpg");
  TThingLink thing;
  thing.SetViewFileName(thumb("b.jpg"));
  TFileLink plain;
  TGpsFileLink gone;
  gone.ViewFileName = (folder / "never-made.gps").string();

  TDayData day;
  TActData* act = day.AddAct(CreateActData(ctJogging));
  for (TLinkData* link : std::initializer_list<TLinkData*>{&image, &thing, &plain, &gone}) act->LinkDataList.Add(link);
  day.Delete();
  EXPECT_EQ(image.ViewFileName, "");
  EXPECT_EQ(thing.ViewFileName(), "");
  EXPECT_EQ(gone.ViewFileName, "") << "a missing file is no error";
  EXPECT_TRUE(std::filesystem::is_empty(folder.Path()));
}

}  // namespace
}  // namespace hakuvo
