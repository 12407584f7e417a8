#include "gui/document/dock_parts.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QStyleOptionTab>
#include <QStylePainter>
#include <QTabBar>
#include <QToolButton>
#include <QVBoxLayout>
#include <utility>

#include "gui/document/docking_form.h"

namespace hakuvo {

TDockHost::TDockHost(TDockingForm* form, QWidget* parent, TCloseHandler onClose, TMenuHandler onMenu)
    : QDockWidget(form->Caption(), parent), FForm(form), FOnClose(std::move(onClose)), FOnMenu(std::move(onMenu)) {
  // Qt finds a frame by its name when it restores the pane arrangement.
  setObjectName(form->Name());
  setAllowedAreas(Qt::RightDockWidgetArea | Qt::BottomDockWidgetArea);
  setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable | QDockWidget::DockWidgetFloatable);
  setWidget(form);
  connect(form, &QWidget::windowTitleChanged, this, &QWidget::setWindowTitle);
}

void TDockHost::TakeBackForm() {
  if (FForm == nullptr || widget() == FForm) return;
  setWidget(FForm);
  FForm->show();
}

void TDockHost::closeEvent(QCloseEvent* event) {
  // The program is ending (its layout is stored already): a floating window just goes.
  if (parentWidget() == nullptr || !parentWidget()->isVisible()) {
    QDockWidget::closeEvent(event);
    return;
  }
  // Where a closed window goes depends on where it was; the manager decides and hides it.
  event->ignore();
  if (FForm != nullptr && FOnClose) FOnClose(FForm);
}

void TDockHost::contextMenuEvent(QContextMenuEvent* event) {
  // Only the caption line offers the menu; the window's body has its own.
  if (widget() != nullptr && widget()->geometry().contains(event->pos())) {
    QDockWidget::contextMenuEvent(event);
    return;
  }
  if (FForm != nullptr && FOnMenu) FOnMenu(FForm, event->globalPos());
  event->accept();
}

namespace {

// A tab bar that can draw its current tab like the others.
class TStripTabBar : public QTabBar {
 public:
  explicit TStripTabBar(QWidget* parent) : QTabBar(parent) {}
  bool IsHighlighted = false;

 protected:
  void paintEvent(QPaintEvent* event) override {
    if (IsHighlighted) {
      QTabBar::paintEvent(event);
      return;
    }
    QStylePainter painter(this);
    for (int i = 0; i < count(); ++i) {
      QStyleOptionTab option;
      initStyleOption(&option, i);
      option.state &= ~QStyle::State_Selected;
      painter.drawControl(QStyle::CE_TabBarTab, option);
    }
  }
};

}  // namespace

TTabStrip::TTabStrip(const QString& name, bool isRight, QWidget* parent)
    : QToolBar(parent), FBar(new TStripTabBar(this)), FIsRight(isRight) {
  setObjectName(name);
  setMovable(false);
  setFloatable(false);
  setContextMenuPolicy(Qt::PreventContextMenu);
  setContentsMargins(0, 0, 0, 0);
  layout()->setContentsMargins(0, 0, 0, 0);
  layout()->setSpacing(0);
  setOrientation(isRight ? Qt::Vertical : Qt::Horizontal);
  // The right strip's tabs sit on its right edge, reading downwards.
  FBar->setShape(isRight ? QTabBar::RoundedEast : QTabBar::RoundedSouth);
  FBar->setDrawBase(false);
  FBar->setExpanding(false);
  FBar->setUsesScrollButtons(true);
  FBar->setFocusPolicy(Qt::NoFocus);
  addWidget(FBar);
}

void TTabStrip::SetTabHighlighted(bool highlighted) {
  auto* bar = static_cast<TStripTabBar*>(FBar);
  if (bar->IsHighlighted == highlighted) return;
  bar->IsHighlighted = highlighted;
  bar->update();
}

bool TTabStrip::IsTabHighlighted() const { return static_cast<const TStripTabBar*>(FBar)->IsHighlighted; }

int TTabStrip::TabOf(const QString& formName) const {
  for (int i = 0; i < FBar->count(); ++i) {
    if (FBar->tabData(i).toString() == formName) return i;
  }
  return -1;
}

TTabPopOut::TTabPopOut(QWidget* parent, std::function<void()> onPin, std::function<void()> onClose)
    : QFrame(parent), FCaption(new QLabel(this)), FLayout(new QVBoxLayout(this)) {
  setObjectName(QStringLiteral("TabPopOut"));
  setFrameShape(QFrame::StyledPanel);
  setAutoFillBackground(true);
  FLayout->setContentsMargins(2, 2, 2, 2);
  FLayout->setSpacing(2);
  auto* captionLine = new QHBoxLayout;
  captionLine->setContentsMargins(4, 0, 0, 0);
  captionLine->addWidget(FCaption, 1);
  auto* pin = new QToolButton(this);
  pin->setObjectName(QStringLiteral("PinButton"));
  pin->setText(QStringLiteral("固定"));
  pin->setToolTip(QStringLiteral("パネルに固定"));
  pin->setAutoRaise(true);
  connect(pin, &QToolButton::clicked, this, [onPin = std::move(onPin)] { onPin(); });
  captionLine->addWidget(pin);
  auto* close = new QToolButton(this);
  close->setObjectName(QStringLiteral("CloseButton"));
  close->setText(QStringLiteral("×"));
  close->setToolTip(QStringLiteral("閉じる"));
  close->setAutoRaise(true);
  connect(close, &QToolButton::clicked, this, [onClose = std::move(onClose)] { onClose(); });
  captionLine->addWidget(close);
  FLayout->addLayout(captionLine);
  hide();
}

void TTabPopOut::SetForm(TDockingForm* form) {
  if (FForm == form) return;
  FForm = form;
  FCaption->setText(form->Caption());
  FLayout->addWidget(form, 1);
  form->show();
}

}  // namespace hakuvo
