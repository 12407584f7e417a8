#include "gui/main/docking_forms.h"

#include "gui/document/docking_form.h"

namespace hakuvo {

TDockingFormFactory MainDockingFormFactory(const TDockingFormContext& context) {
  return [context](const QString& name) -> TDockingForm* {
    const TDockingFormKind* kind = FindDockingFormKind(name);
    if (kind == nullptr) return nullptr;
    return new TDockingForm(name, QString::fromUtf8(kind->Caption));
  };
}

}  // namespace hakuvo
