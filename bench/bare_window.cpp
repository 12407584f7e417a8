// The reference for the desktop program's first paint and memory: a bare Qt main window with a
// menu bar, a tool bar and a list of as many rows as the diary's list shows, built from strings
// made in the program. It reports, as the program does with HAKUVO_TIMING=1, when its list was
// first painted, counted from the start of the process.
//   bench_bare_window ROWS
#include <QApplication>
#include <QEvent>
#include <QMainWindow>
#include <QMenuBar>
#include <QStandardItemModel>
#include <QToolBar>
#include <QTreeView>
#include <cstdio>
#include <cstdlib>

#include "gui/common/timing_log.h"

namespace {

class TPaintLogger : public QObject {
 public:
  explicit TPaintLogger(const hakuvo::TTimingWatch& watch) : FWatch(watch) {}
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (event->type() == QEvent::Paint) {
      watched->removeEventFilter(this);
      std::fprintf(stderr, "hakuvo: window painted with its list: %.1f ms\n", FWatch.Milliseconds());
    }
    return false;
  }

 private:
  const hakuvo::TTimingWatch& FWatch;
};

}  // namespace

int main(int argc, char** argv) {
  const hakuvo::TTimingWatch sinceStart = hakuvo::TTimingWatch::SinceProcessStart();
  const int rows = argc > 1 ? std::atoi(argv[1]) : 758;
  QApplication app(argc, argv);
  QMainWindow window;
  window.resize(942, 731);
  window.menuBar()->addMenu(QStringLiteral("ファイル(&F)"))->addAction(QStringLiteral("開く(&O)..."));
  window.addToolBar(QStringLiteral("tools"))->addAction(QStringLiteral("新規"));
  auto* model = new QStandardItemModel(rows, 6, &window);
  for (int row = 0; row < rows; ++row) {
    model->setItem(row, 0, new QStandardItem(QStringLiteral("2024/05/%1").arg(row % 28 + 1)));
    model->setItem(row, 1, new QStandardItem(QStringLiteral("07:00")));
    model->setItem(row, 2, new QStandardItem(QStringLiteral("07:40")));
    model->setItem(row, 3, new QStandardItem(QStringLiteral("ジョギング %1").arg(row)));
    model->setItem(row, 4, new QStandardItem(QStringLiteral("5.2")));
    model->setItem(row, 5, new QStandardItem(QStringLiteral("memo")));
  }
  auto* list = new QTreeView(&window);
  list->setRootIsDecorated(false);
  list->setUniformRowHeights(true);
  list->setModel(model);
  list->scrollToBottom();
  window.setCentralWidget(list);
  TPaintLogger logger(sinceStart);
  list->viewport()->installEventFilter(&logger);
  window.show();
  return QApplication::exec();
}
