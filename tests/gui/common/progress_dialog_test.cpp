#include "gui/common/progress_dialog.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QProgressBar>
#include <QPushButton>

#include "support/qt_application.h"

namespace hakuvo::test {
namespace {

TEST(ProgressDialog, AFixedWindowThatCountsInWholePercent) {
  EnsureQtApplication();
  TProgressDialog dialog;
  EXPECT_EQ(dialog.windowTitle(), QStringLiteral("進行状況"));
  EXPECT_EQ(dialog.size(), QSize(416, 118));
  EXPECT_EQ(dialog.minimumSize(), dialog.maximumSize());
  EXPECT_EQ(dialog.ProgressLabel()->text(), QStringLiteral("解析中..."));
  EXPECT_EQ(dialog.StopBtn()->text(), QStringLiteral("中止"));
  EXPECT_EQ(dialog.ProgressBar()->maximum(), 100);

  // Nothing to count leaves the bar at 0.
  dialog.SetPosition(5);
  EXPECT_EQ(dialog.ProgressBar()->value(), 0);
  dialog.SetMax(3);
  dialog.SetPosition(2);
  EXPECT_EQ(dialog.ProgressBar()->value(), 66);
  // Counts far beyond an int still give the right share.
  dialog.SetMax(std::int64_t{1} << 40);
  dialog.SetPosition(std::int64_t{1} << 39);
  EXPECT_EQ(dialog.ProgressBar()->value(), 50);
}

TEST(ProgressDialog, ALongNameIsShortenedInTheMiddle) {
  EnsureQtApplication();
  TProgressDialog dialog;
  const QString name = QStringLiteral("/home/user/") + QString(300, QLatin1Char('x')) + QStringLiteral("/IMG_0001.JPG");
  dialog.SetFileName(name);
  EXPECT_EQ(dialog.FileName(), name);
  const QString shown = dialog.ProgressLabel()->text();
  EXPECT_LT(shown.size(), name.size());
  EXPECT_TRUE(shown.startsWith(QStringLiteral("/home/user/"))) << shown.toStdString();
  EXPECT_TRUE(shown.endsWith(QStringLiteral("IMG_0001.JPG"))) << shown.toStdString();
  EXPECT_TRUE(shown.contains(QChar(0x2026)));
  EXPECT_LE(dialog.ProgressLabel()->fontMetrics().horizontalAdvance(shown), TProgressDialog::LabelWidth);
}

TEST(ProgressDialog, StopIsSeenAtTheNextStep) {
  EnsureQtApplication();
  TProgressDialog dialog;
  int processed = 0;
  dialog.ProcessEvents = [&] {
    if (++processed == 2) dialog.StopBtn()->click();
  };
  dialog.Start(4);
  EXPECT_TRUE(dialog.Step(0, "a"));
  EXPECT_FALSE(dialog.Step(1, "b"));
  EXPECT_TRUE(dialog.IsStop());
  EXPECT_EQ(dialog.Position(), 1);
  EXPECT_EQ(dialog.FileName(), QStringLiteral("b"));
}

}  // namespace
}  // namespace hakuvo::test
