#include "gui/categories/category_set_dialog.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QScreen>
#include <QStackedWidget>
#include <QTabBar>
#include <QVBoxLayout>
#include <typeinfo>

#include "gui/categories/category_set_dialog_pages.h"
#include "gui/common/error_box.h"

namespace hakuvo {

namespace {

// A blank object of the same class as the given one, so that Assign carries every flag of the
// subclass both ways. The kind's own class is the rule; the search covers objects built by hand.
std::unique_ptr<TCategoryInfo> NewSameClass(const TCategoryInfo& info) {
  auto copy = CreateCategoryInfo(info.Category());
  if (typeid(*copy) != typeid(info)) {
    for (int i = 0; i < CategoryTypeCount; ++i) {
      auto candidate = CreateCategoryInfo(static_cast<TCategoryType>(i));
      if (typeid(*candidate) == typeid(info)) {
        copy = std::move(candidate);
        break;
      }
    }
  }
  copy->SetCategory(info.Category());
  return copy;
}

}  // namespace

TCategorySetDialog::TCategorySetDialog(QWidget* owner) : QDialog(owner) {
  setWindowTitle(QStringLiteral("設定"));
  setObjectName(QStringLiteral("CategorySetDialog"));

  FTabBar = new QTabBar;
  FTabBar->setObjectName(QStringLiteral("PageTabs"));
  FTabBar->setExpanding(false);
  FPages = new QStackedWidget;
  FPages->setObjectName(QStringLiteral("PageStack"));
  FPages->setFrameShape(QFrame::StyledPanel);

  AddPage(BuildInputPage(), QStringLiteral("入力項目"));
  AddPage(BuildDisplayPage(), QStringLiteral("表示設定"));
  const QString units[] = {QStringLiteral("日"), QStringLiteral("月"), QStringLiteral("年")};
  const QString names[] = {QStringLiteral("グラフ"), QStringLiteral("月グラフ"), QStringLiteral("年グラフ")};
  const QString captions[] = {QStringLiteral("日グラフ"), QStringLiteral("月グラフ"), QStringLiteral("年グラフ")};
  const QString objectNames[] = {QStringLiteral("DayGraphPage"), QStringLiteral("MonthGraphPage"),
                                 QStringLiteral("YearGraphPage")};
  for (int i = 0; i < 3; ++i) {
    FGraphPages[i] = new TGraphSettingsPage(units[i], names[i]);
    FGraphPages[i]->setObjectName(objectNames[i]);
    AddPage(FGraphPages[i], captions[i]);
  }
  FSpeedPage = new TSpeedSettingsPage;
  FSpeedPage->setObjectName(QStringLiteral("SpeedGraphPage"));
  AddPage(FSpeedPage, QStringLiteral("速度グラフ"));
  connect(FTabBar, &QTabBar::currentChanged, FPages, [this](int index) {
    if (index >= 0) FPages->setCurrentIndex(index);
  });

  auto* pageColumn = new QVBoxLayout;
  pageColumn->setSpacing(0);
  pageColumn->addWidget(FTabBar);
  pageColumn->addWidget(FPages);

  FOkButton = new QPushButton(QStringLiteral("OK"));
  FOkButton->setObjectName(QStringLiteral("OkButton"));
  FOkButton->setDefault(true);
  FCancelButton = new QPushButton(QStringLiteral("キャンセル"));
  FCancelButton->setObjectName(QStringLiteral("CancelButton"));
  connect(FOkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);
  auto* buttons = new QVBoxLayout;
  buttons->addWidget(FOkButton);
  buttons->addWidget(FCancelButton);
  buttons->addStretch(1);

  auto* layout = new QHBoxLayout(this);
  layout->addLayout(pageColumn, 1);
  layout->addLayout(buttons);
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

TCategorySetDialog::~TCategorySetDialog() = default;

void TCategorySetDialog::AddPage(QWidget* page, const QString& caption) {
  FPages->addWidget(page);
  FTabBar->addTab(caption);
}

QWidget* TCategorySetDialog::BuildInputPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("InputPage"));
  FInputLayout = new QVBoxLayout(page);
  auto add = [this](const QString& text, const QString& name) {
    auto* check = new QCheckBox(text);
    check->setObjectName(name);
    FInputLayout->addWidget(check);
    return check;
  };
  FRecordCheck = add(QStringLiteral("記録を入力する(&R)"), QStringLiteral("RecordCheck"));
  FTimeCheck = add(QStringLiteral("時刻を入力する(&T)"), QStringLiteral("TimeCheck"));
  FWindDirectionCheck = add(QStringLiteral("風向を入力する(&D)"), QStringLiteral("WindDirectionCheck"));
  FWindSpeedCheck = add(QStringLiteral("風速を入力する(&S)"), QStringLiteral("WindSpeedCheck"));
  FWeatherCheck = add(QStringLiteral("天気を入力する(&W)"), QStringLiteral("WeatherCheck"));
  FTemperatureCheck = add(QStringLiteral("気温を入力する(&E)"), QStringLiteral("TemperatureCheck"));
  FInputLayout->addStretch(1);
  return page;
}

QWidget* TCategorySetDialog::BuildDisplayPage() {
  auto* page = new QWidget;
  page->setObjectName(QStringLiteral("DisplayPage"));
  auto* recordBox = new QGroupBox(QStringLiteral("記録"));
  FIndicationBox = new QGroupBox(QStringLiteral("表示項目"));
  FIndicationBox->setObjectName(QStringLiteral("IndicationBox"));
  new QVBoxLayout(FIndicationBox);
  FIndicationGroup = new QButtonGroup(this);
  auto* recordLayout = new QVBoxLayout(recordBox);
  recordLayout->addWidget(FIndicationBox);
  recordLayout->addStretch(1);
  auto* layout = new QVBoxLayout(page);
  layout->addWidget(recordBox);
  SetIndicationItems({QStringLiteral("回数"), QStringLiteral("記録")});
  return page;
}

void TCategorySetDialog::SetRecordCheckText(const QString& text) { FRecordCheck->setText(text); }

QCheckBox* TCategorySetDialog::AddInputCheck(const QString& text, const QString& objectName) {
  auto* check = new QCheckBox(text);
  check->setObjectName(objectName);
  // Before the closing stretch, so the boxes stay packed at the top.
  FInputLayout->insertWidget(FInputLayout->count() - 1, check);
  FExtraChecks << check;
  return check;
}

QList<QCheckBox*> TCategorySetDialog::InputChecks() const {
  QList<QCheckBox*> checks{FRecordCheck,    FTimeCheck,    FWindDirectionCheck,
                           FWindSpeedCheck, FWeatherCheck, FTemperatureCheck};
  checks << FExtraChecks;
  return checks;
}

void TCategorySetDialog::SetIndicationItems(const QStringList& items) {
  for (QAbstractButton* old : FIndicationGroup->buttons()) {
    FIndicationGroup->removeButton(old);
    delete old;
  }
  for (int i = 0; i < items.size(); ++i) {
    auto* radio = new QRadioButton(items[i]);
    radio->setObjectName(QStringLiteral("IndicationRadio%1").arg(i));
    FIndicationGroup->addButton(radio, i);
    FIndicationBox->layout()->addWidget(radio);
  }
}

QStringList TCategorySetDialog::IndicationItems() const {
  QStringList items;
  for (int i = 0; QAbstractButton* button = FIndicationGroup->button(i); ++i) items << button->text();
  return items;
}

TGraphSettingsPage* TCategorySetDialog::GraphPage(int page) const {
  if (page < piDayGraph || page > piYearGraph) return nullptr;
  return FGraphPages[page - piDayGraph];
}

void TCategorySetDialog::SetCategoryInfo(TCategoryInfo* info) {
  FCategoryInfo = info;
  FWorking.reset();
  if (!info) return;
  FWorking = NewSameClass(*info);
  FWorking->Assign(*info);
  LoadCategoryInfo(*FWorking);
}

void TCategorySetDialog::LoadCategoryInfo(const TCategoryInfo& info) {
  if (QAbstractButton* button = FIndicationGroup->button(info.IndicationKind())) {
    button->setChecked(true);
  } else if (QAbstractButton* checked = FIndicationGroup->checkedButton()) {
    // A kind the list does not offer: show none rather than a stale choice.
    FIndicationGroup->setExclusive(false);
    checked->setChecked(false);
    FIndicationGroup->setExclusive(true);
  }
  FRecordCheck->setChecked(info.IsRecordData());
  FTimeCheck->setChecked(info.IsTime());
  FWindDirectionCheck->setChecked(info.IsWindDirection());
  FWindSpeedCheck->setChecked(info.IsWindSpeed());
  FWeatherCheck->setChecked(info.IsWeather());
  FTemperatureCheck->setChecked(info.IsTemperature());
  FGraphPages[0]->Load(info.GraphInfo());
  FGraphPages[1]->Load(info.MonthGraphInfo());
  FGraphPages[2]->Load(info.YearGraphInfo());
  FSpeedPage->Load(info.SpeedGraphInfo());
  FSpeedPage->LoadMap(info.MapInfo());
}

void TCategorySetDialog::StoreCategoryInfo(TCategoryInfo& info) {
  // Units, axis titles and combining rules travel in the working copy untouched.
  if (FIndicationGroup->checkedId() >= 0) info.SetIndicationKind(FIndicationGroup->checkedId());
  info.SetIsRecordData(FRecordCheck->isChecked());
  info.SetIsTime(FTimeCheck->isChecked());
  info.SetIsWindDirection(FWindDirectionCheck->isChecked());
  info.SetIsWindSpeed(FWindSpeedCheck->isChecked());
  info.SetIsWeather(FWeatherCheck->isChecked());
  info.SetIsTemperature(FTemperatureCheck->isChecked());
  FGraphPages[0]->Store(info.GraphInfo());
  FGraphPages[1]->Store(info.MonthGraphInfo());
  FGraphPages[2]->Store(info.YearGraphInfo());
  FSpeedPage->Store(info.SpeedGraphInfo());
  FSpeedPage->StoreMap(info.MapInfo());
}

QStringList TCategorySetDialog::CheckFields() const {
  QStringList errors;
  for (const TGraphSettingsPage* page : FGraphPages) page->Check(errors);
  FSpeedPage->Check(errors);
  FSpeedPage->CheckMap(errors);
  return errors;
}

void TCategorySetDialog::ShowError(const QString& message) {
  if (FErrorHandler) {
    FErrorHandler(message);
  } else {
    ShowErrorBox(this, message);
  }
}

void TCategorySetDialog::accept() {
  const QStringList errors = CheckFields();
  if (!errors.isEmpty()) {
    for (const QString& message : errors) ShowError(message);
    return;
  }
  if (FWorking && FCategoryInfo) {
    StoreCategoryInfo(*FWorking);
    FCategoryInfo->Assign(*FWorking);
  }
  QDialog::accept();
}

void TCategorySetDialog::SetActivePage(int index) {
  if (index < 0 || index >= PageCount) return;
  FActivePage = index;
  if (isVisible()) ApplyTabRule();
}

void TCategorySetDialog::ApplyTabRule() {
  // Each caller sees only the page that concerns it; a graph page keeps the display page beside it.
  const QSignalBlocker blocker(FTabBar);
  const bool graphPage = FActivePage >= piDayGraph && FActivePage <= piYearGraph;
  for (int i = 0; i < PageCount; ++i) {
    bool shown = i == FActivePage && i != piDisplay && i != piSpeedGraph;
    if (i == piDisplay && graphPage) shown = true;
    FTabBar->setTabVisible(i, shown);
  }
  FTabBar->setCurrentIndex(FActivePage);
  FPages->setCurrentIndex(FActivePage);
  bool anyTab = false;
  for (int i = 0; i < PageCount; ++i) anyTab = anyTab || FTabBar->isTabVisible(i);
  FTabBar->setVisible(anyTab);
  // The page area fits the pages that can be reached, not the largest page of all: the input
  // page alone makes a small dialog.
  for (int i = 0; i < PageCount; ++i) {
    const bool reachable = i == FActivePage || FTabBar->isTabVisible(i);
    const auto policy = reachable ? QSizePolicy::Preferred : QSizePolicy::Ignored;
    FPages->widget(i)->setSizePolicy(policy, policy);
  }
  FPages->updateGeometry();
}

void TCategorySetDialog::showEvent(QShowEvent* event) {
  setWindowTitle(QStringLiteral("設定"));
  ApplyTabRule();
  // The pages just chosen change the dialog's fixed size; the layouts settle now (a page's
  // layout first, then the dialog's), so that the dialog is centred as it finally stands.
  for (int pass = 0; pass < 3; ++pass) QCoreApplication::sendPostedEvents(nullptr, QEvent::LayoutRequest);
  QDialog::showEvent(event);
  const auto centre = [this] {
    QScreen* shown = screen();
    if (shown == nullptr) return;
    // The frame counts where it is known already; before the window manager has framed the
    // window, the client area alone is centred.
    const QMargins frameMargins(geometry().left() - frameGeometry().left(), geometry().top() - frameGeometry().top(),
                                frameGeometry().right() - geometry().right(),
                                frameGeometry().bottom() - geometry().bottom());
    QRect frame(QPoint(0, 0), size().grownBy(frameMargins));
    frame.moveCenter(shown->availableGeometry().center());
    move(frame.topLeft());
  };
  centre();
}

}  // namespace hakuvo
