#pragma once

namespace hakuvo {

class TAppData;
class TRecordDialog;

// Before showing: the dialog's bounds from the settings when they were ever stored (kept on the
// desktop), the link columns when they were stored, and always the link panel's visibility,
// width and preview height.
void RestoreRecordDialogLayout(TRecordDialog& dialog, const TAppData& appData);
// After OK: the same values back into the settings.
void StoreRecordDialogLayout(const TRecordDialog& dialog, TAppData& appData);

}  // namespace hakuvo
