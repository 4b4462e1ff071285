// The root's language texts: the language file in use (Lang), the default
// language file (DefLang) and the lookup of a text by its key, in Unicode
// games through the Unicode texts and the wide reading of the language file.
#include "platform/codepage.h"
#include "platform/escaped_text.h"
#include "platform/files.h"
#include "platform/ini.h"
#include "platform/log.h"
#include "scene/kw_db.h"
#include "scene/kw_db_names.h"

namespace kw {

namespace {

// A language file read into memory; a missing file gives no texts.
std::unique_ptr<TMemIniFile> ReadTexts(std::string_view name) {
  if (std::optional<fs::path> file = ExistingGameFile(name)) return std::make_unique<TMemIniFile>(*file);
  if (!name.empty()) KwLog("language file \"%s\" not found: its texts are empty", std::string(name).c_str());
  return std::make_unique<TMemIniFile>();
}

// A key as the wide INI service sees it: Windows-1251 bytes become their
// characters, escapes their 16-bit codes.
std::u16string WideName(std::string_view text) {
  std::u16string out;
  for (size_t pos = 0; pos < text.size();) {
    if (text[pos] == EscapeByte) {
      uint32_t code = 0;
      if (!NextEscapedChar(text, pos, code)) break;
      out += char16_t(code);
    } else {
      out += UnicodeFromCp1251(uint8_t(text[pos++]));
    }
  }
  return out;
}

// Characters below 128 stay one byte; every other becomes an escape.
std::string EscapedFromWide(std::u16string_view text) {
  std::string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (c < 128) out += char(c);
    else AppendEscape(out, c);
  }
  return out;
}

}  // namespace

void TKwDB::SetLang(std::string value) {
  if (value == Lang) return;
  LanguageTexts.reset();
  if (!ExistingGameFile(value)) {
    for (const char* fallback : {"eng.lng", "rus.lng", "deu.lng"}) {
      if (ExistingGameFile(fallback)) {
        KwLog("language file \"%s\" not found: \"%s\" is used", value.c_str(), fallback);
        value = fallback;
        break;
      }
    }
  }
  Lang = std::move(value);
  LanguageTexts = ReadTexts(Lang);
}

void TKwDB::SetDefLang(std::string value) {
  if (value == DefLang) return;
  DefLang = std::move(value);
  DefaultLanguageTexts = ReadTexts(DefLang);
}

std::string TKwDB::LookupText(std::string_view id) const {
  const TTextKey k = SplitTextKey(id);
  if (!k.Valid() || !LanguageTexts) return {};
  if (!UnicodeMode) return LanguageTexts->ReadString(k.Section, k.Key, "");
  // A key present in the Unicode texts answers even with an empty value.
  if (UnicodeTexts) {
    if (std::optional<std::string> v = UnicodeTexts->Text().Find(k.Section, k.Key)) return *v;
  }
  // The language file read as Unicode text. The value is cut to
  // kMaxWideText characters, the buffer the games were made with.
  std::optional<fs::path> file = ExistingGameFile(Lang);
  if (!file) return {};
  return EscapedFromWide(ReadWideProfileString(*file, WideName(k.Section), WideName(k.Key), u"", kMaxWideText));
}

}  // namespace kw
