#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QStringList>
#include <QTimer>
#include <functional>
#include <memory>
#include <sstream>
#include <string>

#include "core/model/category_info.h"
#include "gui/categories/category_set_dialog.h"
#include "support/qt_application.h"

namespace hakuvo::testing {

inline void EnsureApplication() { test::EnsureQtApplication(); }

inline std::unique_ptr<TCategoryInfo> MakeCategoryInfo(TCategoryType category) {
  auto info = CreateCategoryInfo(category);
  info->SetCategory(category);
  return info;
}

// Every stored value of a settings object in one text, to compare a whole object at once.
inline std::string Describe(const TGraphInfo& g) {
  std::ostringstream out;
  out << g.IsYAxisDate() << ',' << g.IsBarSeries() << ',' << g.EndDate() << ',' << int(g.DayAxisKind()) << ','
      << g.SeriesColor() << ',' << g.StartDate() << ',' << g.AxisTerm() << ',' << double(g.RecordAxisMax()) << ','
      << g.IsAutoRecordAxis() << ',' << double(g.RecordAxisMin()) << ',' << g.LineSeriesWidth() << ','
      << g.BarSeriesWidth();
  for (const auto& title : g.RecordAxisTitle) out << ",t:" << title;
  return out.str();
}

inline std::string Describe(const TCategoryInfo& info) {
  std::ostringstream out;
  out << "kind " << int(info.Category()) << " ind " << info.IndicationKind() << " flags " << info.IsRecordData()
      << info.IsTime() << info.IsWindDirection() << info.IsWindSpeed() << info.IsWeather() << info.IsTemperature();
  if (auto* e = dynamic_cast<const TEnergyConsumptionCategoryInfo*>(&info)) out << " weight " << e->IsWeight();
  if (auto* w = dynamic_cast<const TWalkingCategoryInfo*>(&info)) out << " pedometer " << w->IsPedometer();
  if (auto* f = dynamic_cast<const TFishingCategoryInfo*>(&info)) {
    out << " water " << f->IsWaterTemperature() << " dim " << f->IsDimension();
  }
  if (auto* b = dynamic_cast<const TBloodPressureCategoryInfo*>(&info)) {
    out << " pulse " << b->IsPulse() << " min " << b->IsMinBloodPressure();
  }
  if (auto* v = dynamic_cast<const TEvaluationCategoryInfo*>(&info)) out << " url " << v->IsUrl();
  if (auto* k = dynamic_cast<const TBookCategoryInfo*>(&info)) out << " author " << k->IsAuthor();
  out << " units";
  for (const auto& unit : info.Tani) out << ' ' << unit;
  out << " rules";
  for (auto rule : info.CalcKind) out << ' ' << int(rule);
  out << "\nday " << Describe(info.GraphInfo()) << "\nmonth " << Describe(info.MonthGraphInfo()) << "\nyear "
      << Describe(info.YearGraphInfo());
  const TSpeedGraphInfo& s = info.SpeedGraphInfo();
  out << "\nspeed " << s.SpeedLineSeriesWidth() << ',' << s.AltitudeTransparency() << ',' << double(s.RightAxisMin())
      << ',' << double(s.LimitSpeed()) << ',' << s.IsLeftAutoAxis() << ',' << s.SpeedSeriesColor() << ','
      << s.IsRightAutoAxis() << ',' << double(s.LeftAxisMax()) << ',' << s.AltitudeSeriesColor() << ','
      << double(s.RightAxisMax()) << ',' << double(s.LeftAxisMin()) << ',' << s.SpeedMovingAverage() << ','
      << s.IsAltitudeSeries() << ',' << s.IsSpeedSeries() << ',' << s.AltitudeMovingAverage() << ','
      << int(s.BottomAxisKind()) << ',' << s.IsAverageSpeed();
  const TMapInfo& m = info.MapInfo();
  out << "\nmap " << m.LineWidth() << ',' << m.LineColor() << ',' << double(m.LineOpacity()) << ','
      << double(m.LimitSpeed()) << ',' << m.IsSpeedColor();
  return out.str();
}

// Acts on a modal window of class T as soon as one is open: the way to answer a dialog that a
// command opens with exec(). Stops after the first hit unless `repeat` is set.
template <class T>
class ModalDriver {
 public:
  explicit ModalDriver(std::function<void(T*)> action, bool repeat = false) : FAction(std::move(action)) {
    QObject::connect(&FTimer, &QTimer::timeout, [this, repeat] {
      if (auto* window = qobject_cast<T*>(QApplication::activeModalWidget())) {
        if (!repeat) FTimer.stop();
        ++FHits;
        FAction(window);
      }
    });
    FTimer.start(5);
  }
  int Hits() const { return FHits; }

 private:
  QTimer FTimer;
  std::function<void(T*)> FAction;
  int FHits = 0;
};

// The application must exist before a fixture's widget members are built, so before SetUp.
class ApplicationTest : public ::testing::Test {
 protected:
  ApplicationTest() { EnsureApplication(); }
};

// Opens settings dialogs whose failed checks are collected instead of shown.
class CategorySetDialogFixture : public ApplicationTest {
 protected:
  std::unique_ptr<TCategorySetDialog> Open(TCategoryInfo& info) {
    auto dialog = CreateCategorySetDialog(nullptr, info.Category());
    dialog->SetErrorHandler([this](const QString& message) { Errors << message; });
    dialog->SetCategoryInfo(&info);
    return dialog;
  }

  QStringList Errors;
};

}  // namespace hakuvo::testing
