#include "gui/graph/multi_graph_form.h"

#include <QAction>
#include <QComboBox>
#include <QLineEdit>

#include "core/common/number_format.h"
#include "graph_test_support.h"
#include "gui/categories/category_set_dialog_pages.h"
#include "gui/graph/graph_info_set_dialog.h"
#include "support/temp_folder.h"

namespace hakuvo::test {
namespace {

class MultiGraphForm : public GraphFixture {
 protected:
  MultiGraphForm() {
    Document.MultiGraphInfo1().SetIsBarSeries(true);
    Document.MultiGraphInfo1().SetDayAxisKind(daAll);
    Document.MultiGraphInfo2().SetIsBarSeries(false);
    Document.MultiGraphInfo2().SetDayAxisKind(daAll);
    Document.CategoryInfoList().GetCategoryItems(ctJogging)->GraphInfo().RecordAxisTitle = {"回数", "距離(km)",
                                                                                            "速度(km/h)"};
  }
};

TEST_F(MultiGraphForm, DeleteOnTheSecondChannelLeavesOneSeriesAndTwoColumns) {
  AddJog(EncodeDate(2014, 3, 5), 4);
  AddJog(EncodeDate(2014, 3, 7), 7);
  TMultiGraphForm form(Document, nullptr);
  ShowForm(form);
  ASSERT_TRUE(form.Chart()->IsSeriesActive(0));
  ASSERT_TRUE(form.Chart()->IsSeriesActive(1));
  EXPECT_EQ(form.Chart()->legend->itemCount(), 2);
  EXPECT_EQ(Lines(form.CopyText()).at(1).split('\t').size(), 3);

  QSignalSpy changed(&Document, &TDiaryDocument::ViewSettingChanged);
  form.RecordCombo2()->setFocus();
  QTest::keyClick(form.RecordCombo2(), Qt::Key_Delete);
  EXPECT_EQ(changed.count(), 1);
  EXPECT_TRUE(form.Chart()->IsSeriesActive(0));
  EXPECT_FALSE(form.Chart()->IsSeriesActive(1));
  EXPECT_EQ(form.Chart()->legend->itemCount(), 1);
  EXPECT_EQ(form.CategoryCombo2()->currentIndex(), -1);
  EXPECT_EQ(form.RecordCombo2()->count(), 0);
  // The left axis keeps its title, the right one has none.
  EXPECT_FALSE(form.Chart()->ValueAxis(0)->label().isEmpty());
  EXPECT_TRUE(form.Chart()->ValueAxis(1)->label().isEmpty());
  const QStringList lines = Lines(form.CopyText());
  ASSERT_EQ(lines.size(), 3);
  EXPECT_EQ(lines[0], QStringLiteral("日\t記録1\t記録2"));
  EXPECT_EQ(lines[1], QStringLiteral("2014/03/05\t4"));
  EXPECT_EQ(lines[2], QStringLiteral("2014/03/07\t7"));
}

TEST_F(MultiGraphForm, ChannelsTitlesAndHalfWidthsForTwoBarSeries) {
  for (int d = 1; d <= 10; ++d) AddJog(EncodeDate(2014, 3, d), d);
  TMultiGraphForm form(Document, nullptr);
  ShowForm(form);
  EXPECT_EQ(form.Chart()->Plottable(0)->name(), QStringLiteral("ジョギング[距離]"));
  EXPECT_EQ(form.Chart()->Plottable(1)->name(), QStringLiteral("ジョギング[速度]"));
  const int single = form.Chart()->BarWidth(0);
  Document.MultiGraphInfo2().SetIsBarSeries(true);
  form.SetGraphData();
  form.Chart()->replot();
  EXPECT_EQ(form.Chart()->BarWidth(0), static_cast<int>(std::lround(single / 2.0)));
  EXPECT_EQ(form.Chart()->BarWidth(1), form.Chart()->BarWidth(0));
  // Choosing a category leaves the channel waiting for its datum; choosing one draws it.
  QSignalSpy changed(&Document, &TDiaryDocument::ViewSettingChanged);
  const int recomputed = form.RecomputeCount();
  form.CategoryCombo2()->setCurrentIndex(form.CategoryCombo2()->findText(QStringLiteral("自転車")));
  emit form.CategoryCombo2()->activated(form.CategoryCombo2()->currentIndex());
  EXPECT_EQ(form.RecordCombo2()->currentIndex(), -1);
  EXPECT_GT(form.RecordCombo2()->count(), 1);
  EXPECT_EQ(form.RecomputeCount(), recomputed);
  form.RecordCombo2()->setCurrentIndex(1);
  emit form.RecordCombo2()->activated(1);
  EXPECT_EQ(form.RecomputeCount(), recomputed + 1);
  EXPECT_EQ(changed.count(), 2);
  EXPECT_EQ(form.Chart()->PointCount(1), 0);
}

TEST_F(MultiGraphForm, ClickSelectsTheDay) {
  AddJog(EncodeDate(2014, 3, 5), 4);
  AddJog(EncodeDate(2014, 3, 7), 7);
  TMultiGraphForm form(Document, nullptr);
  ShowForm(form);
  QSignalSpy days(&Document, &TDiaryDocument::SelectDay);
  QTest::mouseClick(form.Chart(), Qt::LeftButton, {}, PointPixel(*form.Chart(), 0, 1, true));
  ASSERT_EQ(days.count(), 1);
  EXPECT_EQ(days.first().first().value<TDateTime>(), EncodeDate(2014, 3, 7));
}

TEST_F(MultiGraphForm, ChoicesTravelWithTheDiaryFile) {
  TMultiGraphForm multi(Document, nullptr);
  TActMultiGraphForm acts(Document, nullptr);
  multi.SetCategory2(QStringLiteral("自転車"));
  multi.SetRecordKind2(3);
  acts.SetRecordKind2(0);
  emit Document.AboutToSave();
  const TDayDataFile& file = Document.DataFile();
  EXPECT_EQ(file.MultiDayGraphCategory(), "ジョギング");
  EXPECT_EQ(file.MultiDayGraphCategory2(), "自転車");
  EXPECT_EQ(file.MultiDayGraphRecordKind(), 1);
  EXPECT_EQ(file.MultiDayGraphRecordKind2(), 0);

  Document.DataFile().SetFileName("/tmp/opened.hkvj");
  Document.DataFile().SetMultiDayGraphCategory2("ウォーキング");
  Document.DataFile().SetMultiDayGraphRecordKind(2);
  emit Document.DiaryReset();
  EXPECT_EQ(multi.Category2(), QStringLiteral("ウォーキング"));
  EXPECT_EQ(multi.RecordKind(), 2);
  // The action graph keeps the program's category for both data, with the diary's kinds.
  EXPECT_EQ(acts.Category2(), QStringLiteral("ジョギング"));
  EXPECT_EQ(acts.RecordKind(), 2);
  // A new diary: the program's category, distance and speed.
  Document.DataFile().SetFileName("");
  emit Document.DiaryReset();
  EXPECT_EQ(multi.Category2(), QStringLiteral("ジョギング"));
  EXPECT_EQ(multi.RecordKind(), 1);
  EXPECT_EQ(acts.RecordKind2(), 2);
}

// The diary keeps one set of channel choices for two windows: the action graph always shows the
// mode's category, so its categories say nothing, while the two-data graph's are the user's
// pairing. Both windows find their own choices again after a save and an open.
TEST_F(MultiGraphForm, EachWindowsOwnChoicesSurviveASaveAndAnOpen) {
  AddJog(EncodeDate(2014, 3, 5), 4);
  test::TTempFolder folder;
  const std::string path = (folder.Path() / "pairing.hkvj").string();
  TMultiGraphForm multi(Document, nullptr);
  TActMultiGraphForm acts(Document, nullptr);
  multi.SetCategory(QStringLiteral("ウォーキング"));
  multi.SetCategory2(QStringLiteral("自転車"));
  acts.SetRecordKind(2);
  acts.SetRecordKind2(1);
  Document.SaveAs(path);
  multi.SetCategory(QStringLiteral("ジョギング"));
  multi.SetCategory2(QStringLiteral("ジョギング"));
  acts.SetRecordKind(0);
  Document.Open(path);
  EXPECT_EQ(multi.Category(), QStringLiteral("ウォーキング"));
  EXPECT_EQ(multi.Category2(), QStringLiteral("自転車"));
  EXPECT_EQ(acts.Category(), QStringLiteral("ジョギング"));
  EXPECT_EQ(acts.Category2(), QStringLiteral("ジョギング"));
  EXPECT_EQ(acts.RecordKind(), 2);
  EXPECT_EQ(acts.RecordKind2(), 1);
}

TEST_F(MultiGraphForm, EachSettingsButtonEditsItsChannelsRecord) {
  AddJog(EncodeDate(2014, 3, 5), 4, "朝");
  AddJog(EncodeDate(2014, 3, 7), 7);
  for (bool perAction : {false, true}) {
    for (int channel : {0, 1}) {
      for (bool ok : {false, true}) {
        const std::string what = std::string(perAction ? "per action, " : "per day, ") + "channel " +
                                 std::to_string(channel) + (ok ? ", OK" : ", cancel");
        Document.MultiGraphInfo1().SetLineSeriesWidth(2);
        Document.MultiGraphInfo2().SetLineSeriesWidth(2);
        Document.MultiGraphInfo2().SetDayAxisKind(daAll);
        std::unique_ptr<TMultiGraphForm> form = perAction ? std::make_unique<TActMultiGraphForm>(Document, nullptr)
                                                          : std::make_unique<TMultiGraphForm>(Document, nullptr);
        ShowForm(*form);
        TGraphInfo& edited = channel == 0 ? Document.MultiGraphInfo1() : Document.MultiGraphInfo2();
        const TGraphInfo& other = channel == 0 ? Document.MultiGraphInfo2() : Document.MultiGraphInfo1();
        const int before = form->RecomputeCount();
        int opened = 0;
        form->SetDialogRunner([&](QDialog& dialog) {
          ++opened;
          auto* settings = dynamic_cast<TGraphInfoSetDialog*>(&dialog);
          if (settings == nullptr) return static_cast<int>(QDialog::Rejected);
          EXPECT_EQ(settings->GraphInfo(), &edited) << what;
          // Only the first channel chooses the dates.
          EXPECT_EQ(settings->IsDateAxisSet(), channel == 0) << what;
          EXPECT_EQ(settings->DateAxisGroup()->isEnabled(), channel == 0) << what;
          settings->Page()->LineWidthEdit()->setText(QStringLiteral("5"));
          // The first channel's dates can change; the second's are left as they were.
          if (channel == 0) settings->Page()->TermRadio()->setChecked(true);
          if (ok) {
            dialog.accept();
          } else {
            dialog.reject();
          }
          return dialog.result();
        });
        QSignalSpy changed(&Document, &TDiaryDocument::ViewSettingChanged);
        QSignalSpy dataChanged(&Document, &TDiaryDocument::DataChanged);
        if (channel == 0) {
          form->SettingsAction()->trigger();
        } else {
          form->SettingsButton2()->click();
        }
        Settle();
        ASSERT_EQ(opened, 1) << what;
        EXPECT_EQ(changed.count(), ok ? 1 : 0) << what;
        EXPECT_EQ(dataChanged.count(), 0) << what;
        EXPECT_EQ(form->RecomputeCount(), before + (ok ? 1 : 0)) << what;
        EXPECT_EQ(edited.LineSeriesWidth(), ok ? 5 : 2) << what;
        EXPECT_EQ(other.LineSeriesWidth(), 2) << what;
        EXPECT_EQ(Document.MultiGraphInfo1().DayAxisKind(), ok && channel == 0 ? daTerm : daAll) << what;
        EXPECT_EQ(Document.MultiGraphInfo2().DayAxisKind(), daAll) << what;
        Document.MultiGraphInfo1().SetDayAxisKind(daAll);
      }
    }
  }
}

class ActGraphForm : public MultiGraphForm {};

TEST_F(ActGraphForm, BothSeriesLabelTheirValuesNotTheTitles) {
  AddJog(EncodeDate(2014, 3, 5), 4, "朝");
  AddJog(EncodeDate(2014, 3, 7), 7.5, "夕方");
  TActMultiGraphForm form(Document, nullptr);
  ShowForm(form);
  EXPECT_TRUE(form.Chart()->ValueLabels().isEmpty());
  QTest::mouseDClick(form.Chart(), Qt::LeftButton, {}, PointPixel(*form.Chart(), 0, 0, true));
  const QVector<TValueLabel> labels = form.Chart()->ValueLabels();
  ASSERT_EQ(labels.size(), 4);
  for (const TValueLabel& label : labels) {
    EXPECT_EQ(label.Text, QString::fromStdString(FormatGeneral(form.Chart()->PointValue(label.Channel, label.Index))));
    EXPECT_DOUBLE_EQ(QLineF(label.Point, label.ArrowEnd).length(), 6);
  }
  EXPECT_EQ(labels[1].Text, QStringLiteral("7.5"));
  EXPECT_EQ(labels[2].Channel, 1);
}

TEST_F(ActGraphForm, ClickAfterSkippedActionsSelectsTheActionsRow) {
  const TScopedClock clock(EncodeDate(2014, 3, 31));
  AddJog(EncodeDate(2014, 1, 1), 1, "古い1");
  AddJog(EncodeDate(2014, 1, 1), 2, "古い2");
  AddJog(EncodeDate(2014, 2, 20), 3, "古い3");
  const TActData& march = AddJog(EncodeDate(2014, 3, 7), 4);
  AddJog(EncodeDate(2014, 3, 31), 5, "今日");
  Document.MultiGraphInfo1().SetDayAxisKind(daTerm);
  Document.MultiGraphInfo1().SetAxisTerm(30);
  TActMultiGraphForm form(Document, nullptr);
  ShowForm(form);
  ASSERT_EQ(form.Chart()->PointCount(0), 2);
  EXPECT_EQ(form.AxisStartDate(), EncodeDate(2014, 3, 1));
  EXPECT_EQ(form.AxisEndDate(), EncodeDate(2014, 3, 31));
  // The legend names the data; the points are labelled with titles, the untitled one by date.
  EXPECT_EQ(form.Chart()->Plottable(0)->name(), QStringLiteral("距離"));
  QVector<double> ticks;
  QVector<QString> labels;
  form.Chart()->DateAxis()->ticker()->generate(QCPRange(-0.5, 1.5), QLocale(), 'g', 6, ticks, nullptr, &labels);
  EXPECT_EQ(labels, (QVector<QString>{QStringLiteral("3/7"), QStringLiteral("今日")}));

  // The click names the outing itself: the main list may hold other categories between them.
  QSignalSpy acts(&Document, &TDiaryDocument::SelectAct);
  QTest::mouseClick(form.Chart(), Qt::LeftButton, {}, PointPixel(*form.Chart(), 0, 0, true));
  ASSERT_EQ(acts.count(), 1);
  EXPECT_EQ(acts.first().first().value<const TActData*>(), &march);
  // The copy text carries each action's day, both data side by side.
  EXPECT_EQ(form.CopyText(), QStringLiteral("日\t記録1\t記録2\r\n2014/03/07\t4\t4\r\n2014/03/31\t5\t5\r\n"));
  // The category combos are not the user's here.
  EXPECT_FALSE(form.CategoryCombo()->isVisible());
  EXPECT_FALSE(form.CategoryCombo2()->isVisible());
  EXPECT_TRUE(form.RecordCombo()->isVisible());
}

TEST_F(ActGraphForm, EmptyDiaryAndBadSettings) {
  TActMultiGraphForm form(Document, nullptr);
  ShowForm(form);
  EXPECT_EQ(form.Chart()->PointCount(0), 0);
  EXPECT_EQ(form.CopyText(), QStringLiteral("日\t記録1\t記録2\r\n"));
  AddJog(EncodeDate(2014, 3, 7), 4);
  Document.MultiGraphInfo1().SetIsAutoRecordAxis(false);
  Document.MultiGraphInfo1().SetRecordAxisMin(3);
  Document.MultiGraphInfo1().SetRecordAxisMax(-3);
  Document.MultiGraphInfo1().SetBarSeriesWidth(-1);
  Document.MultiGraphInfo2().SetIsBarSeries(true);
  form.SetGraphData();
  EXPECT_EQ(form.Chart()->PointCount(0), 1);
  EXPECT_FALSE(form.Chart()->Picture().isNull());
  const QCPRange values = form.Chart()->ValueAxis(0)->range();
  EXPECT_EQ(values.lower, -3);
  EXPECT_EQ(values.upper, 3);
}

}  // namespace
}  // namespace hakuvo::test
