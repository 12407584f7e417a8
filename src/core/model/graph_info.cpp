#include "core/model/graph_info.h"

namespace hakuvo {

TGraphInfo::TGraphInfo() : RecordAxisTitle(2) {
  FEndDate = Today();
  FStartDate = IncMonth(FEndDate, -1);
}

void TGraphInfo::Assign(const TGraphInfo& source) {
  FIsYAxisDate = source.FIsYAxisDate;
  FIsBarSeries = source.FIsBarSeries;
  FEndDate = source.FEndDate;
  FDayAxisKind = source.FDayAxisKind;
  FSeriesColor = source.FSeriesColor;
  FStartDate = source.FStartDate;
  FAxisTerm = source.FAxisTerm;
  FRecordAxisMax = source.FRecordAxisMax;
  FIsAutoRecordAxis = source.FIsAutoRecordAxis;
  FRecordAxisMin = source.FRecordAxisMin;
  FLineSeriesWidth = source.FLineSeriesWidth;
  FBarSeriesWidth = source.FBarSeriesWidth;
  // The receiver keeps its own length: it belongs to its category.
  for (std::size_t i = 0; i < RecordAxisTitle.size(); ++i) {
    RecordAxisTitle[i] = i < source.RecordAxisTitle.size() ? source.RecordAxisTitle[i] : std::string();
  }
}

}  // namespace hakuvo
