#include "cli/messages.h"

#include "core/common/hakuvo_error.h"
#include "core/expr/expression_messages.h"

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace hakuvo::cli {

namespace {

struct TEntry {
  TMessage Id;
  std::string_view English;
  std::string_view Japanese;
};

// In the order of TMessage; a static check below keeps the two in step.
constexpr std::array<TEntry, msgCount> kMessages{{
    {msgExpectedCommand, "expected a command (see hakuvo-cli --help)",
     "コマンドを指定してください（hakuvo-cli --help を参照）"},
    {msgUnknownCommand, "unknown command '{}' (see hakuvo-cli --help)",
     "'{}' というコマンドはありません（hakuvo-cli --help を参照）"},
    {msgUsageLine, "{}: {} (usage: hakuvo-cli {} {})", "{}: {}（使い方: hakuvo-cli {} {}）"},
    {msgNeedsValue, "{} needs a value", "{} には値が必要です"},
    {msgUnknownOption, "unknown option {}", "{} というオプションはありません"},
    {msgOneDiary, "give one diary file", "日記ファイルを 1 つ指定してください"},
    {msgCategoryRequired, "--category is required", "--category を指定してください"},
    {msgNoSuchCategory, "the diary has no category '{}'", "日記に「{}」という分類はありません"},
    {msgPeriodValues, "--period is day, month, year or act", "--period は day, month, year, act のいずれかです"},
    {msgKindValues, "{} is a record index (0 count, 1 main value, 2 speed, ...) or -1",
     "{} は記録の番号（0 回数、1 主な値、2 速度、...）か -1 です"},
    {msgTermValue, "--term is a number of days", "--term は日数です"},
    {msgFromToDates, "--from and --to are dates, YYYY/MM/DD", "--from と --to は YYYY/MM/DD の日付です"},
    {msgFormulaOneArgument, "give the formula as one argument (quote it)",
     "式を 1 つの引数として指定してください（引用符で囲む）"},
    {msgFormulaSyntax, "the formula is not correct", "式が正しくありません"},
    {msgFormulaPower, "0 cannot be raised to a power of 0 or less", "0 を 0 以下の数で累乗することはできません"},
    {msgFormulaInfinity, "division by 0, or the value becomes infinite", "0 で割っているか、値が無限大になります"},
    {msgFormulaMath, "the value cannot be calculated", "計算できない値です"},
    {msgFormulaTooLong, "the formula is too long (1024 characters at most)", "式が長すぎます（1024 文字まで）"},
    {msgFormulaOther, "the formula cannot be calculated", "式を計算できません"},
    {msgExpectedOneFile, "expected one FILE", "ファイルを 1 つ指定してください"},
    {msgFileNotFound, "{}: no such file", "{} が見つかりません"},
    {msgNotJpeg, "{}: not a JPEG photograph", "{} は JPEG 写真ではありません"},
    {msgNoExif, "{}: the photograph has no Exif data", "{} には Exif 情報がありません"},
    {msgExpectedDiaryAndFiles, "expected DIARY and at least one FILE",
     "日記ファイルと 1 つ以上のファイルを指定してください"},
    {msgDateValues, "--date must be file, today or a date YYYY/MM/DD",
     "--date は file, today, YYYY/MM/DD の日付のいずれかです"},
    {msgModeValues, "--mode must be JOGGING, WALKING or BICYCLE", "--mode は JOGGING, WALKING, BICYCLE のいずれかです"},
    {msgRefusedMissing, "cannot be looked at: {}", "ファイルを調べられません: {}"},
    {msgRefusedFolder, "a folder, not a file", "ファイルではなくフォルダーです"},
    {msgRefusedNotRegular, "not a plain file (a FIFO, a device or a socket)",
     "通常のファイルではありません（名前付きパイプ、デバイス、ソケット）"},
    {msgRefusedDuplicate, "the same file was given earlier", "同じファイルがすでに指定されています"},
    {msgRefusedTrack, "the track cannot be read: {}", "トラックを読めません: {}"},
    {msgRefusedUnreadable, "cannot be read: {}", "ファイルを読めません: {}"},
    {msgRefusedInDiary, "already in the diary (--again adds it anyway)",
     "すでに日記にあります（--again で重ねて追加）"},
    {msgNotReached, "the import ended at a track that cannot be read", "読めないトラックで取り込みを終えました"},
    {msgExpectedInOut, "expected IN and OUT", "読み込む日記と保存先を指定してください"},
    {msgDiaryAndCondition, "give a diary file and at most one condition",
     "日記ファイルと、条件を 1 つまで指定してください"},
    {msgSizeValue, "--size must be a whole number of pixels from 1 to 10000",
     "--size は 1 から 10000 までの画素数です"},
    {msgExpectedFiles, "expected at least one FILE", "ファイルを 1 つ以上指定してください"},
    {msgExpectedOut, "expected --out DIR", "--out で出力先フォルダーを指定してください"},
    {msgNotJpegThumbnail,
     "{}: not a JPEG photograph (.jpg, .jpeg, .jpe); thumbnails of other pictures are made by the desktop program",
     "{} は JPEG 写真（.jpg, .jpeg, .jpe）ではありません。ほかの画像の縮小版はデスクトッププログラムが作ります"},
    {msgCannotOpenPicture, "{}: cannot open the file (missing, unreadable or not a plain file)",
     "{} を開けません（ファイルがないか、読めないか、通常のファイルではありません）"},
    {msgHelpHeader, "The diary's core without a display. Commands:", "画面を使わない跳記の中核です。コマンド:"},
    {msgAtCharacter, " (character {})", "（{} 文字目）"},
    {msgErrNoEntry, "no such file or folder", "ファイルまたはフォルダーがありません"},
    {msgErrAccess, "permission denied", "アクセスが許可されていません"},
    {msgErrLoop, "the symbolic links form a loop", "シンボリックリンクが循環しています"},
    {msgErrIo, "input/output error (the disk or the connection failed)", "入出力エラー（ディスクまたは接続の障害）"},
    {msgErrNameTooLong, "the file name is too long", "ファイル名が長すぎます"},
    {msgErrNotFolder, "a part of the path is not a folder", "パスの途中がフォルダーではありません"},
    {msgNotTrackFile, "{}: not a GPS track (NMEA, GPX, KML, FIT or TCX)",
     "{} は GPS ファイル（NMEA、GPX、KML、FIT、TCX）ではありません"},
    {msgNeedsDateTime, "{} needs a date-time", "{} には日時が必要です"},
    {msgDateTimeValue, "{} expects a local date-time such as \"2021/03/02 09:30:00\", not \"{}\"",
     "{} には \"2021/03/02 09:30:00\" のような日時を指定してください（\"{}\" ではありません）"},
    {msgGeotagDate, "--date must be a date YYYY/MM/DD", "--date は YYYY/MM/DD の日付です"},
}};

constexpr bool InOrder() {
  for (std::size_t i = 0; i < kMessages.size(); ++i) {
    if (static_cast<std::size_t>(kMessages[i].Id) != i) return false;
  }
  return true;
}
static_assert(InOrder(), "the message table must follow the order of TMessage");

bool NamesJapanese(const char* value) { return value != nullptr && value[0] == 'j' && value[1] == 'a'; }

const char* LocaleVariable() {
  // POSIX precedence: the first that is set and not empty decides.
  for (const char* name : {"LC_ALL", "LC_MESSAGES", "LANG"}) {
    const char* value = std::getenv(name);
    if (value != nullptr && *value != '\0') return value;
  }
  return nullptr;
}

}  // namespace

bool IsJapaneseLocale() { return NamesJapanese(LocaleVariable()); }

std::string_view EnglishText(TMessage message) { return kMessages.at(message).English; }
std::string_view JapaneseText(TMessage message) { return kMessages.at(message).Japanese; }

std::string Text(TMessage message, std::initializer_list<std::string_view> arguments) {
  static const bool japanese = IsJapaneseLocale();
  const std::string_view pattern = japanese ? JapaneseText(message) : EnglishText(message);
  std::string text;
  text.reserve(pattern.size() + 64);
  auto next = arguments.begin();
  for (std::size_t at = 0; at < pattern.size(); ++at) {
    if (pattern[at] == '{' && at + 1 < pattern.size() && pattern[at + 1] == '}') {
      if (next != arguments.end()) text += *next++;
      ++at;
      continue;
    }
    text += pattern[at];
  }
  return text;
}

std::string SystemErrorText(int error) {
  switch (error) {
    case ENOENT:
      return Text(msgErrNoEntry);
    case EACCES:
    case EPERM:
      return Text(msgErrAccess);
    case ELOOP:
      return Text(msgErrLoop);
    case EIO:
      return Text(msgErrIo);
    case ENAMETOOLONG:
      return Text(msgErrNameTooLong);
    case ENOTDIR:
      return Text(msgErrNotFolder);
    default:
      return std::strerror(error);
  }
}

std::string FormulaErrorText(const EExpressionError& error) {
  if (IsJapaneseLocale()) return ExpressionErrorMessage(error);
  return FormulaErrorText(error.ErrorNumber(), error.ErrorIndex());
}

std::string FormulaErrorText(TExpressionErrorNumber number, int errorIndex) {
  TMessage message = msgFormulaOther;
  switch (number) {
    case enNotError:
      return {};
    case enSyntaxError:
      message = msgFormulaSyntax;
      break;
    case enPowerError:
      message = msgFormulaPower;
      break;
    case enInfinityError:
      message = msgFormulaInfinity;
      break;
    case enMathError:
      message = msgFormulaMath;
      break;
    case enExpressionMaxLengthOver:
      // No position means anything in a formula that is too long.
      return Text(msgFormulaTooLong);
  }
  // Position 0: the evaluation failed before reading anything that could be pointed at.
  if (errorIndex <= 0) return Text(message);
  return Text(message) + Text(msgAtCharacter, {std::to_string(errorIndex)});
}

std::string ErrorText(const std::exception& error) {
  return IsJapaneseLocale() ? std::string(error.what()) : hakuvo::EnglishText(error);
}

std::string LocaleText(const std::string& japanese, const std::string& english) {
  return IsJapaneseLocale() || english.empty() ? japanese : english;
}

}  // namespace hakuvo::cli
