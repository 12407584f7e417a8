#include <QGuiApplication>
#include <QScreen>
#include <QTest>

#include "core/model/category_info_list.h"
#include "dialog_test_support.h"

namespace hakuvo::testing {
namespace {

TEST(CategorySetDialogPlaceTest, TheDialogStandsInTheMiddleOfTheScreenWhicheverPagesItShows) {
  test::EnsureQtApplication();
  auto infos = TCategoryInfoList::CreateStandard();
  const QRect screen = QGuiApplication::primaryScreen()->availableGeometry();
  for (const int page : {int(TCategorySetDialog::piInput), int(TCategorySetDialog::piDisplay),
                         int(TCategorySetDialog::piDayGraph), int(TCategorySetDialog::piSpeedGraph)}) {
    SCOPED_TRACE(page);
    std::unique_ptr<TCategorySetDialog> dialog = CreateCategorySetDialog(nullptr, ctWalking);
    dialog->SetCategoryInfo(infos->GetCategoryItems(ctWalking));
    dialog->SetActivePage(page);
    dialog->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(dialog.get()));
    QCoreApplication::processEvents();
    // Centred as it finally stands, not with the size it had before its pages were chosen.
    const QRect frame = dialog->frameGeometry();
    EXPECT_LE(std::abs(frame.center().x() - screen.center().x()), 1)
        << frame.x() << "," << frame.y() << " " << frame.width() << "x" << frame.height() << " geo "
        << dialog->geometry().x() << "," << dialog->geometry().y() << " screen " << screen.width() << "x"
        << screen.height() << "+" << screen.x() << "," << screen.y();
    EXPECT_LE(std::abs(frame.center().y() - screen.center().y()), 1);
    dialog->close();
  }
}

}  // namespace
}  // namespace hakuvo::testing
