#pragma once

class QCoreApplication;

namespace hakuvo {

// The program speaks Japanese whatever the desktop's locale, so the toolkit's own texts (the
// buttons of message boxes, the file dialogs) are put into Japanese too. Loads "qtbase_ja" from
// the toolkit's translations folder; returns false, leaving the English texts, when it is not
// installed.
bool InstallJapaneseQtTranslation(QCoreApplication& application);

}  // namespace hakuvo
