#include "gui/main/history_menu.h"

#include <QAction>
#include <QMenu>

namespace hakuvo {

namespace {

// The entry shows the file's name without its folder; paths from other systems may use "\".
QString EntryCaption(const std::string& path) {
  const std::size_t slash = path.find_last_of("/\\");
  const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  // A single "&" would become an access key and vanish from the caption.
  return QString::fromStdString(name).replace(QLatin1Char('&'), QStringLiteral("&&"));
}

}  // namespace

THistoryMenu::THistoryMenu(QObject* parent) : QObject(parent) {}

void THistoryMenu::SetTargetMenu(QMenu* menu) {
  RemoveEntries();
  FTargetMenu = menu;
  BuildEntries();
}

void THistoryMenu::SetHistoryNum(int value) {
  RemoveEntries();
  FHistoryNum = value;
  if (value > 0) FHistoryList.SetMax(value);
  BuildEntries();
}

void THistoryMenu::Load() {
  RemoveEntries();
  FHistoryList.Load(FFileName);
  BuildEntries();
}

void THistoryMenu::Save() const { FHistoryList.Save(FFileName); }

void THistoryMenu::Add(const std::string& path) {
  if (path.empty()) return;
  RemoveEntries();
  const TStringList before = FHistoryList.Items();
  FHistoryList.Add(path);
  BuildEntries();
  if (FHistoryList.Items() != before) emit ListChanged();
}

void THistoryMenu::Remove(const std::string& path) {
  RemoveEntries();
  const TStringList before = FHistoryList.Items();
  FHistoryList.Remove(path);
  BuildEntries();
  if (FHistoryList.Items() != before) emit ListChanged();
}

void THistoryMenu::Clear() {
  RemoveEntries();
  const bool wasEmpty = FHistoryList.Items().empty();
  FHistoryList.Clear();
  if (!wasEmpty) emit ListChanged();
}

void THistoryMenu::RemoveEntries() {
  for (QAction* entry : FEntries) {
    if (FTargetMenu) FTargetMenu->removeAction(entry);
    // The entry may be the one whose signal is being delivered right now.
    entry->deleteLater();
  }
  FEntries.clear();
  if (FSeparator != nullptr) {
    if (FTargetMenu) FTargetMenu->removeAction(FSeparator);
    FSeparator->deleteLater();
    FSeparator = nullptr;
  }
}

void THistoryMenu::BuildEntries() {
  if (!FTargetMenu || FHistoryNum <= 0 || FHistoryList.Count() == 0) return;
  const QList<QAction*> actions = FTargetMenu->actions();
  QAction* before = actions.isEmpty() ? nullptr : actions.last();
  for (std::size_t i = 0; i < FHistoryList.Count(); ++i) {
    auto* entry = new QAction(EntryCaption(FHistoryList[i]), this);
    entry->setToolTip(QString::fromStdString(FHistoryList[i]));
    const int index = static_cast<int>(i);
    connect(entry, &QAction::triggered, this, [this, index] { OnEntryTriggered(index); });
    FTargetMenu->insertAction(before, entry);
    FEntries.push_back(entry);
  }
  FSeparator = new QAction(this);
  FSeparator->setSeparator(true);
  FTargetMenu->insertAction(before, FSeparator);
}

void THistoryMenu::OnEntryTriggered(int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= FHistoryList.Count()) return;
  const std::string path = FHistoryList[static_cast<std::size_t>(index)];
  // The handler may rebuild the menu (and free this entry) while it runs.
  emit HistorySelected(path);
  if (FHistoryList.IndexOf(path) >= 0) Add(path);
}

}  // namespace hakuvo
