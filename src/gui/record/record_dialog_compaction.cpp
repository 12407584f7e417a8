// Closing up the record panel over the rows and fields a category hides. Each pass starts from
// the designed positions, so it can run again whenever the category's choices change.

#include <QLabel>
#include <QPlainTextEdit>

#include <algorithm>

#include "gui/record/record_dialog.h"

namespace hakuvo {

namespace {

constexpr int kMinMemoHeight = 60;

}  // namespace

void TRecordDialog::CompactLayout() {
  CompactVertically();
  CompactHorizontally();
  if (FPrepared) EnsureMemoRoom();
}

void TRecordDialog::EnsureMemoRoom() {
  const int needed = FMemo->y() + kMinMemoHeight + MemoBottomMargin;
  FRecordPanel->setMinimumHeight(needed);
  const int shortBy = needed - FRecordPanel->height();
  if (shortBy > 0) resize(width(), height() + shortBy);
}

void TRecordDialog::MoveControlTop(TPanelControl& control, int top, int oldTop) {
  control.Widget->move(control.Widget->x(), top);
  for (TPanelControl* label : LabelsOf(control.Widget)) {
    const auto* caption = qobject_cast<QLabel*>(label->Widget);
    const bool captionAbove = caption != nullptr && caption->buddy() == control.Widget && label->Widget->y() < oldTop;
    label->Widget->move(label->Widget->x(), captionAbove ? top - CaptionAbove : top + 3);
  }
}

void TRecordDialog::MoveControlLeft(TPanelControl& control, int left, int oldLeft) {
  const int oldRight = oldLeft + control.Widget->width();
  control.Widget->move(left, control.Widget->y());
  for (TPanelControl* label : LabelsOf(control.Widget)) {
    const bool rightOfField = label->Widget->x() >= oldRight;
    label->Widget->move(rightOfField ? left + control.Widget->width() + 6 : left, label->Widget->y());
  }
}

void TRecordDialog::CompactVertically() {
  for (TPanelControl& control : FControls) control.Widget->move(control.Widget->x(), control.DesignTop);

  std::vector<TPanelControl*> fields;
  for (TPanelControl& control : FControls) {
    if (control.Field == nullptr) fields.push_back(&control);
  }
  std::stable_sort(fields.begin(), fields.end(),
                   [](const TPanelControl* a, const TPanelControl* b) { return a->Widget->y() < b->Widget->y(); });

  for (TPanelControl* control : fields) {
    if (control->Widget->isHidden() || control->Tag >= 1) continue;
    const int top = control->Widget->y();
    const TPanelControl* above = nullptr;
    for (const TPanelControl* other : fields) {
      if (other == control || other->Widget->isHidden() || other->Widget->y() >= top) continue;
      if (above == nullptr || other->Widget->y() > above->Widget->y()) above = other;
    }
    if (above != nullptr && top - above->Widget->y() > RowPitch) {
      const int newTop = above->Widget->y() + RowPitch;
      // The whole row moves, hidden neighbours included, so that showing one later finds it
      // in its row.
      for (TPanelControl* other : fields) {
        if (other->Widget->y() == top) MoveControlTop(*other, newTop, top);
      }
    }
    if (control->Widget == FMemo) {
      FMemo->resize(FMemo->width(), std::max(20, FRecordPanel->height() - FMemo->y() - MemoBottomMargin));
    }
  }
}

void TRecordDialog::CompactHorizontally() {
  for (TPanelControl& control : FControls) control.Widget->move(control.DesignLeft, control.Widget->y());

  for (TPanelControl& control : FControls) {
    if (control.Field != nullptr || control.Widget->isHidden() || control.Tag >= 1 || control.Widget->x() <= 20) {
      continue;
    }
    // A field slides over at most two hidden columns.
    for (int pass = 0; pass < 2; ++pass) {
      const int left = control.Widget->x();
      const int top = control.Widget->y();
      bool visibleBefore = false;
      TPanelControl* lastHidden = nullptr;
      for (TPanelControl& other : FControls) {
        if (&other == &control || other.Field != nullptr || other.Widget->y() != top || other.Widget->x() >= left) {
          continue;
        }
        if (other.Widget->isHidden()) {
          lastHidden = &other;
        } else {
          visibleBefore = true;
        }
      }
      if (visibleBefore || lastHidden == nullptr) break;
      MoveControlLeft(control, lastHidden->Widget->x(), left);
    }
  }
}

}  // namespace hakuvo
