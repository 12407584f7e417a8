#include "gui/document/docking_form.h"

namespace hakuvo {

TDockingForm::TDockingForm(const QString& name, const QString& caption, QWidget* parent) : QWidget(parent) {
  setObjectName(name);
  setWindowTitle(caption);
}

const std::array<TDockingFormKind, DockingFormCount>& DockingFormKinds() {
  static const std::array<TDockingFormKind, DockingFormCount> kinds{{
      {"GraphForm", "日グラフ", "日グラフ(&D)", false},
      {"MonthGraphForm", "月グラフ", "月グラフ(&M)", false},
      {"YearGraphForm", "年グラフ", "年グラフ(&Y)", false},
      {"MultiGraphForm", "グラフ（2データ）", "グラフ（2データ）(&T)", true},
      {"LinkForm", "リンク", "リンク(&F)", true},
      {"LinkPreviewForm", "リンクプレビュー", "リンクプレビュー(&P)", true},
      {"GoogleMapForm", "地図", "地図(&G)", true},
      {"SpeedForm", "速度グラフ", "速度グラフ(&S)", true},
      {"ActMultiGraphForm", "グラフ", "グラフ(&A)", false},
  }};
  return kinds;
}

const std::array<const char*, DockingFormCount>& DockingFormCreationOrder() {
  static const std::array<const char*, DockingFormCount> order{"GraphForm",      "MonthGraphForm",    "YearGraphForm",
                                                               "MultiGraphForm", "ActMultiGraphForm", "LinkPreviewForm",
                                                               "GoogleMapForm",  "SpeedForm",         "LinkForm"};
  return order;
}

const TDockingFormKind* FindDockingFormKind(const QString& name) {
  for (const TDockingFormKind& kind : DockingFormKinds()) {
    if (name == QString::fromUtf8(kind.Name)) return &kind;
  }
  return nullptr;
}

}  // namespace hakuvo
