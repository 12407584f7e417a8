#pragma once

#include <QDialog>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "core/gps/speed_graph_data.h"
#include "core/model/category_type.h"
#include "gui/document/docking_form.h"
#include "gui/document/window_ports.h"

class QAction;
class QCustomPlot;
class QCPAbstractPlottable;
class QCPGraph;
class QCPTextElement;
class QMouseEvent;
class QThreadPool;
class QTimer;
class QToolBar;

namespace hakuvo {

class TDiaryDocument;
class TLinkData;
struct TSpeedGraphJob;
struct TSpeedChartLine;

// The speed and the altitude along the track of the link chosen in the link window: speed as a
// line on the left axis, altitude as an area on the right, drawn with the speed-graph settings of
// the action's category. A click on either line shows its track point on the map.
//
// While hidden the window only stores what it is given; showing it draws.
class TSpeedForm : public TDockingForm, public TSpeedGraphPort {
  Q_OBJECT

 public:
  // The document gives the category settings and hears of changed settings; the ports give the
  // map at the moment of a click (there may be none).
  TSpeedForm(TDiaryDocument* document, TWindowPorts* ports, QWidget* parent = nullptr);
  ~TSpeedForm() override;

  // Not owned; the link window keeps it alive until it hands over the next one.
  const TLinkData* LinkData() const { return FLinkData; }
  void SetLinkData(const TLinkData* link);
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& category);
  TCategoryType CategoryType() const { return FCategoryType; }
  // Empties both lines and the title.
  void Clear();
  // Reads the link's track and draws it, when the window is shown and the link is a track: at once
  // for a small track, on a worker for a long one (SeriesDrawn tells when it is drawn).
  void Redraw();
  // The file size from which a track is read on a worker.
  void SetWorkerTrackBytes(std::uintmax_t bytes) { FWorkerTrackBytes = bytes; }

  // TSpeedGraphPort
  void SetSpeedCategory(const std::string& category) override { SetCategory(category); }
  void SetSpeedLinkData(const TLinkData* link) override { SetLinkData(link); }
  void ClearSpeedGraph() override { Clear(); }

  void GpsRangeChanged() override { Redraw(); }

  // The two context-menu commands and the settings button.
  void CopyDataCommand();
  void CopyImageCommand();
  void DisplaySettingsCommand();
  // Shows on the map the point of the value at `dataIndex` of a drawn line.
  void ShowValueOnMap(const QCPAbstractPlottable* plottable, int dataIndex);

  // Runs the settings dialog; QDialog::exec unless a test drives it.
  using TDialogRunner = std::function<int(QDialog& dialog)>;
  void SetDialogRunner(TDialogRunner runner) { FRunDialog = std::move(runner); }

  // The parts, for tests and for the callers that drive the window without a user.
  QCustomPlot* Chart() const { return FChart; }
  QCPGraph* SpeedSeries() const { return FSpeedSeries; }
  QCPGraph* AltitudeSeries() const { return FAltitudeSeries; }
  // The markers of a series' values that no segment of its line reaches (between two gaps).
  QCPGraph* LoneMarkers(const QCPGraph* series) const { return series == FSpeedSeries ? FSpeedLone : FAltitudeLone; }
  QString Title() const;
  QAction* CopyDataAction() const { return FCopyDataAction; }
  QAction* CopyImageAction() const { return FCopyImageAction; }
  QAction* SettingsAction() const { return FSettingsAction; }
  const TSpeedGraphData& Data() const { return *FData; }

 signals:
  // The series of the link given last are drawn.
  void SeriesDrawn();

 protected:
  void showEvent(QShowEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;

 private:
  const TSpeedGraphInfo& Settings() const;
  void ClearSeries();
  void ApplySettings(const TSpeedGraphInfo& info);
  // The speed line is drawn as pace: chosen in the settings, and the outing is a run or a walk.
  bool IsPaceShown(const TSpeedGraphInfo& info) const;
  // Hands a job's lines to the chart and paints them, at once or in the next turn of the event
  // loop (SeriesDrawn follows the paint).
  void Draw(const TSpeedGraphInfo& info, TSpeedGraphJob& job, bool queued);
  // Hands the thinned lines of a job to the chart.
  void SetLines(TSpeedGraphJob& job);
  // Thins the shown series again when the plot's width changed.
  void RethinForWidth();
  // Runs `job` at once, or on a worker with `done` on this thread after it.
  void RunJob(bool onWorker, std::function<void()> job, std::function<void()> done);
  // Hands a line and the markers of its lone values to a series of the chart.
  void SetLine(QCPGraph* series, TSpeedChartLine& line);
  int PlotColumns();
  void SetTitle(const QString& text);
  // The chart's key of an x: the time axis counts seconds since 1970, the others the x itself.
  double KeyOf(double x) const;
  // Whether the pointer is within a click's reach of a drawn value (the hand cursor shows).
  bool IsOverValue(const QPointF& position) const;
  void ChartMouseMove(QMouseEvent* event);

  TDiaryDocument* FDocument;
  TWindowPorts* FPorts;
  const TLinkData* FLinkData = nullptr;
  std::string FCategory;
  TCategoryType FCategoryType = ctUserCategory;
  // Shared with a job that thins it again for a new plot width; never changed once made.
  std::shared_ptr<const TSpeedGraphData> FData = std::make_shared<const TSpeedGraphData>();
  // The plot width the drawn lines were thinned for, and the newest request to thin them again.
  int FThinnedColumns = 0;
  int FThinRequest = 0;
  QTimer* FResizeTimer = nullptr;
  // Per data index of the speed line, the index of its track point in FData; -1 for the empty points
  // that break the line where values were left out.
  std::vector<int> FSpeedPointOfIndex;
  // The same for the altitude area (which has no gaps).
  std::vector<int> FAltitudePointOfIndex;
  TDialogRunner FRunDialog;
  // A worker's result is drawn only while its request is the latest one.
  int FGeneration = 0;
  // SeriesDrawn is due when the chart has painted the lines handed over last.
  bool FDrawnOnReplot = false;
  QThreadPool* FPool = nullptr;
  // A quarter of a megabyte is some 2,500 points: read, worked out and painted, it takes about a frame.
  std::uintmax_t FWorkerTrackBytes = 1 << 18;

  QToolBar* FToolBar = nullptr;
  QAction* FSettingsAction = nullptr;
  QCustomPlot* FChart = nullptr;
  QCPGraph* FAltitudeSeries = nullptr;
  QCPGraph* FSpeedSeries = nullptr;
  QCPGraph* FAltitudeLone = nullptr;
  QCPGraph* FSpeedLone = nullptr;
  QCPTextElement* FTitle = nullptr;
  QAction* FCopyDataAction = nullptr;
  QAction* FCopyImageAction = nullptr;
};

}  // namespace hakuvo
