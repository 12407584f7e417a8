#pragma once

#include <QMenu>
#include <QObject>
#include <QPointer>
#include <QString>
#include <filesystem>
#include <string>
#include <vector>

#include "core/settings/history_menu_list.h"

class QAction;

namespace hakuvo {

// The recent files of the File menu: the list, its menu entries just before the menu's last
// item, and its place in the settings file of the mode.
class THistoryMenu : public QObject {
  Q_OBJECT

 public:
  explicit THistoryMenu(QObject* parent = nullptr);

  THistoryMenuList& HistoryList() { return FHistoryList; }
  const THistoryMenuList& HistoryList() const { return FHistoryList; }

  QMenu* TargetMenu() const { return FTargetMenu; }
  void SetTargetMenu(QMenu* menu);
  // How many entries are kept and shown; 0 shows none.
  int HistoryNum() const { return FHistoryNum; }
  void SetHistoryNum(int value);
  // The settings file that stores the list.
  const std::filesystem::path& FileName() const { return FFileName; }
  void SetFileName(const std::filesystem::path& value) { FFileName = value; }

  // Reads the list from the settings file and builds the entries.
  void Load();
  // Writes the list into the settings file (throws EHakuvoError when that fails).
  void Save() const;
  void Add(const std::string& path);
  void Remove(const std::string& path);
  void Clear();

  // The entries now in the menu, in list order.
  const std::vector<QAction*>& EntryActions() const { return FEntries; }

 signals:
  // An entry was chosen; the path is the entry's as stored.
  // The path as the list holds it: a name that is not UTF-8 would not survive a QString.
  void HistorySelected(const std::string& path);
  // Add, Remove or Clear changed the list (its entries or their order).
  void ListChanged();

 private:
  void RemoveEntries();
  void BuildEntries();
  void OnEntryTriggered(int index);

  THistoryMenuList FHistoryList;
  QPointer<QMenu> FTargetMenu;
  int FHistoryNum = THistoryMenuList::DefaultMax;
  std::filesystem::path FFileName;
  std::vector<QAction*> FEntries;
  QAction* FSeparator = nullptr;
};

}  // namespace hakuvo
