#pragma once

#include <exception>
#include <initializer_list>
#include <string>
#include <string_view>

#include "core/expr/expression.h"

namespace hakuvo::cli {

// Every sentence the command line says to a person, each written once in English and once in
// Japanese. Tables and key=value lines are for scripts and never go through here: they read the
// same in every locale.
enum TMessage : int {
  msgExpectedCommand,
  msgUnknownCommand,
  msgUsageLine,
  msgNeedsValue,
  msgUnknownOption,
  msgOneDiary,
  msgCategoryRequired,
  msgNoSuchCategory,
  msgPeriodValues,
  msgKindValues,
  msgTermValue,
  msgFromToDates,
  msgFormulaOneArgument,
  msgFormulaSyntax,
  msgFormulaPower,
  msgFormulaInfinity,
  msgFormulaMath,
  msgFormulaTooLong,
  msgFormulaOther,
  msgExpectedOneFile,
  msgFileNotFound,
  msgNotJpeg,
  msgNoExif,
  msgExpectedDiaryAndFiles,
  msgDateValues,
  msgModeValues,
  msgRefusedMissing,
  msgRefusedFolder,
  msgRefusedNotRegular,
  msgRefusedDuplicate,
  msgRefusedTrack,
  msgRefusedUnreadable,
  msgRefusedInDiary,
  msgNotReached,
  msgExpectedInOut,
  msgDiaryAndCondition,
  msgSizeValue,
  msgExpectedFiles,
  msgExpectedOut,
  msgNotJpegThumbnail,
  msgCannotOpenPicture,
  msgHelpHeader,
  msgAtCharacter,
  msgErrNoEntry,
  msgErrAccess,
  msgErrLoop,
  msgErrIo,
  msgErrNameTooLong,
  msgErrNotFolder,
  msgNotTrackFile,
  msgNeedsDateTime,
  msgDateTimeValue,
  msgGeotagDate,
  msgCount
};

// True when LC_ALL, else LC_MESSAGES, else LANG names Japanese ("ja", "ja_JP.UTF-8").
bool IsJapaneseLocale();

// The message in the user's language with each "{}" replaced by the next argument.
std::string Text(TMessage message, std::initializer_list<std::string_view> arguments = {});

// The system's reason for an errno in the user's language (the common ones; others as the C
// library words them).
std::string SystemErrorText(int error);

// A formula's error as the desktop program words it, with the character it stopped at.
std::string FormulaErrorText(TExpressionErrorNumber number, int errorIndex);
// In Japanese the error names what was wrong where the evaluator knows it ("［高度］という項目はありません
// （10 文字目）"), as the extraction window does.
std::string FormulaErrorText(const EExpressionError& error);

// An exception's message in the user's language: core errors carry both.
std::string ErrorText(const std::exception& error);
// Of a text kept in both languages.
std::string LocaleText(const std::string& japanese, const std::string& english);

// Both languages of a message, for tests that must not depend on the locale they run in.
std::string_view EnglishText(TMessage message);
std::string_view JapaneseText(TMessage message);

}  // namespace hakuvo::cli
