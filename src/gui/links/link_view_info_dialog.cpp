#include "gui/links/link_view_info_dialog.h"

#include <QButtonGroup>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include "gui/common/dialog_buttons.h"
#include "gui/common/error_box.h"

namespace hakuvo {

TLinkViewInfoDialog::TLinkViewInfoDialog(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("リンク表示設定"));
  auto* style = new QGroupBox(QStringLiteral("表示形式"));
  FIconButton = new QRadioButton(QStringLiteral("縮小画像(&S)"));
  FIconButton->setObjectName(QStringLiteral("IconButton"));
  FReportButton = new QRadioButton(QStringLiteral("詳細(&R)"));
  FReportButton->setObjectName(QStringLiteral("ReportButton"));
  // Exclusive by hand, so that a style that is neither can leave both unchecked.
  auto* group = new QButtonGroup(this);
  group->setExclusive(false);
  group->addButton(FIconButton);
  group->addButton(FReportButton);
  connect(FIconButton, &QRadioButton::clicked, this, [this] {
    FIconButton->setChecked(true);
    FReportButton->setChecked(false);
  });
  connect(FReportButton, &QRadioButton::clicked, this, [this] {
    FReportButton->setChecked(true);
    FIconButton->setChecked(false);
  });
  auto* styleLayout = new QVBoxLayout(style);
  styleLayout->addWidget(FIconButton);
  styleLayout->addWidget(FReportButton);

  auto* sizes = new QGroupBox(QStringLiteral("縮小画像"));
  auto* form = new QFormLayout(sizes);
  const auto edit = [form](const char* label, const char* name) {
    auto* line = new QLineEdit;
    line->setObjectName(QString::fromUtf8(name));
    form->addRow(QString::fromUtf8(label), line);
    return line;
  };
  FWidthEdit = edit("幅(&W)", "WidthEdit");
  FHeightEdit = edit("高さ(&H)", "HeightEdit");
  FWidthBlankEdit = edit("横間隔(&C)", "WidthBlankEdit");
  FHeightBlankEdit = edit("縦間隔(&G)", "HeightBlankEdit");

  auto* layout = new QVBoxLayout(this);
  layout->addWidget(style);
  layout->addWidget(sizes);
  layout->addWidget(OkCancelButtons(this));
}

void TLinkViewInfoDialog::SetLinkViewInfo(const TLinkViewInfo& info) {
  FLinkViewInfo.Assign(info);
  FIconButton->setChecked(info.ViewStyle() == vsIcon);
  FReportButton->setChecked(info.ViewStyle() == vsReport);
  FWidthEdit->setText(QString::number(info.ThumbnailWidth()));
  FHeightEdit->setText(QString::number(info.ThumbnailHeight()));
  FWidthBlankEdit->setText(QString::number(info.WidthBlank()));
  FHeightBlankEdit->setText(QString::number(info.HeightBlank()));
}

void TLinkViewInfoDialog::done(int result) {
  if (result == QDialog::Accepted) {
    struct Field {
      QLineEdit* Edit;
      const char* Name;
      int Value = 0;
    };
    Field fields[] = {
        {FWidthEdit, "幅"}, {FHeightEdit, "高さ"}, {FWidthBlankEdit, "横間隔"}, {FHeightBlankEdit, "縦間隔"}};
    bool valid = true;
    for (Field& field : fields) {
      bool isNumber = false;
      field.Value = field.Edit->text().trimmed().toInt(&isNumber);
      if (isNumber) continue;
      valid = false;
      const QString message = QStringLiteral("[%1]が数値ではありません").arg(QString::fromUtf8(field.Name));
      if (FErrorHandler) {
        FErrorHandler(message);
      } else {
        ShowErrorBox(this, message);
      }
    }
    if (!valid) return;
    if (FIconButton->isChecked()) FLinkViewInfo.SetViewStyle(vsIcon);
    if (FReportButton->isChecked()) FLinkViewInfo.SetViewStyle(vsReport);
    FLinkViewInfo.SetThumbnailWidth(fields[0].Value);
    FLinkViewInfo.SetThumbnailHeight(fields[1].Value);
    FLinkViewInfo.SetWidthBlank(fields[2].Value);
    FLinkViewInfo.SetHeightBlank(fields[3].Value);
  }
  QDialog::done(result);
}

}  // namespace hakuvo
