#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "core/common/date_time.h"
#include "core/common/extended.h"
#include "core/common/text_util.h"

namespace hakuvo {

enum TLinkType : std::uint8_t { ltElse = 0, ltFile, ltThing, ltPerson };

// The GUID code a link was stored with. A link made with one takes it instead of drawing a new
// code: a diary's load makes links by the thousand, and a drawn code would only be overwritten.
struct TStoredGuidCode {
  std::string Code;
};

// Root of the link family: files, things and persons an action refers to.
class TLinkData {
 public:
  TLinkData() = default;
  virtual ~TLinkData() = default;
  TLinkData(const TLinkData&) = delete;
  TLinkData& operator=(const TLinkData&) = delete;

  virtual std::string Title() const { return {}; }
  virtual std::string Note() const { return {}; }
  virtual TLinkType LinkType() const { return ltElse; }
  virtual std::string FindData() const { return {}; }
  virtual void Assign(const TLinkData& source);
};

// A link with a GUID code, which the data file uses to refer to it from actions.
class TGuidLink : public TLinkData {
 public:
  TGuidLink();
  explicit TGuidLink(TStoredGuidCode code) : FGuidCode(std::move(code.Code)) {}
  std::string FindData() const override { return FGuidCode; }
  void Assign(const TLinkData& source) override;

  const std::string& GuidCode() const { return FGuidCode; }
  void SetGuidCode(const std::string& value) { FGuidCode = value; }

 private:
  std::string FGuidCode;
};

class TFileLink : public TGuidLink {
 public:
  TFileLink() = default;
  explicit TFileLink(TStoredGuidCode code) : TGuidLink(std::move(code)) {}
  std::string Title() const override { return Name(); }
  std::string Note() const override { return Path(); }
  TLinkType LinkType() const override { return ltFile; }
  void Assign(const TLinkData& source) override;

  // The file name without its folder, and the folder without a trailing separator. Paths
  // written on other systems may use "\" as well as "/".
  std::string Name() const;
  std::string Path() const;

  std::string FileName;
  TDateTime TempDate = 0;  // scratch of the registration commands; never copied or stored
};

// A file link with a derived file in the thumbnail folder (a thumbnail or a reduced track).
class TViewFileLink : public TFileLink {
 public:
  TViewFileLink() = default;
  explicit TViewFileLink(TStoredGuidCode code) : TFileLink(std::move(code)) {}
  void Assign(const TLinkData& source) override;
  // Deletes the view file if there is one (errors ignored) and forgets its name.
  void DeleteViewFile();

  std::string ViewFileName;
};

class TImageFileLink : public TViewFileLink {
 public:
  TImageFileLink() = default;
  explicit TImageFileLink(TStoredGuidCode code) : TViewFileLink(std::move(code)) {}
  void Assign(const TLinkData& source) override;
  int RotateAngle = 0;  // 0, 90, 180 or 270
};

class TGpsFileLink : public TViewFileLink {
 public:
  TGpsFileLink() = default;
  explicit TGpsFileLink(TStoredGuidCode code) : TViewFileLink(std::move(code)) {}
  void Assign(const TLinkData& source) override;
  double StartPos = 0;  // the part of the track shown by the map and the speed graph
  double EndPos = 0;
};

class TThingLink : public TGuidLink {
 public:
  TThingLink() = default;
  explicit TThingLink(TStoredGuidCode code) : TGuidLink(std::move(code)) {}
  std::string Title() const override { return FName; }
  TLinkType LinkType() const override { return ltThing; }
  void Assign(const TLinkData& source) override;
  void DeleteViewFile();

  const std::string& PhotoFileName() const { return FPhotoFileName; }
  void SetPhotoFileName(const std::string& value) { FPhotoFileName = value; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& value) { FName = value; }
  TStringList& Memo() { return FMemo; }
  const TStringList& Memo() const { return FMemo; }
  const std::string& Category() const { return FCategory; }
  void SetCategory(const std::string& value) { FCategory = value; }
  int PhotoRotate() const { return FPhotoRotate; }
  void SetPhotoRotate(int value) { FPhotoRotate = value; }
  const std::string& ViewFileName() const { return FViewFileName; }
  void SetViewFileName(const std::string& value) { FViewFileName = value; }

 private:
  std::string FPhotoFileName;
  std::string FName;
  TStringList FMemo;
  std::string FCategory;
  int FPhotoRotate = 0;
  std::string FViewFileName;
};

#define HAKUVO_PERSON_TEXT(Name)                                \
 public:                                                        \
  const std::string& Name() const { return F##Name; }           \
  void Set##Name(const std::string& value) { F##Name = value; } \
                                                                \
 private:                                                       \
  std::string F##Name;

#define HAKUVO_PERSON_NUMBER(Name)                    \
 public:                                              \
  Extended Name() const { return F##Name; }           \
  void Set##Name(Extended value) { F##Name = value; } \
                                                      \
 private:                                             \
  Extended F##Name = 0;

class TPersonLink : public TThingLink {
 public:
  TPersonLink() = default;
  explicit TPersonLink(TStoredGuidCode code) : TThingLink(std::move(code)) {}
  std::string Title() const override { return FLastName + FFirstName; }
  TLinkType LinkType() const override { return ltPerson; }
  void Assign(const TLinkData& source) override;

  HAKUVO_PERSON_TEXT(CellPhoneNumber)
  HAKUVO_PERSON_TEXT(CompanyPostCode)
  HAKUVO_PERSON_TEXT(CompanyAddress)
  HAKUVO_PERSON_TEXT(LastName)
  HAKUVO_PERSON_TEXT(Fax)
  HAKUVO_PERSON_TEXT(MailAddress2)
  HAKUVO_PERSON_TEXT(CompanyName)
  HAKUVO_PERSON_TEXT(CompanyCellPhoneNumber)
  HAKUVO_PERSON_TEXT(CompanyFax)
  HAKUVO_PERSON_TEXT(CompanyDepartment)
  HAKUVO_PERSON_TEXT(Tel)
  HAKUVO_PERSON_TEXT(MailAddress)
  HAKUVO_PERSON_TEXT(PostCode)
  HAKUVO_PERSON_TEXT(Address)
  HAKUVO_PERSON_TEXT(CompanyTel)
  HAKUVO_PERSON_TEXT(CompanyMailAddress)
  HAKUVO_PERSON_TEXT(FirstName)
  HAKUVO_PERSON_NUMBER(Latitude)
  HAKUVO_PERSON_NUMBER(Longitude)
  HAKUVO_PERSON_NUMBER(CompanyLatitude)
  HAKUVO_PERSON_NUMBER(CompanyLongitude)
};

#undef HAKUVO_PERSON_TEXT
#undef HAKUVO_PERSON_NUMBER

// A list of links. It never frees its entries: the diary's file, thing and person lists keep
// theirs in a TLinkDataOwner beside it, and action lists only refer.
class TLinkDataList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TLinkData* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)); }
  TLinkData* operator[](int index) const { return Items(index); }
  void SetItems(int index, TLinkData* item) { FItems.at(static_cast<std::size_t>(index)) = item; }
  void Add(TLinkData* item) { FItems.push_back(item); }
  int IndexOf(const TLinkData* item) const;
  void Insert(int index, TLinkData* item);
  void Remove(const TLinkData* item);
  void Clear() { FItems.clear(); }
  // Refers to the source's links, in its order (the links are not copied).
  void CopyList(const TLinkDataList& source) { FItems = source.FItems; }
  // File links in ascending TempDate; every other entry keeps its place.
  void DateSort();
  // JPEG image links with a shooting time in ascending shooting time; every other entry, and
  // photographs whose time cannot be read, keep their places.
  void JpegDateTimeSort();

  // A sorted index of FindData (the GUID codes), compared without regard to letter case.
  // Valid only until the list changes.
  void SetFindList();
  void ClearFindList() { FFindList.clear(); }
  TLinkData* FindLinkData(const std::string& text) const;

  const std::vector<TLinkData*>& Data() const { return FItems; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<TLinkData*> FItems;
  std::vector<std::pair<std::string, TLinkData*>> FFindList;
};

// One of the diary's three lists that own their links (files, things, persons): the links and,
// in the same order, the TLinkDataList view of them that the rest of the program reads. The view
// is read-only: every change goes through the owner, so that the view never holds a link the
// owner does not own, nor misses one it owns.
class TLinkDataOwner {
 public:
  TLinkDataOwner() = default;
  TLinkDataOwner(const TLinkDataOwner&) = delete;
  TLinkDataOwner& operator=(const TLinkDataOwner&) = delete;

  const TLinkDataList& List() const { return FList; }
  int Count() const { return FList.Count(); }
  TLinkData* Items(int index) const { return FList.Items(index); }
  TLinkData* Add(std::unique_ptr<TLinkData> link);
  // Takes the link out of the list and hands it to the caller (who frees it by dropping it).
  std::unique_ptr<TLinkData> Remove(const TLinkData* link);
  // Puts the links in the given order, which must name every owned link exactly once; otherwise
  // answers false and changes nothing.
  bool Reorder(const std::vector<TLinkData*>& order);
  // The view's index of GUID codes (TLinkDataList::SetFindList).
  void SetFindList() { FList.SetFindList(); }
  void ClearFindList() { FList.ClearFindList(); }
  void Clear();
  // Exchanges the contents with another owner (a fresh list read from a file, say).
  void Swap(TLinkDataOwner& other) noexcept;

 private:
  TLinkDataList FList;
  std::vector<std::unique_ptr<TLinkData>> FOwned;
};

// A new link for a file: an image link (JPEG rotation from its orientation tag), a track link,
// or a plain file link; with a fresh GUID code.
std::unique_ptr<TFileLink> CreateFileLink(const std::string& fileName);
// The same with the picture's turn already known (a caller that read the Exif block anyway).
std::unique_ptr<TFileLink> CreateFileLink(const std::string& fileName, int rotateAngle);

}  // namespace hakuvo
