#pragma once

#include <QMessageBox>
#include <QString>
#include <functional>
#include <memory>

#include "core/model/category_type.h"
#include "gui/document/window_ports.h"

class QDialog;
class QWidget;

namespace hakuvo {

class TRecordDialog;

// What a file dialog of the main window is asked for.
struct TFileDialogRequest {
  QString Caption;
  QString Directory;      // where it starts; empty for the toolkit's choice
  QString FileName;       // proposed name (save dialogs)
  QString Filter;         // in the toolkit's form, "跳記 (*.hkvj)"
  QString DefaultSuffix;  // added to a name typed without one
};

// What the user chose when the diary's file was written by another program since it was read.
enum TDiskChangeAnswer { dcReload, dcOverwrite, dcCancel };

// Everything by which the main window talks to the user in a modal way, and the record dialog
// factory it uses. The defaults show the real boxes and dialogs; tests put in answers instead.
struct TMainFormHooks {
  // An error box titled with the program's name.
  std::function<void(QWidget* parent, const QString& message)> Error;
  // A question box titled with the program's name; returns the button chosen.
  std::function<QMessageBox::StandardButton(QWidget* parent, const QString& text, QMessageBox::StandardButtons buttons)>
      Question;
  // Asked before a save when another program wrote the diary's file since it was read: read it
  // again (the window's unsaved changes go), write over it, or do nothing.
  std::function<TDiskChangeAnswer(QWidget* parent, const QString& text)> DiskChange;
  // The open and save-as dialogs; an empty result means cancelled. The save-as dialog asks
  // before replacing an existing file.
  std::function<QString(QWidget* parent, const TFileDialogRequest& request)> OpenFileName;
  std::function<QString(QWidget* parent, const TFileDialogRequest& request)> SaveFileName;
  // A dialog that chooses several existing files; empty when cancelled.
  std::function<QStringList(QWidget* parent, const TFileDialogRequest& request)> OpenFileNames;
  // Runs a prepared modal dialog (record, category, about) and returns its result code.
  std::function<int(QDialog& dialog)> RunDialog;
  // The record dialog of a category.
  std::function<std::unique_ptr<TRecordDialog>(QWidget* owner, TCategoryType category)> CreateRecordDialog;
  // Makes the map window inside `parent` the first time the map is needed: from the map module
  // unless set, so that a test of the main window runs without the web engine.
  std::function<TMapWindow(TAppData&, TCategoryInfoList&, QWidget* parent)> CreateMapWindow;
};

TMainFormHooks DefaultMainFormHooks();

// "跳記(*.hkvj)|*.hkvj" (description and pattern pairs separated by "|") in the toolkit's form,
// filters separated by ";;".
QString ToQtFileFilter(const QString& filter);

}  // namespace hakuvo
