#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/model/color.h"

namespace hakuvo {

enum TDayAxisType : std::uint8_t { daTerm = 0, daDate, daAll };
enum TBottomAxisType : std::uint8_t { baDistance = 0, baTime, baTermHour, baTermMin };

// Settings of one day, month or year graph.
class TGraphInfo {
 public:
  TGraphInfo();
  virtual ~TGraphInfo() = default;
  virtual void Assign(const TGraphInfo& source);

  bool IsYAxisDate() const { return FIsYAxisDate; }
  void SetIsYAxisDate(bool value) { FIsYAxisDate = value; }
  bool IsBarSeries() const { return FIsBarSeries; }
  void SetIsBarSeries(bool value) { FIsBarSeries = value; }
  TDateTime EndDate() const { return FEndDate; }
  void SetEndDate(TDateTime value) { FEndDate = value; }
  TDayAxisType DayAxisKind() const { return FDayAxisKind; }
  void SetDayAxisKind(TDayAxisType value) { FDayAxisKind = value; }
  TColor SeriesColor() const { return FSeriesColor; }
  void SetSeriesColor(TColor value) { FSeriesColor = value; }
  TDateTime StartDate() const { return FStartDate; }
  void SetStartDate(TDateTime value) { FStartDate = value; }
  int AxisTerm() const { return FAxisTerm; }
  void SetAxisTerm(int value) { FAxisTerm = value; }
  Extended RecordAxisMax() const { return FRecordAxisMax; }
  void SetRecordAxisMax(Extended value) { FRecordAxisMax = value; }
  bool IsAutoRecordAxis() const { return FIsAutoRecordAxis; }
  void SetIsAutoRecordAxis(bool value) { FIsAutoRecordAxis = value; }
  Extended RecordAxisMin() const { return FRecordAxisMin; }
  void SetRecordAxisMin(Extended value) { FRecordAxisMin = value; }
  int LineSeriesWidth() const { return FLineSeriesWidth; }
  void SetLineSeriesWidth(int value) { FLineSeriesWidth = value; }
  int BarSeriesWidth() const { return FBarSeriesWidth; }
  void SetBarSeriesWidth(int value) { FBarSeriesWidth = value; }

  // Value-axis title per record index; sized to the category's record count.
  std::vector<std::string> RecordAxisTitle;

 private:
  bool FIsYAxisDate = false;
  bool FIsBarSeries = true;
  TDateTime FEndDate = 0;
  TDayAxisType FDayAxisKind = daAll;
  TColor FSeriesColor = 0xFF0000;
  TDateTime FStartDate = 0;
  int FAxisTerm = 30;
  Extended FRecordAxisMax = 0;
  bool FIsAutoRecordAxis = true;
  Extended FRecordAxisMin = 0;
  int FLineSeriesWidth = 2;
  int FBarSeriesWidth = 0;
};

// Settings of the speed and altitude graph of a linked track.
class TSpeedGraphInfo {
 public:
  virtual ~TSpeedGraphInfo() = default;
  virtual void Assign(const TSpeedGraphInfo& source) { *this = source; }

  int SpeedLineSeriesWidth() const { return FSpeedLineSeriesWidth; }
  void SetSpeedLineSeriesWidth(int value) { FSpeedLineSeriesWidth = value; }
  int AltitudeTransparency() const { return FAltitudeTransparency; }
  void SetAltitudeTransparency(int value) { FAltitudeTransparency = value; }
  Extended RightAxisMin() const { return FRightAxisMin; }
  void SetRightAxisMin(Extended value) { FRightAxisMin = value; }
  Extended LimitSpeed() const { return FLimitSpeed; }
  void SetLimitSpeed(Extended value) { FLimitSpeed = value; }
  bool IsLeftAutoAxis() const { return FIsLeftAutoAxis; }
  void SetIsLeftAutoAxis(bool value) { FIsLeftAutoAxis = value; }
  TColor SpeedSeriesColor() const { return FSpeedSeriesColor; }
  void SetSpeedSeriesColor(TColor value) { FSpeedSeriesColor = value; }
  bool IsRightAutoAxis() const { return FIsRightAutoAxis; }
  void SetIsRightAutoAxis(bool value) { FIsRightAutoAxis = value; }
  Extended LeftAxisMax() const { return FLeftAxisMax; }
  void SetLeftAxisMax(Extended value) { FLeftAxisMax = value; }
  TColor AltitudeSeriesColor() const { return FAltitudeSeriesColor; }
  void SetAltitudeSeriesColor(TColor value) { FAltitudeSeriesColor = value; }
  Extended RightAxisMax() const { return FRightAxisMax; }
  void SetRightAxisMax(Extended value) { FRightAxisMax = value; }
  Extended LeftAxisMin() const { return FLeftAxisMin; }
  void SetLeftAxisMin(Extended value) { FLeftAxisMin = value; }
  int SpeedMovingAverage() const { return FSpeedMovingAverage; }
  void SetSpeedMovingAverage(int value) { FSpeedMovingAverage = value; }
  bool IsAltitudeSeries() const { return FIsAltitudeSeries; }
  void SetIsAltitudeSeries(bool value) { FIsAltitudeSeries = value; }
  bool IsSpeedSeries() const { return FIsSpeedSeries; }
  void SetIsSpeedSeries(bool value) { FIsSpeedSeries = value; }
  int AltitudeMovingAverage() const { return FAltitudeMovingAverage; }
  void SetAltitudeMovingAverage(int value) { FAltitudeMovingAverage = value; }
  TBottomAxisType BottomAxisKind() const { return FBottomAxisKind; }
  void SetBottomAxisKind(TBottomAxisType value) { FBottomAxisKind = value; }
  bool IsAverageSpeed() const { return FIsAverageSpeed; }
  void SetIsAverageSpeed(bool value) { FIsAverageSpeed = value; }
  // Runners and walkers may read the speed line as pace (minutes per kilometre) on an axis turned
  // over, so that faster still stands higher.
  bool IsPaceAxis() const { return FIsPaceAxis; }
  void SetIsPaceAxis(bool value) { FIsPaceAxis = value; }

 private:
  int FSpeedLineSeriesWidth = 2;
  int FAltitudeTransparency = 40;
  Extended FRightAxisMin = 0;
  Extended FLimitSpeed = 0;
  bool FIsLeftAutoAxis = true;
  TColor FSpeedSeriesColor = 0x0000FF;
  bool FIsRightAutoAxis = true;
  Extended FLeftAxisMax = 0;
  TColor FAltitudeSeriesColor = 0x80FF80;
  Extended FRightAxisMax = 0;
  Extended FLeftAxisMin = 0;
  int FSpeedMovingAverage = 0;
  bool FIsAltitudeSeries = true;
  bool FIsSpeedSeries = true;
  int FAltitudeMovingAverage = 0;
  TBottomAxisType FBottomAxisKind = baDistance;
  bool FIsAverageSpeed = true;
  bool FIsPaceAxis = false;
};

}  // namespace hakuvo
