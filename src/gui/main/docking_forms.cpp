#include "gui/main/docking_forms.h"

#include "gui/document/diary_document.h"
#include "gui/document/docking_form.h"
#include "gui/map/google_map_form.h"

namespace hakuvo {

TDockingFormFactory MainDockingFormFactory(const TDockingFormContext& context) {
  return [context](const QString& name) -> TDockingForm* {
    const TDockingFormKind* kind = FindDockingFormKind(name);
    if (kind == nullptr) return nullptr;
    if (name == QLatin1String("GoogleMapForm") && context.Document != nullptr && context.AppData != nullptr) {
      auto* map = new TGoogleMapForm(*context.AppData, context.Document->CategoryInfoList());
      if (context.Ports != nullptr) context.Ports->Map = map;
      return map;
    }
    return new TDockingForm(name, QString::fromUtf8(kind->Caption));
  };
}

}  // namespace hakuvo
