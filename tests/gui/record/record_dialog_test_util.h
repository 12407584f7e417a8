#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QLabel>
#include <QLineEdit>
#include <QStringList>

#include <cstdlib>
#include <memory>
#include <string>

#include "core/model/category_info.h"
#include "gui/record/record_dialog.h"
#include "support/qt_application.h"
#include "support/temp_folder.h"

namespace hakuvo::test {

// One application for the whole program, made when the first test needs it and left to the
// end of the process.
inline void EnsureApplication() { EnsureQtApplication(); }

class RecordDialogTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { EnsureApplication(); }

  // Shows the dialog without a modal loop and lets the layout settle.
  static void ShowAndSettle(QWidget& dialog) {
    dialog.show();
    for (int i = 0; i < 3; ++i) QCoreApplication::processEvents();
  }

  // Collects the messages of the dialog's error boxes instead of showing them.
  void CollectErrors(TRecordDialog& dialog) {
    dialog.SetErrorHandler([this](const QString& message) { Errors << message; });
  }

  QStringList Errors;
};

// A category with every optional field switched off, the main value included.
inline std::unique_ptr<TCategoryInfo> BareCategory() {
  auto info = std::make_unique<TCategoryInfo>();
  info->SetCategory(ctSightseeing);
  info->SetIsRecordData(false);
  info->SetIsTime(false);
  info->SetIsWeather(false);
  info->SetIsTemperature(false);
  info->SetIsWindDirection(false);
  info->SetIsWindSpeed(false);
  return info;
}

inline std::unique_ptr<TCategoryInfo> FullCategory() {
  auto info = BareCategory();
  info->SetIsRecordData(true);
  info->SetIsTime(true);
  info->SetIsWeather(true);
  info->SetIsTemperature(true);
  info->SetIsWindDirection(true);
  info->SetIsWindSpeed(true);
  return info;
}

inline std::string RealData(const std::string& relative) { return std::string(HAKUVO_TESTDATA_DIR) + "/" + relative; }

}  // namespace hakuvo::test
