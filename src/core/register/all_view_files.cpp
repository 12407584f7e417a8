#include "core/register/all_view_files.h"

#include "core/model/link_data.h"

namespace hakuvo {

namespace {

std::string ShownName(const TLinkData& link) {
  if (const auto* file = dynamic_cast<const TFileLink*>(&link)) return file->FileName;
  if (const auto* thing = dynamic_cast<const TThingLink*>(&link)) return thing->PhotoFileName();
  return {};
}

std::string ViewFileNameOf(const TLinkData& link) {
  if (const auto* view = dynamic_cast<const TViewFileLink*>(&link)) return view->ViewFileName;
  if (const auto* thing = dynamic_cast<const TThingLink*>(&link)) return thing->ViewFileName();
  return {};
}

// Every link of every action, in diary order, until `visit` answers false.
template <typename Visit>
bool ForEachLink(const TDayDataList& days, Visit visit) {
  for (const auto& day : days) {
    for (const auto& act : day->ActDataList) {
      for (TLinkData* link : act->LinkDataList) {
        if (!visit(*link)) return false;
      }
    }
  }
  return true;
}

}  // namespace

bool IsViewFileSource(const TLinkData& link) {
  return dynamic_cast<const TImageFileLink*>(&link) != nullptr || dynamic_cast<const TGpsFileLink*>(&link) != nullptr ||
         dynamic_cast<const TThingLink*>(&link) != nullptr;
}

bool HasDeletableViewFile(const TLinkData& link) {
  return dynamic_cast<const TViewFileLink*>(&link) != nullptr || dynamic_cast<const TThingLink*>(&link) != nullptr;
}

std::int64_t CountLinks(const TDayDataList& days, const std::function<bool(const TLinkData&)>& test) {
  std::int64_t count = 0;
  ForEachLink(days, [&](const TLinkData& link) {
    if (test(link)) ++count;
    return true;
  });
  return count;
}

bool MakeAllViewFiles(const TDayDataList& days, const std::function<void(TLinkData&)>& make,
                      TRegisterProgress* progress) {
  if (progress != nullptr) progress->Start(CountLinks(days, IsViewFileSource));
  std::int64_t position = 0;
  return ForEachLink(days, [&](TLinkData& link) {
    if (!IsViewFileSource(link)) return true;
    if (progress != nullptr && !progress->Step(position, ShownName(link))) return false;
    ++position;
    make(link);
    return true;
  });
}

bool DeleteAllViewFiles(const TDayDataList& days, TRegisterProgress* progress) {
  if (progress != nullptr) progress->Start(CountLinks(days, HasDeletableViewFile));
  std::int64_t position = 0;
  return ForEachLink(days, [&](TLinkData& link) {
    if (!HasDeletableViewFile(link)) return true;
    if (progress != nullptr && !progress->Step(position, ViewFileNameOf(link))) return false;
    ++position;
    if (auto* view = dynamic_cast<TViewFileLink*>(&link)) {
      view->DeleteViewFile();
    } else if (auto* thing = dynamic_cast<TThingLink*>(&link)) {
      thing->DeleteViewFile();
    }
    return true;
  });
}

}  // namespace hakuvo
