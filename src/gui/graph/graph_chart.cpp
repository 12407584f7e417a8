#include "gui/graph/graph_chart.h"

#include <algorithm>
#include <cmath>

#include "core/common/number_format.h"

namespace hakuvo {
namespace {

// Date ticks and labels by the core's rules, on an axis whose coordinates are day serials.
class TDateTicker : public QCPAxisTicker {
 public:
  explicit TDateTicker(TGraphPeriod period) : FPeriod(period) {}
  void SetSpan(TDateTime min, TDateTime max) {
    FMin = min;
    FMax = max;
  }

 protected:
  int getSubTickCount(double) override { return 0; }
  QString getTickLabel(double tick, const QLocale&, QChar, int) override {
    return QString::fromStdString(FormatDateLabel(tick, DateLabelFormat(FPeriod, FMin, FMax)));
  }
  QVector<double> createTickVector(double, const QCPRange& range) override {
    const std::vector<TDateTime> ticks =
        DateTicks(range.lower, range.upper, DateLabelFormat(FPeriod, FMin, FMax), std::max(tickCount(), 1));
    return QVector<double>(ticks.begin(), ticks.end());
  }

 private:
  TGraphPeriod FPeriod;
  TDateTime FMin = 0;
  TDateTime FMax = 0;
};

// The per-action graph's points at 0, 1, 2, ... labelled with their titles: as many as fit, at a
// whole step, so that thousands of outings do not pile their titles on top of each other.
class TSequenceTicker : public QCPAxisTicker {
 public:
  explicit TSequenceTicker(QStringList labels) : FLabels(std::move(labels)) {}

 protected:
  int getSubTickCount(double) override { return 0; }
  QString getTickLabel(double tick, const QLocale&, QChar, int) override {
    const auto index = static_cast<qsizetype>(std::llround(tick));
    return index >= 0 && index < FLabels.size() ? FLabels[index] : QString();
  }
  QVector<double> createTickVector(double, const QCPRange& range) override {
    QVector<double> ticks;
    const double first = std::max(std::ceil(range.lower), 0.0);
    const double last = std::min(std::floor(range.upper), static_cast<double>(FLabels.size() - 1));
    if (last < first) return ticks;
    const double step = std::max(1.0, std::ceil((last - first + 1) / std::max(tickCount(), 1)));
    for (double tick = std::ceil(first / step) * step; tick <= last; tick += step) ticks << tick;
    return ticks;
  }

 private:
  QStringList FLabels;
};

QCPRange UsableRange(double min, double max) {
  if (!std::isfinite(min) || !std::isfinite(max)) return {0, 1};
  if (max < min) std::swap(min, max);
  if (max - min < 1e-9) {
    const double pad = std::max(std::abs(min) * 0.05, 0.5);
    return {min - pad, max + pad};
  }
  return {min, max};
}

}  // namespace

// Draws the value labels of the chart's series above the series themselves. The labels are laid
// out at every drawing from the points on screen, not kept as objects per point: a long diary has
// thousands of points and only a few dozen labels fit.
class TValueLabelLayer : public QCPLayerable {
 public:
  explicit TValueLabelLayer(TGraphChart* chart) : QCPLayerable(chart, QStringLiteral("valueLabels")), FChart(chart) {
    FFont = chart->font();
    FFont.setPointSize(8);
  }

  QVector<TValueLabel> Layout() const {
    QVector<TValueLabel> labels;
    const QFontMetricsF metrics(FFont);
    const QRectF area = FChart->axisRect()->rect();
    const bool vertical = FChart->IsDateAxisVertical();
    QCPAxis* date = FChart->DateAxis();
    const double margin = TGraphChart::ValueLabelMargin;
    const double arrow = TGraphChart::ValueLabelArrowLength;
    for (int channel = 0; channel < TGraphChart::ChannelCount; ++channel) {
      QCPAbstractPlottable* plottable = FChart->Plottable(channel);
      if (plottable == nullptr || !FChart->IsSeriesActive(channel)) continue;
      const QCPPlottableInterface1D* points = plottable->interface1D();
      QCPAxis* value = FChart->ValueAxis(channel);
      // The points on screen only (the date axis's range, in date order).
      const QCPRange range = date->range();
      const int first = points->findBegin(range.lower, false);
      const int end = points->findEnd(range.upper, false);
      double lastCentre = 0;
      double lastHalf = -1;
      for (int i = first; i < end; ++i) {
        const double key = points->dataMainKey(i);
        const double number = points->dataMainValue(i);
        const double along = date->coordToPixel(key);
        // Along the date axis, a label that would touch the last one drawn is left out; its
        // extent across that axis is the text height (dates down) or width (dates across).
        if (vertical) {
          const double half = metrics.height() / 2;
          if (lastHalf >= 0 && std::abs(along - lastCentre) < half + lastHalf) continue;
        } else if (lastHalf >= 0 && std::abs(along - lastCentre) < lastHalf + margin) {
          continue;  // not even the narrowest text fits
        }
        const QString text = QString::fromStdString(FormatGeneral(number));
        const QSizeF box(metrics.horizontalAdvance(text) + 2 * margin, metrics.height());
        const double half = (vertical ? box.height() : box.width()) / 2;
        if (lastHalf >= 0 && std::abs(along - lastCentre) < half + lastHalf) continue;
        // From the bar's end or the line's point, away from zero: up or right for a value of
        // zero or more, down or left below zero; turned back over the bar or line where it would
        // leave the chart (the highest values of an automatic axis, which ends at them).
        const double across = value->coordToPixel(number);
        TValueLabel label;
        label.Channel = channel;
        label.Index = i;
        const auto place = [&](double away) {
          if (vertical) {
            label.Point = QPointF(across, along);
            label.ArrowEnd = QPointF(across + away * arrow, along);
            const double left = away > 0 ? label.ArrowEnd.x() : label.ArrowEnd.x() - box.width();
            label.Box = QRectF(QPointF(left, along - box.height() / 2), box);
            return label.Box.left() >= area.left() && label.Box.right() <= area.right() + 1;
          }
          label.Point = QPointF(along, across);
          label.ArrowEnd = QPointF(along, across - away * arrow);
          const double top = away > 0 ? label.ArrowEnd.y() - box.height() : label.ArrowEnd.y();
          label.Box = QRectF(QPointF(along - box.width() / 2, top), box);
          return label.Box.top() >= area.top() && label.Box.bottom() <= area.bottom() + 1;
        };
        const double away = ((number >= 0) != value->rangeReversed()) ? 1 : -1;
        if (!place(away)) place(-away);
        // The first and last points of a line sit on the chart's edges: their boxes move inwards
        // along the date axis, still touching the arrow.
        if (vertical) {
          label.Box.moveTop(
              std::clamp(label.Box.top(), area.top(), std::max(area.top(), area.bottom() - box.height())));
        } else {
          label.Box.moveLeft(
              std::clamp(label.Box.left(), area.left(), std::max(area.left(), area.right() - box.width())));
        }
        if (!area.intersects(label.Box) && !area.contains(label.Point)) continue;
        label.Text = text;
        labels << label;
        lastCentre = along;
        lastHalf = half;
      }
    }
    return labels;
  }

 protected:
  // The chart lifts every clip by a pixel and ends it a column short; the labels of points on the
  // bottom and right edges keep their last row and column.
  QRect clipRect() const override { return FChart->axisRect()->rect().adjusted(0, 0, 1, 1); }
  void applyDefaultAntialiasingHint(QCPPainter* painter) const override {
    applyAntialiasingHint(painter, false, QCP::aeItems);
  }
  void draw(QCPPainter* painter) override {
    painter->setFont(FFont);
    const QPen frame(Qt::gray);
    for (const TValueLabel& label : Layout()) {
      painter->setPen(frame);
      painter->drawLine(label.Point, label.ArrowEnd);
      painter->setBrush(Qt::white);
      painter->drawRect(label.Box);
      painter->setPen(Qt::black);
      painter->drawText(label.Box, Qt::AlignCenter, label.Text);
    }
  }

 private:
  TGraphChart* FChart;
  QFont FFont;
};

TGraphChart::TGraphChart(QWidget* parent) : QCustomPlot(parent) {
  setBackground(Qt::white);
  setNoAntialiasingOnDrag(true);
  // A line of thousands of points with a pen wider than a pixel is stroked as one path, with
  // every self-crossing resolved: seconds for a 20-year diary. Segment by segment it is
  // milliseconds, at the price of plainer joins.
  setPlottingHint(QCP::phFastPolylines, true);
  // Only the points react to the mouse: no zoom, no scrolling.
  setInteractions(QCP::Interactions());
  legend->setVisible(false);
  legend->setBrush(Qt::white);
  axisRect()->insetLayout()->setInsetAlignment(0, Qt::AlignTop | Qt::AlignHCenter);
  yAxis2->grid()->setVisible(false);
  xAxis2->grid()->setVisible(false);
  for (QCPAxis* axis : {xAxis, yAxis, xAxis2, yAxis2}) {
    QFont font = axis->tickLabelFont();
    font.setPointSize(8);
    axis->setTickLabelFont(font);
  }
  connect(this, &QCustomPlot::plottableClick, this, [this](QCPAbstractPlottable* plottable, int index, QMouseEvent*) {
    const int channel = ChannelOf(plottable);
    if (channel >= 0) emit PointClicked(channel, index);
  });
  connect(this, &QCustomPlot::plottableDoubleClick, this, [this](QCPAbstractPlottable* plottable, int, QMouseEvent*) {
    const int channel = ChannelOf(plottable);
    if (channel >= 0) emit SeriesDoubleClicked(channel);
  });
  connect(this, &QCustomPlot::beforeReplot, this, &TGraphChart::OnBeforeReplot);
  SetDateLabels(gpDay);
  addLayer(QStringLiteral("valueLabels"), layer(QStringLiteral("axes")), QCustomPlot::limAbove);
  FLabelLayer = new TValueLabelLayer(this);
  FLabelLayer->setVisible(false);
  setCurrentLayer(QStringLiteral("main"));
  // The pointing hand over the series says that a click selects.
  setMouseTracking(true);
}

void TGraphChart::mouseMoveEvent(QMouseEvent* event) {
  QCustomPlot::mouseMoveEvent(event);
  const QCPAbstractPlottable* under = plottableAt(event->position(), false);
  const bool onSeries = under != nullptr && under->visible() && ChannelOf(under) >= 0;
  setCursor(onSeries ? Qt::PointingHandCursor : Qt::ArrowCursor);
}

QCPAxis* TGraphChart::ValueAxis(int channel) const {
  if (FIsVertical) return channel == 0 ? xAxis : xAxis2;
  return channel == 0 ? yAxis : yAxis2;
}

void TGraphChart::SetDateAxisVertical(bool vertical) {
  if (vertical == FIsVertical) return;
  FIsVertical = vertical;
  for (int channel = 0; channel < ChannelCount; ++channel) {
    SetSeriesStyle(channel, IsBarSeries(channel), FColors[Index(channel)], FLineWidths[Index(channel)]);
  }
  // The date axis's ticker moves with it; the other one becomes a plain number axis.
  QSharedPointer<QCPAxisTicker> ticker = (vertical ? xAxis : yAxis)->ticker();
  DateAxis()->setTicker(ticker);
  (vertical ? xAxis : yAxis)->setTicker(QSharedPointer<QCPAxisTicker>(new QCPAxisTicker));
  xAxis->setRangeReversed(false);
  yAxis->setRangeReversed(vertical);
  ApplyDateRange();
}

void TGraphChart::SetSeriesStyle(int channel, bool isBar, const QColor& color, int lineWidth) {
  const std::size_t i = Index(channel);
  if (FBars[i] != nullptr) removePlottable(FBars[i]);
  if (FLines[i] != nullptr) removePlottable(FLines[i]);
  FBars[i] = nullptr;
  FLines[i] = nullptr;
  FColors[i] = color;
  FLineWidths[i] = lineWidth;
  QCPAxis* value = ValueAxis(channel);
  QCPAxis* date = DateAxis();
  if (isBar) {
    auto* bars = new QCPBars(date, value);
    bars->setWidthType(QCPBars::wtAbsolute);
    bars->setWidth(10);
    bars->setPen(Qt::NoPen);
    bars->setBrush(color);
    // Bars are upright rectangles a whole number of pixels wide: smoothing their edges only blurs
    // them, and it makes thousands of bars three times slower to draw.
    bars->setAntialiased(false);
    FBars[i] = bars;
  } else {
    auto* line = new QCPGraph(date, value);
    line->setPen(QPen(color, std::clamp(lineWidth, 1, 50)));
    line->setLineStyle(QCPGraph::lsLine);
    FLines[i] = line;
  }
  SetSeriesActive(channel, FActive[i]);
  SetSeriesTitle(channel, FTitles[i]);
}

QCPAbstractPlottable* TGraphChart::Plottable(int channel) const {
  const std::size_t i = Index(channel);
  if (FBars[i] != nullptr) return FBars[i];
  return FLines[i];
}

int TGraphChart::ChannelOf(const QCPAbstractPlottable* plottable) const {
  for (int channel = 0; channel < ChannelCount; ++channel) {
    if (plottable != nullptr && plottable == Plottable(channel)) return channel;
  }
  return -1;
}

void TGraphChart::SetSeriesActive(int channel, bool active) {
  FActive[Index(channel)] = active;
  if (QCPAbstractPlottable* plottable = Plottable(channel)) {
    plottable->setVisible(active);
    if (active && !FTitles[Index(channel)].isEmpty()) {
      plottable->addToLegend();
    } else {
      plottable->removeFromLegend();
    }
  }
  ValueAxis(channel)->setVisible(channel == 0 || active);
  if (channel == 1) ValueAxis(channel)->setTickLabels(active);
}

void TGraphChart::SetSeriesTitle(int channel, const QString& title) {
  FTitles[Index(channel)] = title;
  if (QCPAbstractPlottable* plottable = Plottable(channel)) {
    plottable->setName(title);
    if (FActive[Index(channel)] && !title.isEmpty()) {
      plottable->addToLegend();
    } else {
      plottable->removeFromLegend();
    }
  }
}

void TGraphChart::SetSeriesData(int channel, const QVector<double>& keys, const QVector<double>& values) {
  const std::size_t i = Index(channel);
  // The points come in date order; the chart is told so and skips its own sorting.
  if (FBars[i] != nullptr) FBars[i]->setData(keys, values, true);
  if (FLines[i] != nullptr) FLines[i]->setData(keys, values, true);
}

void TGraphChart::ClearSeries(int channel) { SetSeriesData(channel, {}, {}); }

int TGraphChart::PointCount(int channel) const {
  QCPAbstractPlottable* plottable = Plottable(channel);
  return plottable != nullptr ? plottable->interface1D()->dataCount() : 0;
}

double TGraphChart::PointKey(int channel, int index) const {
  return Plottable(channel)->interface1D()->dataMainKey(index);
}

double TGraphChart::PointValue(int channel, int index) const {
  return Plottable(channel)->interface1D()->dataMainValue(index);
}

void TGraphChart::SetBarWidth(int channel, int pixels) {
  if (QCPBars* bars = FBars[Index(channel)]) bars->setWidth(std::max(pixels, 1));
}

int TGraphChart::BarWidth(int channel) const {
  const QCPBars* bars = FBars[Index(channel)];
  return bars != nullptr ? static_cast<int>(bars->width()) : 0;
}

void TGraphChart::SetDateRange(const TDateAxisRange& range, double startPercent, double endPercent) {
  FDateAuto = range.IsAuto;
  FDateRange = range;
  // Margins that leave no room are dropped rather than dividing by nothing.
  if (!(startPercent >= 0 && endPercent <= 100 && endPercent - startPercent > 1)) {
    startPercent = 0;
    endPercent = 100;
  }
  FStartPercent = startPercent;
  FEndPercent = endPercent;
  ApplyDateRange();
}

void TGraphChart::ApplyDateRange() {
  if (FDateAuto) {
    bool found = false;
    double low = 0;
    double high = 0;
    for (int channel = 0; channel < ChannelCount; ++channel) {
      if (Plottable(channel) == nullptr || !FActive[Index(channel)] || PointCount(channel) == 0) continue;
      // The points are in date order.
      const QCPRange keys(PointKey(channel, 0), PointKey(channel, PointCount(channel) - 1));
      low = found ? std::min(low, keys.lower) : keys.lower;
      high = found ? std::max(high, keys.upper) : keys.upper;
      found = true;
    }
    FDateRange = {true, found ? low : 0, found ? high : 0};
  }
  const bool bars = (IsBarSeries(0) && FActive[0]) || (IsBarSeries(1) && FActive[1]);
  const TShownSpan span = ShownDateSpan(FDateRange.Min, FDateRange.Max, FPeriod, bars, FDateAuto);
  QCPRange shown(span.Min, span.Max);
  const double used = (FEndPercent - FStartPercent) / 100.0;
  const double size = shown.size() / used;
  shown = QCPRange(shown.lower - size * FStartPercent / 100.0, shown.upper + size * (100.0 - FEndPercent) / 100.0);
  DateAxis()->setRange(shown);
  if (auto* ticker = dynamic_cast<TDateTicker*>(DateAxis()->ticker().data())) {
    ticker->SetSpan(FDateRange.Min, FDateRange.Max);
  }
}

void TGraphChart::SetDateLabels(TGraphPeriod period) {
  FPeriod = period;
  auto ticker = QSharedPointer<TDateTicker>::create(period);
  ticker->SetSpan(FDateRange.Min, FDateRange.Max);
  DateAxis()->setTicker(ticker);
  DateAxis()->setSubTicks(false);
}

void TGraphChart::SetSequenceLabels(const QStringList& labels) {
  // The points stand one apart, as days do.
  FPeriod = gpDay;
  DateAxis()->setTicker(QSharedPointer<TSequenceTicker>::create(labels));
  DateAxis()->setSubTicks(false);
}

void TGraphChart::SetValueRange(int channel, bool isAuto, double min, double max) {
  QCPAxis* axis = ValueAxis(channel);
  axis->setRangeReversed(false);
  if (!isAuto) {
    axis->setRange(UsableRange(min, max));
    return;
  }
  const QCPAbstractPlottable* plottable = Plottable(channel);
  if (plottable == nullptr || PointCount(channel) == 0) {
    axis->setRange(0, 1);
    return;
  }
  bool found = false;
  QCPRange range = plottable->getValueRange(found, QCP::sdBoth);
  if (!found) range = QCPRange(0, 1);
  const TShownSpan shown = AutoValueRange(range.lower, range.upper);
  axis->setRange(shown.Min, shown.Max);
}

void TGraphChart::SetValueTitle(int channel, const QString& title) { ValueAxis(channel)->setLabel(title); }

int TGraphChart::DateAxisLength() const {
  const QRect rect = axisRect()->rect();
  return FIsVertical ? rect.height() : rect.width();
}

void TGraphChart::SetValueLabelsVisible(bool visible) {
  FValueLabels = visible;
  FLabelLayer->setVisible(visible);
}

QVector<TValueLabel> TGraphChart::ValueLabels() const {
  return FValueLabels ? FLabelLayer->Layout() : QVector<TValueLabel>();
}

void TGraphChart::SetLegendVisible(bool visible) {
  legend->setFillOrder(QCPLayoutGrid::foColumnsFirst);
  legend->setVisible(visible);
  if (visible) PlaceLegend();
}

bool TGraphChart::IsLegendOutsidePlot() const {
  return legend->visible() && plotLayout()->rowCount() > 1 && plotLayout()->element(0, 0) == legend;
}

void TGraphChart::MoveLegend(TLegendPlace place) {
  FLegendPlace = place;
  const bool outside = plotLayout()->rowCount() > 1 && plotLayout()->element(0, 0) == legend;
  if (place == lpAbove) {
    if (outside) return;
    // A row of its own above the plot, the entries side by side.
    axisRect()->insetLayout()->take(legend);
    plotLayout()->insertRow(0);
    plotLayout()->addElement(0, 0, legend);
    plotLayout()->setRowStretchFactor(0, 0.001);
    legend->setBorderPen(Qt::NoPen);
    legend->setMargins(QMargins(4, 2, 4, 0));
    return;
  }
  if (outside) {
    plotLayout()->take(legend);
    plotLayout()->simplify();
    axisRect()->insetLayout()->addElement(legend, Qt::AlignTop | Qt::AlignRight);
    legend->setBorderPen(QPen(Qt::black));
    legend->setMargins(QMargins(4, 2, 4, 2));
  }
  Qt::Alignment alignment;
  alignment |= place == lpTopRight || place == lpTopLeft ? Qt::AlignTop : Qt::AlignBottom;
  alignment |= place == lpTopRight || place == lpBottomRight ? Qt::AlignRight : Qt::AlignLeft;
  QCPLayoutInset* inset = axisRect()->insetLayout();
  for (int i = 0; i < inset->elementCount(); ++i) {
    if (inset->elementAt(i) == legend) inset->setInsetAlignment(i, alignment);
  }
}

void TGraphChart::PlaceLegend() {
  if (!legend->visible()) return;
  const QRectF plot = axisRect()->rect();
  if (plot.width() <= 0 || plot.height() <= 0) return;
  // What the series draw, in fractions of the plot.
  std::vector<TPlotMark> marks;
  const auto add = [&](QRectF pixels) {
    pixels = pixels.normalized();
    marks.push_back({(pixels.left() - plot.left()) / plot.width(), (pixels.right() - plot.left()) / plot.width(),
                     (plot.bottom() - pixels.bottom()) / plot.height(),
                     (plot.bottom() - pixels.top()) / plot.height()});
  };
  constexpr double kMarker = 4;  // half a line point's square, in pixels
  for (int channel = 0; channel < ChannelCount; ++channel) {
    if (!IsSeriesActive(channel)) continue;
    QCPAxis* dates = DateAxis();
    QCPAxis* values = ValueAxis(channel);
    const bool bars = IsBarSeries(channel);
    const double half = bars ? BarWidth(channel) / 2.0 : kMarker;
    const double base = values->coordToPixel(0);
    for (int i = 0; i < PointCount(channel); ++i) {
      const double value = PointValue(channel, i);
      if (!std::isfinite(value)) continue;
      const double k = dates->coordToPixel(PointKey(channel, i));
      const double v = values->coordToPixel(value);
      const double from = bars ? base : v - kMarker;
      const double to = bars ? v : v + kMarker;
      add(FIsVertical ? QRectF(QPointF(from, k - half), QPointF(to, k + half))
                      : QRectF(QPointF(k - half, from), QPointF(k + half, to)));
    }
  }
  const QSize size = legend->minimumOuterSizeHint();
  MoveLegend(ChooseLegendPlace(marks, size.width() / plot.width(), size.height() / plot.height()));
}

void TGraphChart::MarkLonePoints() {
  // A line needs two points to draw anything: with fewer in view, the point itself is drawn.
  const QCPRange range = DateAxis()->range();
  for (int channel = 0; channel < ChannelCount; ++channel) {
    QCPGraph* line = FLines[Index(channel)];
    if (line == nullptr) continue;
    const auto begin = line->data()->findBegin(range.lower, false);
    const auto end = line->data()->findEnd(range.upper, false);
    const bool lone = end - begin < 2;
    const double size = std::max(9.0, 3.0 * std::clamp(FLineWidths[Index(channel)], 1, 50));
    const QCPScatterStyle marker(QCPScatterStyle::ssDisc, FColors[Index(channel)], FColors[Index(channel)], size);
    line->setScatterStyle(lone ? marker : QCPScatterStyle());
  }
}

bool TGraphChart::IsPointMarked(int channel) const {
  const QCPGraph* line = FLines[Index(channel)];
  return line != nullptr && !line->scatterStyle().isNone();
}

void TGraphChart::OnBeforeReplot() {
  if (FInBeforeDraw) return;
  FInBeforeDraw = true;
  MarkLonePoints();
  PlaceLegend();
  // About one label per 80 pixels across, one per 28 pixels down.
  const int length = std::max(DateAxisLength(), 1);
  DateAxis()->ticker()->setTickCount(std::max(length / (FIsVertical ? 28 : 80), 2));
  FInBeforeDraw = false;
}

void TGraphChart::updateLayout() {
  QCustomPlot::updateLayout();
  // The bars take their width from the axis length this layout has just given.
  if (FBeforeDraw && !FInBeforeDraw) {
    FInBeforeDraw = true;
    FBeforeDraw();
    FInBeforeDraw = false;
  }
}

QPixmap TGraphChart::Picture() {
  const QSize size = width() > 0 && height() > 0 ? this->size() : sizeHint();
  return toPixmap(size.width(), size.height());
}

}  // namespace hakuvo
