#pragma once

// Shared by the settings and data-file tests: one comparison of window settings, driven by the
// field table, so that a field added to the table is compared everywhere at once.

#include <gtest/gtest.h>

#include <string>

#include "core/settings/child_window_info.h"

namespace hakuvo {

inline std::string ShownValue(const TChildWindowField& field, const TChildWindowInfo& info) {
  std::string shown;
  field.Visit(info, [&](const auto& value) { shown = ::testing::PrintToString(value); });
  return shown;
}

// Expects every field that `selected` picks to be equal in `actual` and `expected`, naming each
// field that is not with both values.
template <typename Select>
void ExpectSameFields(const TChildWindowInfo& actual, const TChildWindowInfo& expected, Select selected) {
  for (const TChildWindowField& field : ChildWindowFields()) {
    if (!selected(field)) continue;
    EXPECT_TRUE(field.Equal(actual, expected))
        << field.Name << ": " << ShownValue(field, actual) << " instead of " << ShownValue(field, expected);
  }
}

inline void ExpectSameChildWindowInfo(const TChildWindowInfo& actual, const TChildWindowInfo& expected) {
  ExpectSameFields(actual, expected, [](const TChildWindowField&) { return true; });
}

// The fields the data file keeps (all but the weight and pace columns and the energy and pace views).
inline void ExpectSameDataFileFields(const TChildWindowInfo& actual, const TChildWindowInfo& expected) {
  ExpectSameFields(actual, expected, [](const TChildWindowField& field) { return field.InDataFile(); });
}

}  // namespace hakuvo
