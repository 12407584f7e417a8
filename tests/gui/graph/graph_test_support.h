#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>
#include <memory>

#include "core/model/act_data.h"
#include "core/model/record_data.h"
#include "gui/document/diary_document.h"
#include "gui/graph/graph_chart.h"
#include "support/qt_application.h"
#include "support/scoped_clock.h"

namespace hakuvo::test {

// Runs what is posted, as the event loop does between two user actions.
inline void Settle() {
  for (int i = 0; i < 4; ++i) QCoreApplication::processEvents();
}

// A diary document with jogs added by date and distance (one hour each, so speed = distance).
class GraphFixture : public ::testing::Test {
 protected:
  GraphFixture() {
    EnsureQtApplication();
    TDiaryDocument::RegisterMetaTypes();
  }

  TActData& AddJog(TDateTime date, double km, const char* title = "", TCategoryType kind = ctJogging) {
    TDayDataList& days = Document.DayDataList();
    TDayData* day = days.FindDate(date);
    if (day == nullptr) {
      auto made = std::make_unique<TDayData>();
      made->DateData = date;
      day = days.Add(std::move(made));
      days.DateSort();
    }
    TActData* act = day->AddAct(CreateActData(kind));
    act->Title = title;
    act->RecordData->Tani = Document.CategoryInfoList().GetCategoryItems(kind)->Tani;
    auto& record = static_cast<TTimeRecord&>(*act->RecordData);
    record.StartTime = EncodeTime(7, 0, 0);
    record.EndTime = EncodeTime(8, 0, 0);
    record.SetData(km);
    return *act;
  }

  // Shows a window at the size the windows are laid out for and lets it draw.
  template <typename Form>
  void ShowForm(Form& form) {
    form.resize(624, 442);
    form.show();
    Settle();
    form.Chart()->replot();
  }

  // The pixel of a point of a channel's series, halfway up its bar or on its line.
  static QPoint PointPixel(TGraphChart& chart, int channel, int index, bool middle) {
    const double key = chart.PointKey(channel, index);
    const double value = chart.PointValue(channel, index) * (middle ? 0.5 : 1.0);
    QCPAxis* date = chart.DateAxis();
    QCPAxis* valueAxis = chart.ValueAxis(channel);
    if (chart.IsDateAxisVertical()) {
      return QPoint(static_cast<int>(valueAxis->coordToPixel(value)), static_cast<int>(date->coordToPixel(key)));
    }
    return QPoint(static_cast<int>(date->coordToPixel(key)), static_cast<int>(valueAxis->coordToPixel(value)));
  }

  static QStringList Lines(const QString& text) { return text.split(QStringLiteral("\r\n"), Qt::SkipEmptyParts); }

  TDiaryDocument Document;
};

}  // namespace hakuvo::test
