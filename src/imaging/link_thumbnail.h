#pragma once

#include <QImage>
#include <QRect>
#include <QSize>

#include <string>

namespace hakuvo {

// What one row of the link window shows as its large icon, taken from the link on the
// user-interface thread, so that the thread that draws it never reads a link.
enum class TThumbnailKind { Picture, Thing, Person, File, Track };

struct TThumbnailJob {
  TThumbnailKind Kind = TThumbnailKind::File;
  // The picture: the small view file when the link has one, else the photograph itself; the
  // first that exists is used. Empty for a link without a picture.
  std::string ViewFileName;
  std::string PictureFileName;
  int Angle = 0;  // the turn shown, 0, 90, 180 or 270
  // The desktop's icon of the file's type (File only); null when the desktop knows none.
  QImage FileIcon;
};

// The symbol colours: sky blue for things and persons, grey for the page outline.
inline constexpr QRgb kSkyBlue = 0xFFA6CAF0;
inline constexpr QRgb kOutlineGrey = 0xFF808080;

// A new white image of the thumbnail size, the start of every thumbnail.
QImage NewThumbnailImage(QSize size);

// Where a picture of `picture` size turned by `angle` lands in an image of `size`: fitted into
// the image before it is turned (the box is turned for 90 and 270), rounded half to even, then
// turned and centred, truncating the half pixel.
QRect FittedPictureRect(QSize picture, int angle, QSize size);

// The drawings of a thumbnail, each into an image made by NewThumbnailImage.
// A picture fitted, turned and centred. `storedSize` is the picture's own size, which gives
// the proportions when `picture` was decoded reduced.
void DrawFittedPicture(QImage& image, const QImage& picture, QSize storedSize, int angle);
// An empty frame over the whole image: the place of a picture that could not be shown.
void DrawEmptyFrame(QImage& image);
// A sky-blue rectangle of 70 % of the image, centred: a thing without a photograph.
void DrawThingSymbol(QImage& image);
// A sky-blue head and shoulders: a person without a photograph.
void DrawPersonSymbol(QImage& image);
// A page with a folded corner in grey and, when there is one, the file type's icon centred
// over it: a file that is no picture.
void DrawFileSymbol(QImage& image, const QImage& icon);

// The outline of a track (PictureFileName of a Track job) in blue, fitted with a margin and drawn
// north up with the longitude shortened by the latitude's cosine, as on a map; false (nothing
// drawn) when the file cannot be read or holds fewer than two points.
bool DrawTrackOutline(QImage& image, const std::string& trackFileName);

// The thumbnail of one link: the picture as above when it can be read; otherwise the frame for
// a picture link, the symbol for a thing or a person. A picture that cannot be decoded, or is
// too large to decode, counts as none. Safe to call on any thread.
QImage MakeLinkThumbnail(const TThumbnailJob& job, QSize size);

}  // namespace hakuvo
