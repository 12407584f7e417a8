#pragma once

#include <qcustomplot.h>

#include <QPixmap>
#include <QStringList>
#include <QVector>
#include <array>
#include <functional>

#include "core/graph/graph_rules.h"
#include "core/graph/legend_placement.h"

namespace hakuvo {

class TValueLabelLayer;

// One value label as drawn: the point it names, the short arrow from the point to the box, the
// box (text plus margins) and the text, in the chart's pixels.
struct TValueLabel {
  int Channel = 0;
  int Index = 0;
  QPointF Point;
  QPointF ArrowEnd;
  QRectF Box;
  QString Text;
};

// The chart under the graph windows: up to two series of (date, value) points, each drawn as
// bars or as a line, the dates along either axis (running down when vertical), the first series
// against the left or bottom value axis and the second against the right one. The windows set
// what the settings say; the chart knows nothing of the diary.
//
// Dates are day serials on the axis itself, labelled by the core's label rule, so every date
// the calendar holds can be drawn.
class TGraphChart : public QCustomPlot {
  Q_OBJECT

 public:
  static constexpr int ChannelCount = 2;

  explicit TGraphChart(QWidget* parent = nullptr);

  // Where the dates go. Vertical dates run downwards (earliest at the top).
  void SetDateAxisVertical(bool vertical);
  bool IsDateAxisVertical() const { return FIsVertical; }
  QCPAxis* DateAxis() const { return FIsVertical ? yAxis : xAxis; }
  // The value axis of a channel: left (or bottom) for channel 0, right for channel 1.
  QCPAxis* ValueAxis(int channel) const;

  // Makes the channel's series bars or a line, with its colour and line width; empties it.
  void SetSeriesStyle(int channel, bool isBar, const QColor& color, int lineWidth);
  bool IsBarSeries(int channel) const { return FBars[Index(channel)] != nullptr; }
  // A channel without an active series draws nothing and is not in the legend.
  void SetSeriesActive(int channel, bool active);
  bool IsSeriesActive(int channel) const { return FActive[Index(channel)]; }
  void SetSeriesTitle(int channel, const QString& title);
  void SetSeriesData(int channel, const QVector<double>& keys, const QVector<double>& values);
  void ClearSeries(int channel);
  int PointCount(int channel) const;
  double PointKey(int channel, int index) const;
  double PointValue(int channel, int index) const;
  // Pixel width of the channel's bars.
  void SetBarWidth(int channel, int pixels);
  int BarWidth(int channel) const;
  QCPAbstractPlottable* Plottable(int channel) const;

  // The date axis: a fixed range or automatic (from the points), drawn in `startPercent` to
  // `endPercent` of its length, with the half entry at either end that ShownDateSpan gives.
  void SetDateRange(const TDateAxisRange& range, double startPercent, double endPercent);
  // The range now in force (automatic ranges are taken from the points when set).
  const TDateAxisRange& DateRange() const { return FDateRange; }
  double DateStartPercent() const { return FStartPercent; }
  double DateEndPercent() const { return FEndPercent; }
  // Date labels by the rule for the period.
  void SetDateLabels(TGraphPeriod period);
  // Labels the date axis with texts at 0, 1, 2, ... (the per-action graph's points).
  void SetSequenceLabels(const QStringList& labels);

  // The value axis of a channel: automatic from its points, or fixed (a range given backwards is
  // turned round, an empty one widened so that something shows).
  void SetValueRange(int channel, bool isAuto, double min, double max);
  void SetValueTitle(int channel, const QString& title);

  // The length in pixels of the date axis' rectangle.
  int DateAxisLength() const;
  // Value labels beside the points of the shown series, on or off. Each sits at the end of a
  // short arrow from its point, away from the value axis's zero (back over the point where it
  // would leave the chart); where labels would cover each other along the date axis only the
  // first of them is drawn, so thousands of points cost only the labels that fit.
  static constexpr int ValueLabelArrowLength = 6;
  static constexpr int ValueLabelMargin = 5;
  void SetValueLabelsVisible(bool visible);
  bool ValueLabelsVisible() const { return FValueLabels; }
  // The labels as they are drawn with the present layout (none while hidden).
  QVector<TValueLabel> ValueLabels() const;
  // A shown legend goes, at every drawing, into the corner of the plot where it hides no bar or
  // point, or above the plot when every corner would hide one.
  void SetLegendVisible(bool visible);
  bool IsLegendOutsidePlot() const;
  TLegendPlace LegendPlace() const { return FLegendPlace; }
  // Whether a line channel draws its points as markers (fewer than two points in view).
  bool IsPointMarked(int channel) const;

  // Runs before every drawing, with the layout already done: the windows size their bars here.
  void SetBeforeDraw(std::function<void()> handler) { FBeforeDraw = std::move(handler); }
  // Draws the chart as it is into a picture of its own size.
  QPixmap Picture();

 signals:
  // A click on a point of a channel's series, with the point's index.
  void PointClicked(int channel, int index);
  // A double click on a series.
  void SeriesDoubleClicked(int channel);

 protected:
  void updateLayout() override;
  void mouseMoveEvent(QMouseEvent* event) override;

 private:
  static std::size_t Index(int channel) { return static_cast<std::size_t>(channel == 0 ? 0 : 1); }
  int ChannelOf(const QCPAbstractPlottable* plottable) const;
  void ApplyDateRange();
  void OnBeforeReplot();
  void MarkLonePoints();
  void PlaceLegend();
  void MoveLegend(TLegendPlace place);

  bool FIsVertical = false;
  std::array<QCPBars*, ChannelCount> FBars{};
  std::array<QCPGraph*, ChannelCount> FLines{};
  std::array<bool, ChannelCount> FActive{true, false};
  std::array<QString, ChannelCount> FTitles;
  std::array<QColor, ChannelCount> FColors{QColor(Qt::red), QColor(Qt::red)};
  std::array<int, ChannelCount> FLineWidths{2, 2};
  TDateAxisRange FDateRange;
  bool FDateAuto = true;
  double FStartPercent = 0;
  double FEndPercent = 100;
  TGraphPeriod FPeriod = gpDay;
  bool FValueLabels = false;
  TLegendPlace FLegendPlace = lpTopRight;
  bool FInBeforeDraw = false;
  TValueLabelLayer* FLabelLayer = nullptr;
  std::function<void()> FBeforeDraw;
};

}  // namespace hakuvo
