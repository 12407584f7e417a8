#pragma once

#include <vector>

#include "core/common/extended.h"

namespace hakuvo {

// One speed band [Lower, Upper) in km/h and its METs value.
struct TMetsBand {
  Extended Lower;
  Extended Upper;
  Extended Mets;
};

// A band table: below LowBelow the first band's value applies flat; from LowBelow up to
// InterpolateBelow the value runs linearly between band midpoints; from InterpolateBelow on the
// last band's value applies, the threshold itself included, so that an outing at exactly the top
// speed is not counted as a slow one. Fallback is for a speed that no rule takes (undefined).
struct TMetsTable {
  std::vector<TMetsBand> Bands;
  Extended LowBelow;
  Extended LowMets;
  Extended InterpolateBelow;
  Extended TopMets;
  Extended Fallback;
};

const TMetsTable& JoggingMetsTable();
const TMetsTable& WalkingMetsTable();
const TMetsTable& BicycleMetsTable();

// The value inside band `band` of the table for speed v, running linearly between the midpoints
// of the neighbouring bands. The band must have a neighbour on each side.
Extended InterpolateMets(const TMetsTable& table, std::size_t band, Extended v);

// METs of a speed by the table's rules.
Extended LookupMets(const TMetsTable& table, Extended speed);

}  // namespace hakuvo
