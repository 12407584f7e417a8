#include "gui/record/record_dialog.h"

#include <QApplication>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMimeData>
#include <QPalette>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRegularExpression>
#include <QScreen>
#include <QSplitter>
#include <QStackedWidget>
#include <QStyle>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <exception>

#include "core/common/number_format.h"
#include "core/common/text_util.h"
#include "core/model/act_data.h"
#include "core/model/category_info.h"
#include "core/model/place.h"
#include "gui/common/error_box.h"
#include "gui/common/qt_text.h"
#include "gui/document/window_ports.h"
#include "gui/record/record_dialog_link_list.h"
#include "gui/record/record_dialog_picture.h"

namespace hakuvo {

namespace {

constexpr int kFieldHeight = 22;
constexpr int kUnitLeft = 126;
constexpr int kPanelRightMargin = 12;
// Where the fields of the fixed rows (title, place, date) start at least.
constexpr int kFixedFieldLeft = 63;

QStringList WeatherNames() {
  return {QStringLiteral("晴れ"), QStringLiteral("曇り"), QStringLiteral("雨"),
          QStringLiteral("雪"),   QStringLiteral("快晴"), QStringLiteral("霧")};
}

std::string PlainText(const QPlainTextEdit* memo) { return ToStdString(memo->toPlainText()); }

}  // namespace

TRecordDialog::TRecordDialog(QWidget* parent) : QDialog(parent) {
  // The record panel is laid out in pixels; a fixed font keeps the captions inside their rows.
  QFont dialogFont = font();
  dialogFont.setPixelSize(12);
  setFont(dialogFont);
  setWindowTitle(QStringLiteral("記録"));
  setSizeGripEnabled(true);

  FRecordPanel = new QWidget;
  FRecordPanel->setObjectName(QStringLiteral("RecordPanel"));
  FRecordPanel->setMinimumWidth(240);
  FRecordPanel->installEventFilter(this);
  BuildRecordPanel();

  FMainSplitter = new QSplitter(Qt::Horizontal);
  FMainSplitter->addWidget(FRecordPanel);
  BuildLinkPanel();
  FMainSplitter->addWidget(FLinkPanel);
  FMainSplitter->setStretchFactor(0, 1);
  FMainSplitter->setStretchFactor(1, 0);
  FMainSplitter->setChildrenCollapsible(false);

  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 8);
  layout->addWidget(FMainSplitter, 1);
  BuildButtons();
  resize(624, 450);
}

TRecordDialog::~TRecordDialog() = default;

void TRecordDialog::BuildRecordPanel() {
  FTitleEdit = AddLineEdit(QStringLiteral("TitleEdit"), 25, 63, 240, 1);
  AddLeftCaption(FTitleEdit, QStringLiteral("タイトル"));
  StretchToRight(FTitleEdit);
  FPlaceEdit = AddLineEdit(QStringLiteral("PlaceEdit"), 62, 63, 240, 1);
  AddLeftCaption(FPlaceEdit, QStringLiteral("場所"));
  OnDoubleClick(CaptionOf(FPlaceEdit), [this] { PlaceCommand(); });

  FRecordEdit = AddNumberEdit(QStringLiteral("RecordEdit"), 124, 20);
  AddCaption(FRecordEdit, QStringLiteral("記録"));
  OnDoubleClick(CaptionOf(FRecordEdit), [this] { ShowTimeRow(); });
  FTaniEdit = AddLineEdit(QStringLiteral("TaniEdit"), 124, kUnitLeft, 80);
  AddCaption(FTaniEdit, QStringLiteral("単位"));
  FTimeEdit = AddTimeEdit(QStringLiteral("TimeEdit"), 124, 213);
  AddCaption(FTimeEdit, QStringLiteral("時刻"));

  FWeatherCombo = AddComboBox(QStringLiteral("WeatherCombo"), 179, 20, 100, true);
  FWeatherCombo->addItems(WeatherNames());
  AddCaption(FWeatherCombo, QStringLiteral("天気"));
  FTemperatureEdit = AddNumberEdit(QStringLiteral("TemperatureEdit"), 179, kUnitLeft, 80);
  AddCaption(FTemperatureEdit, QStringLiteral("気温"));
  AddUnitLabel(FTemperatureEdit, QStringLiteral("℃"));

  FWindDirectionCombo = AddComboBox(QStringLiteral("WindDirectionCombo"), 236, 20, 100, false);
  for (const std::string& name : WindDirectionNames()) FWindDirectionCombo->addItem(ToQString(name));
  FWindDirectionCombo->setMaxVisibleItems(16);
  AddCaption(FWindDirectionCombo, QStringLiteral("風向"));
  FWindSpeedEdit = AddNumberEdit(QStringLiteral("WindSpeedEdit"), 236, kUnitLeft, 80);
  AddCaption(FWindSpeedEdit, QStringLiteral("風速"));
  AddUnitLabel(FWindSpeedEdit, QStringLiteral("m/s"));

  FMemo = new QPlainTextEdit(FRecordPanel);
  // Tab moves on to the next field as everywhere else in the form; Ctrl+Tab types a tab.
  FMemo->setTabChangesFocus(true);
  FMemo->installEventFilter(this);
  AddField(FMemo, QStringLiteral("Memo"), 296, 20, 286, 120, 0);
  AddCaption(FMemo, QStringLiteral("メモ"));
}

void TRecordDialog::BuildButtons() {
  FCategoryButton = new QToolButton;
  FCategoryButton->setObjectName(QStringLiteral("CategoryButton"));
  FCategoryButton->setIcon(style()->standardIcon(QStyle::SP_FileDialogDetailedView));
  FCategoryButton->setAutoRaise(true);
  connect(FCategoryButton, &QToolButton::clicked, this, [this] { CategorySettingsCommand(); });

  // Linking a track or a photograph by hand starts here: the link panel may be hidden.
  FLinkButton = new QPushButton(QStringLiteral("リンク(&K)"));
  FLinkButton->setObjectName(QStringLiteral("LinkButton"));
  FLinkButton->setCheckable(true);
  FLinkButton->setChecked(true);
  FLinkButton->setAutoDefault(false);
  connect(FLinkButton, &QPushButton::toggled, this, [this](bool checked) { SetLinkPanelVisible(checked); });

  FOkButton = new QPushButton(QStringLiteral("OK"));
  FOkButton->setObjectName(QStringLiteral("OkButton"));
  FOkButton->setDefault(true);
  FCancelButton = new QPushButton(QStringLiteral("キャンセル"));
  FCancelButton->setObjectName(QStringLiteral("CancelButton"));
  FCancelButton->setAutoDefault(false);
  connect(FOkButton, &QPushButton::clicked, this, &QDialog::accept);
  connect(FCancelButton, &QPushButton::clicked, this, &QDialog::reject);

  auto* row = new QHBoxLayout;
  row->setContentsMargins(12, 0, 12, 0);
  row->addWidget(FCategoryButton);
  row->addWidget(FLinkButton);
  row->addStretch(1);
  row->addWidget(FOkButton);
  row->addWidget(FCancelButton);
  static_cast<QVBoxLayout*>(layout())->addLayout(row);
}

// ---- building the record panel ----

void TRecordDialog::AddField(QWidget* field, const QString& name, int top, int left, int width, int height, int tag) {
  field->setParent(FRecordPanel);
  field->setObjectName(name);
  field->setGeometry(left, top, width, height);
  FControls.push_back({field, nullptr, tag, top, left});
}

QLineEdit* TRecordDialog::AddLineEdit(const QString& name, int top, int left, int width, int tag) {
  auto* edit = new QLineEdit(FRecordPanel);
  AddField(edit, name, top, left, width, kFieldHeight, tag);
  return edit;
}

QLineEdit* TRecordDialog::AddNumberEdit(const QString& name, int top, int left, int width) {
  QLineEdit* edit = AddLineEdit(name, top, left, width);
  // Numbers are typed in ASCII; a Japanese input method would only get in the way.
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  return edit;
}

QLineEdit* TRecordDialog::AddTimeEdit(const QString& name, int top, int left) {
  QLineEdit* edit = AddLineEdit(name, top, left, 60);
  edit->setAttribute(Qt::WA_InputMethodEnabled, false);
  // Hours take one or two digits, minutes always two; an untouched field reads "  :  ".
  edit->setInputMask(QStringLiteral("09:99; "));
  return edit;
}

QLineEdit* TRecordDialog::AddUnitEdit(const QString& name, int top, int left) {
  QLineEdit* edit = AddLineEdit(name, top, left, 80);
  MakeUnitReadOnly(edit);
  return edit;
}

void TRecordDialog::MakeUnitReadOnly(QLineEdit* edit) {
  edit->setReadOnly(true);
  edit->setFocusPolicy(Qt::NoFocus);
  // Shown on the dialog's own colour, so that it does not look like a field to type in.
  QPalette palette = edit->palette();
  palette.setColor(QPalette::Base, palette.color(QPalette::Window));
  edit->setPalette(palette);
}

void TRecordDialog::ArrangeTabOrder() {
  std::vector<const TPanelControl*> fields;
  for (const TPanelControl& control : FControls) {
    if (control.Field == nullptr) fields.push_back(&control);
  }
  std::stable_sort(fields.begin(), fields.end(), [](const TPanelControl* a, const TPanelControl* b) {
    return a->DesignTop != b->DesignTop ? a->DesignTop < b->DesignTop : a->DesignLeft < b->DesignLeft;
  });
  // Fields added by a subclass were made after the buttons; the whole chain is laid anew so
  // that every field comes before the buttons. Read-only units take no focus and stay out.
  std::vector<QWidget*> chain;
  for (const TPanelControl* field : fields) {
    if (field->Widget->focusPolicy() != Qt::NoFocus) chain.push_back(field->Widget);
  }
  for (QWidget* widget :
       std::initializer_list<QWidget*>{FLinkList, FCategoryButton, FLinkButton, FOkButton, FCancelButton}) {
    chain.push_back(widget);
  }
  for (std::size_t i = 1; i < chain.size(); ++i) setTabOrder(chain[i - 1], chain[i]);
}

QComboBox* TRecordDialog::AddComboBox(const QString& name, int top, int left, int width, bool editable, int tag) {
  auto* combo = new QComboBox(FRecordPanel);
  combo->setEditable(editable);
  AddField(combo, name, top, left, width, kFieldHeight, tag);
  return combo;
}

QLabel* TRecordDialog::AddCaption(QWidget* field, const QString& text) {
  auto* label = new QLabel(text, FRecordPanel);
  label->setObjectName(field->objectName() + QStringLiteral("Label"));
  label->setBuddy(field);
  label->adjustSize();
  label->move(field->x(), field->y() - CaptionAbove);
  FControls.push_back({label, field, 0, label->y(), label->x()});
  return label;
}

QLabel* TRecordDialog::AddLeftCaption(QWidget* field, const QString& text) {
  auto* label = new QLabel(text, FRecordPanel);
  label->setObjectName(field->objectName() + QStringLiteral("Label"));
  label->setBuddy(field);
  label->adjustSize();
  label->move(20, field->y() + 3);
  FControls.push_back({label, field, 0, label->y(), label->x()});
  FLeftCaptions.push_back(label);
  // The captions of the fixed rows start where every other row starts, 20 pixels in; when the
  // widest of them would reach into its field, the fixed fields move right instead.
  int fieldLeft = kFixedFieldLeft;
  for (const QLabel* caption : FLeftCaptions) fieldLeft = std::max(fieldLeft, 20 + caption->width() + 6);
  for (QLabel* caption : FLeftCaptions) {
    TPanelControl* control = ControlOf(caption);
    control->DesignLeft = 20;
    caption->move(control->DesignLeft, caption->y());
    QWidget* captioned = caption->buddy();
    if (TPanelControl* fieldControl = ControlOf(captioned);
        fieldControl != nullptr && fieldControl->DesignLeft < fieldLeft) {
      fieldControl->DesignLeft = fieldLeft;
      captioned->move(fieldLeft, captioned->y());
    }
  }
  return label;
}

QLabel* TRecordDialog::AddUnitLabel(QWidget* field, const QString& text) {
  auto* label = new QLabel(text, FRecordPanel);
  label->setObjectName(field->objectName() + QStringLiteral("Unit"));
  label->adjustSize();
  label->move(field->x() + field->width() + 6, field->y() + 3);
  FControls.push_back({label, field, 0, label->y(), label->x()});
  return label;
}

void TRecordDialog::SetCaptionText(const QWidget* field, const QString& text) {
  if (QLabel* caption = CaptionOf(field)) {
    caption->setText(text);
    caption->adjustSize();
  }
}

QLabel* TRecordDialog::CaptionOf(const QWidget* field) const {
  for (const TPanelControl& control : FControls) {
    auto* label = qobject_cast<QLabel*>(control.Widget);
    if (control.Field == field && label != nullptr && label->buddy() == field) return label;
  }
  return nullptr;
}

std::vector<TRecordDialog::TPanelControl*> TRecordDialog::LabelsOf(const QWidget* field) {
  std::vector<TPanelControl*> labels;
  for (TPanelControl& control : FControls) {
    if (control.Field == field) labels.push_back(&control);
  }
  return labels;
}

TRecordDialog::TPanelControl* TRecordDialog::ControlOf(const QWidget* widget) {
  for (TPanelControl& control : FControls) {
    if (control.Widget == widget) return &control;
  }
  return nullptr;
}

void TRecordDialog::MoveField(QWidget* field, int top, int left) {
  const TPanelControl* self = ControlOf(field);
  const int dy = top - (self != nullptr ? self->DesignTop : field->y());
  const int dx = left - (self != nullptr ? self->DesignLeft : field->x());
  std::vector<TPanelControl*> moved = LabelsOf(field);
  if (TPanelControl* control = ControlOf(field)) moved.push_back(control);
  for (TPanelControl* control : moved) {
    control->DesignTop += dy;
    control->DesignLeft += dx;
    control->Widget->move(control->DesignLeft, control->DesignTop);
  }
}

void TRecordDialog::ShiftRows(int fromTop, int delta) {
  std::vector<QWidget*> fields;
  for (const TPanelControl& control : FControls) {
    if (control.Field == nullptr && control.DesignTop >= fromTop) fields.push_back(control.Widget);
  }
  for (QWidget* field : fields) {
    const TPanelControl* control = ControlOf(field);
    MoveField(field, control->DesignTop + delta, control->DesignLeft);
  }
}

void TRecordDialog::SetFieldVisible(QWidget* field, bool visible) {
  field->setVisible(visible);
  for (TPanelControl* label : LabelsOf(field)) label->Widget->setVisible(visible);
}

void TRecordDialog::OnDoubleClick(QWidget* widget, std::function<void()> action) {
  if (widget == nullptr) return;
  FDoubleClickActions.insert(widget, std::move(action));
  widget->installEventFilter(this);
}

bool TRecordDialog::eventFilter(QObject* watched, QEvent* event) {
  if (watched == FMemo && event->type() == QEvent::KeyPress) {
    const auto* key = static_cast<const QKeyEvent*>(event);
    if (key->key() == Qt::Key_Tab && key->modifiers() == Qt::ControlModifier) {
      FMemo->insertPlainText(QStringLiteral("\t"));
      return true;
    }
  }
  if (event->type() == QEvent::MouseButtonDblClick) {
    const auto found = FDoubleClickActions.constFind(watched);
    if (found != FDoubleClickActions.constEnd()) {
      found.value()();
      return true;
    }
  }
  if (watched == FRecordPanel && event->type() == QEvent::Resize) StretchPanelControls();
  return QDialog::eventFilter(watched, event);
}

void TRecordDialog::StretchPanelControls() {
  const int right = FRecordPanel->width() - kPanelRightMargin;
  for (QWidget* field : FStretched) field->resize(std::max(40, right - field->x()), field->height());
  if (FPrepared) FPlaceEdit->resize(FTitleEdit->width(), FPlaceEdit->height());
  FMemo->resize(std::max(40, right - FMemo->x()), std::max(20, FRecordPanel->height() - FMemo->y() - MemoBottomMargin));
}

// ---- values of the fields ----

void TRecordDialog::SetNumberText(QLineEdit* edit, Extended value) { edit->setText(ToQString(FormatGeneral(value))); }

bool TRecordDialog::TryNumberOf(const QLineEdit* edit, Extended& value) {
  return TryParseNumber(ToStdString(edit->text()), value);
}

bool TRecordDialog::TryTimeOf(const QLineEdit* edit, TDateTime& value) {
  // One hour digit may stand in either place ("7 :05" as typed, " 7:05"); minutes need two.
  static const QRegularExpression wholeTime(QStringLiteral("^\\d{1,2}:\\d{2}$"));
  QString text = edit->displayText();
  text.remove(QLatin1Char(' '));
  return wholeTime.match(text).hasMatch() && TryStrToTime(ToStdString(text), value);
}

void TRecordDialog::SetTimeText(QLineEdit* edit, TDateTime value) {
  edit->setText(ToQString(TimeToStrHM(TimeOf(value))));
}

QString TRecordDialog::UnitAt(const std::vector<std::string>& units, int index) {
  if (index < 0 || static_cast<std::size_t>(index) >= units.size()) return {};
  return ToQString(units[static_cast<std::size_t>(index)]);
}

// ---- the working action ----

std::unique_ptr<TActData> TRecordDialog::MakeActData() const { return std::make_unique<TActData>(); }

TActData& TRecordDialog::WorkingAct() {
  if (!FActData) FActData = MakeActData();
  return *FActData;
}

const TActData& TRecordDialog::WorkingAct() const { return const_cast<TRecordDialog*>(this)->WorkingAct(); }

void TRecordDialog::SetCategoryInfo(TCategoryInfo& info) {
  FCategoryInfo = &info;
  SetFieldVisible(FRecordEdit, info.IsRecordData());
  SetFieldVisible(FTaniEdit, info.IsRecordData());
  SetFieldVisible(FTimeEdit, info.IsTime());
  SetFieldVisible(FWindDirectionCombo, info.IsWindDirection());
  SetFieldVisible(FWindSpeedEdit, info.IsWindSpeed());
  SetFieldVisible(FWeatherCombo, info.IsWeather());
  SetFieldVisible(FTemperatureEdit, info.IsTemperature());
  FTaniEdit->setText(UnitAt(info.Tani, 1));
  // A user category keeps the units each action was given; the others follow their settings.
  if (!IsUserCategory(info.Category())) {
    std::vector<std::string>& tani = WorkingAct().RecordData->Tani;
    for (std::size_t i = 0; i < tani.size() && i < info.Tani.size(); ++i) tani[i] = info.Tani[i];
  }
}

void TRecordDialog::SetFileList(TLinkDataOwner& files) {
  FFileOwner = &files;
  FFileList.CopyList(files.List());
  FAddFileAction->setEnabled(true);
}

void TRecordDialog::SetActData(const TActData& act) {
  TActData& working = WorkingAct();
  working.Assign(act);
  const TRecordData& record = *working.RecordData;
  FTitleEdit->setText(ToQString(working.Title));
  SetTimeText(FTimeEdit, record.StartTime);
  SetNumberText(FRecordEdit, record.Data());
  FTaniEdit->setText(UnitAt(record.Tani, 1));
  FPlaceEdit->setText(ToQString(working.Place.Title));
  const int direction = working.WindDirection;
  FWindDirectionCombo->setCurrentIndex(direction >= 0 && direction < FWindDirectionCombo->count() ? direction : -1);
  SetNumberText(FWindSpeedEdit, working.WindSpeed);
  SetNumberText(FTemperatureEdit, working.Temperature);
  FWeatherCombo->setCurrentText(ToQString(working.Weather));
  QStringList memoLines;
  for (const std::string& line : working.Memo) memoLines << ToQString(line);
  FMemo->setPlainText(memoLines.join(QLatin1Char('\n')));
  SetCameraClockText(working.CameraClockOffset);
  if (FPrepared) FillLinkList();
}

TActData& TRecordDialog::ActData() {
  TActData& working = WorkingAct();
  TRecordData& record = *working.RecordData;
  working.Title = ToStdString(FTitleEdit->text());
  if (FCategoryInfo != nullptr) record.IndicationKind = FCategoryInfo->IndicationKind();
  TDateTime time = 0;
  if (TryTimeOf(FTimeEdit, time)) record.StartTime = TimeOf(time);
  Extended value = 0;
  if (TryNumberOf(FRecordEdit, value)) record.SetData(value);
  if (record.Tani.size() > 1) record.Tani[1] = ToStdString(FTaniEdit->text());
  working.Place.Title = ToStdString(FPlaceEdit->text());
  working.WindDirection =
      static_cast<std::int8_t>(FWindDirectionCombo->currentIndex() >= 0 ? FWindDirectionCombo->currentIndex() : -1);
  if (TryNumberOf(FWindSpeedEdit, value)) working.WindSpeed = value;
  if (TryNumberOf(FTemperatureEdit, value)) working.Temperature = value;
  working.Weather = ToStdString(FWeatherCombo->currentText());
  working.Memo = SplitLines(PlainText(FMemo));
  if (TryCameraClockOffset(value)) working.CameraClockOffset = value;
  return working;
}

// ---- the place ----

void TRecordDialog::SetMapPort(TMapPort* map) {
  FMapPort = map;
  CaptionOf(FPlaceEdit)->setToolTip(map != nullptr ? QStringLiteral("ダブルクリックで場所詳細") : QString());
}

void TRecordDialog::PlaceCommand() {
  if (FMapPort == nullptr) return;
  TPlace place;
  place.Assign(WorkingAct().Place);
  place.Title = ToStdString(FPlaceEdit->text());
  if (!FMapPort->EditPlace(this, place)) return;
  WorkingAct().Place.Assign(place);
  FPlaceEdit->setText(ToQString(place.Title));
}

// ---- checks and closing ----

void TRecordDialog::CheckFields(QStringList& messages) const {
  Extended number = 0;
  TDateTime time = 0;
  if (!TryNumberOf(FRecordEdit, number)) messages << QStringLiteral("[記録]が数値ではありません");
  if (!TryTimeOf(FTimeEdit, time)) messages << QStringLiteral("[時刻]が正しくありません");
  if (!TryNumberOf(FTemperatureEdit, number)) messages << QStringLiteral("[温度]が数値ではありません");
  if (!TryNumberOf(FWindSpeedEdit, number)) messages << QStringLiteral("[風速]が数値ではありません");
  QString problem;
  if (!TryCameraClockOffset(number, &problem)) messages << problem;
}

void TRecordDialog::ShowError(const QString& message) const {
  if (FErrorHandler) {
    FErrorHandler(message);
  } else {
    ShowErrorBox(const_cast<TRecordDialog*>(this), message);
  }
}

bool TRecordDialog::CheckInput() {
  QStringList messages;
  CheckFields(messages);
  for (const QString& message : messages) ShowError(message);
  return messages.isEmpty();
}

void TRecordDialog::done(int result) {
  if (result == QDialog::Accepted) {
    if (!CheckInput()) return;
    FinishAccepted();
  } else {
    // The links created here go; the ones removed stay, as the diary still refers to them.
    for (TLinkData* link : FAddFileList.List()) {
      WorkingAct().LinkDataList.Remove(link);
      FFileList.Remove(link);
    }
    FLinkList->clear();
    FPreview->Clear();
    FAddFileList.Clear();
    FDeleteFileList.Clear();
  }
  QDialog::done(result);
}

void TRecordDialog::FinishAccepted() {
  for (int i = FDeleteFileList.Count() - 1; i >= 0; --i) {
    TLinkData* link = FDeleteFileList.Items(i);
    // The view file is ours to delete; the linked file itself is never touched.
    if (auto* view = dynamic_cast<TViewFileLink*>(link)) view->DeleteViewFile();
    std::unique_ptr<TLinkData> gone = FAddFileList.Remove(link);
    if (!gone && FFileOwner != nullptr) gone = FFileOwner->Remove(link);
  }
  FDeleteFileList.Clear();
  if (FFileOwner == nullptr) return;
  while (FAddFileList.Count() > 0) FFileOwner->Add(FAddFileList.Remove(FAddFileList.Items(0)));
  // The diary's list takes the order of the edited copy when both hold the same links by now.
  FFileOwner->Reorder(FFileList.Data());
}

// ---- showing ----

void TRecordDialog::showEvent(QShowEvent* event) {
  if (!FPrepared) PrepareOnFirstShow();
  QDialog::showEvent(event);
}

void TRecordDialog::PrepareOnFirstShow() {
  setAcceptDrops(true);
  FPreviewPages->setCurrentIndex(0);
  FillLinkList();
  FPrepared = true;
  ArrangeTabOrder();
  FTitleEdit->setFocus();
  FPlaceEdit->resize(FTitleEdit->width(), FPlaceEdit->height());
  setWindowTitle(QStringLiteral("記録"));
  FCategoryButton->setToolTip(QStringLiteral("入力項目設定"));
  CompactLayout();
  if (!FLinkPanel->isHidden()) ApplyLinkPanelSizes();
  if (!FPositionRestored) {
    if (const QScreen* screen = QGuiApplication::primaryScreen()) {
      const QRect desktop = screen->availableGeometry();
      move(desktop.center() - QPoint(frameGeometry().width() / 2, frameGeometry().height() / 2));
    }
  }
}

void TRecordDialog::SetRestoredGeometry(const QRect& geometry) {
  FPositionRestored = true;
  move(geometry.topLeft());
  resize(geometry.size());
}

void TRecordDialog::dragEnterEvent(QDragEnterEvent* event) {
  if (FFileOwner != nullptr && !DroppedLocalFiles(event->mimeData()).isEmpty()) {
    event->acceptProposedAction();
  } else {
    event->ignore();
  }
}

void TRecordDialog::dropEvent(QDropEvent* event) {
  const QStringList files = DroppedLocalFiles(event->mimeData());
  if (files.isEmpty()) return;
  event->acceptProposedAction();
  // The new links are shown, not added out of sight.
  SetLinkPanelVisible(true);
  AddFiles(files);
}

void TRecordDialog::RunCommand(const std::function<void()>& command) {
  try {
    command();
  } catch (const std::exception& error) {
    ShowError(QString::fromUtf8(error.what()));
  }
}

}  // namespace hakuvo
