#include "gui/main/docking_forms.h"

#include "gui/document/docking_form.h"
#include "gui/graph/graph_form.h"
#include "gui/graph/multi_graph_form.h"

namespace hakuvo {

TDockingFormFactory MainDockingFormFactory(const TDockingFormContext& context) {
  return [context](const QString& name) -> TDockingForm* {
    const TDockingFormKind* kind = FindDockingFormKind(name);
    if (kind == nullptr) return nullptr;
    // The day, month, year, two-data and action graphs.
    if (context.Document != nullptr) {
      TDiaryDocument& document = *context.Document;
      if (name == QLatin1String("GraphForm")) return new TGraphForm(document, context.AppData);
      if (name == QLatin1String("MonthGraphForm")) return new TMonthGraphForm(document, context.AppData);
      if (name == QLatin1String("YearGraphForm")) return new TYearGraphForm(document, context.AppData);
      if (name == QLatin1String("MultiGraphForm")) return new TMultiGraphForm(document, context.AppData);
      if (name == QLatin1String("ActMultiGraphForm")) return new TActMultiGraphForm(document, context.AppData);
    }
    return new TDockingForm(name, QString::fromUtf8(kind->Caption));
  };
}

}  // namespace hakuvo
