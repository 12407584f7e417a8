#include "core/settings/app_data.h"

#include <gtest/gtest.h>

#include <stdlib.h>

#include <climits>
#include <fstream>
#include <initializer_list>
#include <iterator>
#include <optional>
#include <utility>

#include "core/common/hakuvo_error.h"
#include "core/model/category_info_list.h"
#include "core/settings/child_window_info_expect.h"
#include "core/settings/history_menu_list.h"
#include "core/settings/ini_file.h"
#include "support/scoped_clock.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

namespace fs = std::filesystem;

std::vector<TCategoryType> TypesOf(const TCategoryList& list) {
  std::vector<TCategoryType> types;
  for (const TCategoryData& item : list.Data()) types.push_back(item.Category);
  return types;
}

std::string ReadAll(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void WriteSettingsText(const fs::path& path, std::string_view text) {
  TIniFile ini;
  ini.LoadFromText(text);
  ini.SaveToFile(path);
}

// A scratch folder holding the program folder, a home folder and the user folders; HOME and
// the XDG variables point into it, and the clock stands at 2024-05-06 12:00.
class AppDataTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Program = Root / "program";
    Home = Root / "home";
    fs::create_directories(Program);
    fs::create_directories(Home);
    for (const char* name : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME"}) {
      const char* value = std::getenv(name);
      SavedEnvironment.emplace_back(name, value ? std::optional<std::string>(value) : std::nullopt);
    }
    ::setenv("HOME", Home.c_str(), 1);
    ::unsetenv("XDG_CONFIG_HOME");
    ::unsetenv("XDG_CACHE_HOME");
  }

  void TearDown() override {
    for (const auto& [name, value] : SavedEnvironment) {
      if (value) {
        ::setenv(name.c_str(), value->c_str(), 1);
      } else {
        ::unsetenv(name.c_str());
      }
    }
  }

  // A settings object for jogging beside the program, reading `categories`.
  std::unique_ptr<TAppData> Settings() {
    auto data = std::make_unique<TAppData>(Program);
    data->SetMode(ctJogging);
    data->CategoryList = &Categories;
    return data;
  }

  test::TTempFolder Temp;
  fs::path Root = Temp.Path(), Program, Home;
  test::TScopedClock Clock{EncodeDateTime(2024, 5, 6, 12, 0, 0)};
  TCategoryList Categories;
  std::vector<std::pair<std::string, std::optional<std::string>>> SavedEnvironment;
};

// Every field away from its default, lists with quirks: an empty entry, blanks at the ends,
// bytes that are not text.
void FillEveryField(TAppData& data, TCategoryList& categories) {
  data.Left = -8;
  data.Top = 12;
  data.Width = 1024;
  data.Height = 700;
  data.WindowState = wsMaximized;
  data.DataFilePath = "/data/日記";
  data.FileName = "/data/日記/2024.hkvj";
  data.ComboCategory = "ジョギング";
  data.DayGraphCategory = "ウォーキング";
  data.MonthGraphCategory = "自転車";
  data.YearGraphCategory = "散歩";
  data.IsShowAll = true;
  data.GoogleMapGeocodeDate = 45000;
  data.GoogleMapGeocodeCount = 17;
  data.ToolBarImageSize = 24;
  data.ThumbnailFolder = "/cache/縮小画像";
  data.IsMakeThumbnail = true;
  TChildWindowInfo& info = data.ChildWindowInfo;
  info.RecordDialogLeft = 1;
  info.RecordDialogTop = 2;
  info.RecordDialogWidth = 640;
  info.RecordDialogHeight = 480;
  info.RecordDialogLinkPanelVisible = true;
  info.RecordDialogLinkPanelWidth = 250;
  info.RecordDialogLinkPreviewPanelHeight = 150;
  info.ActFormLeft = 3;
  info.ActFormTop = 4;
  info.ActFormWidth = 500;
  info.ActFormHeight = 400;
  info.ActListTitle = 11;
  info.ActListData = 12;
  info.ActListTime = 13;
  info.ActListDate = 14;
  info.ActListEndTime = 15;
  info.ActListSpeed = 16;
  info.ActListWeight = 17;
  info.ActListEnergyConsumption = 18;
  info.IsViewEnergyConsumption = true;
  info.ActListPace = 19;
  info.IsViewPace = true;
  info.LinkListTitle = 21;
  info.LinkListLink = 22;
  info.LinkListNote = 23;
  info.LeftPanelWidth = 170;
  info.RightPanelWidth = 310;
  info.BottomPanelHeight = 320;
  info.MemoPanelHeight = 210;
  info.RightPanelDockClientList = {"MapForm\t200\t300", "  padded  "};
  info.RightTabDockClientList = {"LinkForm\t150\t300"};
  info.BottomPanelDockClientList = {};
  info.BottomTabDockClientList = {"GraphForm\t1\t2"};
  info.RightPanelDockInfo = std::string("\x00\xff\x10 dock\r\n", 10);
  info.BottomPanelDockInfo = "layout";
  info.FloatingList = {"SpeedForm\t10\t20\t300\t200", ""};
  info.DropFileDialogDestination = 2;
  info.DropFileDialogJpeg = false;
  info.DropFileDialogGps = false;
  info.DropFileDialogDate = 45001.25;
  info.DropFileDialogCategory = "ファイル";
  info.DropFileDialogUserCategory = "散歩";
  info.DropFileDialogOneAct = false;
  info.FileLinkSearchFolderList = {"/photos", "/tracks"};
  info.FileLinkSearchFileNameList = {"*.jpg", "*.gpx", "*.nma"};
  info.IsFileLinkSearchSubFolder = true;
  info.IsFileLinkSearchOneAct = true;
  data.Weight = 72.5L;
  categories.Clear();
  for (TCategoryType type : {ctWalking, ctUserCategory, ctJogging}) categories.Add({type});
  info.MapDefaultInfo.SetMapType("SATELLITE");
  info.MapDefaultInfo.SetZoom(9);
  info.MapDefaultInfo.SetLatitude(43.0621L);
  info.MapDefaultInfo.SetLongitude(141.3544L);
  info.LinkViewInfo.SetViewStyle(vsReport);
  info.LinkViewInfo.SetThumbnailWidth(160);
  info.LinkViewInfo.SetThumbnailHeight(90);
  info.LinkViewInfo.SetWidthBlank(8);
  info.LinkViewInfo.SetHeightBlank(6);
}

// Every stored field, for comparing two objects in one go.
auto OwnFields(const TAppData& a) {
  return std::tie(a.Left, a.Top, a.Width, a.Height, a.WindowState, a.DataFilePath, a.FileName, a.ComboCategory,
                  a.DayGraphCategory, a.MonthGraphCategory, a.YearGraphCategory, a.GoogleMapGeocodeDate,
                  a.GoogleMapGeocodeCount, a.ToolBarImageSize, a.ThumbnailFolder, a.IsMakeThumbnail, a.Weight);
}
// The map and link-view settings, which a new object already holds at their defaults.
bool IsViewField(const TChildWindowField& field) {
  return std::string_view(field.Ini.Section) == "Map" || std::string_view(field.Ini.Section) == "Link";
}

void ExpectSameSettings(const TAppData& a, const TAppData& b) {
  EXPECT_EQ(OwnFields(a), OwnFields(b));
  ExpectSameChildWindowInfo(a.ChildWindowInfo, b.ChildWindowInfo);
  ASSERT_TRUE(a.CategoryList != nullptr && b.CategoryList != nullptr);
  EXPECT_EQ(TypesOf(*a.CategoryList), TypesOf(*b.CategoryList));
  EXPECT_EQ(a.IsShowAll, b.IsShowAll);
}

// ---- defaults and the file form ---------------------------------------------------------------

// The exact text below pins every default, the order of sections and keys and the value forms;
// the checks before it cover what the text cannot show.
TEST_F(AppDataTest, WithoutAFileEveryKeyTakesItsDefaultAndTheFirstWriteStoresThemInOrder) {
  auto data = Settings();
  // Whatever the object held before, reading a missing file sets the defaults.
  FillEveryField(*data, Categories);
  data->Read();
  EXPECT_EQ(data->DataFilePath, Home.string());
  EXPECT_EQ(data->ChildWindowInfo.DropFileDialogDate, Now());
  EXPECT_EQ(data->Weight, 60.0L);
  EXPECT_EQ(TypesOf(Categories), TypesOf(TCategoryList::DefaultOrder()));
  ExpectSameFields(data->ChildWindowInfo, TChildWindowInfo(), IsViewField);  // exactly, not via double
  data->Write();

  const std::string bytes = ReadAll(Program / "Jogging.ini");
  ASSERT_GE(bytes.size(), 2u);
  EXPECT_EQ(bytes.substr(0, 2), "\xFF\xFE");  // UTF-16LE with its byte-order mark
  EXPECT_EQ(bytes.substr(2, 4), std::string("[\0P\0", 4));

  std::string categories = "Count=17\r\n";
  for (int i = 0; i < 17; ++i) {
    categories += "Item" + std::to_string(i) + "=" + CategoryNames()[i == 16 ? 0 : i + 1] + "\r\n";
  }
  const std::string expected =
      "[Program]\r\nLeft=0\r\nTop=0\r\nWidth=0\r\nHeight=0\r\nWindowState=0\r\n\r\n"
      "[File]\r\nDataFilePath=" +
      Home.string() +
      "\r\nFileName=\r\n\r\n"
      "[Combo]\r\nCategory=\r\n\r\n"
      "[Graph]\r\nDayCategory=\r\nMonthCategory=\r\nYearCategory=\r\n\r\n"
      "[Geocode]\r\nDate=0\r\nCount=0\r\n\r\n"
      "[ToolBar]\r\nIcon=16\r\n\r\n"
      "[Thumbnail]\r\nFolder=" +
      (Program / "Thumbnail").string() +
      "\r\nAuto=0\r\n\r\n"
      "[RecordDialog]\r\nLeft=0\r\nTop=0\r\nWidth=0\r\nHeight=0\r\nLinkPanel=0\r\nLinkPanelWidth=300\r\n"
      "LinkPreviewPanelHeight=200\r\n\r\n"
      "[ActForm]\r\nLeft=0\r\nTop=0\r\nWidth=0\r\nHeight=0\r\n\r\n"
      "[ActList]\r\nTitle=0\r\nData=0\r\nTime=0\r\nDate=0\r\nEndTime=0\r\nSpeed=0\r\nWeight=0\r\n"
      "EnergyConsumption=0\r\nViewEnergyConsumption=0\r\nPace=0\r\nViewPace=0\r\n\r\n"
      "[LinkList]\r\nTitle=0\r\nLink=0\r\nNote=0\r\n\r\n"
      "[Window]\r\nLeftPanelWidth=165\r\nRightPanelWidth=300\r\nBottomPanelHeight=300\r\nMemoPanelHeight=200\r\n"
      "RightPanelDockCount=0\r\nRightTabDockCount=0\r\n"
      "BottomPanelDockCount=1\r\nBottomPanelDock0=ActMultiGraphForm\t150\t300\r\n"
      "BottomTabDockCount=3\r\nBottomTabDock0=GraphForm\t150\t300\r\nBottomTabDock1=MonthGraphForm\t150\t300\r\n"
      "BottomTabDock2=YearGraphForm\t150\t300\r\n"
      "RightPanelDockInfo=\r\nBottomPanelDockInfo=\r\nFloatingCount=0\r\n\r\n"
      "[DropFileDialog]\r\nDestination=0\r\nJpeg=1\r\nGps=1\r\nDate=45418.5\r\nCategory=\r\nUserCategory=\r\n"
      "OneAct=1\r\n\r\n"
      "[FileLinkSearch]\r\nFolderCount=0\r\nFileNameCount=0\r\nSubFolder=0\r\nOneAct=0\r\n\r\n"
      "[Energy]\r\nWeight=60\r\n\r\n"
      "[Category]\r\n" +
      categories +
      "\r\n"
      "[Map]\r\nMapType=ROADMAP\r\nZoom=13\r\nLatitude=35.6815\r\nLongitude=139.7664\r\n\r\n"
      "[Link]\r\nViewStyle=0\r\nWidth=120\r\nHeight=120\r\nWidthBlank=20\r\nHeightBlank=20\r\n\r\n"
      "[Option]\r\nShowAll=0\r\n";
  EXPECT_EQ(TIniFile(Program / "Jogging.ini").Text(), expected);
}

TEST_F(AppDataTest, EveryKeyRoundTripsAndASecondWriteGivesTheSameBytes) {
  auto written = Settings();
  FillEveryField(*written, Categories);
  written->Write();
  const std::string first = ReadAll(Program / "Jogging.ini");

  TCategoryList readCategories;
  TAppData read(Program);
  read.SetMode(ctJogging);
  read.CategoryList = &readCategories;
  read.Read();
  ExpectSameSettings(*written, read);

  read.Write();
  EXPECT_EQ(ReadAll(Program / "Jogging.ini"), first);

  // The stored forms other programs and older files share.
  const TIniFile ini(Program / "Jogging.ini");
  EXPECT_EQ(ini.ReadString("Window", "RightPanelDockInfo", ""), "00FF1020646F636B0D0A");
  EXPECT_EQ(ini.ReadString("Thumbnail", "Auto", ""), "1");
  EXPECT_EQ(ini.ReadString("DropFileDialog", "Jpeg", ""), "0");
  EXPECT_EQ(ini.ReadString("DropFileDialog", "Date", ""), "45001.25");
  EXPECT_EQ(ini.ReadString("Energy", "Weight", ""), "72.5");
  EXPECT_EQ(ini.ReadString("Window", "Floating1", "missing"), "");
  // A user category is stored by the name of its kind and comes back as that kind.
  EXPECT_EQ(ini.ReadString("Category", "Item1", ""), "ユーザー");
}

TEST_F(AppDataTest, AWriteKeepsUnknownKeysTheRecentFilesAndOldListEntries) {
  WriteSettingsText(Program / "Jogging.ini",
                    "; kept by hand\r\n"
                    "[Program]\r\nLeft=5\r\nTheme=dark\r\n"
                    "[Extra]\r\nKey=value\r\n"
                    "[File]\r\nHistoryFileNum=2\r\nHistoryFile0=/a.hkvj\r\nHistoryFile1=/b.hkvj\r\n"
                    "[Window]\r\nFloatingCount=3\r\nFloating0=A\r\nFloating1=B\r\nFloating2=C\r\n");
  auto data = Settings();
  data->Read();
  EXPECT_EQ(data->Left, 5);
  EXPECT_EQ(data->ChildWindowInfo.FloatingList, (TStringList{"A", "B", "C"}));
  data->ChildWindowInfo.FloatingList = {"X"};
  data->Left = 9;
  data->Write();

  const TIniFile ini(Program / "Jogging.ini");
  const std::string text = ini.Text();
  EXPECT_EQ(text.rfind("; kept by hand\r\n", 0), 0u);
  EXPECT_EQ(ini.ReadString("Program", "Theme", ""), "dark");
  EXPECT_EQ(ini.ReadString("Extra", "Key", ""), "value");
  EXPECT_EQ(ini.ReadInteger("Program", "Left", 0), 9);
  EXPECT_EQ(ini.ReadString("Window", "FloatingCount", ""), "1");
  EXPECT_EQ(ini.ReadString("Window", "Floating0", ""), "X");
  EXPECT_EQ(ini.ReadString("Window", "Floating2", ""), "C");  // left in place, ignored by the count

  THistoryMenuList history;
  history.Load(Program / "Jogging.ini");
  EXPECT_EQ(history.Items(), (TStringList{"/a.hkvj", "/b.hkvj"}));

  // The main window's order at shutdown: settings, then the recent files into the same file.
  history.Add("/c.hkvj");
  history.Save(data->GetIniFileName());
  auto again = Settings();
  again->Read();
  EXPECT_EQ(again->Left, 9);
  EXPECT_EQ(again->ChildWindowInfo.FloatingList, TStringList{"X"});
  THistoryMenuList reloaded;
  reloaded.Load(again->GetIniFileName());
  EXPECT_EQ(reloaded.Items(), (TStringList{"/c.hkvj", "/a.hkvj", "/b.hkvj"}));
}

// The last file and the folders are reopened by name; a name that is not UTF-8 must survive.
TEST_F(AppDataTest, PathsThatAreNotUtf8SurviveTheSettingsFile) {
  auto data = Settings();
  data->Read();
  data->FileName = "/d/\x93\xFA\x8BL.hkvj";
  data->DataFilePath = "/d/caf\xE9";
  data->ThumbnailFolder = "/cache/\xFF";
  data->ChildWindowInfo.FileLinkSearchFolderList = {"/photos/\xE8\xB7", "/photos/写真"};
  data->Write();

  auto again = Settings();
  again->Read();
  EXPECT_EQ(again->FileName, "/d/\x93\xFA\x8BL.hkvj");
  EXPECT_EQ(again->DataFilePath, "/d/caf\xE9");
  EXPECT_EQ(again->ThumbnailFolder, "/cache/\xFF");
  EXPECT_EQ(again->ChildWindowInfo.FileLinkSearchFolderList, (TStringList{"/photos/\xE8\xB7", "/photos/写真"}));
}

// A settings file saved in Shift_JIS by an editor: its paths cannot be read as they were meant,
// so the first write keeps the file beside it before replacing it.
TEST_F(AppDataTest, ASettingsFileInAnotherEncodingIsKeptBeforeTheFirstWrite) {
  const std::string shiftJis = "[File]\r\nFileName=/home/\x93\xFA\x8BL.hkvj\r\n[Program]\r\nLeft=7\r\n";
  std::ofstream(Program / "Jogging.ini", std::ios::binary) << shiftJis;
  auto data = Settings();
  data->Read();
  EXPECT_EQ(data->Left, 7);
  data->Write();
  EXPECT_EQ(ReadAll(Program / "Jogging.ini.bak"), shiftJis);
  auto again = Settings();
  again->Read();
  EXPECT_EQ(again->Left, 7);
  EXPECT_EQ(again->FileName, "/home/\x93\xFA\x8BL.hkvj");
}

TEST_F(AppDataTest, ValuesThatDoNotConvertReadAsTheirDefaults) {
  WriteSettingsText(Program / "Jogging.ini",
                    "[Program]\r\nLeft=12px\r\nWindowState=7\r\n"
                    "[Geocode]\r\nDate=1E300\r\nCount=-5\r\n"
                    "[ToolBar]\r\nIcon=9999999999\r\n"
                    "[Thumbnail]\r\nAuto=yes\r\n"
                    "[DropFileDialog]\r\nJpeg=maybe\r\nGps=0\r\nOneAct=2\r\nDate=NAN\r\n"
                    "[Energy]\r\nWeight=heavy\r\n"
                    "[Map]\r\nZoom=1.5\r\nLatitude=north\r\nLongitude=1,5\r\n"
                    "[Link]\r\nViewStyle=9\r\nWidth=\r\n");
  auto data = Settings();
  data->Read();
  EXPECT_EQ(data->Left, 0);
  EXPECT_EQ(data->WindowState, wsNormal);
  EXPECT_EQ(data->GoogleMapGeocodeDate, 0);
  EXPECT_EQ(data->GoogleMapGeocodeCount, 0);
  EXPECT_EQ(data->ToolBarImageSize, 16);
  EXPECT_FALSE(data->IsMakeThumbnail);
  EXPECT_TRUE(data->ChildWindowInfo.DropFileDialogJpeg);
  EXPECT_FALSE(data->ChildWindowInfo.DropFileDialogGps);
  EXPECT_TRUE(data->ChildWindowInfo.DropFileDialogOneAct);
  EXPECT_EQ(data->ChildWindowInfo.DropFileDialogDate, Now());
  EXPECT_EQ(data->Weight, 60.0L);
  const TMapDefaultInfo map;
  EXPECT_EQ(data->ChildWindowInfo.MapDefaultInfo.Zoom(), 13);
  EXPECT_EQ(data->ChildWindowInfo.MapDefaultInfo.Latitude(), map.Latitude());
  EXPECT_EQ(data->ChildWindowInfo.MapDefaultInfo.Longitude(), map.Longitude());
  EXPECT_EQ(data->ChildWindowInfo.LinkViewInfo.ViewStyle(), vsIcon);
  EXPECT_EQ(data->ChildWindowInfo.LinkViewInfo.ThumbnailWidth(), 120);
}

TEST_F(AppDataTest, AFileThatCannotBeReadIsReportedAndChangesNothing) {
  fs::create_directories(Program / "Jogging.ini");  // a folder where the file should be
  auto data = Settings();
  data->Left = 77;
  EXPECT_THROW(data->Read(), EHakuvoError);
  EXPECT_EQ(data->Left, 77);
  EXPECT_EQ(Categories.Count(), 0);
  EXPECT_THROW(data->Write(), EHakuvoError);
  EXPECT_TRUE(fs::is_directory(Program / "Jogging.ini"));
}

// ---- numbered lists -----------------------------------------------------------------------------

TEST_F(AppDataTest, DockListCountsDecideBetweenDefaultsAndStoredEntries) {
  struct Case {
    const char* window;
    TStringList right;
    TStringList bottomPanel;
  };
  const TStringList defaultBottom{"ActMultiGraphForm\t150\t300"};
  const Case cases[] = {
      {"", {}, defaultBottom},
      {"RightPanelDockCount=-1\r\nBottomPanelDockCount=-1\r\n", {}, defaultBottom},
      {"RightPanelDockCount=-7\r\nBottomPanelDockCount=junk\r\n", {}, defaultBottom},
      {"RightPanelDockCount=0\r\nRightPanelDock0=Old\r\nBottomPanelDockCount=0\r\n", {}, {}},
      // Missing entries read as empty strings; entries beyond the count are ignored.
      {"RightPanelDockCount=3\r\nRightPanelDock0=A\r\nRightPanelDock2=C\r\nRightPanelDock3=D\r\n"
       "BottomPanelDockCount=1\r\nBottomPanelDock0=B\r\nBottomPanelDock1=Old\r\n",
       {"A", "", "C"},
       {"B"}},
      // Only the spelling written here names an entry.
      {"RightPanelDockCount=2\r\nrightpaneldock0=A\r\nRightPanelDock01=X\r\nRightPanelDock+1=Y\r\n"
       "BottomPanelDockCount=1\r\n",
       {"A", ""},
       {""}},
  };
  for (const Case& c : cases) {
    WriteSettingsText(Program / "Jogging.ini", std::string("[Window]\r\n") + c.window);
    auto data = Settings();
    data->Read();
    EXPECT_EQ(data->ChildWindowInfo.RightPanelDockClientList, c.right) << c.window;
    EXPECT_EQ(data->ChildWindowInfo.BottomPanelDockClientList, c.bottomPanel) << c.window;
  }
}

TEST_F(AppDataTest, AHugeCountReadsWhatIsThereWithoutBuildingMillionsOfEntries) {
  WriteSettingsText(Program / "Jogging.ini",
                    "[Window]\r\nFloatingCount=2147483647\r\nFloating0=A\r\nFloating5=F\r\n"
                    "BottomTabDockCount=2000000000\r\n"
                    "[FileLinkSearch]\r\nFolderCount=999999999\r\nFolderList1=/photos\r\n"
                    "FileNameCount=-3\r\nFileNameList0=*.jpg\r\n"
                    "[Category]\r\nCount=2147483647\r\nItem0=自転車\r\n");
  auto data = Settings();
  data->Read();
  const TStringList& floating = data->ChildWindowInfo.FloatingList;
  ASSERT_EQ(floating.size(), 6u);  // entries 0 to 5, the missing ones empty
  EXPECT_EQ(floating[0], "A");
  EXPECT_EQ(floating[5], "F");
  EXPECT_TRUE(data->ChildWindowInfo.BottomTabDockClientList.empty());
  EXPECT_EQ(data->ChildWindowInfo.FileLinkSearchFolderList, (TStringList{"", "/photos"}));
  EXPECT_TRUE(data->ChildWindowInfo.FileLinkSearchFileNameList.empty());
  EXPECT_EQ(TypesOf(Categories), std::vector<TCategoryType>{ctBicycle});
}

TEST_F(AppDataTest, CategoryListReadsNamesAsKindsAndFallsBackToTheDefaultOrder) {
  struct Case {
    const char* section;
    std::vector<TCategoryType> expected;
  };
  const std::vector<TCategoryType> defaults = TypesOf(TCategoryList::DefaultOrder());
  const Case cases[] = {
      {"", defaults},
      {"Count=0\r\nItem0=水泳\r\n", defaults},
      {"Count=-2\r\n", defaults},
      {"Count=many\r\n", defaults},
      // Empty names are skipped; any name that is not a built-in kind is the user category.
      {"Count=5\r\nItem0=ジョギング\r\nItem1=\r\nItem2=ユーザー\r\nItem3=My sport\r\nItem4=体重\r\nItem5=本\r\n",
       {ctJogging, ctUserCategory, ctUserCategory, ctWeight}},
      // Nothing usable: an empty list would offer no category and store as the default anyway.
      {"Count=2\r\nItem0=\r\nItem1=\r\n", defaults},
  };
  for (const Case& c : cases) {
    WriteSettingsText(Program / "Jogging.ini", std::string("[Category]\r\n") + c.section);
    auto data = Settings();
    data->Read();
    EXPECT_EQ(TypesOf(Categories), c.expected) << c.section;
  }

  // Without a list to fill, the stored order is neither read nor touched.
  WriteSettingsText(Program / "Jogging.ini", "[Category]\r\nCount=1\r\nItem0=本\r\n");
  TAppData data(Program);
  data.SetMode(ctJogging);
  data.Read();
  data.Write();
  const TIniFile ini(Program / "Jogging.ini");
  EXPECT_EQ(ini.ReadSection("Category"), (TStringList{"Count", "Item0"}));
  EXPECT_EQ(ini.ReadString("Category", "Item0", ""), "本");
}

// ---- address look-up limit ----------------------------------------------------------------------

TEST_F(AppDataTest, GeocodeLimitAllows2400LookUpsADayAndSurvivesARestart) {
  auto data = Settings();
  data->Read();
  const TDateTime day = EncodeDate(2024, 5, 6);
  for (int i = 0; i < 2400; ++i) ASSERT_FALSE(data->IsGoogleMapGeocodeLimit(day + 0.25)) << i;
  EXPECT_EQ(data->GoogleMapGeocodeCount, 2400);
  EXPECT_EQ(data->GoogleMapGeocodeDate, day);  // the day alone, not the time
  EXPECT_TRUE(data->IsGoogleMapGeocodeLimit(day + 0.99));
  EXPECT_EQ(data->GoogleMapGeocodeCount, 2400);
  data->Write();

  auto restarted = Settings();
  restarted->Read();
  Clock.Set(EncodeDateTime(2024, 5, 6, 23, 59, 59));
  EXPECT_TRUE(restarted->IsGoogleMapGeocodeLimit());
  Clock.Set(EncodeDateTime(2024, 5, 7, 0, 0, 1));
  EXPECT_FALSE(restarted->IsGoogleMapGeocodeLimit());
  EXPECT_EQ(restarted->GoogleMapGeocodeCount, 1);
  EXPECT_EQ(restarted->GoogleMapGeocodeDate, EncodeDate(2024, 5, 7));

  // Going back to an earlier day (a clock set back) starts that day's count afresh too.
  restarted->GoogleMapGeocodeCount = 5000;
  EXPECT_FALSE(restarted->IsGoogleMapGeocodeLimit(day));
  EXPECT_EQ(restarted->GoogleMapGeocodeCount, 1);
}

// ---- window bounds ------------------------------------------------------------------------------

TEST_F(AppDataTest, StoredBoundsApplyOnlyWhereTheWindowStaysReachable) {
  struct Case {
    TBounds saved;
    TBounds expected;
  };
  const TBounds desktop{0, 0, 1920, 1040};
  const TBounds current{100, 100, 800, 600};
  const Case cases[] = {
      {{10, 20, 640, 480}, {10, 20, 640, 480}},
      {{0, 0, 0, 0}, current},                       // never stored
      {{10, 20, 640, 0}, current},                   // half stored
      {{10, 20, -640, 480}, current},                // damaged
      {{10, -10, 640, 480}, {10, -10, 640, 480}},    // a title bar just above the top is allowed
      {{10, -11, 640, 480}, {10, 100, 640, 480}},    // higher keeps the current top
      {{10, 1040, 640, 480}, {10, 1040, 640, 480}},  // at the bottom edge
      {{10, 1041, 640, 480}, {10, 100, 640, 480}},   // below the desktop
      {{-640, 20, 640, 480}, {-640, 20, 640, 480}},  // its right edge at the desktop's left
      {{-641, 20, 640, 480}, {100, 20, 640, 480}},   // entirely to the left
      {{1920, 20, 640, 480}, {1920, 20, 640, 480}},  // at the right edge
      {{1921, 20, 640, 480}, {100, 20, 640, 480}},   // beyond it
      {{INT_MIN, INT_MIN, 640, 480}, {100, 100, 640, 480}},
  };
  auto data = Settings();
  for (const Case& c : cases) {
    data->Left = c.saved.Left;
    data->Top = c.saved.Top;
    data->Width = c.saved.Width;
    data->Height = c.saved.Height;
    const TBounds main = data->MainFormBounds(current, desktop);
    EXPECT_EQ(main, c.expected) << c.saved.Left << "," << c.saved.Top << " " << c.saved.Width << "x" << c.saved.Height;

    TChildWindowInfo& info = data->ChildWindowInfo;
    info.RecordDialogLeft = c.saved.Left;
    info.RecordDialogTop = c.saved.Top;
    info.RecordDialogWidth = c.saved.Width;
    info.RecordDialogHeight = c.saved.Height;
    EXPECT_EQ(data->RecordDialogBounds(current, desktop), c.expected);
  }

  // A desktop that does not start at 0, 0 (a second screen to the left).
  data->Left = -1500;
  data->Top = 50;
  data->Width = 800;
  data->Height = 600;
  EXPECT_EQ(data->MainFormBounds(current, {-1920, 0, 3840, 1080}), (TBounds{-1500, 50, 800, 600}));

  // The search window takes what was stored, once something was.
  data->ChildWindowInfo.ActFormWidth = 0;
  EXPECT_EQ(data->ActFormBounds(current), current);
  data->ChildWindowInfo.ActFormLeft = -5000;
  data->ChildWindowInfo.ActFormTop = 7;
  data->ChildWindowInfo.ActFormWidth = 500;
  data->ChildWindowInfo.ActFormHeight = 300;
  EXPECT_EQ(data->ActFormBounds(current), (TBounds{-5000, 7, 500, 300}));
}

// ---- modes and folders --------------------------------------------------------------------------

TEST_F(AppDataTest, EachModeHasItsOwnFile) {
  EXPECT_EQ(TAppData::IniFileNameOfMode(ctJogging), "Jogging.ini");
  EXPECT_EQ(TAppData::IniFileNameOfMode(ctWalking), "Walking.ini");
  EXPECT_EQ(TAppData::IniFileNameOfMode(ctBicycle), "Bicycle.ini");
  EXPECT_THROW(TAppData::IniFileNameOfMode(ctSwimming), std::invalid_argument);
  EXPECT_EQ(TAppData(Program).IniFileName, "Hakuvo.ini");

  auto jogging = Settings();
  jogging->Left = 42;
  jogging->Write();
  THistoryMenuList history;
  history.Add("/jogging.hkvj");
  history.Save(jogging->GetIniFileName());

  TAppData walking(Program);
  walking.SetMode(ctWalking);
  EXPECT_EQ(walking.GetIniFileName(), Program / "Walking.ini");
  walking.Read();
  EXPECT_EQ(walking.Left, 0);
  history.Load(walking.GetIniFileName());
  EXPECT_EQ(history.Count(), 0u);
}

TEST_F(AppDataTest, UserFoldersFollowTheXdgVariablesOrTheHomeFolder) {
  EXPECT_EQ(UserSettingsFolder(), Home / ".config/Orimaze/Hakuvo");
  EXPECT_EQ(UserCacheFolder(), Home / ".cache/Orimaze/Hakuvo");
  ::setenv("XDG_CONFIG_HOME", (Root / "cfg").c_str(), 1);
  ::setenv("XDG_CACHE_HOME", (Root / "cache").c_str(), 1);
  EXPECT_EQ(UserSettingsFolder(), Root / "cfg/Orimaze/Hakuvo");
  EXPECT_EQ(UserCacheFolder(), Root / "cache/Orimaze/Hakuvo");
  // Relative and empty values are not folders the XDG base-directory rules allow.
  ::setenv("XDG_CONFIG_HOME", "relative/cfg", 1);
  ::setenv("XDG_CACHE_HOME", "", 1);
  EXPECT_EQ(UserSettingsFolder(), Home / ".config/Orimaze/Hakuvo");
  EXPECT_EQ(UserCacheFolder(), Home / ".cache/Orimaze/Hakuvo");
}

TEST_F(AppDataTest, SettingsStayBesideAWritableProgramUnlessTheSwitchMovesThem) {
  ::setenv("XDG_CONFIG_HOME", (Root / "cfg").c_str(), 1);
  ::setenv("XDG_CACHE_HOME", (Root / "cache").c_str(), 1);
  const fs::path userFolder = Root / "cfg/Orimaze/Hakuvo";

  auto data = Settings();
  EXPECT_FALSE(data->ChooseSettingsFolder(false));
  EXPECT_EQ(data->GetIniFileName(), Program / "Jogging.ini");
  EXPECT_EQ(data->ThumbnailFolder, (Program / "Thumbnail").string());
  EXPECT_FALSE(fs::exists(userFolder));

  EXPECT_TRUE(data->ChooseSettingsFolder(true));
  EXPECT_TRUE(fs::is_directory(userFolder));
  EXPECT_EQ(data->GetIniFileName(), userFolder / "Jogging.ini");
  EXPECT_EQ(data->ThumbnailFolder, (Root / "cache/Orimaze/Hakuvo/Thumbnail").string());
  data->Read();
  EXPECT_EQ(data->ThumbnailFolder, (Root / "cache/Orimaze/Hakuvo/Thumbnail").string());
  data->Write();
  EXPECT_TRUE(fs::exists(userFolder / "Jogging.ini"));
  EXPECT_FALSE(fs::exists(Program / "Jogging.ini"));

  // A thumbnail folder the user chose does not move with the settings.
  data->ThumbnailFolder = "/photos/thumbs";
  data->SetIsAppDataFolder(false);
  EXPECT_EQ(data->ThumbnailFolder, "/photos/thumbs");
}

TEST_F(AppDataTest, AProgramFolderThatCannotBeWrittenSendsTheSettingsToTheUserFolder) {
  std::ofstream(Root / "plain-file") << "x";
  const fs::path unwritable = Root / "plain-file" / "program";  // cannot even be created
  TAppData data(unwritable);
  data.SetMode(ctBicycle);
  EXPECT_TRUE(data.ChooseSettingsFolder(false));
  EXPECT_EQ(data.GetIniFileName(), Home / ".config/Orimaze/Hakuvo/Bicycle.ini");
  EXPECT_EQ(data.ThumbnailFolder, (Home / ".cache/Orimaze/Hakuvo/Thumbnail").string());
  data.Read();
  data.Write();
  EXPECT_TRUE(fs::exists(Home / ".config/Orimaze/Hakuvo/Bicycle.ini"));

  // When the user folder cannot be made either, the settings stay where the program is.
  ::setenv("XDG_CONFIG_HOME", (Root / "plain-file" / "cfg").c_str(), 1);
  auto beside = Settings();
  EXPECT_FALSE(beside->ChooseSettingsFolder(true));
  EXPECT_EQ(beside->GetIniFileName(), Program / "Jogging.ini");
  EXPECT_FALSE(IsWritableFolder(unwritable));
  EXPECT_TRUE(IsWritableFolder(Program));
  EXPECT_FALSE(IsWritableFolder({}));
}

// A user install puts the program into ~/.local/bin, which the user may write: the settings must
// still not land among the executables there.
TEST_F(AppDataTest, AnInstalledProgramKeepsItsSettingsInTheUserFolderEvenWhenItsFolderIsWritable) {
  ::setenv("XDG_CONFIG_HOME", (Root / "cfg").c_str(), 1);
  const fs::path bin = Root / ".local" / "bin";
  fs::create_directories(bin);
  ASSERT_TRUE(IsWritableFolder(bin));
  TAppData data(bin);
  data.SetMode(ctWalking);
  EXPECT_TRUE(data.ChooseSettingsFolder(false));
  EXPECT_EQ(data.GetIniFileName(), Root / "cfg/Orimaze/Hakuvo/Walking.ini");

  for (const auto& [folder, installed] : std::initializer_list<std::pair<fs::path, bool>>{{"/usr/bin", true},
                                                                                          {"/usr/local/bin/", true},
                                                                                          {bin, true},
                                                                                          {"/work/build/src", false},
                                                                                          {"/opt/hakuvo", false},
                                                                                          {"/home/u/binaries", false},
                                                                                          {"", false}}) {
    EXPECT_EQ(IsInstalledProgramFolder(folder), installed) << folder;
  }
}

}  // namespace
}  // namespace hakuvo
