// Where a window shown for the first time goes: docked with room to be read, or cascaded.
#include <QDockWidget>
#include <QLayout>
#include <QMainWindow>
#include <algorithm>

#include "gui/document/dock_manager.h"
#include "gui/document/dock_parts.h"

namespace hakuvo {

namespace {

std::size_t PanelIndex(TDockSite panel) { return panel == dsRightPanel ? 0 : 1; }

// The narrowest a pane of the bottom panel is given when a window first docks there.
constexpr int UsableBottomWidth = 240;

int UsableLength(const TDockingForm* form) {
  // A picture or a chart needs room to say anything; a caption alone says nothing.
  const QString name = form->Name();
  if (name == QLatin1String("LinkPreviewForm") || name == QLatin1String("LinkForm")) return 150;
  return 200;
}

}  // namespace

TDockSite TDockManager::PanelWithRoomFor(const TDockingForm* form) const {
  FWindow.layout()->activate();
  // Stacked on the right, beside the work area: its height shared by the usable heights, each
  // pane also costing the splitter after it.
  constexpr int kSplitter = 8;
  int rightNeeds = 0;
  for (const TDockHost* host : PanelHosts(dsRightPanel)) rightNeeds += UsableLength(host->Form()) + kSplitter;
  const QWidget* work = FWindow.centralWidget();
  const int workHeight = work != nullptr ? work->height() : FWindow.height();
  if (rightNeeds + UsableLength(form) <= workHeight) return dsRightPanel;
  // Side by side below: the window's width shared by usable widths. A bottom panel that comes
  // back takes its height from the work area, and so from the right panel beside it.
  const int bottomPanes = static_cast<int>(PanelHosts(dsBottomPanel).size());
  const int rightLeft = bottomPanes > 0 ? workHeight : workHeight - FPanelSize[PanelIndex(dsBottomPanel)] - kSplitter;
  if ((bottomPanes + 1) * UsableBottomWidth <= FWindow.width() && rightNeeds <= rightLeft) return dsBottomPanel;
  return dsFloating;
}

void TDockManager::GiveUsableLength(TEntry& entry, TDockSite panel) {
  FWindow.layout()->activate();
  const std::vector<TDockHost*> hosts = PanelHosts(panel);
  if (panel == dsBottomPanel) {
    // Panes stand side by side below: the panel's height is what each of them gets.
    const int height = std::max(PanelSize(dsBottomPanel), UsableLength(entry.Form));
    FWindow.resizeDocks({hosts.front()}, {height}, Qt::Vertical);
    if (hosts.size() > 1) EvenPanes(dsBottomPanel);
    return;
  }
  if (hosts.size() < 2) return;
  // The newcomer gets its share of the panel, at least its usable height; the others give up
  // the rest in proportion to what they had.
  int total = 0;
  int othersTotal = 0;
  for (const TDockHost* host : hosts) {
    total += host->height();
    if (host != entry.Host) othersTotal += host->height();
  }
  const int count = static_cast<int>(hosts.size());
  const int mine = std::min(total, std::max(UsableLength(entry.Form), total / count));
  const int rest = total - mine;
  QList<QDockWidget*> docks;
  QList<int> sizes;
  for (TDockHost* host : hosts) {
    docks.push_back(host);
    if (host == entry.Host) {
      sizes.push_back(mine);
    } else {
      sizes.push_back(othersTotal > 0 ? rest * host->height() / othersTotal : rest / (count - 1));
    }
  }
  FWindow.resizeDocks(docks, sizes, Qt::Vertical);
}

}  // namespace hakuvo
