#pragma once

class QDialog;
class QDialogButtonBox;

namespace hakuvo {

// The "OK" (default) and "キャンセル" pair every modal dialog ends with, wired to accept and
// reject; the buttons are named "OKBtn" and "CancelBtn" for tests and for dialogs that hide one.
QDialogButtonBox* OkCancelButtons(QDialog* dialog);

}  // namespace hakuvo
