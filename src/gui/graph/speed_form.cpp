#include "gui/graph/speed_form.h"

#include <qcustomplot.h>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QMouseEvent>
#include <QThreadPool>
#include <QTimeZone>
#include <QTimer>
#include <QToolBar>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <exception>
#include <filesystem>
#include <limits>
#include <memory>
#include <optional>
#include <utility>

#include "core/common/date_time.h"
#include "core/common/text_util.h"
#include "core/gps/display_track.h"
#include "core/gps/gps_file.h"
#include "core/gps/speed_graph_lines.h"
#include "core/graph/graph_rules.h"
#include "core/graph/lone_points.h"
#include "core/links/file_kind.h"
#include "core/model/category_info_list.h"
#include "core/model/link_data.h"
#include "core/model/pace.h"
#include "gui/categories/category_set_dialog.h"
#include "gui/categories/category_set_dialog_pages.h"
#include "gui/common/qt_text.h"
#include "gui/common/tool_icons.h"
#include "gui/common/wait_cursor.h"
#include "gui/document/diary_document.h"

namespace hakuvo {

namespace {

// Minutes per kilometre written m:ss at the ticks of the pace axis.
class TPaceTicker : public QCPAxisTicker {
 protected:
  QString getTickLabel(double tick, const QLocale&, QChar, int) override {
    return QString::fromStdString(FormatPace(tick * 60));
  }
};

}  // namespace

namespace {

// A long track's series take a while to free: let go on the window's pool, not its thread. The
// pool is waited for when the window goes, so nothing is left freeing behind the program's end.
void ReleaseAside(QThreadPool& pool, std::shared_ptr<const TSpeedGraphData> data) {
  if (data == nullptr || data->PointCount() < 50'000) {
    return;
  }
  pool.start([data = std::move(data)]() mutable { data.reset(); });
}

const QString kDistanceTitle = QStringLiteral("距離(km)");

QString BottomAxisTitle(TBottomAxisType kind) {
  switch (kind) {
    case baTime:
      return QStringLiteral("時刻");
    case baTermHour:
      return QStringLiteral("時間");
    case baTermMin:
      return QStringLiteral("分");
    case baDistance:
      break;
  }
  return kDistanceTitle;
}

}  // namespace

TSpeedForm::TSpeedForm(TDiaryDocument* document, TWindowPorts* ports, QWidget* parent)
    : TDockingForm(QStringLiteral("SpeedForm"), QStringLiteral("速度グラフ"), parent),
      FDocument(document),
      FPorts(ports),
      FRunDialog([](QDialog& dialog) { return dialog.exec(); }) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);

  // Its threads stay for the next track: one made afresh for each would start with cold memory.
  FPool = new QThreadPool(this);
  FPool->setMaxThreadCount(2);

  FToolBar = new QToolBar(this);
  FToolBar->setObjectName(QStringLiteral("SpeedToolBar"));
  FToolBar->setIconSize(QSize(16, 16));
  FSettingsAction = FToolBar->addAction(ToolIcon(tiSettings), QStringLiteral("表示設定"));
  FSettingsAction->setToolTip(QStringLiteral("表示設定"));
  FSettingsAction->setStatusTip(QStringLiteral("表示設定"));
  connect(FSettingsAction, &QAction::triggered, this, &TSpeedForm::DisplaySettingsCommand);
  layout->addWidget(FToolBar);

  FChart = new QCustomPlot(this);
  FChart->setBackground(Qt::white);
  FChart->setInteractions(QCP::Interactions());  // no zooming or panning by mouse
  // A track's line is one long polyline: drawn as one, not segment by segment.
  FChart->setPlottingHint(QCP::phFastPolylines, true);
  FChart->legend->setVisible(false);
  FChart->xAxis->setLabel(kDistanceTitle);
  FChart->yAxis->setLabel(QStringLiteral("速度(km/h)"));
  FChart->yAxis2->setLabel(QStringLiteral("高度(m)"));
  FChart->yAxis2->setVisible(true);
  FChart->yAxis2->grid()->setVisible(false);
  layout->addWidget(FChart, 1);

  // The altitude first, so that the speed line is drawn over its area.
  FAltitudeSeries = FChart->addGraph(FChart->xAxis, FChart->yAxis2);
  FAltitudeSeries->setName(QStringLiteral("高度"));
  FAltitudeSeries->setPen(Qt::NoPen);
  FSpeedSeries = FChart->addGraph(FChart->xAxis, FChart->yAxis);
  FSpeedSeries->setName(QStringLiteral("速度"));
  // Selectable so that a click names its value; the chart itself selects nothing. The lines lie
  // above the axes, so that a value at the edge of the plot is still the one a click there meets.
  FChart->addLayer(QStringLiteral("values"), FChart->layer(QStringLiteral("axes")), QCustomPlot::limAbove);
  for (QCPGraph* series : {FAltitudeSeries, FSpeedSeries}) {
    // The lines come thinned to the plot's pixel columns: the chart's own thinning would only
    // walk them again.
    series->setAdaptiveSampling(false);
    series->setSelectable(QCP::stSingleData);
    series->setLayer(QStringLiteral("values"));
  }
  // A value with a gap on both sides has no segment to be seen by: a marker of its own shows it.
  FAltitudeLone = FChart->addGraph(FChart->xAxis, FChart->yAxis2);
  FSpeedLone = FChart->addGraph(FChart->xAxis, FChart->yAxis);
  for (QCPGraph* markers : {FAltitudeLone, FSpeedLone}) {
    markers->setLineStyle(QCPGraph::lsNone);
    markers->setSelectable(QCP::stNone);
    markers->setLayer(QStringLiteral("values"));
  }
  connect(
      FChart, &QCustomPlot::plottableClick, this,
      [this](QCPAbstractPlottable* plottable, int dataIndex, QMouseEvent*) { ShowValueOnMap(plottable, dataIndex); });
  connect(FChart, &QCustomPlot::mouseMove, this, &TSpeedForm::ChartMouseMove);
  connect(FChart, &QCustomPlot::afterReplot, this, [this] {
    if (!FDrawnOnReplot) return;
    FDrawnOnReplot = false;
    emit SeriesDrawn();
  });

  FCopyDataAction = new QAction(QStringLiteral("データをクリップボードにコピー(&C)"), this);
  FCopyDataAction->setStatusTip(QStringLiteral("データをクリップボードにコピー"));
  connect(FCopyDataAction, &QAction::triggered, this, &TSpeedForm::CopyDataCommand);
  FCopyImageAction = new QAction(QStringLiteral("画像をクリップボードにコピー(&I)"), this);
  FCopyImageAction->setStatusTip(QStringLiteral("画像をクリップボードにコピー"));
  connect(FCopyImageAction, &QAction::triggered, this, &TSpeedForm::CopyImageCommand);
  FChart->addAction(FCopyDataAction);
  FChart->addAction(FCopyImageAction);
  FChart->setContextMenuPolicy(Qt::ActionsContextMenu);

  if (FDocument != nullptr) {
    // The link belongs to the diary: it goes with it.
    connect(FDocument, &TDiaryDocument::DiaryAboutToBeReset, this, [this] {
      FLinkData = nullptr;
      Clear();
    });
  }
}

TSpeedForm::~TSpeedForm() {
  if (FPorts != nullptr && FPorts->SpeedGraph == this) FPorts->SpeedGraph = nullptr;
  // A worker still reading finishes first; nobody takes its result.
  FPool->waitForDone();
}

void TSpeedForm::SetLinkData(const TLinkData* link) {
  FLinkData = link;
  Redraw();
}

void TSpeedForm::SetCategory(const std::string& category) {
  FCategory = category;
  FCategoryType = CategoryTypeFromName(category);
}

const TSpeedGraphInfo& TSpeedForm::Settings() const {
  static const TSpeedGraphInfo defaults;
  if (FDocument == nullptr) return defaults;
  const TCategoryInfo* info = FDocument->CategoryInfoList().GetCategoryItems(FCategoryType);
  return info != nullptr ? info->SpeedGraphInfo() : defaults;
}

void TSpeedForm::Clear() {
  ClearSeries();
  FChart->replot();
}

void TSpeedForm::ClearSeries() {
  // A result on its way is for what was shown before.
  ++FGeneration;
  FDrawnOnReplot = false;
  ReleaseAside(*FPool, std::exchange(FData, std::make_shared<const TSpeedGraphData>()));
  FThinnedColumns = 0;
  ++FThinRequest;
  FSpeedPointOfIndex.clear();
  FAltitudePointOfIndex.clear();
  FSpeedSeries->data()->clear();
  FAltitudeSeries->data()->clear();
  FSpeedLone->data()->clear();
  FAltitudeLone->data()->clear();
  SetTitle(QString());
}

QString TSpeedForm::Title() const { return FTitle != nullptr ? FTitle->text() : QString(); }

void TSpeedForm::SetTitle(const QString& text) {
  if (text.isEmpty()) {
    if (FTitle != nullptr) {
      FChart->plotLayout()->remove(FTitle);
      FChart->plotLayout()->simplify();
      FTitle = nullptr;
    }
    return;
  }
  if (FTitle == nullptr) {
    FChart->plotLayout()->insertRow(0);
    FTitle = new QCPTextElement(FChart, text, QFont(font().family(), font().pointSize() + 1, QFont::Bold));
    FTitle->setTextColor(Qt::black);
    FChart->plotLayout()->addElement(0, 0, FTitle);
  }
  FTitle->setText(text);
}

void TSpeedForm::showEvent(QShowEvent* event) {
  TDockingForm::showEvent(event);
  Redraw();
}

namespace {

// The bytes of the files a link's track is read from: its view file when it has one, else the
// track file (0 for what cannot be looked at).
std::uintmax_t TrackBytes(const TGpsFileLink& link) {
  std::error_code error;
  std::uintmax_t bytes = 0;
  for (const std::string& name : {link.ViewFileName, link.FileName}) {
    if (name.empty()) continue;
    const std::uintmax_t size = std::filesystem::file_size(std::filesystem::u8path(name), error);
    if (!error) bytes = std::max(bytes, size);
  }
  return bytes;
}

}  // namespace

// What a job hands the window: the series, and the lines thinned for a plot width and made into
// the chart's points, with what the window would otherwise work out over them on its own thread.
// A line as the chart takes it: its points, the markers of values no segment reaches, and
// whether it was thinned (a line of a few points per column is drawn without smoothing).
struct TSpeedChartLine {
  QVector<QCPGraphData> Points;
  QVector<QCPGraphData> Lone;
  bool Thinned = false;
  // The lowest and highest value; Low > High when there is none.
  double Low = 1;
  double High = 0;
};

struct TSpeedGraphJob {
  std::shared_ptr<const TSpeedGraphData> Data;
  int Columns = 1;
  TSpeedGraphLines Lines;
  TSpeedChartLine Speed;
  TSpeedChartLine Altitude;
};

namespace {

// Points from which thinning for a new width is worth a worker.
constexpr int kWorkerThinPoints = 50'000;

TSpeedChartLine ChartLine(const TThinnedLine& line, std::size_t points, int columns) {
  TSpeedChartLine chart;
  chart.Points.reserve(static_cast<qsizetype>(line.Xs.size()));
  for (std::size_t i = 0; i < line.Xs.size(); ++i) {
    const double y = line.Ys[i];
    chart.Points.append(QCPGraphData(line.Xs[i], y));
    if (std::isnan(y)) continue;
    if (chart.Low > chart.High) {
      chart.Low = chart.High = y;
    } else {
      chart.Low = std::min(chart.Low, y);
      chart.High = std::max(chart.High, y);
    }
  }
  for (const int index : LonePoints(line.Ys)) chart.Lone.append(chart.Points[index]);
  // Smoothing the edges of a line that zigzags within every pixel column costs the chart many
  // times the drawing itself and shows nothing.
  chart.Thinned = points > line.Xs.size() || line.Xs.size() > static_cast<std::size_t>(2 * columns);
  return chart;
}

void ThinJob(TSpeedGraphJob& job) {
  job.Lines = ThinSpeedGraph(*job.Data, job.Columns);
  job.Speed = ChartLine(job.Lines.Speed, static_cast<std::size_t>(job.Data->PointCount()), job.Columns);
  job.Altitude = ChartLine(job.Lines.Altitude, static_cast<std::size_t>(job.Data->PointCount()), job.Columns);
}

}  // namespace

void TSpeedForm::RunJob(bool onWorker, std::function<void()> job, std::function<void()> done) {
  if (!onWorker) {
    job();
    done();
    return;
  }
  FPool->start([this, job = std::move(job), done = std::move(done)]() mutable {
    job();
    // What the job holds is freed here, not on the window's thread.
    job = nullptr;
    QMetaObject::invokeMethod(this, std::move(done), Qt::QueuedConnection);
  });
}

void TSpeedForm::Redraw() {
  if (!isVisible()) return;
  const auto* link = dynamic_cast<const TGpsFileLink*>(FLinkData);
  if (link == nullptr || !IsGpsFile(link->FileName)) return;
  ClearSeries();
  const int generation = ++FGeneration;
  const TSpeedGraphInfo& info = Settings();
  ApplySettings(info);
  const int columns = PlotColumns();
  // The job owns copies of what it reads: the link and the settings may change meanwhile.
  auto source = std::make_shared<TGpsFileLink>();
  source->Assign(*link);
  auto settings = std::make_shared<TSpeedGraphInfo>();
  settings->Assign(info);
  settings->SetIsPaceAxis(IsPaceShown(info));
  const TTrackSummaryOptions summary = TrackSummaryOptionsFor(FCategoryType);
  auto job = std::make_shared<TSpeedGraphJob>();
  job->Columns = columns;
  auto build = [source, settings, summary, job, columns] {
    std::shared_ptr<TSpeedGraphData> series;
    try {
      if (std::unique_ptr<TGpsFile> track = LoadDisplayTrack(*source)) {
        series =
            std::make_shared<TSpeedGraphData>(std::shared_ptr<const TGpsFile>(std::move(track)), *settings, summary);
      }
    } catch (const std::exception&) {
      // A track that cannot be read draws nothing; the window is a view, not a command.
      series.reset();
    }
    job->Data = series != nullptr ? std::move(series) : std::make_shared<TSpeedGraphData>();
    ThinJob(*job);
    // The title's figures come from a second thread: waited for here, not on the window's.
    job->Data->Summary();
  };
  // A small track takes less than a frame: drawn at once. A long one is read, worked out and
  // thinned on a worker, so the window keeps answering; its result is drawn only while it is
  // still the latest request.
  const bool onWorker = TrackBytes(*source) >= FWorkerTrackBytes;
  std::optional<TWaitCursor> wait;
  if (!onWorker) wait.emplace();
  RunJob(onWorker, std::move(build), [this, generation, job, onWorker] {
    if (generation != FGeneration || !isVisible()) return;
    // A long track's lines are painted in a turn of the event loop of their own, so that handing
    // them over and painting them are two short steps rather than one long one.
    Draw(Settings(), *job, onWorker);
    if (!onWorker) emit SeriesDrawn();
  });
}

void TSpeedForm::resizeEvent(QResizeEvent* event) {
  TDockingForm::resizeEvent(event);
  // A drag of the window's edge resizes it many times: thinned again once it rests.
  if (FResizeTimer == nullptr) {
    FResizeTimer = new QTimer(this);
    FResizeTimer->setSingleShot(true);
    FResizeTimer->setInterval(100);
    connect(FResizeTimer, &QTimer::timeout, this, &TSpeedForm::RethinForWidth);
  }
  FResizeTimer->start();
}

void TSpeedForm::RethinForWidth() {
  if (FThinnedColumns == 0 || FData->IsEmpty() || !isVisible()) return;
  const int columns = PlotColumns();
  if (columns == FThinnedColumns) return;
  const int generation = FGeneration;
  const int request = ++FThinRequest;
  auto job = std::make_shared<TSpeedGraphJob>();
  job->Data = FData;
  job->Columns = columns;
  const bool onWorker = FData->PointCount() >= kWorkerThinPoints;
  RunJob(
      onWorker, [job] { ThinJob(*job); },
      [this, generation, request, job] {
        if (generation != FGeneration || request != FThinRequest || !isVisible()) return;
        SetLines(*job);
        FChart->replot();
      });
}

bool TSpeedForm::IsPaceShown(const TSpeedGraphInfo& info) const {
  return info.IsPaceAxis() && info.IsSpeedSeries() && HasPace(FCategoryType);
}

double TSpeedForm::KeyOf(double x) const { return SpeedGraphKey(*FData, x); }

void TSpeedForm::ApplySettings(const TSpeedGraphInfo& info) {
  const QPen speedPen(ToQColor(info.SpeedSeriesColor()), std::max(1, info.SpeedLineSeriesWidth()));
  FSpeedSeries->setPen(speedPen);
  QColor altitude = ToQColor(info.AltitudeSeriesColor());
  const int transparency = std::clamp(info.AltitudeTransparency(), 0, 100);
  altitude.setAlpha(255 * (100 - transparency) / 100);
  FAltitudeSeries->setBrush(altitude);

  FChart->yAxis->setVisible(info.IsSpeedSeries());
  // Pace falls as speed rises: its axis is turned over, so that faster still stands higher.
  const bool pace = IsPaceShown(info);
  FChart->yAxis->setLabel(pace ? QString::fromUtf8(PaceCaption) : QStringLiteral("速度(km/h)"));
  FChart->yAxis->setRangeReversed(pace);
  if (pace) {
    FChart->yAxis->setTicker(QSharedPointer<TPaceTicker>::create());
  } else {
    FChart->yAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
  }
  FChart->yAxis2->setVisible(info.IsAltitudeSeries());
  FChart->yAxis2->grid()->setVisible(info.IsAltitudeSeries() && !info.IsSpeedSeries());

  FChart->xAxis->setLabel(BottomAxisTitle(info.BottomAxisKind()));
  if (info.BottomAxisKind() == baTime) {
    auto ticker = QSharedPointer<QCPAxisTickerDateTime>::create();
    ticker->setDateTimeFormat(QStringLiteral("hh:mm"));
    // The times are the wall clock of the fix; shown as they are, in no zone of their own.
    ticker->setTimeZone(QTimeZone::utc());
    FChart->xAxis->setTicker(ticker);
  } else {
    FChart->xAxis->setTicker(QSharedPointer<QCPAxisTicker>::create());
  }
}

int TSpeedForm::PlotColumns() {
  // The layout of the chart as it now stands gives the plot's width in pixels.
  FChart->plotLayout()->setOuterRect(FChart->rect());
  FChart->plotLayout()->update(QCPLayoutElement::upLayout);
  return std::max(FChart->axisRect()->width(), 1);
}

void TSpeedForm::SetLine(QCPGraph* series, TSpeedChartLine& line) {
  series->data()->set(line.Points, true);
  series->setAntialiased(!line.Thinned);
  series->setAntialiasedFill(!line.Thinned);
  QCPGraph* markers = LoneMarkers(series);
  markers->data()->set(line.Lone, true);
  const QColor color = series == FSpeedSeries ? series->pen().color() : series->brush().color();
  const double size = std::max(7.0, 3.0 * series->pen().widthF());
  markers->setScatterStyle(QCPScatterStyle(QCPScatterStyle::ssDisc, color, color, size));
  markers->setVisible(series->visible());
}

void TSpeedForm::Draw(const TSpeedGraphInfo& info, TSpeedGraphJob& job, bool queued) {
  // Only what is already small is done here: the series are taken over, the thinned points
  // handed to the chart, the axes set.
  FData = job.Data;
  SetLines(job);
  // The climb, moving time and fastest speed stand beside the average speed on the one title line.
  const std::string title = FData->Summary().empty() ? FData->Title() : FData->Title() + "　" + FData->Summary();
  SetTitle(ToQString(DisplayPrefix(title)));

  // The bottom axis spans the values drawn (the ends of the thinned lines are those of the
  // series); a single x gets a little room either side.
  bool found = false;
  QCPRange keyRange;
  for (const TSpeedChartLine* line : {&job.Speed, &job.Altitude}) {
    if (line->Points.isEmpty()) continue;
    const QCPRange range(line->Points.front().key, line->Points.back().key);
    keyRange = found ? QCPRange(std::min(keyRange.lower, range.lower), std::max(keyRange.upper, range.upper)) : range;
    found = true;
  }
  if (found) {
    if (keyRange.size() == 0) keyRange = QCPRange(keyRange.lower - 1, keyRange.upper + 1);
    FChart->xAxis->setRange(keyRange);
  }
  // Automatic axes end a tick beyond the values, so that no peak touches the frame.
  const auto autoRange = [](QCPAxis* axis, const TSpeedChartLine& line) {
    if (line.Low > line.High) return;
    const TShownSpan shown = AutoValueRange(line.Low, line.High);
    axis->setRange(shown.Min, shown.Max);
  };
  if (info.IsLeftAutoAxis()) {
    autoRange(FChart->yAxis, job.Speed);
  } else if (FData->IsPace()) {
    // The fixed speed range read as the paces it spans: the fastest at the top.
    const auto minutes = [](Extended speed, double none) {
      const std::optional<double> seconds = PaceSecondsFromSpeed(speed);
      return seconds ? *seconds / 60 : none;
    };
    FChart->yAxis->setRange(minutes(info.LeftAxisMax(), 0), minutes(info.LeftAxisMin(), MaxPaceSeconds / 60));
  } else {
    FChart->yAxis->setRange(static_cast<double>(info.LeftAxisMin()), static_cast<double>(info.LeftAxisMax()));
  }
  if (info.IsRightAutoAxis()) {
    autoRange(FChart->yAxis2, job.Altitude);
  } else {
    FChart->yAxis2->setRange(static_cast<double>(info.RightAxisMin()), static_cast<double>(info.RightAxisMax()));
  }
  if (!queued) {
    FChart->replot();
    return;
  }
  FDrawnOnReplot = true;
  FChart->replot(QCustomPlot::rpQueuedReplot);
}

void TSpeedForm::SetLines(TSpeedGraphJob& job) {
  FThinnedColumns = job.Columns;
  FSpeedPointOfIndex = std::move(job.Lines.Speed.Ids);
  FAltitudePointOfIndex = std::move(job.Lines.Altitude.Ids);
  SetLine(FSpeedSeries, job.Speed);
  SetLine(FAltitudeSeries, job.Altitude);
}

void TSpeedForm::ShowValueOnMap(const QCPAbstractPlottable* plottable, int dataIndex) {
  std::optional<TSpeedGraphPoint> point;
  if (plottable == FSpeedSeries) {
    if (dataIndex >= 0 && dataIndex < static_cast<int>(FSpeedPointOfIndex.size())) {
      point = FData->PointAt(FSpeedPointOfIndex[static_cast<std::size_t>(dataIndex)]);
    }
  } else if (plottable == FAltitudeSeries) {
    if (dataIndex >= 0 && dataIndex < static_cast<int>(FAltitudePointOfIndex.size())) {
      point = FData->PointAt(FAltitudePointOfIndex[static_cast<std::size_t>(dataIndex)]);
    }
  }
  if (!point || FPorts == nullptr || FPorts->Map == nullptr) return;
  FPorts->Map->PanTo(point->Latitude, point->Longitude, false);
  FPorts->Map->CreateMarker(point->Latitude, point->Longitude, false);
}

bool TSpeedForm::IsOverValue(const QPointF& position) const {
  // Only the values within reach of the pointer's x are looked at: a move over a long track
  // stays cheap, where the chart's own hit test walks every value.
  const double reach = FChart->selectionTolerance();
  const double key1 = FChart->xAxis->pixelToCoord(position.x() - reach);
  const double key2 = FChart->xAxis->pixelToCoord(position.x() + reach);
  for (const QCPGraph* series : {FSpeedSeries, FAltitudeSeries}) {
    const auto end = series->data()->findEnd(std::max(key1, key2), false);
    for (auto value = series->data()->findBegin(std::min(key1, key2), false); value != end; ++value) {
      if (std::isnan(value->value)) continue;
      const QPointF at(series->keyAxis()->coordToPixel(value->key), series->valueAxis()->coordToPixel(value->value));
      if (std::hypot(at.x() - position.x(), at.y() - position.y()) <= reach) return true;
    }
  }
  return false;
}

void TSpeedForm::ChartMouseMove(QMouseEvent* event) {
  FChart->setCursor(IsOverValue(event->position()) ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

void TSpeedForm::CopyDataCommand() {
  // The rows are those whose key the bottom axis shows; the keys run in the values' order, so
  // they are one run, named to the core by the x of its ends.
  const QCPRange range = FChart->xAxis->range();
  const std::vector<TSpeedGraphValue> values = FData->SpeedValues();
  double xMin = 1;
  double xMax = 0;  // no rows
  const auto first = std::find_if(values.begin(), values.end(),
                                  [&](const TSpeedGraphValue& value) { return KeyOf(value.X) >= range.lower; });
  auto last = first;
  for (auto it = first; it != values.end() && KeyOf(it->X) <= range.upper; ++it) last = it;
  if (first != values.end() && KeyOf(first->X) <= range.upper) {
    xMin = first->X;
    xMax = last->X;
  }
  QApplication::clipboard()->setText(ToQString(FData->CopyText(xMin, xMax)));
}

void TSpeedForm::CopyImageCommand() { QApplication::clipboard()->setImage(FChart->toPixmap().toImage()); }

void TSpeedForm::DisplaySettingsCommand() {
  if (FDocument == nullptr) return;
  TCategoryInfo* info = FDocument->CategoryInfoList().GetCategoryItems(FCategoryType);
  if (info == nullptr) return;
  std::unique_ptr<TCategorySetDialog> dialog = CreateCategorySetDialog(this, FCategoryType);
  dialog->SetCategoryInfo(info);
  // The speed page, alone: it also holds the map line of the same tracks.
  dialog->SetActivePage(TCategorySetDialog::piSpeedGraph);
  if (FRunDialog(*dialog) != QDialog::Accepted) return;
  FDocument->DayDataList().SetCategoryInfo(*info);
  Redraw();
  emit FDocument->DataChanged();
}

}  // namespace hakuvo
