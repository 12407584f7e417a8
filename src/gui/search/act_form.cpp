#include "gui/search/act_form.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QClipboard>
#include <QComboBox>
#include <QCompleter>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QShowEvent>
#include <QStringListModel>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "core/common/hakuvo_error.h"
#include "core/expr/expression.h"
#include "core/expr/expression_messages.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_text.h"
#include "gui/common/tool_icons.h"
#include "gui/common/wait_cursor.h"
#include "gui/document/diary_document.h"

namespace hakuvo {

namespace {

QStringList ToQStringList(const std::vector<std::string>& texts) {
  QStringList list;
  for (const auto& text : texts) list << ToQString(text);
  return list;
}

}  // namespace

TActForm::TActForm(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("アクションリスト"));
  setAttribute(Qt::WA_DeleteOnClose, false);
  resize(635, 300);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  FToolPanel = new QWidget(this);
  FToolPanel->setFixedHeight(33);
  layout->addWidget(FToolPanel);
  FListView = new QTreeWidget(this);
  FListView->setRootIsDecorated(false);
  FListView->setUniformRowHeights(true);
  FListView->setSelectionMode(QAbstractItemView::ExtendedSelection);
  FListView->setSelectionBehavior(QAbstractItemView::SelectRows);
  FListView->setEditTriggers(QAbstractItemView::NoEditTriggers);
  FListView->setContextMenuPolicy(Qt::CustomContextMenu);
  FListView->header()->setSectionsClickable(true);
  // The column the list is sorted by carries the arrow of its direction.
  FListView->header()->setSortIndicatorShown(true);
  FListView->header()->setSortIndicator(-1, Qt::AscendingOrder);
  layout->addWidget(FListView, 1);

  auto* copyAll = new QAction(QStringLiteral("すべてをコピー(&A)"), this);
  copyAll->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_C));
  copyAll->setShortcutContext(Qt::WidgetWithChildrenShortcut);
  addAction(copyAll);
  connect(copyAll, &QAction::triggered, this, [this] { CopyAll(); });
  auto* popup = new QMenu(this);
  popup->addAction(copyAll);
  connect(FListView, &QWidget::customContextMenuRequested, this,
          [this, popup](const QPoint& pos) { popup->exec(FListView->viewport()->mapToGlobal(pos)); });
  connect(FListView->header(), &QHeaderView::sectionClicked, this, &TActForm::SortByColumn);
  connect(FListView, &QTreeWidget::itemSelectionChanged, this, &TActForm::OnSelectionChanged);
}

void TActForm::FillList() {
  if (FDayDataList == nullptr) return;
  QString failure;
  {
    const TWaitCursor wait;
    try {
      auto search = MakeSearch();
      FillActTable(FTable, *FDayDataList, *search);
    } catch (const EExpressionError& error) {
      failure = ToQString(ExpressionErrorMessage(error));
      MarkError(error);
    } catch (const std::exception& error) {
      failure = ToQString(error.what());
    }
    ShowTable();
  }
  // The box comes with the normal cursor.
  if (!failure.isEmpty()) ShowError(failure);
}

void TActForm::ShowError(const QString& message) { ShowErrorBox(this, message); }

void TActForm::ShowTable() {
  const QSignalBlocker blocker(FListView);
  FListView->clear();
  QStringList captions;
  for (const auto& column : FTable.Columns) captions << ToQString(column.Caption);
  FListView->setColumnCount(captions.size());
  FListView->setHeaderLabels(captions);
  QHeaderView* header = FListView->header();
  for (int c = 0; c < static_cast<int>(FTable.Columns.size()); ++c) {
    // Never narrower than the heading at the window's font.
    FListView->setColumnWidth(c,
                              std::max(FTable.Columns[static_cast<std::size_t>(c)].Width, header->sectionSizeHint(c)));
  }
  if (FSorted) {
    header->setSortIndicator(FColumnToSort, FColumnSortCoefficient > 0 ? Qt::AscendingOrder : Qt::DescendingOrder);
  } else {
    header->setSortIndicator(-1, Qt::AscendingOrder);
  }
  QList<QTreeWidgetItem*> items;
  items.reserve(static_cast<qsizetype>(FTable.Rows.size()));
  for (std::size_t r = 0; r < FTable.Rows.size(); ++r) {
    QStringList cells;
    for (const auto& cell : FTable.Rows[r].Cells) cells << ToQString(cell);
    auto* item = new QTreeWidgetItem(cells);
    item->setData(0, Qt::UserRole, static_cast<qulonglong>(r));
    for (int c = 0; c < static_cast<int>(FTable.Columns.size()); ++c) {
      if (FTable.Columns[static_cast<std::size_t>(c)].RightAligned)
        item->setTextAlignment(c, Qt::AlignRight | Qt::AlignVCenter);
    }
    items.append(item);
  }
  FListView->addTopLevelItems(items);
}

void TActForm::SortByColumn(int column) {
  FColumnSortCoefficient = column == FColumnToSort ? -FColumnSortCoefficient : 1;
  FColumnToSort = column;
  FSorted = true;
  SortActTable(FTable, column, FColumnSortCoefficient);
  ShowTable();
}

QString TActForm::CopyAll() const {
  const QString text = ToQString(CopyAllText(FTable));
  if (QClipboard* clipboard = QApplication::clipboard()) clipboard->setText(text);
  return text;
}

void TActForm::OnSelectionChanged() {
  QTreeWidgetItem* item = FListView->currentItem();
  if (item == nullptr || !item->isSelected()) return;
  const auto row = item->data(0, Qt::UserRole).toULongLong();
  if (row < FTable.Rows.size() && FDocument != nullptr) emit FDocument->SelectAct(FTable.Rows[row].Act);
}

TActStringForm::TActStringForm(QWidget* parent) : TActForm(parent) {
  FSearchEdit = new QLineEdit(ToolPanel());
  FSearchEdit->setGeometry(6, 6, 347, 21);
  FSearchBtn = new QToolButton(ToolPanel());
  FSearchBtn->setAutoRaise(true);
  FSearchBtn->setIcon(FindIcon());
  FSearchBtn->setIconSize(QSize(16, 16));
  FSearchBtn->setToolTip(QStringLiteral("検索"));
  FSearchBtn->setGeometry(358, 5, 24, 23);
  connect(FSearchEdit, &QLineEdit::returnPressed, this, [this] {
    // Enter that picks a completion is not yet the request to search.
    if (!IsCompleting()) FillList();
  });
  connect(FSearchBtn, &QToolButton::clicked, this, &TActForm::FillList);
}

std::unique_ptr<TActSearch> TActStringForm::MakeSearch() const {
  return std::make_unique<TActStringSearch>(ToStdString(FSearchEdit->text()));
}

void TActStringForm::showEvent(QShowEvent* event) {
  TActForm::showEvent(event);
  if (!event->spontaneous()) FillList();
}

TActCategoryForm::TActCategoryForm(QWidget* parent) : TActStringForm(parent) {
  FCategoryCombo = new QComboBox(ToolPanel());
  FCategoryCombo->setGeometry(6, 6, 120, 21);
  FSearchLabel = new QLabel(QStringLiteral("抽出"), ToolPanel());
  FSearchLabel->setGeometry(132, 9, 28, 15);
  FSearchEdit->setGeometry(160, 6, 250, 21);
  FSearchBtn->setGeometry(415, 5, 24, 23);
  FSearchBtn->setToolTip(QStringLiteral("抽出"));

  // A new user cannot guess how a condition is written nor which values exist: one example
  // under the box, and the category's value titles on a menu and as completions of "[".
  FTitleBtn = new QToolButton(ToolPanel());
  FTitleBtn->setText(QStringLiteral("項目"));
  FTitleBtn->setToolTip(QStringLiteral("式に使える項目を挿入"));
  FTitleBtn->setPopupMode(QToolButton::InstantPopup);
  FTitleBtn->setGeometry(444, 5, 48, 23);
  FTitleMenu = new QMenu(FTitleBtn);
  FTitleBtn->setMenu(FTitleMenu);
  FHelpLabel = new QLabel(
      QStringLiteral("例: =[距離] >= 5; 皇居　（「=」で始めると式、「;」で区切るとすべてを満たすもの）"), ToolPanel());
  FHelpLabel->setGeometry(6, 31, 620, 16);
  FHelpLabel->setTextInteractionFlags(Qt::TextSelectableByMouse);
  ToolPanel()->setFixedHeight(50);

  FTitleCompleter = new QCompleter(this);
  FTitleCompleter->setModel(new QStringListModel(FTitleCompleter));
  FTitleCompleter->setCaseSensitivity(Qt::CaseInsensitive);
  FTitleCompleter->setCompletionMode(QCompleter::PopupCompletion);
  FTitleCompleter->setWidget(FSearchEdit);
  connect(FTitleCompleter, qOverload<const QString&>(&QCompleter::activated), this, &TActCategoryForm::InsertTitle);
  connect(FSearchEdit, &QLineEdit::textEdited, this, &TActCategoryForm::OnConditionEdited);
  SetTitles(ToQStringList(ConditionTitles(std::string())));
}

void TActCategoryForm::SetTitles(const QStringList& titles) {
  static_cast<QStringListModel*>(FTitleCompleter->model())->setStringList(titles);
  FTitleMenu->clear();
  for (const QString& title : titles) {
    // "&" would mark a mnemonic; titles have none, but a user category's might.
    QAction* action = FTitleMenu->addAction(QString(title).replace(QLatin1Char('&'), QStringLiteral("&&")));
    connect(action, &QAction::triggered, this, [this, title] { InsertTitle(title); });
  }
}

bool TActCategoryForm::IsCompleting() const { return FTitleCompleter->popup()->isVisible(); }

int TActCategoryForm::OpenBracketBeforeCursor() const {
  const QString text = FSearchEdit->text();
  const int cursor = FSearchEdit->cursorPosition();
  for (int i = cursor - 1; i >= 0; --i) {
    const QChar c = text.at(i);
    if (c == QLatin1Char(']') || c == QChar(0xFF3D) || c == QLatin1Char(';')) return -1;
    if (c == QLatin1Char('[') || c == QChar(0xFF3B)) return i;
  }
  return -1;
}

void TActCategoryForm::OnConditionEdited() {
  const int open = OpenBracketBeforeCursor();
  if (open < 0) {
    FTitleCompleter->popup()->hide();
    return;
  }
  // Full-width brackets are typed as often as half-width ones; the titles list the latter.
  QString prefix = FSearchEdit->text().mid(open, FSearchEdit->cursorPosition() - open);
  prefix[0] = QLatin1Char('[');
  FTitleCompleter->setCompletionPrefix(prefix);
  const QRect box = FSearchEdit->rect();
  FTitleCompleter->complete(QRect(box.left(), box.top(), box.width() / 2, box.height()));
}

void TActCategoryForm::InsertTitle(const QString& title) {
  QString text = FSearchEdit->text();
  int cursor = FSearchEdit->cursorPosition();
  const int open = OpenBracketBeforeCursor();
  int start = open >= 0 ? open : cursor;
  // A title chosen while the cursor stands inside "[...]" replaces the whole reference.
  int end = cursor;
  if (open >= 0) {
    const int close = text.indexOf(QLatin1Char(']'), cursor);
    const int nextOpen = text.indexOf(QLatin1Char('['), cursor);
    const int nextPart = text.indexOf(QLatin1Char(';'), cursor);
    if (close >= 0 && (nextOpen < 0 || close < nextOpen) && (nextPart < 0 || close < nextPart)) end = close + 1;
  }
  text.replace(start, end - start, title);
  FSearchEdit->setText(text);
  FSearchEdit->setCursorPosition(start + static_cast<int>(title.size()));
  FSearchEdit->setFocus();
}

void TActCategoryForm::MarkError(const EExpressionError& error) {
  if (error.SourceStart() < 0) return;
  // The core counts characters; the box counts UTF-16 units.
  const QList<uint> characters = FSearchEdit->text().toUcs4();
  const auto unitsBefore = [&](int count) {
    int units = 0;
    for (int i = 0; i < count && i < characters.size(); ++i) units += QChar::requiresSurrogates(characters[i]) ? 2 : 1;
    return units;
  };
  const int start = unitsBefore(error.SourceStart());
  const int length = std::max(1, unitsBefore(error.SourceStart() + error.SourceLength()) - start);
  FSearchEdit->setFocus();
  if (start >= FSearchEdit->text().size()) {
    FSearchEdit->setCursorPosition(static_cast<int>(FSearchEdit->text().size()));
  } else {
    FSearchEdit->setSelection(start, length);
  }
}

std::unique_ptr<TActSearch> TActCategoryForm::MakeSearch() const {
  if (FCategoryInfoList == nullptr) throw EHakuvoError("カテゴリーの設定がありません");
  return std::make_unique<TActCategorySearch>(ToStdString(FCategoryCombo->currentText()),
                                              ToStdString(FSearchEdit->text()), *FCategoryInfoList,
                                              FIsViewEnergyConsumption);
}

void TActCategoryForm::showEvent(QShowEvent* event) {
  if (!event->spontaneous()) {
    FCategoryType = CategoryTypeFromName(ToStdString(FCategoryCombo->currentText()));
    SetTitles(ToQStringList(ConditionTitles(ToStdString(FCategoryCombo->currentText()))));
    // The category was chosen in the main window; only the condition is edited here.
    FCategoryCombo->hide();
    FSearchLabel->move(6, 9);
    FSearchEdit->setGeometry(35, 6, 250, 21);
    FSearchBtn->move(290, 5);
    FTitleBtn->move(318, 5);
  }
  TActStringForm::showEvent(event);
}

}  // namespace hakuvo
