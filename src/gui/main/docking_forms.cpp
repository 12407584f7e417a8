#include "gui/main/docking_forms.h"

#include "gui/document/docking_form.h"
#include "gui/graph/speed_form.h"

namespace hakuvo {

TDockingFormFactory MainDockingFormFactory(const TDockingFormContext& context) {
  return [context](const QString& name) -> TDockingForm* {
    const TDockingFormKind* kind = FindDockingFormKind(name);
    if (kind == nullptr) return nullptr;
    if (name == QStringLiteral("SpeedForm")) {
      auto* form = new TSpeedForm(context.Document, context.Ports);
      if (context.Ports != nullptr) context.Ports->SpeedGraph = form;
      return form;
    }
    return new TDockingForm(name, QString::fromUtf8(kind->Caption));
  };
}

}  // namespace hakuvo
