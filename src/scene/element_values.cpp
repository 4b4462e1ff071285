// The named values an element offers to scripts: GetValue and SetValue of
// the base, in their rule order. Published properties come from the
// class's property table, the one source the game file, saving and the
// scripts share.
#include <charconv>
#include <cmath>

#include "media/kw_im.h"
#include "platform/codepage.h"
#include "platform/log.h"
#include "scene/element.h"
#include "scene/kw_text.h"
#include "scene/property_error.h"
#include "scene/shell_state.h"
#include "script/interpreter_pool.h"
#include "script/script_context.h"

namespace kw {

namespace {

TValue Ref(const TKwElement* e) { return TValue::Element(e ? e->Handle() : 0); }

// A property's value as scripts read it: integer kinds (Booleans and
// enumerations included) as an integer, an unsigned word as the signed
// integer with the same bits; reals as a float; text as a string.
TValue ScriptValueOf(const TPropInfo& prop, const TKwElement& e) {
  const TPropValue v = prop.Get(e);
  if (IsIntegerType(prop.Type)) return TValue::Integer(int32_t(uint32_t(PropInt(v))));
  if (IsRealType(prop.Type)) return TValue::Float(PropReal(v));
  return TValue::String(PropString(v));
}

// A string read as a decimal integer, as integer properties take text:
// blanks around, an optional sign, digits; 0 when it is anything else.
int32_t DecimalOrZero(std::string_view text) {
  while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) text.remove_prefix(1);
  while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) text.remove_suffix(1);
  if (!text.empty() && text.front() == '+') text.remove_prefix(1);
  int32_t out = 0;
  auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), out);
  if (ec != std::errc() || end != text.data() + text.size() || text.empty()) return 0;
  return out;
}

// The value converted to the property's type; false when it has no such
// reading (a float beyond the integer range, a text that is no number for
// a real).
bool PropertyValueFrom(const TPropInfo& prop, const TValue& value, TPropValue& out) {
  if (IsIntegerType(prop.Type)) {
    int32_t i = 0;
    if (value.IsString()) i = DecimalOrZero(value.s);
    else if (!value.ToInteger(i)) return false;
    out = int64_t(i);
    return true;
  }
  if (IsRealType(prop.Type)) {
    double f = 0;
    if (!value.ToFloat(f)) return false;
    out = f;
    return true;
  }
  out = value.ToString();
  return true;
}

// A value that does not suit a property stops the script that wrote it:
// the error is recorded on the interpreter that runs the script.
void RejectValue(const TKwElement& e, std::string_view name, const TValue& value) {
  const std::string message = "Invalid value for property " + std::string(name) + ": " + value.ToString();
  if (ScriptContext().CurrentElement) {
    InterpreterPool().CurrentInterpreter().ReportError(message, std::string(), 5);
  } else {
    KwLog("%s (in %s <%s>)", message.c_str(), e.Id.c_str(), e.ClassName());
  }
}

// "CHILD[n]" or "CHILDn": true with the index text when the name has one
// of the two forms.
bool ChildIndexText(const std::string& name, std::string_view& digits) {
  if (name.size() <= 5 || name.compare(0, 5, "CHILD") != 0) return false;
  std::string_view rest(name);
  rest.remove_prefix(5);
  if (rest.front() == '[') {
    if (rest.back() != ']' || rest.size() < 2) return false;
    digits = rest.substr(1, rest.size() - 2);
  } else {
    digits = rest;
  }
  return true;
}

// `id` upper-cased in the ASCII letters equals `name`, without a copy.
bool UpperIdEquals(std::string_view id, std::string_view name) {
  if (id.size() != name.size()) return false;
  for (size_t i = 0; i < id.size(); ++i) {
    char c = id[i];
    if (c >= 'a' && c <= 'z') c = char(c - 'a' + 'A');
    if (c != name[i]) return false;
  }
  return true;
}

bool ParseIndex(std::string_view digits, int64_t& out) {
  if (!digits.empty() && digits.front() == '+') digits.remove_prefix(1);
  auto [end, ec] = std::from_chars(digits.data(), digits.data() + digits.size(), out);
  return ec == std::errc() && end == digits.data() + digits.size() && !digits.empty();
}

// Visible as the scene shows it: no element walked upward is hidden, the
// walk stopping before a screen or an element right under the root.
bool NowVisible(const TKwElement& self) {
  for (const TKwElement* e = &self; e; e = e->Parent()) {
    if (IsClass(e, TKwClass::Screen) || !e->Parent() || e->Parent() == e->Root()) break;
    if (!e->Vis) return false;
  }
  return true;
}

bool ComputedValue(TKwElement& self, const std::string& name, TValue& value) {
  const TShellState& shell = Shell();
  const TScriptContext& ctx = ScriptContext();
  switch (name.empty() ? 0 : name[0]) {
    case 'A':
      if (name == "ABSX") return value = TValue::Integer(self.GetAbsX()), true;
      if (name == "ABSY") return value = TValue::Integer(self.GetAbsY()), true;
      break;
    case 'C':
      if (name == "CLASS") return value = TValue::String(AsciiUpperCase(self.ClassName())), true;
      if (name == "CHILDCOUNT") return value = TValue::Integer(int32_t(self.ChildCount())), true;
      if (name == "CURRENTSCREEN") return value = Ref(shell.CurrentScreen), true;
      if (name == "CURSOR") {
        if (!shell.CursorElement) return false;
        return value = Ref(shell.CursorElement), true;
      }
      if (name == "CURSORAT") return value = Ref(shell.CursorAt), true;
      if (name == "CURSORATNIL") return value = TValue::Byte(shell.CursorAt ? 0 : 1), true;
      if (std::string_view digits; ChildIndexText(name, digits)) {
        int64_t n = 0;
        if (!ParseIndex(digits, n)) return false;
        const bool inside = n >= 1 && uint64_t(n) <= self.ChildCount();
        return value = Ref(inside ? self.Child(size_t(n - 1)) : nullptr), true;
      }
      break;
    case 'I':
      if (name == "IMFORLOADCOUNT") return value = TValue::Integer(KwImages().ImForLoadCount), true;
      if (name == "IMFORLOADPOS") return value = TValue::Integer(KwImages().ImForLoadPos), true;
      break;
    case 'K':
      if (name == "KWDB") return value = Ref(self.Root()), true;
      if (name == "KEYDOWNED") return value = TValue::Integer(shell.KeyDowned), true;
      break;
    case 'M':
      if (name == "MOUSEIN") return value = TValue::Boolean(shell.CursorAt == &self), true;
      if (name == "MSDX") return value = TValue::Integer(shell.MsDX), true;
      if (name == "MSDY") return value = TValue::Integer(shell.MsDY), true;
      if (name == "MSX") return value = TValue::Integer(shell.MsX), true;
      if (name == "MSY") return value = TValue::Integer(shell.MsY), true;
      if (name == "MOUSEDOWN") return value = TValue::Boolean(shell.MouseIsDown), true;
      if (name == "MOUSEINDOWN") return value = TValue::Boolean(shell.MouseIsDown && shell.CursorAt == &self), true;
      break;
    case 'N':
      if (name == "NIL") return value = TValue::Element(0), true;
      if (name == "NOWVIS") return value = TValue::Boolean(NowVisible(self)), true;
      break;
    case 'P':
      if (name == "PARENT") {
        if (!self.Parent()) return false;
        return value = Ref(self.Parent()), true;
      }
      if (name == "PARPOS") {
        if (!self.Parent()) return false;
        return value = TValue::Integer(self.IndexInParent() + 1), true;
      }
      if (name == "PREEXKWE") {
        const TScriptElement* prev = ctx.PreviousElement;
        return value = TValue::Element(prev ? prev->ScriptHandle() : 0), true;
      }
      break;
    case 'S':
      if (name == "SELF") return value = Ref(&self), true;
      if (name == "SZX") return value = TValue::Integer(self.GetSizeX()), true;
      if (name == "SZY") return value = TValue::Integer(self.GetSizeY()), true;
      break;
    case 'T':
      // The drawn width of a text element's text; other classes do not
      // answer the name.
      if (name == "TEXTSZ" && IsClass(&self, TKwClass::Text))
        return value = static_cast<const TKwText&>(self).TextSizeValue(), true;
      break;
    default:
      break;
  }
  return false;
}

}  // namespace

bool TKwElement::GetValue(const std::string& name, TValue& value) {
  if (int i = Vars.IndexOf(name); i >= 0) {
    value = Vars[i].Value;
    return true;
  }
  const TPropTable props = Properties();
  if (int p = FindProperty(props, name); p >= 0) {
    value = ScriptValueOf(props[size_t(p)], *this);
    return true;
  }
  for (const auto& child : Children()) {
    if (UpperIdEquals(child->Id, name)) {
      value = Ref(child.get());
      return true;
    }
  }
  return ComputedValue(*this, name, value);
}

bool TKwElement::SetValue(const std::string& name, const TValue& given) {
  const TValue* value = &given;
  TValue looked;
  if (given.IsString() && !given.s.empty() && given.s[0] == '"') {
    const TScriptContext& ctx = ScriptContext();
    const std::string key = given.s.size() >= 2 ? given.s.substr(1, given.s.size() - 2) : std::string();
    std::string text = ctx.LookupText ? ctx.LookupText(key) : std::string();
    if (!text.empty()) {
      looked = TValue::String(std::move(text));
      value = &looked;
    }
  }
  if (Vars.PutExisting(name, *value)) return true;
  const TPropTable props = Properties();
  if (int p = FindProperty(props, name); p >= 0) {
    const TPropInfo& prop = props[size_t(p)];
    TPropValue converted;
    if (!PropertyValueFrom(prop, *value, converted)) {
      RejectValue(*this, prop.Name, *value);
      return true;  // handled: nothing stored, no variable made in its place
    }
    try {
      prop.Set(*this, converted);
    } catch (const EPropertyValue&) {
      RejectValue(*this, prop.Name, *value);
    }
    return true;
  }
  if (name == "CURSOR" && value->kind == TValueKind::Element) {
    Shell().CursorElement = ElementFromHandle(value->Handle());
    return true;
  }
  if (name == "ABSX" || name == "ABSY") {
    int32_t v = 0;
    if (!value->ToInteger(v)) {
      RejectValue(*this, name, *value);
      return true;
    }
    if (name == "ABSX") SetAbsX(v);
    else SetAbsY(v);
    return true;
  }
  return false;
}

}  // namespace kw
