#pragma once

#include <string>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"

namespace hakuvo {

class TCategoryInfo;

// The numeric values of one action. Index 0 of every record is the count, index 1 the main
// value; `IndicationKind` chooses the index the View* properties present.
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

  virtual Extended ViewData() const;
  virtual std::string ViewDataStr() const;
  std::string ViewTani() const;
  virtual std::string ViewTitle() const;
  // The record lines of an action's hint, each ending with CR LF.
  virtual std::string GetHint(const TCategoryInfo& info) const;

  std::string TimeStr() const { return TimeToStrHM(StartTime); }

  // Aggregation and hints switch it for a moment on records they only read.
  mutable int IndicationKind = 1;
  std::vector<std::string> Tani;  // unit per record index
  TDateTime StartTime = 0;

 protected:
  explicit TRecordData(int recordNumber);
  // "title： value unit" for the current IndicationKind.
  std::string ValueLine() const;
  // The value line of another index; IndicationKind is back as it was afterwards.
  std::string ValueLineAt(int index) const;

 private:
  Extended FData = 1.0;
  int FRecordNumber = 2;
};

// Keeps a record's IndicationKind for the life of the guard and puts it back on every exit,
// exceptions included.
class TIndicationKindGuard {
 public:
  explicit TIndicationKindGuard(const TRecordData& record) : FRecord(record), FSaved(record.IndicationKind) {}
  ~TIndicationKindGuard() { FRecord.IndicationKind = FSaved; }
  TIndicationKindGuard(const TIndicationKindGuard&) = delete;
  TIndicationKindGuard& operator=(const TIndicationKindGuard&) = delete;
  void Set(int kind) { FRecord.IndicationKind = kind; }

 private:
  const TRecordData& FRecord;
  int FSaved;
};

class TTimeRecord : public TRecordData {
 public:
  TTimeRecord() : TTimeRecord(3) {}
  void Assign(const TRecordData& source) override;
  Extended ViewData() const override;
  std::string ViewDataStr() const override;
  std::string ViewTitle() const override;
  std::string GetHint(const TCategoryInfo& info) const override;

  std::string EndTimeStr() const { return TimeToStrHM(EndTime); }
  // The duration in hours, rounded to the millisecond so that times entered by the minute give
  // exact speeds (7:00 to 8:00 at 8 km is 8 km/h, not 8.0000000000000004).
  Extended Hours() const;
  // Distance per hour; 0 when the action has no duration.
  Extended Speed() const;
  bool HasDuration() const { return Hours() != 0; }

  TDateTime EndTime = 1.0 / 24.0;

 protected:
  explicit TTimeRecord(int recordNumber) : TRecordData(recordNumber) {}
};

class TEnergyConsumptionRecord : public TTimeRecord {
 public:
  TEnergyConsumptionRecord() : TEnergyConsumptionRecord(5) {}
  void Assign(const TRecordData& source) override;
  Extended ViewData() const override;
  std::string ViewDataStr() const override;
  std::string ViewTitle() const override;

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
  Extended ViewData() const override;
  std::string ViewDataStr() const override;
  std::string ViewTitle() const override;
  std::string GetHint(const TCategoryInfo& info) const override;
  Extended GetMets() const override;

  int Pedometer = 0;
};

class TFishingRecord : public TRecordData {
 public:
  TFishingRecord() : TRecordData(4) {}
  void Assign(const TRecordData& source) override;
  Extended ViewData() const override;
  std::string ViewTitle() const override;
  std::string GetHint(const TCategoryInfo& info) const override;

  Extended Dimension = 0;
  Extended WaterTemperature = 0;
};

class TBloodPressureRecord : public TRecordData {
 public:
  TBloodPressureRecord();
  void Assign(const TRecordData& source) override;
  Extended ViewData() const override;
  std::string ViewTitle() const override;
  std::string GetHint(const TCategoryInfo& info) const override;

  Extended MinBloodPressure = 1;
  Extended Pulse = 1;
};

}  // namespace hakuvo
