#pragma once

#include <exception>
#include <stdexcept>
#include <string>
#include <string_view>

namespace hakuvo {

// Base of every error the core raises. The message is the user's text in Japanese (UTF-8), what
// the windows show; the command line speaks the user's locale and takes the English one where
// the raiser wrote it (else the Japanese one).
class EHakuvoError : public std::runtime_error {
 public:
  explicit EHakuvoError(const std::string& message) : std::runtime_error(message) {}
  EHakuvoError(const std::string& message, std::string english)
      : std::runtime_error(message), FEnglish(std::move(english)) {}

  std::string English() const { return FEnglish.empty() ? std::string(what()) : FEnglish; }
  bool HasEnglish() const { return !FEnglish.empty(); }

 private:
  std::string FEnglish;
};

// An error's text in English: the English of an EHakuvoError, else the exception's own words.
inline std::string EnglishText(const std::exception& error) {
  if (const auto* own = dynamic_cast<const EHakuvoError*>(&error)) return own->English();
  return error.what();
}

// The two halves of a text written "Japanese / English" (the form of the few messages made where
// only one string can travel, such as inside the JPEG decoder); a text without " / " is both.
struct TJapaneseEnglish {
  std::string Japanese;
  std::string English;
};
inline TJapaneseEnglish SplitJapaneseEnglish(std::string_view text) {
  const std::size_t at = text.find(" / ");
  if (at == std::string_view::npos) return {std::string(text), std::string(text)};
  return {std::string(text.substr(0, at)), std::string(text.substr(at + 3))};
}

}  // namespace hakuvo
