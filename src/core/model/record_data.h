#pragma once

#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"

namespace hakuvo {

class TCategoryInfo;

// Record indices by what they hold. Index 0 and 1 mean the same in every record class; the
// higher ones depend on the class, so several names share a number.
enum TRecordKind : int {
  rkCount = 0,  // every action counts once
  rkData = 1,   // the main value: distance, amount, catch, maximum blood pressure
  // time records and the energy records
  rkSpeed = 2,
  rkWeight = 3,
  rkEnergy = 4,
  rkPedometer = 5,  // walking
  // fishing
  rkDimension = 2,
  rkWaterTemperature = 3,
  // blood pressure
  rkMinBloodPressure = 2,
  rkPulse = 3,
};

// The numeric values of one action. Index 0 of every record is the count, index 1 the main
// value. The *At functions present any index and touch nothing, so a record can be read by
// several readers (aggregation, lists, search, formulas) at once; the View* properties present
// the index `IndicationKind` chooses, the one the lists show.
class TRecordData {
 public:
  TRecordData() : TRecordData(2) {}
  virtual ~TRecordData() = default;
  TRecordData(const TRecordData&) = delete;
  TRecordData& operator=(const TRecordData&) = delete;

  virtual void Assign(const TRecordData& source);

  Extended Data() const { return FData; }
  virtual void SetData(Extended value) { FData = value; }
  int RecordNumber() const { return FRecordNumber; }

  virtual Extended ViewDataAt(int kind) const;
  // The value's text appended to `out` (the list writes its rows into one kept buffer).
  virtual void AppendViewDataStrAt(std::string& out, int kind) const;
  std::string ViewDataStrAt(int kind) const;
  std::string ViewTaniAt(int kind) const;
  virtual std::string ViewTitleAt(int kind) const;

  Extended ViewData() const { return ViewDataAt(IndicationKind); }
  std::string ViewDataStr() const { return ViewDataStrAt(IndicationKind); }
  std::string ViewTani() const { return ViewTaniAt(IndicationKind); }
  std::string ViewTitle() const { return ViewTitleAt(IndicationKind); }
  // The record lines of an action's hint, each ending with CR LF.
  virtual std::string GetHint(const TCategoryInfo& info) const;

  std::string TimeStr() const { return TimeToStrHM(StartTime); }

  int IndicationKind = rkData;
  std::vector<std::string> Tani;  // unit per record index
  TDateTime StartTime = 0;

 protected:
  explicit TRecordData(int recordNumber);
  // "title： value unit" of one index.
  std::string ValueLineAt(int kind) const;

 private:
  Extended FData = 1.0;
  int FRecordNumber = 2;
};

class TTimeRecord : public TRecordData {
 public:
  TTimeRecord() : TTimeRecord(3) {}
  void Assign(const TRecordData& source) override;
  Extended ViewDataAt(int kind) const override;
  void AppendViewDataStrAt(std::string& out, int kind) const override;
  std::string ViewTitleAt(int kind) const override;
  std::string GetHint(const TCategoryInfo& info) const override;

  std::string EndTimeStr() const { return TimeToStrHM(EndTime); }
  // The duration in whole milliseconds, so that times entered by the minute give exact speeds
  // (7:00 to 8:00 at 8 km is 8 km/h, not 8.0000000000000004). The times are times of day: an end
  // before the start means the outing went on past midnight, and the duration is never negative.
  Extended DurationMSecs() const;
  Extended Hours() const { return DurationMSecs() / 3600000; }
  // Distance per hour; 0 when the action has no duration.
  Extended Speed() const;
  bool HasDuration() const { return DurationMSecs() != 0; }

  TDateTime EndTime = 1.0 / 24.0;

 protected:
  explicit TTimeRecord(int recordNumber) : TRecordData(recordNumber) {}
};

class TEnergyConsumptionRecord : public TTimeRecord {
 public:
  TEnergyConsumptionRecord() : TEnergyConsumptionRecord(5) {}
  void Assign(const TRecordData& source) override;
  Extended ViewDataAt(int kind) const override;
  void AppendViewDataStrAt(std::string& out, int kind) const override;
  std::string ViewTitleAt(int kind) const override;

  // Metabolic equivalent of the activity at this record's speed.
  virtual Extended GetMets() const { return 1.0; }
  // kcal = METs x 1.05 x hours x weight
  Extended Energy() const;

  Extended Weight = 60;

 protected:
  explicit TEnergyConsumptionRecord(int recordNumber) : TTimeRecord(recordNumber) {}
};

class TJoggingRecord : public TEnergyConsumptionRecord {
 public:
  Extended GetMets() const override;
};

class TBicycleRecord : public TEnergyConsumptionRecord {
 public:
  Extended GetMets() const override;
};

class TSwimmingRecord : public TEnergyConsumptionRecord {
 public:
  Extended GetMets() const override;
};

class TWalkingRecord : public TEnergyConsumptionRecord {
 public:
  TWalkingRecord() : TEnergyConsumptionRecord(6) {}
  void Assign(const TRecordData& source) override;
  Extended ViewDataAt(int kind) const override;
  void AppendViewDataStrAt(std::string& out, int kind) const override;
  std::string ViewTitleAt(int kind) const override;
  std::string GetHint(const TCategoryInfo& info) const override;
  Extended GetMets() const override;

  int Pedometer = 0;
};

class TFishingRecord : public TRecordData {
 public:
  TFishingRecord() : TRecordData(4) {}
  void Assign(const TRecordData& source) override;
  Extended ViewDataAt(int kind) const override;
  std::string ViewTitleAt(int kind) const override;
  std::string GetHint(const TCategoryInfo& info) const override;

  Extended Dimension = 0;
  Extended WaterTemperature = 0;
};

class TBloodPressureRecord : public TRecordData {
 public:
  TBloodPressureRecord();
  void Assign(const TRecordData& source) override;
  Extended ViewDataAt(int kind) const override;
  std::string ViewTitleAt(int kind) const override;
  std::string GetHint(const TCategoryInfo& info) const override;

  Extended MinBloodPressure = 1;
  Extended Pulse = 1;
};

}  // namespace hakuvo
