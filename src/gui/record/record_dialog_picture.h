#pragma once

#include <QImage>
#include <QWidget>

#include <string>

namespace hakuvo {

// Shows one picture centred and scaled to fit the pane with its proportions kept.
class TPicturePane : public QWidget {
  Q_OBJECT

 public:
  explicit TPicturePane(QWidget* parent = nullptr);

  void SetPicture(const QImage& image);
  void Clear();
  const QImage& Picture() const { return FImage; }
  bool HasPicture() const { return !FImage.isNull(); }

  // Loads a picture file turned by the angle, with the busy cursor on while it loads. A file
  // that cannot be loaded (missing, unknown kind, damaged) leaves the pane empty.
  void LoadFile(const std::string& fileName, int angle);

  // Off: a picture smaller than the pane keeps its size instead of growing to fill it.
  void SetIsEnlarging(bool value) { FIsEnlarging = value; }

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  QImage FImage;
  bool FIsEnlarging = true;
};

}  // namespace hakuvo
