// A game root with a rendering device and a bitmap font built here, a
// screen, and text elements on it; helpers to write properties as the game
// file and scripts do and to read the frame.
#pragma once

#include <gtest/gtest.h>

#include <memory>
#include <string>

#include "platform/device.h"
#include "scene/kw_db.h"
#include "scene/kw_screen.h"
#include "scene/kw_text.h"
#include "scene/shell_state.h"

namespace kw::test {

// "Mono": cell height 20; letters are solid 8 × 20 white blocks advancing
// 10; "i" is 3 wide advancing 5; a space draws nothing and advances 5;
// every other code advances 10 and draws nothing.
inline TBitmapFont MonoFont(const std::string& name = "Mono") {
  TBitmapFont f;
  f.Name = name;
  f.CellHeight = 20;
  f.Atlas = TBitmap32(8, 20, 0xFFFFFFFF);
  for (auto& g : f.Glyphs) g.Advance = 10;
  for (int c = 'A'; c <= 'Z'; ++c) f.Glyphs[size_t(c)] = {0, 0, 8, 20, 0, 0, 10};
  f.Glyphs['i'] = {0, 0, 3, 20, 0, 0, 5};
  f.Glyphs[' '].Advance = 5;
  return f;
}

constexpr uint32_t Black = 0xFF000000;
constexpr uint32_t White = 0xFFFFFFFF;

class TTextTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetShellState();
    device.Fonts().Add(MonoFont());
    root = std::make_unique<TKwDB>();
    root->Device = &device;
    screen = new TKwScreen(root.get());  // owned by the root
    device.Canvas().Clear(Black);
  }
  void TearDown() override {
    ResetShellState();
    root.reset();
  }

  // A text on the screen, drawable: font Mono, both colours opaque white.
  TKwText& NewText(const std::string& text = "") {
    auto* t = new TKwText(screen);
    Write(*t, "Font", std::string("Mono"));
    Write(*t, "hxColor2", int64_t(0xFFFFFF));
    Write(*t, "hxTrans2", int64_t(255));
    if (!text.empty()) Write(*t, "Text", text);
    return *t;
  }

  // Writes a published property through its setter, as the game file and
  // the scripts do.
  static void Write(TKwElement& e, const char* name, const TPropValue& value) {
    const TPropTable props = e.Properties();
    const int i = FindProperty(props, name);
    ASSERT_GE(i, 0) << name;
    props[size_t(i)].Set(e, value);
  }

  void Draw(TKwElement& e, int32_t layer = 0, double ox = 0, double oy = 0) {
    e.Render(layer, 0xFFFFFFFF, ox, oy, false);
  }

  uint32_t Px(int x, int y) const { return device.Frame().At(x, y); }
  // True when every pixel of the row span [x0, x1) is `colour`.
  bool Row(int y, int x0, int x1, uint32_t colour) const {
    for (int x = x0; x < x1; ++x)
      if (Px(x, y) != colour) return false;
    return true;
  }
  // Number of pixels of the frame that are not black.
  int Drawn() const {
    int n = 0;
    for (uint32_t p : device.Frame().Pixels) n += p != Black;
    return n;
  }

  TDevice device;
  std::unique_ptr<TKwDB> root;
  TKwScreen* screen = nullptr;
};

}  // namespace kw::test
