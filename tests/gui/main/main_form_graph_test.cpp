// The graph windows as the main window makes them: a click on a point reaches the main list
// through the document, and the graphs follow the diary's changes.
#include <QTest>

#include "gui/graph/graph_chart.h"
#include "gui/graph/graph_form.h"
#include "gui/graph/multi_graph_form.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "main_form_fixture.h"
#include "support/scoped_clock.h"

namespace hakuvo::test {
namespace {

class MainFormGraphTest : public MainFormTest {
 protected:
  TMainForm& Open(const std::vector<TOuting>& outings) {
    const std::filesystem::path diary = Dir / "graphs.hkvj";
    WriteDiary(diary, outings);
    TMainForm& form = MakeForm({QString::fromStdString(diary.string())});
    Settle();
    return form;
  }
  template <typename Form>
  Form& Shown(TMainForm& form, const char* name) {
    auto* window = dynamic_cast<Form*>(form.Docks().Form(QString::fromUtf8(name)));
    EXPECT_NE(window, nullptr) << name;
    // A tab of a strip shows beside the strip when its tab is chosen; a panel's window is shown.
    if (form.Docks().Site(window) == dsBottomTabs || form.Docks().Site(window) == dsRightTabs) {
      form.Docks().PopOut(window);
    } else {
      form.Docks().ShowForm(window);
    }
    Settle();
    window->Chart()->replot();
    return *window;
  }
  // The day graph shows the last 30 days by default.
  TScopedClock Clock{EncodeDate(2014, 3, 10)};
  static QPoint BarMiddle(TGraphChart& chart, int index) {
    return {static_cast<int>(chart.DateAxis()->coordToPixel(chart.PointKey(0, index))),
            static_cast<int>(chart.ValueAxis(0)->coordToPixel(chart.PointValue(0, index) / 2))};
  }
};

TEST_F(MainFormGraphTest, ClickOnADaysBarSelectsThatDaysFirstRow) {
  TMainForm& form = Open({{2014, 3, 5, "a", 4}, {2014, 3, 7, "b", 7}, {2014, 3, 7, "c", 3}, {2014, 3, 9, "d", 2}});
  auto& graph = Shown<TGraphForm>(form, "GraphForm");
  // The mode's category, drawn as days across or down the window.
  ASSERT_EQ(graph.Chart()->PointCount(0), 3);
  ASSERT_EQ(graph.Chart()->PointKey(0, 1), EncodeDate(2014, 3, 7));
  form.ListView()->clearSelection();
  const QPoint bar = graph.Chart()->IsDateAxisVertical()
                         ? QPoint(static_cast<int>(graph.Chart()->ValueAxis(0)->coordToPixel(5)),
                                  static_cast<int>(graph.Chart()->DateAxis()->coordToPixel(EncodeDate(2014, 3, 7))))
                         : BarMiddle(*graph.Chart(), 1);
  QTest::mouseClick(graph.Chart(), Qt::LeftButton, {}, bar);
  Settle();
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{1});
}

TEST_F(MainFormGraphTest, ActionGraphClickSelectsTheRowAndDeleteRecomputesTheGraphs) {
  TMainForm& form = Open({{2014, 3, 5, "a", 4}, {2014, 3, 7, "b", 7}, {2014, 3, 9, "c", 2}});
  auto& acts = Shown<TActMultiGraphForm>(form, "ActMultiGraphForm");
  ASSERT_EQ(acts.Chart()->PointCount(0), 3);
  form.ListView()->clearSelection();
  QTest::mouseClick(acts.Chart(), Qt::LeftButton, {}, BarMiddle(*acts.Chart(), 2));
  Settle();
  EXPECT_EQ(form.ListView()->SelectedRows(), QList<int>{2});
  form.DeleteActCommand();
  Settle();
  EXPECT_EQ(acts.Chart()->PointCount(0), 2);
}

// A train ride (another category) stands between the outings in the list: the graph's point
// names the outing, whose row is not its place among the jogging outings.
TEST_F(MainFormGraphTest, ActionGraphClickSelectsTheOutingWhenOtherCategoriesShareTheList) {
  TMainForm& form = Open({{2014, 3, 5, "a", 4},
                          {2014, 3, 6, "ride", 12, {}, ctVehicle},
                          {2014, 3, 7, "b", 7},
                          {2014, 3, 8, "ride back", 12, {}, ctVehicle},
                          {2014, 3, 9, "c", 2}});
  auto& acts = Shown<TActMultiGraphForm>(form, "ActMultiGraphForm");
  ASSERT_EQ(acts.Chart()->PointCount(0), 3);
  const struct {
    int point;
    int row;
    const char* title;
  } cases[] = {{0, 0, "a"}, {1, 2, "b"}, {2, 4, "c"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.title);
    form.ListView()->clearSelection();
    QTest::mouseClick(acts.Chart(), Qt::LeftButton, {}, BarMiddle(*acts.Chart(), c.point));
    Settle();
    ASSERT_EQ(form.ListView()->SelectedRows(), QList<int>{c.row});
    EXPECT_EQ(form.ListModel()->Act(c.row)->Title, c.title);
  }
}

}  // namespace
}  // namespace hakuvo::test
