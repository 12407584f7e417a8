#pragma once

#include <cstdint>

namespace hakuvo {

enum TViewStyle : std::uint8_t { vsIcon = 0, vsSmallIcon, vsList, vsReport };

// How the link window shows linked files; ThumbnailWidth/Height are also the size of the
// thumbnail files.
class TLinkViewInfo {
 public:
  virtual ~TLinkViewInfo() = default;
  virtual void Assign(const TLinkViewInfo& source) { *this = source; }

  TViewStyle ViewStyle() const { return FViewStyle; }
  void SetViewStyle(TViewStyle value) { FViewStyle = value; }
  int ThumbnailWidth() const { return FThumbnailWidth; }
  void SetThumbnailWidth(int value) { FThumbnailWidth = value; }
  int ThumbnailHeight() const { return FThumbnailHeight; }
  void SetThumbnailHeight(int value) { FThumbnailHeight = value; }
  int WidthBlank() const { return FWidthBlank; }
  void SetWidthBlank(int value) { FWidthBlank = value; }
  int HeightBlank() const { return FHeightBlank; }
  void SetHeightBlank(int value) { FHeightBlank = value; }

 private:
  TViewStyle FViewStyle = vsIcon;
  int FThumbnailWidth = 120;
  int FThumbnailHeight = 120;
  int FWidthBlank = 20;
  int FHeightBlank = 20;
};

}  // namespace hakuvo
