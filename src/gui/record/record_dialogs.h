#pragma once

#include <memory>

#include "core/model/category_type.h"
#include "gui/record/other_record_dialogs.h"
#include "gui/record/record_dialog.h"
#include "gui/record/time_record_dialogs.h"

class QWidget;

namespace hakuvo {

// The record dialog of a category: the date dialogs for the program's modes (jogging and
// cycling share one, walking has its own), a dialog per record kind for the others, and the
// user category dialog for any other value.
std::unique_ptr<TRecordDialog> CreateRecordDialog(QWidget* owner, TCategoryType category);

}  // namespace hakuvo
