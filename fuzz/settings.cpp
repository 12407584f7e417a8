// The settings reader over arbitrary bytes: it must never crash, always write well-formed
// UTF-16 (bytes that are not text go as escapes), and a document it wrote must read back as the
// same document.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "core/common/utf16.h"
#include "core/settings/history_menu_list.h"
#include "core/settings/ini_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace hakuvo;
  TIniFile ini;
  ini.LoadFromBytes(std::string_view(reinterpret_cast<const char*>(data), size));

  for (const std::string& section : ini.ReadSections()) {
    if (!ini.SectionExists(section)) std::abort();
    for (const std::string& key : ini.ReadSection(section)) {
      if (!ini.ValueExists(section, key)) std::abort();
      ini.ReadString(section, key, "");
      ini.ReadInteger(section, key, 0);
      ini.ReadBool(section, key, false);
      ini.ReadFloat(section, key, 0);
      ini.ReadBinary(section, key);
    }
  }
  THistoryMenuList history;
  history.LoadFromIni(ini);
  history.Add("/home/user/diary.hkvj");

  const std::string text = ini.Text();
  bool wellFormed = false;
  if (DecodeUnicodeText(ini.SaveToBytes(), &wellFormed) != text || !wellFormed) std::abort();
  TIniFile reread;
  reread.LoadFromBytes(ini.SaveToBytes());
  if (reread.Text() != text) std::abort();

  // Writing over what was read keeps the document readable and stable.
  history.SaveToIni(reread);
  reread.WriteString("Program", "Left", std::string_view(reinterpret_cast<const char*>(data), size > 32 ? 32 : size));
  TIniFile again;
  again.LoadFromBytes(reread.SaveToBytes());
  if (again.Text() != reread.Text()) std::abort();
  return 0;
}
