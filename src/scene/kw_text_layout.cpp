// The text element's layout: where its lines break and how its words wrap.
#include "scene/kw_text_layout.h"

#include "platform/escaped_text.h"
#include "platform/font_list.h"
#include "scene/kw_db.h"
#include "scene/kw_text.h"

namespace kw {

namespace {

constexpr size_t npos = std::string_view::npos;

// The end of the word at `pos`: the first space or line end outside an
// escape, npos when the word runs to the end of the text.
size_t WordEnd(std::string_view s, size_t pos) {
  for (size_t i = pos; i < s.size(); i += (s[i] == EscapeByte ? 3 : 1))
    if (s[i] == ' ' || s[i] == '\0') return i;
  return npos;
}

// Word wrapping over a text whose lines end with 0 bytes. Those line ends
// only separate words here: the lines flow together and only the wrapping
// breaks them. A word that does not fit goes to the next line (its space
// becomes the line end); a single word wider than the box stays whole
// outside Unicode mode and is broken between characters in it.
std::string WrapWords(std::string_view s, const TTextLayoutRules& rules, const TTextMeasure& measure) {
  std::string out;
  const double box = rules.BoxWidth;
  const double spaceWidth = measure.Width(" ");
  double r = 0;  // width of the line so far
  size_t pos = 0;
  while (pos < s.size()) {
    const size_t end = WordEnd(s, pos);
    const bool hasSeparator = end != npos;
    const std::string_view word = s.substr(pos, (hasSeparator ? end : s.size()) - pos);
    const bool spaced = r != 0;
    std::string c = spaced ? " " + std::string(word) : std::string(word);
    const double w = measure.Width(c);
    if (r + w <= box) {
      out += c;
      r += w;
    } else if (spaced && (w <= box || !rules.Unicode)) {
      c[0] = '\0';
      out += c;
      r = w - spaceWidth;
    } else if (!spaced && !rules.Unicode) {
      out += c;
      r = w;
    } else {
      // Unicode mode, wider than the box: break between characters.
      size_t p = 0;
      while (p < c.size()) {
        const size_t start = p;
        uint32_t code = 0;
        if (!NextEscapedChar(c, p, code)) {
          out.append(c, start, std::string::npos);  // an escape cut short: kept, takes no room
          break;
        }
        const double a = measure.Advance(code);
        // A character that overflows an empty line stays on it: breaking
        // there would only add an empty line.
        if (r + a > box && r != 0) {
          out += '\0';
          r = a;
        } else {
          r += a;
        }
        out.append(c, start, p - start);
      }
    }
    pos = hasSeparator ? end + 1 : s.size();
  }
  return out;
}

}  // namespace

std::string BreakLines(std::string_view s) {
  std::string out;
  size_t lineStart = 0;
  size_t i = 0;
  while (i < s.size()) {
    if (s[i] == EscapeByte) {
      i += 3;
      continue;
    }
    const bool crlf = s[i] == '\r' && i + 1 < s.size() && s[i + 1] == '\n';
    const bool backslashN = s[i] == '\\' && i + 1 < s.size() && s[i + 1] == 'n';
    if (crlf || backslashN) {
      out.append(s.substr(lineStart, i - lineStart));
      out += '\0';
      i += 2;
      lineStart = i;
      continue;
    }
    ++i;
  }
  if (lineStart < s.size()) out.append(s.substr(lineStart));
  return out;
}

std::string LayOutText(std::string_view source, const TTextLayoutRules& rules, const TTextMeasure& measure) {
  if (!rules.EnEnter) return std::string(source);
  if (source.empty()) return {};
  std::string lines = BreakLines(source);
  if (!rules.AutoEnter) return lines;
  return WrapWords(lines, rules, measure);
}

std::vector<std::string_view> LaidOutLines(std::string_view laidOut) {
  std::vector<std::string_view> lines;
  size_t start = 0;
  while (start < laidOut.size()) {
    const size_t end = FindEscaped(laidOut, '\0', start);
    if (end == npos) {
      lines.push_back(laidOut.substr(start));
      break;
    }
    lines.push_back(laidOut.substr(start, end - start));
    start = end + 1;
  }
  return lines;
}

void TKwText::LayOut(std::string value) {
  TKwDB* root = GameRoot();
  if (!TextId.empty()) value = root ? root->LookupText(TextId) : std::string();
  Text = std::move(value);
  TFont* font = FoundFont();
  if (!EnEnter || !font) {
    laidOut_ = Text;
    return;
  }
  font->Scale = Scale;
  TTextLayoutRules rules;
  rules.EnEnter = EnEnter != 0;
  rules.AutoEnter = AutoEnter != 0;
  rules.Unicode = UnicodeMode();
  rules.BoxWidth = SizeX;
  const double k = rules.Unicode ? GlyphFactor(font, root->GlyphPicture()) : 0.0;
  TTextMeasure measure;
  measure.Width = [this, font](std::string_view text) { return TextWidth(*font, text); };
  measure.Advance = [root, k](uint32_t code) { return root ? root->Glyphs.Advance(code, k) : 0.0; };
  laidOut_ = LayOutText(Text, rules, measure);
}

double TKwText::TextWidth(const TFont& font, std::string_view text) const {
  if (!UnicodeMode()) return font.TextWidth(text);
  const TKwDB* root = GameRoot();
  return root->Glyphs.TextWidth(text, GlyphFactor(&font, root->GlyphPicture()));
}

}  // namespace kw
