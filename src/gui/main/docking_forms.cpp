#include "gui/main/docking_forms.h"

#include <QPointer>

#include <memory>

#include "core/settings/app_data.h"
#include "gui/document/diary_document.h"
#include "gui/document/docking_form.h"
#include "gui/graph/graph_form.h"
#include "gui/graph/multi_graph_form.h"
#include "gui/graph/speed_form.h"
#include "gui/links/link_form.h"
#include "gui/links/link_preview_form.h"

namespace hakuvo {

TDockingFormFactory MainDockingFormFactory(const TDockingFormContext& context) {
  // The link window feeds its preview directly; whichever of the two is made second meets the
  // other here.
  struct TLinkWindows {
    QPointer<TLinkPreviewForm> Preview;
    QPointer<TLinkForm> Links;
  };
  auto links = std::make_shared<TLinkWindows>();
  return [context, links](const QString& name) -> TDockingForm* {
    const TDockingFormKind* kind = FindDockingFormKind(name);
    if (kind == nullptr) return nullptr;
    if (name == QStringLiteral("SpeedForm")) {
      auto* form = new TSpeedForm(context.Document, context.Ports);
      if (context.Ports != nullptr) context.Ports->SpeedGraph = form;
      return form;
    }
    if (name == QLatin1String("LinkPreviewForm")) {
      auto* preview = new TLinkPreviewForm(context.Document);
      links->Preview = preview;
      if (links->Links) links->Links->SetPreviewForm(preview);
      return preview;
    }
    if (name == QLatin1String("LinkForm")) {
      auto* form = new TLinkForm(context.Document);
      links->Links = form;
      form->SetPreviewForm(links->Preview);
      form->SetPorts(context.Ports);
      if (context.AppData != nullptr) {
        form->SetLinkViewInfo(&context.AppData->ChildWindowInfo.LinkViewInfo);
        form->SetWindowInfo(&context.AppData->ChildWindowInfo);
      }
      return form;
    }
    // The day, month, year, two-data and action graphs.
    if (context.Document != nullptr) {
      TDiaryDocument& document = *context.Document;
      if (name == QLatin1String("GraphForm")) return new TGraphForm(document, context.AppData);
      if (name == QLatin1String("MonthGraphForm")) return new TMonthGraphForm(document, context.AppData);
      if (name == QLatin1String("YearGraphForm")) return new TYearGraphForm(document, context.AppData);
      if (name == QLatin1String("MultiGraphForm")) return new TMultiGraphForm(document, context.AppData);
      if (name == QLatin1String("ActMultiGraphForm")) return new TActMultiGraphForm(document, context.AppData);
    }
    if (name == QLatin1String("GoogleMapForm") && context.Document != nullptr && context.AppData != nullptr) {
      auto* map = new TMapDock(*context.AppData, context.Document->CategoryInfoList(), context.CreateMapWindow);
      if (context.ShowError) map->SetErrorHandler(context.ShowError);
      if (context.Ports != nullptr) context.Ports->Map = map;
      return map;
    }
    return new TDockingForm(name, QString::fromUtf8(kind->Caption));
  };
}

}  // namespace hakuvo
