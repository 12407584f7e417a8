// The link button, the sizes of the link panel, the keyboard's way through the dialogs and the
// alignment of the fixed rows.
#include <QDateEdit>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHeaderView>
#include <QLabel>
#include <QMimeData>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTest>
#include <QUrl>

#include "core/model/act_data.h"
#include "core/model/category_info.h"
#include "core/settings/app_data.h"
#include "gui/record/record_dialog_layout.h"
#include "gui/record/record_dialog_link_list.h"
#include "gui/record/record_dialog_picture.h"
#include "gui/record/record_dialogs.h"
#include "record_dialog_test_util.h"

namespace hakuvo::test {
namespace {

using RecordDialogKeys = RecordDialogTest;

// The name of the field a focus widget belongs to (an editable combo's line edit, a date
// picker's inner edit belong to their field).
QString FieldName(const QWidget* widget) {
  while (widget != nullptr &&
         (widget->objectName().isEmpty() || widget->objectName().startsWith(QStringLiteral("qt_"))))
    widget = widget->parentWidget();
  return widget != nullptr ? widget->objectName() : QString();
}

// Where Tab leads from the first field, up to the last button, each field named once (Tab
// walks through the parts of a date before it leaves the date field).
QString TabOrder(QDialog& dialog, QWidget* first) {
  dialog.activateWindow();
  EXPECT_TRUE(QTest::qWaitForWindowActive(&dialog));
  first->setFocus(Qt::TabFocusReason);
  QStringList order{FieldName(QApplication::focusWidget())};
  for (int step = 0; step < 60; ++step) {
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    const QString name = FieldName(QApplication::focusWidget());
    if (name == order.last()) continue;
    order << name;
    if (name == QStringLiteral("CancelButton") || name == order.first()) break;
  }
  return order.join(QStringLiteral(", "));
}

std::unique_ptr<TWalkingCategoryInfo> WalkingCategory() {
  auto info = std::make_unique<TWalkingCategoryInfo>();
  info->SetCategory(ctWalking);
  info->SetIsWeight(true);
  info->SetIsPedometer(true);
  info->SetIsRecordData(true);
  info->SetIsTime(true);
  info->SetIsWeather(true);
  info->SetIsTemperature(true);
  info->SetIsWindDirection(true);
  info->SetIsWindSpeed(true);
  return info;
}

TEST_F(RecordDialogKeys, TabRunsThroughTheFieldsRowByRowThenTheButtons) {
  const QStringList buttons = {QStringLiteral("LinkListView"), QStringLiteral("CategoryButton"),
                               QStringLiteral("LinkButton"), QStringLiteral("OkButton"),
                               QStringLiteral("CancelButton")};
  {
    auto info = WalkingCategory();
    TDateWalkingRecordDialog dialog;
    dialog.SetCategoryInfo(*info);
    dialog.SetActData(TWalkingAct());
    dialog.SetLinkPanelVisible(true);
    ShowAndSettle(dialog);
    const QStringList fields = {"DateTimePicker",
                                "TitleEdit",
                                "PlaceEdit",
                                "TimeEdit",
                                "EndTimeEdit",
                                "RecordEdit",
                                "PedometerEdit",
                                "WindDirectionCombo",
                                "WindSpeedEdit",
                                "WeatherCombo",
                                "TemperatureEdit",
                                "WeightEdit",
                                "Memo"};
    EXPECT_EQ(TabOrder(dialog, dialog.DateTimePicker()), (fields + buttons).join(QStringLiteral(", ")));
  }
  {
    auto info = FullCategory();
    TRecordDialog dialog;
    dialog.SetCategoryInfo(*info);
    dialog.SetActData(TActData());
    dialog.SetLinkPanelVisible(true);
    ShowAndSettle(dialog);
    const QStringList fields = {"TitleEdit",    "PlaceEdit",       "RecordEdit",         "TaniEdit",      "TimeEdit",
                                "WeatherCombo", "TemperatureEdit", "WindDirectionCombo", "WindSpeedEdit", "Memo"};
    EXPECT_EQ(TabOrder(dialog, dialog.TitleEdit()), (fields + buttons).join(QStringLiteral(", ")));
  }
}

TEST_F(RecordDialogKeys, TabLeavesTheMemoAndCtrlTabTypesATab) {
  auto info = FullCategory();
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  ShowAndSettle(dialog);
  dialog.activateWindow();
  ASSERT_TRUE(QTest::qWaitForWindowActive(&dialog));
  dialog.Memo()->setFocus();
  QTest::keyClicks(dialog.Memo(), QStringLiteral("a"));
  QTest::keyClick(dialog.Memo(), Qt::Key_Tab, Qt::ControlModifier);
  QTest::keyClicks(dialog.Memo(), QStringLiteral("b"));
  EXPECT_EQ(dialog.Memo()->toPlainText(), QStringLiteral("a\tb"));
  EXPECT_EQ(QApplication::focusWidget(), dialog.Memo());
  QTest::keyClick(dialog.Memo(), Qt::Key_Tab);
  EXPECT_EQ(dialog.Memo()->toPlainText(), QStringLiteral("a\tb"));
  EXPECT_NE(QApplication::focusWidget(), dialog.Memo());
}

TEST_F(RecordDialogKeys, TheLinkButtonShowsAndHidesTheLinkPanelAndTheChoiceIsStored) {
  auto info = FullCategory();
  TAppData settings(QCoreApplication::applicationDirPath().toStdString());
  settings.ChildWindowInfo.RecordDialogLinkPanelVisible = false;
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TActData());
  RestoreRecordDialogLayout(dialog, settings);
  ShowAndSettle(dialog);
  QPushButton* button = dialog.LinkButton();
  ASSERT_NE(button, nullptr);
  EXPECT_EQ(button->text(), QStringLiteral("リンク(&K)"));
  EXPECT_TRUE(button->isCheckable());
  EXPECT_FALSE(button->isChecked());
  EXPECT_FALSE(dialog.IsLinkPanelVisible());

  QTest::mouseClick(button, Qt::LeftButton);
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialog.IsLinkPanelVisible());
  EXPECT_TRUE(dialog.LinkList()->isVisible());
  // Shown with usable sizes, and the record panel keeps its room.
  EXPECT_GE(dialog.findChild<QWidget*>(QStringLiteral("LinkPanel"))->width(), TRecordDialog::MinimumLinkPanelWidth);
  EXPECT_GE(dialog.PreviewHeight(), TRecordDialog::MinimumPreviewHeight);
  EXPECT_GE(dialog.RecordPanel()->width(), dialog.RecordPanel()->minimumWidth());
  StoreRecordDialogLayout(dialog, settings);
  EXPECT_TRUE(settings.ChildWindowInfo.RecordDialogLinkPanelVisible);

  // Alt+K reaches it from the keyboard; a second press hides the panel again.
  EXPECT_EQ(QKeySequence::mnemonic(button->text()), QKeySequence(Qt::ALT | Qt::Key_K));
  QTest::mouseClick(button, Qt::LeftButton);
  EXPECT_FALSE(dialog.IsLinkPanelVisible());
  EXPECT_FALSE(button->isChecked());
  StoreRecordDialogLayout(dialog, settings);
  EXPECT_FALSE(settings.ChildWindowInfo.RecordDialogLinkPanelVisible);
  // A hidden panel stores the sizes it will come back with, not its hidden size.
  EXPECT_GE(settings.ChildWindowInfo.RecordDialogLinkPanelWidth, TRecordDialog::MinimumLinkPanelWidth);
  EXPECT_GE(settings.ChildWindowInfo.RecordDialogLinkPreviewPanelHeight, TRecordDialog::MinimumPreviewHeight);
}

TEST_F(RecordDialogKeys, StoredSizesTooSmallToUseGiveTheDefaultSizes) {
  const struct {
    int Width, Height;
    int ExpectedWidth, ExpectedHeight;
  } cases[] = {{2, 0, TRecordDialog::DefaultLinkPanelWidth, TRecordDialog::DefaultPreviewHeight},
               {TRecordDialog::MinimumLinkPanelWidth - 1, TRecordDialog::MinimumPreviewHeight - 1,
                TRecordDialog::DefaultLinkPanelWidth, TRecordDialog::DefaultPreviewHeight},
               {220, 90, 220, 90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Width);
    TAppData settings(QCoreApplication::applicationDirPath().toStdString());
    settings.ChildWindowInfo.RecordDialogLeft = 10;
    settings.ChildWindowInfo.RecordDialogTop = 10;
    settings.ChildWindowInfo.RecordDialogWidth = 700;
    settings.ChildWindowInfo.RecordDialogHeight = 500;
    settings.ChildWindowInfo.RecordDialogLinkPanelVisible = true;
    settings.ChildWindowInfo.RecordDialogLinkPanelWidth = c.Width;
    settings.ChildWindowInfo.RecordDialogLinkPreviewPanelHeight = c.Height;
    auto info = FullCategory();
    TRecordDialog dialog;
    dialog.SetCategoryInfo(*info);
    dialog.SetActData(TActData());
    RestoreRecordDialogLayout(dialog, settings);
    ShowAndSettle(dialog);
    EXPECT_EQ(dialog.LinkPanelWidth(), c.ExpectedWidth);
    EXPECT_EQ(dialog.PreviewHeight(), c.ExpectedHeight);
    // The splitters refuse to shut the panel or the preview.
    EXPECT_GE(dialog.findChild<QWidget*>(QStringLiteral("LinkPanel"))->minimumWidth(),
              TRecordDialog::MinimumLinkPanelWidth);
    EXPECT_GE(dialog.Preview()->parentWidget()->minimumHeight(), TRecordDialog::MinimumPreviewHeight);
  }
}

TEST_F(RecordDialogKeys, ARestoredSizeNeverExceedsTheScreen) {
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (const int size : {30000, 2147483647}) {
    TAppData settings(QCoreApplication::applicationDirPath().toStdString());
    settings.ChildWindowInfo.RecordDialogLeft = screen.left();
    settings.ChildWindowInfo.RecordDialogTop = screen.top();
    settings.ChildWindowInfo.RecordDialogWidth = size;
    settings.ChildWindowInfo.RecordDialogHeight = size;
    auto info = FullCategory();
    TRecordDialog dialog;
    dialog.SetCategoryInfo(*info);
    dialog.SetActData(TActData());
    RestoreRecordDialogLayout(dialog, settings);
    ShowAndSettle(dialog);
    EXPECT_LE(dialog.width(), screen.width()) << size;
    EXPECT_LE(dialog.height(), screen.height()) << size;
    StoreRecordDialogLayout(dialog, settings);
    EXPECT_LE(settings.ChildWindowInfo.RecordDialogWidth, screen.width()) << size;
  }
}

TEST_F(RecordDialogKeys, TheCaptionsOfTheFixedRowsStartWithTheOtherRows) {
  auto info = WalkingCategory();
  TDateWalkingRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetActData(TWalkingAct());
  ShowAndSettle(dialog);
  const int left = dialog.CaptionOf(dialog.RecordEdit())->x();
  EXPECT_EQ(left, dialog.RecordEdit()->x());
  for (QWidget* field :
       std::initializer_list<QWidget*>{dialog.DateTimePicker(), dialog.TitleEdit(), dialog.PlaceEdit()}) {
    const QLabel* caption = dialog.CaptionOf(field);
    ASSERT_NE(caption, nullptr);
    EXPECT_EQ(caption->x(), left) << caption->text().toStdString();
    // The caption stays clear of its field.
    EXPECT_LT(caption->x() + caption->sizeHint().width(), field->x()) << caption->text().toStdString();
  }
}

TEST_F(RecordDialogKeys, FilesDroppedOnTheDialogShowTheLinkPanelWithTheirRows) {
  TTempFolder files;
  TLinkDataOwner diaryFiles;
  auto info = FullCategory();
  TRecordDialog dialog;
  dialog.SetCategoryInfo(*info);
  dialog.SetFileList(diaryFiles);
  dialog.SetActData(TActData());
  dialog.SetLinkPanelVisible(false);
  ShowAndSettle(dialog);
  ASSERT_FALSE(dialog.IsLinkPanelVisible());

  QMimeData mime;
  mime.setUrls({QUrl::fromLocalFile(QString::fromStdString(files.Write("walk.gpx", "<gpx/>")))});
  QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &enter);
  QDropEvent dropped(QPointF(5, 5), Qt::CopyAction, &mime, Qt::LeftButton, Qt::NoModifier);
  QCoreApplication::sendEvent(&dialog, &dropped);
  QCoreApplication::processEvents();
  EXPECT_TRUE(dialog.IsLinkPanelVisible());
  EXPECT_TRUE(dialog.LinkButton()->isChecked());
  ASSERT_EQ(dialog.LinkList()->topLevelItemCount(), 1);
  EXPECT_EQ(dialog.LinkList()->topLevelItem(0)->text(0), QStringLiteral("walk.gpx"));
}

}  // namespace
}  // namespace hakuvo::test
