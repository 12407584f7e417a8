// Storing the docking arrangement into the layout record and rebuilding it from there.
#include <QDockWidget>
#include <QLayout>
#include <QMainWindow>
#include <QTabBar>
#include <QToolBar>
#include <map>

#include "gui/document/dock_manager.h"
#include "gui/document/dock_parts.h"

namespace hakuvo {

namespace {

// Marks the pane streams as this program's: Qt refuses a stream written under another number.
constexpr int PaneStreamVersion = 1;

int UsablePanelSize(int size) { return IsUsableWindowSize(size) ? size : DefaultPanelSize; }

std::string ToBytes(const QByteArray& bytes) {
  return std::string(bytes.constData(), static_cast<std::size_t>(bytes.size()));
}

}  // namespace

// The windows of the four dock lists, in the order they are docked.
struct TDockManager::TPlan {
  struct TStep {
    TDockingForm* Form;
    TDockSite Site;
    TDockEntry Entry;
  };
  std::vector<TStep> Steps;

  // A window named twice ends where its last entry puts it.
  const TStep* Final(const TDockingForm* form) const {
    const TStep* last = nullptr;
    for (const TStep& step : Steps) {
      if (step.Form == form) last = &step;
    }
    return last;
  }
};

void TDockManager::StoreLayout(TChildWindowInfo& info) {
  info.RightPanelDockClientList.clear();
  info.BottomPanelDockClientList.clear();
  for (TDockSite panel : {dsRightPanel, dsBottomPanel}) {
    TStringList& list = panel == dsRightPanel ? info.RightPanelDockClientList : info.BottomPanelDockClientList;
    for (const TDockHost* host : PanelHosts(panel)) {
      list.push_back(FormatDockEntry({host->Form()->Name().toStdString(), host->width(), host->height()}));
    }
  }
  for (TDockSite site : {dsRightTabs, dsBottomTabs}) {
    TStringList& list = site == dsRightTabs ? info.RightTabDockClientList : info.BottomTabDockClientList;
    list.clear();
    const QTabBar* bar = Strip(site)->Bar();
    for (int tab = 0; tab < bar->count(); ++tab) {
      const TEntry* entry = const_cast<TDockManager*>(this)->FindByName(bar->tabData(tab).toString());
      if (entry == nullptr || entry->TabSite != site) continue;
      // A window whose caption changed after it docked no longer answers to any tab.
      bool hasTab = false;
      for (int other = 0; other < bar->count(); ++other)
        hasTab = hasTab || bar->tabText(other) == entry->Form->Caption();
      if (!hasTab) continue;
      list.push_back(
          FormatDockEntry({entry->Form->Name().toStdString(), entry->TabSize.width(), entry->TabSize.height()}));
    }
  }
  // Qt writes the arrangement of every pane at once; each panel that holds windows keeps a copy.
  const std::string panes = ToBytes(FWindow.saveState(PaneStreamVersion));
  info.RightPanelDockInfo = IsPanelShown(dsRightPanel) ? panes : std::string();
  info.BottomPanelDockInfo = IsPanelShown(dsBottomPanel) ? panes : std::string();
  info.FloatingList.clear();
  for (TDockingForm* form : FForms) {
    const TEntry* entry = Find(form);
    // A hidden window is left out: it comes back hidden.
    if (entry->TabSite != dsFloating || entry->Host->isHidden() || !entry->Host->isFloating()) continue;
    const QRect bounds = FloatingBounds(*entry->Host);
    info.FloatingList.push_back(
        FormatFloatingEntry({form->Name().toStdString(), bounds.x(), bounds.y(), bounds.width(), bounds.height()}));
  }
  info.RightPanelWidth = PanelSize(dsRightPanel);
  info.BottomPanelHeight = PanelSize(dsBottomPanel);
  for (TDockSite panel : {dsRightPanel, dsBottomPanel}) {
    FPanelSize[panel == dsRightPanel ? 0 : 1] = panel == dsRightPanel ? info.RightPanelWidth : info.BottomPanelHeight;
  }
}

void TDockManager::ResetAllToHidden() {
  for (TEntry& entry : FEntries) {
    LeaveTabStrip(entry);
    entry.Host->hide();
    if (!entry.Host->isFloating()) {
      FWindow.removeDockWidget(entry.Host);
      FWindow.addDockWidget(Qt::RightDockWidgetArea, entry.Host);
      entry.Host->setFloating(true);
    }
    entry.LastPanel = dsFloating;
  }
}

void TDockManager::ApplyPlan(const TPlan& plan) {
  for (const TPlan::TStep& step : plan.Steps) {
    TEntry& entry = *Find(step.Form);
    if (step.Site == dsRightPanel || step.Site == dsBottomPanel) {
      PlaceInPanel(entry, step.Site);
    } else {
      AddTab(entry, step.Site);
      entry.TabSize = QSize(step.Entry.Width, step.Entry.Height);
    }
  }
  // Each pane takes its stored length along the panel: stacked heights on the right, widths
  // side by side below.
  for (TDockSite panel : {dsRightPanel, dsBottomPanel}) {
    const std::vector<TDockHost*> hosts = PanelHosts(panel);
    if (hosts.empty()) continue;
    QList<QDockWidget*> docks;
    QList<int> sizes;
    for (TDockHost* host : hosts) {
      const TPlan::TStep* step = plan.Final(host->Form());
      docks.push_back(host);
      sizes.push_back(panel == dsRightPanel ? step->Entry.Height : step->Entry.Width);
    }
    FWindow.layout()->activate();
    FWindow.resizeDocks(docks, sizes, panel == dsRightPanel ? Qt::Vertical : Qt::Horizontal);
    ApplyPanelSize(panel);
  }
}

bool TDockManager::MatchesPlan(const TPlan& plan) const {
  for (const TEntry& entry : FEntries) {
    const TPlan::TStep* step = plan.Final(entry.Form);
    const TDockSite expected = step != nullptr ? step->Site : dsFloating;
    const bool inPanel = !entry.Host->isHidden() && PanelOf(entry.Host) != dsFloating;
    if (expected == dsRightPanel || expected == dsBottomPanel) {
      if (entry.TabSite != dsFloating || !inPanel || PanelOf(entry.Host) != expected) return false;
    } else if (expected == dsRightTabs || expected == dsBottomTabs) {
      if (entry.TabSite != expected || inPanel) return false;
    } else if (entry.TabSite != dsFloating || inPanel) {
      return false;
    }
  }
  return true;
}

bool TDockManager::RestorePaneStream(const std::string& stream) {
  // The stream also carries tool bars; the main window's own keep the state they have now.
  std::map<QToolBar*, bool> hidden;
  for (QToolBar* bar : FWindow.findChildren<QToolBar*>()) hidden[bar] = bar->isHidden();
  const bool accepted =
      FWindow.restoreState(QByteArray(stream.data(), static_cast<qsizetype>(stream.size())), PaneStreamVersion);
  for (const auto& [bar, wasHidden] : hidden) bar->setHidden(wasHidden);
  return accepted;
}

void TDockManager::RestoreLayout(const TChildWindowInfo& info) {
  ++FRestoring;
  HidePopOut();
  ResetAllToHidden();
  FPanelSize = {UsablePanelSize(info.RightPanelWidth), UsablePanelSize(info.BottomPanelHeight)};

  TPlan plan;
  const std::pair<const TStringList*, TDockSite> lists[] = {{&info.RightPanelDockClientList, dsRightPanel},
                                                            {&info.RightTabDockClientList, dsRightTabs},
                                                            {&info.BottomPanelDockClientList, dsBottomPanel},
                                                            {&info.BottomTabDockClientList, dsBottomTabs}};
  for (const auto& [list, site] : lists) {
    for (const std::string& line : *list) {
      TDockEntry entry = ParseDockEntry(line);
      TDockingForm* form = Form(QString::fromStdString(entry.Name));
      if (form != nullptr) plan.Steps.push_back({form, site, std::move(entry)});
    }
  }
  ApplyPlan(plan);

  // The pane arrangement Qt saved, where it agrees with the lists; a stream Qt refuses, or one
  // that would put windows elsewhere than the lists say, counts as no stream.
  bool rightPanes = false;
  bool bottomPanes = false;
  for (auto [stream, accepted] :
       {std::pair{&info.RightPanelDockInfo, &rightPanes}, std::pair{&info.BottomPanelDockInfo, &bottomPanes}}) {
    if (stream->empty()) continue;
    *accepted = RestorePaneStream(*stream) && MatchesPlan(plan);
    if (!*accepted && !MatchesPlan(plan)) {
      ResetAllToHidden();
      ApplyPlan(plan);
      rightPanes = bottomPanes = false;
    }
  }
  if (!rightPanes) EvenPanes(dsRightPanel);
  if (!bottomPanes) EvenPanes(dsBottomPanel);
  // A stream may also have shown floating windows; only the floating list decides those.
  for (TEntry& entry : FEntries) {
    if (entry.TabSite == dsFloating && entry.Host->isFloating()) entry.Host->hide();
  }

  const QRect desktop = Desktop();
  for (const std::string& line : info.FloatingList) {
    TFloatingEntry entry = ParseFloatingEntry(line);
    TDockingForm* form = Form(QString::fromStdString(entry.Name));
    if (form == nullptr) continue;
    entry = KeepOnDesktop(entry, {desktop.x(), desktop.y(), desktop.width(), desktop.height()});
    MakeFloating(form, QRect(entry.Left, entry.Top, entry.Width, entry.Height));
  }

  for (TDockSite panel : {dsRightPanel, dsBottomPanel}) ApplyPanelSize(panel);
  --FRestoring;
  SyncSites(false);
}

}  // namespace hakuvo
