#include "gui/main/main_form_hooks.h"

#include <QDialog>
#include <QFileDialog>
#include <QPushButton>
#include <QStringList>

#include "gui/common/error_box.h"
#include "gui/main/map_library.h"
#include "gui/record/record_dialogs.h"

namespace hakuvo {

namespace {

QString RunFileDialog(QWidget* parent, const TFileDialogRequest& request, QFileDialog::AcceptMode mode) {
  QFileDialog dialog(parent, request.Caption, request.Directory, request.Filter);
  dialog.setAcceptMode(mode);
  dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
  dialog.setDefaultSuffix(request.DefaultSuffix);
  if (!request.FileName.isEmpty()) dialog.selectFile(request.FileName);
  if (dialog.exec() != QDialog::Accepted) return {};
  const QStringList chosen = dialog.selectedFiles();
  return chosen.isEmpty() ? QString() : chosen.first();
}

}  // namespace

TMainFormHooks DefaultMainFormHooks() {
  TMainFormHooks hooks;
  hooks.Error = [](QWidget* parent, const QString& message) { ShowErrorBox(parent, message); };
  hooks.Question = [](QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons) {
    return QMessageBox::question(parent, AppTitle(), text, buttons);
  };
  hooks.DiskChange = [](QWidget* parent, const QString& text) {
    QMessageBox box(QMessageBox::Warning, AppTitle(), text, QMessageBox::NoButton, parent);
    QPushButton* reload = box.addButton(QStringLiteral("読み込み直す(&R)"), QMessageBox::DestructiveRole);
    QPushButton* overwrite = box.addButton(QStringLiteral("上書き保存(&O)"), QMessageBox::AcceptRole);
    QPushButton* cancel = box.addButton(QStringLiteral("キャンセル"), QMessageBox::RejectRole);
    box.setDefaultButton(cancel);
    box.setEscapeButton(cancel);
    box.exec();
    if (box.clickedButton() == reload) return dcReload;
    if (box.clickedButton() == overwrite) return dcOverwrite;
    return dcCancel;
  };
  hooks.OpenFileName = [](QWidget* parent, const TFileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptOpen);
  };
  hooks.SaveFileName = [](QWidget* parent, const TFileDialogRequest& request) {
    return RunFileDialog(parent, request, QFileDialog::AcceptSave);
  };
  hooks.OpenFileNames = [](QWidget* parent, const TFileDialogRequest& request) {
    QFileDialog dialog(parent, request.Caption, request.Directory, request.Filter);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::ExistingFiles);
    return dialog.exec() == QDialog::Accepted ? dialog.selectedFiles() : QStringList();
  };
  hooks.RunDialog = [](QDialog& dialog) { return dialog.exec(); };
  hooks.CreateRecordDialog = [](QWidget* owner, TCategoryType category) { return CreateRecordDialog(owner, category); };
  hooks.CreateMapWindow = CreateMapWindowFromModule;
  return hooks;
}

QString ToQtFileFilter(const QString& filter) {
  const QStringList parts = filter.split(QLatin1Char('|'));
  QStringList filters;
  for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
    const QString& description = parts[i];
    const QString patterns = QString(parts[i + 1]).replace(QLatin1Char(';'), QLatin1Char(' '));
    // The toolkit reads the patterns from the parentheses at the end of the description.
    if (description.endsWith(QLatin1Char('(') + patterns + QLatin1Char(')'))) {
      filters << description;
    } else {
      filters << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
  }
  return filters.join(QStringLiteral(";;"));
}

}  // namespace hakuvo
