#include "gui/common/error_box.h"

#include <QMessageBox>
#include <cerrno>
#include <system_error>

namespace hakuvo {

namespace {

struct TSystemReason {
  int Error;
  const char* Japanese;
};

// The reasons a diary, a settings file or a linked file most often fails with.
constexpr TSystemReason kReasons[] = {
    {EROFS, "読み取り専用の場所なので書き込めません。"},
    {EACCES, "この場所へのアクセスが許可されていません。"},
    {EPERM, "この操作は許可されていません。"},
    {ENOENT, "ファイルまたはフォルダが見つかりません。"},
    {ENOTDIR, "パスの途中にフォルダではないものがあります。"},
    {EISDIR, "ファイルではなくフォルダです。"},
    {ENOSPC, "ディスクの空き容量が足りません。"},
    {EDQUOT, "ディスクの使用量の上限を超えています。"},
    {ENAMETOOLONG, "ファイル名が長すぎます。"},
    {EEXIST, "同じ名前のものがすでにあります。"},
    {EBUSY, "ファイルが使用中です。"},
    {EIO, "ディスクの読み書きに失敗しました。"},
    {EMFILE, "開いているファイルが多すぎます。"},
};

}  // namespace

QString ExplainSystemError(const QString& message) {
  for (const TSystemReason& reason : kReasons) {
    // The wording is the C library's, whatever language it was built with.
    const QString text = QString::fromStdString(std::generic_category().message(reason.Error));
    if (!text.isEmpty() && message.contains(text)) {
      return QString::fromUtf8(reason.Japanese) + QLatin1Char('\n') + message;
    }
  }
  return message;
}

void ShowErrorBox(QWidget* parent, const QString& message) {
  QMessageBox::critical(parent, AppTitle(), ExplainSystemError(message));
}

}  // namespace hakuvo
