// Keys and typed characters reaching the root: exKeyDown, text entry into
// the text element that takes typing, and the cheat detector.
#include "platform/escaped_text.h"
#include "scene/kw_db.h"
#include "scene/kw_text.h"
#include "scene/shell_state.h"
#include "scriptlib/unicode_mode.h"

namespace kw {

void TKwDB::KeyDown(int32_t key) {
  Shell().KeyDowned = key;
  RunScript("key_Down", exKeyDown);
}

void TKwDB::TypeChar(uint32_t code) {
  if (Shell().EntryText) {
    EditEntryText(code);
    return;
  }
  cheatBuffer_ += char(code & 0xFF);
  if (cheatBuffer_.size() > kCheatBufferSize) cheatBuffer_.erase(0, cheatBuffer_.size() - kCheatBufferSize);
  DetectCheats();
}

void TKwDB::EditEntryText(uint32_t code) {
  TKwElement& entry = *Shell().EntryText;
  // The text goes back through the Text property's setter, so the element
  // lays it out anew.
  const TPropTable props = entry.Properties();
  const int index = FindProperty(props, "Text");
  if (index < 0) return;
  const TPropInfo& textProp = props[size_t(index)];
  std::string text = PropString(textProp.Get(entry));
  if (!UnicodeMode) {
    // One byte per character. "#" and "$" would start inline colour codes.
    if (code == 8) {
      if (!text.empty()) text.pop_back();
    } else if (code < 32) {
      // Other control characters assign the text unchanged.
    } else if (code == '#' || code == '$' || code > 255) {
      return;
    } else {
      text += char(code);
    }
  } else {
    // Escaped text: characters from 128 up are three bytes. The character
    // removed by a backspace is found by walking the text from its start,
    // so an escape whose code bytes are 1 is never cut apart.
    if (code == 8) {
      text.resize(LastCharStart(text, true));
    } else if (code >= 32 && code < 128) {
      text += char(code);
    } else if (code >= 128 && code <= 0xFFFF) {
      AppendEscape(text, code);
    } else {
      return;
    }
  }
  textProp.Set(entry, text);
}

void TKwDB::DetectCheats() {
  const std::string codes = ";" + Cheats + ";";
  for (size_t i = 0; i < cheatBuffer_.size(); ++i) {
    const std::string piece = ";" + cheatBuffer_.substr(i) + ";";
    if (codes.find(piece) == std::string::npos) continue;
    CheatValue = cheatBuffer_.substr(i);
    RunScript("Cheat", exCheat);
  }
}

}  // namespace kw
