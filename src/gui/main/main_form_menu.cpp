// The main window's commands, menus, tool strip and action panel.
#include <QAction>
#include <QApplication>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QMessageBox>
#include <QMimeData>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QVBoxLayout>

#include "core/settings/app_data.h"
#include "gui/common/error_box.h"
#include "gui/common/tool_icons.h"
#include "gui/document/view_menu_items.h"
#include "gui/links/link_form.h"
#include "gui/list/act_list_model.h"
#include "gui/list/act_list_view.h"
#include "gui/main/main_form.h"
#include "gui/map_settings/map_default_dialog.h"

namespace hakuvo {

QAction* TMainForm::MakeAction(TMainCommand command, const QString& text, const QKeySequence& shortcut,
                               void (TMainForm::*handler)()) {
  auto* action = new QAction(text, this);
  action->setShortcut(shortcut);
  if (handler != nullptr) connect(action, &QAction::triggered, this, handler);
  FActions.at(static_cast<std::size_t>(command)) = action;
  // The window carries every command too, so that shortcuts work while the menu bar is hidden
  // (full screen) and for the commands that have no menu entry.
  addAction(action);
  return action;
}

void TMainForm::CreateActions() {
  QStyle* style = QApplication::style();
  MakeAction(cmNew, QStringLiteral("新規作成(&N)"), QKeySequence(Qt::CTRL | Qt::Key_N), &TMainForm::NewCommand)
      ->setIcon(style->standardIcon(QStyle::SP_FileIcon));
  MakeAction(cmOpen, QStringLiteral("開く(&O)..."), QKeySequence(Qt::CTRL | Qt::Key_O), &TMainForm::OpenCommand)
      ->setIcon(style->standardIcon(QStyle::SP_DirOpenIcon));
  MakeAction(cmSave, QStringLiteral("上書き保存(&S)"), QKeySequence(Qt::CTRL | Qt::Key_S), &TMainForm::SaveCommand)
      ->setIcon(style->standardIcon(QStyle::SP_DialogSaveButton));
  MakeAction(cmSaveAs, QStringLiteral("名前を付けて保存(&A)..."), {}, &TMainForm::SaveAsCommand);
  connect(MakeAction(cmExit, QStringLiteral("終了(&X)"), {}, nullptr), &QAction::triggered, this, &QWidget::close);
  MakeAction(cmCategorySearch, QStringLiteral("抽出(&S)"), {}, &TMainForm::CategorySearchCommand);
  MakeAction(cmStringSearch, QStringLiteral("検索(&F)..."), QKeySequence(Qt::CTRL | Qt::Key_F),
             &TMainForm::StringSearchCommand);
  MakeAction(cmEnergyView, QStringLiteral("体重・消費カロリーを表示する(&E)"), {}, &TMainForm::EnergyViewCommand)
      ->setCheckable(true);
  MakeAction(cmPaceView, QStringLiteral("ペースを表示する(&P)"), {}, &TMainForm::PaceViewCommand)->setCheckable(true);
  // The window items: each closes its window when it is shown and shows it otherwise, and its
  // check mark follows the window. The items of the windows beyond the four graphs stay hidden
  // unless all features are shown.
  FViewItems = new TViewMenuItems(*FDocks, FAppData.get(), this);
  const std::pair<TMainCommand, const char*> windowItems[] = {{cmActGraph, "ActMultiGraphForm"},
                                                              {cmDayGraph, "GraphForm"},
                                                              {cmMonthGraph, "MonthGraphForm"},
                                                              {cmYearGraph, "YearGraphForm"}};
  for (const auto& [command, name] : windowItems) {
    FActions.at(static_cast<std::size_t>(command)) = FViewItems->FormAction(QString::fromUtf8(name));
  }
  MakeAction(cmFullScreen, QStringLiteral("全画面表示"), QKeySequence(Qt::Key_F11), &TMainForm::FullScreenCommand);
  MakeAction(cmAbout, QStringLiteral("バージョン情報(&A)"), {}, &TMainForm::AboutCommand);

  MakeAction(cmAddAct, QStringLiteral("アクション追加(&A)"), {}, &TMainForm::AddActCommand)->setIcon(ToolIcon(tiAdd));
  MakeAction(cmDeleteAct, QStringLiteral("アクション削除(&D)"), {}, &TMainForm::DeleteActCommand)
      ->setIcon(ToolIcon(tiDelete));
  MakeAction(cmEditAct, QStringLiteral("アクション編集(&E)"), {}, &TMainForm::EditActCommand)
      ->setIcon(ToolIcon(tiEdit));
  MakeAction(cmCategorySettings, QStringLiteral("カテゴリ設定"), {}, &TMainForm::CategorySettingsCommand)
      ->setIcon(ToolIcon(tiSettings));
  MakeAction(cmCategoryListSettings, QStringLiteral("カテゴリ設定(&C)..."), QKeySequence(Qt::Key_F8),
             &TMainForm::CategoryListSettingsCommand);
  MakeAction(cmSearchDown, QStringLiteral("検索下"), {}, &TMainForm::SearchDownCommand)
      ->setIcon(style->standardIcon(QStyle::SP_ArrowDown));
  MakeAction(cmSearchUp, QStringLiteral("検索上"), {}, &TMainForm::SearchUpCommand)
      ->setIcon(style->standardIcon(QStyle::SP_ArrowUp));
  Action(cmAddAct)->setToolTip(QStringLiteral("アクション追加"));
  Action(cmDeleteAct)->setToolTip(QStringLiteral("アクション削除"));
  Action(cmEditAct)->setToolTip(QStringLiteral("アクション編集"));
  Action(cmCategorySettings)->setToolTip(QStringLiteral("カテゴリ設定"));
}

void TMainForm::CreateMenus() {
  FFileMenu = menuBar()->addMenu(QStringLiteral("ファイル(&F)"));
  FFileMenu->addActions({Action(cmNew), Action(cmOpen), Action(cmSave), Action(cmSaveAs)});
  FFileMenu->addSeparator();
  FFileMenu->addAction(Action(cmExit));
  QMenu* searchMenu = menuBar()->addMenu(QStringLiteral("検索(&S)"));
  searchMenu->addAction(Action(cmCategorySearch));
  QMenu* viewMenu = menuBar()->addMenu(QStringLiteral("表示(&V)"));
  FViewMenu = viewMenu;
  viewMenu->addAction(Action(cmEnergyView));
  viewMenu->addAction(Action(cmPaceView));
  viewMenu->addSeparator();
  FViewItems->AddFormItems(*viewMenu);
  viewMenu->addSeparator();
  // The map's start view: the map reads it when it loads its page, once a run.
  auto* mapDefaults = new QAction(QStringLiteral("地図初期表示設定(&M)..."), this);
  mapDefaults->setObjectName(QStringLiteral("MapDefaultCommand"));
  mapDefaults->setStatusTip(QStringLiteral("地図初期表示設定"));
  connect(mapDefaults, &QAction::triggered, this, [this] {
    TMapDefaultDialog dialog(this);
    dialog.SetMapDefaultInfo(&FAppData->ChildWindowInfo.MapDefaultInfo);
    dialog.SetErrorHandler([this, &dialog](const QString& message) { FHooks.Error(&dialog, message); });
    if (FHooks.RunDialog(dialog) != QDialog::Accepted) return;
    QMessageBox::information(this, AppTitle(), QStringLiteral("地図初期表示設定は次回起動時から有効になります"));
  });
  viewMenu->addAction(mapDefaults);
  FViewItems->AddExtendedCommand(mapDefaults);
  viewMenu->addAction(Action(cmFullScreen));
  FViewItems->AddShowAllItem(*viewMenu);
  QMenu* helpMenu = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
  helpMenu->addAction(Action(cmAbout));
  for (QMenu* menu : {FFileMenu, searchMenu, viewMenu, helpMenu}) {
    connect(menu, &QMenu::aboutToShow, this, &TMainForm::UpdateCommandStates);
  }

  FListPopupMenu = new QMenu(this);
  FListPopupMenu->addActions({Action(cmAddAct), Action(cmDeleteAct), Action(cmEditAct)});
  connect(FListPopupMenu, &QMenu::aboutToShow, this, &TMainForm::UpdateCommandStates);
}

void TMainForm::CreateToolStrip() {
  FToolStrip = new QToolBar(QStringLiteral("ToolStrip"), this);
  FToolStrip->setObjectName(QStringLiteral("ToolStrip"));
  FToolStrip->setMovable(false);
  FToolStrip->setFloatable(false);
  FToolStrip->setIconSize(QSize(16, 16));
  FToolStrip->setFixedHeight(29);
  FToolStrip->setContextMenuPolicy(Qt::PreventContextMenu);
  FToolStrip->addActions({Action(cmNew), Action(cmOpen), Action(cmSave)});
  Action(cmNew)->setToolTip(QStringLiteral("新規作成"));
  Action(cmOpen)->setToolTip(QStringLiteral("開く"));
  Action(cmSave)->setToolTip(QStringLiteral("上書き保存"));
  auto* spacer = new QWidget(FToolStrip);
  spacer->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Preferred);
  FToolStrip->addWidget(spacer);
  FSearchEdit = new QLineEdit(FToolStrip);
  FSearchEdit->setObjectName(QStringLiteral("SearchEdit"));
  FSearchEdit->setPlaceholderText(QStringLiteral("検索"));
  FSearchEdit->setFixedWidth(173);
  FSearchEdit->installEventFilter(this);
  FToolStrip->addWidget(FSearchEdit);
  auto makeButton = [this](TMainCommand command) {
    auto* button = new QToolButton(FToolStrip);
    button->setDefaultAction(Action(command));
    button->setAutoRaise(true);
    button->setToolButtonStyle(Qt::ToolButtonIconOnly);
    button->setIconSize(QSize(12, 12));
    FToolStrip->addWidget(button);
    return button;
  };
  FSearchDownButton = makeButton(cmSearchDown);
  FSearchUpButton = makeButton(cmSearchUp);
  addToolBar(Qt::TopToolBarArea, FToolStrip);
}

void TMainForm::CreateActPanel() {
  FActPanel = new QWidget(this);
  FActPanel->setObjectName(QStringLiteral("ActPanel"));
  auto* layout = new QVBoxLayout(FActPanel);
  layout->setContentsMargins(8, 2, 8, 8);
  layout->setSpacing(2);
  FActToolBar = new QToolBar(FActPanel);
  FActToolBar->setObjectName(QStringLiteral("ActToolBar"));
  FActToolBar->setIconSize(QSize(16, 16));
  FActToolBar->addActions({Action(cmAddAct), Action(cmDeleteAct), Action(cmEditAct)});
  FActToolBar->addSeparator();
  FActToolBar->addAction(Action(cmCategorySettings));
  layout->addWidget(FActToolBar);

  FListModel = new TActListModel(this);
  FListModel->SetCategoryInfoList(&CategoryInfoList());
  FListView = new TActListView(FActPanel);
  FListView->setObjectName(QStringLiteral("ActListView"));
  FListView->setModel(FListModel);
  FListView->header()->setMinimumSectionSize(MinimumColumnWidth);
  FListView->setContextMenuPolicy(Qt::CustomContextMenu);
  connect(FListView, &QWidget::customContextMenuRequested, this,
          [this](const QPoint& position) { FListPopupMenu->popup(FListView->viewport()->mapToGlobal(position)); });
  connect(FListView, &TActListView::DeletePressed, this, &TMainForm::DeleteActCommand);
  connect(FListView, &TActListView::EnterPressed, this, &TMainForm::EditActCommand);
  connect(FListView, &TActListView::RowDoubleClicked, this, [this](int) { EditActCommand(); });
  FListView->SetRowDropFormat(TLinkForm::LinkDragFormat());
  connect(FListView, &TActListView::RowDropped, this, &TMainForm::DropLinksOnRow);
  connect(FListView->selectionModel(), &QItemSelectionModel::selectionChanged, this,
          [this](const QItemSelection& selected, const QItemSelection&) {
            QList<int> rows;
            for (const QModelIndex& index : selected.indexes()) {
              if (index.column() == 0) rows.append(index.row());
            }
            OnSelectionChanged(rows);
            ScheduleCommandUpdate();
          });
  connect(FListModel, &QAbstractItemModel::modelReset, this, &TMainForm::ScheduleCommandUpdate);
  connect(FListModel, &QAbstractItemModel::rowsRemoved, this, &TMainForm::ScheduleCommandUpdate);
  layout->addWidget(FListView, 1);
  setCentralWidget(FActPanel);
}

bool TMainForm::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FSearchEdit && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<QKeyEvent*>(event);
    if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
      if (key->modifiers() & Qt::ShiftModifier) {
        SearchUpCommand();
      } else {
        SearchDownCommand();
      }
      return true;
    }
  }
  return QMainWindow::eventFilter(watched, event);
}

void TMainForm::UpdateCommandStates() {
  const bool selected = FListView->selectionModel() != nullptr && FListView->selectionModel()->hasSelection();
  Action(cmDeleteAct)->setEnabled(selected);
  Action(cmEditAct)->setEnabled(selected);
  Action(cmAddAct)->setEnabled(true);
  Action(cmCategorySettings)->setEnabled(true);
  Action(cmEnergyView)->setChecked(FIsViewEnergyConsumption);
  Action(cmPaceView)->setChecked(FIsViewPace);
  FViewItems->Update();
}

}  // namespace hakuvo
