#pragma once

#include <QStringList>

namespace hakuvo {

class TActData;
class TAppData;

// Makes the thumbnails (pictures, things, persons) and track caches of an outing's links in the
// settings' thumbnail folder, at the link window's thumbnail size. With `onlyMissing` a link
// that has a view file keeps it. A link that fails does not stop the others; the messages of
// the failures are returned.
QStringList MakeActViewFiles(const TActData& act, const TAppData& appData, bool onlyMissing);

}  // namespace hakuvo
