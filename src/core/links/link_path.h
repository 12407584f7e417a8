#pragma once

#include <string>

namespace hakuvo {

// The file a link's stored name means: an absolute name as it is (normalised), a relative one
// (written by hand or by an older version) taken from the diary's folder, so that the program
// finds the same file wherever it was started from. Without a diary file the working folder is
// the base.
std::string ResolveLinkName(const std::string& stored, const std::string& diaryFileName);

// The name a new link stores for a file named on the command line or dropped: absolute and
// normalised ("photos/./a.jpg" from /home/u becomes "/home/u/photos/a.jpg"). Links are not
// followed, so the link keeps naming what the user chose.
std::string AbsoluteLinkName(const std::string& given);

}  // namespace hakuvo
