// Column widths, window places and sizes as the main window restores and keeps them.
#include <QAction>
#include <QComboBox>
#include <QGuiApplication>
#include <QHeaderView>
#include <QScreen>
#include <QTreeWidget>
#include <algorithm>
#include <cstdlib>

#include "core/datafile/day_data_file.h"
#include "core/model/category_info_list.h"
#include "core/settings/history_menu_list.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/record/other_record_dialogs.h"
#include "gui/search/act_form.h"
#include "main_form_fixture.h"

namespace hakuvo::test {
namespace {

namespace fs = std::filesystem;

class MainFormLayoutTest : public MainFormTest {
 protected:
  // Settings of the jogging mode, written before the window starts.
  void WriteSettings(const std::function<void(TAppData&)>& fill) {
    TAppData settings(ProgramFolder);
    settings.SetMode(ctJogging);
    fill(settings);
    settings.Write();
  }
  std::unique_ptr<TAppData> ReadSettings() {
    auto settings = std::make_unique<TAppData>(ProgramFolder);
    settings->SetMode(ctJogging);
    settings->Read();
    return settings;
  }
  static QRect Available() { return QGuiApplication::primaryScreen()->availableGeometry(); }
};

TEST_F(MainFormLayoutTest, AStoredWidthTooNarrowToUseGivesTheColumnItsDefault) {
  // The diary's window section holds no weight width and an energy width of 0; the settings
  // remember a weight width from an earlier run with the energy columns.
  const fs::path diary = Dir / "energy.hkvj";
  WriteDiary(diary, TenOutings());
  const struct {
    int Stored;
    bool Kept;
  } cases[] = {{0, false}, {1, false}, {TMainForm::MinimumColumnWidth - 1, false}, {140, true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Stored);
    WriteSettings([&](TAppData& settings) {
      settings.ChildWindowInfo.IsViewEnergyConsumption = true;
      settings.ChildWindowInfo.ActListDate = 90;
      settings.ChildWindowInfo.ActListTitle = c.Stored;
      settings.ChildWindowInfo.ActListWeight = 80;
      settings.ChildWindowInfo.ActListEnergyConsumption = c.Stored;
    });
    TMainForm& form = MakeForm();  // settings only: no diary reopened yet
    QHeaderView* header = form.ListView()->header();
    ASSERT_EQ(header->count(), 8);
    for (const int column : {3, 7}) {
      if (c.Kept && column == header->count() - 1) {
        // The last column is drawn out to the list's edge, never narrower than it was stored.
        EXPECT_GE(header->sectionSize(column), c.Stored);
      } else if (c.Kept) {
        EXPECT_EQ(header->sectionSize(column), c.Stored);
      } else {
        EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << column;
      }
    }
    EXPECT_EQ(header->sectionSize(0), 90);
    DestroyForm();
    // What the window stored is usable again, and a kept width is stored as it was, not stretched.
    EXPECT_GE(ReadSettings()->ChildWindowInfo.ActListEnergyConsumption, TMainForm::MinimumColumnWidth);
    if (c.Kept) {
      EXPECT_EQ(ReadSettings()->ChildWindowInfo.ActListEnergyConsumption, c.Stored);
    }
    fs::remove(ProgramFolder / "Jogging.ini");
  }

  // A diary that brings an energy width of 0 along: the column stays, toggled or not.
  WriteSettings([](TAppData& settings) {
    settings.ChildWindowInfo.IsViewEnergyConsumption = true;
    settings.ChildWindowInfo.ActListWeight = 80;
  });
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  QHeaderView* header = form.ListView()->header();
  for (int toggle = 0; toggle < 3; ++toggle) {
    if (form.IsViewEnergyConsumption()) {
      ASSERT_EQ(header->count(), 8);
      EXPECT_GE(header->sectionSize(7), header->sectionSizeHint(7)) << toggle;
    }
    form.EnergyViewCommand();
  }
}

TEST_F(MainFormLayoutTest, DefaultWidthsFitTheHeadingsAtTheProgramsFont) {
  WriteSettings([](TAppData& settings) { settings.ChildWindowInfo.IsViewEnergyConsumption = true; });
  TMainForm& form = MakeForm();
  QHeaderView* header = form.ListView()->header();
  ASSERT_EQ(header->count(), 8);
  const QFontMetrics metrics(header->font());
  for (int column = 0; column < header->count(); ++column) {
    const QString heading = form.ListModel()->headerData(column, Qt::Horizontal).toString();
    EXPECT_GE(header->sectionSize(column), header->sectionSizeHint(column)) << heading.toStdString();
    EXPECT_GT(header->sectionSize(column), metrics.horizontalAdvance(heading)) << heading.toStdString();
  }
  // The designed widths stay where the heading is narrower.
  EXPECT_GE(header->sectionSize(3), 150);
}

TEST_F(MainFormLayoutTest, SavingWritesTheLiveWidthsAndTheSearchWindowsPlaceIntoDiaryAndSettings) {
  const fs::path diary = Dir / "widths.hkvj";
  WriteDiary(diary, TenOutings());
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  RunDialog = [](QDialog& dialog) {
    dialog.setGeometry(61, 72, 480, 250);
    return int(QDialog::Rejected);
  };
  form.Action(cmStringSearch)->trigger();
  form.ListView()->header()->resizeSection(3, 231);
  form.ListView()->header()->resizeSection(0, 97);
  form.SetIsChange(true);
  form.SaveCommand();
  ASSERT_TRUE(Errors.isEmpty()) << Errors.join('\n').toStdString();

  TChildWindowInfo saved;
  ReadLayout(diary, saved);
  const std::unique_ptr<TAppData> settings = ReadSettings();
  for (const TChildWindowInfo* layout : {&saved, &settings->ChildWindowInfo}) {
    EXPECT_EQ(layout->ActListTitle, 231);
    EXPECT_EQ(layout->ActListDate, 97);
    EXPECT_EQ(QRect(layout->ActFormLeft, layout->ActFormTop, layout->ActFormWidth, layout->ActFormHeight),
              QRect(61, 72, 480, 250));
  }

  // Reopened, the diary brings the widths back.
  DestroyForm();
  fs::remove(ProgramFolder / "Jogging.ini");
  TMainForm& again = MakeForm({QString::fromStdString(diary.string())});
  EXPECT_EQ(again.ListView()->header()->sectionSize(3), 231);
}

TEST_F(MainFormLayoutTest, TheSettingsFileHasTheNewRecentFileRightAfterASave) {
  TMainForm& form = MakeForm();
  const fs::path diary = Dir / "fresh.hkvj";
  SaveAnswers = {QString::fromStdString(diary.string())};
  form.SetIsChange(true);
  form.SaveCommand();
  ASSERT_TRUE(fs::exists(diary));
  THistoryMenuList recent;
  recent.Load(ProgramFolder / "Jogging.ini");
  EXPECT_EQ(recent.Items(), TStringList{diary.string()});
  EXPECT_EQ(ReadSettings()->FileName, diary.string());
}

TEST_F(MainFormLayoutTest, RestoredSizesAreLimitedToTheScreen) {
  const QRect screen = Available();
  const int sizes[] = {30000, 2147483647};
  for (const int size : sizes) {
    SCOPED_TRACE(size);
    WriteSettings([&](TAppData& settings) {
      settings.Left = screen.left() + 10;
      settings.Top = screen.top() + 20;
      settings.Width = size;
      settings.Height = size;
      settings.ChildWindowInfo.ActFormLeft = screen.left();
      settings.ChildWindowInfo.ActFormTop = screen.top();
      settings.ChildWindowInfo.ActFormWidth = size;
      settings.ChildWindowInfo.ActFormHeight = size;
    });
    TMainForm& form = MakeForm({}, false);
    EXPECT_LE(form.width(), screen.width());
    EXPECT_LE(form.height(), screen.height());
    EXPECT_EQ(form.geometry().topLeft(), QPoint(screen.left() + 10, screen.top() + 20));
    form.show();
    Settle();
    QSize searchSize;
    RunDialog = [&](QDialog& dialog) {
      searchSize = dialog.size();
      return int(QDialog::Rejected);
    };
    form.Action(cmStringSearch)->trigger();
    EXPECT_LE(searchSize.width(), screen.width());
    EXPECT_LE(searchSize.height(), screen.height());
    DestroyForm();
    // Nothing absurd goes back into the file.
    const std::unique_ptr<TAppData> written = ReadSettings();
    EXPECT_LE(written->Width, screen.width());
    EXPECT_LE(written->Height, screen.height());
    EXPECT_LE(written->ChildWindowInfo.ActFormWidth, screen.width());
    fs::remove(ProgramFolder / "Jogging.ini");
  }
}

TEST_F(MainFormLayoutTest, SearchWindowsOpenOverTheMiddleOfTheMainWindowTheFirstTime) {
  TMainForm& form = MakeForm();
  form.setGeometry(Available().left() + 20, Available().top() + 10, std::min(600, Available().width() - 40),
                   std::min(450, Available().height() - 20));
  Settle();
  QRect shown;
  RunDialog = [&](QDialog& dialog) {
    shown = dialog.geometry();
    return int(QDialog::Rejected);
  };
  for (const TMainCommand command : {cmStringSearch, cmCategorySearch}) {
    form.AppData().ChildWindowInfo.ActFormWidth = 0;
    shown = {};
    form.Action(command)->trigger();
    EXPECT_LE(std::abs(shown.center().x() - form.frameGeometry().center().x()), 2) << command;
    EXPECT_LE(std::abs(shown.center().y() - form.frameGeometry().center().y()), 2) << command;
  }
}

TEST_F(MainFormLayoutTest, TheUserCategoryDialogOffersTheUserCategoriesInUse) {
  const fs::path diary = Dir / "user.hkvj";
  WriteDiary(diary, {{2024, 5, 1, "stretch", 1, {}, ctUserCategory, "ヨガ"},
                     {2024, 5, 2, "walk", 1, {}, ctUserCategory, "散歩"},
                     {2024, 5, 3, "again", 1, {}, ctUserCategory, "ヨガ"},
                     {2024, 5, 4, "run", 5}});
  TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
  QStringList offered;
  QString shown;
  RunDialog = [&](QDialog& dialog) {
    auto* user = dynamic_cast<TUserCategoryRecordDialog*>(&dialog);
    EXPECT_NE(user, nullptr);
    if (user == nullptr) return int(QDialog::Rejected);
    for (int i = 0; i < user->CategoryCombo()->count(); ++i) offered << user->CategoryCombo()->itemText(i);
    shown = user->CategoryCombo()->currentText();
    return int(QDialog::Rejected);
  };
  form.SelectRow(1);
  form.EditActCommand();
  // Sorted, each once.
  const QStringList expected = QStringList{QStringLiteral("ヨガ"), QStringLiteral("散歩")};
  QStringList sorted = expected;
  std::sort(sorted.begin(), sorted.end(),
            [](const QString& a, const QString& b) { return a.toStdString() < b.toStdString(); });
  EXPECT_EQ(offered, sorted);
  EXPECT_EQ(shown, QStringLiteral("散歩"));
}

TEST_F(MainFormLayoutTest, OpenAndSaveAsStartInAFolderThatExists) {
  const fs::path home = Dir / "home";
  fs::create_directories(home);
  const char* oldHome = std::getenv("HOME");
  const std::string keptHome = oldHome != nullptr ? oldHome : "";
  setenv("HOME", home.c_str(), 1);
  const struct {
    bool Documents;
    fs::path Expected;
  } cases[] = {{false, home}, {true, home / "Documents"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.Expected.string());
    if (c.Documents) fs::create_directories(home / "Documents");
    TMainForm& form = MakeForm();
    FileDialogRequests.clear();
    form.OpenCommand();
    form.SaveAsCommand();
    ASSERT_EQ(FileDialogRequests.size(), 2u);
    for (const TFileDialogRequest& request : FileDialogRequests) {
      EXPECT_EQ(fs::path(request.Directory.toStdString()), c.Expected);
      // No name is proposed for a diary that has none, least of all the folder's.
      EXPECT_TRUE(request.FileName.isEmpty()) << request.FileName.toStdString();
    }
    DestroyForm();
    fs::remove(ProgramFolder / "Jogging.ini");
  }
  setenv("HOME", keptHome.c_str(), 1);
}

}  // namespace
}  // namespace hakuvo::test
