#include <gtest/gtest.h>

#include "core/datafile/diary_fixture.h"
#include "core/settings/child_window_info_expect.h"

namespace hakuvo {

namespace {

void ExpectSameGraph(const TGraphInfo& a, const TGraphInfo& b) {
  EXPECT_EQ(a.IsYAxisDate(), b.IsYAxisDate());
  EXPECT_EQ(a.IsBarSeries(), b.IsBarSeries());
  EXPECT_EQ(a.SeriesColor(), b.SeriesColor());
  EXPECT_EQ(a.LineSeriesWidth(), b.LineSeriesWidth());
  EXPECT_EQ(a.BarSeriesWidth(), b.BarSeriesWidth());
  EXPECT_EQ(a.DayAxisKind(), b.DayAxisKind());
  EXPECT_EQ(a.AxisTerm(), b.AxisTerm());
  EXPECT_EQ(a.StartDate(), b.StartDate());
  EXPECT_EQ(a.EndDate(), b.EndDate());
  EXPECT_EQ(a.IsAutoRecordAxis(), b.IsAutoRecordAxis());
  EXPECT_EQ(a.RecordAxisMax(), b.RecordAxisMax());
  EXPECT_EQ(a.RecordAxisMin(), b.RecordAxisMin());
  EXPECT_EQ(a.RecordAxisTitle, b.RecordAxisTitle);
}

void ExpectSameCategory(const TCategoryInfo& a, const TCategoryInfo& b) {
  SCOPED_TRACE("category " + std::to_string(static_cast<int>(a.Category())));
  EXPECT_EQ(typeid(a), typeid(b));
  EXPECT_EQ(a.Category(), b.Category());
  EXPECT_EQ(a.IndicationKind(), b.IndicationKind());
  EXPECT_EQ(a.IsRecordData(), b.IsRecordData());
  EXPECT_EQ(a.IsTime(), b.IsTime());
  EXPECT_EQ(a.IsWeather(), b.IsWeather());
  EXPECT_EQ(a.IsTemperature(), b.IsTemperature());
  EXPECT_EQ(a.IsWindDirection(), b.IsWindDirection());
  EXPECT_EQ(a.IsWindSpeed(), b.IsWindSpeed());
  if (const auto* fa = dynamic_cast<const TFishingCategoryInfo*>(&a)) {
    const auto& fb = dynamic_cast<const TFishingCategoryInfo&>(b);
    EXPECT_EQ(fa->IsDimension(), fb.IsDimension());
    EXPECT_EQ(fa->IsWaterTemperature(), fb.IsWaterTemperature());
  }
  if (const auto* ea = dynamic_cast<const TEnergyConsumptionCategoryInfo*>(&a)) {
    EXPECT_EQ(ea->IsWeight(), dynamic_cast<const TEnergyConsumptionCategoryInfo&>(b).IsWeight());
  }
  if (const auto* wa = dynamic_cast<const TWalkingCategoryInfo*>(&a)) {
    EXPECT_EQ(wa->IsPedometer(), dynamic_cast<const TWalkingCategoryInfo&>(b).IsPedometer());
  }
  if (const auto* va = dynamic_cast<const TEvaluationCategoryInfo*>(&a)) {
    EXPECT_EQ(va->IsUrl(), dynamic_cast<const TEvaluationCategoryInfo&>(b).IsUrl());
  }
  if (const auto* ba = dynamic_cast<const TBookCategoryInfo*>(&a)) {
    EXPECT_EQ(ba->IsAuthor(), dynamic_cast<const TBookCategoryInfo&>(b).IsAuthor());
  }
  if (const auto* pa = dynamic_cast<const TBloodPressureCategoryInfo*>(&a)) {
    const auto& pb = dynamic_cast<const TBloodPressureCategoryInfo&>(b);
    EXPECT_EQ(pa->IsMinBloodPressure(), pb.IsMinBloodPressure());
    EXPECT_EQ(pa->IsPulse(), pb.IsPulse());
  }
  EXPECT_EQ(a.Tani, b.Tani);
  EXPECT_EQ(a.CalcKind, b.CalcKind);
  ExpectSameGraph(a.GraphInfo(), b.GraphInfo());
  ExpectSameGraph(a.MonthGraphInfo(), b.MonthGraphInfo());
  ExpectSameGraph(a.YearGraphInfo(), b.YearGraphInfo());
  const TSpeedGraphInfo& sa = a.SpeedGraphInfo();
  const TSpeedGraphInfo& sb = b.SpeedGraphInfo();
  EXPECT_EQ(sa.IsSpeedSeries(), sb.IsSpeedSeries());
  EXPECT_EQ(sa.SpeedSeriesColor(), sb.SpeedSeriesColor());
  EXPECT_EQ(sa.SpeedLineSeriesWidth(), sb.SpeedLineSeriesWidth());
  EXPECT_EQ(sa.IsAltitudeSeries(), sb.IsAltitudeSeries());
  EXPECT_EQ(sa.AltitudeSeriesColor(), sb.AltitudeSeriesColor());
  EXPECT_EQ(sa.AltitudeTransparency(), sb.AltitudeTransparency());
  EXPECT_EQ(sa.IsLeftAutoAxis(), sb.IsLeftAutoAxis());
  EXPECT_EQ(sa.LeftAxisMax(), sb.LeftAxisMax());
  EXPECT_EQ(sa.LeftAxisMin(), sb.LeftAxisMin());
  EXPECT_EQ(sa.IsRightAutoAxis(), sb.IsRightAutoAxis());
  EXPECT_EQ(sa.RightAxisMax(), sb.RightAxisMax());
  EXPECT_EQ(sa.RightAxisMin(), sb.RightAxisMin());
  EXPECT_EQ(sa.SpeedMovingAverage(), sb.SpeedMovingAverage());
  EXPECT_EQ(sa.AltitudeMovingAverage(), sb.AltitudeMovingAverage());
  EXPECT_EQ(sa.LimitSpeed(), sb.LimitSpeed());
  EXPECT_EQ(sa.BottomAxisKind(), sb.BottomAxisKind());
  EXPECT_EQ(sa.IsAverageSpeed(), sb.IsAverageSpeed());
  EXPECT_EQ(sa.IsPaceAxis(), sb.IsPaceAxis());
  EXPECT_EQ(a.MapInfo().LineColor(), b.MapInfo().LineColor());
  EXPECT_EQ(a.MapInfo().LineWidth(), b.MapInfo().LineWidth());
  EXPECT_EQ(a.MapInfo().LineOpacity(), b.MapInfo().LineOpacity());
  EXPECT_EQ(a.MapInfo().LimitSpeed(), b.MapInfo().LimitSpeed());
  EXPECT_EQ(a.MapInfo().IsSpeedColor(), b.MapInfo().IsSpeedColor());
}

void ExpectSameRecord(const TRecordData& a, const TRecordData& b) {
  EXPECT_EQ(typeid(a), typeid(b));
  EXPECT_EQ(a.IndicationKind, b.IndicationKind);
  EXPECT_EQ(a.Data(), b.Data());
  EXPECT_EQ(a.StartTime, b.StartTime);
  EXPECT_EQ(a.Tani, b.Tani);
  if (const auto* ta = dynamic_cast<const TTimeRecord*>(&a)) {
    EXPECT_EQ(ta->EndTime, dynamic_cast<const TTimeRecord&>(b).EndTime);
  }
  if (const auto* ea = dynamic_cast<const TEnergyConsumptionRecord*>(&a)) {
    EXPECT_EQ(ea->Weight, dynamic_cast<const TEnergyConsumptionRecord&>(b).Weight);
  }
  if (const auto* wa = dynamic_cast<const TWalkingRecord*>(&a)) {
    EXPECT_EQ(wa->Pedometer, dynamic_cast<const TWalkingRecord&>(b).Pedometer);
  }
  if (const auto* fa = dynamic_cast<const TFishingRecord*>(&a)) {
    const auto& fb = dynamic_cast<const TFishingRecord&>(b);
    EXPECT_EQ(fa->Dimension, fb.Dimension);
    EXPECT_EQ(fa->WaterTemperature, fb.WaterTemperature);
  }
  if (const auto* pa = dynamic_cast<const TBloodPressureRecord*>(&a)) {
    const auto& pb = dynamic_cast<const TBloodPressureRecord&>(b);
    EXPECT_EQ(pa->MinBloodPressure, pb.MinBloodPressure);
    EXPECT_EQ(pa->Pulse, pb.Pulse);
  }
}

void ExpectSameLinkRefs(const TLinkDataList& a, const TLinkDataList& b) {
  ASSERT_EQ(a.Count(), b.Count());
  for (int i = 0; i < a.Count(); ++i) {
    EXPECT_EQ(typeid(*a[i]), typeid(*b[i]));
    EXPECT_EQ(a[i]->FindData(), b[i]->FindData());
  }
}

void ExpectSameAct(const TActData& a, const TActData& b, const TDayData& bDay) {
  SCOPED_TRACE("action " + a.Title);
  EXPECT_EQ(typeid(a), typeid(b));
  EXPECT_EQ(a.Category, b.Category);
  EXPECT_EQ(a.UserCategory, b.UserCategory);
  EXPECT_EQ(a.Title, b.Title);
  EXPECT_EQ(a.Tag, b.Tag);
  EXPECT_EQ(a.Memo, b.Memo);
  EXPECT_EQ(a.Weather, b.Weather);
  EXPECT_EQ(a.Temperature, b.Temperature);
  EXPECT_EQ(a.WindDirection, b.WindDirection);
  EXPECT_EQ(a.WindSpeed, b.WindSpeed);
  EXPECT_EQ(a.Place.Title, b.Place.Title);
  EXPECT_EQ(a.Place.Address, b.Place.Address);
  EXPECT_EQ(a.Place.Latitude, b.Place.Latitude);
  EXPECT_EQ(a.Place.Longitude, b.Place.Longitude);
  EXPECT_EQ(a.CameraClockOffset, b.CameraClockOffset);
  EXPECT_EQ(b.DayData, &bDay);
  ExpectSameRecord(*a.RecordData, *b.RecordData);
  ExpectSameLinkRefs(a.LinkDataList, b.LinkDataList);
  if (const auto* fa = dynamic_cast<const TFishingAct*>(&a)) {
    EXPECT_EQ(fa->FishSpecies, dynamic_cast<const TFishingAct&>(b).FishSpecies);
  }
  if (const auto* ta = dynamic_cast<const TTimePlaceAct*>(&a)) {
    EXPECT_EQ(ta->DeparturePlace, dynamic_cast<const TTimePlaceAct&>(b).DeparturePlace);
    EXPECT_EQ(ta->ArrivalPlace, dynamic_cast<const TTimePlaceAct&>(b).ArrivalPlace);
  }
  if (const auto* ea = dynamic_cast<const TEvaluationAct*>(&a)) {
    EXPECT_EQ(ea->Url, dynamic_cast<const TEvaluationAct&>(b).Url);
  }
  if (const auto* ba = dynamic_cast<const TBookAct*>(&a)) {
    EXPECT_EQ(ba->Author, dynamic_cast<const TBookAct&>(b).Author);
  }
}

void ExpectSameFiles(const TLinkDataList& a, const TLinkDataList& b) {
  ExpectSameLinkRefs(a, b);
  for (int i = 0; i < a.Count() && i < b.Count(); ++i) {
    const auto& fa = dynamic_cast<const TFileLink&>(*a[i]);
    const auto& fb = dynamic_cast<const TFileLink&>(*b[i]);
    EXPECT_EQ(fa.FileName, fb.FileName);
    if (const auto* ia = dynamic_cast<const TImageFileLink*>(&fa)) {
      EXPECT_EQ(ia->RotateAngle, dynamic_cast<const TImageFileLink&>(fb).RotateAngle);
      EXPECT_EQ(ia->ViewFileName, dynamic_cast<const TImageFileLink&>(fb).ViewFileName);
    }
    if (const auto* ga = dynamic_cast<const TGpsFileLink*>(&fa)) {
      const auto& gb = dynamic_cast<const TGpsFileLink&>(fb);
      EXPECT_EQ(ga->StartPos, gb.StartPos);
      EXPECT_EQ(ga->EndPos, gb.EndPos);
      EXPECT_EQ(ga->ViewFileName, gb.ViewFileName);
    }
  }
}

void ExpectSameThings(const TLinkDataList& a, const TLinkDataList& b) {
  ExpectSameLinkRefs(a, b);
  for (int i = 0; i < a.Count() && i < b.Count(); ++i) {
    const auto& ta = dynamic_cast<const TThingLink&>(*a[i]);
    const auto& tb = dynamic_cast<const TThingLink&>(*b[i]);
    EXPECT_EQ(ta.Name(), tb.Name());
    EXPECT_EQ(ta.Category(), tb.Category());
    EXPECT_EQ(ta.PhotoFileName(), tb.PhotoFileName());
    EXPECT_EQ(ta.ViewFileName(), tb.ViewFileName());
    EXPECT_EQ(ta.PhotoRotate(), tb.PhotoRotate());
    EXPECT_EQ(ta.Memo(), tb.Memo());
    const auto* pa = dynamic_cast<const TPersonLink*>(&ta);
    if (pa == nullptr) continue;
    const auto& pb = dynamic_cast<const TPersonLink&>(tb);
    for (auto getter :
         {&TPersonLink::LastName, &TPersonLink::FirstName, &TPersonLink::MailAddress, &TPersonLink::MailAddress2,
          &TPersonLink::Address, &TPersonLink::PostCode, &TPersonLink::Tel, &TPersonLink::Fax,
          &TPersonLink::CellPhoneNumber, &TPersonLink::CompanyName, &TPersonLink::CompanyDepartment,
          &TPersonLink::CompanyMailAddress, &TPersonLink::CompanyAddress, &TPersonLink::CompanyPostCode,
          &TPersonLink::CompanyTel, &TPersonLink::CompanyFax, &TPersonLink::CompanyCellPhoneNumber}) {
      EXPECT_EQ(((*pa).*getter)(), (pb.*getter)());
    }
    EXPECT_EQ(pa->Latitude(), pb.Latitude());
    EXPECT_EQ(pa->Longitude(), pb.Longitude());
    EXPECT_EQ(pa->CompanyLatitude(), pb.CompanyLatitude());
    EXPECT_EQ(pa->CompanyLongitude(), pb.CompanyLongitude());
  }
}

void ExpectSameView(const TDayDataFileView& a, const TDayDataFileView& b) {
  EXPECT_EQ(a.DayGraphCategory, b.DayGraphCategory);
  EXPECT_EQ(a.MonthGraphCategory, b.MonthGraphCategory);
  EXPECT_EQ(a.YearGraphCategory, b.YearGraphCategory);
  EXPECT_EQ(a.ComboCategory, b.ComboCategory);
  EXPECT_EQ(a.MultiDayGraphCategory, b.MultiDayGraphCategory);
  EXPECT_EQ(a.MultiDayGraphCategory2, b.MultiDayGraphCategory2);
  EXPECT_EQ(a.MultiDayGraphRecordKind2, b.MultiDayGraphRecordKind2);
  EXPECT_EQ(a.MultiDayGraphRecordKind, b.MultiDayGraphRecordKind);
  EXPECT_EQ(a.Width, b.Width);
  EXPECT_EQ(a.Top, b.Top);
  EXPECT_EQ(a.Height, b.Height);
  EXPECT_EQ(a.Left, b.Left);
}

}  // namespace

void ExpectSameDiary(const TDiaryFixture& a, const TDiaryFixture& b) {
  ASSERT_EQ(a.Days.Count(), b.Days.Count());
  for (int d = 0; d < a.Days.Count(); ++d) {
    const TDayData& da = *a.Days[d];
    const TDayData& db = *b.Days[d];
    SCOPED_TRACE("day " + std::to_string(d));
    EXPECT_EQ(da.DateData, db.DateData);
    EXPECT_EQ(da.Weather, db.Weather);
    EXPECT_EQ(da.Memo, db.Memo);
    ASSERT_EQ(da.ActDataList.Count(), db.ActDataList.Count());
    for (int i = 0; i < da.ActDataList.Count(); ++i) ExpectSameAct(*da.ActDataList[i], *db.ActDataList[i], db);
  }
  ASSERT_EQ(a.Categories->Count(), b.Categories->Count());
  for (int i = 0; i < a.Categories->Count(); ++i) ExpectSameCategory(*a.Categories->Items(i), *b.Categories->Items(i));
  ExpectSameFiles(a.Files.List(), b.Files.List());
  ExpectSameThings(a.Things.List(), b.Things.List());
  ExpectSameThings(a.Persons.List(), b.Persons.List());
  ExpectSameGraph(a.MultiDayGraphInfo, b.MultiDayGraphInfo);
  ExpectSameGraph(a.MultiDayGraphInfo2, b.MultiDayGraphInfo2);
  ExpectSameDataFileFields(a.ChildWindowInfo, b.ChildWindowInfo);
  ExpectSameView(a.View, b.View);
}

}  // namespace hakuvo
