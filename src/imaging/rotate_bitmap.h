#pragma once

#include <QImage>

#include <optional>
#include <string>

namespace hakuvo {

// A new picture turned clockwise by 90, 180 or 270 degrees (any multiple of 90 counts, negative
// ones too): the same pixel format and colour table, width and height exchanged for 90 and 270.
// For a source w x h, destination (x, y) takes source (y, h-1-x) at 90, (w-1-x, h-1-y) at 180 and
// (w-1-y, x) at 270. An angle that is not a right angle, like 0, gives an unturned copy.
QImage RotateBitmap(const QImage& source, int angle);

// The picture to show for a file turned by the link's angle: none when LoadGraphic gives none,
// the picture as loaded at 0 degrees, else turned by RotateBitmap. Errors of LoadGraphic pass.
std::optional<QImage> LoadPictureRotated(const std::string& fileName, int angle);

}  // namespace hakuvo
