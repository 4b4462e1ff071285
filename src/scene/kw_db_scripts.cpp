// The root's side of the scripting bridge: the hooks through which the
// interpreter and the built-ins reach the game, and the root's own named
// values (volumes, display mode, cursor, cheat, Unicode mode).
#include "platform/codepage.h"
#include "media/sound.h"
#include "platform/ini.h"
#include "scene/kw_db.h"
#include "scene/shell_state.h"
#include "script/script_context.h"
#include "scriptlib/unicode_mode.h"

namespace kw {

void TKwDB::ConnectScripts() {
  TScriptContext& ctx = ScriptContext();
  ctx.Root = this;
  // The scene's handle registry is the only one: the interpreter asks it.
  ctx.ElementByHandle = [](uint32_t handle) -> TScriptElement* { return ElementFromHandle(handle); };
  ctx.LookupText = [this](const std::string& key) { return LookupText(key); };
  ctx.SaveErr = [this] { return SaveErr != 0; };
  SetUnicodeModeHook([this] { return UnicodeMode; });
}

void TKwDB::DisconnectScripts() {
  TScriptContext& ctx = ScriptContext();
  if (ctx.Root != this) return;
  ctx.Root = nullptr;
  ctx.LookupText = nullptr;
  ctx.SaveErr = nullptr;
  SetUnicodeModeHook(nullptr);
}

bool TKwDB::GetValue(const std::string& name, TValue& value) {
  if (TKwElement::GetValue(name, value)) return true;
  const TShellState& shell = Shell();
  if (name == "VOLMUZ") return value = TValue::Integer(shell.Sound ? shell.Sound->MusicVolume() : MusicVolume), true;
  if (name == "VOLSND") return value = TValue::Integer(shell.Sound ? shell.Sound->SoundVolume() : SoundVolume), true;
  if (name == "FULLSCREEN") return value = TValue::Integer(shell.FullScreen ? 1 : 0), true;
  if (name == "SYSCURSOR") return value = TValue::Integer(shell.SysCursor ? 1 : 0), true;
  if (name == "CHEAT") return value = TValue::String(CheatValue), true;
  if (name == "UNICODE") return value = TValue::Boolean(UnicodeMode), true;
  return false;
}

bool TKwDB::SetValue(const std::string& name, const TValue& value) {
  if (TKwElement::SetValue(name, value)) return true;
  const bool known = name == "VOLMUZ" || name == "VOLSND" || name == "FULLSCREEN" || name == "SYSCURSOR";
  if (!known) return false;
  int32_t v = 0;
  if (!value.ToInteger(v)) v = 0;  // a value with no integer reading counts as 0
  TShellState& shell = Shell();
  auto save = [this](const char* key, int32_t number) {
    if (Settings) Settings->WriteInteger("Def", key, number);
  };
  if (name == "VOLMUZ") {
    MusicVolume = v;
    if (shell.Sound) shell.Sound->SetMusicVolume(v);  // the playing music follows at once
    save("Muz", v);
  } else if (name == "VOLSND") {
    SoundVolume = v;
    if (shell.Sound) shell.Sound->SetSoundVolume(v);
    save("Snd", v);
  } else if (name == "FULLSCREEN") {
    // The display follows at the next process tick.
    shell.FullScreen = v != 0;
    save("FS", v != 0 ? 1 : 0);
  } else {
    shell.SysCursor = v != 0;
    if (shell.ShowSystemCursor) shell.ShowSystemCursor(shell.SysCursor);
    save("SysCursor", v != 0 ? 1 : 0);
  }
  return true;
}

}  // namespace kw
