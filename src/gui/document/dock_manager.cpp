#include "gui/document/dock_manager.h"

#include <QApplication>
#include <QDockWidget>
#include <QGuiApplication>
#include <QLayout>
#include <QMainWindow>
#include <QMenu>
#include <QMouseEvent>
#include <QScreen>
#include <QTabBar>
#include <algorithm>

#include "gui/document/diary_document.h"
#include "gui/document/dock_parts.h"

namespace hakuvo {

namespace {

Qt::DockWidgetArea AreaOf(TDockSite panel) {
  return panel == dsRightPanel ? Qt::RightDockWidgetArea : Qt::BottomDockWidgetArea;
}

// Index of a panel in the per-panel arrays.
std::size_t PanelIndex(TDockSite panel) { return panel == dsRightPanel ? 0 : 1; }

// The panel a tab strip's windows dock into.
TDockSite PanelOfStrip(TDockSite strip) { return strip == dsRightTabs ? dsRightPanel : dsBottomPanel; }

bool IsPanel(TDockSite site) { return site == dsRightPanel || site == dsBottomPanel; }
bool IsStrip(TDockSite site) { return site == dsRightTabs || site == dsBottomTabs; }

}  // namespace

// The place of a floating window is where its frame starts, and its size that of its inside:
// what the user sees, and what comes back the same after a restart whatever the frame.
QRect FloatingBounds(const QWidget& window) { return {window.pos(), window.size()}; }

void PlaceFloating(QWidget& window, const QRect& bounds) {
  window.resize(bounds.size());
  window.move(bounds.topLeft());
}

TDockManager::TDockManager(QMainWindow& window, TDiaryDocument* document, const TDockingFormFactory& factory)
    : QObject(&window), FWindow(window), FDocument(document) {
  // Panes of a panel may stand side by side or stacked, and share a place as tabs.
  FWindow.setDockOptions(QMainWindow::AllowNestedDocks | QMainWindow::AllowTabbedDocks);
  FRightStrip = new TTabStrip(QStringLiteral("RightTabSet"), true, &FWindow);
  FBottomStrip = new TTabStrip(QStringLiteral("BottomTabSet"), false, &FWindow);
  FWindow.addToolBar(Qt::RightToolBarArea, FRightStrip);
  FWindow.addToolBar(Qt::BottomToolBarArea, FBottomStrip);
  FRightStrip->setFixedWidth(TabStripThickness);
  FBottomStrip->setFixedHeight(TabStripThickness);
  FRightStrip->hide();
  FBottomStrip->hide();
  for (TTabStrip* strip : {FRightStrip, FBottomStrip}) {
    const TDockSite site = strip == FRightStrip ? dsRightTabs : dsBottomTabs;
    connect(strip->Bar(), &QTabBar::tabBarClicked, this, [this, site](int index) { OnTabClicked(site, index); });
  }
  FPopOut = new TTabPopOut(
      &FWindow,
      [this] {
        if (TDockingForm* form = PoppedOutForm()) DockInto(form, PanelOfStrip(Find(form)->TabSite));
      },
      [this] {
        if (TDockingForm* form = PoppedOutForm()) CloseForm(form);
      });
  CreateForms(factory);
  FWindow.installEventFilter(this);
  if (FDocument) ConnectDocument();
}

TDockManager::~TDockManager() {
  if (FWatchingClicks) qApp->removeEventFilter(this);
  // The windows go with their frames, before the main window they belong to.
  for (TEntry& entry : FEntries) {
    if (entry.Host->widget() != entry.Form) entry.Host->TakeBackForm();
    delete entry.Host;
  }
}

void TDockManager::CreateForms(const TDockingFormFactory& factory) {
  FEntries.reserve(DockingFormCount);
  for (const char* rawName : DockingFormCreationOrder()) {
    const QString name = QString::fromUtf8(rawName);
    const TDockingFormKind& kind = *FindDockingFormKind(name);
    TDockingForm* form = factory ? factory(name) : nullptr;
    if (form == nullptr) form = new TDockingForm(name, QString::fromUtf8(kind.Caption));
    // The stored layout knows a window by this name only.
    form->setObjectName(name);
    if (form->Caption().isEmpty()) form->SetCaption(QString::fromUtf8(kind.Caption));
    TEntry entry;
    entry.Form = form;
    entry.Host = new TDockHost(
        form, &FWindow, [this](TDockingForm* closing) { CloseForm(closing); },
        [this](TDockingForm* target, const QPoint& globalPos) { ShowHostMenu(target, globalPos); });
    // A window starts hidden and floating, outside every panel.
    entry.Host->hide();
    FWindow.addDockWidget(Qt::RightDockWidgetArea, entry.Host);
    entry.Host->setFloating(true);
    entry.Host->resize(TDockingForm::DesignWidth, TDockingForm::DesignHeight);
    connect(entry.Host, &QDockWidget::topLevelChanged, this, &TDockManager::OnHostMoved);
    connect(entry.Host, &QDockWidget::dockLocationChanged, this, &TDockManager::OnHostMoved);
    connect(entry.Host, &QDockWidget::visibilityChanged, this, &TDockManager::FormVisibilityChanged);
    connect(form, &TDockingForm::CloseRequested, this, [this, form] { CloseForm(form); });
    entry.Host->installEventFilter(this);
    FEntries.push_back(entry);
  }
  for (const TDockingFormKind& kind : DockingFormKinds())
    FForms.push_back(FindByName(QString::fromUtf8(kind.Name))->Form);
}

void TDockManager::ConnectDocument() {
  TDiaryDocument* document = FDocument;
  for (TDockingForm* form : FForms) {
    connect(document, &TDiaryDocument::DataChanged, form, &TDockingForm::RefreshData, Qt::QueuedConnection);
    connect(document, &TDiaryDocument::LinkViewChanged, form, &TDockingForm::LinkViewChanged, Qt::QueuedConnection);
    connect(document, &TDiaryDocument::GpsRangeChanged, form, &TDockingForm::GpsRangeChanged, Qt::QueuedConnection);
  }
  // A rearranged layout is a change of the diary: the file keeps the layout too.
  connect(this, &TDockManager::LayoutChanged, document, [document] { document->SetIsChange(true); });
  // The file's window section is written from the windows as they are, never from a layout
  // that was only read with the file.
  connect(
      document, &TDiaryDocument::AboutToSave, this, [this] { StoreLayout(FDocument->ChildWindowInfo()); },
      Qt::DirectConnection);
  // Panels and strips left empty by a closed window are hidden already; this keeps the strips'
  // bookkeeping right when a window closed itself some other way.
  connect(
      document, &TDiaryDocument::ChildClosed, this, [this] { SyncSites(false); }, Qt::QueuedConnection);
}

TDockManager::TEntry* TDockManager::Find(const TDockingForm* form) {
  for (TEntry& entry : FEntries) {
    if (entry.Form == form) return &entry;
  }
  return nullptr;
}

const TDockManager::TEntry* TDockManager::Find(const TDockingForm* form) const {
  return const_cast<TDockManager*>(this)->Find(form);
}

TDockManager::TEntry* TDockManager::FindByName(const QString& name) {
  for (TEntry& entry : FEntries) {
    if (entry.Form->Name() == name) return &entry;
  }
  return nullptr;
}

TDockingForm* TDockManager::Form(const QString& name) const {
  const TEntry* entry = const_cast<TDockManager*>(this)->FindByName(name);
  return entry != nullptr ? entry->Form : nullptr;
}

QDockWidget* TDockManager::Host(const TDockingForm* form) const {
  const TEntry* entry = Find(form);
  return entry != nullptr ? entry->Host : nullptr;
}

TTabStrip* TDockManager::Strip(TDockSite strip) const { return strip == dsRightTabs ? FRightStrip : FBottomStrip; }

QTabBar* TDockManager::TabBar(TDockSite strip) const { return IsStrip(strip) ? Strip(strip)->Bar() : nullptr; }

int TDockManager::TabStripSize(TDockSite strip) const {
  return IsStrip(strip) && Strip(strip)->Bar()->count() > 0 ? TabStripThickness : 0;
}

TDockSite TDockManager::PanelOf(const TDockHost* host) const {
  if (host->isFloating()) return dsFloating;
  switch (FWindow.dockWidgetArea(const_cast<TDockHost*>(host))) {
    case Qt::RightDockWidgetArea:
      return dsRightPanel;
    case Qt::BottomDockWidgetArea:
      return dsBottomPanel;
    default:
      return dsFloating;
  }
}

TDockSite TDockManager::Site(const TDockingForm* form) const {
  const TEntry* entry = Find(form);
  if (entry == nullptr) return dsFloating;
  if (entry->TabSite != dsFloating) return entry->TabSite;
  return PanelOf(entry->Host);
}

bool TDockManager::IsFormShown(const TDockingForm* form) const {
  const TEntry* entry = Find(form);
  if (entry == nullptr) return false;
  if (entry->TabSite != dsFloating) return true;
  return !entry->Host->isHidden();
}

std::vector<TDockHost*> TDockManager::PanelHosts(TDockSite panel) const {
  std::vector<const TEntry*> entries;
  for (const TEntry& entry : FEntries) {
    if (entry.TabSite == dsFloating && !entry.Host->isHidden() && PanelOf(entry.Host) == panel) {
      entries.push_back(&entry);
    }
  }
  std::stable_sort(entries.begin(), entries.end(),
                   [](const TEntry* a, const TEntry* b) { return a->DockOrder < b->DockOrder; });
  std::vector<TDockHost*> hosts;
  for (const TEntry* entry : entries) hosts.push_back(entry->Host);
  return hosts;
}

bool TDockManager::IsPanelShown(TDockSite panel) const { return IsPanel(panel) && !PanelHosts(panel).empty(); }

int TDockManager::PanelSize(TDockSite panel) const {
  if (!IsPanel(panel)) return 0;
  const std::vector<TDockHost*> hosts = PanelHosts(panel);
  if (hosts.empty() || FRestoring > 0) return FPanelSize[PanelIndex(panel)];
  // Panes may stand side by side or stacked: the panel is what they cover together.
  QRect covered;
  for (const TDockHost* host : hosts) covered = covered.united(host->geometry());
  return panel == dsRightPanel ? covered.width() : covered.height();
}

QRect TDockManager::Desktop() const {
  const QScreen* screen = FWindow.screen() != nullptr ? FWindow.screen() : QGuiApplication::primaryScreen();
  return screen != nullptr ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
}

void TDockManager::LeaveTabStrip(TEntry& entry) {
  if (entry.TabSite == dsFloating) return;
  if (FPopOut->Form() == entry.Form) {
    FPopOut->hide();
    FPopOut->ClearForm();
  }
  TTabStrip* strip = Strip(entry.TabSite);
  const int index = strip->TabOf(entry.Form->Name());
  if (index >= 0) strip->Bar()->removeTab(index);
  entry.TabSite = dsFloating;
  entry.Host->TakeBackForm();
}

void TDockManager::AddTab(TEntry& entry, TDockSite strip) {
  LeaveTabStrip(entry);
  // Out of the dock areas altogether: the frame waits, hidden, for the window to come back.
  FWindow.removeDockWidget(entry.Host);
  entry.TabSite = strip;
  QTabBar* bar = Strip(strip)->Bar();
  // The tab keeps the caption the window had when it docked.
  const int index = bar->addTab(entry.Form->Caption());
  bar->setTabData(index, entry.Form->Name());
  entry.IsPlaced = true;
}

void TDockManager::PlaceInPanel(TEntry& entry, TDockSite panel) {
  LeaveTabStrip(entry);
  // Taken out first: adding a frame that is still in a dock area would list it twice.
  FWindow.removeDockWidget(entry.Host);
  FWindow.addDockWidget(AreaOf(panel), entry.Host, panel == dsRightPanel ? Qt::Vertical : Qt::Horizontal);
  entry.Host->setFloating(false);
  entry.Host->show();
  entry.IsPlaced = true;
  entry.LastPanel = panel;
  entry.DockOrder = ++FDockCounter;
}

void TDockManager::ApplyPanelSize(TDockSite panel) {
  const std::vector<TDockHost*> hosts = PanelHosts(panel);
  if (hosts.empty()) return;
  const int size = FPanelSize[PanelIndex(panel)];
  // Qt sizes docks from the laid-out panel; a frame that has just arrived is not laid out yet.
  FWindow.layout()->activate();
  QList<QDockWidget*> docks{hosts.front()};
  FWindow.resizeDocks(docks, {size}, panel == dsRightPanel ? Qt::Horizontal : Qt::Vertical);
}

void TDockManager::EvenPanes(TDockSite panel) {
  if (!IsPanel(panel)) return;
  const std::vector<TDockHost*> hosts = PanelHosts(panel);
  if (hosts.size() < 2) return;
  // Panes follow the panel's length: stacked in the right panel, side by side in the bottom one.
  const bool right = panel == dsRightPanel;
  const int length = right ? FWindow.height() : FWindow.width();
  const int each = std::max(1, length / static_cast<int>(hosts.size()));
  QList<QDockWidget*> docks(hosts.begin(), hosts.end());
  QList<int> sizes(docks.size(), each);
  FWindow.layout()->activate();
  FWindow.resizeDocks(docks, sizes, right ? Qt::Vertical : Qt::Horizontal);
}

void TDockManager::RememberPanelSizes() {
  if (FRestoring > 0 || !FWindow.isVisible()) return;
  FWindow.layout()->activate();
  for (TDockSite panel : {dsRightPanel, dsBottomPanel}) {
    if (!IsPanelShown(panel)) continue;
    const int size = PanelSize(panel);
    if (IsUsableWindowSize(size)) FPanelSize[PanelIndex(panel)] = size;
  }
}

void TDockManager::UpdateStrips() {
  const TEntry* out = FPopOut->isVisible() && FPopOut->Form() != nullptr ? Find(FPopOut->Form()) : nullptr;
  for (TTabStrip* strip : {FRightStrip, FBottomStrip}) {
    strip->setVisible(strip->Bar()->count() > 0);
    strip->SetTabHighlighted(out != nullptr && Strip(out->TabSite) == strip);
  }
  if (FPopOut->isVisible()) PlacePopOut();
}

void TDockManager::SyncSites(bool byUser) {
  for (TDockSite panel : {dsRightPanel, dsBottomPanel}) {
    const bool shown = IsPanelShown(panel);
    // A panel that comes back takes the size it had when it was last shown.
    if (shown && !FPanelShown[PanelIndex(panel)] && FRestoring == 0) ApplyPanelSize(panel);
    FPanelShown[PanelIndex(panel)] = shown;
  }
  for (TEntry& entry : FEntries) {
    const TDockSite panel = entry.TabSite == dsFloating && !entry.Host->isHidden() ? PanelOf(entry.Host) : dsFloating;
    if (panel != entry.LastPanel) {
      entry.LastPanel = panel;
      if (panel != dsFloating) entry.DockOrder = ++FDockCounter;
    }
  }
  UpdateStrips();
  if (byUser && FRestoring == 0) emit LayoutChanged();
  emit FormVisibilityChanged();
}

void TDockManager::OnHostMoved() {
  // Qt moved a frame: the user dragged it into a panel or out of one.
  if (FRestoring == 0) SyncSites(true);
}

void TDockManager::DockInto(TDockingForm* form, TDockSite site) {
  TEntry* entry = Find(form);
  if (entry == nullptr) return;
  RememberPanelSizes();
  if (IsPanel(site)) {
    PlaceInPanel(*entry, site);
  } else if (IsStrip(site)) {
    AddTab(*entry, site);
  } else {
    MakeFloating(form, FloatingBounds(*entry->Host));
    return;
  }
  SyncSites(true);
}

void TDockManager::MakeFloating(TDockingForm* form, const QRect& bounds) {
  TEntry* entry = Find(form);
  if (entry == nullptr) return;
  RememberPanelSizes();
  LeaveTabStrip(*entry);
  if (!entry->Host->isFloating()) {
    FWindow.removeDockWidget(entry->Host);
    FWindow.addDockWidget(Qt::RightDockWidgetArea, entry->Host);
    entry->Host->setFloating(true);
  }
  PlaceFloating(*entry->Host, bounds);
  entry->Host->show();
  entry->IsPlaced = true;
  SyncSites(true);
}

void TDockManager::ShowForm(TDockingForm* form) {
  TEntry* entry = Find(form);
  if (entry == nullptr || IsFormShown(form)) return;
  if (!entry->IsPlaced) {
    // Never shown yet: docked beside the list rather than dropped over it, with room to be read.
    const TDockSite panel = PanelWithRoomFor(form);
    if (panel != dsFloating) {
      // Showing a window is no change of the layout the user made, as for any other show.
      RememberPanelSizes();
      ++FRestoring;
      PlaceInPanel(*entry, panel);
      --FRestoring;
      SyncSites(false);
      GiveUsableLength(*entry, panel);
      return;
    }
    // Both panels are full: floating, each newcomer a step further down and right than the last,
    // so that none hides another.
    constexpr int kStep = 32;
    QRect bounds(0, 0, TDockingForm::DesignWidth, TDockingForm::DesignHeight);
    bounds.moveTopLeft(FWindow.geometry().topLeft() + QPoint(kStep, kStep) * (1 + FCascaded++ % 8));
    PlaceFloating(*entry->Host, bounds);
    entry->IsPlaced = true;
  }
  entry->Host->show();
  SyncSites(false);
}

void TDockManager::CloseForm(TDockingForm* form) {
  TEntry* entry = Find(form);
  // A window closed already has nothing to report.
  if (entry == nullptr || !IsFormShown(form)) return;
  RememberPanelSizes();
  const bool wasFloating = entry->TabSite == dsFloating && entry->Host->isFloating();
  if (!wasFloating) {
    // Undocked first, so that the window comes back floating at the desktop's corner.
    LeaveTabStrip(*entry);
    entry->Host->hide();
    FWindow.removeDockWidget(entry->Host);
    FWindow.addDockWidget(Qt::RightDockWidgetArea, entry->Host);
    entry->Host->setFloating(true);
    const QRect desktop = Desktop();
    PlaceFloating(*entry->Host, QRect(desktop.left(), desktop.top(), DefaultFloatingWidth, DefaultFloatingHeight));
  }
  entry->Host->hide();
  entry->IsPlaced = true;
  SyncSites(false);
  if (FDocument) emit FDocument->ChildClosed();
}

void TDockManager::ToggleForm(TDockingForm* form) {
  if (IsFormShown(form)) {
    CloseForm(form);
  } else {
    ShowForm(form);
  }
}

TDockingForm* TDockManager::PoppedOutForm() const { return FPopOut->isVisible() ? FPopOut->Form() : nullptr; }

void TDockManager::OnTabClicked(TDockSite strip, int index) {
  if (index < 0) return;
  const QString name = Strip(strip)->Bar()->tabData(index).toString();
  TDockingForm* form = Form(name);
  if (form == nullptr) return;
  // The chosen tab again puts its window away.
  if (PoppedOutForm() == form) {
    HidePopOut();
  } else {
    PopOut(form);
  }
}

void TDockManager::PopOut(TDockingForm* form) {
  TEntry* entry = Find(form);
  if (entry == nullptr || entry->TabSite == dsFloating) return;
  if (FPopOut->Form() != nullptr && FPopOut->Form() != form) {
    if (TEntry* previous = Find(FPopOut->Form())) previous->Host->TakeBackForm();
    FPopOut->ClearForm();
  }
  FPopOut->SetForm(form);
  PlacePopOut();
  FPopOut->show();
  FPopOut->raise();
  QTabBar* bar = Strip(entry->TabSite)->Bar();
  bar->setCurrentIndex(Strip(entry->TabSite)->TabOf(form->Name()));
  UpdateStrips();
  if (!FWatchingClicks) {
    // A click anywhere else in the program puts the window away again.
    qApp->installEventFilter(this);
    FWatchingClicks = true;
  }
}

void TDockManager::HidePopOut() {
  FPopOut->hide();
  for (TTabStrip* strip : {FRightStrip, FBottomStrip}) strip->SetTabHighlighted(false);
  if (FWatchingClicks) {
    qApp->removeEventFilter(this);
    FWatchingClicks = false;
  }
}

QRect TDockManager::PopOutGeometry() const {
  const TDockingForm* form = FPopOut->Form();
  const TEntry* entry = form != nullptr ? Find(form) : nullptr;
  if (entry == nullptr || entry->TabSite == dsFloating) return {};
  // Beside the strip, over the work area and any panel, never beyond the main window.
  const QRect client = FWindow.rect();
  const int rightEdge = FRightStrip->isVisible() ? FRightStrip->geometry().left() : client.right() + 1;
  const int bottomEdge = FBottomStrip->isVisible() ? FBottomStrip->geometry().top() : client.bottom() + 1;
  const QWidget* menu = FWindow.menuWidget();
  const int top = menu != nullptr && menu->isVisible() ? menu->geometry().bottom() + 1 : 0;
  if (entry->TabSite == dsRightTabs) {
    // As tall as the strip itself, which stands between the tool bars above and below.
    const QRect strip = FRightStrip->geometry();
    const int width = std::clamp(entry->TabSize.width(), MinWindowSize, std::max(MinWindowSize, rightEdge));
    return {rightEdge - width, strip.top(), width, std::max(MinWindowSize, strip.height())};
  }
  const int height = std::clamp(entry->TabSize.height(), MinWindowSize, std::max(MinWindowSize, bottomEdge - top));
  return {0, bottomEdge - height, std::max(MinWindowSize, rightEdge), height};
}

void TDockManager::PlacePopOut() { FPopOut->setGeometry(PopOutGeometry()); }

void TDockManager::ShowHostMenu(TDockingForm* form, const QPoint& globalPos) {
  // Qt cannot drop a frame onto a tab strip, so the caption's menu offers the places instead.
  QMenu menu;
  const struct {
    const char* Text;
    TDockSite Site;
  } places[] = {
      {"右パネルに配置", dsRightPanel},
      {"下パネルに配置", dsBottomPanel},
      {"右のタブに格納", dsRightTabs},
      {"下のタブに格納", dsBottomTabs},
  };
  for (const auto& place : places) {
    QAction* action = menu.addAction(QString::fromUtf8(place.Text));
    const TDockSite site = place.Site;
    connect(action, &QAction::triggered, this, [this, form, site] { DockInto(form, site); });
  }
  menu.exec(globalPos);
}

bool TDockManager::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  if (watched == &FWindow) {
    if (type == QEvent::Resize && FPopOut->isVisible()) PlacePopOut();
    // Of the main window's own area, only the splitters between the panels take the mouse;
    // presses on its children reach it too, but from a point a child covers.
    if (type == QEvent::MouseButtonPress) {
      const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
      FSeparatorPressed = FWindow.childAt(pos) == nullptr;
    }
    if (type == QEvent::MouseButtonRelease && FSeparatorPressed) {
      FSeparatorPressed = false;
      RememberPanelSizes();
      if (FRestoring == 0) emit LayoutChanged();
    }
    if (type == QEvent::MouseButtonDblClick) {
      const QPoint pos = static_cast<QMouseEvent*>(event)->position().toPoint();
      if (FWindow.childAt(pos) != nullptr) return false;
      for (TDockSite panel : {dsRightPanel, dsBottomPanel}) {
        QRect area;
        for (const TDockHost* host : PanelHosts(panel)) area = area.united(host->geometry());
        if (!area.isNull() && area.adjusted(-8, -8, 8, 8).contains(pos)) EvenPanes(panel);
      }
    }
    return false;
  }
  // A press on a frame's caption may start dragging the last window out of its panel.
  if (type == QEvent::MouseButtonPress && dynamic_cast<TDockHost*>(watched) != nullptr) RememberPanelSizes();
  if (FWatchingClicks && type == QEvent::MouseButtonPress) {
    auto* widget = qobject_cast<QWidget*>(watched);
    const bool inside = widget != nullptr && (widget == FPopOut || FPopOut->isAncestorOf(widget) ||
                                              widget == FRightStrip || FRightStrip->isAncestorOf(widget) ||
                                              widget == FBottomStrip || FBottomStrip->isAncestorOf(widget));
    if (widget != nullptr && !inside && widget->window() == &FWindow) HidePopOut();
  }
  return false;
}

}  // namespace hakuvo
