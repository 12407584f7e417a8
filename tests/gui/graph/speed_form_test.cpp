#include "gui/graph/speed_form.h"

#include <QStackedWidget>
#include <QTabBar>
#include <cstdlib>

#include <gtest/gtest.h>

#include <qcustomplot.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QImage>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTabBar>
#include <QTest>
#include <algorithm>
#include <cmath>
#include <sstream>
#include <string>
#include <vector>

#include "core/model/category_info_list.h"
#include "core/model/link_data.h"
#include "gui/categories/category_set_dialog.h"
#include "gui/categories/category_set_dialog_pages.h"
#include "gui/document/diary_document.h"
#include "support/fit_writer.h"
#include "support/qt_application.h"
#include "support/screenshot.h"
#include "support/temp_folder.h"

namespace hakuvo {
namespace {

// The calls the speed graph makes on the map.
class TFakeMap : public TMapPort {
 public:
  struct TCall {
    std::string Name;
    double Latitude;
    double Longitude;
    bool IsClear;
  };
  void SetMapCategory(const std::string&) override {}
  void SetMapLinkData(const TLinkData*) override {}
  void PanTo(double latitude, double longitude, bool isClear) override {
    Calls.push_back({"PanTo", latitude, longitude, isClear});
  }
  void CreateMarker(double latitude, double longitude, bool isClear) override {
    Calls.push_back({"CreateMarker", latitude, longitude, isClear});
  }
  void ClearMap() override { Calls.push_back({"ClearMap", 0, 0, false}); }
  bool EditPlace(QWidget*, TPlace&) override { return false; }

  std::vector<TCall> Calls;
};

// A fix of a test track: minutes after 07:00 UTC, latitude and altitude.
struct TFix {
  int Minutes;
  double Latitude;
  double Altitude;
};

std::string Gpx(const std::vector<TFix>& fixes) {
  std::ostringstream text;
  text << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>\n";
  for (const TFix& fix : fixes) {
    char time[32];
    std::snprintf(time, sizeof time, "2024-05-03T%02d:%02d:00Z", 7 + fix.Minutes / 60, fix.Minutes % 60);
    text << "<trkpt lat=\"" << fix.Latitude << "\" lon=\"139.5\"><ele>" << fix.Altitude << "</ele><time>" << time
         << "</time></trkpt>\n";
  }
  text << "</trkseg></trk></gpx>\n";
  return text.str();
}

// 0.01 degree of latitude in 6 minutes is about 11 km/h; point 3 comes at about 33 km/h.
const std::vector<TFix> kRun = {{0, 35.00, 10}, {6, 35.01, 12}, {12, 35.02, 15}, {14, 35.03, 20}, {20, 35.04, 18}};

class SpeedFormTest : public testing::Test {
 protected:
  void SetUp() override {
    test::EnsureQtApplication();
    setenv("TZ", "UTC", 1);
    tzset();
    Ports.Map = &Map;
    Form = std::make_unique<TSpeedForm>(&Document, &Ports);
    Form->resize(800, 500);
    Form->SetCategory(CategoryNames()[ctJogging]);
  }

  TSpeedGraphInfo& Settings() { return Document.CategoryInfoList().GetCategoryItems(ctJogging)->SpeedGraphInfo(); }

  // Shows the form with a track link of the fixes.
  void ShowTrack(const std::vector<TFix>& fixes) {
    Link.FileName = Folder.Write("run.gpx", Gpx(fixes));
    Form->show();
    Form->SetLinkData(&Link);
  }

  // Clicks the chart where the value at `index` of the series is drawn.
  void ClickValue(QCPGraph* series, int index) {
    const QCPGraphData& value = *(series->data()->at(index));
    QPoint at(qRound(series->keyAxis()->coordToPixel(value.key)),
              qRound(series->valueAxis()->coordToPixel(value.value)));
    // A user clicks inside the plot area; a value at its very edge is within reach from there.
    const QRect area = series->keyAxis()->axisRect()->rect();
    at.setX(std::clamp(at.x(), area.left(), area.right()));
    at.setY(std::clamp(at.y(), area.top(), area.bottom()));
    QTest::mouseClick(Form->Chart(), Qt::LeftButton, Qt::NoModifier, at);
  }

  std::vector<double> SpeedValuesDrawn() const {
    std::vector<double> values;
    for (const QCPGraphData& value : *Form->SpeedSeries()->data()) values.push_back(value.value);
    return values;
  }

  test::TTempFolder Folder;
  TDiaryDocument Document;
  TFakeMap Map;
  TWindowPorts Ports;
  TGpsFileLink Link;
  std::unique_ptr<TSpeedForm> Form;
};

TEST_F(SpeedFormTest, AClickAfterAGapShowsItsOwnPointOnTheMap) {
  Settings().SetLimitSpeed(20);
  // Points 2 and 3 come at about 33 km/h.
  ShowTrack({{0, 35.00, 10}, {6, 35.01, 12}, {8, 35.02, 15}, {10, 35.03, 20}, {16, 35.04, 18}, {22, 35.05, 16}});

  // They are gone from the speed line, which breaks where they were; the altitude keeps them.
  const std::vector<double> speeds = SpeedValuesDrawn();
  ASSERT_EQ(speeds.size(), 5u);
  EXPECT_TRUE(std::isnan(speeds[2]));
  EXPECT_EQ(Form->AltitudeSeries()->dataCount(), 6);

  // The value drawn after the gap is point 4's, whatever its place in the line.
  ClickValue(Form->SpeedSeries(), 3);
  ASSERT_EQ(Map.Calls.size(), 2u);
  EXPECT_EQ(Map.Calls[0].Name, "PanTo");
  EXPECT_EQ(Map.Calls[1].Name, "CreateMarker");
  for (const TFakeMap::TCall& call : Map.Calls) {
    EXPECT_NEAR(call.Latitude, 35.04, 1e-9);
    EXPECT_NEAR(call.Longitude, 139.5, 1e-9);
    EXPECT_FALSE(call.IsClear);
  }
  // So is the last value, at the very edge of the plot.
  Map.Calls.clear();
  ClickValue(Form->SpeedSeries(), 4);
  ASSERT_EQ(Map.Calls.size(), 2u);
  EXPECT_NEAR(Map.Calls[0].Latitude, 35.05, 1e-9);

  // The altitude area answers for the point the speed line left out.
  Map.Calls.clear();
  Form->ShowValueOnMap(Form->AltitudeSeries(), 3);
  ASSERT_EQ(Map.Calls.size(), 2u);
  EXPECT_NEAR(Map.Calls[0].Latitude, 35.03, 1e-9);

  // The break itself is no point.
  Map.Calls.clear();
  Form->ShowValueOnMap(Form->SpeedSeries(), 2);
  EXPECT_TRUE(Map.Calls.empty());

  // Without a map a click does nothing.
  Ports.Map = nullptr;
  ClickValue(Form->SpeedSeries(), 4);
  EXPECT_TRUE(Map.Calls.empty());
}

TEST_F(SpeedFormTest, AValueBetweenTwoGapsIsDrawnAsAMarker) {
  Settings().SetLimitSpeed(20);
  // Fixes 2 and 4 come at about 33 km/h: fix 3 is left with a gap on either side.
  ShowTrack({{0, 35.00, 10},
             {6, 35.01, 12},
             {8, 35.02, 15},
             {14, 35.03, 20},
             {16, 35.04, 18},
             {22, 35.05, 16},
             {28, 35.06, 15}});
  const std::vector<double> speeds = SpeedValuesDrawn();
  std::vector<std::size_t> between;
  for (std::size_t i = 1; i + 1 < speeds.size(); ++i) {
    if (!std::isnan(speeds[i]) && std::isnan(speeds[i - 1]) && std::isnan(speeds[i + 1])) between.push_back(i);
  }
  ASSERT_EQ(between.size(), 1u);
  const QCPGraph* markers = Form->LoneMarkers(Form->SpeedSeries());
  ASSERT_EQ(markers->dataCount(), 1);
  EXPECT_EQ(markers->data()->at(0)->key, Form->SpeedSeries()->data()->at(static_cast<int>(between[0]))->key);
  EXPECT_DOUBLE_EQ(markers->data()->at(0)->value, speeds[between[0]]);
  EXPECT_FALSE(markers->scatterStyle().isNone());
  EXPECT_EQ(markers->scatterStyle().pen().color(), Form->SpeedSeries()->pen().color());
  EXPECT_TRUE(markers->visible());
  test::SaveScreenshot(*Form, QStringLiteral("speed_lone_point"));
  // The altitude has no gap, so no marker; a track without gaps has none either.
  EXPECT_EQ(Form->LoneMarkers(Form->AltitudeSeries())->dataCount(), 0);
  Settings().SetLimitSpeed(0);
  ShowTrack({{0, 35.00, 10}, {6, 35.01, 12}, {12, 35.02, 15}});
  EXPECT_EQ(Form->LoneMarkers(Form->SpeedSeries())->dataCount(), 0);
}

TEST_F(SpeedFormTest, TheHandCursorShowsOverAValue) {
  ShowTrack(kRun);
  const auto moveTo = [this](QPointF at) {
    QMouseEvent move(QEvent::MouseMove, at, Form->Chart()->mapToGlobal(at), Qt::NoButton, Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(Form->Chart(), &move);
    return Form->Chart()->cursor().shape();
  };
  const QCPGraphData& speed = *Form->SpeedSeries()->data()->at(2);
  const QPointF onSpeed(Form->Chart()->xAxis->coordToPixel(speed.key) + 2,
                        Form->Chart()->yAxis->coordToPixel(speed.value) - 2);
  EXPECT_EQ(moveTo(onSpeed), Qt::PointingHandCursor);
  const QCPGraphData& altitude = *Form->AltitudeSeries()->data()->at(1);
  EXPECT_EQ(moveTo(QPointF(Form->Chart()->xAxis->coordToPixel(altitude.key),
                           Form->Chart()->yAxis2->coordToPixel(altitude.value) + 3)),
            Qt::PointingHandCursor);
  EXPECT_EQ(moveTo(QPointF(onSpeed.x(), Form->Chart()->yAxis->coordToPixel(speed.value) + 60)), Qt::ArrowCursor);
}

TEST_F(SpeedFormTest, CopyDataTakesTheRowsTheBottomAxisShows) {
  Settings().SetBottomAxisKind(baTermMin);
  ShowTrack({{0, 35.00, 10}, {6, 35.01, 12.5}, {12, 35.02, 15}});
  const QString header = QStringLiteral("日\t速度(km/h)\t高度(m)\r\n");

  Form->CopyDataCommand();
  QStringList rows = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
  ASSERT_EQ(rows.size(), 5) << rows.join('|').toStdString();  // header, three rows, the empty end
  EXPECT_EQ(rows[0] + "\r\n", header);
  EXPECT_EQ(rows[1], QStringLiteral("0.00\t0\t10"));
  EXPECT_TRUE(rows[2].startsWith(QStringLiteral("6.00\t11.09"))) << rows[2].toStdString();
  EXPECT_TRUE(rows[2].endsWith(QStringLiteral("\t12.5")));
  EXPECT_TRUE(rows[3].startsWith(QStringLiteral("12.00\t")));

  // Narrowed to the middle minutes, only the row inside is copied.
  Form->Chart()->xAxis->setRange(3, 9);
  Form->CopyDataCommand();
  rows = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
  ASSERT_EQ(rows.size(), 3);
  EXPECT_TRUE(rows[1].startsWith(QStringLiteral("6.00\t")));

  // The ends of the range count.
  Form->Chart()->xAxis->setRange(0, Form->Data().SpeedValues()[1].X);
  Form->CopyDataCommand();
  EXPECT_EQ(QApplication::clipboard()->text().count(QStringLiteral("\r\n")), 3);

  // Without the speed line, only the header.
  Settings().SetIsSpeedSeries(false);
  Form->Redraw();
  Form->CopyDataCommand();
  EXPECT_EQ(QApplication::clipboard()->text(), header);
}

TEST_F(SpeedFormTest, CopyDataOnTheTimeAxisWritesTheFixTimes) {
  Settings().SetBottomAxisKind(baTime);
  ShowTrack({{0, 35.00, 10}, {6, 35.01, 12}});
  Form->CopyDataCommand();
  const QStringList rows = QApplication::clipboard()->text().split(QStringLiteral("\r\n"));
  ASSERT_EQ(rows.size(), 4);
  EXPECT_EQ(rows[1], QStringLiteral("2024/05/03 07:00:00\t0\t10"));
  EXPECT_TRUE(rows[2].startsWith(QStringLiteral("2024/05/03 07:06:00\t")));
  EXPECT_EQ(Form->Chart()->xAxis->label(), QStringLiteral("時刻"));
}

TEST_F(SpeedFormTest, CopyImagePutsTheChartOnTheClipboard) {
  ShowTrack(kRun);
  Form->CopyImageCommand();
  const QImage image = QApplication::clipboard()->image();
  EXPECT_FALSE(image.isNull());
  EXPECT_EQ(image.width(), Form->Chart()->width());
  EXPECT_EQ(Form->Chart()->actions(), (QList<QAction*>{Form->CopyDataAction(), Form->CopyImageAction()}));
  EXPECT_EQ(Form->CopyDataAction()->text(), QStringLiteral("データをクリップボードにコピー(&C)"));
  EXPECT_EQ(Form->CopyImageAction()->text(), QStringLiteral("画像をクリップボードにコピー(&I)"));
}

TEST_F(SpeedFormTest, SettingsButtonOpensTheSpeedPageAloneWithLimitAveragesAndTheMapLine) {
  ShowTrack(kRun);
  QSignalSpy changed(&Document, &TDiaryDocument::DataChanged);
  bool speedAlone = false;
  Form->SetDialogRunner([&](QDialog& dialog) {
    auto& settings = static_cast<TCategorySetDialog&>(dialog);
    settings.show();
    speedAlone =
        settings.Pages()->currentIndex() == TCategorySetDialog::piSpeedGraph && !settings.TabBar()->isVisible();
    if (const char* shot = std::getenv("HAKUVO_SHOT_SPEED_PAGE")) settings.grab().save(QString::fromLocal8Bit(shot));
    TSpeedSettingsPage& page = *settings.SpeedPage();
    page.LimitSpeedEdit()->setText(QStringLiteral("25"));
    page.SpeedAverageEdit()->setText(QStringLiteral("5"));
    page.AltitudeAverageEdit()->setText(QStringLiteral("3"));
    page.MapWidthEdit()->setText(QStringLiteral("6"));
    page.MapOpacityEdit()->setText(QStringLiteral("0.5"));
    page.MapLimitSpeedEdit()->setText(QStringLiteral("30"));
    settings.hide();
    return static_cast<int>(QDialog::Rejected);
  });
  Form->SettingsAction()->trigger();
  EXPECT_TRUE(speedAlone);
  EXPECT_EQ(changed.count(), 0);
  const TCategoryInfo& info = *Document.CategoryInfoList().GetCategoryItems(ctJogging);
  EXPECT_EQ(info.SpeedGraphInfo().LimitSpeed(), 0);  // cancelled: nothing stored

  // OK stores the new fields where the diary file keeps them.
  Form->SetDialogRunner([&](QDialog& dialog) {
    auto& settings = static_cast<TCategorySetDialog&>(dialog);
    TSpeedSettingsPage& page = *settings.SpeedPage();
    page.LimitSpeedEdit()->setText(QStringLiteral("25"));
    page.SpeedAverageEdit()->setText(QStringLiteral("5"));
    page.AltitudeAverageEdit()->setText(QStringLiteral("3"));
    page.MapWidthEdit()->setText(QStringLiteral("6"));
    page.MapOpacityEdit()->setText(QStringLiteral("0.5"));
    page.MapLimitSpeedEdit()->setText(QStringLiteral("30"));
    settings.accept();
    return settings.result();
  });
  Form->SettingsAction()->trigger();
  EXPECT_EQ(info.SpeedGraphInfo().LimitSpeed(), 25);
  EXPECT_EQ(info.SpeedGraphInfo().SpeedMovingAverage(), 5);
  EXPECT_EQ(info.SpeedGraphInfo().AltitudeMovingAverage(), 3);
  EXPECT_EQ(info.MapInfo().LineWidth(), 6);
  EXPECT_EQ(info.MapInfo().LineOpacity(), 0.5L);
  EXPECT_EQ(info.MapInfo().LimitSpeed(), 30);
  EXPECT_EQ(changed.count(), 1);

  // Bad input is refused with a message per field and stores nothing.
  QStringList messages;
  Form->SetDialogRunner([&](QDialog& dialog) {
    auto& settings = static_cast<TCategorySetDialog&>(dialog);
    settings.SetErrorHandler([&](const QString& message) { messages << message; });
    settings.SpeedPage()->SpeedAverageEdit()->setText(QStringLiteral("x"));
    settings.SpeedPage()->MapOpacityEdit()->setText(QStringLiteral("2"));
    settings.accept();
    return settings.result();
  });
  Form->SettingsAction()->trigger();
  EXPECT_EQ(messages, QStringList({QStringLiteral("速度グラフの[移動平均]が数値ではありません"),
                                   QStringLiteral("地図の[不透明度]は0から1までの数値です")}));
  EXPECT_EQ(info.SpeedGraphInfo().SpeedMovingAverage(), 5);
  EXPECT_EQ(changed.count(), 1);
}

TEST_F(SpeedFormTest, SettingsOkRedrawsAndTellsTheDiary) {
  ShowTrack(kRun);
  QSignalSpy changed(&Document, &TDiaryDocument::DataChanged);
  // On OK the window draws again (here a track that changed meanwhile) and the diary hears of it.
  Form->SetDialogRunner([&](QDialog&) {
    Folder.Write("run.gpx", Gpx({{0, 35.0, 1}, {6, 35.01, 2}}));
    return static_cast<int>(QDialog::Accepted);
  });
  Form->SettingsAction()->trigger();
  EXPECT_EQ(Form->SpeedSeries()->dataCount(), 2);
  EXPECT_EQ(changed.count(), 1);
}

// A runner's speed line read as pace: minutes per kilometre on an axis turned over, ticks in m:ss;
// the title carries the summary beside the average speed.
TEST_F(SpeedFormTest, PaceAxisForRunnersAndTheSummaryInTheTitle) {
  Settings().SetIsPaceAxis(true);
  ShowTrack(kRun);
  EXPECT_NE(Form->Title().indexOf(QStringLiteral("　上昇 ")), -1) << Form->Title().toStdString();
  EXPECT_EQ(Form->Chart()->yAxis->label(), QStringLiteral("ペース(分/km)"));
  EXPECT_TRUE(Form->Chart()->yAxis->rangeReversed());
  // 1.11 km in 6 minutes: 5:24 per km, so the line holds about 5.4 minutes.
  ASSERT_GT(Form->SpeedSeries()->dataCount(), 0);
  EXPECT_NEAR(Form->SpeedSeries()->data()->begin()->value, 5.41, 0.01);
  Form->Chart()->replot();
  const QVector<QString> labels = Form->Chart()->yAxis->tickVectorLabels();
  ASSERT_FALSE(labels.isEmpty());
  for (const QString& label : labels) {
    EXPECT_TRUE(QRegularExpression(QStringLiteral("^[0-9]+:[0-5][0-9]$")).match(label).hasMatch())
        << label.toStdString();
  }

  // A cyclist's graph stays in km/h whatever the setting says.
  TSpeedGraphInfo& bicycle = Document.CategoryInfoList().GetCategoryItems(ctBicycle)->SpeedGraphInfo();
  bicycle.SetIsPaceAxis(true);
  Form->SetCategory(CategoryNames()[ctBicycle]);
  Form->Redraw();
  EXPECT_EQ(Form->Chart()->yAxis->label(), QStringLiteral("速度(km/h)"));
  EXPECT_FALSE(Form->Chart()->yAxis->rangeReversed());
}

TEST_F(SpeedFormTest, AverageSpeedTitleAndAxesFollowTheSettings) {
  ShowTrack(kRun);
  EXPECT_TRUE(Form->Title().startsWith(QStringLiteral("平均速度： "))) << Form->Title().toStdString();
  EXPECT_TRUE(Form->Title().endsWith(QStringLiteral(" km/h")));
  EXPECT_EQ(Form->Chart()->xAxis->label(), QStringLiteral("距離(km)"));
  EXPECT_TRUE(Form->Chart()->yAxis->visible());
  EXPECT_FALSE(Form->Chart()->yAxis2->grid()->visible());

  Settings().SetIsAverageSpeed(false);
  Settings().SetIsSpeedSeries(false);
  Settings().SetIsRightAutoAxis(false);
  Settings().SetRightAxisMin(-5);
  Settings().SetRightAxisMax(100);
  Settings().SetBottomAxisKind(baTermHour);
  Form->Redraw();
  EXPECT_EQ(Form->Title(), QString());
  EXPECT_FALSE(Form->Chart()->yAxis->visible());
  EXPECT_TRUE(Form->Chart()->yAxis2->grid()->visible());
  EXPECT_EQ(Form->Chart()->yAxis2->range(), QCPRange(-5, 100));
  EXPECT_EQ(Form->Chart()->xAxis->label(), QStringLiteral("時間"));
  EXPECT_EQ(Form->SpeedSeries()->dataCount(), 0);
}

TEST_F(SpeedFormTest, HiddenItStoresAndShowingDraws) {
  Link.FileName = Folder.Write("run.gpx", Gpx(kRun));
  Form->SetLinkData(&Link);
  EXPECT_EQ(Form->SpeedSeries()->dataCount(), 0);
  Form->show();
  EXPECT_EQ(Form->SpeedSeries()->dataCount(), 5);
}

TEST_F(SpeedFormTest, LinksThatDrawNothing) {
  ShowTrack(kRun);

  // A photograph leaves the chart as it was.
  TImageFileLink photo;
  photo.FileName = std::string(HAKUVO_TESTDATA_DIR) + "/photos/gps_DSCN0010.jpg";
  Form->SetLinkData(&photo);
  EXPECT_EQ(Form->SpeedSeries()->dataCount(), 5);

  // A track that cannot be read empties it, without a message.
  TGpsFileLink broken;
  broken.FileName = Folder.Write("broken.gpx", "<gpx><trk><trkseg><trkpt lat=");
  Form->SetLinkData(&broken);
  EXPECT_EQ(Form->SpeedSeries()->dataCount(), 0);
  EXPECT_EQ(Form->AltitudeSeries()->dataCount(), 0);
  EXPECT_EQ(Form->Title(), QString());

  // Tracks of one point, of none, and of points all at one time draw without a title.
  struct TCase {
    std::vector<TFix> Fixes;
    int Values;
  };
  const TCase cases[] = {{{}, 0}, {{{0, 35, 3}}, 1}, {{{5, 35, 3}, {5, 35.01, 4}, {5, 35.02, 5}}, 3}};
  for (const TCase& c : cases) {
    ShowTrack(c.Fixes);
    EXPECT_EQ(Form->SpeedSeries()->dataCount(), c.Values);
    EXPECT_EQ(Form->Title(), QString());
    Form->CopyDataCommand();
    EXPECT_EQ(QApplication::clipboard()->text().count(QStringLiteral("\r\n")), c.Values + 1);
  }

  // A diary going away takes its links with it.
  ShowTrack(kRun);
  emit Document.DiaryAboutToBeReset();
  EXPECT_EQ(Form->LinkData(), nullptr);
  EXPECT_EQ(Form->SpeedSeries()->dataCount(), 0);
}

TEST_F(SpeedFormTest, ABrokenViewFileIsReadFromTheTrack) {
  Link.ViewFileName = Folder.Write("cache.gps", "not a view file");
  ShowTrack(kRun);
  EXPECT_EQ(Form->SpeedSeries()->dataCount(), 5);
}

// A watch's FIT file and a TCX file of the same run draw the same speeds as its GPX.
TEST_F(SpeedFormTest, FitAndTcxFilesDrawAsTheirGpx) {
  ShowTrack(kRun);
  const std::vector<double> fromGpx = SpeedValuesDrawn();
  ASSERT_EQ(fromGpx.size(), 5u);

  test::TFitWriter fit;
  fit.Define(0, test::kFitRecord, {test::kFitTimestamp, test::kFitLatitude, test::kFitLongitude, test::kFitAltitude});
  std::string tcx = "<TrainingCenterDatabase><Activities><Activity><Lap><Track>";
  for (const TFix& fix : kRun) {
    fit.Data(0, {test::FitSeconds(2024, 5, 3, 7 + fix.Minutes / 60, fix.Minutes % 60, 0),
                 test::FitSemicircles(fix.Latitude), test::FitSemicircles(139.5), test::FitAltitude(fix.Altitude)});
    char time[32];
    std::snprintf(time, sizeof time, "2024-05-03T%02d:%02d:00Z", 7 + fix.Minutes / 60, fix.Minutes % 60);
    std::ostringstream point;
    point << "<Trackpoint><Time>" << time << "</Time><Position><LatitudeDegrees>" << fix.Latitude
          << "</LatitudeDegrees><LongitudeDegrees>139.5</LongitudeDegrees></Position><AltitudeMeters>" << fix.Altitude
          << "</AltitudeMeters></Trackpoint>";
    tcx += point.str();
  }
  tcx += "</Track></Lap></Activity></Activities></TrainingCenterDatabase>";
  for (const auto& [name, bytes] : {std::pair<std::string, std::string>{"run.FIT", fit.File()}, {"run.tcx", tcx}}) {
    TGpsFileLink link;
    link.FileName = Folder.Write(name, bytes);
    Form->SetLinkData(&link);
    const std::vector<double> drawn = SpeedValuesDrawn();
    ASSERT_EQ(drawn.size(), fromGpx.size()) << name;
    // Semicircles hold a position to a centimetre.
    for (std::size_t i = 0; i < drawn.size(); ++i) EXPECT_NEAR(drawn[i], fromGpx[i], 1e-3) << name << " " << i;
    Form->SetLinkData(&Link);
  }
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

TEST_F(SpeedFormTest, ALongTrackIsDrawnThinnedToThePlotWithItsPeaks) {
  // A fix a second for 2 hours: ten times more values than the plot has pixel columns.
  std::ostringstream text;
  text << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>\n";
  for (int second = 0; second < 7200; ++second) {
    const double altitude = second == 4800 ? 300 : 10 + second % 7;
    const double latitude = 35.0 + second * 0.00003 + (second == 6000 ? 0.002 : 0);
    char time[32];
    std::snprintf(time, sizeof time, "2024-05-03T%02d:%02d:%02dZ", 7 + second / 3600, second / 60 % 60, second % 60);
    text << "<trkpt lat=\"" << latitude << "\" lon=\"139.5\"><ele>" << altitude << "</ele><time>" << time
         << "</time></trkpt>\n";
  }
  text << "</trkseg></trk></gpx>\n";
  Settings().SetIsLeftAutoAxis(true);
  Link.FileName = Folder.Write("long.gpx", text.str());
  // Drawn at once here; the worker's way has tests of its own.
  Form->SetWorkerTrackBytes(std::uintmax_t{1} << 30);
  Form->show();
  Form->SetLinkData(&Link);
  const int drawn = Form->AltitudeSeries()->dataCount();
  EXPECT_LT(drawn, 7200 / 2);
  EXPECT_LE(drawn, 4 * (Form->Chart()->axisRect()->width() + 1));
  double highest = 0;
  int highestIndex = -1;
  for (int i = 0; i < drawn; ++i) {
    if (Form->AltitudeSeries()->data()->at(i)->value > highest) {
      highest = Form->AltitudeSeries()->data()->at(i)->value;
      highestIndex = i;
    }
  }
  EXPECT_EQ(highest, 300);
  const auto speeds = SpeedValuesDrawn();
  double fastest = 0;
  for (const TSpeedGraphValue& value : Form->Data().SpeedValues()) fastest = std::max(fastest, value.Y);
  EXPECT_EQ(*std::max_element(speeds.begin(), speeds.end()), fastest);
  // The speed axis ends above the fastest value.
  EXPECT_GT(Form->Chart()->yAxis->range().upper, fastest);
  // The spike's drawn value still leads to its own fix on the map.
  Form->ShowValueOnMap(Form->AltitudeSeries(), highestIndex);
  ASSERT_FALSE(Map.Calls.empty());
  EXPECT_NEAR(Map.Calls.back().Latitude, 35.0 + 4800 * 0.00003, 1e-6);
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

TEST_F(SpeedFormTest, ALongTrackIsWorkedOutOnAWorkerAndANewerSelectionWins) {
  Form->SetWorkerTrackBytes(0);  // every track counts as long
  Link.FileName = Folder.Write("run.gpx", Gpx(kRun));
  TGpsFileLink second;
  second.FileName = Folder.Write("second.gpx", Gpx({{0, 35.0, 100}, {6, 35.01, 120}, {12, 35.02, 140}}));
  Form->show();
  QSignalSpy drawn(Form.get(), &TSpeedForm::SeriesDrawn);
  Form->SetLinkData(&Link);
  // The call returns before anything is read.
  EXPECT_EQ(Form->AltitudeSeries()->dataCount(), 0);
  Form->SetLinkData(&second);
  ASSERT_TRUE(drawn.wait(10000));
  QTest::qWait(200);  // the first job's result, if it were taken, would have come by now
  EXPECT_EQ(drawn.count(), 1);
  ASSERT_EQ(Form->AltitudeSeries()->dataCount(), 3);
  EXPECT_EQ(Form->AltitudeSeries()->data()->at(0)->value, 100);
}

}  // namespace
}  // namespace hakuvo

namespace hakuvo {
namespace {

TEST_F(SpeedFormTest, ALongTrackIsThinnedAgainForAWiderPlotAndKeepsItsPeak) {
  // 20,000 fixes, one height spike: thinned on the worker for the plot as it is, and again once
  // the window has been widened, without reading the track again.
  Form->SetWorkerTrackBytes(0);
  std::ostringstream text;
  text << "<?xml version=\"1.0\"?>\n<gpx version=\"1.1\" creator=\"test\"><trk><trkseg>\n";
  for (int second = 0; second < 20000; ++second) {
    const double altitude = second == 13'333 ? 500 : 10 + second % 5;
    char time[32];
    std::snprintf(time, sizeof time, "2024-05-03T%02d:%02d:%02dZ", second / 3600, second / 60 % 60, second % 60);
    text << "<trkpt lat=\"" << 35.0 + second * 0.00003 << "\" lon=\"139.5\"><ele>" << altitude << "</ele><time>" << time
         << "</time></trkpt>\n";
  }
  text << "</trkseg></trk></gpx>\n";
  Link.FileName = Folder.Write("long.gpx", text.str());
  Form->show();
  QSignalSpy drawn(Form.get(), &TSpeedForm::SeriesDrawn);
  Form->SetLinkData(&Link);
  ASSERT_TRUE(drawn.wait(10000));
  const auto highest = [this] {
    double value = 0;
    for (int i = 0; i < Form->AltitudeSeries()->dataCount(); ++i) {
      value = std::max(value, Form->AltitudeSeries()->data()->at(i)->value);
    }
    return value;
  };
  const int narrow = Form->AltitudeSeries()->dataCount();
  EXPECT_LE(narrow, 4 * (Form->Chart()->axisRect()->width() + 1));
  EXPECT_EQ(highest(), 500);
  Link.FileName = Folder.Write("long.gpx", "not a track any more");  // a second reading would draw nothing
  Form->resize(1600, 500);
  QTRY_VERIFY_WITH_TIMEOUT(Form->AltitudeSeries()->dataCount() > narrow, 10000);
  EXPECT_LE(Form->AltitudeSeries()->dataCount(), 4 * (Form->Chart()->axisRect()->width() + 1));
  EXPECT_EQ(highest(), 500);
}

}  // namespace
}  // namespace hakuvo
