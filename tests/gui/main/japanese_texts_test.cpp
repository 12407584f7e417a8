// The toolkit's own texts in Japanese, and the system's reasons explained in Japanese.
#include <QApplication>
#include <QFile>
#include <QLibraryInfo>
#include <QMessageBox>
#include <QPushButton>
#include <QTranslator>
#include <cerrno>
#include <memory>
#include <system_error>

#include "gui/common/error_box.h"
#include "gui/main/qt_translation.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

QString Reason(int error) { return QString::fromStdString(std::generic_category().message(error)); }

TEST(JapaneseTextsTest, SystemReasonsGetAJapaneseSentenceFirst) {
  const struct {
    QString Message;
    QString FirstLine;
  } cases[] = {
      {QStringLiteral("ファイルを保存できませんでした: /media/cd/a.hkvj (") + Reason(EROFS) + QStringLiteral(")"),
       QStringLiteral("読み取り専用の場所なので書き込めません。")},
      {QStringLiteral("データファイル \"/x/y.hkvj\" を読み込めませんでした: ") + Reason(ENOENT),
       QStringLiteral("ファイルまたはフォルダが見つかりません。")},
      {QStringLiteral("設定ファイルを書き込めません (") + Reason(EACCES) + QStringLiteral(")"),
       QStringLiteral("この場所へのアクセスが許可されていません。")},
      {QStringLiteral("(") + Reason(ENOSPC) + QStringLiteral(")"), QStringLiteral("ディスクの空き容量が足りません。")},
  };
  for (const auto& c : cases) {
    const QString explained = ExplainSystemError(c.Message);
    EXPECT_EQ(explained.section(QLatin1Char('\n'), 0, 0), c.FirstLine) << c.Message.toStdString();
    // The system's own words stay, for looking them up.
    EXPECT_TRUE(explained.endsWith(c.Message)) << explained.toStdString();
  }
  // A message of the program's own is left as it is.
  const QString own = QStringLiteral("[ 坂 ]は見つかりませんでした");
  EXPECT_EQ(ExplainSystemError(own), own);
}

TEST(JapaneseTextsTest, TheToolkitsButtonsSpeakJapaneseOnceTheTranslationIsInstalled) {
  EnsureApplication();
  auto* application = QCoreApplication::instance();
  const QString translations = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
  if (!QFile::exists(translations + QStringLiteral("/qtbase_ja.qm"))) {
    GTEST_SKIP() << "qtbase_ja.qm is not installed in " << translations.toStdString();
  }
  ASSERT_TRUE(InstallJapaneseQtTranslation(*application));
  QMessageBox box(QMessageBox::Question, QStringLiteral("跳記"), QStringLiteral("設定の変更をファイルへ保存しますか？"),
                  QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
  const QString yes = box.button(QMessageBox::Yes)->text();
  const QString cancel = box.button(QMessageBox::Cancel)->text();
  EXPECT_NE(yes, QStringLiteral("&Yes"));
  EXPECT_FALSE(cancel.contains(QStringLiteral("Cancel"))) << cancel.toStdString();
  // The other tests see the toolkit as it was.
  for (QTranslator* translator : application->findChildren<QTranslator*>()) {
    QCoreApplication::removeTranslator(translator);
    const std::unique_ptr<QTranslator> gone(translator);
  }
}

}  // namespace
}  // namespace hakuvo::test
