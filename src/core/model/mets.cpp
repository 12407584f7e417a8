#include "core/model/mets.h"

#include <cmath>

#include "core/common/number_format.h"

namespace hakuvo {

const TMetsTable& JoggingMetsTable() {
  static const TMetsTable table{{{7.6L, 8.0L, 7},
                                 {8.0L, 8.4L, 8},
                                 {8.4L, 9.7L, 9},
                                 {9.7L, 10.8L, 10},
                                 {10.8L, 11.3L, 11},
                                 {11.3L, 12.1L, 11.5L},
                                 {12.1L, 12.9L, 12.5L},
                                 {12.9L, 13.8L, 13.5L},
                                 {13.8L, 14.5L, 14},
                                 {14.5L, 16.1L, 15},
                                 {16.1L, 17.5L, 16},
                                 {17.5L, 18.9L, 18}},
                                8.0L,
                                7,
                                17.5L,
                                18,
                                7};
  return table;
}

const TMetsTable& WalkingMetsTable() {
  static const TMetsTable table{{{2.4L, 3.2L, 2},
                                 {3.2L, 4.0L, 2.5L},
                                 {4.0L, 4.8L, 3},
                                 {4.8L, 5.6L, 3.3L},
                                 {5.6L, 6.4L, 3.8L},
                                 {6.4L, 7.2L, 5},
                                 {7.2L, 8.0L, 6.3L},
                                 {8.0L, 8.8L, 8}},
                                3.2L,
                                2,
                                8.0L,
                                8,
                                3};
  return table;
}

const TMetsTable& BicycleMetsTable() {
  static const TMetsTable table{{{12.9L, 16.1L, 4},
                                 {16.1L, 19.3L, 6},
                                 {19.3L, 22.5L, 8},
                                 {22.5L, 25.7L, 10},
                                 {25.7L, 32.2L, 12},
                                 {32.2L, 38.9L, 16}},
                                16.1L,
                                4,
                                32.2L,
                                16,
                                8};
  return table;
}

Extended InterpolateMets(const TMetsTable& table, std::size_t band, Extended v) {
  const TMetsBand& below = table.Bands[band - 1];
  const TMetsBand& own = table.Bands[band];
  const TMetsBand& above = table.Bands[band + 1];
  const Extended middle = (own.Lower + own.Upper) / 2;
  const Extended lowerMiddle = (below.Lower + below.Upper) / 2;
  const Extended upperMiddle = (above.Lower + above.Upper) / 2;
  if (v < middle) return below.Mets + (own.Mets - below.Mets) / (middle - lowerMiddle) * (v - lowerMiddle);
  return own.Mets + (above.Mets - own.Mets) / (upperMiddle - middle) * (v - middle);
}

Extended LookupMets(const TMetsTable& table, Extended speed) {
  // The thresholds where the value jumps are decimals: a speed one rounding away from one (32.2 km
  // in 60 minutes gives 32.199999999999999) must fall on the same side as the decimal it stands
  // for. Between the bands the value runs on without a jump, so only these two need the care.
  const auto near = [speed](Extended threshold) { return std::fabs(speed - threshold) <= threshold * 1e-14L; };
  const Extended v = near(table.LowBelow) || near(table.InterpolateBelow) ? NearestDecimal15(speed) : speed;
  if (v < table.LowBelow) return table.LowMets;
  if (v < table.InterpolateBelow) {
    for (std::size_t i = 1; i + 1 < table.Bands.size(); ++i) {
      if (v >= table.Bands[i].Lower && v < table.Bands[i].Upper) return InterpolateMets(table, i, v);
    }
  }
  if (v >= table.InterpolateBelow) return table.TopMets;
  return table.Fallback;
}

}  // namespace hakuvo
