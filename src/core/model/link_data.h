#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace hakuvo {

enum TLinkType : std::uint8_t { ltElse = 0, ltFile, ltThing, ltPerson };

// Root of the link family: files, things and persons an action refers to.
class TLinkData {
 public:
  virtual ~TLinkData() = default;
  virtual std::string Title() const { return {}; }
  virtual std::string Note() const { return {}; }
  virtual TLinkType LinkType() const { return ltElse; }
  virtual std::string FindData() const { return {}; }
  virtual void Assign(const TLinkData& /*source*/) {}
};

// A list of links that refers to them only: the diary's file, thing and person lists own them.
class TLinkDataList {
 public:
  int Count() const { return static_cast<int>(FItems.size()); }
  TLinkData* Items(int index) const { return FItems.at(static_cast<std::size_t>(index)); }
  TLinkData* operator[](int index) const { return Items(index); }
  void SetItems(int index, TLinkData* item) { FItems.at(static_cast<std::size_t>(index)) = item; }
  void Add(TLinkData* item) { FItems.push_back(item); }
  int IndexOf(const TLinkData* item) const {
    for (std::size_t i = 0; i < FItems.size(); ++i) {
      if (FItems[i] == item) return static_cast<int>(i);
    }
    return -1;
  }
  void Insert(int index, TLinkData* item) { FItems.insert(FItems.begin() + index, item); }
  void Remove(const TLinkData* item) {
    const int index = IndexOf(item);
    if (index >= 0) FItems.erase(FItems.begin() + index);
  }
  void Clear() { FItems.clear(); }
  // Refers to the source's links, in its order (the links are not copied).
  void CopyList(const TLinkDataList& source) { FItems = source.FItems; }
  const std::vector<TLinkData*>& Data() const { return FItems; }

 private:
  std::vector<TLinkData*> FItems;
};

}  // namespace hakuvo
